// List boxes, combo boxes, the colour box, the file-system boxes and the data-aware
// lookup lists, as a Windows 10 desktop shows them at run time.

#include "preview/standard_parts.h"

namespace fw::preview::standard {

namespace {

// The rows of a list box: one line of text in the control's font, the selected row
// filled with the highlight colour, a check box before the text in a check list box
// and a small picture where the row has one.
class RowDelegate : public QStyledItemDelegate {
public:
    RowDelegate(int rowHeight, bool checks, QObject* parent)
        : QStyledItemDelegate(parent), rowHeight_(std::max(1, rowHeight)), checks_(checks) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QFontMetrics metrics(option.font);
        int width = metrics.horizontalAdvance(index.data(Qt::DisplayRole).toString()) + 4;
        if (checks_) width += MarkSize + 2;
        return {width, rowHeight_};
    }

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        p->save();
        QRect area = option.rect;
        if (checks_) {
            QStyleOptionButton mark;
            mark.rect =
                QRect(area.left() + 1, area.top() + (area.height() - MarkSize) / 2, MarkSize, MarkSize);
            mark.palette = option.palette;
            mark.palette.setColor(QPalette::Base, ColorOf(clWindow));
            mark.palette.setColor(QPalette::Text, ColorOf(clWindowText));
            mark.state = QStyle::State_Enabled;
            const auto state = static_cast<Qt::CheckState>(index.data(Qt::CheckStateRole).toInt());
            mark.state |= state == Qt::Checked            ? QStyle::State_On
                          : state == Qt::PartiallyChecked ? QStyle::State_NoChange
                                                          : QStyle::State_Off;
            if (const QWidget* w = option.widget)
                w->style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &mark, p, w);
            area.setLeft(area.left() + MarkSize + 2);
        }
        area.setLeft(area.left() + index.data(Qt::UserRole).toInt());
        const bool selected = (option.state & QStyle::State_Selected) != 0;
        if (selected) p->fillRect(area, option.palette.color(QPalette::Active, QPalette::Highlight));
        const QImage picture = index.data(Qt::DecorationRole).value<QImage>();
        if (!picture.isNull()) {
            p->drawImage(area.left() + 1, area.top() + (area.height() - picture.height()) / 2, picture);
            area.setLeft(area.left() + picture.width() + 3);
        }
        p->setFont(option.font);
        p->setPen(
            option.palette.color(QPalette::Active, selected ? QPalette::HighlightedText : QPalette::Text));
        p->drawText(area.adjusted(2, 0, 0, 0),
                    Qt::AlignLeft | Qt::AlignVCenter | Qt::TextExpandTabs | Qt::TextSingleLine,
                    index.data(Qt::DisplayRole).toString());
        p->restore();
    }

private:
    int rowHeight_;
    bool checks_;
};

// ---------------------------------------------------------------------------------
// Lists and combo boxes

int ListRowHeight(const rt::Object& control, const QFont& font) {
    // Owner-drawn rows have the item height written for them; the others are as high as
    // the font's line.
    const std::string style = EnumOf(control, "Style");
    if (style == "lbOwnerDrawFixed" || style == "lbOwnerDrawVariable" || style == "lbVirtualOwnerDraw") {
        const std::int64_t h = OrdinalOf(control, "ItemHeight", 16);
        if (h > 0) return static_cast<int>(std::min<std::int64_t>(h, 1000));
    }
    return QFontMetrics(font).height();
}

QListWidget* MakeListWidget(rt::Object& control, QWidget* parent, bool checks) {
    auto* list = new QListWidget(parent);
    ApplyColorsAndFont(*list, control, true);
    KeepSelectionColors(*list);
    const QFont font = ControlFont(control);
    int rowHeight = ListRowHeight(control, font);
    if (checks) rowHeight = std::max(rowHeight, MarkSize + 2);
    list->setItemDelegate(new RowDelegate(rowHeight, checks, list));
    list->setUniformItemSizes(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    if (EnumOf(control, "BorderStyle") == "bsNone") {
        list->setFrameShape(QFrame::NoFrame);
    } else if (!BoolOf(control, "Ctl3D", true)) {
        list->setFrameStyle(QFrame::Box | QFrame::Plain);
        list->setLineWidth(1);
    }
    return list;
}

void FillList(QListWidget* list, const rt::Object& control, QStringList items, bool sorted, bool checks) {
    if (sorted) SortLikeWindows(items);
    for (const QString& text : items) {
        auto* item = new QListWidgetItem(text, list);
        if (checks) {
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
        }
    }
    // Several columns: the rows run down each column of the list's width shared evenly.
    const std::int64_t columns = OrdinalOf(control, "Columns");
    if (columns > 0) {
        const int width = std::max(1, ClampInt(OrdinalOf(control, "Width")) - 4);
        list->setFlow(QListView::TopToBottom);
        list->setWrapping(true);
        list->setResizeMode(QListView::Adjust);
        const int rowHeight = list->itemDelegate()->sizeHint(QStyleOptionViewItem(), QModelIndex()).height();
        list->setGridSize(
            QSize(std::max(1, width / ClampInt(std::min<std::int64_t>(columns, 1000))), rowHeight));
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    // With several rows selectable the item index is only the focused row, which shows
    // no highlight while the list has no focus.
    const std::int64_t index = OrdinalOf(control, "ItemIndex", -1);
    if (!BoolOf(control, "MultiSelect") && index >= 0 && index < list->count())
        list->setCurrentRow(static_cast<int>(index));
}

}  // namespace

Realized MakeListBox(rt::Object& control, QWidget* parent) {
    const bool checks = rt::EqualsIgnoringCase(control.ClassName(), "TCheckListBox");
    QListWidget* list = MakeListWidget(control, parent, checks);
    // A virtual list box gets its rows from code, which the preview does not run.
    const std::string style = EnumOf(control, "Style");
    QStringList items;
    if (style != "lbVirtual" && style != "lbVirtualOwnerDraw") items = LinesOf(control, "Items");
    if (rt::EqualsIgnoringCase(control.ClassName(), "TDBListBox")) {
        FillList(list, control, items, BoolOf(control, "Sorted"), false);
        list->setCurrentRow(-1);
    } else {
        FillList(list, control, items, BoolOf(control, "Sorted"), checks);
    }
    return {list, nullptr};
}

Realized MakeEmptyList(rt::Object& control, QWidget* parent) {
    return {MakeListWidget(control, parent, false), nullptr};
}

namespace {

// Names of files a file list box might show for its mask, for a neutral look.
QStringList SampleFiles(const QString& mask) {
    QString pattern = mask.section(QLatin1Char(';'), 0, 0).trimmed();
    if (pattern.isEmpty() || pattern == QStringLiteral("*.*") || pattern == QStringLiteral("*"))
        pattern = QStringLiteral("*.txt");
    QStringList names;
    for (const QString& base : {QStringLiteral("document"), QStringLiteral("readme")}) {
        QString name = pattern;
        name.replace(QLatin1Char('*'), base);
        name.replace(QLatin1Char('?'), QLatin1Char('1'));
        if (!names.contains(name)) names << name;
    }
    return names;
}

}  // namespace

Realized MakeFileListBox(rt::Object& control, QWidget* parent) {
    QListWidget* list = MakeListWidget(control, parent, false);
    const bool glyphs = BoolOf(control, "ShowGlyphs");
    QString mask = TextOf(control, "Mask");
    if (mask.isEmpty()) mask = QStringLiteral("*.*");
    if (HasElement(control, "FileType", "ftDirectory")) {
        auto* up = new QListWidgetItem(QStringLiteral("[..]"), list);
        if (glyphs) up->setData(Qt::DecorationRole, FolderIcon(false));
    }
    for (const QString& name : SampleFiles(mask)) {
        auto* item = new QListWidgetItem(name, list);
        if (glyphs) item->setData(Qt::DecorationRole, DocumentIcon());
    }
    return {list, nullptr};
}

Realized MakeDirectoryListBox(rt::Object& control, QWidget* parent) {
    QListWidget* list = MakeListWidget(control, parent, false);
    // The path from the drive's root down to the directory, each folder open and one
    // step further in.
    QString directory = TextOf(control, "Directory");
    if (directory.isEmpty()) directory = QStringLiteral("c:\\");
    directory.replace(QLatin1Char('/'), QLatin1Char('\\'));
    QStringList parts = directory.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    if (parts.isEmpty()) parts << QStringLiteral("c:");
    if (parts.size() > 64) parts = parts.mid(0, 64);
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString text = i == 0 ? parts[i] + QLatin1Char('\\') : parts[i];
        auto* item = new QListWidgetItem(text, list);
        item->setData(Qt::DecorationRole, FolderIcon(true));
        item->setData(Qt::UserRole, static_cast<int>(i) * 8);
    }
    list->setCurrentRow(static_cast<int>(parts.size() - 1));
    return {list, nullptr};
}

namespace {

QComboBox* NewCombo(rt::Object& control, QWidget* parent, bool editable) {
    auto* combo = new QComboBox(parent);
    ApplyColorsAndFont(*combo, control, true);
    KeepSelectionColors(*combo);
    combo->setEditable(editable);
    combo->setIconSize(QSize(16, 16));
    return combo;
}

// A simple combo box: an edit with its list always open below it.
class SimpleCombo : public QWidget, public Arranged {
public:
    SimpleCombo(EditBox* edit, QListWidget* list, QWidget* parent)
        : QWidget(parent), edit_(edit), list_(list) {}
    EditBox* Edit() const { return edit_; }
    QListWidget* List() const { return list_; }

    void Arrange() override {
        const int editHeight = std::min(height(), QFontMetrics(font()).height() + 8);
        edit_->setGeometry(0, 0, width(), editHeight);
        list_->setGeometry(0, editHeight, width(), std::max(0, height() - editHeight));
    }

protected:
    void resizeEvent(QResizeEvent*) override { Arrange(); }

private:
    EditBox* edit_;
    QListWidget* list_;
};

QWidget* MakeSimpleCombo(rt::Object& control, QWidget* parent, const QStringList& items,
                         const QString& text) {
    auto* edit = new EditBox(nullptr);
    ApplyColorsAndFont(*edit, control, true);
    edit->setText(text);
    edit->setCursorPosition(0);
    auto* list = new QListWidget(nullptr);
    ApplyColorsAndFont(*list, control, true);
    KeepSelectionColors(*list);
    list->setItemDelegate(new RowDelegate(QFontMetrics(ControlFont(control)).height(), false, list));
    list->addItems(items);
    auto* box = new SimpleCombo(edit, list, parent);
    ApplyColorsAndFont(*box, control, false);
    edit->setParent(box);
    list->setParent(box);
    return box;
}

// The text a combo box shows: its item at ItemIndex, else (with an edit) its Text; a
// drop-down list shows only an item, the one its Text names if any.
QString ComboText(const rt::Object& control, const QStringList& items, bool editable, int& index) {
    const std::int64_t written = OrdinalOf(control, "ItemIndex", -1);
    index = written >= 0 && written < items.size() ? static_cast<int>(written) : -1;
    const QString text = TextOf(control, "Text");
    if (index >= 0) return items[index];
    if (editable) return text;
    if (!text.isEmpty())
        for (qsizetype i = 0; i < items.size(); ++i)
            if (items[i].compare(text, Qt::CaseInsensitive) == 0) {
                index = static_cast<int>(i);
                return items[i];
            }
    return {};
}

}  // namespace

Realized MakeComboBox(rt::Object& control, QWidget* parent) {
    const bool data = rt::EqualsIgnoringCase(control.ClassName(), "TDBComboBox");
    const std::string style = EnumOf(control, "Style");
    QStringList items = LinesOf(control, "Items");
    if (BoolOf(control, "Sorted")) SortLikeWindows(items);
    const bool editable = style.empty() || style == "csDropDown" || style == "csSimple";
    int index = -1;
    // A data-aware combo box shows its field's value, and there is none without data.
    QString text = data ? QString() : ApplyCharCase(control, ComboText(control, items, editable, index));
    if (style == "csSimple") return {MakeSimpleCombo(control, parent, items, text), nullptr};
    QComboBox* combo = NewCombo(control, parent, editable);
    combo->addItems(items);
    combo->setCurrentIndex(index);
    if (editable) {
        combo->setEditText(text);
        if (QLineEdit* edit = combo->lineEdit()) {
            edit->setPlaceholderText(TextOf(control, "TextHint"));
            edit->setCursorPosition(0);
        }
    }
    return {combo, nullptr};
}

Realized MakeComboBoxEx(rt::Object& control, QWidget* parent) {
    QStringList items;
    if (const rt::Object* itemsEx = ObjectOf(control, "ItemsEx")) {
        const auto& source = itemsEx->Items();
        for (std::size_t i = 0; i < source.size() && i < MaxItems; ++i)
            items << TextOf(*source[i], "Caption");
    }
    const std::string style = EnumOf(control, "Style");
    const QString text = TextOf(control, "Text");
    if (style == "csExSimple") return {MakeSimpleCombo(control, parent, items, text), nullptr};
    const bool editable = style != "csExDropDownList";
    QComboBox* combo = NewCombo(control, parent, editable);
    combo->addItems(items);
    int index = -1;
    for (qsizetype i = 0; i < items.size(); ++i)
        if (items[i] == text) {
            index = static_cast<int>(i);
            break;
        }
    combo->setCurrentIndex(index);
    if (editable) {
        combo->setEditText(text);
        if (QLineEdit* edit = combo->lineEdit()) edit->setCursorPosition(0);
    }
    return {combo, nullptr};
}

namespace {

// The colours a colour box lists: value, name, pretty name.
struct NamedColor {
    std::int64_t Value;
    const char* Name;
    const char* Pretty;
};

constexpr NamedColor StandardColors[] = {
    {0x000000, "clBlack", "Black"}, {0x000080, "clMaroon", "Maroon"},   {0x008000, "clGreen", "Green"},
    {0x008080, "clOlive", "Olive"}, {0x800000, "clNavy", "Navy"},       {0x800080, "clPurple", "Purple"},
    {0x808000, "clTeal", "Teal"},   {0x808080, "clGray", "Gray"},       {0xC0C0C0, "clSilver", "Silver"},
    {0x0000FF, "clRed", "Red"},     {0x00FF00, "clLime", "Lime"},       {0x00FFFF, "clYellow", "Yellow"},
    {0xFF0000, "clBlue", "Blue"},   {0xFF00FF, "clFuchsia", "Fuchsia"}, {0xFFFF00, "clAqua", "Aqua"},
    {0xFFFFFF, "clWhite", "White"},
};

constexpr NamedColor ExtendedColors[] = {
    {0xC0DCC0, "clMoneyGreen", "Money Green"},
    {0xF0CAA6, "clSkyBlue", "Sky Blue"},
    {0xF0FBFF, "clCream", "Cream"},
    {0xA4A0A0, "clMedGray", "Medium Gray"},
};

constexpr NamedColor SystemColors[] = {
    {SysColor(10), "clActiveBorder", "Active Border"},
    {SysColor(2), "clActiveCaption", "Active Caption"},
    {SysColor(12), "clAppWorkSpace", "Application Workspace"},
    {SysColor(1), "clBackground", "Background"},
    {SysColor(15), "clBtnFace", "Button Face"},
    {SysColor(20), "clBtnHighlight", "Button Highlight"},
    {SysColor(16), "clBtnShadow", "Button Shadow"},
    {SysColor(18), "clBtnText", "Button Text"},
    {SysColor(9), "clCaptionText", "Caption Text"},
    {SysColor(27), "clGradientActiveCaption", "Gradient Active Caption"},
    {SysColor(28), "clGradientInactiveCaption", "Gradient Inactive Caption"},
    {SysColor(17), "clGrayText", "Gray Text"},
    {SysColor(13), "clHighlight", "Highlight Background"},
    {SysColor(14), "clHighlightText", "Highlight Text"},
    {SysColor(26), "clHotLight", "Hot Light"},
    {SysColor(11), "clInactiveBorder", "Inactive Border"},
    {SysColor(3), "clInactiveCaption", "Inactive Caption"},
    {SysColor(19), "clInactiveCaptionText", "Inactive Caption Text"},
    {SysColor(24), "clInfoBk", "Info Background"},
    {SysColor(23), "clInfoText", "Info Text"},
    {SysColor(4), "clMenu", "Menu Background"},
    {SysColor(30), "clMenuBar", "Menu Bar"},
    {SysColor(29), "clMenuHighlight", "Menu Highlight"},
    {SysColor(7), "clMenuText", "Menu Text"},
    {SysColor(0), "clScrollBar", "Scroll Bar"},
    {SysColor(21), "cl3DDkShadow", "3D Dark Shadow"},
    {SysColor(22), "cl3DLight", "3D Light"},
    {SysColor(5), "clWindow", "Window Background"},
    {SysColor(6), "clWindowFrame", "Window Frame"},
    {SysColor(8), "clWindowText", "Window Text"},
};

}  // namespace

Realized MakeColorBox(rt::Object& control, QWidget* parent) {
    QComboBox* combo = NewCombo(control, parent, false);
    const bool pretty = HasElement(control, "Style", "cbPrettyNames");
    const int swatch = std::clamp(ClampInt(OrdinalOf(control, "ItemHeight", 16)) - 2, 4, 64);
    combo->setIconSize(QSize(swatch, swatch));
    const std::int64_t selected = OrdinalOf(control, "Selected", 0);
    int index = -1;
    auto add = [&](std::int64_t value, const QString& name, const QColor& shown) {
        if (index < 0 && value == selected) index = combo->count();
        combo->addItem(QIcon(QPixmap::fromImage(ColorSwatch(shown, swatch))), name);
    };
    auto addAll = [&](const auto& colors) {
        for (const NamedColor& c : colors)
            add(c.Value, QString::fromLatin1(pretty ? c.Pretty : c.Name), ColorOf(c.Value));
    };
    const bool custom = HasElement(control, "Style", "cbCustomColor");
    if (custom)
        combo->addItem(QIcon(QPixmap::fromImage(ColorSwatch(Qt::black, swatch))),
                       QStringLiteral("Custom..."));
    if (HasElement(control, "Style", "cbIncludeNone"))
        add(clNone, QString::fromLatin1(pretty ? "None" : "clNone"),
            ColorOf(OrdinalOf(control, "NoneColorColor", 0)));
    if (HasElement(control, "Style", "cbIncludeDefault"))
        add(clDefault, QString::fromLatin1(pretty ? "Default" : "clDefault"),
            ColorOf(OrdinalOf(control, "DefaultColorColor", 0)));
    if (HasElement(control, "Style", "cbStandardColors")) addAll(StandardColors);
    if (HasElement(control, "Style", "cbExtendedColors")) addAll(ExtendedColors);
    if (HasElement(control, "Style", "cbSystemColors")) addAll(SystemColors);
    // A colour the list does not have is shown on the custom item, where there is one.
    if (index < 0 && custom) {
        combo->setItemIcon(0, QIcon(QPixmap::fromImage(ColorSwatch(ColorOf(selected), swatch))));
        index = 0;
    }
    combo->setCurrentIndex(index);
    return {combo, nullptr};
}

namespace {

// A combo box showing one neutral line, for the boxes whose content comes from the
// machine they run on.
Realized MakeOneLineCombo(rt::Object& control, QWidget* parent, const QStringList& items,
                          const QImage& icon) {
    QComboBox* combo = NewCombo(control, parent, false);
    for (const QString& item : items) {
        if (icon.isNull())
            combo->addItem(item);
        else
            combo->addItem(QIcon(QPixmap::fromImage(icon)), item);
    }
    combo->setCurrentIndex(items.isEmpty() ? -1 : 0);
    return {combo, nullptr};
}

}  // namespace

Realized MakeDriveComboBox(rt::Object& control, QWidget* parent) {
    std::int64_t drive = OrdinalOf(control, "Drive");
    if (!((drive >= 'a' && drive <= 'z') || (drive >= 'A' && drive <= 'Z'))) drive = 'c';
    QString text = QString(QChar(static_cast<char16_t>(drive))) + QLatin1Char(':');
    text = EnumOf(control, "TextCase") == "tcUpperCase" ? text.toUpper() : text.toLower();
    return MakeOneLineCombo(control, parent, {text}, DriveIcon());
}

Realized MakeFilterComboBox(rt::Object& control, QWidget* parent) {
    // The filter is "description|patterns|description|patterns..."; the box lists the
    // descriptions and shows the first.
    QString filter = TextOf(control, "Filter");
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList descriptions;
    for (qsizetype i = 0; i < parts.size() && descriptions.size() < static_cast<qsizetype>(MaxItems); i += 2)
        if (!parts[i].isEmpty()) descriptions << parts[i];
    return MakeOneLineCombo(control, parent, descriptions, {});
}

Realized MakeShellComboBox(rt::Object& control, QWidget* parent) {
    const QString root = TextOf(control, "Root");
    QString shown = root;
    struct RootName {
        const char* Root;
        const char* Shown;
    };
    static constexpr RootName Names[] = {
        {"rfDesktop", "Desktop"},
        {"rfMyComputer", "This PC"},
        {"rfNetwork", "Network"},
        {"rfRecycleBin", "Recycle Bin"},
        {"rfPersonal", "Documents"},
        {"rfControlPanel", "Control Panel"},
        {"rfPrinters", "Printers"},
        {"rfAppData", "AppData"},
        {"rfFavorites", "Favorites"},
        {"rfFonts", "Fonts"},
        {"rfTemplates", "Templates"},
        {"rfStartMenu", "Start Menu"},
        {"rfPrograms", "Programs"},
        {"rfStartup", "Startup"},
        {"rfSendTo", "SendTo"},
        {"rfRecent", "Recent"},
        {"rfNetHood", "Network Shortcuts"},
    };
    if (root.isEmpty()) shown = QStringLiteral("Desktop");
    for (const RootName& n : Names)
        if (root.compare(QLatin1String(n.Root), Qt::CaseInsensitive) == 0)
            shown = QString::fromLatin1(n.Shown);
    if (shown == root) {
        // A folder path shows its last folder.
        QString path = root;
        path.replace(QLatin1Char('/'), QLatin1Char('\\'));
        const QString last = path.section(QLatin1Char('\\'), -1, -1, QString::SectionSkipEmpty);
        if (!last.isEmpty()) shown = last;
    }
    return MakeOneLineCombo(control, parent, {shown}, FolderIcon(false));
}

Realized MakeLookupCombo(rt::Object& control, QWidget* parent) {
    return MakeOneLineCombo(control, parent, {}, {});
}

}  // namespace fw::preview::standard
