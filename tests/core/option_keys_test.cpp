#include "config/OptionKeys.h"
#include "config/OptionsParser.h"
#include "robot/LinkChain.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

const char* const kJoints[] = {"12", "23", "34", "45", "56", "67"};

bool TableHas(const std::string& name)
{
    for (const OptionFile& file : kOptionFiles)
        if (FindOptionKey(file, name.c_str()))
            return true;
    return false;
}

// The lookup a key's name announces by its prefix.
OptionLookup LookupOfPrefix(const std::string& name)
{
    if (name.rfind("str", 0) == 0 || name[0] == 's')
        return OptionLookup::Text;
    switch (name[0]) {
    case 'b':
        return OptionLookup::Boolean;
    case 'i':
        return OptionLookup::Integer;
    case 'd':
        return OptionLookup::Double;
    default:
        return OptionLookup::Float;
    }
}

std::vector<std::string> SourceFiles(const std::string& dir)
{
    std::vector<std::string> files;
    DIR* d = opendir(dir.c_str());
    if (!d)
        return files;
    while (dirent* entry = readdir(d)) {
        std::string name = entry->d_name;
        auto endsWith = [&name](const char* tail) {
            std::size_t n = std::strlen(tail);
            return name.size() > n && name.compare(name.size() - n, n, tail) == 0;
        };
        if (endsWith(".cpp") || endsWith(".h"))
            files.push_back(dir + "/" + name);
    }
    closedir(d);
    return files;
}

TEST(OptionKeysTest, NamesAreUniqueAndTheirPrefixMatchesTheLookup)
{
    for (const OptionFile& file : kOptionFiles) {
        std::set<std::string> seen;
        for (int i = 0; i < file.keyCount; ++i) {
            const OptionKey& key = file.keys[i];
            EXPECT_TRUE(seen.insert(key.name).second) << file.fileName << ": " << key.name << " twice";
            EXPECT_EQ(LookupOfPrefix(key.name), key.lookup) << key.name;
            EXPECT_EQ(key.lookup == OptionLookup::Text, key.text != nullptr) << key.name;
        }
    }
}

// A key the simulator reads but the table lacks would be reported as a typo
// by the data check, and its default would never be shown. Every literal of
// the key form in the simulator's sources must be in the table; a "%s"
// stands for each joint's number pair.
TEST(OptionKeysTest, EveryKeyNamedInTheSimulatorSourcesIsInTheTable)
{
    const std::regex keyLiteral("\"((?:b|i|f|d|s|str)[A-Z][A-Za-z0-9%]*)\"");
    int literals = 0;
    for (const char* dir : {"app", "config", "graphics", "scene", "robot", "panel"}) {
        for (const std::string& path : SourceFiles(std::string(KX_SOURCE_DIR) + "/" + dir)) {
            if (path.find("OptionKeys.") != std::string::npos)
                continue;  // the table itself
            std::ifstream in(path);
            std::stringstream text;
            text << in.rdbuf();
            const std::string source = text.str();
            for (std::sregex_iterator it(source.begin(), source.end(), keyLiteral), end; it != end; ++it) {
                std::string name = (*it)[1];
                std::vector<std::string> names;
                std::size_t hole = name.find("%s");
                if (hole == std::string::npos)
                    names.push_back(name);
                else
                    for (const char* joint : kJoints)
                        names.push_back(std::string(name).replace(hole, 2, joint));
                for (const std::string& key : names) {
                    ++literals;
                    EXPECT_TRUE(TableHas(key)) << key << " read in " << path << " is missing from the table";
                }
            }
        }
    }
    // The scan must have seen the sources; an empty scan would pass anything.
    EXPECT_GT(literals, 50);
}

// The robot reads its link keys from the shared link table: the two must
// name the same keys and default files.
TEST(OptionKeysTest, RobotKeysAgreeWithTheLinkChain)
{
    const OptionFile* robot = FindOptionFile("robot.opt");
    ASSERT_NE(robot, nullptr);
    for (const LinkKeys& link : kLinkKeys) {
        const OptionKey* mesh = FindOptionKey(*robot, link.meshKey);
        ASSERT_NE(mesh, nullptr) << link.meshKey;
        EXPECT_EQ(mesh->lookup, OptionLookup::Text);
        EXPECT_STREQ(mesh->text, link.defaultMeshFile);
        for (const char* offsetKey : link.offsetKeys) {
            const OptionKey* offset = FindOptionKey(*robot, offsetKey);
            ASSERT_NE(offset, nullptr) << offsetKey;
            EXPECT_EQ(offset->lookup, OptionLookup::Float);
            EXPECT_EQ(offset->number, 0.0);
        }
    }
}

TEST(OptionKeysTest, FilesAreFoundWithoutRegardToCaseAndKeysWithIt)
{
    const OptionFile* graphics = FindOptionFile("GRAPHICS.opt");
    ASSERT_NE(graphics, nullptr);
    EXPECT_STREQ(graphics->fileName, "graphics.opt");
    EXPECT_TRUE(graphics->required);
    EXPECT_FALSE(FindOptionFile("glui.opt")->required);
    EXPECT_EQ(FindOptionFile("other.opt"), nullptr);
    EXPECT_NE(FindOptionKey(*graphics, "iScreenWidth"), nullptr);
    EXPECT_EQ(FindOptionKey(*graphics, "iscreenwidth"), nullptr);
    EXPECT_EQ(FindOptionKey(*graphics, "strGroundFileObj"), nullptr);  // another file's key
}

TEST(OptionKeysTest, DefaultsAreFormattedAsTheyWouldBeWritten)
{
    const struct {
        const char* file;
        const char* key;
        const char* expected;
    } cases[] = {
        {"graphics.opt", "iScreenWidth", "800"},   {"graphics.opt", "iWindowPosX", "-1"},
        {"graphics.opt", "dScreenFOV", "-45.0"},   {"graphics.opt", "bDoubleBuffer", "true"},
        {"graphics.opt", "bFullScreen", "false"},  {"graphics.opt", "sWindowName", "\"Kalimbrax ver 0.alpha\""},
        {"glui.opt", "fAngle45MaxValue", "360.0"}, {"glui.opt", "strAngle56Name", "\"A56\""},
        {"robot.opt", "fAngle12MaxSpeed", "1.0"},  {"robot.opt", "strHandFileObj", "\"robothand.obj\""},
    };
    for (const auto& c : cases) {
        const OptionKey* key = FindOptionKey(*FindOptionFile(c.file), c.key);
        ASSERT_NE(key, nullptr) << c.key;
        char text[64];
        FormatOptionDefault(*key, text, sizeof text);
        EXPECT_STREQ(text, c.expected) << c.key;
    }
    char small[4];
    FormatOptionDefault(*FindOptionKey(*FindOptionFile("graphics.opt"), "sWindowName"), small, sizeof small);
    EXPECT_STREQ(small, "\"Ka");
}

// The defaults, written the way FormatOptionDefault writes them, read back
// through the option reader as the same values: what the data check tells a
// user to write is what the simulator would have used anyway.
TEST(OptionKeysTest, FormattedDefaultsReadBackAsTheDefaults)
{
    for (const OptionFile& file : kOptionFiles) {
        std::string text;
        for (int i = 0; i < file.keyCount; ++i) {
            char value[128];
            FormatOptionDefault(file.keys[i], value, sizeof value);
            text += std::string(file.keys[i].name) + " = " + value + ";\n";
        }
        std::vector<char> buffer(text.begin(), text.end());
        buffer.push_back('\0');
        FILE* stream = fmemopen(buffer.data(), text.size(), "r");
        ASSERT_NE(stream, nullptr);
        COptions options;
        ASSERT_TRUE(COptionsParser::ParseFileForVariable(stream, &options)) << file.fileName;
        std::fclose(stream);
        ASSERT_EQ(options.m_Entries.size(), static_cast<std::size_t>(file.keyCount)) << file.fileName;

        for (int i = 0; i < file.keyCount; ++i) {
            const OptionKey& key = file.keys[i];
            const COptionEntry* entry = options.Find(key.name);
            ASSERT_NE(entry, nullptr) << key.name;
            // Look up with a default that differs from the table's, so that
            // a value ignored by the reader shows.
            switch (key.lookup) {
            case OptionLookup::Integer:
                EXPECT_EQ(options.GetInt(key.name, 12345), static_cast<int>(key.number)) << key.name;
                break;
            case OptionLookup::Float:
                EXPECT_EQ(entry->kind, OPTION_NUMBER);
                EXPECT_TRUE(entry->isReal) << key.name;
                EXPECT_EQ(options.GetFloat(key.name, 12345.0f), static_cast<float>(key.number)) << key.name;
                break;
            case OptionLookup::Double:
                EXPECT_TRUE(entry->isReal) << key.name;
                EXPECT_EQ(options.GetDouble(key.name, 12345.0), key.number) << key.name;
                break;
            case OptionLookup::Boolean:
                EXPECT_EQ(entry->kind, OPTION_BOOL);
                EXPECT_EQ(options.GetBool(key.name, !key.flag), key.flag) << key.name;
                break;
            case OptionLookup::Text:
                EXPECT_STREQ(options.GetString(key.name, "?"), key.text) << key.name;
                break;
            }
        }
    }
}

}  // namespace
