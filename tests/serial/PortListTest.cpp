#include "PortListFixture.h"

#include "serial/EComPort.h"
#include "serial/PortList.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

TEST(ListSerialPorts, KeepsOnlyTtysWithADriverAndAUart)
{
    FakeSysfs sysfs;
    sysfs.addUart("ttyS0", 4);
    sysfs.addUart("ttyS1", 0);              // a legacy number with no UART behind it
    sysfs.addPort("ttyACM0");               // no `type`: not a serial-core port
    sysfs.addLinkedPort("ttyUSB0", true);
    sysfs.addLinkedPort("ttyUSB1", false);  // the driver has gone
    sysfs.addVirtual("tty0");
    sysfs.addVirtual("console");

    QStringList list = {"stale"};
    ListSerialPorts(list, sysfs.root());
    EXPECT_EQ(list, QStringList({"ttyACM0", "ttyS0", "ttyUSB0"}));
}

TEST(ListSerialPorts, SortsAsTextIgnoringLetterCase)
{
    struct Row
    {
        const char *what;
        QStringList ports;
        QStringList expected;
    };
    const Row rows[] = {
        {"numbers sort as text", {"COM2", "COM10", "COM1"}, {"COM1", "COM10", "COM2"}},
        {"letter case ignored", {"ttyUSB0", "ttyS0", "ttyacm1"}, {"ttyacm1", "ttyS0", "ttyUSB0"}},
    };
    for (const Row &row : rows) {
        FakeSysfs sysfs;
        for (const QString &port : row.ports)
            sysfs.addPort(port);
        QStringList list;
        ListSerialPorts(list, sysfs.root());
        EXPECT_EQ(list, row.expected) << row.what;
    }
}

TEST(ListSerialPorts, UnreadableTtyClassRaisesCode23AndKeepsTheList)
{
    FakeSysfs sysfs;
    QStringList list = {"kept"};
    try {
        ListSerialPorts(list, sysfs.root() + "/missing");
        FAIL() << "no error raised";
    } catch (const EComPort &error) {
        EXPECT_EQ(error.code(), 23);
        EXPECT_EQ(error.systemCode(), 2u);
        EXPECT_EQ(error.message(), QStringLiteral("Registry error (win error code: 2)"));
    }
    EXPECT_EQ(list, QStringList({"kept"}));
}

} // namespace
