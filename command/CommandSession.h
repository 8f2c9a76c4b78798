#pragma once
// One source of commands, a script or a client of the port: its lines run
// one after another, each once the one before has completed. A command that
// waits for the motion (wait, moveto) completes when the motion has stopped;
// the lines after it wait with it, while the program goes on drawing and
// serving the other sources.
#include "command/CommandParser.h"

#include <deque>
#include <functional>
#include <string>

// What a command did.
struct CommandOutcome {
    enum Kind {
        Done,         // the reply is ready
        AwaitMotion,  // the reply goes out once the motion has stopped
        Exit,         // the reply goes out, then the program ends
    };
    Kind kind = Done;
    std::string reply;  // "ok ..." or "erreur ...", without an end of line
};

// What runs the commands: the program's executor, or a fake in the tests.
struct CommandRunner {
    virtual ~CommandRunner() = default;
    virtual CommandOutcome Run(const Command& command) = 0;
    virtual bool MotionRunning() = 0;
};

class CCommandSession {
public:
    typedef std::function<void(unsigned long lineNumber, const std::string& reply)> Reply;

    // Queues a line (its end of line may be included) with its number in its
    // source.
    void AddLine(std::string line, unsigned long lineNumber);
    // Runs queued lines in order, at most `budget` of them, until one waits
    // for the motion or none is left; reply receives each completed line's
    // reply, a refused line's "erreur <verb> : <reason>" included. Skipped
    // lines (blank, comments) get none. True when a line asked the program
    // to end: its reply has gone to reply, and nothing after it runs.
    bool Run(CommandRunner& runner, const Reply& reply, int budget = 1000);
    // Nothing queued and nothing waiting.
    bool Finished() const { return m_lines.empty() && !m_bWaiting; }
    std::size_t QueuedLines() const { return m_lines.size(); }

private:
    struct Line {
        std::string text;
        unsigned long number;
    };
    std::deque<Line> m_lines;
    bool m_bWaiting = false;
    Line m_Waiting;  // the line whose reply waits for the motion, reply in text
};
