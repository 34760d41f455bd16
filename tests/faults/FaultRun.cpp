#include "tests/faults/FaultRun.h"

#include <QDeadlineTimer>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

int soakSeconds()
{
    const char *text = std::getenv("ONDRIX_SOAK_SECONDS");
    return text ? std::atoi(text) : 0;
}

} // namespace

FaultRun::FaultRun(std::string name, int minimumRounds, std::chrono::steady_clock::duration timeLimit)
    : m_name(std::move(name)), m_minimum(minimumRounds), m_timeLimit(timeLimit),
      m_start(std::chrono::steady_clock::now()), m_end(m_start + std::chrono::seconds(soakSeconds()))
{
}

bool FaultRun::soaking()
{
    return soakSeconds() > 0;
}

bool FaultRun::nextRound()
{
    const auto now = std::chrono::steady_clock::now();
    const bool enough = m_rounds >= m_minimum || (m_rounds > 0 && now - m_start >= m_timeLimit);
    if (enough && now >= m_end)
        return false;
    ++m_rounds;
    return true;
}

void FaultRun::report(const std::string &figure, double value) const
{
    std::printf("FIGURE %s.%s %.6g\n", m_name.c_str(), figure.c_str(), value);
    std::fflush(stdout);
    ::testing::Test::RecordProperty(figure, std::to_string(value));
}

bool FaultRun::processEventsUntil(const std::function<bool()> &done, int boundMs)
{
    const QDeadlineTimer deadline(boundMs);
    // Wakes the loop at the bound even when nothing else happens.
    QTimer bound;
    bound.setSingleShot(true);
    bound.start(boundMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}
