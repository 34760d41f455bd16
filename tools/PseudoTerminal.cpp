#include "PseudoTerminal.h"

#include "SignalStop.h"

#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/inotify.h>

PseudoTerminal::PseudoTerminal()
{
    openMaster();
    prepareSlave();
}

void PseudoTerminal::openMaster()
{
    m_master = FileDescriptor(posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!m_master.valid())
        throw std::runtime_error(systemError("posix_openpt"));
    if (grantpt(m_master.get()) != 0 || unlockpt(m_master.get()) != 0)
        throw std::runtime_error(systemError("grantpt/unlockpt"));
    char path[PATH_MAX];
    if (ptsname_r(m_master.get(), path, sizeof path) != 0)
        throw std::runtime_error(systemError("ptsname_r"));
    m_slavePath = path;
}

// Raw mode is set on the slave once, here; the terminal keeps it while readers come and
// go. Having been opened and closed, the slave reports a hang-up on the master until a
// reader opens it: that is how a reader is told from no reader.
void PseudoTerminal::prepareSlave()
{
    // The watch exists before the first reader can open the slave, so no opening is missed.
    m_slaveWatch = FileDescriptor(inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
    if (!m_slaveWatch.valid()
        || inotify_add_watch(m_slaveWatch.get(), m_slavePath.c_str(), IN_OPEN | IN_CLOSE) < 0)
        throw std::runtime_error(systemError("inotify on " + m_slavePath));
    const FileDescriptor slave(::open(m_slavePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (!slave.valid())
        throw std::runtime_error(systemError("open " + m_slavePath));
    makeRaw(slave.get());
}

bool PseudoTerminal::readerAttached()
{
    pollfd master = {m_master.get(), 0, 0};
    return poll(&master, 1, 0) >= 0 && (master.revents & POLLHUP) == 0;
}

bool PseudoTerminal::waitForReader(const SignalStop &stop)
{
    return waitUntilAttached(true, stop);
}

void PseudoTerminal::send(std::string_view text)
{
    writeOrDrop(m_master.get(), text);
}

bool PseudoTerminal::sendAll(std::string_view text, const SignalStop &stop)
{
    return writeAll(m_master.get(), text, stop);
}

void PseudoTerminal::finish(const SignalStop &stop)
{
    waitUntilAttached(false, stop);
}

// Every open and close of the slave queues an event on the watch; the state is checked
// before each wait, so a change between check and wait still wakes the wait.
bool PseudoTerminal::waitUntilAttached(bool attached, const SignalStop &stop)
{
    while (readerAttached() != attached) {
        if (!stop.waitReadable(m_slaveWatch.get()))
            return false;
        char events[4096];
        while (::read(m_slaveWatch.get(), events, sizeof events) > 0) {
        }
    }
    return true;
}
