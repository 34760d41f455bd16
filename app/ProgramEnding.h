#pragma once

#include "runtime/ExitHook.h"

#include <QObject>

class TForm1;
class TerminationSignals;

// Every way the program ends keeps what it received. Told to end (SIGTERM, SIGINT,
// SIGHUP), it closes the main window the normal way and leaves every event loop, a
// modal box's too, which would otherwise keep the process alive. When Qt ends the
// process itself because the display connection is lost, the port is closed (its lock
// removed) and the recording written out and synced before the process goes.
//
// The termination signals must outlive the window, so that a second Ctrl+C during the
// final flush is caught too; this object must not: made last, just before the event
// loop starts.
class ProgramEnding : public QObject
{
public:
    ProgramEnding(TForm1 &window, TerminationSignals &termination);

private:
    void endOnRequest();
    void endAtExit() noexcept;

    TForm1 &m_window;
    ExitHook m_exitHook;
};
