// The script read as a stream: what is not a regular file refused at open
// with the reason, a byte-order mark skipped at the start only, refused and
// over-long lines recorded with their numbers while the script goes on, a
// last line without its end run, and only what runs read.
#include "command/CommandScript.h"

#include "tests/support/ErrorLog.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

struct FakeRunner : CommandRunner {
    std::vector<CommandVerb> ran;
    CommandOutcome Run(const Command& c) override
    {
        ran.push_back(c.verb);
        return {c.verb == CommandVerb::Exit ? CommandOutcome::Exit : CommandOutcome::Done, "ok"};
    }
    bool MotionRunning() override { return false; }
};

class CommandScriptTest : public ErrorLogTest {
protected:
    CommandScriptTest() : ErrorLogTest("kx_command_script.txt") {}
    void Write(const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
    // Runs the script until it is finished or exits.
    CommandSource::Step RunAll(CCommandScript& script)
    {
        for (int guard = 0; guard < 1000000; ++guard) {
            const CommandSource::Step step = script.RunOne(runner);
            if (step != CommandSource::Step::Ran)
                return step;
        }
        return CommandSource::Step::Ran;
    }
    FakeRunner runner;
};

TEST_F(CommandScriptTest, WhatIsNotARegularFileIsRefusedAtOpen)
{
    const std::string directory = ::testing::TempDir() + "kx_script_dir";
    const std::string fifo = ::testing::TempDir() + "kx_script_fifo";
    mkdir(directory.c_str(), 0700);
    unlink(fifo.c_str());
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    struct Case {
        std::string path;
        std::string error;
    };
    const std::string notFile = " n'est pas un fichier ordinaire : c'est ";
    const Case cases[] = {
        {directory, "le script « " + directory + " »" + notFile + "un répertoire"},
        {fifo, "le script « " + fifo + " »" + notFile + "un tube nommé (FIFO)"},  // and the open does not wait
        {"/dev/zero", "le script « /dev/zero »" + notFile + "un périphérique"},
        {path, "impossible d'ouvrir le script « " + path + " » : fichier introuvable"},
        {path + "\xff", "impossible d'ouvrir le script « " + path + "\uFFFD » : fichier introuvable"},
    };
    for (const Case& c : cases) {
        CCommandScript script;
        std::string error;
        EXPECT_FALSE(script.Open(c.path, &error)) << c.path;
        EXPECT_EQ(error, c.error);
        EXPECT_TRUE(script.Finished());
    }
    unlink(fifo.c_str());
    rmdir(directory.c_str());
}

TEST_F(CommandScriptTest, LinesRunInOrderAndRefusalsAreRecorded)
{
    Write("\xEF\xBB\xBFgo\n" + std::string(5000, 'x') + "\nstop\ntourne\n\xEF\xBB\xBFgo\nmgd 1 2 3 4 5 6");
    CCommandScript script;
    std::string error;
    ASSERT_TRUE(script.Open(path, &error)) << error;
    EXPECT_EQ(RunAll(script), CommandSource::Step::Idle);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(runner.ran, (std::vector<CommandVerb>{CommandVerb::Go, CommandVerb::Stop, CommandVerb::Mgd}));
    const std::string prefix = "Script " + path + ", ligne ";
    EXPECT_EQ(Messages(), (std::vector<std::string>{
                              prefix + "2 : erreur : ligne de plus de 4096 octets",
                              prefix + "4 : erreur tourne : commande inconnue",
                              // A mark inside is no mark; the log, in Windows-1252, shows it as '?'.
                              prefix + "5 : erreur ?go : commande inconnue",
                          }));
}

// "exit" first, then megabytes: the script stops having read one block.
TEST_F(CommandScriptTest, OnlyWhatRunsIsRead)
{
    std::string script = "exit\n";
    while (script.size() < 8 * 1024 * 1024)
        script += "# une ligne de commentaire parmi beaucoup d'autres\n";
    Write(script);
    CCommandScript reader;
    std::string error;
    ASSERT_TRUE(reader.Open(path, &error)) << error;
    const auto readSoFar = [] {
        std::ifstream io("/proc/self/io");
        std::string key;
        unsigned long long value = 0;
        while (io >> key >> value)
            if (key == "rchar:")
                return value;
        return 0ULL;
    };
    const unsigned long long before = readSoFar();
    EXPECT_EQ(RunAll(reader), CommandSource::Step::Exit);
    EXPECT_LT(readSoFar() - before, 64u * 1024u);
    EXPECT_TRUE(reader.Finished());
}

}  // namespace
