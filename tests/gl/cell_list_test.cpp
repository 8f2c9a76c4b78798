// The panel's list of the cell's objects, as drawn on a canvas: a row per
// object in the order given, its name and its kind in French, its box
// ticked while it is shown, its colour's square, the text red while the arm
// touches it and grey while it is hidden; a click on a row naming its
// object, and the canvas as high as its rows.
#include "panel/CellList.h"
#include "tests/gl/RecordingPainter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::vector<CellRow> kRows = {
    {"table", ObjectKind::Box, "#a0a0a0", true, false},
    {"axe", ObjectKind::Cylinder, "#3060ff", true, true},
    {"boule", ObjectKind::Sphere, "#ff8000", false, false},
    {"piece", ObjectKind::Mesh, "#00c000", false, true},
};

// The texts drawn on one row, left to right.
std::vector<RecordingPainter::Words> Row(const RecordingPainter& p, int row)
{
    std::vector<RecordingPainter::Words> words;
    for (const RecordingPainter::Words& w : p.texts)
        if (w.y >= row * kCellRowHeight && w.y < (row + 1) * kCellRowHeight)
            words.push_back(w);
    std::sort(words.begin(), words.end(), [](const auto& a, const auto& b) { return a.x < b.x; });
    return words;
}

// The tick: the one polyline of three points drawn within a row.
bool Ticked(const RecordingPainter& p, int row)
{
    for (const RecordingPainter::Curve& c : p.curves)
        if (c.Count() == 3 && c.xy[1] >= row * kCellRowHeight && c.xy[1] < (row + 1) * kCellRowHeight)
            return true;
    return false;
}

// The colour of the square filled in a row: its lines' colour.
GLUI_Colour Square(const RecordingPainter& p, int row)
{
    for (const RecordingPainter::Segment& s : p.lines)
        if (s.y0 >= row * kCellRowHeight && s.y0 < (row + 1) * kCellRowHeight)
            return s.colour;
    return GLUI_Colour{0, 0, 0, 0};
}

TEST(CellList, ARowPerObjectWithItsKindItsStateAndItsColour)
{
    RecordingPainter p;
    DrawCellList(p, 260, CellListHeight(kRows), kRows);
    const char* const kinds[] = {"boîte", "cylindre", "sphère", "maillage"};
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        SCOPED_TRACE(kRows[i].name);
        const int row = static_cast<int>(i);
        const std::vector<RecordingPainter::Words> words = Row(p, row);
        ASSERT_EQ(words.size(), 2u);
        EXPECT_EQ(words[0].text, kRows[i].name);
        EXPECT_EQ(words[1].text, kinds[i]);
        EXPECT_EQ(Ticked(p, row), kRows[i].shown);
        for (const RecordingPainter::Words& w : words) {
            EXPECT_EQ(IsRed(w.colour), kRows[i].touching) << w.text;
            // Hidden and untouched: grey and dim; shown: light.
            if (!kRows[i].touching) {
                EXPECT_EQ(w.colour.r < 0.6f, !kRows[i].shown) << w.text;
            }
        }
    }
    // The kinds in one column, after the longest name.
    for (int row = 1; row < 4; ++row)
        EXPECT_EQ(Row(p, row)[1].x, Row(p, 0)[1].x);
    EXPECT_GE(Row(p, 0)[1].x, Row(p, 0)[0].x + RecordingPainter::Width("boule"));
    // Each square in its object's colour: #3060ff.
    const GLUI_Colour blue = Square(p, 1);
    EXPECT_NEAR(blue.r, 0x30 / 255.0, 1e-6);
    EXPECT_NEAR(blue.g, 0x60 / 255.0, 1e-6);
    EXPECT_NEAR(blue.b, 1.0, 1e-6);
}

TEST(CellList, WithoutObjectsItSaysSo)
{
    RecordingPainter p;
    DrawCellList(p, 260, CellListHeight({}), {});
    ASSERT_EQ(p.texts.size(), 1u);
    EXPECT_EQ(p.texts[0].text, "Aucun objet (commande object).");
    EXPECT_EQ(CellListHeight({}), kCellRowHeight) << "one line";
    EXPECT_EQ(CellListHeight(kRows), 4 * kCellRowHeight);
}

TEST(CellList, AClickNamesTheObjectOfItsRow)
{
    const struct {
        int y;
        const char* name;
    } clicks[] = {{0, "table"}, {kCellRowHeight - 1, "table"}, {kCellRowHeight, "axe"}, {3 * kCellRowHeight, "piece"},
                  {-1, ""},     {4 * kCellRowHeight, ""}};
    for (const auto& c : clicks)
        EXPECT_EQ(CellObjectAt(kRows, c.y), c.name) << c.y;
    EXPECT_EQ(CellObjectAt({}, 5), "");
}

}  // namespace
