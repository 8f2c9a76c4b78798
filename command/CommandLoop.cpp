// The program's command sources and the timer that drains them (see
// CommandLoop.h).
#include "command/CommandLoop.h"

#include "app/Application.h"
#include "app/Log.h"
#include "app/Timer.h"
#include "command/CommandExecutor.h"
#include "command/CommandServer.h"

#include <GL/freeglut.h>

#include <fstream>

namespace {

// While commands come, or a script runs, or a motion is awaited: short
// enough that a reply waits no longer than a frame. After a second without
// any, the port is polled less often, so that an open port with its client
// idle costs next to nothing.
constexpr unsigned int kBusyPollMilliseconds = 5;
constexpr unsigned int kQuietPollMilliseconds = 25;
constexpr double kQuietAfterSeconds = 1.0;
// Script lines run per tick at most, so that drawing goes on meanwhile.
constexpr int kScriptLinesPerTick = 200;

struct Sources {
    CCommandExecutor executor;
    CCommandSession script;
    std::string scriptName;
    CCommandServer server;
    bool timerRunning = false;
    unsigned long serverEvents = 0;
    double lastBusy = 0.0;  // MonotonicSeconds of the last tick with something to do
};

Sources& TheSources()
{
    // Never destroyed: freeglut may end the process inside a callback.
    static Sources* sources = new Sources;
    return *sources;
}

bool Active()
{
    Sources& s = TheSources();
    return !s.script.Finished() || s.server.IsOpen();
}

void OnTimer(int)
{
    Sources& s = TheSources();
    s.timerRunning = false;
    const bool scriptExit = s.script.Run(
        s.executor,
        [&](unsigned long line, const std::string& reply) {
            if (reply.rfind("erreur", 0) == 0)
                LogError("Script %s, ligne %lu : %s", s.scriptName.c_str(), line, reply.c_str());
        },
        kScriptLinesPerTick);
    if (scriptExit || s.server.Poll(s.executor))
        CApplication::Exit();
    StartCommandLoop();
}

}  // namespace

bool LoadCommandScript(const std::string& path, std::string* error)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        *error = "impossible de lire le script " + path;
        return false;
    }
    Sources& s = TheSources();
    s.scriptName = path;
    unsigned long number = 0;
    for (std::string line; std::getline(file, line);)
        s.script.AddLine(line, ++number);
    return true;
}

bool OpenCommandPort(int port, std::string* error)
{
    Sources& s = TheSources();
    if (!s.server.Open(port, error))
        return false;
    LogWrite(LOG_DEBUG, "Port de commande ouvert : 127.0.0.1:%d", s.server.Port());
    return true;
}

void ConnectCommands(CPanelActions& actions)
{
    TheSources().executor.Connect(actions);
}

void StartCommandLoop()
{
    Sources& s = TheSources();
    if (s.timerRunning || !Active())
        return;
    const double now = MonotonicSeconds();
    if (!s.script.Finished() || s.executor.MotionRunning() || s.server.Events() != s.serverEvents) {
        s.serverEvents = s.server.Events();
        s.lastBusy = now;
    }
    s.timerRunning = true;
    glutTimerFunc(now - s.lastBusy < kQuietAfterSeconds ? kBusyPollMilliseconds : kQuietPollMilliseconds, OnTimer, 0);
}
