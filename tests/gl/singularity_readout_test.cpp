// The panel's readout of the arm's singularities, as drawn on a canvas: four
// rows, each name with its value in French decimals, orange where the
// measure is under the threshold a planned move keeps clear of.
#include "panel/SingularityReadout.h"
#include "tests/gl/RecordingPainter.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr double kShoulderThreshold = 20.0;  // pose units

// Far from every singularity.
constexpr SingularityMeasures kClear = {45.0, 30.0, 300.0, 0.8};

TEST(SingularityReadout, EachMeasureTurnsOrangeUnderItsThreshold)
{
    struct Case {
        const char* what;
        SingularityMeasures m;
        bool near[4];  // wrist, elbow, shoulder, manipulability
    };
    const Case cases[] = {
        {"clear", kClear, {false, false, false, false}},
        {"wrist under 2 degrees", {1.5, 30.0, 300.0, 0.8}, {true, false, false, false}},
        {"wrist at 2 degrees", {2.0, 30.0, 300.0, 0.8}, {false, false, false, false}},
        // The manipulability measures the position's losses: the elbow's
        // and the shoulder's, not the wrist's.
        {"elbow under 2 degrees", {45.0, 1.0, 300.0, 0.01}, {false, true, false, true}},
        {"shoulder under its threshold", {45.0, 30.0, 19.5, 0.05}, {false, false, true, true}},
        {"shoulder at its threshold", {45.0, 30.0, 20.0, 0.05}, {false, false, false, false}},
        {"all at once", {0.0, 0.0, 0.0, 0.0}, {true, true, true, true}},
    };
    for (const Case& c : cases) {
        SingularityRow rows[4];
        SingularityRows(c.m, kShoulderThreshold, rows);
        RecordingPainter p;
        DrawSingularityReadout(p, c.m, kShoulderThreshold);
        ASSERT_EQ(p.texts.size(), 8u) << c.what;
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(rows[i].near, c.near[i]) << c.what << ", row " << i;
            // Name and value alike.
            for (const RecordingPainter::Words& w : {p.texts[2 * i], p.texts[2 * i + 1]})
                EXPECT_EQ(IsOrange(w.colour), c.near[i]) << c.what << ": " << w.text;
        }
    }
}

TEST(SingularityReadout, FourRowsOfNamesAndFrenchValuesInTwoColumns)
{
    const SingularityMeasures m = {1.26, 32.5, 212.34, 0.456};
    RecordingPainter p;
    DrawSingularityReadout(p, m, kShoulderThreshold);
    ASSERT_EQ(p.texts.size(), 8u);
    const char* const names[4] = {"Poignet |A56|", "Coude", "Épaule", "Manipulabilité"};
    const char* const values[4] = {"1,3°", "32,5°", "212,3", "0,46"};
    float widest = 0;
    for (const char* name : names)
        widest = std::max(widest, RecordingPainter::Width(name));
    for (int i = 0; i < 4; ++i) {
        const RecordingPainter::Words& name = p.texts[2 * i];
        const RecordingPainter::Words& value = p.texts[2 * i + 1];
        EXPECT_EQ(name.text, names[i]);
        EXPECT_EQ(value.text, values[i]);
        EXPECT_EQ(name.x, 0);
        EXPECT_GT(value.x, widest) << "the values in a column after the longest name";
        EXPECT_EQ(value.x, p.texts[1].x);
        EXPECT_EQ(value.y, name.y);
        // Top to bottom, within the readout's height.
        EXPECT_GE(name.y, 0);
        EXPECT_LE(name.y + RecordingPainter::kTextHeight, kSingularityReadoutHeight);
        if (i > 0) {
            EXPECT_GE(name.y, p.texts[2 * i - 2].y + RecordingPainter::kTextHeight);
        }
    }
}

}  // namespace
