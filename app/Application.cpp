#include "app/Application.h"

#include "app/Log.h"
#include "app/SystemInfo.h"

#include <GL/freeglut.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void FailStartup()
{
    std::exit(kStartupFailureStatus);
}

} // namespace

void CApplication::PrintSystemInfo()
{
    std::printf("Système : %s\n", GetWindowsVersionString());
    std::printf("Version de GLUT:%f\n", GetGlutVersion());
    std::printf("Version de GLUI:%f\n", GetGluiVersion());
    std::fflush(stdout);
}

int CApplication::Init(int argc, char** argv)
{
    // Logs first, in the start directory: they must exist before anything
    // can fail.
    LogReset();
    LogOpen(LOG_ERROR, "robot_error.log");
    LogOpen(LOG_DEBUG, "robot_debug.log");
    LogSetPrintHook(LOG_DEBUG, LogConsolePrint);
    LogSetPrintHook(LOG_ERROR, LogConsolePrint);
    LogWrite(LOG_ERROR, "-- Debut du fichier d'erreur --");
    LogWrite(LOG_DEBUG, "-- Debut du fichier de debug --");

    PrintSystemInfo();

    // The directory is chosen before GLUT sees the command line, so the
    // first argument is the data directory even if it looks like a GLUT
    // option.
    const char* dataDirectory = argc > 1 ? argv[1] : "default";
    if (chdir(dataDirectory) != 0) {
        LogError("CApplication::Init -- Impossible de changer pour le répertoire %s !", dataDirectory);
        FailStartup();
    }

    glutInit(&argc, argv);

    // The graphics window, the window callbacks, the main scene and the
    // control panel come next; until they exist there is nothing to run.
    return 0;
}

void CApplication::Exit()
{
    LogClose(LOG_DEBUG);
    LogClose(LOG_ERROR);
    std::exit(0);
}
