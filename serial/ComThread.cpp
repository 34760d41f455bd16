#include "serial/ComThread.h"

#include "runtime/Application.h"
#include "runtime/Exception.h"
#include "runtime/Synchronize.h"
#include "serial/CustomComPort.h"

#include <system_error>

namespace {

// The order in which one batch of events is raised.
constexpr TComEvent raiseOrder[] = {evError, evRxChar, evTxEmpty, evBreak, evRing,
                                    evCTS,   evDSR,    evRxFlag,  evRLSD,  evRx80Full};

} // namespace

TComThread::TComThread(TCustomComPort &port)
    : m_port(port), m_waiter(port.m_device->handle(), port.m_device->wakeHandle(), EventsToMask(port.Events()))
{
    try {
        m_thread = std::thread(&TComThread::Execute, this);
    } catch (const std::system_error &error) {
        throw EOutOfResources(QString::fromLocal8Bit(error.what()));
    }
}

TComThread::~TComThread()
{
    SignalStop();
    waitForEnd();
    // The closing purge: bytes still queued are dropped. It runs here, after the body,
    // because in window mode a handler may still be reading on the GUI thread while the
    // body ends; a purge between its count and its read would leave the read waiting.
    if (m_loopEnded)
        m_port.m_device->purge();
}

void TComThread::SignalStop()
{
    m_waiter.signalStop();
    std::this_thread::yield();
}

void TComThread::waitForEnd()
{
    // A plain join would deadlock against a thread blocked in a hand-over; running
    // anything but hand-overs here would re-enter the window's handlers.
    Synchronize::waitUntil([this] { return Ended(); });
    m_thread.join();
}

void TComThread::Execute()
{
    try {
        WaitLoop();
        m_loopEnded = true;
    } catch (...) {
        // A handler or a read raised: the body ends here, silently, without the
        // closing purge. The error is dropped with the thread.
        m_fatalError = std::current_exception();
    }
    // However the loop ended (the wait saw the hang-up, or a read in a handler failed
    // on it), a device that is gone is worth telling the operator.
    if (m_port.m_device->hungUp()) {
        m_vanished = true;
        reportVanished();
    }
    m_ended = true;
    Synchronize::wake();
}

void TComThread::reportVanished()
{
    // The hand-over only posts the report: acted on inside it, the owner's Stop would
    // wait in ClosePort for this very thread, which waits for the hand-over.
    TCustomComPort *port = &m_port;
    Synchronize::send([port] {
        QMetaObject::invokeMethod(port, &TCustomComPort::checkVanished, Qt::QueuedConnection);
    });
}

void TComThread::WaitLoop()
{
    std::uint32_t mask = 0;
    while (m_waiter.wait(mask) == PosixEventWaiter::Outcome::Events) {
        m_received = MaskToEvents(mask);
        if (!m_received.empty())
            DeliverEvents();
    }
}

void TComThread::DeliverEvents()
{
    switch (m_port.SyncMethod()) {
    case smThreadSync:
        Synchronize::call([this] { RaiseEvents(m_port, m_received); });
        break;
    case smWindowSync:
        SendEventMessages();
        break;
    case smNone:
        RaiseEvents(m_port, m_received);
        break;
    }
}

void TComThread::SendEventMessages()
{
    TCustomComPort *port = &m_port;
    for (TComEvent event : raiseOrder) {
        if (!m_received.contains(event))
            continue;
        // The GUI thread takes the event over and releases this thread before raising
        // it; by then the port may have been closed, and then nothing is raised.
        Synchronize::send([port, event] {
            TApplication::guard([&] {
                if (port->Connected())
                    RaiseEvent(*port, event);
            });
        });
    }
}

void TComThread::RaiseEvents(TCustomComPort &port, TComEvents events)
{
    for (TComEvent event : raiseOrder) {
        if (events.contains(event))
            RaiseEvent(port, event);
    }
}

void TComThread::RaiseEvent(TCustomComPort &port, TComEvent event)
{
    switch (event) {
    case evError:
        if (const TComErrors errors = port.ReadLineErrors(); !errors.empty())
            port.DoError(errors);
        break;
    case evRxChar:
        if (const int count = port.PendingInputCount(); count > 0)
            port.DoRxChar(count);
        break;
    case evTxEmpty: port.DoTxEmpty(); break;
    case evBreak: port.DoBreak(); break;
    case evRing: port.DoRing(); break;
    case evCTS: port.DoCTSChange(port.ReadModemSignals().contains(csCTS)); break;
    case evDSR: port.DoDSRChange(port.ReadModemSignals().contains(csDSR)); break;
    case evRxFlag: port.DoRxFlag(); break;
    case evRLSD: port.DoRLSDChange(port.ReadModemSignals().contains(csRLSD)); break;
    case evRx80Full: port.DoRx80Full(); break;
    }
}
