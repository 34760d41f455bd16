#include "app/RecordPattern.h"

#include <vector>

RecordPattern::RecordPattern(std::string pattern) : m_pattern(std::move(pattern))
{
    for (std::size_t i = 0; i + 1 < m_pattern.size(); ++i) {
        if (m_pattern[i] != '%')
            continue;
        if (m_pattern[i + 1] != '%') {
            m_hasFields = true;
            return;
        }
        ++i;
    }
}

std::string RecordPattern::nameAt(std::time_t time) const
{
    if (!m_hasFields)
        return m_pattern;
    std::tm local{};
    ::localtime_r(&time, &local);
    // strftime gives 0 both for a name too long for the buffer and for an empty one; the
    // space in front tells them apart.
    const std::string format = ' ' + m_pattern;
    for (std::vector<char> buffer(format.size() + 64); buffer.size() <= 65536; buffer.resize(buffer.size() * 2)) {
        const std::size_t length = std::strftime(buffer.data(), buffer.size(), format.c_str(), &local);
        if (length > 0)
            return std::string(buffer.data() + 1, length - 1);
    }
    return m_pattern;
}
