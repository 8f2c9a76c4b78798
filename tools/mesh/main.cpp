// kalimbrax-mesh: brings meshes of the usual 3-D formats into a Kalimbrax
// data directory, and checks such a directory.
//
//   import INPUT OUTPUT [placement...] [--crease DEG] [--keep-normals]
//          [--no-simplify] [--version 12|21]
//   info FILE
//   export FILE OUTPUT.obj
//   check DATA_DIR
#include "base/Cp1252.h"
#include "base/Log.h"
#include "tools/mesh/DataCheck.h"
#include "tools/mesh/MeshImport.h"
#include "tools/mesh/MeshInfo.h"
#include "tools/mesh/ObjExport.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const int kUsageStatus = 2;

int Usage(const char* problem = nullptr)
{
    if (problem)
        std::fprintf(stderr, "kalimbrax-mesh : %s\n\n", problem);
    std::fprintf(stderr, "Usage :\n"
                         "  kalimbrax-mesh import ENTRÉE SORTIE [--scale S] [--rotate-x DEG] [--rotate-y DEG]\n"
                         "                 [--rotate-z DEG] [--translate X Y Z] [--crease DEG] [--keep-normals]\n"
                         "                 [--no-simplify] [--version 12|21]\n"
                         "      convertit un maillage (STL, OBJ Wavefront, PLY, COLLADA, glTF...) au format\n"
                         "      binaire du simulateur ; les transformations s'appliquent dans l'ordre donné.\n"
                         "      Les normales du fichier sont remplacées par des normales lisses (arêtes de plus\n"
                         "      de 30 degrés vives, --crease pour changer l'angle, --keep-normals pour garder\n"
                         "      celles du fichier), puis les sommets identiques soudés. Un maillage de plus de\n"
                         "      65535 sommets ou triangles est simplifié juste assez (--no-simplify : refusé).\n"
                         "  kalimbrax-mesh info FICHIER\n"
                         "      décrit un maillage binaire tel que le simulateur le lit.\n"
                         "  kalimbrax-mesh export FICHIER SORTIE.obj\n"
                         "      écrit une copie OBJ Wavefront (texte) d'un maillage binaire.\n"
                         "  kalimbrax-mesh check RÉPERTOIRE\n"
                         "      vérifie les fichiers d'options, maillages et textures d'un répertoire de données ;\n"
                         "      statut 0 seulement si le simulateur démarrerait.\n");
    return kUsageStatus;
}

// The project's code reports through the error log; here its records go to
// the standard error, without the time stamp a log file needs.
void PrintRecord(const char* record)
{
    const char* message = std::strstr(record, " - ");
    std::fputs(Cp1252ToUtf8(message ? message + 3 : record).c_str(), stderr);
}

void RouteLogToStderr()
{
    if (LogOpen(LOG_ERROR, "/dev/null"))
        LogSetPrintHook(LOG_ERROR, PrintRecord);
}

bool ParseNumber(const char* text, double& value)
{
    if (!text || !*text)
        return false;
    errno = 0;
    char* end = nullptr;
    value = std::strtod(text, &end);
    return errno == 0 && *end == '\0' && std::isfinite(value);
}

int Import(int argc, char** argv)
{
    if (argc < 4)
        return Usage("import attend un fichier d'entrée et un fichier de sortie");
    const char* input = argv[2];
    const char* output = argv[3];
    ImportOptions options;
    int version = 12;
    for (int i = 4; i < argc; ++i) {
        const std::string option = argv[i];
        MeshTransform step{MeshTransform::Scale};
        int values = 1;
        if (option == "--scale")
            step.kind = MeshTransform::Scale;
        else if (option == "--rotate-x")
            step.kind = MeshTransform::RotateX;
        else if (option == "--rotate-y")
            step.kind = MeshTransform::RotateY;
        else if (option == "--rotate-z")
            step.kind = MeshTransform::RotateZ;
        else if (option == "--translate") {
            step.kind = MeshTransform::Translate;
            values = 3;
        } else if (option == "--version") {
            if (i + 1 >= argc || (std::strcmp(argv[i + 1], "12") != 0 && std::strcmp(argv[i + 1], "21") != 0))
                return Usage("--version attend 12 ou 21");
            version = std::atoi(argv[++i]);
            continue;
        } else if (option == "--crease") {
            // The library takes no smoothing angle above 175 degrees.
            double degrees = 0.0;
            if (i + 1 >= argc || !ParseNumber(argv[i + 1], degrees) || degrees < 0.0 || degrees > 175.0)
                return Usage("--crease attend un angle de 0 à 175 degrés");
            options.creaseDegrees = static_cast<float>(degrees);
            ++i;
            continue;
        } else if (option == "--keep-normals") {
            options.keepNormals = true;
            continue;
        } else if (option == "--no-simplify") {
            options.simplify = false;
            continue;
        } else
            return Usage(("option inconnue : " + option).c_str());
        double numbers[3] = {0, 0, 0};
        for (int k = 0; k < values; ++k)
            if (i + 1 + k >= argc || !ParseNumber(argv[i + 1 + k], numbers[k]))
                return Usage((option + " attend " + (values == 3 ? "trois nombres" : "un nombre")).c_str());
        i += values;
        if (step.kind == MeshTransform::Scale && numbers[0] == 0.0)
            return Usage("--scale 0 écraserait le maillage en un point");
        step.x = numbers[0];
        step.y = numbers[1];
        step.z = numbers[2];
        options.transforms.push_back(step);
    }

    MeshData mesh;
    mesh.version = version;
    ImportNotes notes;
    std::string error;
    if (!ImportMesh(input, options, mesh, notes, error)) {
        std::fprintf(stderr, "Erreur : %s\n", error.c_str());
        return 1;
    }
    if (!WriteMeshFile(output, mesh, error)) {
        std::fprintf(stderr, "Erreur : %s\n", error.c_str());
        return 1;
    }
    const MergeCounts& parts = notes.parts;
    std::printf("%s : %d sommets, %d triangles, %s, version %d, depuis %d maillage(s) de %s\n", output,
                mesh.VertexCount(), mesh.TriangleCount(), mesh.textured ? "texturé" : "sans coordonnées de texture",
                mesh.version, parts.sourceMeshes, input);
    const double crease = options.creaseDegrees;
    if (parts.partsWithoutNormals == parts.sourceMeshes)
        std::printf("Normales absentes du fichier : normales lisses calculées (arêtes vives au-delà de %g°)\n", crease);
    else if (!options.keepNormals)
        std::printf("Normales du fichier remplacées par des normales lisses (arêtes vives au-delà de %g°)\n", crease);
    else if (parts.partsWithoutNormals > 0)
        std::printf("Normales du fichier gardées ; %d partie(s) sans normales : normales lisses calculées "
                    "(arêtes vives au-delà de %g°)\n",
                    parts.partsWithoutNormals, crease);
    std::printf("Soudure : %d coins de triangles, %d sommets\n", notes.corners, notes.weldedVertices);
    if (notes.simplified) {
        const SimplifyReport& r = notes.simplification;
        std::printf("Simplifié pour tenir dans le format : %d triangles avant, %d après (%d sommets avant, %d après), "
                    "erreur relative %.3g (part de la taille du maillage)\n",
                    r.trianglesBefore, r.trianglesAfter, r.verticesBefore, r.verticesAfter, r.error);
    }
    if (notes.repairedNormals > 0)
        std::printf("Attention : %d normale(s) nulle(s) ou invalide(s) remplacée(s)\n", notes.repairedNormals);
    if (parts.untexturedParts > 0)
        std::printf("Attention : %d partie(s) sans coordonnées de texture reçoivent (0, 0)\n", parts.untexturedParts);
    if (parts.droppedPrimitives > 0)
        std::printf("Attention : %d maillage(s) de points ou de lignes ignoré(s)\n", parts.droppedPrimitives);
    return 0;
}

int Export(int argc, char** argv)
{
    if (argc != 4)
        return Usage("export attend un maillage binaire et un fichier .obj de sortie");
    MeshReading reading = ReadMeshFile(argv[2]);
    if (!reading.opened) {
        std::fprintf(stderr, "Erreur : impossible d'ouvrir %s\n", argv[2]);
        return 1;
    }
    if (!reading.decoded) {
        std::fprintf(stderr, "Erreur : %s illisible : %s\n", argv[2], MeshErrorText(reading.error));
        return 1;
    }
    ExportNotes notes;
    std::string error;
    if (!ExportObj(reading.mesh, argv[3], notes, error)) {
        std::fprintf(stderr, "Erreur : %s\n", error.c_str());
        return 1;
    }
    std::printf("%s : %d sommets, %d triangles\n", argv[3], reading.mesh.VertexCount(), reading.mesh.TriangleCount());
    if (notes.inexactNumbers > 0)
        std::printf("Attention : %d valeur(s) ne se reliront pas bit pour bit par « import »\n", notes.inexactNumbers);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    RouteLogToStderr();
    if (argc < 2)
        return Usage();
    const std::string command = argv[1];
    if (command == "import")
        return Import(argc, argv);
    if (command == "info")
        return argc == 3 ? PrintMeshInfo(argv[2]) : Usage("info attend un seul fichier");
    if (command == "export")
        return Export(argc, argv);
    if (command == "check")
        return argc == 3 ? CheckDataDirectory(argv[2]) : Usage("check attend un seul répertoire");
    if (command == "-h" || command == "--help" || command == "aide")
        return Usage();
    return Usage(("commande inconnue : " + command).c_str());
}
