// Files written by commands kept off the data set: the names the option
// files give and the defaults, compared without case, refused with their
// own message, for a screenshot as for a record; every other command and
// name handed on; the names asked for only when a file is to be written.
#include "command/DataSetGuard.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

COptionEntry Text(const char* name, const char* text)
{
    COptionEntry entry;
    entry.name = name;
    entry.kind = OPTION_TEXT;
    entry.text = text;
    return entry;
}

TEST(DataSetFileNames, TheFilesValuesAndEveryDefault)
{
    // A decor.opt that names its own textures, one of them as "./sol.tga".
    COptions decor;
    decor.m_Entries = {Text("strGroundTextFileName", "./sol.tga"), Text("strSkyDomeTextFileName", "ciel.TGA")};
    const std::vector<const COptions*> sets = {nullptr, nullptr, &decor, nullptr};
    const std::vector<std::string> names = DataSetFileNames(sets);
    struct Case {
        const char* name;
        bool used;
    };
    const Case cases[] = {
        {"sol.tga", true},     {"ciel.tga", true},  {"Ciel.Tga", true},   {"ground.tga", true},  // the default too
        {"skydome.tga", true}, {"metal.tga", true}, {"GROUND.tga", true}, {"robotbody.obj", true},
        {"ground.png", false}, {"sol.png", false},  {"vue.tga", false},   {"screenshot.tga", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsDataSetFile(c.name, names), c.used) << c.name;
}

// The option files shipped: every texture and mesh they name is among them.
TEST(DataSetFileNames, TheDefaultDataSet)
{
    const std::vector<OptionFile>& files = OptionFiles();
    std::vector<COptions> sets(files.size());
    std::vector<const COptions*> pointers(files.size());
    for (std::size_t f = 0; f < files.size(); ++f) {
        FILE* file = std::fopen((std::string(KX_SOURCE_DIR "/default/") + files[f].fileName).c_str(), "r");
        ASSERT_NE(file, nullptr) << files[f].fileName;
        EXPECT_TRUE(COptionsParser::ParseFileForVariable(file, &sets[f]));
        std::fclose(file);
        pointers[f] = &sets[f];
    }
    const std::vector<std::string> names = DataSetFileNames(pointers);
    for (const char* file : {"ground.tga", "skydome.tga", "metal.tga", "ground.obj", "robothand.obj"})
        EXPECT_TRUE(IsDataSetFile(file, names)) << file;
}

struct CountingRunner : CommandRunner {
    int runs = 0;
    CommandOutcome Run(const Command&) override
    {
        ++runs;
        return {CommandOutcome::Done, "ok"};
    }
    bool MotionRunning() override { return false; }
};

TEST(DataSetGuard, RefusesTheDataSetsFilesAndHandsOnTheRest)
{
    CountingRunner next;
    int asked = 0;
    CDataSetGuard guard(next, [&] {
        ++asked;
        return std::vector<std::string>{"ground.tga"};
    });
    Command go;
    go.verb = CommandVerb::Go;
    EXPECT_EQ(guard.Run(go).reply, "ok");
    EXPECT_EQ(asked, 0) << "no file to write, no names asked for";

    Command shot;
    shot.verb = CommandVerb::Screenshot;
    shot.fileName = "Ground.tga";
    EXPECT_EQ(guard.Run(shot).reply, "erreur screenshot : « Ground.tga » appartient au jeu de données : nom refusé");
    EXPECT_EQ(next.runs, 1) << "the refused screenshot never reached the window";
    shot.fileName = "vue.tga";
    EXPECT_EQ(guard.Run(shot).reply, "ok");
    EXPECT_EQ(next.runs, 2);
    EXPECT_EQ(asked, 1);
}

// Every command that writes a file follows the same rules: a record named
// like the texture strTextureFileName gives ("armtex.csv") is refused as a
// screenshot named like it would be, and each is handed on otherwise.
TEST(DataSetGuard, EveryFileACommandWritesIsKeptOffTheDataSet)
{
    COptions robot;
    robot.m_Entries = {Text("strTextureFileName", "armtex.csv")};
    const std::vector<const COptions*> sets = {nullptr, nullptr, nullptr, &robot};  // in OptionFiles() order
    CountingRunner next;
    CDataSetGuard guard(next, [&] { return DataSetFileNames(sets); });
    struct Case {
        CommandVerb verb;
        const char* name;
        const char* reply;
    };
    const Case cases[] = {
        {CommandVerb::Record, "armtex.csv", "erreur record : « armtex.csv » appartient au jeu de données : nom refusé"},
        {CommandVerb::Record, "ArmTex.CSV", "erreur record : « ArmTex.CSV » appartient au jeu de données : nom refusé"},
        {CommandVerb::Screenshot, "ground.tga",
         "erreur screenshot : « ground.tga » appartient au jeu de données : nom refusé"},
        {CommandVerb::Record, "mouvement.csv", "ok"},
        {CommandVerb::Screenshot, "vue.png", "ok"},
    };
    int handedOn = 0;
    for (const Case& c : cases) {
        Command command;
        command.verb = c.verb;
        command.fileName = c.name;
        EXPECT_EQ(guard.Run(command).reply, c.reply) << c.name;
        handedOn += std::string(c.reply) == "ok";
        EXPECT_EQ(next.runs, handedOn) << c.name << ": only what is handed on reaches the window";
    }
}

}  // namespace
