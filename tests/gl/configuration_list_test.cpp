// The panel's list of the configurations of the arm's pose, as drawn on a
// canvas: the header, a row per configuration with its number and posture,
// the arm's own marked with ">" and highlighted, those outside the joint
// limits in red, and a click on a row giving that row's number.
#include "panel/ConfigurationList.h"
#include "tests/gl/RecordingPainter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 300;

ArmConfiguration Configuration(int number, bool back, ElbowBend elbow, bool flipped, bool within, bool current)
{
    ArmConfiguration c{};
    c.number = number;
    c.posture = {back, elbow, flipped};
    c.withinLimits = within;
    c.current = current;
    return c;
}

// Three of a pose's configurations, numbered as kalimbrax-kin numbers them
// (not 1, 2, 3): the arm holds the second, the third leaves the limits.
std::vector<ArmConfiguration> ThreeConfigurations()
{
    return {Configuration(2, false, ElbowBend::Up, false, true, false),
            Configuration(5, true, ElbowBend::Down, true, true, true),
            Configuration(7, true, ElbowBend::Down, false, false, false)};
}

// The texts drawn on one row (the header is row 0), left to right.
std::vector<RecordingPainter::Words> Row(const RecordingPainter& p, int row)
{
    std::vector<RecordingPainter::Words> words;
    for (const RecordingPainter::Words& w : p.texts)
        if (w.y >= row * kConfigurationRowHeight && w.y < (row + 1) * kConfigurationRowHeight)
            words.push_back(w);
    std::sort(words.begin(), words.end(), [](const auto& a, const auto& b) { return a.x < b.x; });
    return words;
}

std::vector<std::string> TextsOf(const std::vector<RecordingPainter::Words>& words)
{
    std::vector<std::string> texts;
    for (const auto& w : words)
        texts.push_back(w.text);
    return texts;
}

TEST(ConfigurationList, APoseOutOfReachSaysSo)
{
    RecordingPainter p;
    DrawConfigurationList(p, kWidth, kConfigurationListHeight, {});
    ASSERT_EQ(p.texts.size(), 1u);
    EXPECT_EQ(p.texts[0].text, "Pose hors d'atteinte.");
    EXPECT_TRUE(p.lines.empty());
}

TEST(ConfigurationList, EachRowSaysItsNumberAndPostureInColumns)
{
    RecordingPainter p;
    DrawConfigurationList(p, kWidth, kConfigurationListHeight, ThreeConfigurations());
    EXPECT_EQ(TextsOf(Row(p, 0)), (std::vector<std::string>{"  N°", "Vers", "Coude", "Poignet"}));
    EXPECT_EQ(TextsOf(Row(p, 1)), (std::vector<std::string>{"  2", "avant", "en haut", "non retourné"}));
    EXPECT_EQ(TextsOf(Row(p, 2)), (std::vector<std::string>{"> 5", "arrière", "en bas", "retourné"}));
    EXPECT_EQ(TextsOf(Row(p, 3)),
              (std::vector<std::string>{"  7", "arrière", "en bas", "non retourné (hors limites)"}));
    EXPECT_TRUE(Row(p, 4).empty());
    // Columns start at the same place on every row, and no word runs into
    // the next column.
    for (int row = 0; row <= 3; ++row) {
        const auto words = Row(p, row);
        for (std::size_t column = 0; column < words.size(); ++column) {
            EXPECT_EQ(words[column].x, Row(p, 0)[column].x) << "row " << row << ", column " << column;
            if (column + 1 < words.size()) {
                EXPECT_LT(words[column].Right(), words[column + 1].x) << words[column].text;
            }
        }
    }
}

TEST(ConfigurationList, TheArmsOwnIsMarkedAndThoseOutsideTheLimitsAreRed)
{
    RecordingPainter p;
    DrawConfigurationList(p, kWidth, kConfigurationListHeight, ThreeConfigurations());
    for (int row = 1; row <= 3; ++row)
        for (const auto& w : Row(p, row))
            EXPECT_EQ(IsRed(w.colour), row == 3) << w.text;
    for (const auto& w : Row(p, 0))
        EXPECT_TRUE(IsGrey(w.colour)) << w.text;
    // Only the arm's own row, the second, is highlighted, across the canvas.
    ASSERT_FALSE(p.lines.empty());
    for (const auto& line : p.lines) {
        EXPECT_GT(line.y0, 2 * kConfigurationRowHeight);
        EXPECT_LT(line.y0, 3 * kConfigurationRowHeight);
        EXPECT_EQ(line.x0, 0);
        EXPECT_EQ(line.x1, kWidth);
    }
}

TEST(ConfigurationList, AClickOnARowGivesItsConfigurationsNumber)
{
    const std::vector<ArmConfiguration> list = ThreeConfigurations();
    RecordingPainter p;
    DrawConfigurationList(p, kWidth, kConfigurationListHeight, list);
    // Where a person clicks on a number drawn, that number comes back.
    for (int row = 1; row <= 3; ++row) {
        const auto number = Row(p, row)[0];
        const int y = static_cast<int>(number.y + RecordingPainter::kTextHeight / 2);
        EXPECT_EQ(ConfigurationAt(list, y), std::stoi(number.text.substr(2))) << number.text;
    }
    struct Case {
        int y;
        int number;
    };
    const Case cases[] = {
        {-1, 0},
        {0, 0},
        {kConfigurationRowHeight - 1, 0},  // the header
        {kConfigurationRowHeight, 2},
        {2 * kConfigurationRowHeight - 1, 2},
        {2 * kConfigurationRowHeight, 5},
        {4 * kConfigurationRowHeight - 1, 7},
        {4 * kConfigurationRowHeight, 0},  // under the last row
        {kConfigurationListHeight + 50, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ConfigurationAt(list, c.y), c.number) << "y " << c.y;
    EXPECT_EQ(ConfigurationAt({}, kConfigurationRowHeight + 1), 0);
}

}  // namespace
