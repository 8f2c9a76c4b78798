#pragma once
// kalimbrax-arm make: a data directory from an arm's data-sheet dimensions
// (ArmSpec.h), its links drawn like the default arm's, sized to it.
#include <string>

// specFile "" takes the example arm. False with one French record; nothing
// is left behind then.
bool MakeArm(const std::string& specFile, const std::string& directory, const std::string& templateDirectory);
