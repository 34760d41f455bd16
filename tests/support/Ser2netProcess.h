#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A real ser2net serving one device on a free port of 127.0.0.1, started by a test or a
// benchmark as a foreground process with a configuration of its own (no UUCP lock, no
// pid file in /run; each arrival passed on at once), killed at the end if it still runs. Tests skip where ser2net is not
// installed.
class Ser2netProcess
{
public:
    enum class Protocol { Rfc2217, RawTcp };

    static constexpr int generousMs = 20000;

    static bool installed();

    // Waits until ser2net listens, at most generousMs.
    Ser2netProcess(const QString &device, Protocol protocol, int maxConnections = 1);
    ~Ser2netProcess();
    Ser2netProcess(const Ser2netProcess &) = delete;
    Ser2netProcess &operator=(const Ser2netProcess &) = delete;

    // The port name for Ondrix: rfc2217://127.0.0.1:PORT or socket://127.0.0.1:PORT.
    QString url() const { return m_url; }
    int port() const { return m_port; }
    // Why ser2net does not serve; empty when it listens.
    QString error() const { return m_error; }

    // Ends ser2net at once, as a crash or a pulled plug would; waits until it is gone.
    void kill();

private:
    static int freePort();
    bool listening() const;

    QTemporaryDir m_folder;
    QProcess m_process;
    int m_port = 0;
    QString m_url;
    QString m_error;
};
