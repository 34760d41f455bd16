#include "runtime/TerminationSignals.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <iterator>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int endingSignals[] = {SIGTERM, SIGINT, SIGHUP};
// What each was before, restored with the object.
struct sigaction previousActions[std::size(endingSignals)];

// The handler may only do what is async-signal-safe: write one byte to the pair.
int signalPair[2] = {-1, -1};

void forwardSignal(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    // A pair too full to take the byte already holds one that wakes the loop.
    [[maybe_unused]] const ssize_t written = ::write(signalPair[0], &byte, 1);
    errno = savedErrno;
}

void installHandler(int signalNumber, void (*handler)(int))
{
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(signalNumber, &action, nullptr);
}

} // namespace

TerminationSignals::TerminationSignals(QObject *parent) : QObject(parent)
{
    installHandler(SIGPIPE, SIG_IGN);
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalPair) != 0)
        return; // without the pair the default actions stay: ending still works, abruptly
    m_notifier = new QSocketNotifier(signalPair[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readPendingSignal);
    for (std::size_t i = 0; i < std::size(endingSignals); ++i) {
        ::sigaction(endingSignals[i], nullptr, &previousActions[i]);
        // A signal ignored when the program started stays ignored: started under nohup,
        // it outlives its terminal; as a background job, Ctrl+C is not for it.
        if (previousActions[i].sa_handler != SIG_IGN)
            installHandler(endingSignals[i], forwardSignal);
    }
}

TerminationSignals::~TerminationSignals()
{
    if (!m_notifier)
        return;
    for (std::size_t i = 0; i < std::size(endingSignals); ++i)
        ::sigaction(endingSignals[i], &previousActions[i], nullptr);
    ::close(signalPair[0]);
    ::close(signalPair[1]);
    signalPair[0] = signalPair[1] = -1;
}

void TerminationSignals::readPendingSignal()
{
    char bytes[16];
    while (::read(signalPair[1], bytes, sizeof bytes) > 0) {
    }
    emit terminationRequested();
}
