// The tool set at run time, the user frames and the taught points through
// the command language on the shipped arm in its cell: where the reported
// tool point goes, poses given and taken in a user frame against the base
// frame's own, points that give their angles back exactly, what `save`
// writes and a new program `load`s back, and bad input that changes
// nothing. Files are written in a scratch directory, the test's data
// directory; motions run on the simulation's clock.
#include "arm/ArmKinematics.h"
#include "collision/CollisionWorld.h"
#include "command/CellCommands.h"
#include "command/CommandExecutor.h"
#include "command/MoveTargets.h"
#include "command/WorkCommands.h"
#include "dataset/ArmCell.h"
#include "sim/Controller.h"
#include "sim/MotionRecorder.h"
#include "sim/Simulation.h"
#include "tests/support/ErrorLog.h"
#include "tests/support/RecordingView.h"
#include "tests/support/ShippedArm.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// A program as a client of the port sees it: the arm in its cell, its
// recorder, the controller and the executor.
struct Program {
    explicit Program(const ArmDescription& arm = ShippedArm()) : simulation(arm)
    {
        simulation.SetCell(BuildArmCell(simulation.Arm(), KX_SOURCE_DIR "/default"));
    }

    // The reply to a line: at once, or once the motion has ended.
    std::string Reply(const std::string& line)
    {
        Command command;
        std::string verb, message;
        if (ParseCommandLine(line.data(), line.size(), &command, &verb, &message) != CommandLine::Command)
            return "erreur " + verb + " : " + message;
        const CommandOutcome outcome = executor.Run(command);
        if (outcome.kind != CommandOutcome::AwaitMotion)
            return outcome.reply;
        for (double t = 0; simulation.Moving() && t < 120.0; t += 0.01)
            simulation.Advance(t);
        return outcome.complete ? outcome.complete() : outcome.reply;
    }
    // The numbers of an "ok ..." reply.
    std::vector<double> Numbers(const std::string& line)
    {
        const std::string reply = Reply(line);
        EXPECT_EQ(reply.rfind("ok", 0), 0u) << line << ": " << reply;
        std::vector<double> numbers;
        std::istringstream in(reply.substr(2));
        for (double x; in >> x;)
            numbers.push_back(x);
        return numbers;
    }
    // `get matrix` as a frame.
    KDL::Frame Matrix()
    {
        const std::vector<double> m = Numbers("get matrix");
        EXPECT_EQ(m.size(), 12u);
        if (m.size() != 12)
            return KDL::Frame::Identity();
        return KDL::Frame(KDL::Rotation(m[0], m[1], m[2], m[3], m[4], m[5], m[6], m[7], m[8]),
                          KDL::Vector(m[9], m[10], m[11]));
    }

    CSimulation simulation;
    CMotionRecorder recorder{simulation};
    CRecordingView view;
    CController controller{simulation, view, recorder};
    CCommandExecutor executor{controller};
};

// The frame six pose numbers stand for, built here from what they mean: a
// turn by gamma about the axis (sin a sin b, -cos a sin b, cos b), then the
// position.
KDL::Frame FrameOfNumbers(const std::vector<double>& v)
{
    const double a = v[3] * M_PI / 180, b = v[4] * M_PI / 180, g = v[5] * M_PI / 180;
    const KDL::Vector axis(std::sin(b) * std::sin(a), -std::cos(a) * std::sin(b), std::cos(b));
    return KDL::Frame(KDL::Rotation::Rot(axis, g), KDL::Vector(v[0], v[1], v[2]));
}

void ExpectFrameNear(const KDL::Frame& a, const KDL::Frame& b, double position, const std::string& what)
{
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(a.p[i], b.p[i], position) << what << ", position " << i;
        for (int j = 0; j < 3; ++j)
            EXPECT_NEAR(a.M(i, j), b.M(i, j), 1e-4) << what << ", rotation " << i << j;
    }
}

// Six numbers as a command's words, each read back as the same double.
std::string Words(const std::vector<double>& v)
{
    std::ostringstream words;
    words.precision(17);
    for (std::size_t i = 0; i < v.size(); ++i)
        words << (i ? " " : "") << v[i];
    return words.str();
}

// The distance from p to the segment from a to b.
double FromSegment(const KDL::Vector& p, const KDL::Vector& a, const KDL::Vector& b)
{
    const KDL::Vector ab = b - a;
    const double t = std::fmin(std::fmax(KDL::dot(p - a, ab) / KDL::dot(ab, ab), 0.0), 1.0);
    return (p - (a + ab * t)).Norm();
}

// Every row of the last motion's record has its tool point (in the base
// frame) on the segment from a to b.
void ExpectRecordOnSegment(const Program& program, const KDL::Vector& a, const KDL::Vector& b)
{
    const std::vector<MotionSample> rows = program.recorder.Rows(kRecordStep);
    ASSERT_GT(rows.size(), 10u);
    double farthest = 0;
    for (const MotionSample& row : rows)
        farthest = std::fmax(farthest, FromSegment(ArmMGDFrame(program.simulation.Arm(), row.angles).p, a, b));
    EXPECT_LT(farthest, 0.01);
    const KDL::Vector end = ArmMGDFrame(program.simulation.Arm(), rows.back().angles).p;
    EXPECT_LT((end - b).Norm(), 0.01) << "the line ends at its target";
}

class WorkCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(getcwd(m_Previous, sizeof m_Previous), nullptr);
        m_Directory = ::testing::TempDir() + "kx_work_" + std::to_string(getpid());
        ASSERT_EQ(std::system(("rm -rf '" + m_Directory + "' && mkdir -p '" + m_Directory + "'").c_str()), 0);
        ASSERT_EQ(chdir(m_Directory.c_str()), 0);
    }
    void TearDown() override
    {
        ASSERT_EQ(chdir(m_Previous), 0);
        std::system(("rm -rf '" + m_Directory + "'").c_str());
    }

    std::string Reply(const std::string& line) { return program.Reply(line); }

    Program program;

private:
    char m_Previous[4096];
    std::string m_Directory;
};

std::string ReadFile(const char* name)
{
    std::ifstream in(name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// ---------------------------------------------------------------------------
// The tool

TEST_F(WorkCommandsTest, ANewToolMovesTheReportedPointAlongTheHandAndALineKeepsIt)
{
    const KDL::Frame hand = program.Matrix();
    const std::string angles = Reply("get angles");
    ASSERT_EQ(Reply("tool 0 0 100 0 0 0"), "ok");
    EXPECT_EQ(Reply("get tool"), "ok 0 0 100 0 0 0");
    EXPECT_EQ(Reply("get angles"), angles) << "the arm keeps its angles";
    const KDL::Frame tool = program.Matrix();
    ExpectFrameNear(tool, KDL::Frame(hand.M, hand.p + hand.M.UnitZ() * 100.0), 0.01, "100 along the hand's z");

    // A line of the new tool point, the orientation kept: every step of it
    // on the segment, in the base frame.
    std::vector<double> target = program.Numbers("get pose");
    target[0] -= 50;
    target[1] += 80;
    target[2] -= 60;
    const std::string reply = Reply("movel " + Words(target));
    ASSERT_EQ(reply.rfind("ok ", 0), 0u) << reply;
    ExpectRecordOnSegment(program, tool.p, FrameOfNumbers(target).p);
    ExpectFrameNear(program.Matrix(), FrameOfNumbers(target), 0.01, "the line's end");

    // Back to no tool: the wrist centre again.
    ASSERT_EQ(Reply("tool 0 0 0 0 0 0"), "ok");
    const KDL::Frame end = ArmMGDFrame(program.simulation.Arm(), program.simulation.Angles());
    ExpectFrameNear(program.Matrix(), end, 1e-4, "without a tool");
}

// ---------------------------------------------------------------------------
// User frames

TEST_F(WorkCommandsTest, InAUserFrameEveryPoseGivenOrTakenIsInIt)
{
    const std::string basePose = Reply("get pose");
    const std::vector<double> numbers = {300, -200, 150, 30, 60, 45};
    ASSERT_EQ(Reply("frame f1 " + Words(numbers)), "ok");
    EXPECT_EQ(Reply("get frame"), "ok base 0 0 0 0 0 0") << "defined, not yet in use";
    ASSERT_EQ(Reply("frame use f1"), "ok");
    EXPECT_EQ(Reply("get frame"), "ok f1 300 -200 150 30 60 45");
    const KDL::Frame f1 = FrameOfNumbers(numbers);
    const ArmDescription& arm = program.simulation.Arm();

    // What the arm stands at, said in f1.
    const KDL::Frame base = ArmMGDFrame(arm, program.simulation.Angles());
    ExpectFrameNear(program.Matrix(), f1.Inverse() * base, 1e-4, "get matrix");
    const std::vector<double> pose = program.Numbers("get pose");
    ExpectFrameNear(FrameOfNumbers(pose), f1.Inverse() * base, 1e-3, "get pose");
    const JointAngles other{10, 30, 20, 40, 50, 60};
    ExpectFrameNear(FrameOfNumbers(program.Numbers("mgd 10 30 20 40 50 60")), f1.Inverse() * ArmMGDFrame(arm, other),
                    1e-3, "mgd");

    // The base frame again: the same words as before f1.
    ASSERT_EQ(Reply("frame use base"), "ok");
    EXPECT_EQ(Reply("get pose"), basePose);
    ASSERT_EQ(Reply("frame use f1"), "ok");

    // A pose given in f1: the inverse model's angles put the tool there.
    std::vector<double> given = pose;
    given[2] += 40;
    const std::vector<double> solved = program.Numbers("mgi " + Words(given));
    ASSERT_EQ(solved.size(), 6u);
    const JointAngles a{float(solved[0]), float(solved[1]), float(solved[2]),
                        float(solved[3]), float(solved[4]), float(solved[5])};
    ExpectFrameNear(ArmMGDFrame(arm, a), f1 * FrameOfNumbers(given), 1e-3, "mgi");
    ASSERT_EQ(Reply("pose " + Words(given)).rfind("ok ", 0), 0u);
    ExpectFrameNear(FrameOfNumbers(program.Numbers("get pose")), FrameOfNumbers(given), 1e-3, "pose");
    ASSERT_EQ(Reply("pose " + Words(pose)).rfind("ok ", 0), 0u);

    // A line in f1 is straight in the base frame, from where the tool stands
    // to the target said in f1; the record's poses are in f1.
    std::vector<double> target = pose;
    target[0] += 40;
    target[1] -= 70;
    target[2] += 90;
    const std::string line = "movel " + Words(target);
    ASSERT_EQ(Reply("check " + line).rfind("ok ", 0), 0u);
    const KDL::Vector start = ArmMGDFrame(arm, program.simulation.Angles()).p;
    ASSERT_EQ(Reply(line).rfind("ok ", 0), 0u);
    ExpectRecordOnSegment(program, start, (f1 * FrameOfNumbers(target)).p);

    ASSERT_EQ(Reply("record line.csv"), "ok line.csv");
    std::ifstream csv("line.csv");
    std::string row;
    ASSERT_TRUE(std::getline(csv, row));
    int rows = 0;
    while (std::getline(csv, row)) {
        for (char& c : row)
            c = c == ',' ? ' ' : c;
        std::istringstream in(row);
        std::vector<double> v;
        for (double x; in >> x;)
            v.push_back(x);
        ASSERT_EQ(v.size(), 19u) << row;
        const JointAngles at{float(v[1]), float(v[2]), float(v[3]), float(v[4]), float(v[5]), float(v[6])};
        ExpectFrameNear(FrameOfNumbers({v.begin() + 13, v.end()}), f1.Inverse() * ArmMGDFrame(arm, at), 1e-3,
                        "record's row " + std::to_string(++rows));
    }
    EXPECT_GT(rows, 10);

    // Removing the frame in use returns to the base frame.
    ASSERT_EQ(Reply("frame remove f1"), "ok");
    EXPECT_EQ(Reply("get frame"), "ok base 0 0 0 0 0 0");
    EXPECT_EQ(Reply("get frames"), "ok");
    ExpectFrameNear(program.Matrix(), ArmMGDFrame(arm, program.simulation.Angles()), 1e-4, "in the base frame");
}

// ---------------------------------------------------------------------------
// Taught points

TEST_F(WorkCommandsTest, APointGivesItsAnglesBackExactly)
{
    ASSERT_EQ(Reply("angles -20.123457 40.5 20.25 5.0000001 55.3 -30.7"), "ok");
    const std::string angles = Reply("get angles");
    const KDL::Frame there = program.Matrix();
    ASSERT_EQ(Reply("point p1"), "ok");
    EXPECT_EQ(Reply("get point p1"), angles);
    EXPECT_EQ(Reply("get points"), "ok p1");

    struct Case {
        const char* away;  // a move away from the point
        const char* back;  // and back to it
    };
    const Case cases[] = {
        {"movej -10 50 10 0 60 0", "movej @p1"},
        {"angles -30 45 15 0 60 0", "angles @p1"},
        {"movej 0 40 20 10 50 0", "moveto @p1"},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(Reply(c.away).substr(0, 2), "ok") << c.away;
        ASSERT_NE(Reply("get angles"), angles) << c.away;
        ASSERT_EQ(Reply(c.back).substr(0, 2), "ok") << c.back;
        EXPECT_EQ(Reply("get angles"), angles) << c.back;
    }

    // A line to a point goes to its tool pose, in the frame in use.
    ASSERT_EQ(Reply("frame f 100 50 0 0 0 30"), "ok");
    ASSERT_EQ(Reply("frame use f"), "ok");
    ASSERT_EQ(Reply("movej -10 50 10 0 60 0").substr(0, 2), "ok");
    ASSERT_EQ(Reply("check movel @p1").substr(0, 3), "ok ");
    ASSERT_EQ(Reply("movel @p1").substr(0, 3), "ok ");
    ASSERT_EQ(Reply("frame use base"), "ok");
    ExpectFrameNear(program.Matrix(), there, 1e-3, "movel @p1");

    ASSERT_EQ(Reply("point remove p1"), "ok");
    EXPECT_EQ(Reply("get points"), "ok");
    EXPECT_EQ(Reply("movej @p1"), "erreur movej : aucun point « p1 »");
}

// The request of a line through points and numbers, and of an arc: each
// point's tool pose in the frame in use, in order, the corners' radius
// (their planning is the planner's: MovePlanner.h).
TEST_F(WorkCommandsTest, MovesThroughPointsAskForTheirToolPoses)
{
    const JointAngles a{-10, 50, 10, 20, 40, 30}, b{-30, 40, 20, 0, 60, 10};
    ASSERT_TRUE(program.controller.DefinePoint("a", a).ok);
    ASSERT_TRUE(program.controller.DefinePoint("b", b).ok);
    ASSERT_EQ(Reply("frame f 100 50 0 0 0 30"), "ok");
    ASSERT_EQ(Reply("frame use f"), "ok");
    auto request = [&](const std::string& line, CommandVerb move) {
        Command command;
        std::string verb, message;
        EXPECT_EQ(ParseCommandLine(line.data(), line.size(), &command, &verb, &message), CommandLine::Command)
            << message;
        MoveRequest r;
        std::string reason;
        EXPECT_TRUE(CommandRequest(program.controller, move, command, &r, &reason)) << reason;
        return r;
    };
    auto same = [](const ToolPose& p, const ToolPose& q) { return std::memcmp(&p, &q, sizeof p) == 0; };
    const ToolPose poseA = program.controller.PoseOf(a), poseB = program.controller.PoseOf(b);

    const MoveRequest line = request("movel @a 1 2 3 4 5 6 @b blend 20", CommandVerb::MoveL);
    EXPECT_EQ(line.kind, MoveKind::Linear);
    ASSERT_EQ(line.through.size(), 2u);
    EXPECT_TRUE(same(line.through[0], poseA));
    EXPECT_TRUE(same(line.through[1], ToolPose{1, 2, 3, 4, 5, 6}));
    EXPECT_TRUE(same(line.pose, poseB));
    EXPECT_EQ(line.blend, 20);

    const MoveRequest arc = request("check movec @a @b", CommandVerb::MoveC);
    EXPECT_EQ(arc.kind, MoveKind::Arc);
    EXPECT_EQ(arc.via[0], poseA.X);
    EXPECT_EQ(arc.via[1], poseA.Y);
    EXPECT_EQ(arc.via[2], poseA.Z);
    EXPECT_TRUE(same(arc.pose, poseB));

    const MoveRequest joint = request("movej @b", CommandVerb::MoveJ);
    EXPECT_EQ(joint.kind, MoveKind::Joint);
    EXPECT_EQ(std::memcmp(&joint.joints, &b, sizeof b), 0);
}

// A point stored under wider limits, loaded where glui.opt has narrowed
// them since: refused when used, with the joint and its limits as today.
TEST_F(WorkCommandsTest, APointPastTheLimitsOfNowIsRefusedWhenUsed)
{
    ASSERT_EQ(Reply("angles 120 45 15 0 60 0"), "ok");
    ASSERT_EQ(Reply("point wide"), "ok");
    ASSERT_EQ(Reply("save wide.txt"), "ok wide.txt");

    ArmDescription narrowed = ShippedArm();
    narrowed.limits.high[0] = 90;
    Program later(narrowed);
    ASSERT_EQ(later.Reply("load wide.txt"), "ok wide.txt");
    EXPECT_EQ(later.Reply("get point wide"), "ok 120 45 15 0 60 0") << "stored as it was";
    const std::string start = later.Reply("get angles");
    for (const char* verb : {"angles", "moveto", "movej", "movel"}) {
        EXPECT_EQ(later.Reply(std::string(verb) + " @wide"),
                  std::string("erreur ") + verb + " : point « wide » : A12 = 120 hors des limites [-180 ; 90]");
        EXPECT_EQ(later.Reply("get angles"), start) << verb;
    }
    EXPECT_EQ(later.Reply("check movej @wide"),
              "erreur movej : point « wide » : A12 = 120 hors des limites [-180 ; 90]");
}

// ---------------------------------------------------------------------------
// Saved and loaded

TEST_F(WorkCommandsTest, ANewProgramLoadsBackTheFramesTheToolAndThePoints)
{
    const char* const lines[] = {
        "object box table 600 0 -10 400 800 20",
        "frame f1 0.1 -2.5e-7 1234.5678 33.3 -120.7 0.3",
        "frame f2 100 0 50 0 0 90",
        "frame f1 0.1 -2.5e-7 1234.5678 33.3 -120.7 0.35",
        "frame use f2",
        "tool 1.1 0 250.75 0 90 12.3",
        "angles -20.123457 40.5 20.25 5.0000005 55.3 -30.7",
        "point a",
        "point b 1 2 3 4 5 6",
        "angles -25 45 15 0 60 0",
    };
    for (const char* line : lines)
        ASSERT_EQ(Reply(line), "ok") << line;
    const std::vector<std::string> queries = {"get objects", "get frames",  "get frame", "get tool",  "get points",
                                              "get point a", "get point b", "get pose",  "get matrix"};
    std::vector<std::string> before;
    for (const std::string& query : queries)
        before.push_back(Reply(query));
    EXPECT_EQ(before[1], "ok f1 f2") << "in the order first defined";
    ASSERT_EQ(Reply("save prog.txt"), "ok prog.txt");
    EXPECT_EQ(ReadFile("prog.txt"), "object box table 600 0 -10 400 800 20\n"
                                    "frame f1 0.1 -2.5e-07 1234.5677 33.3 -120.7 0.35\n"
                                    "frame f2 100 0 50 0 0 90\n"
                                    "frame use f2\n"
                                    "tool 1.1 0 250.75 0 90 12.3\n"
                                    "point a -20.123457 40.5 20.25 5.0000005 55.3 -30.7\n"
                                    "point b 1 2 3 4 5 6\n");

    Program restarted;
    ASSERT_EQ(restarted.Reply("load prog.txt"), "ok prog.txt");
    for (std::size_t i = 0; i < queries.size(); ++i)
        EXPECT_EQ(restarted.Reply(queries[i]), before[i]) << queries[i];
}

// Without a tool, frame or point command, `save` writes the objects alone,
// as it always has; a file refused on any line changes nothing, frames,
// tool and points included.
TEST_F(WorkCommandsTest, SaveWritesTheObjectsAloneAndALoadIsWholeOrNothing)
{
    ASSERT_EQ(Reply("object sphere ball 600 0 100 30"), "ok");
    ASSERT_EQ(Reply("save cell-only.txt"), "ok cell-only.txt");
    EXPECT_EQ(ReadFile("cell-only.txt"), CellDefinitions(*program.simulation.Cell()));

    for (const char* line : {"frame f1 1 2 3 0 0 0", "frame use f1", "tool 0 0 50 0 0 0", "point p 1 2 3 4 5 6"})
        ASSERT_EQ(Reply(line), "ok") << line;
    const std::vector<std::string> queries = {"get objects", "get frames",  "get frame", "get tool",
                                              "get points",  "get point p", "get pose"};
    std::vector<std::string> before;
    for (const std::string& query : queries)
        before.push_back(Reply(query));
    std::ofstream("bad.txt") << "frame f2 0 0 0 0 0 90\nframe use f2\nframe remove f1\ntool 0 0 0 0 0 0\n"
                                "point p 6 5 4 3 2 1\npoint q 0 0 0 0 0 0\nobject remove ball\npoint remove zz\n";
    EXPECT_EQ(Reply("load bad.txt"), "erreur load : bad.txt, ligne 8 : erreur point : aucun point « zz »");
    for (std::size_t i = 0; i < queries.size(); ++i)
        EXPECT_EQ(Reply(queries[i]), before[i]) << queries[i];
}

// cell.txt at start defines frames, the tool and points as `load` does; a
// refused line is recorded with its number, the others kept.
TEST_F(WorkCommandsTest, TheStartCellFileDefinesFramesAndPointsToo)
{
    const std::string log = OpenErrorLog("kx_work_log.txt");
    std::ofstream("cell.txt") << "frame f 1 2 3 0 0 0\nframe use f\npoint p 1 2 3 4 5 6\nframe use nope\n"
                              << "tool 0 0 10 0 0 0\n";
    LoadStartCell(program.controller);
    CloseErrorLog(log);
    EXPECT_EQ(Reply("get frame"), "ok f 1 2 3 0 0 0");
    EXPECT_EQ(Reply("get point p"), "ok 1 2 3 4 5 6");
    EXPECT_EQ(Reply("get tool"), "ok 0 0 10 0 0 0");
    ASSERT_EQ(g_Records.size(), 1u);
    EXPECT_EQ(MessageOf(g_Records[0]), "Cellule cell.txt, ligne 4 : erreur frame : aucun repère « nope »");
}

// The numbers of a definition read back by the parser as the very floats
// written, whatever their bits.
TEST(ExactFloat, ReadsBackAsTheSameFloat)
{
    std::mt19937 rng(31);
    std::uniform_int_distribution<std::uint32_t> bits;
    for (int i = 0; i < 100000; ++i) {
        std::uint32_t b = bits(rng);
        float value;
        std::memcpy(&value, &b, sizeof value);
        if (!std::isfinite(value))
            continue;
        const std::string line = "tool " + ExactFloat(value) + " 0 0 0 0 0";
        Command command;
        std::string verb, message;
        ASSERT_EQ(ParseCommandLine(line.data(), line.size(), &command, &verb, &message), CommandLine::Command)
            << line << ": " << message;
        ASSERT_EQ(std::memcmp(&command.values[0], &value, sizeof value), 0) << line;
    }
    EXPECT_EQ(ExactFloat(0.1f), "0.1");
    EXPECT_EQ(ExactFloat(100.0f), "100");
}

// ---------------------------------------------------------------------------
// Bad input

TEST_F(WorkCommandsTest, BadInputIsRefusedWithItsReasonAndChangesNothing)
{
    for (const char* line : {"frame f1 300 -200 150 30 60 45", "frame use f1", "tool 0 0 50 0 0 0", "point p1"})
        ASSERT_EQ(Reply(line), "ok") << line;
    const std::vector<std::string> state = {"get frames",   "get frame",  "get tool", "get points",
                                            "get point p1", "get angles", "get pose"};
    std::vector<std::string> before;
    for (const std::string& query : state)
        before.push_back(Reply(query));

    struct Case {
        std::string line;
        const char* reply;
    };
    const Case cases[] = {
        // Unknown frames and points.
        {"frame use f9", "erreur frame : aucun repère « f9 »"},
        {"frame remove f9", "erreur frame : aucun repère « f9 »"},
        {"point remove p9", "erreur point : aucun point « p9 »"},
        {"get point p9", "erreur get : aucun point « p9 »"},
        {"angles @p9", "erreur angles : aucun point « p9 »"},
        {"movej @p9", "erreur movej : aucun point « p9 »"},
        {"movel 1 2 3 4 5 6 @p9", "erreur movel : aucun point « p9 »"},
        {"movec @p9 @p1", "erreur movec : aucun point « p9 »"},
        {"check movec 1 2 3 @p9", "erreur movec : aucun point « p9 »"},
        // Names.
        {"frame f/1 1 2 3 4 5 6", "erreur frame : nom de repère « f/1 » : lettres, chiffres, « - » et « _ » seulement"},
        {"frame use a.b", "erreur frame : nom de repère « a.b » : lettres, chiffres, « - » et « _ » seulement"},
        {"point p\x01", "erreur point : nom de point « p\uFFFD » : lettres, chiffres, « - » et « _ » seulement"},
        {"movej @été", "erreur movej : nom de point « été » : lettres, chiffres, « - » et « _ » seulement"},
        {"movej @", "erreur movej : nom de point vide"},
        {"point " + std::string(65, 'p'), "erreur point : nom de point de 65 caractères, 64 au plus"},
        {"frame base 1 2 3 4 5 6", "erreur frame : nom de repère « base » réservé aux commandes"},
        {"frame remove base", "erreur frame : nom de repère « base » réservé aux commandes"},
        {"point Remove", "erreur point : un nom attendu après remove"},
        // Numbers.
        {"frame f1 1 2 3 nan 5 6", "erreur frame : « nan » n'est pas un nombre fini"},
        {"tool 0 0 inf 0 0 0", "erreur tool : « inf » n'est pas un nombre fini"},
        {"point p1 1 2 3 4 5 1e39", "erreur point : « 1e39 » n'est pas un nombre fini"},
        {"tool 0 0 20000 0 0 0", "erreur tool : Z = 20000 hors de [-10000 ; 10000]"},
        {"tool 0 0 0 0 400 0", "erreur tool : bêta = 400 hors de [-360 ; 360]"},
        {"movel @p1 blend -1", "erreur movel : rayon de raccord négatif : -1"},
        {"movel @p1 blend", "erreur movel : un rayon attendu après blend"},
        {"movel @p1 1 2 3 blend 5", "erreur movel : cible 2 : 6 nombres ou @POINT attendus, 3 reçus"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Reply(c.line), c.reply) << c.line;
        for (std::size_t i = 0; i < state.size(); ++i)
            EXPECT_EQ(Reply(state[i]), before[i]) << c.line << " then " << state[i];
    }
}

}  // namespace
