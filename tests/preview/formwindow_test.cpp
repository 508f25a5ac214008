// The previewed form's window: the frame and title bar follow the BorderStyle and
// BorderIcons the form's text stores, although the preview lays every form out as a
// sizeable window, and the client area keeps the size the layout gave it.

#include <gtest/gtest.h>

#include <string>

#include "preview/formwindow.h"
#include "preview/virtualdesktop.h"
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
    {"bsDialog with help", "  BorderIcons = [biSystemMenu, biHelp]\n  BorderStyle = bsDialog\n", 3, 23, false, false,
     true, true, false, false, false, false},
    {"bsNone", "  BorderStyle = bsNone\n", 0, 0, false, false, false, false, false, false, false, false},
    {"bsToolWindow", "  BorderStyle = bsToolWindow\n", 3, 23, true, false, true, false, false, false, false, false},
    {"bsSizeToolWin", "  BorderStyle = bsSizeToolWin\n", 8, 23, true, false, true, false, false, false, false, true},
    {"no system menu", "  BorderIcons = [biMinimize, biMaximize]\n", 8, 23, false, false, false, false, false, false,
     false, true},
    {"minimize alone", "  BorderIcons = [biSystemMenu, biMinimize]\n", 8, 23, false, true, true, false, true, true,
     false, true},
    {"maximize alone", "  BorderIcons = [biSystemMenu, biMaximize]\n  BorderStyle = bsSingle\n", 3, 23, false, true,
     true, false, true, false, true, false},
    {"help without min and max", "  BorderIcons = [biSystemMenu, biHelp]\n", 8, 23, false, true, true, true, false,
     false, false, true},
};

TEST(FormWindow, DrawsTheFrameTheFormStores) {
    for (const ChromeCase& c : ChromeCases) {
        SCOPED_TRACE(c.Name);
        const std::string text = std::string("object Form1: TForm1\n  Caption = 'Look'\n") + c.Properties +
                                 "  ClientHeight = 120\n  ClientWidth = 200\nend\n";
        fw::preview::VirtualDesktop desktop;
        desktop.BuildPreview(fw::rt::SplitFormLines(text), fw::CodePage::Default());
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

TEST(FormWindow, StoredBorderStyleIsTheRootsOwn) {
    const struct {
        const char* Text;
        const char* Style;
    } cases[] = {
        {"object F: TForm\n  BorderStyle = bsDialog  \nend\n", "bsDialog"},
        {"object F: TForm\n  Caption = 'x'\nend\n", ""},
        // A nested control's BorderStyle is not the form's.
        {"object F: TForm\n  object P: TPanel\n    BorderStyle = bsSingle\n  end\nend\n", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(fw::rt::StoredBorderStyle(fw::rt::SplitFormLines(c.Text)), c.Style) << c.Text;
}

}  // namespace
