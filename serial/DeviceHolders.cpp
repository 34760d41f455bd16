// The walk over /proc/[pid]/fd: Linux only, and kept out of the device layer so that
// the rest of the engine never sees /proc.
#include "serial/DeviceHolders.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct DirectoryCloser
{
    void operator()(DIR *directory) const { closedir(directory); }
};

using Directory = std::unique_ptr<DIR, DirectoryCloser>;

constexpr char devicesFolder[] = "/dev/";

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
    char target[PATH_MAX];
    while (const dirent *entry = readdir(descriptors.get())) {
        // The link's text is the path the descriptor was opened by. A stat through the
        // link itself would reach into whatever file system that is, a hung network
        // mount included; only device paths are looked up, and without following links.
        const ssize_t length = readlinkat(at, entry->d_name, target, sizeof target - 1);
        if (length < ssize_t(sizeof devicesFolder) - 1
            || std::strncmp(target, devicesFolder, sizeof devicesFolder - 1) != 0)
            continue;
        target[length] = '\0';
        struct stat file{};
        if (lstat(target, &file) == 0 && S_ISCHR(file.st_mode) && file.st_rdev == device)
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

std::string DeviceHolders::describe(pid_t pid)
{
    std::string text = "process " + std::to_string(pid);
    const int fd = ::open(("/proc/" + std::to_string(pid) + "/comm").c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return text;
    char name[32];
    const ssize_t length = ::read(fd, name, sizeof name);
    ::close(fd);
    if (length > 1) // the name and a line end
        text += " (" + std::string(name, std::size_t(length - 1)) + ')';
    return text;
}
