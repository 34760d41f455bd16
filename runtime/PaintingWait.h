#pragma once

#include <functional>

// Runs a blocking piece of work (a network connect) on a thread of its own while the
// GUI thread waits for it and keeps its windows painting. The wait lets through window
// system events except user input (mouse and keys stay queued until it ends), posted
// events, timers and hand-overs: a button cannot be pressed again meanwhile, but the
// windows repaint, a busy indicator turns and other ports' readings go on.
class PaintingWait
{
public:
    // Returns when work has returned; an exception it throws is rethrown here. Off the
    // GUI thread, or with no application object, work runs on the calling thread.
    static void run(const std::function<void()> &work);
};
