#pragma once
// Where commands come from in the running program: the script given at
// start and the network port, run through the controller, screenshots and
// records kept off the data set's files. An event-loop timer drives it
// (app/CommandTimer): each tick runs commands for a few milliseconds at
// most (CommandHub.h), and says when to come back, so that nothing blocks
// the event loop and an idle port costs next to nothing.
#include "command/CommandExecutor.h"
#include "command/CommandHub.h"
#include "command/DataSetGuard.h"

#include <string>
#include <vector>

class CController;

class CCommandLoop {
public:
    // dataSetNames: the files of the data set, never written over.
    CCommandLoop(CController& controller, std::vector<std::string> dataSetNames);

    // Opens a script to run once the loop starts, read as a stream
    // (CommandScript.h): each line runs when the one before it has
    // completed, a refused line is written to the error log with the file's
    // name and its line number, and the script goes on. False, with the
    // reason in French, when it is not a regular file that can be opened.
    bool OpenScript(const std::string& path, std::string* error);
    // Opens the command port on 127.0.0.1 (0: a free port, written to the
    // log). False, with the reason in French.
    bool OpenPort(int port, std::string* error);

    // One tick, on the clock given: the command exit ends the program
    // through the controller once its reply is sent.
    void Tick(const CCommandScheduler::Clock& clock);
    // Milliseconds from `now` (seconds, the same clock) to the next tick;
    // negative when nothing is left to drain (no script running, no port).
    int NextTick(double now);

private:
    CController& m_Controller;
    CCommandExecutor m_Executor;
    std::vector<std::string> m_DataSetNames;
    CDataSetGuard m_Guard;
    CCommandHub m_Hub;
    unsigned long m_iPortEvents = 0;
    double m_dLastBusy = 0.0;  // seconds of the last tick with something to do
};
