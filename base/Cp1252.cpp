#include "base/Cp1252.h"

#include <cstdint>

namespace {

// Unicode code points of the Windows-1252 bytes 0x80 to 0x9F; 0xA0 to 0xFF
// are Latin-1 and equal their code point.
const std::uint16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

std::uint32_t CodePointOf(unsigned char byte)
{
    return (byte >= 0x80 && byte < 0xA0) ? kHigh[byte - 0x80] : byte;
}

unsigned char ByteOf(std::uint32_t codePoint)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<unsigned char>(codePoint);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == codePoint)
            return static_cast<unsigned char>(0x80 + i);
    return '?';
}

// Decodes one UTF-8 sequence at s; returns its length, or 0 when s does not
// start a valid, shortest-form sequence.
int DecodeUtf8(const unsigned char* s, std::uint32_t& codePoint)
{
    int length;
    std::uint32_t min;
    if (s[0] < 0x80) {
        codePoint = s[0];
        return 1;
    }
    if ((s[0] & 0xE0) == 0xC0) {
        length = 2;
        min = 0x80;
        codePoint = s[0] & 0x1F;
    } else if ((s[0] & 0xF0) == 0xE0) {
        length = 3;
        min = 0x800;
        codePoint = s[0] & 0x0F;
    } else if ((s[0] & 0xF8) == 0xF0) {
        length = 4;
        min = 0x10000;
        codePoint = s[0] & 0x07;
    } else
        return 0;
    for (int i = 1; i < length; ++i) {
        if ((s[i] & 0xC0) != 0x80)  // also stops at the terminating zero
            return 0;
        codePoint = (codePoint << 6) | (s[i] & 0x3F);
    }
    if (codePoint < min || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return 0;
    return length;
}

}  // namespace

std::size_t Utf8ToCp1252(const char* utf8, char* out, std::size_t size)
{
    if (size == 0)
        return 0;
    const unsigned char* s = reinterpret_cast<const unsigned char*>(utf8);
    std::size_t n = 0;
    while (*s && n + 1 < size) {
        std::uint32_t codePoint;
        int length = DecodeUtf8(s, codePoint);
        if (length == 0) {
            out[n++] = static_cast<char>(*s++);
            continue;
        }
        out[n++] = static_cast<char>(ByteOf(codePoint));
        s += length;
    }
    out[n] = '\0';
    return n;
}

std::string Utf8ToCp1252(const std::string& utf8)
{
    // Never longer than the UTF-8: every character takes one byte.
    std::string cp1252(utf8.size(), '\0');
    cp1252.resize(Utf8ToCp1252(utf8.c_str(), &cp1252[0], cp1252.size() + 1));
    return cp1252;
}

std::string Utf8ToLatin1(const std::string& utf8)
{
    std::string latin1;
    const unsigned char* s = reinterpret_cast<const unsigned char*>(utf8.c_str());
    while (*s) {
        std::uint32_t codePoint;
        const int length = DecodeUtf8(s, codePoint);
        const bool printable =
            length > 0 && codePoint <= 0xFF && (codePoint >= 0xA0 || (codePoint >= 0x20 && codePoint < 0x7F));
        latin1 += printable ? static_cast<char>(codePoint) : '?';
        s += length > 0 ? length : 1;
    }
    return latin1;
}

std::string Cp1252ToUtf8(const char* cp1252)
{
    std::string utf8;
    for (const unsigned char* s = reinterpret_cast<const unsigned char*>(cp1252); *s; ++s) {
        std::uint32_t c = CodePointOf(*s);
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else if (c < 0x800) {
            utf8 += static_cast<char>(0xC0 | (c >> 6));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            utf8 += static_cast<char>(0xE0 | (c >> 12));
            utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return utf8;
}
