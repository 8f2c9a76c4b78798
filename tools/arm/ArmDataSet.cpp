#include "tools/arm/ArmDataSet.h"

#include "base/Log.h"
#include "arm/ArmDescription.h"
#include "collision/AlwaysTouching.h"
#include "dataset/AlwaysTouchingPairs.h"
#include "dataset/DataSet.h"
#include "tools/arm/ChainCheck.h"
#include "tools/arm/InputFile.h"
#include "tools/arm/ModelFrames.h"
#include "tools/arm/OptionText.h"
#include "tools/arm/StartPose.h"

#include <algorithm>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const double kDegreesPerRadian = 180.0 / M_PI;
const int kCheckSamples = 1000;

// Accelerations a description does not give: full speed in half a second.
const double kAccelPerSpeed = 2.0;
// The pace of lines and arcs (pose units, degrees per second).
const double kLinearSpeed = 250.0, kLinearAccel = 1000.0, kAngularSpeed = 90.0;
// A speed the description leaves at 0 (none given).
const double kDefaultSpeed = 90.0;

double Degrees(double radians)
{
    return radians * kDegreesPerRadian;
}

double Speed(const SerialJoint& joint)
{
    return joint.velocity > 0.0 ? Degrees(joint.velocity) : kDefaultSpeed;
}

// 0 when the limits allow it, else the middle of the range.
// The largest file a template may hand over (its textures and meshes are a
// few megabytes at most).
constexpr std::size_t kMaxTemplateFileBytes = 256 << 20;

std::string Join(const std::string& directory, const std::string& file)
{
    return directory + "/" + file;
}

// A new file, never one that was there ("x": it must not exist): the
// clean-up of a failed attempt removes only what this made.
bool WriteBytes(const std::string& path, const std::string& bytes)
{
    FILE* file = std::fopen(path.c_str(), "wbx");
    if (!file) {
        LogError("WriteArmDataSet -- Impossible de créer %s : %s", path.c_str(), std::strerror(errno));
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    // A full disk may only show at the close.
    if (std::fclose(file) != 0 || !written) {
        LogError("WriteArmDataSet -- Écriture impossible de %s : %s", path.c_str(), std::strerror(errno));
        return false;
    }
    return true;
}

bool CopyFile(const std::string& from, const std::string& to)
{
    std::string bytes;
    return ReadInputFile(from, kMaxTemplateFileBytes, "WriteArmDataSet", &bytes) && WriteBytes(to, bytes);
}

// The files the data set writes of its own.
std::vector<std::string> OwnFiles()
{
    std::vector<std::string> files = {"robot.opt", "glui.opt"};
    for (int link = 0; link < kLinkCount; ++link)
        files.push_back(LinkMeshFile(link));
    return files;
}

// A file the template's options name, copied from the template into the
// data set: a plain name, so that it is read inside the template and
// written inside the data set, and none of the data set's own.
bool TemplateFileName(const std::string& key, const std::string& name)
{
    const bool plain =
        !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
        std::none_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
    const std::vector<std::string> own = OwnFiles();
    const char* why = !plain ? "un fichier du modèle est nommé sans répertoire"
                      : std::find(own.begin(), own.end(), name) != own.end()
                          ? "ce nom est celui d'un fichier que kalimbrax-arm écrit"
                          : nullptr;
    if (why)
        LogError("WriteArmDataSet -- %s = « %s » : %s", key.c_str(), name.c_str(), why);
    return !why;
}

std::string RobotOptions(const ArmDataSet& arm, const std::string& texture, const CLinkPairs& alwaysTouching)
{
    const ArmLengths& l = arm.fit.lengths;
    COptionText w("/*\n"
                  " * robot.opt -- " +
                  CommentText(arm.source) +
                  ".\n"
                  " *\n"
                  " * Les angles affichés et saisis sont ceux du bras (sa description, la\n"
                  " * convention du constructeur) ; les modèles tournent chaque articulation\n"
                  " * de zéro + sens x angle. Les poses sont celles de la bride (fTool*, dans\n"
                  " * le repère de la main des modèles, qui a son origine au centre du poignet).\n"
                  " * Longueurs des modèles (unités de pose = mm) : h = " +
                  OptionReal(l.h, 3) + ", a2 = " + OptionReal(l.a2, 3) + ", a3 = " + OptionReal(l.a3, 3) +
                  ", e = " + OptionReal(l.e, 3) + ", d = " + OptionReal(l.d, 3) +
                  ".\n"
                  " */\n\n");
    w.Comment("Vitesses maximales (degrés par seconde), celles de la description");
    for (int j = 0; j < kJointCount; ++j)
        w.Real(JointKey("fAngle", j, "MaxSpeed"), Speed(arm.chain.joints[j]));
    w.Blank();
    w.Text("strTextureFileName", texture);
    w.Bool("bMGIExact", true);
    w.Blank();
    w.Comment("Segments : maillages placés dans le repère où le simulateur dessine chacun");
    w.Comment("et leurs couleurs (sans couleur : la texture), décalages (unités de scène)");
    for (int link = 0; link < kLinkCount; ++link) {
        w.Text(LinkKey("str", link, "FileObj"), LinkMeshFile(link));
        if (!arm.colour[link].empty())
            w.Text(LinkKey("str", link, "Color"), arm.colour[link]);
    }
    // The offsets the models assume, in scene units (pose units / 100); the
    // wrist and the hand add nothing: their meshes carry their own place.
    const double offsets[kLinkCount][3] = {{0, 0, l.h},       {l.a2, 0, 0}, {l.a3, 0, 0}, {l.e, -l.e, 0},
                                           {0, 0, l.d - l.e}, {0, 0, 0},    {0, 0, 0}};
    static const char* const axes[3] = {"SizeX", "SizeY", "SizeZ"};
    for (int link = 0; link < kLinkCount; ++link)
        for (int k = 0; k < 3; ++k)
            w.Real(LinkKey("f", link, axes[k]), offsets[link][k] / 100.0);
    w.Blank();
    w.Comment("Numérotation des angles : angle des modèles = zéro + sens x angle du bras");
    for (int j = 0; j < kJointCount; ++j) {
        w.Real(JointKey("fAngle", j, "Zero"), arm.fit.zero[j]);
        w.Int(JointKey("iAngle", j, "Sense"), arm.fit.sense[j]);
    }
    w.Comment("La bride dans le repère de la main (unités de pose, degrés)");
    double r[3][3];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r[i][j] = arm.fit.tool.M(i, j);
    ToolPose tool{0, 0, 0, 0, 0, 0};
    RotationToPose(r, &tool);
    w.Real("fToolX", arm.fit.tool.p.x(), 5);
    w.Real("fToolY", arm.fit.tool.p.y(), 5);
    w.Real("fToolZ", arm.fit.tool.p.z(), 5);
    w.Real("fToolAlpha", tool.alpha);
    w.Real("fToolBeta", tool.beta);
    w.Real("fToolGamma", tool.gamma);
    w.Comment("Le poignet dessiné comme le tourne le MGD : la main dessinée est celle de la pose");
    w.Bool("bWristAsModel", true);
    w.Blank();
    w.Comment("Mouvements planifiés : accélérations (pleine vitesse en une demi-seconde),");
    w.Comment("vitesse et accélération le long des lignes et des arcs, rotation de la main");
    for (int j = 0; j < kJointCount; ++j)
        w.Real(JointKey("fAngle", j, "MaxAccel"), kAccelPerSpeed * Speed(arm.chain.joints[j]));
    w.Real("fLinearSpeed", kLinearSpeed);
    w.Real("fLinearAccel", kLinearAccel);
    w.Real("fAngularSpeed", kAngularSpeed);
    w.Blank();
    w.Comment("Paires de segments en contact à chacun des " + std::to_string(kAlwaysTouchingSamples) +
              " jeux d'angles tirés dans les");
    w.Comment("limites, jamais vérifiées (vide : toutes les paires sauf les voisins)");
    w.Text("strAlwaysTouching", FormatLinkPairs(alwaysTouching));
    return w.Bytes();
}

// The template's panel labels, with the arm's joint names, limits and
// start angles in place of its own.
std::string PanelOptions(const ArmDataSet& arm, const COptions* model)
{
    COptionText w("/*\n"
                  " * glui.opt -- panneau de commande pour " +
                  CommentText(arm.source) +
                  ".\n"
                  " * Bornes et angles de départ dans les angles du bras (degrés).\n"
                  " */\n\n");
    std::vector<std::pair<std::string, std::string>> names;
    std::vector<std::pair<std::string, double>> numbers;
    const std::array<double, kArmJoints> start = StartAngles(arm.chain, arm.fit);
    for (int j = 0; j < kJointCount; ++j) {
        const SerialJoint& joint = arm.chain.joints[j];
        names.push_back({JointKey("strAngle", j, "Name"), LabelText(joint.name)});
        numbers.push_back({JointKey("fAngle", j, "MinValue"), Degrees(joint.lower)});
        numbers.push_back({JointKey("fAngle", j, "MaxValue"), Degrees(joint.upper)});
        numbers.push_back({JointKey("fAngle", j, "StartValue"), start[j]});
    }
    if (model)
        for (const COptionEntry& entry : model->m_Entries) {
            bool ours = false;
            for (const auto& [key, value] : names)
                ours = ours || key == entry.name;
            for (const auto& [key, value] : numbers)
                ours = ours || key == entry.name;
            if (!ours)
                w.Entry(entry);
        }
    w.Blank();
    w.Comment("Articulations du bras");
    for (const auto& [key, value] : names)
        w.Text(key, value);
    for (const auto& [key, value] : numbers)
        w.Real(key, value);
    return w.Bytes();
}

// Removes what a failed attempt wrote, and the folder.
void RemoveDirectory(const std::string& directory, const std::vector<std::string>& files)
{
    for (const std::string& file : files)
        std::remove(Join(directory, file).c_str());
    rmdir(directory.c_str());
}

}  // namespace

void BakeFrames(const SerialArm& chain, const ArmFit& fit, KDL::Frame bake[kLinkCount])
{
    const double q0[kArmJoints] = {0, 0, 0, 0, 0, 0};
    ArmLengths metres = fit.lengths;
    for (double* l : {&metres.h, &metres.a2, &metres.a3, &metres.e, &metres.d})
        *l /= 1000.0;
    const ModelFrames frames = ComposeModel(metres, fit.zero);
    for (int link = 0; link < kLinkCount; ++link)
        bake[link] = chain.LinkFrame(link, q0).Inverse() * frames.link[link];
}

std::string DefaultTemplateDirectory()
{
    return KX_SOURCE_DIR "/default";
}

bool WriteArmDataSet(const ArmDataSet& arm, const std::string& directory, const std::string& templateDirectory)
{
    struct stat info;
    if (stat(directory.c_str(), &info) == 0) {
        LogError("WriteArmDataSet -- %s existe déjà : choisissez un répertoire qui n'existe pas encore",
                 directory.c_str());
        return false;
    }
    std::string temporary = directory + ".tmp-XXXXXX";
    if (!mkdtemp(&temporary[0])) {
        LogError("WriteArmDataSet -- Impossible de créer un répertoire temporaire à côté de %s : %s", directory.c_str(),
                 std::strerror(errno));
        return false;
    }
    // Plain names only (TemplateFileName), in a folder made here: the
    // clean-up removes nothing it did not make.
    std::vector<std::string> written;
    auto fail = [&]() {
        RemoveDirectory(temporary, written);
        return false;
    };

    // The template's window, scenery and texture, as they are.
    const DataSet templateSet = LoadDataSet(templateDirectory);
    const COptions* decor = templateSet.Options("decor.opt");
    const COptions* robot = templateSet.Options("robot.opt");
    const std::string texture = robot ? robot->GetString("strTextureFileName", "metal.tga") : "metal.tga";
    std::vector<std::pair<std::string, std::string>> named = {{"strTextureFileName", texture}};
    static const char* const decorFiles[4][2] = {{"strGroundFileObj", "ground.obj"},
                                                 {"strSkyDomeFileObj", "skydome.obj"},
                                                 {"strGroundTextFileName", "ground.tga"},
                                                 {"strSkyDomeTextFileName", "skydome.tga"}};
    for (const auto& [key, fallback] : decorFiles)
        named.push_back({key, decor ? decor->GetString(key, fallback) : fallback});
    std::vector<std::string> copied = {"graphics.opt", "decor.opt"};
    for (const auto& [key, file] : named) {
        if (!TemplateFileName(key, file))
            return fail();
        if (std::find(copied.begin(), copied.end(), file) == copied.end())  // ground and sky may share one
            copied.push_back(file);
    }
    for (const std::string& file : copied) {
        written.push_back(file);
        if (!CopyFile(Join(templateDirectory, file), Join(temporary, file)))
            return fail();
    }

    const COptions* panel = templateSet.Options("glui.opt");
    for (const auto& [file, bytes] :
         {std::pair<std::string, std::string>{"robot.opt", RobotOptions(arm, texture, CLinkPairs())},
          {"glui.opt", PanelOptions(arm, panel)}}) {
        written.push_back(file);
        if (!WriteBytes(Join(temporary, file), bytes))
            return fail();
    }
    for (int link = 0; link < kLinkCount; ++link) {
        written.push_back(LinkMeshFile(link));
        if (!SaveMesh(Join(temporary, LinkMeshFile(link)).c_str(), arm.mesh[link]))
            return fail();
    }

    // The pairs that always touch, found on what was just written (the
    // meshes, or the cylinders standing in for missing ones, in the arm's
    // own angles and limits), then robot.opt again with them.
    CLinkPairs alwaysTouching;
    std::string reason;
    if (!FindDataSetAlwaysTouching(temporary, &alwaysTouching, &reason)) {
        LogError("WriteArmDataSet -- %s", reason.c_str());
        return fail();
    }
    const std::string robotFile = Join(temporary, "robot.opt");
    if (std::remove(robotFile.c_str()) != 0) {
        LogError("WriteArmDataSet -- Impossible de remplacer %s : %s", robotFile.c_str(), std::strerror(errno));
        return fail();
    }
    if (!WriteBytes(robotFile, RobotOptions(arm, texture, alwaysTouching)))
        return fail();

    // What the simulator will read, against the arm.
    const DataSet result = LoadDataSet(temporary);
    for (const std::string& record : result.records)
        LogError("%s", record.c_str());
    if (!result.arm || !CheckAgainstChain(arm.chain, *result.arm, arm.bake, kCheckSamples))
        return fail();
    if (std::rename(temporary.c_str(), directory.c_str()) != 0) {
        LogError("WriteArmDataSet -- Impossible de renommer %s en %s : %s", temporary.c_str(), directory.c_str(),
                 std::strerror(errno));
        return fail();
    }
    return true;
}
