#pragma once

#include <sys/types.h>

// Who else has a device open, as /proc tells it. Exclusive modes and locks stop only
// programs that open after us; a program that had the port first (a forgotten terminal,
// a modem manager probing a new adapter) shows up only here.
class DeviceHolders
{
public:
    // The first process other than this one with a descriptor open on the character
    // device numbered device; 0 when none is found. Processes and descriptors that
    // cannot be read (another user's, or gone meanwhile) are skipped.
    static pid_t findOther(dev_t device);
};
