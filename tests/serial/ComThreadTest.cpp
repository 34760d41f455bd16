// The event thread: what Count means, when OnRxChar fires, the three delivery modes,
// stopping during a delivery, a raising handler and a vanished device.

#include "runtime/Exception.h"
#include "runtime/Synchronize.h"
#include "serial/ComThread.h"
#include "tests/serial/ComPortFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QStringList>
#include <QThread>

#include <atomic>
#include <chrono>
#include <thread>
#include <memory>
#include <mutex>
#include <vector>

namespace {

// OnRxChar's Counts; the handler reads `take(Count)` bytes of each delivery.
struct RxRecorder
{
    explicit RxRecorder(TCustomComPort &device, std::function<int(int)> take = [](int count) { return count; })
        : port(device)
    {
        port.OnRxChar = [this, take](TCustomComPort &sender, int count) {
            std::string text;
            sender.ReadText(text, take(count));
            std::lock_guard lock(mutex);
            counts.push_back(count);
            received += text;
            onGuiThread = onGuiThread && QThread::currentThread() == qApp->thread();
        };
    }

    std::vector<int> snapshot()
    {
        std::lock_guard lock(mutex);
        return counts;
    }

    bool hasCalls(std::size_t n) { return snapshot().size() >= n; }

    // A delivery still pending would otherwise reach this recorder after it is gone.
    ~RxRecorder() { port.ClosePort(); }

    TCustomComPort &port;
    std::mutex mutex;
    std::vector<int> counts;
    std::string received;
    bool onGuiThread = true;
};

// The pseudo-terminal hands written bytes to the reading side a little later: waits,
// without running any hand-over, until count bytes are queued.
void expectQueued(TCustomComPort &port, int count)
{
    const auto bound = std::chrono::steady_clock::now() + std::chrono::milliseconds(generousMs);
    while (port.PendingInputCount() < count && std::chrono::steady_clock::now() < bound)
        std::this_thread::yield();
    ASSERT_EQ(port.PendingInputCount(), count);
}

TEST_F(ComPortOnPty, CountCoversBytesThatArrivedBeforeTheDelivery)
{
    RxRecorder rx(port);
    port.OpenPort();
    // The GUI thread runs no hand-over while both pieces arrive.
    pty.write("51");
    pty.write("2b");
    expectQueued(port, 4);
    ASSERT_TRUE(waitFor([&] { return rx.hasCalls(1); }));
    pty.write("c");
    ASSERT_TRUE(waitFor([&] { return rx.hasCalls(2); }));
    EXPECT_EQ(rx.snapshot(), (std::vector<int>{4, 1})) << "no call for an empty queue in between";
    EXPECT_EQ(rx.received, "512bc");
    EXPECT_TRUE(rx.onGuiThread);
}

TEST_F(ComPortOnPty, UnreadBytesFireAgainOnlyWithOneMoreByte)
{
    // On the event thread itself, so that a re-fire for the unread bytes would show at
    // once, without waiting for the GUI thread.
    port.setSyncMethod(smNone);
    RxRecorder rx(port, [](int) { return 0; });
    port.OpenPort();
    pty.write("abc");
    ASSERT_TRUE(waitFor([&] { return rx.hasCalls(1); }));
    pty.write("d");
    ASSERT_TRUE(waitFor([&] { return rx.snapshot().back() == 4; }));
    EXPECT_EQ(rx.snapshot(), (std::vector<int>{3, 4}));
    EXPECT_EQ(port.PendingInputCount(), 4);
}

TEST_F(ComPortOnPty, StopDuringAPendingDeliveryRunsItOnceBeforeAfterClose)
{
    QStringList raised;
    port.OnRxChar = [&](TCustomComPort &sender, int count) {
        std::string text;
        sender.ReadText(text, count);
        raised << QString("RxChar %1 %2 connected=%3").arg(count).arg(QString::fromStdString(text)).arg(sender.Connected());
    };
    port.OnBeforeClose = [&](TCustomComPort &) { raised << "BeforeClose"; };
    port.OnAfterClose = [&](TCustomComPort &) { raised << "AfterClose"; };
    port.OpenPort();
    pty.write("77e");
    ASSERT_TRUE(Synchronize::waitForPending(generousMs)) << "the event thread handed nothing over";
    expectQueued(port, 3);
    port.ClosePort();
    EXPECT_EQ(raised, QStringList({"BeforeClose", "RxChar 3 77e connected=1", "AfterClose"}));
    EXPECT_EQ(port.EventThread(), nullptr);
}

TEST_F(ComPortOnPty, WaitForTheThreadRunsHandOversOnly)
{
    RxRecorder rx(port);
    port.OpenPort();
    bool otherEventRan = false;
    QMetaObject::invokeMethod(qApp, [&] { otherEventRan = true; }, Qt::QueuedConnection);
    pty.write("1a");
    ASSERT_TRUE(Synchronize::waitForPending(generousMs));
    expectQueued(port, 2);
    port.ClosePort();
    EXPECT_EQ(rx.snapshot(), (std::vector<int>{2}));
    EXPECT_FALSE(otherEventRan) << "closing must not run the event loop";
    QCoreApplication::processEvents();
    EXPECT_TRUE(otherEventRan);
}

TEST_F(ComPortOnPty, NoEventsMeansNoThreadAndNoHandler)
{
    RxRecorder rx(port);
    port.setEvents({});
    port.OpenPort();
    EXPECT_EQ(port.EventThread(), nullptr);
    pty.write("5b");
    std::string text;
    EXPECT_EQ(port.ReadText(text, 2), 2);
    QCoreApplication::processEvents();
    port.ClosePort();
    EXPECT_TRUE(rx.snapshot().empty());
    EXPECT_FALSE(port.Connected());

    port.setEvents({evRxChar});
    port.OpenPort();
    ASSERT_NE(port.EventThread(), nullptr);
    pty.write("6c");
    EXPECT_TRUE(waitFor([&] { return rx.hasCalls(1); }));
}

TEST_F(ComPortOnPty, RaisingHandlerEndsDeliverySilentlyUntilStopStart)
{
    int calls = 0;
    port.OnRxChar = [&](TCustomComPort &sender, int count) {
        std::string text;
        sender.ReadText(text, count);
        ++calls;
        if (text == "x")
            throw EConvertError("'x' is not a valid integer value");
    };
    port.OpenPort();
    pty.write("x");
    const TComThread *thread = port.EventThread();
    ASSERT_NE(thread, nullptr);
    ASSERT_TRUE(waitFor([&] { return thread->Ended(); }));
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(port.Connected()) << "the port stays open";
    pty.write("12b");
    EXPECT_TRUE(waitFor([&] { return port.PendingInputCount() == 3; })) << "nobody reads any more";

    port.ClosePort();
    port.OpenPort();
    pty.write("9c");
    EXPECT_TRUE(waitFor([&] { return calls == 2; })) << "a new opening delivers again";
    port.ClosePort();
}

TEST_F(ComPortOnPty, DeliveryModesChooseTheHandlerThread)
{
    const struct
    {
        TSyncMethod method;
        bool onGuiThread;
    } rows[] = {{smThreadSync, true}, {smWindowSync, true}, {smNone, false}};
    for (const auto &row : rows) {
        SCOPED_TRACE(row.method);
        port.setSyncMethod(row.method);
        std::atomic<bool> onGui{false};
        std::atomic<int> calls{0};
        port.OnRxChar = [&](TCustomComPort &sender, int count) {
            std::string text;
            sender.ReadText(text, count);
            onGui = QThread::currentThread() == qApp->thread();
            ++calls;
        };
        port.OpenPort();
        pty.write("3d");
        EXPECT_TRUE(waitFor([&] { return calls.load() == 1; }));
        EXPECT_EQ(onGui.load(), row.onGuiThread);
        port.ClosePort();
    }
}

TEST_F(ComPortOnPty, WindowModeReleasesTheThreadAndRaisesNothingAfterClose)
{
    port.setSyncMethod(smWindowSync);
    QStringList raised;
    port.OnRxChar = [&](TCustomComPort &sender, int count) {
        raised << QString("RxChar %1").arg(count);
        // The event thread is already free: it may report these bytes while this runs.
        std::string text;
        sender.ReadText(text, count);
    };
    port.OnAfterClose = [&](TCustomComPort &) { raised << "AfterClose"; };
    port.OpenPort();
    pty.write("1e");
    ASSERT_TRUE(Synchronize::waitForPending(generousMs));
    port.ClosePort();
    QCoreApplication::processEvents();
    // The close takes the delivery up while the port is still open: the bytes that came
    // before it are raised, and nothing after it.
    EXPECT_EQ(raised, QStringList({"RxChar 2", "AfterClose"}));
}

TEST_F(ComPortOnPty, WindowModeShowsHandlerErrorsAndGoesOn)
{
    port.setSyncMethod(smWindowSync);
    int calls = 0;
    port.OnRxChar = [&](TCustomComPort &sender, int count) {
        std::string text;
        sender.ReadText(text, count);
        ++calls;
        if (calls == 1)
            throw EAbort("silent"); // shown by the application's handler, which stays quiet for EAbort
    };
    port.OpenPort();
    pty.write("a");
    ASSERT_TRUE(waitFor([&] { return calls == 1; }));
    pty.write("b");
    EXPECT_TRUE(waitFor([&] { return calls == 2; })) << "the thread goes on";
    EXPECT_FALSE(port.EventThread()->Ended());
    port.ClosePort();
}

TEST_F(ComPortOnPty, VanishedDeviceEndsTheThreadAndReopeningFails)
{
    RxRecorder rx(port);
    port.OpenPort();
    pty.write("4f");
    ASSERT_TRUE(waitFor([&] { return rx.hasCalls(1); }));
    const TComThread *thread = port.EventThread();
    pty.closeMaster();
    EXPECT_TRUE(waitFor([&] { return thread->Ended(); }));
    EXPECT_TRUE(port.Connected());
    port.ClosePort();
    EXPECT_FALSE(port.Connected());
    EXPECT_FALSE(port.Device().isOpen());
    try {
        port.OpenPort();
        ADD_FAILURE() << "a vanished device opened";
    } catch (const EComPort &error) {
        EXPECT_EQ(error.code(), EComPort::OpenFailed);
    }
    EXPECT_FALSE(port.Connected());
}

TEST(ComPortVanished, StartFailsUntilTheDeviceIsBack)
{
    // The port names a link, as udev names an adapter; the link outlives the device.
    const QString link = QDir::temp().filePath(QStringLiteral("ondrix-port-%1").arg(QCoreApplication::applicationPid()));
    auto pointLinkAt = [&](const QString &target) {
        QFile::remove(link);
        ASSERT_TRUE(QFile::link(target, link));
    };
    auto first = std::make_unique<PtyPair>();
    pointLinkAt(first->slavePath());
    TComPort port;
    port.setPort(link);
    port.OpenPort();
    first.reset();
    ASSERT_TRUE(waitFor([&] { return port.EventThread()->Ended(); }));
    port.ClosePort();
    expectComPortError([&] { port.OpenPort(); }, EComPort::OpenFailed, ENOENT);
    expectComPortError([&] { port.OpenPort(); }, EComPort::OpenFailed, ENOENT);

    PtyPair second;
    pointLinkAt(second.slavePath());
    int calls = 0;
    port.OnRxChar = [&](TCustomComPort &sender, int count) {
        std::string text;
        calls += sender.ReadText(text, count) > 0;
    };
    port.OpenPort();
    second.write("8d");
    EXPECT_TRUE(waitFor([&] { return calls == 1; }));
    port.ClosePort();
    QFile::remove(link);
}

TEST_F(ComPortOnPty, ReadOnAVanishedDeviceFails)
{
    port.setEvents({});
    port.OpenPort();
    pty.closeMaster();
    std::string text;
    expectComPortError([&] { port.ReadText(text, 4); }, EComPort::ReadFailed, EIO);
    port.ClosePort();
}

TEST_F(ComPortOnPty, VanishedDeviceIsReportedOnceWithTheReadError)
{
    RxRecorder rx(port);
    QSignalSpy vanished(&port, &TCustomComPort::deviceVanished);
    port.OpenPort();
    for (int i = 0; i < 50; ++i)
        pty.write("123b456c");
    pty.closeMaster();
    ASSERT_TRUE(waitFor([&] { return !vanished.isEmpty(); }));
    EXPECT_EQ(vanished.takeFirst().at(0).toInt(), EIO);
    EXPECT_TRUE(port.Connected()) << "closing is the owner's choice";
    QCoreApplication::processEvents();
    EXPECT_TRUE(vanished.isEmpty()) << "once per opening";
    port.ClosePort();
}

TEST_F(ComPortOnPty, VanishedDeviceClosedBeforeTheReportRunsReportsNothing)
{
    RxRecorder rx(port);
    QSignalSpy vanished(&port, &TCustomComPort::deviceVanished);
    port.OpenPort();
    const TComThread *thread = port.EventThread();
    pty.closeMaster();
    // Waits without Qt's event loop, as a Stop pressed just then would.
    Synchronize::waitUntil([&] { return thread->Ended(); });
    port.ClosePort();
    QCoreApplication::processEvents();
    EXPECT_TRUE(vanished.isEmpty());
}

TEST_F(ComPortOnPty, HandlerErrorWithTheDeviceStillThereIsNoVanishing)
{
    QSignalSpy vanished(&port, &TCustomComPort::deviceVanished);
    port.OnRxChar = [](TCustomComPort &, int) { throw EConvertError("'x' is not a valid integer value"); };
    port.OpenPort();
    const TComThread *thread = port.EventThread();
    pty.write("xb");
    ASSERT_TRUE(waitFor([&] { return thread->Ended(); }));
    QCoreApplication::processEvents();
    EXPECT_TRUE(vanished.isEmpty());
    port.ClosePort();
}

} // namespace
