// The designer surface over a previewed form: selection by click and Shift+click,
// moves and resizes by drag and key, alignment limits, Delete, the selection kept
// across a rebuild, and pictures of the form without handles.

#include "preview/designoverlay.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStringList>
#include <string>

#include "preview/previewcontext.h"
#include "preview/virtualdesktop.h"

namespace {

using fw::preview::DesignBounds;
using fw::preview::DesignOverlay;
using fw::preview::ObjectPlacement;
using fw::preview::VirtualDesktop;
using namespace fw::preview;  // the DesignField bits

// Panel1 holds a drawn label; Bottom1 is aligned to the bottom (its Top is what the
// alignment gives it: 200 - 30).
constexpr const char* DesignForm =
    "object Form1: TForm1\n"
    "  ClientHeight = 200\n"
    "  ClientWidth = 300\n"
    "  object Panel1: TPanel\n"
    "    Left = 100\n"
    "    Top = 50\n"
    "    Width = 150\n"
    "    Height = 100\n"
    "    object Label1: TLabel\n"
    "      Left = 10\n"
    "      Top = 10\n"
    "      Width = 40\n"
    "      Height = 13\n"
    "      AutoSize = False\n"
    "      Caption = 'Label1'\n"
    "    end\n"
    "  end\n"
    "  object Button1: TButton\n"
    "    Left = 13\n"
    "    Top = 21\n"
    "    Width = 75\n"
    "    Height = 25\n"
    "  end\n"
    "  object Bottom1: TPanel\n"
    "    Left = 0\n"
    "    Top = 170\n"
    "    Width = 300\n"
    "    Height = 30\n"
    "    Align = alBottom\n"
    "  end\n"
    "end\n";

// Points of the client area over each object.
const QPoint OnButton(50, 33), OnPanel(200, 130), OnLabel(115, 65), OnBottom(150, 185), OnForm(20, 120);

class DesignOverlayTest : public ::testing::Test {
protected:
    void SetUp() override {
        desktop_.BuildPreview(DesignForm, fw::CodePage::Default());
        ASSERT_NE(desktop_.Overlay(), nullptr);
        QObject::connect(&desktop_, &VirtualDesktop::ObjectsPlaced,
                         [this](const QList<ObjectPlacement>& placed) { placed_.append(placed); });
        QObject::connect(&desktop_, &VirtualDesktop::DeleteRequested,
                         [this](const QStringList& paths) { deleted_ << paths; });
        QObject::connect(&desktop_, &VirtualDesktop::ObjectEnter,
                         [this](const QString& name) { entered_ << name; });
    }

    DesignOverlay& Overlay() { return *desktop_.Overlay(); }

    void Mouse(QEvent::Type type, QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, Overlay().mapToGlobal(at),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, modifiers);
        QApplication::sendEvent(&Overlay(), &event);
        // What the surface reports is posted, to come after the event.
        QApplication::processEvents();
    }
    void Click(QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        Mouse(QEvent::MouseButtonPress, at, modifiers);
        Mouse(QEvent::MouseButtonRelease, at, modifiers);
    }
    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        Mouse(QEvent::MouseButtonPress, from);
        Mouse(QEvent::MouseMove, (from + to) / 2, modifiers);
        Mouse(QEvent::MouseMove, to, modifiers);
        Mouse(QEvent::MouseButtonRelease, to, modifiers);
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(&Overlay(), &event);
        QApplication::processEvents();
    }
    QStringList Selected() const { return desktop_.SelectedPaths(); }

    PreviewContext context_;
    VirtualDesktop desktop_{context_};
    QList<ObjectPlacement> placed_;
    QStringList deleted_;
    QStringList entered_;
};

TEST_F(DesignOverlayTest, ClicksSelectAndShiftClicksAddOrRemove) {
    struct Step {
        QPoint At;
        bool Shift;
        QStringList Expected;  // the current object first
    };
    const Step steps[] = {
        {OnButton, false, {"Button1"}},
        {OnLabel, false, {"Label1"}},
        {OnButton, true, {"Button1", "Label1"}},
        {OnPanel, true, {"Panel1", "Button1", "Label1"}},
        // A click on a selected control keeps the others, making it the current one.
        {OnButton, false, {"Button1", "Panel1", "Label1"}},
        {OnPanel, true, {"Button1", "Label1"}},
        // Shift+click on the background changes nothing; a click selects the form.
        {OnForm, true, {"Button1", "Label1"}},
        {OnForm, false, {"Form1"}},
        {OnButton, true, {"Button1"}},
        {OnButton, true, {"Form1"}},
    };
    for (const Step& step : steps) {
        Click(step.At, step.Shift ? Qt::ShiftModifier : Qt::NoModifier);
        EXPECT_EQ(Selected(), step.Expected) << step.At.x() << "," << step.At.y() << " shift " << step.Shift;
    }
    // The tree follows each click through ObjectEnter.
    EXPECT_EQ(entered_.first(), "Button1");
    EXPECT_EQ(entered_.last(), "Form1");
    EXPECT_TRUE(placed_.isEmpty());
}

TEST_F(DesignOverlayTest, DragsAndKeysReportTheNewPlaces) {
    struct Case {
        const char* What;
        QPoint Select;  // clicked first
        QPoint From, To;
        Qt::KeyboardModifiers Modifiers;
        DesignBounds Expected;
        unsigned Changed;
    };
    // Button1 is at (13, 21), 75 x 25: its bottom-right handle is at (88, 46).
    const Case cases[] = {
        {"move, snapped",
         OnButton,
         OnButton,
         OnButton + QPoint(20, 3),
         Qt::NoModifier,
         {32, 24, 75, 25},
         FieldLeft | FieldTop},
        {"move, Alt without snap",
         OnButton,
         OnButton,
         OnButton + QPoint(20, 3),
         Qt::AltModifier,
         {33, 24, 75, 25},
         FieldLeft | FieldTop},
        {"move along one axis",
         OnButton,
         OnButton,
         OnButton + QPoint(0, 12),
         Qt::NoModifier,
         {13, 32, 75, 25},
         FieldTop},
        {"resize by the bottom-right handle",
         OnButton,
         QPoint(88, 46),
         QPoint(100, 50),
         Qt::NoModifier,
         {13, 21, 91, 27},
         FieldWidth | FieldHeight},
        {"a drawn control",
         OnLabel,
         OnLabel,
         OnLabel + QPoint(10, 0),
         Qt::NoModifier,
         {24, 10, 40, 13},
         FieldLeft},
        // The bottom-aligned panel: a move writes nothing, its top handle only Height.
        {"aligned, top handle",
         OnBottom,
         QPoint(150, 170),
         QPoint(150, 150),
         Qt::NoModifier,
         {0, 170, 300, 48},
         FieldHeight},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        placed_.clear();
        Click(c.Select);
        Drag(c.From, c.To, c.Modifiers);
        ASSERT_EQ(placed_.size(), 1);
        EXPECT_EQ(placed_[0].Bounds, c.Expected);
        EXPECT_EQ(placed_[0].Changed, c.Changed);
        // The preview only shows the drag; the edit of the text rebuilds it.
        desktop_.BuildPreview(DesignForm, fw::CodePage::Default());
    }
    placed_.clear();
    Click(OnBottom);
    Drag(OnBottom, OnBottom + QPoint(-40, -40));
    EXPECT_TRUE(placed_.isEmpty()) << "an aligned control is not moved";
    // A press and release without a move is a click, not a move onto the grid.
    Click(OnButton);
    Drag(OnButton, OnButton);
    EXPECT_TRUE(placed_.isEmpty());
    // Escape drops a drag in progress.
    Mouse(QEvent::MouseButtonPress, OnButton);
    Mouse(QEvent::MouseMove, OnButton + QPoint(30, 30));
    Key(Qt::Key_Escape);
    Mouse(QEvent::MouseButtonRelease, OnButton + QPoint(30, 30));
    EXPECT_TRUE(placed_.isEmpty());

    struct KeyCase {
        int Key;
        Qt::KeyboardModifiers Modifiers;
        DesignBounds Expected;
    };
    const KeyCase keys[] = {
        {Qt::Key_Right, Qt::NoModifier, {16, 21, 75, 25}},
        {Qt::Key_Up, Qt::NoModifier, {13, 16, 75, 25}},
        {Qt::Key_Left, Qt::ControlModifier, {12, 21, 75, 25}},
        {Qt::Key_Down, Qt::ShiftModifier, {13, 21, 75, 27}},
        {Qt::Key_Right, Qt::ShiftModifier | Qt::ControlModifier, {13, 21, 76, 25}},
    };
    for (const KeyCase& k : keys) {
        placed_.clear();
        Key(k.Key, k.Modifiers);
        ASSERT_EQ(placed_.size(), 1) << k.Key;
        EXPECT_EQ(placed_[0].Path, "Button1");
        EXPECT_EQ(placed_[0].Bounds, k.Expected) << k.Key;
    }
}

// Selecting a control may scroll it into view (the tree's following does): a press
// that scrolls the form under a pointer that then does not move is no drag.
TEST_F(DesignOverlayTest, AScrollOnSelectingIsNoMove) {
    desktop_.resize(200, 150);
    desktop_.show();
    QApplication::processEvents();
    QScrollBar* bar = desktop_.verticalScrollBar();
    ASSERT_GT(bar->maximum(), 20);
    QObject::connect(&desktop_, &VirtualDesktop::ObjectEnter, [bar] { bar->setValue(bar->value() + 20); });
    const QPoint screen = Overlay().mapToGlobal(OnButton);
    Mouse(QEvent::MouseButtonPress, OnButton);
    const QPoint still = Overlay().mapFromGlobal(screen);
    ASSERT_EQ(still, OnButton + QPoint(0, 20));
    Mouse(QEvent::MouseMove, still);
    Mouse(QEvent::MouseButtonRelease, still);
    EXPECT_TRUE(placed_.isEmpty());
}

TEST_F(DesignOverlayTest, SeveralSelectedControlsMoveTogether) {
    Click(OnButton);
    Click(OnPanel, Qt::ShiftModifier);
    // Label1 goes with its panel: its own place does not change.
    Click(OnLabel, Qt::ShiftModifier);
    Drag(OnPanel, OnPanel + QPoint(-10, 7));
    ASSERT_EQ(placed_.size(), 2);
    // The grabbed panel snaps, 100 - 10 = 90 to 88 and 50 + 7 = 57 to 56; the button
    // keeps its place to it.
    EXPECT_EQ(placed_[0].Path, "Panel1");
    EXPECT_EQ(placed_[0].Bounds, (DesignBounds{88, 56, 150, 100}));
    EXPECT_EQ(placed_[1].Path, "Button1");
    EXPECT_EQ(placed_[1].Bounds, (DesignBounds{1, 27, 75, 25}));
}

TEST_F(DesignOverlayTest, DeleteAsksForTheSelectedControlsButNeverTheForm) {
    Click(OnForm);
    Key(Qt::Key_Delete);
    EXPECT_TRUE(deleted_.isEmpty());
    Click(OnButton);
    Click(OnLabel, Qt::ShiftModifier);
    Key(Qt::Key_Delete);
    EXPECT_EQ(deleted_, (QStringList{"Label1", "Button1"}));
}

TEST_F(DesignOverlayTest, ARebuildKeepsTheSelectionAndPicturesShowNoHandles) {
    const QImage plain = desktop_.FormClientImage();
    Click(OnButton);
    Click(OnLabel, Qt::ShiftModifier);
    EXPECT_EQ(desktop_.FormClientImage(), plain);
    desktop_.BuildPreview(DesignForm, fw::CodePage::Default());
    EXPECT_EQ(Selected(), (QStringList{"Label1", "Button1"}));
    // An object the new text no longer has drops out.
    std::string without(DesignForm);
    without.erase(without.find("  object Button1"),
                  without.find("  object Bottom1") - without.find("  object Button1"));
    desktop_.BuildPreview(without, fw::CodePage::Default());
    EXPECT_EQ(Selected(), QStringList{"Label1"});
}

}  // namespace
