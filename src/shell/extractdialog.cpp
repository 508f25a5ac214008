#include "shell/extractdialog.h"

#include <Qsci/qsciscintilla.h>

#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <exception>

#include "base/asciitext.h"
#include "codec/formformat.h"
#include "document/formlexer.h"
#include "document/formtext.h"
#include "document/usermessages.h"
#include "peimage/packageinfo.h"
#include "peimage/pefile.h"

namespace fw {

namespace {

// The report pages in the order of the tabs under the memo.
constexpr std::array<pe::ReportPage, 4> kReportPages = {pe::ReportPage::Header, pe::ReportPage::Classes,
                                                        pe::ReportPage::Forms, pe::ReportPage::Flags};

// A form resource: RCDATA whose bytes begin with the binary form signature, the test
// the reader's form list applies.
bool IsFormResource(const pe::ResourceItem& item) {
    return item.ResType == pe::ResourceTypeRcData && item.Data.size() >= FormSignature.size() &&
           std::equal(FormSignature.begin(), FormSignature.end(), item.Data.begin());
}

// True when the text holds something besides blanks and control characters.
bool HasVisibleText(const std::string& text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) > ' '; });
}

// Tab captions treat "&" as a mnemonic marker; a description shows it as it is.
QString TabText(QString text) {
    return text.replace(u'&', QStringLiteral("&&"));
}

}  // namespace

QStringList ExecutableFileFilters() {
    return {
        QStringLiteral("Supported files (*.exe *.dll *.ocx *.bpl *.dpl *.cpl)"),
        QStringLiteral("Executables (*.exe)"),
        QStringLiteral("DLLs (*.dll)"),
        QStringLiteral("ActiveX (*.ocx)"),
        QStringLiteral("Borland packages (*.bpl *.dpl)"),
        QStringLiteral("Control panel applets (*.cpl)"),
        // Any name: on this system a file need not have an extension.
        QStringLiteral("All files (*)"),
    };
}

QStringList PackageFileFilters() {
    return {QStringLiteral("Packages (*.bpl *.dpl)"), QStringLiteral("All files (*)")};
}

ExtractDialog::ExtractDialog(UserMessages& messages, ExtractedFormLoader loader, QWidget* parent,
                             const CodePage& codePage)
    : QDialog(parent), messages_(messages), loader_(std::move(loader)), codePage_(codePage) {
    setObjectName(QStringLiteral("dlg_dfm_Extract"));
    setWindowTitle(QStringLiteral("Form Resources"));
    BuildWidgets();
    // A dialog with a parent is centred on it when shown. The owner's settings storage
    // restores a remembered position and size over this default.
    resize(515, 325);
    FormCreate();
}

ExtractDialog::~ExtractDialog() {
    FormDestroy();
}

void ExtractDialog::BuildWidgets() {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);

    // Behind everything: what shows when the file holds no form.
    emptyLabel_ = new QLabel(QStringLiteral("No form resources found"), this);
    emptyLabel_->setObjectName(QStringLiteral("lEmpty"));
    emptyLabel_->setAlignment(Qt::AlignCenter);
    grid->addWidget(emptyLabel_, 0, 0, 2, 1);

    panel_ = new QWidget(this);
    panel_->setObjectName(QStringLiteral("Panel"));
    panel_->setAutoFillBackground(true);
    auto* panelLayout = new QVBoxLayout(panel_);
    panelLayout->setContentsMargins(4, 4, 4, 0);
    pages_ = new QTabWidget(panel_);
    pages_->setObjectName(QStringLiteral("pc"));
    panelLayout->addWidget(pages_);

    resourcesPage_ = new QWidget;
    resourcesPage_->setObjectName(QStringLiteral("TabSheet1"));
    auto* resourcesLayout = new QVBoxLayout(resourcesPage_);
    resourcesLayout->setContentsMargins(2, 2, 2, 2);
    splitter_ = new QSplitter(Qt::Horizontal, resourcesPage_);
    splitter_->setObjectName(QStringLiteral("Splitter"));
    splitter_->setChildrenCollapsible(false);
    formList_ = new QListWidget(splitter_);
    formList_->setObjectName(QStringLiteral("Box"));
    formList_->setSelectionMode(QAbstractItemView::SingleSelection);
    formList_->setSortingEnabled(false);
    formText_ = new QsciScintilla(splitter_);
    formText_->setObjectName(QStringLiteral("DFM"));
    formText_->setUtf8(true);
    auto* lexer = new FormLexer(formText_);
    formText_->setLexer(lexer);
    // No gutter: neither line numbers nor symbols nor folding.
    for (int margin = 0; margin < 3; ++margin)
        formText_->setMarginWidth(margin, 0);
    formText_->setReadOnly(true);
    splitter_->addWidget(formList_);
    splitter_->addWidget(formText_);
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({150, 340});
    resourcesLayout->addWidget(splitter_);
    pages_->addTab(resourcesPage_, QStringLiteral(" Resources "));

    infoPage_ = new QWidget;
    infoPage_->setObjectName(QStringLiteral("TabSheet2"));
    auto* infoLayout = new QVBoxLayout(infoPage_);
    infoLayout->setContentsMargins(2, 2, 2, 2);
    infoLayout->setSpacing(0);
    memo_ = new QPlainTextEdit(infoPage_);
    memo_->setObjectName(QStringLiteral("Memo"));
    memo_->setReadOnly(true);
    memo_->setFont(lexer->defaultFont());
    memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    reportTabs_ = new QTabBar(infoPage_);
    reportTabs_->setObjectName(QStringLiteral("ts"));
    reportTabs_->setShape(QTabBar::RoundedSouth);
    reportTabs_->setDrawBase(false);
    for (const pe::ReportPage page : kReportPages)
        reportTabs_->addTab(QString::fromLatin1(pe::ReportPageName(page)));
    reportTabs_->setCurrentIndex(0);
    infoLayout->addWidget(memo_, 1);
    infoLayout->addWidget(reportTabs_, 0, Qt::AlignLeft);
    pages_->addTab(infoPage_, QStringLiteral(" Info "));
    grid->addWidget(panel_, 0, 0);

    auto* strip = new QWidget(this);
    strip->setObjectName(QStringLiteral("ButtonStrip"));
    auto* stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(6, 8, 6, 8);
    openButton_ = new QPushButton(QStringLiteral("Open..."), strip);
    openButton_->setObjectName(QStringLiteral("bOpen"));
    openButton_->setAutoDefault(false);
    loadButton_ = new QPushButton(QStringLiteral("Load"), strip);
    loadButton_->setObjectName(QStringLiteral("bOK"));
    loadButton_->setDefault(true);
    loadButton_->setEnabled(false);
    closeButton_ = new QPushButton(QStringLiteral("Close"), strip);
    closeButton_->setObjectName(QStringLiteral("Button1"));
    closeButton_->setAutoDefault(false);
    stripLayout->addWidget(openButton_);
    stripLayout->addStretch(1);
    stripLayout->addWidget(loadButton_);
    stripLayout->addWidget(closeButton_);
    grid->addWidget(strip, 1, 0);
    grid->setRowStretch(0, 1);
    emptyLabel_->lower();

    connect(openButton_, &QPushButton::clicked, this, &ExtractDialog::bOpenClick);
    connect(loadButton_, &QPushButton::clicked, this, &ExtractDialog::BoxDblClick);
    connect(closeButton_, &QPushButton::clicked, this, &QDialog::reject);
    // A selection by mouse or keys; a focus that only marks an item does not count.
    connect(formList_, &QListWidget::itemSelectionChanged, this, &ExtractDialog::BoxClick);
    connect(formList_, &QListWidget::itemDoubleClicked, this, &ExtractDialog::BoxDblClick);
    connect(reportTabs_, &QTabBar::currentChanged, this, &ExtractDialog::tsClick);
}

void ExtractDialog::FormCreate() {
    pages_->setCurrentWidget(resourcesPage_);
    pe_ = std::make_unique<pe::PeFile>(codePage_);
}

void ExtractDialog::FormDestroy() {
    pe_.reset();
}

void ExtractDialog::ShowExtractDialog(QWidget* owner, UserMessages& messages,
                                      const ExtractedFormLoader& loader, const QString& path,
                                      bool packageMode, const CodePage& codePage) {
    ExtractDialog dialog(messages, loader, owner, codePage);
    dialog.SetPackageMode(packageMode);
    dialog.OpenFile(path);
    dialog.exec();
}

QString ExtractDialog::FromCodePage(const std::string& bytes) const {
    return QString::fromStdU16String(codePage_.Decode(bytes));
}

void ExtractDialog::OpenFile(const QString& path) {
    {
        // Emptying the list is no selection by the user.
        const QSignalBlocker blocker(formList_);
        formList_->clear();
    }
    try {
        pe_->Open(QFile::encodeName(path).toStdString());
    } catch (const std::exception&) {
        return;
    }

    if (HasVisibleText(pe_->Description()))
        pages_->setTabText(pages_->indexOf(infoPage_), TabText(FromCodePage(pe_->Description())));
    {
        const QSignalBlocker blocker(formList_);
        for (const std::string& name : pe_->FormNames())
            formList_->addItem(FromCodePage(name));
    }
    tsClick();

    pages_->setTabVisible(pages_->indexOf(resourcesPage_), !packageMode_);
    if (packageMode_) pages_->setCurrentWidget(infoPage_);
    panel_->setVisible(formList_->count() > 0 || packageMode_);
    loadButton_->setVisible(!packageMode_);
    // The keys go to the list of forms first: arrows or typing a name pick one, Enter
    // loads it.
    if (!packageMode_ && formList_->count() > 0) formList_->setFocus();

    const QString fileName =
        QFileInfo(QFile::decodeName(QByteArray::fromStdString(pe_->ImagePath()))).fileName();
    setWindowTitle((packageMode_ ? QStringLiteral("Package Information - [%1]")
                                 : QStringLiteral("Form Resources - [%1]"))
                       .arg(fileName));
}

void ExtractDialog::bOpenClick() {
    const QString path = messages_.AskOpenModuleFile(ExecutableFileFilters());
    if (!path.isEmpty()) OpenFile(path);
}

void ExtractDialog::tsClick() {
    const int tab = reportTabs_->currentIndex();
    if (tab < 0 || tab >= static_cast<int>(kReportPages.size())) return;
    std::vector<std::string> lines;
    pe::BuildPackageReport(kReportPages[static_cast<std::size_t>(tab)], pe_->ReportInputs(), lines);

    QStringList text;
    for (const std::string& line : lines)
        text << FromCodePage(line);
    memo_->setPlainText(text.join(u'\n'));
    memo_->moveCursor(QTextCursor::Start);
}

int ExtractDialog::SelectedRow() const {
    const QList<QListWidgetItem*> selected = formList_->selectedItems();
    return selected.isEmpty() ? -1 : formList_->row(selected.first());
}

const pe::ResourceItem& ExtractDialog::FormResource(int row) const {
    // The first form resource of that name. Looking the name up among all resources
    // would find a bitmap or any other resource of a lower type that shares the form's
    // name, and preview its bytes as an empty form.
    const std::string& name = pe_->FormNames().at(static_cast<std::size_t>(row));
    for (const pe::ResourceItem& item : pe_->Resources()) {
        if (IsFormResource(item) && EqualsIgnoringCase(item.Name, name)) return item;
    }
    throw pe::EPEException("Cannot retrieve resource by name \"" + name + "\"");
}

void ExtractDialog::SetPreview(std::string text) {
    previewText_ = std::move(text);
    formText_->setText(QString::fromStdString(EditorTextFromBytes(previewText_, codePage_)));
}

void ExtractDialog::BoxClick() {
    previewConverted_ = false;
    loadButton_->setEnabled(false);
    const int row = SelectedRow();
    if (row < 0) return;
    const bool converted = RunGuarded(messages_, [this, row] {
        std::string text;
        try {
            text = pe::ResourceToFormText(FormResource(row), codePage_);
        } catch (...) {
            SetPreview({});
            throw;
        }
        SetPreview(std::move(text));
    });
    if (!converted) return;
    previewConverted_ = true;
    loadButton_->setEnabled(true);
}

void ExtractDialog::BoxDblClick() {
    const int row = SelectedRow();
    if (row < 0) return;
    // Only a preview that converted is loaded: a form whose conversion failed would
    // otherwise open as an empty document, as if it had been extracted.
    if (!previewConverted_) return;
    const QByteArray text(previewText_.data(), static_cast<qsizetype>(previewText_.size()));
    const QString caption = FromCodePage(pe_->FormNames().at(static_cast<std::size_t>(row)));
    RunGuarded(messages_, [&] { loader_(caption, text); });
}

}  // namespace fw
