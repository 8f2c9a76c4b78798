// Commands through the panel's actions (see CommandExecutor.h).
#include "command/CommandExecutor.h"

#include "graphics/Graphics.h"
#include "panel/PanelActions.h"
#include "robot/KinBatch.h"
#include "robot/Simulation.h"

#include <GL/freeglut.h>

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

ToolPose PoseOf(const float v[6])
{
    return {v[0], v[1], v[2], v[3], v[4], v[5]};
}

// go, and the start of moveto: real time on, then the motion.
CommandOutcome Go(CPanelActions& actions, CommandVerb verb, CommandOutcome::Kind kind)
{
    actions.SetRealTime(true);
    const ActionResult started = actions.StartMotion();
    if (!started.ok)
        return Failed(verb, started.message);
    return {kind, "ok"};
}

}  // namespace

bool CCommandExecutor::MotionRunning()
{
    return m_pActions->Simulation().Moving();
}

CommandOutcome CCommandExecutor::Run(const Command& c)
{
    // Made current only when a command comes: making a context current on
    // every tick of an idle port would cost more than the rest of the tick.
    if (glutGetWindow() != g_iMainWindow)
        glutSetWindow(g_iMainWindow);
    CPanelActions& actions = *m_pActions;
    const CSimulation& simulation = actions.Simulation();
    switch (c.verb) {
    case CommandVerb::Angles:
        actions.SetAngles(AnglesOf(c.values));
        return Ok();
    case CommandVerb::Pose:
        return Ok(FormatKinValues(actions.MoveToPose(PoseOf(c.values)).angles));
    case CommandVerb::Target:
        actions.SetTargets(AnglesOf(c.values));
        return Ok();
    case CommandVerb::Go:
        return Go(actions, c.verb, CommandOutcome::Done);
    case CommandVerb::Stop:
        actions.StopMotion();
        return Ok();
    case CommandVerb::Wait:
        return {CommandOutcome::AwaitMotion, "ok"};
    case CommandVerb::MoveTo:
        actions.SetTargets(AnglesOf(c.values));
        return Go(actions, c.verb, CommandOutcome::AwaitMotion);
    case CommandVerb::Get: {
        if (c.query == CommandQuery::Angles)
            return Ok(FormatKinValues(simulation.Angles()));
        if (c.query == CommandQuery::Targets)
            return Ok(FormatKinValues(simulation.Targets()));
        ToolPose pose;
        ComputeMGD(simulation.Arm().Lengths(), simulation.Angles(), &pose);
        return Ok(FormatKinValues(pose));
    }
    case CommandVerb::Mgd: {
        ToolPose pose;
        ComputeMGD(simulation.Arm().Lengths(), AnglesOf(c.values), &pose);
        return Ok(FormatKinValues(pose));
    }
    case CommandVerb::Mgi:
        return Ok(FormatKinValues(actions.InverseOf(PoseOf(c.values)).angles));
    case CommandVerb::Show:
        actions.SetDisplayFlag(c.flag, c.on);
        return Ok();
    case CommandVerb::CameraReset:
        actions.ResetCamera();
        return Ok();
    case CommandVerb::Screenshot: {
        const ActionResult saved = actions.SaveScreenshot(c.fileName.c_str());
        return saved.ok ? Ok(c.fileName) : Failed(c.verb, saved.message);
    }
    case CommandVerb::Exit:
        return {CommandOutcome::Exit, "ok"};
    }
    return Failed(c.verb, "commande inconnue");
}
