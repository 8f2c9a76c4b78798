#pragma once
// Cuts a byte stream into lines, whatever sizes the bytes arrive in: the
// same lines come out of one large read as out of reads of one byte. Pure:
// the port's clients and the script reader feed it.
//
// A line ends with LF or CR LF; its length limit counts the line without
// that end, so a CR waiting for its LF in the next read never tips a full
// line over the limit. A line past the limit is reported once, in its place
// among the others, and its bytes are dropped up to its end, so that memory
// stays bounded by the limit whatever comes.
#include <cstddef>
#include <string>

class CLineFramer {
public:
    enum class Next {
        Line,     // *line holds the next line, without its end
        TooLong,  // the next line was longer than the limit; it is dropped
        None,     // no complete line yet
    };

    explicit CLineFramer(std::size_t maxLine) : m_iMaxLine(maxLine) {}

    void Feed(const char* bytes, std::size_t length);
    // No more bytes will come: what is left, even without its end, is the
    // last line. A stream that is cut off instead simply stops feeding.
    void EndOfInput() { m_bEnded = true; }
    Next Take(std::string* line);

    // Bytes kept: complete lines not yet taken and the unfinished one.
    std::size_t Buffered() const { return m_Buffer.size() - m_iStart; }
    // Part of a line has come and not its end.
    bool Unfinished() const;

private:
    const std::size_t m_iMaxLine;
    std::string m_Buffer;
    std::size_t m_iStart = 0;  // where the lines not yet taken begin
    std::size_t m_iScan = 0;   // no LF between m_iStart and here
    bool m_bDropping = false;  // inside a line past the limit, up to its LF
    bool m_bEnded = false;
};
