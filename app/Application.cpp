#include "app/Application.h"

#include "app/Log.h"
#include "app/Scene.h"
#include "app/SystemInfo.h"
#include "app/WindowCallbacks.h"
#include "graphics/Graphics.h"
#include "panel/GluiInput.h"
#include "scene/MainScene.h"

#include <GL/freeglut.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <new>

namespace {

[[noreturn]] void FailStartup()
{
    std::exit(kStartupFailureStatus);
}

} // namespace

void CApplication::PrintSystemInfo()
{
    std::printf("Système : %s\n", GetSystemDescription());
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

    if (!CGraphics::Init()) {
        LogError("CApplication::Init -- Erreur à l'initialisation graphique");
        LogError("CApplication::Init -- Message d'erreur:%s", g_szGraphicsError);
        FailStartup();
    }

    glutDisplayFunc(OnDisplay);
    glutMotionFunc(OnMotion);
    glutMouseFunc(OnMouse);
    glutSpecialFunc(OnSpecialKey);
    glutKeyboardFunc(OnKeyboard);

    // The scene is made current before its Init runs, and is never deleted:
    // the process ends instead.
    CMainScene* scene = new (std::nothrow) CMainScene;
    if (g_pCurrentScene)
        g_pCurrentScene->Release();
    g_pCurrentScene = scene;
    if (!scene || !scene->Init() || !g_pCurrentScene) {
        g_pCurrentScene = nullptr;
        LogError("CApplication::Init -- Impossible de charger la scène principale");
        FailStartup();
    }

    if (!CGluiInput::Init()) {
        LogError("CApplication::Init -- Erreur à l'initialisation de la GLUI");
        FailStartup();
    }

    glutMainLoop();
    LogError("CApplication::Init -- Erreur dans le programme");
    return kStartupFailureStatus;
}

void CApplication::Exit()
{
    CGluiInput::Release();
    if (g_pCurrentScene)
        g_pCurrentScene->Release();
    g_pCurrentScene = nullptr;
    LogClose(LOG_DEBUG);
    LogClose(LOG_ERROR);
    std::exit(0);
}
