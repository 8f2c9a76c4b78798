// The command port (see CommandServer.h).
#include "command/CommandServer.h"

#include <arpa/inet.h>
#include <chrono>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Bytes of an unfinished line, and complete lines, kept per client before
// they run: the rest waits in the kernel, which slows a client that sends
// faster than it is served.
constexpr std::size_t kMaxPendingInput = 64 * 1024;
constexpr std::size_t kMaxPendingLines = 4096;
// Replies kept for a client that does not read them; beyond, it is dropped.
constexpr std::size_t kMaxPendingOutput = 1024 * 1024;
// What is read and dropped from a client being closed, and for how long,
// before it is closed anyway: closing with unread input would reset the
// connection, and the client could lose its last reply.
constexpr std::size_t kMaxDroppedInput = 1024 * 1024;
constexpr std::chrono::seconds kMaxLinger(2);

const char* const kTooLong = "erreur : ligne de plus de 4096 octets, connexion fermée";
const char* const kTooMany = "erreur : déjà 4 clients connectés, connexion refusée\n";

// Sends everything, waiting up to a second for a slow reader: for the last
// reply before the program ends.
void SendBeforeExit(int fd, std::string& output)
{
    const int flags = fcntl(fd, F_GETFL);
    fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    const timeval second{1, 0};
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &second, sizeof second);
    while (!output.empty()) {
        const ssize_t sent = send(fd, output.data(), output.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0)
            break;
        output.erase(0, static_cast<std::size_t>(sent));
    }
    fcntl(fd, F_SETFL, flags);
}

}  // namespace

struct CCommandServer::Client {
    int fd = -1;
    std::string input;   // bytes after the last complete line
    std::string output;  // replies not yet sent
    CCommandSession session;
    unsigned long lines = 0;
    bool endOfInput = false;  // the client sends no more: close once served
    bool closing = false;     // close once the output is sent
    bool shutDown = false;    // the output is closed; what still comes is read and dropped
    std::chrono::steady_clock::time_point shutDownAt;
    std::size_t dropped = 0;
};

CCommandServer::CCommandServer() = default;

CCommandServer::~CCommandServer()
{
    for (const auto& client : m_clients)
        close(client->fd);
    if (m_iListen >= 0)
        close(m_iListen);
}

bool CCommandServer::Open(int port, std::string* error)
{
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        *error = std::string("socket impossible : ") + std::strerror(errno);
        return false;
    }
    const int yes = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);  // this machine only, never the network
    socklen_t length = sizeof address;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd, 8) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        *error = "impossible d'écouter sur 127.0.0.1:" + std::to_string(port) + " : " + std::strerror(errno);
        close(fd);
        return false;
    }
    m_iListen = fd;
    m_iPort = ntohs(address.sin_port);
    return true;
}

void CCommandServer::Accept()
{
    for (;;) {
        const int fd = accept4(m_iListen, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0)
            return;  // none waiting (or a client gone before we took it)
        if (static_cast<int>(m_clients.size()) >= kMaxCommandClients) {
            send(fd, kTooMany, std::strlen(kTooMany), MSG_NOSIGNAL);
            close(fd);
            continue;
        }
        ++m_iEvents;
        auto client = std::make_unique<Client>();
        client->fd = fd;
        m_clients.push_back(std::move(client));
    }
}

bool CCommandServer::Read(Client& client)
{
    char buffer[16 * 1024];
    while (client.input.size() < kMaxPendingInput && client.session.QueuedLines() < kMaxPendingLines) {
        const ssize_t received = recv(client.fd, buffer, sizeof buffer, 0);
        if (received == 0) {
            // A line cut short by the client's end is dropped; the complete
            // ones still run and get their replies.
            client.endOfInput = true;
            client.input.clear();
            return true;
        }
        if (received < 0)
            return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
        ++m_iEvents;
        client.input.append(buffer, static_cast<std::size_t>(received));
        std::size_t start = 0;
        for (std::size_t end; (end = client.input.find('\n', start)) != std::string::npos; start = end + 1) {
            std::size_t length = end - start;
            if (length > 0 && client.input[end - 1] == '\r')
                --length;
            if (length > kMaxCommandLine)
                break;
            client.session.AddLine(client.input.substr(start, length), ++client.lines);
        }
        client.input.erase(0, start);
        // What is left holds no complete line short enough: past the limit,
        // the line is refused and the connection closed.
        const std::size_t pending = client.input.find('\n');
        if ((pending == std::string::npos ? client.input.size() : pending) > kMaxCommandLine) {
            client.output += std::string(kTooLong) + "\n";
            client.input.clear();
            client.closing = true;
            return true;
        }
    }
    return true;
}

bool CCommandServer::Flush(Client& client)
{
    while (!client.output.empty()) {
        const ssize_t sent = send(client.fd, client.output.data(), client.output.size(), MSG_NOSIGNAL);
        if (sent < 0)
            return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
        client.output.erase(0, static_cast<std::size_t>(sent));
    }
    return true;
}

bool CCommandServer::Linger(Client& client)
{
    if (!Flush(client))
        return false;
    if (!client.output.empty())
        return true;
    if (!client.shutDown) {
        shutdown(client.fd, SHUT_WR);
        client.shutDown = true;
        client.shutDownAt = std::chrono::steady_clock::now();
    }
    if (std::chrono::steady_clock::now() - client.shutDownAt > kMaxLinger)
        return false;
    char buffer[16 * 1024];
    for (;;) {
        const ssize_t received = recv(client.fd, buffer, sizeof buffer, 0);
        if (received <= 0)
            return received < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR);
        client.dropped += static_cast<std::size_t>(received);
        if (client.dropped > kMaxDroppedInput)
            return false;
    }
}

bool CCommandServer::Poll(CommandRunner& runner)
{
    if (m_iListen < 0)
        return false;
    Accept();
    for (std::size_t i = 0; i < m_clients.size();) {
        Client& client = *m_clients[i];
        bool alive;
        if (client.closing) {
            alive = Linger(client);
        } else {
            alive = client.endOfInput || Read(client);
            if (alive && !client.closing && client.session.Run(runner, [&](unsigned long, const std::string& reply) {
                    client.output += reply;
                    client.output += '\n';
                })) {
                SendBeforeExit(client.fd, client.output);
                return true;
            }
            alive = alive && Flush(client) && client.output.size() <= kMaxPendingOutput;
            if (alive && client.endOfInput && client.session.Finished() && client.output.empty())
                client.closing = true;  // served: closed the same careful way
        }
        if (!alive) {
            close(client.fd);
            m_clients.erase(m_clients.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        ++i;
    }
    return false;
}
