// The program's command sources (see CommandLoop.h).
#include "command/CommandLoop.h"

#include "base/Log.h"
#include "sim/Controller.h"

namespace {

// While commands come, or a script runs, or a motion is awaited: short
// enough that a reply waits no longer than a frame. After a second without
// any, the port is polled less often, so that an open port with its client
// idle costs next to nothing.
constexpr int kBusyPollMilliseconds = 5;
constexpr int kQuietPollMilliseconds = 25;
constexpr double kQuietAfterSeconds = 1.0;

}  // namespace

CCommandLoop::CCommandLoop(CController& controller, std::vector<std::string> dataSetNames)
    : m_Controller(controller), m_Executor(controller), m_DataSetNames(std::move(dataSetNames)),
      m_Guard(m_Executor, [this] { return m_DataSetNames; })
{
    m_Executor.CountTicks(m_Hub);
}

bool CCommandLoop::OpenScript(const std::string& path, std::string* error)
{
    return m_Hub.OpenScript(path, error);
}

bool CCommandLoop::OpenPort(int port, std::string* error)
{
    if (!m_Hub.OpenPort(port, error))
        return false;
    LogWrite(LOG_DEBUG, "Port de commande ouvert : 127.0.0.1:%d", m_Hub.Port());
    return true;
}

void CCommandLoop::Tick(const CCommandScheduler::Clock& clock)
{
    if (m_Hub.Tick(m_Guard, clock))
        m_Controller.Exit();
}

int CCommandLoop::NextTick(double now)
{
    if (!m_Hub.Active())
        return -1;
    if (m_Hub.ScriptRunning() || m_Executor.MotionRunning() || m_Hub.PortEvents() != m_iPortEvents) {
        m_iPortEvents = m_Hub.PortEvents();
        m_dLastBusy = now;
    }
    return now - m_dLastBusy < kQuietAfterSeconds ? kBusyPollMilliseconds : kQuietPollMilliseconds;
}
