// The command port over real loopback sockets, with a fake runner: replies
// in order, lines cut anywhere, the line limit, four clients at most, clients
// that vanish or send junk harming no one, exit, and 127.0.0.1 only.
#include "command/CommandServer.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

struct FakeRunner : CommandRunner {
    bool moving = false;
    CommandOutcome Run(const Command& c) override
    {
        if (c.verb == CommandVerb::Exit)
            return {CommandOutcome::Exit, "ok"};
        if (c.verb == CommandVerb::MoveTo) {
            moving = true;
            return {CommandOutcome::AwaitMotion, "ok"};
        }
        return {CommandOutcome::Done, std::string("ok ") + CommandVerbName(c.verb)};
    }
    bool MotionRunning() override { return moving; }
};

// A client end: a plain blocking socket whose reads time out quickly, so a
// test polls the server between reads.
class Client {
public:
    explicit Client(int port)
    {
        m_fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connected = connect(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        const timeval wait{0, 20000};
        setsockopt(m_fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    }
    ~Client() { Close(); }
    void Close()
    {
        if (m_fd >= 0)
            close(m_fd);
        m_fd = -1;
    }
    void Send(const std::string& bytes)
    {
        ASSERT_EQ(send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL), ssize_t(bytes.size()));
    }
    // Reads what has come; false once the server has closed the connection.
    bool Receive()
    {
        char buffer[65536];
        const ssize_t n = recv(m_fd, buffer, sizeof buffer, 0);
        if (n == 0)
            return false;
        if (n > 0)
            received.append(buffer, static_cast<std::size_t>(n));
        return true;
    }
    bool connected = false;
    std::string received;

private:
    int m_fd = -1;
};

class CommandServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(server.Open(0, &error)) << error;
        ASSERT_GT(server.Port(), 0);
    }
    // Polls the server and reads the clients until the condition holds, or
    // two seconds pass.
    template <class Condition>
    bool Until(Condition condition, std::initializer_list<Client*> clients)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (std::chrono::steady_clock::now() < end) {
            exitAsked = server.Poll(runner) || exitAsked;
            for (Client* c : clients)
                open[c] = c->Receive() && open[c];
            if (condition())
                return true;
        }
        return false;
    }
    std::unique_ptr<Client> Connect()
    {
        auto client = std::make_unique<Client>(server.Port());
        open[client.get()] = true;
        return client;
    }

    CCommandServer server;
    FakeRunner runner;
    bool exitAsked = false;
    std::map<Client*, bool> open;
};

TEST_F(CommandServerTest, RepliesInOrderLinesCutAnywhere)
{
    auto a = Connect();
    a->Send("go\nget po");
    a->Send("se\r\n\nstop\n");
    EXPECT_TRUE(Until([&] { return a->received.size() >= 21; }, {a.get()}));
    EXPECT_EQ(a->received, "ok go\nok get\nok stop\n");
    a->Send("pose 1 2\n");
    EXPECT_TRUE(Until([&] { return a->received.find("reçus\n") != std::string::npos; }, {a.get()}));
    EXPECT_EQ(a->received.substr(21), "erreur pose : 6 nombres attendus, 2 reçus\n");
}

// Past 4096 bytes without an end of line: an error reply, then the
// connection closes; another client is served all along. Exactly 4096 bytes
// is a line like any other.
TEST_F(CommandServerTest, TheLineLimitClosesOnlyItsOwnConnection)
{
    auto longest = Connect();
    auto tooLong = Connect();
    auto other = Connect();
    longest->Send(std::string(4096, 'x') + "\n");
    tooLong->Send(std::string(100 * 1024, 'y'));
    other->Send("go\n");
    EXPECT_TRUE(Until([&] { return !open[tooLong.get()] && !other->received.empty() && !longest->received.empty(); },
                      {longest.get(), tooLong.get(), other.get()}));
    EXPECT_EQ(tooLong->received, "erreur : ligne de plus de 4096 octets, connexion fermée\n");
    EXPECT_EQ(other->received, "ok go\n");
    EXPECT_EQ(longest->received, "erreur " + std::string(32, 'x') + " : commande inconnue\n");
    longest->Send("stop\n");
    EXPECT_TRUE(Until([&] { return longest->received.find("ok stop") != std::string::npos; }, {longest.get()}));
    EXPECT_TRUE(open[longest.get()]);
}

TEST_F(CommandServerTest, FourClientsAtMost)
{
    std::vector<std::unique_ptr<Client>> clients;
    for (int i = 0; i < 4; ++i)
        clients.push_back(Connect());
    EXPECT_TRUE(Until([&] { return server.ClientCount() == 4; }, {}));
    auto fifth = Connect();
    EXPECT_TRUE(Until([&] { return !open[fifth.get()]; }, {fifth.get()}));
    EXPECT_EQ(fifth->received, "erreur : déjà 4 clients connectés, connexion refusée\n");
    clients[0]->Close();
    EXPECT_TRUE(Until([&] { return server.ClientCount() == 3; }, {}));
    auto again = Connect();
    again->Send("go\n");
    EXPECT_TRUE(Until([&] { return again->received == "ok go\n"; }, {again.get()})) << "a place freed is taken";
}

// A client that vanishes mid-line, or sends junk, harms no one; its complete
// lines still ran.
TEST_F(CommandServerTest, VanishedAndJunkClientsHarmNoOne)
{
    auto vanishing = Connect();
    auto junk = Connect();
    vanishing->Send("stop\nmoveto 1 2");
    junk->Send(std::string("\x00\xff\x01 zz\n", 7));
    EXPECT_TRUE(Until([&] { return vanishing->received == "ok stop\n" && !junk->received.empty(); },
                      {vanishing.get(), junk.get()}));
    vanishing->Close();
    EXPECT_TRUE(Until([&] { return server.ClientCount() == 1; }, {junk.get()}));
    EXPECT_FALSE(runner.moving) << "the cut moveto never ran";
    EXPECT_EQ(junk->received, "erreur ??? : commande inconnue\n");
    auto fresh = Connect();
    fresh->Send("go\n");
    EXPECT_TRUE(Until([&] { return fresh->received == "ok go\n"; }, {fresh.get(), junk.get()}));
}

// A moveto answers on arrival; meanwhile the other clients are served.
TEST_F(CommandServerTest, AWaitingClientDoesNotHoldTheOthers)
{
    auto mover = Connect();
    auto reader = Connect();
    mover->Send("moveto 1 2 3 4 5 6\nget angles\n");
    EXPECT_TRUE(Until([&] { return runner.moving; }, {mover.get()}));
    reader->Send("get pose\n");
    EXPECT_TRUE(Until([&] { return reader->received == "ok get\n"; }, {mover.get(), reader.get()}));
    EXPECT_EQ(mover->received, "");
    runner.moving = false;
    EXPECT_TRUE(Until([&] { return mover->received == "ok\nok get\n"; }, {mover.get()}));
}

TEST_F(CommandServerTest, ExitIsAnsweredBeforeThePollSaysSo)
{
    auto client = Connect();
    client->Send("exit\nget pose\n");
    EXPECT_TRUE(Until([&] { return exitAsked; }, {}));
    EXPECT_TRUE(Until([&] { return client->received == "ok\n"; }, {client.get()}));
}

// The port listens on the loopback address only (in /proc/net/tcp a
// listening socket shows "0100007F:<port>" and state 0A), and twice on the
// same port is refused with the reason.
TEST_F(CommandServerTest, LoopbackOnlyAndOneServerPerPort)
{
    std::ifstream tcp("/proc/net/tcp");
    if (!tcp)
        GTEST_SKIP() << "no /proc/net/tcp";
    char local[32];
    std::snprintf(local, sizeof local, ":%04X ", server.Port());
    std::string listening;
    for (std::string line; std::getline(tcp, line);)
        if (line.find(local) != std::string::npos && line.find(" 0A ") != std::string::npos)
            listening = line;
    ASSERT_FALSE(listening.empty());
    EXPECT_NE(listening.find("0100007F" + std::string(local, 5)), std::string::npos) << listening;

    CCommandServer second;
    std::string error;
    EXPECT_FALSE(second.Open(server.Port(), &error));
    EXPECT_EQ(error.rfind("impossible d'écouter sur 127.0.0.1:" + std::to_string(server.Port()), 0), 0u) << error;
}

}  // namespace
