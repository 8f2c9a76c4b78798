#include "app/SceneWindow.h"

#include "app/Display.h"
#include "dataset/ArmCell.h"
#include "dataset/DataSet.h"
#include "gl/Graphics.h"
#include "sim/MotionRecorder.h"

#include <GL/freeglut.h>
#include <unistd.h>

namespace {

CMainScene* Open(const char* directory)
{
    if (!DisplayAvailable() || chdir(directory) != 0)
        return nullptr;
    int argc = 1;
    char name[] = "kalimbrax-scene";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
    DataSet data = LoadDataSet("");
    if (!CGraphics::Init(data.graphics ? &*data.graphics : nullptr) || !data.arm)
        return nullptr;
    // freeglut refuses to show a window without a display callback; the
    // frames are drawn by the caller.
    glutDisplayFunc([] {});
    // The arm in its start pose and its cell, as the program starts them.
    auto* simulation = new CSimulation(*data.arm, data.panel.startDisplay);
    auto* scene = new CMainScene(*simulation, *new CMotionRecorder(*simulation), data.decor);
    if (!scene->Init())
        return nullptr;
    simulation->SetCell(BuildArmCell(*data.arm));
    return scene;
}

}  // namespace

CMainScene* OpenScene(const char* directory)
{
    static CMainScene* scene = Open(directory);
    return scene;
}

bool ResizeSceneWindow(int width, int height)
{
    glutReshapeWindow(width, height);
    for (int i = 0; i < 1000; ++i) {
        glutMainLoopEvent();
        if (g_iScreenWidth == width && g_iScreenHeight == height) {
            // Mesa's software renderer takes the window's new size at the
            // next swap: until then it would draw at the old one.
            glutSwapBuffers();
            return true;
        }
        usleep(1000);
    }
    return false;
}
