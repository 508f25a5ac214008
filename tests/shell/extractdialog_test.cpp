#include "shell/extractdialog.h"
#include "shell/session.h"

#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "document/documentwindow.h"
#include "peimage/pefile.h"
#include "pewriter.h"
#include "samplemodule.h"
#include "shell/documenttabbar.h"
#include "shell/mainwindow.h"
#include "shelltestsupport.h"

namespace fw {
namespace {

using fwtest::Bytes;
using fwtest::BytesOf;
using fwtest::PeWriter;
using fwtest::SmallForm;
using R = fwtest::ResourceId;
using test::App;
using test::RecordingMessages;
using test::Settle;

// The text of SmallForm(name, caption) as the converter writes it.
QString SmallFormText(const QString& name, const QString& caption) {
    return QStringLiteral("object %1: T%1\r\n  Left = 8\r\n  Caption = '%2'\r\nend\r\n").arg(name, caption);
}

// A module with one form in one language, and nothing else: no description, no package
// information.
Bytes SingleFormModule(const std::string& name) {
    PeWriter pe;
    pe.AddSection("CODE", Bytes(0x200, 0x90));
    pe.AddResource({R::Num(10), R::Str("T" + name), 1033, SmallForm(name), 1252});
    return pe.Build().File;
}

// A package without forms: package information and a description only.
Bytes FormlessPackage() {
    PeWriter pe;
    pe.AddSection("CODE", Bytes(0x200, 0x90));
    pe.AddResource({R::Num(10), R::Str("PACKAGEINFO"), 0,
                    fwtest::PackageInfoPayload(0x54000004, {"rtl"}, {"Plain"}), 0});
    pe.AddResource({R::Num(10), R::Str("DESCRIPTION"), 0, fwtest::DescriptionPayload(u"Plain runtime"), 0});
    return pe.Build().File;
}

QString Path(const std::string& path) {
    return QString::fromStdString(path);
}

QStringList BoxItems(const ExtractDialog& dialog) {
    QStringList items;
    for (int row = 0; row < dialog.Box()->count(); ++row)
        items << dialog.Box()->item(row)->text();
    return items;
}

QString InfoCaption(const ExtractDialog& dialog) {
    return dialog.PageControl()->tabText(dialog.PageControl()->indexOf(dialog.InfoPage()));
}

bool ResourcesPageShown(const ExtractDialog& dialog) {
    return dialog.PageControl()->isTabVisible(dialog.PageControl()->indexOf(dialog.ResourcesPage()));
}

void Select(ExtractDialog& dialog, int row) {
    dialog.Box()->item(row)->setSelected(true);
}

class ExtractDialogTest : public testing::Test {
protected:
    void SetUp() override {
        App();
        dialog_ = std::make_unique<ExtractDialog>(
            messages_,
            [this](const QString& caption, const QByteArray& text) { loads_.emplace_back(caption, text); });
    }
    void TearDown() override {
        dialog_.reset();
        Settle();
    }

    std::string Sample() { return dir_.Write("sample.bpl", fwtest::SampleModule(false).Build().File); }

    fwtest::TempDir dir_;
    RecordingMessages messages_;
    std::vector<std::pair<QString, QByteArray>> loads_;
    std::unique_ptr<ExtractDialog> dialog_;
};

TEST_F(ExtractDialogTest, StartsEmptyWithTheResourcesPageAndLoadDisabled) {
    ExtractDialog& d = *dialog_;
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Form Resources"));
    EXPECT_EQ(d.size(), QSize(515, 325));
    EXPECT_EQ(d.PageControl()->currentWidget(), d.ResourcesPage());
    EXPECT_EQ(d.PageControl()->tabText(0), QStringLiteral(" Resources "));
    EXPECT_EQ(InfoCaption(d), QStringLiteral(" Info "));
    EXPECT_EQ(d.EmptyLabel()->text(), QStringLiteral("No form resources found"));
    EXPECT_EQ(d.OpenButton()->text(), QStringLiteral("Open..."));
    EXPECT_EQ(d.LoadButton()->text(), QStringLiteral("Load"));
    EXPECT_TRUE(d.LoadButton()->isDefault());
    EXPECT_FALSE(d.LoadButton()->isEnabled());
    EXPECT_EQ(d.CloseButton()->text(), QStringLiteral("Close"));
    QStringList tabs;
    for (int i = 0; i < d.ReportTabs()->count(); ++i)
        tabs << d.ReportTabs()->tabText(i);
    EXPECT_EQ(tabs, (QStringList{"Header", "Classes", "Forms", "Flags"}));
    EXPECT_EQ(d.ReportTabs()->currentIndex(), 0);
    EXPECT_TRUE(d.DFM()->isReadOnly());
    EXPECT_EQ(d.DFM()->marginWidth(0) + d.DFM()->marginWidth(1) + d.DFM()->marginWidth(2), 0);
}

// Languages are walked in ascending order: German (1031) comes before English (1033).
TEST_F(ExtractDialogTest, ListsEveryLanguageOfAFormAndPreviewsItsFirstVersionForEach) {
    ExtractDialog& d = *dialog_;
    d.OpenFile(Path(Sample()));

    EXPECT_EQ(d.windowTitle(), QStringLiteral("Form Resources - [sample.bpl]"));
    EXPECT_EQ(BoxItems(d), (QStringList{"TABOUT", "TFORM1", "TFORM1"}));
    EXPECT_FALSE(d.Panel()->isHidden());
    EXPECT_TRUE(ResourcesPageShown(d));
    EXPECT_FALSE(d.LoadButton()->isHidden());
    EXPECT_EQ(d.PageControl()->currentWidget(), d.ResourcesPage());
    EXPECT_EQ(InfoCaption(d), QString::fromStdU16String(fwtest::SampleDescription));
    EXPECT_EQ(
        d.Memo()->toPlainText(),
        QStringLiteral("requires\n  rtl\n  vcl\ncontains\n  SampleReg\n  SampleButtons\n  SamplePanels"));
    EXPECT_FALSE(d.LoadButton()->isEnabled()) << "nothing is selected yet";

    for (const int row : {1, 2}) {
        Select(d, row);
        EXPECT_EQ(d.DFM()->text(), SmallFormText("Form1", "Deutsch")) << "row " << row;
        EXPECT_TRUE(d.LoadButton()->isEnabled());
    }
    EXPECT_TRUE(messages_.errors.isEmpty());
}

// The reader's lookup by name finds the bitmap "TABOUT" before the form of that name;
// the dialog previews the form.
TEST_F(ExtractDialogTest, AFormSharingItsNameWithABitmapPreviewsTheForm) {
    ExtractDialog& d = *dialog_;
    d.OpenFile(Path(Sample()));
    ASSERT_EQ(d.Reader().FindResourceByName("TABOUT").TypeName, "BITMAP");

    Select(d, 0);
    EXPECT_EQ(d.DFM()->text(), SmallFormText("About", "Hello"));
    EXPECT_TRUE(d.LoadButton()->isEnabled());
    d.BoxDblClick();
    ASSERT_EQ(loads_.size(), 1u);
    EXPECT_EQ(loads_[0].first, QStringLiteral("TABOUT"));
    EXPECT_EQ(loads_[0].second, SmallFormText("About", "Hello").toLatin1());
}

TEST_F(ExtractDialogTest, AFormThatDoesNotConvertIsReportedAndNothingCanBeLoaded) {
    Bytes broken = SmallForm("Broken");
    broken.resize(broken.size() / 2);
    PeWriter pe;
    pe.AddResource({R::Num(10), R::Str("TGOOD"), 0, SmallForm("Good"), 0});
    pe.AddResource({R::Num(10), R::Str("TBROKEN"), 0, broken, 0});
    ExtractDialog& d = *dialog_;
    d.OpenFile(Path(dir_.Write("broken.exe", pe.Build().File)));
    ASSERT_EQ(BoxItems(d), (QStringList{"TBROKEN", "TGOOD"}));

    Select(d, 1);
    ASSERT_TRUE(d.LoadButton()->isEnabled());
    Select(d, 0);
    EXPECT_EQ(messages_.errors.size(), 1);
    EXPECT_TRUE(d.DFM()->text().isEmpty()) << "the previous form stays in the preview";
    EXPECT_FALSE(d.LoadButton()->isEnabled());
    d.BoxDblClick();
    EXPECT_TRUE(loads_.empty()) << "a failed conversion opened a document";
}

TEST_F(ExtractDialogTest, OpenReplacesTheListAndKeepsTheLastDescriptionShown) {
    ExtractDialog& d = *dialog_;
    d.OpenFile(Path(Sample()));
    Select(d, 1);
    const QString preview = d.DFM()->text();

    messages_.moduleFiles.push_back(Path(dir_.Write("sub/other.exe", SingleFormModule("Main"))));
    d.OpenButton()->click();

    ASSERT_EQ(messages_.moduleFilters.size(), 1);
    EXPECT_EQ(messages_.moduleFilters[0],
              (QStringList{"Supported files (*.exe *.dll *.ocx *.bpl *.dpl *.cpl)", "Executables (*.exe)",
                           "DLLs (*.dll)", "ActiveX (*.ocx)", "Borland packages (*.bpl *.dpl)",
                           "Control panel applets (*.cpl)", "All files (*)"}));
    EXPECT_EQ(BoxItems(d), (QStringList{"TMain"}));
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Form Resources - [other.exe]"));
    EXPECT_EQ(InfoCaption(d), QString::fromStdU16String(fwtest::SampleDescription));
    EXPECT_EQ(d.Memo()->toPlainText(), QStringLiteral("requires\ncontains"));
    // The preview waits for the next selection; with nothing selected there is nothing
    // to load.
    EXPECT_EQ(d.DFM()->text(), preview);
    d.BoxDblClick();
    EXPECT_TRUE(loads_.empty());

    // A cancelled choice changes nothing.
    messages_.moduleFiles.push_back(QString());
    d.bOpenClick();
    EXPECT_EQ(BoxItems(d), (QStringList{"TMain"}));
}

TEST_F(ExtractDialogTest, AFileWithoutFormsShowsTheLabelOrTheEmptyReport) {
    Bytes dosOnly = BytesOf("MZ");
    dosOnly.resize(0x100, 0);
    const struct {
        const char* name;
        Bytes content;
        const char* headerReport;
    } files[] = {
        {"notes.txt", BytesOf("just text\r\n"), "requires\ncontains"},
        {"dos.exe", dosOnly, "requires\ncontains"},
        {"plain.bpl", FormlessPackage(), "requires\n  rtl\ncontains\n  Plain"},
    };
    for (const bool packageMode : {false, true}) {
        for (const auto& file : files) {
            SCOPED_TRACE(std::string(file.name) + (packageMode ? " in package mode" : ""));
            ExtractDialog d(messages_, {});
            d.SetPackageMode(packageMode);
            d.OpenFile(Path(dir_.Write(file.name, file.content)));
            EXPECT_EQ(d.Box()->count(), 0);
            EXPECT_EQ(d.Panel()->isHidden(), !packageMode);
            EXPECT_EQ(d.Memo()->toPlainText(), QString::fromLatin1(file.headerReport));
        }
    }
    // A path that names no file is the same: an empty reader.
    ExtractDialog d(messages_, {});
    d.OpenFile(dir_.Path().string().c_str() + QStringLiteral("/missing.exe"));
    EXPECT_TRUE(d.Panel()->isHidden());
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Form Resources - [missing.exe]"));
    EXPECT_TRUE(messages_.errors.isEmpty());
}

TEST_F(ExtractDialogTest, PackageModeShowsTheReportPagesOnly) {
    ExtractDialog& d = *dialog_;
    d.SetPackageMode(true);
    d.OpenFile(Path(Sample()));

    EXPECT_EQ(d.windowTitle(), QStringLiteral("Package Information - [sample.bpl]"));
    EXPECT_FALSE(ResourcesPageShown(d));
    EXPECT_EQ(d.PageControl()->currentWidget(), d.InfoPage());
    EXPECT_TRUE(d.LoadButton()->isHidden());
    EXPECT_FALSE(d.Panel()->isHidden());

    const struct {
        int tab;
        const char* report;
    } pages[] = {
        {1, "TGaugeOld\nTSampleButton\nTSample_Panel2"},
        {2, "TABOUT\nTFORM1\nTFORM1"},
        {3, "Options: DesignOnly\nType: Package\nProducer: Delphi 4 or later"},
        {0, "requires\n  rtl\n  vcl\ncontains\n  SampleReg\n  SampleButtons\n  SamplePanels"},
    };
    for (const auto& page : pages) {
        d.ReportTabs()->setCurrentIndex(page.tab);
        EXPECT_EQ(d.Memo()->toPlainText(), QString::fromLatin1(page.report)) << "tab " << page.tab;
        EXPECT_EQ(d.Memo()->textCursor().position(), 0);
    }

    // "Open..." keeps the mode.
    messages_.moduleFiles.push_back(Path(dir_.Write("plain.bpl", FormlessPackage())));
    d.bOpenClick();
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Package Information - [plain.bpl]"));
    EXPECT_EQ(InfoCaption(d), QStringLiteral("Plain runtime"));
    EXPECT_EQ(d.Memo()->toPlainText(), QStringLiteral("requires\n  rtl\ncontains\n  Plain"));
    EXPECT_FALSE(d.Panel()->isHidden());
}

// ---- with the main window ----

class ExtractCommandTest : public testing::Test {
protected:
    void SetUp() override {
        App();
        session_ = std::make_unique<Session>();
        main_ = std::make_unique<MainWindow>(*session_, messages_);
        main_->show();
        Settle();
    }
    void TearDown() override {
        main_.reset();
        Settle();
        EXPECT_TRUE(messages_.errors.isEmpty()) << messages_.errors.join(u'\n').toStdString();
    }

    // Runs a command that shows the dialog modally; `inside` runs on the dialog once it
    // shows, which is then closed. Returns whether a dialog showed.
    bool WithModalDialog(const std::function<void()>& command,
                         const std::function<void(ExtractDialog&)>& inside) {
        bool shown = false;
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            ExtractDialog* dialog = nullptr;
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (auto* extract = qobject_cast<ExtractDialog*>(window); extract && extract->isVisible())
                    dialog = extract;
            }
            if (dialog == nullptr) return;
            poll.stop();
            shown = true;
            inside(*dialog);
            dialog->CloseButton()->click();
        });
        poll.start();
        command();
        poll.stop();
        Settle();
        return shown;
    }

    fwtest::TempDir dir_;
    RecordingMessages messages_;
    std::unique_ptr<Session> session_;
    std::unique_ptr<MainWindow> main_;
};

TEST_F(ExtractCommandTest, ExtractFromExeLoadsFormsAsNewUnnamedDocuments) {
    const std::string path = dir_.Write("sample.exe", fwtest::SampleModule(false).Build().File);
    messages_.moduleFiles.push_back(Path(path));
    const bool shown = WithModalDialog(
        [&] { main_->findChild<QAction*>("mmExtractfromEXE")->trigger(); },
        [&](ExtractDialog& d) {
            EXPECT_FALSE(d.PackageMode());
            EXPECT_EQ(d.parentWidget(), main_.get());
            EXPECT_EQ(d.windowTitle(), QStringLiteral("Form Resources - [sample.exe]"));
            Select(d, 1);
            QTest::mouseClick(d.LoadButton(), Qt::LeftButton);
            // The dialog stays for more loads.
            QListWidget* box = d.Box();
            const QPoint at = box->visualItemRect(box->item(0)).center();
            QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, at);
            QMouseEvent twice(QEvent::MouseButtonDblClick, at, box->viewport()->mapToGlobal(at),
                              Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(box->viewport(), &twice);
            EXPECT_TRUE(d.isVisible());
        });
    ASSERT_TRUE(shown);
    EXPECT_EQ(messages_.moduleFilters.value(0), ExecutableFileFilters());

    const QList<QMdiSubWindow*> windows = main_->MdiArea()->subWindowList(QMdiArea::CreationOrder);
    ASSERT_EQ(windows.size(), 2);
    const struct {
        const char* caption;
        QString text;
    } expected[] = {{"TFORM1", SmallFormText("Form1", "Deutsch")},
                    {"TABOUT", SmallFormText("About", "Hello")}};
    for (int i = 0; i < 2; ++i) {
        auto* document = qobject_cast<DocumentWindow*>(windows[i]);
        ASSERT_NE(document, nullptr);
        EXPECT_EQ(document->windowTitle(), QString::fromLatin1(expected[i].caption));
        EXPECT_EQ(document->Document().TextBytes(), expected[i].text.toLatin1());
        EXPECT_TRUE(document->Document().FileName().isEmpty());
        EXPECT_TRUE(document->Document().Modified());
        EXPECT_EQ(document->ObjectCount(), 1);
        EXPECT_EQ(main_->Tabs()->tabText(i), QString::fromLatin1(expected[i].caption));
        EXPECT_EQ(main_->Tabs()->HintAt(i), QStringLiteral("new"));
        EXPECT_EQ(main_->Tabs()->ImageIndexAt(i), 5);
    }
}

TEST_F(ExtractCommandTest, PackageInformationShowsThePackageReport) {
    messages_.moduleFiles.push_back(Path(dir_.Write("sample.bpl", fwtest::SampleModule(false).Build().File)));
    const bool shown =
        WithModalDialog([&] { main_->findChild<QAction*>("mmPackageInformation")->trigger(); },
                        [&](ExtractDialog& d) {
                            EXPECT_TRUE(d.PackageMode());
                            EXPECT_EQ(d.windowTitle(), QStringLiteral("Package Information - [sample.bpl]"));
                            EXPECT_FALSE(d.LoadButton()->isVisible());
                        });
    ASSERT_TRUE(shown);
    EXPECT_EQ(messages_.moduleFilters.value(0), (QStringList{"Packages (*.bpl *.dpl)", "All files (*)"}));
    EXPECT_TRUE(main_->MdiArea()->subWindowList().isEmpty());
}

TEST_F(ExtractCommandTest, ACancelledFileChoiceShowsNoDialog) {
    EXPECT_EQ(main_->findChild<QAction*>("mmExtractfromEXE")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_E));
    EXPECT_EQ(main_->findChild<QAction*>("mmPackageInformation")->shortcut(),
              QKeySequence(Qt::CTRL | Qt::Key_I));
    for (const char* command : {"mmExtractfromEXE", "mmPackageInformation"}) {
        messages_.moduleFiles.push_back(QString());
        // A dialog that showed would be closed by the poll; none may show at all.
        const bool shown =
            WithModalDialog([&] { main_->findChild<QAction*>(command)->trigger(); }, [](ExtractDialog&) {});
        EXPECT_FALSE(shown) << command;
    }
    EXPECT_EQ(messages_.moduleFilters.size(), 2);
    EXPECT_TRUE(main_->MdiArea()->subWindowList().isEmpty());
}

}  // namespace
}  // namespace fw
