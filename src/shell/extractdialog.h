#pragma once
// ExtractDialog: the form resources of one PE file (an executable, DLL, ActiveX
// control, control-panel applet or package). It lists them, shows a chosen one as form
// text and opens it as a new, unnamed document. In package mode it shows only the
// file's package report. The file is read by PeFile; nothing in it is run.

#include <QByteArray>
#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/codepage.h"

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QTabBar;
class QTabWidget;
class QsciScintilla;

namespace fw {

namespace pe {
class PeFile;
struct ResourceItem;
}  // namespace pe

class UserMessages;

// Opens a new, unnamed document captioned `caption` and filled with `text` (form text
// as a file would hold it, in the dialog's code page).
using ExtractedFormLoader = std::function<void(const QString& caption, const QByteArray& text)>;

// The open dialog's name filters for executables, in the order offered: "Supported
// files" first, then each kind on its own, "All files" last.
QStringList ExecutableFileFilters();
// The open dialog's name filters for packages: "Packages", then "All files".
QStringList PackageFileFilters();

class ExtractDialog : public QDialog {
    Q_OBJECT
public:
    // `messages` shows the preview's errors and asks for the file of "Open..."; `loader`
    // opens the documents that "Load" makes. Both must outlive the dialog. Names and
    // form text are read and written in `codePage`, which must outlive the dialog too.
    ExtractDialog(UserMessages& messages, ExtractedFormLoader loader, QWidget* parent = nullptr,
                  const CodePage& codePage = CodePage::Default());
    ~ExtractDialog() override;

    // Makes the dialog owned by `owner`, sets its mode, opens the file, shows the dialog
    // modally and destroys it when it closes. Texts are read in `codePage`.
    static void ShowExtractDialog(QWidget* owner, UserMessages& messages, const ExtractedFormLoader& loader,
                                  const QString& path, bool packageMode,
                                  const CodePage& codePage = CodePage::Default());

    // Package mode shows the package report only: no "Resources" page and no "Load".
    // Set before the first OpenFile.
    bool PackageMode() const { return packageMode_; }
    void SetPackageMode(bool packageMode) { packageMode_ = packageMode; }

    // Reads the file and shows what it holds: the form names in the list, the report of
    // the selected report page, the description as the "Info" page's caption (the
    // previous one stays when the file has none), the caption with the file name. A file
    // without form resources shows "No form resources found" in resource mode. The
    // preview and "Load" keep their state until the next selection.
    void OpenFile(const QString& path);

    // The reader holding the file last opened.
    const pe::PeFile& Reader() const { return *pe_; }

    // The controls, for whoever drives the dialog without a mouse.
    QLabel* EmptyLabel() const { return emptyLabel_; }
    QWidget* Panel() const { return panel_; }
    QTabWidget* PageControl() const { return pages_; }
    QWidget* ResourcesPage() const { return resourcesPage_; }
    QWidget* InfoPage() const { return infoPage_; }
    QListWidget* Box() const { return formList_; }
    QsciScintilla* DFM() const { return formText_; }
    QPlainTextEdit* Memo() const { return memo_; }
    QTabBar* ReportTabs() const { return reportTabs_; }
    QPushButton* OpenButton() const { return openButton_; }
    QPushButton* LoadButton() const { return loadButton_; }
    QPushButton* CloseButton() const { return closeButton_; }
    // The preview's form text as converted, in the code page.
    const std::string& PreviewText() const { return previewText_; }

public slots:
    // "Open...": asks for an executable file and opens it; the mode stays.
    void bOpenClick();
    // A selection in the list: shows the selected form as text and enables "Load"; a
    // form that does not convert is reported and leaves the preview empty.
    void BoxClick();
    // "Load" and a double-click in the list: opens the previewed form as a new document.
    void BoxDblClick();
    // The report tabs: refills the memo with the selected page's report.
    void tsClick();

private:
    void BuildWidgets();
    void FormCreate();
    void FormDestroy();
    void SetPreview(std::string text);
    int SelectedRow() const;
    const pe::ResourceItem& FormResource(int row) const;
    QString FromCodePage(const std::string& bytes) const;

    UserMessages& messages_;
    ExtractedFormLoader loader_;
    const CodePage& codePage_;
    bool packageMode_ = false;
    std::unique_ptr<pe::PeFile> pe_;
    std::string previewText_;
    // Set while the preview holds the selected form as converted ("Load" is enabled).
    bool previewConverted_ = false;

    QLabel* emptyLabel_ = nullptr;
    QWidget* panel_ = nullptr;
    QTabWidget* pages_ = nullptr;
    QWidget* resourcesPage_ = nullptr;
    QWidget* infoPage_ = nullptr;
    QListWidget* formList_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QsciScintilla* formText_ = nullptr;
    QPlainTextEdit* memo_ = nullptr;
    QTabBar* reportTabs_ = nullptr;
    QPushButton* openButton_ = nullptr;
    QPushButton* loadButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
};

}  // namespace fw
