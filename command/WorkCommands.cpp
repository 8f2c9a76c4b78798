#include "command/WorkCommands.h"

#include "base/FrenchDecimal.h"
#include "kinematics/KinText.h"
#include "sim/Controller.h"
#include "sim/Simulation.h"

#include <charconv>
#include <cstdio>

namespace {

CommandOutcome Reply(CommandVerb verb, const ActionResult& result)
{
    if (result.ok)
        return {CommandOutcome::Done, "ok"};
    return {CommandOutcome::Done, std::string("erreur ") + CommandVerbName(verb) + " : " + result.message};
}

CommandOutcome Ok(const std::string& what)
{
    return {CommandOutcome::Done, what.empty() ? "ok" : "ok " + what};
}

ToolPose PoseOf(const float v[6])
{
    return {v[0], v[1], v[2], v[3], v[4], v[5]};
}

// Six numbers for a definition line, each read back exactly.
std::string Numbers(const float v[6])
{
    std::string words;
    for (int i = 0; i < 6; ++i)
        words += " " + ExactFloat(v[i]);
    return words;
}

std::string Numbers(const ToolPose& p)
{
    const float values[6] = {p.X, p.Y, p.Z, p.alpha, p.beta, p.gamma};
    return Numbers(values);
}

std::string Numbers(const JointAngles& a)
{
    const float values[6] = {a.A12, a.A23, a.A34, a.A45, a.A56, a.A67};
    return Numbers(values);
}

}  // namespace

std::string ExactFloat(float value)
{
    // The parser reads a number as a double, then rounds it to a float: the
    // shortest text of the float (what std::to_chars gives) could in
    // principle round twice to a neighbour. Nine significant digits never do.
    char text[32];
    const std::string shortest(text, std::to_chars(text, text + sizeof text, value).ptr);
    double back;
    if (ParseAnyDecimal(shortest.c_str(), &back) && static_cast<float>(back) == value)
        return shortest;
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

bool IsWorkCommand(CommandVerb verb)
{
    switch (verb) {
    case CommandVerb::Tool:
    case CommandVerb::FrameDefine:
    case CommandVerb::FrameUse:
    case CommandVerb::FrameRemove:
    case CommandVerb::PointStore:
    case CommandVerb::PointDefine:
    case CommandVerb::PointRemove:
        return true;
    default:
        return false;
    }
}

CommandOutcome RunWorkCommand(CController& controller, const Command& c)
{
    switch (c.verb) {
    case CommandVerb::Tool:
        return Reply(c.verb, controller.SetTool(PoseOf(c.values)));
    case CommandVerb::FrameDefine:
        return Reply(c.verb, controller.DefineFrame(c.name, PoseOf(c.values)));
    case CommandVerb::FrameUse:
        return Reply(c.verb, controller.UseFrame(c.name));
    case CommandVerb::FrameRemove:
        return Reply(c.verb, controller.RemoveFrame(c.name));
    case CommandVerb::PointStore:
        return Reply(c.verb, controller.StorePoint(c.name));
    case CommandVerb::PointDefine:
        return Reply(c.verb, controller.DefinePoint(c.name, {c.values[0], c.values[1], c.values[2], c.values[3],
                                                             c.values[4], c.values[5]}));
    case CommandVerb::PointRemove:
        return Reply(c.verb, controller.RemovePoint(c.name));
    default:
        return Reply(c.verb, {false, "pas une commande des repères ni des points"});
    }
}

bool IsWorkQuery(CommandQuery query)
{
    return query == CommandQuery::Tool || query == CommandQuery::Frame || query == CommandQuery::Frames ||
           query == CommandQuery::Point || query == CommandQuery::Points;
}

CommandOutcome AnswerWorkQuery(const CController& controller, const Command& c)
{
    const CSimulation& simulation = controller.Simulation();
    switch (c.query) {
    case CommandQuery::Tool:
        return Ok(FormatKinValues(controller.Tool()));
    case CommandQuery::Frame: {
        const NamedFrame* frame = simulation.Frames().InUse();
        return frame ? Ok(frame->name + " " + FormatKinValues(frame->pose))
                     : Ok(std::string(kBaseFrameName) + " 0 0 0 0 0 0");
    }
    case CommandQuery::Frames: {
        std::string names;
        for (const NamedFrame& frame : simulation.Frames().All())
            names += (names.empty() ? "" : " ") + frame.name;
        return Ok(names);
    }
    case CommandQuery::Point: {
        const TaughtPoint* point = simulation.Points().Find(c.name);
        if (!point)
            return Reply(c.verb, {false, "aucun point « " + c.name + " »"});
        return Ok(FormatKinValues(point->angles));
    }
    case CommandQuery::Points: {
        std::string names;
        for (const TaughtPoint& point : simulation.Points().All())
            names += (names.empty() ? "" : " ") + point.name;
        return Ok(names);
    }
    default:
        return Reply(c.verb, {false, "pas une question des repères ni des points"});
    }
}

std::string WorkDefinitionLines(const CController& controller)
{
    const CSimulation& simulation = controller.Simulation();
    std::string lines;
    for (const NamedFrame& frame : simulation.Frames().All())
        lines += "frame " + frame.name + Numbers(frame.pose) + "\n";
    if (const NamedFrame* inUse = simulation.Frames().InUse())
        lines += "frame use " + inUse->name + "\n";
    if (simulation.ToolSetAtRunTime())
        lines += "tool" + Numbers(controller.Tool()) + "\n";
    for (const TaughtPoint& point : simulation.Points().All())
        lines += "point " + point.name + Numbers(point.angles) + "\n";
    return lines;
}
