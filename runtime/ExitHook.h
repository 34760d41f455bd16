#pragma once

#include <functional>

// Runs a last call when the process is ended by exit() on the GUI thread while the event
// loop runs, as Qt's X11 platform does when the display connection is lost: main() never
// returns then and nothing on its stack is destroyed, so what those objects would do on
// the way out has to happen here. Runs at most once, and only while the hook lives; a
// program that ends through main() never sees it.
//
// Made after everything the call uses: an exit-time call runs before the destructors of
// static objects made before it, and after those of objects made later.
class ExitHook
{
public:
    // last must not throw.
    explicit ExitHook(std::function<void()> last);
    ~ExitHook();
    ExitHook(const ExitHook &) = delete;
    ExitHook &operator=(const ExitHook &) = delete;

private:
    static void runAtExit();

    std::function<void()> m_last;
};
