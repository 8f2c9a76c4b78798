#include "gl/Scene.h"

#include "base/Log.h"
#include "gl/Graphics.h"

#include <GL/freeglut.h>

CScene* g_pCurrentScene = nullptr;

bool CScene::Init()
{
    return false;
}
void CScene::Release() {}
int CScene::GetInputFlags()
{
    return 0;
}

// Reached only by a scene that accepts an input kind without handling it.
void CScene::KeyboardMove(int, int, int)
{
    LogError("CScene::KeyboardMove -- Erreur ! Cette fonction n'aurait jamais du être appelée!");
}

void CScene::KeyStroke(unsigned char, int, int)
{
    LogError("CScene::KeyStroke -- Erreur ! Cette fonction n'aurait jamais du être appelée!");
}

void CScene::MouseMove(int, int)
{
    LogError("CScene::MouseMove -- Erreur ! Cette fonction n'aurait jamais du être appelée!");
}

void CScene::MouseClic(int, int, int, int)
{
    LogError("CScene::MouseClic -- Erreur ! Cette fonction n'aurait jamais du être appelée!");
}

void DisplayCurrentScene()
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
