#include <gtest/gtest.h>

#include "PalettePlacement.h"
#include "TintoraIds.h"

namespace {

// The fixed screen of these cases: 1024 x 768, a 40 x 20 button at 480, 390 (its middle
// at 500, 400) under the cursor.
struct Case {
    const char* name;
    int position;
    QPoint cursor;
    int windowX, windowY;
    int offsetX, offsetY;
    QPoint expected;
};

PalettePlacement::Input input(const Case& c) {
    PalettePlacement::Input in;
    in.position = c.position;
    in.cursor = c.cursor;
    in.under = QRect(480, 390, 40, 20);
    in.screen = QSize(1024, 768);
    in.windowX = c.windowX;
    in.windowY = c.windowY;
    in.offsetX = c.offsetX;
    in.offsetY = c.offsetY;
    return in;
}

const QPoint kCursor(500, 400);

const Case kModes[] = {
    {"below the cursor", PosnCBottom, kCursor, 0, 0, 0, 0, {445, 410}},
    {"above the cursor", PosnCTop, kCursor, 0, 0, 0, 0, {445, 231}},
    {"right of the cursor", PosnCRight, kCursor, 0, 0, 0, 0, {510, 321}},
    {"left of the cursor", PosnCLeft, kCursor, 0, 0, 0, 0, {380, 321}},
    {"below the window", PosnBottom, kCursor, 0, 0, 0, 0, {445, 420}},
    {"above the window", PosnTop, kCursor, 0, 0, 0, 0, {445, 221}},
    {"right of the window", PosnRight, kCursor, 0, 0, 0, 0, {530, 321}},
    {"left of the window", PosnLeft, kCursor, 0, 0, 0, 0, {360, 321}},
    {"stored position", PosnCalc, kCursor, 100, 200, 0, 0, {100, 200}},
    {"screen centre", PosnCenter, kCursor, 0, 0, 0, 0, {457, 305}},
    {"unknown mode", 12, kCursor, 0, 0, 0, 0, {0, 0}},
    {"negative unknown mode", -1, kCursor, 300, 300, 0, 0, {0, 0}},
    {"offsets in a cursor mode", PosnCRight, kCursor, 0, 0, 5, -7, {515, 314}},
    {"offsets in a window mode", PosnBottom, kCursor, 0, 0, -45, 30, {400, 450}},
    {"offsets with a stored position", PosnCalc, kCursor, 100, 200, 20, 20, {120, 220}},
    {"offsets of an unknown mode", 12, kCursor, 0, 0, 40, 50, {40, 50}},
};

const Case kClamps[] = {
    {"past the right edge", PosnCRight, {1000, 400}, 0, 0, 0, 0, {914, 321}},
    {"cursor at the left edge", PosnCLeft, {0, 400}, 0, 0, 0, 0, {0, 321}},
    {"cursor 20 above the bottom flips up 149", PosnCBottom, {500, 748}, 0, 0, 0, 0, {445, 609}},
    {"right of a cursor near the bottom flips up 149",
     PosnCRight,
     {500, 748},
     0,
     0,
     0,
     0,
     {510, 520}},
    {"above a cursor near the top", PosnCTop, {500, 50}, 0, 0, 0, 0, {445, 0}},
    {"stored x far right", PosnCalc, kCursor, 5000, 0, 0, 0, {914, 0}},
    {"stored position at the edge stays", PosnCalc, kCursor, 914, 609, 0, 0, {914, 609}},
    {"stored y far below comes back on screen", PosnCalc, kCursor, 0, 5000, 0, 0, {0, 609}},
    {"offset pushes below the screen", PosnCenter, kCursor, 0, 0, 0, 2000, {457, 609}},
    {"largest position plus largest offset",
     PosnCalc,
     kCursor,
     32767,
     32767,
     32767,
     32767,
     {914, 609}},
    {"negative offsets", PosnCalc, kCursor, 10, 10, -32768, -32768, {0, 0}},
};

void expectPlaced(const Case& c) {
    EXPECT_EQ(PalettePlacement::Compute(input(c)), c.expected) << c.name;
}

}  // namespace

TEST(PalettePlacement, EachModePlacesThePaletteWhereItsNameSays) {
    for (const Case& c : kModes) expectPlaced(c);
}

TEST(PalettePlacement, PlacesOffTheScreenAreBroughtBackSoThePaletteCanBeReached) {
    for (const Case& c : kClamps) expectPlaced(c);
}

TEST(PalettePlacement, TheWindowUnderTheCursorIsMeasuredWithExclusiveRightAndBottom) {
    PalettePlacement::Input in = input(kModes[0]);
    in.under = QRect(0, 0, 11, 11);  // an odd size: the middle is 5, not 5.5 or 6
    in.position = PosnRight;
    EXPECT_EQ(PalettePlacement::Compute(in), QPoint(21, 0));
    in.position = PosnBottom;
    EXPECT_EQ(PalettePlacement::Compute(in), QPoint(0, 21));
}

TEST(PalettePlacement, AScreenSmallerThanThePaletteKeepsItsTopLeftCornerVisible) {
    PalettePlacement::Input in = input(kModes[9]);
    in.screen = QSize(100, 100);
    EXPECT_EQ(PalettePlacement::Compute(in), QPoint(0, 0));
}
