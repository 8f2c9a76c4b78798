// Quotable text (see QuotedText.h), with UTF8-CPP's validation: it knows
// the overlong forms, the surrogates and the code points past U+10FFFF.
#include "command/QuotedText.h"

#include <utf8.h>

#include <iterator>

namespace {

const char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD

// C0 and C1 controls and DEL: a terminal acts on them instead of showing
// them.
bool IsControl(std::uint32_t c)
{
    return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

}  // namespace

std::string QuotedText(const std::string& text, std::size_t maxCharacters)
{
    std::string valid;
    utf8::replace_invalid(text.begin(), text.end(), std::back_inserter(valid));
    std::string quoted;
    std::size_t characters = 0;
    for (auto it = valid.begin(); it != valid.end() && characters < maxCharacters; ++characters) {
        const auto start = it;
        if (IsControl(utf8::unchecked::next(it)))
            quoted += kReplacement;
        else
            quoted.append(start, it);
    }
    return quoted;
}
