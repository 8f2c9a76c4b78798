// The arm in its cell, through the command language on the shipped arm:
// what touches what at known poses, planned moves refused where the arm
// first meets an object, clearances against FCL's own distance, definition
// files saved and played back, and bad definitions that change nothing.
// Files are written in a scratch directory, the test's data directory.
#include "collision_fixture.h"
#include "command/CellCommands.h"
#include "command/CommandExecutor.h"
#include "dataset/ArmCell.h"
#include "motion/MovePlanner.h"
#include "sim/Controller.h"
#include "sim/MotionRecorder.h"
#include "sim/Simulation.h"
#include "tests/support/ErrorLog.h"
#include "tests/support/RecordingView.h"

#include <fcl/geometry/shape/sphere.h>
#include <fcl/narrowphase/distance.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <unistd.h>

using namespace kxtest;

namespace {

class CellCommandsTest : public ::testing::Test {
protected:
    explicit CellCommandsTest(bool stopOnCollision = false) : simulation(Arm(stopOnCollision)) {}

    static ArmDescription Arm(bool stopOnCollision)
    {
        ArmDescription arm = ShippedArm();
        arm.stopOnCollision = stopOnCollision;
        return arm;
    }

    void SetUp() override
    {
        simulation.SetCell(BuildArmCell(simulation.Arm(), KX_SOURCE_DIR "/default"));
        ASSERT_NE(getcwd(m_Previous, sizeof m_Previous), nullptr);
        m_Directory = ::testing::TempDir() + "kx_cell_" + std::to_string(getpid());
        ASSERT_EQ(std::system(("rm -rf '" + m_Directory + "' && mkdir -p '" + m_Directory + "'").c_str()), 0);
        ASSERT_EQ(chdir(m_Directory.c_str()), 0);
    }
    void TearDown() override
    {
        ASSERT_EQ(chdir(m_Previous), 0);
        std::system(("rm -rf '" + m_Directory + "'").c_str());
    }

    // The reply a program gets: at once, or once the motion has ended.
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

    const CCollisionWorld& Cell() const { return *simulation.Cell(); }

    CSimulation simulation;
    CMotionRecorder recorder{simulation};
    CRecordingView view;
    CController controller{simulation, view, recorder};
    CCommandExecutor executor{controller};

private:
    char m_Previous[4096];
    std::string m_Directory;
};

// The pose where the arm stands, as `get pose` gives it, for lines.
std::string Words(const ToolPose& p, float dy = 0, float dz = 0)
{
    std::ostringstream words;
    words.precision(9);
    words << p.X << ' ' << p.Y + dy << ' ' << p.Z + dz << ' ' << p.alpha << ' ' << p.beta << ' ' << p.gamma;
    return words.str();
}

// The percentage and the place a refusal ends with: "... à 43 % du chemin
// (812,0 ; -120,5 ; 402,3)".
void PlaceOf(const std::string& reply, int* percent, double place[3])
{
    const std::size_t at = reply.rfind(" à ");
    ASSERT_NE(at, std::string::npos) << reply;
    *percent = std::atoi(reply.c_str() + at + std::strlen(" à "));
    std::string numbers = reply.substr(reply.rfind('(') + 1);
    for (char& c : numbers)
        c = c == ',' ? '.' : c == ';' || c == ')' ? ' ' : c;
    std::istringstream in(numbers);
    in >> place[0] >> place[1] >> place[2];
}

TEST_F(CellCommandsTest, KnownPosesTouchWhatTheyShould)
{
    struct Case {
        const char* set;       // the line that puts the arm there
        const char* expected;  // get collisions
    };
    const Case cases[] = {
        // The start angles: nothing.
        {"angles -25 45 15 0 60 0", "ok 0"},
        // Every angle 0: the wrist centre under the floor.
        {"angles 0 0 0 0 0 0", "ok 3 LowerArm:ground Wrist:ground Hand:ground"},
        // The wrist centre driven into the body.
        {"pose 100 0 150 0 0 0", "ok 5 UpperArm:ground Elbow:ground LowerArm:ground Body:LowerArm Body:Wrist"},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(Reply(c.set).substr(0, 2), "ok") << c.set;
        EXPECT_EQ(Reply("get collisions"), c.expected) << c.set;
    }
    // In contact, the clearance is 0 with the first pair found.
    EXPECT_EQ(Reply("get clearance"), "ok 0.000 UpperArm ground");
    Reply("angles -25 45 15 0 60 0");
    EXPECT_EQ(Reply("get clearance").substr(0, 6), "ok 14.");
}

// A line through a box is refused where the arm first touches it: the same
// line without the box, walked in steps a hundred times finer than the
// planner's checks, meets the box at the same place.
TEST_F(CellCommandsTest, ALineThroughABoxIsRefusedWhereTheArmFirstTouchesIt)
{
    const JointAngles start = simulation.Angles();
    const ToolPose from = ArmMGD(simulation.Arm(), start);
    const std::string line = "movel " + Words(from, 600);
    ASSERT_EQ(Reply("check " + line).substr(0, 3), "ok ");

    ASSERT_EQ(Reply("object box wall 700 0 500 400 20 400"), "ok");
    const std::string refused = Reply(line);
    ASSERT_EQ(refused.rfind("erreur movel : collision entre ", 0), 0u) << refused;
    EXPECT_NE(refused.find("« wall »"), std::string::npos) << refused;
    EXPECT_EQ(Reply("get angles"), "ok -25 45 15 0 60 0") << "a refused move leaves the arm where it stands";

    MoveRequest request;
    request.kind = MoveKind::Linear;
    request.pose = from;
    request.pose.Y += 600;
    const MovePlan plan = PlanMove(simulation.Arm(), start, request, 100.0);
    ASSERT_TRUE(plan.ok);
    double firstY = 0;
    const double duration = plan.trajectory->Duration();
    for (int i = 0; i <= 50000; ++i) {
        JointAngles angles;
        plan.trajectory->At(duration * i / 50000, angles);
        if (Cell().FirstCollision(angles)) {
            firstY = ArmMGD(simulation.Arm(), angles).Y;
            break;
        }
    }
    ASSERT_NE(firstY, 0.0) << "the fine walk meets the wall";
    int percent;
    double place[3];
    PlaceOf(refused, &percent, place);
    // Along a line the way's length is the tool point's move in y.
    EXPECT_NEAR(percent, 100.0 * (firstY - from.Y) / 600.0, 1.0) << refused;
    EXPECT_NEAR(place[1], firstY, 2.0) << refused;
    EXPECT_NEAR(place[0], from.X, 0.1) << refused;
    // Drawn up to the contact, refused from there.
    EXPECT_GT(view.refusedFrom, 0u);
    EXPECT_LT(view.refusedFrom, view.plannedPoints);

    ASSERT_EQ(Reply("object box wall 700 900 500 400 20 400"), "ok");
    EXPECT_EQ(Reply(line).substr(0, 3), "ok ") << "the wall moved out of the way";
}

// A plate 3 units thick across the forearm's way while the base turns at
// full speed is found where the forearm first reaches it: within the 2 units
// the checks step by of the first contact of a walk along the same move
// a hundred times finer.
TEST_F(CellCommandsTest, AThinPlateAcrossAFastJointMoveIsFound)
{
    // Radial at 20 degrees (the arm's plane starts at -25): 300 long from
    // 600 to 900 from the base's axis.
    const double c = std::cos(20 * M_PI / 180), s = std::sin(20 * M_PI / 180);
    std::ostringstream plate;
    plate << "object box plate " << 750 * c << ' ' << 750 * s << " 540 300 3 400 0 0 20";
    ASSERT_EQ(Reply(plate.str()), "ok");
    const std::string refused = Reply("movej 65 45 15 0 60 0");
    EXPECT_EQ(refused.rfind("erreur movej : collision entre l'avant-bras et « plate » à ", 0), 0u) << refused;
    EXPECT_EQ(Reply("get angles"), "ok -25 45 15 0 60 0");

    JointAngles first{};
    bool met = false;
    for (int i = 0; i <= 90000 && !met; ++i) {
        first = simulation.Angles();
        first.A12 += 90.0f * i / 90000;
        met = Cell().FirstCollision(first);
    }
    ASSERT_TRUE(met);
    const ToolPose at = ArmMGD(simulation.Arm(), first);
    int percent;
    double place[3];
    PlaceOf(refused, &percent, place);
    EXPECT_NEAR(std::hypot(place[0] - at.X, place[1] - at.Y), 0.0, 2.0) << refused;
}

// get clearance NAME against a sphere is FCL's own distance from the
// links' meshes, and grows by what the sphere moves straight away.
TEST_F(CellCommandsTest, ClearanceToASphereIsFclsDistance)
{
    const ArmDescription& arm = simulation.Arm();
    const LinkMeshes meshes = ShippedLinkMeshes(arm);
    auto expected = [&](const fcl::Vector3d& centre, double radius, fcl::Vector3d* away) {
        double nearest = 1e300;
        for (int link = 0; link < kLinkCount; ++link) {
            fcl::DistanceRequestd request;
            request.enable_nearest_points = true;
            fcl::DistanceResultd result;
            fcl::Transform3d at = fcl::Transform3d::Identity();
            at.translation() = centre;
            const fcl::Sphered sphere(radius);
            fcl::distance(FclModel(meshes[static_cast<std::size_t>(link)]).get(),
                          DrawnPose(arm, simulation.Angles(), link), &sphere, at, request, result);
            if (result.min_distance < nearest) {
                nearest = result.min_distance;
                // FCL 0.7 gives the nearest points in each object's own frame.
                *away = (centre - DrawnPose(arm, simulation.Angles(), link) * result.nearest_points[0]).normalized();
            }
        }
        return nearest;
    };
    auto reply = [&](const char* name) {
        const std::string words = Reply(std::string("get clearance ") + name);
        EXPECT_EQ(words.rfind("ok ", 0), 0u) << words;
        return std::atof(words.c_str() + 3);
    };

    const ToolPose tool = ArmMGD(arm, simulation.Angles());
    const fcl::Vector3d centre(tool.X, tool.Y, tool.Z + 300);
    std::ostringstream define;
    define << "object sphere ball " << centre.x() << ' ' << centre.y() << ' ' << centre.z() << " 40";
    ASSERT_EQ(Reply(define.str()), "ok");
    fcl::Vector3d away;
    const double first = expected(centre, 40, &away);
    EXPECT_NEAR(reply("ball"), first, 2e-3);

    const fcl::Vector3d moved = centre + 50.0 * away;
    std::ostringstream again;
    again.precision(12);
    again << "object sphere ball " << moved.x() << ' ' << moved.y() << ' ' << moved.z() << " 40";
    ASSERT_EQ(Reply(again.str()), "ok");
    EXPECT_NEAR(reply("ball"), first + 50.0, 2e-3);
    EXPECT_NEAR(expected(moved, 40, &away), first + 50.0, 1e-6);
}

TEST_F(CellCommandsTest, SavedThenRemovedThenLoadedGivesTheSameObjects)
{
    const double low[3] = {-0.5, -0.5, 0}, high[3] = {0.5, 0.5, 1};
    ASSERT_TRUE(SaveMesh("part.obj", BoxMesh(low, high)));
    const char* const lines[] = {
        "object box table 600 0 -10 400 800 20",
        "object cylinder post 0.1 500 100 25 200 10 20 30",
        "object sphere ball -300 1e-3 250 12.5",
        "object mesh part part.obj 600 0 50 0 0 90",
        "object color table #804020",
    };
    for (const char* line : lines)
        ASSERT_EQ(Reply(line), "ok") << line;
    const std::vector<std::string> queries = {"get objects",     "get object table", "get object post",
                                              "get object ball", "get object part",  "get collisions"};
    std::vector<std::string> before;
    for (const std::string& query : queries)
        before.push_back(Reply(query));
    EXPECT_EQ(before[0], "ok table post ball part");
    EXPECT_EQ(before[2], "ok cylinder 0.1 500 100 25 200 10 20 30") << "numbers as they were typed";
    EXPECT_EQ(before[3], "ok sphere -300 0.001 250 12.5");
    EXPECT_EQ(before[4], "ok mesh part.obj 600 0 50 0 0 90");

    ASSERT_EQ(Reply("save my-cell.txt"), "ok my-cell.txt");
    ASSERT_EQ(Reply("object remove all"), "ok");
    EXPECT_EQ(Reply("get objects"), "ok");
    ASSERT_EQ(Reply("load my-cell.txt"), "ok my-cell.txt");
    for (std::size_t i = 0; i < queries.size(); ++i)
        EXPECT_EQ(Reply(queries[i]), before[i]) << queries[i];
    EXPECT_EQ(Cell().FindObject("table")->colour, "#804020");
    EXPECT_EQ(Cell().FindObject("post")->colour, kObjectGrey);
}

// A definition the cell refuses changes nothing: the object keeps its old
// definition, and a file with a bad line leaves the cell as it was.
TEST_F(CellCommandsTest, BadDefinitionsChangeNothing)
{
    ASSERT_EQ(Reply("object box t 1 2 3 4 5 6"), "ok");
    std::ofstream("garbage.obj") << "not a mesh";
    struct Case {
        const char* line;
        const char* reply;
    };
    const Case cases[] = {
        {"object box t 1 2 3 0 5 6", "erreur object : taille nulle ou négative : DX vaut 0"},
        {"object box t 1 2 3 4 -5 6", "erreur object : taille nulle ou négative : DY vaut -5"},
        {"object sphere t 1 2 3 0", "erreur object : taille nulle ou négative : le rayon vaut 0"},
        {"object mesh t missing.obj 1 2 3", "erreur object : impossible d'ouvrir « missing.obj »"},
        {"object color nobody #000000", "erreur object : aucun objet « nobody »"},
        {"object remove nobody", "erreur object : aucun objet « nobody »"},
        {"get object nobody", "erreur get : aucun objet « nobody »"},
        {"get clearance nobody", "erreur get : aucun objet « nobody »"},
        {"load nothing.txt", "erreur load : impossible d'ouvrir « nothing.txt »"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Reply(c.line), c.reply) << c.line;
        EXPECT_EQ(Reply("get object t"), "ok box 1 2 3 4 5 6") << c.line;
    }
    const std::string garbage = Reply("object mesh t garbage.obj 1 2 3");
    EXPECT_EQ(garbage.rfind("erreur object : « garbage.obj » : ", 0), 0u) << garbage;
    EXPECT_EQ(Reply("get object t"), "ok box 1 2 3 4 5 6");

    std::ofstream("bad.txt") << "object sphere s 0 0 900 10\nobject remove t\nangles 0 0 0 0 0 0\n";
    EXPECT_EQ(Reply("load bad.txt"),
              "erreur load : bad.txt, ligne 3 : erreur angles : pas une définition de la cellule");
    EXPECT_EQ(Reply("get objects"), "ok t");
    EXPECT_EQ(Reply("get angles"), "ok -25 45 15 0 60 0");
}

// cell.txt is played at start: a bad line is recorded with its number, the
// others are defined.
TEST_F(CellCommandsTest, TheStartCellFileKeepsItsGoodLines)
{
    const std::string log = OpenErrorLog("kx_cell_log.txt");
    std::ofstream("cell.txt") << "# the bench\n\nobject box table 600 0 -10 400 800 20\nobject box leg 1 2 3\n"
                              << "object sphere ball 600 0 100 30\n";
    LoadStartCell(controller);
    CloseErrorLog(log);
    EXPECT_EQ(Reply("get objects"), "ok table ball");
    ASSERT_EQ(g_Records.size(), 1u);
    EXPECT_EQ(MessageOf(g_Records[0]),
              "Cellule cell.txt, ligne 4 : erreur object : 6 ou 9 nombres attendus après le nom, 3 reçus");
}

class StopOnCollisionTest : public CellCommandsTest {
protected:
    StopOnCollisionTest() : CellCommandsTest(true) {}
};

// With bStopOnCollision the chase stops at its first step into a contact;
// without it, a contact is only shown.
TEST_F(StopOnCollisionTest, TheChaseStopsAtItsFirstContact)
{
    ASSERT_EQ(Reply("object box wall 600 0 500 800 20 800"), "ok");
    const std::string stopped = Reply("moveto 60 45 15 0 60 0");
    EXPECT_EQ(stopped.rfind("erreur moveto : collision entre ", 0), 0u) << stopped;
    EXPECT_NE(stopped.find("« wall », arrêté à "), std::string::npos) << stopped;
    EXPECT_NE(Reply("get collisions").find(":wall"), std::string::npos);
    // Already in contact, the arm can still be moved out.
    EXPECT_EQ(Reply("moveto -25 45 15 0 60 0"), "ok");
}

TEST_F(CellCommandsTest, WithoutStopOnCollisionTheChaseGoesThrough)
{
    ASSERT_EQ(Reply("object box wall 600 0 500 800 20 800"), "ok");
    EXPECT_EQ(Reply("moveto 60 45 15 0 60 0"), "ok");
    EXPECT_EQ(Reply("get angles"), "ok 60 45 15 0 60 0");
}

}  // namespace
