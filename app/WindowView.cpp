#include "app/WindowView.h"

#include "app/Application.h"
#include "gl/Graphics.h"
#include "gl/MainScene.h"
#include "gl/Screenshot.h"

#include <GL/freeglut.h>

namespace {

// Making a context current costs more than most actions: only when it is not.
void MakeGraphicsWindowCurrent()
{
    if (glutGetWindow() != g_iMainWindow)
        glutSetWindow(g_iMainWindow);
}

}  // namespace

void CWindowView::SetWireFrame(bool on)
{
    MakeGraphicsWindowCurrent();
    glPolygonMode(GL_FRONT_AND_BACK, on ? GL_LINE : GL_FILL);
    glutPostWindowRedisplay(g_iMainWindow);
}

void CWindowView::ResetCamera()
{
    m_Scene.ResetCamera();
}

void CWindowView::UseOrbit(bool on)
{
    m_Scene.UseOrbit(on);
}

void CWindowView::SetOrbit(const OrbitView& view)
{
    m_Scene.SetOrbit(view);
}

void CWindowView::ShowPlannedPath(const std::vector<ToolPose>& path, std::size_t refusedFrom)
{
    m_Scene.ShowPlannedPath(path, refusedFrom);
}

void CWindowView::ClearTrail()
{
    m_Scene.ClearTrail();
}

bool CWindowView::SaveScreenshot(const char* fileName, PictureSize& size)
{
    MakeGraphicsWindowCurrent();
    if (!::SaveScreenshot(fileName))
        return false;
    size = {g_iScreenWidth, g_iScreenHeight};
    return true;
}

void CWindowView::Exit()
{
    CApplication::Exit();
}
