// Commands through the panel's actions (see CommandExecutor.h).
#include "command/CommandExecutor.h"

#include "app/Scene.h"
#include "graphics/Graphics.h"
#include "panel/PanelActions.h"
#include "robot/KinBatch.h"
#include "robot/Motion.h"
#include "scene/MainScene.h"

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

const CRobot& Robot()
{
    return static_cast<CMainScene*>(g_pCurrentScene)->m_Robot;
}

// go, and the start of moveto: real time on, then the motion.
CommandOutcome Go(CommandVerb verb, CommandOutcome::Kind kind)
{
    CPanelActions::SetRealTime(true);
    const ActionResult started = CPanelActions::StartMotion();
    if (!started.ok)
        return Failed(verb, started.message);
    return {kind, "ok"};
}

}  // namespace

bool CCommandExecutor::MotionRunning()
{
    return IsMotionRunning();
}

CommandOutcome CCommandExecutor::Run(const Command& c)
{
    // Made current only when a command comes: making a context current on
    // every tick of an idle port would cost more than the rest of the tick.
    if (glutGetWindow() != g_iMainWindow)
        glutSetWindow(g_iMainWindow);
    switch (c.verb) {
    case CommandVerb::Angles:
        CPanelActions::SetAngles(AnglesOf(c.values));
        return Ok();
    case CommandVerb::Pose:
        return Ok(FormatKinValues(CPanelActions::MoveToPose(PoseOf(c.values)).angles));
    case CommandVerb::Target:
        CPanelActions::SetTargets(AnglesOf(c.values));
        return Ok();
    case CommandVerb::Go:
        return Go(c.verb, CommandOutcome::Done);
    case CommandVerb::Stop:
        CPanelActions::StopMotion();
        return Ok();
    case CommandVerb::Wait:
        return {CommandOutcome::AwaitMotion, "ok"};
    case CommandVerb::MoveTo:
        CPanelActions::SetTargets(AnglesOf(c.values));
        return Go(c.verb, CommandOutcome::AwaitMotion);
    case CommandVerb::Get: {
        const CRobot& robot = Robot();
        if (c.query == CommandQuery::Angles)
            return Ok(FormatKinValues(robot.m_fAngle));
        if (c.query == CommandQuery::Targets)
            return Ok(FormatKinValues(robot.m_fTargetAngle));
        ToolPose pose;
        robot.ComputeMGD(robot.m_fAngle, &pose);
        return Ok(FormatKinValues(pose));
    }
    case CommandVerb::Mgd: {
        ToolPose pose;
        Robot().ComputeMGD(AnglesOf(c.values), &pose);
        return Ok(FormatKinValues(pose));
    }
    case CommandVerb::Mgi:
        return Ok(FormatKinValues(CPanelActions::InverseOf(PoseOf(c.values)).angles));
    case CommandVerb::Show:
        CPanelActions::SetDisplayFlag(c.flag, c.on);
        return Ok();
    case CommandVerb::CameraReset:
        CPanelActions::ResetCamera();
        return Ok();
    case CommandVerb::Screenshot: {
        const ActionResult saved = CPanelActions::SaveScreenshot(c.fileName.c_str());
        return saved.ok ? Ok(c.fileName) : Failed(c.verb, saved.message);
    }
    case CommandVerb::Exit:
        return {CommandOutcome::Exit, "ok"};
    }
    return Failed(c.verb, "commande inconnue");
}
