// Pairs of links as robot.opt writes them: read, written back in chain
// order, and what is not a pair of links refused with the reason.
#include "arm/LinkPairs.h"

#include <gtest/gtest.h>

TEST(LinkPairs, ReadAndWrittenBack)
{
    const struct {
        const char* text;
        const char* written;
        std::vector<std::string> refused;
    } cases[] = {
        {"", "", {}},
        {"Body:UpperArm", "Body:UpperArm", {}},
        {"  Elbow:Shoulder\tUpperArm:Body  Body:UpperArm ", "Body:UpperArm Shoulder:Elbow", {}},
        {"Body:Arm Hand Hand:Hand body:Elbow Body:Elbow:Hand Wrist:Hand",
         "Wrist:Hand",
         {"« Body:Arm » n'est pas une paire de segments (Body, Shoulder, UpperArm, Elbow, LowerArm, Wrist, Hand) : "
          "entrée ignorée",
          "« Hand » n'est pas une paire de segments (Body, Shoulder, UpperArm, Elbow, LowerArm, Wrist, Hand) : "
          "entrée ignorée",
          "« Hand:Hand » n'est pas une paire de segments (Body, Shoulder, UpperArm, Elbow, LowerArm, Wrist, Hand) : "
          "entrée ignorée",
          "« body:Elbow » n'est pas une paire de segments (Body, Shoulder, UpperArm, Elbow, LowerArm, Wrist, Hand) : "
          "entrée ignorée",
          "« Body:Elbow:Hand » n'est pas une paire de segments (Body, Shoulder, UpperArm, Elbow, LowerArm, Wrist, "
          "Hand) : entrée ignorée"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<std::string> refused;
        const CLinkPairs pairs = ParseLinkPairs(c.text, &refused);
        EXPECT_EQ(FormatLinkPairs(pairs), c.written);
        EXPECT_EQ(refused, c.refused);
        EXPECT_EQ(ParseLinkPairs(FormatLinkPairs(pairs)), pairs);
    }
}

TEST(LinkPairs, AreUnorderedAndIntersect)
{
    CLinkPairs a, b;
    a.Add(4, 0);
    a.Add(2, 5);
    b.Add(0, 4);
    EXPECT_TRUE(a.Has(0, 4) && a.Has(4, 0) && a.Has(5, 2));
    EXPECT_FALSE(a.Has(0, 2));
    a.Intersect(b);
    EXPECT_EQ(a, b);
    b.Intersect(CLinkPairs());
    EXPECT_TRUE(b.Empty());
    EXPECT_TRUE(AdjacentLinks(3, 2) && AdjacentLinks(0, 1));
    EXPECT_FALSE(AdjacentLinks(0, 2) || AdjacentLinks(4, 4));
}
