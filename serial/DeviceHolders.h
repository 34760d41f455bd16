#pragma once

#include <string>
#include <sys/types.h>

// Who else has a device open, as /proc tells it. Exclusive modes and locks stop only
// programs that open after us; a program that had the port first (a forgotten terminal,
// a modem manager probing a new adapter) shows up only here.
//
// Only what /proc lets this user read is seen: as root every process; otherwise the
// user's own processes, not those of other users.
class DeviceHolders
{
public:
    // The first process other than this one with a descriptor open on the character
    // device numbered device; 0 when none is found. Processes and descriptors that
    // cannot be read (another user's, or gone meanwhile) are skipped. Only descriptors
    // whose path lies below /dev are looked at, so no other file system is ever touched.
    static pid_t findOther(dev_t device);

    // "process 1234 (picocom)", for telling the user who holds a port.
    static std::string describe(pid_t pid);
};
