// Ports on the network: the Telnet codec by itself, the address forms, and whole runs
// through a real ser2net in front of a pseudo-terminal.

#include "ComPortFixture.h"
#include "ComboPick.h"
#include "serial/ComComboBox.h"
#include "serial/ComSetupFrm.h"
#include "serial/ComThread.h"
#include "serial/PortAddress.h"
#include "serial/RemoteLineSettings.h"
#include "serial/TelnetCodec.h"
#include "tests/support/ModalWatcher.h"
#include "tests/support/Ser2netProcess.h"

#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QWidget>

#include <netinet/in.h>
#include <sys/socket.h>
#include <termios.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

using Protocol = Ser2netProcess::Protocol;

std::string bytes(std::initializer_list<int> values)
{
    std::string out;
    for (int value : values)
        out += char(value);
    return out;
}

TEST(TelnetCodec, SplitsDataRepliesAndAnswersWhereverTheArrivalsAreCut)
{
    const struct
    {
        const char *what;
        std::string in;
        std::string data;
        std::string replies;
        std::optional<std::uint32_t> rate;
    } rows[] = {
        {"plain data", "512b1023a", "512b1023a", "", {}},
        {"255 undoubled", "1" + bytes({255, 255}) + "2b", "1" + bytes({255}) + "2b", "", {}},
        {"wanted options already asked for", bytes({255, 251, 0, 255, 253, 3, 255, 253, 44}), "", "", {}},
        {"other options refused", bytes({255, 251, 1, 255, 253, 24}), "", bytes({255, 254, 1, 255, 252, 24}), {}},
        {"rate answer with 255 in it", bytes({255, 250, 44, 101, 0, 0, 255, 255, 1, 255, 240}) + "7c", "7c", "", 0xFF01},
        {"notifications carry no data",
         "4" + bytes({255, 250, 44, 106, 8, 255, 240, 255, 250, 44, 107, 0x30, 255, 240}) + "d", "4d", "", {}},
        {"commands without meaning dropped", bytes({255, 241, 255, 249}) + "5e", "5e", "", {}},
    };
    for (const auto &row : rows) {
        for (const std::size_t step : {row.in.size(), std::size_t(1)}) {
            TelnetCodec codec;
            codec.start();
            std::string data, replies;
            for (std::size_t at = 0; at < row.in.size(); at += step) {
                codec.receive(std::string_view(row.in).substr(at, step));
                data += codec.takeData();
                replies += codec.takeReplies();
            }
            EXPECT_EQ(data, row.data) << row.what << ", step " << step;
            EXPECT_EQ(replies, row.replies) << row.what << ", step " << step;
            EXPECT_EQ(codec.answer(TelnetCodec::SetBaudRate), row.rate) << row.what;
        }
    }

    TelnetCodec codec;
    codec.receive(bytes({255, 250, 44, 106, 0x0A, 255, 240, 255, 250, 44, 107, 0xB0, 255, 240}));
    EXPECT_EQ(codec.takeLineState(), 0x0A) << "overrun and framing";
    EXPECT_EQ(codec.takeLineState(), 0) << "taken once";
    EXPECT_EQ(codec.modemState(), 0xB0) << "CTS, DSR and carrier";
    EXPECT_EQ(TelnetCodec::command(TelnetCodec::SetBaudRate, 0xFF00, 4), bytes({255, 250, 44, 1, 0, 0, 255, 255, 0, 255, 240}));
}

// The server numbers parity from none = 1 and stop bits as 1, 2 and 1.5 = 3; a
// pseudo-terminal behind ser2net cannot show mark, space or one and a half.
TEST(RemoteLineSettings, AskTheServerInTheProtocolsOwnNumbering)
{
    const struct
    {
        std::uint32_t rate;
        std::uint8_t size, parity, stopBits;
        std::uint32_t flags;
        std::array<std::uint32_t, 5> sent;
    } rows[] = {
        {9600, 8, 0, 0, TDCB::fBinary, {9600, 8, 1, 1, 1}},
        {2400, 7, 1, 1, TDCB::fOutX | TDCB::fInX, {2400, 7, 2, 3, 2}},
        {115200, 5, 4, 2, TDCB::fOutxCtsFlow, {115200, 5, 5, 2, 3}},
        {300, 6, 3, 0, 2u << TDCB::rtsControlShift, {300, 6, 4, 1, 3}},
    };
    for (const auto &row : rows) {
        TDCB dcb;
        dcb.BaudRate = row.rate;
        dcb.ByteSize = row.size;
        dcb.Parity = row.parity;
        dcb.StopBits = row.stopBits;
        dcb.Flags = row.flags;
        const auto settings = remoteLineSettings(dcb);
        for (std::size_t i = 0; i < settings.size(); ++i)
            EXPECT_EQ(settings[i].value, row.sent[i]) << row.rate << " baud, command " << int(settings[i].command);
    }
}

TEST(PortAddress, TakesThePyserialFormsOnly)
{
    const struct
    {
        const char *name;
        bool valid;
        PortAddress::Protocol protocol;
        const char *host;
    } rows[] = {
        {"rfc2217://localhost:2000", true, PortAddress::Protocol::Rfc2217, "localhost"},
        {"socket://192.168.1.20:4001", true, PortAddress::Protocol::RawTcp, "192.168.1.20"},
        {"rfc2217://[::1]:2000", true, PortAddress::Protocol::Rfc2217, "::1"},
        {"rfc2217://pi.lab-2.example:65535", true, PortAddress::Protocol::Rfc2217, "pi.lab-2.example"},
        {"telnet://localhost:2000", false, {}, ""},
        {"rfc2217://localhost", false, {}, ""},
        {"socket://localhost:0", false, {}, ""},
        {"socket://::1:2000", false, {}, ""},
        {"rfc2217://host:2000/extra", false, {}, ""},
    };
    for (const auto &row : rows) {
        const std::optional<PortAddress> address = PortAddress::parse(QString::fromLatin1(row.name));
        ASSERT_EQ(address.has_value(), row.valid) << row.name;
        if (address) {
            EXPECT_EQ(address->protocol, row.protocol) << row.name;
            EXPECT_EQ(address->host, row.host) << row.name;
        }
    }
    EXPECT_FALSE(PortAddress::looksLikeAddress(QStringLiteral("/dev/ttyUSB0")));
}

// A board on a pseudo-terminal of its own, served by a ser2net of its own.
struct ServedBoard
{
    explicit ServedBoard(Protocol protocol) : server(board.slavePath(), protocol) {}

    PtyPair board;
    Ser2netProcess server;
};

// Ports set up as the main window's, on served boards, collecting every byte delivered.
struct NetworkPort : ::testing::Test
{
    void SetUp() override
    {
        if (!Ser2netProcess::installed())
            GTEST_SKIP() << "ser2net is not installed (scripts/install-deps.sh)";
    }

    // The port on line's server, its collection starting empty.
    void collect(TComPort &port, const ServedBoard &line)
    {
        ASSERT_EQ(line.server.error(), QString());
        received.clear();
        port.setPort(line.server.url());
        configureAsComPort1(port);
        port.OnRxChar = [this](TCustomComPort &sender, int count) {
            std::string text;
            sender.ReadText(text, count);
            EXPECT_EQ(int(text.size()), count) << "a delivery counted what it could not read";
            received += text;
        };
    }

    bool receivedAll(const std::string &sent)
    {
        return waitFor([&] { return received.size() >= sent.size(); }) && received == sent;
    }

    std::string received;
};

TEST_F(NetworkPort, ReadingsArriveExactlyAndInOrderOverBothProtocols)
{
    // Split, merged and malformed readings, and bytes 255 that Telnet doubles.
    const std::string chunks[] = {"512b", "10", "23c", "7d8e", "x1f", "\xff", "300b", "\xff\xff\xff", "1a", "99 c"};
    for (const Protocol protocol : {Protocol::Rfc2217, Protocol::RawTcp}) {
        ServedBoard line(protocol);
        TComPort port;
        collect(port, line);
        ASSERT_NO_THROW(port.OpenPort()) << port.Port().toStdString();
        std::string sent;
        for (const std::string &chunk : chunks) {
            line.board.write(chunk);
            sent += chunk;
        }
        EXPECT_TRUE(receivedAll(sent)) << port.Port().toStdString() << " gave " << received;
        port.ClosePort();
    }
}

struct termios lineOf(const QString &device)
{
    struct termios line{};
    const int fd = ::open(device.toLocal8Bit().constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    EXPECT_GE(fd, 0) << device.toStdString();
    EXPECT_EQ(tcgetattr(fd, &line), 0);
    ::close(fd);
    return line;
}

TEST_F(NetworkPort, SetupDialogChangesWhileRunningReachTheServersLine)
{
    ServedBoard served(Protocol::Rfc2217);
    PtyPair &board = served.board;
    TComPort port;
    collect(port, served);
    port.OpenPort();
    const struct termios opened = lineOf(board.slavePath());
    EXPECT_EQ(cfgetospeed(&opened), speed_t(B9600));
    const struct
    {
        const char *rate;
        const char *parity;
        const char *flow;
        speed_t speed;
        std::optional<bool> odd; // a pseudo-terminal's driver clears PARENB; PARODD stays
        bool rtsCts;
        bool xonXoff;
    } rows[] = {
        {"57600", "Even", "None", B57600, false, false, false},
        {"19200", "Odd", "Software", B19200, true, false, true},
        {"115200", "None", "Hardware", B115200, {}, true, false},
    };
    std::string sent;
    for (const auto &row : rows) {
        QString listedPort;
        ModalWatcher watcher([&](QDialog *dialog) {
            auto *setup = qobject_cast<TComSetupFrm *>(dialog);
            ASSERT_TRUE(setup);
            listedPort = setup->Combo1->Text();
            pick(setup->Combo2, QString::fromLatin1(row.rate));
            pick(setup->Combo5, QString::fromLatin1(row.parity));
            pick(setup->Combo6, QString::fromLatin1(row.flow));
            QTest::mouseClick(setup->Button1, Qt::LeftButton);
        });
        ASSERT_NO_THROW(port.ShowPortSetup()) << row.rate;
        EXPECT_EQ(listedPort, port.Port()) << "the network port is the list's item while it is the port";
        const struct termios line = lineOf(board.slavePath());
        EXPECT_EQ(cfgetospeed(&line), row.speed) << row.rate;
        if (row.odd) {
            EXPECT_EQ(bool(line.c_cflag & PARODD), *row.odd) << row.parity;
        }
        EXPECT_EQ(bool(line.c_cflag & CRTSCTS), row.rtsCts) << row.flow;
        EXPECT_EQ(bool(line.c_iflag & IXON), row.xonXoff) << row.flow;
        // The server's answers came on the same connection: none of them is data.
        board.write(row.rate + std::string("a"));
        sent += row.rate + std::string("a");
        EXPECT_TRUE(receivedAll(sent)) << received;
    }
    EXPECT_TRUE(port.Connected());
}

TEST_F(NetworkPort, ReadsHonourCountAndTimeoutsAsOnALocalPort)
{
    ServedBoard line(Protocol::Rfc2217);
    TComPort port;
    collect(port, line);
    port.setEvents({});
    port.OpenPort();
    expectReadsHonourCountAndTimeouts(port, [&](std::string_view bytes) { line.board.write(bytes); });
}

TEST_F(NetworkPort, AServerThatGoesAwayIsAVanishedDeviceAndKeepsWhatCame)
{
    for (const Protocol protocol : {Protocol::Rfc2217, Protocol::RawTcp}) {
        ServedBoard line(protocol);
        TComPort port;
        collect(port, line);
        QSignalSpy vanished(&port, &TCustomComPort::deviceVanished);
        port.OpenPort();
        line.board.write("123a456b");
        ASSERT_TRUE(receivedAll("123a456b"));
        line.server.kill();
        ASSERT_TRUE(waitFor([&] { return port.EventThread()->Ended(); })) << port.Port().toStdString();
        ASSERT_TRUE(waitFor([&] { return vanished.count() > 0; })) << port.Port().toStdString();
        EXPECT_EQ(vanished.count(), 1);
        EXPECT_EQ(received, "123a456b");
        port.ClosePort();
        EXPECT_FALSE(port.Connected());
    }
}

TEST_F(NetworkPort, ASecondClientOfAOneClientPortIsRefusedAsInUse)
{
    for (const Protocol protocol : {Protocol::Rfc2217, Protocol::RawTcp}) {
        ServedBoard line(protocol);
        TComPort first;
        TComPort second;
        collect(first, line);
        second.setPort(first.Port());
        first.OpenPort();
        expectComPortError([&] { second.OpenPort(); }, EComPort::OpenFailed, EBUSY);
        EXPECT_FALSE(second.Connected());
        line.board.write("5c");
        EXPECT_TRUE(receivedAll("5c")) << "the first client keeps the port";
    }
}

// Counts its repaints; a timer asks for one every few milliseconds.
class PaintCounter : public QWidget
{
public:
    PaintCounter()
    {
        connect(&m_timer, &QTimer::timeout, this, qOverload<>(&QWidget::update));
        m_timer.start(20);
        resize(50, 50);
        show();
    }
    int paints = 0;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter(this).fillRect(rect(), paints % 2 ? Qt::black : Qt::white);
        ++paints;
    }

private:
    QTimer m_timer;
};

// A listener whose queue of connections is full: the kernel drops further SYNs, so a
// connect to it is never answered.
class SilentListener
{
public:
    SilentListener()
    {
        m_listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        EXPECT_EQ(bind(m_listener, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
        EXPECT_EQ(listen(m_listener, 0), 0);
        getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length);
        m_port = ntohs(address.sin_port);
        for (int &client : m_fillers) {
            client = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
            ::connect(client, reinterpret_cast<sockaddr *>(&address), sizeof address);
        }
    }
    ~SilentListener()
    {
        for (int client : m_fillers)
            ::close(client);
        ::close(m_listener);
    }
    int port() const { return m_port; }

private:
    int m_listener = -1;
    int m_fillers[3] = {-1, -1, -1};
    int m_port = 0;
};

int unusedPort()
{
    const int probe = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(probe, reinterpret_cast<sockaddr *>(&address), sizeof address);
    getsockname(probe, reinterpret_cast<sockaddr *>(&address), &length);
    ::close(probe);
    return ntohs(address.sin_port);
}

TEST(NetworkConnect, ARefusedOrUnansweredConnectFailsAsAnOpenWhileTheWindowRepaints)
{
    SilentListener silent;
    const struct
    {
        QString url;
        int systemCode;
    } rows[] = {
        {QStringLiteral("rfc2217://127.0.0.1:%1").arg(unusedPort()), ECONNREFUSED},
        {QStringLiteral("socket://127.0.0.1:%1").arg(silent.port()), ETIMEDOUT},
    };
    for (const auto &row : rows) {
        PaintCounter window;
        TComPort port;
        port.setPort(row.url);
        const int paintsBefore = window.paints;
        expectComPortError([&] { port.OpenPort(); }, EComPort::OpenFailed, row.systemCode);
        EXPECT_FALSE(port.Connected());
        if (row.systemCode == ETIMEDOUT) {
            EXPECT_GT(window.paints, paintsBefore + 10) << "the window froze during the connect";
        }
    }
}

} // namespace
