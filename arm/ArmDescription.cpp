#include "arm/ArmDescription.h"

#include "base/FrenchDecimal.h"
#include "config/OptionKeys.h"

namespace {

const char* const kAxes[3] = {"X", "Y", "Z"};

std::string OffsetKey(int link, int axis)
{
    return LinkKey("f", link, (std::string("Size") + kAxes[axis]).c_str());
}

}  // namespace

ArmLengths ArmDescription::Lengths() const
{
    return MakeArmLengths(offset[0][2], offset[1][0], offset[2][0], offset[3][1], offset[4][2]);
}

std::string ArmDescription::JointLabel(int joint) const
{
    return jointName[joint].empty() ? JointName(joint) : jointName[joint];
}

ArmDescription::Turns ArmDescription::LinkTurns() const
{
    Turns turns;
    for (int link = 0; link < kLinkCount; ++link)
        turns.x[link] = link == kWristLink && wristAsModel ? kModelWristTurnX : kLinkTurnX[link];
    return turns;
}

std::string FirstOutsideLimits(const ArmDescription& arm, const JointAngles& angles)
{
    const JointLimits& limits = arm.limits;
    for (int joint = 0; joint < kJointCount; ++joint) {
        const float value = angles.*kJointFields[joint];
        if (!(value >= limits.low[joint] && value <= limits.high[joint]))
            return OutsideLimits(arm.JointLabel(joint), value, limits.low[joint], limits.high[joint]);
    }
    return "";
}

void DeclareRobotKeys(COptionDeclarations& keys, ArmDescription& arm)
{
    // A joint's top speed: a hundred turns a second either way (0 and below
    // keep their meaning in real time: a joint that never arrives).
    for (int joint = 0; joint < kJointCount; ++joint)
        keys.Float(JointKey("fAngle", joint, "MaxSpeed"), 1.0f, &arm.maxSpeed[joint],
                   OptionRange::Between(-36000, 36000));
    keys.Text("strTextureFileName", "metal.tga", &arm.textureFile);
    for (int link = 0; link < kLinkCount; ++link)
        keys.Text(LinkKey("str", link, "FileObj"), LinkMeshFile(link).c_str(), &arm.meshFile[link]);
    // Links of at most a thousand scene units, a hundred times the grid.
    for (int link = 0; link < kLinkCount; ++link)
        for (int axis = 0; axis < 3; ++axis)
            keys.Float(OffsetKey(link, axis), 0.0f, &arm.offset[link][axis], OptionRange::Between(-1000, 1000));
    keys.Bool("bMGIExact", false, &arm.exactMGI);
    // Planned moves: the joints' accelerations (0: no limit), the pace along
    // lines and arcs. Below these ranges a move takes minutes to start and
    // stop, above them it is over before a frame is drawn.
    for (int joint = 0; joint < kJointCount; ++joint)
        keys.Float(JointKey("fAngle", joint, "MaxAccel"), 0.0f, &arm.maxAccel[joint],
                   OptionRange::ZeroOrBetween(0.1, 1e6));
    keys.Float("fLinearSpeed", 100.0f, &arm.linearSpeed, OptionRange::Between(1, 100000));
    keys.Float("fLinearAccel", 0.0f, &arm.linearAccel, OptionRange::ZeroOrBetween(1, 1e7));
    keys.Float("fAngularSpeed", 45.0f, &arm.angularSpeed, OptionRange::Between(1, 3600));
    // A held jog button moves the arm at this share of those speeds and of
    // the joints' (percent, as the speed override).
    keys.Float("fJogSpeed", 25.0f, &arm.jogSpeed, OptionRange::Between(1, 100));
    // The arm as its maker numbers it, the tool it carries, its colours.
    for (int joint = 0; joint < kJointCount; ++joint) {
        keys.Float(JointKey("fAngle", joint, "Zero"), 0.0f, &arm.zero[joint], OptionRange::Between(-360, 360));
        keys.Int(JointKey("iAngle", joint, "Sense"), 1, &arm.sense[joint]);
    }
    static const char* const toolKeys[6] = {"fToolX", "fToolY", "fToolZ", "fToolAlpha", "fToolBeta", "fToolGamma"};
    // A tool of at most a hundred scene units, turned at most a whole turn.
    for (int i = 0; i < 3; ++i) {
        keys.Float(toolKeys[i], 0.0f, &arm.toolOffset[i], OptionRange::Between(-10000, 10000));
        keys.Float(toolKeys[3 + i], 0.0f, &arm.toolTurn[i], OptionRange::Between(-360, 360));
    }
    for (int link = 0; link < kLinkCount; ++link)
        keys.Text(LinkKey("str", link, "Color"), "", &arm.colour[link]);
    keys.Bool("bWristAsModel", false, &arm.wristAsModel);
    // Computed once per arm (kalimbrax-arm, the generator), never at start.
    keys.Text("strAlwaysTouching", "", &arm.alwaysTouching);
    // The chase toward the targets (go, moveto, the panel's start) stops at
    // its first step into a contact; off, a contact is only shown.
    keys.Bool("bStopOnCollision", false, &arm.stopOnCollision);
}

bool ParseColour(const std::string& text, float rgb[3])
{
    if (text.size() != 7 || text[0] != '#')
        return false;
    for (int i = 0; i < 3; ++i) {
        unsigned value = 0;
        for (int k = 1 + 2 * i; k < 3 + 2 * i; ++k) {
            const char c = text[static_cast<std::size_t>(k)];
            const int digit = c >= '0' && c <= '9'   ? c - '0'
                              : c >= 'a' && c <= 'f' ? c - 'a' + 10
                              : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                     : -1;
            if (digit < 0)
                return false;
            value = value * 16 + static_cast<unsigned>(digit);
        }
        if (rgb)
            rgb[i] = static_cast<float>(value) / 255.0f;
    }
    return true;
}

std::vector<std::string> FamilyDepartures(const ArmDescription& arm)
{
    // Which offsets must be zero, link by link (x, y, z), and the elbow's
    // shape: what the drawn chain needs to put the wrist centre where the
    // MGD does.
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
