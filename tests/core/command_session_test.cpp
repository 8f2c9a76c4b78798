// A command source's lines run in order: replies in order, refused lines
// answered, a wait holding back the lines after it until the motion stops,
// an exit ending the source. The commands go to a fake runner.
#include "command/CommandSession.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Answers "ok <verb>", waits for the motion on wait and moveto, and moves
// while `moving` says so.
struct FakeRunner : CommandRunner {
    bool moving = false;
    std::vector<CommandVerb> ran;
    CommandOutcome Run(const Command& c) override
    {
        ran.push_back(c.verb);
        if (c.verb == CommandVerb::Exit)
            return {CommandOutcome::Exit, "ok"};
        if (c.verb == CommandVerb::MoveTo)
            moving = true;
        const bool awaits = c.verb == CommandVerb::Wait || c.verb == CommandVerb::MoveTo;
        return {awaits ? CommandOutcome::AwaitMotion : CommandOutcome::Done,
                std::string("ok ") + CommandVerbName(c.verb)};
    }
    bool MotionRunning() override { return moving; }
};

struct Replies {
    std::vector<std::string> lines;
    CCommandSession::Reply Collect()
    {
        return [this](unsigned long number, const std::string& reply) {
            lines.push_back(std::to_string(number) + " " + reply);
        };
    }
};

TEST(CommandSession, RepliesInOrderRefusedLinesIncluded)
{
    CCommandSession session;
    FakeRunner runner;
    Replies replies;
    const char* const lines[] = {"go", "# commentaire", "", "pose 1 2", "get pose", "stop\r\n"};
    unsigned long n = 0;
    for (const char* line : lines)
        session.AddLine(line, ++n);
    EXPECT_FALSE(session.Run(runner, replies.Collect()));
    const std::vector<std::string> expected = {"1 ok go", "4 erreur pose : 6 nombres attendus, 2 reçus", "5 ok get",
                                               "6 ok stop"};
    EXPECT_EQ(replies.lines, expected);
    EXPECT_TRUE(session.Finished());
}

TEST(CommandSession, AWaitHoldsBackTheLinesAfterIt)
{
    CCommandSession session;
    FakeRunner runner;
    Replies replies;
    session.AddLine("moveto 1 2 3 4 5 6", 1);
    session.AddLine("get angles", 2);
    session.Run(runner, replies.Collect());
    EXPECT_TRUE(replies.lines.empty()) << "moveto answers on arrival";
    EXPECT_FALSE(session.Finished());
    session.Run(runner, replies.Collect());
    EXPECT_TRUE(replies.lines.empty()) << "still moving";
    EXPECT_EQ(runner.ran.size(), 1u) << "nothing after the moveto has run";

    runner.moving = false;  // arrived
    session.Run(runner, replies.Collect());
    EXPECT_EQ(replies.lines, (std::vector<std::string>{"1 ok moveto", "2 ok get"}));
    EXPECT_TRUE(session.Finished());

    // A wait with nothing moving completes at once.
    session.AddLine("wait", 3);
    session.Run(runner, replies.Collect());
    EXPECT_EQ(replies.lines.back(), "3 ok wait");
}

TEST(CommandSession, ExitEndsTheSourceAfterItsReply)
{
    CCommandSession session;
    FakeRunner runner;
    Replies replies;
    session.AddLine("go", 1);
    session.AddLine("exit", 2);
    session.AddLine("stop", 3);
    EXPECT_TRUE(session.Run(runner, replies.Collect()));
    EXPECT_EQ(replies.lines, (std::vector<std::string>{"1 ok go", "2 ok"}));
    EXPECT_EQ(runner.ran.size(), 2u) << "nothing after the exit";
    EXPECT_TRUE(session.Finished());
}

TEST(CommandSession, ABudgetLeavesTheRestForLater)
{
    CCommandSession session;
    FakeRunner runner;
    Replies replies;
    for (unsigned long n = 1; n <= 10; ++n)
        session.AddLine("go", n);
    session.Run(runner, replies.Collect(), 4);
    EXPECT_EQ(replies.lines.size(), 4u);
    EXPECT_EQ(session.QueuedLines(), 6u);
    session.Run(runner, replies.Collect(), 100);
    EXPECT_EQ(replies.lines.size(), 10u);
    EXPECT_EQ(replies.lines.back(), "10 ok go");
}

}  // namespace
