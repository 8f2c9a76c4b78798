#include "command/CommandSession.h"

void CCommandSession::AddLine(std::string line, unsigned long lineNumber)
{
    m_lines.push_back(Line{std::move(line), lineNumber});
}

bool CCommandSession::Run(CommandRunner& runner, const Reply& reply, int budget)
{
    if (m_bWaiting) {
        if (runner.MotionRunning())
            return false;
        m_bWaiting = false;
        reply(m_Waiting.number, m_Waiting.text);
    }
    for (; budget > 0 && !m_lines.empty(); --budget) {
        const Line line = std::move(m_lines.front());
        m_lines.pop_front();
        Command command;
        std::string verb, message;
        switch (ParseCommandLine(line.text.data(), line.text.size(), &command, &verb, &message)) {
        case CommandLine::Skip:
            continue;
        case CommandLine::Error:
            reply(line.number, "erreur " + verb + " : " + message);
            continue;
        case CommandLine::Command:
            break;
        }
        const CommandOutcome outcome = runner.Run(command);
        switch (outcome.kind) {
        case CommandOutcome::Done:
            reply(line.number, outcome.reply);
            break;
        case CommandOutcome::Exit:
            reply(line.number, outcome.reply);
            m_lines.clear();
            return true;
        case CommandOutcome::AwaitMotion:
            if (!runner.MotionRunning()) {
                reply(line.number, outcome.reply);
                break;
            }
            m_bWaiting = true;
            m_Waiting = Line{outcome.reply, line.number};
            return false;
        }
    }
    return false;
}
