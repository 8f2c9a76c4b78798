#pragma once
// The names of user frames and taught points, however they come (a command,
// a file, the panel): letters, digits, '-' and '_', at most
// kMaxProgramName of them (a reply quotes them, as an object's name), and
// none of the words that would make a command read two ways.
#include <cstddef>
#include <string>

enum class ProgramName { Frame, Point };

// The word that names the base frame (`frame use base`): no user frame is
// called so.
constexpr const char* kBaseFrameName = "base";

constexpr std::size_t kMaxProgramName = 64;

// True when `name` may name a frame (a point); else false with the French
// reason, e.g. "nom de point « a b » : lettres, chiffres, « - » et « _ »
// seulement", the name as given (a reply makes it printable).
bool CheckProgramName(ProgramName kind, const std::string& name, std::string* reason);
