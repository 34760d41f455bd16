#include "runtime/UserSignal.h"

#include <QSocketNotifier>
#include <csignal>
#include <sys/signalfd.h>
#include <unistd.h>

UserSignal::UserSignal(QObject *parent) : QObject(parent)
{
    sigset_t mask;
    sigemptyset(&mask);
    sigaddset(&mask, SIGUSR1);
    ::pthread_sigmask(SIG_BLOCK, &mask, nullptr);
    m_descriptor = ::signalfd(-1, &mask, SFD_NONBLOCK | SFD_CLOEXEC);
    if (m_descriptor < 0)
        return; // blocked and never read: a SIGUSR1 is then simply without effect
    m_notifier = new QSocketNotifier(m_descriptor, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &UserSignal::readPending);
}

UserSignal::~UserSignal()
{
    delete m_notifier; // before the descriptor it watches
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}

void UserSignal::readPending()
{
    signalfd_siginfo info;
    bool any = false;
    while (::read(m_descriptor, &info, sizeof info) == sizeof info)
        any = true;
    if (any)
        emit raised();
}
