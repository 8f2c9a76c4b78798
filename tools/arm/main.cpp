// kalimbrax-arm: a data directory for an arm of the family, from its robot
// description or from its data-sheet dimensions.
//
//   import ROBOT.urdf DIR [--template DATA_DIR]
//   make DIR [SHEET] [--template DATA_DIR]
#include "base/Cp1252.h"
#include "base/Log.h"
#include "dataset/DataSet.h"
#include "tools/arm/ArmDataSet.h"
#include "tools/arm/ArmImport.h"
#include "tools/arm/ArmMake.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

const int kUsageStatus = 2;

// The usage, on the standard error with the problem that calls for it, or
// on the standard output when it is asked for (--help).
int Usage(const char* problem)
{
    std::FILE* out = problem ? stderr : stdout;
    if (problem)
        std::fprintf(stderr, "kalimbrax-arm : %s\n\n", problem);
    std::fprintf(out, "Usage :\n"
                      "  kalimbrax-arm import ROBOT.urdf RÉPERTOIRE [--template DONNÉES] [--strict]\n"
                      "      écrit un jeu de données complet pour le bras que décrit ROBOT.urdf : ses\n"
                      "      longueurs, la numérotation de ses angles, ses limites et vitesses, sa bride\n"
                      "      comme point outil, ses maillages et leurs couleurs, les paires de segments\n"
                      "      en contact à toutes les poses (jamais vérifiées). Le bras doit être de la\n"
                      "      famille de Kalimbrax (axes 2 et 3 parallèles, poignet à axes concourants,\n"
                      "      sans décalage latéral) ; sinon la raison est donnée et rien n'est écrit.\n"
                      "      Un maillage absent ou illisible est remplacé par un cylindre, avec un\n"
                      "      avertissement ; --strict refuse alors l'import.\n"
                      "  kalimbrax-arm make RÉPERTOIRE [FICHIER]\n"
                      "      écrit un jeu de données à partir des cotes de la fiche technique (a1, a2, b,\n"
                      "      c1, c2, c3, c4 en mm, zéros, sens, limites et vitesses), bras dessiné comme\n"
                      "      celui par défaut, à sa taille ; sans FICHIER, un bras d'exemple.\n"
                      "  RÉPERTOIRE ne doit pas exister. Le sol, le ciel, la fenêtre et les textes du\n"
                      "  panneau viennent de DONNÉES (par défaut le répertoire default des sources).\n");
    return problem ? kUsageStatus : 0;
}

// The project's code reports through the error log; here its records go to
// the standard error, without the time stamp a log file needs.
void PrintRecord(const char* record)
{
    const char* message = std::strstr(record, " - ");
    std::fputs(Cp1252ToUtf8(message ? message + 3 : record).c_str(), stderr);
}

// What the written robot.opt leaves out of the collision checks.
void SayAlwaysTouching(const std::string& directory)
{
    const std::optional<ArmDescription> arm = LoadDataSet(directory).arm;
    if (!arm)
        return;  // the data set was read back before it was kept: not reached
    if (arm->alwaysTouching.empty())
        std::printf("Aucune paire de segments n'est en contact à toutes les poses : toutes sont vérifiées, sauf "
                    "les voisins\n");
    else
        std::printf("Segments en contact à toutes les poses, jamais vérifiés l'un contre l'autre "
                    "(strAlwaysTouching) : %s\n",
                    arm->alwaysTouching.c_str());
}

}  // namespace

int main(int argc, char** argv)
{
    if (LogOpen(LOG_ERROR, "/dev/null"))
        LogSetPrintHook(LOG_ERROR, PrintRecord);
    std::vector<std::string> words;
    std::string templateDirectory = DefaultTemplateDirectory();
    bool strict = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--template") == 0) {
            if (i + 1 >= argc)
                return Usage("--template attend un répertoire de données");
            templateDirectory = argv[++i];
        } else if (std::strcmp(argv[i], "--strict") == 0) {
            strict = true;
        } else if (std::strcmp(argv[i], "-h") == 0 || std::strcmp(argv[i], "--help") == 0) {
            return Usage(nullptr);
        } else {
            words.push_back(argv[i]);
        }
    }
    if (words.empty())
        return Usage("une commande est attendue : import ou make");
    if (words[0] == "import") {
        if (words.size() != 3)
            return Usage("import attend une description URDF et un répertoire");
        if (!ImportArm(words[1], words[2], templateDirectory, strict))
            return 1;
    } else if (words[0] == "make") {
        if (words.size() != 2 && words.size() != 3)
            return Usage("make attend un répertoire et, au choix, un fichier de cotes");
        if (!MakeArm(words.size() == 3 ? words[2] : "", words[1], templateDirectory))
            return 1;
    } else {
        return Usage(("commande inconnue : " + words[0]).c_str());
    }
    const std::string& directory = words[words.size() == 3 && words[0] == "import" ? 2 : 1];
    std::printf("Jeu de données écrit dans %s\n", directory.c_str());
    SayAlwaysTouching(directory);
    return 0;
}
