#pragma once

#include <QString>
#include <QStringList>

// Replaces the content of list with the names of the system's serial ports (ttyS0,
// ttyUSB0, ...), sorted in the locale's case-insensitive order, so ttyS10 comes before
// ttyS2. Raises EComPort code 23 with errno when the system cannot be asked; the list
// is then left as it was.
void ListSerialPorts(QStringList &list);

// The same from the sysfs mounted at sysfsRoot ("/sys" for the real system).
void ListSerialPorts(QStringList &list, const QString &sysfsRoot);
