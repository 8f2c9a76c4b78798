#pragma once
// Option files as kalimbrax-arm writes them: "name = value;" statements,
// one per line, aligned, with comments, in Windows-1252 like every option
// file of a data set.
#include <string>

struct COptionEntry;

class COptionText {
public:
    explicit COptionText(const std::string& header) : m_strText(header) {}
    void Blank() { m_strText += "\n"; }
    void Comment(const std::string& text) { m_strText += "// " + text + "\n"; }
    // Reals always with a decimal point and no exponent (the reader takes a
    // number without a point for an integer), up to `decimals` decimals.
    void Real(const std::string& name, double value, int decimals = 7);
    void Int(const std::string& name, int value) { Statement(name, std::to_string(value)); }
    void Bool(const std::string& name, bool value) { Statement(name, value ? "true" : "false"); }
    // UTF-8 text; a double quote, which the grammar cannot hold, becomes a
    // single one.
    void Text(const std::string& name, const std::string& value);
    // An entry as another file holds it (its text already Windows-1252).
    void Entry(const COptionEntry& entry);
    std::string Bytes() const;

private:
    void Statement(const std::string& name, const std::string& value);
    std::string m_strText;  // UTF-8, converted by Bytes
};

std::string OptionReal(double value, int decimals = 7);
