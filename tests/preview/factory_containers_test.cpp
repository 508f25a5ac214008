// The containers and decorations as the preview realises them: where child controls
// sit, which page of a page control or notebook shows, what panels, bevels, shapes,
// images, tool buttons and media players draw, the texts of status bars and headers,
// and the scroll bars of scrolling boxes.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QLabel>
#include <QPalette>
#include <QScrollBar>
#include <set>
#include <string>
#include <vector>

#include "preview/controlfactory.h"
#include "preview/vcllook.h"
#include "previewtestsupport.h"

namespace fw::preview {
namespace {

using test::RealizedForm;

// Windows 10 colours the tests look for.
const QRgb BtnFace = qRgb(0xF0, 0xF0, 0xF0);
const QRgb BtnShadow = qRgb(0xA0, 0xA0, 0xA0);
const QRgb BtnHighlight = qRgb(0xFF, 0xFF, 0xFF);
const QRgb Red = qRgb(0xFF, 0, 0);
const QRgb Blue = qRgb(0, 0, 0xFF);
const QRgb Lime = qRgb(0, 0xFF, 0);

std::string Form(const std::string& controls, int width = 400, int height = 300) {
    return "object Form1: TForm1\n  ClientHeight = " + std::to_string(height) +
           "\n  ClientWidth = " + std::to_string(width) + "\n" + controls + "end\n";
}

std::string Control(const std::string& name, const std::string& cls, const std::string& properties,
                    const std::string& bounds = "Left = 10\nTop = 10\nWidth = 100\nHeight = 60\n",
                    const std::string& children = "") {
    return "object " + name + ": " + cls + "\n" + bounds + properties + children + "end\n";
}

// The form's client area as the form window shows it: filled with the form's colour
// (clBtnFace) under the controls.
QImage Grab(const RealizedForm& f) {
    QPalette palette = f.Client->palette();
    palette.setColor(QPalette::Window, QColor(BtnFace));
    f.Client->setPalette(palette);
    f.Client->setAutoFillBackground(true);
    return f.Client->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// A pixel of a control, widget or drawn, in the control's coordinates.
QRgb PixelOf(const RealizedForm& f, const QImage& image, const char* name, QPoint at) {
    return image.pixel(f.Origin(name) + at) & 0xFFFFFF;
}

std::string Hex(QRgb c) {
    char text[8];
    std::snprintf(text, sizeof text, "%06X", c & 0xFFFFFF);
    return text;
}

// A picture property's data as a form writes it: the graphic's class name, then the
// bitmap's size and file, in hex.
std::string PictureData(const QImage& image) {
    QByteArray file;
    QBuffer buffer(&file);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    QByteArray bytes("\x07TBitmap", 8);
    const auto size = static_cast<std::uint32_t>(file.size());
    for (int i = 0; i < 4; ++i)
        bytes.append(static_cast<char>((size >> (8 * i)) & 0xFF));
    bytes.append(file);
    return "{" + bytes.toHex().toUpper().toStdString() + "}\n";
}

// The names of the controls among these whose widgets are not hidden.
std::set<std::string> Shown(const RealizedForm& f, std::initializer_list<const char*> names) {
    std::set<std::string> shown;
    for (const char* name : names)
        if (!f.Widget(name)->isHidden()) shown.insert(name);
    return shown;
}

TEST(ContainerFactory, HandlesExactlyItsClasses) {
    const auto registry = rt::MakeBuiltinRegistry();
    const std::unique_ptr<ControlFactory> factory = MakeContainerFactory();
    EXPECT_EQ(factory->Family(), "containers");
    for (const char* name : {"TPanel",         "TScrollBox",
                             "TBevel",         "TShape",
                             "TSplitter",      "TImage",
                             "TPaintBox",      "TNotebook",
                             "TPage",          "TTabbedNotebook",
                             "TTabPage",       "TPageControl",
                             "TTabSheet",      "TTabControl",
                             "TTabSet",        "TFrame",
                             "THeader",        "THeaderControl",
                             "TToolBar",       "TToolButton",
                             "TCoolBar",       "TControlBar",
                             "TStatusBar",     "TPageScroller",
                             "TActionToolBar", "TActionMainMenuBar",
                             "TDBCtrlGrid",    "TDBImage",
                             "TMediaPlayer",   "TAnimate",
                             "TOleContainer"}) {
        const rt::Class* cls = registry->FindClassByName(name);
        ASSERT_NE(cls, nullptr) << name;
        EXPECT_TRUE(factory->Handles(*cls)) << name;
    }
    for (const char* name : {"TButton", "TGroupBox", "TListView", "TCustomPanel", "TCustomTabControl",
                             "TForm", "TGraphicControl", "TWinControl"}) {
        const rt::Class* cls = registry->FindClassByName(name);
        if (cls) EXPECT_FALSE(factory->Handles(*cls)) << name;
    }
}

TEST(ContainerFactory, ChildControlsSitInsideTheEdgesWindowsKeepsOutsideTheClientArea) {
    // A bevel at (10, 5) inside each container; where it lands in the container's
    // widget is its Left and Top plus what lies outside the client area.
    struct Case {
        const char* Class;
        const char* Properties;
        QPoint Offset;
    };
    const Case cases[] = {
        {"TPanel", "", {0, 0}},
        {"TPanel", "BorderStyle = bsSingle\n", {2, 2}},
        {"TPanel", "BorderStyle = bsSingle\nCtl3D = False\n", {1, 1}},
        {"TPanel", "BorderWidth = 6\n", {0, 0}},  // a panel's border width is inside
        {"TScrollBox", "", {2, 2}},
        {"TScrollBox", "BorderStyle = bsNone\n", {0, 0}},
        {"TPageScroller", "BorderWidth = 3\n", {3, 3}},
        {"TScrollBox", "BevelKind = bkTile\nBevelEdges = [beTop]\n", {2, 4}},
        {"TFrame", "", {0, 0}},
        {"TToolBar", "", {0, 2}},  // the etched edge at its top
        {"TToolBar", "EdgeBorders = [ebLeft, ebTop]\nEdgeInner = esNone\n", {1, 1}},
        {"TCoolBar", "", {2, 2}},
        {"TControlBar", "", {2, 2}},
        {"TStatusBar", "", {0, 0}},
        {"TTabControl", "", {0, 0}},
        {"TPageScroller", "", {0, 0}},
        {"TActionToolBar", "", {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Class) + " " + c.Properties);
        RealizedForm f(
            Form(Control("Box", c.Class, c.Properties, "Left = 10\nTop = 10\nWidth = 200\nHeight = 100\n",
                         Control("Inside", "TBevel", "", "Left = 10\nTop = 5\nWidth = 20\nHeight = 20\n"))));
        ASSERT_NE(f.Widget("Box"), nullptr);
        EXPECT_EQ(f.Origin("Inside") - f.Origin("Box"), QPoint(10, 5) + c.Offset);
    }
}

TEST(Panel, DrawsBevelsBorderAndColourAsAThemedDesktopDoes) {
    struct Case {
        const char* Properties;
        QPoint At;  // in a 100 x 60 panel
        QRgb Expected;
    };
    const Case cases[] = {
        // The default raised outer bevel.
        {"", {0, 0}, BtnHighlight},
        {"", {99, 59}, BtnShadow},
        {"", {99, 0}, BtnShadow},
        {"BevelOuter = bvLowered\n", {0, 0}, BtnShadow},
        {"BevelOuter = bvLowered\n", {99, 59}, BtnHighlight},
        // The inner bevel comes inside the outer one and the border width.
        {"BevelInner = bvLowered\nBorderWidth = 3\n", {4, 4}, BtnShadow},
        {"BevelInner = bvLowered\nBorderWidth = 3\n", {2, 2}, BtnFace},
        {"BevelOuter = bvNone\nBevelWidth = 4\n", {3, 3}, BtnFace},
        {"BevelWidth = 4\n", {3, 3}, BtnHighlight},
        // Its own colour shows without ParentBackground, and also when the form stores a
        // colour but no ParentBackground (older forms never stored it); the default
        // colour with ParentBackground shows the form's.
        {"Color = clRed\nParentBackground = False\n", {50, 30}, Red},
        {"Color = clRed\n", {50, 30}, Red},
        {"ParentBackground = True\n", {50, 30}, BtnFace},
        {"Color = clRed\nParentBackground = False\nBevelOuter = bvNone\n", {0, 0}, Red},
        // A sunken client edge outside the bevel.
        {"BorderStyle = bsSingle\n", {0, 0}, BtnShadow},
        {"BorderStyle = bsSingle\n", {2, 2}, BtnHighlight},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Properties);
        RealizedForm f(Form(Control("Panel1", "TPanel", c.Properties)));
        const QImage image = Grab(f);
        EXPECT_EQ(Hex(PixelOf(f, image, "Panel1", c.At)), Hex(c.Expected))
            << "at " << c.At.x() << "," << c.At.y();
    }
}

// The box around the dark pixels of a widget: where its text was drawn.
QRect InkBox(const RealizedForm& f, const char* name) {
    const QImage image = f.Widget(name)->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 80) box |= QRect(x, y, 1, 1);
    return box;
}

TEST(Panel, PlacesItsCaptionByAlignmentAndVerticalAlignment) {
    struct Case {
        const char* Properties;
        int Column;  // 0 left, 1 centre, 2 right third
        int Row;     // 0 top, 1 middle, 2 bottom third
    };
    const Case cases[] = {
        {"", 1, 1},
        {"Alignment = taLeftJustify\n", 0, 1},
        {"Alignment = taRightJustify\n", 2, 1},
        {"VerticalAlignment = taAlignTop\n", 1, 0},
        {"Alignment = taRightJustify\nVerticalAlignment = taAlignBottom\n", 2, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Properties);
        RealizedForm f(Form(Control("Panel1", "TPanel", std::string("Caption = 'I&I'\n") + c.Properties,
                                    "Left = 10\nTop = 10\nWidth = 150\nHeight = 90\n")));
        const QRect ink = InkBox(f, "Panel1");
        ASSERT_FALSE(ink.isEmpty()) << "no caption drawn";
        EXPECT_EQ(ink.center().x() / 50, c.Column);
        EXPECT_EQ(ink.center().y() / 30, c.Row);
        // The accelerator mark is not drawn: two narrow letters, no ampersand between.
        EXPECT_LT(ink.width(), 20);
    }
    RealizedForm hidden(Form(Control("Panel1", "TPanel", "Caption = 'Text'\nShowCaption = False\n")));
    EXPECT_TRUE(InkBox(hidden, "Panel1").isEmpty());
}

TEST(Bevel, DrawsItsShapeInItsStyle) {
    // A 40 x 30 bevel on the form: Shadow first for bsLowered, highlight first for
    // bsRaised; BtnFace where nothing is drawn.
    struct Case {
        const char* Properties;
        std::vector<std::pair<QPoint, QRgb>> Pixels;
    };
    const Case cases[] = {
        {"", {{{0, 0}, BtnShadow}, {{39, 29}, BtnHighlight}, {{20, 15}, BtnFace}}},
        {"Style = bsRaised\n", {{{0, 0}, BtnHighlight}, {{39, 29}, BtnShadow}}},
        {"Shape = bsFrame\n",
         {{{0, 0}, BtnShadow}, {{1, 1}, BtnHighlight}, {{39, 29}, BtnHighlight}, {{38, 28}, BtnShadow}}},
        {"Shape = bsTopLine\n", {{{20, 0}, BtnShadow}, {{20, 1}, BtnHighlight}, {{20, 29}, BtnFace}}},
        {"Shape = bsBottomLine\n", {{{20, 28}, BtnShadow}, {{20, 29}, BtnHighlight}, {{20, 0}, BtnFace}}},
        {"Shape = bsLeftLine\n", {{{0, 15}, BtnShadow}, {{1, 15}, BtnHighlight}, {{39, 15}, BtnFace}}},
        {"Shape = bsRightLine\nStyle = bsRaised\n",
         {{{38, 15}, BtnHighlight}, {{39, 15}, BtnShadow}, {{0, 15}, BtnFace}}},
        {"Shape = bsSpacer\n", {{{0, 0}, BtnFace}, {{39, 29}, BtnFace}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Properties);
        RealizedForm f(Form(
            Control("Bevel1", "TBevel", c.Properties, "Left = 10\nTop = 10\nWidth = 40\nHeight = 30\n")));
        const QImage image = Grab(f);
        for (const auto& [at, expected] : c.Pixels)
            EXPECT_EQ(Hex(PixelOf(f, image, "Bevel1", at)), Hex(expected))
                << "at " << at.x() << "," << at.y();
    }
}

TEST(Shape, FillsAndOutlinesItsShape) {
    // A 60 x 40 shape with a red brush and a blue pen.
    struct Case {
        const char* Properties;
        std::vector<std::pair<QPoint, QRgb>> Pixels;
    };
    const Case cases[] = {
        {"", {{{0, 0}, Blue}, {{59, 39}, Blue}, {{58, 38}, Red}, {{30, 20}, Red}}},
        {"Shape = stEllipse\n", {{{1, 1}, BtnFace}, {{30, 20}, Red}, {{30, 0}, Blue}}},
        // A circle keeps to the shorter side, centred: nothing at the far left.
        {"Shape = stCircle\n", {{{5, 20}, BtnFace}, {{30, 20}, Red}}},
        {"Shape = stSquare\n", {{{5, 20}, BtnFace}, {{10, 0}, Blue}, {{30, 20}, Red}}},
        {"Shape = stRoundRect\n", {{{0, 0}, BtnFace}, {{30, 20}, Red}, {{30, 0}, Blue}}},
        {"Brush.Style = bsClear\n", {{{30, 20}, BtnFace}, {{0, 0}, Blue}}},
        {"Pen.Style = psClear\n", {{{0, 0}, Red}, {{30, 20}, Red}}},
        {"Pen.Width = 5\n", {{{0, 0}, Blue}, {{4, 4}, Blue}, {{6, 6}, Red}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Properties);
        RealizedForm f(Form(Control("Shape1", "TShape",
                                    std::string("Brush.Color = clRed\nPen.Color = clBlue\n") + c.Properties,
                                    "Left = 10\nTop = 10\nWidth = 60\nHeight = 40\n")));
        const QImage image = Grab(f);
        for (const auto& [at, expected] : c.Pixels)
            EXPECT_EQ(Hex(PixelOf(f, image, "Shape1", at)), Hex(expected))
                << "at " << at.x() << "," << at.y();
    }
}

TEST(Image, PlacesItsPictureByStretchCenterAndProportional) {
    // An 8 x 4 red picture whose bottom-left pixel is lime, in a 40 x 40 image.
    QImage picture(8, 4, QImage::Format_RGB32);
    picture.fill(Red);
    picture.setPixel(0, 3, Lime);
    const std::string data = "Picture.Data = " + PictureData(picture);
    struct Case {
        const char* Properties;
        std::vector<std::pair<QPoint, QRgb>> Pixels;
    };
    const Case cases[] = {
        {"", {{{7, 0}, Red}, {{0, 3}, Lime}, {{9, 1}, BtnFace}, {{20, 20}, BtnFace}}},
        {"Stretch = True\n", {{{39, 0}, Red}, {{39, 35}, Red}, {{0, 39}, Lime}}},
        {"Center = True\n", {{{16, 18}, Red}, {{23, 20}, Red}, {{15, 18}, BtnFace}, {{2, 2}, BtnFace}}},
        // Proportional grows a small picture only with Stretch, keeping its shape.
        {"Proportional = True\n", {{{7, 0}, Red}, {{9, 1}, BtnFace}}},
        {"Proportional = True\nStretch = True\n", {{{39, 0}, Red}, {{39, 19}, Red}, {{39, 21}, BtnFace}}},
        {"Proportional = True\nStretch = True\nCenter = True\n",
         {{{39, 10}, Red}, {{20, 5}, BtnFace}, {{20, 25}, Red}}},
        // Transparent takes out the bottom-left pixel's colour.
        {"Transparent = True\n", {{{0, 3}, BtnFace}, {{1, 3}, Red}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Properties);
        RealizedForm f(Form(Control("Image1", "TImage", data + c.Properties,
                                    "Left = 10\nTop = 10\nWidth = 40\nHeight = 40\n")));
        const QImage image = Grab(f);
        for (const auto& [at, expected] : c.Pixels)
            EXPECT_EQ(Hex(PixelOf(f, image, "Image1", at)), Hex(expected))
                << "at " << at.x() << "," << at.y();
    }
    // Without a picture, or with one no decoder reads, nothing is drawn.
    for (const char* properties : {"", "Picture.Data = {07544269746D6170040000004241}\n"}) {
        RealizedForm f(Form(Control("Image1", "TImage", properties)));
        const QImage image = Grab(f);
        EXPECT_EQ(Hex(PixelOf(f, image, "Image1", {20, 20})), Hex(BtnFace)) << properties;
    }
}

// A page control with three sheets: A without a tab, B and C with tabs.
std::string PageControl(const std::string& properties) {
    auto sheet = [](const char* name, const char* extra) {
        return Control(name, "TTabSheet", std::string("Caption = '") + name + "'\n" + extra, "",
                       Control(std::string(name) + "Mark", "TBevel", "",
                               "Left = 5\nTop = 5\nWidth = 10\nHeight = 10\n"));
    };
    return Form(Control("Pages", "TPageControl", properties,
                        "Left = 10\nTop = 10\nWidth = 300\nHeight = 200\n",
                        sheet("A", "TabVisible = False\n") + sheet("B", "") + sheet("C", "")));
}

TEST(PageControl, ShowsTheActiveSheetOnly) {
    struct Case {
        const char* Properties;
        std::set<std::string> Shown;
    };
    const Case cases[] = {
        {"ActivePage = C\n", {"C"}},
        // No active page: the first sheet with a tab.
        {"", {"B"}},
        // A sheet without a tab can still be the active one.
        {"ActivePage = A\n", {"A"}},
        {"ActivePage = Nothing\n", {"B"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Properties);
        RealizedForm f(PageControl(c.Properties));
        EXPECT_EQ(Shown(f, {"A", "B", "C"}), c.Shown);
    }
}

TEST(PageControl, SheetsFillTheDisplayAreaBesideTheTabs) {
    // Sheets nothing placed fill the area inside the frame and beside the tab row.
    struct Case {
        const char* Properties;
        QRect Sheet;
    };
    const Case cases[] = {
        {"", {4, 24, 292, 172}},
        {"TabPosition = tpBottom\n", {4, 4, 292, 172}},
        {"TabHeight = 30\n", {4, 34, 292, 162}},
        {"Style = tsButtons\n", {0, 23, 300, 177}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Properties);
        RealizedForm f(PageControl(c.Properties));
        const QRect sheet = f.Widget("B")->geometry();
        // The tab row's height follows the font; allow a pixel or two.
        EXPECT_EQ(sheet.left(), c.Sheet.left());
        EXPECT_EQ(sheet.width(), c.Sheet.width());
        EXPECT_NEAR(sheet.top(), c.Sheet.top(), 2);
        EXPECT_NEAR(sheet.height(), c.Sheet.height(), 2);
    }
    // tpLeft puts the tabs down the left side.
    RealizedForm left(PageControl("TabPosition = tpLeft\n"));
    EXPECT_GT(left.Widget("B")->geometry().left(), 20);
    EXPECT_EQ(left.Widget("B")->geometry().top(), 4);
}

TEST(PageControl, ShowControlBringsAnySheetToTheFront) {
    RealizedForm f(PageControl("ActivePage = B\n"));
    for (const char* sheet : {"C", "A", "B"}) {
        f.Realizer->ShowControl(f[sheet]);
        EXPECT_EQ(Shown(f, {"A", "B", "C"}), (std::set<std::string>{sheet}));
    }
    // A control on a hidden sheet brings its sheet along.
    f.Realizer->ShowControl(f["CMark"]);
    EXPECT_EQ(Shown(f, {"A", "B", "C"}), (std::set<std::string>{"C"}));
}

TEST(Notebooks, ShowTheActivePageOnly) {
    auto notebook = [](const char* cls, const char* pageClass, const std::string& properties) {
        std::string pages;
        for (const char* name : {"One", "Two", "Three"})
            pages +=
                Control(std::string("P") + name, pageClass, std::string("Caption = '") + name + "'\n", "");
        return Form(
            Control("Book", cls, properties, "Left = 0\nTop = 0\nWidth = 200\nHeight = 150\n", pages));
    };
    struct Case {
        const char* Class;
        const char* PageClass;
        const char* Properties;
        std::set<std::string> Shown;
    };
    const Case cases[] = {
        {"TNotebook", "TPage", "", {"POne"}},
        {"TNotebook", "TPage", "PageIndex = 2\n", {"PThree"}},
        // An index beyond the pages shows none, as the notebook leaves them hidden.
        {"TNotebook", "TPage", "PageIndex = 7\n", {}},
        {"TTabbedNotebook", "TTabPage", "PageIndex = 1\n", {"PTwo"}},
        {"TTabbedNotebook", "TTabPage", "ActivePage = 'three'\nPageIndex = 1\n", {"PThree"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Class) + " " + c.Properties);
        RealizedForm f(notebook(c.Class, c.PageClass, c.Properties));
        EXPECT_EQ(Shown(f, {"POne", "PTwo", "PThree"}), c.Shown);
        // Pages nothing placed fill the notebook, or its display area below the tabs.
        const QRect page = f.Widget("PTwo")->geometry();
        EXPECT_FALSE(page.isEmpty());
        EXPECT_EQ(page.top() > 0, std::string(c.Class) == "TTabbedNotebook");
    }
    RealizedForm f(notebook("TNotebook", "TPage", ""));
    f.Realizer->ShowControl(f["PThree"]);
    EXPECT_EQ(Shown(f, {"POne", "PTwo", "PThree"}), (std::set<std::string>{"PThree"}));
}

// The labels a control shows, left to right.
std::vector<std::pair<std::string, int>> Labels(const RealizedForm& f, const char* name) {
    std::vector<std::pair<std::string, int>> labels;
    QWidget* widget = f.Widget(name);
    for (const QLabel* label : widget->findChildren<QLabel*>())
        if (!label->isHidden())
            labels.emplace_back(label->text().toStdString(), label->mapTo(widget, QPoint(0, 0)).x());
    std::sort(labels.begin(), labels.end(), [](const auto& a, const auto& b) { return a.second < b.second; });
    return labels;
}

TEST(StatusBar, ShowsItsPanelsTextsOrItsSimpleText) {
    const std::string panels =
        "Panels = <\n"
        "  item\n    Text = 'Ready'\n    Width = 100\n  end\n"
        "  item\n    Alignment = taRightJustify\n    Text = 'R<b>'\n    Width = 80\n  end\n"
        "  item\n    Text = 'left'#9'mid'#9'right'\n    Width = 50\n  end>\n";
    RealizedForm f(
        Form(Control("Status", "TStatusBar", panels, "Left = 0\nTop = 280\nWidth = 400\nHeight = 19\n")));
    const auto labels = Labels(f, "Status");
    ASSERT_EQ(labels.size(), 5u);
    EXPECT_EQ(labels[0].first, "Ready");
    EXPECT_LT(labels[0].second, 100);
    // Right-aligned text stays plain text in its own panel.
    EXPECT_EQ(labels[1].first, "R<b>");
    EXPECT_GE(labels[1].second, 100);
    // Tabs split a panel's text into left, centred and right parts; the last panel
    // reaches the right end.
    EXPECT_EQ(labels[2].first, "left");
    EXPECT_EQ(labels[3].first, "mid");
    EXPECT_EQ(labels[4].first, "right");
    EXPECT_GE(labels[2].second, 180);
    QLabel* right = nullptr;
    for (QLabel* label : f.Widget("Status")->findChildren<QLabel*>())
        if (label->text() == "right") right = label;
    ASSERT_NE(right, nullptr);
    EXPECT_GT(right->geometry().right(), 350);
    EXPECT_TRUE(right->alignment() & Qt::AlignRight);

    RealizedForm simple(
        Form(Control("Status", "TStatusBar", panels + "SimplePanel = True\nSimpleText = 'Busy'\n",
                     "Left = 0\nTop = 280\nWidth = 400\nHeight = 19\n")));
    const auto simpleLabels = Labels(simple, "Status");
    ASSERT_EQ(simpleLabels.size(), 1u);
    EXPECT_EQ(simpleLabels[0].first, "Busy");
}

TEST(HeaderControl, ShowsItsSectionsAtTheirWidths) {
    RealizedForm f(
        Form(Control("Header", "THeaderControl",
                     "Sections = <\n"
                     "  item\n    Text = 'Name'\n    Width = 120\n  end\n"
                     "  item\n    Alignment = taCenter\n    Text = 'Size'\n    Width = 60\n  end>\n",
                     "Left = 0\nTop = 0\nWidth = 300\nHeight = 17\n")));
    const auto labels = Labels(f, "Header");
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(labels[0].first, "Name");
    EXPECT_EQ(labels[1].first, "Size");
    EXPECT_GE(labels[1].second, 120);
    EXPECT_LT(labels[1].second, 180);
}

TEST(ToolButton, DrawsItsStyleAndState) {
    // A 23 x 22 button on a tool bar; what its middle and its corner show.
    struct Case {
        const char* Bar;
        const char* Button;
        QRgb Middle;
        QRgb Corner;
    };
    const QRgb checkedFace = qRgb(0xCC, 0xE8, 0xFF), checkedBorder = qRgb(0x99, 0xD1, 0xFF);
    const Case cases[] = {
        // Flat buttons draw nothing at rest.
        {"", "", BtnFace, BtnFace},
        {"", "Style = tbsCheck\nDown = True\n", checkedFace, checkedBorder},
        {"Flat = False\n", "", BtnFace, BtnHighlight},
        {"", "Style = tbsSeparator\nDown = True\n", BtnFace, BtnFace},
        {"", "Style = tbsDivider\n", BtnFace, BtnFace},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Bar) + c.Button);
        RealizedForm f(Form(Control(
            "Bar", "TToolBar", c.Bar, "Left = 0\nTop = 0\nWidth = 200\nHeight = 29\n",
            Control("Button", "TToolButton", c.Button, "Left = 0\nTop = 0\nWidth = 23\nHeight = 22\n"))));
        const QImage image = Grab(f);
        EXPECT_EQ(Hex(PixelOf(f, image, "Button", {5, 11})), Hex(c.Middle));
        EXPECT_EQ(Hex(PixelOf(f, image, "Button", {0, 0})), Hex(c.Corner));
    }
    // A divider is an etched line down the middle.
    RealizedForm f(Form(Control("Bar", "TToolBar", "", "Left = 0\nTop = 0\nWidth = 200\nHeight = 29\n",
                                Control("Button", "TToolButton", "Style = tbsDivider\n",
                                        "Left = 0\nTop = 0\nWidth = 8\nHeight = 22\n"))));
    const QImage image = Grab(f);
    EXPECT_EQ(Hex(PixelOf(f, image, "Button", {2, 11})), Hex(BtnShadow));
    EXPECT_EQ(Hex(PixelOf(f, image, "Button", {3, 11})), Hex(BtnHighlight));
}

TEST(ToolButton, ShowsItsCaptionOnlyWhenTheBarShowsCaptions) {
    for (const bool captions : {false, true}) {
        RealizedForm f(Form(Control("Bar", "TToolBar", captions ? "ShowCaptions = True\n" : "",
                                    "Left = 0\nTop = 0\nWidth = 200\nHeight = 40\n",
                                    Control("Button", "TToolButton", "Caption = 'Open'\n",
                                            "Left = 0\nTop = 0\nWidth = 60\nHeight = 36\n"))));
        EXPECT_EQ(InkBox(f, "Button").isEmpty(), !captions);
    }
}

TEST(ScrollBox, ShowsScrollBarsOnlyForChildrenBeyondItsClientArea) {
    struct Case {
        const char* Properties;
        const char* Child;  // bounds of a child bevel
        bool Horizontal;
        bool Vertical;
    };
    const Case cases[] = {
        {"", "Left = 10\nTop = 10\nWidth = 50\nHeight = 50\n", false, false},
        {"", "Left = 300\nTop = 10\nWidth = 50\nHeight = 20\n", true, false},
        {"", "Left = 10\nTop = 10\nWidth = 50\nHeight = 200\n", false, true},
        // A horizontal bar takes room, so a child just above the bottom needs both.
        {"", "Left = 300\nTop = 80\nWidth = 50\nHeight = 10\n", true, true},
        {"AutoScroll = False\n", "Left = 300\nTop = 10\nWidth = 50\nHeight = 200\n", false, false},
        {"HorzScrollBar.Visible = False\n", "Left = 300\nTop = 10\nWidth = 50\nHeight = 20\n", false, false},
        {"AutoScroll = False\nVertScrollBar.Range = 500\n", "Left = 10\nTop = 10\nWidth = 50\nHeight = 20\n",
         false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Properties) + c.Child);
        RealizedForm f(Form(Control("Box", "TScrollBox", c.Properties,
                                    "Left = 10\nTop = 10\nWidth = 200\nHeight = 100\n",
                                    Control("Inside", "TBevel", "", c.Child))));
        bool horizontal = false, vertical = false;
        for (const QScrollBar* bar : f.Widget("Box")->findChildren<QScrollBar*>(Qt::FindDirectChildrenOnly)) {
            if (bar->isHidden()) continue;
            (bar->orientation() == Qt::Horizontal ? horizontal : vertical) = true;
        }
        EXPECT_EQ(horizontal, c.Horizontal);
        EXPECT_EQ(vertical, c.Vertical);
    }
}

TEST(MediaPlayer, DrawsGlyphsGreyWhileAutoEnableKeepsTheClosedDeviceDisabled) {
    // One coloured Play button: green only when it is enabled.
    auto greens = [](const std::string& properties) {
        RealizedForm f(Form(Control("Player", "TMediaPlayer", "VisibleButtons = [btPlay]\n" + properties,
                                    "Left = 0\nTop = 0\nWidth = 40\nHeight = 30\n")));
        const QImage image = f.Widget("Player")->grab().toImage();
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) == qRgb(0, 0x80, 0)) ++count;
        return count;
    };
    EXPECT_EQ(greens(""), 0);
    EXPECT_GT(greens("AutoEnable = False\n"), 10);
    EXPECT_EQ(greens("AutoEnable = False\nEnabledButtons = [btStop]\n"), 0);
    EXPECT_EQ(greens("AutoEnable = False\nColoredButtons = []\n"), 0);
}

TEST(DBCtrlGrid, FirstPanelHoldsTheChildControls) {
    RealizedForm f(
        Form(Control("Grid", "TDBCtrlGrid", "PanelHeight = 40\nPanelWidth = 150\nRowCount = 3\n",
                     "Left = 10\nTop = 10\nWidth = 167\nHeight = 120\n",
                     Control("Inside", "TBevel", "", "Left = 10\nTop = 5\nWidth = 20\nHeight = 20\n"))));
    EXPECT_EQ(f.Origin("Inside") - f.Origin("Grid"), QPoint(10, 5));
    const QImage image = Grab(f);
    // Each of the three panels has its raised frame.
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(Hex(PixelOf(f, image, "Grid", {60, row * 40})), Hex(BtnHighlight)) << row;
}

TEST(ContainerFactory, OddValuesDrawWithoutFailing) {
    const std::string odd[] = {
        Control("X", "TPanel",
                "BevelWidth = 2147483647\nBorderWidth = -4\nCaption = '&'\nAlignment = taRightJustify\n"),
        Control("X", "TShape", "Pen.Width = -7\nShape = stRoundSquare\n",
                "Left = 0\nTop = 0\nWidth = 0\nHeight = 3\n"),
        Control("X", "TPageControl", "TabWidth = 32767\nTabHeight = -3\nMultiLine = True\n", "",
                Control("S1", "TTabSheet", "Caption = 'x'\nPageIndex = 99\n", "") +
                    Control("S2", "TTabSheet", "PageIndex = -5\nBorderWidth = 100000\n", "")),
        Control("X", "TTabbedNotebook", "TabsPerRow = 0\nPageIndex = -1\n", "", ""),
        Control("X", "TTabControl", "TabIndex = 99\nTabPosition = tpRight\nTabs.Strings = (\n'a'\n'b')\n"),
        Control("X", "TTabSet", "EdgeWidth = -1\nTabHeight = 0\nTabIndex = 4\nTabs.Strings = (\n'a'\n'b')\n"),
        Control("X", "TStatusBar",
                "Panels = <\n  item\n    Width = -20\n  end\n  item\n    Width = 2147483647\n  end>\n"),
        Control("X", "TDBCtrlGrid",
                "ColCount = 100000000\nRowCount = -1\nPanelWidth = 0\nPanelHeight = -3\n"),
        Control("X", "TCoolBar", "Bands = <\n  item\n    Width = -1\n    MinHeight = 99999\n  end>\n"),
        Control("X", "TMediaPlayer", "VisibleButtons = []\n"),
        Control("X", "TNotebook", "PageIndex = -3\n"),
        Control("X", "THeader", "Sections.Strings = (\n'')\n"),
        Control("X", "TImage", "Picture.Data = {0754426974}\nStretch = True\nProportional = True\n",
                "Left = 0\nTop = 0\nWidth = 0\nHeight = 0\n"),
    };
    for (const std::string& control : odd) {
        SCOPED_TRACE(control);
        RealizedForm f(Form(control));
        ASSERT_NE(f.Realizer->PlaceOf(f["X"]).Parent, nullptr);
        EXPECT_FALSE(Grab(f).isNull());
    }
}

}  // namespace
}  // namespace fw::preview
