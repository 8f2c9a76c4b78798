#include "base/Cp1252.h"
#include "base/Log.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> g_Hooked;
void RecordHook(const char* record)
{
    g_Hooked.emplace_back(record);
}

std::string ReadFile(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class LogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        LogReset();
        g_Hooked.clear();
        path = ::testing::TempDir() + "kx_log_test.log";
        ASSERT_TRUE(LogOpen(LOG_ERROR, path.c_str()));
        LogSetPrintHook(LOG_ERROR, RecordHook);
    }
    void TearDown() override { LogClose(LOG_ERROR); }
    std::string Close()
    {
        LogClose(LOG_ERROR);
        return ReadFile(path);
    }
    std::string path;
};

TEST_F(LogTest, RecordHasTimeClockAndOneLineEnd)
{
    struct Case {
        const char* message;
        const char* expectedTail;
    };
    const Case cases[] = {
        {"sans fin de ligne", " - sans fin de ligne\n"},
        {"avec fin de ligne\n", " - avec fin de ligne\n"},
        {"", " - \n"},
    };
    for (const Case& c : cases)
        LogError("%s", c.message);
    std::string file = Close();
    ASSERT_EQ(g_Hooked.size(), 3u);
    const std::regex record(R"(^\d\d:\d\d:\d\d:\d+ - [^\n]*\n$)");
    std::string expectedFile;
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_TRUE(std::regex_match(g_Hooked[i], record)) << g_Hooked[i];
        const std::string& r = g_Hooked[i];
        std::string tail = cases[i].expectedTail;
        ASSERT_GE(r.size(), tail.size());
        EXPECT_EQ(r.substr(r.size() - tail.size()), tail);
        expectedFile += r;
    }
    EXPECT_EQ(file, expectedFile);
}

TEST_F(LogTest, PercentInArgumentIsWrittenAsIs)
{
    LogError("CApplication::Init -- Impossible de changer pour le répertoire %s !", "/tmp/%s%n%d");
    std::string file = Close();
    EXPECT_NE(file.find("r\xE9pertoire /tmp/%s%n%d !\n"), std::string::npos) << file;
}

TEST_F(LogTest, FileIsWindows1252)
{
    LogError("Erreur à l'initialisation de la GLUT! € œ");
    std::string file = Close();
    EXPECT_NE(file.find("Erreur \xE0 l'initialisation de la GLUT! \x80 \x9C\n"), std::string::npos);
}

TEST_F(LogTest, LongMessagesAreCutAndKeepTheirLineEnd)
{
    std::string longText(10000, 'x');
    LogError("%s", longText.c_str());
    LogWrite(LOG_ERROR, "%s\n", longText.c_str());
    ASSERT_EQ(g_Hooked.size(), 2u);
    for (const std::string& r : g_Hooked) {
        EXPECT_LE(r.size(), 4095u);
        EXPECT_EQ(r.back(), '\n');
        EXPECT_EQ(r.find('\n'), r.size() - 1) << "a record holds one line end";
    }
    // LogError's message buffer holds 2047 characters.
    EXPECT_EQ(g_Hooked[0].size() - g_Hooked[0].find(" - ") - 3, 2047u + 1);
}

TEST_F(LogTest, ClosedChannelsReturnMinusOneAndPrintNothing)
{
    EXPECT_EQ(LogWrite(5, "jamais ouvert"), -1);
    LogClose(LOG_ERROR);
    EXPECT_EQ(LogWrite(LOG_ERROR, "après fermeture"), -1);
    EXPECT_EQ(LogError("après fermeture"), -1);
    EXPECT_TRUE(g_Hooked.empty());
}

TEST_F(LogTest, ResultCountsTheBytesWritten)
{
    int n = LogWrite(LOG_ERROR, "abc");
    ASSERT_EQ(g_Hooked.size(), 1u);
    EXPECT_EQ(n, static_cast<int>(g_Hooked[0].size()));
}

TEST_F(LogTest, HookOnlyOnOpenSlotAndResetClosesAll)
{
    LogSetPrintHook(3, RecordHook);  // closed slot: ignored
    std::string other = ::testing::TempDir() + "kx_log_test_3.log";
    ASSERT_TRUE(LogOpen(3, other.c_str()));
    LogWrite(3, "sans crochet");
    EXPECT_TRUE(g_Hooked.empty());
    LogClose(3);
    LogReset();
    EXPECT_EQ(LogError("après remise à zéro"), -1);
    EXPECT_EQ(LogWrite(3, "x"), -1);
}

TEST(LogOpenTest, UnwritablePathLeavesSlotClosed)
{
    LogReset();
    EXPECT_FALSE(LogOpen(2, "/no/such/dir/x.log"));
    EXPECT_EQ(LogWrite(2, "x"), -1);
}

TEST(Cp1252Test, RoundTripOfFrenchAndSpecialCharacters)
{
    const char* utf8 = "Système : répertoire « déjà » – € œ Ÿ";
    char cp[256];
    Utf8ToCp1252(utf8, cp, sizeof cp);
    EXPECT_STREQ(cp, "Syst\xE8me : r\xE9pertoire \xAB d\xE9j\xE0 \xBB \x96 \x80 \x9C \x9F");
    EXPECT_EQ(Cp1252ToUtf8(cp), utf8);
}

TEST(Cp1252Test, UnknownCharactersAndInvalidBytes)
{
    char cp[64];
    Utf8ToCp1252("日\xE9x", cp, sizeof cp);  // CJK: '?'; a lone 0xE9 is taken as it is
    EXPECT_STREQ(cp, "?\xE9x");
    EXPECT_EQ(Utf8ToCp1252("abcdef", cp, 4), 3u);
    EXPECT_STREQ(cp, "abc");
    EXPECT_EQ(Utf8ToCp1252("abc", cp, 0), 0u);
}

// GLUT's bitmap fonts draw Latin-1: what Windows-1252 puts in the C1 range
// (a dash, the euro) would draw an empty glyph there, so it becomes '?'.
TEST(Cp1252Test, Latin1ForBitmapFonts)
{
    const struct {
        const char* utf8;
        const char* latin1;
    } cases[] = {
        {"vers l'arrière, coude replié, poignet retourné", "vers l'arri\xE8re, coude repli\xE9, poignet retourn\xE9"},
        {"« ÿ » ×", "\xAB \xFF \xBB \xD7"},
        {"a – b €", "a ? b ?"},     // Windows-1252's, not Latin-1's
        {"日\xE9x", "?\?x"},        // CJK; a byte that starts no valid sequence
        {"tab\there", "tab?here"},  // a control
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Utf8ToLatin1(c.utf8), c.latin1) << c.utf8;
}

}  // namespace

// A flood of records of one kind (one format string) stops after a thousand;
// what is dropped is counted in one record, at the latest when the channel
// closes. Other kinds go on being written, and the console hook sees exactly
// what the file holds.
TEST_F(LogTest, OneKindStopsAfterAThousandRecordsAndTheRestIsCounted)
{
    for (unsigned long line = 1; line <= 1005; ++line)
        LogError("Script %s, ligne %lu : %s", "s.txt", line, "erreur tourne : commande inconnue");
    LogError("CApplication::Init -- %s", "autre chose");
    const std::string file = Close();
    ASSERT_EQ(g_Hooked.size(), 1002u);
    EXPECT_NE(g_Hooked[999].find("ligne 1000 :"), std::string::npos) << g_Hooked[999];
    EXPECT_NE(g_Hooked[1000].find(" - CApplication::Init -- autre chose\n"), std::string::npos);
    EXPECT_NE(Cp1252ToUtf8(g_Hooked[1001].c_str())
                  .find(" - LogWrite -- 5 enregistrements semblables non écrits en une minute (1000 au "
                        "plus) : « Script %s, ligne %lu : %s »\n"),
              std::string::npos)
        << Cp1252ToUtf8(g_Hooked[1001].c_str());
    std::string hooked;
    for (const std::string& r : g_Hooked)
        hooked += r;
    EXPECT_EQ(file, hooked);
}
