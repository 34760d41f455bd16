#pragma once

#include <QString>

// Looks at a recording's path before the window opens, so that a mistyped --record
// fails at once, as a command-line tool does, instead of at the first Start. The file
// itself is still opened by the recorder; this only asks the file system.
class RecordPathCheck
{
public:
    // Why a recording cannot go to path, or an empty text when it can: an existing
    // path must be something to append to (a regular file, a pipe, a socket, a
    // character device) and writable; a new one needs a writable folder. "-" is
    // standard output and always fits.
    static QString problem(const QString &path);
};
