#pragma once

#include <ctime>
#include <string>

// A recording's file name that may hold strftime fields ("/var/lib/ondrix/%Y-%m-%d.csv"),
// expanded in local time: the recorder starts a new file whenever the expansion changes,
// and a replay that follows the recording goes on into the next one. Plain C++, so that
// the board simulator shares it.
class RecordPattern
{
public:
    explicit RecordPattern(std::string pattern);

    // True when the name changes with the time: some "%" other than "%%".
    bool hasFields() const { return m_hasFields; }

    // The name at a time; the pattern itself without fields ("%%" stays as it is then, as
    // the name was given).
    std::string nameAt(std::time_t time) const;

private:
    std::string m_pattern;
    bool m_hasFields = false;
};
