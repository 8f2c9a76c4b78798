#include "gl/Scene.h"

#include "base/Log.h"

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
