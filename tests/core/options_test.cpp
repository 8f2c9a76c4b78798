#include "base/Log.h"
#include "config/OptionsParser.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

// ---------------------------------------------------------------------------
// Builders
// ---------------------------------------------------------------------------

struct Parsed {
    bool valid = false;
    COptions options;
};

// Parses the text through an in-memory stream, the way the fuzzer feeds it.
Parsed Parse(const std::string& text)
{
    Parsed result;
    // fmemopen needs a writable buffer of at least one byte, even for "".
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    FILE* stream = fmemopen(buffer.data(), text.size(), "r");
    if (!stream) {
        ADD_FAILURE() << "fmemopen failed";
        return result;
    }
    result.valid = COptionsParser::ParseFileForVariable(stream, &result.options);
    std::fclose(stream);
    return result;
}

// A file holding one statement "k = <value>;", which must be valid.
Parsed ParseValue(const std::string& value)
{
    Parsed parsed = Parse("k = " + value + ";");
    EXPECT_TRUE(parsed.valid) << value;
    return parsed;
}

std::vector<std::string> g_ErrorRecords;
void RecordError(const char* record)
{
    g_ErrorRecords.emplace_back(record);
}

const char* const kInvalidFileMessage = "COptionsParser::ParseFileForVariable -- Erreur : fichier invalide";

// Captures the error log, so a test can see which messages were written.
class OptionsLogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_ErrorRecords.clear();
        std::string logPath = ::testing::TempDir() + "kx_options_test.log";
        ASSERT_TRUE(LogOpen(LOG_ERROR, logPath.c_str()));
        LogSetPrintHook(LOG_ERROR, RecordError);
    }
    void TearDown() override { LogClose(LOG_ERROR); }

    int CountInvalidFileMessages() const
    {
        int count = 0;
        for (const std::string& record : g_ErrorRecords)
            if (record.find(kInvalidFileMessage) != std::string::npos)
                ++count;
        return count;
    }
};

// Files written into a scratch directory of the test's own.
class OptionsFileTest : public OptionsLogTest {
protected:
    void SetUp() override
    {
        OptionsLogTest::SetUp();
        std::string pattern = ::testing::TempDir() + "kx_options_XXXXXX";
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        ASSERT_NE(mkdtemp(buffer.data()), nullptr);
        dir = buffer.data();
    }
    void TearDown() override
    {
        for (const std::string& file : written)
            std::remove(file.c_str());
        rmdir(dir.c_str());
        OptionsLogTest::TearDown();
    }
    std::string Write(const std::string& name, const std::string& text)
    {
        std::string path = dir + "/" + name;
        std::ofstream(path, std::ios::binary) << text;
        written.push_back(path);
        return path;
    }
    std::string dir;
    std::vector<std::string> written;
};

// ---------------------------------------------------------------------------
// File syntax: which files are valid, and what they hold
// ---------------------------------------------------------------------------

TEST(OptionsSyntax, ValidityOfWholeFiles)
{
    struct Case {
        std::string text;
        bool valid;
        const char* why;
    };
    const std::string longName(2047, 'n');
    const Case cases[] = {
        {"", true, "empty file"},
        {" \t\r\n\n", true, "blanks only"},
        {"// one\n/* two\n three */ // four", true, "comments only"},
        {"a=1;", true, "no blanks"},
        {"a = 1;", true, "blanks"},
        {"a = 1; // end without line break", true, "line comment at the end"},
        {"a = 1; /* never closed", true, "the end closes a block comment"},
        {"a = 1;/", true, "a lone slash at the end"},
        {"a = 1", false, "value runs into the end"},
        {"a = 1 ", false, "no terminator"},
        {"a = 1;;", false, "second ';' is a name without '='"},
        {"a = 1 x", true, "terminator word running into the end"},
        {"a = 1 \"x", true, "terminator quote running into the end"},
        {"a = 1 x;", false, "terminator word other than ';'"},
        {"a = 1 , b = 2;", false, "terminator other than ';'"},
        {"a 1;", false, "no '='"},
        {"a", false, "name runs into the end"},
        {"a =", false, "end before the value"},
        {"a = \"never closed", false, "quoted value runs into the end"},
        {"a = 1; b", false, "end inside the second statement"},
        {"a = 1; /x", true, "the file ends right after a dropped pair"},
        {"a = 1; /x ", false, "dropped pair, then a blank starts a word running into the end"},
        {"a = 1; /xb = 2;", true, "a '/' and its follower are dropped"},
        {"a = 1;\xFF", false, "a byte 0xFF is a character, not the end"},
        {longName + " = 1;", true, "name of 2047 characters"},
        {longName + "n = 1;", false, "name of 2048 characters"},
        {"a = \"" + std::string(2046, 'v') + "\";", true, "quoted token of 2047 with its quote"},
        {"a = \"" + std::string(2047, 'v') + "\";", false, "quoted token of 2048 with its quote"},
        {"a = 1 " + std::string(2047, 'x'), true, "terminator word of 2047 running into the end"},
        {"a = 1 " + std::string(2048, 'x'), false, "over-long terminator word"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Parse(c.text).valid, c.valid) << c.why;
}

TEST(OptionsSyntax, TokensAndComments)
{
    struct Case {
        const char* text;
        const char* key;
        int expected;
        const char* why;
    };
    const Case cases[] = {
        {"a=1;", "a", 1, "four tokens without blanks"},
        {"a\n=\n7\n;", "a", 7, "line breaks between tokens"},
        {"a = 3;\r\nb = 4;\r\n", "b", 4, "CR LF line ends"},
        {"/* c */a /* c */=/* c */5 /* c */;", "a", 5, "block comments before every token"},
        {"a/*c*/=1;", "a/*c*/", 1, "no comment inside a word"},
        {"// c\na = 6; // c\n", "a", 6, "line comments"},
        {"/*/ still a comment */ a = 8;", "a", 8, "'/*/' does not close"},
        {"/*/ a = 8;", "a", -1, "'/*/' does not close, so nothing is read"},
        {"/** c **/a = 9;", "a", 9, "a run of asterisks closes"},
        {"a = 1; /xb = 2;", "b", 2, "after '/x' the next token starts at once"},
        {"a/b = 3;", "a/b", 3, "'/' inside a word is ordinary"},
        {"a\"b = 4;", "a\"b", 4, "a quote inside a word is ordinary"},
        {"n\xFFm = 5;", "n\xFFm", 5, "a byte 0xFF inside a word"},
        {"\"q r = 6\" = 7;", "\"q r = 6", 7, "a quoted name keeps its opening quote"},
        {"A = 1;", "a", -1, "names are matched with their case"},
    };
    for (const Case& c : cases) {
        Parsed parsed = Parse(c.text);
        EXPECT_TRUE(parsed.valid) << c.why;
        EXPECT_EQ(parsed.options.GetInt(c.key, -1), c.expected) << c.why;
    }
}

TEST(OptionsSyntax, SlashPairPutsABlankIntoTheNextWord)
{
    // "/x" is dropped and the blank after it starts the value word " 5",
    // which is of no recognised form: no entry, file still valid.
    Parsed parsed = Parse("a = /x 5;");
    EXPECT_TRUE(parsed.valid);
    EXPECT_EQ(parsed.options.Find("a"), nullptr);
}

TEST(OptionsSyntax, LongLineCommentFailsTheStream)
{
    const std::string text2047(2047, 'c');
    const std::string text2048(2048, 'c');

    // Shorter than the limit: an ordinary comment.
    Parsed shortComment = Parse("a = 1; //" + text2047 + "\nb = 2;");
    EXPECT_TRUE(shortComment.valid);
    EXPECT_EQ(shortComment.options.GetInt("b", -1), 2);

    // The CR of a CR LF line end is part of the line end, not of the text.
    Parsed crlf = Parse("a = 1; //" + text2047 + "\r\nb = 2;");
    EXPECT_TRUE(crlf.valid);
    EXPECT_EQ(crlf.options.GetInt("b", -1), 2);

    // At the limit between statements: reading ends there, the file is valid
    // and what follows is ignored.
    Parsed between = Parse("a = 1; //" + text2048 + "\nb = 2;");
    EXPECT_TRUE(between.valid);
    EXPECT_EQ(between.options.GetInt("a", -1), 1);
    EXPECT_EQ(between.options.Find("b"), nullptr);

    // At the limit inside a statement: the statement is cut, the file invalid.
    EXPECT_FALSE(Parse("a = //" + text2048 + "\n1;").valid);

    // A huge comment line is not held in memory, and still ends the reading.
    Parsed huge = Parse("//" + std::string(1 << 20, 'c') + "\na = 1;");
    EXPECT_TRUE(huge.valid);
    EXPECT_EQ(huge.options.Find("a"), nullptr);
}

TEST(OptionsSyntax, QuotedTextHoldsEverythingButAQuote)
{
    struct Case {
        const char* value;
        const char* expected;
    };
    const Case cases[] = {
        {"\"a;b=c//d/*e*/\"", "a;b=c//d/*e*/"},
        {"\"two\nlines\"", "two\nlines"},
        {"\"crlf\r\nline\"", "crlf\nline"},
        {"\"  padded  \"", "  padded  "},
        {"\"\"", ""},
        {"\"caf\xE9\"", "caf\xE9"},
    };
    for (const Case& c : cases) {
        Parsed parsed = ParseValue(c.value);
        const COptionEntry* entry = parsed.options.Find("k");
        ASSERT_NE(entry, nullptr) << c.value;
        EXPECT_EQ(entry->kind, OPTION_TEXT);
        EXPECT_STREQ(parsed.options.GetString("k", "default"), c.expected) << c.value;
    }
}

TEST(OptionsSyntax, InvalidFileLeavesTheSetUnchanged)
{
    const char text[] = "b = 2; c = 3;;";
    std::vector<char> buffer(text, text + sizeof text);
    FILE* stream = fmemopen(buffer.data(), sizeof text - 1, "r");
    ASSERT_NE(stream, nullptr);
    COptions options;
    options.m_Entries.push_back(COptionEntry{"a", OPTION_NUMBER, false, 1, 0.0, false, ""});
    EXPECT_FALSE(COptionsParser::ParseFileForVariable(stream, &options));
    std::fclose(stream);
    ASSERT_EQ(options.m_Entries.size(), 1u);
    EXPECT_EQ(options.m_Entries[0].name, "a");
}

// ---------------------------------------------------------------------------
// Values: how a token becomes a number, a boolean or nothing
// ---------------------------------------------------------------------------

TEST(OptionsValues, IntegersFollowPercentLi)
{
    struct Case {
        const char* value;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"1", 1},
        {"-17", -17},
        {"0x10", 16},
        {"0X1f", 31},
        {"-0x10", -16},
        {"010", 8},
        {"08", 0},
        {"12abc", 12},
        {"1e3", 1},
        {"0", 0},
        {"0x", 0},
        // Kept as 32 bits, wrapped like a cast of the long.
        {"2147483647", INT32_MAX},
        {"2147483648", INT32_MIN},
        {"4294967296", 0},
        {"0xFFFFFFFF", -1},
        {"-2147483649", INT32_MAX},
        // Beyond long, strtol gives LONG_MAX, whose low 32 bits are -1.
        {"99999999999999999999", -1},
    };
    for (const Case& c : cases) {
        Parsed parsed = ParseValue(c.value);
        const COptionEntry* entry = parsed.options.Find("k");
        ASSERT_NE(entry, nullptr) << c.value;
        EXPECT_EQ(entry->kind, OPTION_NUMBER) << c.value;
        EXPECT_FALSE(entry->isReal) << c.value;
        EXPECT_EQ(entry->intValue, c.expected) << c.value;
    }
}

TEST(OptionsValues, TokensWithAPointAreReals)
{
    struct Case {
        const char* value;
        double expected;
    };
    const Case cases[] = {
        {"60.0", 60.0},   {"-.5", -0.5},     {"45.", 45.0},    {"1e3.0", 1000.0},
        {"1.5e2", 150.0}, {"3.25xyz", 3.25}, {"0x1.8p1", 3.0}, {"-0.0", -0.0},
    };
    for (const Case& c : cases) {
        Parsed parsed = ParseValue(c.value);
        const COptionEntry* entry = parsed.options.Find("k");
        ASSERT_NE(entry, nullptr) << c.value;
        EXPECT_EQ(entry->kind, OPTION_NUMBER);
        EXPECT_TRUE(entry->isReal) << c.value;
        EXPECT_DOUBLE_EQ(entry->realValue, c.expected) << c.value;
    }
}

TEST(OptionsValues, BooleansIgnoreAsciiCase)
{
    struct Case {
        const char* value;
        bool expected;
    };
    const Case cases[] = {{"true", true}, {"TRUE", true}, {"tRuE", true}, {"false", false}, {"False", false}};
    for (const Case& c : cases) {
        Parsed parsed = ParseValue(c.value);
        const COptionEntry* entry = parsed.options.Find("k");
        ASSERT_NE(entry, nullptr) << c.value;
        EXPECT_EQ(entry->kind, OPTION_BOOL);
        EXPECT_EQ(entry->boolValue, c.expected) << c.value;
    }
}

TEST(OptionsValues, UnrecognisedValuesRecordNothing)
{
    // Each file stays valid; the key simply has no entry.
    for (const char* value : {".5", "yes", "truex", "-", "-x", "-.", "x12", "on"}) {
        Parsed parsed = ParseValue(value);
        EXPECT_EQ(parsed.options.Find("k"), nullptr) << value;
        EXPECT_EQ(parsed.options.GetInt("k", 42), 42) << value;
    }
}

// ---------------------------------------------------------------------------
// Lookups
// ---------------------------------------------------------------------------

TEST(OptionsLookup, FirstEntryOfANameWins)
{
    Parsed parsed = Parse("a = 1; a = 2; s = \"x\"; s = 5; n = 7; n = \"t\";");
    ASSERT_TRUE(parsed.valid);
    EXPECT_EQ(parsed.options.GetInt("a", -1), 1);
    // The first entry decides even when its kind does not fit the lookup.
    EXPECT_EQ(parsed.options.GetInt("s", -1), -1);
    EXPECT_STREQ(parsed.options.GetString("n", "default"), "default");
}

TEST(OptionsLookup, KindsConvertOnlyBetweenNumbers)
{
    Parsed parsed = Parse("i30 = 30; im = -4; r = 2.9; rn = -2.9; big = 1.0e10; small = -1.0e10; nan = -nan.;"
                          "huge = 1.0e39; one = 1; zero = 0; i256 = 256; i257 = 257; r1 = 1.0;"
                          "t = true; f = false; s = \"true\";");
    ASSERT_TRUE(parsed.valid);
    const COptions& o = parsed.options;

    // Integers read as reals.
    EXPECT_EQ(o.GetFloat("i30", 1.0f), 30.0f);
    EXPECT_EQ(o.GetDouble("im", 1.0), -4.0);
    EXPECT_EQ(o.GetFloat("r", 1.0f), 2.9f);
    EXPECT_TRUE(std::isinf(o.GetFloat("huge", 1.0f)));

    // Reals read as integers: truncated toward zero, clamped, NaN gives the default.
    struct IntCase {
        const char* key;
        int expected;
    };
    const IntCase intCases[] = {
        {"r", 2},    {"rn", -2}, {"big", INT32_MAX}, {"small", INT32_MIN},
        {"nan", -5}, {"t", -5},  {"s", -5},          {"missing", -5},
    };
    for (const IntCase& c : intCases)
        EXPECT_EQ(o.GetInt(c.key, -5), c.expected) << c.key;

    // Booleans: from booleans, and from the lowest byte of integers.
    struct BoolCase {
        const char* key;
        bool defaultValue;
        bool expected;
    };
    const BoolCase boolCases[] = {
        {"t", false, true},    {"f", true, false},      {"one", false, true}, {"zero", true, false},
        {"i256", true, false}, {"i257", false, true},   {"r1", false, false}, {"r1", true, true},
        {"s", false, false},   {"missing", true, true},
    };
    for (const BoolCase& c : boolCases)
        EXPECT_EQ(o.GetBool(c.key, c.defaultValue), c.expected) << c.key;

    // Texts only from texts; numbers and booleans only from their own kinds.
    EXPECT_STREQ(o.GetString("s", "d"), "true");
    EXPECT_STREQ(o.GetString("one", "d"), "d");
    EXPECT_STREQ(o.GetString("t", "d"), "d");
    EXPECT_EQ(o.GetDouble("t", 7.5), 7.5);
    EXPECT_EQ(o.GetDouble("s", 7.5), 7.5);
}

TEST(OptionsLookup, OutLocationReceivesTheAnswer)
{
    Parsed parsed = Parse("i = 3; f = 2.5; b = true; s = \"x\";");
    ASSERT_TRUE(parsed.valid);
    const COptions& o = parsed.options;

    int i = 0;
    float f = 0.0f;
    double d = 0.0;
    bool b = false;
    const char* s = nullptr;
    EXPECT_EQ(o.GetInt("i", 9, &i), 3);
    EXPECT_EQ(i, 3);
    EXPECT_EQ(o.GetInt("nope", 9, &i), 9);
    EXPECT_EQ(i, 9);
    EXPECT_EQ(o.GetFloat("f", 9.0f, &f), 2.5f);
    EXPECT_EQ(f, 2.5f);
    EXPECT_EQ(o.GetFloat("s", 9.0f, &f), 9.0f);
    EXPECT_EQ(f, 9.0f);
    EXPECT_EQ(o.GetDouble("f", 9.0, &d), 2.5);
    EXPECT_EQ(d, 2.5);
    EXPECT_EQ(o.GetDouble("nope", 9.0, &d), 9.0);
    EXPECT_EQ(d, 9.0);
    EXPECT_TRUE(o.GetBool("b", false, &b));
    EXPECT_TRUE(b);
    EXPECT_FALSE(o.GetBool("nope", false, &b));
    EXPECT_FALSE(b);
    EXPECT_STREQ(o.GetString("s", "d", &s), "x");
    EXPECT_STREQ(s, "x");
    const char* defaultText = "d";
    EXPECT_EQ(o.GetString("nope", defaultText, &s), defaultText);
    EXPECT_EQ(s, defaultText);
}

// ---------------------------------------------------------------------------
// Streams, messages and files
// ---------------------------------------------------------------------------

TEST_F(OptionsLogTest, NullStreamIsReportedOnce)
{
    COptions options;
    EXPECT_FALSE(COptionsParser::ParseFileForVariable(nullptr, &options));
    EXPECT_EQ(CountInvalidFileMessages(), 1);
    EXPECT_EQ(g_ErrorRecords.size(), 1u);
}

TEST_F(OptionsLogTest, SyntaxErrorsAreSilent)
{
    EXPECT_FALSE(Parse("a = 1;;").valid);
    EXPECT_TRUE(Parse("a = yes;").valid);
    EXPECT_TRUE(g_ErrorRecords.empty());
}

// Every read opens the file afresh: what is on the disk now is what a
// reader gets, and nothing of an earlier read stays behind.
TEST_F(OptionsFileTest, EachReadTakesTheFileAsItIsNow)
{
    const std::string path = Write("robot.opt", "fSpeed = 1.5;");
    const std::optional<COptions> first = COptionsParser::ReadFile(path.c_str());
    ASSERT_TRUE(first);
    Write("robot.opt", "fSpeed = 2.5;");
    const std::optional<COptions> second = COptionsParser::ReadFile(path.c_str());
    ASSERT_TRUE(second);
    EXPECT_EQ(second->GetFloat("fSpeed", 0.0f), 2.5f);
    EXPECT_EQ(first->GetFloat("fSpeed", 0.0f), 1.5f) << "a set read earlier is the caller's own";
}

TEST_F(OptionsFileTest, MissingOrInvalidFilesGiveNoSetAndOnlyAMissingOneIsSaid)
{
    EXPECT_FALSE(COptionsParser::ReadFile((dir + "/absent.opt").c_str()));
    EXPECT_EQ(CountInvalidFileMessages(), 1);
    EXPECT_EQ(g_ErrorRecords.size(), 1u);

    const std::string path = Write("decor.opt", "strGroundFileObj = \"g.obj\"; a = 1");
    EXPECT_FALSE(COptionsParser::ReadFile(path.c_str()));
    EXPECT_EQ(g_ErrorRecords.size(), 1u) << "a syntax error is silent";

    Write("decor.opt", "strGroundFileObj = \"g.obj\"; a = 1;");
    const std::optional<COptions> options = COptionsParser::ReadFile(path.c_str());
    ASSERT_TRUE(options);
    EXPECT_STREQ(options->GetString("strGroundFileObj", "ground.obj"), "g.obj");
}

TEST_F(OptionsFileTest, ReadsTheFileThroughFopen)
{
    // A complete file as the program writes them, with CR LF line ends.
    std::string path = Write("full.opt", "// graphics\r\n"
                                         "iScreenWidth = 1024;\r\n"
                                         "dScreenFOV = -60.0; /* negative */\r\n"
                                         "bFullScreen = TRUE;\r\n"
                                         "sWindowName = \"Kalimbrax; test\";\r\n"
                                         "fAngle12MaxSpeed = 30;\r\n");
    const std::optional<COptions> o = COptionsParser::ReadFile(path.c_str());
    ASSERT_TRUE(o);
    EXPECT_EQ(o->GetInt("iScreenWidth", 800), 1024);
    EXPECT_EQ(o->GetDouble("dScreenFOV", -45.0), -60.0);
    EXPECT_TRUE(o->GetBool("bFullScreen", false));
    EXPECT_STREQ(o->GetString("sWindowName", "d"), "Kalimbrax; test");
    EXPECT_EQ(o->GetFloat("fAngle12MaxSpeed", 1.0f), 30.0f);
    EXPECT_EQ(o->GetInt("iScreenHeight", 600), 600);
}

}  // namespace
