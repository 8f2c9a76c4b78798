#include "base/FrenchDecimal.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

std::string FormatDecimal(double value, int digits)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", digits, value);
    if (char* point = std::strchr(text, '.'))
        *point = ',';
    // A value that rounds to zero is zero: "-0,00" would read as a sign
    // that means something.
    if (text[0] == '-' && std::strspn(text + 1, "0,") == std::strlen(text + 1))
        return text + 1;
    return text;
}

std::string FormatShortDecimal(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.6g", value == 0 ? 0.0 : value);
    if (char* point = std::strchr(text, '.'))
        *point = ',';
    return text;
}

bool ParseDecimal(const char* text, double* value)
{
    double parsed;
    if (!ParseAnyDecimal(text, &parsed) || !std::isfinite(parsed))
        return false;
    *value = parsed;
    return true;
}

bool ParseAnyDecimal(const char* text, double* value)
{
    // The program runs in the C locale: strtod reads a point. One comma
    // becomes that point, unless the text already has one ("1,000.5" is
    // refused rather than guessed).
    std::string number(text);
    const std::size_t comma = number.find(',');
    if (comma != std::string::npos) {
        if (number.find(',', comma + 1) != std::string::npos || number.find('.') != std::string::npos)
            return false;
        number[comma] = '.';
    }
    const char* start = number.c_str();
    char* end = nullptr;
    const double parsed = std::strtod(start, &end);
    if (end == start)
        return false;
    while (*end && std::isspace(static_cast<unsigned char>(*end)))
        ++end;
    if (*end)
        return false;
    *value = parsed;
    return true;
}
