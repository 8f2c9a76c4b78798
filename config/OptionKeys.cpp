#include "config/OptionKeys.h"

#include "config/OptionsParser.h"

#include <cstdio>

void COptionDeclarations::Int(std::string name, int defaultValue, int* field)
{
    m_Bindings.push_back(
        {{std::move(name), OptionLookup::Integer, static_cast<double>(defaultValue), false, ""}, field});
}

void COptionDeclarations::Float(std::string name, float defaultValue, float* field)
{
    m_Bindings.push_back({{std::move(name), OptionLookup::Float, defaultValue, false, ""}, field});
}

void COptionDeclarations::Double(std::string name, double defaultValue, double* field)
{
    m_Bindings.push_back({{std::move(name), OptionLookup::Double, defaultValue, false, ""}, field});
}

void COptionDeclarations::Bool(std::string name, bool defaultValue, bool* field)
{
    m_Bindings.push_back({{std::move(name), OptionLookup::Boolean, 0.0, defaultValue, ""}, field});
}

void COptionDeclarations::Text(std::string name, const char* defaultValue, std::string* field)
{
    m_Bindings.push_back({{std::move(name), OptionLookup::Text, 0.0, false, defaultValue}, field});
}

void COptionDeclarations::Read(const COptions* options) const
{
    static const COptions none;
    const COptions& set = options ? *options : none;
    for (const Binding& b : m_Bindings) {
        const OptionKey& k = b.key;
        const char* name = k.name.c_str();
        switch (k.lookup) {
        case OptionLookup::Integer:
            *static_cast<int*>(b.field) = set.GetInt(name, static_cast<int>(k.number));
            break;
        case OptionLookup::Float:
            *static_cast<float*>(b.field) = set.GetFloat(name, static_cast<float>(k.number));
            break;
        case OptionLookup::Double:
            *static_cast<double*>(b.field) = set.GetDouble(name, k.number);
            break;
        case OptionLookup::Boolean:
            *static_cast<bool*>(b.field) = set.GetBool(name, k.flag);
            break;
        case OptionLookup::Text:
            *static_cast<std::string*>(b.field) = set.GetString(name, k.text.c_str());
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
        return "\"" + key.text + "\"";
    }
    return "";
}
