#pragma once
// The arm as a data set describes it, without a window: per link its mesh
// file, its offset and, once the mesh is read, its box; per joint its
// limits, maximum speed and start angle; the arm's texture and the inverse
// model it asks for. The lengths of the geometric models derive from the
// offsets. Read from robot.opt (and from glui.opt the spinners' limits and
// start angles) by LoadArmDescription.
#include "graphics/MeshBox.h"
#include "robot/ArmChain.h"
#include "robot/InverseModel.h"
#include "robot/JointLimits.h"
#include "robot/Kinematics.h"

#include <string>

class COptionDeclarations;

struct ArmDescription {
    std::string meshFile[kLinkCount];
    float offset[kLinkCount][3];  // scene units, to where the next link attaches
    MeshBox box[kLinkCount];      // empty until the link's mesh is read
    float maxSpeed[kJointCount];  // degrees per second
    JointLimits limits;           // the spinners' limits, degrees
    JointAngles start;            // where the arm stands at start
    std::string textureFile;
    bool exactMGI;

    ArmLengths Lengths() const;
    MGIModel Model() const { return exactMGI ? MGIModel::Exact : MGIModel::Grid; }
};

// robot.opt's keys, bound to the description's fields.
void DeclareRobotKeys(COptionDeclarations& keys, ArmDescription& arm);

// The description of the data set in `directory` ("" for the current one):
// robot.opt, required, and glui.opt, whose absence leaves the spinners'
// defaults. False, with a French record, when robot.opt cannot be read. Keys
// that no declaration knows, and link offsets that take the drawn arm away
// from the geometric models, are recorded too; they do not stop the start.
bool LoadArmDescription(const std::string& directory, ArmDescription* arm);

// The offsets the geometric models assume (the body's and the shoulder's
// along one axis each, the elbow's (e, -e, 0), the lower arm's along z):
// one French sentence per offset that differs, naming its key and value.
std::vector<std::string> FamilyDepartures(const ArmDescription& arm);
