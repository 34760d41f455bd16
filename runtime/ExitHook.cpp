#include "runtime/ExitHook.h"

#include <cstdlib>
#include <thread>
#include <utility>

namespace {

// Only the GUI thread touches these, and exit() on another thread skips the call.
ExitHook *armed = nullptr;
std::thread::id armedThread;

} // namespace

ExitHook::ExitHook(std::function<void()> last) : m_last(std::move(last))
{
    static const bool registered = std::atexit(&ExitHook::runAtExit) == 0;
    if (!registered)
        return; // nothing to run it: the program ends as it did before
    armed = this;
    armedThread = std::this_thread::get_id();
}

ExitHook::~ExitHook()
{
    if (armed == this)
        armed = nullptr;
}

void ExitHook::runAtExit()
{
    // Disarmed before it runs: once, whatever the call does.
    if (!armed || std::this_thread::get_id() != armedThread)
        return;
    std::exchange(armed, nullptr)->m_last();
}
