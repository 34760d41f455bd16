#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM and SIGINT into a signal on the GUI thread, so that a program told to end
// (by a session closing, `kill`, or Ctrl+C in the terminal) closes its window the normal
// way: the port closed, a recording flushed and synced. Also ignores SIGPIPE, so that a
// reader closing a pipe the program writes to gives a write error instead of ending it.
// One instance per process.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

signals:
    void terminationRequested();

private:
    void readPendingSignal();

    QSocketNotifier *m_notifier = nullptr;
};
