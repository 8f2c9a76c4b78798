#include "tools/mesh/DataCheck.h"

#include "base/Cp1252.h"
#include "dataset/DataSet.h"
#include "dataset/OptionFiles.h"
#include "config/OptionsParser.h"
#include "formats/TgaImage.h"
#include "tools/mesh/MeshInfo.h"

#include <algorithm>
#include <cstdarg>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <regex>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

int g_iErrors = 0;
int g_iWarnings = 0;

void Say(const char* kind, const char* format, va_list args)
{
    std::printf("%s : ", kind);
    std::vprintf(format, args);
    std::printf("\n");
}

// An error is something that stops the simulator at start-up.
void Error(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Error(const char* format, ...)
{
    ++g_iErrors;
    va_list args;
    va_start(args, format);
    Say("ERREUR", format, args);
    va_end(args);
}

// A warning is something that starts but probably not as the author meant.
void Warning(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Warning(const char* format, ...)
{
    ++g_iWarnings;
    va_list args;
    va_start(args, format);
    Say("ATTENTION", format, args);
    va_end(args);
}

void Note(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Note(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    Say("info", format, args);
    va_end(args);
}

std::string ReadWholeFile(const char* fileName, bool& opened)
{
    std::string text;
    FILE* file = std::fopen(fileName, "rb");
    opened = file != nullptr;
    if (!file)
        return text;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, n);
    std::fclose(file);
    return text;
}

bool ParsesAsOptions(const std::string& text)
{
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    FILE* stream = fmemopen(buffer.data(), text.size(), "r");
    if (!stream)
        return false;
    COptions options;
    const bool valid = COptionsParser::ParseFileForVariable(stream, &options);
    std::fclose(stream);
    return valid;
}

// The line where an invalid option file stops making sense: the file is
// valid up to the last ';' before it. The reader itself gives no position,
// so prefixes ending at each ';' are read again until one fails.
int FirstBadLine(const std::string& text)
{
    std::size_t validEnd = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != ';')
            continue;
        if (!ParsesAsOptions(text.substr(0, i + 1)))
            break;
        validEnd = i + 1;
    }
    // The first line holding something after the valid part.
    std::size_t position = validEnd;
    while (position < text.size() &&
           (text[position] == ' ' || text[position] == '\t' || text[position] == '\r' || text[position] == '\n'))
        ++position;
    return 1 + static_cast<int>(std::count(text.begin(), text.begin() + std::min(position, text.size()), '\n'));
}

// A default as the console shows it: option files are Windows-1252.
std::string DefaultText(const OptionKey& key)
{
    return Cp1252ToUtf8(FormatOptionDefault(key).c_str());
}

// How many statements of the raw text look like an assignment to `name`
// ("name =" with the name standing alone). A statement whose value the reader
// does not recognise (a text without quotes, .5, yes) leaves no entry, so
// only the text shows it was written.
int WrittenAssignments(const std::string& text, const std::string& name)
{
    const std::regex assignment("(^|[^A-Za-z0-9_])" + name + "[ \t\r\n]*=");
    return static_cast<int>(
        std::distance(std::sregex_iterator(text.begin(), text.end(), assignment), std::sregex_iterator()));
}

// Whether the stored value is one the key's lookup reads, and what it reads.
void CheckValue(const OptionFile& file, const OptionKey& key, const COptionEntry& entry, const COptions& options)
{
    const char* name = key.name.c_str();
    if (key.lookup == OptionLookup::Text) {
        if (entry.kind != OPTION_TEXT)
            Warning("%s : %s attend un texte entre guillemets ; la valeur écrite n'en est pas un, le défaut %s "
                    "s'applique",
                    file.fileName, name, DefaultText(key).c_str());
        else if (entry.text.empty() && !key.text.empty())  // an empty default says "none" (a colour, pairs)
            Warning("%s : %s est un texte vide", file.fileName, name);
        return;
    }
    if (key.lookup == OptionLookup::Integer && entry.kind == OPTION_NUMBER && entry.isReal &&
        std::isfinite(entry.realValue))
        Warning("%s : %s attend un nombre entier ; %g sera lu %d", file.fileName, name, entry.realValue,
                static_cast<int>(entry.realValue));
    // Kind, finiteness and range, judged as the simulator judges them.
    const OptionValue judged = JudgeOptionValue(key, options);
    if (!judged.record.empty())
        Warning("%s : %s", file.fileName, judged.record.c_str());
}

// Reports on one option file as the simulator's loader read it (options is
// null when the file is absent or invalid) and on its keys. Returns options.
const COptions* CheckOptionFile(const OptionFile& file, const COptions* options)
{
    bool opened = false;
    const std::string text = ReadWholeFile(file.fileName, opened);
    if (!opened) {
        if (file.required)
            Error("%s est absent : le simulateur s'arrêtera au démarrage", file.fileName);
        else
            Note("%s est absent : le panneau de contrôle prendra toutes les valeurs par défaut", file.fileName);
        return nullptr;
    }
    if (!options) {
        const int line = FirstBadLine(text);
        if (file.required)
            Error(
                "%s est invalide (lecture refusée vers la ligne %d : chaque instruction s'écrit « nom = valeur ; ») : "
                "le simulateur s'arrêtera au démarrage",
                file.fileName, line);
        else
            Warning(
                "%s est invalide (lecture refusée vers la ligne %d : chaque instruction s'écrit « nom = valeur ; ») : "
                "le panneau de contrôle prendra toutes les valeurs par défaut",
                file.fileName, line);
        return nullptr;
    }

    std::vector<std::string> seen;
    for (const COptionEntry& entry : options->m_Entries) {
        const bool repeated = std::find(seen.begin(), seen.end(), entry.name) != seen.end();
        seen.push_back(entry.name);
        const OptionKey* key = FindOptionKey(file, entry.name);
        if (!key) {
            if (!repeated)  // else already reported
                Warning("%s : %s", file.fileName, UnknownKeyAdvice(file, entry.name).c_str());
            continue;
        }
        if (repeated) {
            Warning("%s : la clé %s est écrite plusieurs fois ; seule la première compte", file.fileName,
                    entry.name.c_str());
            continue;
        }
        CheckValue(file, *key, entry, *options);
    }

    for (const OptionKey& key : file.keys) {
        const char* name = key.name.c_str();
        const int written = WrittenAssignments(text, name);
        const int read = static_cast<int>(std::count_if(options->m_Entries.begin(), options->m_Entries.end(),
                                                        [name](const COptionEntry& e) { return e.name == name; }));
        if (written > read)
            Warning("%s : %d valeur(s) de %s non reconnue(s) et ignorée(s) : un texte s'écrit entre guillemets, un "
                    "nombre commence par un chiffre ou un signe moins, un booléen est true ou false",
                    file.fileName, written - read, name);
    }

    std::vector<const OptionKey*> missing;
    for (const OptionKey& key : file.keys)
        if (!options->Find(key.name.c_str()))
            missing.push_back(&key);
    if (!missing.empty()) {
        Note("%s : %zu clé(s) absente(s), valeur par défaut appliquée (une valeur non reconnue, comme yes ou .5, "
             "compte aussi comme absente) :",
             file.fileName, missing.size());
        for (const OptionKey* key : missing)
            std::printf("    %s = %s;\n", key->name.c_str(), DefaultText(*key).c_str());
    }
    return options;
}

// The text value the simulator will use for a key: the file's, or the default.
const char* TextOf(const COptions* options, const OptionKey& key)
{
    return options ? options->GetString(key.name.c_str(), key.text.c_str()) : key.text.c_str();
}

bool EndsWith(const std::string& text, const char* tail)
{
    const std::size_t n = std::strlen(tail);
    return text.size() >= n && text.compare(text.size() - n, n, tail) == 0;
}

void CheckMesh(const char* optionFile, const char* key, const char* fileName)
{
    MeshReading reading = ReadMeshFile(fileName);
    if (!reading.opened) {
        Error("%s, %s : le maillage « %s » est introuvable", optionFile, key, fileName);
        return;
    }
    if (!reading.decoded) {
        Error("%s, %s : le maillage « %s » est illisible pour le simulateur : %s%s", optionFile, key, fileName,
              MeshErrorText(reading.error),
              reading.looksLikeText ? " (il ressemble à un fichier texte : convertissez-le avec « kalimbrax-mesh "
                                      "import »)"
                                    : "");
        return;
    }
    const MeshData& mesh = reading.mesh;
    const MeshFigures figures = MeasureMesh(mesh, 7);
    if (figures.badNormals > 0)
        Warning("%s, %s : « %s » a %d normale(s) de longueur différente de 1 ; l'éclairage en sera faussé", optionFile,
                key, fileName, figures.badNormals);
    if (mesh.TriangleCount() == 0)
        Warning("%s, %s : « %s » ne contient aucun triangle", optionFile, key, fileName);
    std::printf("ok : %s (%s) : %d sommets, %d triangles, %s\n", fileName, key, mesh.VertexCount(),
                mesh.TriangleCount(), mesh.textured ? "texturé" : "sans coordonnées de texture");
}

bool PowerOfTwo(unsigned n)
{
    return n != 0 && (n & (n - 1)) == 0;
}

void CheckTexture(const char* optionFile, const char* key, const char* fileName)
{
    FILE* file = std::fopen(fileName, "rb");
    if (!file) {
        Error("%s, %s : la texture « %s » est introuvable", optionFile, key, fileName);
        return;
    }
    unsigned char header[18];
    const std::size_t headerBytes = std::fread(header, 1, sizeof header, file);
    std::fseek(file, 0, SEEK_END);
    const long size = std::ftell(file);
    std::fclose(file);

    CTgaImage image;
    if (!CTgaImage::TgaImageLoad(fileName, &image)) {
        // Say why, from the header the reader refused.
        std::string why = "format non pris en charge";
        if (headerBytes < sizeof header)
            why = "fichier tronqué dans son en-tête";
        else if (header[2] != 2)
            why = "type d'image " + std::to_string(header[2]) +
                  " ; seul le type 2 (couleurs vraies, non compressé) est lu";
        else if (header[16] != 24 && header[16] != 32)
            why = std::to_string(header[16]) + " bits par pixel ; seuls 24 et 32 sont lus";
        else if (size < 18 + header[0])
            why = "fichier tronqué dans son identifiant d'image";
        Error("%s, %s : la texture « %s » est illisible : %s", optionFile, key, fileName, why.c_str());
        return;
    }
    const long expected = 18L + header[0] + long(image.width) * image.height * (image.bitsPerPixel / 8);
    if (size < expected)
        Warning("%s, %s : la texture « %s » est tronquée : %ld octets de pixels manquent sur %ld ; le simulateur "
                "la charge quand même, la partie manquante en noir",
                optionFile, key, fileName, expected - size, expected - 18L - header[0]);
    if (!PowerOfTwo(image.width) || !PowerOfTwo(image.height))
        Warning("%s, %s : la texture « %s » mesure %ux%u ; OpenGL 1.1 n'accepte que des puissances de deux", optionFile,
                key, fileName, image.width, image.height);
    std::printf("ok : %s (%s) : %ux%u, %d bits par pixel\n", fileName, key, image.width, image.height,
                image.bitsPerPixel);
}

}  // namespace

int CheckDataDirectory(const char* dataDir)
{
    g_iErrors = 0;
    g_iWarnings = 0;
    // The simulator opens every file relative to its data directory.
    if (chdir(dataDir) != 0) {
        std::printf("ERREUR : impossible d'entrer dans le répertoire %s\n", dataDir);
        std::printf("Bilan : le simulateur ne démarrera pas.\n");
        return 1;
    }
    std::printf("Vérification du répertoire de données %s\n", dataDir);

    const DataSet data = LoadDataSet("");
    const std::vector<OptionFile>& files = OptionFiles();
    std::vector<const COptions*> sets;
    for (const OptionFile& file : files)
        sets.push_back(CheckOptionFile(file, data.Options(file.fileName)));

    // Resources are checked under the names the simulator will use: the
    // file's values, or the defaults when a key (or the whole file) is absent.
    // Text keys ending in FileObj name meshes, those ending in FileName
    // textures.
    for (std::size_t i = 0; i < files.size(); ++i)
        for (const OptionKey& key : files[i].keys) {
            if (key.lookup != OptionLookup::Text)
                continue;
            if (EndsWith(key.name, "FileObj"))
                CheckMesh(files[i].fileName, key.name.c_str(), TextOf(sets[i], key));
            else if (EndsWith(key.name, "FileName"))
                CheckTexture(files[i].fileName, key.name.c_str(), TextOf(sets[i], key));
        }

    std::printf("Bilan : %d erreur(s), %d avertissement(s). Le simulateur %s.\n", g_iErrors, g_iWarnings,
                g_iErrors == 0 ? "démarrera" : "ne démarrera pas");
    return g_iErrors == 0 ? 0 : 1;
}
