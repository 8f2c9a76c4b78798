#include "sim/TaughtPoints.h"

#include <algorithm>

const TaughtPoint* CTaughtPoints::Find(const std::string& name) const
{
    const auto found =
        std::find_if(m_Points.begin(), m_Points.end(), [&](const TaughtPoint& p) { return p.name == name; });
    return found == m_Points.end() ? nullptr : &*found;
}

void CTaughtPoints::Store(const std::string& name, const JointAngles& angles)
{
    for (TaughtPoint& point : m_Points)
        if (point.name == name) {
            point.angles = angles;
            return;
        }
    m_Points.push_back({name, angles});
}

bool CTaughtPoints::Remove(const std::string& name)
{
    const auto found =
        std::find_if(m_Points.begin(), m_Points.end(), [&](const TaughtPoint& p) { return p.name == name; });
    if (found == m_Points.end())
        return false;
    m_Points.erase(found);
    return true;
}

std::string CTaughtPoints::NextFreeName() const
{
    // Among n points one of P1 ... P(n+1) is free.
    for (std::size_t n = 1;; ++n) {
        const std::string name = "P" + std::to_string(n);
        if (!Find(name))
            return name;
    }
}
