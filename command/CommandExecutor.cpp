// Commands through the controller (see CommandExecutor.h).
#include "command/CommandExecutor.h"

#include "base/FrenchDecimal.h"
#include "command/CellCommands.h"
#include "command/CommandHub.h"
#include "command/MoveTargets.h"
#include "command/QuotedText.h"
#include "command/WorkCommands.h"
#include "sim/Controller.h"
#include "arm/ArmKinematics.h"
#include "arm/Configurations.h"
#include "motion/JointChase.h"
#include "kinematics/KinText.h"
#include "sim/Simulation.h"
#include "motion/MoveSettings.h"
#include "kinematics/Singularity.h"

#include <cmath>
#include <cstdlib>

namespace {

CommandOutcome Ok(const std::string& what = "")
{
    return {CommandOutcome::Done, what.empty() ? "ok" : "ok " + what};
}

CommandOutcome Failed(CommandVerb verb, const std::string& message)
{
    return {CommandOutcome::Done, std::string("erreur ") + CommandVerbName(verb) + " : " + message};
}

JointAngles AnglesOf(const float v[6])
{
    return {v[0], v[1], v[2], v[3], v[4], v[5]};
}

ToolPose PoseOfValues(const float v[6])
{
    return {v[0], v[1], v[2], v[3], v[4], v[5]};
}

// How far a pose lies beyond the arm's reach, pose units; within
// kReachTolerance it is reached, whichever MGI the arm uses.
double BeyondReach(const CSimulation& simulation, const ToolPose& pose)
{
    return ArmMGIAll(simulation.Arm(), pose).distance;
}

std::string OutOfReach(double distance)
{
    return "hors d'atteinte, à " + FormatDecimal(distance, 1) + " unités de pose";
}

bool AtTargets(const JointAngles& angles, const JointAngles& targets)
{
    for (float JointAngles::*joint : kJointFields)
        if (!(std::fabs(static_cast<double>(angles.*joint) - targets.*joint) < kArrivalTolerance))
            return false;
    return true;
}

// The reply of a command that waits for motion number `motion`: `done`
// when that motion ran to its end (at `targets`, when they are given), else
// the refusal with the angles where the arm stands: a stop, new targets or
// angles set by anyone in between.
std::function<std::string()> Arrival(const CSimulation& simulation, CommandVerb verb, unsigned long motion,
                                     const JointAngles* targets, std::string done = "ok")
{
    const bool checkTargets = targets != nullptr;
    const JointAngles aimed = targets ? *targets : JointAngles{};
    return [&simulation, verb, motion, checkTargets, aimed, done]() -> std::string {
        if (simulation.EndedMotion() == motion && simulation.EndedArrived() &&
            (!checkTargets || AtTargets(simulation.Angles(), aimed)))
            return done;
        if (simulation.EndedMotion() == motion && simulation.EndedContact().link >= 0)
            return std::string("erreur ") + CommandVerbName(verb) + " : collision entre " +
                   simulation.EndedContact().Words() + ", arrêté à " + FormatKinValues(simulation.Angles());
        return std::string("erreur ") + CommandVerbName(verb) +
               " : arrêté avant l'arrivée : " + FormatKinValues(simulation.Angles());
    };
}

// The wrist's, the elbow's and the shoulder's distances to their
// singularities and the manipulability, for programs.
std::string FormatSingularity(const CSimulation& simulation)
{
    const ArmDescription& arm = simulation.Arm();
    const SingularityMeasures m = CSingularityMeter(arm.Lengths()).Measure(ModelAngles(arm, simulation.Angles()));
    char text[4 * 24];
    std::snprintf(text, sizeof text, "%.9g %.9g %.9g %.9g", m.wrist, m.elbow, m.shoulder, m.manipulability);
    return text;
}

// A checked path's clearance, pose units; "inf" when nothing is checked.
std::string ClearanceText(double distance)
{
    if (!std::isfinite(distance))
        return "inf";
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", distance);
    return text;
}

std::string Seconds(double duration)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", duration);
    return text;
}

// go, and the start of moveto: real time on, then the motion.
ActionResult Go(CController& actions)
{
    actions.SetRealTime(true);
    return actions.StartMotion();
}

}  // namespace

bool CCommandExecutor::MotionRunning()
{
    return m_Controller.Simulation().Moving();
}

CommandOutcome CCommandExecutor::Run(const Command& c)
{
    CController& actions = m_Controller;
    const CSimulation& simulation = actions.Simulation();
    switch (c.verb) {
    case CommandVerb::Angles:
    case CommandVerb::Target:
    case CommandVerb::MoveTo: {
        JointAngles angles;
        std::string refused;
        if (!CommandAngles(actions, c, &angles, &refused))
            return Failed(c.verb, refused);
        if (c.verb == CommandVerb::Angles) {
            actions.SetAngles(angles);
            return Ok();
        }
        actions.SetTargets(angles);
        if (c.verb == CommandVerb::Target)
            return Ok();
        const ActionResult started = Go(actions);
        if (!started.ok)
            return Failed(c.verb, started.message);
        return {CommandOutcome::AwaitMotion, "ok", Arrival(simulation, c.verb, simulation.MotionNumber(), &angles)};
    }
    case CommandVerb::Pose:
    case CommandVerb::Mgi: {
        const ToolPose pose = PoseOfValues(c.values);
        const double beyond = BeyondReach(simulation, simulation.Frames().ToBase(pose));
        if (!(beyond <= kReachTolerance))
            return Failed(c.verb, OutOfReach(beyond));
        const MGIResult result = c.verb == CommandVerb::Pose ? actions.MoveToPose(pose) : actions.MGIOf(pose);
        return Ok(FormatKinValues(result.angles));
    }
    case CommandVerb::Go: {
        const ActionResult started = Go(actions);
        return started.ok ? Ok() : Failed(c.verb, started.message);
    }
    case CommandVerb::Stop:
        actions.StopMotion();
        return Ok();
    case CommandVerb::Wait:
        if (!simulation.Moving())
            return Ok();
        return {CommandOutcome::AwaitMotion, "ok", Arrival(simulation, c.verb, simulation.MotionNumber(), nullptr)};
    case CommandVerb::Get: {
        if (c.query == CommandQuery::Angles)
            return Ok(FormatKinValues(simulation.Angles()));
        if (c.query == CommandQuery::Targets)
            return Ok(FormatKinValues(simulation.Targets()));
        if (c.query == CommandQuery::Matrix)
            return Ok(FormatMatrix(actions.MatrixOf(simulation.Angles())));
        if (c.query == CommandQuery::Speed)
            return Ok(FormatShortDecimal(actions.SpeedPercent()));
        if (c.query == CommandQuery::Singularity)
            return Ok(FormatSingularity(simulation));
        if (c.query == CommandQuery::Ticks)
            return Ok(std::to_string(m_pHub ? m_pHub->Ticks() : 0));
        if (c.query == CommandQuery::Objects || c.query == CommandQuery::Object ||
            c.query == CommandQuery::Collisions || c.query == CommandQuery::Clearance)
            return AnswerCellQuery(actions, c);
        if (IsWorkQuery(c.query))
            return AnswerWorkQuery(actions, c);
        return Ok(FormatKinValues(actions.PoseOf(simulation.Angles())));
    }
    case CommandVerb::Mgd: {
        return Ok(FormatKinValues(actions.PoseOf(AnglesOf(c.values))));
    }
    case CommandVerb::Show:
        actions.SetDisplayFlag(c.flag, c.on);
        return Ok();
    case CommandVerb::CameraReset:
        actions.ResetCamera();
        return Ok();
    case CommandVerb::CameraOrbit:
        actions.SetDisplayFlag(DisplayFlag::Orbit, c.on);
        return Ok();
    case CommandVerb::CameraLook:
        actions.LookAround({c.values[0], c.values[1], c.values[2]});
        return Ok();
    case CommandVerb::TrailClear:
        actions.ClearTrail();
        return Ok();
    case CommandVerb::Screenshot: {
        const ActionResult saved = actions.SaveScreenshot(c.fileName.c_str());
        return saved.ok ? Ok(c.fileName) : Failed(c.verb, saved.message);
    }
    case CommandVerb::Record: {
        const ActionResult saved = actions.RecordMotion(c.fileName.c_str());
        return saved.ok ? Ok(c.fileName) : Failed(c.verb, saved.message);
    }
    case CommandVerb::MoveJ:
    case CommandVerb::MoveL:
    case CommandVerb::MoveC:
    case CommandVerb::Check:
    case CommandVerb::Config:
    case CommandVerb::Jog: {
        const bool check = c.verb == CommandVerb::Check;
        const CommandVerb move = check ? c.checked : c.verb;
        MoveOutcome outcome;
        if (move == CommandVerb::Jog) {
            outcome = actions.Jog(c.jogFrame, c.axis, c.values[0], true);
        } else if (move == CommandVerb::Config) {
            // Numbered as kalimbrax-kin mgi --all numbers them; a number
            // past the range is said as it came.
            const long n = std::strtol(c.number.c_str(), nullptr, 10);  // saturates: past the range either way
            if (!(n >= 1 && n <= kMaxMGIConfigurations))
                return Failed(move, NoSuchConfiguration(QuotedText(c.number, 32)));
            outcome = actions.MoveToConfiguration(static_cast<int>(n), true);
        } else {
            MoveRequest request;
            std::string refused;
            if (!CommandRequest(actions, move, c, &request, &refused))
                return Failed(move, refused);
            outcome = actions.Move(request, !check);
        }
        if (!outcome.ok)
            return Failed(move, outcome.words);
        if (check)
            return Ok(Seconds(outcome.duration) + " " + ClearanceText(outcome.clearance));
        return {CommandOutcome::AwaitMotion, "ok",
                Arrival(simulation, c.verb, outcome.motion, &outcome.end, "ok " + Seconds(outcome.duration))};
    }
    case CommandVerb::Speed:
        if (!(c.values[0] >= kMinSpeedPercent && c.values[0] <= kMaxSpeedPercent))
            return Failed(c.verb, FormatShortDecimal(c.values[0]) + " % hors de [1 ; 100]");
        actions.SetSpeedPercent(c.values[0]);
        return Ok();
    case CommandVerb::Exit:
        return {CommandOutcome::Exit, "ok"};
    case CommandVerb::ObjectDefine:
    case CommandVerb::ObjectColour:
    case CommandVerb::ObjectRemove:
    case CommandVerb::ObjectRemoveAll:
    case CommandVerb::Save:
    case CommandVerb::Load:
        return RunCellCommand(actions, c);
    case CommandVerb::Tool:
    case CommandVerb::FrameDefine:
    case CommandVerb::FrameUse:
    case CommandVerb::FrameRemove:
    case CommandVerb::PointStore:
    case CommandVerb::PointDefine:
    case CommandVerb::PointRemove:
        return RunWorkCommand(actions, c);
    }
    return Failed(c.verb, "commande inconnue");
}
