#include "tools/datagen/DataSet.h"

#include "base/Cp1252.h"
#include "base/Log.h"
#include "config/OptionKeys.h"
#include "dataset/AlwaysTouchingPairs.h"
#include "dataset/PanelSettings.h"
#include "formats/MeshFormat.h"
#include "formats/TgaImage.h"
#include "sim/DisplaySwitches.h"
#include "tools/datagen/ArmModel.h"
#include "tools/datagen/Scenery.h"
#include "tools/datagen/Textures.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>

namespace datagen {

namespace {

// The spinners' limits either way, degrees (glui.opt).
constexpr double kSpinnerLimit = 180.0;

// Accumulates "name = value;" statements, one per line, aligned, in the
// option files' Windows-1252: what is given in UTF-8 (this source's
// comments, texts and labels) is encoded as it comes, a declared default
// is written as FormatOptionDefault writes it.
class OptionWriter {
public:
    explicit OptionWriter(const char* header) : m_Bytes(Utf8ToCp1252(header)) {}
    void Blank() { m_Bytes += "\n"; }
    void Comment(const std::string& text) { m_Bytes += Utf8ToCp1252("// " + text + "\n"); }
    void Real(const std::string& name, double value) { Statement(name, FormatReal(value)); }
    void Int(const std::string& name, int value) { Statement(name, std::to_string(value)); }
    void Bool(const std::string& name, bool value) { Statement(name, value ? "true" : "false"); }
    void Text(const std::string& name, const std::string& value) { Statement(name, "\"" + Utf8ToCp1252(value) + "\""); }
    void Default(const OptionKey& key) { Statement(key.name, FormatOptionDefault(key)); }
    const std::string& Bytes() const { return m_Bytes; }

private:
    void Statement(const std::string& name, const std::string& value)
    {
        std::string line = name;
        if (line.size() < 24)
            line.append(24 - line.size(), ' ');
        m_Bytes += line + "= " + value + ";\n";
    }
    std::string m_Bytes;
};

std::string GraphicsOptions()
{
    OptionWriter w("/*\n"
                   " * graphics.opt -- fenêtre graphique de Kalimbrax.\n"
                   " *\n"
                   " * Une instruction par clé : nom = valeur ;\n"
                   " * Les réels s'écrivent avec un point décimal (45.0, pas 45).\n"
                   " * Le champ de vision négatif est voulu : avec le vecteur « haut » de la\n"
                   " * caméra de départ, il montre le sol en bas de l'écran.\n"
                   " * Une position de fenêtre de -1 laisse GLUT placer la fenêtre.\n"
                   " */\n\n");
    w.Int("iScreenWidth", 800);
    w.Int("iScreenHeight", 600);
    w.Real("dScreenFOV", -45.0);
    w.Int("iWindowPosX", -1);
    w.Int("iWindowPosY", -1);
    w.Bool("bDoubleBuffer", true);
    w.Text("sWindowName", "Kalimbrax");
    w.Bool("bFullScreen", false);
    w.Bool("bSmoothAndNice", true);
    return w.Bytes();
}

// The panel's labels are its declared defaults (DeclarePanelKeys), written
// as Default; where the default data set names its controls at more length
// than the short names the panel falls back on, its own words, as Text.
std::string GluiOptions()
{
    std::map<std::string, OptionKey> keys;
    for (const OptionKey& key : DeclaredKeys(DeclarePanelKeys))
        keys.emplace(key.name, key);
    const auto declared = [&keys](const std::string& name) -> const OptionKey& { return keys.at(name); };
    OptionWriter w("/*\n"
                   " * glui.opt -- panneau de commande de Kalimbrax.\n"
                   " *\n"
                   " * Textes des commandes (en Windows-1252), bornes des six molettes\n"
                   " * d'angles (en degrés) et angles de départ du bras. Les bornes\n"
                   " * -180 / 180 couvrent tout ce que le MGI peut proposer.\n"
                   " * Les réels s'écrivent avec un point décimal.\n"
                   " */\n\n");
    w.Text("strGLUIWindowName", "Kalimbrax - Commandes");
    w.Blank();
    w.Comment("Angles articulaires (MGD)");
    w.Text("strMGDName", "Angles articulaires (MGD)");
    static const char* const names[kJointCount] = {
        "A12 base", "A23 épaule", "A34 coude", "A45 avant-bras", "A56 poignet", "A67 main",
    };
    for (int i = 0; i < kJointCount; ++i)
        w.Text(JointKey("strAngle", i, "Name"), names[i]);
    for (int i = 0; i < kJointCount; ++i) {
        w.Real(JointKey("fAngle", i, "MinValue"), -kSpinnerLimit);
        w.Real(JointKey("fAngle", i, "MaxValue"), kSpinnerLimit);
    }
    w.Blank();
    w.Comment("Pose de départ : bras levé, avant-bras incliné, pince vers le sol");
    const std::array<double, kJointCount> start = StartAngles();
    for (int i = 0; i < kJointCount; ++i)
        w.Real(JointKey("fAngle", i, "StartValue"), start[i]);
    w.Blank();
    w.Comment("Déplacement manuel et points appris");
    for (const char* name :
         {"strJogName", "strJogJoints", "strJogBase", "strJogTool", "strJogFrame", "strJogContinuous",
          "strJogStepTenth", "strJogStepOne", "strJogStepTen", "strPointsName", "strStorePoint"})
        w.Default(declared(name));
    w.Blank();
    w.Comment("Position de l'outil (MGI), en centièmes d'unité de scène");
    w.Text("strMGIName", "Position de l'outil (MGI)");
    for (const char* name : {"strXAxisName", "strYAxisName", "strZAxisName"})
        w.Default(declared(name));
    w.Text("strAlphaName", "Alpha");
    w.Text("strBetaName", "Bêta");
    w.Text("strGammaName", "Gamma");
    w.Blank();
    w.Comment("Mouvements planifiés et configurations de la pose");
    for (const char* name : {"strTrajectoryName", "strMoveJoint", "strMoveLinear", "strSpeedOverride", "strMoveToPose",
                             "strCheckMove", "strConfigurationsName", "strCurvesName"})
        w.Default(declared(name));
    w.Blank();
    w.Comment("Commande du mouvement");
    w.Text("strControlName", "Commande");
    w.Text("strRealTime", "Temps réel");
    w.Text("strRealTimeButton", "Démarrer");
    w.Text("strImmediateMode", "Mode immédiat");
    w.Text("strMGDCalculus", "Calcul MGD");
    w.Text("strMGICalculus", "Calcul MGI");
    w.Default(declared("strTeachPose"));
    w.Blank();
    w.Comment("Affichage");
    w.Text("strGraphName", "Affichage");
    // The switches whose declared label is a code of two letters.
    const std::map<DisplayFlag, const char*> switchWords = {
        {DisplayFlag::WireFrame, "Fil de fer"},   {DisplayFlag::Decoration, "Décor"},
        {DisplayFlag::Reflect, "Reflet"},         {DisplayFlag::Shadows, "Ombres"},
        {DisplayFlag::MetalLook, "Aspect métal"},
    };
    for (const DisplaySwitch& display : kDisplaySwitches) {
        const auto own = switchWords.find(display.flag);
        if (own != switchWords.end())
            w.Text(display.labelKey, own->second);
        else
            w.Default(declared(display.labelKey));
    }
    // The switches whose state at start the data set gives: the default one
    // shows collisions, not the work frames nor the taught points.
    const std::map<DisplayFlag, bool> startStates = {
        {DisplayFlag::Collisions, true}, {DisplayFlag::Frames, false}, {DisplayFlag::Points, false}};
    for (const DisplaySwitch& display : kDisplaySwitches)
        if (display.startKey)
            w.Bool(display.startKey, startStates.at(display.flag));
    w.Blank();
    w.Comment("Relevé de la position du bras");
    w.Default(declared("strArmStateName"));
    w.Blank();
    w.Comment("Objets de la cellule du bras");
    w.Default(declared("strCellName"));
    return w.Bytes();
}

std::string DecorOptions()
{
    OptionWriter w("/*\n"
                   " * decor.opt -- décor de Kalimbrax : maillages et textures du sol et\n"
                   " * du ciel. Le sol est un disque à z = -0.01 (sous la grille) qui dépasse\n"
                   " * le bord du dôme ; le dôme est une demi-sphère de rayon 65.\n"
                   " */\n\n");
    w.Text("strGroundFileObj", "ground.obj");
    w.Text("strSkyDomeFileObj", "skydome.obj");
    w.Text("strGroundTextFileName", "ground.tga");
    w.Text("strSkyDomeTextFileName", "skydome.tga");
    return w.Bytes();
}

std::string RobotOptions(const CLinkPairs& alwaysTouching)
{
    const ArmLengths& arm = DefaultArmLengths();
    OptionWriter w("/*\n"
                   " * robot.opt -- bras de Kalimbrax.\n"
                   " *\n"
                   " * Vitesses maximales des six articulations (degrés par seconde), texture,\n"
                   " * maillages des sept segments et décalage (x, y, z) de chacun, en unités\n"
                   " * de scène. Les modèles géométriques lisent cinq de ces décalages (x 100) :\n"
                   " *   h  = fBodySizeZ        a2 = fShoulderSizeX    a3 = fUpperArmSizeX\n"
                   " *   e  = |fElbowSizeY|     d  = fLowerArmSizeZ + e\n"
                   " * Le coude doit valoir (e, -e, 0) et les autres décalages du corps à\n"
                   " * l'avant-bras 0, sinon le bras dessiné s'écarte du MGD.\n"
                   " * fWristSizeY est la longueur du poignet ; fHandSizeZ marque le bout de la\n"
                   " * pince et ne déplace rien.\n"
                   " */\n\n");
    w.Comment("Vitesses maximales (degrés par seconde)");
    static const double speeds[kJointCount] = {60.0, 50.0, 60.0, 90.0, 90.0, 120.0};
    for (int i = 0; i < kJointCount; ++i)
        w.Real(JointKey("fAngle", i, "MaxSpeed"), speeds[i]);
    w.Blank();
    w.Text("strTextureFileName", "metal.tga");
    w.Blank();
    w.Comment("Modèle inverse (MGI) exact : la configuration la plus proche du bras");
    w.Comment("(false : recherche sur grille d'un degré)");
    w.Bool("bMGIExact", true);
    w.Blank();
    for (int i = 0; i < kLinkCount; ++i)
        w.Text(LinkKey("str", i, "FileObj"), LinkMeshFile(i));
    const std::array<Vec3, kLinkCount> offsets = LinkOffsets(arm);
    for (int i = 0; i < kLinkCount; ++i) {
        w.Blank();
        w.Real(LinkKey("f", i, "SizeX"), offsets[i].x);
        w.Real(LinkKey("f", i, "SizeY"), offsets[i].y);
        w.Real(LinkKey("f", i, "SizeZ"), offsets[i].z);
    }
    w.Blank();
    w.Comment("Mouvements planifiés (movej, movel, movec) : accélérations maximales des");
    w.Comment("articulations (degrés par seconde carrée), vitesse et accélération le long");
    w.Comment("des lignes et des arcs (unités de pose par seconde, par seconde carrée),");
    w.Comment("vitesse de rotation de la main (degrés par seconde)");
    static const double accelerations[kJointCount] = {120.0, 100.0, 120.0, 180.0, 180.0, 240.0};
    for (int i = 0; i < kJointCount; ++i)
        w.Real(JointKey("fAngle", i, "MaxAccel"), accelerations[i]);
    w.Real("fLinearSpeed", 200.0);
    w.Real("fLinearAccel", 400.0);
    w.Real("fAngularSpeed", 60.0);
    w.Comment("Déplacement manuel continu (bouton maintenu) : part de ces vitesses et de");
    w.Comment("celles des articulations (pour cent)");
    w.Real("fJogSpeed", 25.0);
    w.Blank();
    w.Comment("Numérotation des angles (angle des modèles = zéro + sens x angle affiché),");
    w.Comment("point outil dans le repère de la main (unités de pose) et son orientation");
    w.Comment("(alpha, bêta, gamma) : ici les angles et la pose des modèles eux-mêmes");
    for (int i = 0; i < kJointCount; ++i) {
        w.Real(JointKey("fAngle", i, "Zero"), 0.0);
        w.Int(JointKey("iAngle", i, "Sense"), 1);
    }
    for (const char* key : {"fToolX", "fToolY", "fToolZ", "fToolAlpha", "fToolBeta", "fToolGamma"})
        w.Real(key, 0.0);
    w.Comment("Le poignet dessiné comme le tourne le MGD (un bras importé)");
    w.Bool("bWristAsModel", false);
    w.Comment("Paires de segments en contact à toute pose, jamais vérifiées (calculées");
    w.Comment("par le générateur sur 10 000 jeux d'angles ; vide : toutes sauf les voisins)");
    w.Text("strAlwaysTouching", FormatLinkPairs(alwaysTouching));
    w.Comment("Le mouvement vers les cibles s'arrête à son premier contact (sinon il est montré)");
    w.Bool("bStopOnCollision", false);
    return w.Bytes();
}

bool WriteBytes(const std::string& path, const std::string& bytes)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        LogError("WriteDataSet -- Impossible de créer le fichier %s", path.c_str());
        return false;
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !ok) {
        LogError("WriteDataSet -- Erreur à l'écriture du fichier %s", path.c_str());
        return false;
    }
    return true;
}

bool WriteImage(const std::string& path, const RgbImage& image)
{
    CTgaImage tga;
    tga.width = static_cast<std::uint16_t>(image.width);
    tga.height = static_cast<std::uint16_t>(image.height);
    tga.bitsPerPixel = 24;
    tga.pixels.reset(new unsigned char[image.rgb.size()]);
    std::memcpy(tga.pixels.get(), image.rgb.data(), image.rgb.size());
    if (!CTgaImage::TgaImageSave(path.c_str(), &tga)) {
        LogError("WriteDataSet -- Impossible de créer le fichier %s", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

std::string FormatReal(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.4f", value + 0.0);  // + 0.0: no "-0.0000"
    std::string text = buffer;
    while (text.size() > 2 && text.back() == '0' && text[text.size() - 2] != '.')
        text.pop_back();
    if (text == "-0.0")
        text = "0.0";
    return text;
}

std::vector<TextFile> BuildOptionFiles(const CLinkPairs& alwaysTouching)
{
    return {
        {"graphics.opt", GraphicsOptions()},
        {"glui.opt", GluiOptions()},
        {"decor.opt", DecorOptions()},
        {"robot.opt", RobotOptions(alwaysTouching)},
    };
}

std::vector<std::string> DataSetFileNames()
{
    std::vector<std::string> names;
    for (const TextFile& f : BuildOptionFiles(CLinkPairs()))
        names.push_back(f.name);
    names.insert(names.end(), {"ground.obj", "skydome.obj"});
    for (int link = 0; link < kLinkCount; ++link)
        names.push_back(LinkMeshFile(link));
    names.insert(names.end(), {"ground.tga", "skydome.tga", "metal.tga"});
    return names;
}

bool WriteDataSet(const std::string& directory)
{
    const std::string dir = directory.empty() || directory.back() == '/' ? directory : directory + "/";
    for (const TextFile& f : BuildOptionFiles(CLinkPairs()))
        if (!WriteBytes(dir + f.name, f.bytes))
            return false;
    if (!SaveMesh((dir + "ground.obj").c_str(), BuildGround()) ||
        !SaveMesh((dir + "skydome.obj").c_str(), BuildSkyDome()))
        return false;
    const std::array<MeshData, kLinkCount> links = BuildArmMeshes(DefaultArmLengths());
    for (int i = 0; i < kLinkCount; ++i)
        if (!SaveMesh((dir + LinkMeshFile(i)).c_str(), links[i]))
            return false;
    if (!WriteImage(dir + "ground.tga", BuildGroundTexture()) || !WriteImage(dir + "skydome.tga", BuildSkyTexture()) ||
        !WriteImage(dir + "metal.tga", BuildMetalTexture()))
        return false;
    // The pairs that always touch, found on the data set as written (its
    // meshes, offsets and the spinners' limits, as the program reads them),
    // and robot.opt again with them.
    CLinkPairs alwaysTouching;
    std::string reason;
    if (!FindDataSetAlwaysTouching(directory, &alwaysTouching, &reason)) {
        LogError("WriteDataSet -- %s", reason.c_str());
        return false;
    }
    return WriteBytes(dir + "robot.opt", RobotOptions(alwaysTouching));
}

}  // namespace datagen
