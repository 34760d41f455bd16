#pragma once

#include <QString>

// The port names a link, as udev names an adapter; the link outlives each device behind it.
class DeviceLink
{
public:
    DeviceLink();
    ~DeviceLink();
    DeviceLink(const DeviceLink &) = delete;
    DeviceLink &operator=(const DeviceLink &) = delete;

    QString path() const { return m_path; }
    bool pointAt(const QString &device);

private:
    QString m_path;
};
