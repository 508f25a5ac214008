// The previewed form's window: the frame and title bar follow the BorderStyle and
// BorderIcons the form's text stores, although the preview lays every form out as a
// sizeable window, and the client area keeps the size the layout gave it.

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QWidget>
#include <string>

#include "preview/formwindow.h"
#include "preview/vcllook.h"
#include "preview/virtualdesktop.h"
#include "previewtestsupport.h"
#include "runtime/formbuild.h"

namespace {

using fw::preview::WindowChrome;

struct ChromeCase {
    const char* Name;
    const char* Properties;  // the form's own lines, after its Caption
    int Border, Caption;
    bool Small, Icon, Close, Help, MinMax, MinimizeEnabled, MaximizeEnabled, Resizable;
};

const ChromeCase ChromeCases[] = {
    {"default", "", 8, 23, false, true, true, false, true, true, true, true},
    {"bsSingle", "  BorderStyle = bsSingle\n", 3, 23, false, true, true, false, true, true, true, false},
    {"bsDialog", "  BorderStyle = bsDialog\n", 3, 23, false, false, true, false, false, false, false, false},
    {"bsDialog with help", "  BorderIcons = [biSystemMenu, biHelp]\n  BorderStyle = bsDialog\n", 3, 23, false,
     false, true, true, false, false, false, false},
    {"bsNone", "  BorderStyle = bsNone\n", 0, 0, false, false, false, false, false, false, false, false},
    {"bsToolWindow", "  BorderStyle = bsToolWindow\n", 3, 23, true, false, true, false, false, false, false,
     false},
    {"bsSizeToolWin", "  BorderStyle = bsSizeToolWin\n", 8, 23, true, false, true, false, false, false, false,
     true},
    {"no system menu", "  BorderIcons = [biMinimize, biMaximize]\n", 8, 23, false, false, false, false, false,
     false, false, true},
    {"minimize alone", "  BorderIcons = [biSystemMenu, biMinimize]\n", 8, 23, false, true, true, false, true,
     true, false, true},
    {"maximize alone", "  BorderIcons = [biSystemMenu, biMaximize]\n  BorderStyle = bsSingle\n", 3, 23, false,
     true, true, false, true, false, true, false},
    {"help without min and max", "  BorderIcons = [biSystemMenu, biHelp]\n", 8, 23, false, true, true, true,
     false, false, false, true},
};

TEST(FormWindow, DrawsTheFrameTheFormStores) {
    for (const ChromeCase& c : ChromeCases) {
        SCOPED_TRACE(c.Name);
        const std::string text = std::string("object Form1: TForm1\n  Caption = 'Look'\n") + c.Properties +
                                 "  ClientHeight = 120\n  ClientWidth = 200\nend\n";
        fw::preview::PreviewContext context;
        fw::preview::VirtualDesktop desktop(context);
        desktop.BuildPreview(text, fw::CodePage::Default());
        ASSERT_NE(desktop.Window(), nullptr);
        const WindowChrome& chrome = desktop.Window()->Chrome();
        EXPECT_EQ(chrome.Metrics.Border, c.Border);
        EXPECT_EQ(chrome.Metrics.Caption, c.Caption);
        EXPECT_EQ(chrome.Metrics.SmallCaption, c.Small);
        EXPECT_EQ(chrome.Icon, c.Icon);
        EXPECT_EQ(chrome.Close, c.Close);
        EXPECT_EQ(chrome.Help, c.Help);
        EXPECT_EQ(chrome.MinMax, c.MinMax);
        EXPECT_EQ(chrome.MinimizeEnabled, c.MinimizeEnabled);
        EXPECT_EQ(chrome.MaximizeEnabled, c.MaximizeEnabled);
        EXPECT_EQ(chrome.Resizable, c.Resizable);
        // The client area keeps its size; the window is that plus the drawn frame.
        EXPECT_EQ(desktop.FormClientImage().size(), QSize(200, 120));
        EXPECT_EQ(desktop.Window()->size(), QSize(200 + 2 * c.Border, 120 + 2 * c.Border + c.Caption));
    }
}

// A status bar shows its size grip on a form that can be resized, by the BorderStyle
// the form stores (the preview's own window is always sizeable).
TEST(FormWindow, SizeGripOnlyWhereTheFormCanBeResized) {
    const struct {
        const char* Style;
        bool Grip;
    } cases[] = {{"", true},          {"bsSizeable", true}, {"bsSizeToolWin", true},
                 {"bsSingle", false}, {"bsDialog", false},  {"bsToolWindow", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Style);
        std::string text = "object Form1: TForm1\n";
        if (*c.Style) text += std::string("  BorderStyle = ") + c.Style + "\n";
        text +=
            "  ClientHeight = 120\n  ClientWidth = 200\n"
            "  object Bar: TStatusBar\n    Left = 0\n    Top = 101\n    Width = 200\n    Height = 19\n"
            "    SimplePanel = True\n  end\nend\n";
        fw::preview::PreviewContext context;
        fw::preview::VirtualDesktop desktop(context);
        desktop.BuildPreview(text, fw::CodePage::Default());
        const QImage client = desktop.FormClientImage();
        ASSERT_FALSE(client.isNull());
        // The grip's dots sit in the bar's bottom-right corner; without it the corner is
        // the bar's face.
        const QRgb face = client.pixel(client.width() / 2, client.height() - 8);
        int marked = 0;
        for (int y = client.height() - 12; y < client.height() - 1; ++y)
            for (int x = client.width() - 12; x < client.width() - 1; ++x)
                marked += client.pixel(x, y) != face;
        EXPECT_EQ(marked > 0, c.Grip) << marked;
    }
}

}  // namespace

namespace {

using fw::preview::RootKind;

fw::preview::RootKind KindOfBuilt(fw::preview::VirtualDesktop& desktop, const std::string& text) {
    desktop.BuildPreview(text, fw::CodePage::Default());
    for (const std::string& m : desktop.PreviewMessages())
        ADD_FAILURE() << m;
    return desktop.Root();
}

TEST(FormWindow, TellsFormsFramesAndDataModulesApart) {
    const struct {
        const char* What;
        const char* Text;
        RootKind Kind;
    } cases[] = {
        {"a form", "object F: TF\n  Caption = 'x'\n  ClientHeight = 50\n  ClientWidth = 80\nend\n",
         RootKind::Form},
        {"a form without controls or caption",
         "object F: TF\n  Left = 0\n  Top = 0\n  ClientHeight = 50\n  ClientWidth = 80\nend\n",
         RootKind::Form},
        {"a form with nothing but controls",
         "object F: TF\n  object B: TButton\n    TabOrder = 0\n  end\nend\n", RootKind::Form},
        {"TFrame itself", "object F: TFrame\n  Width = 80\n  Height = 50\nend\n", RootKind::Frame},
        {"a frame descendant with controls",
         "object Frame1: TFrame1\n  Left = 0\n  Top = 0\n  Width = 120\n  Height = 70\n  ParentShowHint = "
         "False\n"
         "  TabOrder = 0\n  OnEnter = FrameEnter\n  object B: TButton\n    Left = 4\n    Top = 4\n"
         "    Width = 75\n    Height = 25\n    Caption = 'Inside'\n  end\nend\n",
         RootKind::Frame},
        {"a data module without OldCreateOrder",
         "object dm: TdmMain\n  Height = 150\n  Width = 215\n  PixelsPerInch = 96\nend\n",
         RootKind::DataModule},
        {"a data module",
         "object dm: TdmMain\n  OldCreateOrder = False\n  Height = 150\n  Width = 215\n"
         "  object Images: TImageList\n    Left = 40\n    Top = 24\n  end\nend\n",
         RootKind::DataModule},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        fw::preview::PreviewContext context;
        fw::preview::VirtualDesktop desktop(context);
        EXPECT_EQ(KindOfBuilt(desktop, c.Text), c.Kind);
    }
}

TEST(FormWindow, AFrameHasNoWindowFrameAndADataModuleShowsItsComponents) {
    fw::preview::PreviewContext context;
    fw::preview::VirtualDesktop frame(context);
    ASSERT_EQ(KindOfBuilt(frame,
                          "object Frame1: TFrame1\n  Width = 120\n  Height = 70\n  TabOrder = 0\n"
                          "  object B: TButton\n    Caption = 'Inside'\n  end\nend\n"),
              RootKind::Frame);
    EXPECT_EQ(frame.Window()->Metrics().Caption, 0);
    EXPECT_EQ(frame.Window()->Metrics().Border, 0);
    EXPECT_EQ(frame.Window()->size(), QSize(120, 70));
    EXPECT_EQ(frame.FormClientImage().size(), QSize(120, 70));
    // A frame takes the colour of the form it is put on.
    EXPECT_EQ(frame.FormClientImage().pixelColor(118, 68), QColor(0xF0, 0xF0, 0xF0));

    fw::preview::VirtualDesktop module(context);
    ASSERT_EQ(KindOfBuilt(module,
                          "object dm: TdmMain\n  OldCreateOrder = False\n  Height = 150\n  Width = 215\n"
                          "  object Images: TImageList\n    Left = 40\n    Top = 24\n  end\nend\n"),
              RootKind::DataModule);
    EXPECT_EQ(module.Window()->Metrics().Caption, 0);
    EXPECT_EQ(module.Window()->size(), QSize(215, 150));
    const QWidget* icon = module.Window()->ClientArea()->findChild<QWidget*>(QStringLiteral("Images"));
    ASSERT_NE(icon, nullptr);
    // The icon's square starts at the designer position, the name centred under it.
    EXPECT_EQ(icon->x() + icon->width() / 2, 40 + 28 / 2);
    EXPECT_EQ(icon->y(), 24);
}

}  // namespace

namespace {

TEST(FontSubstitutes, WindowsWidthsAndTheChoiceOfFace) {
    using fw::preview::ClosestNotWider;
    using fw::preview::StretchToFit;
    using fw::preview::WindowsAverageCharWidth;
    EXPECT_NEAR(WindowsAverageCharWidth("Tahoma", 11), 5.37, 0.01);
    EXPECT_NEAR(WindowsAverageCharWidth("MS Sans Serif", 11), 5.0, 0.01);
    EXPECT_NEAR(WindowsAverageCharWidth("system", 16), 7.0, 0.01);
    EXPECT_EQ(WindowsAverageCharWidth("Arial", 11), 0);

    EXPECT_EQ(StretchToFit(5.0, 4.8), 100);
    EXPECT_EQ(StretchToFit(5.0, 6.0), 83);
    EXPECT_EQ(StretchToFit(5.0, 20.0), fw::preview::MinFontStretch);
    EXPECT_EQ(StretchToFit(0, 6.0), 100);

    const struct {
        std::vector<double> Averages;
        double Windows;
        int Chosen;
    } cases[] = {
        {{6.2, 5.1, 4.6}, 5.37, 1},  // the widest that fits
        {{6.2, 5.9}, 5.0, 1},        // none fits: the narrowest
        {{4.0, 4.9}, 5.0, 1},
        {{}, 5.0, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ClosestNotWider(c.Averages, c.Windows), c.Chosen);
}

TEST(FontSubstitutes, CaptionsAreNoWiderThanOnWindows) {
    // A caption of 26 average letters takes about 26 average widths on Windows.
    for (const char* face : {"Tahoma", "MS Sans Serif", "System"}) {
        for (const int height : {11, 13, 16}) {
            SCOPED_TRACE(std::string(face) + " " + std::to_string(height));
            fw::preview::test::LiveForm f(std::string("object F: TForm\n  Font.Name = '") + face +
                                          "'\n  Font.Height = -" + std::to_string(height) + "\nend\n");
            const QFont font = fw::preview::FontOf(f.Form->SubObject("Font"));
            const double windows = fw::preview::WindowsAverageCharWidth(face, height);
            const double here =
                QFontMetricsF(font).horizontalAdvance(QStringLiteral("abcdefghijklmnopqrstuvwxyz")) / 26.0;
            EXPECT_LE(here, windows * 1.02);
            EXPECT_GE(here, windows * 0.75);
        }
    }
}

}  // namespace
