#include "app/Application.h"

#include "app/CommandTimer.h"
#include "app/Display.h"
#include "app/MotionIdle.h"
#include "app/WindowCallbacks.h"
#include "app/WindowView.h"
#include "base/Log.h"
#include "base/ProgramArguments.h"
#include "base/SystemInfo.h"
#include "command/CellCommands.h"
#include "command/CommandLoop.h"
#include "dataset/ArmCell.h"
#include "dataset/DataSet.h"
#include "gl/Graphics.h"
#include "gl/MainScene.h"
#include "gl/Scene.h"
#include "panel/ControlPanel.h"
#include "sim/Controller.h"
#include "sim/MotionRecorder.h"
#include "sim/Simulation.h"

#include <GL/freeglut.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

[[noreturn]] void FailStartup()
{
    std::exit(kStartupFailureStatus);
}

}  // namespace

void CApplication::PrintSystemInfo()
{
    std::printf("Système : %s\n", GetSystemDescription());
    std::printf("Version de GLUT:%f\n", GetGlutVersion());
    std::printf("Version de GLUI:%f\n", GetGluiVersion());
    std::fflush(stdout);
}

int CApplication::Init(int argc, char** argv)
{
    // The directory is chosen before GLUT sees the command line, so the
    // first argument is the data directory even if it looks like a GLUT
    // option.
    ProgramArguments arguments;
    std::string error;
    const bool parsed = ParseProgramArguments(argc, argv, &arguments, &error);
    if (parsed && arguments.help) {
        std::fputs(ProgramHelp(), stdout);
        return 0;
    }

    // Logs next, in the start directory: they must exist before anything
    // can fail.
    LogReset();
    LogOpen(LOG_ERROR, "robot_error.log");
    LogOpen(LOG_DEBUG, "robot_debug.log");
    LogSetPrintHook(LOG_DEBUG, LogConsolePrint);
    LogSetPrintHook(LOG_ERROR, LogConsolePrint);
    LogWrite(LOG_ERROR, "-- Debut du fichier d'erreur --");
    LogWrite(LOG_DEBUG, "-- Debut du fichier de debug --");

    PrintSystemInfo();

    if (!parsed) {
        LogError("CApplication::Init -- %s", error.c_str());
        FailStartup();
    }
    // A script is named from where the program was started.
    if (!arguments.scriptFile.empty() && arguments.scriptFile[0] != '/') {
        char start[4096];
        if (getcwd(start, sizeof start))
            arguments.scriptFile = std::string(start) + "/" + arguments.scriptFile;
    }
    const char* dataDirectory = arguments.dataDirectory.c_str();
    if (chdir(dataDirectory) != 0) {
        LogError("CApplication::Init -- Impossible de changer pour le répertoire %s !", dataDirectory);
        FailStartup();
    }

    // The data set, read once: each part is handed its settings from it.
    const DataSet data = LoadDataSet("");
    for (const std::string& record : data.records)
        LogError("%s", record.c_str());

    if (!DisplayAvailable()) {
        LogError("CApplication::Init -- impossible d'ouvrir l'affichage « %s »", DisplayName().c_str());
        FailStartup();
    }
    glutInit(&argc, argv);

    if (!CGraphics::Init(data.graphics ? &*data.graphics : nullptr)) {
        LogError("CApplication::Init -- Erreur à l'initialisation graphique");
        LogError("CApplication::Init -- Message d'erreur:%s", g_szGraphicsError);
        FailStartup();
    }

    glutDisplayFunc(OnDisplay);
    glutMotionFunc(OnMotion);
    glutMouseFunc(OnMouse);
    glutSpecialFunc(OnSpecialKey);
    glutKeyboardFunc(OnKeyboard);

    // The composition: one simulation (the arm, its state, its motion), what
    // keeps its motions, the scene that shows them, and the controller every
    // way in goes through, with the scene's window as its view. Never
    // deleted: the process ends instead. The scene is made current before
    // its Init runs.
    if (!data.arm) {
        LogError("CApplication::Init -- Impossible de charger la scène principale");
        FailStartup();
    }
    CSimulation* simulation = new CSimulation(*data.arm, data.panel.startDisplay);
    CMotionRecorder* recorder = new CMotionRecorder(*simulation);
    CMainScene* scene = new CMainScene(*simulation, *recorder, data.decor);
    g_pCurrentScene = scene;
    if (!scene->Init()) {
        g_pCurrentScene = nullptr;
        LogError("CApplication::Init -- Impossible de charger la scène principale");
        FailStartup();
    }
    simulation->SetCell(BuildArmCell(*data.arm));
    CController* controller = new CController(*simulation, *new CWindowView(*scene), *recorder);
    SetKeyController(controller);
    DriveMotion(*simulation);

    // The record keeps the name it has always had in the error log.
    if (!data.panelRead)
        LogError("CGluiInput::Init -- Impossible de lire le fichier glui.opt, le panneau prend les valeurs par défaut");
    CControlPanel* panel = new CControlPanel(*controller, *recorder, data.panel);
    if (!panel->Open(g_iMainWindow)) {
        LogError("CApplication::Init -- Erreur à l'initialisation de la GLUI");
        FailStartup();
    }

    // Scripts and the port act on the built panel.
    std::vector<const COptions*> sets;
    for (const std::optional<COptions>& set : data.sets)
        sets.push_back(set ? &*set : nullptr);
    LoadStartCell(*controller);
    CCommandLoop* commands = new CCommandLoop(*controller, DataSetFileNames(sets));
    if ((!arguments.scriptFile.empty() && !commands->OpenScript(arguments.scriptFile, &error)) ||
        (arguments.port >= 0 && !commands->OpenPort(arguments.port, &error))) {
        LogError("CApplication::Init -- %s", error.c_str());
        FailStartup();
    }
    StartCommandTimer(*commands);

    glutMainLoop();
    LogError("CApplication::Init -- Erreur dans le programme");
    return kStartupFailureStatus;
}

void CApplication::Exit()
{
    if (g_pCurrentScene)
        g_pCurrentScene->Release();
    g_pCurrentScene = nullptr;
    LogClose(LOG_DEBUG);
    LogClose(LOG_ERROR);
    std::exit(0);
}
