#pragma once

// What the command-line targets share: a fuzz input as an argument vector, and the checks
// on the values every program treats alike.

#include "app/RecordPattern.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

// The program's name, then the pieces of the input between NULs, as the kernel hands
// them on: no argument holds a NUL.
inline std::vector<std::string> argumentsIn(const std::uint8_t *data, std::size_t size, const char *program)
{
    std::vector<std::string> arguments{program};
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    for (std::size_t at = 0; at <= text.size();) {
        const std::size_t end = std::min(text.find('\0', at), text.size());
        arguments.emplace_back(text.substr(at, end - at));
        at = end + 1;
    }
    return arguments;
}

// A recording's name as a pattern: without fields it is the name at every time; with
// them every time gives one name, which fits in the strftime buffer's limit.
inline void checkPattern(const std::string &text)
{
    const RecordPattern pattern(text);
    for (const std::time_t time : {std::time_t(0), std::time_t(1765389600), std::time_t(253402300799)}) {
        const std::string name = pattern.nameAt(time);
        if ((!pattern.hasFields() && name != text) || name.size() > 65536 || pattern.nameAt(time) != name)
            std::abort();
    }
}
