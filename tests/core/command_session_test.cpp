// A command source's lines run in order, one at a time: replies in order,
// refused lines answered, a wait holding back the lines after it until the
// motion stops, an over-long line handed to the owner in its place, an exit
// ending the source. The commands go to a fake runner.
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

class CommandSessionTest : public ::testing::Test {
protected:
    void Feed(const std::string& bytes) { session.Feed(bytes.data(), bytes.size()); }
    // Runs lines until one does not simply run; every step is kept.
    CCommandSession::Step RunAll()
    {
        for (;;) {
            const CCommandSession::Step step =
                session.RunOne(runner, [this](unsigned long number, const std::string& r) {
                    replies.push_back(std::to_string(number) + " " + r);
                });
            steps.push_back(step);
            if (step != CCommandSession::Step::Ran)
                return step;
        }
    }

    CCommandSession session;
    FakeRunner runner;
    std::vector<std::string> replies;
    std::vector<CCommandSession::Step> steps;
};

TEST_F(CommandSessionTest, RepliesInOrderRefusedLinesIncluded)
{
    Feed("go\n# commentaire\n\npose 1 2\nget pose\nstop\r\n");
    EXPECT_EQ(RunAll(), CCommandSession::Step::NoLine);
    // Every line gets its reply, a comment and a blank line "ok": a client
    // that sends a script line by line reads one reply for each.
    const std::vector<std::string> expected = {
        "1 ok go", "2 ok", "3 ok", "4 erreur pose : 6 nombres attendus, 2 reçus", "5 ok get", "6 ok stop"};
    EXPECT_EQ(replies, expected);
    EXPECT_EQ(steps.size(), 7u) << "one line a step, skipped lines included";
}

TEST_F(CommandSessionTest, AWaitHoldsBackTheLinesAfterIt)
{
    Feed("moveto 1 2 3 4 5 6\nget angles\n");
    EXPECT_EQ(RunAll(), CCommandSession::Step::Waiting);
    EXPECT_TRUE(replies.empty()) << "moveto answers on arrival";
    EXPECT_EQ(RunAll(), CCommandSession::Step::Waiting);
    EXPECT_EQ(runner.ran.size(), 1u) << "nothing after the moveto has run";

    runner.moving = false;  // arrived
    EXPECT_EQ(RunAll(), CCommandSession::Step::NoLine);
    EXPECT_EQ(replies, (std::vector<std::string>{"1 ok moveto", "2 ok get"}));

    // A wait with nothing moving completes at once.
    Feed("wait\n");
    RunAll();
    EXPECT_EQ(replies.back(), "3 ok wait");
}

TEST_F(CommandSessionTest, ExitEndsTheSourceAfterItsReply)
{
    Feed("go\nexit\nstop\n");
    EXPECT_EQ(RunAll(), CCommandSession::Step::Exit);
    EXPECT_EQ(replies, (std::vector<std::string>{"1 ok go", "2 ok"}));
    EXPECT_EQ(RunAll(), CCommandSession::Step::NoLine);
    EXPECT_EQ(runner.ran.size(), 2u) << "nothing after the exit";
}

// The owner answers an over-long line: the session only says where it was,
// and numbers the lines after it as the file does.
TEST_F(CommandSessionTest, AnOverlongLineIsHandedOverInItsPlace)
{
    Feed("go\n" + std::string(5000, 'x') + "\nstop\n");
    EXPECT_EQ(RunAll(), CCommandSession::Step::TooLong);
    EXPECT_EQ(session.LineNumber(), 2u);
    EXPECT_EQ(RunAll(), CCommandSession::Step::NoLine);
    EXPECT_EQ(replies, (std::vector<std::string>{"1 ok go", "3 ok stop"}));
}

// A line without its end runs only once the source says it has ended.
TEST_F(CommandSessionTest, TheLastLineRunsAtTheEndOfInput)
{
    Feed("go\nstop");
    EXPECT_EQ(RunAll(), CCommandSession::Step::NoLine);
    EXPECT_TRUE(session.Unfinished());
    session.EndOfInput();
    EXPECT_EQ(RunAll(), CCommandSession::Step::NoLine);
    EXPECT_EQ(replies, (std::vector<std::string>{"1 ok go", "2 ok stop"}));
}

}  // namespace
