#pragma once
// The program's sources of commands together: the script given at start and
// the clients of the port, served in turn (CommandScheduler.h) at each tick
// of the event loop's timer, for a few milliseconds at most. Without GL, so
// that the tests drive exactly what the program runs.
#include "command/CommandScript.h"
#include "command/CommandServer.h"

#include <string>

// Time given to commands at each tick. A frame takes about as long: the
// window keeps being redrawn and answering input during any burst.
constexpr double kTickBudgetSeconds = 0.005;

class CCommandHub {
public:
    // See CCommandScript::Open and CCommandServer::Open.
    bool OpenScript(const std::string& path, std::string* error) { return m_Script.Open(path, error); }
    bool OpenPort(int port, std::string* error) { return m_Server.Open(port, error); }
    int Port() const { return m_Server.Port(); }

    // One tick: reads the clients, runs lines of every source in turn
    // within kTickBudgetSeconds, sends the replies. True when a command asked
    // the program to end: the replies have been sent.
    bool Tick(CommandRunner& runner, const CCommandScheduler::Clock& clock);
    // Ticks since start, this one included once it has begun: the unit
    // `get ticks` counts in, so that a client can see how the sources are
    // served in turn without judging the wall clock.
    unsigned long Ticks() const { return m_iTicks; }

    // A script still running, or the port open.
    bool Active() const { return !m_Script.Finished() || m_Server.IsOpen(); }
    bool ScriptRunning() const { return !m_Script.Finished(); }
    // See CCommandServer::Events.
    unsigned long PortEvents() const { return m_Server.Events(); }
    int ClientCount() const { return m_Server.ClientCount(); }

private:
    CCommandScript m_Script;
    CCommandServer m_Server;
    CCommandScheduler m_Scheduler;
    unsigned long m_iTicks = 0;
};
