#pragma once
// Option keys declared once. A file's keys are declared by one function that
// names each key with its type, its default, the values it may take and the
// field its value goes to; the simulator reads its settings through it, and
// the data check lists the keys through it. A key is therefore written in
// one place, its default and its range with it.
//
// Texts are of two kinds. A raw text (a file name, a window system's name)
// is kept as the file's bytes. A label, a text the user reads, is decoded
// from the file's Windows-1252 into UTF-8 when it is read, its default is
// written in UTF-8, and it goes back to Windows-1252 only when written into
// an option file (FormatOptionDefault).
#include "config/OptionRange.h"

#include <string>
#include <vector>

class COptions;

enum class OptionLookup { Integer, Float, Double, Boolean, Text };

struct OptionKey {
    std::string name;
    OptionLookup lookup;
    double number = 0.0;                     // default of Integer, Float and Double keys
    bool flag = false;                       // default of Boolean keys
    std::string text;                        // default of Text keys: UTF-8 for a label, the file's bytes otherwise
    bool label = false;                      // a Text key the user reads (see above)
    OptionRange range = OptionRange::Any();  // of Integer, Float and Double keys
};

// The keys of one file, each bound to the field that receives its value.
// Fields must outlive the declarations.
class COptionDeclarations {
public:
    void Int(std::string name, int defaultValue, int* field, OptionRange range = OptionRange::Any());
    void Float(std::string name, float defaultValue, float* field, OptionRange range = OptionRange::Any());
    void Double(std::string name, double defaultValue, double* field, OptionRange range = OptionRange::Any());
    void Bool(std::string name, bool defaultValue, bool* field);
    void Text(std::string name, const char* defaultValue, std::string* field);
    void Label(std::string name, const char* defaultUtf8, std::string* field);

    // Every field from the option set through its key's typed lookup: the
    // file's value, or the declared default (all of them without a set). A
    // number outside its key's range, or not finite, gives the default; a
    // value of the wrong kind too. Each such value, and a boolean written as
    // an integer other than 1 or 0 (read by its lowest byte), gets a record
    // in `records` when given: "fLinearSpeed = 0,001 : hors de [1 ; 100000] ;
    // 100 s'applique".
    void Read(const COptions* options, std::vector<std::string>* records = nullptr) const;
    std::vector<OptionKey> Keys() const;

private:
    struct Binding {
        OptionKey key;
        void* field;
    };
    std::vector<Binding> m_Bindings;
};

// A number or boolean key's value in an option set, judged against its
// range: the value taken (the default when the file's is refused), why the
// file's is refused ("hors de [1 ; 100000]", "" when it is taken), and the
// record start-up writes of it ("" when there is nothing to say). See
// COptionDeclarations::Read.
struct OptionValue {
    double number;  // a boolean's 1 or 0
    std::string refusal;
    std::string record;
};
OptionValue JudgeOptionValue(const OptionKey& key, const COptions& options);

// A settings record read from an option set through its declaring function.
template <class Settings>
Settings ReadSettings(const COptions* options, void (*declare)(COptionDeclarations&, Settings&),
                      std::vector<std::string>* records = nullptr)
{
    Settings settings;
    COptionDeclarations declarations;
    declare(declarations, settings);
    declarations.Read(options, records);
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
// "metal.tga", "Rep\xE8res" (with its quotes; a label in Windows-1252).
std::string FormatOptionDefault(const OptionKey& key);
