// The program's command line: the data directory first, --script and --port
// anywhere after it, GLUT's own options left alone, and the refusals.
#include "base/ProgramArguments.h"
#include "sim/DisplaySwitches.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Parsed {
    bool ok;
    ProgramArguments arguments;
    std::string error;
};

Parsed Parse(std::vector<const char*> args)
{
    args.insert(args.begin(), "kalimbrax");
    Parsed p;
    p.ok = ParseProgramArguments(static_cast<int>(args.size()), args.data(), &p.arguments, &p.error);
    return p;
}

TEST(ProgramArguments, DataDirectoryScriptAndPort)
{
    struct Case {
        std::vector<const char*> args;
        const char* directory;
        const char* script;
        int port;
    };
    const Case cases[] = {
        {{}, "default", "", -1},
        {{"mydata"}, "mydata", "", -1},
        {{"--port", "5555"}, "default", "", 5555},
        {{"mydata", "--script", "demo.txt", "--port", "0"}, "mydata", "demo.txt", 0},
        {{"mydata", "--port", "65535", "--script", "a/b.txt"}, "mydata", "a/b.txt", 65535},
        {{"mydata", "-display", ":1", "--port", "7"}, "mydata", "", 7},  // -display is GLUT's
    };
    for (const Case& c : cases) {
        const Parsed p = Parse(c.args);
        ASSERT_TRUE(p.ok) << p.error;
        EXPECT_EQ(p.arguments.dataDirectory, c.directory);
        EXPECT_EQ(p.arguments.scriptFile, c.script);
        EXPECT_EQ(p.arguments.port, c.port);
    }
}

TEST(ProgramArguments, RefusalsSayWhy)
{
    struct Case {
        std::vector<const char*> args;
        const char* error;
    };
    const Case cases[] = {
        {{"default", "--verbose"}, "option inconnue « --verbose » (--script FICHIER, --port N, --help)"},
        {{"--scrpit", "a.txt"}, "option inconnue « --scrpit » (--script FICHIER, --port N, --help)"},
        {{"default", "--script"}, "--script attend un fichier"},
        {{"default", "--port"}, "--port attend un numéro de port"},
        {{"--port", "65536"}, "port invalide « 65536 » : un entier de 0 à 65535 est attendu"},
        {{"--port", "-1"}, "port invalide « -1 » : un entier de 0 à 65535 est attendu"},
        {{"--port", "80a"}, "port invalide « 80a » : un entier de 0 à 65535 est attendu"},
        {{"--port", ""}, "port invalide «  » : un entier de 0 à 65535 est attendu"},
        {{"--port", "0000080"}, "port invalide « 0000080 » : un entier de 0 à 65535 est attendu"},
        // Said twice, which one was meant is anyone's guess.
        {{"--port", "5555", "--port", "6666"}, "--port donné deux fois"},
        {{"--script", "a.txt", "--port", "1", "--script", "b.txt"}, "--script donné deux fois"},
    };
    for (const Case& c : cases) {
        const Parsed p = Parse(c.args);
        EXPECT_FALSE(p.ok) << c.error;
        EXPECT_EQ(p.error, c.error);
    }
}

}  // namespace

namespace {

// --help anywhere after the data directory; the help names every option and
// every key the graphics window answers, the display switches' included.
TEST(ProgramArguments, HelpNamesTheOptionsAndTheKeys)
{
    for (const std::vector<const char*>& args :
         {std::vector<const char*>{"--help"}, {"mydata", "--port", "0", "--help"}}) {
        const Parsed p = Parse(args);
        ASSERT_TRUE(p.ok) << p.error;
        EXPECT_TRUE(p.arguments.help);
    }
    EXPECT_FALSE(Parse({"mydata"}).arguments.help);
    const std::string help = ProgramHelp();
    for (const char* word : {"--script FICHIER", "--port N", "--help", "Échap", "F6", "F8", "Début", "molette"})
        EXPECT_NE(help.find(word), std::string::npos) << word;
    for (const DisplaySwitch& s : kDisplaySwitches)
        if (s.functionKey != 0) {
            EXPECT_NE(help.find("  F" + std::to_string(s.functionKey) + " "), std::string::npos) << s.word;
        }
}

}  // namespace
