// The program's command sources and the timer that drains them (see
// CommandLoop.h).
#include "app/CommandLoop.h"

#include "app/Application.h"
#include "base/Clock.h"
#include "base/Log.h"
#include "command/CommandExecutor.h"
#include "command/CommandHub.h"
#include "command/ScreenshotGuard.h"
#include "dataset/OptionFiles.h"

#include <GL/freeglut.h>

namespace {

// While commands come, or a script runs, or a motion is awaited: short
// enough that a reply waits no longer than a frame. After a second without
// any, the port is polled less often, so that an open port with its client
// idle costs next to nothing.
constexpr unsigned int kBusyPollMilliseconds = 5;
constexpr unsigned int kQuietPollMilliseconds = 25;
constexpr double kQuietAfterSeconds = 1.0;

// The option sets the program read at start (each read once: a file that
// could not be read is not tried again); the defaults stand for a missing
// one.
std::vector<std::string> LoadedDataSetNames()
{
    std::vector<const COptions*> sets;
    for (const OptionFile& file : OptionFiles())
        sets.push_back(ReadOptionFile(file.fileName));
    return DataSetFileNames(sets);
}

struct Sources {
    CCommandExecutor executor;
    CScreenshotGuard guard{executor, LoadedDataSetNames};
    CCommandHub hub;
    bool timerRunning = false;
    unsigned long portEvents = 0;
    double lastBusy = 0.0;  // MonotonicSeconds of the last tick with something to do
};

Sources& TheSources()
{
    // Never destroyed: freeglut may end the process inside a callback.
    static Sources* sources = new Sources;
    return *sources;
}

void OnTimer(int)
{
    Sources& s = TheSources();
    s.timerRunning = false;
    if (s.hub.Tick(s.guard, MonotonicSeconds))
        CApplication::Exit();
    StartCommandLoop();
}

}  // namespace

bool LoadCommandScript(const std::string& path, std::string* error)
{
    return TheSources().hub.OpenScript(path, error);
}

bool OpenCommandPort(int port, std::string* error)
{
    Sources& s = TheSources();
    if (!s.hub.OpenPort(port, error))
        return false;
    LogWrite(LOG_DEBUG, "Port de commande ouvert : 127.0.0.1:%d", s.hub.Port());
    return true;
}

void ConnectCommands(CPanelActions& actions)
{
    Sources& s = TheSources();
    s.executor.Connect(actions);
    s.executor.CountTicks(s.hub);
}

void StartCommandLoop()
{
    Sources& s = TheSources();
    if (s.timerRunning || !s.hub.Active())
        return;
    const double now = MonotonicSeconds();
    if (s.hub.ScriptRunning() || s.executor.MotionRunning() || s.hub.PortEvents() != s.portEvents) {
        s.portEvents = s.hub.PortEvents();
        s.lastBusy = now;
    }
    s.timerRunning = true;
    glutTimerFunc(now - s.lastBusy < kQuietAfterSeconds ? kBusyPollMilliseconds : kQuietPollMilliseconds, OnTimer, 0);
}
