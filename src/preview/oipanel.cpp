#include "preview/oipanel.h"

#include <QAction>
#include <QApplication>
#include <QCollator>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QSaveFile>
#include <QScrollArea>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "preview/vcllook.h"

namespace fw::preview {

namespace {

constexpr int RowHeight = 16;
// clGray and clNavy: the type and value columns.
const QColor TypeColour(128, 128, 128);
const QColor ValueColour(0, 0, 128);
// clBtnFace.
constexpr std::int64_t BtnFace = -16777201;

// Sorting compares texts in the user's locale order, letter case counting.
const QCollator& RowCollator() {
    static const QCollator collator = [] {
        QCollator c{QLocale()};
        c.setCaseSensitivity(Qt::CaseSensitive);
        return c;
    }();
    return collator;
}

// An item of an inspector tree, holding its row (without the row's children, which are
// items of their own).
class RowItem : public QTreeWidgetItem {
public:
    explicit RowItem(InspectorRow row) : QTreeWidgetItem(UserType), row_(std::move(row)) {
        row_.Children.clear();
        setText(OIPanel::NameColumn, Q(row_.Name));
        setText(OIPanel::TypeColumn, Q(row_.TypeName));
        setText(OIPanel::ValueColumn, Q(row_.Value));
        setForeground(OIPanel::TypeColumn, TypeColour);
        setForeground(OIPanel::ValueColumn, ValueColour);
        // What the form text sets is bold.
        if (row_.SourceIndex >= 0) {
            for (int column = 0; column < 3; ++column) {
                QFont f = font(column);
                f.setBold(true);
                setFont(column, f);
            }
        }
    }

    InspectorRow& Row() { return row_; }
    const InspectorRow& Row() const { return row_; }

    bool operator<(const QTreeWidgetItem& other) const override {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        return RowCollator().compare(text(column), other.text(column)) < 0;
    }

private:
    InspectorRow row_;
};

// Rows 16 pixels high; the grey and navy texts turn white on a selected row.
class RowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(RowHeight);
        return size;
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->palette.setColor(QPalette::HighlightedText, Qt::white);
    }
};

void ForEachItem(QTreeWidgetItem* item, const std::function<void(QTreeWidgetItem*)>& visit) {
    visit(item);
    for (int i = 0; i < item->childCount(); ++i)
        ForEachItem(item->child(i), visit);
}

void ForEachItem(const QTreeWidget* tree, const std::function<void(QTreeWidgetItem*)>& visit) {
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        ForEachItem(tree->topLevelItem(i), visit);
}

QLabel* MakeTitle(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    return label;
}

}  // namespace

QRect PictureTarget(QSize picture, QSize control, bool stretch, bool preserveRatio, bool center) {
    QSize target = picture;
    if (stretch && !preserveRatio) return QRect(QPoint(0, 0), control);
    if (stretch && picture.width() > 0 && picture.height() > 0) {
        if (control.width() <= 0 || control.height() <= 0) return QRect(0, 0, 0, 0);
        const double f = std::max(static_cast<double>(picture.width()) / control.width(),
                                  static_cast<double>(picture.height()) / control.height());
        // nearbyint rounds halves to even in the default rounding mode.
        target = QSize(static_cast<int>(std::nearbyint(picture.width() / f)),
                       static_cast<int>(std::nearbyint(picture.height() / f)));
    }
    QPoint at(0, 0);
    if (center) at = QPoint((control.width() - target.width()) / 2, (control.height() - target.height()) / 2);
    return QRect(at, target);
}

// ---- the image control ----

PictureView::PictureView(QWidget* parent) : QWidget(parent), background_(ColorOf(BtnFace)) {
    setObjectName(QStringLiteral("Image"));
    setToolTip(QStringLiteral("Double-click to image to change stretch mode"));
}

void PictureView::SetPicture(const QImage& image, QSize size, std::vector<std::uint8_t> fileBytes) {
    image_ = image;
    size_ = size;
    fileBytes_ = std::move(fileBytes);
    hasGraphic_ = true;
    if (autoSize_ && size_.width() > 0 && size_.height() > 0) resize(size_);
    update();
}

void PictureView::ClearPicture() {
    image_ = QImage();
    size_ = QSize();
    fileBytes_.clear();
    hasGraphic_ = false;
    update();
}

void PictureView::SetAutoSize(bool on) {
    autoSize_ = on;
}

void PictureView::SetStretch(bool on) {
    stretch_ = on;
    update();
}

void PictureView::SetPreserveRatio(bool on) {
    preserveRatio_ = on;
    update();
}

void PictureView::SetCenter(bool on) {
    center_ = on;
    update();
}

void PictureView::SetTile(bool on) {
    tile_ = on;
    update();
}

void PictureView::SetTransparent(bool on) {
    transparent_ = on;
    update();
}

void PictureView::SetBackground(const QColor& colour) {
    background_ = colour;
    update();
}

void PictureView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!transparent_) painter.fillRect(rect(), background_);
    if (image_.isNull() || size_.width() <= 0 || size_.height() <= 0) return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (tile_) {
        for (int y = 0; y < height(); y += size_.height())
            for (int x = 0; x < width(); x += size_.width())
                painter.drawImage(QRect(QPoint(x, y), size_), image_);
        return;
    }
    painter.drawImage(PictureTarget(size_, size(), stretch_, preserveRatio_, center_), image_);
}

void PictureView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit DoubleClicked();
    QWidget::mouseDoubleClickEvent(event);
}

// ---- the panel ----

OIPanel::OIPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("OIPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    oiTitle_ = MakeTitle(QStringLiteral("OITitle"), QStringLiteral(" No object selected"), this);
    layout->addWidget(oiTitle_);

    hSplitter_ = new QSplitter(Qt::Vertical, this);
    hSplitter_->setObjectName(QStringLiteral("HSplitter"));
    hSplitter_->setChildrenCollapsible(false);
    pcOI_ = new QTabWidget(hSplitter_);
    pcOI_->setObjectName(QStringLiteral("pcOI"));
    oipTree_ = MakeTree(QStringLiteral("OIPTree"));
    oieTree_ = MakeTree(QStringLiteral("OIETree"));
    oieTree_->setRootIsDecorated(false);
    pcOI_->addTab(oipTree_, QStringLiteral(" Properties "));
    pcOI_->addTab(oieTree_, QStringLiteral(" Events "));

    auto* imagePage = new QWidget;
    imagePage->setObjectName(QStringLiteral("ImagePreview"));
    auto* imageLayout = new QVBoxLayout(imagePage);
    imageLayout->setContentsMargins(0, 0, 0, 0);
    imageLayout->setSpacing(0);
    propTitle_ = MakeTitle(QStringLiteral("PropTitle"), QStringLiteral("No image"), imagePage);
    QFont bold = propTitle_->font();
    bold.setBold(true);
    propTitle_->setFont(bold);
    imageTitle_ = MakeTitle(QStringLiteral("ImageTitle"), QStringLiteral("No image"), imagePage);
    imageBox_ = new QScrollArea(imagePage);
    imageBox_->setObjectName(QStringLiteral("ImageBox"));
    imageBox_->setWidgetResizable(false);
    image_ = new PictureView;
    image_->resize(0, 0);
    imageBox_->setWidget(image_);
    imageLayout->addWidget(propTitle_);
    imageLayout->addWidget(imageTitle_);
    imageLayout->addWidget(imageBox_, 1);
    pcOI_->addTab(imagePage, QStringLiteral(" Image Preview "));
    pcOI_->setTabVisible(ImagePage, false);

    saveAction_ = new QAction(QStringLiteral("Save..."), image_);
    saveAction_->setObjectName(QStringLiteral("pmSave"));
    saveAction_->setEnabled(false);
    image_->addAction(saveAction_);
    image_->setContextMenuPolicy(Qt::ActionsContextMenu);
    saveFilter_ = QStringLiteral("Bitmaps (*.bmp);;Icons (*.ico);;Metafiles (*.wmf)");

    hTree_ = new QTreeWidget(hSplitter_);
    hTree_->setObjectName(QStringLiteral("HTree"));
    hTree_->setColumnCount(1);
    hTree_->setHeaderHidden(true);
    // Each ancestor is the only child of the row above: a narrow step keeps the chain in
    // view.
    hTree_->setIndentation(10);
    hTree_->hide();
    hSplitter_->setStretchFactor(0, 1);
    hSplitter_->setStretchFactor(1, 0);
    hSplitter_->setSizes({400, 120});
    layout->addWidget(hSplitter_, 1);

    connect(oipTree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        CancelEdit();
        OIPTreeChange(current);
    });
    connect(oipTree_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        OIPTreeDblClick();
        BeginEdit(item);
    });
    for (QTreeWidget* tree : {oipTree_, oieTree_}) {
        // A click on a value edits it; so do F2 and Enter on the current row.
        connect(tree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item, int column) {
            if (column == ValueColumn) BeginEdit(item);
        });
        tree->installEventFilter(this);
    }
    connect(oieTree_, &QTreeWidget::currentItemChanged, this, [this] { CancelEdit(); });
    connect(oieTree_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { BeginEdit(item); });
    connect(pcOI_, &QTabWidget::currentChanged, this, [this] { CancelEdit(); });
    connect(oipTree_->header(), &QHeaderView::sectionClicked, this,
            [this](int column) { OITreeHeaderClick(oipTree_, column); });
    connect(oieTree_->header(), &QHeaderView::sectionClicked, this,
            [this](int column) { OITreeHeaderClick(oieTree_, column); });
    connect(image_, &PictureView::DoubleClicked, this, &OIPanel::ImageDblClick);
    connect(saveAction_, &QAction::triggered, this, [this] {
        if (runGuarded_) {
            runGuarded_([this] { pmSaveClick(); });
            return;
        }
        try {
            pmSaveClick();
        } catch (const std::exception& error) {
            qWarning("%s", error.what());
        }
    });
}

QTreeWidget* OIPanel::MakeTree(const QString& name) {
    auto* tree = new QTreeWidget;
    tree->setObjectName(name);
    tree->setColumnCount(3);
    tree->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Type"), QStringLiteral("Value")});
    tree->setUniformRowHeights(true);
    tree->setItemDelegate(new RowDelegate(tree));
    tree->setIndentation(12);
    tree->setSortingEnabled(false);
    tree->header()->setSectionsClickable(true);
    tree->header()->setStretchLastSection(true);
    tree->setColumnWidth(NameColumn, 110);
    tree->setColumnWidth(TypeColumn, 80);
    // A window starts with nothing inspected, and so without the type column.
    tree->setColumnHidden(TypeColumn, true);
    return tree;
}

const InspectorRow* OIPanel::RowOf(const QTreeWidgetItem* item) {
    if (!item || item->type() != QTreeWidgetItem::UserType) return nullptr;
    return &static_cast<const RowItem*>(item)->Row();
}

QTreeWidgetItem* OIPanel::FindItem(const QTreeWidget* tree, const QString& path) {
    const QStringList names = path.split(QLatin1Char('.'));
    QTreeWidgetItem* found = nullptr;
    for (const QString& name : names) {
        const int count = found ? found->childCount() : tree->topLevelItemCount();
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; i < count && !next; ++i) {
            QTreeWidgetItem* item = found ? found->child(i) : tree->topLevelItem(i);
            if (item->text(NameColumn) == name) next = item;
        }
        if (!next) return nullptr;
        found = next;
    }
    return found;
}

int OIPanel::CountItems(const QTreeWidget* tree) {
    int count = 0;
    ForEachItem(tree, [&](QTreeWidgetItem*) { ++count; });
    return count;
}

void OIPanel::AddRows(QTreeWidget* tree, QTreeWidgetItem* parent, const std::vector<InspectorRow>& rows,
                      const ValueOrigin& originOf, const std::string& prefix) {
    for (const InspectorRow& row : rows) {
        auto* item = new RowItem(row);
        const std::string path = prefix + row.Name;
        if (originOf) item->setToolTip(ValueColumn, originOf(path));
        if (parent)
            parent->addChild(item);
        else
            tree->addTopLevelItem(item);
        AddRows(tree, item, row.Children, originOf, path + '.');
    }
}

void OIPanel::SetEditTarget(const QString& objectPath, const QString& propertyPrefix) {
    CancelEdit();
    editObject_ = objectPath;
    editPrefix_ = propertyPrefix;
}

QString OIPanel::ItemPath(const QTreeWidgetItem* item) {
    QStringList names;
    for (; item; item = item->parent())
        names.prepend(item->text(NameColumn));
    return names.join(QLatin1Char('.'));
}

bool OIPanel::BeginEdit(QTreeWidgetItem* item) {
    const InspectorRow* row = RowOf(item);
    if (!row || editObject_.isEmpty()) return false;
    QTreeWidget* tree = item->treeWidget();
    const ValueKind kind = ValueKindOf(*row, tree == oieTree_, item->parent() == nullptr);
    if (kind == ValueKind::None) return false;
    CancelEdit();
    // A font starts from the values its rows show.
    FontValues font;
    if (kind == ValueKind::Font) {
        for (int i = 0; i < item->childCount(); ++i) {
            const InspectorRow* sub = RowOf(item->child(i));
            if (!sub) continue;
            if (sub->Name == "Name") font.Name = sub->EditText.empty() ? sub->Value : sub->EditText;
            if (sub->Name == "Height") font.Height = QString::fromStdString(sub->Value).toInt();
            if (sub->Name == "Style") font.Style = SetNames(sub->Value);
        }
    }
    const std::string path = (editPrefix_ + ItemPath(item)).toStdString();
    auto* editor = new ValueEditor(*row, kind, path, std::move(font), dialogs_);
    // The edit is for the object inspected when the editor opened; an editor closed in
    // the meantime commits nothing.
    connect(editor, &ValueEditor::Committed, this,
            [this, editor, object = editObject_](const QStringList& paths, const QStringList& values) {
                if (editor_ != editor) return;
                CancelEdit();
                emit PropertyEdited(object, paths, values);
            });
    connect(editor, &ValueEditor::Cancelled, this, [this] { CancelEdit(); });
    tree->setCurrentItem(item, ValueColumn);
    tree->setItemWidget(item, ValueColumn, editor);
    editor_ = editor;
    editor->setFocus();
    return true;
}

void OIPanel::CancelEdit() {
    if (!editor_) return;
    ValueEditor* editor = editor_.data();
    editor_ = nullptr;
    // The editor may be the sender of the signal in hand: it goes once that is done.
    const bool focused = editor->isAncestorOf(QApplication::focusWidget());
    editor->hide();
    editor->deleteLater();
    if (focused) pcOI_->currentWidget()->setFocus();
}

QString OIPanel::CurrentPath() const {
    const auto* tree = qobject_cast<const QTreeWidget*>(pcOI_->currentWidget());
    return tree ? ItemPath(tree->currentItem()) : QString();
}

void OIPanel::RestoreCurrent(const QString& path) {
    auto* tree = qobject_cast<QTreeWidget*>(pcOI_->currentWidget());
    if (!tree || path.isEmpty()) return;
    if (QTreeWidgetItem* item = FindItem(tree, path)) {
        tree->setCurrentItem(item);
        tree->scrollToItem(item);
    }
}

bool OIPanel::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == oipTree_ || watched == oieTree_) && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool edit =
            key->key() == Qt::Key_F2 || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        auto* tree = static_cast<QTreeWidget*>(watched);
        if (edit && key->modifiers() == Qt::NoModifier && BeginEdit(tree->currentItem())) return true;
    }
    return QWidget::eventFilter(watched, event);
}

void OIPanel::FillInspector(rt::Object* object, const std::vector<std::string>& sourceLines,
                            std::string_view writtenName, const ValueOrigin& originOf) {
    pcOI_->setTabVisible(ImagePage, false);
    oipTree_->setUpdatesEnabled(false);
    oipTree_->clear();
    oipTree_->setColumnHidden(TypeColumn, !(object && showTypeCol_));
    AddRows(oipTree_, nullptr, FillProperties(object, sourceLines, writtenName),
            object ? originOf : ValueOrigin());
    oipTree_->setUpdatesEnabled(true);
    pcOI_->setTabText(PropertiesPage, QStringLiteral(" Properties (%1)").arg(CountItems(oipTree_)));

    oieTree_->setUpdatesEnabled(false);
    oieTree_->clear();
    if (object) AddRows(oieTree_, nullptr, FillEvents(*object, sourceLines));
    oieTree_->setUpdatesEnabled(true);
    pcOI_->setTabVisible(EventsPage, object != nullptr);
    if (object)
        pcOI_->setTabText(EventsPage, QStringLiteral(" Events (%1)").arg(oieTree_->topLevelItemCount()));
}

void OIPanel::FillClassTree(const rt::Class* cls, const QString& standInLine) {
    hTree_->clear();
    QTreeWidgetItem* top = nullptr;
    if (!cls) {
        top = new QTreeWidgetItem(hTree_, QStringList{QStringLiteral("<No info available>")});
    } else if (cls->Has(rt::CfStandIn)) {
        // A stand-in's ancestry is the runtime's invention, not its class's: only its
        // name, with how it is drawn.
        top = new QTreeWidgetItem(hTree_, QStringList{standInLine.isEmpty() ? Q(cls->Name()) : standInLine});
    } else {
        QTreeWidgetItem* parent = nullptr;
        for (const rt::Class* c = cls; c; c = c->Parent()) {
            auto* item = parent ? new QTreeWidgetItem(parent, QStringList{Q(c->Name())})
                                : new QTreeWidgetItem(hTree_, QStringList{Q(c->Name())});
            if (!top) top = item;
            parent = item;
        }
    }
    QFont bold = top->font(0);
    bold.setBold(true);
    top->setFont(0, bold);
    hTree_->expandAll();
}

void OIPanel::ApplyOptions(bool showTypeCol, bool showHTree, bool inspecting) {
    showTypeCol_ = showTypeCol;
    oipTree_->setColumnHidden(TypeColumn, !(showTypeCol && inspecting));
    oieTree_->setColumnHidden(TypeColumn, !(showTypeCol && inspecting));
    hTree_->setVisible(showHTree);
}

void OIPanel::ForgetObjects() {
    ForEachItem(oipTree_, [](QTreeWidgetItem* item) {
        if (item->type() == QTreeWidgetItem::UserType) static_cast<RowItem*>(item)->Row().Object = nullptr;
    });
}

void OIPanel::OIPTreeChange(QTreeWidgetItem* item) {
    if (!item) return;
    try {
        image_->ClearPicture();
        const InspectorRow* row = RowOf(item);
        if (!row) throw std::logic_error("not an inspector row");
        const PicturePreview preview = DescribePicture(row->Object);
        if (preview.Shown) {
            QImage image;
            if (preview.Drawable)
                image = DecodeGraphic(*preview.Graphic, image_->Transparent());
            else if (preview.StandardIcon)
                // An icon of its own is missing: the program's icon stands in, at the
                // standard size.
                image = QApplication::windowIcon().pixmap(StandardIconSize).toImage();
            image_->SetPicture(image, QSize(preview.Width, preview.Height),
                               GraphicFileBytes(*preview.Graphic));
            imageTitle_->setText(Q(preview.Title()));
            saveFilter_ = Q(preview.Filter);
            saveAction_->setEnabled(!image_->FileBytes().empty());
        }
        propTitle_->setText(QStringLiteral("%1: %2").arg(Q(row->Name), Q(row->TypeName)));
        pcOI_->setTabVisible(ImagePage, image_->HasGraphic());
    } catch (const std::exception&) {
        pcOI_->setTabVisible(ImagePage, false);
    }
}

void OIPanel::OIPTreeDblClick() {
    if (pcOI_->isTabVisible(ImagePage)) pcOI_->setCurrentIndex(ImagePage);
}

void OIPanel::ImageDblClick() {
    image_->SetAutoSize(!image_->AutoSize());
    image_->SetStretch(!image_->Stretch());
    const int width = image_->AutoSize() ? image_->PictureSize().width() : imageBox_->viewport()->width();
    image_->resize(std::max(width, 0), image_->height());
}

void OIPanel::pmSaveClick() {
    const std::vector<std::uint8_t>& bytes = image_->FileBytes();
    if (!image_->HasGraphic() || bytes.empty()) return;
    const QString path = askSavePath_ ? askSavePath_(saveFilter_) : QString();
    if (path.isEmpty()) return;
    QSaveFile file(path);
    const auto size = static_cast<qint64>(bytes.size());
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char*>(bytes.data()), size) != size || !file.commit())
        throw std::runtime_error("Cannot create file \"" + path.toStdString() + "\". " +
                                 file.errorString().toStdString());
}

void OIPanel::OITreeHeaderClick(QTreeWidget* tree, int column) {
    SortState& state = tree == oieTree_ ? eventSort_ : propertySort_;
    if (state.Column == column)
        state.Order = state.Order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    else
        state = SortState{column, Qt::AscendingOrder};
    tree->header()->setSortIndicatorShown(true);
    tree->header()->setSortIndicator(column, state.Order);
    tree->sortItems(column, state.Order);
}

}  // namespace fw::preview
