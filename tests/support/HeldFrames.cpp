#include "tests/support/HeldFrames.h"

#include "runtime/FrameGate.h"

#include <QCoreApplication>
#include <QTest>

bool paintHeldFrames(const FrameGate &gate)
{
    int quietPasses = 0;
    for (int pass = 0; pass < 100 && quietPasses < 3; ++pass) {
        if (!QTest::qWaitFor([&gate] { return !gate.holding(); }, 1000))
            return false;
        QCoreApplication::processEvents();
        quietPasses = gate.holding() ? 0 : quietPasses + 1;
    }
    return quietPasses == 3;
}
