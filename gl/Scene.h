#pragma once
// The abstract scene that receives the window's events, and the pointer to
// the current one.

// Bits of GetInputFlags: which kinds of input the scene accepts.
enum { INPUT_KEYBOARD = 1, INPUT_MOUSE = 2 };

class CScene {
public:
    virtual bool Init();
    virtual void Release();
    virtual void Display() = 0;
    virtual int GetInputFlags();
    virtual void KeyboardMove(int key, int x, int y);
    virtual void KeyStroke(unsigned char key, int x, int y);
    virtual void MouseMove(int x, int y);
    virtual void MouseClic(int button, int state, int x, int y);
};

// Not owned: scenes are never deleted; whoever drops one calls its Release.
extern CScene* g_pCurrentScene;

// A frame of the graphics window: the current scene's, or black without one.
void DisplayCurrentScene();
