#pragma once
// The three values behind the system-information lines printed at start.

// One line describing the operating system, in UTF-8; valid until the next
// call. "WINDOWS UNKNOWN" when the system cannot be asked.
const char* GetWindowsVersionString();
float GetGlutVersion();
float GetGluiVersion();

// The kernel release as uname gives it, and the parts of it the line shows.
struct KernelVersion {
    int major;
    int minor;
    int build;           // the patch level, third number of the release
    int platformId;      // see kPlatformIdLinux
    char release[128];   // the whole release text, shown as the "SP" field
};

// The platform identifier printed for Linux. Windows numbered its platforms
// 0 (Win32s), 1 (Windows 9x) and 2 (NT); 3 stands here for a Linux kernel.
constexpr int kPlatformIdLinux = 3;

// Fills the record from the running kernel; false when uname fails.
bool QueryKernelVersion(KernelVersion* version);
// Formats a record with the line's fixed format into buffer.
void FormatVersionString(const KernelVersion& version, char* buffer, int size);
