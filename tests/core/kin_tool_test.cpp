// kalimbrax-kin: the line parser, the batch over streams, and the built tool
// on the shipped data set and on a directory given as argument.
#include "kinematics_fixture.h"
#include "kinematics/KinText.h"
#include "tools/kin/KinBatch.h"
#include "kinematics/MGI.h"
#include "kinematics/MGIGrid.h"
#include "tests/support/KinRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kxtest;

namespace {

// ---------------------------------------------------------------------------
// One line
// ---------------------------------------------------------------------------

struct LineCase {
    std::string line;
    KinLine kind;
};

TEST(ParseKinLine, Cases)
{
    const LineCase cases[] = {
        {"1 2 3 4 5 6", KinLine::Values},
        {"1 2 3 4 5 6\n", KinLine::Values},
        {"1 2 3 4 5 6\r\n", KinLine::Values},
        {"\t-1.5e2  +2 .5 0 -0 7.25   ", KinLine::Values},
        {"", KinLine::Skip},
        {"\n", KinLine::Skip},
        {"   \t\r\n", KinLine::Skip},
        {"# 1 2 3 4 5 6", KinLine::Skip},
        {"  #comment", KinLine::Skip},
        {"1 2 3 4 5", KinLine::Invalid},
        {"1 2 3 4 5 6 7", KinLine::Invalid},
        {"1,2,3,4,5,6", KinLine::Invalid},
        {"1 2 3 4 5 6x", KinLine::Invalid},
        {"1 2 3 4 5 6 # trailing comment", KinLine::Invalid},
        {"a b c d e f", KinLine::Invalid},
        {std::string("1 2 3\0 4 5 6", 12), KinLine::Invalid},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.line);
        float values[6] = {99, 99, 99, 99, 99, 99};
        EXPECT_EQ(ParseKinLine(c.line.data(), c.line.size(), values), c.kind);
        if (c.kind != KinLine::Values) {
            EXPECT_EQ(values[0], 99.0f);  // untouched
        }
    }
    float values[6];
    const std::string line = "\t-1.5e2  +2 .5 0 -0 7.25";
    ASSERT_EQ(ParseKinLine(line.data(), line.size(), values), KinLine::Values);
    const float expected[6] = {-150, 2, 0.5f, 0, -0.0f, 7.25f};
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(SameBits(values[i], expected[i])) << i;
}

TEST(FormatKinValues, NineDigitsReadBackTheSameFloats)
{
    const float values[6] = {236.239380f, -0.0f, 1e-8f, 3.40282347e38f, 0.1f, 180};
    const std::string text = FormatKinValues(values);
    EXPECT_EQ(text, "236.23938 -0 9.99999994e-09 3.40282347e+38 0.100000001 180");
    float back[6];
    ASSERT_EQ(ParseKinLine(text.data(), text.size(), back), KinLine::Values);
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(SameBits(back[i], values[i])) << i;
}

// ---------------------------------------------------------------------------
// The batch over streams
// ---------------------------------------------------------------------------

using kxtest::KinRun;
using kxtest::RunKin;

class KinBatchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        directory = ::testing::TempDir() + "kx_kin_tool_data";
        mkdir(directory.c_str(), 0755);
        FILE* f = std::fopen((directory + "/robot.opt").c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fputs("fBodySizeZ = 1.0; fShoulderSizeX = 0.3; fUpperArmSizeX = 1.2;\n"
                   "fElbowSizeY = -0.2; fLowerArmSizeZ = 0.9;\n",
                   f);
        std::fclose(f);
        arm = MakeArmLengths(1.0f, 0.3f, 1.2f, 0.2f, 0.9f);
    }
    std::string directory;
    ArmLengths arm{};
};

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string Format(const float v[6])
{
    char text[256];
    std::snprintf(text, sizeof text, "%.9g %.9g %.9g %.9g %.9g %.9g", v[0], v[1], v[2], v[3], v[4], v[5]);
    return text;
}

TEST_F(KinBatchTest, MgdAndMgiGiveTheModelsResults)
{
    const KinRun mgd = RunKin({"mgd", directory.c_str()}, "# angles\n10 20 30 40 50 60\n\n0 0 0 0 0 0");
    EXPECT_EQ(mgd.status, 0);
    EXPECT_EQ(mgd.err, "");
    ToolPose p1 = ArmMGD(arm, {10, 20, 30, 40, 50, 60}), p2 = ArmMGD(arm, {0, 0, 0, 0, 0, 0});
    const float v1[6] = {p1.X, p1.Y, p1.Z, p1.alpha, p1.beta, p1.gamma};
    const float v2[6] = {p2.X, p2.Y, p2.Z, p2.alpha, p2.beta, p2.gamma};
    EXPECT_EQ(Lines(mgd.out), (std::vector<std::string>{Format(v1), Format(v2)}));

    const KinRun mgi = RunKin({"mgi", directory.c_str()}, Format(v1) + "\n");
    EXPECT_EQ(mgi.status, 0);
    JointAngles a;
    ComputeMGI(arm, p1, &a);
    const float angles[6] = {a.A12, a.A23, a.A34, a.A45, a.A56, a.A67};
    EXPECT_EQ(Lines(mgi.out), (std::vector<std::string>{Format(angles)}));
}

TEST_F(KinBatchTest, BadLinesAreNamedAndTheBatchGoesOn)
{
    const KinRun run = RunKin({"mgd", directory.c_str()}, "0 0 0 0 0 0\n1 2 3\n\n0 0 0 0 0 0\nzéro\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(Lines(run.out).size(), 2u);
    EXPECT_EQ(run.err, "kalimbrax-kin : ligne 2 : six nombres attendus\n"
                       "kalimbrax-kin : ligne 5 : six nombres attendus\n");
}

TEST_F(KinBatchTest, SetupFailuresGiveStatusTwo)
{
    const std::string missing = directory + "/nowhere";
    const std::string invalidDir = ::testing::TempDir() + "kx_kin_tool_invalid";
    mkdir(invalidDir.c_str(), 0755);
    FILE* f = std::fopen((invalidDir + "/robot.opt").c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fputs("fBodySizeZ = 1.0", f);  // no closing semicolon
    std::fclose(f);

    struct Case {
        std::vector<const char*> args;
        const char* message;
    };
    const Case cases[] = {
        {{}, "commande invalide"},
        {{"fk"}, "commande invalide"},
        {{"mgd", directory.c_str(), "extra"}, "commande invalide"},
        {{"mgd", "--exact", directory.c_str()}, "commande invalide"},
        {{"mgi", "--fast", directory.c_str()}, "commande invalide"},
        {{"mgi", "--exact", "--grid", directory.c_str()}, "commande invalide"},
        {{"mgi", missing.c_str()}, "impossible de charger le fichier"},
        {{"mgd", invalidDir.c_str()}, "impossible de charger le fichier"},
    };
    for (const Case& c : cases) {
        const KinRun run = RunKin(c.args, "0 0 0 0 0 0\n");
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
}

// --help and -h print the usage on the standard output, and succeed.
TEST_F(KinBatchTest, HelpPrintsTheUsage)
{
    for (const char* help : {"--help", "-h"}) {
        const KinRun run = RunKin({help}, "");
        EXPECT_EQ(run.status, 0) << help;
        EXPECT_EQ(run.out.rfind("usage : kalimbrax-kin mgd [RÉPERTOIRE]\n", 0), 0u) << run.out;
        EXPECT_EQ(run.err, "");
    }
}

// A data directory of the test arm with robot.opt's model key and an
// optional glui.opt.
std::string ArmDirectory(const char* name, const char* modelKey, const char* panel)
{
    const std::string dir = ::testing::TempDir() + name;
    mkdir(dir.c_str(), 0755);
    FILE* f = std::fopen((dir + "/robot.opt").c_str(), "w");
    std::fprintf(f,
                 "fBodySizeZ = 1.0; fShoulderSizeX = 0.3; fUpperArmSizeX = 1.2;\n"
                 "fElbowSizeY = -0.2; fLowerArmSizeZ = 0.9;\n%s\n",
                 modelKey);
    std::fclose(f);
    const std::string panelFile = dir + "/glui.opt";
    std::remove(panelFile.c_str());
    if (panel) {
        f = std::fopen(panelFile.c_str(), "w");
        std::fputs(panel, f);
        std::fclose(f);
    }
    return dir;
}

std::string FormatAngles(const JointAngles& a)
{
    const float v[6] = {a.A12, a.A23, a.A34, a.A45, a.A56, a.A67};
    return Format(v);
}

// mgi runs the model robot.opt asks for unless one is named; the exact model
// chooses within the limits of glui.opt.
TEST_F(KinBatchTest, MgiTakesTheDataSetsModelOrTheOneNamed)
{
    const std::string grid = ArmDirectory("kx_kin_grid", "", nullptr);
    const std::string exact = ArmDirectory("kx_kin_exact", "bMGIExact = true;", nullptr);
    const std::string halfTurns = ArmDirectory(
        "kx_kin_half", "bMGIExact = true;",
        "fAngle12MinValue = -180.0; fAngle12MaxValue = 180.0; fAngle23MinValue = -180.0; fAngle23MaxValue = 180.0;\n"
        "fAngle34MinValue = -180.0; fAngle34MaxValue = 180.0; fAngle45MinValue = -180.0; fAngle45MaxValue = 180.0;\n"
        "fAngle56MinValue = -180.0; fAngle56MaxValue = 180.0; fAngle67MinValue = -180.0; fAngle67MaxValue = 180.0;\n");
    const ToolPose target = ArmMGD(arm, {10, -40, 120, 30, 50, -60});
    const float v[6] = {target.X, target.Y, target.Z, target.alpha, target.beta, target.gamma};
    JointAngles gridAngles;
    ComputeMGI(arm, target, &gridAngles);
    const std::string gridLine = FormatAngles(gridAngles);
    const std::string exactLine =
        FormatAngles(SolveMGINearGrid(arm, target, {{0, 0, 0, 0, 0, 0}, {360, 360, 360, 360, 360, 360}}).angles);
    JointLimits half;
    std::fill(half.low, half.low + 6, -180.0f);
    std::fill(half.high, half.high + 6, 180.0f);
    const std::string halfLine = FormatAngles(SolveMGINearGrid(arm, target, half).angles);
    ASSERT_NE(gridLine, exactLine);
    ASSERT_NE(exactLine, halfLine) << "a negative angle lands elsewhere within 0 to 360";

    struct Case {
        std::vector<const char*> args;
        std::string expected;
    };
    const Case cases[] = {
        {{"mgi", grid.c_str()}, gridLine},      {{"mgi", "--exact", grid.c_str()}, exactLine},
        {{"mgi", exact.c_str()}, exactLine},    {{"mgi", "--grid", exact.c_str()}, gridLine},
        {{"mgi", halfTurns.c_str()}, halfLine},
    };
    for (const Case& c : cases) {
        const KinRun run = RunKin(c.args, Format(v) + "\n");
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(Lines(run.out), std::vector<std::string>{c.expected}) << c.args[1];
    }
}

TEST_F(KinBatchTest, AllListsEveryConfigurationAfterItsLineNumber)
{
    const ToolPose a = ArmMGD(arm, {10, -40, 120, 30, 50, -60}), b = ArmMGD(arm, {-100, 20, 30, -30, -70, 45});
    const float va[6] = {a.X, a.Y, a.Z, a.alpha, a.beta, a.gamma}, vb[6] = {b.X, b.Y, b.Z, b.alpha, b.beta, b.gamma};
    const KinRun run =
        RunKin({"mgi", "--all", directory.c_str()}, "# cibles\n" + Format(va) + "\n\n5000 0 0 0 0 0\n" + Format(vb));
    EXPECT_EQ(run.status, 0);
    // (5000, 0, 0) is hypot(4970, 100) from the shoulder, which reaches
    // 120 + hypot(20, 110): 4739.20 short.
    EXPECT_EQ(run.err, "kalimbrax-kin : ligne 4 : hors d'atteinte, position la plus proche à 4739,20\n");
    std::vector<std::string> expected;
    for (const auto& [line, target] : {std::pair<int, ToolPose>{2, a}, std::pair<int, ToolPose>{5, b}}) {
        MGISolutions all;
        SolveMGIExact(arm, target, &all);
        ASSERT_GE(all.count, 4);
        for (int i = 0; i < all.count; ++i)
            expected.push_back(std::to_string(line) + " " + FormatAngles(all.configurations[i].angles));
    }
    EXPECT_EQ(Lines(run.out), expected);
}

// Past 10,000 lines the lines are worked on every core: the answers, the
// warnings and their line numbers keep the order of the input, line for
// line what each line alone gives.
TEST_F(KinBatchTest, LargeInputsKeepTheOrderOfTheirLines)
{
    constexpr int kLines = 30000;
    std::string angles, poses, mgd, all, mgdErr, allErr;
    for (int k = 1; k <= kLines; ++k) {
        const std::string number = std::to_string(k);
        if (k % 997 == 0) {  // not six numbers
            angles += "x\n";
            poses += "x\n";
            mgdErr += "kalimbrax-kin : ligne " + number + " : six nombres attendus\n";
            allErr += "kalimbrax-kin : ligne " + number + " : six nombres attendus\n";
            continue;
        }
        if (k % 1009 == 0) {  // out of reach, for mgi
            angles += "0 0 0 0 0 0\n";
            poses += "5000 0 0 0 0 0\n";
            mgd += FormatKinValues(ArmMGD(arm, {0, 0, 0, 0, 0, 0})) + "\n";
            allErr += "kalimbrax-kin : ligne " + number + " : hors d'atteinte, position la plus proche à 4739,20\n";
            continue;
        }
        const JointAngles a{float(k % 360 - 180),    float(k % 150 - 90),      float(k % 300 - 160),
                            float(k % 7 * 50 - 150), float(k % 11 * 30 - 150), float(k % 13 * 25 - 150)};
        const ToolPose p = ArmMGD(arm, a);
        angles += FormatAngles(a) + "\n";
        poses += FormatKinValues(p) + "\n";
        mgd += FormatKinValues(p) + "\n";
        MGISolutions solutions;
        SolveMGIExact(arm, p, &solutions);
        for (int i = 0; i < solutions.count; ++i)
            all += number + " " + FormatAngles(solutions.configurations[i].angles) + "\n";
    }
    const KinRun forward = RunKin({"mgd", directory.c_str()}, angles);
    EXPECT_EQ(forward.status, 1);
    EXPECT_TRUE(forward.out == mgd) << "mgd : les réponses ne suivent pas les lignes";
    EXPECT_EQ(forward.err, mgdErr);
    const KinRun inverse = RunKin({"mgi", "--all", directory.c_str()}, poses);
    EXPECT_EQ(inverse.status, 1);
    EXPECT_TRUE(inverse.out == all) << "mgi --all : les réponses ne suivent pas les lignes";
    EXPECT_EQ(inverse.err, allErr);
}

TEST_F(KinBatchTest, ExactTargetOutOfReachStillAnswersWithAWarning)
{
    const KinRun run = RunKin({"mgi", "--exact", directory.c_str()}, "170 0 -10 0 0 180\n5000 0 0 0 0 0\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(Lines(run.out).size(), 2u);
    EXPECT_EQ(run.err, "kalimbrax-kin : ligne 2 : hors d'atteinte, position la plus proche à 4739,20\n");
    const KinRun grid = RunKin({"mgi", "--grid", directory.c_str()}, "5000 0 0 0 0 0\n");
    EXPECT_EQ(grid.err, "") << "the grid model's output is what it always was";
}

// ---------------------------------------------------------------------------
// The built tool
// ---------------------------------------------------------------------------

// Runs the tool from the source tree (where "default" is the shipped data
// set) through the shell, feeding it input; returns its exit status.
int RunTool(const std::string& arguments, const std::string& input, std::string* output)
{
    const std::string tool = std::string(KX_BINARY_DIR) + "/kalimbrax-kin";
    const std::string inputFile = ::testing::TempDir() + "kx_kin_tool_input.txt";
    FILE* f = std::fopen(inputFile.c_str(), "w");
    if (!f)
        return -1;
    std::fputs(input.c_str(), f);
    std::fclose(f);
    const std::string command =
        "cd '" KX_SOURCE_DIR "' && '" + tool + "' " + arguments + " < '" + inputFile + "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return -1;
    char buffer[512];
    output->clear();
    while (std::fgets(buffer, sizeof buffer, pipe))
        *output += buffer;
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(KinBatchTest, BuiltToolOnTheDefaultAndAGivenDirectory)
{
    if (access((std::string(KX_BINARY_DIR) + "/kalimbrax-kin").c_str(), X_OK) != 0)
        GTEST_SKIP() << "kalimbrax-kin is not built (KALIMBRAX_TOOLS off)";
    std::string out;
    EXPECT_EQ(RunTool("mgd '" + directory + "'", "10 20 30 40 50 60\n", &out), 0);
    const ToolPose p = ArmMGD(arm, {10, 20, 30, 40, 50, 60});
    const float v[6] = {p.X, p.Y, p.Z, p.alpha, p.beta, p.gamma};
    EXPECT_EQ(out, Format(v) + "\n");

    EXPECT_EQ(RunTool("mgi '" + directory + "'", "170 0 -10 0 0 180\nnot six\n", &out), 1);
    EXPECT_EQ(Lines(out).size(), 1u);
    EXPECT_EQ(RunTool("nothing", "", &out), 2);

    // The shipped data set, read from "default" when no directory is given.
    const std::string defaultFile = std::string(KX_SOURCE_DIR) + "/default/robot.opt";
    if (access(defaultFile.c_str(), R_OK) != 0)
        GTEST_SKIP() << "no default/robot.opt yet";
    EXPECT_EQ(RunTool("mgd", "10 20 30 40 50 60\n", &out), 0);
    const ToolPose q = ArmMGD(DefaultArm(), {10, 20, 30, 40, 50, 60});
    const float w[6] = {q.X, q.Y, q.Z, q.alpha, q.beta, q.gamma};
    EXPECT_EQ(out, Format(w) + "\n");
}

}  // namespace
