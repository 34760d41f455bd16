#pragma once

// A fake sysfs tree in a temporary folder, laid out as the kernel shows serial ports,
// and pointed to by ONDRIX_SYSFS_ROOT while the fixture lives.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class FakeSysfs
{
public:
    FakeSysfs() : m_previous(qgetenv("ONDRIX_SYSFS_ROOT"))
    {
        EXPECT_TRUE(m_root.isValid());
        EXPECT_TRUE(QDir(m_root.path()).mkpath(QStringLiteral("class/tty")));
        qputenv("ONDRIX_SYSFS_ROOT", QFile::encodeName(m_root.path()));
    }
    ~FakeSysfs()
    {
        if (m_previous.isNull())
            qunsetenv("ONDRIX_SYSFS_ROOT");
        else
            qputenv("ONDRIX_SYSFS_ROOT", m_previous);
    }

    QString root() const { return m_root.path(); }

    // A tty with no device: a virtual console, a pseudo-terminal.
    void addVirtual(const QString &name) { makeDir(ttyPath(name)); }

    // A tty whose device has a driver bound, as a real folder.
    void addPort(const QString &name) { makeDir(ttyPath(name) + "/device/driver"); }

    // A tty of the serial core, with its UART kind (0: no UART behind the number).
    void addUart(const QString &name, int type)
    {
        addPort(name);
        writeFile(ttyPath(name) + "/type", QByteArray::number(type) + "\n");
    }

    // A tty whose device and driver are symbolic links, as sysfs really shows them; with
    // driverPresent false the driver link dangles.
    void addLinkedPort(const QString &name, bool driverPresent)
    {
        const QString device = m_root.path() + "/devices/" + name;
        const QString driver = m_root.path() + "/bus/drivers/" + name;
        makeDir(device);
        makeDir(ttyPath(name));
        if (driverPresent)
            makeDir(driver);
        EXPECT_TRUE(QFile::link(driver, device + "/driver"));
        EXPECT_TRUE(QFile::link(device, ttyPath(name) + "/device"));
    }

private:
    QString ttyPath(const QString &name) const { return m_root.path() + "/class/tty/" + name; }

    static void makeDir(const QString &path) { EXPECT_TRUE(QDir().mkpath(path)) << path.toStdString(); }

    static void writeFile(const QString &path, const QByteArray &content)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QTemporaryDir m_root;
    QByteArray m_previous;
};
