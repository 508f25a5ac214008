// Action main menu bars and action tool bars: the items they take from the ActionBars
// entry of their action manager that names them, where those items sit, and that the
// bars draw them.

#include <gtest/gtest.h>

#include <QImage>
#include <string>
#include <vector>

#include "preview/controlvalues.h"
#include "preview/factory_actionbars.h"
#include "previewtestsupport.h"

namespace fw::preview {
namespace {

using test::LiveForm;
using test::RealizedForm;

// A menu bar and a tool bar filled by one manager, a bar the manager names though the
// bar does not name the manager, and a bar naming a manager that has no entry for it.
const std::string BarsForm = R"(object Form1: TForm1
  ClientWidth = 400
  ClientHeight = 200
  object MenuBar: TActionMainMenuBar
    Left = 0
    Top = 0
    Width = 400
    Height = 24
    ActionManager = Manager
  end
  object ToolBar: TActionToolBar
    Left = 0
    Top = 24
    Width = 400
    Height = 26
    ActionManager = Manager
  end
  object Unlinked: TActionToolBar
    Left = 0
    Top = 50
    Width = 400
    Height = 26
  end
  object Empty: TActionToolBar
    Left = 0
    Top = 76
    Width = 400
    Height = 26
    ActionManager = Manager
  end
  object Manager: TActionManager
    ActionBars = <
      item
        Items = <
          item
            Items = <
              item
                Action = OpenAction
              end>
            Caption = '&File'
          end
          item
            Action = SaveAction
          end
          item
            Caption = '-'
          end
          item
            Caption = 'Hidden'
            Visible = False
          end
          item
            Action = OffAction
          end
          item
            Action = GoneAction
          end
          item
            Action = SaveAction
            Caption = '&Own'
          end>
        ActionBar = MenuBar
      end
      item
        Items = <
          item
            Action = SaveAction
          end
          item
            Caption = '-'
          end
          item
            Caption = 'Glyph only'
            ShowCaption = False
          end>
        ActionBar = ToolBar
      end
      item
        Items.CaptionOptions = coNone
        Items = <
          item
            Caption = 'Open'
          end>
        ActionBar = Unlinked
      end>
    object OpenAction: TAction
      Caption = '&Open...'
    end
    object SaveAction: TAction
      Caption = 'Sa&ve && Quit'
    end
    object OffAction: TAction
      Caption = 'Disabled'
      Enabled = False
    end
    object GoneAction: TAction
      Caption = 'Gone'
      Visible = False
    end
  end
end
)";

TEST(ActionBarItems, FollowTheEntryOfTheManagerThatNamesTheBar) {
    const LiveForm f(BarsForm);
    ASSERT_EQ(f.Messages, std::vector<std::string>{});
    using Items = std::vector<ActionBarItem>;
    struct Case {
        const char* Bar;
        ActionBarKind Kind;
        Items Expected;
    };
    const Case cases[] = {
        // Own captions win over the action's; hidden items and items of hidden actions
        // are left out; a disabled action disables its item; the File item's drop-down
        // is not listed.
        {"MenuBar",
         ActionBarKind::MenuBar,
         {{"File", true, false},
          {"Save & Quit", true, false},
          {"", true, true},
          {"Disabled", false, false},
          {"Own", true, false}}},
        // A tool bar's item with ShowCaption = False shows only its glyph.
        {"ToolBar",
         ActionBarKind::ToolBar,
         {{"Save & Quit", true, false}, {"", true, true}, {"", true, false}}},
        // The manager is found through the entry naming the bar; coNone hides captions.
        {"Unlinked", ActionBarKind::ToolBar, {{"", true, false}}},
        {"Empty", ActionBarKind::ToolBar, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Bar);
        EXPECT_EQ(ActionBarItems(f[c.Bar], c.Kind), c.Expected);
    }
    EXPECT_EQ(ActionManagerOf(f["Unlinked"]), &f["Manager"]);
}

TEST(ActionBarItems, ABarWithoutManagerOrItemsShowsNothing) {
    const LiveForm f(R"(object Form1: TForm1
  object Bar: TActionMainMenuBar
    ActionManager = Manager
  end
  object Alone: TActionToolBar
  end
  object Manager: TActionManager
    ActionBars = <
      item
        ActionBar = Bar
      end>
  end
end
)");
    EXPECT_TRUE(ActionBarItems(f["Bar"], ActionBarKind::MenuBar).empty());
    EXPECT_TRUE(ActionBarItems(f["Alone"], ActionBarKind::ToolBar).empty());
    EXPECT_EQ(ActionManagerOf(f["Alone"]), nullptr);
}

TEST(ActionBarLayout, ItemsRunLeftToRightFromTheMarginWithTheirPadding) {
    const std::vector<ActionBarItem> items = {
        {"File", true, false}, {"", true, true}, {"", true, false}, {"Edit", true, false}};
    ActionBarMetrics metrics;
    metrics.Font = FontOf(nullptr);
    metrics.HorzMargin = 3;
    metrics.VertMargin = 2;
    metrics.Spacing = 5;
    metrics.Glyph = QSize(24, 24);
    const QRect client(0, 0, 300, 30);
    const int file = QFontMetrics(metrics.Font).horizontalAdvance(QStringLiteral("File"));
    for (const ActionBarKind kind : {ActionBarKind::MenuBar, ActionBarKind::ToolBar}) {
        SCOPED_TRACE(kind == ActionBarKind::MenuBar ? "menu" : "tool");
        metrics.Kind = kind;
        const std::vector<QRect> rects = LayOutActionBar(items, metrics, client);
        ASSERT_EQ(rects.size(), items.size());
        EXPECT_EQ(rects[0].left(), 3);
        for (std::size_t i = 1; i < rects.size(); ++i)
            EXPECT_EQ(rects[i].left(), rects[i - 1].right() + 1 + 5);
        // A caption gets padding on both sides; a separator is narrower than a caption.
        EXPECT_GT(rects[0].width(), file + 4);
        EXPECT_LT(rects[1].width(), rects[0].width());
        if (kind == ActionBarKind::MenuBar) {
            // Menu items fill the bar's height.
            EXPECT_EQ(rects[0].top(), 0);
            EXPECT_EQ(rects[0].height(), 30);
        } else {
            // Buttons sit inside the vertical margins; a glyph-only button keeps its cell.
            EXPECT_EQ(rects[0].top(), 2);
            EXPECT_EQ(rects[0].height(), 26);
            EXPECT_GT(rects[2].width(), 24);
        }
    }
}

// Columns of a bar's image holding pixels darker than any background the bars use.
int DarkColumns(const QImage& image, int from, int to) {
    int count = 0;
    for (int x = std::max(0, from); x < std::min(image.width(), to); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (qGray(image.pixel(x, y)) < 0x50) {
                ++count;
                break;
            }
    return count;
}

TEST(ActionBars, DrawTheirItems) {
    const RealizedForm f(BarsForm);
    for (const char* bar : {"MenuBar", "ToolBar"}) {
        SCOPED_TRACE(bar);
        ASSERT_NE(f.Widget(bar), nullptr);
        EXPECT_EQ(f.Realizer->FactoryOf(f[bar])->Family(), "actionbars");
    }
    const QImage menu = f.Widget("MenuBar")->grab().toImage().convertToFormat(QImage::Format_RGB32);
    // The captions are drawn from the left; past the last one lies the bar's colour.
    EXPECT_GT(DarkColumns(menu, 0, 60), 10);
    EXPECT_EQ(DarkColumns(menu, 300, 400), 0);
    EXPECT_EQ(menu.pixelColor(390, 12), ColorOf(SysColor(30)));  // clMenuBar

    // The tool bar's separator is a thin line where the layout puts it.
    const rt::Object& toolBar = f["ToolBar"];
    const QImage tool = f.Widget("ToolBar")->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ActionBarMetrics metrics;
    metrics.Kind = ActionBarKind::ToolBar;
    metrics.Font = ControlFont(toolBar);
    const std::vector<QRect> rects =
        LayOutActionBar(ActionBarItems(toolBar, ActionBarKind::ToolBar), metrics, QRect(0, 0, 400, 26));
    ASSERT_EQ(rects.size(), 3u);
    EXPECT_EQ(tool.pixelColor(rects[1].center().x(), 13), ColorOf(clBtnShadow));
    EXPECT_GT(DarkColumns(tool, rects[0].left(), rects[0].right()), 10);
}

TEST(ActionBars, ADisabledItemIsGreyed) {
    const RealizedForm f(R"(object Form1: TForm1
  ClientWidth = 200
  ClientHeight = 100
  object Bar: TActionMainMenuBar
    Width = 200
    Height = 24
    ActionManager = Manager
  end
  object Manager: TActionManager
    ActionBars = <
      item
        Items = <
          item
            Action = Off
          end>
        ActionBar = Bar
      end>
    object Off: TAction
      Caption = 'Disabled'
      Enabled = False
    end
  end
end
)");
    const QImage image = f.Widget("Bar")->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QColor back = ColorOf(SysColor(30));
    int inked = 0;
    for (int x = 0; x < 80; ++x)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixelColor(x, y) != back) ++inked;
    EXPECT_GT(inked, 20);
    EXPECT_EQ(DarkColumns(image, 0, 200), 0);
}

}  // namespace
}  // namespace fw::preview
