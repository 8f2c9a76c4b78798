#pragma once
// The complete default data set: four option files, nine meshes, three
// textures, all generated from this program's own procedures.
#include "arm/LinkPairs.h"

#include <string>
#include <vector>

namespace datagen {

// One option file: its name and its bytes (Windows-1252 text, LF lines).
struct TextFile {
    std::string name;
    std::string bytes;
};

// graphics.opt, glui.opt, decor.opt, robot.opt, whose strAlwaysTouching
// holds `alwaysTouching`.
std::vector<TextFile> BuildOptionFiles(const CLinkPairs& alwaysTouching);

// The names of every file WriteDataSet writes.
std::vector<std::string> DataSetFileNames();

// Writes the whole data set into an existing directory, robot.opt last
// again with the pairs of links found always touching on what was written.
// False, with one LogError record, when a file cannot be written.
bool WriteDataSet(const std::string& directory);

// Formats a real the way the option reader needs it: always with a decimal
// point (a value without one would be read as an integer), no exponent.
std::string FormatReal(double value);

}  // namespace datagen
