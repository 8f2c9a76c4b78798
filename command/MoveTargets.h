#pragma once
// What a command's numbers or taught points (@NAME) stand for: the angles of
// angles, target, moveto and movej, and the request of movej, movel, movec
// and check, in the frame in use as the controller takes it. A point is
// refused when there is none of that name or when its angles are past the
// joints' limits as they are now.
#include "command/CommandParser.h"
#include "motion/MovePlanner.h"

#include <string>

class CController;

// The six angles given, or the point's; false with the reason when they are
// unknown or past the limits.
bool CommandAngles(const CController& controller, const Command& command, JointAngles* angles, std::string* reason);

// The move `move` (MoveJ, MoveL or MoveC: the command's verb, or the move
// check checks) with the command's targets: a point's angles for a joint
// move, its tool pose for a line's target or an arc's end, its tool point
// for an arc's via point; false with the reason.
bool CommandRequest(const CController& controller, CommandVerb move, const Command& command, MoveRequest* request,
                    std::string* reason);
