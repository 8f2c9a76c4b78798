#pragma once
// What a reply or a record may quote of bytes that came from outside (a
// client's words, a script's name): valid UTF-8 only, each bad sequence
// (overlong forms and surrogates included) and each control character
// shown as one U+FFFD, so that a client decoding the reply as UTF-8 never
// chokes on it and no escape sequence reaches a terminal.
#include <cstddef>
#include <limits>
#include <string>

// The text as it may be quoted, cut after maxCharacters characters.
std::string QuotedText(const std::string& text, std::size_t maxCharacters = std::numeric_limits<std::size_t>::max());
