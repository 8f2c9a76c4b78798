// Fuzz target: bytes of an option file -> option set -> every typed lookup.
// The reader works on a FILE*, so the bytes are handed over through
// fmemopen (no file system involved).
#include "config/OptionsParser.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// Runs every lookup on one name and checks what the interface promises: the
// out-location receives the value returned, and a text lookup answers either
// the caller's default or a terminated text.
void LookUpEverything(const COptions& options, const char* name)
{
    int i = 0;
    const int iv = options.GetInt(name, 17, &i);
    if (iv != i)
        __builtin_trap();
    float f = 0.0f;
    const float fv = options.GetFloat(name, 2.5f, &f);
    if (std::memcmp(&fv, &f, sizeof f) != 0)
        __builtin_trap();
    double d = 0.0;
    const double dv = options.GetDouble(name, -45.0, &d);
    if (std::memcmp(&dv, &d, sizeof d) != 0)
        __builtin_trap();
    bool b = false;
    const bool bv = options.GetBool(name, true, &b);
    if (bv != b)
        __builtin_trap();
    static const char kDefault[] = "défaut";
    const char* s = nullptr;
    const char* sv = options.GetString(name, kDefault, &s);
    if (sv != s || sv == nullptr)
        __builtin_trap();
    volatile std::size_t length = std::strlen(sv);  // must stay inside the set's storage
    (void)length;
    // Without out-locations too: the null pointer must not be written.
    options.GetInt(name, 0);
    options.GetFloat(name, 0.0f);
    options.GetDouble(name, 0.0);
    options.GetBool(name, false);
    options.GetString(name, nullptr);
    options.Find(name);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // fmemopen refuses an empty buffer on some C libraries: give it one
    // byte and a length of zero worth of content through "r" on a copy.
    std::string bytes(reinterpret_cast<const char*>(data), size);
    FILE* stream = size > 0 ? fmemopen(&bytes[0], size, "r") : std::fopen("/dev/null", "r");
    if (!stream)
        return 0;
    COptions options;
    const bool valid = COptionsParser::ParseFileForVariable(stream, &options);
    std::fclose(stream);
    if (!valid && !options.m_Entries.empty())
        __builtin_trap();  // an invalid file leaves no entry behind

    for (const COptionEntry& entry : options.m_Entries) {
        if (entry.kind != OPTION_NUMBER && entry.kind != OPTION_BOOL && entry.kind != OPTION_TEXT)
            __builtin_trap();
        LookUpEverything(options, entry.name.c_str());
    }
    static const char* const kFixedNames[] = {
        "", "a", "iScreenWidth", "dScreenFOV", "bFullScreen", "sWindowName", "strGLUIWindowName", "fAngle12MaxSpeed"};
    for (const char* name : kFixedNames)
        LookUpEverything(options, name);
    return 0;
}
