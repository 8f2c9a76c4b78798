// The command port (see CommandServer.h).
#include "command/CommandServer.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Bytes kept per client before its lines run: the rest waits in the
// kernel, which slows a client that sends faster than it is served.
constexpr std::size_t kMaxPendingInput = 64 * 1024;
// Replies kept for a client that does not read them; beyond, it is dropped.
constexpr std::size_t kMaxPendingOutput = 1024 * 1024;
// What is read and dropped from a client being closed, and for how long,
// before it is closed anyway: closing with unread input would reset the
// connection, and the client could lose its last reply.
constexpr std::size_t kMaxDroppedInput = 1024 * 1024;
constexpr double kMaxLingerSeconds = 2.0;

const char* const kTooLong = "erreur : ligne de plus de 4096 octets, connexion fermée\n";
const char* const kUnfinished = "erreur : ligne inachevée depuis 10 s, connexion fermée\n";
const char* const kTooMany = "erreur : déjà 4 clients connectés, connexion refusée\n";
const char* const kTooManyConnections = "erreur : déjà 8 connexions en cours, connexion refusée\n";

// Sends everything, waiting up to a second for a slow reader: for the last
// reply before the program ends.
void SendWaiting(int fd, std::string& output)
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

struct CCommandServer::Client : CommandSource {
    int fd = -1;
    std::string output;  // replies not yet sent
    CCommandSession session;
    bool drained = false;     // no complete line was left at the last turn
    bool endOfInput = false;  // the client sends no more: close once served
    bool closing = false;     // close once the output is sent
    bool shutDown = false;    // the output is closed; what still comes is read and dropped
    double unfinishedSince = -1.0;
    double closingSince = -1.0;
    std::size_t dropped = 0;

    Step RunOne(CommandRunner& runner) override
    {
        if (closing)
            return Step::Idle;
        switch (session.RunOne(runner, [this](unsigned long, const std::string& reply) {
            output += reply;
            output += '\n';
        })) {
        case CCommandSession::Step::Ran:
            return Step::Ran;
        case CCommandSession::Step::Waiting:
            return Step::Idle;
        case CCommandSession::Step::NoLine:
            drained = true;
            return Step::Idle;
        case CCommandSession::Step::TooLong:
            output += kTooLong;
            closing = true;
            return Step::Ran;
        case CCommandSession::Step::Exit:
            return Step::Exit;
        }
        return Step::Idle;
    }
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
    // The largest queue the system allows: connections are taken only at the
    // timer's ticks, and a burst that overflowed a short queue would wait
    // for TCP to retry, a second and more later.
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd, SOMAXCONN) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        *error = "impossible d'écouter sur 127.0.0.1:" + std::to_string(port) + " : " + std::strerror(errno);
        close(fd);
        return false;
    }
    m_iListen = fd;
    m_iPort = ntohs(address.sin_port);
    return true;
}

int CCommandServer::Places() const
{
    return static_cast<int>(std::count_if(m_clients.begin(), m_clients.end(), [](const std::unique_ptr<Client>& c) {
        return !c->endOfInput && !c->closing;
    }));
}

void CCommandServer::Accept(double now)
{
    bool looked = false;
    for (;;) {
        const int fd = accept4(m_iListen, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0)
            return;  // none waiting (or a client gone before we took it)
        // A client that hung up since the last read would otherwise hold its
        // place until the next tick: four that send a line and close would
        // lock out a fifth that connects at once.
        if (Places() >= kMaxCommandClients && !looked) {
            ReadAll(now);
            looked = true;
        }
        const char* refusal = Places() >= kMaxCommandClients            ? kTooMany
                              : ClientCount() >= kMaxCommandConnections ? kTooManyConnections
                                                                        : nullptr;
        if (refusal) {
            send(fd, refusal, std::strlen(refusal), MSG_NOSIGNAL);
            close(fd);
            continue;
        }
        ++m_iEvents;
        auto client = std::make_unique<Client>();
        client->fd = fd;
        m_clients.push_back(std::move(client));
        looked = false;  // the new client may hang up before the next one comes
    }
}

bool CCommandServer::Read(Client& client, double now)
{
    char buffer[16 * 1024];
    for (;;) {
        if (client.session.Buffered() >= kMaxPendingInput)
            return true;  // more may wait in the kernel: the client is not the slow one
        const ssize_t received = recv(client.fd, buffer, sizeof buffer, 0);
        if (received > 0) {
            ++m_iEvents;
            client.session.Feed(buffer, static_cast<std::size_t>(received));
            client.drained = false;
            continue;
        }
        if (received == 0) {
            // A line cut short by the client's end is dropped; the complete
            // ones still run and get their replies.
            client.endOfInput = true;
            return true;
        }
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            return false;
        break;
    }
    // Everything sent has been read: an unfinished line is the client's own.
    if (!client.session.Unfinished())
        client.unfinishedSince = -1.0;
    else if (client.unfinishedSince < 0.0)
        client.unfinishedSince = now;
    else if (now - client.unfinishedSince >= kMaxUnfinishedSeconds) {
        client.output += kUnfinished;
        client.closing = true;
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

bool CCommandServer::Linger(Client& client, double now)
{
    if (client.closingSince < 0.0)
        client.closingSince = now;
    if (now - client.closingSince > kMaxLingerSeconds || !Flush(client))
        return false;
    if (!client.output.empty())
        return true;
    if (!client.shutDown) {
        shutdown(client.fd, SHUT_WR);
        client.shutDown = true;
    }
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

template <class Dead>
void CCommandServer::CloseIf(Dead dead)
{
    const auto end = std::remove_if(m_clients.begin(), m_clients.end(), [&](const std::unique_ptr<Client>& client) {
        if (!dead(*client))
            return false;
        close(client->fd);
        return true;
    });
    m_clients.erase(end, m_clients.end());
}

void CCommandServer::ReadAll(double now)
{
    CloseIf([&](Client& client) { return !client.closing && !client.endOfInput && !Read(client, now); });
}

void CCommandServer::Receive(double now)
{
    if (m_iListen < 0)
        return;
    Accept(now);
    ReadAll(now);
}

void CCommandServer::AddSources(std::vector<CommandSource*>* sources)
{
    for (const auto& client : m_clients)
        if (!client->closing)
            sources->push_back(client.get());
}

void CCommandServer::Send(double now)
{
    CloseIf([&](Client& client) {
        if (client.closing)
            return !Linger(client, now);
        if (!Flush(client) || client.output.size() > kMaxPendingOutput)
            return true;
        // Served: closed the same careful way.
        client.closing = client.endOfInput && client.drained;
        return false;
    });
}

void CCommandServer::SendBeforeExit(const CommandSource* asking)
{
    for (const auto& client : m_clients) {
        if (client.get() == asking)
            SendWaiting(client->fd, client->output);
        else
            Flush(*client);
    }
}
