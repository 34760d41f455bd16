#include "PortListFixture.h"

#include "serial/ComComboBox.h"
#include "serial/ComPort.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

QStringList itemsOf(const QComboBox &combo)
{
    QStringList items;
    for (int index = 0; index < combo.count(); ++index)
        items.append(combo.itemText(index));
    return items;
}

// ComPort1 as the main window sets it up.
void configureLikeComPort1(TComPort &port)
{
    port.setBaudRate(br9600);
    port.setDataBits(dbEight);
    port.setStopBits(sbOneStopBit);
    port.Parity().setBits(prNone);
    port.FlowControl().setControlRTS(rtsHandshake);
    port.FlowControl().setOutCTSFlow(true);
}

TEST(TComComboBox, OffersTheItemsOfItsKindAndSelectsTheFirstWithoutAPort)
{
    FakeSysfs sysfs;
    sysfs.addPort("ttyUSB0");
    sysfs.addUart("ttyS0", 4);
    struct Row
    {
        TComProperty kind;
        QStringList items;
    };
    const Row rows[] = {
        {cpNone, {}},
        {cpPort, {"ttyS0", "ttyUSB0"}},
        {cpBaudRate, {"Custom", "110", "300", "600", "1200", "2400", "4800", "9600", "14400", "19200", "38400",
                      "56000", "57600", "115200", "128000", "256000"}},
        {cpDataBits, {"5", "6", "7", "8"}},
        {cpStopBits, {"1", "1.5", "2"}},
        {cpParity, {"None", "Odd", "Even", "Mark", "Space"}},
        {cpFlowControl, {"Hardware", "Software", "None", "Custom"}},
    };
    for (const Row &row : rows) {
        TComComboBox combo;
        combo.setComProperty(cpDataBits);   // a previous kind's items must go
        combo.setComProperty(row.kind);
        EXPECT_EQ(itemsOf(combo), row.items) << "kind " << row.kind;
        EXPECT_EQ(combo.currentIndex(), row.items.isEmpty() ? -1 : 0) << "kind " << row.kind;
        EXPECT_FALSE(combo.isEditable());
    }
}

TEST(TComComboBox, ShowsThePortsValuesOnLinking)
{
    TComPort port;
    configureLikeComPort1(port);
    struct Row
    {
        TComProperty kind;
        const char *shown;
    };
    for (const Row row : {Row{cpBaudRate, "9600"}, Row{cpDataBits, "8"}, Row{cpStopBits, "1"}, Row{cpParity, "None"},
                          Row{cpFlowControl, "Hardware"}}) {
        TComComboBox combo;
        combo.setComProperty(row.kind);
        combo.setComPort(&port);
        EXPECT_EQ(combo.Text(), QString::fromLatin1(row.shown)) << "kind " << row.kind;
    }
}

TEST(TComComboBox, FlowControlOfNoPresetShowsCustomAndApplyingItKeepsEveryField)
{
    TComPort port;
    port.FlowControl().setControlRTS(rtsEnable);
    port.FlowControl().setXonXoffIn(true);
    TComComboBox combo;
    combo.setComProperty(cpFlowControl);
    combo.setComPort(&port);
    EXPECT_EQ(combo.Text(), "Custom");
    combo.ApplyToPort();
    EXPECT_EQ(port.FlowControl().ControlRTS(), rtsEnable);
    EXPECT_TRUE(port.FlowControl().XonXoffIn());
    EXPECT_FALSE(port.FlowControl().OutCTSFlow());
}

TEST(TComComboBox, UnlistedPortNameShowsNoSelectionAndIsNeverOverwritten)
{
    FakeSysfs sysfs;
    sysfs.addPort("ttyUSB0");
    TComPort port;
    port.setPort("/dev/pts/7");
    TComComboBox combo;
    combo.setComProperty(cpPort);
    combo.setComPort(&port);
    EXPECT_EQ(combo.currentIndex(), -1);
    EXPECT_EQ(combo.Text(), QString());
    combo.ApplyToPort();
    EXPECT_EQ(port.Port(), "/dev/pts/7");

    port.setPort("ttyusb0");   // the search ignores letter case and takes the item's text
    combo.LoadFromPort();
    EXPECT_EQ(combo.Text(), "ttyUSB0");
    combo.ApplyToPort();
    EXPECT_EQ(port.Port(), "ttyUSB0");
}

TEST(TComComboBox, ANetworkPortIsAnItemWhileItIsThePort)
{
    FakeSysfs sysfs;
    sysfs.addPort("ttyUSB0");
    TComPort port;
    port.setPort("rfc2217://pi:2000");
    TComComboBox combo;
    combo.setComProperty(cpPort);
    combo.setComPort(&port);
    EXPECT_EQ(itemsOf(combo), (QStringList{"ttyUSB0", "rfc2217://pi:2000"}));
    EXPECT_EQ(combo.Text(), "rfc2217://pi:2000");

    QTest::keyClick(&combo, Qt::Key_Home);   // the operator picks the local port
    combo.ApplyToPort();
    EXPECT_EQ(port.Port(), "ttyUSB0");
    TComComboBox next;
    next.setComProperty(cpPort);
    next.setComPort(&port);
    EXPECT_EQ(itemsOf(next), QStringList{"ttyUSB0"});
}

TEST(TComComboBox, TextSelectsOnlyListedItemsAndWritesNothing)
{
    TComPort port;
    TComComboBox combo;
    combo.setComProperty(cpParity);
    combo.setComPort(&port);
    QSignalSpy changes(&combo, &TComComboBox::Change);
    combo.setAutoApply(true);

    combo.setText("even");
    EXPECT_EQ(combo.Text(), "Even");
    combo.setText("Sideways");
    EXPECT_EQ(combo.Text(), "Even");
    EXPECT_EQ(port.Parity().Bits(), prNone);
    EXPECT_EQ(changes.count(), 0);
}

TEST(TComComboBox, OperatorPickIsWrittenAtOnceOnlyWithAutoApply)
{
    for (const bool autoApply : {false, true}) {
        TComPort port;
        TComComboBox combo;
        combo.setComProperty(cpBaudRate);
        combo.setComPort(&port);
        combo.setAutoApply(autoApply);
        QSignalSpy changes(&combo, &TComComboBox::Change);

        QTest::keyClick(&combo, Qt::Key_Down);   // 9600 -> 14400
        EXPECT_EQ(combo.Text(), "14400");
        EXPECT_EQ(changes.count(), 1);
        EXPECT_EQ(combo.selection().baudRate, br14400);
        EXPECT_EQ(port.BaudRate(), autoApply ? br14400 : br9600) << "auto-apply " << autoApply;

        combo.ApplyToPort();
        EXPECT_EQ(port.BaudRate(), br14400);
    }
}

TEST(TComComboBox, LinkEndsWhenThePortIsDestroyed)
{
    auto port = std::make_unique<TComPort>();
    port->setDataBits(dbSeven);
    TComComboBox combo;
    combo.setComProperty(cpDataBits);
    combo.setComPort(port.get());
    EXPECT_EQ(combo.Text(), "7");
    port.reset();
    EXPECT_EQ(combo.ComPort(), nullptr);
    EXPECT_EQ(combo.Text(), "5");
    combo.ApplyToPort();   // no port: nothing to write into

    TComPort other;
    combo.setComPort(&other);
    EXPECT_EQ(combo.Text(), "8");
}

} // namespace
