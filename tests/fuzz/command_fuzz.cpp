// Fuzz target: the command language as a client or a script feeds it, in
// reads of random sizes so that line framing is fuzzed too. The framing must
// give the same lines whatever the reads; every line run goes through a
// session to a runner that checks each command it is handed (finite
// numbers, a line's targets and corners included, a safe screenshot name,
// a jog's axis) and each reply (one line, an answer or an error, quotable
// text only).
//
// The read sizes are drawn from the end of the input (FuzzedDataProvider
// takes integers from there), so the lines at the start of a seed of plain
// command text stay as they are.
#include "command/CommandSession.h"
#include "command/QuotedText.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

struct CheckingRunner : CommandRunner {
    CommandOutcome Run(const Command& c) override
    {
        for (float v : c.values)
            if (!std::isfinite(v))
                __builtin_trap();
        for (const CommandTarget& target : c.through)
            for (float v : target.values)
                if (!std::isfinite(v))
                    __builtin_trap();
        if (!(c.blend >= 0) || !std::isfinite(c.blend))
            __builtin_trap();
        if (c.verb == CommandVerb::Screenshot &&
            (!IsScreenshotName(c.fileName) || c.fileName.size() > kMaxScreenshotName))
            __builtin_trap();
        if (c.verb == CommandVerb::Jog && !(c.axis >= 0 && c.axis < kJogAxes))
            __builtin_trap();
        if (c.verb == CommandVerb::Exit)
            return {CommandOutcome::Exit, "ok"};
        return {c.verb == CommandVerb::Wait ? CommandOutcome::AwaitMotion : CommandOutcome::Done, "ok"};
    }
    bool MotionRunning() override { return false; }
};

// The lines of a framer, an over-long one as a marker no line can equal.
void TakeAll(CLineFramer& framer, std::vector<std::string>* lines)
{
    std::string line;
    for (CLineFramer::Next next; (next = framer.Take(&line)) != CLineFramer::Next::None;) {
        if (next == CLineFramer::Next::Line && (line.size() > kMaxCommandLine || line.find('\n') != std::string::npos))
            __builtin_trap();
        lines->push_back(next == CLineFramer::Next::Line ? line : std::string(kMaxCommandLine + 1, '\n'));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider provider(data, size);
    std::vector<std::size_t> reads(provider.ConsumeIntegralInRange<std::size_t>(0, 8));
    for (std::size_t& read : reads)
        read = provider.ConsumeIntegralInRange<std::size_t>(1, 2 * kMaxCommandLine);
    const std::string bytes = provider.ConsumeRemainingBytesAsString();

    CLineFramer whole(kMaxCommandLine), split(kMaxCommandLine);
    std::vector<std::string> wholeLines, splitLines;
    whole.Feed(bytes.data(), bytes.size());
    TakeAll(whole, &wholeLines);

    CCommandSession session;
    CheckingRunner runner;
    unsigned long lastLine = 0;
    const CCommandSession::Reply reply = [&](unsigned long line, const std::string& text) {
        if (line == 0 || line < lastLine || text.find('\n') != std::string::npos)
            __builtin_trap();
        if (text != "ok" && text.rfind("erreur ", 0) != 0)
            __builtin_trap();
        if (QuotedText(text) != text)  // invalid UTF-8 or a control character
            __builtin_trap();
        lastLine = line;
    };
    const auto runAll = [&] {
        for (int steps = 0; steps < 100000; ++steps) {
            const CCommandSession::Step step = session.RunOne(runner, reply);
            if (step != CCommandSession::Step::Ran && step != CCommandSession::Step::TooLong)
                return;
        }
    };
    std::size_t at = 0;
    for (std::size_t r = 0; at < bytes.size(); ++r) {
        const std::size_t length = reads.empty() ? bytes.size() : std::min(reads[r % reads.size()], bytes.size() - at);
        split.Feed(bytes.data() + at, length);
        TakeAll(split, &splitLines);
        session.Feed(bytes.data() + at, length);
        runAll();
        at += length;
    }
    // Whatever the reads, the same lines.
    if (splitLines != wholeLines)
        __builtin_trap();
    session.EndOfInput();
    runAll();
    return 0;
}
