#pragma once

#include <QCoreApplication>
#include <chrono>
#include <functional>
#include <string>

// The rounds of one fault run and the figures it reports.
//
// A run does its minimum number of rounds, or fewer when its time limit comes first (a
// loaded machine or a sanitizer build must still end inside CTest's limit);
// scripts/soak.sh sets ONDRIX_SOAK_SECONDS, and then it goes on until that much time has
// passed. Figures are printed as "FIGURE <run>.<name> <value>" lines, which the soak
// script gathers.
class FaultRun
{
public:
    FaultRun(std::string name, int minimumRounds,
             std::chrono::steady_clock::duration timeLimit = std::chrono::steady_clock::duration::max());

    // The longest a single wait of a run may take: a wait that fails must end the test
    // with its own message before CTest's 60 s for the suite end the program.
    static constexpr int longestWaitMs = 40000;

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
    std::chrono::steady_clock::duration m_timeLimit;
    int m_rounds = 0;
    std::chrono::steady_clock::time_point m_start;
    std::chrono::steady_clock::time_point m_end;
};
