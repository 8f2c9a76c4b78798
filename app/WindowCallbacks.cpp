#include "app/WindowCallbacks.h"

#include "app/Application.h"
#include "gl/Scene.h"
#include "gl/Graphics.h"
#include "formats/PngImage.h"
#include "formats/TgaImage.h"
#include "sim/PanelActions.h"

#include <GL/freeglut.h>

#include <cstring>
#include <new>

namespace {

CPanelActions* g_pKeyActions = nullptr;

// The mask is asked anew for every event: a scene may change what it wants.
bool SceneAccepts(int inputKind)
{
    return g_pCurrentScene && (g_pCurrentScene->GetInputFlags() & inputKind);
}

}  // namespace

void SetKeyActions(CPanelActions* actions)
{
    g_pKeyActions = actions;
}

bool SaveScreenshot(const char* fileName)
{
    // Drawn afresh first: after a resize the last frame may still be the
    // old size, or not drawn yet. The back buffer keeps the frame after the
    // swap (the default read buffer of a double-buffered window).
    OnDisplay();
    CTgaImage image;
    image.width = static_cast<unsigned short>(g_iScreenWidth);
    image.height = static_cast<unsigned short>(g_iScreenHeight);
    image.bitsPerPixel = 24;
    std::size_t size = static_cast<std::size_t>(image.width) * image.height * 3;
    image.pixels.reset(new (std::nothrow) unsigned char[size]);
    if (!image.pixels)
        return false;
    // Rows packed tightly: with the default alignment of 4 a window whose
    // width times 3 is not a multiple of 4 would overrun the block.
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, image.width, image.height, GL_RGB, GL_UNSIGNED_BYTE, image.pixels.get());
    const std::size_t length = std::strlen(fileName);
    if (length > 4 && std::strcmp(fileName + length - 4, ".png") == 0)
        return PngImageSave(fileName, image);
    return CTgaImage::TgaImageSave(fileName, &image);
}

void OnDisplay()
{
    if (g_pCurrentScene) {
        g_pCurrentScene->Display();
        return;
    }
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(0.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (g_bDoubleBuffer)
        glutSwapBuffers();
    else
        glFlush();
}

void OnKeyboard(unsigned char key, int x, int y)
{
    if (key == 27)
        CApplication::Exit();
    if (SceneAccepts(INPUT_KEYBOARD))
        g_pCurrentScene->KeyStroke(key, x, y);
}

void OnSpecialKey(int key, int x, int y)
{
    if (g_pKeyActions) {
        CPanelActions& actions = *g_pKeyActions;
        if (const DisplaySwitch* display = SwitchOfKey(key)) {
            actions.SetDisplayFlag(display->flag, !actions.IsDisplayed(display->flag));
            return;
        }
        switch (key) {
        case GLUT_KEY_F6:
            actions.SaveScreenshot("screenshot.tga");
            return;
        case GLUT_KEY_F8:
            actions.TeachPose();
            return;
        case GLUT_KEY_HOME:
            actions.ResetCamera();
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
