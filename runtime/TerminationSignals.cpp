#include "runtime/TerminationSignals.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The handler may only do what is async-signal-safe: write one byte to the pair.
int signalPair[2] = {-1, -1};

void forwardSignal(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    (void)::write(signalPair[0], &byte, 1);
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
    installHandler(SIGTERM, forwardSignal);
    installHandler(SIGINT, forwardSignal);
}

TerminationSignals::~TerminationSignals()
{
    if (!m_notifier)
        return;
    installHandler(SIGTERM, SIG_DFL);
    installHandler(SIGINT, SIG_DFL);
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
