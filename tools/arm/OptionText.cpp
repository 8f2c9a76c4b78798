#include "tools/arm/OptionText.h"

#include "base/Cp1252.h"
#include "config/OptionsParser.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

std::string WithoutControls(std::string text)
{
    std::replace_if(
        text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; }, ' ');
    return text;
}

}  // namespace

std::string CommentText(const std::string& text)
{
    std::string shown = WithoutControls(text);
    for (std::size_t at = shown.find("*/"); at != std::string::npos; at = shown.find("*/", at))
        shown.insert(at + 1, " ");
    return shown;
}

std::string LabelText(const std::string& text)
{
    std::string shown = WithoutControls(text);
    std::vector<std::size_t> starts;  // of each UTF-8 character, up to one past the bound
    for (std::size_t i = 0; i < shown.size() && starts.size() <= kMaxLabelCharacters; ++i)
        if ((static_cast<unsigned char>(shown[i]) & 0xC0) != 0x80)
            starts.push_back(i);
    if (starts.size() <= kMaxLabelCharacters)
        return shown;
    return shown.erase(starts[kMaxLabelCharacters - 1]) + "…";
}

std::string OptionReal(double value, int decimals)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value + 0.0);  // + 0.0: no "-0"
    std::string text = buffer;
    if (text.find('.') == std::string::npos)
        text += ".0";
    while (text.back() == '0' && text[text.size() - 2] != '.')
        text.pop_back();
    return text == "-0.0" ? "0.0" : text;
}

void COptionText::Real(const std::string& name, double value, int decimals)
{
    Statement(name, OptionReal(value, decimals));
}

void COptionText::Text(const std::string& name, const std::string& value)
{
    std::string text = WithoutControls(value);
    std::replace(text.begin(), text.end(), '"', '\'');
    Statement(name, "\"" + text + "\"");
}

void COptionText::Entry(const COptionEntry& entry)
{
    switch (entry.kind) {
    case OPTION_TEXT:
        Text(entry.name, Cp1252ToUtf8(entry.text.c_str()));
        break;
    case OPTION_BOOL:
        Bool(entry.name, entry.boolValue);
        break;
    default:
        if (entry.isReal)
            Real(entry.name, entry.realValue);
        else
            Int(entry.name, entry.intValue);
        break;
    }
}

void COptionText::Statement(const std::string& name, const std::string& value)
{
    std::string line = name;
    if (line.size() < 24)
        line.append(24 - line.size(), ' ');
    m_strText += line + "= " + value + ";\n";
}

std::string COptionText::Bytes() const
{
    std::vector<char> buffer(m_strText.size() + 1);
    const std::size_t n = Utf8ToCp1252(m_strText.c_str(), buffer.data(), buffer.size());
    return std::string(buffer.data(), n);
}
