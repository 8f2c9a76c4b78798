// Sources served in turn within the tick's budget: one line each, an
// expensive line ending the tick, the next tick starting after it, idle
// sources passed over, an exit ending the tick at once. Fake sources on a
// fake clock.
#include "command/CommandScheduler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct NoRunner : CommandRunner {
    CommandOutcome Run(const Command&) override { return {}; }
    bool MotionRunning() override { return false; }
};

// A source whose lines each cost `cost` seconds of the fake clock; it writes
// its name in the trace for each line it runs.
struct FakeSource : CommandSource {
    FakeSource(char name, int lines, double cost, double* clock, std::string* trace)
        : name(name), lines(lines), cost(cost), clock(clock), trace(trace)
    {
    }
    Step RunOne(CommandRunner&) override
    {
        if (lines == 0)
            return Step::Idle;
        --lines;
        *clock += cost;
        *trace += name;
        return exitAtEnd && lines == 0 ? Step::Exit : Step::Ran;
    }
    char name;
    int lines;
    double cost;
    double* clock;
    std::string* trace;
    bool exitAtEnd = false;
};

class CommandSchedulerTest : public ::testing::Test {
protected:
    // One tick; its lines end with '|' in the trace.
    CommandSource* Tick(const std::vector<CommandSource*>& sources)
    {
        CommandSource* exiting = scheduler.Run(
            sources, runner, [this] { return now; }, 0.005);
        trace += '|';
        return exiting;
    }
    CCommandScheduler scheduler;
    NoRunner runner;
    double now = 0.0;
    std::string trace;
};

TEST_F(CommandSchedulerTest, CheapLinesRunInTurnUntilNoneIsLeft)
{
    FakeSource a('a', 3, 0.0, &now, &trace), b('b', 1, 0.0, &now, &trace), idle('-', 0, 0.0, &now, &trace);
    Tick({&a, &idle, &b});
    EXPECT_EQ(trace, "abaa|");
}

// A screenshot costs far more than the budget: each tick runs one, and the
// cheap source is served first in the next.
TEST_F(CommandSchedulerTest, AnExpensiveLineEndsTheTickAndTheNextStartsAfterIt)
{
    FakeSource shots('s', 4, 0.085, &now, &trace), gets('g', 2, 0.0001, &now, &trace);
    for (int i = 0; i < 4; ++i)
        Tick({&shots, &gets});
    EXPECT_EQ(trace, "s|gs|gs|s|");
}

TEST_F(CommandSchedulerTest, ManyCheapLinesStopAtTheBudget)
{
    FakeSource a('a', 100, 0.001, &now, &trace);
    Tick({&a});
    EXPECT_EQ(trace, "aaaaa|");
}

TEST_F(CommandSchedulerTest, AnExitEndsTheTickAtOnceAndSaysWhose)
{
    FakeSource a('a', 5, 0.0, &now, &trace), b('b', 1, 0.0, &now, &trace);
    b.exitAtEnd = true;
    EXPECT_EQ(Tick({&a, &b}), &b);
    EXPECT_EQ(trace, "ab|");
    EXPECT_EQ(Tick({}), nullptr);
}

}  // namespace
