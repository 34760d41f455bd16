#pragma once

#include <string_view>

// The file a recording goes to, as the writer thread sees it. Failures are raised as
// EWriteError whose message is the system's reason ("No space left on device").
class RecordFile
{
public:
    virtual ~RecordFile() = default;

    // True when the file held nothing when it was opened: it then gets the header.
    virtual bool wasEmpty() const = 0;

    // Appends all of bytes, or raises and leaves the file as it was before the call.
    virtual void append(std::string_view bytes) = 0;

    // Puts what was appended on the disc itself.
    virtual void sync() = 0;
};
