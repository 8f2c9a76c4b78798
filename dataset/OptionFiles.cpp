#include "dataset/OptionFiles.h"

#include "dataset/GraphicsSettings.h"
#include "dataset/PanelSettings.h"
#include "arm/ArmDescription.h"
#include "dataset/DecorSettings.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

namespace {

int EditDistance(const std::string& a, const std::string& b)
{
    std::vector<int> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = static_cast<int>(j);
    for (std::size_t i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = static_cast<int>(i);
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const int above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

const char* BaseName(const char* path)
{
    const char* slash = std::strrchr(path, '/');
    return slash ? slash + 1 : path;
}

}  // namespace

const std::vector<OptionFile>& OptionFiles()
{
    static const std::vector<OptionFile> files = {
        {"graphics.opt", true, DeclaredKeys(DeclareGraphicsKeys)},
        {"glui.opt", false, DeclaredKeys(DeclarePanelKeys)},
        {"decor.opt", true, DeclaredKeys(DeclareDecorKeys)},
        {"robot.opt", true, DeclaredKeys(DeclareRobotKeys)},
    };
    return files;
}

const OptionFile* FindOptionFile(const char* path)
{
    if (!path)
        return nullptr;
    for (const OptionFile& file : OptionFiles())
        if (strcasecmp(file.fileName, BaseName(path)) == 0)
            return &file;
    return nullptr;
}

const OptionKey* FindOptionKey(const OptionFile& file, const std::string& name)
{
    for (const OptionKey& key : file.keys)
        if (key.name == name)
            return &key;
    return nullptr;
}

std::string UnknownKeyAdvice(const OptionFile& file, const std::string& name)
{
    for (const OptionFile& other : OptionFiles())
        if (&other != &file && FindOptionKey(other, name))
            return "la clé " + name + " appartient à " + other.fileName + " ; elle est sans effet ici";
    for (const OptionKey& key : file.keys)
        if (strcasecmp(key.name.c_str(), name.c_str()) == 0)
            return "clé inconnue " + name + " ; vouliez-vous dire " + key.name + " ? (la casse compte)";
    const OptionKey* nearest = nullptr;
    int distance = 1 << 30;
    for (const OptionKey& key : file.keys) {
        const int d = EditDistance(name, key.name);
        if (d < distance) {
            distance = d;
            nearest = &key;
        }
    }
    if (nearest && distance <= std::max<int>(2, static_cast<int>(name.size()) / 3))
        return "clé inconnue " + name + " ; vouliez-vous dire " + nearest->name + " ?";
    return "clé inconnue " + name + " ; le simulateur ne la lit pas";
}
