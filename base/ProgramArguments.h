#pragma once
// The program's command line: kalimbrax [DATA_DIR] [--script FILE] [--port N]
// [--help].
// DATA_DIR stays the first argument, "default" when absent; arguments that do
// not start with "--" after it are left to GLUT (-display, -geometry, ...).
#include <string>

struct ProgramArguments {
    std::string dataDirectory = "default";
    std::string scriptFile;  // empty: none; as given (relative to the start directory)
    int port = -1;           // -1: no port; 0: a free one
    bool help = false;       // --help: print ProgramHelp() and do nothing else
};

// False with the reason in French for an unknown "--" option, an option
// without its value or given twice, or a port that is not an integer from 0
// to 65535.
bool ParseProgramArguments(int argc, const char* const argv[], ProgramArguments* arguments, std::string* error);

// The command line and the graphics window's keys, in French (UTF-8).
const char* ProgramHelp();
