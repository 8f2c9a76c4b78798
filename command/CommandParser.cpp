// The command language, one line at a time (see CommandParser.h).
#include "command/CommandParser.h"

#include <algorithm>

#include "base/FrenchDecimal.h"
#include "arm/ArmDescription.h"
#include "command/QuotedText.h"
#include "sim/ProgramNames.h"

#include <cctype>
#include <cmath>
#include <cstring>
#include <iterator>
#include <limits>
#include <vector>

namespace {

std::vector<std::string> Words(const char* line, std::size_t length)
{
    while (length > 0 && (line[length - 1] == '\n' || line[length - 1] == '\r'))
        --length;
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < length) {
        while (i < length && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        const std::size_t start = i;
        while (i < length && line[i] != ' ' && line[i] != '\t')
            ++i;
        if (i > start)
            words.emplace_back(line + start, i - start);
    }
    return words;
}

bool SameWord(const std::string& word, const char* keyword)
{
    if (word.size() != std::strlen(keyword))
        return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        char c = word[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != keyword[i])
            return false;
    }
    return true;
}

// The word as a reply may quote it: printable UTF-8, at most 32 characters.
std::string Quotable(const std::string& word)
{
    return QuotedText(word, 32);
}

// A number in C syntax that fits a float. Whatever way it is not finite
// there (nan, inf, 1e400, or 1e39, finite only in double precision), one
// wording says so.
bool ParseNumber(const std::string& word, float* value, std::string* message)
{
    double number;
    const bool read = word.find('\0') == std::string::npos && ParseAnyDecimal(word.c_str(), &number);
    if (read && std::fabs(number) <= std::numeric_limits<float>::max()) {
        *value = static_cast<float>(number);
        return true;
    }
    *message = "« " + Quotable(word) + (read ? " » n'est pas un nombre fini" : " » n'est pas un nombre");
    return false;
}

bool ParseDisplayFlag(const std::string& word, DisplayFlag* flag)
{
    for (const DisplaySwitch& s : kDisplaySwitches)
        if (SameWord(word, s.word)) {
            *flag = s.flag;
            return true;
        }
    return false;
}

// "wireframe, decor, ... ou axes": the words of the display switches.
std::string DisplayWords()
{
    std::string words;
    for (int i = 0; i < kDisplayFlagCount; ++i)
        words += (i == 0 ? "" : i + 1 == kDisplayFlagCount ? " ou " : ", ") + std::string(kDisplaySwitches[i].word);
    return words;
}

// UTF-8 characters: the bytes that do not continue a sequence.
std::size_t CharacterCount(const std::string& word)
{
    std::size_t count = 0;
    for (const char c : word)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

enum class Arguments {
    None,
    SixNumbers,
    Target,
    Targets,
    Arc,
    OneNumber,
    WholeNumber,
    Check,
    Query,
    Show,
    Camera,
    Trail,
    Screenshot,
    Record,
    Object,
    Definitions,
    Jog,
    Frame,
    Point
};

struct Verb {
    const char* name;
    CommandVerb verb;
    Arguments arguments;
};

const Verb kVerbs[] = {
    {"angles", CommandVerb::Angles, Arguments::Target},
    {"pose", CommandVerb::Pose, Arguments::SixNumbers},
    {"target", CommandVerb::Target, Arguments::SixNumbers},
    {"moveto", CommandVerb::MoveTo, Arguments::Target},
    {"mgd", CommandVerb::Mgd, Arguments::SixNumbers},
    {"mgi", CommandVerb::Mgi, Arguments::SixNumbers},
    {"go", CommandVerb::Go, Arguments::None},
    {"stop", CommandVerb::Stop, Arguments::None},
    {"wait", CommandVerb::Wait, Arguments::None},
    {"exit", CommandVerb::Exit, Arguments::None},
    {"get", CommandVerb::Get, Arguments::Query},
    {"show", CommandVerb::Show, Arguments::Show},
    {"camera", CommandVerb::CameraReset, Arguments::Camera},
    {"screenshot", CommandVerb::Screenshot, Arguments::Screenshot},
    {"movej", CommandVerb::MoveJ, Arguments::Target},
    {"movel", CommandVerb::MoveL, Arguments::Targets},
    {"movec", CommandVerb::MoveC, Arguments::Arc},
    {"check", CommandVerb::Check, Arguments::Check},
    {"speed", CommandVerb::Speed, Arguments::OneNumber},
    {"record", CommandVerb::Record, Arguments::Record},
    {"config", CommandVerb::Config, Arguments::WholeNumber},
    {"trail", CommandVerb::TrailClear, Arguments::Trail},
    {"object", CommandVerb::ObjectDefine, Arguments::Object},
    {"save", CommandVerb::Save, Arguments::Definitions},
    {"load", CommandVerb::Load, Arguments::Definitions},
    {"jog", CommandVerb::Jog, Arguments::Jog},
    {"tool", CommandVerb::Tool, Arguments::SixNumbers},
    {"frame", CommandVerb::FrameDefine, Arguments::Frame},
    {"point", CommandVerb::PointStore, Arguments::Point},
};

struct Query {
    const char* name;
    CommandQuery query;
};

const Query kQueries[] = {
    {"angles", CommandQuery::Angles},       {"targets", CommandQuery::Targets},
    {"pose", CommandQuery::Pose},           {"matrix", CommandQuery::Matrix},
    {"speed", CommandQuery::Speed},         {"singularity", CommandQuery::Singularity},
    {"ticks", CommandQuery::Ticks},         {"objects", CommandQuery::Objects},
    {"object", CommandQuery::Object},       {"collisions", CommandQuery::Collisions},
    {"clearance", CommandQuery::Clearance}, {"tool", CommandQuery::Tool},
    {"frame", CommandQuery::Frame},         {"frames", CommandQuery::Frames},
    {"point", CommandQuery::Point},         {"points", CommandQuery::Points},
};

// "angles, targets, ... ou ticks": the words `get` takes.
std::string QueryWords()
{
    const std::size_t count = sizeof kQueries / sizeof kQueries[0];
    std::string words;
    for (std::size_t i = 0; i < count; ++i)
        words += (i == 0 ? "" : i + 1 == count ? " ou " : ", ") + std::string(kQueries[i].name);
    return words;
}

// n numbers after the verb into c->values.
bool ParseNumbers(const std::string* arg, std::size_t count, std::size_t n, Command* c, std::string* message)
{
    if (count != n) {
        *message = std::to_string(n) + (n > 1 ? " nombres attendus, " : " nombre attendu, ") + std::to_string(count) +
                   (count > 1 ? " reçus" : " reçu");
        return false;
    }
    for (std::size_t i = 0; i < n; ++i)
        if (!ParseNumber(arg[i], &c->values[i], message))
            return false;
    return true;
}

// A whole number, told by its words: an optional sign, then digits. Read as
// a float, 1.00000001 would be 1, and 1.0000001 a number no reply can say
// as it came.
bool ParseWholeNumber(const std::string* arg, std::size_t count, Command* c, std::string* message)
{
    if (count != 1)
        return ParseNumbers(arg, count, 1, c, message);  // says how many came
    const std::string& word = arg[0];
    const std::size_t sign = word[0] == '+' || word[0] == '-' ? 1 : 0;
    if (word.size() > sign && word.find_first_not_of("0123456789", sign) == std::string::npos) {
        c->number = word;
        return true;
    }
    double value;
    const bool number = word.find('\0') == std::string::npos && ParseAnyDecimal(word.c_str(), &value);
    *message = "« " + Quotable(word) + (number ? " » n'est pas un nombre entier" : " » n'est pas un nombre");
    return false;
}

// A file name the command writes into the data directory.
bool ParseFileName(const std::string* arg, std::size_t count, bool (*allowed)(const std::string&),
                   const char* extensions, Command* c, std::string* message)
{
    if (count != 1) {
        *message = "un nom de fichier attendu";
        return false;
    }
    if (CharacterCount(arg[0]) > kMaxScreenshotName) {
        *message = "nom de " + std::to_string(CharacterCount(arg[0])) + " caractères, " +
                   std::to_string(kMaxScreenshotName) + " au plus";
        return false;
    }
    if (!allowed(arg[0])) {
        *message = "nom refusé « " + Quotable(arg[0]) + " » : lettres, chiffres, « - » et « _ », puis " + extensions;
        return false;
    }
    c->fileName = arg[0];
    return true;
}

// An object's name, as the cell takes it, of at most kMaxObjectName
// characters; the reason quotes it as a reply may.
bool CheckName(const std::string& name, std::string* message)
{
    if (CharacterCount(name) > kMaxObjectName) {
        *message = "nom d'objet de " + std::to_string(CharacterCount(name)) + " caractères, " +
                   std::to_string(kMaxObjectName) + " au plus";
        return false;
    }
    if (CheckObjectName(name, message))
        return true;
    *message = QuotedText(*message);
    return false;
}

// Between `least` and `most` numbers (double precision, finite) into
// *numbers; the message says what was expected.
bool ParseObjectNumbers(const std::string* arg, std::size_t count, std::size_t least, std::size_t most,
                        std::vector<double>* numbers, std::string* message)
{
    if (count != least && count != most) {
        *message = std::to_string(least) + (most != least ? " ou " + std::to_string(most) : std::string()) +
                   " nombres attendus après le nom, " + std::to_string(count) + (count > 1 ? " reçus" : " reçu");
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        double value;
        const bool read = arg[i].find('\0') == std::string::npos && ParseAnyDecimal(arg[i].c_str(), &value);
        if (!read || !std::isfinite(value)) {
            *message = "« " + Quotable(arg[i]) + (read ? " » n'est pas un nombre fini" : " » n'est pas un nombre");
            return false;
        }
        numbers->push_back(value);
    }
    return true;
}

// object KIND NAME ...: the definition, its name and numbers checked here;
// the sizes, a mesh's file and the whole are judged by the cell.
bool ParseObject(const std::string* arg, std::size_t count, Command* c, std::string* message)
{
    static const char* const kObjectWords = "box, cylinder, sphere, mesh, color ou remove attendu";
    if (count == 0) {
        *message = kObjectWords;
        return false;
    }
    if (count < 2) {
        *message = "un nom attendu après « " + Quotable(arg[0]) + " »";
        return false;
    }
    const std::string& name = arg[1];
    if (SameWord(arg[0], "remove") && count == 2 && SameWord(name, "all")) {
        c->verb = CommandVerb::ObjectRemoveAll;
        return true;
    }
    if (!CheckName(name, message))
        return false;
    c->name = name;
    if (SameWord(arg[0], "remove")) {
        c->verb = CommandVerb::ObjectRemove;
        if (count == 2)
            return true;
        *message = "un seul nom attendu après remove";
        return false;
    }
    if (SameWord(arg[0], "color")) {
        c->verb = CommandVerb::ObjectColour;
        if (count == 3 && ParseColour(arg[2], nullptr)) {
            c->colour = arg[2];
            return true;
        }
        *message = "une couleur #rrggbb attendue après le nom";
        return false;
    }
    static const ObjectKind kKinds[] = {ObjectKind::Box, ObjectKind::Cylinder, ObjectKind::Sphere, ObjectKind::Mesh};
    for (const ObjectKind kind : kKinds) {
        if (!SameWord(arg[0], ObjectKindName(kind)))
            continue;
        ObjectDefinition& object = c->object;
        object.kind = kind;
        object.name = name;
        const std::string* numbers = arg + 2;
        std::size_t given = count - 2;
        if (kind == ObjectKind::Mesh) {
            if (given == 0 || !IsMeshName(arg[2])) {
                *message = given == 0 ? "un fichier de maillage attendu après le nom"
                                      : "nom de fichier refusé « " + Quotable(arg[2]) +
                                            " » : lettres, chiffres, « - » et « _ », puis une extension";
                return false;
            }
            object.meshFile = arg[2];
            ++numbers;
            --given;
        }
        const std::size_t least = 3 + static_cast<std::size_t>(ObjectSizeCount(kind));
        const std::size_t most = kind == ObjectKind::Sphere ? least : least + 3;
        return ParseObjectNumbers(numbers, given, least, most, &object.numbers, message);
    }
    *message = kObjectWords;
    return false;
}

// jog joint N DELTA, jog base|tool|frame AXIS DELTA.
bool ParseJog(const std::string* arg, std::size_t count, Command* c, std::string* message)
{
    static const struct {
        const char* word;
        JogFrame frame;
    } kFrames[] = {
        {"joint", JogFrame::Joints}, {"base", JogFrame::Base}, {"tool", JogFrame::Tool}, {"frame", JogFrame::User}};
    const auto frame = std::find_if(std::begin(kFrames), std::end(kFrames),
                                    [&](const auto& f) { return count >= 1 && SameWord(arg[0], f.word); });
    if (frame == std::end(kFrames)) {
        *message = "joint, base, tool ou frame attendu";
        return false;
    }
    c->jogFrame = frame->frame;
    const bool joint = frame->frame == JogFrame::Joints;
    if (count != 3) {
        *message = joint ? "une articulation (1 à 6) puis un pas attendus"
                         : "un axe (x, y, z, rx, ry ou rz) puis un pas attendus";
        return false;
    }
    const std::string& axis = arg[1];
    c->axis = -1;
    for (int i = 0; i < kJogAxes; ++i)
        if (joint ? axis == std::to_string(i + 1) : SameWord(axis, JogAxisWord(i)))
            c->axis = i;
    if (c->axis < 0) {
        *message = (joint ? "articulation de 1 à 6 attendue, « " : "x, y, z, rx, ry ou rz attendu, « ") +
                   Quotable(axis) + " » reçu";
        return false;
    }
    return ParseNumber(arg[2], &c->values[0], message);
}

// A frame's or a point's name, checked; the reason quotes it as a reply may.
bool CheckProgramWord(ProgramName kind, const std::string& name, std::string* message)
{
    if (CheckProgramName(kind, name, message))
        return true;
    *message = QuotedText(*message);
    return false;
}

bool IsPointWord(const std::string& word)
{
    return word[0] == '@';
}

// "@NAME": the point's name, checked, into *point.
bool ParsePointWord(const std::string& word, std::string* point, std::string* message)
{
    *point = word.substr(1);
    return CheckProgramWord(ProgramName::Point, *point, message);
}

// Six numbers, or one "@NAME" in their place.
bool ParseTarget(const std::string* arg, std::size_t count, Command* c, std::string* message)
{
    if (count == 1 && IsPointWord(arg[0]))
        return ParsePointWord(arg[0], &c->point, message);
    if (std::any_of(arg, arg + count, IsPointWord)) {
        *message = "6 nombres ou un @POINT attendus";
        return false;
    }
    return ParseNumbers(arg, count, 6, c, message);
}

// An arc: its via point (three numbers or "@NAME") then its end (six
// numbers or "@NAME").
bool ParseArc(const std::string* arg, std::size_t count, Command* c, std::string* message)
{
    if (std::none_of(arg, arg + count, IsPointWord))
        return ParseNumbers(arg, count, 9, c, message);
    const std::size_t viaWords = IsPointWord(arg[0]) ? 1 : 3;
    const std::size_t endWords = count > viaWords && IsPointWord(arg[viaWords]) ? 1 : 6;
    const bool fits = count == viaWords + endWords &&
                      std::none_of(arg + (viaWords == 1 ? 1 : 0), arg + viaWords, IsPointWord) &&
                      std::none_of(arg + viaWords + (endWords == 1 ? 1 : 0), arg + count, IsPointWord);
    if (!fits) {
        *message = "un point de passage (3 nombres ou @POINT) puis une pose (6 nombres ou @POINT) attendus";
        return false;
    }
    if (viaWords == 1 ? !ParsePointWord(arg[0], &c->viaPoint, message) : !ParseNumbers(arg, 3, 3, c, message))
        return false;
    if (endWords == 1)
        return ParsePointWord(arg[viaWords], &c->point, message);
    for (std::size_t i = 0; i < 6; ++i)
        if (!ParseNumber(arg[viaWords + i], &c->values[3 + i], message))
            return false;
    return true;
}

// movel's targets, each six numbers or "@NAME", then `blend R` or not: the
// last one into values or point, the others into through.
bool ParseTargets(const std::string* arg, std::size_t count, Command* c, std::string* message)
{
    std::size_t n = count;
    if (n >= 1 && SameWord(arg[n - 1], "blend")) {
        *message = "un rayon attendu après blend";
        return false;
    }
    if (n >= 2 && SameWord(arg[n - 2], "blend")) {
        if (!ParseNumber(arg[n - 1], &c->blend, message))
            return false;
        if (c->blend < 0) {
            *message = "rayon de raccord négatif : " + FormatShortDecimal(c->blend);
            return false;
        }
        n -= 2;
    }
    // Numbers alone, fewer than two targets' worth: refused as a single
    // target always was.
    if (n == count && n % 6 != 0 && n < 12 && std::none_of(arg, arg + n, IsPointWord))
        return ParseNumbers(arg, n, 6, c, message);
    std::vector<CommandTarget> targets;
    for (std::size_t at = 0; at < n;) {
        CommandTarget target;
        if (IsPointWord(arg[at])) {
            if (!ParsePointWord(arg[at], &target.point, message))
                return false;
            ++at;
        } else {
            std::size_t given = 0;
            while (given < 6 && at + given < n && !IsPointWord(arg[at + given]))
                ++given;
            if (given < 6) {
                *message = "cible " + std::to_string(targets.size() + 1) + " : 6 nombres ou @POINT attendus, " +
                           std::to_string(given) + (given > 1 ? " reçus" : " reçu");
                return false;
            }
            for (std::size_t i = 0; i < 6; ++i)
                if (!ParseNumber(arg[at + i], &target.values[i], message))
                    return false;
            at += 6;
        }
        targets.push_back(target);
    }
    if (targets.empty()) {
        *message = "une cible au moins attendue avant blend";
        return false;
    }
    c->point = targets.back().point;
    std::copy(targets.back().values, targets.back().values + 6, c->values);
    targets.pop_back();
    c->through = std::move(targets);
    return true;
}

// The move check checks, with its own arguments.
bool ParseMoveArguments(CommandVerb move, const std::string* arg, std::size_t count, Command* c, std::string* message)
{
    if (move == CommandVerb::MoveC)
        return ParseArc(arg, count, c, message);
    if (move == CommandVerb::MoveL)
        return ParseTargets(arg, count, c, message);
    return ParseTarget(arg, count, c, message);
}

// frame NAME X Y Z ALPHA BETA GAMMA | use NAME | remove NAME
bool ParseFrame(const std::string* arg, std::size_t count, Command* c, std::string* message)
{
    if (count == 0) {
        *message = "un nom de repère, use ou remove attendu";
        return false;
    }
    const bool use = SameWord(arg[0], "use"), remove = SameWord(arg[0], "remove");
    if (use || remove) {
        c->verb = use ? CommandVerb::FrameUse : CommandVerb::FrameRemove;
        if (count != 2) {
            *message = std::string(count < 2 ? "un nom attendu" : "un seul nom attendu") + " après " +
                       (use ? "use" : "remove");
            return false;
        }
        const bool base = use && SameWord(arg[1], kBaseFrameName);
        c->name = base ? kBaseFrameName : arg[1];
        return base || CheckProgramWord(ProgramName::Frame, arg[1], message);
    }
    c->name = arg[0];
    return CheckProgramWord(ProgramName::Frame, arg[0], message) && ParseNumbers(arg + 1, count - 1, 6, c, message);
}

// point NAME [A12 ... A67] | remove NAME
bool ParsePoint(const std::string* arg, std::size_t count, Command* c, std::string* message)
{
    if (count == 0) {
        *message = "un nom de point ou remove attendu";
        return false;
    }
    if (SameWord(arg[0], "remove")) {
        c->verb = CommandVerb::PointRemove;
        if (count != 2) {
            *message = count < 2 ? "un nom attendu après remove" : "un seul nom attendu après remove";
            return false;
        }
        c->name = arg[1];
        return CheckProgramWord(ProgramName::Point, arg[1], message);
    }
    c->name = arg[0];
    if (!CheckProgramWord(ProgramName::Point, arg[0], message))
        return false;
    if (count == 1)
        return true;
    c->verb = CommandVerb::PointDefine;
    return ParseNumbers(arg + 1, count - 1, 6, c, message);
}

// The arguments after the verb; false with the reason when they do not fit.
bool ParseArguments(Arguments kind, const std::vector<std::string>& words, Command* c, std::string* message)
{
    const std::size_t count = words.size() - 1;
    const std::string* arg = words.data() + 1;
    switch (kind) {
    case Arguments::None:
        if (count == 0)
            return true;
        *message = "aucun argument attendu";
        return false;
    case Arguments::SixNumbers:
        return ParseNumbers(arg, count, 6, c, message);
    case Arguments::Target:
        return ParseTarget(arg, count, c, message);
    case Arguments::Targets:
        return ParseTargets(arg, count, c, message);
    case Arguments::Arc:
        return ParseArc(arg, count, c, message);
    case Arguments::OneNumber:
        return ParseNumbers(arg, count, 1, c, message);
    case Arguments::WholeNumber:
        return ParseWholeNumber(arg, count, c, message);
    case Arguments::Check:
        if (count >= 1 && SameWord(arg[0], "movej"))
            c->checked = CommandVerb::MoveJ;
        else if (count >= 1 && SameWord(arg[0], "movel"))
            c->checked = CommandVerb::MoveL;
        else if (count >= 1 && SameWord(arg[0], "movec"))
            c->checked = CommandVerb::MoveC;
        else {
            *message = "movej, movel ou movec attendu";
            return false;
        }
        return ParseMoveArguments(c->checked, arg + 1, count - 1, c, message);
    case Arguments::Query: {
        // object and point take a name, clearance may; the others stand
        // alone.
        const bool named =
            count >= 1 && (SameWord(arg[0], "object") || SameWord(arg[0], "clearance") || SameWord(arg[0], "point"));
        if (count > (named ? 2u : 1u)) {
            *message = "un seul mot attendu après get, « " + Quotable(arg[1]) + " » en trop";
            if (named)
                *message = "un seul nom attendu après get " + arg[0] + ", « " + Quotable(arg[2]) + " » en trop";
            return false;
        }
        for (const Query& q : kQueries)
            if (count >= 1 && SameWord(arg[0], q.name)) {
                c->query = q.query;
                if ((q.query == CommandQuery::Object || q.query == CommandQuery::Point) && count < 2) {
                    *message = std::string("un nom attendu après get ") + q.name;
                    return false;
                }
                if (q.query == CommandQuery::Point) {
                    if (!CheckProgramWord(ProgramName::Point, arg[1], message))
                        return false;
                } else if (count == 2 && arg[1] != kGroundName && !CheckName(arg[1], message)) {
                    return false;
                }
                c->name = count == 2 ? arg[1] : std::string();
                return true;
            }
        *message = QueryWords() + " attendu";
        return false;
    }
    case Arguments::Show:
        if (count != 2 || !ParseDisplayFlag(arg[0], &c->flag)) {
            *message = DisplayWords() + " attendu, puis on ou off";
            return false;
        }
        if (!SameWord(arg[1], "on") && !SameWord(arg[1], "off")) {
            *message = "on ou off attendu, « " + Quotable(arg[1]) + " » reçu";
            return false;
        }
        c->on = SameWord(arg[1], "on");
        return true;
    case Arguments::Camera:
        if (count == 1 && SameWord(arg[0], "reset"))
            return true;
        if (count == 2 && SameWord(arg[0], "orbit") && (SameWord(arg[1], "on") || SameWord(arg[1], "off"))) {
            c->verb = CommandVerb::CameraOrbit;
            c->on = SameWord(arg[1], "on");
            return true;
        }
        if (count >= 1 && SameWord(arg[0], "look")) {
            c->verb = CommandVerb::CameraLook;
            return ParseNumbers(arg + 1, count - 1, 3, c, message);
        }
        *message = "reset, orbit on|off ou look AZIMUT ÉLÉVATION DISTANCE attendu";
        return false;
    case Arguments::Trail:
        if (count == 1 && SameWord(arg[0], "clear"))
            return true;
        *message = "clear attendu";
        return false;
    case Arguments::Screenshot:
        return ParseFileName(arg, count, IsScreenshotName, ".png ou .tga", c, message);
    case Arguments::Record:
        return ParseFileName(arg, count, IsRecordName, ".csv", c, message);
    case Arguments::Object:
        return ParseObject(arg, count, c, message);
    case Arguments::Definitions:
        return ParseFileName(arg, count, IsDefinitionsName, ".txt", c, message);
    case Arguments::Jog:
        return ParseJog(arg, count, c, message);
    case Arguments::Frame:
        return ParseFrame(arg, count, c, message);
    case Arguments::Point:
        return ParsePoint(arg, count, c, message);
    }
    return false;
}

}  // namespace

const char* CommandVerbName(CommandVerb verb)
{
    if (verb == CommandVerb::CameraOrbit || verb == CommandVerb::CameraLook)
        return "camera";
    if (verb == CommandVerb::ObjectColour || verb == CommandVerb::ObjectRemove || verb == CommandVerb::ObjectRemoveAll)
        return "object";
    if (verb == CommandVerb::FrameUse || verb == CommandVerb::FrameRemove)
        return "frame";
    if (verb == CommandVerb::PointDefine || verb == CommandVerb::PointRemove)
        return "point";
    for (const Verb& v : kVerbs)
        if (v.verb == verb)
            return v.name;
    return "?";
}

namespace {

bool IsDataFileName(const std::string& name, std::initializer_list<const char*> extensions)
{
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0)
        return false;
    const std::string extension = name.substr(dot);
    if (std::none_of(extensions.begin(), extensions.end(), [&](const char* e) { return extension == e; }))
        return false;
    for (std::size_t i = 0; i < dot; ++i) {
        const char c = name[i];
        const bool allowed =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
        if (!allowed)
            return false;
    }
    return true;
}

}  // namespace

bool IsScreenshotName(const std::string& name)
{
    return IsDataFileName(name, {".png", ".tga"});
}

bool IsRecordName(const std::string& name)
{
    return IsDataFileName(name, {".csv"});
}

bool IsDefinitionsName(const std::string& name)
{
    return IsDataFileName(name, {".txt"});
}

bool IsMeshName(const std::string& name)
{
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot + 1 == name.size())
        return false;
    const std::string extension = name.substr(dot);
    for (std::size_t i = 1; i < extension.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(extension[i])))
            return false;
    return IsDataFileName(name, {extension.c_str()});
}

CommandLine ParseCommandLine(const char* line, std::size_t length, Command* command, std::string* verb,
                             std::string* message)
{
    const std::vector<std::string> words = Words(line, length);
    if (words.empty() || words[0][0] == '#')
        return CommandLine::Skip;
    for (const Verb& v : kVerbs) {
        if (!SameWord(words[0], v.name))
            continue;
        Command parsed;
        parsed.verb = v.verb;
        if (!ParseArguments(v.arguments, words, &parsed, message)) {
            *verb = v.name;
            return CommandLine::Error;
        }
        *command = parsed;
        return CommandLine::Command;
    }
    *verb = Quotable(words[0]);
    *message = "commande inconnue";
    return CommandLine::Error;
}
