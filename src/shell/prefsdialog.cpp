#include "shell/prefsdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <exception>
#include <optional>
#include <vector>

#include "base/asciitext.h"
#include "document/usermessages.h"
#include "packages/designpackages.h"
#include "peimage/packageinfo.h"
#include "peimage/pefile.h"
#include "runtime/registry.h"
#include "shell/fileassociations.h"
#include "shell/mainwindow.h"

namespace fw {

namespace {

// The report pages in the order of the tabs under the memo.
constexpr std::array<pe::ReportPage, 3> kReportPages = {pe::ReportPage::Header, pe::ReportPage::Classes,
                                                        pe::ReportPage::Flags};

// The longest part of a package's error message the memo shows.
constexpr qsizetype kMaxErrorLength = 1024;

// The desktop entry and mime package the program's associations are written to, and
// the icon its desktop entry shows.
const QString kAssociationName = QStringLiteral("formwright");
const QString kProgramIcon = QStringLiteral("formwright");

// The image role of a package row.
constexpr int kImageRole = Qt::UserRole + 1;

// The code pages offered for form text, with what they are for.
struct CodePageChoice {
    int Number;
    const char* Script;
};
constexpr std::array<CodePageChoice, 14> kCodePages{{
    {874, "Thai"},
    {932, "Japanese"},
    {936, "Simplified Chinese"},
    {949, "Korean"},
    {950, "Traditional Chinese"},
    {1250, "Central European"},
    {1251, "Cyrillic"},
    {1252, "Western European"},
    {1253, "Greek"},
    {1254, "Turkish"},
    {1255, "Hebrew"},
    {1256, "Arabic"},
    {1257, "Baltic"},
    {1258, "Vietnamese"},
}};

// Image 0, a package that is not loaded: a grey box with a red cross; image 1, a loaded
// one: a coloured box.
QIcon PackageImage(int index) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(index == 1 ? QColor(0xE0, 0xA0, 0x40) : QColor(0xC0, 0xC0, 0xC0));
    painter.drawRect(QRectF(2.5, 4.5, 11, 9));
    painter.drawLine(QPointF(2.5, 7.5), QPointF(13.5, 7.5));
    if (index == 0) {
        painter.setPen(QPen(QColor(0xD0, 0x20, 0x20), 2));
        painter.drawLine(QPointF(5, 6), QPointF(11, 12));
        painter.drawLine(QPointF(11, 6), QPointF(5, 12));
    }
    return QIcon(pixmap);
}

// The message of the package's entry in the error list ("<path>=<message>"), if any.
// The path may itself hold "=", so an entry whose text starts with the path and "=" is
// taken first; otherwise the name is the text before the first "=", blanks trimmed.
std::optional<std::string> PackageError(const std::vector<std::string>& errors, const std::string& path) {
    for (const std::string& entry : errors) {
        if (entry.size() > path.size() && entry[path.size()] == '=' &&
            EqualsIgnoringCase(entry.substr(0, path.size()), path))
            return entry.substr(path.size() + 1);
    }
    for (const std::string& entry : errors) {
        const std::size_t equals = entry.find('=');
        if (equals == std::string::npos) continue;
        const QString name = QString::fromStdString(entry.substr(0, equals)).trimmed();
        if (EqualsIgnoringCase(name.toStdString(), path)) return entry.substr(equals + 1);
    }
    return std::nullopt;
}

// A package's error as the dialog shows it: cut to kMaxErrorLength characters (never
// leaving half a character behind), its line breaks, CR LF or single, made line feeds.
QString ErrorText(const std::string& error) {
    QString text = QString::fromStdString(error).left(kMaxErrorLength);
    if (!text.isEmpty() && text.back().isHighSurrogate()) text.chop(1);
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
}

}  // namespace

PreferencesDialog::PreferencesDialog(UserMessages& messages, pkg::DesignPackages& packages,
                               rt::ClassRegistry& registry, const QString& programPath,
                               const CodePage& codePage, QWidget* parent)
    : QDialog(parent),
      messages_(messages),
      packages_(packages),
      registry_(registry),
      programPath_(programPath),
      codePage_(codePage) {
    setObjectName(QStringLiteral("dlg_dfm_Prefs"));
    setWindowTitle(QStringLiteral("Preferences"));
    // A fixed dialog frame with only a close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    BuildWidgets();
    setFixedSize(QSize(482, 399).expandedTo(sizeHint()));
    // FormCreate: the reader, and " General " first.
    pe_ = std::make_unique<pe::PeFile>(codePage_);
    pc->setCurrentWidget(TabSheet1);
}

PreferencesDialog::~PreferencesDialog() {
    // FormClose: no selection handler may run on the half-destroyed dialog.
    BPLList->disconnect(this);
    Box->disconnect(this);
    pc->disconnect(this);
    ts->disconnect(this);
    pe_.reset();
}

void PreferencesDialog::BuildWidgets() {
    auto* layout = new QVBoxLayout(this);
    pc = new QTabWidget(this);
    pc->setObjectName(QStringLiteral("pc"));
    layout->addWidget(pc, 1);

    // " General ".
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    auto* general = new QVBoxLayout(TabSheet1);
    general->addWidget(new QLabel(QStringLiteral("Registered file types:"), TabSheet1));
    RFTList = new QTreeWidget(TabSheet1);
    RFTList->setObjectName(QStringLiteral("RFTList"));
    RFTList->setHeaderLabels({QStringLiteral("File Type"), QStringLiteral("Description")});
    RFTList->setRootIsDecorated(false);
    RFTList->setSelectionBehavior(QAbstractItemView::SelectRows);
    RFTList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    RFTList->header()->setStretchLastSection(true);
    auto* dfm = new QTreeWidgetItem(RFTList, {QStringLiteral("dfm"), QStringLiteral("Delphi form file")});
    dfm->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    dfm->setCheckState(0, Qt::Unchecked);
    general->addWidget(RFTList, 1);

    auto* interfaceGroup = new QGroupBox(QStringLiteral(" Interface "), TabSheet1);
    auto* options = new QVBoxLayout(interfaceGroup);
    auto addBox = [&](QCheckBox*& box, const char* name, const char* caption) {
        box = new QCheckBox(QString::fromLatin1(caption), interfaceGroup);
        box->setObjectName(QString::fromLatin1(name));
        options->addWidget(box);
    };
    addBox(cbxShowTypeCol, "cbxShowTypeCol", "Display [Type] column in Object Inspector");
    addBox(cbxShowCNCol, "cbxShowCNCol", "Display [Classname] column in Object Tree");
    addBox(cbxHTree, "cbxHTree", "Show Hierarchy Tree");
    addBox(cbxFont, "cbxFont", "Smaller font in Editor");
    general->addWidget(interfaceGroup);

    auto* codePageRow = new QHBoxLayout;
    auto* codePageLabel = new QLabel(QStringLiteral("Code page of form text:"), TabSheet1);
    cbxCodePage = new QComboBox(TabSheet1);
    cbxCodePage->setObjectName(QStringLiteral("cbxCodePage"));
    for (const CodePageChoice& choice : kCodePages) {
        cbxCodePage->addItem(
            QStringLiteral("Windows-%1 (%2)").arg(choice.Number).arg(QString::fromLatin1(choice.Script)),
            choice.Number);
    }
    codePageLabel->setBuddy(cbxCodePage);
    codePageRow->addWidget(codePageLabel);
    codePageRow->addWidget(cbxCodePage, 1);
    general->addLayout(codePageRow);
    pc->addTab(TabSheet1, QStringLiteral(" General "));

    // " Packages ".
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    auto* packagesLayout = new QVBoxLayout(TabSheet2);
    BPLList = new QTreeWidget(TabSheet2);
    BPLList->setObjectName(QStringLiteral("BPLList"));
    BPLList->setHeaderLabels({QStringLiteral("Package"), QStringLiteral("Path")});
    BPLList->setRootIsDecorated(false);
    BPLList->setSelectionBehavior(QAbstractItemView::SelectRows);
    BPLList->setSelectionMode(QAbstractItemView::SingleSelection);
    BPLList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    BPLList->setColumnWidth(0, 180);
    packagesLayout->addWidget(BPLList, 1);
    auto* buttons = new QHBoxLayout;
    btnAdd = new QPushButton(QStringLiteral("Add..."), TabSheet2);
    btnAdd->setObjectName(QStringLiteral("btnAdd"));
    btnAdd->setAutoDefault(false);
    btnDel = new QPushButton(QStringLiteral("Remove"), TabSheet2);
    btnDel->setObjectName(QStringLiteral("btnDel"));
    btnDel->setAutoDefault(false);
    buttons->addWidget(btnAdd);
    buttons->addWidget(btnDel);
    buttons->addStretch(1);
    packagesLayout->addLayout(buttons);
    Memo = new QPlainTextEdit(TabSheet2);
    Memo->setObjectName(QStringLiteral("Memo"));
    Memo->setReadOnly(true);
    Memo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    packagesLayout->addWidget(Memo, 1);
    ts = new QTabBar(TabSheet2);
    ts->setObjectName(QStringLiteral("ts"));
    ts->setShape(QTabBar::RoundedSouth);
    ts->setDrawBase(false);
    for (const pe::ReportPage page : kReportPages)
        ts->addTab(QString::fromLatin1(pe::ReportPageName(page)));
    packagesLayout->addWidget(ts);
    pc->addTab(TabSheet2, QStringLiteral(" Packages "));

    // " Registered Classes ".
    TabSheet3 = new QWidget;
    TabSheet3->setObjectName(QStringLiteral("TabSheet3"));
    auto* classes = new QGridLayout(TabSheet3);
    Box = new QListWidget(TabSheet3);
    Box->setObjectName(QStringLiteral("Box"));
    Box->setSortingEnabled(true);
    Box->setSelectionMode(QAbstractItemView::SingleSelection);
    Tree = new QTreeWidget(TabSheet3);
    Tree->setObjectName(QStringLiteral("Tree"));
    Tree->setHeaderHidden(true);
    Tree->setRootIsDecorated(false);
    Tree->setItemsExpandable(false);
    Tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lCCount = new QLabel(QStringLiteral("Count: 0"), TabSheet3);
    lCCount->setObjectName(QStringLiteral("lCCount"));
    lUnit = new QLabel(TabSheet3);
    lUnit->setObjectName(QStringLiteral("lUnit"));
    classes->addWidget(Box, 0, 0);
    classes->addWidget(Tree, 0, 1);
    classes->addWidget(lCCount, 1, 0);
    classes->addWidget(lUnit, 1, 1);
    classes->setColumnStretch(0, 1);
    classes->setColumnStretch(1, 1);
    pc->addTab(TabSheet3, QStringLiteral(" Registered Classes "));

    // " Search Folders ".
    TabSheet4 = new QWidget;
    TabSheet4->setObjectName(QStringLiteral("TabSheet4"));
    auto* foldersLayout = new QVBoxLayout(TabSheet4);
    auto* foldersLabel = new QLabel(
        QStringLiteral(
            "Ancestor forms and frames are looked for in the form's folder and its parents up to the "
            "project's, then in these folders, in this order:"),
        TabSheet4);
    foldersLabel->setWordWrap(true);
    foldersLayout->addWidget(foldersLabel);
    lbFolders = new QListWidget(TabSheet4);
    lbFolders->setObjectName(QStringLiteral("lbFolders"));
    lbFolders->setSelectionMode(QAbstractItemView::SingleSelection);
    foldersLabel->setBuddy(lbFolders);
    foldersLayout->addWidget(lbFolders, 1);
    auto* folderButtons = new QHBoxLayout;
    btnAddFolder = new QPushButton(QStringLiteral("Add..."), TabSheet4);
    btnAddFolder->setObjectName(QStringLiteral("btnAddFolder"));
    btnAddFolder->setAutoDefault(false);
    btnDelFolder = new QPushButton(QStringLiteral("Remove"), TabSheet4);
    btnDelFolder->setObjectName(QStringLiteral("btnDelFolder"));
    btnDelFolder->setAutoDefault(false);
    folderButtons->addWidget(btnAddFolder);
    folderButtons->addWidget(btnDelFolder);
    folderButtons->addStretch(1);
    foldersLayout->addLayout(folderButtons);
    pc->addTab(TabSheet4, QStringLiteral(" Search Folders "));

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setAutoDefault(false);
    bottom->addWidget(btnOK);
    bottom->addWidget(btnCancel);
    layout->addLayout(bottom);

    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnAdd, &QPushButton::clicked, this, &PreferencesDialog::cmAdd);
    connect(btnDel, &QPushButton::clicked, this, &PreferencesDialog::cmDel);
    connect(btnAddFolder, &QPushButton::clicked, this, &PreferencesDialog::cmAddFolder);
    connect(btnDelFolder, &QPushButton::clicked, this, &PreferencesDialog::cmDelFolder);
    connect(BPLList, &QTreeWidget::itemSelectionChanged, this, &PreferencesDialog::BPLListSelectItem);
    connect(ts, &QTabBar::currentChanged, this, &PreferencesDialog::tsClick);
    connect(pc, &QTabWidget::currentChanged, this, &PreferencesDialog::pcChange);
    connect(Box, &QListWidget::itemSelectionChanged, this, &PreferencesDialog::BoxClick);
}

bool PreferencesDialog::ExecutePreferences(QWidget* owner, UserMessages& messages, pkg::DesignPackages& packages,
                                        rt::ClassRegistry& registry, const PreferencesSettings& settings,
                                        const QString& programPath) {
    const CodePage* codePage = CodePage::Find(*settings.CodePageNumber);
    PreferencesDialog dialog(messages, packages, registry,
                          programPath.isEmpty() ? QCoreApplication::applicationFilePath() : programPath,
                          codePage ? *codePage : CodePage::Default(), owner);
    dialog.SetOptions(*settings.Options, *settings.CodePageNumber);
    if (settings.SearchFolders) dialog.SetSearchFolders(*settings.SearchFolders);
    if (const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen()) {
        dialog.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, dialog.size(),
                                               screen->availableGeometry()));
    }
    if (dialog.exec() != QDialog::Accepted) return false;

    dialog.ApplyAssociations();
    try {
        packages.WritePackageList();
    } catch (const std::exception& error) {
        messages.Error(QString::fromStdString(error.what()));
    }
    dialog.GetOptions(*settings.Options, *settings.CodePageNumber);
    if (settings.SearchFolders) *settings.SearchFolders = dialog.SearchFolders();
    return true;
}

void PreferencesDialog::SetOptions(const InterfaceOptions& options, int codePageNumber) {
    cbxShowTypeCol->setChecked(options.ShowTypeCol);
    cbxShowCNCol->setChecked(options.ShowCNCol);
    cbxHTree->setChecked(options.ShowHTree);
    cbxFont->setChecked(options.SmallFont);
    int index = cbxCodePage->findData(codePageNumber);
    if (index < 0) index = cbxCodePage->findData(CodePage::Default().Number());
    cbxCodePage->setCurrentIndex(index);
}

void PreferencesDialog::GetOptions(InterfaceOptions& options, int& codePageNumber) const {
    options.ShowTypeCol = cbxShowTypeCol->isChecked();
    options.ShowCNCol = cbxShowCNCol->isChecked();
    options.ShowHTree = cbxHTree->isChecked();
    options.SmallFont = cbxFont->isChecked();
    codePageNumber = cbxCodePage->currentData().toInt();
}

void PreferencesDialog::SetSearchFolders(const QStringList& folders) {
    lbFolders->clear();
    lbFolders->addItems(folders);
}

QStringList PreferencesDialog::SearchFolders() const {
    QStringList folders;
    for (int i = 0; i < lbFolders->count(); ++i)
        folders << lbFolders->item(i)->text();
    return folders;
}

void PreferencesDialog::cmAddFolder() {
    const QString folder = messages_.AskFolder(QStringLiteral("Add Search Folder"));
    if (folder.isEmpty()) return;
    // Paths are compared as they are: this system's file names are case-sensitive.
    const QString clean = QDir::cleanPath(folder);
    for (int i = 0; i < lbFolders->count(); ++i) {
        if (QDir::cleanPath(lbFolders->item(i)->text()) == clean) {
            lbFolders->setCurrentRow(i);
            return;
        }
    }
    lbFolders->addItem(clean);
    lbFolders->setCurrentRow(lbFolders->count() - 1);
}

void PreferencesDialog::cmDelFolder() {
    const int row = lbFolders->currentRow();
    if (row < 0 || lbFolders->currentItem() == nullptr || !lbFolders->currentItem()->isSelected()) return;
    delete lbFolders->takeItem(row);
}

bool PreferencesDialog::IsProgramPath(const QString& path) const {
    // Paths are compared as they are: this system's file names are case-sensitive.
    return !path.isEmpty() && QDir::cleanPath(path) == QDir::cleanPath(programPath_);
}

void PreferencesDialog::ApplyAssociations() {
    for (int i = 0; i < RFTList->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* row = RFTList->topLevelItem(i);
        const QString extension = u'.' + row->text(0);
        const bool checked = row->checkState(0) == Qt::Checked;
        try {
            const bool ours = IsProgramPath(GetAssociatedExe(extension));
            if (checked && !ours)
                RegisterFileType(extension, kAssociationName, row->text(1), programPath_, kProgramIcon);
            else if (!checked && ours)
                UnregisterFileType(extension);
        } catch (const std::exception& error) {
            // One file type that cannot be written keeps neither the others nor the
            // rest of "OK" from being done.
            messages_.Error(QString::fromStdString(error.what()));
        }
    }
}

void PreferencesDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void PreferencesDialog::FormShow() {
    for (int i = 0; i < RFTList->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = RFTList->topLevelItem(i);
        row->setCheckState(
            0, IsProgramPath(GetAssociatedExe(u'.' + row->text(0))) ? Qt::Checked : Qt::Unchecked);
    }
    RefreshPackageList();
}

QString PreferencesDialog::FromCodePage(const std::string& bytes) const {
    return QString::fromStdU16String(codePage_.Decode(bytes));
}

int PreferencesDialog::RowImage(const QTreeWidgetItem* row) {
    return row->data(0, kImageRole).toInt();
}

void PreferencesDialog::RefreshPackageList() {
    const QSignalBlocker blocker(BPLList);
    BPLList->setUpdatesEnabled(false);
    BPLList->clear();
    for (const std::string& path : packages_.PackageFiles()) {
        const QString fullPath = QString::fromStdString(path);
        QString caption;
        if (QFileInfo(fullPath).isFile()) {
            try {
                caption = FromCodePage(pe::ReadPackageDescription(path, codePage_));
            } catch (const std::exception&) {
                // A file that cannot be read is listed by its name.
            }
        }
        if (caption.isEmpty()) caption = QFileInfo(fullPath).fileName();
        const int image = packages_.Loader().FindLoaded(path) != 0 ? 1 : 0;
        auto* row = new QTreeWidgetItem(BPLList, {caption, fullPath});
        row->setIcon(0, PackageImage(image));
        row->setData(0, kImageRole, image);
    }
    BPLList->setUpdatesEnabled(true);
}

void PreferencesDialog::cmAdd() {
    const QString path = messages_.AskOpenModuleFile(
        {QStringLiteral("Delphi packages (*.bpl)"), QStringLiteral("All files (*)")});
    if (path.isEmpty()) return;
    const std::string file = path.toStdString();
    const auto& listed = packages_.PackageFiles();
    const bool known = std::any_of(listed.begin(), listed.end(), [&](const std::string& entry) {
        return EqualsIgnoringCase(entry, file);
    });
    if (!known) {
        // The package is loaded afresh, not from an image the reader may still hold.
        pe_->Clear();
        const int added = packages_.AddPackage(file).value_or(0);
        // A package that failed says why at once, rather than only that it registered
        // nothing.
        if (const auto error = PackageError(packages_.PackageErrors(), file))
            messages_.Warning(QStringLiteral("%1 could not be loaded:\n\n%2")
                                  .arg(QFileInfo(path).fileName(), ErrorText(*error)));
        else if (added > 0)
            messages_.Information(
                QStringLiteral("%1: %2 new classes registered.").arg(QFileInfo(path).fileName()).arg(added));
        else
            messages_.Warning(QStringLiteral("No new class registered."));
    }
    RefreshPackageList();
}

void PreferencesDialog::cmDel() {
    const QList<QTreeWidgetItem*> selected = BPLList->selectedItems();
    if (!selected.isEmpty() && messages_.Confirm(QStringLiteral("Remove selected package?"))) {
        packages_.RemovePackage(BPLList->indexOfTopLevelItem(selected.first()));
        RefreshPackageList();
    }
    Memo->clear();
}

void PreferencesDialog::ShowInMemo(const QString& text) {
    // An error is prose, wrapped to the memo's width (long paths anywhere); the report
    // pages are lists and keep their lines.
    Memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    Memo->setPlainText(text);
    Memo->moveCursor(QTextCursor::Start);
}

void PreferencesDialog::BPLListSelectItem() {
    Memo->clear();
    const QList<QTreeWidgetItem*> selected = BPLList->selectedItems();
    if (selected.isEmpty()) return;
    const std::string path = selected.first()->text(1).toStdString();
    if (const auto error = PackageError(packages_.PackageErrors(), path)) {
        ShowInMemo(ErrorText(*error));
        return;
    }
    pe_->Open(path);
    tsClick();
}

void PreferencesDialog::tsClick() {
    // The report is of the selected package; a package that failed shows its error
    // instead, and without a selection there is nothing to report on.
    const QList<QTreeWidgetItem*> selected = BPLList->selectedItems();
    if (selected.isEmpty()) {
        Memo->clear();
        return;
    }
    if (PackageError(packages_.PackageErrors(), selected.first()->text(1).toStdString())) {
        BPLListSelectItem();
        return;
    }
    const int tab = ts->currentIndex();
    if (tab < 0 || tab >= static_cast<int>(kReportPages.size())) return;
    std::vector<std::string> lines;
    pe::BuildPackageReport(kReportPages[static_cast<std::size_t>(tab)], pe_->ReportInputs(), lines);
    QStringList text;
    for (const std::string& line : lines)
        text << FromCodePage(line);
    Memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo->setPlainText(text.join(u'\n'));
    Memo->moveCursor(QTextCursor::Start);
}

void PreferencesDialog::pcChange() {
    if (pc->currentWidget() == TabSheet3) FillClassList();
}

void PreferencesDialog::FillClassList() {
    const QSignalBlocker blocker(Box);
    Box->clear();
    int count = 0;
    for (const rt::Class* cls : registry_.RegisteredClasses()) {
        Box->addItem(QString::fromUtf8(cls->Name().data(), static_cast<qsizetype>(cls->Name().size())));
        ++count;
    }
    lCCount->setText(QStringLiteral("Count: %1").arg(count));
}

void PreferencesDialog::BoxClick() {
    Tree->setUpdatesEnabled(false);
    Tree->clear();
    const QList<QListWidgetItem*> selected = Box->selectedItems();
    const rt::Class* cls =
        selected.isEmpty() ? nullptr : registry_.FindClassByName(selected.first()->text().toStdString());
    if (cls != nullptr) {
        QTreeWidgetItem* parent = nullptr;
        for (const rt::Class* c = cls; c != nullptr; c = c->Parent()) {
            const QString name =
                QString::fromUtf8(c->Name().data(), static_cast<qsizetype>(c->Name().size()));
            parent = parent ? new QTreeWidgetItem(parent, {name}) : new QTreeWidgetItem(Tree, {name});
        }
        lUnit->setText(
            QStringLiteral("Declared in %1.pas and has %2 properties.")
                .arg(QString::fromUtf8(cls->Unit().data(), static_cast<qsizetype>(cls->Unit().size())))
                .arg(cls->Properties().size()));
    }
    Tree->expandAll();
    Tree->setUpdatesEnabled(true);
}

}  // namespace fw
