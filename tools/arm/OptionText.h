#pragma once
// Option files as kalimbrax-arm writes them: "name = value;" statements,
// one per line, aligned, with comments, in Windows-1252 like every option
// file of a data set.
#include <cstddef>
#include <string>

struct COptionEntry;

// Text from the input (a robot's or a joint's name) as data: in a block
// comment or a quoted value, nothing it holds may end the one or the other
// and leave the rest to be read as statements.
//  - CommentText: "*/" broken into "* /", control characters as spaces;
//  - LabelText: at most kMaxLabelCharacters characters, a longer one cut
//    with "…" (the option reader takes a text of at most 2046 bytes, and a
//    panel label of thousands would be none), control characters as spaces;
//    COptionText::Text then keeps its quotes off.
constexpr std::size_t kMaxLabelCharacters = 64;
std::string CommentText(const std::string& text);
std::string LabelText(const std::string& text);

class COptionText {
public:
    // The header holds its own comment's marks; what it quotes from the
    // input goes through CommentText.
    explicit COptionText(const std::string& header) : m_strText(header) {}
    void Blank() { m_strText += "\n"; }
    void Comment(const std::string& text) { m_strText += "// " + text + "\n"; }
    // Reals always with a decimal point and no exponent (the reader takes a
    // number without a point for an integer), up to `decimals` decimals.
    void Real(const std::string& name, double value, int decimals = 7);
    void Int(const std::string& name, int value) { Statement(name, std::to_string(value)); }
    void Bool(const std::string& name, bool value) { Statement(name, value ? "true" : "false"); }
    // UTF-8 text; a double quote, which the grammar cannot hold, becomes a
    // single one, a control character a space.
    void Text(const std::string& name, const std::string& value);
    // An entry as another file holds it (its text already Windows-1252).
    void Entry(const COptionEntry& entry);
    std::string Bytes() const;

private:
    void Statement(const std::string& name, const std::string& value);
    std::string m_strText;  // UTF-8, converted by Bytes
};

std::string OptionReal(double value, int decimals = 7);
