#include "base/ProgramArguments.h"

#include <cstring>

namespace {

bool ParsePort(const char* text, int* port)
{
    if (!*text || std::strlen(text) > 5)
        return false;
    int value = 0;
    for (const char* p = text; *p; ++p) {
        if (*p < '0' || *p > '9')
            return false;
        value = value * 10 + (*p - '0');
    }
    if (value > 65535)
        return false;
    *port = value;
    return true;
}

}  // namespace

bool ParseProgramArguments(int argc, const char* const argv[], ProgramArguments* arguments, std::string* error)
{
    int i = 1;
    bool scriptGiven = false, portGiven = false;
    if (i < argc && std::strncmp(argv[i], "--", 2) != 0)
        arguments->dataDirectory = argv[i++];
    for (; i < argc; ++i) {
        const char* option = argv[i];
        if (std::strncmp(option, "--", 2) != 0)
            continue;  // GLUT's
        if (std::strcmp(option, "--help") == 0) {
            arguments->help = true;
            continue;
        }
        const bool script = std::strcmp(option, "--script") == 0;
        if (!script && std::strcmp(option, "--port") != 0) {
            *error = std::string("option inconnue « ") + option + " » (--script FICHIER, --port N, --help)";
            return false;
        }
        // Said twice, which one was meant is anyone's guess: keeping the
        // last would silently drop the other.
        bool& given = script ? scriptGiven : portGiven;
        if (given) {
            *error = std::string(option) + " donné deux fois";
            return false;
        }
        given = true;
        if (i + 1 >= argc) {
            *error = std::string(option) + (script ? " attend un fichier" : " attend un numéro de port");
            return false;
        }
        const char* value = argv[++i];
        if (script)
            arguments->scriptFile = value;
        else if (!ParsePort(value, &arguments->port)) {
            *error = std::string("port invalide « ") + value + " » : un entier de 0 à 65535 est attendu";
            return false;
        }
    }
    return true;
}

const char* ProgramHelp()
{
    return "Usage : kalimbrax [RÉPERTOIRE] [--script FICHIER] [--port N] [--help] [options de GLUT]\n"
           "\n"
           "  RÉPERTOIRE         le jeu de données : fichiers d'options, maillages, textures\n"
           "                     (par défaut : default, sous le répertoire courant)\n"
           "  --script FICHIER   joue les commandes de FICHIER au démarrage\n"
           "  --port N           ouvre le port de commande sur 127.0.0.1:N (0 : un port libre)\n"
           "  --help             affiche cette aide\n"
           "\n"
           "Touches de la fenêtre graphique :\n"
           "  Échap              quitter\n"
           "  F4                 repères de chaque segment\n"
           "  F5                 fil de fer\n"
           "  F6                 capture de la fenêtre dans screenshot.tga (répertoire de données)\n"
           "  F8                 ajoute « moveto » et les angles du bras à poses.txt\n"
           "  F9                 décor : sol, grille, ciel\n"
           "  F10                reflet\n"
           "  F11                ombre\n"
           "  F12                aspect métal\n"
           "  flèches            déplacer la caméra (en orbite : tourner, rapprocher)\n"
           "  Page haut, bas     monter, descendre (en orbite : incliner)\n"
           "  Début              vue de départ\n"
           "  molette            avancer, reculer\n"
           "  glisser            tourner la vue\n"
           "\n"
           "Journaux : robot_error.log et robot_debug.log dans le répertoire de départ.\n"
           "Statut de sortie : 0 après Échap ou « exit », 254 quand le démarrage échoue.\n";
}
