#include "command/CellCommands.h"

#include "base/FileReplace.h"
#include "base/Log.h"
#include "collision/CollisionWorld.h"
#include "command/QuotedText.h"
#include "command/WorkCommands.h"
#include "kinematics/ArmChain.h"
#include "sim/Controller.h"
#include "sim/Simulation.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>

namespace {

// A definition file is read whole: a cell of ten thousand objects is some
// hundreds of kilobytes; past this it is not a cell.
constexpr long kMaxDefinitionsBytes = 16L << 20;

CommandOutcome Ok(const std::string& what = "")
{
    return {CommandOutcome::Done, what.empty() ? "ok" : "ok " + what};
}

CommandOutcome Failed(CommandVerb verb, const std::string& message)
{
    return {CommandOutcome::Done, std::string("erreur ") + CommandVerbName(verb) + " : " + message};
}

// The shortest text that reads back as the same number, without an
// exponent within the sizes a cell has: what was typed, for a number typed
// with at most 17 significant digits.
std::string Number(double value)
{
    char text[64];
    const double size = std::fabs(value);
    const auto format =
        size == 0 || (size >= 1e-4 && size < 1e15) ? std::chars_format::fixed : std::chars_format::general;
    return std::string(text, std::to_chars(text, text + sizeof text, value, format).ptr);
}

std::string Distance(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

// An object mesh's file, read from the data directory.
bool ReadObjectMesh(ObjectDefinition* object, std::string* reason)
{
    FILE* file = std::fopen(object->meshFile.c_str(), "rb");
    if (!file) {
        *reason = "impossible d'ouvrir « " + object->meshFile + " »";
        return false;
    }
    auto mesh = std::make_shared<MeshData>();
    MeshError error = MeshError::None;
    const bool read = ReadMesh(file, *mesh, &error);
    std::fclose(file);
    if (!read) {
        *reason = "« " + object->meshFile + " » : " + MeshErrorText(error);
        return false;
    }
    object->mesh = std::move(mesh);
    return true;
}

// One line of a cell: what the object verbs and those of the frames, the
// tool and the points do, else refused.
CommandOutcome RunDefinition(CController& controller, const Command& c)
{
    if (IsWorkCommand(c.verb))
        return RunWorkCommand(controller, c);
    ActionResult done;
    switch (c.verb) {
    case CommandVerb::ObjectDefine: {
        ObjectDefinition object = c.object;
        std::string reason;
        if (object.kind == ObjectKind::Mesh && !ReadObjectMesh(&object, &reason))
            return Failed(c.verb, reason);
        done = controller.DefineObject(object);
        break;
    }
    case CommandVerb::ObjectColour:
        done = controller.SetObjectColour(c.name, c.colour);
        break;
    case CommandVerb::ObjectRemove:
        done = controller.RemoveObject(c.name);
        break;
    case CommandVerb::ObjectRemoveAll:
        controller.RemoveAllObjects();
        break;
    default:
        return Failed(c.verb, "pas une définition de la cellule");
    }
    return done.ok ? Ok() : Failed(c.verb, done.message);
}

std::string LinkOrObject(const CollisionPair& pair)
{
    return pair.otherLink >= 0 ? kLinkNames[pair.otherLink] : pair.object;
}

}  // namespace

std::string CellDefinitions(const CCollisionWorld& cell)
{
    std::string lines;
    for (const std::string& name : cell.ObjectNames()) {
        const CellObject& o = *cell.FindObject(name);
        std::string line = std::string("object ") + ObjectKindName(o.definition.kind) + " " + name;
        if (o.definition.kind == ObjectKind::Mesh)
            line += " " + o.definition.meshFile;
        for (const double n : o.definition.numbers)
            line += " " + Number(n);
        lines += line + "\n";
        if (o.colour != kObjectGrey)
            lines += "object color " + name + " " + o.colour + "\n";
    }
    return lines;
}

bool PlayDefinitions(CController& controller, const std::string& fileName, bool whole,
                     std::vector<std::string>* refusals, std::string* error)
{
    std::ifstream file(fileName, std::ios::binary);
    if (!file) {
        *error = "impossible d'ouvrir « " + fileName + " »";
        return false;
    }
    std::string line;
    std::vector<std::string> lines;
    long bytes = 0;
    while (std::getline(file, line)) {
        bytes += static_cast<long>(line.size()) + 1;
        if (bytes > kMaxDefinitionsBytes) {
            *error = "« " + fileName + " » dépasse " + std::to_string(kMaxDefinitionsBytes >> 20) + " Mo";
            return false;
        }
        lines.push_back(line);
    }
    // A whole file puts the cell, the frames, the tool and the points back
    // as they were at its first refusal.
    std::vector<CellObject> before;
    if (const CCollisionWorld* cell = controller.Simulation().Cell(); whole && cell)
        for (const std::string& name : cell->ObjectNames())
            before.push_back(*cell->FindObject(name));
    const WorkDefinitions work = controller.Work();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        Command command;
        std::string verb, message;
        const CommandLine kind = ParseCommandLine(lines[i].data(), lines[i].size(), &command, &verb, &message);
        if (kind == CommandLine::Skip)
            continue;
        std::string reply =
            kind == CommandLine::Error ? "erreur " + verb + " : " + message : RunDefinition(controller, command).reply;
        if (reply == "ok")
            continue;
        refusals->push_back("ligne " + std::to_string(i + 1) + " : " + reply);
        if (whole) {
            controller.RemoveAllObjects();
            for (const CellObject& o : before) {
                controller.DefineObject(o.definition);
                controller.SetObjectColour(o.definition.name, o.colour);
            }
            controller.RestoreWork(work);
            return true;
        }
    }
    return true;
}

CommandOutcome RunCellCommand(CController& controller, const Command& c)
{
    if (c.verb == CommandVerb::Save) {
        const CCollisionWorld* cell = controller.Simulation().Cell();
        const std::string lines = (cell ? CellDefinitions(*cell) : std::string()) + WorkDefinitionLines(controller);
        if (!ReplaceFile(c.fileName.c_str(),
                         [&](FILE* file) { return std::fwrite(lines.data(), 1, lines.size(), file) == lines.size(); }))
            return Failed(c.verb, "impossible d'écrire « " + c.fileName + " »");
        return Ok(c.fileName);
    }
    if (c.verb == CommandVerb::Load) {
        std::vector<std::string> refusals;
        std::string error;
        if (!PlayDefinitions(controller, c.fileName, true, &refusals, &error))
            return Failed(c.verb, error);
        if (!refusals.empty())
            return Failed(c.verb, c.fileName + ", " + refusals.front());
        return Ok(c.fileName);
    }
    return RunDefinition(controller, c);
}

CommandOutcome AnswerCellQuery(const CController& controller, const Command& c)
{
    const CSimulation& simulation = controller.Simulation();
    const CCollisionWorld* cell = simulation.Cell();
    if (!cell)
        return Failed(c.verb, "pas de cellule : les maillages du bras ne sont pas lus");
    switch (c.query) {
    case CommandQuery::Objects: {
        std::string names;
        for (const std::string& name : cell->ObjectNames())
            names += (names.empty() ? "" : " ") + name;
        return Ok(names);
    }
    case CommandQuery::Object: {
        const CellObject* o = cell->FindObject(c.name);
        if (!o)
            return Failed(c.verb, "aucun objet « " + c.name + " »");
        std::string words = ObjectKindName(o->definition.kind);
        if (o->definition.kind == ObjectKind::Mesh)
            words += " " + o->definition.meshFile;
        for (const double n : o->definition.numbers)
            words += " " + Number(n);
        return Ok(words);
    }
    case CommandQuery::Collisions: {
        const std::vector<CollisionPair> pairs = cell->Collisions(simulation.Angles());
        std::string words = std::to_string(pairs.size());
        for (const CollisionPair& pair : pairs)
            words += " " + pair.Text();
        return Ok(words);
    }
    default: {
        Clearance clearance;
        std::string reason;
        if (c.name.empty()) {
            clearance = cell->ExactClearanceOf(simulation.Angles());
            if (clearance.pair.link < 0)
                return Failed(c.verb, "aucune paire à mesurer");
            return Ok(Distance(clearance.distance) + " " + kLinkNames[clearance.pair.link] + " " +
                      LinkOrObject(clearance.pair));
        }
        if (!cell->ClearanceTo(simulation.Angles(), c.name, &clearance, &reason))
            return Failed(c.verb, reason);
        return Ok(Distance(clearance.distance) + " " + kLinkNames[clearance.pair.link]);
    }
    }
}

void LoadStartCell(CController& controller)
{
    if (FILE* file = std::fopen(kStartCellFile, "rb"))
        std::fclose(file);
    else
        return;
    std::vector<std::string> refusals;
    std::string error;
    if (!PlayDefinitions(controller, kStartCellFile, false, &refusals, &error))
        LogError("Cellule %s : %s", kStartCellFile, error.c_str());
    for (const std::string& refusal : refusals)
        LogError("Cellule %s, %s", kStartCellFile, refusal.c_str());
}
