#pragma once
// One source of commands, a script or a client of the port: its bytes are
// cut into lines (LineFramer.h) and the lines run one after another, each
// once the one before has completed. A command that waits for the motion
// (wait, moveto) completes when the motion has stopped; the lines after it
// wait with it, while the program goes on drawing and serving the other
// sources.
#include "command/CommandParser.h"
#include "command/LineFramer.h"

#include <functional>
#include <string>

// The longest line of a script or of the port, without its end of line.
constexpr std::size_t kMaxCommandLine = 4096;

// What a command did.
struct CommandOutcome {
    enum Kind {
        Done,         // the reply is ready
        AwaitMotion,  // the reply goes out once the motion has stopped
        Exit,         // the reply goes out, then the program ends
    };
    CommandOutcome(Kind k = Done, std::string r = "", std::function<std::string()> c = {})
        : kind(k), reply(std::move(r)), complete(std::move(c))
    {
    }
    Kind kind;
    std::string reply;  // "ok ..." or "erreur ...", without an end of line
    // For AwaitMotion: the reply, asked once the motion has stopped (how it
    // ended decides it); without one, `reply`.
    std::function<std::string()> complete;
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

    enum class Step {
        Ran,      // a line ran or was skipped; a reply, if any, went out
        Waiting,  // a command waits for the motion
        NoLine,   // no complete line to run
        TooLong,  // the next line was past kMaxCommandLine: dropped, not
                  // answered; what follows is the owner's choice
        Exit,     // a command asked the program to end: its reply went
                  // out, and nothing runs after it
    };

    CCommandSession() : m_Input(kMaxCommandLine) {}

    // The source's bytes, in whatever pieces they come.
    void Feed(const char* bytes, std::size_t length) { m_Input.Feed(bytes, length); }
    // The source has ended: its last line runs even without an end of line.
    void EndOfInput() { m_Input.EndOfInput(); }

    // Runs at most one line. reply receives its reply, a refused line's
    // "erreur <verb> : <reason>" included, and "ok" for a blank line or a
    // comment: every line gets one. A waiting command's reply goes out at
    // the first call after the motion has stopped.
    Step RunOne(CommandRunner& runner, const Reply& reply);

    std::size_t Buffered() const { return m_Input.Buffered(); }
    bool Unfinished() const { return m_Input.Unfinished(); }
    // The number of the last line taken, 1 for the first.
    unsigned long LineNumber() const { return m_iLine; }

private:
    CLineFramer m_Input;
    unsigned long m_iLine = 0;
    bool m_bWaiting = false;
    bool m_bEnded = false;     // after an exit
    CommandOutcome m_Waiting;  // the command of line m_iLine, answered once the motion stops
};
