// Data view controls realised from small forms, checked for what a user sees: list and
// tree views with the items their stored blocks hold, grids, pickers and calendars,
// rich edits, outlines, gauges, colour grids, charts and the arrow controls.

#include <gtest/gtest.h>

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QSlider>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "base/codepage.h"
#include "previewtestsupport.h"
#include "runtime/valuetext.h"

namespace fw::preview::test {
namespace {

// ---------------------------------------------------------------------------------
// Forms and stored blocks

std::string Form(const std::string& body) {
    return "object Form1: TForm\n  ClientWidth = 400\n  ClientHeight = 300\n" + body + "end\n";
}

// One control at 8,8 of the given size, with property lines indented by four spaces.
std::string Control(const std::string& cls, const std::string& props, int width = 200, int height = 120,
                    const std::string& name = "C") {
    return "  object " + name + ": " + cls +
           "\n    Left = 8\n    Top = 8\n    Width = " + std::to_string(width) +
           "\n    Height = " + std::to_string(height) + "\n" + props + "  end\n";
}

using Bytes = std::vector<std::uint8_t>;

void Int32(Bytes& out, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void WideText(Bytes& out, const std::string& utf8) {
    const std::u16string text = QString::fromUtf8(utf8.c_str()).toStdU16String();
    out.push_back(static_cast<std::uint8_t>(text.size()));
    for (char16_t c : text) {
        out.push_back(static_cast<std::uint8_t>(c & 0xFF));
        out.push_back(static_cast<std::uint8_t>(c >> 8));
    }
}

void NarrowText(Bytes& out, const std::string& utf8) {
    const std::string bytes = CodePage::Default().Encode(QString::fromUtf8(utf8.c_str()).toStdU16String());
    out.push_back(static_cast<std::uint8_t>(bytes.size()));
    out.insert(out.end(), bytes.begin(), bytes.end());
}

// A binary value as form text writes it.
std::string Hex(const Bytes& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text = "{";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i % 32 == 0) text += "\n      ";
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 15];
    }
    return text + "}";
}

struct Node {
    std::string Text;
    std::vector<Node> Children;
};

// The generations of the tree view's node block: the oldest narrow "Data", and the
// "NodeData" versions 1, 3 and 7.
enum class Tree { Narrow, V1, V3, V7 };

void WriteNode(Bytes& out, const Node& node, Tree format, bool& first) {
    Bytes record;
    for (std::int32_t v : {0, 0, -1, -1})
        Int32(record, v);  // image, selected, state, overlay
    const auto count = static_cast<std::int32_t>(node.Children.size());
    switch (format) {
        case Tree::Narrow:
        case Tree::V1:
            Int32(record, 0);
            Int32(record, count);
            break;
        case Tree::V3:
            Int32(record, 0);
            Int32(record, 0);
            Int32(record, count);
            record.push_back(1);
            break;
        case Tree::V7:
            Int32(record, 0);
            Int32(record, 0);
            record.push_back(0);
            Int32(record, count);
            record.push_back(1);
            break;
    }
    if (format == Tree::Narrow)
        NarrowText(record, node.Text);
    else
        WideText(record, node.Text);
    if (format == Tree::V7 && !first) out.insert(out.end(), {0, 0});
    first = false;
    Int32(out, static_cast<std::int32_t>(record.size()));
    out.insert(out.end(), record.begin(), record.end());
    for (const Node& child : node.Children)
        WriteNode(out, child, format, first);
}

Bytes TreeBlock(const std::vector<Node>& nodes, Tree format, int versionByte = -1) {
    Bytes out;
    if (format != Tree::Narrow)
        out.push_back(static_cast<std::uint8_t>(versionByte >= 0     ? versionByte
                                                : format == Tree::V1 ? 1
                                                : format == Tree::V3 ? 3
                                                                     : 7));
    Int32(out, static_cast<std::int32_t>(nodes.size()));
    if (format == Tree::V7) WideText(out, "TTreeNode");
    bool first = true;
    for (const Node& node : nodes)
        WriteNode(out, node, format, first);
    return out;
}

std::string TreeProps(const Bytes& block, Tree format) {
    return std::string("    Items.") + (format == Tree::Narrow ? "Data" : "NodeData") + " = " + Hex(block) +
           "\n";
}

struct Item {
    std::string Caption;
    std::vector<std::string> SubItems;
};

// A list view's item block: "ItemData" (wide) or the older "Data" (narrow).
Bytes ItemBlock(const std::vector<Item>& items, bool wide) {
    Bytes out;
    if (wide) out.push_back(5);
    Int32(out, 0);  // the size, which readers need not trust
    Int32(out, static_cast<std::int32_t>(items.size()));
    for (const Item& item : items) {
        for (std::int32_t v : {0, -1, -1})
            Int32(out, v);
        Int32(out, static_cast<std::int32_t>(item.SubItems.size()));
        if (wide) Int32(out, -1);
        Int32(out, 0);
        if (wide)
            WideText(out, item.Caption);
        else
            NarrowText(out, item.Caption);
        for (const std::string& sub : item.SubItems) {
            if (wide) {
                WideText(out, sub);
                Int32(out, 0);
            } else {
                NarrowText(out, sub);
            }
        }
    }
    for (const Item& item : items)
        for (std::size_t i = 0; i < item.SubItems.size(); ++i)
            out.insert(out.end(), {0xFF, 0xFF});
    return out;
}

// ---------------------------------------------------------------------------------
// Reading what the widgets show

// A tree as "text(child,child),text"; a node without text shows as <>.
std::string Dump(const QTreeWidgetItem* item) {
    std::string text = item->text(0).isEmpty() ? "<>" : item->text(0).toStdString();
    if (item->childCount() == 0) return text;
    text += "(";
    for (int i = 0; i < item->childCount(); ++i)
        text += (i ? "," : "") + Dump(item->child(i));
    return text + ")";
}

std::string Dump(const QTreeWidget* tree) {
    std::string text;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        text += (i ? "," : "") + Dump(tree->topLevelItem(i));
    return text;
}

int Depth(const QTreeWidgetItem* item) {
    int deepest = 0;
    for (int i = 0; i < item->childCount(); ++i)
        deepest = std::max(deepest, Depth(item->child(i)));
    return deepest + 1;
}

// A list view cell's text; "(none)" where the cell has no item.
QString ItemText(const QTableWidget* table, int row, int column) {
    const QTableWidgetItem* item = table->item(row, column);
    return item ? item->text() : QStringLiteral("(none)");
}

QString CellText(const QTableView* view, int row, int column) {
    return view->model()->index(row, column).data().toString();
}

QColor PixelAt(QWidget* widget, int x, int y) {
    return widget->grab().toImage().pixelColor(x, y);
}

// The colour a user sees in a grid cell: near its bottom left corner, clear of its text
// and its grid lines.
QColor CellColor(QTableView* view, int row, int column) {
    const QRect cell = view->visualRect(view->model()->index(row, column));
    const QPoint at = view->viewport()->mapTo(view, cell.bottomLeft() + QPoint(3, -4));
    return PixelAt(view, at.x(), at.y());
}

// The colour most pixels of an area show, whatever thin lines cross it.
QColor MostlyIn(QWidget* widget, const QRect& area) {
    const QImage image = widget->grab().toImage();
    std::map<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[image.pixel(x, y)];
    const auto most = std::max_element(counts.begin(), counts.end(),
                                       [](const auto& a, const auto& b) { return a.second < b.second; });
    return most == counts.end() ? QColor() : QColor::fromRgb(most->first);
}

const std::vector<Node> Animals = {
    {"Animals", {{"Cats", {}}, {"Dogs", {{"Beagle", {}}}}}},
    {"Plants", {}},
    {"Stones", {}},
};
constexpr const char* AnimalsDump = "Animals(Cats,Dogs(Beagle)),Plants,Stones";

// ---------------------------------------------------------------------------------
// The family

TEST(DataViewFactory, ClaimsExactlyItsClasses) {
    const LiveForm f(Form(""));
    const auto factory = MakeDataViewFactory();
    EXPECT_EQ(factory->Family(), "dataviews");
    for (const char* name :
         {"TListView",   "TTreeView",       "TShellTreeView",    "TShellListView", "TStringGrid",
          "TDrawGrid",   "TDBGrid",         "TValueListEditor",  "TTrackBar",      "TProgressBar",
          "TUpDown",     "TDateTimePicker", "TMonthCalendar",    "TCalendar",      "TRichEdit",
          "TDBRichEdit", "TOutline",        "TDirectoryOutline", "TGauge",         "TColorGrid",
          "TChart",      "TDBChart",        "TScroller"}) {
        const rt::Class* cls = f.Registry->FindClassByName(name);
        ASSERT_NE(cls, nullptr) << name;
        EXPECT_TRUE(factory->Handles(*cls)) << name;
    }
    for (const char* name : {"TButton", "TPanel", "TListBox", "TDBListBox", "TShellComboBox",
                             "THeaderControl", "TDBNavigator", "TTabSet", "TMemo", "TCustomGrid"}) {
        const rt::Class* cls = f.Registry->FindClassByName(name);
        if (cls) EXPECT_FALSE(factory->Handles(*cls)) << name;
    }
}

// ---------------------------------------------------------------------------------
// Tree views

TEST(TreeView, DecodesEveryStoredLayout) {
    struct Case {
        const char* Name;
        Tree Format;
        int Version;  // the version byte written, -1 for the format's own
    };
    for (const Case& c :
         {Case{"narrow Data", Tree::Narrow, -1}, Case{"NodeData 1", Tree::V1, -1},
          Case{"NodeData 3", Tree::V3, -1}, Case{"NodeData 7", Tree::V7, -1},
          // A version this code does not know, in a layout it does.
          Case{"NodeData 5 laid out as 3", Tree::V3, 5}, Case{"NodeData 9 laid out as 7", Tree::V7, 9}}) {
        SCOPED_TRACE(c.Name);
        RealizedForm f(
            Form(Control("TTreeView", TreeProps(TreeBlock(Animals, c.Format, c.Version), c.Format))));
        auto* tree = qobject_cast<QTreeWidget*>(f.Widget("C"));
        ASSERT_NE(tree, nullptr);
        EXPECT_EQ(Dump(tree), AnimalsDump);
        // Nodes load collapsed.
        ASSERT_GT(tree->topLevelItemCount(), 0);
        EXPECT_FALSE(tree->topLevelItem(0)->isExpanded());
    }
}

TEST(TreeView, NarrowTextTakesTheWindowsCodePage) {
    RealizedForm f(
        Form(Control("TTreeView", TreeProps(TreeBlock({{"Café", {}}}, Tree::Narrow), Tree::Narrow))));
    auto* tree = qobject_cast<QTreeWidget*>(f.Widget("C"));
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(Dump(tree), "Café");
}

TEST(TreeView, DamagedBlocksShowWhatReadsAndNoMore) {
    Bytes cut = TreeBlock(Animals, Tree::V3);
    cut.resize(cut.size() - 10);  // into the last node's record

    Bytes overclaimed = TreeBlock({{"One", {}}, {"Two", {}}}, Tree::V1);
    overclaimed[1] = 0xFF;  // a million and more top-level nodes claimed
    overclaimed[2] = 0xFF;
    overclaimed[3] = 0x0F;

    Bytes negativeSize = TreeBlock({{"One", {}}}, Tree::V1);
    for (int i = 5; i < 9; ++i)
        negativeSize[static_cast<std::size_t>(i)] = 0xFF;

    Bytes longText = TreeBlock({{"One", {}}}, Tree::V1);
    longText[5 + 4 + 24] = 200;  // a text length past the record

    struct Case {
        const char* Name;
        Bytes Block;
        std::string Shown;
    };
    for (const Case& c :
         {Case{"cut short", cut, "Animals(Cats,Dogs(Beagle)),Plants"},
          Case{"more nodes claimed than written", overclaimed, "One,Two"},
          Case{"negative record size", negativeSize, ""}, Case{"text past its record", longText, ""},
          Case{"version byte alone", Bytes{3}, ""}, Case{"empty", Bytes{}, ""}}) {
        SCOPED_TRACE(c.Name);
        RealizedForm f(Form(Control("TTreeView", TreeProps(c.Block, Tree::V1))));
        auto* tree = qobject_cast<QTreeWidget*>(f.Widget("C"));
        ASSERT_NE(tree, nullptr);
        EXPECT_EQ(Dump(tree), c.Shown);
    }
}

TEST(TreeView, HugeAndDeepTreesAreBounded) {
    std::vector<Node> flat(10050, Node{"n", {}});
    Node chain{"d", {}};
    for (int i = 0; i < 200; ++i)
        chain = Node{"d", {chain}};
    for (const auto& [nodes, check] :
         {std::pair{flat, +[](QTreeWidget* t) { EXPECT_EQ(t->topLevelItemCount(), 10000); }},
          std::pair{std::vector<Node>{chain}, +[](QTreeWidget* t) {
                        ASSERT_EQ(t->topLevelItemCount(), 1);
                        EXPECT_EQ(Depth(t->topLevelItem(0)), 64);
                    }}}) {
        RealizedForm f(Form(Control("TTreeView", TreeProps(TreeBlock(nodes, Tree::V3), Tree::V3))));
        auto* tree = qobject_cast<QTreeWidget*>(f.Widget("C"));
        ASSERT_NE(tree, nullptr);
        check(tree);
    }
}

TEST(TreeView, RootAndIndentFollowTheControl) {
    RealizedForm f(Form(Control("TTreeView", "    Indent = 25\n    ShowRoot = False\n" +
                                                 TreeProps(TreeBlock(Animals, Tree::V3), Tree::V3))));
    auto* tree = qobject_cast<QTreeWidget*>(f.Widget("C"));
    ASSERT_NE(tree, nullptr);
    EXPECT_FALSE(tree->rootIsDecorated());
    EXPECT_EQ(tree->indentation(), 25);
    EXPECT_TRUE(tree->isHeaderHidden());
    EXPECT_EQ(tree->focusPolicy(), Qt::NoFocus);
}

TEST(ShellViews, ShowANeutralRootEntry) {
    RealizedForm f(Form(Control("TShellTreeView", "", 150, 100, "T") +
                        Control("TShellListView", "    Root = 'rfMyComputer'\n", 150, 100, "L")));
    auto* tree = qobject_cast<QTreeWidget*>(f.Widget("T"));
    auto* list = qobject_cast<QListWidget*>(f.Widget("L"));
    ASSERT_NE(tree, nullptr);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(Dump(tree), "Desktop");
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    EXPECT_EQ(tree->topLevelItem(0)->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), "This PC");
}

// ---------------------------------------------------------------------------------
// List views

const std::string ReportColumns =
    "    Columns = <\n"
    "      item\n        Caption = 'Name'\n        Width = 80\n      end\n"
    "      item\n        Alignment = taRightJustify\n        Caption = 'Size'\n      end\n"
    "      item\n        Caption = 'Note'\n        Width = 70\n      end>\n"
    "    ViewStyle = vsReport\n";

TEST(ListView, ReportShowsColumnsAndStoredItems) {
    const std::vector<Item> items = {{"Alpha", {"1", "first"}}, {"Beta", {"22"}}, {"Gamma", {}}};
    for (bool wide : {true, false}) {
        SCOPED_TRACE(wide ? "ItemData" : "Data");
        const std::string block = std::string("    Items.") + (wide ? "ItemData" : "Data") + " = " +
                                  Hex(ItemBlock(items, wide)) + "\n";
        RealizedForm f(Form(
            Control("TListView", ReportColumns + block + "    GridLines = True\n    Checkboxes = True\n")));
        auto* table = qobject_cast<QTableWidget*>(f.Widget("C"));
        ASSERT_NE(table, nullptr);
        ASSERT_EQ(table->columnCount(), 3);
        ASSERT_NE(table->horizontalHeaderItem(1), nullptr);
        EXPECT_EQ(table->horizontalHeaderItem(0)->text(), "Name");
        EXPECT_EQ(table->horizontalHeaderItem(1)->text(), "Size");
        EXPECT_EQ(table->columnWidth(0), 80);
        EXPECT_EQ(table->columnWidth(1), 50);  // the column's default width
        EXPECT_TRUE(table->horizontalHeader()->isVisibleTo(table));
        EXPECT_TRUE(table->showGrid());
        ASSERT_EQ(table->rowCount(), 3);
        EXPECT_EQ(ItemText(table, 0, 0), "Alpha");
        ASSERT_NE(table->item(0, 0), nullptr);
        EXPECT_EQ(table->item(0, 0)->checkState(), Qt::Unchecked);
        EXPECT_EQ(ItemText(table, 0, 1), "1");
        EXPECT_EQ(ItemText(table, 0, 2), "first");
        ASSERT_NE(table->item(1, 1), nullptr);
        EXPECT_TRUE(table->item(1, 1)->textAlignment() & Qt::AlignRight);
        EXPECT_EQ(table->item(1, 2), nullptr);
        EXPECT_EQ(ItemText(table, 2, 0), "Gamma");
    }
}

TEST(ListView, HeadersHideAndDamagedItemsStop) {
    Bytes block = ItemBlock({{"One", {"a"}}, {"Two", {"b"}}}, true);
    block[5] = 50;                   // fifty items claimed, two written
    block.resize(block.size() - 6);  // and the second one's sub-item cut off
    RealizedForm f(Form(
        Control("TListView",
                ReportColumns + "    ShowColumnHeaders = False\n    Items.ItemData = " + Hex(block) + "\n")));
    auto* table = qobject_cast<QTableWidget*>(f.Widget("C"));
    ASSERT_NE(table, nullptr);
    EXPECT_FALSE(table->horizontalHeader()->isVisibleTo(table));
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(ItemText(table, 0, 1), "a");
    EXPECT_EQ(ItemText(table, 1, 0), "Two");
}

TEST(ListView, ViewStylesPickTheirLayout) {
    const std::string block =
        "    Items.ItemData = " + Hex(ItemBlock({{"One", {}}, {"Two", {}}}, true)) + "\n";
    struct Case {
        const char* Style;
        QListView::ViewMode Mode;
        QListView::Flow Flow;
    };
    for (const Case& c : {Case{"vsIcon", QListView::IconMode, QListView::LeftToRight},
                          Case{"vsSmallIcon", QListView::ListMode, QListView::LeftToRight},
                          Case{"vsList", QListView::ListMode, QListView::TopToBottom}}) {
        SCOPED_TRACE(c.Style);
        RealizedForm f(Form(Control("TListView", block + "    ViewStyle = " + c.Style + "\n")));
        auto* list = qobject_cast<QListWidget*>(f.Widget("C"));
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->viewMode(), c.Mode);
        EXPECT_EQ(list->flow(), c.Flow);
        ASSERT_EQ(list->count(), 2);
        EXPECT_EQ(list->item(1)->text(), "Two");
    }
}

// ---------------------------------------------------------------------------------
// Grids

TEST(StringGrid, SizesFixedCellsAndTheCurrentCell) {
    RealizedForm f(Form(Control("TStringGrid",
                                "    ColCount = 4\n    RowCount = 3\n    DefaultRowHeight = 20\n"
                                "    ColWidths = (\n      40\n      20\n      64\n      64)\n",
                                300, 100)));
    f.Client->show();
    auto* grid = qobject_cast<QTableView*>(f.Widget("C"));
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->model()->columnCount(), 4);
    EXPECT_EQ(grid->model()->rowCount(), 3);
    // Each cell is followed by its one-pixel grid line.
    EXPECT_EQ(grid->columnWidth(0), 41);
    EXPECT_EQ(grid->columnWidth(1), 21);
    EXPECT_EQ(grid->rowHeight(2), 21);
    EXPECT_EQ(CellColor(grid, 0, 2), QColor(0xF0, 0xF0, 0xF0));  // fixed: clBtnFace
    EXPECT_EQ(CellColor(grid, 2, 0), QColor(0xF0, 0xF0, 0xF0));
    EXPECT_EQ(CellColor(grid, 1, 1), QColor(0x00, 0x78, 0xD7));  // the current cell: clHighlight
    EXPECT_EQ(CellColor(grid, 2, 2), QColor(Qt::white));
}

TEST(StringGrid, OptionsAndCountsShapeTheGrid) {
    struct Case {
        const char* Name;
        std::string Props;
        int Cols, Rows, ColumnWidth;
        QColor FirstCell;  // cell (0, 0)
    };
    for (const Case& c : {
             Case{"no lines", "    Options = []\n", 5, 5, 64, QColor(0xF0, 0xF0, 0xF0)},
             Case{"wide lines", "    GridLineWidth = 3\n", 5, 5, 67, QColor(0xF0, 0xF0, 0xF0)},
             Case{"no fixed cells", "    FixedCols = 0\n    FixedRows = 0\n", 5, 5, 65,
                  QColor(0x00, 0x78, 0xD7)},
             Case{"huge counts are capped", "    ColCount = 50000\n    RowCount = 2000000\n", 10000, 10000,
                  65, QColor(0xF0, 0xF0, 0xF0)},
             Case{"fixed counts beyond the grid", "    ColCount = 2\n    FixedCols = 9\n", 2, 5, 65,
                  QColor(0xF0, 0xF0, 0xF0)},
             Case{"negative counts", "    ColCount = -4\n    RowCount = -1\n", 0, 0, 65, QColor()},
         }) {
        SCOPED_TRACE(c.Name);
        RealizedForm f(Form(Control("TStringGrid", c.Props, 300, 150)));
        f.Client->show();
        auto* grid = qobject_cast<QTableView*>(f.Widget("C"));
        ASSERT_NE(grid, nullptr);
        EXPECT_EQ(grid->model()->columnCount(), c.Cols);
        EXPECT_EQ(grid->model()->rowCount(), c.Rows);
        if (c.Cols == 0) continue;
        EXPECT_EQ(grid->columnWidth(0), c.ColumnWidth);
        EXPECT_EQ(CellColor(grid, 0, 0), c.FirstCell);
    }
}

TEST(DBGrid, TitlesColumnsAndIndicator) {
    const std::string columns =
        "    Columns = <\n"
        "      item\n        FieldName = 'NAME'\n        Title.Caption = 'Customer'\n        Width = 90\n    "
        "  end\n"
        "      item\n        FieldName = 'CITY'\n      end>\n";
    struct Case {
        const char* Name;
        std::string Props;
        std::vector<QString> Titles;  // the first row, indicator first
        std::vector<int> Widths;      // without the grid lines
    };
    for (const Case& c : {
             Case{"columns", columns, {"", "Customer", "CITY"}, {11, 90, 64}},
             Case{"no columns", "", {"", ""}, {11, 64}},
             Case{"no indicator",
                  columns + "    Options = [dgTitles, dgColLines, dgRowLines]\n",
                  {"Customer", "CITY"},
                  {90, 64}},
         }) {
        SCOPED_TRACE(c.Name);
        RealizedForm f(Form(Control("TDBGrid", c.Props, 300, 100)));
        auto* grid = qobject_cast<QTableView*>(f.Widget("C"));
        ASSERT_NE(grid, nullptr);
        ASSERT_EQ(grid->model()->columnCount(), static_cast<int>(c.Titles.size()));
        EXPECT_EQ(grid->model()->rowCount(), 2);  // the titles and one empty row
        for (int col = 0; col < static_cast<int>(c.Titles.size()); ++col) {
            EXPECT_EQ(CellText(grid, 0, col), c.Titles[static_cast<std::size_t>(col)]);
            EXPECT_EQ(grid->columnWidth(col), c.Widths[static_cast<std::size_t>(col)] + 1);
        }
    }
}

TEST(ValueListEditor, KeysAndValuesUnderTheirTitles) {
    RealizedForm f(
        Form(Control("TValueListEditor",
                     "    Strings.Strings = (\n      'Colour=red'\n      'Size=12=13'\n      'Lonely')\n"
                     "    TitleCaptions.Strings = (\n      'Setting'\n      'Value')\n",
                     260, 120)));
    f.Client->show();
    auto* grid = qobject_cast<QTableView*>(f.Widget("C"));
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->model()->columnCount(), 2);
    EXPECT_EQ(grid->model()->rowCount(), 4);
    EXPECT_EQ(CellText(grid, 0, 0), "Setting");
    EXPECT_EQ(CellText(grid, 1, 0), "Colour");
    EXPECT_EQ(CellText(grid, 1, 1), "red");
    EXPECT_EQ(CellText(grid, 2, 1), "12=13");
    EXPECT_EQ(CellText(grid, 3, 0), "Lonely");
    EXPECT_EQ(CellText(grid, 3, 1), "");
    // The value column takes the width the key column leaves.
    EXPECT_EQ(grid->columnWidth(0) + grid->columnWidth(1), grid->viewport()->width());
}

// ---------------------------------------------------------------------------------
// Ranges: track bars, progress bars, gauges

TEST(TrackBar, RangeTicksAndOrientation) {
    struct Case {
        std::string Props;
        Qt::Orientation Orientation;
        int Min, Max, Value;
        QSlider::TickPosition Ticks;
        int Interval;
    };
    for (const Case& c : {
             Case{"", Qt::Horizontal, 0, 10, 0, QSlider::TicksBelow, 1},
             Case{"    Orientation = trVertical\n    Min = 5\n    Max = 50\n    Position = 20\n    Frequency "
                  "= 5\n"
                  "    TickMarks = tmBoth\n",
                  Qt::Vertical, 5, 50, 20, QSlider::TicksBothSides, 5},
             Case{"    Position = 99\n    TickMarks = tmTopLeft\n    TickStyle = tsManual\n", Qt::Horizontal,
                  0, 10, 10, QSlider::TicksAbove, 10},
             Case{"    Min = 10\n    Max = 3\n    TickStyle = tsNone\n", Qt::Horizontal, 10, 10, 10,
                  QSlider::NoTicks, 1},
         }) {
        SCOPED_TRACE(c.Props);
        RealizedForm f(Form(Control("TTrackBar", c.Props, 150, 45)));
        auto* slider = f.Widget("C")->findChild<QSlider*>();
        ASSERT_NE(slider, nullptr);
        EXPECT_EQ(slider->orientation(), c.Orientation);
        EXPECT_EQ(slider->minimum(), c.Min);
        EXPECT_EQ(slider->maximum(), c.Max);
        EXPECT_EQ(slider->value(), c.Value);
        EXPECT_EQ(slider->tickPosition(), c.Ticks);
        if (c.Ticks != QSlider::NoTicks) EXPECT_EQ(slider->tickInterval(), c.Interval);
        // A vertical track bar has its minimum at the top.
        EXPECT_EQ(slider->invertedAppearance(), c.Orientation == Qt::Vertical);
    }
}

TEST(ProgressBar, FillsItsShareFromTheStart) {
    const QColor bar(0x00, 0x78, 0xD7);
    struct Case {
        std::string Props;
        int Width, Height;
        QPoint Filled, Empty;
    };
    for (const Case& c : {
             Case{"    Position = 50\n    Smooth = True\n", 100, 16, {20, 8}, {80, 8}},
             Case{"    Position = 50\n", 100, 16, {4, 8}, {80, 8}},
             Case{"    Orientation = pbVertical\n    Max = 4\n    Position = 1\n    Smooth = True\n",
                  16,
                  100,
                  {8, 90},
                  {8, 20}},
             Case{"    Position = 500\n    Smooth = True\n", 100, 16, {95, 8}, {-1, -1}},
         }) {
        SCOPED_TRACE(c.Props);
        RealizedForm f(Form(Control("TProgressBar", c.Props, c.Width, c.Height)));
        f.Client->show();
        auto* progress = qobject_cast<QProgressBar*>(f.Widget("C"));
        ASSERT_NE(progress, nullptr);
        EXPECT_EQ(PixelAt(progress, c.Filled.x(), c.Filled.y()), bar);
        if (c.Empty.x() >= 0) EXPECT_NE(PixelAt(progress, c.Empty.x(), c.Empty.y()), bar);
    }
}

TEST(Gauge, PercentageTextAndFill) {
    struct Case {
        std::string Props;
        QString Text;
        QPoint Fore, Back;  // a point in the foreground and one in the background colour
    };
    for (const Case& c : {
             Case{"    Progress = 37\n", "37%", {10, 10}, {90, 4}},
             Case{"    Kind = gkVerticalBar\n    MinValue = 10\n    MaxValue = 20\n    Progress = 15\n",
                  "50%",
                  {4, 16},
                  {4, 4}},
             Case{"    Progress = 250\n", "100%", {95, 4}, {-1, -1}},
             Case{"    MinValue = 5\n    MaxValue = 5\n", "0%", {-1, -1}, {10, 4}},
         }) {
        SCOPED_TRACE(c.Props);
        RealizedForm f(
            Form(Control("TGauge", c.Props + "    ForeColor = clRed\n    BackColor = clWhite\n", 100, 20)));
        f.Client->show();
        auto* gauge = qobject_cast<QProgressBar*>(f.Widget("C"));
        ASSERT_NE(gauge, nullptr);
        EXPECT_EQ(gauge->text(), c.Text);
        if (c.Fore.x() >= 0) EXPECT_EQ(PixelAt(gauge, c.Fore.x(), c.Fore.y()), QColor(Qt::red));
        if (c.Back.x() >= 0) EXPECT_EQ(PixelAt(gauge, c.Back.x(), c.Back.y()), QColor(Qt::white));
    }
}

TEST(Gauge, PieFillsClockwiseFromTheTop) {
    RealizedForm f(Form(Control("TGauge",
                                "    Kind = gkPie\n    Progress = 25\n    ShowText = False\n"
                                "    ForeColor = clRed\n    BackColor = clWhite\n",
                                60, 60)));
    f.Client->show();
    QWidget* gauge = f.Widget("C");
    EXPECT_EQ(PixelAt(gauge, 42, 18), QColor(Qt::red));    // the first quarter: top right
    EXPECT_EQ(PixelAt(gauge, 18, 42), QColor(Qt::white));  // bottom left stays empty
}

// ---------------------------------------------------------------------------------
// Arrow controls

TEST(ArrowControls, TwoButtonsPointingTheirWay) {
    struct Case {
        const char* Class;
        std::string Props;
        Qt::ArrowType First, Second;
    };
    for (const Case& c : {Case{"TUpDown", "", Qt::UpArrow, Qt::DownArrow},
                          Case{"TUpDown", "    Orientation = udHorizontal\n", Qt::LeftArrow, Qt::RightArrow},
                          Case{"TScroller", "", Qt::LeftArrow, Qt::RightArrow}}) {
        SCOPED_TRACE(std::string(c.Class) + c.Props);
        RealizedForm f(Form(Control(c.Class, c.Props, 30, 30)));
        const auto buttons = f.Widget("C")->findChildren<QToolButton*>();
        ASSERT_EQ(buttons.size(), 2);
        EXPECT_EQ(buttons[0]->arrowType(), c.First);
        EXPECT_EQ(buttons[1]->arrowType(), c.Second);
    }
}

// ---------------------------------------------------------------------------------
// Dates

QString PickerShows(QWidget* picker) {
    if (auto* combo = qobject_cast<QComboBox*>(picker)) return combo->currentText();
    if (auto* spin = qobject_cast<QSpinBox*>(picker)) return spin->text();
    return "(not a picker)";
}

TEST(DateTimePicker, ShowsItsValueAsTheRuntimeFormatsIt) {
    const std::string stored = "    Date = 46366.75\n    Time = 46366.75\n";  // 2026-12-10 18:00
    const QString today = QString::fromStdString(
        rt::DateToText(static_cast<double>(QDate(1899, 12, 30).daysTo(QDate::currentDate()))));
    struct Case {
        const char* Name;
        std::string Props;
        QString Shown;
        bool Spin;
    };
    for (const Case& c : {
             Case{"date", stored, QString::fromStdString(rt::DateToText(46366.75)), false},
             Case{"time", stored + "    Kind = dtkTime\n", QString::fromStdString(rt::TimeToText(46366.75)),
                  true},
             Case{"up-down date", stored + "    DateMode = dmUpDown\n",
                  QString::fromStdString(rt::DateToText(46366.75)), true},
             Case{"custom format", stored + "    Format = 'dd/MM/yyyy hh:mm tt ''at'' d'\n",
                  "10/12/2026 06:00 " + QLocale().pmText() + " at 10", false},
             Case{"blank format", stored + "    Format = ' '\n", " ", false},
             Case{"no stored date", "", today, false},
             Case{"date out of range", "    Date = 1E300\n", today, false},
         }) {
        SCOPED_TRACE(c.Name);
        RealizedForm f(Form(Control("TDateTimePicker", c.Props, 150, 21)));
        QWidget* picker = f.Widget("C");
        ASSERT_NE(picker, nullptr);
        EXPECT_EQ(qobject_cast<QSpinBox*>(picker) != nullptr, c.Spin);
        EXPECT_EQ(PickerShows(picker), c.Shown);
    }
}

TEST(DateTimePicker, CheckBoxShowsTheCheckedState) {
    RealizedForm f(
        Form(Control("TDateTimePicker", "    ShowCheckbox = True\n    Checked = False\n", 150, 21)));
    auto* check = f.Widget("C")->findChild<QCheckBox*>();
    ASSERT_NE(check, nullptr);
    EXPECT_FALSE(check->isChecked());
}

TEST(MonthCalendar, SelectsTheStoredDate) {
    RealizedForm f(Form(Control("TMonthCalendar",
                                "    Date = 46366\n    FirstDayOfWeek = dowSunday\n    WeekNumbers = True\n",
                                230, 180)));
    auto* calendar = f.Widget("C")->findChild<QCalendarWidget*>();
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(calendar->selectedDate(), QDate(2026, 12, 10));
    EXPECT_EQ(calendar->firstDayOfWeek(), Qt::Sunday);
    EXPECT_EQ(calendar->verticalHeaderFormat(), QCalendarWidget::ISOWeekNumbers);
}

TEST(Calendar, DayNamesOverTheMonthWithTheDaySelected) {
    // December 2026 starts on a Tuesday.
    struct Case {
        int StartOfWeek;
        int FirstColumn;  // where the 1st falls
    };
    for (const Case& c : {Case{0, 2}, Case{1, 1}, Case{2, 0}}) {
        SCOPED_TRACE(c.StartOfWeek);
        RealizedForm f(
            Form(Control("TCalendar",
                         "    UseCurrentDate = False\n    Year = 2026\n    Month = 12\n    Day = 10\n"
                         "    StartOfWeek = " +
                             std::to_string(c.StartOfWeek) + "\n",
                         220, 140)));
        f.Client->show();
        auto* grid = qobject_cast<QTableView*>(f.Widget("C"));
        ASSERT_NE(grid, nullptr);
        EXPECT_EQ(grid->model()->rowCount(), 7);
        EXPECT_EQ(grid->model()->columnCount(), 7);
        const int firstDay = c.StartOfWeek == 0 ? 7 : c.StartOfWeek;
        EXPECT_EQ(CellText(grid, 0, 0), QLocale().dayName(firstDay, QLocale::ShortFormat));
        EXPECT_EQ(CellText(grid, 1, c.FirstColumn), "1");
        const int at = c.FirstColumn + 9;
        EXPECT_EQ(CellText(grid, 1 + at / 7, at % 7), "10");
        EXPECT_EQ(CellColor(grid, 1 + at / 7, at % 7), QColor(0x00, 0x78, 0xD7));
    }
}

// ---------------------------------------------------------------------------------
// Text: rich edits and outlines

TEST(RichEdit, LinesShowAsPlainText) {
    struct Case {
        const char* Class;
        std::string Lines;
        std::string Extra;
        QString Shown;
    };
    const std::string rtf =
        "      '{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fnil Tahoma;}}{\\colortbl "
        ";\\red255\\green0\\blue0;}'\n"
        "      '{\\*\\generator Writer;}\\pard\\f0\\fs16 Bold \\b face\\b0\\par'\n"
        "      'Caf\\''e9 \\u8364? \\{x\\}\\tab end\\par'\n"
        "      '}'";
    for (const Case& c : {
             Case{"TRichEdit", "      'one'\n      'two'", "", "one\ntwo"},
             Case{"TRichEdit", rtf, "", QString::fromUtf8("Bold face\nCafé € {x}\tend")},
             Case{"TRichEdit", "      '{\\rtf1 plain}'", "    PlainText = True\n", "{\\rtf1 plain}"},
             Case{"TRichEdit", "      '{\\rtf1 {{{{unclosed \\u'", "", "unclosed "},
             Case{"TDBRichEdit", "", "", ""},
         }) {
        SCOPED_TRACE(c.Lines);
        const std::string lines = c.Lines.empty() ? "" : "    Lines.Strings = (\n" + c.Lines + ")\n";
        RealizedForm f(Form(Control(c.Class, lines + c.Extra)));
        auto* edit = qobject_cast<QTextEdit*>(f.Widget("C"));
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->toPlainText(), c.Shown);
        EXPECT_TRUE(edit->isReadOnly());
    }
}

TEST(RichEdit, AlignmentAndWrapping) {
    RealizedForm f(Form(Control(
        "TRichEdit", "    Alignment = taCenter\n    WordWrap = False\n    Lines.Strings = (\n      'x')\n")));
    auto* edit = qobject_cast<QTextEdit*>(f.Widget("C"));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->document()->firstBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);
    EXPECT_EQ(edit->lineWrapMode(), QTextEdit::NoWrap);
}

TEST(Outline, IndentedLinesBecomeNodes) {
    struct Case {
        const char* Class;
        std::string Props;
        std::string Shown;
    };
    for (const Case& c : {
             Case{"TOutline",
                  "    Lines.Strings = (\n      'A'\n      #9'A1'\n      #9#9'A1x'\n      #9'A2'\n      "
                  "'B')\n",
                  "A(A1(A1x),A2),B"},
             // A line deeper than the one before it hangs from the last node.
             Case{"TOutline", "    Lines.Strings = (\n      #9#9'deep'\n      'top'\n      #9#9#9'under')\n",
                  "deep,top(under)"},
             Case{"TDirectoryOutline", "", "c:\\"},
             Case{"TDirectoryOutline", "    TextCase = tcUpperCase\n", "C:\\"},
         }) {
        SCOPED_TRACE(c.Props);
        RealizedForm f(Form(Control(c.Class, c.Props)));
        auto* tree = qobject_cast<QTreeWidget*>(f.Widget("C"));
        ASSERT_NE(tree, nullptr);
        EXPECT_EQ(Dump(tree), c.Shown);
    }
}

// ---------------------------------------------------------------------------------
// Painted panels: colour grids and charts

TEST(ColorGrid, SixteenColoursInTheirOrdering) {
    struct Case {
        std::string Props;
        int Width, Height;
        QPoint Red;  // where the ninth colour, red, sits
    };
    for (const Case& c : {Case{"", 80, 80, {30, 50}}, Case{"    GridOrdering = go16x1\n", 160, 10, {95, 5}},
                          Case{"    GridOrdering = go1x16\n", 10, 160, {5, 95}}}) {
        SCOPED_TRACE(c.Props);
        RealizedForm f(
            Form(Control("TColorGrid", c.Props + "    ForegroundIndex = 3\n    BackgroundIndex = 4\n",
                         c.Width, c.Height)));
        f.Client->show();
        QWidget* grid = f.Widget("C");
        EXPECT_EQ(PixelAt(grid, c.Red.x(), c.Red.y()), QColor(Qt::red));
        EXPECT_EQ(PixelAt(grid, 3, 3), QColor(Qt::black));
    }
}

TEST(Chart, PanelWallsAndChildren) {
    struct Case {
        std::string Props;
        QColor Wall;  // in the middle of the back wall
    };
    for (const Case& c : {Case{"", QColor(Qt::white)},
                          Case{"    View3D = False\n    Legend.Visible = False\n", QColor(Qt::white)},
                          Case{"    BackWall.Brush.Style = bsClear\n    Color = clAqua\n", QColor(Qt::cyan)},
                          Case{"    BackWall.Color = clYellow\n", QColor(Qt::yellow)}}) {
        SCOPED_TRACE(c.Props);
        RealizedForm f(Form(Control("TChart",
                                    c.Props + "    object B: TButton\n      Left = 2\n      Top = 2\n"
                                              "      Width = 20\n      Height = 20\n    end\n",
                                    300, 200)));
        f.Client->show();
        QWidget* chart = f.Widget("C");
        EXPECT_EQ(MostlyIn(chart, QRect(140, 90, 20, 20)), c.Wall);
        // The chart is a panel: it holds controls.
        EXPECT_EQ(f.Realizer->WidgetOf(f["B"]).Widget->parentWidget(), chart);
    }
}

// ---------------------------------------------------------------------------------
// Anything the form says

TEST(DataViews, OddValuesStillMakeAWidget) {
    for (const std::string& control : {
             Control(
                 "TStringGrid",
                 "    GridLineWidth = 100000\n    DefaultColWidth = -5\n    DefaultRowHeight = 2000000000\n"),
             Control("TDrawGrid", "    ColWidths = (\n      -1\n      0\n      99999999)\n"),
             Control("TValueListEditor", "    DisplayOptions = []\n    Strings.Strings = (\n      '=')\n"),
             Control("TTrackBar", "    Min = -2147483648\n    Max = 2147483647\n    Frequency = 0\n"),
             Control("TProgressBar",
                     "    Min = 100\n    Max = -100\n    Position = 7\n    Style = pbstMarquee\n"),
             Control("TDateTimePicker", "    Date = -1E10\n    Format = ''''\n"),
             Control("TMonthCalendar", "    MinDate = 50000\n    MaxDate = 10\n", 10, 10),
             Control("TCalendar",
                     "    UseCurrentDate = False\n    Year = 2026\n    Month = 2\n    Day = 31\n"),
             Control("TGauge",
                     "    Kind = gkNeedle\n    MinValue = 100\n    MaxValue = 0\n    Progress = 50\n", 3, 3),
             Control("TColorGrid", "    ForegroundIndex = 99\n    BackgroundIndex = -5\n    Selection = 40\n",
                     2, 2),
             Control("TChart", "    Chart3DPercent = 100\n    MarginLeft = 100\n    Legend.TopPos = 1000\n",
                     5, 5),
             Control("TListView", "    ViewStyle = vsReport\n    Items.ItemData = {05}\n"),
             Control("TListView", "    Items.Data = {FFFFFFFFFFFFFF7F}\n"),
             Control("TTreeView", "    Items.NodeData = {07FFFFFF7F}\n"),
             Control("TOutline", "    OutlineStyle = osText\n    ItemHeight = -3\n"),
             Control("TUpDown", "", 0, 0),
         }) {
        SCOPED_TRACE(control);
        RealizedForm f(Form(control));
        f.Client->show();
        ASSERT_NE(f.Widget("C"), nullptr);
        f.Widget("C")->grab();  // paints without trouble
    }
}

}  // namespace
}  // namespace fw::preview::test
