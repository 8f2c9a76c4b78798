#pragma once
// Numbers the way a French reader writes them: a comma as decimal point.
// Shown in the panel and the tools' messages, and read from what a user
// types, where the point is accepted as well.
#include <string>

// The value with `digits` decimals and a comma: 43.21 gives "43,2" with one.
// Never "-0": a negative value that rounds to zero is written "0,0".
std::string FormatDecimal(double value, int digits);
// The value in as few digits as it needs (up to six significant ones), with
// a comma: 190, -0,5, 1,25e+06. Never "-0".
std::string FormatShortDecimal(double value);

// A number in C syntax ("12.5", "-1e3", "0x10"), where one comma may stand
// for the decimal point ("12,5"); blanks around it are allowed, nothing
// else. Refuses what is not a finite number (nan, inf, 1e999).
bool ParseDecimal(const char* text, double* value);
// The same syntax, finite or not: nan, inf and 1e999 read as what they are,
// for a caller that says "not finite" rather than "not a number".
bool ParseAnyDecimal(const char* text, double* value);
