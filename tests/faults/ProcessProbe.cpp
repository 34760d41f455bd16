#include "tests/faults/ProcessProbe.h"

#include <dirent.h>
#include <fstream>
#include <string>
#include <time.h>

namespace {

// Entries of a /proc folder, without "." and "..".
int countEntries(const char *folder)
{
    DIR *dir = opendir(folder);
    if (!dir)
        return -1;
    int count = 0;
    while (const dirent *entry = readdir(dir)) {
        const std::string name = entry->d_name;
        count += name != "." && name != "..";
    }
    closedir(dir);
    return count;
}

// A "Name:   1234 kB" line of /proc/self/status.
std::int64_t statusKb(const std::string &field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field + ":", 0) == 0)
            return std::stoll(line.substr(field.size() + 1));
    }
    return -1;
}

} // namespace

int ProcessProbe::openDescriptors()
{
    // The folder's own descriptor is open while it is read.
    return countEntries("/proc/self/fd") - 1;
}

int ProcessProbe::threads()
{
    return countEntries("/proc/self/task");
}

std::int64_t ProcessProbe::residentKb()
{
    return statusKb("VmRSS");
}

std::int64_t ProcessProbe::peakResidentKb()
{
    return statusKb("VmHWM");
}

double ProcessProbe::cpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}
