#pragma once
// PreferencesDialog: the preferences. " General " holds the file types the program can be
// the default application of, the interface options and the code page of form text;
// " Packages " manages the design packages with a report of the selected one;
// " Registered Classes " browses the class registry; " Search Folders " lists the folders
// searched, after the form's own, for the files of ancestor forms and frames. Package
// changes take effect at once; the package list file, the associations, the options and
// the folders only with "OK".

#include <QDialog>
#include <QString>
#include <QStringList>
#include <memory>
#include <string>

#include "base/codepage.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTabBar;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace fw {

class UserMessages;
struct InterfaceOptions;

namespace pe {
class PeFile;
}
namespace pkg {
class DesignPackages;
}
namespace rt {
class ClassRegistry;
}

// What the preferences edit and where they go.
struct PreferencesSettings {
    InterfaceOptions* Options = nullptr;
    // The code page number of form text (874, 1250 to 1258).
    int* CodePageNumber = nullptr;
    // The extra folders searched for ancestor and frame files, in order; none when null.
    QStringList* SearchFolders = nullptr;
};

class PreferencesDialog : public QDialog {
    Q_OBJECT
public:
    // `messages` asks and tells the user; `packages` are the program's design packages
    // and `registry` the registry their classes go into. All must outlive the dialog.
    // `programPath` is the program that file types are associated with; package texts
    // are read in `codePage`, which must outlive the dialog too.
    PreferencesDialog(UserMessages& messages, pkg::DesignPackages& packages, rt::ClassRegistry& registry,
                   const QString& programPath, const CodePage& codePage = CodePage::Default(),
                   QWidget* parent = nullptr);
    ~PreferencesDialog() override;

    // Shows the dialog owned by `owner` with the settings' values, modally. Only when it
    // is closed with "OK": the associations of the file-type rows are applied (a failure
    // is shown and the rest goes on), the package list file is written, and the options
    // and the code page are stored into `settings`. Returns whether it was accepted.
    // `programPath` is empty for the running program's own path.
    static bool ExecutePreferences(QWidget* owner, UserMessages& messages, pkg::DesignPackages& packages,
                                   rt::ClassRegistry& registry, const PreferencesSettings& settings,
                                   const QString& programPath = {});

    // Sets the controls from the options and the code page number (an unknown number
    // selects Windows-1252), and reads them back.
    void SetOptions(const InterfaceOptions& options, int codePageNumber);
    void GetOptions(InterfaceOptions& options, int& codePageNumber) const;
    // The extra search folders, one row each in the order given.
    void SetSearchFolders(const QStringList& folders);
    QStringList SearchFolders() const;
    // What "OK" does after the dialog closed: the associations, the package list file.
    void ApplyAssociations();

    // Refills the package list from the package files.
    void RefreshPackageList();
    // Refills the class list from the registry, with the count.
    void FillClassList();

    // The handlers.
    void cmAdd();
    void cmDel();
    // Asks for a folder and lists it last, unless it is listed already; removes the
    // selected folder.
    void cmAddFolder();
    void cmDelFolder();
    void BPLListSelectItem();
    void tsClick();
    void pcChange();
    void BoxClick();

    // The controls, for whoever drives the dialog without a mouse.
    QTabWidget* PageControl() const { return pc; }
    QWidget* GeneralPage() const { return TabSheet1; }
    QWidget* PackagesPage() const { return TabSheet2; }
    QWidget* ClassesPage() const { return TabSheet3; }
    QWidget* FoldersPage() const { return TabSheet4; }
    QListWidget* FolderList() const { return lbFolders; }
    QPushButton* AddFolderButton() const { return btnAddFolder; }
    QPushButton* RemoveFolderButton() const { return btnDelFolder; }
    QTreeWidget* FileTypeList() const { return RFTList; }
    QCheckBox* ShowTypeColBox() const { return cbxShowTypeCol; }
    QCheckBox* ShowCNColBox() const { return cbxShowCNCol; }
    QCheckBox* HierarchyTreeBox() const { return cbxHTree; }
    QCheckBox* SmallFontBox() const { return cbxFont; }
    QComboBox* CodePageBox() const { return cbxCodePage; }
    QTreeWidget* PackageList() const { return BPLList; }
    QPushButton* AddButton() const { return btnAdd; }
    QPushButton* RemoveButton() const { return btnDel; }
    QPlainTextEdit* ReportMemo() const { return Memo; }
    QTabBar* ReportTabs() const { return ts; }
    QListWidget* ClassBox() const { return Box; }
    QTreeWidget* AncestryTree() const { return Tree; }
    QLabel* CountLabel() const { return lCCount; }
    QLabel* UnitLabel() const { return lUnit; }
    QPushButton* OkButton() const { return btnOK; }
    QPushButton* CancelButton() const { return btnCancel; }
    // The image index of a package row: 1 when its package is loaded, else 0.
    static int RowImage(const QTreeWidgetItem* row);
    // The reader holding the package last selected.
    const pe::PeFile& Reader() const { return *pe_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildWidgets();
    void FormShow();
    void ShowInMemo(const QString& text);
    QString FromCodePage(const std::string& bytes) const;
    bool IsProgramPath(const QString& path) const;

    UserMessages& messages_;
    pkg::DesignPackages& packages_;
    rt::ClassRegistry& registry_;
    QString programPath_;
    const CodePage& codePage_;
    std::unique_ptr<pe::PeFile> pe_;

    QTabWidget* pc = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;
    QWidget* TabSheet3 = nullptr;
    QWidget* TabSheet4 = nullptr;
    QListWidget* lbFolders = nullptr;
    QPushButton* btnAddFolder = nullptr;
    QPushButton* btnDelFolder = nullptr;
    QTreeWidget* RFTList = nullptr;
    QCheckBox* cbxShowTypeCol = nullptr;
    QCheckBox* cbxShowCNCol = nullptr;
    QCheckBox* cbxHTree = nullptr;
    QCheckBox* cbxFont = nullptr;
    QComboBox* cbxCodePage = nullptr;
    QTreeWidget* BPLList = nullptr;
    QPushButton* btnAdd = nullptr;
    QPushButton* btnDel = nullptr;
    QPlainTextEdit* Memo = nullptr;
    QTabBar* ts = nullptr;
    QListWidget* Box = nullptr;
    QTreeWidget* Tree = nullptr;
    QLabel* lCCount = nullptr;
    QLabel* lUnit = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
};

}  // namespace fw
