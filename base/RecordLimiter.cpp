// Records of one kind, limited per minute (see RecordLimiter.h).
#include "base/RecordLimiter.h"

#include <algorithm>

bool CRecordLimiter::Admit(const std::string& kind, double now)
{
    auto found = std::find_if(m_Kinds.begin(), m_Kinds.end(), [&](const Kind& k) { return k.kind == kind; });
    if (found == m_Kinds.end()) {
        m_Kinds.push_back(Kind{kind, now, 1, 0});
        return true;
    }
    if (found->written < kMaxRecordsPerKind) {
        ++found->written;
        return true;
    }
    ++found->dropped;
    return false;
}

std::vector<CRecordLimiter::Dropped> CRecordLimiter::Expired(double now)
{
    std::vector<Dropped> expired;
    const auto over = [&](const Kind& k) {
        if (now - k.since < kRecordWindowSeconds)
            return false;
        if (k.dropped > 0)
            expired.push_back(Dropped{k.kind, k.dropped});
        return true;
    };
    m_Kinds.erase(std::remove_if(m_Kinds.begin(), m_Kinds.end(), over), m_Kinds.end());
    return expired;
}

std::vector<CRecordLimiter::Dropped> CRecordLimiter::TakeAll()
{
    std::vector<Dropped> all;
    for (Kind& k : m_Kinds)
        if (k.dropped > 0) {
            all.push_back(Dropped{k.kind, k.dropped});
            k.dropped = 0;
        }
    return all;
}
