// The designer's placing rules without a screen: grid snap, moves by drag and key,
// resizes by handle, what alignment allows, and the paths that name objects for edits.

#include "preview/designgeometry.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using fw::preview::DesignBounds;
using fw::preview::DesignGrip;
using fw::preview::DesignOffset;

TEST(DesignGeometry, SnapsToTheNearestGridLine) {
    struct Case {
        int Value, Expected;
    };
    const Case cases[] = {
        {0, 0},
        {3, 0},
        {4, 8},
        {12, 16},
        {15, 16},
        {16, 16},
        {-3, 0},
        {-5, -8},
        {-12, -8},
        {-13, -16},
        // The ends of the range neither overflow nor wrap round.
        {INT_MAX, INT_MAX - 7},
        {INT_MIN, INT_MIN},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fw::preview::SnapToGrid(c.Value), c.Expected) << c.Value;
}

TEST(DesignGeometry, MoveOffsetSnapsTheGrabbedControlAndLeavesUnmovedAxesAlone) {
    struct Case {
        const char* What;
        int Dx, Dy;
        bool Snap;
        DesignOffset Expected;
    };
    // The grabbed control sits off the grid, at (13, 21).
    const DesignBounds grabbed{13, 21, 75, 25};
    const Case cases[] = {
        {"a click pulls nothing onto the grid", 0, 0, true, {0, 0}},
        {"right: Left lands on 24, Top stays", 10, 0, true, {11, 0}},
        {"down: Top lands on 32, Left stays", 0, 9, true, {0, 11}},
        {"both axes", -6, -6, true, {-5, -5}},
        {"a small move may land behind the pointer", -2, 0, true, {-5, 0}},
        {"without snap the pointer's offset", 10, 7, false, {10, 7}},
        {"past the parent's edge", -20, -30, true, {-21, -29}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fw::preview::MoveOffset(grabbed, c.Dx, c.Dy, c.Snap), c.Expected) << c.What;
}

TEST(DesignGeometry, DragBoundsMovesTheEdgesOfTheGrip) {
    struct Case {
        DesignGrip Grip;
        int Dx, Dy;
        bool Snap;
        DesignBounds Expected;
    };
    // Left 10, Top 20, Right 110, Bottom 70.
    const DesignBounds start{10, 20, 100, 50};
    const Case cases[] = {
        {DesignGrip::Body, 5, 5, true, {16, 24, 100, 50}},
        {DesignGrip::Right, 5, 5, true, {10, 20, 102, 50}},
        {DesignGrip::Right, 5, 5, false, {10, 20, 105, 50}},
        {DesignGrip::Bottom, 5, 5, true, {10, 20, 100, 52}},
        {DesignGrip::Left, 5, 5, true, {16, 20, 94, 50}},
        {DesignGrip::Top, -3, -3, true, {10, 16, 100, 54}},
        {DesignGrip::TopLeft, -3, -3, false, {7, 17, 103, 53}},
        {DesignGrip::TopRight, 7, -3, true, {10, 16, 110, 54}},
        {DesignGrip::BottomRight, 1, 1, true, {10, 20, 102, 52}},
        {DesignGrip::BottomLeft, -10, 10, false, {0, 20, 110, 60}},
        // An edge dragged past the opposite one stops a pixel short of it.
        {DesignGrip::Left, 500, 0, true, {109, 20, 1, 50}},
        {DesignGrip::Right, -500, 0, false, {10, 20, 1, 50}},
        {DesignGrip::Top, 0, 400, false, {10, 69, 100, 1}},
        {DesignGrip::Bottom, 0, -400, true, {10, 20, 100, 1}},
        {DesignGrip::None, 5, 5, true, start},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fw::preview::DragBounds(start, c.Grip, c.Dx, c.Dy, c.Snap), c.Expected)
            << static_cast<int>(c.Grip) << " by " << c.Dx << ", " << c.Dy;
}

TEST(DesignGeometry, GripAtFindsHandlesBeforeTheBody) {
    struct Case {
        int X, Y;
        DesignGrip Expected;
    };
    const DesignBounds bounds{10, 20, 100, 50};
    const Case cases[] = {
        {10, 20, DesignGrip::TopLeft},      {8, 18, DesignGrip::TopLeft},
        {60, 20, DesignGrip::Top},          {110, 20, DesignGrip::TopRight},
        {110, 45, DesignGrip::Right},       {110, 70, DesignGrip::BottomRight},
        {60, 70, DesignGrip::Bottom},       {10, 70, DesignGrip::BottomLeft},
        {10, 45, DesignGrip::Left},         {30, 30, DesignGrip::Body},
        {109, 69, DesignGrip::BottomRight}, {5, 45, DesignGrip::None},
        {200, 200, DesignGrip::None},       {40, 69, DesignGrip::Body},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fw::preview::GripAt(bounds, c.X, c.Y), c.Expected) << c.X << ", " << c.Y;
}

TEST(DesignGeometry, KeysMoveToTheNextGridLineOrByAPixel) {
    struct Case {
        DesignBounds Start;
        int Dx, Dy;
        bool Resize, Fine;
        DesignBounds Expected;
    };
    const Case cases[] = {
        {{13, 21, 75, 25}, 1, 0, false, false, {16, 21, 75, 25}},
        {{16, 21, 75, 25}, 1, 0, false, false, {24, 21, 75, 25}},
        {{13, 21, 75, 25}, -1, 0, false, false, {8, 21, 75, 25}},
        {{16, 16, 75, 25}, 0, -1, false, false, {16, 8, 75, 25}},
        {{0, 0, 75, 25}, -1, 0, false, false, {-8, 0, 75, 25}},
        {{-3, 0, 75, 25}, 1, 0, false, false, {0, 0, 75, 25}},
        {{13, 21, 75, 25}, 0, 1, false, true, {13, 22, 75, 25}},
        {{13, 21, 75, 25}, -1, 0, false, true, {12, 21, 75, 25}},
        // Resizing moves the right or bottom edge: 13 + 75 = 88 is on the grid.
        {{13, 21, 75, 25}, 1, 0, true, false, {13, 21, 83, 25}},
        {{13, 21, 75, 25}, -1, 0, true, false, {13, 21, 67, 25}},
        {{13, 21, 75, 25}, 0, 1, true, false, {13, 21, 75, 27}},
        {{13, 21, 75, 25}, 0, -1, true, true, {13, 21, 75, 24}},
        {{13, 21, 1, 1}, -1, -1, true, true, {13, 21, 1, 1}},
        {{13, 21, 2, 2}, -1, 0, true, false, {13, 21, 1, 2}},
        // At the ends of the range values stop there instead of wrapping round.
        {{INT_MAX, INT_MIN, 10, 10}, 1, -1, false, true, {INT_MAX, INT_MIN, 10, 10}},
        {{INT_MAX - 3, 0, 10, 10}, 1, 0, false, false, {INT_MAX, 0, 10, 10}},
        {{INT_MAX - 20, 0, 10, 10}, 1, 0, true, false, {INT_MAX - 20, 0, 13, 10}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fw::preview::KeyBounds(c.Start, c.Dx, c.Dy, c.Resize, c.Fine), c.Expected)
            << c.Start.Left << "," << c.Start.Top << " " << c.Dx << "," << c.Dy << " resize " << c.Resize
            << " fine " << c.Fine;
}

TEST(DesignGeometry, AlignmentLimitsWhatChanges) {
    using namespace fw::preview;
    struct Case {
        const char* Align;
        DesignBounds To;
        unsigned Expected;
    };
    const DesignBounds from{0, 0, 100, 40};
    const DesignBounds everything{8, 8, 120, 48};
    const Case cases[] = {
        {"alNone", everything, AllFields},
        {"", everything, AllFields},
        {"alCustom", everything, AllFields},
        {"alTop", everything, FieldHeight},
        {"ALBOTTOM", everything, FieldHeight},
        {"alLeft", everything, FieldWidth},
        {"alRight", everything, FieldWidth},
        {"alClient", everything, 0},
        // A move of an aligned control changes nothing it may write.
        {"alTop", {8, 8, 100, 40}, 0},
        {"alNone", {8, 0, 100, 40}, FieldLeft},
        {"alNone", from, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChangedFields(from, c.To, AlignmentAllows(c.Align)), c.Expected) << c.Align;
}

TEST(DesignGeometry, EditPathNamesUniqueNamesAloneAndOthersFromTheirParent) {
    using fw::rt::ReadObject;
    struct Case {
        const char* What;
        std::vector<ReadObject> Records;
        std::vector<const char*> Expected;
    };
    const Case cases[] = {
        {"unique names, names that repeat, unnamed objects",
         // Form1 { Panel1 { Button1, <unnamed>, <unnamed> { Label1 } }, Frame1 { button1 }, Frame2 { Button1
         // } }
         {{-1, "Form1", "TForm1", nullptr},
          {0, "Panel1", "TPanel", nullptr},
          {1, "Button1", "TButton", nullptr},
          {1, "", "TBevel", nullptr},
          {1, "", "TPanel", nullptr},
          {4, "Label1", "TLabel", nullptr},
          {0, "Frame1", "TFrame1", nullptr},
          {6, "button1", "TButton", nullptr},
          {0, "Frame2", "TFrame1", nullptr},
          {8, "Button1", "TButton", nullptr}},
         {"Form1", "Panel1", "Panel1.Button1", "Panel1.#1", "Panel1.#2", "Label1", "Frame1", "Frame1.button1",
          "Frame2", "Frame2.Button1"}},
        {"siblings of one name go by place",
         {{-1, "Form1", "TForm1", nullptr},
          {0, "Panel1", "TPanel", nullptr},
          {1, "Edit1", "TEdit", nullptr},
          {1, "Edit1", "TEdit", nullptr}},
         {"Form1", "Panel1", "Panel1.#0", "Panel1.#1"}},
        {"an object with the root's name and an unnamed root",
         {{-1, "", "TForm1", nullptr}, {0, "Form1", "TPanel", nullptr}, {1, "Form1x", "TPanel", nullptr}},
         {"#0", "Form1", "Form1x"}},
        {"an object with the root's name",
         {{-1, "Form1", "TForm1", nullptr},
          {0, "Panel1", "TPanel", nullptr},
          {1, "form1", "TPanel", nullptr}},
         {"Form1", "Panel1", "Panel1.form1"}},
    };
    for (const Case& c : cases) {
        for (int i = 0; i < static_cast<int>(c.Records.size()); ++i)
            EXPECT_EQ(fw::preview::EditPathOf(c.Records, i), c.Expected[static_cast<std::size_t>(i)])
                << c.What << ", entry " << i;
        EXPECT_EQ(fw::preview::EditPathOf(c.Records, -1), "") << c.What;
        EXPECT_EQ(fw::preview::EditPathOf(c.Records, static_cast<int>(c.Records.size())), "") << c.What;
    }
}

}  // namespace
