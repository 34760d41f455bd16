#pragma once

#include <chrono>
#include <string>
#include <string_view>

// One TCP connection to a port server, as a non-blocking socket. Keep-alive probes make
// a peer that went silent (a cable pulled, the machine gone) an error on the socket
// within silentLimit, so that a wait on it ends as for a peer that hung up.
class TcpConnection
{
public:
    static constexpr std::chrono::seconds connectLimit{5};
    static constexpr std::chrono::seconds silentLimit{15};

    TcpConnection() = default;
    ~TcpConnection();
    TcpConnection(const TcpConnection &) = delete;
    TcpConnection &operator=(const TcpConnection &) = delete;

    // Resolves host and tries its addresses in turn, each within what is left of
    // connectLimit. Blocks the calling thread; returns 0 or the errno of the last try
    // (ETIMEDOUT when the limit passed, EHOSTUNREACH when the name did not resolve).
    int connect(const std::string &host, const std::string &service);
    // What went wrong with the last connect that returned error, in words.
    std::string problem(int error) const;
    // Never waits for unsent data: the kernel finishes or drops it on its own.
    void close();

    int handle() const { return m_fd; }
    // Ends both directions but keeps the descriptor: waits on it see a hang-up.
    void shutdown();

    // What arrived, without waiting: the byte count, 0 at the end of the stream, or -1
    // with errno (EAGAIN: nothing yet).
    long receive(char *buffer, std::size_t size);
    // Sends all of bytes, waiting at most limit for room; the errno, or 0.
    int send(std::string_view bytes, std::chrono::milliseconds limit);

private:
    int connectTo(const struct addrinfo &address, std::chrono::steady_clock::time_point deadline);
    void keepAlive();

    int m_fd = -1;
    std::string m_resolveProblem; // why the last name did not resolve
};
