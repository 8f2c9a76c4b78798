#include "robot/ArmDescription.h"

#include "app/FrenchDecimal.h"
#include "app/Log.h"
#include "config/OptionFiles.h"
#include "config/OptionKeys.h"
#include "panel/PanelSettings.h"

namespace {

const char* const kAxes[3] = {"X", "Y", "Z"};

std::string OffsetKey(int link, int axis)
{
    return LinkKey("f", link, (std::string("Size") + kAxes[axis]).c_str());
}

std::string Path(const std::string& directory, const char* file)
{
    return directory.empty() ? file : directory + "/" + file;
}

}  // namespace

ArmLengths ArmDescription::Lengths() const
{
    return MakeArmLengths(offset[0][2], offset[1][0], offset[2][0], offset[3][1], offset[4][2]);
}

void DeclareRobotKeys(COptionDeclarations& keys, ArmDescription& arm)
{
    for (int joint = 0; joint < kJointCount; ++joint)
        keys.Float(JointKey("fAngle", joint, "MaxSpeed"), 1.0f, &arm.maxSpeed[joint]);
    keys.Text("strTextureFileName", "metal.tga", &arm.textureFile);
    for (int link = 0; link < kLinkCount; ++link)
        keys.Text(LinkKey("str", link, "FileObj"), LinkMeshFile(link).c_str(), &arm.meshFile[link]);
    for (int link = 0; link < kLinkCount; ++link)
        for (int axis = 0; axis < 3; ++axis)
            keys.Float(OffsetKey(link, axis), 0.0f, &arm.offset[link][axis]);
    keys.Bool("bMGIExact", false, &arm.exactMGI);
}

bool LoadArmDescription(const std::string& directory, ArmDescription* arm)
{
    const COptions* robot = ReadOptionFile(Path(directory, "robot.opt").c_str());
    if (!robot) {
        LogError("LoadArmDescription -- Impossible de charger le fichier robot.opt");
        return false;
    }
    *arm = ReadSettings(robot, DeclareRobotKeys);
    const PanelSettings panel = ReadSettings(ReadOptionFile(Path(directory, "glui.opt").c_str()), DeclarePanelKeys);
    for (int joint = 0; joint < kJointCount; ++joint) {
        arm->limits.low[joint] = panel.minAngle[joint];
        arm->limits.high[joint] = panel.maxAngle[joint];
        arm->start.*kJointFields[joint] = panel.startAngle[joint];
    }
    for (const std::string& departure : FamilyDepartures(*arm))
        LogError("LoadArmDescription -- %s", departure.c_str());
    return true;
}

std::vector<std::string> FamilyDepartures(const ArmDescription& arm)
{
    // Which offsets must be zero, link by link (x, y, z), and the elbow's
    // shape: what the drawn chain needs to put the wrist centre where the
    // forward model does.
    static const bool mustBeZero[5][3] = {
        {true, true, false}, {false, true, true}, {false, true, true}, {false, false, true}, {true, true, false}};
    std::vector<std::string> departures;
    auto depart = [&](int link, int axis, const std::string& rule) {
        departures.push_back(OffsetKey(link, axis) + " = " + FormatDecimal(arm.offset[link][axis], 3) +
                             " : le bras dessiné s'écarte des modèles géométriques (" + rule + ")");
    };
    for (int link = 0; link < 5; ++link)
        for (int axis = 0; axis < 3; ++axis)
            if (mustBeZero[link][axis] && arm.offset[link][axis] != 0.0f)
                depart(link, axis, "cette valeur doit être 0");
    const float e = arm.offset[3][0];
    if (e < 0.0f)
        depart(3, 0, "le coude doit valoir (e, -e, 0) avec e positif ou nul");
    else if (arm.offset[3][1] != -e)
        depart(3, 1,
               "le coude doit valoir (e, -e, 0) : " + OffsetKey(3, 1) + " doit être l'opposé de " + OffsetKey(3, 0));
    return departures;
}
