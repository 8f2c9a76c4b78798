// The text side of the kalimbrax-kin tool (see KinBatch.h).
#include "robot/KinBatch.h"

#include "config/OptionsParser.h"
#include "robot/Kinematics.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include <stdio.h>
#include <sys/types.h>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

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

void PrintKinValues(FILE* out, const float values[6])
{
    std::fprintf(out, "%.9g %.9g %.9g %.9g %.9g %.9g\n", values[0], values[1], values[2], values[3], values[4],
                 values[5]);
}

int RunKinTool(int argc, const char* const argv[], FILE* in, FILE* out, FILE* err)
{
    const bool mgd = argc >= 2 && std::strcmp(argv[1], "mgd") == 0;
    const bool mgi = argc >= 2 && std::strcmp(argv[1], "mgi") == 0;
    if ((!mgd && !mgi) || argc > 3) {
        std::fprintf(err, "kalimbrax-kin : commande invalide\n"
                          "usage : kalimbrax-kin mgd|mgi [RÉPERTOIRE]\n"
                          "  lit six nombres par ligne sur l'entrée standard : les angles A12 à A67 (mgd)\n"
                          "  ou la pose X Y Z alpha beta gamma (mgi), et écrit le résultat du modèle\n");
        return 2;
    }
    const std::string directory = argc == 3 ? argv[2] : "default";
    const std::string fileName = directory + "/robot.opt";
    const COptions* options = COptionsParser::GetOptions(fileName.c_str());
    if (!options) {
        std::fprintf(err, "kalimbrax-kin : impossible de charger le fichier %s\n", fileName.c_str());
        return 2;
    }
    const ArmLengths lengths = MakeArmLengths(*options);

    int status = 0;
    unsigned long lineNumber = 0;
    char* line = nullptr;
    std::size_t capacity = 0;
    for (;;) {
        // getline gives the true length, NUL bytes included, of any line.
        const ssize_t length = getline(&line, &capacity, in);
        if (length < 0)
            break;
        ++lineNumber;

        float values[6];
        switch (ParseKinLine(line, static_cast<std::size_t>(length), values)) {
        case KinLine::Skip:
            break;
        case KinLine::Invalid:
            std::fprintf(err, "kalimbrax-kin : ligne %lu : six nombres attendus\n", lineNumber);
            status = 1;
            break;
        case KinLine::Values: {
            float result[6];
            if (mgd) {
                const JointAngles angles{values[0], values[1], values[2], values[3], values[4], values[5]};
                ToolPose pose;
                ComputeMGD(lengths, angles, &pose);
                const float r[6] = {pose.X, pose.Y, pose.Z, pose.alpha, pose.beta, pose.gamma};
                std::memcpy(result, r, sizeof result);
            } else {
                const ToolPose pose{values[0], values[1], values[2], values[3], values[4], values[5]};
                JointAngles angles;
                ComputeMGI(lengths, pose, &angles);
                const float r[6] = {angles.A12, angles.A23, angles.A34, angles.A45, angles.A56, angles.A67};
                std::memcpy(result, r, sizeof result);
            }
            PrintKinValues(out, result);
            break;
        }
        }
    }
    std::free(line);
    std::fflush(out);
    return status;
}
