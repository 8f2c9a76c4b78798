// Option files: tokenizer, statement reader, per-file cache and typed lookups.
//
// Index
//   1. Character source   (CR LF folding, one-character put-back, failed state)
//   2. Tokens             (blanks and comments, words, quoted texts)
//   3. Values             (number / boolean / text interpretation)
//   4. Statement reader   (COptionsParser::ParseFileForVariable)
//   5. Files              (COptionsParser::ReadFile)
//   6. Lookups            (COptions::Get*)
#include "config/OptionsParser.h"

#include "base/Log.h"

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include <locale.h>

namespace {

// A token holds at most this many characters, the opening quote of a quoted
// text included; one more makes the file invalid.
constexpr std::size_t kMaxTokenLength = 2047;
// The text of a "//" comment must be shorter than this.
constexpr std::size_t kMaxLineCommentLength = 2048;

bool IsBlank(int c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// ASCII-only, so that the locale never changes which names match.
bool EqualsIgnoringAsciiCase(const std::string& a, const char* b)
{
    std::size_t n = std::strlen(b);
    if (a.size() != n)
        return false;
    for (std::size_t i = 0; i < n; ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    return true;
}

// ============================================================================
// 1. Character source
// ============================================================================

// Reads the stream one character at a time as int, so that a byte 0xFF is a
// character and only EOF ends the file. Once the end (or the failed state) is
// met, the stream is never read again: a second getc after EOF may block on
// a terminal or return more data on some streams.
class CharSource {
public:
    explicit CharSource(FILE* stream) : m_Stream(stream) {}

    int Get()
    {
        if (m_PutBack != EOF) {
            int c = m_PutBack;
            m_PutBack = EOF;
            return c;
        }
        int c = Raw();
        // Text mode: CR LF is one line end. A lone CR stays a CR.
        if (c == '\r') {
            int next = Raw();
            if (next == '\n')
                return '\n';
            m_Lookahead = next;
        }
        return c;
    }

    // Only a real character is ever put back, never EOF, and only the one
    // just read: one slot is enough.
    void PutBack(int c)
    {
        if (c != EOF)
            m_PutBack = c;
    }

    // An over-long line comment stops the reading for good, as if the file
    // ended there.
    void Fail()
    {
        m_Ended = true;
        m_PutBack = EOF;
        m_Lookahead = EOF;
    }

private:
    int Raw()
    {
        if (m_Lookahead != EOF) {
            int c = m_Lookahead;
            m_Lookahead = EOF;
            return c;
        }
        if (m_Ended)
            return EOF;
        int c = std::getc(m_Stream);
        if (c == EOF)
            m_Ended = true;
        return c;
    }

    FILE* m_Stream;
    bool m_Ended = false;
    int m_PutBack = EOF;
    int m_Lookahead = EOF;
};

// ============================================================================
// 2. Tokens
// ============================================================================

enum class Skip { TokenFollows, End };

// Drops blanks and comments before a token. Returns End when the file ends
// (or the stream failed) before any token.
Skip SkipBlanksAndComments(CharSource& in)
{
    for (;;) {
        int c = in.Get();
        if (c == EOF)
            return Skip::End;
        if (IsBlank(c))
            continue;
        if (c != '/') {
            in.PutBack(c);
            return Skip::TokenFollows;
        }

        int second = in.Get();
        if (second == EOF)
            return Skip::End;
        if (second == '/') {
            // Line comment. Its text (line end excluded) must stay under the
            // limit; a longer one fails the stream. The counter stops growing
            // past the limit so a huge line costs no memory.
            std::size_t length = 0;
            for (;;) {
                int d = in.Get();
                if (d == EOF || d == '\n')
                    break;
                if (++length >= kMaxLineCommentLength) {
                    in.Fail();
                    return Skip::End;
                }
            }
            continue;
        }
        if (second == '*') {
            // Block comment: the first '*' that may close it is one read after
            // the opening "/*", so "/*/" does not close it; "**/" does.
            bool lastWasStar = false;
            for (;;) {
                int d = in.Get();
                if (d == EOF)
                    return Skip::End;
                if (d == '/' && lastWasStar)
                    break;
                lastWasStar = (d == '*');
            }
            continue;
        }
        // A '/' and the character after it are dropped, and the next token
        // starts right there, even on a blank. If the file ends there, there
        // is no next token.
        int next = in.Get();
        if (next == EOF)
            return Skip::End;
        in.PutBack(next);
        return Skip::TokenFollows;
    }
}

enum class TokenResult { Complete, ReachedEnd, TooLong };

// Reads one token. ';' and '=' are one-character tokens; a quoted token runs
// to the next double quote (kept: the opening one; dropped: the closing one);
// a word runs to a blank (dropped), to ';' or '=' (left for the next token),
// or to the end of the file. The first character of a word is taken as it
// is, whatever it is: after "/x" a blank may start a word.
TokenResult ReadToken(CharSource& in, std::string& token)
{
    token.clear();
    int c = in.Get();
    if (c == EOF)
        return TokenResult::ReachedEnd;
    token.push_back(static_cast<char>(c));
    if (c == ';' || c == '=')
        return TokenResult::Complete;

    const bool quoted = (c == '"');
    for (;;) {
        c = in.Get();
        if (c == EOF)
            return TokenResult::ReachedEnd;
        if (quoted) {
            if (c == '"')
                return TokenResult::Complete;
        } else {
            if (IsBlank(c))
                return TokenResult::Complete;
            if (c == ';' || c == '=') {
                in.PutBack(c);
                return TokenResult::Complete;
            }
        }
        if (token.size() >= kMaxTokenLength)
            return TokenResult::TooLong;
        token.push_back(static_cast<char>(c));
    }
}

// ============================================================================
// 3. Values
// ============================================================================

// The "C" locale, made once: strtod follows the global locale, and a program
// that called setlocale(LC_ALL, "") in a French locale would read "45.0" as
// 45 and stop at the point.
locale_t CLocale()
{
    static locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return locale;
}

// Narrows a long to 32 bits the way a cast does on this platform: the value
// is kept modulo 2^32 (4294967296 gives 0, 0xFFFFFFFF gives -1). An integer
// beyond the range of long has already been clamped by strtol to LONG_MIN or
// LONG_MAX, which then narrow to 0 and -1.
std::int32_t WrapToInt32(long value)
{
    std::uint32_t bits = static_cast<std::uint32_t>(static_cast<unsigned long>(value));
    if (bits <= 0x7FFFFFFFu)
        return static_cast<std::int32_t>(bits);
    return static_cast<std::int32_t>(static_cast<std::int64_t>(bits) - INT64_C(0x100000000));
}

// Gives the value of a token, or false when it has no recognised form.
bool InterpretValue(const std::string& token, COptionEntry& entry)
{
    const char first = token[0];
    if (first == '"') {
        entry.kind = OPTION_TEXT;
        entry.text = token.substr(1);
        return true;
    }
    if ((first >= '0' && first <= '9') || first == '-') {
        // The longest valid beginning counts (12abc is 12); a token holding
        // no number at all ("-", "-x") gives no entry.
        const char* begin = token.c_str();
        char* end = nullptr;
        if (token.find('.') != std::string::npos) {
            locale_t c = CLocale();
            double value = c ? strtod_l(begin, &end, c) : std::strtod(begin, &end);
            if (end == begin)
                return false;
            entry.kind = OPTION_NUMBER;
            entry.isReal = true;
            entry.realValue = value;
            return true;
        }
        // Base 0 is the rule of "%li": 0x10 is 16, 010 is 8.
        long value = std::strtol(begin, &end, 0);
        if (end == begin)
            return false;
        entry.kind = OPTION_NUMBER;
        entry.isReal = false;
        entry.intValue = WrapToInt32(value);
        return true;
    }
    if (EqualsIgnoringAsciiCase(token, "true") || EqualsIgnoringAsciiCase(token, "false")) {
        entry.kind = OPTION_BOOL;
        entry.boolValue = EqualsIgnoringAsciiCase(token, "true");
        return true;
    }
    return false;
}

// ============================================================================
// 4. Statement reader
// ============================================================================

// Reads "name = value ;" statements to the end; true when the whole stream
// was valid.
bool ParseStatements(CharSource& in, std::vector<COptionEntry>& entries)
{
    std::string name, token;
    for (;;) {
        if (SkipBlanksAndComments(in) == Skip::End)
            return true;
        if (ReadToken(in, name) != TokenResult::Complete)
            return false;

        if (SkipBlanksAndComments(in) == Skip::End)
            return false;
        if (ReadToken(in, token) != TokenResult::Complete || token[0] != '=')
            return false;

        if (SkipBlanksAndComments(in) == Skip::End)
            return false;
        if (ReadToken(in, token) != TokenResult::Complete)
            return false;
        COptionEntry entry;
        if (InterpretValue(token, entry)) {
            entry.name = name;
            entries.push_back(std::move(entry));
        }

        if (SkipBlanksAndComments(in) == Skip::End)
            return false;
        TokenResult terminator = ReadToken(in, token);
        // A terminator that runs into the end of the file is accepted
        // whatever it holds: nothing can follow it.
        if (terminator == TokenResult::ReachedEnd)
            return true;
        if (terminator == TokenResult::TooLong || token[0] != ';')
            return false;
    }
}

}  // namespace

bool COptionsParser::ParseFileForVariable(FILE* stream, COptions* options)
{
    if (!stream) {
        LogError("COptionsParser::ParseFileForVariable -- Erreur : fichier invalide");
        return false;
    }
    if (!options) {
        LogError("COptionsParser::ParseFileForVariable -- Erreur : ensemble d'options absent");
        return false;
    }
    CharSource in(stream);
    const std::size_t before = options->m_Entries.size();
    if (ParseStatements(in, options->m_Entries))
        return true;
    // No entry of an invalid file remains, whoever the caller is.
    options->m_Entries.resize(before);
    return false;
}

std::optional<COptions> COptionsParser::ReadFile(const char* fileName)
{
    FILE* stream = fileName ? std::fopen(fileName, "r") : nullptr;
    COptions options;
    const bool valid = ParseFileForVariable(stream, &options);
    if (stream)
        std::fclose(stream);
    if (!valid)
        return std::nullopt;
    return options;
}

// ============================================================================
// 6. Lookups
// ============================================================================
//
// The first entry with the name decides; when its kind does not fit the
// lookup, the default is returned (later entries are not searched). Numbers
// convert between their integer and real forms.

const COptionEntry* COptions::Find(const char* name) const
{
    if (!name)
        return nullptr;
    for (const COptionEntry& entry : m_Entries)
        if (std::strcmp(entry.name.c_str(), name) == 0)
            return &entry;
    return nullptr;
}

namespace {

template <typename T>
T Answer(T value, T* out)
{
    if (out)
        *out = value;
    return value;
}

// A number entry as a double; false for any other kind.
bool NumberAsDouble(const COptionEntry* entry, double& value)
{
    if (!entry || entry->kind != OPTION_NUMBER)
        return false;
    value = entry->isReal ? entry->realValue : static_cast<double>(entry->intValue);
    return true;
}

}  // namespace

int COptions::GetInt(const char* name, int defaultValue, int* out) const
{
    const COptionEntry* entry = Find(name);
    if (!entry || entry->kind != OPTION_NUMBER)
        return Answer(defaultValue, out);
    if (!entry->isReal)
        return Answer(static_cast<int>(entry->intValue), out);
    // Truncated toward zero and clamped: converting an out-of-range double to
    // int is undefined behaviour.
    double value = entry->realValue;
    if (std::isnan(value))
        return Answer(defaultValue, out);
    if (value >= 2147483647.0)
        return Answer(static_cast<int>(INT32_MAX), out);
    if (value <= -2147483648.0)
        return Answer(static_cast<int>(INT32_MIN), out);
    return Answer(static_cast<int>(value), out);
}

double COptions::GetDouble(const char* name, double defaultValue, double* out) const
{
    double value = 0.0;
    if (!NumberAsDouble(Find(name), value))
        return Answer(defaultValue, out);
    return Answer(value, out);
}

float COptions::GetFloat(const char* name, float defaultValue, float* out) const
{
    double value = 0.0;
    if (!NumberAsDouble(Find(name), value))
        return Answer(defaultValue, out);
    // Beyond the float range the result is an infinity of the same sign,
    // stated here rather than left to an out-of-range conversion.
    if (value > FLT_MAX)
        return Answer(HUGE_VALF, out);
    if (value < -FLT_MAX)
        return Answer(-HUGE_VALF, out);
    return Answer(static_cast<float>(value), out);
}

bool COptions::GetBool(const char* name, bool defaultValue, bool* out) const
{
    const COptionEntry* entry = Find(name);
    if (entry && entry->kind == OPTION_BOOL)
        return Answer(entry->boolValue, out);
    // An integer reads as a boolean by its lowest byte: 1 is true, 0 false,
    // and 256 false.
    if (entry && entry->kind == OPTION_NUMBER && !entry->isReal)
        return Answer((entry->intValue & 0xFF) != 0, out);
    return Answer(defaultValue, out);
}

const char* COptions::GetString(const char* name, const char* defaultValue, const char** out) const
{
    const COptionEntry* entry = Find(name);
    if (!entry || entry->kind != OPTION_TEXT)
        return Answer(defaultValue, out);
    return Answer(entry->text.c_str(), out);
}
