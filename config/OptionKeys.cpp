#include "config/OptionKeys.h"

#include <cstdio>
#include <cstring>
#include <strings.h>

namespace {

constexpr OptionKey Int(const char* name, int value)
{
    return {name, OptionLookup::Integer, double(value), false, nullptr};
}
constexpr OptionKey Float(const char* name, double value)
{
    return {name, OptionLookup::Float, value, false, nullptr};
}
constexpr OptionKey Double(const char* name, double value)
{
    return {name, OptionLookup::Double, value, false, nullptr};
}
constexpr OptionKey Bool(const char* name, bool value)
{
    return {name, OptionLookup::Boolean, 0.0, value, nullptr};
}
constexpr OptionKey Text(const char* name, const char* value)
{
    return {name, OptionLookup::Text, 0.0, false, value};
}

const OptionKey kGraphicsKeys[] = {
    Int("iScreenWidth", 800),    Int("iScreenHeight", 600),
    Double("dScreenFOV", -45.0),  // negative on purpose: the projection expects it
    Int("iWindowPosY", -1),      Int("iWindowPosX", -1),
    Bool("bDoubleBuffer", true), Text("sWindowName", "Kalimbrax ver 0.alpha"),
    Bool("bFullScreen", false),  Bool("bSmoothAndNice", true),
};

const OptionKey kGluiKeys[] = {
    Text("strGLUIWindowName", "Kalimbrax Controls"),
    Float("fAngle12StartValue", 0.0),
    Float("fAngle23StartValue", 0.0),
    Float("fAngle34StartValue", 0.0),
    Float("fAngle45StartValue", 0.0),
    Float("fAngle56StartValue", 0.0),
    Float("fAngle67StartValue", 0.0),
    Text("strMGDName", "MGD"),
    Text("strAngle12Name", "A12"),
    Text("strAngle23Name", "A23"),
    Text("strAngle34Name", "A34"),
    Text("strAngle45Name", "A45"),
    Text("strAngle56Name", "A56"),
    Text("strAngle67Name", "A67"),
    Float("fAngle12MaxValue", 360.0),
    Float("fAngle23MaxValue", 360.0),
    Float("fAngle34MaxValue", 360.0),
    Float("fAngle45MaxValue", 360.0),
    Float("fAngle56MaxValue", 360.0),
    Float("fAngle67MaxValue", 360.0),
    Float("fAngle12MinValue", 0.0),
    Float("fAngle23MinValue", 0.0),
    Float("fAngle34MinValue", 0.0),
    Float("fAngle45MinValue", 0.0),
    Float("fAngle56MinValue", 0.0),
    Float("fAngle67MinValue", 0.0),
    Text("strMGIName", "MGI"),
    Text("strXAxisName", "X"),
    Text("strYAxisName", "Y"),
    Text("strZAxisName", "Z"),
    Text("strAlphaName", "A"),
    Text("strBetaName", "B"),
    Text("strGammaName", "C"),
    Text("strControlName", "Control"),
    Text("strRealTime", "RT"),
    Text("strRealTimeButton", "GO"),
    Text("strImmediateMode", "IM"),
    Text("strMGDCalculus", "MGDC"),
    Text("strMGICalculus", "MGIC"),
    Text("strGraphName", "Control"),
    Text("strWireFrameMode", "WF"),
    Text("strDecoration", "DC"),
    Text("strReflect", "RF"),
    Text("strShadows", "SH"),
    Text("strMetalLook", "SM"),
    Text("strAxes", "Repères"),
    Text("strArmStateName", "Bras"),
};

const OptionKey kDecorKeys[] = {
    Text("strGroundFileObj", "ground.obj"),
    Text("strSkyDomeFileObj", "skydome.obj"),
    Text("strGroundTextFileName", "ground.tga"),
    Text("strSkyDomeTextFileName", "skydome.tga"),
};

const OptionKey kRobotKeys[] = {
    Float("fAngle12MaxSpeed", 1.0),
    Float("fAngle23MaxSpeed", 1.0),
    Float("fAngle34MaxSpeed", 1.0),
    Float("fAngle45MaxSpeed", 1.0),
    Float("fAngle56MaxSpeed", 1.0),
    Float("fAngle67MaxSpeed", 1.0),
    Text("strTextureFileName", "metal.tga"),
    Text("strBodyFileObj", "robotbody.obj"),
    Text("strShoulderFileObj", "robotshoulder.obj"),
    Text("strUpperArmFileObj", "robotupperarm.obj"),
    Text("strElbowFileObj", "robotelbow.obj"),
    Text("strLowerArmFileObj", "robotlowerarm.obj"),
    Text("strWristFileObj", "robotwrist.obj"),
    Text("strHandFileObj", "robothand.obj"),
    Float("fBodySizeX", 0.0),
    Float("fBodySizeY", 0.0),
    Float("fBodySizeZ", 0.0),
    Float("fShoulderSizeX", 0.0),
    Float("fShoulderSizeY", 0.0),
    Float("fShoulderSizeZ", 0.0),
    Float("fUpperArmSizeX", 0.0),
    Float("fUpperArmSizeY", 0.0),
    Float("fUpperArmSizeZ", 0.0),
    Float("fElbowSizeX", 0.0),
    Float("fElbowSizeY", 0.0),
    Float("fElbowSizeZ", 0.0),
    Float("fLowerArmSizeX", 0.0),
    Float("fLowerArmSizeY", 0.0),
    Float("fLowerArmSizeZ", 0.0),
    Float("fWristSizeX", 0.0),
    Float("fWristSizeY", 0.0),
    Float("fWristSizeZ", 0.0),
    Float("fHandSizeX", 0.0),
    Float("fHandSizeY", 0.0),
    Float("fHandSizeZ", 0.0),
    Bool("bMGIExact", false),
};

template <int N>
constexpr int Count(const OptionKey (&)[N])
{
    return N;
}

}  // namespace

const OptionFile kOptionFiles[kOptionFileCount] = {
    {"graphics.opt", kGraphicsKeys, Count(kGraphicsKeys), true},
    {"glui.opt", kGluiKeys, Count(kGluiKeys), false},
    {"decor.opt", kDecorKeys, Count(kDecorKeys), true},
    {"robot.opt", kRobotKeys, Count(kRobotKeys), true},
};

const OptionFile* FindOptionFile(const char* fileName)
{
    if (!fileName)
        return nullptr;
    for (const OptionFile& file : kOptionFiles)
        if (strcasecmp(file.fileName, fileName) == 0)
            return &file;
    return nullptr;
}

const OptionKey* FindOptionKey(const OptionFile& file, const char* name)
{
    if (!name)
        return nullptr;
    for (int i = 0; i < file.keyCount; ++i)
        if (std::strcmp(file.keys[i].name, name) == 0)
            return &file.keys[i];
    return nullptr;
}

const char* OptionLookupName(OptionLookup lookup)
{
    switch (lookup) {
    case OptionLookup::Integer:
        return "entier";
    case OptionLookup::Float:
    case OptionLookup::Double:
        return "réel";
    case OptionLookup::Boolean:
        return "booléen";
    case OptionLookup::Text:
        return "texte";
    }
    return "?";
}

void FormatOptionDefault(const OptionKey& key, char* out, int size)
{
    if (!out || size <= 0)
        return;
    switch (key.lookup) {
    case OptionLookup::Integer:
        std::snprintf(out, size, "%d", static_cast<int>(key.number));
        break;
    case OptionLookup::Float:
    case OptionLookup::Double:
        // Always with a point, as a real value is best written.
        std::snprintf(out, size, "%.1f", key.number);
        break;
    case OptionLookup::Boolean:
        std::snprintf(out, size, "%s", key.flag ? "true" : "false");
        break;
    case OptionLookup::Text:
        std::snprintf(out, size, "\"%s\"", key.text ? key.text : "");
        break;
    }
}
