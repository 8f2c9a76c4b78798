#include "dataset/PanelSettings.h"

#include "config/OptionKeys.h"

void DeclarePanelKeys(COptionDeclarations& keys, PanelSettings& s)
{
    // Three turns either way: further, single precision loses the
    // hundredths of a degree the panel shows.
    const OptionRange angle = OptionRange::Between(-1080, 1080);
    keys.Label("strGLUIWindowName", "Kalimbrax Controls", &s.windowName);
    for (int joint = 0; joint < kJointCount; ++joint)
        keys.Float(JointKey("fAngle", joint, "StartValue"), 0.0f, &s.startAngle[joint], angle);
    keys.Label("strMGDName", "MGD", &s.mgdName);
    for (int joint = 0; joint < kJointCount; ++joint)
        keys.Label(JointKey("strAngle", joint, "Name"), JointName(joint).c_str(), &s.angleName[joint]);
    for (int joint = 0; joint < kJointCount; ++joint)
        keys.Float(JointKey("fAngle", joint, "MaxValue"), 360.0f, &s.maxAngle[joint], angle);
    for (int joint = 0; joint < kJointCount; ++joint)
        keys.Float(JointKey("fAngle", joint, "MinValue"), 0.0f, &s.minAngle[joint], angle);
    keys.Label("strJogName", "Déplacement manuel", &s.jogName);
    static const char* const jogFrames[4][2] = {
        {"strJogJoints", "Articulations"}, {"strJogBase", "Base"}, {"strJogTool", "Outil"}, {"strJogFrame", "Repère"}};
    for (int i = 0; i < 4; ++i)
        keys.Label(jogFrames[i][0], jogFrames[i][1], &s.jogFrame[i]);
    static const char* const jogSteps[4][2] = {{"strJogContinuous", "Continu"},
                                               {"strJogStepTenth", "Pas de 0,1"},
                                               {"strJogStepOne", "Pas de 1"},
                                               {"strJogStepTen", "Pas de 10"}};
    for (int i = 0; i < 4; ++i)
        keys.Label(jogSteps[i][0], jogSteps[i][1], &s.jogStep[i]);
    keys.Label("strPointsName", "Points", &s.pointsName);
    keys.Label("strStorePoint", "Enregistrer le point", &s.storePoint);
    keys.Label("strMGIName", "MGI", &s.mgiName);
    static const char* const poseKeys[6][2] = {{"strXAxisName", "X"}, {"strYAxisName", "Y"}, {"strZAxisName", "Z"},
                                               {"strAlphaName", "A"}, {"strBetaName", "B"},  {"strGammaName", "C"}};
    for (int i = 0; i < 6; ++i)
        keys.Label(poseKeys[i][0], poseKeys[i][1], &s.poseName[i]);
    keys.Label("strTrajectoryName", "Trajectoire", &s.trajectoryName);
    keys.Label("strMoveJoint", "Articulaire synchronisé", &s.moveJoint);
    keys.Label("strMoveLinear", "Linéaire", &s.moveLinear);
    keys.Label("strSpeedOverride", "Vitesse (%)", &s.speedOverride);
    keys.Label("strMoveToPose", "Aller à la pose", &s.moveToPose);
    keys.Label("strCheckMove", "Vérifier", &s.checkMove);
    keys.Label("strConfigurationsName", "Configurations de la pose", &s.configurationsName);
    keys.Label("strCurvesName", "Courbes", &s.curvesName);
    keys.Label("strControlName", "Control", &s.controlName);
    keys.Label("strRealTime", "RT", &s.realTime);
    keys.Label("strRealTimeButton", "GO", &s.realTimeButton);
    keys.Label("strImmediateMode", "IM", &s.immediateMode);
    keys.Label("strMGDCalculus", "MGDC", &s.mgdCalculus);
    keys.Label("strMGICalculus", "MGIC", &s.mgiCalculus);
    keys.Label("strTeachPose", "Apprendre la pose (F8)", &s.teachPose);
    keys.Label("strGraphName", "Control", &s.displayName);
    for (const DisplaySwitch& sw : kDisplaySwitches)
        keys.Label(sw.labelKey, sw.defaultLabel, &s.switchLabel[static_cast<int>(sw.flag)]);
    for (const DisplaySwitch& sw : kDisplaySwitches)
        if (sw.startKey)
            keys.Bool(sw.startKey, sw.initial, &s.startDisplay[sw.flag]);
    keys.Label("strArmStateName", "Bras", &s.armStateName);
    keys.Label("strCellName", "Cellule", &s.cellName);
}
