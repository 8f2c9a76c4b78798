// Lines out of a byte stream: the same lines whatever the reads, the limit
// counted without the end of line (a CR waiting for its LF included), an
// over-long line reported once in its place, memory bounded by the limit.
#include "command/LineFramer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr std::size_t kLimit = 16;

// Every line taken, an over-long one as "<trop long>", then "<fin>" if the
// input ended.
std::vector<std::string> TakeAll(CLineFramer& framer)
{
    std::vector<std::string> out;
    std::string line;
    for (CLineFramer::Next next; (next = framer.Take(&line)) != CLineFramer::Next::None;)
        out.push_back(next == CLineFramer::Next::Line ? line : "<trop long>");
    return out;
}

// The stream fed in pieces of `piece` bytes (0: at once), taking lines after
// each, then ended.
std::vector<std::string> Frame(const std::string& stream, std::size_t piece)
{
    CLineFramer framer(kLimit);
    std::vector<std::string> out;
    const std::size_t step = piece == 0 ? stream.size() : piece;
    for (std::size_t at = 0; at < stream.size(); at += step) {
        framer.Feed(stream.data() + at, std::min(step, stream.size() - at));
        for (const std::string& line : TakeAll(framer))
            out.push_back(line);
    }
    framer.EndOfInput();
    for (const std::string& line : TakeAll(framer))
        out.push_back(line);
    return out;
}

TEST(LineFramer, TheSameLinesWhateverTheReads)
{
    const std::string full(kLimit, 'x');
    struct Case {
        std::string stream;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"a\nb\r\n\r\nc", {"a", "b", "", "c"}},
        {"a\rb\n", {"a\rb"}},  // a CR inside a line is the line's
        {full + "\r\n", {full}},
        {full + "\n" + full + "\r", {full, full}},  // at the end, a last CR ends the line
        {full + "x\n", {"<trop long>"}},
        {full + "\rx\n", {"<trop long>"}},  // that CR was no line end
        {"a\n" + std::string(100, 'y') + "\nb\n", {"a", "<trop long>", "b"}},
        {"a\n" + std::string(100, 'y'), {"a", "<trop long>"}},
        {"a\n" + full + "x", {"a", "<trop long>"}},
    };
    for (const Case& c : cases)
        for (std::size_t piece : {0, 1, 2, 3, 7, 16, 17}) {
            EXPECT_EQ(Frame(c.stream, piece), c.lines) << "pieces of " << piece << ": " << c.stream;
        }
}

// A line that never ends costs the limit and one read, not what was sent.
TEST(LineFramer, AnEndlessLineIsDroppedAsItComes)
{
    CLineFramer framer(kLimit);
    std::string line;
    const std::string piece(10, 'z');
    int tooLong = 0;
    for (int i = 0; i < 1000; ++i) {
        framer.Feed(piece.data(), piece.size());
        EXPECT_LE(framer.Buffered(), kLimit + 1 + piece.size());
        tooLong += framer.Take(&line) == CLineFramer::Next::TooLong;
        EXPECT_TRUE(framer.Unfinished());
    }
    EXPECT_EQ(tooLong, 1);
    framer.Feed("zz\nok\n", 6);
    EXPECT_EQ(TakeAll(framer), std::vector<std::string>{"ok"});
    EXPECT_FALSE(framer.Unfinished());
}

TEST(LineFramer, UnfinishedIsPartOfALineWithoutItsEnd)
{
    CLineFramer framer(kLimit);
    framer.Feed("go\nget p", 8);
    EXPECT_TRUE(framer.Unfinished()) << "a complete line does not hide the unfinished one";
    framer.Feed("ose\n", 4);
    EXPECT_FALSE(framer.Unfinished());
    EXPECT_EQ(framer.Buffered(), 12u);
    EXPECT_EQ(TakeAll(framer), (std::vector<std::string>{"go", "get pose"}));
    EXPECT_EQ(framer.Buffered(), 0u);
}

}  // namespace
