#pragma once

#include <QString>
#include <QStringList>

// Replaces the content of list with the names of the system's serial ports (ttyS0,
// ttyUSB0, ...), sorted in the locale's case-insensitive order, so ttyS10 comes before
// ttyS2. Raises EComPort code 23 with errno when the system cannot be asked; the list
// is then left as it was. The sysfs read is the one mounted at /sys, or at the folder
// that ONDRIX_SYSFS_ROOT names (a copy of a machine's tree, or a test's fake one).
void ListSerialPorts(QStringList &list);

// The same from the sysfs found at sysfsRoot.
void ListSerialPorts(QStringList &list, const QString &sysfsRoot);
