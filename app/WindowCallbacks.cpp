#include "app/WindowCallbacks.h"

#include "app/Application.h"
#include "gl/Scene.h"
#include "sim/Controller.h"

#include <GL/freeglut.h>

namespace {

CController* g_pKeyController = nullptr;

// The mask is asked anew for every event: a scene may change what it wants.
bool SceneAccepts(int inputKind)
{
    return g_pCurrentScene && (g_pCurrentScene->GetInputFlags() & inputKind);
}

}  // namespace

void SetKeyController(CController* controller)
{
    g_pKeyController = controller;
}

void OnDisplay()
{
    DisplayCurrentScene();
}

void OnKeyboard(unsigned char key, int x, int y)
{
    if (key == 27) {
        // Out through the controller, as the command exit goes; before the
        // program is composed, out at once.
        if (g_pKeyController)
            g_pKeyController->Exit();
        CApplication::Exit();
    }
    if (SceneAccepts(INPUT_KEYBOARD))
        g_pCurrentScene->KeyStroke(key, x, y);
}

void OnSpecialKey(int key, int x, int y)
{
    if (g_pKeyController) {
        CController& controller = *g_pKeyController;
        if (const DisplaySwitch* display = SwitchOfKey(key)) {
            controller.SetDisplayFlag(display->flag, !controller.IsDisplayed(display->flag));
            return;
        }
        switch (key) {
        case GLUT_KEY_F6:
            controller.SaveScreenshot("screenshot.tga");
            return;
        case GLUT_KEY_F8:
            controller.TeachPose();
            return;
        case GLUT_KEY_HOME:
            controller.ResetCamera();
            return;
        default:
            break;
        }
    }
    if (SceneAccepts(INPUT_KEYBOARD))
        g_pCurrentScene->KeyboardMove(key, x, y);
}

void OnMotion(int x, int y)
{
    if (SceneAccepts(INPUT_MOUSE))
        g_pCurrentScene->MouseMove(x, y);
}

void OnMouse(int button, int state, int x, int y)
{
    if (SceneAccepts(INPUT_MOUSE))
        g_pCurrentScene->MouseClic(button, state, x, y);
}
