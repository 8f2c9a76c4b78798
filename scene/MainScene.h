#pragma once
// The one scene: the arm on its ground under the sky dome, with its shadow,
// its reflection and an optional metal look, seen from a movable camera.
#include "app/Scene.h"
#include "robot/Robot.h"
#include "scene/Camera.h"
#include "scene/DecorationObject.h"

class CMainScene : public CScene {
public:
    bool Init() override;
    void Release() override;
    void Display() override;
    int GetInputFlags() override;
    void KeyboardMove(int key, int x, int y) override;
    void KeyStroke(unsigned char key, int x, int y) override;
    void MouseMove(int x, int y) override;
    void MouseClic(int button, int state, int x, int y) override;

    void ResetCamera();

    CCamera m_Camera{};
    int m_iLastMouseX = 0;
    int m_iLastMouseY = 0;
    CDecorationObject m_Decoration;
    CRobot m_Robot;
    bool m_bDecoration = false;
    bool m_bReflect = false;
    bool m_bShadows = false;
    bool m_bMetalLook = false;

private:
    void DrawShadow();
    void DrawReflection();
};

// The projection onto the ground z = 0 along the light (1, 1, 1.2),
// column-major: a point (x, y, z) lands on (x - z / 1.2, y - z / 1.2, 0).
extern const float kShadowMatrix[16];
