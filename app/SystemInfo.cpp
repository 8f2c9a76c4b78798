#include "app/SystemInfo.h"

#include <sys/utsname.h>

#include <cstdio>
#include <cstring>

bool QueryKernelVersion(KernelVersion* version)
{
    struct utsname name;
    if (uname(&name) != 0)
        return false;
    *version = KernelVersion{0, 0, 0, kPlatformIdLinux, {}};
    // "6.1.0-28-amd64": major, minor and patch; any of them may be absent.
    std::sscanf(name.release, "%d.%d.%d", &version->major, &version->minor, &version->build);
    std::snprintf(version->release, sizeof version->release, "%s", name.release);
    return true;
}

void FormatVersionString(const KernelVersion& version, char* buffer, int size)
{
    std::snprintf(buffer, static_cast<std::size_t>(size), "Windows %d.%d build%d PlatformId %d SP=\"%s\"",
                  version.major, version.minor, version.build, version.platformId, version.release);
}

const char* GetWindowsVersionString()
{
    static char description[260];
    KernelVersion version;
    if (!QueryKernelVersion(&version))
        return "WINDOWS UNKNOWN";
    FormatVersionString(version, description, sizeof description);
    return description;
}

float GetGlutVersion() { return 3.0f; }
float GetGluiVersion() { return 2.01f; }
