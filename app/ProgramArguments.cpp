#include "app/ProgramArguments.h"

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
        const bool script = std::strcmp(option, "--script") == 0;
        if (!script && std::strcmp(option, "--port") != 0) {
            *error = std::string("option inconnue « ") + option + " » (--script FICHIER, --port N)";
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
