#pragma once
// kalimbrax-arm make: a data directory from an arm's data-sheet dimensions
// (ArmDataSheet.h), its links drawn like the default arm's, sized to it.
#include <string>

// sheetFile "" takes the example arm. False with one French record; nothing
// is left behind then.
bool MakeArm(const std::string& sheetFile, const std::string& directory, const std::string& templateDirectory);
