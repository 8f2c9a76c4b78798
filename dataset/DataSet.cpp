#include "dataset/DataSet.h"

#include "dataset/OptionFiles.h"

#include <set>

namespace {

std::string Path(const std::string& directory, const char* file)
{
    return directory.empty() ? file : directory + "/" + file;
}

// One option file, read with its unknown keys recorded: the simulator ignores
// such a key, and a typo would otherwise go unnoticed.
std::optional<COptions> ReadOptionFile(const std::string& directory, const OptionFile& file,
                                       std::vector<std::string>& records)
{
    std::optional<COptions> options = COptionsParser::ReadFile(Path(directory, file.fileName).c_str());
    if (!options)
        return options;
    std::set<std::string> seen;
    for (const COptionEntry& entry : options->m_Entries)
        if (!FindOptionKey(file, entry.name) && seen.insert(entry.name).second)
            records.push_back(std::string("ReadOptionFile -- ") + file.fileName + " : " +
                              UnknownKeyAdvice(file, entry.name) + " (valeur ignorée)");
    return options;
}

// A file's settings through its declarations, each value refused there
// recorded with the file's name.
template <class Settings>
Settings ReadFileSettings(const char* fileName, const COptions* options,
                          void (*declare)(COptionDeclarations&, Settings&), std::vector<std::string>& records)
{
    std::vector<std::string> refused;
    Settings settings = ReadSettings(options, declare, &refused);
    for (const std::string& record : refused)
        records.push_back(std::string("ReadOptionFile -- ") + fileName + " : " + record);
    return settings;
}

// The arm of robot.opt, with what needed putting right.
ArmDescription ReadArm(const COptions& robot, std::vector<std::string>& records)
{
    ArmDescription arm = ReadFileSettings("robot.opt", &robot, DeclareRobotKeys, records);
    for (int joint = 0; joint < kJointCount; ++joint)
        if (arm.sense[joint] != 1 && arm.sense[joint] != -1) {
            records.push_back("LoadArmDescription -- " + JointKey("iAngle", joint, "Sense") + " = " +
                              std::to_string(arm.sense[joint]) +
                              " : le sens d'une articulation vaut 1 ou -1 ; 1 s'applique");
            arm.sense[joint] = 1;
        }
    for (int link = 0; link < kLinkCount; ++link)
        if (!arm.colour[link].empty() && !ParseColour(arm.colour[link], nullptr)) {
            records.push_back("LoadArmDescription -- " + LinkKey("str", link, "Color") + " = \"" + arm.colour[link] +
                              "\" : une couleur s'écrit \"#rrggbb\" ; la texture s'applique");
            arm.colour[link].clear();
        }
    std::vector<std::string> refused;
    arm.alwaysTouching = FormatLinkPairs(ParseLinkPairs(arm.alwaysTouching, &refused));
    for (const std::string& entry : refused)
        records.push_back("LoadArmDescription -- strAlwaysTouching : " + entry);
    return arm;
}

// The joints' limits and start angles are the panel's spinners', and their
// names in messages the first word of the spinners' labels ("A56" of "A56
// poignet", a robot description's "joint_5").
void TakePanelAngles(const PanelSettings& panel, ArmDescription& arm, std::vector<std::string>& records)
{
    for (int joint = 0; joint < kJointCount; ++joint) {
        const std::string& label = panel.angleName[joint];
        const std::size_t first = label.find_first_not_of(' ');
        if (first != std::string::npos)
            arm.jointName[joint] = label.substr(first, label.find(' ', first) - first);
        arm.limits.low[joint] = panel.minAngle[joint];
        arm.limits.high[joint] = panel.maxAngle[joint];
        arm.start.*kJointFields[joint] = panel.startAngle[joint];
    }
    for (const std::string& departure : FamilyDepartures(arm))
        records.push_back("LoadArmDescription -- " + departure);
}

std::size_t IndexOf(const OptionFile& file)
{
    return static_cast<std::size_t>(&file - OptionFiles().data());
}

}  // namespace

const COptions* DataSet::Options(const char* fileName) const
{
    const std::optional<COptions>& set = sets[IndexOf(*FindOptionFile(fileName))];
    return set ? &*set : nullptr;
}

DataSet LoadDataSet(const std::string& directory)
{
    const std::vector<OptionFile>& files = OptionFiles();
    DataSet data;
    data.sets.resize(files.size());
    auto read = [&](const char* name) -> const std::optional<COptions>& {
        const OptionFile& file = *FindOptionFile(name);
        std::optional<COptions>& set = data.sets[IndexOf(file)];
        set = ReadOptionFile(directory, file, data.records);
        return set;
    };
    // In the order the program takes them: the window first, then the arm
    // with the panel's limits, then its surroundings.
    if (const std::optional<COptions>& graphics = read("graphics.opt"))
        data.graphics = ReadFileSettings("graphics.opt", &*graphics, DeclareGraphicsKeys, data.records);
    if (const std::optional<COptions>& robot = read("robot.opt"))
        data.arm = ReadArm(*robot, data.records);
    else
        data.records.push_back("LoadArmDescription -- Impossible de charger le fichier robot.opt");
    const std::optional<COptions>& panel = read("glui.opt");
    data.panelRead = panel.has_value();
    data.panel = ReadFileSettings("glui.opt", panel ? &*panel : nullptr, DeclarePanelKeys, data.records);
    if (data.arm)
        TakePanelAngles(data.panel, *data.arm, data.records);
    if (const std::optional<COptions>& decor = read("decor.opt"))
        data.decor = ReadFileSettings("decor.opt", &*decor, DeclareDecorKeys, data.records);
    return data;
}
