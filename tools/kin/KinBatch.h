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

// The whole tool: argv[1] is "mgd" or "mgi", then for mgi one of --exact,
// --grid or --all, then the optional data directory ("default"). Reads
// robot.opt there (and for the exact model the limits of glui.opt, when it
// is there), then every line of in:
//   mgd      the MGD;
//   mgi      the model robot.opt asks for (bMGIExact), or the one named:
//            --grid the grid search, --exact the exact model with the grid
//            search's answer as reference;
//   --all    every exact configuration, one line each, led by the number of
//            its input line (every line counted from 1).
// A target out of reach still gives its line (none with --all) and a French
// warning on err with its line number and the distance left.
// Past its 10,000th line, an input is worked on every core, in blocks, the
// answers written in the order of their lines (LineBatches.h).
// Returns 0 when every line was good, 1 when a line was rejected (with a
// French message naming its line number on err), 2 for a wrong command or a
// missing or invalid robot.opt.
int RunKinTool(int argc, const char* const argv[], FILE* in, FILE* out, FILE* err);
