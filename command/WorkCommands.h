#pragma once
// The commands of a robot program's frames: the tool set at run time, the
// user frames and the taught points (tool, frame, point, get tool, frame,
// frames, point, points), and the lines that define them as `save` writes
// them and `load` plays them back.
#include "command/CommandParser.h"
#include "command/CommandSession.h"

#include <string>

class CController;

// tool, frame ..., point ...: the reply. A refused one changes nothing.
CommandOutcome RunWorkCommand(CController& controller, const Command& command);
bool IsWorkCommand(CommandVerb verb);
// get tool|frame|frames|point|points: the reply.
CommandOutcome AnswerWorkQuery(const CController& controller, const Command& command);
bool IsWorkQuery(CommandQuery query);

// The command lines that define every user frame (in their order), the one
// in use, the tool when it was set at run time and every taught point, with
// numbers that read back as the same floats: what `save` writes after the
// objects. Empty when none of them was ever defined.
std::string WorkDefinitionLines(const CController& controller);

// A float as the shortest text the command parser reads back as the same
// float.
std::string ExactFloat(float value);
