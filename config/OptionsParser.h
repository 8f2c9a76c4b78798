#pragma once
// Option files: "name = value;" statements read once per file and cached for
// the whole run, with typed lookups that fall back to the caller's default.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

enum { OPTION_NUMBER = 1, OPTION_BOOL = 2, OPTION_TEXT = 3 };

// One statement of a file. The value is kept in typed fields, never by
// reading one type's bytes as another.
struct COptionEntry {
    std::string name;
    int kind = 0;          // OPTION_NUMBER, OPTION_BOOL or OPTION_TEXT
    bool isReal = false;   // a number written with a point
    std::int32_t intValue = 0;
    double realValue = 0.0;
    bool boolValue = false;
    std::string text;
};

// The option set of one file, entries in file order (duplicates kept; the
// first one wins on lookup).
class COptions {
public:
    int GetInt(const char* name, int defaultValue, int* out = nullptr) const;
    float GetFloat(const char* name, float defaultValue, float* out = nullptr) const;
    double GetDouble(const char* name, double defaultValue, double* out = nullptr) const;
    bool GetBool(const char* name, bool defaultValue, bool* out = nullptr) const;
    const char* GetString(const char* name, const char* defaultValue, const char** out = nullptr) const;

    const COptionEntry* Find(const char* name) const;
    std::vector<COptionEntry> m_Entries;
};

class COptionsParser {
public:
    // The cached set of the file (names compared without ASCII case), read on
    // first use; nullptr when the file is missing or invalid.
    static COptions* GetOptions(const char* fileName, bool reload = false);
    // Reads every statement of an open stream into the set; true when the
    // whole stream was valid. A null stream logs "fichier invalide".
    static bool ParseFileForVariable(FILE* stream, COptions* options);
};
