#pragma once
// No file a command writes replaces a file of the data set: every command
// that carries a file name (Command::fileName: screenshot, record, and any
// later one) passes the same guard. "screenshot ground.tga" would otherwise
// write the window over the ground's texture, even a read-only one when the
// program runs as root, and "record armtex.csv" a motion over a texture so
// named; the next start would draw the one or fail on the other without a
// word.
#include "command/CommandSession.h"
#include "dataset/OptionFiles.h"
#include "config/OptionsParser.h"

#include <functional>
#include <string>
#include <vector>

// The names the data set may use: every text value of its four option
// files (sets in the order of OptionFiles(); nullptr for a file that could
// not be read) and every text key's default, whatever the files say. All
// text values, not only the keys known to hold a file: a label never has
// the shape of a file name a command takes, and a new key holding a
// texture is covered without a word here. A leading "./" is dropped.
std::vector<std::string> DataSetFileNames(const std::vector<const COptions*>& sets);

// The name is one of them, without regard to ASCII case: the data set may
// sit on, or be copied to, a file system that ignores it.
bool IsDataSetFile(const std::string& name, const std::vector<std::string>& dataSetNames);

// Refuses a command that would write over a file of the data set, and
// hands every other command to the next runner. The names are asked for at
// the first command that writes a file, when one comes at all.
class CDataSetGuard : public CommandRunner {
public:
    typedef std::function<std::vector<std::string>()> Names;
    CDataSetGuard(CommandRunner& next, Names names) : m_Next(next), m_Names(std::move(names)) {}

    CommandOutcome Run(const Command& command) override;
    bool MotionRunning() override { return m_Next.MotionRunning(); }

private:
    CommandRunner& m_Next;
    Names m_Names;
    std::vector<std::string> m_DataSet;
    bool m_bKnown = false;  // m_DataSet was asked for
};
