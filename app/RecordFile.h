#pragma once

#include <string_view>

// The file a recording goes to, as the writer thread sees it: a file on a disc, or a
// pipe, socket or terminal that a reader drains at its own pace. Failures are raised as
// EWriteError whose message is the system's reason ("No space left on device").
class RecordFile
{
public:
    virtual ~RecordFile() = default;

    // True when the file held nothing when it was opened: it then gets the header.
    virtual bool wasEmpty() const = 0;

    // Appends what the target takes now and returns how many bytes that was. A file on
    // a disc takes all of bytes, or raises and is left as it was before the call; a
    // pipe whose reader lags may take less, or nothing, without waiting.
    virtual std::size_t append(std::string_view bytes) = 0;

    // Puts what was appended on the disc itself; nothing for a pipe.
    virtual void sync() = 0;

    // For a target that may take less than it is given: a descriptor that polls
    // writable once it takes more. -1 for a file on a disc, which takes everything.
    virtual int readyDescriptor() const { return -1; }
};
