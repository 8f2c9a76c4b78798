#pragma once
// The three values behind the system-information lines printed at start.

// One line describing the operating system, in UTF-8, valid until the next
// call: "Linux 6.1.0-28-amd64 x86_64" (the system, its release and the
// machine, as uname gives them); "système inconnu" when it cannot be asked.
const char* GetSystemDescription();
float GetGlutVersion();
float GetGluiVersion();

// The line from uname's three fields.
void FormatSystemDescription(const char* system, const char* release, const char* machine, char* buffer, int size);
