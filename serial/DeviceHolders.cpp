// The walk over /proc/[pid]/fd: Linux only, and kept out of the device layer so that
// the rest of the engine never sees /proc.
#include "serial/DeviceHolders.h"

#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct DirectoryCloser
{
    void operator()(DIR *directory) const { closedir(directory); }
};

using Directory = std::unique_ptr<DIR, DirectoryCloser>;

// A process entry of /proc: its name is all digits.
pid_t pidOf(const char *name)
{
    if (*name == '\0' || std::strspn(name, "0123456789") != std::strlen(name))
        return 0;
    return pid_t(std::strtol(name, nullptr, 10));
}

bool holds(pid_t pid, dev_t device)
{
    const Directory descriptors(opendir(("/proc/" + std::to_string(pid) + "/fd").c_str()));
    if (!descriptors)
        return false;
    const int at = dirfd(descriptors.get());
    while (const dirent *entry = readdir(descriptors.get())) {
        if (entry->d_name[0] == '.')
            continue;
        // Sockets, pipes and anonymous descriptors have no path and cannot be a device;
        // skipping them spares a stat of each.
        char target[2];
        if (readlinkat(at, entry->d_name, target, sizeof target) <= 0 || target[0] != '/')
            continue;
        struct stat file{};
        if (fstatat(at, entry->d_name, &file, 0) == 0 && S_ISCHR(file.st_mode) && file.st_rdev == device)
            return true;
    }
    return false;
}

} // namespace

pid_t DeviceHolders::findOther(dev_t device)
{
    const Directory processes(opendir("/proc"));
    if (!processes)
        return 0;
    const pid_t self = getpid();
    while (const dirent *entry = readdir(processes.get())) {
        const pid_t pid = pidOf(entry->d_name);
        if (pid > 0 && pid != self && holds(pid, device))
            return pid;
    }
    return 0;
}
