#pragma once

#include "FileDescriptor.h"

#include <string>

// Tells when anything in a folder changes: a file in it grows, is cut, is made or moved
// in. The only file of the simulator that knows inotify.
class DirectoryWatch
{
public:
    // Throws std::runtime_error when the folder cannot be watched.
    explicit DirectoryWatch(const std::string &folder);

    // Polls readable once a change has come since the last drain().
    int descriptor() const { return m_inotify.get(); }
    void drain();

private:
    FileDescriptor m_inotify;
};
