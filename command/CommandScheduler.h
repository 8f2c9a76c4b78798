#pragma once
// Serves the sources of commands in turn within a time budget, so that no
// source holds the program: one line of each source that has one, then
// again, until the budget of the tick is spent. Between ticks the event
// loop handles input and redraws. A command is never cut: one that costs
// more than the budget (a screenshot draws a whole frame and encodes it)
// ends the tick, and the next tick starts with the source after it.
#include "command/CommandSession.h"

#include <functional>
#include <vector>

// A source the scheduler serves: the script, a client of the port.
struct CommandSource {
    enum class Step {
        Idle,  // nothing to run now: no line, or a wait for the motion
        Ran,   // one line ran, or some input was read
        Exit,  // a command asked the program to end; its reply is out
    };
    virtual ~CommandSource() = default;
    // Runs at most one line.
    virtual Step RunOne(CommandRunner& runner) = 0;
};

class CCommandScheduler {
public:
    // Seconds on a monotonic clock.
    typedef std::function<double()> Clock;

    // Runs lines of the sources in turn until `budget` seconds have passed
    // or none has anything to run. The source that asked the program to
    // end, or nullptr.
    CommandSource* Run(const std::vector<CommandSource*>& sources, CommandRunner& runner, const Clock& clock,
                       double budget);

private:
    // Where the next tick's turn starts. The sources come and go between
    // ticks; an index into the new list is fair enough for that.
    std::size_t m_iNext = 0;
};
