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
    QTabWidget* PageControl() const { return pages_; }
    QWidget* GeneralPage() const { return generalPage_; }
    QWidget* PackagesPage() const { return packagesPage_; }
    QWidget* ClassesPage() const { return classesPage_; }
    QWidget* FoldersPage() const { return foldersPage_; }
    QListWidget* FolderList() const { return folderList_; }
    QPushButton* AddFolderButton() const { return addFolderButton_; }
    QPushButton* RemoveFolderButton() const { return removeFolderButton_; }
    QTreeWidget* FileTypeList() const { return fileTypeList_; }
    QCheckBox* ShowTypeColBox() const { return showTypeColBox_; }
    QCheckBox* ShowCNColBox() const { return showCNColBox_; }
    QCheckBox* HierarchyTreeBox() const { return hierarchyTreeBox_; }
    QCheckBox* SmallFontBox() const { return smallFontBox_; }
    QComboBox* CodePageBox() const { return codePageBox_; }
    QTreeWidget* PackageList() const { return packageList_; }
    QPushButton* AddButton() const { return addButton_; }
    QPushButton* RemoveButton() const { return removeButton_; }
    QPlainTextEdit* ReportMemo() const { return reportMemo_; }
    QTabBar* ReportTabs() const { return reportTabs_; }
    QListWidget* ClassBox() const { return classBox_; }
    QTreeWidget* AncestryTree() const { return ancestryTree_; }
    QLabel* CountLabel() const { return countLabel_; }
    QLabel* UnitLabel() const { return unitLabel_; }
    QPushButton* OkButton() const { return okButton_; }
    QPushButton* CancelButton() const { return cancelButton_; }
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

    QTabWidget* pages_ = nullptr;
    QWidget* generalPage_ = nullptr;
    QWidget* packagesPage_ = nullptr;
    QWidget* classesPage_ = nullptr;
    QWidget* foldersPage_ = nullptr;
    QListWidget* folderList_ = nullptr;
    QPushButton* addFolderButton_ = nullptr;
    QPushButton* removeFolderButton_ = nullptr;
    QTreeWidget* fileTypeList_ = nullptr;
    QCheckBox* showTypeColBox_ = nullptr;
    QCheckBox* showCNColBox_ = nullptr;
    QCheckBox* hierarchyTreeBox_ = nullptr;
    QCheckBox* smallFontBox_ = nullptr;
    QComboBox* codePageBox_ = nullptr;
    QTreeWidget* packageList_ = nullptr;
    QPushButton* addButton_ = nullptr;
    QPushButton* removeButton_ = nullptr;
    QPlainTextEdit* reportMemo_ = nullptr;
    QTabBar* reportTabs_ = nullptr;
    QListWidget* classBox_ = nullptr;
    QTreeWidget* ancestryTree_ = nullptr;
    QLabel* countLabel_ = nullptr;
    QLabel* unitLabel_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

}  // namespace fw
