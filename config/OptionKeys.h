#pragma once
// Option keys declared once. A file's keys are declared by one function that
// names each key with its type, its default and the field its value goes to;
// the simulator reads its settings through it, and the data check lists the
// keys through it. A key is therefore written in one place, its default
// with it.
#include <string>
#include <vector>

class COptions;

enum class OptionLookup { Integer, Float, Double, Boolean, Text };

struct OptionKey {
    std::string name;
    OptionLookup lookup;
    double number = 0.0;  // default of Integer, Float and Double keys
    bool flag = false;    // default of Boolean keys
    std::string text;     // default of Text keys, Windows-1252 like the files
};

// The keys of one file, each bound to the field that receives its value.
// Fields must outlive the declarations.
class COptionDeclarations {
public:
    void Int(std::string name, int defaultValue, int* field);
    void Float(std::string name, float defaultValue, float* field);
    void Double(std::string name, double defaultValue, double* field);
    void Bool(std::string name, bool defaultValue, bool* field);
    void Text(std::string name, const char* defaultValue, std::string* field);

    // Every field from the option set through its key's typed lookup: the
    // file's value, or the declared default (all of them without a set).
    void Read(const COptions* options) const;
    std::vector<OptionKey> Keys() const;

private:
    struct Binding {
        OptionKey key;
        void* field;
    };
    std::vector<Binding> m_Bindings;
};

// A settings record read from an option set through its declaring function.
template <class Settings>
Settings ReadSettings(const COptions* options, void (*declare)(COptionDeclarations&, Settings&))
{
    Settings settings;
    COptionDeclarations declarations;
    declare(declarations, settings);
    declarations.Read(options);
    return settings;
}

// The keys a declaring function names, in order.
template <class Settings>
std::vector<OptionKey> DeclaredKeys(void (*declare)(COptionDeclarations&, Settings&))
{
    Settings scratch;
    COptionDeclarations declarations;
    declare(declarations, scratch);
    return declarations.Keys();
}

// The default as it would be written in an option file: 800, -45.0, true,
// "metal.tga" (with its quotes, in Windows-1252).
std::string FormatOptionDefault(const OptionKey& key);
