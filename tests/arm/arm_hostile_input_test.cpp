// kalimbrax-arm against crafted input: what it writes from a description, a
// data sheet or a template is data (a name can end neither a comment nor a
// text; a file name stays inside the template and the output inside DIR),
// numbers that are not finite or absurd are refused with their key and
// value, files that are not plain files are refused at once, and a chain or
// an XML nesting too deep is refused before it can overflow the stack.
#include "config/OptionsParser.h"
#include "tests/arm/urdf_fixture.h"
#include "tests/support/ErrorLog.h"
#include "tools/arm/ArmDataSet.h"
#include "tools/arm/ArmImport.h"
#include "tools/arm/ArmMake.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <fstream>
#include <functional>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The text with its first `from` replaced by `to` (which must be there).
std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// An option file read as the simulator reads it: null when invalid.
std::unique_ptr<COptions> OptionSet(const std::string& path)
{
    auto options = std::make_unique<COptions>();
    FILE* file = std::fopen(path.c_str(), "r");
    const bool valid = file && COptionsParser::ParseFileForVariable(file, options.get());
    if (file)
        std::fclose(file);
    return valid ? std::move(options) : nullptr;
}

std::vector<std::string> Entries(const std::string& folder)
{
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir))
            if (entry->d_name[0] != '.')
                names.push_back(entry->d_name);
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

class ArmHostileInputTest : public ErrorLogTest {
protected:
    ArmHostileInputTest() : ErrorLogTest("arm_hostile_input_test") {}
    // The fixture's description of the reference arm, changed, then its
    // text edited.
    std::string Urdf(void (*change)(FixtureArm&), const std::function<std::string(std::string)>& edit)
    {
        FixtureArm arm = Irb1600Arm();
        change(arm);
        const std::string path = WriteFixtureUrdf(scratch.Path(), arm);
        std::ofstream(path + ".tmp") << edit(ReadText(path));
        std::rename((path + ".tmp").c_str(), path.c_str());
        return path;
    }
    std::string Data() const { return scratch.Path() + "/data"; }
    // True when any record so far holds `words`.
    bool Said(const std::string& words) const
    {
        for (const std::string& m : Messages())
            if (m.find(words) != std::string::npos)
                return true;
        return false;
    }
    CScratch scratch;
};

// Names become text values and the headers' comments: whatever they hold,
// the files read back as written, with no statement of their own.
TEST_F(ArmHostileInputTest, NamesAreWrittenAsData)
{
    const std::string planted = "x */ fLinearSpeed = 0.001; fAngle12MaxSpeed = 1; /* y";
    // a" ; fAngle12MinValue = 5.0; // "b, then a line break and c
    const std::string quoted = "a&quot; ; fAngle12MinValue = 5.0; // &quot;b&#10;c";
    const std::string urdf =
        Urdf([](FixtureArm&) {},
             [&](std::string text) {
                 text = Replaced(text, "<robot name=\"fixture_arm\">", "<robot name=\"" + planted + "\">");
                 text = Replaced(text, "name=\"joint_1\"", "name=\"" + quoted + "\"");
                 return Replaced(text, "name=\"joint_2\"", "name=\"" + std::string(3000, 'j') + "\"");
             });
    ASSERT_TRUE(ImportArm(urdf, Data(), DefaultTemplateDirectory())) << ::testing::PrintToString(Messages());
    const auto robot = OptionSet(Data() + "/robot.opt");
    const auto panel = OptionSet(Data() + "/glui.opt");
    ASSERT_TRUE(robot);
    ASSERT_TRUE(panel) << "glui.opt must read";
    EXPECT_EQ(robot->GetDouble("fLinearSpeed", 0), 250.0);
    EXPECT_NEAR(robot->GetDouble("fAngle12MaxSpeed", 0), 2.5 * 180 / M_PI, 1e-6);
    EXPECT_EQ(panel->Find("fLinearSpeed"), nullptr);
    EXPECT_EQ(panel->GetDouble("fAngle12MinValue", 0), -180.0);
    const std::string first = panel->GetString("strAngle12Name", "");
    EXPECT_EQ(first.find('"'), std::string::npos) << first;
    EXPECT_EQ(first.find('\n'), std::string::npos) << first;
    EXPECT_NE(first.find("fAngle12MinValue"), std::string::npos) << first << ": the name is kept as text";
    EXPECT_LE(std::string(panel->GetString("strAngle23Name", "")).size(), 64u) << "a long name is shortened";
}

// Numbers that are not finite, or absurd, and files and trees that cannot
// be a robot's description: refused with their reason, nothing written.
TEST_F(ArmHostileInputTest, HostileDescriptionsAreRefused)
{
    const auto fixedChain = [](int count) {
        std::string links;
        for (int i = 0; i < count; ++i)
            links += "<link name=\"f" + std::to_string(i + 1) + "\"/><joint name=\"g" + std::to_string(i + 1) +
                     "\" type=\"fixed\"><parent link=\"" + (i ? "f" + std::to_string(i) : std::string("flange")) +
                     "\"/><child link=\"f" + std::to_string(i + 1) + "\"/></joint>\n";
        return links;
    };
    const auto same = [](FixtureArm&) {};
    const auto asIs = [](std::string t) { return t; };
    struct Case {
        const char* what;
        void (*change)(FixtureArm&);
        std::function<std::string(std::string)> edit;
        const char* reason;
    };
    const Case cases[] = {
        {"velocity 1e308", same, [](std::string t) { return Replaced(t, "velocity=\"2.5\"", "velocity=\"1e308\""); },
         "« joint_1 » : velocity = 1e+308"},
        {"negative velocity", same, [](std::string t) { return Replaced(t, "velocity=\"2.5\"", "velocity=\"-1\""); },
         "« joint_1 » : velocity = -1"},
        {"limits of 5e8", [](FixtureArm& a) { a.joints[1].lower = -5e8; }, asIs, "« joint_2 » : lower = -5e+08"},
        {"origin 1e300 m away", [](FixtureArm& a) { a.joints[1].xyz[0] = 1e300; }, asIs,
         "« joint_2 » : origin = 1e+300 0 0.4865"},
        {"a link with two parents", same,
         [](std::string t) {
             return Replaced(t, "</robot>",
                             "<joint name=\"back\" type=\"fixed\"><parent link=\"link_6\"/><child "
                             "link=\"link_2\"/></joint></robot>");
         },
         "n'est pas un arbre : le lien « link_2 » est l'enfant de deux articulations"},
        {"a loop beside the tree", same,
         [](std::string t) {
             return Replaced(t, "</robot>",
                             "<link name=\"x\"/><link name=\"y\"/><joint name=\"jx\" type=\"fixed\"><parent "
                             "link=\"x\"/><child link=\"y\"/></joint><joint name=\"jy\" type=\"fixed\"><parent "
                             "link=\"y\"/><child link=\"x\"/></joint></robot>");
         },
         "n'est pas un arbre : le lien « x » n'est pas relié à la racine « base_link »"},
        {"20,000 fixed joints", same,
         [&](std::string t) { return Replaced(t, "</robot>", fixedChain(20000) + "</robot>"); },
         "plus de 1000 liens de la racine"},
        {"XML nested 200,000 deep", same,
         [](std::string t) {
             std::string deep;
             for (int i = 0; i < 200000; ++i)
                 deep += "<a>";
             for (int i = 0; i < 200000; ++i)
                 deep += "</a>";
             return Replaced(t, "</robot>", deep + "</robot>");
         },
         "éléments XML imbriqués sur plus de 100 niveaux"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_Records.clear();
        std::system(("rm -rf '" + Data() + "'").c_str());  // left by a case that failed
        const std::string urdf = Urdf(c.change, c.edit);
        EXPECT_FALSE(ImportArm(urdf, Data(), DefaultTemplateDirectory()));
        EXPECT_TRUE(Said(c.reason)) << ::testing::PrintToString(Messages());
        EXPECT_EQ(Entries(scratch.Path()), std::vector<std::string>{"kx_fixture_support"});
    }
}

// A directory, a FIFO or a device is no description and no data sheet: each
// is refused at once, never read (a FIFO would block the reading forever,
// a directory is not a file the reader can take).
TEST_F(ArmHostileInputTest, WhatIsNotAPlainFileIsRefusedAtOnce)
{
    const std::string fifo = scratch.Path() + "/fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& input : {scratch.Path(), fifo, std::string("/dev/zero")}) {
        SCOPED_TRACE(input);
        g_Records.clear();
        EXPECT_FALSE(ImportArm(input, Data(), DefaultTemplateDirectory()));
        EXPECT_TRUE(Said(input + " : pas un fichier ordinaire")) << ::testing::PrintToString(Messages());
        g_Records.clear();
        EXPECT_FALSE(MakeArm(input, Data(), DefaultTemplateDirectory()));
        EXPECT_TRUE(Said(input + " : pas un fichier ordinaire")) << ::testing::PrintToString(Messages());
        EXPECT_EQ(Entries(scratch.Path()), (std::vector<std::string>{"fifo"}));
    }
}

// A data sheet's numbers: not finite, unreadable (a value the option reader
// drops would silently give the default) or absurd, each refused with its
// key and value; its name is written as data.
TEST_F(ArmHostileInputTest, HostileDataSheetsAreRefused)
{
    struct Case {
        const char* text;
        const char* reason;
    };
    const Case cases[] = {
        {"fC2 = -nan.;", "fC2 = -nan : pas un nombre fini"},
        {"fA1 = 1e39.;", "fA1 = 1e+39 : pas un nombre fini"},
        {"fA1 = nan.;", "fA1 = nan. : valeur illisible"},
        {"fC3 = yes;", "fC3 = yes : valeur illisible"},
        {"fJoint2Min = -5e8.;", "fJoint2Min = -5e+08 : hors de [-3600 ; 3600]"},
        {"fJoint3Speed = 1e30.;", "fJoint3Speed = 1e+30 : hors de [0 ; 3600] sauf 0"},
        {"fJoint3Speed = 0.0;", "fJoint3Speed = 0 : hors de [0 ; 3600] sauf 0"},
        {"fC1 = 1e9.;", "fC1 = 1e+09 : hors de [-100000 ; 100000]"},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        g_Records.clear();
        // A file of its own each time: option files are read once per name.
        const std::string sheet = scratch.Path() + "/sheet" + std::to_string(index++) + ".txt";
        std::ofstream(sheet) << "// fA1 = nan.; in a comment is no statement\n" << c.text << "\n";
        EXPECT_FALSE(MakeArm(sheet, Data(), DefaultTemplateDirectory()));
        ASSERT_EQ(Messages().size(), 1u) << ::testing::PrintToString(Messages());
        EXPECT_NE(Messages()[0].find(c.reason), std::string::npos) << Messages()[0];
        EXPECT_FALSE(access(Data().c_str(), F_OK) == 0);
        std::remove(sheet.c_str());
    }

    const std::string sheet = scratch.Path() + "/named.txt";
    std::ofstream(sheet) << "strName = \"x */ fLinearSpeed = 0.001; /* y\";\n";
    ASSERT_TRUE(MakeArm(sheet, Data(), DefaultTemplateDirectory())) << ::testing::PrintToString(Messages());
    const auto robot = OptionSet(Data() + "/robot.opt");
    ASSERT_TRUE(robot);
    EXPECT_EQ(robot->GetDouble("fLinearSpeed", 0), 250.0);
}

// A template whose option files name a file outside it, and that lacks a
// file besides, so that the import would fail after copying: refused
// before anything is copied, and a file beside DIR is neither written over
// nor removed by the clean-up.
TEST_F(ArmHostileInputTest, TheTemplatesFilesStayInsideIt)
{
    const std::string model = scratch.Path() + "/model", out = scratch.Path() + "/out";
    ASSERT_EQ(mkdir(model.c_str(), 0755), 0);
    ASSERT_EQ(mkdir(out.c_str(), 0755), 0);
    std::ofstream(scratch.Path() + "/keep.txt") << "du modèle\n";
    std::ofstream(out + "/keep.txt") << "le mien\n";
    for (const char* file : {"graphics.opt", "decor.opt", "robot.opt", "glui.opt", "ground.tga", "metal.tga"})
        std::ofstream(model + "/" + file, std::ios::binary) << ReadText(DefaultTemplateDirectory() + "/" + file);
    const std::string decor = ReadText(model + "/decor.opt");
    std::ofstream(model + "/decor.opt", std::ios::binary) << Replaced(decor, "\"ground.obj\"", "\"../keep.txt\"");
    const std::string urdf = WriteFixtureUrdf(scratch.Path(), Irb1600Arm());

    EXPECT_FALSE(ImportArm(urdf, out + "/data", model));
    EXPECT_TRUE(Said("strGroundFileObj = « ../keep.txt » : un fichier du modèle est nommé sans répertoire"))
        << ::testing::PrintToString(Messages());
    EXPECT_EQ(ReadText(out + "/keep.txt"), "le mien\n");
    EXPECT_EQ(ReadText(scratch.Path() + "/keep.txt"), "du modèle\n");
    EXPECT_EQ(Entries(out), std::vector<std::string>{"keep.txt"});
}

}  // namespace
