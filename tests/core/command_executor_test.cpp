// Every reply and refusal of the command language, at the level it is
// written: a line parsed as the port and scripts parse it, run by the
// executor through the controller on the shipped arm, its reply compared.
// The window is a recording view; motions are driven by the simulation's
// clock, chosen by the test.
#include "command/CommandExecutor.h"
#include "dataset/ArmCell.h"
#include "sim/Controller.h"
#include "sim/MotionRecorder.h"
#include "sim/Simulation.h"
#include "tests/support/RecordingView.h"
#include "tests/support/ShippedArm.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace {

class CommandExecutorTest : public ::testing::Test {
protected:
    CommandOutcome Run(const char* line)
    {
        Command command;
        std::string verb, message;
        const CommandLine kind = ParseCommandLine(line, std::strlen(line), &command, &verb, &message);
        if (kind != CommandLine::Command) {
            ADD_FAILURE() << "not a command: " << line << " (" << message << ")";
            return {};
        }
        return executor.Run(command);
    }
    // The reply a program gets: at once, or once the motion has ended.
    std::string Reply(const char* line)
    {
        const CommandOutcome outcome = Run(line);
        if (outcome.kind != CommandOutcome::AwaitMotion)
            return outcome.reply;
        FinishMotion();
        return outcome.complete ? outcome.complete() : outcome.reply;
    }
    // The motion under way, run to its end on the simulation's own clock.
    void FinishMotion()
    {
        for (double t = 0; simulation.Moving() && t < 120.0; t += 0.01)
            simulation.Advance(t);
    }

    void SetUp() override { simulation.SetCell(BuildArmCell(simulation.Arm(), KX_SOURCE_DIR "/default")); }

    CSimulation simulation{ShippedArm()};
    CMotionRecorder recorder{simulation};
    CRecordingView view;
    CController controller{simulation, view, recorder};
    CCommandExecutor executor{controller};
};

TEST_F(CommandExecutorTest, EachLineGetsItsReply)
{
    struct Case {
        const char* line;
        const char* reply;
    };
    const Case cases[] = {
        {"get angles", "ok -25 45 15 0 60 0"},
        {"angles 10 20 30 40 50 60", "ok"},
        {"get angles", "ok 10 20 30 40 50 60"},
        {"angles 190 0 0 0 0 0", "erreur angles : A12 = 190 hors des limites [-180 ; 180]"},
        {"get angles", "ok 10 20 30 40 50 60"},
        {"target 1 2 3 4 5 -181", "erreur target : A67 = -181 hors des limites [-180 ; 180]"},
        {"target 1 2 3 4 5 6", "ok"},
        {"get targets", "ok 1 2 3 4 5 6"},
        {"get angles", "ok 10 20 30 40 50 60"},
        {"stop", "ok"},
        {"get targets", "ok 10 20 30 40 50 60"},
        {"speed 150", "erreur speed : 150 % hors de [1 ; 100]"},
        {"speed 0.5", "erreur speed : 0,5 % hors de [1 ; 100]"},
        {"speed 50", "ok"},
        {"get speed", "ok 50"},
        {"wait", "ok"},
        {"record sq.csv", "erreur record : aucun mouvement à enregistrer"},
        {"go", "ok"},
        {"config 9", "erreur config : pas de configuration 9 pour la pose du bras"},

        {"screenshot vue.png", "ok vue.png"},
        {"show wireframe on", "ok"},
        {"trail clear", "ok"},
        {"camera reset", "ok"},
        {"exit", "ok"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Reply(c.line), c.reply) << c.line;
    EXPECT_EQ(view.calls,
              (std::vector<std::string>{"screenshot vue.png", "wireframe on", "trail clear", "camera reset"}));
}

TEST_F(CommandExecutorTest, PosesOutOfReachAreRefusedAndTheArmStays)
{
    for (const char* line : {"pose 99999 0 0 0 0 0", "mgi 99999 0 0 0 0 0"}) {
        const std::string reply = Reply(line);
        const std::string verb = std::string(line).substr(0, std::strchr(line, ' ') - line);
        EXPECT_EQ(reply.rfind("erreur " + verb + " : hors d'atteinte, à ", 0), 0u) << reply;
        EXPECT_EQ(Reply("get angles"), "ok -25 45 15 0 60 0");
    }
}

// The numbers of an "ok ..." reply.
std::vector<double> Numbers(const std::string& reply)
{
    std::vector<double> numbers;
    std::istringstream in(reply.substr(reply.find(' ') + 1));
    for (double x; in >> x;)
        numbers.push_back(x);
    return numbers;
}

void ExpectNear(const std::vector<double>& a, const std::vector<double>& b, double tolerance)
{
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i)
        EXPECT_NEAR(a[i], b[i], tolerance) << "value " << i;
}

// The pose of the start angles, given from elsewhere: the arm lands back on
// the start angles, the configuration nearest where it stands; mgi says the
// same without moving it.
TEST_F(CommandExecutorTest, APoseTakenIsThePoseGiven)
{
    const std::string pose = Reply("get pose").substr(3);
    ASSERT_EQ(Reply("angles 0 30 20 0 40 0"), "ok");
    const std::vector<double> start = {-25, 45, 15, 0, 60, 0};
    ExpectNear(Numbers(Reply(("mgi " + pose).c_str())), start, 1e-3);
    EXPECT_EQ(Reply("get angles"), "ok 0 30 20 0 40 0");
    const std::string moved = Reply(("pose " + pose).c_str());
    ExpectNear(Numbers(moved), start, 1e-3);
    EXPECT_EQ("ok " + moved.substr(3), Reply("get angles"));
}

TEST_F(CommandExecutorTest, MovesAnswerOnArrivalOrWhereTheArmStopped)
{
    EXPECT_EQ(Reply("moveto -20 45 15 0 60 0"), "ok");
    EXPECT_EQ(Reply("get angles"), "ok -20 45 15 0 60 0");

    // Stopped on its way: the reply says where the arm stands.
    const CommandOutcome moving = Run("moveto 0 45 15 0 60 0");
    ASSERT_EQ(moving.kind, CommandOutcome::AwaitMotion);
    simulation.Advance(0.0);
    simulation.Advance(0.1);
    EXPECT_EQ(Reply("stop"), "ok");
    const std::string stopped = moving.complete();
    EXPECT_EQ(stopped.rfind("erreur moveto : arrêté avant l'arrivée : ", 0), 0u) << stopped;
    EXPECT_EQ("ok " + stopped.substr(stopped.rfind(" : ") + 3), Reply("get angles"));

    // A planned move answers its duration, the same its check gave before
    // the path's clearance.
    const std::string checked = Reply("check movej 10 40 20 10 50 10");
    ASSERT_EQ(checked.rfind("ok ", 0), 0u) << checked;
    EXPECT_EQ(Reply("get angles").rfind("ok -", 0), 0u) << "a check does not move the arm";
    EXPECT_EQ(Reply("movej 10 40 20 10 50 10"), checked.substr(0, checked.rfind(' ')));
    EXPECT_EQ(Reply("get angles"), "ok 10 40 20 10 50 10");
    EXPECT_EQ(Reply("movej 10 40 20 10 50 190"), "erreur movej : A67 = 190 hors des limites [-180 ; 180]");
}

// A jog answers on arrival with its duration, or refuses with the reason
// and the place, the arm unmoved.
TEST_F(CommandExecutorTest, JogsAnswerOnArrivalOrSayWhyNot)
{
    const std::string joint = Reply("jog joint 1 5");
    EXPECT_EQ(joint.rfind("ok ", 0), 0u) << joint;
    EXPECT_GT(Numbers(joint).at(0), 0);
    EXPECT_EQ(Reply("get angles"), "ok -20 45 15 0 60 0");

    const std::vector<double> before = Numbers(Reply("get pose"));
    const std::string line = Reply("jog base z -30");
    EXPECT_EQ(line.rfind("ok ", 0), 0u) << line;
    std::vector<double> expected = before;
    expected[2] -= 30;
    const std::vector<double> after = Numbers(Reply("get pose"));
    ExpectNear({after.begin(), after.begin() + 3}, {expected.begin(), expected.begin() + 3}, 0.01);

    const std::string angles = Reply("get angles");
    const std::string refused = Reply("jog joint 2 140");
    EXPECT_EQ(refused.rfind("erreur jog : A23 = ", 0), 0u) << refused;
    EXPECT_NE(refused.find(" hors des limites [-180 ; 180] à 100 % du chemin ("), std::string::npos) << refused;
    EXPECT_EQ(Reply("get angles"), angles);
}

// A square of side 200 from where the tool stands, round its corners with
// `blend 20`, as the record of the motion gives it: within 20 of each
// corner, on the sides elsewhere, never still before the end. A radius past
// half a side is refused with the side named.
TEST_F(CommandExecutorTest, ALineRoundASquareWithRoundedCorners)
{
    const std::vector<double> a = Numbers(Reply("get pose"));
    ASSERT_EQ(a.size(), 6u);
    const double offsets[4][2] = {{200, 0}, {200, -200}, {0, -200}, {0, 0}};  // along y and z
    std::vector<std::vector<double>> corners{a};
    std::string line = "movel";
    for (const auto& offset : offsets) {
        std::vector<double> corner = a;
        corner[1] += offset[0];
        corner[2] += offset[1];
        corners.push_back(corner);
        for (double v : corner)
            line += " " + std::to_string(v);
    }
    const std::string refused = Reply(("check " + line + " blend 101").c_str());
    EXPECT_EQ(refused, "erreur movel : rayon de raccordement 101 trop grand pour le segment 1 (longueur 200,0)");

    const std::string moved = Reply((line + " blend 20").c_str());
    ASSERT_EQ(moved.rfind("ok ", 0), 0u) << moved;
    const std::vector<MotionSample> rows = recorder.Rows(kRecordStep);
    ASSERT_GT(rows.size(), 100u);
    auto distance = [](const MotionSample& row, const std::vector<double>& p) {
        return std::hypot(row.point[0] - p[0], row.point[1] - p[1], row.point[2] - p[2]);
    };
    double nearest[5] = {INFINITY, INFINITY, INFINITY, INFINITY, INFINITY}, offSide = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        double toCorner = INFINITY;
        for (int c = 1; c <= 3; ++c) {
            nearest[c] = std::min(nearest[c], distance(rows[i], corners[c]));
            toCorner = std::min(toCorner, distance(rows[i], corners[c]));
        }
        // The square lies in the plane x = a's x: a side is where y or z
        // is a corner's.
        const double x = rows[i].point[0] - a[0], y = rows[i].point[1] - a[1], z = rows[i].point[2] - a[2];
        const double toSide =
            std::hypot(x, std::min({std::fabs(y), std::fabs(y - 200), std::fabs(z), std::fabs(z + 200)}));
        if (toCorner > 20)
            offSide = std::max(offSide, toSide);
    }
    // The pace along the way, row to row: one profile over the whole, at
    // full speed from the end of its start (fLinearSpeed 200 reached at
    // fLinearAccel 400: half a second) to the start of its end.
    const double ramp = 0.5, end = rows.back().t;
    double cruise = 0, slowest = INFINITY;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const double pace = std::hypot(rows[i].point[0] - rows[i - 1].point[0], rows[i].point[1] - rows[i - 1].point[1],
                                       rows[i].point[2] - rows[i - 1].point[2]) /
                            (rows[i].t - rows[i - 1].t);
        cruise = std::max(cruise, pace);
        if (rows[i - 1].t > ramp && rows[i].t < end - ramp)
            slowest = std::min(slowest, pace);
        if (rows[i].t < end) {
            EXPECT_GT(pace, 0.0) << "still at " << rows[i].t << " s";
        }
    }
    EXPECT_GT(slowest, 0.95 * cruise) << "no slowing down at the corners";
    for (int c = 1; c <= 3; ++c) {
        EXPECT_LE(nearest[c], 20.0) << "corner " << c;
        EXPECT_GT(nearest[c], 1.0) << "corner " << c << " cut";
    }
    EXPECT_LE(offSide, 0.01);
    EXPECT_LE(distance(rows.back(), a), 0.01) << "back where it started";
}

TEST_F(CommandExecutorTest, AScreenshotThatCannotBeWrittenIsRefused)
{
    view.picturesWritten = false;
    EXPECT_EQ(Reply("screenshot vue.tga"), "erreur screenshot : impossible d'écrire « vue.tga »");
}

TEST_F(CommandExecutorTest, TheCameraAndTheSwitchesGoThroughTheView)
{
    EXPECT_EQ(Reply("camera look 30 20 10"), "ok");
    EXPECT_TRUE(simulation.Display()[DisplayFlag::Orbit]);
    EXPECT_EQ(Reply("camera orbit off"), "ok");
    EXPECT_FALSE(simulation.Display()[DisplayFlag::Orbit]);
    EXPECT_EQ(Reply("show decor off"), "ok");
    EXPECT_FALSE(simulation.Display()[DisplayFlag::Decoration]);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"orbit on", "orbit view", "orbit off"}));
}

}  // namespace
