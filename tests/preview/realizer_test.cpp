// The realiser over whole forms: plain graphic controls drawn onto their parent (and
// still picked, hovered and shown with their tooltips), and the limits that keep a
// form of tens of thousands of controls, or of controls nested hundreds deep, from
// taking the preview down.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QToolTip>
#include <string>

#include "preview/vcllook.h"
#include "previewtestsupport.h"
#include "runtime/layout.h"

namespace fw::preview {
namespace {

using test::RealizedForm;

std::string Form(const std::string& controls) {
    return "object Form1: TForm1\n  ClientHeight = 300\n  ClientWidth = 400\n" + controls + "end\n";
}

std::string Control(const std::string& name, const std::string& cls, int left, int top, int width, int height,
                    const std::string& properties = "") {
    return "object " + name + ": " + cls + "\nLeft = " + std::to_string(left) +
           "\nTop = " + std::to_string(top) + "\nWidth = " + std::to_string(width) +
           "\nHeight = " + std::to_string(height) + "\n" + properties + "end\n";
}

// count labels side by side in rows of 40.
std::string Labels(int count) {
    std::string text;
    text.reserve(static_cast<std::size_t>(count) * 80);
    for (int i = 0; i < count; ++i)
        text += Control(
            "L" + std::to_string(i), "TLabel", (i % 40) * 10, (i / 40) % 30 * 10, 8, 8,
            "AutoSize = False\nCaption = 'x'\nColor = clBlack\nParentColor = False\nTransparent = False\n");
    return text;
}

QWidget* WidgetAt(const RealizedForm& f, QPoint at) {
    return f.Client->childAt(at);
}

void Send(QWidget* widget, QEvent::Type type, QPoint at) {
    QMouseEvent event(
        type, QPointF(at), widget->mapToGlobal(QPointF(at)),
        type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
        type == QEvent::MouseButtonRelease || type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
        Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

// A form of 28,000 labels made the preview one widget per label, and Qt paints the
// siblings of a widget recursively: grabbing or showing the form overflowed the stack.
// The labels are drawn onto the form instead.
TEST(Realizer, ManyLabelsAreDrawnOntoTheirParentWithoutAWidgetEach) {
    RealizedForm f(Form(Labels(2000)));
    ASSERT_EQ(f.Form->Controls().size(), 2000u);
    EXPECT_LE(f.Client->findChildren<QWidget*>().size(), 1) << "one layer for all the labels";
    EXPECT_NE(f.Drawing("L1999"), nullptr);
    EXPECT_EQ(f.Origin("L1999"), QPoint(390, 190));
    const QImage image = f.Client->grab().toImage();
    EXPECT_EQ(image.pixelColor(f.Origin("L1999") + QPoint(4, 4)), QColor(Qt::black));
    EXPECT_TRUE(f.Realizer->Messages().empty());
}

TEST(Realizer, FormsPastTheLimitsShowTheirFirstControlsAndSaySo) {
    struct Case {
        const char* Name;
        std::string Text;
        std::string Message;
    };
    // Panels nested one in another, each a pixel inside its parent.
    auto nested = [](int depth) {
        std::string open, close;
        for (int i = 0; i < depth; ++i) {
            open += "object P" + std::to_string(i) +
                    ": TPanel\nLeft = 1\nTop = 1\nWidth = 300\nHeight = 200\n"
                    "BevelOuter = bvNone\n";
            close += "end\n";
        }
        return open + close;
    };
    const int over = 25;
    const Case cases[] = {
        {"controls", Form(Labels(MaxPreviewControls + over)),
         "WARN=Preview: the form has more than 10000 controls; the first 10000 are shown and 25 are left "
         "out"},
        {"nesting", Form(nested(MaxPreviewNesting + 3)),
         "WARN=Preview: 3 controls nested more than 64 levels deep are left out"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        RealizedForm f(c.Text);
        ASSERT_EQ(f.Realizer->Messages().size(), 1u);
        EXPECT_EQ(f.Realizer->Messages().front(), c.Message);
        EXPECT_FALSE(f.Client->grab().isNull());
    }
    // Exactly at the limits, everything is built.
    for (const std::string& text : {Form(Labels(MaxPreviewControls)), Form(nested(MaxPreviewNesting))}) {
        RealizedForm full(text);
        EXPECT_TRUE(full.Realizer->Messages().empty());
    }
    RealizedForm cut(Form(Labels(MaxPreviewControls + 1)));
    EXPECT_NE(cut.Drawing("L9999"), nullptr);
    EXPECT_THROW(cut.Origin("L10000"), std::runtime_error) << "left out";
}

// Drawn controls lie under their parent's windowed controls, whatever their order, and
// over the parent's own background; each takes the mouse over its own rectangle, the
// topmost first, and shows its own tooltip.
TEST(Realizer, DrawnControlsArePickedHoveredAndHintedAsTheirOwnObjects) {
    RealizedForm f(Form(Control("Low", "TShape", 10, 10, 60, 40, "ShowHint = True\nHint = 'low'\n") +
                        Control("High", "TBevel", 40, 20, 60, 40, "ShowHint = True\nHint = 'high'\n") +
                        Control("Button1", "TButton", 90, 50, 60, 30) +
                        Control("Over", "TShape", 100, 55, 20, 10, "Brush.Color = clRed\n") +
                        Control("Quiet", "TLabel", 10, 200, 50, 20, "ShowHint = False\nHint = 'none'\n")));
    f.Client->show();
    std::vector<rt::Object*> clicked;
    std::vector<std::pair<rt::Object*, QPoint>> moved;
    QObject::connect(f.Realizer.get(), &FormRealizer::Clicked, [&](rt::Object* c) { clicked.push_back(c); });
    QObject::connect(f.Realizer.get(), &FormRealizer::MouseMoved,
                     [&](rt::Object* c, QPoint at) { moved.emplace_back(c, at); });

    QWidget* layer = WidgetAt(f, {20, 20});
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(f.Realizer->ControlAt(layer), f.Form.get()) << "the layer stands for the form";
    struct Pick {
        QPoint At;
        const char* Control;  // nullptr for the form
        QPoint Local;
    };
    const Pick picks[] = {
        {{20, 20}, "Low", {10, 10}},
        {{50, 30}, "High", {10, 10}},  // where both lie, the later one
        {{300, 250}, nullptr, {300, 250}},
    };
    for (const Pick& p : picks) {
        SCOPED_TRACE(p.Control ? p.Control : "form");
        rt::Object* expected = p.Control ? &f[p.Control] : f.Form.get();
        EXPECT_EQ(f.Realizer->ControlAt(layer, p.At), expected);
        clicked.clear();
        moved.clear();
        Send(layer, QEvent::MouseButtonPress, p.At);
        Send(layer, QEvent::MouseButtonRelease, p.At);
        Send(layer, QEvent::MouseMove, p.At);
        ASSERT_EQ(clicked.size(), 1u);
        EXPECT_EQ(clicked.front(), expected);
        ASSERT_EQ(moved.size(), 1u);
        EXPECT_EQ(moved.front().first, expected);
        EXPECT_EQ(moved.front().second, p.Local);
    }
    // The button's widget lies over the shape drawn after it.
    EXPECT_EQ(f.Realizer->ControlAt(WidgetAt(f, {105, 60})), &f["Button1"]);
    const QImage image = f.Client->grab().toImage();
    EXPECT_NE(image.pixelColor(105, 60), QColor(Qt::red));

    // Tooltips: a drawn control's own hint, none where it shows none, the form's
    // elsewhere (the event goes on to the form's widget).
    QHelpEvent quiet(QEvent::ToolTip, QPoint(20, 205), layer->mapToGlobal(QPoint(20, 205)));
    EXPECT_TRUE(QCoreApplication::sendEvent(layer, &quiet));
    EXPECT_TRUE(QToolTip::text().isEmpty());
    QHelpEvent help(QEvent::ToolTip, QPoint(20, 20), layer->mapToGlobal(QPoint(20, 20)));
    EXPECT_TRUE(QCoreApplication::sendEvent(layer, &help));
    EXPECT_EQ(QToolTip::text(), QStringLiteral("low"));
    QToolTip::hideText();
}

TEST(Realizer, ShowControlShowsAHiddenDrawnControl) {
    RealizedForm f(
        Form(Control("Hidden", "TShape", 10, 10, 50, 50, "Visible = False\nBrush.Color = clRed\n")));
    EXPECT_FALSE(f.Realizer->PlaceOf(f["Hidden"]).Visible);
    EXPECT_EQ(f.Realizer->ControlAt(f.Client->childAt(20, 20), {20, 20}), f.Form.get())
        << "not picked while hidden";
    f.Realizer->ShowControl(f["Hidden"]);
    EXPECT_TRUE(f.Realizer->PlaceOf(f["Hidden"]).Visible);
    EXPECT_EQ(f.Client->grab().toImage().pixelColor(30, 30), QColor(Qt::red));
}

TEST(Realizer, LabelsInsideAContainerAreDrawnInItsClientArea) {
    // A panel with a single border: its labels count from inside the border, and are cut
    // off at it.
    RealizedForm f(
        Form(Control("Panel1", "TPanel", 10, 10, 100, 60,
                     "BorderStyle = bsSingle\nBevelOuter = bvNone\nColor = clWhite\n"
                     "ParentBackground = False\n"
                     "object Inner: TLabel\nLeft = 0\nTop = 0\nWidth = 200\nHeight = 200\n"
                     "AutoSize = False\nColor = clBlack\nParentColor = False\nTransparent = False\nend\n")));
    const rt::Insets insets = rt::NonClientInsets(f["Panel1"]);
    ASSERT_GT(insets.Left, 0);
    EXPECT_EQ(f.Origin("Inner"), QPoint(10 + insets.Left, 10 + insets.Top));
    const QImage image = f.Client->grab().toImage();
    EXPECT_EQ(image.pixelColor(f.Origin("Inner") + QPoint(1, 1)), QColor(Qt::black));
    EXPECT_NE(image.pixelColor(10 + 99, 10 + 59), QColor(Qt::black)) << "the border stays";
}

}  // namespace
}  // namespace fw::preview
