#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP into a signal on the GUI thread, so that a program told
// to end (by a session closing, `kill`, Ctrl+C in the terminal, or the terminal itself
// closing) closes its window the normal way: the port closed, a recording flushed and
// synced. Also ignores SIGPIPE, so that a reader closing a pipe the program writes to
// gives a write error instead of ending it. One instance per process; while it lives, a
// signal that comes after the event loop has ended is caught and ignored, so that it
// cannot cut the final flush short.
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
