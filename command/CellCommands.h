#pragma once
// The commands of the arm's cell: objects defined, coloured, removed,
// listed and measured against the arm, and files of definitions saved and
// played (`save`, `load`, and cell.txt at start), the objects' and those of
// the frames, the tool and the points (WorkCommands.h).
#include "command/CommandParser.h"
#include "command/CommandSession.h"

#include <string>
#include <vector>

class CCollisionWorld;
class CController;

// object ..., save, load: the reply. A refused one changes nothing.
CommandOutcome RunCellCommand(CController& controller, const Command& command);
// get objects|object|collisions|clearance: the reply.
CommandOutcome AnswerCellQuery(const CController& controller, const Command& command);

// The command lines that define every object of the cell as it is now, in
// its order: what `save` writes, before the frames, the tool and the
// points, and `load` plays back.
std::string CellDefinitions(const CCollisionWorld& cell);

// Plays a file of definitions from the data directory: blank lines and
// '#' lines skipped, every other line an object, frame, tool or point
// command. Whole: any refused
// line refuses the file, which then changes nothing (`load`); otherwise each
// refused line is passed over and said in *refusals as "ligne N : reason"
// (cell.txt at start). False, with the reason, when the file cannot be read.
bool PlayDefinitions(CController& controller, const std::string& fileName, bool whole,
                     std::vector<std::string>* refusals, std::string* error);

// The cell file of the data directory, played at start when present: each
// refused line recorded in the error log with the file's name and its line
// number, as a script's are, the rest defined.
constexpr const char* kStartCellFile = "cell.txt";
void LoadStartCell(CController& controller);
