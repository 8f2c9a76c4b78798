// Fuzz target: the kalimbrax-kin text front end. The bytes are one line for
// ParseKinLine, and the whole input of a batch run (RunKinTool) on the
// default arm; the first byte picks the MGD or one of the inverse
// ones (grid, exact, every exact configuration).
#include "tools/kin/KinBatch.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#ifndef KX_SOURCE_DIR
#error "KX_SOURCE_DIR must name the source tree (for default/robot.opt)"
#endif

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    float values[6];
    const KinLine kind = ParseKinLine(reinterpret_cast<const char*>(data), size, values);
    if (kind != KinLine::Skip && kind != KinLine::Values && kind != KinLine::Invalid)
        __builtin_trap();

    if (size == 0)
        return 0;
    static FILE* sink = std::fopen("/dev/null", "w");
    if (!sink)
        std::abort();
    static const char* const commands[4][2] = {
        {"mgd", nullptr}, {"mgi", "--grid"}, {"mgi", "--exact"}, {"mgi", "--all"}};
    const char* const* command = commands[data[0] & 3];
    const std::string directory = KX_SOURCE_DIR "/default";
    const char* const argv[] = {"kalimbrax-kin", command[0], command[1] ? command[1] : directory.c_str(),
                                directory.c_str()};
    const int argc = command[1] ? 4 : 3;
    std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    FILE* in = bytes.empty() ? std::fopen("/dev/null", "r") : fmemopen(&bytes[0], bytes.size(), "r");
    if (!in)
        return 0;
    const int status = RunKinTool(argc, argv, in, sink, sink);
    std::fclose(in);
    if (status != 0 && status != 1)
        __builtin_trap();  // robot.opt of the default set is always readable
    return 0;
}
