#pragma once
// The command port: a TCP server on 127.0.0.1 only, for up to four clients
// at once, each its own command session (CommandSession.h): lines in, one
// reply line out per command, in order. A client that has hung up (closed
// its end, or shut it for writing) sends no more lines: it gives its place
// back at once, and the server looks for hang-ups before it refuses a
// connection, so that a program that connects for each command is never
// locked out by its own closed connections. The lines it sent still run
// and are answered, beside the four places, for four such clients at most.
//
// Never blocks: Receive and Send do what the sockets allow right now and
// return, so the program's event loop calls them from a timer and keeps
// drawing; the clients' lines run in between, served in turn with the
// script (CommandScheduler.h). A client harms no one else: a line longer
// than kMaxCommandLine bytes gets its error after the replies of the lines
// before it, then the connection is closed; a line left unfinished for
// kMaxUnfinishedSeconds closes the connection the same way, so that slow
// clients cannot keep the four places; a client that vanishes or sends junk
// costs only its own buffers, which are bounded; one that stops reading its
// replies is dropped once they pile up. A client silent between lines stays.
//
// Plain POSIX sockets: the loop is GLUT's, so an asynchronous library would
// only be polled from the same timer, for a few hundred lines of code.
#include "command/CommandScheduler.h"

#include <memory>
#include <string>
#include <vector>

constexpr int kMaxCommandClients = 4;
// Connections kept at most: the four places, and clients that hung up and
// are still being answered.
constexpr int kMaxCommandConnections = 2 * kMaxCommandClients;
constexpr double kMaxUnfinishedSeconds = 10.0;

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

    // Takes every connection waiting (with a place, or refused), reads what
    // the clients sent and closes the ones whose line has stayed unfinished
    // too long. `now` is in seconds on a monotonic clock, the same for every
    // call.
    void Receive(double now);
    // The clients that may run lines, for the scheduler.
    void AddSources(std::vector<CommandSource*>* sources);
    // Sends the replies and closes the clients that are done.
    void Send(double now);
    // Before the program ends: the replies of `asking`, the client whose
    // command ends it, go out whole (a slow reader is waited for up to a
    // second); the others' as far as their sockets take them now.
    void SendBeforeExit(const CommandSource* asking);

    // Every connection kept, those that hung up included.
    int ClientCount() const { return static_cast<int>(m_clients.size()); }
    // Counts what happened (a client came, bytes arrived): its changes tell
    // the caller when the port is in use.
    unsigned long Events() const { return m_iEvents; }

private:
    struct Client;
    void Accept(double now);
    // The clients that may still send lines: each holds a place.
    int Places() const;
    // Reads every client that may still send; closes those in error.
    void ReadAll(double now);
    // False when the client is to be closed now.
    bool Read(Client& client, double now);
    bool Flush(Client& client);
    // A client being closed: its last replies out, then its input drained
    // until it closes too. False when it is to be closed now.
    bool Linger(Client& client, double now);
    // Closes and forgets the clients for which `dead` is true.
    template <class Dead>
    void CloseIf(Dead dead);

    int m_iListen = -1;
    int m_iPort = 0;
    unsigned long m_iEvents = 0;
    std::vector<std::unique_ptr<Client>> m_clients;
};
