#include "sim/ProgramNames.h"

#include <cctype>

namespace {

bool SameWordIgnoringCase(const std::string& name, const char* word)
{
    std::size_t i = 0;
    for (; i < name.size() && word[i]; ++i)
        if (std::tolower(static_cast<unsigned char>(name[i])) != word[i])
            return false;
    return i == name.size() && !word[i];
}

}  // namespace

bool CheckProgramName(ProgramName kind, const std::string& name, std::string* reason)
{
    const std::string what = kind == ProgramName::Frame ? "nom de repère" : "nom de point";
    if (name.empty()) {
        *reason = what + " vide";
        return false;
    }
    for (const char c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_') {
            *reason = what + " « " + name + " » : lettres, chiffres, « - » et « _ » seulement";
            return false;
        }
    if (name.size() > kMaxProgramName) {
        *reason = what + " de " + std::to_string(name.size()) + " caractères, " + std::to_string(kMaxProgramName) +
                  " au plus";
        return false;
    }
    // `frame use NAME`, `frame remove NAME` and `point remove NAME` read
    // their second word as a verb; `frame use base` names the base frame.
    const bool frameWord = SameWordIgnoringCase(name, kBaseFrameName) || SameWordIgnoringCase(name, "use");
    if ((kind == ProgramName::Frame && frameWord) || SameWordIgnoringCase(name, "remove")) {
        *reason = what + " « " + name + " » réservé aux commandes";
        return false;
    }
    return true;
}
