#pragma once
// kalimbrax-kin run in the test's own process, on a text for its standard
// input, its outputs kept as texts.
#include "tools/kin/KinBatch.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace kxtest {

struct KinRun {
    int status;
    std::string out, err;
};

// args without the program's name: {"mgd", "DIR"}.
inline KinRun RunKin(std::vector<const char*> args, const std::string& input)
{
    std::vector<char> buffer(input.begin(), input.end());
    buffer.push_back('\0');
    FILE* in = fmemopen(buffer.data(), input.size(), "r");
    char *outText = nullptr, *errText = nullptr;
    std::size_t outSize = 0, errSize = 0;
    FILE* out = open_memstream(&outText, &outSize);
    FILE* err = open_memstream(&errText, &errSize);
    args.insert(args.begin(), "kalimbrax-kin");
    KinRun run{RunKinTool(static_cast<int>(args.size()), args.data(), in, out, err), "", ""};
    std::fclose(in);
    std::fclose(out);
    std::fclose(err);
    run.out.assign(outText, outSize);
    run.err.assign(errText, errSize);
    std::free(outText);
    std::free(errText);
    return run;
}

}  // namespace kxtest
