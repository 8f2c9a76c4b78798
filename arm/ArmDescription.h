#pragma once
// The arm as a data set describes it, without a window: per link its mesh
// file, its offset and, once the mesh is read, its box; per joint its
// limits, maximum speed and start angle; the arm's texture and the inverse
// model it asks for. The lengths of the geometric models derive from the
// offsets. Read from robot.opt (and from glui.opt the spinners' limits and
// start angles) by LoadDataSet.
#include "arm/LinkPairs.h"
#include "formats/MeshBox.h"
#include "kinematics/ArmChain.h"
#include "kinematics/MGI.h"
#include "kinematics/JointLimits.h"
#include "kinematics/Kinematics.h"

#include <string>

class COptionDeclarations;

// Angles: the arm's angles are those the data set numbers its joints with
// (a robot description's own joint positions for an imported arm, the
// maker's convention); the geometric models and the drawing turn each joint
// by zero + sense x that angle. Poses are of the tool point, turned with the
// hand's frame by the tool's own turn: without a tool, the wrist centre and
// the hand's orientation.
struct ArmDescription {
    std::string meshFile[kLinkCount];
    float offset[kLinkCount][3];         // scene units, to where the next link attaches
    MeshBox box[kLinkCount];             // empty until the link's mesh is read
    std::string colour[kLinkCount];      // "#rrggbb" drawn instead of the texture; empty: the texture
    float maxSpeed[kJointCount];         // degrees per second
    float maxAccel[kJointCount];         // degrees per second squared; 0: no limit
    JointLimits limits;                  // the spinners' limits, degrees, in the data set's angles
    std::string jointName[kJointCount];  // as messages name the joints; empty: A12 ... A67
    JointAngles start;                   // where the arm stands at start, in the data set's angles
    float zero[kJointCount];             // the models' angle where the data set's is 0
    int sense[kJointCount];              // 1, or -1 where the data set turns the other way
    float toolOffset[3];                 // the tool point in the hand's frame, pose units
    float toolTurn[3];                   // the tool frame's alpha, beta, gamma in the hand's frame, degrees
    bool wristAsModel;                   // drawn with the MGD's own turn before A56
    float linearSpeed;                   // pose units per second, along lines and arcs
    float linearAccel;                   // pose units per second squared; 0: no limit
    float angularSpeed;                  // degrees per second, the hand's turn along lines and arcs
    float jogSpeed;                      // percent of the speeds above and the joints', in a continuous jog
    std::string textureFile;
    bool exactMGI;
    // The pairs of links that touch at every pose, never checked for
    // collisions ("Body:UpperArm ..."; empty: every pair but neighbours).
    std::string alwaysTouching;
    bool stopOnCollision = false;  // the chase stops at its first step into a contact

    ArmLengths Lengths() const;
    // A joint as the user knows it: its name, else A12 ... A67.
    std::string JointLabel(int joint) const;
    MGIModel Model() const { return exactMGI ? MGIModel::Exact : MGIModel::Grid; }
    // The fixed turn about x before each link's joint, as the arm is drawn.
    struct Turns {
        float x[kLinkCount];
    };
    Turns LinkTurns() const;
    CLinkPairs AlwaysTouching() const { return ParseLinkPairs(alwaysTouching); }
};

// The first joint outside its limits, said as every refusal says it
// ("A12 = 190 hors des limites [-180 ; 180]"); empty when every one is
// within them. A refused command moves nothing: the spinners clamp, a
// program is told.
std::string FirstOutsideLimits(const ArmDescription& arm, const JointAngles& angles);

// robot.opt's keys, bound to the description's fields.
void DeclareRobotKeys(COptionDeclarations& keys, ArmDescription& arm);

// A link's colour "#rrggbb" as red, green, blue from 0 to 1 (rgb may be
// null to check it only).
bool ParseColour(const std::string& text, float rgb[3]);

// The offsets the geometric models assume (the body's and the shoulder's
// along one axis each, the elbow's (e, -e, 0), the lower arm's along z):
// one French sentence per offset that differs, naming its key and value.
std::vector<std::string> FamilyDepartures(const ArmDescription& arm);
