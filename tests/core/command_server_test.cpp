// The command port over real loopback sockets, driven tick by tick as the
// program drives it (CommandHub.h), with a fake runner: replies in order,
// lines cut anywhere, the line limit, four clients at most, clients that
// vanish, send junk, burst or drip harming no one, exit, and 127.0.0.1 only.
#include "base/Clock.h"
#include "command/CommandHub.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
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
    double* clock = nullptr;  // a fake clock that a screenshot moves on
    double screenshotCost = 0.0;
    int runs = 0;
    double queryCost = 0.0;
    const CCommandHub* hub = nullptr;  // answers `get ticks` when set
    CommandOutcome Run(const Command& c) override
    {
        ++runs;
        if (c.verb == CommandVerb::Screenshot && clock)
            *clock += screenshotCost;
        if (c.verb == CommandVerb::Get && clock)
            *clock += queryCost;
        if (c.verb == CommandVerb::Get && c.query == CommandQuery::Ticks && hub)
            return {CommandOutcome::Done, "ok " + std::to_string(hub->Ticks())};
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
        ASSERT_TRUE(hub.OpenPort(0, &error)) << error;
        ASSERT_GT(hub.Port(), 0);
    }
    // One tick of the program's timer, on the fake clock once a test sets it.
    void Tick()
    {
        exitAsked = hub.Tick(runner, [this] { return fakeNow < 0.0 ? MonotonicSeconds() : fakeNow; }) || exitAsked;
    }
    // Ticks and reads the clients until the condition holds, or two seconds
    // pass.
    template <class Condition>
    bool Until(Condition condition, std::initializer_list<Client*> clients)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (std::chrono::steady_clock::now() < end) {
            Tick();
            for (Client* c : clients)
                open[c] = c->Receive() && open[c];
            if (condition())
                return true;
        }
        return false;
    }
    std::unique_ptr<Client> Connect()
    {
        auto client = std::make_unique<Client>(hub.Port());
        open[client.get()] = true;
        return client;
    }

    CCommandHub hub;
    FakeRunner runner;
    double fakeNow = -1.0;  // below 0: the real clock
    bool exitAsked = false;
    std::map<Client*, bool> open;
};

TEST_F(CommandServerTest, RepliesInOrderLinesCutAnywhere)
{
    auto a = Connect();
    a->Send("go\nget po");
    a->Send("se\r\n\nstop\n");
    EXPECT_TRUE(Until([&] { return a->received.size() >= 24; }, {a.get()}));
    EXPECT_EQ(a->received, "ok go\nok get\nok\nok stop\n");
    a->Send("pose 1 2\n");
    EXPECT_TRUE(Until([&] { return a->received.find("reçus\n") != std::string::npos; }, {a.get()}));
    EXPECT_EQ(a->received.substr(24), "erreur pose : 6 nombres attendus, 2 reçus\n");
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

// Complete lines that came in the same read as an over-long one still run
// and are answered, in order, before the over-long line's error; only then
// is the connection closed.
TEST_F(CommandServerTest, LinesBeforeAnOverlongOneAreAnswered)
{
    auto client = Connect();
    client->Send("angles 11 22 33 44 55 66\nget angles\n" + std::string(5000, 'z'));
    EXPECT_TRUE(Until([&] { return !open[client.get()]; }, {client.get()}));
    EXPECT_EQ(client->received, "ok angles\nok get\nerreur : ligne de plus de 4096 octets, connexion fermée\n");
}

// The limit counts the line without its end, whatever the reads: a line of
// 4096 bytes ending in CR LF is a line whether the CR and the LF arrive
// together or apart; one byte more and it is refused.
TEST_F(CommandServerTest, TheLimitCountsTheLineWithoutItsEndWhateverTheReads)
{
    const std::string line(4096, 'x');
    const std::string unknown = "erreur " + std::string(32, 'x') + " : commande inconnue\n";
    const std::string tooLong = "erreur : ligne de plus de 4096 octets, connexion fermée\n";
    struct Case {
        std::vector<std::string> writes;
        std::string reply;
    };
    const Case cases[] = {
        {{line + "\r\n"}, unknown},      {{line + "\r", "\n"}, unknown},  {{line, "\r", "\n"}, unknown},
        {{line + "x\r", "\n"}, tooLong}, {{line + "\r", "x\n"}, tooLong},  // the CR was the line's then
    };
    for (const Case& c : cases) {
        auto client = Connect();
        for (const std::string& bytes : c.writes) {
            const unsigned long before = hub.PortEvents();
            client->Send(bytes);
            ASSERT_TRUE(Until([&] { return hub.PortEvents() != before || !open[client.get()]; }, {client.get()}));
        }
        EXPECT_TRUE(Until([&] { return client->received.size() >= c.reply.size(); }, {client.get()}));
        EXPECT_EQ(client->received, c.reply) << c.writes.size() << " writes";
        EXPECT_EQ(open[client.get()], c.reply == unknown) << c.writes.size() << " writes";
    }
}

// A burst of connections waits in the listening queue, not for TCP's
// retransmission a second later: all of them connect before the server even
// looks, and one poll answers them all.
TEST_F(CommandServerTest, ABurstOfConnectionsIsQueuedAndAnsweredAtOnce)
{
    constexpr int kBurst = 64;
    std::vector<int> fds;
    int connected = 0;
    for (int i = 0; i < kBurst; ++i) {
        fds.push_back(socket(AF_INET, SOCK_STREAM, 0));
        // A connection the queue drops would be retried only after a second.
        const timeval limit{0, 500000};
        setsockopt(fds.back(), SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
        setsockopt(fds.back(), SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(hub.Port()));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connected += connect(fds.back(), reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    EXPECT_EQ(connected, kBurst);
    Tick();
    EXPECT_EQ(hub.ClientCount(), kMaxCommandClients);
    int refused = 0;
    for (int fd : fds) {
        char buffer[256];
        const ssize_t n = recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
        refused += n > 0 && std::string(buffer, static_cast<std::size_t>(n)).rfind("erreur : déjà 4 clients", 0) == 0;
        close(fd);
    }
    EXPECT_EQ(refused, kBurst - kMaxCommandClients);
}

// Twenty pipelined screenshots of 85 ms each do not hold another client:
// each tick ends after one of them, and the other client's line runs in the
// next tick's turn.
TEST_F(CommandServerTest, PipelinedScreenshotsDoNotHoldAnotherClient)
{
    fakeNow = 0.0;
    runner.clock = &fakeNow;
    runner.screenshotCost = 0.085;
    auto burst = Connect();
    auto other = Connect();
    std::string screenshots;
    for (int i = 0; i < 20; ++i)
        screenshots += "screenshot s" + std::to_string(i) + ".png\n";
    burst->Send(screenshots);
    other->Send("get pose\n");
    EXPECT_TRUE(Until([&] { return other->received == "ok get\n"; }, {burst.get(), other.get()}));
    burst->Receive();
    EXPECT_LE(std::count(burst->received.begin(), burst->received.end(), '\n'), 3) << "screenshots before the other";
    EXPECT_TRUE(
        Until([&] { return std::count(burst->received.begin(), burst->received.end(), '\n') == 20; }, {burst.get()}));
}

// Counted in the hub's ticks, a client's pipelined lines beside a burst of
// screenshots run one a tick: each screenshot ends its tick and the next
// tick starts with the source after it. When the client's own line spends
// the tick's budget (a loaded machine), the burst's next screenshot takes
// the following tick alone: two ticks between its lines, never more. The
// end-to-end fairness test holds the program to that bound.
TEST_F(CommandServerTest, PipelinedLinesBesideABurstRunWithinTwoTicksOfEachOther)
{
    struct Case {
        double queryCost;  // seconds on the fake clock
        long gap;          // ticks between the client's lines
    };
    for (const Case& c : {Case{0.0, 1}, Case{kTickBudgetSeconds * 1.2, 2}}) {
        CCommandHub hub;
        std::string error;
        ASSERT_TRUE(hub.OpenPort(0, &error)) << error;
        fakeNow = 0.0;
        runner.clock = &fakeNow;
        runner.screenshotCost = 0.085;
        runner.queryCost = c.queryCost;
        runner.hub = &hub;
        Client burst(hub.Port()), other(hub.Port());
        std::string screenshots;
        for (int i = 0; i < 40; ++i)
            screenshots += "screenshot s" + std::to_string(i) + ".png\n";
        burst.Send(screenshots);
        // Both clients taken and the burst started before the other asks.
        while (hub.ClientCount() < 2 || burst.received.empty()) {
            hub.Tick(runner, [this] { return fakeNow; });
            burst.Receive();
        }
        other.Send("get ticks\nget ticks\nget ticks\nget ticks\nget ticks\n");
        std::vector<long> ticks;
        for (int i = 0; i < 100 && ticks.size() < 5; ++i) {
            hub.Tick(runner, [this] { return fakeNow; });
            burst.Receive();
            other.Receive();
            ticks.clear();
            for (std::size_t at = 0; (at = other.received.find("ok ", at)) != std::string::npos; at += 3)
                ticks.push_back(std::stol(other.received.substr(at + 3)));
        }
        ASSERT_EQ(ticks.size(), 5u) << other.received;
        for (std::size_t i = 1; i < ticks.size(); ++i)
            EXPECT_EQ(ticks[i] - ticks[i - 1], c.gap) << c.queryCost << " s a query, line " << i;
        EXPECT_LT(std::count(burst.received.begin(), burst.received.end(), '\n'), 40) << "the burst still running";
    }
}

// A line left unfinished for ten seconds closes its connection with an error
// line, however slowly its bytes keep coming; a client silent between lines
// stays.
TEST_F(CommandServerTest, ALineUnfinishedForTenSecondsClosesItsConnection)
{
    fakeNow = 100.0;
    auto silent = Connect();
    auto slow = Connect();
    silent->Send("go\n");
    slow->Send("get p");
    EXPECT_TRUE(Until([&] { return silent->received == "ok go\n" && hub.ClientCount() == 2; }, {silent.get()}));
    for (const double now : {105.0, 109.9}) {
        fakeNow = now;
        slow->Send("o");
        const unsigned long before = hub.PortEvents();
        EXPECT_TRUE(Until([&] { return hub.PortEvents() != before; }, {slow.get()}));
        EXPECT_TRUE(open[slow.get()]) << now;
        EXPECT_EQ(slow->received, "") << now;
    }
    fakeNow = 110.0;
    EXPECT_TRUE(Until([&] { return !open[slow.get()]; }, {slow.get()}));
    EXPECT_EQ(slow->received, "erreur : ligne inachevée depuis 10 s, connexion fermée\n");
    fakeNow = 1000.0;
    silent->Send("stop\n");
    EXPECT_TRUE(Until([&] { return silent->received == "ok go\nok stop\n"; }, {silent.get()}));
}

TEST_F(CommandServerTest, FourClientsAtMost)
{
    std::vector<std::unique_ptr<Client>> clients;
    for (int i = 0; i < 4; ++i)
        clients.push_back(Connect());
    EXPECT_TRUE(Until([&] { return hub.ClientCount() == 4; }, {}));
    auto fifth = Connect();
    EXPECT_TRUE(Until([&] { return !open[fifth.get()]; }, {fifth.get()}));
    EXPECT_EQ(fifth->received, "erreur : déjà 4 clients connectés, connexion refusée\n");
    clients[0]->Close();
    EXPECT_TRUE(Until([&] { return hub.ClientCount() == 3; }, {}));
    auto again = Connect();
    again->Send("go\n");
    EXPECT_TRUE(Until([&] { return again->received == "ok go\n"; }, {again.get()})) << "a place freed is taken";
}

// A client that sent its line and hung up gives its place back at once:
// four of them, then a fifth that connects before the server has read any,
// and the fifth is served (a program that connects for each command is not
// locked out); their lines still run.
TEST_F(CommandServerTest, HungUpClientsGiveTheirPlaceBack)
{
    std::vector<std::unique_ptr<Client>> gone;
    for (int i = 0; i < kMaxCommandClients; ++i) {
        gone.push_back(Connect());
        gone.back()->Send("go\n");
        gone.back()->Close();
    }
    auto fifth = Connect();
    fifth->Send("get pose\n");
    EXPECT_TRUE(Until([&] { return fifth->received == "ok get\n" && runner.runs == 5; }, {fifth.get()}))
        << fifth->received << ", " << runner.runs << " lines run";
}

// Clients that hung up while their lines still wait (here for a motion)
// are served without a place, as long as no more than eight connections
// are kept in all; past that a connection is refused until they are done.
TEST_F(CommandServerTest, HungUpClientsStillServedAreBounded)
{
    const auto hangUp = [this](Client& client) {
        client.Send("moveto 1 2 3 4 5 6\n");
        client.Close();
    };
    std::vector<std::unique_ptr<Client>> gone, connected;
    for (int i = 0; i < kMaxCommandClients; ++i) {
        gone.push_back(Connect());
        hangUp(*gone.back());
        connected.push_back(Connect());
    }
    EXPECT_TRUE(Until([&] { return runner.runs == kMaxCommandClients && hub.ClientCount() == 8; }, {}));
    auto ninth = Connect();
    EXPECT_TRUE(Until([&] { return !open[ninth.get()]; }, {ninth.get()}));
    EXPECT_EQ(ninth->received, "erreur : déjà 4 clients connectés, connexion refusée\n");

    hangUp(*connected[0]);  // five served without a place, three with one: eight in all
    EXPECT_TRUE(Until([&] { return runner.runs == kMaxCommandClients + 1; }, {}));
    auto tenth = Connect();
    EXPECT_TRUE(Until([&] { return !open[tenth.get()]; }, {tenth.get()}));
    EXPECT_EQ(tenth->received, "erreur : déjà 8 connexions en cours, connexion refusée\n");

    runner.moving = false;
    EXPECT_TRUE(Until([&] { return hub.ClientCount() == kMaxCommandClients - 1; }, {}));
    auto again = Connect();
    again->Send("go\n");
    EXPECT_TRUE(Until([&] { return again->received == "ok go\n"; }, {again.get()}));
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
    EXPECT_TRUE(Until([&] { return hub.ClientCount() == 1; }, {junk.get()}));
    EXPECT_FALSE(runner.moving) << "the cut moveto never ran";
    EXPECT_EQ(junk->received, "erreur \uFFFD\uFFFD\uFFFD : commande inconnue\n");
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
    std::snprintf(local, sizeof local, ":%04X ", hub.Port());
    std::string listening;
    for (std::string line; std::getline(tcp, line);)
        if (line.find(local) != std::string::npos && line.find(" 0A ") != std::string::npos)
            listening = line;
    ASSERT_FALSE(listening.empty());
    EXPECT_NE(listening.find("0100007F" + std::string(local, 5)), std::string::npos) << listening;

    CCommandServer second;
    std::string error;
    EXPECT_FALSE(second.Open(hub.Port(), &error));
    EXPECT_EQ(error.rfind("impossible d'écouter sur 127.0.0.1:" + std::to_string(hub.Port()), 0), 0u) << error;
}

}  // namespace
