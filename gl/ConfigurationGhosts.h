#pragma once
// Every configuration of the arm's pose other than its own, drawn at once as
// translucent ghosts over the solid arm (display switch Configurations),
// each labelled near its elbow with its number and posture, red where it
// leaves the joint limits, or with the switch Collisions on where it touches
// anything (the ground, an object, itself). No shadow, reflection or metal:
// the ghosts are lit but untextured, drawn once, after the arm. The list
// follows the arm's angles as a listener, and only while shown: a frame only
// draws it.
#include "sim/Simulation.h"
#include "view/GhostLayout.h"

#include <string>
#include <vector>

class CRobot;

class CConfigurationGhosts : private CSimulationListener {
public:
    CConfigurationGhosts(CSimulation& simulation, const CRobot& robot);
    ~CConfigurationGhosts() override;
    CConfigurationGhosts(const CConfigurationGhosts&) = delete;
    CConfigurationGhosts& operator=(const CConfigurationGhosts&) = delete;

    // The ghosts, blended over what is drawn: after the solid arm.
    void Draw() const;
    // The labels over everything, depth test off: last.
    void DrawLabels() const;

private:
    struct Label {
        int number;  // the configuration's, as ConfigurationsOf numbers it
        JointAngles angles;
        Point3 anchor;
        std::string latin1;  // GLUT's bitmap fonts draw Latin-1
        const float* colour;
    };

    void OnStateChanged() override;
    void OnMotionStep(double t, const JointAngles& angles) override;
    // Lays the ghosts out again when shown and the arm's angles changed, and
    // checks again which configurations touch something: at every change,
    // since objects and switches change without the angles.
    void Follow();
    bool Touching(int number) const;

    CSimulation& m_Simulation;
    const CRobot& m_Robot;
    bool m_bLaidOut = false;
    JointAngles m_LaidOutAt{};  // the arm's angles the ghosts and labels are of
    std::vector<GhostArm> m_Arms;
    std::vector<Label> m_Labels;
    std::vector<int> m_Touching;  // the numbers of the configurations that touch something
};
