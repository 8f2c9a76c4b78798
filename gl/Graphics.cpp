#include "gl/Graphics.h"

#include "base/Log.h"
#include "dataset/GraphicsSettings.h"

#include <GL/freeglut.h>
#include <GL/glu.h>

#include <cstdio>

int g_iScreenWidth = 800;
int g_iScreenHeight = 600;
float g_fScreenFOV = -45.0f;
bool g_bDoubleBuffer = true;
int g_iMainWindow = 0;
char g_szGraphicsError[128] = "";

bool CGraphics::Init(const GraphicsSettings* settings)
{
    if (!InitGLUT(settings)) {
        LogError("CGraphics::Init -- Erreur à l'initialisation de la GLUT!");
        return false;
    }
    InitOpenGL(*settings);
    return true;
}

bool CGraphics::InitGLUT(const GraphicsSettings* read)
{
    if (!read) {
        LogError("CGraphics::InitGLUT -- Impossible de lire le fichier de configuration graphics.opt");
        std::snprintf(g_szGraphicsError, sizeof g_szGraphicsError, "%s", "graphics.opt non trouvé");
        return false;
    }
    const GraphicsSettings& settings = *read;
    g_iScreenWidth = settings.width;
    g_iScreenHeight = settings.height;
    g_fScreenFOV = static_cast<float>(settings.fieldOfView);
    glutInitWindowSize(g_iScreenWidth, g_iScreenHeight);
    glutInitWindowPosition(settings.positionX, settings.positionY);
    g_bDoubleBuffer = settings.doubleBuffer;
    glutInitDisplayMode(GLUT_RGB | GLUT_DEPTH | (g_bDoubleBuffer ? GLUT_DOUBLE : GLUT_SINGLE));
    g_iMainWindow = glutCreateWindow(settings.windowName.c_str());
    glutReshapeFunc(CGraphics::Reshape);
    if (settings.fullScreen)
        glutFullScreen();
    return true;
}

bool CGraphics::InitOpenGL(const GraphicsSettings& settings)
{
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glFrontFace(GL_CCW);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    if (settings.smoothAndNice) {
        glShadeModel(GL_SMOOTH);
        glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
        glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
        glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
        glEnable(GL_LINE_SMOOTH);
        glEnable(GL_POINT_SMOOTH);
    }
    return true;
}

void CGraphics::Reshape(int width, int height)
{
    g_iScreenWidth = width;
    if (height <= 0)
        height = 1;
    g_iScreenHeight = height;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(static_cast<double>(g_fScreenFOV), static_cast<double>(width) / height, kNearPlane, kFarPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // Without a window manager a resize brings no expose event: the new size
    // would show the old picture until something else asked for a frame.
    glutPostRedisplay();
}
