// The text side of the kalimbrax-kin tool (see KinBatch.h).
#include "tools/kin/KinBatch.h"

#include "arm/ArmKinematics.h"
#include "base/FrenchDecimal.h"
#include "dataset/DataSet.h"
#include "kinematics/MGI.h"
#include "kinematics/KinText.h"
#include "kinematics/MGIGrid.h"
#include "tools/kin/LineBatches.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

}  // namespace

KinLine ParseKinLine(const char* line, std::size_t length, float values[6])
{
    // strtof needs a terminated string, and must not stop at an embedded NUL.
    if (std::memchr(line, '\0', length))
        return KinLine::Invalid;
    const std::string text(line, length);
    const char* p = text.c_str();
    while (IsBlank(*p))
        ++p;
    if (*p == '\0' || *p == '#')
        return KinLine::Skip;

    float parsed[6];
    for (int i = 0; i < 6; ++i) {
        while (IsBlank(*p))
            ++p;
        char* end = nullptr;
        parsed[i] = std::strtof(p, &end);
        // A number must end at a blank or at the end of the line: "1,2" or
        // "3x" is not a number.
        if (end == p || (*end != '\0' && !IsBlank(*end)))
            return KinLine::Invalid;
        p = end;
    }
    while (IsBlank(*p))
        ++p;
    if (*p != '\0')
        return KinLine::Invalid;
    std::memcpy(values, parsed, sizeof parsed);
    return KinLine::Values;
}

namespace {

const char* const kUsage = "usage : kalimbrax-kin mgd [RÉPERTOIRE]\n"
                           "        kalimbrax-kin mgi [--exact | --grid | --all] [RÉPERTOIRE]\n"
                           "  lit six nombres par ligne sur l'entrée standard : les angles A12 à A67 (mgd)\n"
                           "  ou la pose X Y Z alpha beta gamma (mgi), et écrit le résultat du modèle.\n"
                           "  mgi prend le modèle inverse que demande robot.opt (bMGIExact), ou celui\n"
                           "  nommé : --exact (solution exacte, la configuration que choisirait la grille),\n"
                           "  --grid (recherche sur grille), --all (toutes les configurations exactes,\n"
                           "  chacune précédée du numéro de sa ligne d'entrée)\n";

enum class KinMode { Forward, Grid, Exact, AllExact, FromDataSet };

struct KinCommand {
    KinMode mode;
    std::string directory = "default";
};

// kalimbrax-kin mgd [DIR] | mgi [--exact|--grid|--all] [DIR]. False for
// anything else.
bool ParseKinCommand(int argc, const char* const argv[], KinCommand* command)
{
    if (argc < 2)
        return false;
    const bool mgd = std::strcmp(argv[1], "mgd") == 0;
    if (!mgd && std::strcmp(argv[1], "mgi") != 0)
        return false;
    command->mode = mgd ? KinMode::Forward : KinMode::FromDataSet;
    bool modeGiven = false, directoryGiven = false;
    for (int i = 2; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strncmp(arg, "--", 2) != 0) {
            if (directoryGiven)
                return false;
            command->directory = arg;
            directoryGiven = true;
            continue;
        }
        if (mgd || modeGiven)
            return false;
        if (std::strcmp(arg, "--exact") == 0)
            command->mode = KinMode::Exact;
        else if (std::strcmp(arg, "--grid") == 0)
            command->mode = KinMode::Grid;
        else if (std::strcmp(arg, "--all") == 0)
            command->mode = KinMode::AllExact;
        else
            return false;
        modeGiven = true;
    }
    return true;
}

std::string OutOfReach(unsigned long lineNumber, double distance)
{
    return "kalimbrax-kin : ligne " + std::to_string(lineNumber) + " : hors d'atteinte, position la plus proche à " +
           FormatDecimal(distance, 2) + "\n";
}

// What every line is answered with: the model (never FromDataSet) and the arm.
struct KinSetup {
    KinMode mode;
    const ArmDescription& arm;
    ArmLengths lengths;
    JointLimits limits;
};

void AnswerKinLine(const KinSetup& setup, const char* line, std::size_t length, unsigned long lineNumber,
                   LineAnswer* answer)
{
    const ArmDescription& arm = setup.arm;
    float values[6];
    switch (ParseKinLine(line, length, values)) {
    case KinLine::Skip:
        return;
    case KinLine::Invalid:
        answer->err += "kalimbrax-kin : ligne " + std::to_string(lineNumber) + " : six nombres attendus\n";
        answer->status = 1;
        return;
    case KinLine::Values:
        break;
    }
    const ToolPose pose{values[0], values[1], values[2], values[3], values[4], values[5]};
    switch (setup.mode) {
    case KinMode::Forward:
        answer->out +=
            FormatKinValues(ArmMGD(arm, JointAngles{values[0], values[1], values[2], values[3], values[4], values[5]}));
        answer->out += '\n';
        break;
    case KinMode::Grid: {
        JointAngles angles;
        ComputeMGI(setup.lengths, WristPose(arm, pose), &angles);
        answer->out += FormatKinValues(ArmAngles(arm, angles)) + '\n';
        break;
    }
    case KinMode::Exact: {
        const MGIResult result = SolveMGINearGrid(setup.lengths, WristPose(arm, pose), setup.limits);
        answer->out += FormatKinValues(ArmAngles(arm, result.angles)) + '\n';
        if (!result.reached)
            answer->err += OutOfReach(lineNumber, result.distance);
        if (!result.withinLimits)
            answer->err += "kalimbrax-kin : ligne " + std::to_string(lineNumber) +
                           " : aucune configuration dans les limites de glui.opt\n";
        break;
    }
    case KinMode::AllExact: {
        const MGISolutions solutions = ArmMGIAll(arm, pose);
        if (!solutions.Reached()) {
            answer->err += OutOfReach(lineNumber, solutions.distance);
            break;
        }
        for (int i = 0; i < solutions.count; ++i)
            answer->out +=
                std::to_string(lineNumber) + ' ' + FormatKinValues(solutions.configurations[i].angles) + '\n';
        break;
    }
    case KinMode::FromDataSet:
        break;
    }
}

}  // namespace

int RunKinTool(int argc, const char* const argv[], FILE* in, FILE* out, FILE* err)
{
    KinCommand command;
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kUsage, out);
        return 0;
    }
    if (!ParseKinCommand(argc, argv, &command)) {
        std::fprintf(err, "kalimbrax-kin : commande invalide\n%s", kUsage);
        return 2;
    }
    // The exact model chooses among configurations within the panel's
    // limits (glui.opt), as the simulator does.
    const std::optional<ArmDescription> loaded = LoadDataSet(command.directory).arm;
    if (!loaded) {
        std::fprintf(err, "kalimbrax-kin : impossible de charger le fichier %s/robot.opt\n", command.directory.c_str());
        return 2;
    }
    const ArmDescription& arm = *loaded;
    if (command.mode == KinMode::FromDataSet)
        command.mode = arm.Model() == MGIModel::Exact ? KinMode::Exact : KinMode::Grid;
    const KinSetup setup{command.mode, arm, arm.Lengths(), ModelLimits(arm)};

    const int status = AnswerLines(
        in, out, err, [&setup](const char* line, std::size_t length, unsigned long number, LineAnswer* answer) {
            AnswerKinLine(setup, line, length, number, answer);
        });
    std::fflush(out);
    return status;
}
