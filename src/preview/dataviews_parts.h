#pragma once
// What the data view factory's files share: limits, typed reads of stored values, the
// frame and scroll bars of a windowed control, and the builders the factory's row table
// calls. Private to the data view factory's files.

#include <qdrawutil.h>
#include <QAbstractTableModel>
#include <QBoxLayout>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDateTime>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPainter>
#include <QPolygon>
#include <QProgressBar>
#include <QSlider>
#include <QSpinBox>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTableWidget>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <numbers>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "base/codepage.h"
#include "preview/classrows.h"
#include "preview/controlfactory.h"
#include "preview/controlvalues.h"
#include "preview/imagelists.h"
#include "preview/realizer.h"
#include "preview/vcllook.h"
#include "runtime/registry.h"
#include "runtime/valuetext.h"

namespace fw::preview::dataviews {

// At most this many rows, columns, items or nodes are made for one control: a grid that
// claims a million rows shows its first ten thousand.
inline constexpr int MaxEntries = 10000;

// Columns of a list view or a data grid, sub-items of a list item.
inline constexpr int MaxColumns = 256;

// Tree nodes and outline lines nested deeper than this are left out.
inline constexpr int MaxDepth = 64;

// A floating-point property; values beyond ten million (no date or size this code
// shows comes near) and values that are not numbers give the fallback.
double FloatOf(const rt::Object& object, std::string_view name, double fallback = 0);

// An ordinal property whose default depends on the program's data (a data grid
// column's Visible and Width follow its field): the class table gives it no default,
// so an unwritten value reads as 0 and cannot be told from a written 0. Such a 0 gives
// the fallback, the value the control takes without data.
std::int64_t Trusted(const rt::Object& object, std::string_view name, std::int64_t fallback);

// The lines of a string-list property as stored, or none.
const std::vector<std::string>* StoredLinesOf(const rt::Object& object, std::string_view name);

// A block the object stored itself, by the name the form used, ignoring case.
const rt::StoredBlock* StoredBlockOf(const rt::Object& object, std::string_view name);

// The integer list a grid stores (ColWidths, RowHeights), or none.
std::span<const std::int64_t> StoredIntegers(const rt::Object& object, std::string_view name);

// No widget of a data view takes the keyboard focus from the editor.
void NoFocusAll(QWidget* widget);

// The frame of a windowed control: a sunken 3D edge for BorderStyle bsSingle (a flat
// line without Ctl3D), none for bsNone.
void ApplyBorder(QFrame& frame, const rt::Object& control);
Qt::ScrollBarPolicy BarPolicy(bool allowed, bool onlyWhenNeeded);

// ScrollBars (ssNone, ssHorizontal, ssVertical, ssBoth) applied to a scroll area.
void ApplyScrollBars(QAbstractScrollArea& area, const rt::Object& control, bool onlyWhenNeeded,
                     const std::string& fallback);

struct GridLook {
    int Cols = 5;
    int Rows = 5;
    int FixedCols = 1;
    int FixedRows = 1;
    int DefaultColWidth = 64;
    int DefaultRowHeight = 24;
    std::vector<int> ColWidths;   // stored widths; missing ones take the default
    std::vector<int> RowHeights;  // stored heights
    int LineWidth = 1;            // GridLineWidth
    bool FixedVertLine = true, FixedHorzLine = true, VertLine = true, HorzLine = true;
    bool Classic = false;  // the classic drawing style: raised fixed cells, black lines
    bool RowSelect = false;
    int SelectedCol = -1, SelectedRow = -1;
    bool Stretch = false;            // all columns and rows share the size evenly
    bool StretchLastColumn = false;  // the last column takes the width the others leave
    bool CenterText = false;
    QColor Back, Fixed, Text, FixedText, Line, FixedLine, Highlight, HighlightText;
    QFont FixedFont;
    bool HasFixedFont = false;
    std::map<std::pair<int, int>, QString> Texts;  // (row, column)
    std::map<int, Qt::Alignment> ColumnAlign;
    std::map<int, Qt::Alignment> TitleAlign;

    int VLineWidth() const { return FixedVertLine || VertLine ? LineWidth : 0; }
    int HLineWidth() const { return FixedHorzLine || HorzLine ? LineWidth : 0; }
    int ColWidth(int col) const {
        const int w = col < static_cast<int>(ColWidths.size()) ? ColWidths[static_cast<std::size_t>(col)]
                                                               : DefaultColWidth;
        return std::max(0, w);
    }
    int RowHeight(int row) const {
        const int h = row < static_cast<int>(RowHeights.size()) ? RowHeights[static_cast<std::size_t>(row)]
                                                                : DefaultRowHeight;
        return std::max(0, h);
    }
};

// Date pickers and calendars (factory_pickers.cpp).
QWidget* MakeDateTimePicker(const rt::Object& control, QWidget* parent);
QWidget* MakeMonthCalendar(const rt::Object& control, QWidget* parent);
QWidget* MakeCalendarGrid(const rt::Object& control, QWidget* parent);

// Tree views, list views and outlines (factory_trees.cpp).
QWidget* MakeListView(const rt::Object& control, QWidget* parent);
QWidget* MakeTreeView(const rt::Object& control, QWidget* parent);
// Gives the items of a list or tree view made above the images their ImageIndex names
// in the control's image list (a tree's Images; a list's SmallImages, or LargeImages in
// the icon view); items keep their index under ItemImageRole.
inline constexpr int ItemImageRole = Qt::UserRole + 17;
void ShowItemImages(const rt::Object& control, QWidget* widget, RealizeContext& context);
QWidget* MakeOutline(const rt::Object& control, QWidget* parent);

// Rich edits (factory_richedit.cpp).
QWidget* MakeRichEdit(const rt::Object& control, QWidget* parent);

// Grids (factory_grids.cpp).
QTableView* MakeGrid(const rt::Object& control, QWidget* parent, std::shared_ptr<GridLook> look);
std::shared_ptr<GridLook> GridBase(const rt::Object& control);
QWidget* MakeStringGrid(const rt::Object& control, QWidget* parent);
QWidget* MakeDBGrid(const rt::Object& control, QWidget* parent);
QWidget* MakeValueListEditor(const rt::Object& control, QWidget* parent);

// Progress bars, gauges, track bars, colour grids, arrow pairs (factory_gauges.cpp).
QWidget* MakeArrowPair(const rt::Object& control, QWidget* parent, bool vertical);
QWidget* MakeTrackBar(const rt::Object& control, QWidget* parent);
QWidget* MakeProgressBar(const rt::Object& control, QWidget* parent);
QWidget* MakeGauge(const rt::Object& control, QWidget* parent);
QWidget* MakeColorGrid(const rt::Object& control, QWidget* parent);

// Charts (factory_charts.cpp).
QWidget* MakeChart(const rt::Object& control, QWidget* parent);

}  // namespace fw::preview::dataviews
