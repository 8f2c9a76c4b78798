#pragma once
// Every key the simulator looks up in its four option files, with the lookup
// it goes through and the default that applies when the key is absent. A
// plain table: the readers name their keys and defaults at the call site; this
// copy serves the tools that check a data directory (a misspelt key is
// silently ignored by the simulator, so only a list of the known ones can
// point at it).

enum class OptionLookup { Integer, Float, Double, Boolean, Text };

struct OptionKey {
    const char* name;
    OptionLookup lookup;
    double number;     // default of Integer, Float and Double keys
    bool flag;         // default of Boolean keys
    const char* text;  // default of Text keys, nullptr for the others
};

struct OptionFile {
    const char* fileName;  // "graphics.opt", ...
    const OptionKey* keys;
    int keyCount;
    // False only for glui.opt: without it the panel takes every default and
    // the simulator still starts. The three others stop the start-up.
    bool required;
};

enum { kOptionFileCount = 4 };
// graphics.opt, glui.opt, decor.opt, robot.opt, in the order they are read.
extern const OptionFile kOptionFiles[kOptionFileCount];

// The file entry whose name matches without regard to ASCII case (the
// option cache compares names that way), or nullptr.
const OptionFile* FindOptionFile(const char* fileName);

// The key of that name (case-sensitive, like the lookups) in the file, or
// nullptr.
const OptionKey* FindOptionKey(const OptionFile& file, const char* name);

// The lookup's kind in French: "entier", "réel", "booléen", "texte".
const char* OptionLookupName(OptionLookup lookup);

// The default as it would be written in an option file: 800, -45.0, true,
// "metal.tga" (with its quotes). Always terminated; cut to size - 1 bytes.
void FormatOptionDefault(const OptionKey& key, char* out, int size);
