// Tree views, list views and outlines, with the item blocks they keep in their own
// binary layouts. Those blocks are decoded with a bound on every read: a block that is
// cut short, claims impossible counts or sizes, or follows a layout this code does not
// know shows what could be read before the fault, never more.

#include "base/byteview.h"
#include "preview/dataviews_parts.h"

namespace fw::preview::dataviews {

// ---------------------------------------------------------------------------------
// Reading the item blocks

namespace {

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::size_t Left() const { return bytes_.size() - pos_; }
    bool Skip(std::size_t n) {
        if (n > Left()) return false;
        pos_ += n;
        return true;
    }
    bool Byte(std::uint8_t& value) {
        if (Left() < 1) return false;
        value = bytes_[pos_++];
        return true;
    }
    bool Int32(std::int32_t& value) {
        if (Left() < 4) return false;
        value = Int32At(bytes_, pos_);
        pos_ += 4;
        return true;
    }
    bool Take(std::size_t n, std::span<const std::uint8_t>& out) {
        if (n > Left()) return false;
        out = bytes_.subspan(pos_, n);
        pos_ += n;
        return true;
    }
    static std::int32_t Int32At(std::span<const std::uint8_t> bytes, std::size_t at) {
        return static_cast<std::int32_t>(LoadLe32(bytes.data() + at));
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

QString WideText(std::span<const std::uint8_t> bytes) {
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        text.push_back(static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8));
    return QString::fromStdU16String(text);
}

// Narrow text as the form's code page wrote it; the default Windows code page stands in
// for the one the form was made with, which the live objects do not keep.
QString NarrowText(std::span<const std::uint8_t> bytes) {
    const std::string_view raw(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return QString::fromStdU16String(CodePage::Default().Decode(raw));
}

// Reads a text of a length byte and that many characters.
bool ReadShortText(ByteReader& in, bool wide, QString& text) {
    std::uint8_t length = 0;
    std::span<const std::uint8_t> bytes;
    if (!in.Byte(length) || !in.Take(std::size_t{length} * (wide ? 2 : 1), bytes)) return false;
    text = wide ? WideText(bytes) : NarrowText(bytes);
    return true;
}

struct NodeData {
    QString Text;
    std::vector<NodeData> Children;
    int ImageIndex = -1;
};

// How one generation of the tree view writes a node: a record size, then the record
// (image indexes, data, the number of children, the text with its length byte); the
// newest puts a few bytes outside the records between one node and the next.
struct NodeLayout {
    bool ClassHeader;       // the block names the node class after the top-level count
    std::size_t CountAt;    // offset of the child count in the record
    std::size_t TextAt;     // offset of the text's length byte
    bool Wide;              // UTF-16 text; one byte per character otherwise
    std::size_t Separator;  // bytes before every node but the first
};

// The oldest "Data" block, without a version byte: ImageIndex, SelectedIndex,
// StateIndex, OverlayIndex, Data, Count, then the text in the form's code page.
constexpr NodeLayout NarrowNodes{false, 20, 24, false, 0};

// "NodeData" version 1: the same with UTF-16 text.
constexpr NodeLayout WideNodes1{false, 20, 24, true, 0};

// Version 3: an eight-byte data field, and a byte (Enabled) before the text.
constexpr NodeLayout WideNodes3{false, 24, 29, true, 0};

// Version 7: the node class is named once, a flag byte precedes the count, and two
// bytes separate one node from the next in the order they are written.
constexpr NodeLayout WideNodes7{true, 25, 30, true, 2};

class NodeParser {
public:
    // A strict parser wants every record and the block filled exactly.
    NodeParser(std::span<const std::uint8_t> bytes, const NodeLayout& layout, bool strict)
        : in_(bytes), layout_(layout), strict_(strict) {}

    // Reads the whole block; false when it does not follow the layout (the nodes read
    // before the fault stay in Nodes). Reaching the node limit is no fault.
    bool Parse() {
        std::int32_t top = 0;
        if (!in_.Int32(top)) return false;
        if (layout_.ClassHeader) {
            QString className;
            if (!ReadShortText(in_, true, className)) return false;
        }
        if (!ReadNodes(top, 0, Nodes)) return capped_;
        return !strict_ || in_.Left() == 0;
    }

    std::vector<NodeData> Nodes;

private:
    bool ReadNodes(std::int32_t count, int depth, std::vector<NodeData>& out) {
        if (count < 0 || (count > 0 && depth >= MaxDepth)) return false;
        for (std::int32_t i = 0; i < count; ++i) {
            if (budget_ <= 0) {
                capped_ = true;
                return false;
            }
            if (!first_ && !in_.Skip(layout_.Separator)) return false;
            first_ = false;
            std::int32_t size = 0;
            std::span<const std::uint8_t> record;
            if (!in_.Int32(size) || size < 0 || !in_.Take(static_cast<std::size_t>(size), record))
                return false;
            if (record.size() < layout_.TextAt + 1 || record.size() < layout_.CountAt + 4) return false;
            const std::int32_t children = ByteReader::Int32At(record, layout_.CountAt);
            const std::size_t length = std::size_t{record[layout_.TextAt]} * (layout_.Wide ? 2 : 1);
            const std::size_t end = layout_.TextAt + 1 + length;
            if (end > record.size() || (strict_ && end != record.size())) return false;
            const auto text = record.subspan(layout_.TextAt + 1, length);
            --budget_;
            // Every layout starts the record with the node's ImageIndex.
            out.push_back(NodeData{
                layout_.Wide ? WideText(text) : NarrowText(text), {}, ByteReader::Int32At(record, 0)});
            if (!ReadNodes(children, depth + 1, out.back().Children)) return false;
        }
        return true;
    }

    ByteReader in_;
    NodeLayout layout_;
    bool strict_;
    int budget_ = MaxEntries;
    bool capped_ = false;
    bool first_ = true;
};

// The nodes a tree view stored: "NodeData" (a version byte, then wide text) or the
// older "Data" (narrow text). A version this code knows is read with its own layout,
// and a damaged block gives the nodes before the damage. Any other version is read
// with the first known layout the whole block fits exactly, or not at all: a guess
// that does not fit would show noise.
std::vector<NodeData> DecodeTreeNodes(const rt::Object& tree) {
    const rt::Object* items = ObjectOf(tree, "Items");
    if (!items) return {};
    const NodeLayout* known = nullptr;
    std::span<const std::uint8_t> bytes;
    if (const rt::StoredBlock* block = StoredBlockOf(*items, "NodeData"); block && !block->Bytes.empty()) {
        bytes = std::span<const std::uint8_t>(block->Bytes).subspan(1);
        switch (block->Bytes[0]) {
            case 1:
                known = &WideNodes1;
                break;
            case 3:
                known = &WideNodes3;
                break;
            case 7:
                known = &WideNodes7;
                break;
            default:
                break;
        }
    } else if (const rt::StoredBlock* old = StoredBlockOf(*items, "Data"); old && !old->Bytes.empty()) {
        bytes = old->Bytes;
        known = &NarrowNodes;
    } else {
        return {};
    }
    if (known) {
        NodeParser parser(bytes, *known, false);
        parser.Parse();
        return std::move(parser.Nodes);
    }
    for (const NodeLayout* layout : {&WideNodes1, &WideNodes3, &WideNodes7}) {
        NodeParser strict(bytes, *layout, true);
        if (strict.Parse()) return std::move(strict.Nodes);
    }
    return {};
}

struct ListItemData {
    QString Caption;
    std::vector<QString> SubItems;
    int ImageIndex = -1;
};

// The items a list view stored. "ItemData" (a version byte, a size, the count, then per
// item ImageIndex, StateIndex, OverlayIndex, the sub-item count, GroupID and Data, the
// caption and the sub-items in UTF-16, each sub-item followed by four bytes of its own
// data) or the older "Data" (the same without version byte and GroupID, narrow text, no
// bytes after a sub-item). Sub-item images at the end are not needed. Items are read
// until the block ends or stops making sense.
std::vector<ListItemData> DecodeListItems(const rt::Object& list) {
    const rt::Object* items = ObjectOf(list, "Items");
    if (!items) return {};
    bool wide = true;
    const rt::StoredBlock* block = StoredBlockOf(*items, "ItemData");
    if (!block || block->Bytes.empty()) {
        block = StoredBlockOf(*items, "Data");
        wide = false;
    }
    if (!block || block->Bytes.empty()) return {};
    ByteReader in(block->Bytes);
    std::int32_t size = 0, count = 0;
    if ((wide && !in.Skip(1)) || !in.Int32(size) || !in.Int32(count) || count < 0) return {};
    const std::size_t fields = wide ? 6 : 5;
    std::vector<ListItemData> result;
    for (std::int32_t i = 0; i < count && static_cast<int>(result.size()) < MaxEntries; ++i) {
        std::span<const std::uint8_t> record;
        if (!in.Take(fields * 4, record)) break;
        const std::int32_t subCount = ByteReader::Int32At(record, 12);
        ListItemData item;
        item.ImageIndex = ByteReader::Int32At(record, 0);
        if (subCount < 0 || !ReadShortText(in, wide, item.Caption)) break;
        bool ok = true;
        for (std::int32_t j = 0; j < subCount; ++j) {
            QString text;
            if (!ReadShortText(in, wide, text) || (wide && !in.Skip(4))) {
                ok = false;
                break;
            }
            if (item.SubItems.size() < static_cast<std::size_t>(MaxColumns))
                item.SubItems.push_back(std::move(text));
        }
        result.push_back(std::move(item));
        if (!ok) break;
    }
    return result;
}

// ---------------------------------------------------------------------------------
// Trees: the Windows tree view's dotted lines and plus/minus buttons

class VclTree : public QTreeWidget {
public:
    VclTree(bool lines, bool buttons, QWidget* parent)
        : QTreeWidget(parent), lines_(lines), buttons_(buttons) {}

protected:
    void drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const override {
        const int indent = indentation();
        if (indent <= 0 || rect.width() <= 0) return;
        const int columns = rect.width() / indent;
        const QColor lineColor(0xA0, 0xA0, 0xA0);
        QPen dotted(lineColor, 1, Qt::CustomDashLine);
        dotted.setDashPattern({1.0, 1.0});
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, false);
        QModelIndex current = index;
        for (int column = columns - 1; column >= 0 && current.isValid();
             --column, current = current.parent()) {
            const QRect cell(rect.left() + column * indent, rect.top(), indent, rect.height());
            const int cx = cell.left() + indent / 2;
            const int cy = cell.top() + cell.height() / 2;
            const bool hasNext = current.sibling(current.row() + 1, 0).isValid();
            if (current == index) {
                if (lines_) {
                    painter->setPen(dotted);
                    // The first top-level node has nothing above it to connect to.
                    const bool above = current.row() > 0 || current.parent().isValid();
                    if (above) painter->drawLine(cx, cell.top(), cx, cy);
                    if (hasNext) painter->drawLine(cx, cy, cx, cell.bottom());
                    painter->drawLine(cx, cy, cell.right(), cy);
                }
                if (buttons_ && model()->hasChildren(index)) {
                    const QRect box(cx - 4, cy - 4, 8, 8);
                    painter->setPen(QColor(0x91, 0x91, 0x91));
                    painter->setBrush(Qt::white);
                    painter->drawRect(box);
                    painter->setPen(Qt::black);
                    painter->drawLine(cx - 2, cy, cx + 2, cy);
                    if (!isExpanded(index)) painter->drawLine(cx, cy - 2, cx, cy + 2);
                }
            } else if (lines_ && hasNext) {
                painter->setPen(dotted);
                painter->drawLine(cx, cell.top(), cx, cell.bottom());
            }
        }
        painter->restore();
    }

private:
    bool lines_;
    bool buttons_;
};

struct TreeLook {
    bool Lines = true;
    bool Buttons = true;
    bool Root = true;
    int Indent = 19;
    int ItemHeight = 0;  // 0: from the font
    QIcon Branch, Leaf;  // pictures before the text, when shown
};

void AddNodes(QTreeWidget* tree, QTreeWidgetItem* parent, const std::vector<NodeData>& nodes,
              const TreeLook& look, int height, int depth) {
    if (depth >= MaxDepth) return;
    for (const NodeData& node : nodes) {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
        item->setText(0, node.Text);
        item->setSizeHint(0, QSize(0, height));
        if (!look.Branch.isNull()) item->setIcon(0, node.Children.empty() ? look.Leaf : look.Branch);
        item->setData(0, ItemImageRole, node.ImageIndex);
        AddNodes(tree, item, node.Children, look, height, depth + 1);
    }
}

VclTree* MakeTree(const rt::Object& control, QWidget* parent, const std::vector<NodeData>& nodes,
                  const TreeLook& look) {
    auto* tree = new VclTree(look.Lines, look.Buttons, parent);
    ApplyColorsAndFont(*tree, control, true);
    ApplyBorder(*tree, control);
    tree->setHeaderHidden(true);
    tree->setColumnCount(1);
    tree->setRootIsDecorated(look.Root);
    tree->setIndentation(std::clamp(look.Indent, 1, 200));
    tree->setUniformRowHeights(true);
    tree->setSelectionMode(QAbstractItemView::NoSelection);
    tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    if (!look.Branch.isNull()) tree->setIconSize(QSize(16, 16));
    const int height = look.ItemHeight > 0 ? look.ItemHeight : QFontMetrics(tree->font()).height() + 4;
    AddNodes(tree, nullptr, nodes, look, std::clamp(height, 4, 500), 0);
    // Nodes come up collapsed, as the control loads them at run time.
    tree->collapseAll();
    return tree;
}

// A shell view's root, by its Root value: a shell folder's name or a path.
QString ShellRootName(const rt::Object& control) {
    const QString root = TextOf(control, "Root");
    static const std::pair<const char*, const char*> names[] = {
        {"rfDesktop", "Desktop"},
        {"rfMyComputer", "This PC"},
        {"rfNetwork", "Network"},
        {"rfRecycleBin", "Recycle Bin"},
        {"rfPersonal", "Documents"},
        {"rfPrinters", "Printers"},
        {"rfControlPanel", "Control Panel"},
        {"rfAppData", "AppData"},
        {"rfFavorites", "Favorites"},
        {"rfTemplates", "Templates"},
        {"rfFonts", "Fonts"},
    };
    if (root.isEmpty()) return QStringLiteral("Desktop");
    for (const auto& [value, name] : names)
        if (root.compare(QLatin1String(value), Qt::CaseInsensitive) == 0) return QString::fromLatin1(name);
    return root;
}

}  // namespace

QWidget* MakeListView(const rt::Object& control, QWidget* parent) {
    const bool shell = rt::EqualsIgnoringCase(control.ClassName(), "TShellListView");
    std::vector<ListItemData> items;
    if (shell)
        items.push_back(ListItemData{ShellRootName(control), {}});
    else
        items = DecodeListItems(control);
    const bool checkboxes = BoolOf(control, "Checkboxes", false);
    const std::string style = EnumOf(control, "ViewStyle");
    if (style == "vsReport") {
        auto* table = new QTableWidget(parent);
        ApplyColorsAndFont(*table, control, true);
        ApplyBorder(*table, control);
        const QFontMetrics fm(table->font());
        struct Column {
            QString Caption;
            std::int64_t Width;
            Qt::Alignment Align;
            bool AutoSize;
        };
        std::vector<Column> columns;
        if (const rt::Object* collection = ObjectOf(control, "Columns")) {
            for (const auto& item : collection->Items()) {
                if (static_cast<int>(columns.size()) >= MaxColumns) break;
                columns.push_back(Column{TextOf(*item, "Caption"), OrdinalOf(*item, "Width", 50),
                                         HorizontalAlignment(EnumOf(*item, "Alignment")),
                                         BoolOf(*item, "AutoSize", false)});
            }
        }
        if (shell && columns.empty())
            for (const char* name : {"Name", "Size", "Type", "Date Modified"})
                columns.push_back(Column{QString::fromLatin1(name), 100, Qt::AlignLeft, false});
        const int rowCount = static_cast<int>(items.size());
        table->setColumnCount(static_cast<int>(columns.size()));
        table->setRowCount(rowCount);
        table->verticalHeader()->hide();
        table->verticalHeader()->setDefaultSectionSize(fm.height() + 4);
        table->horizontalHeader()->setVisible(BoolOf(control, "ShowColumnHeaders", true));
        table->horizontalHeader()->setFixedHeight(fm.height() + 8);
        table->horizontalHeader()->setMinimumSectionSize(0);
        table->horizontalHeader()->setSectionsClickable(false);
        table->setShowGrid(BoolOf(control, "GridLines", false));
        table->setGridStyle(Qt::SolidLine);
        table->setSelectionMode(QAbstractItemView::NoSelection);
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        table->setWordWrap(false);
        table->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
        QPalette palette = table->palette();
        palette.setColor(QPalette::Mid, ColorOf(clBtnFace));  // the grid lines' colour
        table->setPalette(palette);
        for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
            const Column& column = columns[static_cast<std::size_t>(c)];
            auto* header = new QTableWidgetItem(column.Caption);
            header->setTextAlignment(column.Align | Qt::AlignVCenter);
            table->setHorizontalHeaderItem(c, header);
        }
        for (int r = 0; r < rowCount; ++r) {
            const ListItemData& data = items[static_cast<std::size_t>(r)];
            for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
                const QString text = c == 0 ? data.Caption
                                     : static_cast<std::size_t>(c) <= data.SubItems.size()
                                         ? data.SubItems[static_cast<std::size_t>(c - 1)]
                                         : QString();
                if (text.isEmpty() && !(c == 0 && checkboxes)) continue;
                auto* cell = new QTableWidgetItem(text);
                cell->setFlags(Qt::ItemIsEnabled);
                cell->setTextAlignment(columns[static_cast<std::size_t>(c)].Align | Qt::AlignVCenter);
                if (c == 0 && checkboxes) cell->setCheckState(Qt::Unchecked);
                if (c == 0) cell->setData(ItemImageRole, data.ImageIndex);
                table->setItem(r, c, cell);
            }
        }
        // Widths: -1 fits the column's texts, -2 its header too (the last such column
        // fills the rest of the list); AutoSize columns share what is left.
        bool autoSized = false;
        for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
            const Column& column = columns[static_cast<std::size_t>(c)];
            int width = ClampInt(column.Width, 0, 100000);
            if (column.Width == -1 || column.Width == -2) {
                width = column.Width == -2 ? fm.horizontalAdvance(column.Caption) + 12 : 0;
                for (int r = 0; r < std::min(rowCount, 1000); ++r)
                    if (const QTableWidgetItem* cell = table->item(r, c))
                        width = std::max(width, fm.horizontalAdvance(cell->text()) + 12);
                width = std::max(width, 8);
            }
            autoSized = autoSized || column.AutoSize;
            table->setColumnWidth(c, width);
        }
        if (!columns.empty() && (columns.back().Width == -2 || autoSized))
            table->horizontalHeader()->setStretchLastSection(true);
        return table;
    }
    auto* list = new QListWidget(parent);
    ApplyColorsAndFont(*list, control, true);
    ApplyBorder(*list, control);
    list->setSelectionMode(QAbstractItemView::NoSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setMovement(QListView::Static);
    list->setResizeMode(QListView::Adjust);
    list->setWrapping(true);
    const QFontMetrics fm(list->font());
    QIcon blankIcon;
    if (style == "vsSmallIcon" || style == "vsList") {
        list->setViewMode(QListView::ListMode);
        list->setFlow(style == "vsList" ? QListView::TopToBottom : QListView::LeftToRight);
    } else {
        // Large icons: the icon's place above the text stays even without an image list.
        // They are arranged in rows, or in columns when arranged from the left.
        const rt::Object* icons = ObjectOf(control, "IconOptions");
        const bool byColumns = icons && EnumOf(*icons, "Arrangement") == "iaLeft";
        list->setViewMode(QListView::IconMode);
        list->setFlow(byColumns ? QListView::TopToBottom : QListView::LeftToRight);
        list->setIconSize(QSize(32, 32));
        list->setGridSize(QSize(75, 32 + 8 + 2 * fm.height()));
        list->setWordWrap(true);
        QPixmap blank(32, 32);
        blank.fill(Qt::transparent);
        blankIcon = QIcon(blank);
    }
    for (const ListItemData& data : items) {
        auto* item = new QListWidgetItem(data.Caption, list);
        item->setFlags(Qt::ItemIsEnabled | (checkboxes ? Qt::ItemIsUserCheckable : Qt::NoItemFlags));
        if (!blankIcon.isNull()) item->setIcon(blankIcon);
        item->setData(ItemImageRole, data.ImageIndex);
        if (checkboxes) item->setCheckState(Qt::Unchecked);
    }
    return list;
}

QWidget* MakeTreeView(const rt::Object& control, QWidget* parent) {
    TreeLook look;
    look.Lines = BoolOf(control, "ShowLines", true);
    look.Buttons = BoolOf(control, "ShowButtons", true);
    look.Root = BoolOf(control, "ShowRoot", true);
    const std::int64_t indent = OrdinalOf(control, "Indent", 19);
    look.Indent = indent > 0 ? ClampInt(indent, 1, 200) : 19;
    if (rt::EqualsIgnoringCase(control.ClassName(), "TShellTreeView")) {
        // The root of the shell's namespace; its contents are the machine's, not the form's.
        VclTree* tree = MakeTree(control, parent, {}, look);
        auto* root = new QTreeWidgetItem(tree, QStringList{ShellRootName(control)});
        root->setSizeHint(0, QSize(0, QFontMetrics(tree->font()).height() + 4));
        root->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
        return tree;
    }
    return MakeTree(control, parent, DecodeTreeNodes(control), look);
}

void ShowItemImages(const rt::Object& control, QWidget* widget, RealizeContext& context) {
    auto tree = dynamic_cast<QTreeWidget*>(widget);
    auto table = dynamic_cast<QTableWidget*>(widget);
    auto list = dynamic_cast<QListWidget*>(widget);
    if (!tree && !table && !list) return;
    const bool icons = list && list->viewMode() == QListView::IconMode;
    const rt::Object* images = ObjectOf(control, tree ? "Images" : icons ? "LargeImages" : "SmallImages");
    if (!images) return;
    // The list's size makes room for its images even where an item has none.
    const QSize size(ClampInt(OrdinalOf(*images, "Width", 16), 1, MaxListImageSide),
                     ClampInt(OrdinalOf(*images, "Height", 16), 1, MaxListImageSide));
    auto iconOf = [&](const QVariant& index) {
        const QImage* image = index.isValid() ? context.ImageOf(images, index.toInt()) : nullptr;
        return image ? QIcon(QPixmap::fromImage(*image)) : QIcon();
    };
    if (tree) {
        tree->setIconSize(size);
        std::vector<QTreeWidgetItem*> pending;
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            pending.push_back(tree->topLevelItem(i));
        while (!pending.empty()) {
            QTreeWidgetItem* item = pending.back();
            pending.pop_back();
            if (const QIcon icon = iconOf(item->data(0, ItemImageRole)); !icon.isNull())
                item->setIcon(0, icon);
            for (int i = 0; i < item->childCount(); ++i)
                pending.push_back(item->child(i));
        }
    } else if (table) {
        table->setIconSize(size);
        for (int r = 0; r < table->rowCount(); ++r)
            if (QTableWidgetItem* cell = table->item(r, 0))
                if (const QIcon icon = iconOf(cell->data(ItemImageRole)); !icon.isNull()) cell->setIcon(icon);
    } else {
        list->setIconSize(icons ? size.expandedTo(QSize(32, 32)) : size);
        for (int i = 0; i < list->count(); ++i)
            if (const QIcon icon = iconOf(list->item(i)->data(ItemImageRole)); !icon.isNull())
                list->item(i)->setIcon(icon);
    }
}

namespace {

// An outline's lines: each line's leading tabs or spaces give its level.
std::vector<NodeData> OutlineNodes(const std::vector<std::string>& lines) {
    std::vector<NodeData> roots;
    std::vector<std::vector<NodeData>*> path{&roots};
    int count = 0;
    for (const std::string& line : lines) {
        if (++count > MaxEntries) break;
        std::size_t indent = 0;
        while (indent < line.size() && (line[indent] == '\t' || line[indent] == ' '))
            ++indent;
        // A line indented past the one before it hangs from that one.
        const std::size_t level = std::min({indent, path.size() - 1, static_cast<std::size_t>(MaxDepth - 1)});
        path.resize(level + 1);
        path[level]->push_back(NodeData{Q(std::string_view(line).substr(indent)), {}});
        path.push_back(&path[level]->back().Children);
    }
    return roots;
}

}  // namespace

QWidget* MakeOutline(const rt::Object& control, QWidget* parent) {
    const std::string style = EnumOf(control, "OutlineStyle");
    const bool directory = rt::EqualsIgnoringCase(control.ClassName(), "TDirectoryOutline");
    TreeLook look;
    // The outline styles: text alone, with plus/minus pictures, with folder pictures,
    // or with tree lines (the default draws lines and pictures).
    const bool tree = directory || style.empty() || style == "osTreeText" || style == "osTreePictureText";
    const bool pictures = directory || style.empty() || style == "osPictureText" ||
                          style == "osPlusMinusPictureText" || style == "osTreePictureText";
    look.Lines = tree;
    look.Buttons = tree || style == "osPlusMinusText" || style == "osPlusMinusPictureText";
    look.Root = directory || HasElement(control, "Options", "ooDrawTreeRoot") || !tree;
    look.Indent = 19;
    look.ItemHeight = ClampInt(OrdinalOf(control, "ItemHeight", 0), 0, 500);
    if (pictures) {
        if (QStyle* s = PreviewStyle()) {
            look.Branch = s->standardIcon(QStyle::SP_DirClosedIcon);
            look.Leaf = s->standardIcon(QStyle::SP_FileIcon);
        }
    }
    std::vector<NodeData> nodes;
    if (directory) {
        // The drive's root; the folders under it are the machine's, not the form's.
        const std::int64_t drive = OrdinalOf(control, "Drive", 'C');
        const bool isLetter = (drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z');
        QChar letter = isLetter ? QChar(static_cast<char16_t>(drive)) : QLatin1Char('C');
        const std::string textCase = EnumOf(control, "TextCase");
        letter = textCase == "tcUpperCase" ? letter.toUpper()
                 : textCase == "tcAsIs"    ? letter
                                           : letter.toLower();
        nodes.push_back(NodeData{QString(letter) + QStringLiteral(":\\"), {}});
    } else if (const auto* lines = StoredLinesOf(control, "Lines")) {
        nodes = OutlineNodes(*lines);
    }
    VclTree* view = MakeTree(control, parent, nodes, look);
    // A drive is a folder, whatever the form knows of its contents.
    if (directory && view->topLevelItemCount() > 0 && !look.Branch.isNull()) {
        view->topLevelItem(0)->setIcon(0, look.Branch);
        view->topLevelItem(0)->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    }
    ApplyScrollBars(*view, control, true, "ssBoth");
    return view;
}

}  // namespace fw::preview::dataviews
