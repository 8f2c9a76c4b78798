// How deeply an XML text nests (see XmlDepth.h).
#include "tools/arm/XmlDepth.h"

#include <string>

namespace {

// The position after `end` from `from` on, or the text's size.
std::size_t After(const std::string& text, std::size_t from, const char* end)
{
    const std::size_t at = text.find(end, from);
    return at == std::string::npos ? text.size() : at + std::char_traits<char>::length(end);
}

// The position after the '>' closing a tag opened at `from`, quoted values
// passed over; whether the tag closed itself ("/>").
std::size_t TagEnd(const std::string& text, std::size_t from, bool* empty)
{
    char quote = 0;
    for (std::size_t i = from; i < text.size(); ++i) {
        const char c = text[i];
        if (quote) {
            quote = c == quote ? 0 : quote;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            *empty = i > from && text[i - 1] == '/';
            return i + 1;
        }
    }
    *empty = false;
    return text.size();
}

}  // namespace

std::size_t XmlNestingDepth(const std::string& text, std::size_t limit)
{
    std::size_t depth = 0, deepest = 0;
    for (std::size_t i = text.find('<'); i < text.size() && deepest <= limit; i = text.find('<', i)) {
        if (text.compare(i, 4, "<!--") == 0) {
            i = After(text, i + 4, "-->");
        } else if (text.compare(i, 9, "<![CDATA[") == 0) {
            i = After(text, i + 9, "]]>");
        } else if (text.compare(i, 2, "<?") == 0) {
            i = After(text, i + 2, "?>");
        } else if (text.compare(i, 2, "<!") == 0) {
            i = After(text, i + 2, ">");
        } else if (text.compare(i, 2, "</") == 0) {
            depth -= depth > 0;
            i = After(text, i + 2, ">");
        } else {
            bool empty;
            i = TagEnd(text, i + 1, &empty);
            if (!empty && ++depth > deepest)
                deepest = depth;
        }
    }
    return deepest;
}
