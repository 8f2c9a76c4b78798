// Lines out of a byte stream (see LineFramer.h).
#include "command/LineFramer.h"

#include <algorithm>
#include <cstring>

void CLineFramer::Feed(const char* bytes, std::size_t length)
{
    if (m_bDropping) {
        const void* end = std::memchr(bytes, '\n', length);
        if (!end)
            return;
        const std::size_t dropped = static_cast<std::size_t>(static_cast<const char*>(end) - bytes) + 1;
        bytes += dropped;
        length -= dropped;
        m_bDropping = false;
    }
    // Taken lines are let go before the buffer grows, not on every take:
    // erasing the front of a buffer of many short lines each time would be
    // quadratic.
    if (m_iStart > 0 && m_iStart >= m_Buffer.size() / 2) {
        m_Buffer.erase(0, m_iStart);
        m_iScan -= m_iStart;
        m_iStart = 0;
    }
    m_Buffer.append(bytes, length);
}

CLineFramer::Next CLineFramer::Take(std::string* line)
{
    const std::size_t end = m_Buffer.find('\n', std::max(m_iScan, m_iStart));
    if (end != std::string::npos) {
        const std::size_t start = m_iStart;
        std::size_t length = end - start;
        if (length > 0 && m_Buffer[end - 1] == '\r')
            --length;
        m_iStart = m_iScan = end + 1;
        if (length > m_iMaxLine)
            return Next::TooLong;
        line->assign(m_Buffer, start, length);
        return Next::Line;
    }
    m_iScan = m_Buffer.size();
    std::size_t pending = m_Buffer.size() - m_iStart;
    // A CR at the end may be the first half of a CR LF: it does not count
    // until the next byte says whether it belongs to the line.
    const bool lastIsCr = pending > 0 && m_Buffer.back() == '\r';
    if (lastIsCr)
        --pending;
    if (m_bEnded && (pending > 0 || lastIsCr)) {
        const bool fits = pending <= m_iMaxLine;
        if (fits)
            line->assign(m_Buffer, m_iStart, pending);
        m_Buffer.clear();
        m_iStart = m_iScan = 0;
        return fits ? Next::Line : Next::TooLong;
    }
    if (pending <= m_iMaxLine)
        return Next::None;
    m_Buffer.clear();
    m_iStart = m_iScan = 0;
    m_bDropping = true;
    return Next::TooLong;
}

bool CLineFramer::Unfinished() const
{
    if (m_bDropping)
        return true;
    const std::size_t lastEnd = m_Buffer.rfind('\n');
    const std::size_t tail = lastEnd == std::string::npos || lastEnd < m_iStart ? m_iStart : lastEnd + 1;
    return tail < m_Buffer.size();
}
