// Opening, configuring, reading and closing a port on a real pseudo-terminal.

#include "tests/serial/ComPortFixture.h"

#include <QStringList>

#include <cerrno>
#include <csignal>
#include <pthread.h>
#include <future>
#include <thread>

namespace {

TEST_F(ComPortOnPty, OpenConfiguresTheDeviceAsComPort1)
{
    port.OpenPort();
    ASSERT_TRUE(port.Connected());
    const PosixSerialDevice::LineState line = port.Device().lineState();
    EXPECT_EQ(line.rate, 9600);
    EXPECT_EQ(line.dataBits, 8);
    EXPECT_EQ(line.parity, 'N');
    EXPECT_FALSE(line.twoStopBits);
    EXPECT_TRUE(line.rtsCts);
    EXPECT_FALSE(line.xonXoffIn || line.xonXoffOut);
}

TEST_F(ComPortOnPty, LineFormatsReachTheDevice)
{
    const struct
    {
        const char *name;
        TBaudRate rate;
        int custom;
        TDataBits bits;
        TParityBits parity;
        TStopBits stop;
        TFlowControl flow;
        PosixSerialDevice::LineState expected;
    } rows[] = {
        {"two stop bits, XON/XOFF", br19200, 0, dbEight, prNone, sbTwoStopBits, fcSoftware,
         {19200, 8, 'N', true, false, true, true, false, 17, 19}},
        {"one and a half stop bits, no flow control", br110, 0, dbEight, prNone, sbOne5StopBits, fcNone,
         {110, 8, 'N', true, false, false, false, false, 17, 19}},
        {"a rate without a B-constant, RTS/CTS", br14400, 0, dbEight, prNone, sbOneStopBit, fcHardware,
         {14400, 8, 'N', false, true, false, false, false, 17, 19}},
        {"a custom rate", brCustom, 31250, dbEight, prNone, sbOneStopBit, fcNone,
         {31250, 8, 'N', false, false, false, false, false, 17, 19}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        TComPort p;
        p.setPort(pty.slavePath());
        p.setBaudRate(row.rate);
        if (row.custom)
            p.setCustomBaudRate(row.custom);
        p.setDataBits(row.bits);
        p.Parity().setBits(row.parity);
        p.setStopBits(row.stop);
        p.FlowControl().setFlowControl(row.flow);
        p.OpenPort();
        const PosixSerialDevice::LineState line = p.Device().lineState();
        EXPECT_EQ(line.rate, row.expected.rate);
        EXPECT_EQ(line.dataBits, row.expected.dataBits);
        EXPECT_EQ(line.parity, row.expected.parity);
        EXPECT_EQ(line.twoStopBits, row.expected.twoStopBits);
        EXPECT_EQ(line.rtsCts, row.expected.rtsCts);
        EXPECT_EQ(line.xonXoffOut, row.expected.xonXoffOut);
        EXPECT_EQ(line.xonXoffIn, row.expected.xonXoffIn);
        EXPECT_EQ(line.xonChar, 17);
    }
}

// A pseudo-terminal drops the parity flags, so they are read before they reach the driver.
TEST(ComPortLine, ParityAndItsCheckAreAskedOfTheDriver)
{
    const struct
    {
        TParityBits bits;
        bool check;
        char parity;
    } rows[] = {{prNone, false, 'N'}, {prOdd, true, 'O'}, {prEven, false, 'E'}, {prMark, true, 'M'}, {prSpace, false, 'S'}};
    for (const auto &row : rows) {
        TComPort port;
        port.Parity().setBits(row.bits);
        port.Parity().setCheck(row.check);
        const PosixSerialDevice::LineState line = PosixSerialDevice::requestedLineState(port.LineSettingsRecord());
        EXPECT_EQ(line.parity, row.parity);
        EXPECT_EQ(line.parityCheck, row.check) << row.parity;
    }
}

TEST_F(ComPortOnPty, EveryListedRateReachesTheDeviceAsTheNumberTheListShows)
{
    port.OpenPort();
    for (int rate = br110; rate < BaudRateCount; ++rate) {
        port.setBaudRate(TBaudRate(rate));
        EXPECT_EQ(port.Device().lineState().rate, BaudRateToText(TBaudRate(rate)).toInt()) << rate;
    }
}

TEST_F(ComPortOnPty, ChangesReachAnOpenDeviceAtOnceUnlessAnUpdateIsPending)
{
    port.OpenPort();
    port.setBaudRate(br57600);
    EXPECT_EQ(port.Device().lineState().rate, 57600);

    port.BeginSettingsUpdate();
    port.BeginSettingsUpdate();
    port.setBaudRate(br4800);
    port.FlowControl().setFlowControl(fcNone);
    port.EndSettingsUpdate();
    EXPECT_EQ(port.Device().lineState().rate, 57600) << "one update is still pending";
    EXPECT_TRUE(port.Device().lineState().rtsCts);
    port.EndSettingsUpdate();
    EXPECT_EQ(port.Device().lineState().rate, 4800);
    EXPECT_FALSE(port.Device().lineState().rtsCts);
    port.EndSettingsUpdate(); // an extra End is ignored
    port.setBaudRate(br9600);
    EXPECT_EQ(port.Device().lineState().rate, 9600);
}

TEST_F(ComPortOnPty, RefusedSettingsKeepTheValueAndTheDriverState)
{
    port.OpenPort();
    port.setBaudRate(br38400);
    port.setCustomBaudRate(0);
    expectComPortError([&] { port.setBaudRate(brCustom); }, EComPort::SetStateFailed, EINVAL);
    EXPECT_EQ(port.BaudRate(), brCustom) << "the new value stays stored";
    EXPECT_EQ(port.Device().lineState().rate, 38400) << "the driver keeps its configuration";
    EXPECT_TRUE(port.Connected());

    // A pseudo-terminal accepts any parity and silently stays 8N: the read-back catches it.
    port.setBaudRate(br38400);
    expectComPortError([&] { port.Parity().setBits(prEven); }, EComPort::SetStateFailed, EINVAL);
    EXPECT_EQ(port.Parity().Bits(), prEven);
    EXPECT_EQ(port.Device().lineState().parity, 'N');
    EXPECT_EQ(port.Device().lineState().rate, 38400);

    expectComPortError([&] { port.setSyncMethod(smNone); }, EComPort::SetWhileConnected, -1);
    EXPECT_EQ(port.SyncMethod(), smThreadSync);
    port.setSyncMethod(smThreadSync); // the same value is no change
    port.ClosePort();
    port.setSyncMethod(smNone);
    EXPECT_EQ(port.SyncMethod(), smNone);
}

TEST_F(ComPortOnPty, SettingRefusedWhileOpeningClosesTheDeviceAgain)
{
    port.setDataBits(dbSeven); // a pseudo-terminal is always eight bits
    QStringList raised;
    port.OnAfterOpen = [&](TCustomComPort &) { raised << "AfterOpen"; };
    port.OnBeforeOpen = [&](TCustomComPort &) { raised << "BeforeOpen"; };
    expectComPortError([&] { port.OpenPort(); }, EComPort::SetStateFailed, EINVAL);
    EXPECT_FALSE(port.Connected());
    EXPECT_FALSE(port.Device().isOpen());
    EXPECT_EQ(port.EventThread(), nullptr);
    EXPECT_EQ(raised, QStringList{"BeforeOpen"});

    TComPort other; // the device was released: another port may have it
    other.setPort(pty.slavePath());
    other.OpenPort();
    EXPECT_TRUE(other.Connected());
}

TEST(ComPortOpen, MissingDeviceGivesCode1WithErrno2)
{
    TComPort port;
    ASSERT_EQ(port.Port(), "COM1");
    int beforeOpen = 0;
    port.OnBeforeOpen = [&](TCustomComPort &) { ++beforeOpen; };
    try {
        port.OpenPort();
        FAIL() << "/dev/COM1 opened";
    } catch (const EComPort &error) {
        EXPECT_EQ(error.code(), 1);
        EXPECT_EQ(error.systemCode(), 2u);
        EXPECT_EQ(error.message(), "Unable to open com port (win error code: 2)");
    }
    EXPECT_FALSE(port.Connected());
    EXPECT_EQ(beforeOpen, 1);
    port.setPort("/dev/ondrix-no-such-device");
    expectComPortError([&] { port.OpenPort(); }, EComPort::OpenFailed, ENOENT);
}

TEST_F(ComPortOnPty, HeldDeviceCannotBeOpenedTwice)
{
    port.OpenPort();
    TComPort second;
    second.setPort(pty.slavePath());
    try {
        second.OpenPort();
        FAIL() << "opened a held device";
    } catch (const EComPort &error) {
        EXPECT_EQ(error.code(), EComPort::OpenFailed);
    }
    EXPECT_FALSE(second.Connected());
    port.ClosePort();
    second.OpenPort();
    EXPECT_TRUE(second.Connected());
}

TEST_F(ComPortOnPty, HandlersRaisedInOrderAndOpenCloseTwiceChangeNothing)
{
    QStringList raised;
    auto note = [&](const char *name) { return [&raised, name](TCustomComPort &) { raised << name; }; };
    auto noteSignal = [&](const char *name) {
        return [&raised, name](TCustomComPort &, bool on) { raised << QString("%1=%2").arg(name).arg(on); };
    };
    port.OnBeforeOpen = note("BeforeOpen");
    port.OnAfterOpen = note("AfterOpen");
    port.OnBeforeClose = note("BeforeClose");
    port.OnAfterClose = note("AfterClose");
    port.OnCTSChange = noteSignal("CTS");
    port.OnDSRChange = noteSignal("DSR");
    port.OnRLSDChange = noteSignal("RLSD");

    port.OpenPort();
    port.OpenPort();
    port.ClosePort();
    port.ClosePort();
    // A pseudo-terminal has no modem lines: they read as off.
    EXPECT_EQ(raised, QStringList({"BeforeOpen", "AfterOpen", "CTS=0", "DSR=0", "RLSD=0", "CTS=0", "DSR=0",
                                   "RLSD=0", "BeforeClose", "AfterClose"}));
    EXPECT_FALSE(port.Device().isOpen());

    raised.clear();
    port.setConnected(true);
    EXPECT_TRUE(port.Connected());
    expectComPortError([&] { port.setPort(pty.slavePath() + "x"); }, EComPort::OpenFailed, ENOENT);
    ASSERT_FALSE(port.Connected()) << "a new name closes, and this one cannot open";
    EXPECT_TRUE(raised.contains("AfterClose"));
}

TEST_F(ComPortOnPty, PortChangeWhileOpenReopensOnTheNewDevice)
{
    PtyPair second;
    port.OpenPort();
    port.setPort(second.slavePath());
    EXPECT_TRUE(port.Connected());
    second.write("42b");
    std::string text;
    EXPECT_EQ(port.ReadText(text, 3), 3);
    EXPECT_EQ(text, "42b");
}

TEST_F(ComPortOnPty, ReadsHonourCountAndTimeouts)
{
    port.setEvents({});
    port.OpenPort();
    expectReadsHonourCountAndTimeouts(port, [&](std::string_view bytes) { pty.write(bytes); });
}

TEST_F(ComPortOnPty, AbortEndsAReadWaitingOnAnotherThread)
{
    port.setEvents({});
    port.OpenPort();
    auto read = std::async(std::launch::async, [&] {
        std::string text;
        try {
            port.ReadText(text, 5);
            return 0;
        } catch (const EComPort &error) {
            return error.code();
        }
    });
    // The read may not be waiting yet when the abort comes: repeat until it ends.
    const auto bound = std::chrono::steady_clock::now() + std::chrono::milliseconds(generousMs);
    while (read.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready
           && std::chrono::steady_clock::now() < bound)
        port.AbortPendingIO();
    ASSERT_EQ(read.wait_for(std::chrono::seconds(0)), std::future_status::ready);
    EXPECT_EQ(read.get(), EComPort::ReadFailed);
}

// A signal handled by the program (without SA_RESTART) interrupts the wait: the read goes
// on and still ends at its total limit, however many signals came.
TEST_F(ComPortOnPty, SignalsDuringAReadNeitherEndNorHoldItPastItsLimit)
{
    struct sigaction ignore = {}, previous = {};
    ignore.sa_handler = [](int) {};
    sigaction(SIGUSR1, &ignore, &previous);
    port.setEvents({});
    port.Timeouts().setReadInterval(0);
    port.Timeouts().setReadTotalConstant(100);
    port.OpenPort();
    std::promise<pthread_t> reader;
    auto read = std::async(std::launch::async, [&] {
        reader.set_value(pthread_self());
        std::string text;
        return port.ReadText(text, 5);
    });
    const pthread_t readerThread = reader.get_future().get();
    const auto bound = std::chrono::steady_clock::now() + std::chrono::milliseconds(generousMs);
    while (read.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready
           && std::chrono::steady_clock::now() < bound)
        pthread_kill(readerThread, SIGUSR1);
    const bool ended = read.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    if (!ended)
        port.AbortPendingIO(); // lets the test end
    EXPECT_TRUE(ended);
    if (ended) {
        EXPECT_EQ(read.get(), 0);
    }
    sigaction(SIGUSR1, &previous, nullptr);
}

TEST(ComPortClosed, OperationsOnAClosedPort)
{
    TComPort port;
    std::string text;
    expectComPortError([&] { port.ReadText(text, 3); }, EComPort::ReadFailed, EBADF);
    expectComPortError([&] { port.PendingInputCount(); }, EComPort::ClearErrorFailed, EBADF);
    expectComPortError([&] { port.ReadModemSignals(); }, EComPort::ModemStatusFailed, EBADF);
    expectComPortError([&] { port.AbortPendingIO(); }, EComPort::PurgeFailed, EBADF);
    EXPECT_EQ(port.ReadText(text, 0), 0) << "count 0 touches no device";
    port.setBaudRate(br300); // stored only
    EXPECT_EQ(port.BaudRate(), br300);
}

} // namespace
