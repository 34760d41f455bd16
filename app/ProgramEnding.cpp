#include "app/ProgramEnding.h"

#include "app/Form1.h"
#include "runtime/TerminationSignals.h"

#include <QCoreApplication>
#include <cstdio>

ProgramEnding::ProgramEnding(TForm1 &window, TerminationSignals &termination)
    : m_window(window), m_exitHook([this] { endAtExit(); })
{
    connect(&termination, &TerminationSignals::terminationRequested, this, &ProgramEnding::endOnRequest);
}

void ProgramEnding::endOnRequest()
{
    // Every running event loop ends, a modal box's included, and none starts any more:
    // first, so that no box shown while the window closes can hold the program. The
    // rest of the way out (the recording's last wait) runs as main() returns.
    QCoreApplication::exit(0);
    m_window.close();
}

void ProgramEnding::endAtExit() noexcept
{
    try {
        m_window.FormClose();
    } catch (const std::exception &error) {
        // No box can show any more.
        std::fprintf(stderr, "ondrix: %s\n", error.what());
    }
    m_window.recorder().finish();
}
