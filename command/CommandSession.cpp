// A source's lines, run in order (see CommandSession.h).
#include "command/CommandSession.h"

CCommandSession::Step CCommandSession::RunOne(CommandRunner& runner, const Reply& reply)
{
    if (m_bEnded)
        return Step::NoLine;
    if (m_bWaiting) {
        if (runner.MotionRunning())
            return Step::Waiting;
        m_bWaiting = false;
        reply(m_iLine, m_Waiting.complete ? m_Waiting.complete() : m_Waiting.reply);
        return Step::Ran;
    }
    std::string line;
    switch (m_Input.Take(&line)) {
    case CLineFramer::Next::None:
        return Step::NoLine;
    case CLineFramer::Next::TooLong:
        ++m_iLine;
        return Step::TooLong;
    case CLineFramer::Next::Line:
        ++m_iLine;
        break;
    }
    Command command;
    std::string verb, message;
    switch (ParseCommandLine(line.data(), line.size(), &command, &verb, &message)) {
    case CommandLine::Skip:
        reply(m_iLine, "ok");
        return Step::Ran;
    case CommandLine::Error:
        reply(m_iLine, "erreur " + verb + " : " + message);
        return Step::Ran;
    case CommandLine::Command:
        break;
    }
    const CommandOutcome outcome = runner.Run(command);
    if (outcome.kind == CommandOutcome::AwaitMotion) {
        if (runner.MotionRunning()) {
            m_bWaiting = true;
            m_Waiting = outcome;
            return Step::Ran;
        }
        reply(m_iLine, outcome.complete ? outcome.complete() : outcome.reply);
        return Step::Ran;
    }
    reply(m_iLine, outcome.reply);
    if (outcome.kind != CommandOutcome::Exit)
        return Step::Ran;
    m_bEnded = true;
    return Step::Exit;
}
