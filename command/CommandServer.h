#pragma once
// The command port: a TCP server on 127.0.0.1 only, for up to four clients
// at once, each its own command session (CommandSession.h): lines in, one
// reply line out per command, in order.
//
// Never blocks: Poll does what the sockets allow right now and returns, so
// the program's event loop calls it from a timer and keeps drawing. A client
// harms no one else: a line longer than kMaxCommandLine bytes gets an error
// reply and its connection is closed; a client that vanishes, sends junk or
// never ends its line costs only its own buffers, which are bounded; one
// that stops reading its replies is dropped once they pile up.
//
// Plain POSIX sockets: the loop is GLUT's, so an asynchronous library would
// only be polled from the same timer, for a few hundred lines of code.
#include "command/CommandSession.h"

#include <memory>
#include <string>
#include <vector>

constexpr std::size_t kMaxCommandLine = 4096;
constexpr int kMaxCommandClients = 4;

class CCommandServer {
public:
    CCommandServer();
    ~CCommandServer();
    CCommandServer(const CCommandServer&) = delete;
    CCommandServer& operator=(const CCommandServer&) = delete;

    // Listens on 127.0.0.1:port; 0 takes a free port. False with the reason
    // in French.
    bool Open(int port, std::string* error);
    bool IsOpen() const { return m_iListen >= 0; }
    // The port listened on.
    int Port() const { return m_iPort; }

    // Accepts new clients, reads what they sent, runs their complete lines
    // and sends the replies. True when a command asked the program to end:
    // its reply has been sent.
    bool Poll(CommandRunner& runner);

    int ClientCount() const { return static_cast<int>(m_clients.size()); }
    // Counts what happened (a client came, bytes arrived): its changes tell
    // the caller when the port is in use.
    unsigned long Events() const { return m_iEvents; }

private:
    struct Client;
    void Accept();
    // False when the client is to be closed.
    bool Read(Client& client);
    bool Flush(Client& client);
    // A client being closed: its last replies out, then its input drained
    // until it closes too. False when it is to be closed now.
    bool Linger(Client& client);

    int m_iListen = -1;
    int m_iPort = 0;
    unsigned long m_iEvents = 0;
    std::vector<std::unique_ptr<Client>> m_clients;
};
