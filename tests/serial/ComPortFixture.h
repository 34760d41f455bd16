#pragma once

#include "serial/ComPort.h"
#include "serial/EComPort.h"
#include "tests/support/PtyPair.h"

#include <QTest>
#include <gtest/gtest.h>

#include <functional>

// The bound on any wait for something that should happen at once.
inline constexpr int generousMs = 20000;

// The main window's port settings: RTS/CTS handshake, DTR off, 10 ms read interval.
inline void configureAsComPort1(TCustomComPort &port)
{
    port.FlowControl().setOutCTSFlow(true);
    port.FlowControl().setControlRTS(rtsHandshake);
    port.Timeouts().setReadInterval(10);
    port.Timeouts().setWriteTotalMultiplier(1);
    port.Timeouts().setWriteTotalConstant(1);
}

// Runs the GUI thread's event loop (and so the hand-overs) until done() holds.
inline bool waitFor(const std::function<bool()> &done)
{
    return QTest::qWaitFor(done, generousMs);
}

// The EComPort that action raises, checked for its codes.
inline void expectComPortError(const std::function<void()> &action, int code, int systemCode)
{
    try {
        action();
        ADD_FAILURE() << "no EComPort, expected code " << code;
    } catch (const EComPort &error) {
        EXPECT_EQ(error.code(), code) << error.what();
        EXPECT_EQ(error.systemCode(), std::uint32_t(systemCode)) << error.what();
    }
}

// A port set up as the main window's, on a fresh pseudo-terminal.
struct ComPortOnPty : ::testing::Test
{
    ComPortOnPty()
    {
        configureAsComPort1(port);
        port.setPort(pty.slavePath());
    }

    PtyPair pty;
    TComPort port;
};
