// The user frames and the taught points as values (their order, the frame
// in use, the conversions to and from the base frame, the next free name,
// the names they take), and the controller that changes them: each change
// told, the pose fields kept, moves to points, refusals placed in the frame
// in use. The shipped arm without its cell; motions run on the
// simulation's clock.
#include "arm/ArmKinematics.h"
#include "kinematics/KdlFrames.h"
#include "sim/Controller.h"
#include "sim/MotionRecorder.h"
#include "sim/ProgramNames.h"
#include "sim/Simulation.h"
#include "tests/support/RecordingView.h"
#include "tests/support/ShippedArm.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

const ToolPose kFrame{300, -200, 150, 30, 60, 45};

bool SameBits(const ToolPose& a, const ToolPose& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

std::vector<std::string> Names(const CWorkFrames& frames)
{
    std::vector<std::string> names;
    for (const NamedFrame& f : frames.All())
        names.push_back(f.name);
    return names;
}

void ExpectPoseNear(const ToolPose& a, const ToolPose& b, double position, const char* what)
{
    const KDL::Frame fa = FrameOfPose(a), fb = FrameOfPose(b);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(fa.p[i], fb.p[i], position) << what;
        for (int j = 0; j < 3; ++j)
            EXPECT_NEAR(fa.M(i, j), fb.M(i, j), 1e-5) << what;
    }
}

TEST(WorkFrames, KeepTheirOrderAndTheOneInUse)
{
    CWorkFrames frames;
    EXPECT_EQ(frames.InUse(), nullptr) << "the base frame at start";
    frames.Define("a", kFrame);
    frames.Define("b", ToolPose{});
    frames.Define("a", ToolPose{1, 2, 3, 0, 0, 0});
    EXPECT_EQ(Names(frames), (std::vector<std::string>{"a", "b"})) << "a new pose keeps the place";
    EXPECT_EQ(frames.Find("a")->pose.X, 1.0f);
    EXPECT_FALSE(frames.Use("c"));
    EXPECT_EQ(frames.InUse(), nullptr);
    ASSERT_TRUE(frames.Use("a"));
    EXPECT_EQ(frames.InUse()->name, "a");
    EXPECT_TRUE(frames.Remove("b"));
    EXPECT_EQ(frames.InUse()->name, "a") << "another frame removed";
    EXPECT_FALSE(frames.Remove("b"));
    EXPECT_TRUE(frames.Remove("a"));
    EXPECT_EQ(frames.InUse(), nullptr) << "the one in use removed: the base frame";
    frames.Define("a", kFrame);
    EXPECT_EQ(frames.InUse(), nullptr) << "defined again, not in use again";
    ASSERT_TRUE(frames.Use("a"));
    ASSERT_TRUE(frames.Use(kBaseFrameName));
    EXPECT_EQ(frames.InUse(), nullptr);
}

TEST(WorkFrames, ConvertPosesAndRequestsToTheBaseFrame)
{
    CWorkFrames frames;
    const ToolPose pose{412.5f, -80, 610.25f, 10, 100, 170};
    MoveRequest request;
    request.kind = MoveKind::Arc;
    request.pose = pose;
    request.through = {pose, kFrame};
    request.via[0] = 5;
    request.via[1] = 6;
    request.via[2] = 7;
    // In the base frame, the very bits.
    EXPECT_TRUE(SameBits(frames.ToBase(pose), pose));
    EXPECT_TRUE(SameBits(frames.FromBase(pose), pose));
    const MoveRequest same = frames.ToBase(request);
    EXPECT_TRUE(SameBits(same.pose, pose));
    EXPECT_EQ(same.via[2], 7.0f);

    frames.Define("f", kFrame);
    ASSERT_TRUE(frames.Use("f"));
    const KDL::Frame f = FrameOfPose(kFrame);
    ExpectPoseNear(frames.ToBase(pose), PoseOfFrame(f * FrameOfPose(pose)), 1e-3, "to the base frame");
    ExpectPoseNear(frames.FromBase(frames.ToBase(pose)), pose, 1e-3, "and back");
    const MoveRequest base = frames.ToBase(request);
    ExpectPoseNear(base.pose, frames.ToBase(pose), 0, "the target");
    ASSERT_EQ(base.through.size(), 2u);
    ExpectPoseNear(base.through[0], frames.ToBase(pose), 0, "the first target through");
    ExpectPoseNear(base.through[1], frames.ToBase(kFrame), 0, "the second target through");
    const KDL::Vector via = f * KDL::Vector(5, 6, 7);
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(base.via[i], via[i], 1e-3) << "the via point, " << i;
    EXPECT_EQ(base.kind, MoveKind::Arc);
}

TEST(TaughtPoints, KeepTheirOrderAndNameTheNextFreeOne)
{
    CTaughtPoints points;
    EXPECT_EQ(points.NextFreeName(), "P1");
    points.Store("P1", JointAngles{1, 2, 3, 4, 5, 6});
    points.Store("P2", JointAngles{});
    EXPECT_EQ(points.NextFreeName(), "P3");
    points.Store("P1", JointAngles{7, 2, 3, 4, 5, 6});
    ASSERT_EQ(points.All().size(), 2u);
    EXPECT_EQ(points.All()[0].name, "P1") << "new angles keep the place";
    EXPECT_EQ(points.All()[0].angles.A12, 7.0f);
    EXPECT_TRUE(points.Remove("P1"));
    EXPECT_FALSE(points.Remove("P1"));
    EXPECT_EQ(points.NextFreeName(), "P1");
}

TEST(ProgramNames, LettersDigitsDashAndUnderscoreThatNoCommandReadsAsAWord)
{
    struct Case {
        ProgramName kind;
        std::string name;
        const char* reason;  // "" when taken
    };
    const Case cases[] = {
        {ProgramName::Point, "P1", ""},
        {ProgramName::Frame, "table_2-a", ""},
        {ProgramName::Point, std::string(64, 'p'), ""},
        {ProgramName::Point, std::string(65, 'p'), "nom de point de 65 caractères, 64 au plus"},
        {ProgramName::Point, "", "nom de point vide"},
        {ProgramName::Frame, "a b", "nom de repère « a b » : lettres, chiffres, « - » et « _ » seulement"},
        {ProgramName::Point, "@p", "nom de point « @p » : lettres, chiffres, « - » et « _ » seulement"},
        {ProgramName::Frame, "été", "nom de repère « été » : lettres, chiffres, « - » et « _ » seulement"},
        {ProgramName::Frame, "Base", "nom de repère « Base » réservé aux commandes"},
        {ProgramName::Frame, "use", "nom de repère « use » réservé aux commandes"},
        {ProgramName::Frame, "remove", "nom de repère « remove » réservé aux commandes"},
        {ProgramName::Point, "REMOVE", "nom de point « REMOVE » réservé aux commandes"},
        {ProgramName::Point, "base", ""},
        {ProgramName::Point, "use", ""},
    };
    for (const Case& c : cases) {
        std::string reason;
        EXPECT_EQ(CheckProgramName(c.kind, c.name, &reason), *c.reason == '\0') << c.name;
        EXPECT_EQ(reason, c.reason) << c.name;
    }
}

// ---------------------------------------------------------------------------
// Through the controller

class CountingListener : public CSimulationListener {
public:
    void OnStateChanged() override { ++changes; }
    int changes = 0;
};

struct World {
    World() { simulation.AddListener(&listener); }
    ~World() { simulation.RemoveListener(&listener); }

    void Finish()
    {
        for (double t = 0; simulation.Moving() && t < 120.0; t += 0.01)
            simulation.Advance(t);
    }

    CSimulation simulation{ShippedArm()};
    CMotionRecorder recorder{simulation};
    CRecordingView view;
    CController controller{simulation, view, recorder};
    CountingListener listener;
};

// Every change reaches the listeners; a refused one changes nothing and
// tells no one.
TEST(WorkController, EveryChangeIsToldAndARefusedOneChangesNothing)
{
    World w;
    CController& c = w.controller;
    struct Case {
        const char* what;
        std::function<bool(CController&)> change;  // true when taken
        bool taken;
    };
    const Case cases[] = {
        {"tool",
         [](CController& c) {
             return c.SetTool({0, 0, 100, 0, 0, 0}).ok;
         },
         true},
        {"tool out of range",
         [](CController& c) {
             return c.SetTool({0, 0, 1e5f, 0, 0, 0}).ok;
         },
         false},
        {"frame", [](CController& c) { return c.DefineFrame("f", kFrame).ok; }, true},
        {"bad frame name", [](CController& c) { return c.DefineFrame("a b", kFrame).ok; }, false},
        {"use", [](CController& c) { return c.UseFrame("f").ok; }, true},
        {"use unknown", [](CController& c) { return c.UseFrame("g").ok; }, false},
        {"point", [](CController& c) { return c.StorePoint("p").ok; }, true},
        {"next point", [](CController& c) { return c.StoreNextPoint() == "P1"; }, true},
        {"next point again", [](CController& c) { return c.StoreNextPoint() == "P2"; }, true},
        {"point remove", [](CController& c) { return c.RemovePoint("P1").ok; }, true},
        {"point remove unknown", [](CController& c) { return c.RemovePoint("P1").ok; }, false},
        {"frame remove", [](CController& c) { return c.RemoveFrame("f").ok; }, true},
        {"frame remove unknown", [](CController& c) { return c.RemoveFrame("f").ok; }, false},
    };
    for (const Case& k : cases) {
        const int before = w.listener.changes;
        const WorkDefinitions was = c.Work();
        EXPECT_EQ(k.change(c), k.taken) << k.what;
        if (k.taken) {
            EXPECT_GT(w.listener.changes, before) << k.what;
        } else {
            EXPECT_EQ(w.listener.changes, before) << k.what;
            EXPECT_EQ(Names(c.Work().frames), Names(was.frames)) << k.what;
            EXPECT_EQ(c.Work().points.All().size(), was.points.All().size()) << k.what;
            EXPECT_TRUE(SameBits(c.Tool(), was.tool)) << k.what;
        }
    }
    EXPECT_EQ(w.simulation.Points().All().size(), 2u) << "p and P2";
    EXPECT_EQ(w.simulation.Frames().InUse(), nullptr);
}

// The pose fields stand for a pose: a frame put in use says it in that
// frame; a new tool makes them the new tool point's where the arm stands.
TEST(WorkController, ThePoseFieldsKeepTheirPoseAndFollowTheTool)
{
    World w;
    CController& c = w.controller;
    ASSERT_TRUE(c.Immediate());
    const ToolPose typed{700, 100, 600, 10, 80, 30};
    for (int i = 0; i < 6; ++i)
        c.SetPoseValue(i, typed.*kPoseFields[i]);
    ASSERT_TRUE(c.DefineFrame("f", kFrame).ok);
    ASSERT_TRUE(c.UseFrame("f").ok);
    ExpectPoseNear(c.Pose(), PoseOfFrame(FrameOfPose(kFrame).Inverse() * FrameOfPose(typed)), 1e-3, "said in f");
    ASSERT_TRUE(c.UseFrame(kBaseFrameName).ok);
    ExpectPoseNear(c.Pose(), typed, 1e-3, "said in the base frame again");

    ASSERT_TRUE(c.SetTool({0, 0, 100, 0, 0, 0}).ok);
    EXPECT_TRUE(SameBits(c.Pose(), ArmMGD(w.simulation.Arm(), w.simulation.Angles())));

    // In a frame, the inverse model solves the pose said in it.
    ASSERT_TRUE(c.UseFrame("f").ok);
    const ToolPose there = c.PoseOf(w.simulation.Angles());
    ToolPose raised = there;
    raised.Z += 30;
    const MGIResult result = c.MoveToPose(raised);
    ASSERT_TRUE(result.reached);
    ExpectPoseNear(c.PoseOf(w.simulation.Angles()), raised, 1e-2, "MoveToPose in f");
    ExpectPoseNear(ArmMGD(w.simulation.Arm(), w.simulation.Angles()),
                   PoseOfFrame(FrameOfPose(kFrame) * FrameOfPose(raised)), 1e-2, "in the base frame");
}

TEST(WorkController, MovesToAPointByJointsOrByALine)
{
    World w;
    CController& c = w.controller;
    const JointAngles taught{-10, 50, 10, 20, 40, 30};
    ASSERT_TRUE(c.DefinePoint("p", taught).ok);
    const MoveOutcome joint = c.MoveToPoint("p", MoveKind::Joint, true);
    ASSERT_TRUE(joint.ok) << joint.words;
    w.Finish();
    EXPECT_EQ(std::memcmp(&w.simulation.Angles(), &taught, sizeof taught), 0);

    c.SetAngles({-25, 45, 15, 0, 60, 0});
    const MoveOutcome line = c.MoveToPoint("p", MoveKind::Linear, true);
    ASSERT_TRUE(line.ok) << line.words;
    w.Finish();
    ExpectPoseNear(ArmMGD(w.simulation.Arm(), w.simulation.Angles()), ArmMGD(w.simulation.Arm(), taught), 1e-2,
                   "the point's tool pose");

    EXPECT_FALSE(c.MoveToPoint("p", MoveKind::Arc, false).ok);
    const MoveOutcome unknown = c.MoveToPoint("q", MoveKind::Joint, true);
    EXPECT_FALSE(unknown.ok);
    EXPECT_EQ(unknown.words, "aucun point « q »");
    EXPECT_EQ(c.StatusLine(), "Refusé : aucun point « q »");
}

// Where a line is refused is said in the frame in use, as every pose.
TEST(WorkController, ARefusalIsPlacedInTheFrameInUse)
{
    World w;
    CController& c = w.controller;
    MoveRequest far;
    far.kind = MoveKind::Linear;
    far.pose = c.PoseOf(w.simulation.Angles());
    far.pose.X += 3000;
    const MoveOutcome inBase = c.Move(far, false);
    ASSERT_FALSE(inBase.ok);

    ASSERT_TRUE(c.DefineFrame("f", kFrame).ok);
    ASSERT_TRUE(c.UseFrame("f").ok);
    MoveRequest same = far;
    same.pose = c.Simulation().Frames().FromBase(far.pose);
    const MoveOutcome inFrame = c.Move(same, false);
    ASSERT_FALSE(inFrame.ok);
    // "... à 43 % du chemin (812,0 ; -120,5 ; 402,3)"
    auto place = [](const std::string& words) {
        std::string numbers = words.substr(words.rfind('(') + 1);
        for (char& ch : numbers)
            ch = ch == ',' ? '.' : ch == ';' || ch == ')' ? ' ' : ch;
        double x = 0, y = 0, z = 0;
        std::sscanf(numbers.c_str(), "%lf %lf %lf", &x, &y, &z);
        return KDL::Vector(x, y, z);
    };
    const KDL::Vector expected = FrameOfPose(kFrame).Inverse() * place(inBase.words);
    const KDL::Vector said = place(inFrame.words);
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(said[i], expected[i], 0.2) << inBase.words << " / " << inFrame.words;
}

}  // namespace
