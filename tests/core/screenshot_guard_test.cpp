// Screenshots kept off the data set: the names the option files give and
// the defaults, compared without case, refused with their own message; every
// other command and name handed on; the names asked for only when a
// screenshot comes.
#include "command/ScreenshotGuard.h"

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

TEST(ScreenshotGuard, RefusesTheDataSetsFilesAndHandsOnTheRest)
{
    CountingRunner next;
    int asked = 0;
    CScreenshotGuard guard(next, [&] {
        ++asked;
        return std::vector<std::string>{"ground.tga"};
    });
    Command go;
    go.verb = CommandVerb::Go;
    EXPECT_EQ(guard.Run(go).reply, "ok");
    EXPECT_EQ(asked, 0) << "no screenshot, no names asked for";

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

}  // namespace
