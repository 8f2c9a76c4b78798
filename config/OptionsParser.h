#pragma once
// Option files: "name = value;" statements, with typed lookups that fall
// back to the caller's default.
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

enum { OPTION_NUMBER = 1, OPTION_BOOL = 2, OPTION_TEXT = 3 };

// One statement of a file. The value is kept in typed fields, never by
// reading one type's bytes as another.
struct COptionEntry {
    std::string name;
    int kind = 0;               // OPTION_NUMBER, OPTION_BOOL or OPTION_TEXT
    bool isReal = false;        // a number written with a point
    std::int32_t intValue = 0;  // "%li" rules, the long wrapped to 32 bits
    double realValue = 0.0;
    bool boolValue = false;
    std::string text;
};

// The option set of one file, entries in file order (duplicates kept; the
// first one wins on lookup).
//
// Lookups take the first entry with exactly that name (case-sensitive). When
// there is none, or its kind does not fit, they answer the default. Numbers
// convert between their two forms: an integer reads as a real, a real reads
// as an integer truncated toward zero and clamped to 32 bits (NaN gives the
// default). A boolean lookup also reads an integer by its lowest 8 bits; a
// text lookup answers only from a text. The out-location, when given,
// receives the value returned, the default included.
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
    // The set of the file; none when it is missing or invalid. Only the data
    // set's loader (LoadDataSet) and readers of other files in the same
    // syntax call it: every part of the program gets its settings from the
    // data set read once.
    static std::optional<COptions> ReadFile(const char* fileName);
    // Reads every statement of an open stream into the set; true when the
    // whole stream was valid. A null stream logs "fichier invalide".
    static bool ParseFileForVariable(FILE* stream, COptions* options);
};
