#pragma once

#include <cstdint>

// What the kernel tells about this process through /proc/self and the process clock:
// the figures a fault run compares before and after.
class ProcessProbe
{
public:
    static int openDescriptors();           // entries of /proc/self/fd
    static int threads();                   // entries of /proc/self/task
    static std::int64_t residentKb();       // VmRSS
    static std::int64_t peakResidentKb();   // VmHWM
    static double cpuSeconds();             // user and system time of every thread so far
};
