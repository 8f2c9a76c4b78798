#include "dataset/PanelSettings.h"

#include "config/OptionKeys.h"

void DeclarePanelKeys(COptionDeclarations& keys, PanelSettings& s)
{
    // Three turns either way: further, single precision loses the
    // hundredths of a degree the panel shows.
    const OptionRange angle = OptionRange::Between(-1080, 1080);
    keys.Text("strGLUIWindowName", "Kalimbrax Controls", &s.windowName);
    for (int joint = 0; joint < kJointCount; ++joint)
        keys.Float(JointKey("fAngle", joint, "StartValue"), 0.0f, &s.startAngle[joint], angle);
    keys.Text("strMGDName", "MGD", &s.mgdName);
    for (int joint = 0; joint < kJointCount; ++joint)
        keys.Text(JointKey("strAngle", joint, "Name"), JointName(joint).c_str(), &s.angleName[joint]);
    for (int joint = 0; joint < kJointCount; ++joint)
        keys.Float(JointKey("fAngle", joint, "MaxValue"), 360.0f, &s.maxAngle[joint], angle);
    for (int joint = 0; joint < kJointCount; ++joint)
        keys.Float(JointKey("fAngle", joint, "MinValue"), 0.0f, &s.minAngle[joint], angle);
    keys.Text("strMGIName", "MGI", &s.mgiName);
    static const char* const poseKeys[6][2] = {{"strXAxisName", "X"}, {"strYAxisName", "Y"}, {"strZAxisName", "Z"},
                                               {"strAlphaName", "A"}, {"strBetaName", "B"},  {"strGammaName", "C"}};
    for (int i = 0; i < 6; ++i)
        keys.Text(poseKeys[i][0], poseKeys[i][1], &s.poseName[i]);
    keys.Text("strTrajectoryName", "Trajectoire", &s.trajectoryName);
    keys.Text("strMoveJoint", "Articulaire synchronis\xE9", &s.moveJoint);
    keys.Text("strMoveLinear",
              "Lin\xE9"
              "aire",
              &s.moveLinear);
    keys.Text("strSpeedOverride", "Vitesse (%)", &s.speedOverride);
    keys.Text("strMoveToPose", "Aller \xE0 la pose", &s.moveToPose);
    keys.Text("strCheckMove", "V\xE9rifier", &s.checkMove);
    keys.Text("strConfigurationsName", "Configurations de la pose", &s.configurationsName);
    keys.Text("strCurvesName", "Courbes", &s.curvesName);
    keys.Text("strControlName", "Control", &s.controlName);
    keys.Text("strRealTime", "RT", &s.realTime);
    keys.Text("strRealTimeButton", "GO", &s.realTimeButton);
    keys.Text("strImmediateMode", "IM", &s.immediateMode);
    keys.Text("strMGDCalculus", "MGDC", &s.mgdCalculus);
    keys.Text("strMGICalculus", "MGIC", &s.mgiCalculus);
    keys.Text("strTeachPose", "Apprendre la pose (F8)", &s.teachPose);
    keys.Text("strGraphName", "Control", &s.displayName);
    for (const DisplaySwitch& sw : kDisplaySwitches)
        keys.Text(sw.labelKey, sw.defaultLabel, &s.switchLabel[static_cast<int>(sw.flag)]);
    keys.Text("strArmStateName", "Bras", &s.armStateName);
}
