#pragma once
// The one place that converts between the Windows-1252 text of the log files
// and option files and the UTF-8 that the console, the source files and the
// panel's font use. Done with a table, not with setlocale: a French locale
// would change how "%lf" reads numbers.
#include <cstddef>
#include <string>

// UTF-8 to Windows-1252. A character that Windows-1252 lacks becomes '?'; a
// byte that does not start a valid UTF-8 sequence is taken as Windows-1252
// already and copied as it is. Writes at most size - 1 bytes and a
// terminating zero (nothing when size is 0); returns the length written.
std::size_t Utf8ToCp1252(const char* utf8, char* out, std::size_t size);
// The same, whole, for text of any length.
std::string Utf8ToCp1252(const std::string& utf8);

// UTF-8 to Latin-1, for GLUT's bitmap fonts, whose glyphs are Latin-1's. A
// character outside Latin-1's printable ones (the C1 controls among them,
// where Windows-1252 puts its quotes and dashes) becomes '?', as does a byte
// that does not start a valid UTF-8 sequence.
std::string Utf8ToLatin1(const std::string& utf8);

// Windows-1252 to UTF-8. The five bytes that Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same value.
std::string Cp1252ToUtf8(const char* cp1252);
