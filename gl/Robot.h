#pragma once
// The arm as it is drawn: its seven link meshes recorded once into display
// lists, its texture and the axes of F4, drawn at whatever angles the caller
// gives. What the arm is and where it stands belong to the simulation; this
// holds only what GL needs to show it.
#include "gl/BaseObject.h"
#include "gl/MeshObject.h"
#include "kinematics/ArmChain.h"
#include "gl/Texture.h"

class CSimulation;
struct ArmDescription;

// One link: its mesh read once and recorded into a display list.
class CRobotPart {
public:
    bool Load(const char* fileName);
    // The link's rotation (degrees about x, y, z), its mesh when asked, then
    // the translation to the next link: the transforms stay on the
    // model-view matrix for the next link.
    void Draw(const float rotation[3], const float offset[3], bool withMesh) const;

    CMeshObject m_Mesh;
    unsigned int m_uiDisplayList = 0;
    bool m_bColoured = false;  // drawn in m_fColour instead of the arm's texture
    float m_fColour[3] = {1.0f, 1.0f, 1.0f};
};

class CRobot {
public:
    // Reads the arm's texture and link meshes, as the simulation's arm
    // names them, and tells the simulation their boxes. False at the first
    // that fails to load (its loader says why).
    bool Init(CSimulation& simulation);
    // The arm at these angles in the current model-view frame, with the
    // axes of every link when asked; only the links of the mask `links`
    // (bit i for link i) when others are drawn already, those of the mask
    // `red` in the colour of contacts. Binds the arm's texture; sets no
    // colour.
    void Draw(const JointAngles& angles, bool showAxes, unsigned links = kEveryLink, unsigned red = 0) const;

private:
    const ArmDescription* m_pArm = nullptr;
    CRobotPart m_Parts[kLinkCount];
    mutable CAxes m_Axes;
    CTexture m_Texture;
};
