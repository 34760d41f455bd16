#include "tests/support/Ser2netProcess.h"

#include <QFile>
#include <QStandardPaths>
#include <QTest>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

QString program()
{
    return QStandardPaths::findExecutable(QStringLiteral("ser2net"),
                                          {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/local/sbin"),
                                           QStringLiteral("/usr/bin")});
}

} // namespace

bool Ser2netProcess::installed()
{
    return !program().isEmpty();
}

Ser2netProcess::Ser2netProcess(const QString &device, Protocol protocol, int maxConnections)
{
    m_port = freePort();
    const bool telnet = protocol == Protocol::Rfc2217;
    m_url = QStringLiteral("%1://127.0.0.1:%2").arg(telnet ? "rfc2217" : "socket").arg(m_port);
    const QString config = m_folder.filePath(QStringLiteral("ser2net.yaml"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)) {
        m_error = QStringLiteral("cannot write %1").arg(config);
        return;
    }
    // nodelay and chardelay off: each arrival goes on at once, rather than after a wait
    // of two characters' time (up to 20 ms) and behind Nagle's rule.
    file.write(QStringLiteral("%YAML 1.1\n---\n"
                              "connection: &board\n"
                              "  accepter: %1tcp(nodelay),127.0.0.1,%2\n"
                              "  connector: serialdev,%3,9600n81,local\n"
                              "  options:\n"
                              "    max-connections: %4\n"
                              "    chardelay: false\n")
                   .arg(telnet ? QStringLiteral("telnet(rfc2217),") : QString())
                   .arg(m_port)
                   .arg(device)
                   .arg(maxConnections)
                   .toUtf8());
    file.close();
    // -n: foreground, -u: no UUCP lock (the test's pseudo-terminal is nobody else's),
    // -P: the pid file in the test's own folder rather than /run.
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.start(program(), {QStringLiteral("-n"), QStringLiteral("-u"), QStringLiteral("-P"),
                                m_folder.filePath(QStringLiteral("ser2net.pid")), QStringLiteral("-c"), config});
    const bool ready = m_process.waitForStarted(generousMs)
                       && QTest::qWaitFor(
                           [this] { return listening() || m_process.state() == QProcess::NotRunning; }, generousMs)
                       && listening();
    if (!ready)
        m_error = QStringLiteral("ser2net does not listen on port %1").arg(m_port);
}

Ser2netProcess::~Ser2netProcess()
{
    kill();
}

void Ser2netProcess::kill()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(generousMs);
}

// A port the kernel had free a moment ago; ser2net binds it right after.
int Ser2netProcess::freePort()
{
    const int probe = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    const bool bound = bind(probe, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0
                       && getsockname(probe, reinterpret_cast<sockaddr *>(&address), &length) == 0;
    ::close(probe);
    return bound ? ntohs(address.sin_port) : 0;
}

// Whether the kernel lists our port as listening: asked without connecting, since a
// connection would take one of ser2net's clients.
bool Ser2netProcess::listening() const
{
    QFile table(QStringLiteral("/proc/net/tcp"));
    if (!table.open(QIODevice::ReadOnly))
        return false;
    const QByteArray local = QStringLiteral(":%1 ").arg(m_port, 4, 16, QLatin1Char('0')).toUpper().toLatin1();
    for (const QByteArray &line : table.readAll().split('\n')) {
        // local_address rem_address st: a listening socket is state 0A.
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() > 3 && fields[1].endsWith(local.trimmed()) && fields[3] == "0A")
            return true;
    }
    return false;
}
