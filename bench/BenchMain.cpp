#include "runtime/Application.h"

#include <QApplication>
#include <benchmark/benchmark.h>

// Every benchmark program runs inside an application object, as the program does: the
// chart paints through Qt's GUI classes and the serial hand-over needs an event loop's thread.
// Offscreen unless QT_QPA_PLATFORM names a platform (scripts/on-virtual-display.sh sets xcb).
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication::prepareWindowSystem();
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
