#include "PortList.h"

#include "serial/EComPort.h"
#include "serial/SysfsPorts.h"

#include <QCollator>
#include <QFile>
#include <QLocale>
#include <algorithm>

void ListSerialPorts(QStringList &list)
{
    ListSerialPorts(list, qEnvironmentVariable("ONDRIX_SYSFS_ROOT", QStringLiteral("/sys")));
}

void ListSerialPorts(QStringList &list, const QString &sysfsRoot)
{
    const SysfsPortScan scan = scanSysfsSerialPorts(QFile::encodeName(sysfsRoot).toStdString());
    if (scan.error != 0)
        throw EComPort(EComPort::RegistryError, scan.error);
    QStringList names;
    for (const std::string &name : scan.names)
        names.append(QString::fromStdString(name));
    QCollator order{QLocale()};
    order.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(names.begin(), names.end(), order);
    list = names;
}
