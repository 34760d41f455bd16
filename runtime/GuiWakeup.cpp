#include "runtime/GuiWakeup.h"

#include "runtime/Exception.h"

#include <QSocketNotifier>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <sys/eventfd.h>
#include <unistd.h>

GuiWakeup::GuiWakeup(std::function<void()> onWake)
{
    m_counter = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_counter < 0)
        throw EOutOfResources(QStringLiteral("eventfd: %1").arg(QString::fromLocal8Bit(std::strerror(errno))));
    m_notifier = new QSocketNotifier(m_counter, QSocketNotifier::Read);
    QObject::connect(m_notifier, &QSocketNotifier::activated, m_notifier, [this, onWake = std::move(onWake)] {
        std::uint64_t wakes = 0;
        [[maybe_unused]] const ssize_t n = ::read(m_counter, &wakes, sizeof wakes);
        onWake();
    });
}

GuiWakeup::~GuiWakeup()
{
    delete m_notifier;
    ::close(m_counter);
}

void GuiWakeup::wake()
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(m_counter, &one, sizeof one);
}
