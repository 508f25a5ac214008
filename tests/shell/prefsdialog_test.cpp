#include "shell/prefsdialog.h"
#include "shell/session.h"

#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <memory>

#include "document/documentwindow.h"
#include "fixtures.h"
#include "packages/designpackages.h"
#include "packages/inifile.h"
#include "runtime/object.h"
#include "runtime/registry.h"
#include "shell/fileassociations.h"
#include "shell/mainwindow.h"
#include "shelltestsupport.h"
#include "testsettings.h"
#include "xdgfolders.h"

namespace fw {
namespace {

using test::App;
using test::RecordingMessages;
using test::Settle;

// Runs `act` on the preferences dialog once its modal loop runs; `act` must close it.
void WhenPrefsShow(std::function<void(PreferencesDialog&)> act) {
    QTimer::singleShot(0, [act = std::move(act)] {
        auto* dialog = qobject_cast<PreferencesDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            ADD_FAILURE() << "the preferences dialog is not showing";
            return;
        }
        act(*dialog);
    });
}

QStringList ColumnTexts(const QTreeWidget* list, int column) {
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        texts << list->topLevelItem(i)->text(column);
    return texts;
}

QString ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// A package whose only class is named like a built-in class: it loads, and registers
// nothing.
fwtest::TestPackage KnownClassesPackage() {
    fwtest::TestPackage p;
    p.ModuleName = "known.bpl";
    p.Contains = {"KnownUnit"};
    p.Classes = {
        {.Name = "TButton", .Distance = 76, .ParentImport = fwtest::VclClass("Controls", "TCustomControl")}};
    return p;
}

class PrefsDialogTest : public testing::Test {
protected:
    void SetUp() override { App(); }

    test::XdgFolders xdg;
    fwtest::TempDir dir;
    std::unique_ptr<rt::ClassRegistry> registry = rt::MakeBuiltinRegistry();
    std::string listFile = (dir.Path() / "formwright.ini").string();
    pkg::DesignPackages packages{*registry, listFile};
    QString widgets = Write("widgets.bpl", fwtest::BuildTestPackage(fwtest::WidgetsPackage()));
    RecordingMessages messages;
    std::unique_ptr<PreferencesDialog> dialog;

    QString Write(const std::string& name, const fwtest::Bytes& bytes) const {
        return QString::fromStdString(dir.Write(name, bytes));
    }
    // The dialog shown as ExecutePreferences shows it.
    PreferencesDialog& Open() {
        dialog = std::make_unique<PreferencesDialog>(messages, packages, *registry,
                                                     QStringLiteral("/opt/fw/formwright"));
        dialog->show();
        Settle();
        return *dialog;
    }
    void Add(const QString& path) {
        messages.moduleFiles.push_back(path);
        dialog->cmAdd();
    }
    void Select(int row) { dialog->PackageList()->setCurrentItem(dialog->PackageList()->topLevelItem(row)); }
};

TEST_F(PrefsDialogTest, PagesAndControlsAsDesigned) {
    PreferencesDialog& d = Open();
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Preferences"));
    EXPECT_GE(d.width(), 482);
    EXPECT_GE(d.height(), 399);
    QStringList pages;
    for (int i = 0; i < d.PageControl()->count(); ++i)
        pages << d.PageControl()->tabText(i);
    EXPECT_EQ(pages, (QStringList{" General ", " Packages ", " Registered Classes ", " Search Folders "}));
    EXPECT_EQ(d.PageControl()->currentWidget(), d.GeneralPage());

    ASSERT_EQ(d.FileTypeList()->topLevelItemCount(), 1);
    EXPECT_EQ(d.FileTypeList()->topLevelItem(0)->text(0), QStringLiteral("dfm"));
    EXPECT_EQ(d.FileTypeList()->topLevelItem(0)->text(1), QStringLiteral("Delphi form file"));
    EXPECT_EQ(d.FileTypeList()->topLevelItem(0)->checkState(0), Qt::Unchecked);
    EXPECT_EQ(d.ShowTypeColBox()->text(), QStringLiteral("Display [Type] column in Object Inspector"));
    EXPECT_EQ(d.ShowCNColBox()->text(), QStringLiteral("Display [Classname] column in Object Tree"));
    EXPECT_EQ(d.HierarchyTreeBox()->text(), QStringLiteral("Show Hierarchy Tree"));
    EXPECT_EQ(d.SmallFontBox()->text(), QStringLiteral("Smaller font in Editor"));
    QList<int> codePages;
    for (int i = 0; i < d.CodePageBox()->count(); ++i)
        codePages << d.CodePageBox()->itemData(i).toInt();
    EXPECT_EQ(codePages,
              (QList<int>{874, 932, 936, 949, 950, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258}));

    QStringList tabs;
    for (int i = 0; i < d.ReportTabs()->count(); ++i)
        tabs << d.ReportTabs()->tabText(i);
    EXPECT_EQ(tabs, (QStringList{"Header", "Classes", "Flags"}));
    EXPECT_EQ(d.CountLabel()->text(), QStringLiteral("Count: 0"));
    EXPECT_TRUE(d.OkButton()->isDefault());
}

TEST_F(PrefsDialogTest, OptionsAndCodePageGoInAndComeBack) {
    PreferencesDialog& d = Open();
    const struct {
        InterfaceOptions options;
        int codePage;
        int expectedCodePage;
    } cases[] = {
        {{true, false, true, false}, 1251, 1251},
        {{false, true, false, true}, 874, 874},
        {{}, 437, 1252},  // no such code page: the default
    };
    for (const auto& c : cases) {
        d.SetOptions(c.options, c.codePage);
        InterfaceOptions options{!c.options.ShowTypeCol, !c.options.ShowCNCol, !c.options.ShowHTree,
                                 !c.options.SmallFont};
        int codePage = 0;
        d.GetOptions(options, codePage);
        EXPECT_EQ(options.ShowTypeCol, c.options.ShowTypeCol);
        EXPECT_EQ(options.ShowCNCol, c.options.ShowCNCol);
        EXPECT_EQ(options.ShowHTree, c.options.ShowHTree);
        EXPECT_EQ(options.SmallFont, c.options.SmallFont);
        EXPECT_EQ(codePage, c.expectedCodePage);
    }
}

TEST_F(PrefsDialogTest, SearchFoldersAreListedInOrderOnce) {
    PreferencesDialog& d = Open();
    EXPECT_TRUE(d.SearchFolders().isEmpty());
    d.SetSearchFolders({QStringLiteral("/src/common"), QStringLiteral("/src/frames")});
    // Each answer of the folder chooser, and the list after it: a folder listed already
    // (written another way) is selected, not listed twice; a cancelled question changes
    // nothing.
    const struct {
        QString Answer;
        QStringList Listed;
        int Selected;
    } adds[] = {
        {QStringLiteral("/src/base/"), {"/src/common", "/src/frames", "/src/base"}, 2},
        {QStringLiteral("/src/./frames"), {"/src/common", "/src/frames", "/src/base"}, 1},
        {QString(), {"/src/common", "/src/frames", "/src/base"}, 1},
    };
    for (const auto& add : adds) {
        SCOPED_TRACE(add.Answer.toStdString());
        messages.folders.push_back(add.Answer);
        d.AddFolderButton()->click();
        EXPECT_EQ(d.SearchFolders(), add.Listed);
        EXPECT_EQ(d.FolderList()->currentRow(), add.Selected);
    }
    d.FolderList()->setCurrentRow(0);
    d.RemoveFolderButton()->click();
    EXPECT_EQ(d.SearchFolders(), (QStringList{"/src/frames", "/src/base"}));
    d.FolderList()->clearSelection();
    d.RemoveFolderButton()->click();
    EXPECT_EQ(d.SearchFolders().size(), 2);
}

TEST_F(PrefsDialogTest, AddingPackages) {
    PreferencesDialog& d = Open();
    Add(widgets);
    EXPECT_EQ(messages.moduleFilters.last(), (QStringList{"Delphi packages (*.bpl)", "All files (*)"}));
    EXPECT_EQ(messages.informations, (QStringList{"widgets.bpl: 5 new classes registered."}));
    ASSERT_EQ(d.PackageList()->topLevelItemCount(), 1);
    // The row shows the package's description, its path and the loaded image.
    EXPECT_EQ(d.PackageList()->topLevelItem(0)->text(0), QStringLiteral("Test components"));
    EXPECT_EQ(d.PackageList()->topLevelItem(0)->text(1), widgets);
    EXPECT_EQ(PreferencesDialog::RowImage(d.PackageList()->topLevelItem(0)), 1);
    EXPECT_NE(registry->FindClassByName("TWidgetX"), nullptr);

    // Listed already, in any letter case: no message, no change.
    Add(widgets.toUpper());
    EXPECT_EQ(messages.informations.size(), 1);
    EXPECT_TRUE(messages.warnings.isEmpty());
    EXPECT_EQ(d.PackageList()->topLevelItemCount(), 1);

    // Classes all known already: the warning, and the package stays listed and loaded.
    const QString known = Write("known.bpl", fwtest::BuildTestPackage(KnownClassesPackage()));
    Add(known);
    EXPECT_EQ(messages.warnings, (QStringList{"No new class registered."}));
    ASSERT_EQ(d.PackageList()->topLevelItemCount(), 2);
    EXPECT_EQ(PreferencesDialog::RowImage(d.PackageList()->topLevelItem(1)), 1);

    // A file that is no package: the warning says why (it said only that nothing was
    // registered, and the reason showed once the row was selected); listed by its file
    // name, not loaded.
    const QString junk = Write("junk.bpl", fwtest::Bytes(64, 0x20));
    Add(junk);
    ASSERT_EQ(messages.warnings.size(), 2);
    EXPECT_EQ(messages.warnings.last(),
              QStringLiteral("junk.bpl could not be loaded:\n\nCan't load package ") + junk +
                  QStringLiteral(".\nThe file is not a valid PE image"));
    ASSERT_EQ(d.PackageList()->topLevelItemCount(), 3);
    EXPECT_EQ(d.PackageList()->topLevelItem(2)->text(0), QStringLiteral("junk.bpl"));
    EXPECT_EQ(PreferencesDialog::RowImage(d.PackageList()->topLevelItem(2)), 0);

    // A cancelled choice does nothing.
    Add(QString());
    EXPECT_EQ(d.PackageList()->topLevelItemCount(), 3);
    EXPECT_EQ(messages.informations.size() + messages.warnings.size(), 3);
}

TEST_F(PrefsDialogTest, SelectedPackageShowsItsReportOrItsError) {
    PreferencesDialog& d = Open();
    Add(widgets);
    const QString junk = Write("junk.bpl", fwtest::Bytes(64, 0x20));
    Add(junk);

    Select(0);
    EXPECT_EQ(d.ReportMemo()->toPlainText(),
              QStringLiteral("requires\n  rtl\n  vcl\ncontains\n  WidgetUnit\n  WidgetReg"));
    d.ReportTabs()->setCurrentIndex(1);
    EXPECT_TRUE(d.ReportMemo()->toPlainText().contains(QStringLiteral("TWidgetX")));
    d.ReportTabs()->setCurrentIndex(2);
    EXPECT_TRUE(d.ReportMemo()->toPlainText().contains(QStringLiteral("Type: Package")));

    // The report's lines are kept as they are.
    EXPECT_EQ(d.ReportMemo()->lineWrapMode(), QPlainTextEdit::NoWrap);

    // The failed package shows its error, whichever page is chosen, wrapped to the memo
    // (it ran off the memo's edge).
    Select(1);
    ASSERT_EQ(packages.PackageErrors().size(), 1u);
    const QString error = d.ReportMemo()->toPlainText();
    EXPECT_TRUE(error.contains(QStringLiteral("junk.bpl"))) << error.toStdString();
    EXPECT_EQ(d.ReportMemo()->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(d.ReportMemo()->wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
    d.ReportTabs()->setCurrentIndex(0);
    EXPECT_EQ(d.ReportMemo()->toPlainText(), error);
    Select(0);
    EXPECT_EQ(d.ReportMemo()->lineWrapMode(), QPlainTextEdit::NoWrap);
    Select(1);

    // Nothing selected: nothing to report on.
    d.PackageList()->clearSelection();
    EXPECT_EQ(d.ReportMemo()->toPlainText(), QString());
    d.ReportTabs()->setCurrentIndex(1);
    EXPECT_EQ(d.ReportMemo()->toPlainText(), QString());
}

TEST_F(PrefsDialogTest, LongErrorIsCutTo1024CharactersAndSplitIntoLines) {
    // A missing package under a long path: the cut falls in the reason, after the line
    // break. An "=" in the path does not confuse the error list.
    // "Can't load package <path>.\r\n<reason>" with a path of 990 characters: the line
    // break at 1010.
    QString path = QString::fromStdString(dir.Path().string());
    while (path.size() < 790)
        path += QStringLiteral("/a=b%1").arg(QString(40, u'x'));
    const QString fileName = QString(990 - path.size() - 5, u'm') + QStringLiteral(".bpl");
    path += u'/' + fileName;
    std::string message;
    {
        pkg::DesignPackages other(*registry, listFile);
        other.AddPackage(path.toStdString());
        ASSERT_EQ(other.PackageErrors().size(), 1u);
        message = other.PackageErrors()[0].substr(path.toStdString().size() + 1);
    }
    const QString full = QString::fromStdString(message);
    const qsizetype lineBreak = full.indexOf(QStringLiteral("\r\n"));
    ASSERT_GT(full.size(), 1024);
    ASSERT_GE(lineBreak, 0);
    ASSERT_LT(lineBreak, 1022);

    packages.AddPackage(path.toStdString());
    PreferencesDialog& d = Open();
    ASSERT_EQ(d.PackageList()->topLevelItemCount(), 1);
    EXPECT_EQ(d.PackageList()->topLevelItem(0)->text(0), fileName);
    Select(0);
    EXPECT_EQ(d.ReportMemo()->toPlainText(),
              full.left(1024).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

TEST_F(PrefsDialogTest, RemovingPackages) {
    PreferencesDialog& d = Open();
    Add(widgets);
    Add(Write("junk.bpl", fwtest::Bytes(64, 0x20)));
    ASSERT_EQ(packages.PackageErrors().size(), 1u);

    // Nothing selected: no question.
    d.cmDel();
    EXPECT_TRUE(messages.confirms.isEmpty());

    // Answered No: the package stays; the memo is emptied all the same.
    Select(0);
    messages.confirmAnswers.push_back(false);
    d.cmDel();
    EXPECT_EQ(messages.confirms, (QStringList{"Remove selected package?"}));
    EXPECT_EQ(d.PackageList()->topLevelItemCount(), 2);
    EXPECT_EQ(d.ReportMemo()->toPlainText(), QString());

    // The failed package goes with its error.
    Select(1);
    messages.confirmAnswers.push_back(true);
    d.cmDel();
    EXPECT_EQ(ColumnTexts(d.PackageList(), 1), QStringList{widgets});
    EXPECT_TRUE(packages.PackageErrors().empty());

    // The loaded one goes with its classes.
    Select(0);
    messages.confirmAnswers.push_back(true);
    d.cmDel();
    EXPECT_EQ(d.PackageList()->topLevelItemCount(), 0);
    EXPECT_EQ(registry->FindClassByName("TWidgetX"), nullptr);
    EXPECT_NE(registry->FindClassByName("TButton"), nullptr);

    // Added once more, it is loaded afresh (its TButtonGroup now loses to the fallback
    // class that the reload after the removal registered).
    Add(widgets);
    EXPECT_EQ(messages.informations.last(), QStringLiteral("widgets.bpl: 4 new classes registered."));
    EXPECT_NE(registry->FindClassByName("TWidgetX"), nullptr);
}

TEST_F(PrefsDialogTest, RegisteredClassesPageShowsCountAncestryAndUnit) {
    packages.AddPackage(widgets.toStdString());
    PreferencesDialog& d = Open();
    d.PageControl()->setCurrentWidget(d.ClassesPage());
    const auto classes = registry->RegisteredClasses();
    EXPECT_EQ(d.ClassBox()->count(), static_cast<int>(classes.size()));
    EXPECT_EQ(d.CountLabel()->text(), QStringLiteral("Count: %1").arg(classes.size()));
    QStringList names;
    for (int i = 0; i < d.ClassBox()->count(); ++i)
        names << d.ClassBox()->item(i)->text();
    QStringList sorted = names;
    sorted.sort();
    EXPECT_EQ(names, sorted);

    const QList<QListWidgetItem*> found =
        d.ClassBox()->findItems(QStringLiteral("TWidgetX"), Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    found.first()->setSelected(true);
    // The class on top, each parent one level deeper, all expanded, the root deepest.
    QStringList chain;
    const QTreeWidget* tree = d.AncestryTree();
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    for (const QTreeWidgetItem* item = tree->topLevelItem(0); item != nullptr;
         item = item->childCount() > 0 ? item->child(0) : nullptr) {
        EXPECT_LE(item->childCount(), 1);
        if (item->childCount() > 0) EXPECT_TRUE(item->isExpanded()) << item->text(0).toStdString();
        chain << item->text(0);
    }
    ASSERT_GE(chain.size(), 6);
    EXPECT_EQ(chain.mid(0, 4), (QStringList{"TWidgetX", "TWidget", "TWidgetBase", "TCustomControl"}));
    EXPECT_EQ(chain.last(), QStringLiteral("TObject"));
    const rt::Class* x = registry->FindClassByName("TWidgetX");
    EXPECT_EQ(d.UnitLabel()->text(),
              QStringLiteral("Declared in TestUnit.pas and has %1 properties.").arg(x->Properties().size()));
}

// ExecutePreferences as the main window runs it.
class ExecutePreferencesTest : public PrefsDialogTest {
protected:
    InterfaceOptions options;
    int codePage = 1252;
    const QString program = QStringLiteral("/opt/fw/formwright");

    bool Execute(std::function<void(PreferencesDialog&)> act) {
        WhenPrefsShow(std::move(act));
        return PreferencesDialog::ExecutePreferences(nullptr, messages, packages, *registry,
                                                     {&options, &codePage}, program);
    }
};

TEST_F(ExecutePreferencesTest, OkStoresEverythingAndCancelOnlyKeepsThePackageChanges) {
    // Cancelled after adding a package: it stays loaded and listed, but the list file,
    // the options, the code page and the associations stay as they were.
    EXPECT_FALSE(Execute([this](PreferencesDialog& d) {
        messages.moduleFiles.push_back(widgets);
        d.cmAdd();
        d.ShowTypeColBox()->setChecked(true);
        d.CodePageBox()->setCurrentIndex(d.CodePageBox()->findData(1250));
        d.FileTypeList()->topLevelItem(0)->setCheckState(0, Qt::Checked);
        d.CancelButton()->click();
    }));
    EXPECT_EQ(packages.PackageFiles(), std::vector<std::string>{widgets.toStdString()});
    EXPECT_NE(registry->FindClassByName("TWidgetX"), nullptr);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(listFile)));
    EXPECT_FALSE(options.ShowTypeCol);
    EXPECT_EQ(codePage, 1252);
    EXPECT_EQ(GetAssociatedExe(QStringLiteral(".dfm")), QString());

    // Accepted: all of it.
    EXPECT_TRUE(Execute([](PreferencesDialog& d) {
        EXPECT_EQ(d.PackageList()->topLevelItemCount(), 1);
        d.ShowTypeColBox()->setChecked(true);
        d.SmallFontBox()->setChecked(true);
        d.CodePageBox()->setCurrentIndex(d.CodePageBox()->findData(1250));
        d.FileTypeList()->topLevelItem(0)->setCheckState(0, Qt::Checked);
        d.OkButton()->click();
    }));
    EXPECT_TRUE(ReadFile(QString::fromStdString(listFile)).contains(QStringLiteral("0=") + widgets));
    EXPECT_TRUE(options.ShowTypeCol);
    EXPECT_TRUE(options.SmallFont);
    EXPECT_FALSE(options.ShowCNCol);
    EXPECT_EQ(codePage, 1250);
    EXPECT_EQ(GetAssociatedExe(QStringLiteral(".dfm")), program);

    // Shown again, the row is checked and the options are as stored; unchecked and
    // accepted, the association goes.
    EXPECT_TRUE(Execute([](PreferencesDialog& d) {
        EXPECT_EQ(d.FileTypeList()->topLevelItem(0)->checkState(0), Qt::Checked);
        EXPECT_TRUE(d.ShowTypeColBox()->isChecked());
        EXPECT_EQ(d.CodePageBox()->currentData().toInt(), 1250);
        d.FileTypeList()->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
        d.OkButton()->click();
    }));
    EXPECT_EQ(GetAssociatedExe(QStringLiteral(".dfm")), QString());
    EXPECT_TRUE(messages.errors.isEmpty()) << messages.errors.join(u'\n').toStdString();
}

TEST_F(ExecutePreferencesTest, AnotherProgramsAssociationIsLeftUnlessTheRowIsChecked) {
    RegisterFileType(QStringLiteral("dfm"), QStringLiteral("other"), QStringLiteral("Form"),
                     QStringLiteral("/usr/bin/other"), {});
    EXPECT_TRUE(Execute([](PreferencesDialog& d) {
        EXPECT_EQ(d.FileTypeList()->topLevelItem(0)->checkState(0), Qt::Unchecked);
        d.OkButton()->click();
    }));
    EXPECT_EQ(GetAssociatedExe(QStringLiteral("dfm")), QStringLiteral("/usr/bin/other"));

    EXPECT_TRUE(Execute([](PreferencesDialog& d) {
        d.FileTypeList()->topLevelItem(0)->setCheckState(0, Qt::Checked);
        d.OkButton()->click();
    }));
    EXPECT_EQ(GetAssociatedExe(QStringLiteral("dfm")), program);
}

TEST_F(ExecutePreferencesTest, AFailedWriteIsShownAndTheOptionsAreStillStored) {
    // The configuration folder is a file: neither mimeapps.list nor the package list
    // file (placed there too) can be written.
    QFile blocker(xdg.Config({}));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    pkg::DesignPackages blocked(*registry, xdg.Config(QStringLiteral("formwright.ini")).toStdString());
    WhenPrefsShow([](PreferencesDialog& d) {
        d.FileTypeList()->topLevelItem(0)->setCheckState(0, Qt::Checked);
        d.HierarchyTreeBox()->setChecked(true);
        d.OkButton()->click();
    });
    EXPECT_TRUE(PreferencesDialog::ExecutePreferences(nullptr, messages, blocked, *registry,
                                                      {&options, &codePage}, program));
    EXPECT_EQ(messages.errors.size(), 2) << messages.errors.join(u'\n').toStdString();
    EXPECT_TRUE(options.ShowHTree);
}

// The main window's command.
class MainWindowPrefsTest : public testing::Test {
protected:
    void SetUp() override { App(); }
    test::XdgFolders xdg;
    RecordingMessages messages;
};

TEST_F(MainWindowPrefsTest, AcceptedOptionsReachEveryOpenDocumentAndTheCodePageNewOnes) {
    Session session;
    auto main = std::make_unique<MainWindow>(session, messages);
    main->show();
    Settle();
    const QByteArray form = "object Form1: TForm\r\n  Caption = 'One'\r\nend\r\n";
    main->NewDocument(QStringLiteral("One"), QStringLiteral("one"), form);
    main->NewDocument(QStringLiteral("Two"), QStringLiteral("two"), form);
    Settle();
    QList<DocumentWindow*> documents;
    for (QMdiSubWindow* window : main->MdiArea()->subWindowList(QMdiArea::CreationOrder))
        documents << qobject_cast<DocumentWindow*>(window);
    ASSERT_EQ(documents.size(), 2);
    // The text gains a button that only a rebuilt preview has.
    for (DocumentWindow* document : documents) {
        EXPECT_TRUE(document->Tree()->isColumnHidden(1));
        document->Editor()->setText(
            QStringLiteral("object Form1: TForm\r\n  object Button1: TButton\r\n  end\r\nend\r\n"));
    }
    auto previewButtons = [](const DocumentWindow* document) {
        return document->PreviewForm() ? static_cast<int>(document->PreviewForm()->Components().size()) : 0;
    };
    Settle();

    // Cancelled: nothing changes.
    WhenPrefsShow([](PreferencesDialog& d) {
        d.ShowCNColBox()->setChecked(true);
        d.CancelButton()->click();
    });
    main->cmPrefs();
    EXPECT_FALSE(main->Options().ShowCNCol);
    for (DocumentWindow* document : documents) {
        EXPECT_TRUE(document->Tree()->isColumnHidden(1));
        EXPECT_EQ(previewButtons(document), 0);
    }

    // Accepted: every document shows the column and has a new preview; the documents
    // keep their code page, new ones take the new one.
    WhenPrefsShow([](PreferencesDialog& d) {
        d.ShowCNColBox()->setChecked(true);
        d.CodePageBox()->setCurrentIndex(d.CodePageBox()->findData(1251));
        d.SetSearchFolders({QStringLiteral("/src/base"), QStringLiteral("/src/frames")});
        d.OkButton()->click();
    });
    main->cmPrefs();
    EXPECT_TRUE(main->Options().ShowCNCol);
    EXPECT_EQ(main->FormCodePage().Number(), 1251);
    const std::vector<std::string> folders{"/src/base", "/src/frames"};
    for (DocumentWindow* document : documents) {
        EXPECT_FALSE(document->Tree()->isColumnHidden(1));
        EXPECT_EQ(previewButtons(document), 1);
        EXPECT_EQ(document->Document().TextCodePage().Number(), 1252);
        EXPECT_EQ(document->FormSearchFolders(), folders);
    }
    main->cmNew();
    EXPECT_EQ(main->ActiveDocument()->Document().TextCodePage().Number(), 1251);
    EXPECT_EQ(main->ActiveDocument()->FormSearchFolders(), folders);
    // The changed documents close unsaved.
    messages.choiceAnswers = {UserMessages::Answer::No, UserMessages::Answer::No};
    main->close();
    main.reset();
    Settle();

    // The code page comes back with the other settings.
    Session nextRun;
    MainWindow again(nextRun, messages);
    again.show();
    Settle();
    EXPECT_EQ(again.FormCodePage().Number(), 1251);
    EXPECT_TRUE(again.Options().ShowCNCol);
    EXPECT_EQ(again.FormSearchFolders(), (QStringList{"/src/base", "/src/frames"}));
    again.close();
    EXPECT_TRUE(messages.errors.isEmpty()) << messages.errors.join(u'\n').toStdString();
}

}  // namespace
}  // namespace fw
