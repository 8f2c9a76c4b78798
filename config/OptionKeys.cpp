#include "config/OptionKeys.h"

#include "base/Cp1252.h"
#include "base/FrenchDecimal.h"
#include "config/OptionsParser.h"

#include <cmath>
#include <cstdio>

void COptionDeclarations::Int(std::string name, int defaultValue, int* field, OptionRange range)
{
    m_Bindings.push_back(
        {{std::move(name), OptionLookup::Integer, static_cast<double>(defaultValue), false, "", false, range}, field});
}

void COptionDeclarations::Float(std::string name, float defaultValue, float* field, OptionRange range)
{
    m_Bindings.push_back({{std::move(name), OptionLookup::Float, defaultValue, false, "", false, range}, field});
}

void COptionDeclarations::Double(std::string name, double defaultValue, double* field, OptionRange range)
{
    m_Bindings.push_back({{std::move(name), OptionLookup::Double, defaultValue, false, "", false, range}, field});
}

void COptionDeclarations::Bool(std::string name, bool defaultValue, bool* field)
{
    m_Bindings.push_back({{std::move(name), OptionLookup::Boolean, 0.0, defaultValue, ""}, field});
}

void COptionDeclarations::Text(std::string name, const char* defaultValue, std::string* field)
{
    m_Bindings.push_back({{std::move(name), OptionLookup::Text, 0.0, false, defaultValue}, field});
}

void COptionDeclarations::Label(std::string name, const char* defaultUtf8, std::string* field)
{
    m_Bindings.push_back({{std::move(name), OptionLookup::Text, 0.0, false, defaultUtf8, true}, field});
}

namespace {

// The entry as it was written, for a record: "0,001", "nan", "\"abc\"".
std::string Written(const COptionEntry& entry)
{
    switch (entry.kind) {
    case OPTION_NUMBER:
        return FormatShortDecimal(entry.isReal ? entry.realValue : entry.intValue);
    case OPTION_BOOL:
        return entry.boolValue ? "true" : "false";
    default:
        return "\"" + entry.text + "\"";
    }
}

// The value as the key's lookup reads it, the default when it is absent.
double LookedUp(const OptionKey& k, const COptions& set)
{
    const char* name = k.name.c_str();
    switch (k.lookup) {
    case OptionLookup::Integer:
        return set.GetInt(name, static_cast<int>(k.number));
    case OptionLookup::Float:
        return set.GetFloat(name, static_cast<float>(k.number));
    case OptionLookup::Double:
        return set.GetDouble(name, k.number);
    case OptionLookup::Boolean:
        return set.GetBool(name, k.flag);
    case OptionLookup::Text:
        break;
    }
    return 0;
}

// Why the entry's value, read as `value`, is not taken; "" when it is.
std::string Refusal(const OptionKey& key, const COptionEntry& entry, double value)
{
    const bool number = entry.kind == OPTION_NUMBER;
    if (key.lookup == OptionLookup::Boolean)
        return entry.kind == OPTION_BOOL || (number && !entry.isReal) ? "" : "un booléen vaut true ou false";
    if (!number)
        return "un nombre est attendu";
    if ((entry.isReal && !std::isfinite(entry.realValue)) || !std::isfinite(value))
        return "pas un nombre fini";
    if (!key.range.Contains(value))
        return "hors de " + key.range.Text();
    return "";
}

std::string DefaultText(const OptionKey& key)
{
    if (key.lookup == OptionLookup::Boolean)
        return key.flag ? "true" : "false";
    return FormatShortDecimal(key.number);
}

}  // namespace

OptionValue JudgeOptionValue(const OptionKey& key, const COptions& options)
{
    OptionValue judged{LookedUp(key, options), "", ""};
    const COptionEntry* entry = options.Find(key.name.c_str());
    if (key.lookup == OptionLookup::Text || !entry)
        return judged;
    const std::string refusal = Refusal(key, *entry, judged.number);
    if (!refusal.empty()) {
        judged.number = key.lookup == OptionLookup::Boolean ? key.flag : key.number;
        judged.refusal = key.name + " = " + Written(*entry) + " : " + refusal;
        judged.record = judged.refusal + " ; " + DefaultText(key) + " s'applique";
    } else if (key.lookup == OptionLookup::Boolean && entry->kind == OPTION_NUMBER && entry->intValue != 0 &&
               entry->intValue != 1) {
        judged.record = key.name + " = " + Written(*entry) + " : un booléen vaut true ou false (1 ou 0) ; lu " +
                        (judged.number != 0 ? "true" : "false") + " par son dernier octet";
    }
    return judged;
}

void COptionDeclarations::Read(const COptions* options, std::vector<std::string>* records) const
{
    static const COptions none;
    const COptions& set = options ? *options : none;
    for (const Binding& b : m_Bindings) {
        const OptionKey& k = b.key;
        if (k.lookup == OptionLookup::Text) {
            const char* written = set.GetString(k.name.c_str(), nullptr);
            std::string& field = *static_cast<std::string*>(b.field);
            if (!written)
                field = k.text;
            else
                field = k.label ? Cp1252ToUtf8(written) : written;
            continue;
        }
        const OptionValue judged = JudgeOptionValue(k, set);
        if (records && !judged.record.empty())
            records->push_back(judged.record);
        switch (k.lookup) {
        case OptionLookup::Integer:
            *static_cast<int*>(b.field) = static_cast<int>(judged.number);
            break;
        case OptionLookup::Float:
            *static_cast<float*>(b.field) = static_cast<float>(judged.number);
            break;
        case OptionLookup::Double:
            *static_cast<double*>(b.field) = judged.number;
            break;
        case OptionLookup::Boolean:
            *static_cast<bool*>(b.field) = judged.number != 0;
            break;
        case OptionLookup::Text:
            break;
        }
    }
}

std::vector<OptionKey> COptionDeclarations::Keys() const
{
    std::vector<OptionKey> keys;
    for (const Binding& b : m_Bindings)
        keys.push_back(b.key);
    return keys;
}

std::string FormatOptionDefault(const OptionKey& key)
{
    char text[64];
    switch (key.lookup) {
    case OptionLookup::Integer:
        std::snprintf(text, sizeof text, "%d", static_cast<int>(key.number));
        return text;
    case OptionLookup::Float:
    case OptionLookup::Double:
        // Always with a point, as a real value is best written.
        std::snprintf(text, sizeof text, "%.1f", key.number);
        return text;
    case OptionLookup::Boolean:
        return key.flag ? "true" : "false";
    case OptionLookup::Text:
        return "\"" + (key.label ? Utf8ToCp1252(key.text) : key.text) + "\"";
    }
    return "";
}
