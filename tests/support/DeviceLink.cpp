#include "tests/support/DeviceLink.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

DeviceLink::DeviceLink()
    : m_path(QDir::temp().filePath(QStringLiteral("ondrix-link-%1").arg(QCoreApplication::applicationPid())))
{
}

DeviceLink::~DeviceLink()
{
    QFile::remove(m_path);
}

bool DeviceLink::pointAt(const QString &device)
{
    QFile::remove(m_path);
    return QFile::link(device, m_path);
}
