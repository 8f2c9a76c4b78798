// The panel's list of taught points, as drawn on its canvas: a row per
// point in the order given, its name, an "Aller" and a "Ligne" key; a name
// too long for its room cut before the keys; a line that says how to store
// one when there is none; a click naming the point and the move under it,
// and the canvas as high as its rows.
#include "panel/PointList.h"
#include "tests/gl/RecordingPainter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::vector<std::string> kPoints = {"P1", "approche_pièce", "un-nom-bien-trop-long-pour-sa-place-0123456789"};

// The texts drawn on one row, left to right.
std::vector<std::string> Row(const RecordingPainter& p, int row)
{
    std::vector<RecordingPainter::Words> words;
    for (const RecordingPainter::Words& w : p.texts)
        if (w.y >= row * kKeyRowHeight && w.y < (row + 1) * kKeyRowHeight)
            words.push_back(w);
    std::sort(words.begin(), words.end(), [](const auto& a, const auto& b) { return a.x < b.x; });
    std::vector<std::string> texts;
    for (const RecordingPainter::Words& w : words)
        texts.push_back(w.text);
    return texts;
}

TEST(PointList, ARowPerPointWithItsTwoMoves)
{
    RecordingPainter p;
    DrawPointList(p, kPoints);
    EXPECT_EQ(Row(p, 0), (std::vector<std::string>{"P1", "Aller", "Ligne"}));
    EXPECT_EQ(Row(p, 1), (std::vector<std::string>{"approche_pièce", "Aller", "Ligne"}));
    const std::vector<std::string> cut = Row(p, 2);
    ASSERT_EQ(cut.size(), 3u);
    EXPECT_EQ(cut[0].substr(0, 10), "un-nom-bie");
    EXPECT_EQ(cut[0].substr(cut[0].size() - 3), "...");
    for (const RecordingPainter::Words& w : p.texts)
        if (w.x < kFirstKeyX) {
            EXPECT_LT(w.Right(), kFirstKeyX) << w.text;
        }
    EXPECT_EQ(PointListHeight(kPoints.size()), 3 * kKeyRowHeight);
}

TEST(PointList, WithoutPointsOneLineSaysHowToStoreOne)
{
    RecordingPainter p;
    DrawPointList(p, {});
    ASSERT_EQ(p.texts.size(), 1u);
    EXPECT_EQ(p.texts[0].text, "Aucun point (bouton ci-dessus ou commande point).");
    EXPECT_TRUE(IsGrey(p.texts[0].colour));
    EXPECT_EQ(PointListHeight(0), kKeyRowHeight);
    EXPECT_EQ(PointClickAt({}, kFirstKeyX + 5, 5).name, "");
}

TEST(PointList, AClickNamesThePointAndTheMove)
{
    struct Case {
        int x, y;
        const char* name;
        bool line;
    };
    const int middle = kKeyRowHeight / 2;
    const Case cases[] = {
        {kFirstKeyX + 5, middle, "P1", false},
        {kSecondKeyX + 5, middle, "P1", true},
        {kSecondKeyX + 5, kKeyRowHeight + middle, "approche_pièce", true},
        {kFirstKeyX + 5, 2 * kKeyRowHeight + middle, kPoints[2].c_str(), false},
        {10, middle, "", false},                                  // the name
        {kFirstKeyX + 5, 3 * kKeyRowHeight + middle, "", false},  // under the last row
    };
    for (const Case& c : cases) {
        const PointClick click = PointClickAt(kPoints, c.x, c.y);
        EXPECT_EQ(click.name, c.name) << c.x << ", " << c.y;
        if (*c.name) {
            EXPECT_EQ(click.line, c.line) << c.x << ", " << c.y;
        }
    }
}

}  // namespace
