#include "base/SystemInfo.h"

#include <sys/utsname.h>

#include <cstdio>

void FormatSystemDescription(const char* system, const char* release, const char* machine, char* buffer, int size)
{
    std::snprintf(buffer, static_cast<std::size_t>(size), "%s %s %s", system, release, machine);
}

const char* GetSystemDescription()
{
    static char description[3 * sizeof(utsname::release) + 3];
    struct utsname name;
    if (uname(&name) != 0)
        return "système inconnu";
    FormatSystemDescription(name.sysname, name.release, name.machine, description, sizeof description);
    return description;
}

float GetGlutVersion()
{
    return 3.0f;
}
float GetGluiVersion()
{
    return 2.01f;
}
