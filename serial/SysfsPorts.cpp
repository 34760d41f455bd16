#include "SysfsPorts.h"

#include <cerrno>
#include <dirent.h>
#include <fstream>
#include <memory>
#include <sys/stat.h>

namespace {

bool exists(const std::string &path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

// The serial core shows the UART kind in `type`; 0 is PORT_UNKNOWN, no hardware. Ttys
// of other drivers (USB adapters, modems) have no such attribute.
bool placeholderUart(const std::string &ttyPath)
{
    std::ifstream typeFile(ttyPath + "/type");
    int type = -1;
    return typeFile >> type && type == 0;
}

bool isSerialPort(const std::string &ttyPath)
{
    return exists(ttyPath + "/device/driver") && !placeholderUart(ttyPath);
}

} // namespace

SysfsPortScan scanSysfsSerialPorts(const std::string &sysfsRoot)
{
    SysfsPortScan scan;
    const std::string classPath = sysfsRoot + "/class/tty";
    const std::unique_ptr<DIR, int (*)(DIR *)> directory(::opendir(classPath.c_str()), ::closedir);
    if (!directory) {
        scan.error = errno;
        return scan;
    }
    for (;;) {
        errno = 0;
        const dirent *entry = ::readdir(directory.get());
        if (!entry)
            break;
        const std::string name = entry->d_name;
        if (name != "." && name != ".." && isSerialPort(classPath + "/" + name))
            scan.names.push_back(name);
    }
    if (errno != 0) {
        scan.error = errno;
        scan.names.clear();
    }
    return scan;
}
