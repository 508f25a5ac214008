#pragma once
// Action main menu bars and action tool bars hold no items of their own: at run time
// each shows the items of the entry of its action manager's ActionBars whose ActionBar
// names it. These functions find those items and place them without a screen; the
// factory (factory_actionbars.cpp) draws them.

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>
#include <cstddef>
#include <vector>

#include "runtime/object.h"

namespace fw::preview {

// A bar shows at most this many items: more would not fit on any screen, and a hostile
// collection must not make the preview lay out millions.
inline constexpr std::size_t MaxActionBarItems = 1000;

// One top-level item of an action bar as it shows.
struct ActionBarItem {
    // The caption without accelerator marks; empty for a button that shows only its
    // glyph.
    QString Caption;
    bool Enabled = true;
    bool Separator = false;  // the caption is "-"
    bool operator==(const ActionBarItem&) const = default;
};

// The action manager whose ActionBars fill the bar: its ActionManager, else a manager
// owned by the bar's owner whose ActionBars name the bar. nullptr for none.
const rt::Object* ActionManagerOf(const rt::Object& bar);

enum class ActionBarKind { MenuBar, ToolBar };

// The items the bar shows, in order: the visible items of the ActionBars entry that
// names the bar. An item's caption is its own, or its action's when it stores none; an
// item whose action is hidden is left out, and one whose action is disabled shows
// disabled. A menu bar shows every caption, a tool bar those its items' CaptionOptions
// let it show. Nested items (drop-down menus) are not listed.
std::vector<ActionBarItem> ActionBarItems(const rt::Object& bar, ActionBarKind kind);

// Where each item sits in the client area of a bar: left to right from the bar's left
// margin, each as wide as its caption and padding (a glyph cell for a button without a
// caption), a separator narrow; items past the right edge keep their places and are
// clipped when drawn.
struct ActionBarMetrics {
    ActionBarKind Kind = ActionBarKind::MenuBar;
    QFont Font;
    int HorzMargin = 1;
    int VertMargin = 1;
    int Spacing = 0;      // between neighbouring items
    QSize Glyph{16, 16};  // a tool bar's image cell
};
std::vector<QRect> LayOutActionBar(const std::vector<ActionBarItem>& items, const ActionBarMetrics& metrics,
                                   const QRect& client);

}  // namespace fw::preview
