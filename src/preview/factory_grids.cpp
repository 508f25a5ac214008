// String grids, data grids and value list editors: a table view whose cells draw as
// the VCL grid draws them.

#include "preview/dataviews_parts.h"

namespace fw::preview::dataviews {

// ---------------------------------------------------------------------------------
// Grids: a table view whose cells draw as the VCL grid draws them

namespace {

class GridModel : public QAbstractTableModel {
public:
    GridModel(std::shared_ptr<const GridLook> look, QObject* parent)
        : QAbstractTableModel(parent), look_(std::move(look)) {}
    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : look_->Rows; }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : look_->Cols; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid()) return {};
        const auto it = look_->Texts.find({index.row(), index.column()});
        return it == look_->Texts.end() ? QVariant() : QVariant(it->second);
    }
    Qt::ItemFlags flags(const QModelIndex&) const override { return Qt::ItemIsEnabled; }

private:
    std::shared_ptr<const GridLook> look_;
};

class GridDelegate : public QStyledItemDelegate {
public:
    GridDelegate(std::shared_ptr<const GridLook> look, QObject* parent)
        : QStyledItemDelegate(parent), look_(std::move(look)) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const GridLook& g = *look_;
        const int row = index.row();
        const int col = index.column();
        const bool fixed = row < g.FixedRows || col < g.FixedCols;
        const bool selected = !fixed && row == g.SelectedRow && (g.RowSelect || col == g.SelectedCol);
        const QRect whole = option.rect;
        const int vw = std::min(g.VLineWidth(), whole.width());
        const int hw = std::min(g.HLineWidth(), whole.height());
        const QRect cell(whole.left(), whole.top(), whole.width() - vw, whole.height() - hw);
        painter->save();
        painter->fillRect(cell, fixed ? g.Fixed : selected ? g.Highlight : g.Back);
        if (fixed && g.Classic && cell.width() > 1 && cell.height() > 1) {
            painter->setPen(ColorOf(clBtnHighlight));
            painter->drawLine(cell.topLeft(), cell.topRight());
            painter->drawLine(cell.topLeft(), cell.bottomLeft());
            painter->setPen(ColorOf(clBtnShadow));
            painter->drawLine(cell.bottomLeft(), cell.bottomRight());
            painter->drawLine(cell.topRight(), cell.bottomRight());
        }
        const bool drawV = fixed ? g.FixedVertLine : g.VertLine;
        const bool drawH = fixed ? g.FixedHorzLine : g.HorzLine;
        const QColor line = fixed ? g.FixedLine : g.Line;
        if (hw > 0)
            painter->fillRect(QRect(whole.left(), cell.bottom() + 1, whole.width(), hw),
                              drawH ? line : g.Back);
        if (vw > 0)
            painter->fillRect(QRect(cell.right() + 1, whole.top(), vw, whole.height()),
                              drawV ? line : g.Back);
        const QString text = index.data(Qt::DisplayRole).toString();
        if (!text.isEmpty() && cell.width() > 2 && cell.height() > 2) {
            painter->setClipRect(cell);
            painter->setFont(fixed && g.HasFixedFont ? g.FixedFont : option.font);
            painter->setPen(fixed ? g.FixedText : selected ? g.HighlightText : g.Text);
            Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop;
            if (g.CenterText) {
                align = Qt::AlignCenter;
            } else {
                const auto& table = row < g.FixedRows ? g.TitleAlign : g.ColumnAlign;
                if (const auto it = table.find(col); it != table.end()) align = it->second | Qt::AlignTop;
            }
            painter->drawText(cell.adjusted(2, 2, -2, -2), static_cast<int>(align) | Qt::TextSingleLine,
                              text);
        }
        painter->restore();
    }

private:
    std::shared_ptr<const GridLook> look_;
};

// A grid whose last column can take the width the others leave.
class GridView : public QTableView {
public:
    GridView(bool stretchLast, QWidget* parent) : QTableView(parent), stretchLast_(stretchLast) {}

protected:
    void resizeEvent(QResizeEvent* event) override {
        QTableView::resizeEvent(event);
        QHeaderView* columns = horizontalHeader();
        const int count = columns->count();
        if (!stretchLast_ || count == 0) return;
        int others = 0;
        for (int c = 0; c < count - 1; ++c)
            others += columns->sectionSize(c);
        columns->resizeSection(count - 1, std::max(8, viewport()->width() - others));
    }

private:
    bool stretchLast_;
};

}  // namespace

QTableView* MakeGrid(const rt::Object& control, QWidget* parent, std::shared_ptr<GridLook> look) {
    auto* view = new GridView(look->StretchLastColumn && !look->Stretch, parent);
    ApplyColorsAndFont(*view, control, true);
    look->Cols = std::clamp(look->Cols, 0, MaxEntries);
    look->Rows = std::clamp(look->Rows, 0, MaxEntries);
    look->FixedCols = std::clamp(look->FixedCols, 0, look->Cols);
    look->FixedRows = std::clamp(look->FixedRows, 0, look->Rows);
    look->LineWidth = std::clamp(look->LineWidth, 0, 100);
    std::shared_ptr<const GridLook> shared = look;
    view->setModel(new GridModel(shared, view));
    view->setItemDelegate(new GridDelegate(shared, view));
    view->setShowGrid(false);
    view->setSelectionMode(QAbstractItemView::NoSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setCornerButtonEnabled(false);
    view->setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
    view->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    QHeaderView* columns = view->horizontalHeader();
    QHeaderView* rows = view->verticalHeader();
    columns->hide();
    rows->hide();
    columns->setMinimumSectionSize(0);
    rows->setMinimumSectionSize(0);
    if (look->Stretch) {
        columns->setSectionResizeMode(QHeaderView::Stretch);
        rows->setSectionResizeMode(QHeaderView::Stretch);
    } else {
        const int vw = look->VLineWidth();
        const int hw = look->HLineWidth();
        columns->setDefaultSectionSize(std::clamp(look->DefaultColWidth, 0, 100000) + vw);
        rows->setDefaultSectionSize(std::clamp(look->DefaultRowHeight, 0, 100000) + hw);
        const int storedCols = std::min(look->Cols, static_cast<int>(look->ColWidths.size()));
        for (int c = 0; c < storedCols; ++c)
            columns->resizeSection(c, std::min(look->ColWidth(c), 100000) + vw);
        const int storedRows = std::min(look->Rows, static_cast<int>(look->RowHeights.size()));
        for (int r = 0; r < storedRows; ++r)
            rows->resizeSection(r, std::min(look->RowHeight(r), 100000) + hw);
    }
    QPalette palette = view->palette();
    palette.setColor(QPalette::Base, look->Back);
    view->setPalette(palette);
    return view;
}

// The published look every grid shares: its colours, line options and drawing style.
std::shared_ptr<GridLook> GridBase(const rt::Object& control) {
    auto look = std::make_shared<GridLook>();
    look->Back = ControlColor(control);
    look->Fixed = ColorProperty(control, "FixedColor", ColorOf(clBtnFace));
    look->Text = ControlFontColor(control);
    look->FixedText = look->Text;
    look->Classic = EnumOf(control, "DrawingStyle") == "gdsClassic";
    look->Line = QColor(0xC0, 0xC0, 0xC0);
    look->FixedLine = look->Classic ? QColor(Qt::black) : ColorOf(clBtnShadow);
    look->Highlight = ColorOf(clHighlight);
    look->HighlightText = ColorOf(clHighlightText);
    look->LineWidth = ClampInt(OrdinalOf(control, "GridLineWidth", 1), 0, 100);
    look->FixedVertLine = HasElement(control, "Options", "goFixedVertLine");
    look->FixedHorzLine = HasElement(control, "Options", "goFixedHorzLine");
    look->VertLine = HasElement(control, "Options", "goVertLine");
    look->HorzLine = HasElement(control, "Options", "goHorzLine");
    look->RowSelect = HasElement(control, "Options", "goRowSelect");
    return look;
}

namespace {

std::vector<int> StoredSizes(const rt::Object& control, std::string_view name, int count) {
    std::vector<int> sizes;
    const auto stored = StoredIntegers(control, name);
    const std::size_t n = std::min(stored.size(), static_cast<std::size_t>(std::max(0, count)));
    sizes.reserve(n);
    for (std::size_t i = 0; i < n; ++i)
        sizes.push_back(ClampInt(stored[i], -1, 100000));
    return sizes;
}

}  // namespace

QWidget* MakeStringGrid(const rt::Object& control, QWidget* parent) {
    auto look = GridBase(control);
    look->Cols = ClampInt(OrdinalOf(control, "ColCount", 5), 0, MaxEntries);
    look->Rows = ClampInt(OrdinalOf(control, "RowCount", 5), 0, MaxEntries);
    look->FixedCols = ClampInt(OrdinalOf(control, "FixedCols", 1), 0, MaxEntries);
    look->FixedRows = ClampInt(OrdinalOf(control, "FixedRows", 1), 0, MaxEntries);
    look->DefaultColWidth = ClampInt(OrdinalOf(control, "DefaultColWidth", 64), 0, 100000);
    look->DefaultRowHeight = ClampInt(OrdinalOf(control, "DefaultRowHeight", 24), 0, 100000);
    look->ColWidths = StoredSizes(control, "ColWidths", look->Cols);
    look->RowHeights = StoredSizes(control, "RowHeights", look->Rows);
    // The current cell, the first one past the fixed ones, shows selected.
    if (look->FixedCols < look->Cols && look->FixedRows < look->Rows) {
        look->SelectedCol = look->FixedCols;
        look->SelectedRow = look->FixedRows;
    }
    QTableView* grid = MakeGrid(control, parent, look);
    ApplyBorder(*grid, control);
    ApplyScrollBars(*grid, control, true, "ssBoth");
    return grid;
}

QWidget* MakeDBGrid(const rt::Object& control, QWidget* parent) {
    auto look = GridBase(control);
    const bool titles = HasElement(control, "Options", "dgTitles");
    const bool indicator = HasElement(control, "Options", "dgIndicator");
    const bool colLines = HasElement(control, "Options", "dgColLines");
    const bool rowLines = HasElement(control, "Options", "dgRowLines");
    look->FixedVertLine = look->VertLine = colLines;
    look->FixedHorzLine = look->HorzLine = rowLines;
    look->RowSelect = false;
    const rt::Object* titleFont = ObjectOf(control, "TitleFont");
    look->FixedFont = titleFont ? FontOf(titleFont) : ControlFont(control);
    look->HasFixedFont = true;
    look->FixedText = titleFont ? FontColorOf(titleFont) : look->Text;
    const int first = indicator ? 1 : 0;
    look->FixedCols = first;
    look->FixedRows = titles ? 1 : 0;
    std::vector<int> widths;
    if (indicator) widths.push_back(11);
    if (const rt::Object* collection = ObjectOf(control, "Columns")) {
        for (const auto& column : collection->Items()) {
            if (static_cast<int>(widths.size()) >= MaxColumns) break;
            if (!Trusted(*column, "Visible", true)) continue;
            const int col = static_cast<int>(widths.size());
            widths.push_back(ClampInt(Trusted(*column, "Width", 64), 0, 100000));
            QString caption;
            Qt::Alignment titleAlign = Qt::AlignLeft;
            if (const rt::Object* title = ObjectOf(*column, "Title")) {
                caption = TextOf(*title, "Caption");
                titleAlign = HorizontalAlignment(EnumOf(*title, "Alignment"));
            }
            if (caption.isEmpty()) caption = TextOf(*column, "FieldName");
            if (titles) look->Texts[{0, col}] = caption;
            look->TitleAlign[col] = titleAlign;
            look->ColumnAlign[col] = HorizontalAlignment(EnumOf(*column, "Alignment"));
        }
    }
    // Without columns and data the grid shows one empty column.
    if (static_cast<int>(widths.size()) == first) widths.push_back(64);
    look->Cols = static_cast<int>(widths.size());
    look->ColWidths = widths;
    look->Rows = look->FixedRows + 1;
    const int textHeight = QFontMetrics(ControlFont(control)).height();
    look->DefaultRowHeight = textHeight + 3;
    look->RowHeights.assign(static_cast<std::size_t>(look->FixedRows),
                            QFontMetrics(look->FixedFont).height() + 3);
    look->DefaultColWidth = 64;
    QTableView* grid = MakeGrid(control, parent, look);
    ApplyBorder(*grid, control);
    ApplyScrollBars(*grid, control, true, "ssBoth");
    return grid;
}

QWidget* MakeValueListEditor(const rt::Object& control, QWidget* parent) {
    auto look = GridBase(control);
    const bool titles = HasElement(control, "DisplayOptions", "doColumnTitles");
    const bool keyFixed = HasElement(control, "DisplayOptions", "doKeyColFixed");
    look->Cols = 2;
    look->FixedCols = std::max(ClampInt(OrdinalOf(control, "FixedCols", 0), 0, 1), keyFixed ? 1 : 0);
    look->FixedRows = titles ? 1 : 0;
    look->DefaultColWidth = ClampInt(OrdinalOf(control, "DefaultColWidth", 150), 0, 100000);
    look->DefaultRowHeight = ClampInt(OrdinalOf(control, "DefaultRowHeight", 18), 0, 100000);
    look->ColWidths = StoredSizes(control, "ColWidths", 2);
    look->RowHeights = StoredSizes(control, "RowHeights", MaxEntries);
    look->StretchLastColumn = HasElement(control, "DisplayOptions", "doAutoColResize");
    if (titles) {
        QString key = QStringLiteral("Key"), value = QStringLiteral("Value");
        if (const auto* captions = StoredLinesOf(control, "TitleCaptions")) {
            if (!captions->empty()) key = Q((*captions)[0]);
            if (captions->size() > 1) value = Q((*captions)[1]);
        }
        look->Texts[{0, 0}] = key;
        look->Texts[{0, 1}] = value;
    }
    int row = look->FixedRows;
    if (const auto* strings = StoredLinesOf(control, "Strings")) {
        for (const std::string& line : *strings) {
            if (row >= MaxEntries) break;
            const std::size_t eq = line.find('=');
            look->Texts[{row, 0}] = Q(std::string_view(line).substr(0, eq));
            if (eq != std::string::npos) look->Texts[{row, 1}] = Q(std::string_view(line).substr(eq + 1));
            ++row;
        }
    }
    // An empty list still shows one empty row.
    look->Rows = std::max(row, look->FixedRows + 1);
    QTableView* grid = MakeGrid(control, parent, look);
    ApplyBorder(*grid, control);
    ApplyScrollBars(*grid, control, true, "ssBoth");
    return grid;
}

}  // namespace fw::preview::dataviews
