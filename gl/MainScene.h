#pragma once
// The one scene: the arm and the objects of its cell on their ground under
// the sky dome, with their shadow, their reflection and an optional metal
// look, and the frames and points of its program when shown, seen from a
// movable camera. It draws the simulation's arm at its
// angles with its display switches, and asks for a frame whenever the
// simulation changes.
#include "gl/Scene.h"
#include "gl/CellObjects.h"
#include "gl/Robot.h"
#include "sim/Simulation.h"
#include "view/Camera.h"
#include "gl/ConfigurationGhosts.h"
#include "gl/DecorationObject.h"
#include "gl/FramesAndPoints.h"
#include "view/OrbitCamera.h"
#include "view/ShadowArea.h"
#include "gl/Trail.h"

#include <optional>

class CMainScene : public CScene, private CSimulationListener {
public:
    // Shows the simulation's arm, and the motions the recorder keeps, in the
    // decoration of decor.opt (absent when that file could not be read:
    // Init then fails).
    CMainScene(CSimulation& simulation, const CMotionRecorder& recorder, std::optional<DecorSettings> decor);
    ~CMainScene() override;

    bool Init() override;
    void Release() override;
    void Display() override;
    int GetInputFlags() override;
    void KeyboardMove(int key, int x, int y) override;
    void KeyStroke(unsigned char key, int x, int y) override;
    void MouseMove(int x, int y) override;
    void MouseClic(int button, int state, int x, int y) override;

    // The start view; turning around the arm, the orbit from the start eye.
    void ResetCamera();
    // The camera turning around the arm (display switch Orbit) takes over
    // from where the eye is; SetOrbit places it.
    void UseOrbit(bool on);
    void SetOrbit(const OrbitView& view);
    CSimulation& Simulation() const { return m_Simulation; }
    // The way of the last planned move, drawn with the trail (its points,
    // refused from index refusedFrom on).
    void ShowPlannedPath(const std::vector<ToolPose>& path, std::size_t refusedFrom);
    // The trail starts afresh.
    void ClearTrail();

    CCamera m_Camera{};
    OrbitView m_Orbit{};
    int m_iLastMouseX = 0;
    int m_iLastMouseY = 0;
    CDecorationObject m_Decoration;
    CRobot m_Robot;

private:
    void OnStateChanged() override;
    void OnMotionStep(double t, const JointAngles& angles) override;

    bool Orbiting() const;
    void DrawShadow();
    void DrawReflection(const CellContacts& contacts);
    // The pixels the shadow pass's second drawing of the decoration can
    // change: those of the flattened arm and of the grid.
    PixelRect ShadowPassRect() const;

    CSimulation& m_Simulation;
    std::optional<DecorSettings> m_DecorFiles;
    CTrailHistory m_TrailHistory;
    CTrail m_Trail;
    CConfigurationGhosts m_Ghosts;
    CCellObjects m_CellObjects;
    CFramesAndPoints m_FramesAndPoints;
};
