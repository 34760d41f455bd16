#pragma once

#include "serial/ComPort.h"
#include "serial/EComPort.h"
#include "tests/support/PtyPair.h"

#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <future>
#include <string>
#include <string_view>

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

// Reads on an open port with no events, the board's bytes sent by board(): the count, the
// interval after bytes, the total limit, and bytes that come while a read waits; the same
// whatever the device behind the port.
inline void expectReadsHonourCountAndTimeouts(TCustomComPort &port,
                                              const std::function<void(std::string_view)> &board)
{
    std::string text = "untouched";
    EXPECT_EQ(port.ReadText(text, 0), 0);
    EXPECT_TRUE(text.empty());

    board("512b 7a");
    EXPECT_TRUE(waitFor([&] { return port.PendingInputCount() == 7; }));
    EXPECT_EQ(port.ReadText(text, 4), 4);
    EXPECT_EQ(text, "512b");
    EXPECT_EQ(port.ReadText(text, 8), 3) << "fewer bytes than asked, after the interval";
    EXPECT_EQ(text, " 7a");
    EXPECT_EQ(port.PendingInputCount(), 0);

    port.Timeouts().setReadInterval(0);
    port.Timeouts().setReadTotalConstant(generousMs);
    board("12");
    auto rest = std::async(std::launch::async, [&] { board("34"); });
    char buffer[4];
    EXPECT_EQ(port.ReadBytes(buffer, 4), 4) << "waits for the count while the bytes come";
    EXPECT_EQ(std::string(buffer, 4), "1234");
    rest.get();

    port.Timeouts().setReadInterval(-1);
    port.Timeouts().setReadTotalConstant(0);
    EXPECT_EQ(port.ReadText(text, 10), 0) << "interval -1 alone returns at once";
    board("ab");
    ASSERT_TRUE(waitFor([&] { return port.PendingInputCount() == 2; }));
    EXPECT_EQ(port.ReadText(text, 10), 2);

    port.Timeouts().setReadInterval(0);
    port.Timeouts().setReadTotalConstant(30);
    EXPECT_EQ(port.ReadText(text, 10), 0) << "the total limit ends a read with nothing";
    EXPECT_TRUE(text.empty());

    port.Timeouts().setReadInterval(-1);
    port.Timeouts().setReadTotalMultiplier(-1);
    port.Timeouts().setReadTotalConstant(generousMs);
    auto first = std::async(std::launch::async, [&] { board("xyz"); });
    EXPECT_EQ(port.ReadText(text, 10), 3) << "waits for the first bytes and returns with them";
    EXPECT_EQ(text, "xyz");
    first.get();
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
