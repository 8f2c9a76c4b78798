// The default data set: the committed files are exactly what the generator
// writes, the option files hold every key in the form its lookup needs, the
// drawn arm agrees with the MGD, and the meshes and textures are
// what the renderer counts on (winding, normals, texture coordinates, a dome
// that stays above the ground and under the far plane, a ground that reaches
// its rim, a metal image turned by half a turn).
#include "dataset/OptionFiles.h"
#include "config/OptionsParser.h"
#include "formats/MeshFormat.h"
#include "formats/TgaImage.h"
#include "kinematics/Kinematics.h"
#include "arm/ArmDescription.h"
#include "view/ShadowArea.h"
#include "tools/datagen/ArmModel.h"
#include "tools/datagen/DataSet.h"
#include "tools/datagen/Scenery.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kDefaultDir = std::string(KX_SOURCE_DIR) + "/default/";

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The option set of a committed file, read by the simulator's own reader
// (not through the cache, so each test sees the file as it is on disk).
COptions ReadOptions(const std::string& name)
{
    COptions options;
    FILE* file = std::fopen((kDefaultDir + name).c_str(), "r");
    EXPECT_NE(file, nullptr) << name;
    if (file) {
        EXPECT_TRUE(COptionsParser::ParseFileForVariable(file, &options)) << name;
        std::fclose(file);
    }
    return options;
}

MeshData ReadCommittedMesh(const std::string& name)
{
    MeshData mesh;
    FILE* file = std::fopen((kDefaultDir + name).c_str(), "rb");
    EXPECT_NE(file, nullptr) << name;
    if (file) {
        MeshError error = MeshError::None;
        // The decoder refuses truncated files and indices not below V.
        EXPECT_TRUE(ReadMesh(file, mesh, &error)) << name << ": " << MeshErrorText(error);
        std::fclose(file);
    }
    return mesh;
}

struct P3 {
    double x, y, z;
};
P3 At(const std::vector<float>& a, std::uint32_t i)
{
    return {a[3 * i], a[3 * i + 1], a[3 * i + 2]};
}
P3 Sub(P3 a, P3 b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
P3 CrossP(P3 a, P3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double DotP(P3 a, P3 b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

std::vector<std::string> MeshNames()
{
    std::vector<std::string> names = {"ground.obj", "skydome.obj"};
    for (int link = 0; link < kLinkCount; ++link)
        names.push_back(LinkMeshFile(link));
    return names;
}

// Joint angles and link offsets as the simulator reads them.
JointAngles StartAnglesFromGlui()
{
    const COptions glui = ReadOptions("glui.opt");
    return {glui.GetFloat("fAngle12StartValue", 0.0f), glui.GetFloat("fAngle23StartValue", 0.0f),
            glui.GetFloat("fAngle34StartValue", 0.0f), glui.GetFloat("fAngle45StartValue", 0.0f),
            glui.GetFloat("fAngle56StartValue", 0.0f), glui.GetFloat("fAngle67StartValue", 0.0f)};
}

ArmDescription ArmOf(const COptions& robot)
{
    return ReadSettings(&robot, DeclareRobotKeys);
}

P3 Transform(const Matrix4& m, P3 p)
{
    return {m.m[0] * p.x + m.m[4] * p.y + m.m[8] * p.z + m.m[12], m.m[1] * p.x + m.m[5] * p.y + m.m[9] * p.z + m.m[13],
            m.m[2] * p.x + m.m[6] * p.y + m.m[10] * p.z + m.m[14]};
}

}  // namespace

// ---------------------------------------------------------------------------
// The committed data set is the generator's output, byte for byte.

TEST(DataSet, CommittedFilesAreWhatTheGeneratorWrites)
{
    char pattern[] = "/tmp/kx-datagen-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string dir = std::string(pattern) + "/";
    ASSERT_TRUE(datagen::WriteDataSet(dir));
    for (const std::string& name : datagen::DataSetFileNames()) {
        const std::string fresh = ReadFile(dir + name);
        EXPECT_FALSE(fresh.empty()) << name;
        EXPECT_TRUE(fresh == ReadFile(kDefaultDir + name))
            << name << " differs from default/: run kalimbrax-datagen default";
        std::remove((dir + name).c_str());
    }
    std::remove(pattern);
}

TEST(DataSet, RealsAreWrittenWithADecimalPoint)
{
    const struct {
        double value;
        const char* text;
    } cases[] = {{45.0, "45.0"},   {-45.0, "-45.0"}, {0.0, "0.0"},  {-0.0, "0.0"},   {0.45, "0.45"},
                 {-0.45, "-0.45"}, {3.9, "3.9"},     {1e-7, "0.0"}, {120.0, "120.0"}};
    for (const auto& c : cases)
        EXPECT_EQ(datagen::FormatReal(c.value), c.text) << c.value;
}

// ---------------------------------------------------------------------------
// Option files: every key of every file, in the form its lookup reads.

TEST(DataSet, OptionFilesHoldEveryKeyInItsLookupsForm)
{
    for (const OptionFile& file : OptionFiles()) {
        const COptions options = ReadOptions(file.fileName);
        for (const OptionKey& key : file.keys) {
            // The links' colours are absent: the arm shows its texture.
            if (key.name.size() > 5 && key.name.compare(key.name.size() - 5, 5, "Color") == 0)
                continue;
            const COptionEntry* entry = options.Find(key.name.c_str());
            ASSERT_NE(entry, nullptr) << file.fileName << ": " << key.name;
            switch (key.lookup) {
            case OptionLookup::Float:
            case OptionLookup::Double:
                // Without a point the value would be an integer entry and a
                // real lookup would not see it.
                EXPECT_TRUE(entry->kind == OPTION_NUMBER && entry->isReal) << key.name;
                break;
            case OptionLookup::Integer:
                EXPECT_TRUE(entry->kind == OPTION_NUMBER && !entry->isReal) << key.name;
                break;
            case OptionLookup::Boolean:
                EXPECT_EQ(entry->kind, OPTION_BOOL) << key.name;
                break;
            case OptionLookup::Text:
                EXPECT_EQ(entry->kind, OPTION_TEXT) << key.name;
                break;
            }
        }
        // And nothing the simulator would silently ignore.
        for (const COptionEntry& entry : options.m_Entries)
            EXPECT_NE(FindOptionKey(file, entry.name), nullptr) << file.fileName << ": unknown key " << entry.name;
    }
}

TEST(DataSet, OptionValuesSuitTheSimulator)
{
    const COptions graphics = ReadOptions("graphics.opt");
    EXPECT_EQ(graphics.GetInt("iScreenWidth", 0), 800);
    EXPECT_EQ(graphics.GetInt("iScreenHeight", 0), 600);
    EXPECT_EQ(graphics.GetDouble("dScreenFOV", 0.0), -45.0);
    EXPECT_TRUE(graphics.GetBool("bDoubleBuffer", false));
    EXPECT_FALSE(graphics.GetBool("bFullScreen", true));

    // Labels are Windows-1252: one byte per accented letter.
    const COptions glui = ReadOptions("glui.opt");
    EXPECT_STREQ(glui.GetString("strRealTime", ""), "Temps r\xE9"
                                                    "el");
    EXPECT_STREQ(glui.GetString("strMetalLook", ""), "Aspect m\xE9"
                                                     "tal");
    EXPECT_STREQ(glui.GetString("strDecoration", ""), "D\xE9"
                                                      "cor");
    for (int j = 0; j < kJointCount; ++j) {
        const std::string name = JointName(j);
        const float lo = glui.GetFloat(JointKey("fAngle", j, "MinValue").c_str(), 0.0f);
        const float hi = glui.GetFloat(JointKey("fAngle", j, "MaxValue").c_str(), 0.0f);
        const float start = glui.GetFloat(JointKey("fAngle", j, "StartValue").c_str(), 1e9f);
        // The MGI's answers lie within -180 .. 180.
        EXPECT_LE(lo, -180.0f) << name;
        EXPECT_GE(hi, 180.0f) << name;
        EXPECT_TRUE(start >= lo && start <= hi) << name;
    }

    // Joint speeds of a real arm: tens of degrees per second.
    const ArmDescription arm = ArmOf(ReadOptions("robot.opt"));
    for (int j = 0; j < kJointCount; ++j)
        EXPECT_TRUE(arm.maxSpeed[j] >= 20.0f && arm.maxSpeed[j] <= 200.0f) << j << ": " << arm.maxSpeed[j];
    // The offsets the MGD reads: the others of body .. lower arm
    // are 0 and the elbow is (e, -e, 0), with an elbow offset.
    EXPECT_EQ(FamilyDepartures(arm), std::vector<std::string>{});
    EXPECT_GT(arm.offset[3][0], 0.0f);
}

// ---------------------------------------------------------------------------
// The drawn arm.

// The frame after the lower arm's translation is the wrist centre; with the
// committed offsets it must sit where the MGD puts it, for any pose.
TEST(DataSet, DrawnWristCentreIsTheForwardModels)
{
    const ArmDescription arm = ArmOf(ReadOptions("robot.opt"));
    const auto& offsets = arm.offset;
    const ArmLengths lengths = arm.Lengths();
    std::mt19937 random(20240611u);
    std::uniform_real_distribution<float> angle(-180.0f, 180.0f);
    for (int n = 0; n < 500; ++n) {
        const JointAngles a = {angle(random), angle(random), angle(random),
                               angle(random), angle(random), angle(random)};
        const P3 drawn = Transform(ChainTransform(kLinkTurnX, a, offsets, 4), {0, 0, 0});
        ToolPose pose;
        ComputeMGD(lengths, a, &pose);
        const P3 model = {pose.X, pose.Y, pose.Z};
        // Pose units are hundredths of a scene unit.
        EXPECT_NEAR(drawn.x, model.x / 100.0, 1e-4) << n;
        EXPECT_NEAR(drawn.y, model.y / 100.0, 1e-4) << n;
        EXPECT_NEAR(drawn.z, model.z / 100.0, 1e-4) << n;
    }
}

// For random angles, each link's frame as the simulator draws it (drawn:
// angles, offsets, link -> Matrix4) against the generator's own (modelled:
// chain, link -> frame): the same points land in the same places.
template <class Drawn, class Modelled>
void ExpectGeneratorFrames(unsigned seed, Drawn drawn, Modelled modelled)
{
    const std::array<datagen::Vec3, kLinkCount> offsets = datagen::LinkOffsets(datagen::DefaultArmLengths());
    float floatOffsets[kLinkCount][3];
    for (int i = 0; i < kLinkCount; ++i) {
        floatOffsets[i][0] = static_cast<float>(offsets[i].x);
        floatOffsets[i][1] = static_cast<float>(offsets[i].y);
        floatOffsets[i][2] = static_cast<float>(offsets[i].z);
    }
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> angle(-180.0f, 180.0f);
    for (int n = 0; n < 100; ++n) {
        const JointAngles a = {angle(random), angle(random), angle(random),
                               angle(random), angle(random), angle(random)};
        const datagen::ChainFrames chain = datagen::ComposeChain(offsets, {a.A12, a.A23, a.A34, a.A45, a.A56, a.A67});
        for (int i = 0; i < kLinkCount; ++i) {
            const Matrix4 m = drawn(kLinkTurnX, a, floatOffsets, i);
            const P3 probe[] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
            for (const P3& p : probe) {
                const P3 expected = Transform(m, p);
                const datagen::Vec3 got = modelled(chain, i).Point({p.x, p.y, p.z});
                EXPECT_NEAR(got.x, expected.x, 1e-5) << "link " << i;
                EXPECT_NEAR(got.y, expected.y, 1e-5) << "link " << i;
                EXPECT_NEAR(got.z, expected.z, 1e-5) << "link " << i;
            }
        }
    }
}

// The generator's own chain (which its meshes are modelled in) is the
// simulator's drawing chain.
TEST(DataSet, GeneratorChainIsTheDrawingChain)
{
    ExpectGeneratorFrames(7u, ChainTransform,
                          [](const datagen::ChainFrames& chain, int i) { return chain.endFrame[i]; });
}

// The drawing places each link's mesh where the generator modelled it.
TEST(DataSet, LinkMeshesAreDrawnInTheGeneratorsMeshFrames)
{
    ExpectGeneratorFrames(11u, LinkMeshTransform,
                          [](const datagen::ChainFrames& chain, int i) { return chain.meshFrame[i]; });
}

// The shadow pass redraws the decoration only within the window rectangle
// of the shadow's corners: every vertex of the flattened arm, placed by the
// generator's chain and flattened along the light (1, 1, 1.2), lies within
// their box, on the plane the flattened arm is drawn on.
TEST(DataSet, FlattenedArmLiesWithinTheShadowCorners)
{
    const ArmDescription arm = ArmOf(ReadOptions("robot.opt"));
    const auto& offsets = arm.offset;
    MeshData meshes[kLinkCount];
    MeshBox boxes[kLinkCount];
    for (int i = 0; i < kLinkCount; ++i) {
        meshes[i] = ReadCommittedMesh(LinkMeshFile(i));
        boxes[i] = BoxOfVertices(meshes[i].vertices);
    }
    const std::array<datagen::Vec3, kLinkCount> generatorOffsets = datagen::LinkOffsets(datagen::DefaultArmLengths());
    std::vector<JointAngles> poses = {StartAnglesFromGlui()};
    std::mt19937 random(13u);
    std::uniform_real_distribution<float> angle(-180.0f, 180.0f);
    for (int n = 0; n < 30; ++n)
        poses.push_back({angle(random), angle(random), angle(random), angle(random), angle(random), angle(random)});
    for (const JointAngles& a : poses) {
        const std::vector<Point3> corners = ShadowCorners(kLinkTurnX, a, offsets, boxes);
        ASSERT_EQ(corners.size(), 8u * kLinkCount);
        double lo[2] = {1e30, 1e30}, hi[2] = {-1e30, -1e30};
        for (const Point3& c : corners) {
            EXPECT_NEAR(c.z, kShadowLift, 1e-6);
            lo[0] = std::fmin(lo[0], c.x), hi[0] = std::fmax(hi[0], c.x);
            lo[1] = std::fmin(lo[1], c.y), hi[1] = std::fmax(hi[1], c.y);
        }
        const datagen::ChainFrames chain =
            datagen::ComposeChain(generatorOffsets, {a.A12, a.A23, a.A34, a.A45, a.A56, a.A67});
        for (int i = 0; i < kLinkCount; ++i) {
            for (std::uint32_t v = 0; v < static_cast<std::uint32_t>(meshes[i].VertexCount()); ++v) {
                const P3 p = At(meshes[i].vertices, v);
                const datagen::Vec3 w = chain.meshFrame[i].Point({p.x, p.y, p.z});
                const double flat[2] = {w.x - w.z / 1.2, w.y - w.z / 1.2};
                for (int k = 0; k < 2; ++k) {
                    EXPECT_GE(flat[k], lo[k] - 1e-4) << LinkMeshFile(i) << " vertex " << v;
                    EXPECT_LE(flat[k], hi[k] + 1e-4) << LinkMeshFile(i) << " vertex " << v;
                }
            }
        }
    }
}

TEST(DataSet, StartPoseKeepsTheWholeArmAboveTheGround)
{
    const JointAngles a = StartAnglesFromGlui();
    const std::array<datagen::Vec3, kLinkCount> offsets = datagen::LinkOffsets(datagen::DefaultArmLengths());
    const datagen::ChainFrames chain = datagen::ComposeChain(offsets, {a.A12, a.A23, a.A34, a.A45, a.A56, a.A67});
    for (int i = 0; i < kLinkCount; ++i) {
        const MeshData mesh = ReadCommittedMesh(LinkMeshFile(i));
        double lowest = 1e9;
        for (std::uint32_t v = 0; v < static_cast<std::uint32_t>(mesh.VertexCount()); ++v) {
            const P3 p = At(mesh.vertices, v);
            lowest = std::fmin(lowest, chain.meshFrame[i].Point({p.x, p.y, p.z}).z);
        }
        // The foot stands on the ground; everything else clears it.
        EXPECT_GE(lowest, i == 0 ? 0.0 : 0.5) << LinkMeshFile(i);
    }
}

// ---------------------------------------------------------------------------
// Meshes.

TEST(DataSet, MeshesAreWellFormedAndWithinTheBudget)
{
    int total = 0;
    for (const std::string& name : MeshNames()) {
        const MeshData mesh = ReadCommittedMesh(name);
        ASSERT_GT(mesh.TriangleCount(), 0) << name;
        total += mesh.TriangleCount();
        // Without texture coordinates a link renders in one flat colour.
        EXPECT_TRUE(mesh.textured) << name;
        EXPECT_EQ(mesh.texCoords.size(), 2u * mesh.VertexCount()) << name;
        for (std::uint32_t v = 0; v < static_cast<std::uint32_t>(mesh.VertexCount()); ++v) {
            const P3 n = At(mesh.normals, v);
            ASSERT_NEAR(std::sqrt(DotP(n, n)), 1.0, 1e-4) << name << " vertex " << v;
        }
        // Counter-clockwise front faces: every triangle's winding normal
        // agrees with its vertex normals (the sky dome's point inward, so it
        // is seen from inside).
        for (int t = 0; t < mesh.TriangleCount(); ++t) {
            const std::uint32_t* tri = &mesh.indices[3 * t];
            const P3 a = At(mesh.vertices, tri[0]), b = At(mesh.vertices, tri[1]), c = At(mesh.vertices, tri[2]);
            const P3 face = CrossP(Sub(b, a), Sub(c, a));
            if (DotP(face, face) < 1e-12)
                continue;  // degenerate (none expected, but they draw nothing)
            const P3 n0 = At(mesh.normals, tri[0]), n1 = At(mesh.normals, tri[1]), n2 = At(mesh.normals, tri[2]);
            const P3 n = {n0.x + n1.x + n2.x, n0.y + n1.y + n2.y, n0.z + n1.z + n2.z};
            ASSERT_GT(DotP(face, n), 0.0) << name << " triangle " << t;
        }
    }
    EXPECT_LT(total, 20000);
}

TEST(DataSet, ArmLinksAreClosedOutwardSolids)
{
    // A closed mesh wound counter-clockwise from outside encloses a positive
    // volume (sum of the signed tetrahedra to the origin).
    for (int link = 0; link < kLinkCount; ++link) {
        const std::string name = LinkMeshFile(link);
        const MeshData mesh = ReadCommittedMesh(name);
        double volume = 0.0;
        for (int t = 0; t < mesh.TriangleCount(); ++t) {
            const std::uint32_t* tri = &mesh.indices[3 * t];
            volume +=
                DotP(At(mesh.vertices, tri[0]), CrossP(At(mesh.vertices, tri[1]), At(mesh.vertices, tri[2]))) / 6.0;
        }
        EXPECT_GT(volume, 0.001) << name;
    }
}

TEST(DataSet, SkyDomeStaysAboveTheGroundAndBeforeTheFarPlane)
{
    const MeshData dome = ReadCommittedMesh("skydome.obj");
    const double eyeDistance = std::sqrt(15.0 * 15.0 + 21.0 * 21.0);
    double radius = 0.0;
    for (std::uint32_t v = 0; v < static_cast<std::uint32_t>(dome.VertexCount()); ++v) {
        const P3 p = At(dome.vertices, v);
        EXPECT_GE(p.z, 0.0) << v;
        radius = std::fmax(radius, std::sqrt(DotP(p, p)));
        // Normals toward the centre: the dome is seen from inside.
        EXPECT_LT(DotP(At(dome.normals, v), p), 0.0) << v;
        // The gradient runs from the horizon (t = 0) to the zenith (t = 1).
        EXPECT_NEAR(dome.texCoords[2 * v + 1], std::asin(std::fmin(1.0, p.z / std::sqrt(DotP(p, p)))) / (M_PI / 2),
                    1e-3);
    }
    EXPECT_LT(radius + eyeDistance, 100.0);
}

TEST(DataSet, GroundLiesUnderTheGridAndReachesTheDomeRim)
{
    const MeshData ground = ReadCommittedMesh("ground.obj");
    const MeshData dome = ReadCommittedMesh("skydome.obj");
    for (std::uint32_t v = 0; v < static_cast<std::uint32_t>(ground.VertexCount()); ++v) {
        EXPECT_FLOAT_EQ(ground.vertices[3 * v + 2], -0.01f);
        EXPECT_FLOAT_EQ(ground.normals[3 * v + 2], 1.0f);
    }
    // Every vertex of the dome's rim lies over some ground triangle, so no
    // gap shows at the horizon.
    auto covered = [&](double x, double y) {
        for (int t = 0; t < ground.TriangleCount(); ++t) {
            const std::uint32_t* tri = &ground.indices[3 * t];
            const P3 a = At(ground.vertices, tri[0]), b = At(ground.vertices, tri[1]), c = At(ground.vertices, tri[2]);
            auto side = [&](P3 p, P3 q) { return (q.x - p.x) * (y - p.y) - (q.y - p.y) * (x - p.x); };
            if (side(a, b) >= 0 && side(b, c) >= 0 && side(c, a) >= 0)
                return true;
        }
        return false;
    };
    int rim = 0;
    for (std::uint32_t v = 0; v < static_cast<std::uint32_t>(dome.VertexCount()); ++v) {
        const P3 p = At(dome.vertices, v);
        if (p.z != 0.0)
            continue;
        ++rim;
        EXPECT_TRUE(covered(p.x, p.y)) << p.x << ", " << p.y;
    }
    EXPECT_GT(rim, 8);
}

// ---------------------------------------------------------------------------
// Textures.

namespace {
double MeanBrightness(const CTgaImage& image, int rowFrom, int rowTo)
{
    double sum = 0.0;
    for (int y = rowFrom; y < rowTo; ++y)
        for (int x = 0; x < image.width; ++x)
            for (int k = 0; k < 3; ++k)
                sum += image.pixels[3 * (static_cast<std::size_t>(y) * image.width + x) + k];
    return sum / (3.0 * image.width * (rowTo - rowFrom));
}
}  // namespace

TEST(DataSet, TexturesAreTwentyFourBitPowersOfTwo)
{
    for (const char* name : {"ground.tga", "skydome.tga", "metal.tga"}) {
        CTgaImage image;
        ASSERT_TRUE(CTgaImage::TgaImageLoad((kDefaultDir + name).c_str(), &image)) << name;
        EXPECT_EQ(image.bitsPerPixel, 24) << name;
        EXPECT_EQ(image.width & (image.width - 1), 0) << name;
        EXPECT_EQ(image.height & (image.height - 1), 0) << name;
        EXPECT_GE(image.width, 64) << name;
    }
}

TEST(DataSet, TexturesRunTheRightWayUp)
{
    // Sky: the first rows (t = 0) are the horizon, lighter than the zenith.
    CTgaImage sky;
    ASSERT_TRUE(CTgaImage::TgaImageLoad((kDefaultDir + "skydome.tga").c_str(), &sky));
    EXPECT_GT(MeanBrightness(sky, 0, 8), MeanBrightness(sky, sky.height - 8, sky.height));
    // Metal: the sphere map is turned by half a turn, so its bright sky half
    // lies in the first rows (t < 0.5) and its dark floor in the last ones.
    CTgaImage metal;
    ASSERT_TRUE(CTgaImage::TgaImageLoad((kDefaultDir + "metal.tga").c_str(), &metal));
    const int h = metal.height;
    EXPECT_GT(MeanBrightness(metal, h / 8, 3 * h / 8), 1.5 * MeanBrightness(metal, 5 * h / 8, 7 * h / 8));
}
