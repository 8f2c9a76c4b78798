#pragma once
// kalimbrax-arm import: a robot description (URDF) to a data directory.
#include <string>

// Reads the description, checks the family, derives the arm's numbers,
// brings its meshes in and writes `directory` (which must not exist) with
// the template's scenery. A link mesh that is missing or unreadable becomes
// a plain cylinder with a record, unless `strict`, which refuses it. False
// with one French record; nothing is left behind then.
bool ImportArm(const std::string& urdfFile, const std::string& directory, const std::string& templateDirectory,
               bool strict = false);
