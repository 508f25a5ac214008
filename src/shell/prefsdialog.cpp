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
    pages_->setCurrentWidget(generalPage_);
}

PreferencesDialog::~PreferencesDialog() {
    // FormClose: no selection handler may run on the half-destroyed dialog.
    packageList_->disconnect(this);
    classBox_->disconnect(this);
    pages_->disconnect(this);
    reportTabs_->disconnect(this);
    pe_.reset();
}

void PreferencesDialog::BuildWidgets() {
    auto* layout = new QVBoxLayout(this);
    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("pc"));
    layout->addWidget(pages_, 1);

    // " General ".
    generalPage_ = new QWidget;
    generalPage_->setObjectName(QStringLiteral("TabSheet1"));
    auto* general = new QVBoxLayout(generalPage_);
    general->addWidget(new QLabel(QStringLiteral("Registered file types:"), generalPage_));
    fileTypeList_ = new QTreeWidget(generalPage_);
    fileTypeList_->setObjectName(QStringLiteral("RFTList"));
    fileTypeList_->setHeaderLabels({QStringLiteral("File Type"), QStringLiteral("Description")});
    fileTypeList_->setRootIsDecorated(false);
    fileTypeList_->setSelectionBehavior(QAbstractItemView::SelectRows);
    fileTypeList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    fileTypeList_->header()->setStretchLastSection(true);
    auto* dfm =
        new QTreeWidgetItem(fileTypeList_, {QStringLiteral("dfm"), QStringLiteral("Delphi form file")});
    dfm->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    dfm->setCheckState(0, Qt::Unchecked);
    general->addWidget(fileTypeList_, 1);

    auto* interfaceGroup = new QGroupBox(QStringLiteral(" Interface "), generalPage_);
    auto* options = new QVBoxLayout(interfaceGroup);
    auto addBox = [&](QCheckBox*& box, const char* name, const char* caption) {
        box = new QCheckBox(QString::fromLatin1(caption), interfaceGroup);
        box->setObjectName(QString::fromLatin1(name));
        options->addWidget(box);
    };
    addBox(showTypeColBox_, "cbxShowTypeCol", "Display [Type] column in Object Inspector");
    addBox(showCNColBox_, "cbxShowCNCol", "Display [Classname] column in Object Tree");
    addBox(hierarchyTreeBox_, "cbxHTree", "Show Hierarchy Tree");
    addBox(smallFontBox_, "cbxFont", "Smaller font in Editor");
    general->addWidget(interfaceGroup);

    auto* codePageRow = new QHBoxLayout;
    auto* codePageLabel = new QLabel(QStringLiteral("Code page of form text:"), generalPage_);
    codePageBox_ = new QComboBox(generalPage_);
    codePageBox_->setObjectName(QStringLiteral("cbxCodePage"));
    for (const CodePageChoice& choice : kCodePages) {
        codePageBox_->addItem(
            QStringLiteral("Windows-%1 (%2)").arg(choice.Number).arg(QString::fromLatin1(choice.Script)),
            choice.Number);
    }
    codePageLabel->setBuddy(codePageBox_);
    codePageRow->addWidget(codePageLabel);
    codePageRow->addWidget(codePageBox_, 1);
    general->addLayout(codePageRow);
    pages_->addTab(generalPage_, QStringLiteral(" General "));

    // " Packages ".
    packagesPage_ = new QWidget;
    packagesPage_->setObjectName(QStringLiteral("TabSheet2"));
    auto* packagesLayout = new QVBoxLayout(packagesPage_);
    packageList_ = new QTreeWidget(packagesPage_);
    packageList_->setObjectName(QStringLiteral("BPLList"));
    packageList_->setHeaderLabels({QStringLiteral("Package"), QStringLiteral("Path")});
    packageList_->setRootIsDecorated(false);
    packageList_->setSelectionBehavior(QAbstractItemView::SelectRows);
    packageList_->setSelectionMode(QAbstractItemView::SingleSelection);
    packageList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    packageList_->setColumnWidth(0, 180);
    packagesLayout->addWidget(packageList_, 1);
    auto* buttons = new QHBoxLayout;
    addButton_ = new QPushButton(QStringLiteral("Add..."), packagesPage_);
    addButton_->setObjectName(QStringLiteral("btnAdd"));
    addButton_->setAutoDefault(false);
    removeButton_ = new QPushButton(QStringLiteral("Remove"), packagesPage_);
    removeButton_->setObjectName(QStringLiteral("btnDel"));
    removeButton_->setAutoDefault(false);
    buttons->addWidget(addButton_);
    buttons->addWidget(removeButton_);
    buttons->addStretch(1);
    packagesLayout->addLayout(buttons);
    reportMemo_ = new QPlainTextEdit(packagesPage_);
    reportMemo_->setObjectName(QStringLiteral("Memo"));
    reportMemo_->setReadOnly(true);
    reportMemo_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    reportMemo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    reportMemo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    packagesLayout->addWidget(reportMemo_, 1);
    reportTabs_ = new QTabBar(packagesPage_);
    reportTabs_->setObjectName(QStringLiteral("ts"));
    reportTabs_->setShape(QTabBar::RoundedSouth);
    reportTabs_->setDrawBase(false);
    for (const pe::ReportPage page : kReportPages)
        reportTabs_->addTab(QString::fromLatin1(pe::ReportPageName(page)));
    packagesLayout->addWidget(reportTabs_);
    pages_->addTab(packagesPage_, QStringLiteral(" Packages "));

    // " Registered Classes ".
    classesPage_ = new QWidget;
    classesPage_->setObjectName(QStringLiteral("TabSheet3"));
    auto* classes = new QGridLayout(classesPage_);
    classBox_ = new QListWidget(classesPage_);
    classBox_->setObjectName(QStringLiteral("Box"));
    classBox_->setSortingEnabled(true);
    classBox_->setSelectionMode(QAbstractItemView::SingleSelection);
    ancestryTree_ = new QTreeWidget(classesPage_);
    ancestryTree_->setObjectName(QStringLiteral("Tree"));
    ancestryTree_->setHeaderHidden(true);
    ancestryTree_->setRootIsDecorated(false);
    ancestryTree_->setItemsExpandable(false);
    ancestryTree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    countLabel_ = new QLabel(QStringLiteral("Count: 0"), classesPage_);
    countLabel_->setObjectName(QStringLiteral("lCCount"));
    unitLabel_ = new QLabel(classesPage_);
    unitLabel_->setObjectName(QStringLiteral("lUnit"));
    classes->addWidget(classBox_, 0, 0);
    classes->addWidget(ancestryTree_, 0, 1);
    classes->addWidget(countLabel_, 1, 0);
    classes->addWidget(unitLabel_, 1, 1);
    classes->setColumnStretch(0, 1);
    classes->setColumnStretch(1, 1);
    pages_->addTab(classesPage_, QStringLiteral(" Registered Classes "));

    // " Search Folders ".
    foldersPage_ = new QWidget;
    foldersPage_->setObjectName(QStringLiteral("TabSheet4"));
    auto* foldersLayout = new QVBoxLayout(foldersPage_);
    auto* foldersLabel = new QLabel(
        QStringLiteral(
            "Ancestor forms and frames are looked for in the form's folder and its parents up to the "
            "project's, then in these folders, in this order:"),
        foldersPage_);
    foldersLabel->setWordWrap(true);
    foldersLayout->addWidget(foldersLabel);
    folderList_ = new QListWidget(foldersPage_);
    folderList_->setObjectName(QStringLiteral("lbFolders"));
    folderList_->setSelectionMode(QAbstractItemView::SingleSelection);
    foldersLabel->setBuddy(folderList_);
    foldersLayout->addWidget(folderList_, 1);
    auto* folderButtons = new QHBoxLayout;
    addFolderButton_ = new QPushButton(QStringLiteral("Add..."), foldersPage_);
    addFolderButton_->setObjectName(QStringLiteral("btnAddFolder"));
    addFolderButton_->setAutoDefault(false);
    removeFolderButton_ = new QPushButton(QStringLiteral("Remove"), foldersPage_);
    removeFolderButton_->setObjectName(QStringLiteral("btnDelFolder"));
    removeFolderButton_->setAutoDefault(false);
    folderButtons->addWidget(addFolderButton_);
    folderButtons->addWidget(removeFolderButton_);
    folderButtons->addStretch(1);
    foldersLayout->addLayout(folderButtons);
    pages_->addTab(foldersPage_, QStringLiteral(" Search Folders "));

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("btnOK"));
    okButton_->setDefault(true);
    cancelButton_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton_->setObjectName(QStringLiteral("btnCancel"));
    cancelButton_->setAutoDefault(false);
    bottom->addWidget(okButton_);
    bottom->addWidget(cancelButton_);
    layout->addLayout(bottom);

    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(addButton_, &QPushButton::clicked, this, &PreferencesDialog::cmAdd);
    connect(removeButton_, &QPushButton::clicked, this, &PreferencesDialog::cmDel);
    connect(addFolderButton_, &QPushButton::clicked, this, &PreferencesDialog::cmAddFolder);
    connect(removeFolderButton_, &QPushButton::clicked, this, &PreferencesDialog::cmDelFolder);
    connect(packageList_, &QTreeWidget::itemSelectionChanged, this, &PreferencesDialog::BPLListSelectItem);
    connect(reportTabs_, &QTabBar::currentChanged, this, &PreferencesDialog::tsClick);
    connect(pages_, &QTabWidget::currentChanged, this, &PreferencesDialog::pcChange);
    connect(classBox_, &QListWidget::itemSelectionChanged, this, &PreferencesDialog::BoxClick);
}

bool PreferencesDialog::ExecutePreferences(QWidget* owner, UserMessages& messages,
                                           pkg::DesignPackages& packages, rt::ClassRegistry& registry,
                                           const PreferencesSettings& settings, const QString& programPath) {
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
    showTypeColBox_->setChecked(options.ShowTypeCol);
    showCNColBox_->setChecked(options.ShowCNCol);
    hierarchyTreeBox_->setChecked(options.ShowHTree);
    smallFontBox_->setChecked(options.SmallFont);
    int index = codePageBox_->findData(codePageNumber);
    if (index < 0) index = codePageBox_->findData(CodePage::Default().Number());
    codePageBox_->setCurrentIndex(index);
}

void PreferencesDialog::GetOptions(InterfaceOptions& options, int& codePageNumber) const {
    options.ShowTypeCol = showTypeColBox_->isChecked();
    options.ShowCNCol = showCNColBox_->isChecked();
    options.ShowHTree = hierarchyTreeBox_->isChecked();
    options.SmallFont = smallFontBox_->isChecked();
    codePageNumber = codePageBox_->currentData().toInt();
}

void PreferencesDialog::SetSearchFolders(const QStringList& folders) {
    folderList_->clear();
    folderList_->addItems(folders);
}

QStringList PreferencesDialog::SearchFolders() const {
    QStringList folders;
    for (int i = 0; i < folderList_->count(); ++i)
        folders << folderList_->item(i)->text();
    return folders;
}

void PreferencesDialog::cmAddFolder() {
    const QString folder = messages_.AskFolder(QStringLiteral("Add Search Folder"));
    if (folder.isEmpty()) return;
    // Paths are compared as they are: this system's file names are case-sensitive.
    const QString clean = QDir::cleanPath(folder);
    for (int i = 0; i < folderList_->count(); ++i) {
        if (QDir::cleanPath(folderList_->item(i)->text()) == clean) {
            folderList_->setCurrentRow(i);
            return;
        }
    }
    folderList_->addItem(clean);
    folderList_->setCurrentRow(folderList_->count() - 1);
}

void PreferencesDialog::cmDelFolder() {
    const int row = folderList_->currentRow();
    if (row < 0 || folderList_->currentItem() == nullptr || !folderList_->currentItem()->isSelected()) return;
    delete folderList_->takeItem(row);
}

bool PreferencesDialog::IsProgramPath(const QString& path) const {
    // Paths are compared as they are: this system's file names are case-sensitive.
    return !path.isEmpty() && QDir::cleanPath(path) == QDir::cleanPath(programPath_);
}

void PreferencesDialog::ApplyAssociations() {
    for (int i = 0; i < fileTypeList_->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* row = fileTypeList_->topLevelItem(i);
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
    for (int i = 0; i < fileTypeList_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = fileTypeList_->topLevelItem(i);
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
    const QSignalBlocker blocker(packageList_);
    packageList_->setUpdatesEnabled(false);
    packageList_->clear();
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
        auto* row = new QTreeWidgetItem(packageList_, {caption, fullPath});
        row->setIcon(0, PackageImage(image));
        row->setData(0, kImageRole, image);
    }
    packageList_->setUpdatesEnabled(true);
}

void PreferencesDialog::cmAdd() {
    const QString path = messages_.AskOpenModuleFile(
        {QStringLiteral("Delphi packages (*.bpl)"), QStringLiteral("All files (*)")});
    if (path.isEmpty()) return;
    const std::string file = path.toStdString();
    const auto& listed = packages_.PackageFiles();
    const bool known = std::any_of(listed.begin(), listed.end(),
                                   [&](const std::string& entry) { return EqualsIgnoringCase(entry, file); });
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
    const QList<QTreeWidgetItem*> selected = packageList_->selectedItems();
    if (!selected.isEmpty() && messages_.Confirm(QStringLiteral("Remove selected package?"))) {
        packages_.RemovePackage(packageList_->indexOfTopLevelItem(selected.first()));
        RefreshPackageList();
    }
    reportMemo_->clear();
}

void PreferencesDialog::ShowInMemo(const QString& text) {
    // An error is prose, wrapped to the memo's width (long paths anywhere); the report
    // pages are lists and keep their lines.
    reportMemo_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    reportMemo_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    reportMemo_->setPlainText(text);
    reportMemo_->moveCursor(QTextCursor::Start);
}

void PreferencesDialog::BPLListSelectItem() {
    reportMemo_->clear();
    const QList<QTreeWidgetItem*> selected = packageList_->selectedItems();
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
    const QList<QTreeWidgetItem*> selected = packageList_->selectedItems();
    if (selected.isEmpty()) {
        reportMemo_->clear();
        return;
    }
    if (PackageError(packages_.PackageErrors(), selected.first()->text(1).toStdString())) {
        BPLListSelectItem();
        return;
    }
    const int tab = reportTabs_->currentIndex();
    if (tab < 0 || tab >= static_cast<int>(kReportPages.size())) return;
    std::vector<std::string> lines;
    pe::BuildPackageReport(kReportPages[static_cast<std::size_t>(tab)], pe_->ReportInputs(), lines);
    QStringList text;
    for (const std::string& line : lines)
        text << FromCodePage(line);
    reportMemo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    reportMemo_->setPlainText(text.join(u'\n'));
    reportMemo_->moveCursor(QTextCursor::Start);
}

void PreferencesDialog::pcChange() {
    if (pages_->currentWidget() == classesPage_) FillClassList();
}

void PreferencesDialog::FillClassList() {
    const QSignalBlocker blocker(classBox_);
    classBox_->clear();
    int count = 0;
    for (const rt::Class* cls : registry_.RegisteredClasses()) {
        classBox_->addItem(QString::fromUtf8(cls->Name().data(), static_cast<qsizetype>(cls->Name().size())));
        ++count;
    }
    countLabel_->setText(QStringLiteral("Count: %1").arg(count));
}

void PreferencesDialog::BoxClick() {
    ancestryTree_->setUpdatesEnabled(false);
    ancestryTree_->clear();
    const QList<QListWidgetItem*> selected = classBox_->selectedItems();
    const rt::Class* cls =
        selected.isEmpty() ? nullptr : registry_.FindClassByName(selected.first()->text().toStdString());
    if (cls != nullptr) {
        QTreeWidgetItem* parent = nullptr;
        for (const rt::Class* c = cls; c != nullptr; c = c->Parent()) {
            const QString name =
                QString::fromUtf8(c->Name().data(), static_cast<qsizetype>(c->Name().size()));
            parent =
                parent ? new QTreeWidgetItem(parent, {name}) : new QTreeWidgetItem(ancestryTree_, {name});
        }
        unitLabel_->setText(
            QStringLiteral("Declared in %1.pas and has %2 properties.")
                .arg(QString::fromUtf8(cls->Unit().data(), static_cast<qsizetype>(cls->Unit().size())))
                .arg(cls->Properties().size()));
    }
    ancestryTree_->expandAll();
    ancestryTree_->setUpdatesEnabled(true);
}

}  // namespace fw
