// The sources of commands together (see CommandHub.h).
#include "command/CommandHub.h"

bool CCommandHub::Tick(CommandRunner& runner, const CCommandScheduler::Clock& clock)
{
    ++m_iTicks;
    m_Server.Receive(clock());
    std::vector<CommandSource*> sources;
    if (!m_Script.Finished())
        sources.push_back(&m_Script);
    m_Server.AddSources(&sources);
    if (const CommandSource* asking = m_Scheduler.Run(sources, runner, clock, kTickBudgetSeconds)) {
        m_Server.SendBeforeExit(asking);
        return true;
    }
    m_Server.Send(clock());
    return false;
}
