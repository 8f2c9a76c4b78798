// A thousand records of a kind a minute: the minute starts at the kind's
// first record, what is held back is counted and handed back once, when the
// minute is over or at the close; kinds are counted apart.
#include "base/RecordLimiter.h"

#include <gtest/gtest.h>

namespace {

unsigned long Admitted(CRecordLimiter& limiter, const std::string& kind, int count, double now)
{
    unsigned long admitted = 0;
    for (int i = 0; i < count; ++i)
        admitted += limiter.Admit(kind, now);
    return admitted;
}

TEST(RecordLimiter, AThousandAMinuteThenTheRestCountedOnce)
{
    CRecordLimiter limiter;
    EXPECT_EQ(Admitted(limiter, "a %s", 1000, 10.0), 1000u);
    EXPECT_EQ(Admitted(limiter, "a %s", 5, 30.0), 0u);
    EXPECT_EQ(Admitted(limiter, "b %d", 3, 30.0), 3u) << "another kind is counted apart";
    EXPECT_TRUE(limiter.Expired(69.9).empty()) << "the minute started at the first record";

    const auto expired = limiter.Expired(70.0);
    ASSERT_EQ(expired.size(), 1u);
    EXPECT_EQ(expired[0].kind, "a %s");
    EXPECT_EQ(expired[0].count, 5u);
    EXPECT_TRUE(limiter.Expired(70.0).empty()) << "handed back once";
    EXPECT_EQ(Admitted(limiter, "a %s", 1000, 70.0), 1000u) << "a new minute";
}

TEST(RecordLimiter, TakeAllHandsBackWhatIsHeldAtTheClose)
{
    CRecordLimiter limiter;
    Admitted(limiter, "a %s", 1003, 0.0);
    Admitted(limiter, "b %d", 10, 0.0);
    const auto held = limiter.TakeAll();
    ASSERT_EQ(held.size(), 1u);
    EXPECT_EQ(held[0].kind, "a %s");
    EXPECT_EQ(held[0].count, 3u);
    EXPECT_TRUE(limiter.TakeAll().empty());
}

}  // namespace
