// Fuzz target: the command language's parser, line by line through a
// session as a script or a client would feed it, with a runner that checks
// every command it is handed (finite numbers, a safe screenshot name) and
// every reply (one line, an answer or an error naming its command).
#include "command/CommandSession.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

struct CheckingRunner : CommandRunner {
    CommandOutcome Run(const Command& c) override
    {
        for (float v : c.values)
            if (!std::isfinite(v))
                __builtin_trap();
        if (c.verb == CommandVerb::Screenshot && !IsScreenshotName(c.fileName))
            __builtin_trap();
        if (c.verb == CommandVerb::Exit)
            return {CommandOutcome::Exit, "ok"};
        return {c.verb == CommandVerb::Wait ? CommandOutcome::AwaitMotion : CommandOutcome::Done, "ok"};
    }
    bool MotionRunning() override { return false; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    CCommandSession session;
    unsigned long number = 0;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1)
        session.AddLine(bytes.substr(start, end - start), ++number);
    session.AddLine(bytes.substr(start), ++number);
    CheckingRunner runner;
    session.Run(runner, [&](unsigned long line, const std::string& reply) {
        if (line == 0 || line > number || reply.find('\n') != std::string::npos)
            __builtin_trap();
        if (reply != "ok" && reply.rfind("erreur ", 0) != 0)
            __builtin_trap();
    });
    return 0;
}
