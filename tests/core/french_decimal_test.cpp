// Numbers written and read with a French decimal comma.
#include "base/FrenchDecimal.h"

#include <gtest/gtest.h>

namespace {

TEST(FormatDecimal, CommaAsDecimalPoint)
{
    struct Case {
        double value;
        int digits;
        const char* expected;
    };
    const Case cases[] = {
        {43.21, 1, "43,2"}, {-0.05, 2, "-0,05"}, {4739.2, 2, "4739,20"}, {12.0, 0, "12"},     {1e6, 1, "1000000,0"},
        {-0.0, 2, "0,00"},  {-0.004, 2, "0,00"}, {-0.4, 0, "0"},         {-1e-9, 3, "0,000"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatDecimal(c.value, c.digits), c.expected) << c.value;
}

TEST(FormatShortDecimal, AsFewDigitsAsNeeded)
{
    const struct {
        double value;
        const char* expected;
    } cases[] = {{190, "190"}, {-180, "-180"},         {-0.5, "-0,5"},
                 {-0.0, "0"},  {12.345678, "12,3457"}, {1.25e6, "1,25e+06"}};
    for (const auto& c : cases)
        EXPECT_EQ(FormatShortDecimal(c.value), c.expected) << c.value;
}

TEST(ParseDecimal, CommaOrPointAndNothingElse)
{
    struct Case {
        const char* text;
        bool ok;
        double value;
    };
    const Case cases[] = {
        {"12,5", true, 12.5}, {"12.5", true, 12.5},  {" -3,25 ", true, -3.25}, {"1e3", true, 1000.0},
        {"0x10", true, 16.0}, {",5", true, 0.5},     {"7", true, 7.0},         {"12abc", false, 0},
        {"1,2,3", false, 0},  {"1,000.5", false, 0}, {"", false, 0},           {"  ", false, 0},
        {"abc", false, 0},    {"nan", false, 0},     {"-inf", false, 0},       {"1e999", false, 0},
        {"12 5", false, 0},
    };
    for (const Case& c : cases) {
        double value = -1;
        EXPECT_EQ(ParseDecimal(c.text, &value), c.ok) << "[" << c.text << "]";
        if (c.ok)
            EXPECT_DOUBLE_EQ(value, c.value) << "[" << c.text << "]";
        else
            EXPECT_EQ(value, -1) << "untouched on refusal: [" << c.text << "]";
    }
}

}  // namespace
