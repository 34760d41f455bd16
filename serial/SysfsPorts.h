#pragma once

#include <string>
#include <vector>

// The serial ports that sysfs knows: the one place that reads /sys for them.
struct SysfsPortScan
{
    std::vector<std::string> names;   // tty names such as ttyS0, ttyUSB0, in directory order
    int error = 0;                    // errno when the tty class could not be read; names empty
};

// Scans <sysfsRoot>/class/tty. A tty is a serial port when a driver is bound to its
// device; a port of the serial core whose `type` reads 0 has no UART behind it (the
// kernel creates such placeholders for legacy ttyS numbers) and is left out.
SysfsPortScan scanSysfsSerialPorts(const std::string &sysfsRoot);
