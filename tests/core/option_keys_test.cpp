#include "dataset/OptionFiles.h"

#include "base/Cp1252.h"
#include "config/OptionsParser.h"
#include "dataset/GraphicsSettings.h"
#include "kinematics/ArmChain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

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

TEST(OptionKeysTest, NamesAreUniqueAndTheirPrefixMatchesTheLookup)
{
    for (const OptionFile& file : OptionFiles()) {
        std::set<std::string> seen;
        for (const OptionKey& key : file.keys) {
            EXPECT_TRUE(seen.insert(key.name).second) << file.fileName << ": " << key.name << " twice";
            EXPECT_EQ(LookupOfPrefix(key.name), key.lookup) << key.name;
        }
    }
}

// The keys of the links and joints come from the chain's names, with the
// defaults the drawing and the panel have always had.
TEST(OptionKeysTest, LinkAndJointKeysFollowTheChain)
{
    const OptionFile& robot = *FindOptionFile("robot.opt");
    const OptionFile& panel = *FindOptionFile("glui.opt");
    const struct {
        const OptionFile& file;
        std::string name;
        std::string value;
    } cases[] = {
        {robot, "strBodyFileObj", "\"robotbody.obj\""},
        {robot, "strUpperArmFileObj", "\"robotupperarm.obj\""},
        {robot, "fHandSizeZ", "0.0"},
        {robot, "fAngle67MaxSpeed", "1.0"},
        {panel, "strAngle34Name", "\"A34\""},
        {panel, "fAngle12MinValue", "0.0"},
        {panel, "fAngle56MaxValue", "360.0"},
        {panel, "fAngle45StartValue", "0.0"},
    };
    for (const auto& c : cases) {
        const OptionKey* key = FindOptionKey(c.file, c.name);
        ASSERT_NE(key, nullptr) << c.name;
        EXPECT_EQ(FormatOptionDefault(*key), c.value) << c.name;
    }
    int meshes = 0;
    for (const OptionKey& key : robot.keys)
        meshes += key.name.size() > 7 && key.name.compare(key.name.size() - 7, 7, "FileObj") == 0;
    EXPECT_EQ(meshes, kLinkCount);
}

// The settings a declaring function binds take the file's values, each in
// its own field, and the declared defaults where the file says nothing.
TEST(OptionKeysTest, SettingsTakeTheFilesValuesAndTheDeclaredDefaults)
{
    const char text[] = "iScreenWidth = 1024; dScreenFOV = -30.0; iWindowPosX = 5; bDoubleBuffer = false;\n"
                        "sWindowName = \"Essai\"; bSmoothAndNice = false;\n";
    std::vector<char> buffer(text, text + sizeof text);
    FILE* stream = fmemopen(buffer.data(), sizeof text - 1, "r");
    ASSERT_NE(stream, nullptr);
    COptions options;
    ASSERT_TRUE(COptionsParser::ParseFileForVariable(stream, &options));
    std::fclose(stream);
    const GraphicsSettings g = ReadSettings(&options, DeclareGraphicsKeys);
    EXPECT_EQ(g.width, 1024);
    EXPECT_EQ(g.height, 600);
    EXPECT_EQ(g.fieldOfView, -30.0);
    EXPECT_EQ(g.positionX, 5);
    EXPECT_EQ(g.positionY, -1);
    EXPECT_FALSE(g.doubleBuffer);
    EXPECT_EQ(g.windowName, "Essai");
    EXPECT_FALSE(g.fullScreen);
    EXPECT_FALSE(g.smoothAndNice);

    const GraphicsSettings none = ReadSettings<GraphicsSettings>(nullptr, DeclareGraphicsKeys);
    EXPECT_EQ(none.width, 800);
    EXPECT_EQ(none.windowName, "Kalimbrax ver 0.alpha");
    EXPECT_TRUE(none.smoothAndNice);
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
        EXPECT_EQ(FormatOptionDefault(*key), c.expected) << c.key;
    }
    // Texts stay in the files' encoding.
    EXPECT_EQ(FormatOptionDefault(*FindOptionKey(*FindOptionFile("glui.opt"), "strAxes")), "\"Rep\xE8res\"");
}

// A label is decoded from the file's Windows-1252 once, as it is read, and
// encoded back only to be written; a raw text (a file name) is the file's
// bytes either way.
TEST(OptionKeysTest, LabelsAreDecodedWhenReadAndEncodedWhenWritten)
{
    struct Settings {
        std::string label, raw;
    };
    const auto declare = [](COptionDeclarations& keys, Settings& s) {
        keys.Label("strLabel", "Repères", &s.label);
        keys.Text("strFileName", "décor.tga", &s.raw);
    };
    const struct {
        const char* file;
        const char* label;
        const char* raw;
    } cases[] = {
        {"", "Repères", "décor.tga"},  // the defaults as declared
        {"strLabel = \"D\xE9"
         "cor\"; strFileName = \"d\xE9"
         "cor.tga\";",
         "Décor",
         "d\xE9"
         "cor.tga"},
        {"strLabel = \"\x80 \x93"
         "cit\xE9\x94\";",
         "€ “cité”", "décor.tga"},  // Windows-1252's own
        {"strLabel = \"MGD\";", "MGD", "décor.tga"},
    };
    for (const auto& c : cases) {
        COptions options;
        std::string text = c.file;
        if (!text.empty()) {
            FILE* stream = fmemopen(text.data(), text.size(), "r");
            ASSERT_NE(stream, nullptr);
            EXPECT_TRUE(COptionsParser::ParseFileForVariable(stream, &options)) << c.file;
            std::fclose(stream);
        }
        Settings s;
        COptionDeclarations declarations;
        declare(declarations, s);
        declarations.Read(&options);
        EXPECT_EQ(s.label, c.label) << c.file;
        EXPECT_EQ(s.raw, c.raw) << c.file;
    }
    Settings scratch;
    COptionDeclarations declarations;
    declare(declarations, scratch);
    const std::vector<OptionKey> keys = declarations.Keys();
    EXPECT_TRUE(keys[0].label);
    EXPECT_FALSE(keys[1].label);
    EXPECT_EQ(FormatOptionDefault(keys[0]), "\"Rep\xE8res\"");
    EXPECT_EQ(FormatOptionDefault(keys[1]), "\"décor.tga\"");
}

// Every text of glui.opt is one the user reads; the other files' texts name
// files and windows, and go to the system as they are.
TEST(OptionKeysTest, EveryTextOfThePanelIsALabelAndNoOtherIs)
{
    for (const OptionFile& file : OptionFiles()) {
        for (const OptionKey& key : file.keys) {
            if (key.lookup == OptionLookup::Text) {
                EXPECT_EQ(key.label, std::string(file.fileName) == "glui.opt") << file.fileName << ": " << key.name;
            }
        }
    }
}

// The defaults, written the way FormatOptionDefault writes them, read back
// through the option reader as the same values: what the data check tells a
// user to write is what the simulator would have used anyway.
TEST(OptionKeysTest, FormattedDefaultsReadBackAsTheDefaults)
{
    for (const OptionFile& file : OptionFiles()) {
        std::string text;
        for (const OptionKey& key : file.keys)
            text += key.name + " = " + FormatOptionDefault(key) + ";\n";
        std::vector<char> buffer(text.begin(), text.end());
        buffer.push_back('\0');
        FILE* stream = fmemopen(buffer.data(), text.size(), "r");
        ASSERT_NE(stream, nullptr);
        COptions options;
        ASSERT_TRUE(COptionsParser::ParseFileForVariable(stream, &options)) << file.fileName;
        std::fclose(stream);
        ASSERT_EQ(options.m_Entries.size(), file.keys.size()) << file.fileName;

        for (const OptionKey& key : file.keys) {
            const char* name = key.name.c_str();
            const COptionEntry* entry = options.Find(name);
            ASSERT_NE(entry, nullptr) << key.name;
            // Look up with a default that differs from the table's, so that
            // a value ignored by the reader shows.
            switch (key.lookup) {
            case OptionLookup::Integer:
                EXPECT_EQ(options.GetInt(name, 12345), static_cast<int>(key.number)) << name;
                break;
            case OptionLookup::Float:
                EXPECT_EQ(entry->kind, OPTION_NUMBER);
                EXPECT_TRUE(entry->isReal) << key.name;
                EXPECT_EQ(options.GetFloat(name, 12345.0f), static_cast<float>(key.number)) << name;
                break;
            case OptionLookup::Double:
                EXPECT_TRUE(entry->isReal) << key.name;
                EXPECT_EQ(options.GetDouble(name, 12345.0), key.number) << name;
                break;
            case OptionLookup::Boolean:
                EXPECT_EQ(entry->kind, OPTION_BOOL);
                EXPECT_EQ(options.GetBool(name, !key.flag), key.flag) << name;
                break;
            case OptionLookup::Text: {
                const char* written = options.GetString(name, "?");
                EXPECT_EQ(key.label ? Cp1252ToUtf8(written) : written, key.text) << name;
                break;
            }
            }
        }
    }
}

}  // namespace

namespace {

// A key's family as the README names it: a joint's number as NN, a link's
// name as <Link> ("fAngleNNMaxSpeed", "f<Link>SizeX").
std::string Family(std::string name)
{
    for (const char* joint : kJointNames) {
        const std::size_t at = name.find(joint + 1);  // "12" of "A12"
        if (at != std::string::npos && name.compare(0, 6, "fAngle") == 0) {
            name.replace(at, 2, "NN");
            return name;
        }
    }
    for (const char* link : kLinkNames)
        if (name.compare(1, std::strlen(link), link) == 0)
            return name.replace(1, std::strlen(link), "<Link>");
    return name;
}

}  // namespace

// The README's table of ranges says what the declarations check: every key
// that has a range is on a row of its file with that range.
TEST(OptionKeysTest, TheReadmeGivesEveryKeysRange)
{
    std::ifstream in(KX_SOURCE_DIR "/README.md");
    std::vector<std::string> rows;
    for (std::string line; std::getline(in, line);)
        if (line.rfind("| `", 0) == 0)
            rows.push_back(line);
    for (const OptionFile& file : OptionFiles())
        for (const OptionKey& key : file.keys) {
            const std::string range = key.range.Text();
            if (range == OptionRange::Any().Text())
                continue;
            const std::string family = "`" + Family(key.name) + "`";
            EXPECT_TRUE(std::any_of(rows.begin(), rows.end(),
                                    [&](const std::string& r) {
                                        return r.rfind(std::string("| `") + file.fileName + "`", 0) == 0 &&
                                               r.find(family) != std::string::npos &&
                                               r.find("| " + range + " |") != std::string::npos;
                                    }))
                << "no row of " << file.fileName << " gives " << family << " the range " << range;
        }
}
