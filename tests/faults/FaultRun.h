#pragma once

#include <QCoreApplication>
#include <chrono>
#include <functional>
#include <string>

// The rounds of one fault run and the figures it reports.
//
// A run does at least its minimum number of rounds; scripts/soak.sh sets
// ONDRIX_SOAK_SECONDS, and then it goes on until that much time has passed. Figures are
// printed as "FIGURE <run>.<name> <value>" lines, which the soak script gathers.
class FaultRun
{
public:
    FaultRun(std::string name, int minimumRounds);

    // True while another round is due; counts the round.
    bool nextRound();
    int rounds() const { return m_rounds; }

    // True under scripts/soak.sh.
    static bool soaking();

    void report(const std::string &figure, double value) const;

    // Runs the GUI thread's event loop until done() holds, for at most boundMs; unlike a
    // fixed polling interval it wakes on every event, so a round costs no idle time.
    static bool processEventsUntil(const std::function<bool()> &done, int boundMs = 20000);

private:
    std::string m_name;
    int m_minimum;
    int m_rounds = 0;
    std::chrono::steady_clock::time_point m_end;
};
