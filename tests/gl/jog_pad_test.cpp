// The jog pad as drawn on its canvas: a row per axis with its name, a - and
// a + key drawn as signs (no glyph a font may lack), the key held drawn
// pressed and no other; a click names the key under it and nothing between
// keys, beside them or under the last row.
#include "panel/JogPad.h"
#include "tests/gl/RecordingPainter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kNames[kJogAxes] = {"A12 base",       "A23 épaule",  "A34 coude",
                                      "A45 avant-bras", "A56 poignet", "A67 main"};

// The fill of a key: the colour of its first line across, at its middle.
GLUI_Colour Fill(const RecordingPainter& p, JogKey key)
{
    const float x = static_cast<float>(key.direction < 0 ? kFirstKeyX : kSecondKeyX) + 1;
    const float y = static_cast<float>(key.axis * kKeyRowHeight + kKeyRowHeight / 2);
    for (const RecordingPainter::Segment& s : p.lines)
        if (s.y0 == s.y1 && s.x0 <= x && s.x1 >= x && s.y0 > y - 1 && s.y0 <= y)
            return s.colour;
    ADD_FAILURE() << "no fill at " << key.axis << " " << key.direction;
    return GLUI_Colour{};
}

TEST(JogPad, ARowPerAxisWithItsNameAndTwoKeys)
{
    RecordingPainter p;
    DrawJogPad(p, kNames, JogKey{});
    ASSERT_EQ(p.texts.size(), static_cast<std::size_t>(kJogAxes)) << "the names, and no glyph for the signs";
    for (int axis = 0; axis < kJogAxes; ++axis) {
        EXPECT_EQ(p.texts[axis].text, kNames[axis]);
        EXPECT_GE(p.texts[axis].y, axis * kKeyRowHeight);
        EXPECT_LT(p.texts[axis].y + RecordingPainter::kTextHeight, (axis + 1) * kKeyRowHeight);
        EXPECT_LT(p.texts[axis].Right(), kFirstKeyX);
    }
    // The signs: thick lines, one across each key and one down each +.
    int across = 0, down = 0;
    for (const RecordingPainter::Segment& s : p.lines)
        if (s.thickness == 2.0f)
            (s.y0 == s.y1 ? across : down) += 1;
    EXPECT_EQ(across, 2 * kJogAxes);
    EXPECT_EQ(down, kJogAxes);
}

TEST(JogPad, OnlyTheKeyHeldIsDrawnPressed)
{
    const JogKey held{3, +1};
    RecordingPainter p;
    DrawJogPad(p, kNames, held);
    const GLUI_Colour raised = Fill(p, JogKey{0, -1});
    for (int axis = 0; axis < kJogAxes; ++axis)
        for (int direction : {-1, +1}) {
            const JogKey key{axis, direction};
            EXPECT_EQ(SameColour(Fill(p, key), raised), key != held) << axis << " " << direction;
        }
}

TEST(JogPad, AClickNamesTheKeyUnderIt)
{
    struct Case {
        int x, y;
        JogKey key;
    };
    const int middle = kKeyRowHeight / 2;
    const Case cases[] = {
        {kFirstKeyX + 1, middle, {0, -1}},
        {kSecondKeyX + kKeyWidth - 1, middle, {0, +1}},
        {kFirstKeyX + 30, 4 * kKeyRowHeight + middle, {4, -1}},
        {kSecondKeyX + 30, 5 * kKeyRowHeight + middle, {5, +1}},
        {20, middle, {}},                               // the name
        {kFirstKeyX + kKeyWidth + 2, middle, {}},       // between the keys
        {kSecondKeyX + kKeyWidth, middle, {}},          // right of them
        {kFirstKeyX + 30, kKeyRowHeight, {}},           // the margin between two rows
        {kFirstKeyX + 30, kJogPadHeight + middle, {}},  // under the last row
        {kFirstKeyX + 30, -middle, {}},                 // above the first
    };
    for (const Case& c : cases) {
        const JogKey key = JogKeyAt(c.x, c.y);
        EXPECT_EQ(key.axis, c.key.axis) << c.x << ", " << c.y;
        EXPECT_EQ(key.direction, c.key.direction) << c.x << ", " << c.y;
    }
}

}  // namespace
