// Files written by commands kept off the data set (see DataSetGuard.h).
#include "command/DataSetGuard.h"

#include <strings.h>

namespace {

void AddName(std::string name, std::vector<std::string>* names)
{
    while (name.rfind("./", 0) == 0)
        name.erase(0, 2);
    names->push_back(std::move(name));
}

}  // namespace

std::vector<std::string> DataSetFileNames(const std::vector<const COptions*>& sets)
{
    std::vector<std::string> names;
    const std::vector<OptionFile>& files = OptionFiles();
    for (std::size_t f = 0; f < files.size(); ++f) {
        for (const OptionKey& key : files[f].keys)
            if (key.lookup == OptionLookup::Text)
                AddName(key.text, &names);
        if (f < sets.size() && sets[f])
            for (const COptionEntry& entry : sets[f]->m_Entries)
                if (entry.kind == OPTION_TEXT)
                    AddName(entry.text, &names);
    }
    return names;
}

bool IsDataSetFile(const std::string& name, const std::vector<std::string>& dataSetNames)
{
    for (const std::string& used : dataSetNames)
        if (strcasecmp(used.c_str(), name.c_str()) == 0)
            return true;
    return false;
}

CommandOutcome CDataSetGuard::Run(const Command& command)
{
    if (command.fileName.empty())
        return m_Next.Run(command);
    if (!m_bKnown) {
        m_DataSet = m_Names();
        m_bKnown = true;
    }
    if (IsDataSetFile(command.fileName, m_DataSet))
        return {CommandOutcome::Done, std::string("erreur ") + CommandVerbName(command.verb) + " : « " +
                                          command.fileName + " » appartient au jeu de données : nom refusé"};
    return m_Next.Run(command);
}
