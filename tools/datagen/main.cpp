// kalimbrax-datagen OUTPUT_DIR: writes the default data set (option files,
// meshes, textures) into an existing directory. Same bytes on every run.
#include "base/Log.h"
#include "tools/datagen/DataSet.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "Usage : %s RÉPERTOIRE_DE_SORTIE\n", argc > 0 ? argv[0] : "kalimbrax-datagen");
        return 2;
    }
    // Error records only go to the console: a log file left next to the
    // data would just be clutter.
    LogOpen(LOG_ERROR, "/dev/null");
    LogSetPrintHook(LOG_ERROR, LogConsolePrint);
    if (!datagen::WriteDataSet(argv[1]))
        return 1;
    std::printf("Jeu de données écrit dans %s\n", argv[1]);
    return 0;
}
