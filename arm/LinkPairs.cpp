#include "arm/LinkPairs.h"

#include <sstream>

namespace {

// "Body, Shoulder, ..., Hand".
std::string StemList()
{
    std::string list;
    for (const char* stem : kLinkNames)
        list += (list.empty() ? "" : ", ") + std::string(stem);
    return list;
}

}  // namespace

bool AdjacentLinks(int a, int b)
{
    return a - b == 1 || b - a == 1;
}

void CLinkPairs::Add(int a, int b)
{
    m_Rows[a] |= 1u << b;
    m_Rows[b] |= 1u << a;
}

bool CLinkPairs::Empty() const
{
    for (unsigned row : m_Rows)
        if (row)
            return false;
    return true;
}

bool CLinkPairs::operator==(const CLinkPairs& other) const
{
    for (int link = 0; link < kLinkCount; ++link)
        if (m_Rows[link] != other.m_Rows[link])
            return false;
    return true;
}

void CLinkPairs::Intersect(const CLinkPairs& other)
{
    for (int link = 0; link < kLinkCount; ++link)
        m_Rows[link] &= other.m_Rows[link];
}

int LinkIndex(const std::string& stem)
{
    for (int link = 0; link < kLinkCount; ++link)
        if (stem == kLinkNames[link])
            return link;
    return -1;
}

std::string FormatLinkPairs(const CLinkPairs& pairs)
{
    std::string text;
    for (int a = 0; a < kLinkCount; ++a)
        for (int b = a + 1; b < kLinkCount; ++b)
            if (pairs.Has(a, b))
                text += (text.empty() ? "" : " ") + std::string(kLinkNames[a]) + ":" + kLinkNames[b];
    return text;
}

CLinkPairs ParseLinkPairs(const std::string& text, std::vector<std::string>* refused)
{
    CLinkPairs pairs;
    std::istringstream entries(text);
    std::string entry;
    while (entries >> entry) {
        const std::size_t colon = entry.find(':');
        const int a = colon == std::string::npos ? -1 : LinkIndex(entry.substr(0, colon));
        const int b = colon == std::string::npos ? -1 : LinkIndex(entry.substr(colon + 1));
        if (a >= 0 && b >= 0 && a != b)
            pairs.Add(a, b);
        else if (refused)
            refused->push_back("« " + entry + " » n'est pas une paire de segments (" + StemList() +
                               ") : entrée ignorée");
    }
    return pairs;
}
