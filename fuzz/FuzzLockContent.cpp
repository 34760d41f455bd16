// Feeds arbitrary bytes to the reading of a UUCP lock file's content, which any local
// user may have written. Whatever it holds, the owner found is none or a process id the
// kernel could give; and the lock other programs write for a process id, ten characters
// and a line end, always names that process.

#include "serial/UucpLock.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace {

long highestPid()
{
    static const long highest = [] {
        long value = 0;
        std::ifstream("/proc/sys/kernel/pid_max") >> value;
        return value > 0 ? value : 4194304; // the kernel's own ceiling
    }();
    return highest;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const pid_t owner = UucpLock::ownerIn(std::string_view(reinterpret_cast<const char *>(data), size));
    if (owner < 0 || owner > highestPid())
        std::abort();
    if (size >= sizeof(std::uint32_t)) {
        std::uint32_t seed = 0;
        std::memcpy(&seed, data, sizeof seed);
        const long pid = 1 + long(seed % std::uint32_t(highestPid()));
        char written[16];
        std::snprintf(written, sizeof written, "%10ld\n", pid);
        if (UucpLock::ownerIn(written) != pid)
            std::abort();
    }
    return 0;
}
