#pragma once
// The text side of the kalimbrax-kin tool: one line of six numbers in, one
// line of six numbers out, through the geometric models. Kept apart from the
// tool's main so that tests and fuzzers call it directly.
#include <cstddef>
#include <cstdio>

enum class KinLine {
    Skip,     // blank, or a comment starting with '#'
    Values,   // exactly six numbers
    Invalid,  // anything else
};

// Reads one input line (its end of line may be included or not). Numbers are
// anything strtof reads whole, separated by blanks; nothing else may follow.
// values receives the six numbers only for KinLine::Values. A NUL byte
// inside the line makes it invalid.
KinLine ParseKinLine(const char* line, std::size_t length, float values[6]);

// Six values printed with "%.9g" (enough to read the same float back),
// separated by single spaces, ended by a newline.
void PrintKinValues(FILE* out, const float values[6]);

// The whole tool: argv[1] is "mgd" or "mgi", argv[2] the optional data
// directory ("default"). Reads robot.opt there, then every line of in.
// Returns 0 when every line was good, 1 when a line was rejected (with a
// French message naming its line number on err), 2 for a wrong command or a
// missing or invalid robot.opt.
int RunKinTool(int argc, const char* const argv[], FILE* in, FILE* out, FILE* err);
