#pragma once
// Where commands come from in the running program: the script given at
// start and the network port. Both are drained from a GLUT timer of a few
// milliseconds that runs only while one of them is active (the idle
// function belongs to the motion), with the graphics window current, as the
// panel's callbacks have it. Each tick runs commands for a few milliseconds
// at most (CommandHub.h); nothing here blocks the event loop.
#include <string>

// Opens a script to run once the loop starts, read as a stream
// (CommandScript.h): each line runs when the one before it has completed, a
// refused line is written to the error log with the file's name and its
// line number, and the script goes on. False, with the reason in French,
// when it is not a regular file that can be opened.
bool LoadCommandScript(const std::string& path, std::string* error);
// Opens the command port on 127.0.0.1 (0: a free port, written to the
// log). False, with the reason in French.
bool OpenCommandPort(int port, std::string* error);
// The actions the commands go through, and the data set whose files they
// never write over, before the loop starts.
class CPanelActions;
struct DataSet;
void ConnectCommands(CPanelActions& actions, const DataSet& data);
// Starts draining the script and the port, if either was given.
void StartCommandLoop();
