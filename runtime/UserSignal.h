#pragma once

#include <QObject>

class QSocketNotifier;

// SIGUSR1 as a signal on the GUI thread (the recorder's "status now"). The signal is
// blocked for the whole process and read from a signalfd, so it must be made before any
// other thread starts: threads made later inherit the block. One instance per process.
class UserSignal : public QObject
{
    Q_OBJECT

public:
    explicit UserSignal(QObject *parent = nullptr);
    ~UserSignal() override;

signals:
    void raised();

private:
    void readPending();

    int m_descriptor = -1;
    QSocketNotifier *m_notifier = nullptr;
};
