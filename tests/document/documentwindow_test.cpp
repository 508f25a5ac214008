// The document window: opening each encoding and saving it back unchanged, the backup
// rule, Save As, failed saves that leave the file alone, loads that fail, the close
// prompt, the modified state, the menus and their shortcuts, and the editor commands.

#include "document/documentwindow.h"
#include "preview/previewcontext.h"

#include <Qsci/qscilexer.h>
#include <Qsci/qsciscintilla.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QFontInfo>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/errors.h"
#include "codec/conversion.h"
#include "document/formtext.h"
#include "documenttestsupport.h"
#include "formfixtures.h"

namespace {

using fw::DocumentWindow;
using fw::FormEncoding;
using fw::test::Bytes;
using fw::test::ReadAll;
using fw::test::RecordingMessages;
using fw::test::WriteAll;
using Answer = fw::UserMessages::Answer;

using fw::test::Convert;
using fw::test::SmallForm;
using fw::test::Utf8Form;
using fw::test::WithBreaks;

QsciScintilla::EolMode EolModeOf(fw::LineBreak breaks) {
    switch (breaks) {
        case fw::LineBreak::Cr:
            return QsciScintilla::EolMac;
        case fw::LineBreak::Lf:
            return QsciScintilla::EolUnix;
        case fw::LineBreak::CrLf:
            break;
    }
    return QsciScintilla::EolWindows;
}

class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        fw::test::EnsureApplication();
        ASSERT_TRUE(dir_.isValid());
    }
    void TearDown() override {
        for (const QPointer<DocumentWindow>& document : documents_)
            delete document.data();
    }

    DocumentWindow* NewDocument(const fw::CodePage& codePage = fw::CodePage::Default()) {
        auto* document = new DocumentWindow(messages_, codePage, preview_);
        documents_.push_back(document);
        return document;
    }
    QString Path(const QString& name) const { return dir_.filePath(name); }
    DocumentWindow* Open(const QString& name, const QByteArray& bytes,
                         const fw::CodePage& codePage = fw::CodePage::Default()) {
        WriteAll(Path(name), bytes);
        DocumentWindow* document = NewDocument(codePage);
        document->OpenDocumentFile(Path(name));
        return document;
    }
    // Names of the files in the test folder, to see that a failed save left nothing behind.
    QStringList Files() const {
        return QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }
    // Runs the deferred deletion of closed windows.
    static void DeleteClosed() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    static void Type(DocumentWindow* document, const QString& text, int line = 0) {
        document->Editor()->insertAt(text, line, 0);
    }

    QTemporaryDir dir_;
    // Outlives the documents, as the session does.
    fw::preview::PreviewContext preview_;
    RecordingMessages messages_;
    std::vector<QPointer<DocumentWindow>> documents_;
};

// ---- opening and saving unchanged ----

TEST_F(DocumentTest, UnchangedSaveIsByteIdenticalInEveryEncoding) {
    for (const fw::test::OpenCase& c : fw::test::OpenCases()) {
        SCOPED_TRACE(c.Name);
        DocumentWindow* document = Open(c.Name, c.Content);
        EXPECT_EQ(document->Document().Encoding(), c.Encoding);
        EXPECT_EQ(document->Document().FileName(), Path(c.Name));
        EXPECT_EQ(document->windowTitle(), QString::fromLatin1(c.Name));
        EXPECT_FALSE(document->Document().Modified());
        EXPECT_EQ(document->PanelText(2), QString());
        EXPECT_EQ(document->PanelText(4), Path(c.Name));
        EXPECT_TRUE(document->Document().LoadError().isEmpty())
            << document->Document().LoadError().toStdString();
        EXPECT_EQ(document->Editor()->eolMode(), EolModeOf(c.Breaks));
        EXPECT_FALSE(document->CanUndo()) << "loading is no undo step";

        document->Document().Save();
        EXPECT_EQ(ReadAll(Path(c.Name)), c.Content);
        EXPECT_EQ(ReadAll(fw::BackupPath(Path(c.Name))), c.Content);
        EXPECT_FALSE(document->Document().Modified());
    }
    EXPECT_TRUE(messages_.Errors.isEmpty()) << messages_.Errors.join('\n').toStdString();
}

// The status bar names the code page and where it came from, and follows a reopen.
TEST_F(DocumentTest, StatusBarShowsTheCodePage) {
    DocumentWindow* document = Open("gbk.dfm", fw::test::GbkForm());
    EXPECT_TRUE(document->Editor()->text().contains(QStringLiteral("Caption = '中文'")));
    const QLabel* label = document->StatusBar()->findChild<QLabel*>(QStringLiteral("codePage"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QStringLiteral("CP 936 (declared)"));
    EXPECT_TRUE(document->Document().ReopenWithCodePage(fw::CodePage::Default()));
    EXPECT_TRUE(document->Editor()->text().contains(QStringLiteral("Caption = 'ÖÐÎÄ'")));
    EXPECT_EQ(label->text(), QStringLiteral("CP 1252 (option)"));
}

// A break typed into the text follows the file's own convention.
TEST_F(DocumentTest, TypedLineBreakFollowsTheFile) {
    const std::map<std::string, QByteArray> expected = {
        {"\r\n", "\r\n"}, {"\n", "\n"}, {"\r", "\r"}, {"mixed", "\r\n"}};
    for (const auto& [breaks, typed] : expected) {
        SCOPED_TRACE(breaks);
        const QByteArray content =
            breaks == "mixed" ? QByteArray("object A: TA\nend\r") : WithBreaks(SmallForm, breaks.c_str());
        DocumentWindow* document = Open("f.dfm", content);
        document->Editor()->SendScintilla(QsciScintillaBase::SCI_DOCUMENTSTART);
        document->Editor()->SendScintilla(QsciScintillaBase::SCI_NEWLINE);
        EXPECT_EQ(document->Document().TextBytes(), typed + content);
    }
    DocumentWindow* fresh = NewDocument();
    fresh->LoadFromLines({});
    fresh->Editor()->SendScintilla(QsciScintillaBase::SCI_NEWLINE);
    EXPECT_EQ(fresh->Document().TextBytes(), QByteArray("\r\n"));
}

// ---- saving ----

TEST_F(DocumentTest, SaveKeepsTheOldFileAsBackupReplacingAnOldBackup) {
    for (const QString name : {QStringLiteral("Form1.dfm"), QStringLiteral("Form1")}) {
        SCOPED_TRACE(name.toStdString());
        const QString backup = Path(name == "Form1" ? "Form1.~" : "Form1.~dfm");
        WriteAll(backup, "an older backup");
        DocumentWindow* document = Open(name, Bytes(SmallForm));
        Type(document, QStringLiteral("{ edited }\r\n"));
        ASSERT_TRUE(document->Document().Modified());
        document->Document().Save();
        EXPECT_EQ(ReadAll(backup), Bytes(SmallForm));
        EXPECT_EQ(ReadAll(Path(name)), "{ edited }\r\n" + Bytes(SmallForm));
        EXPECT_FALSE(document->Document().Modified());
        EXPECT_EQ(document->PanelText(2), QString());
    }
}

TEST_F(DocumentTest, SaveAsWritesACopyAndKeepsTheDocumentAsItWas) {
    const QByteArray binary = Convert(Bytes(SmallForm), FormEncoding::Binary);
    const struct {
        FormEncoding Type;
        QByteArray Start;
    } cases[] = {
        {FormEncoding::Text, "object Form1: TForm1\r\n"},
        {FormEncoding::Binary, "TPF0"},
        {FormEncoding::Resource, QByteArray("\xFF\x0A\x00", 3)},
    };
    DocumentWindow* document = Open("Form1.dfm", binary);
    document->Editor()->insertAt(QStringLiteral("1"), 1, 9);  // Left = 110
    const QByteArray edited = document->Document().TextBytes();
    for (const auto& c : cases) {
        SCOPED_TRACE(fw::FormEncodingName(c.Type));
        const QString copy = Path(QStringLiteral("copy-%1.dfm").arg(fw::FormEncodingName(c.Type)));
        messages_.SaveTypes = {c.Type};
        messages_.SavePaths = {copy};
        document->Document().SaveAs();
        const QByteArray written = ReadAll(copy);
        EXPECT_TRUE(written.startsWith(c.Start));
        EXPECT_EQ(Convert(written, FormEncoding::Binary), Convert(edited, FormEncoding::Binary));
        EXPECT_FALSE(QFileInfo::exists(fw::BackupPath(copy)));

        EXPECT_EQ(document->Document().FileName(), Path("Form1.dfm"));
        EXPECT_EQ(document->Document().Encoding(), FormEncoding::Binary);
        EXPECT_EQ(document->windowTitle(), QStringLiteral("Form1.dfm"));
        EXPECT_TRUE(document->Document().Modified());
        EXPECT_EQ(document->PanelText(2), QStringLiteral("Modified"));
    }
    EXPECT_EQ(ReadAll(Path("Form1.dfm")), binary);
    // Each time the dialogs start at the document's own encoding, folder and name.
    EXPECT_EQ(messages_.SaveTypePreselections, std::vector<FormEncoding>(3, FormEncoding::Binary));
    EXPECT_EQ(messages_.SavePathProposals, QStringList(3, Path("Form1.dfm")));

    // A later Save still writes binary to the file the document came from.
    document->Document().Save();
    EXPECT_EQ(ReadAll(Path("Form1.dfm")), Convert(edited, FormEncoding::Binary));
}

TEST_F(DocumentTest, UnnamedDocumentSaveRunsSaveAs) {
    DocumentWindow* document = NewDocument();
    document->LoadFromLines(Bytes(SmallForm));
    messages_.SaveTypes = {FormEncoding::Resource};
    messages_.SavePaths = {Path("new.dfm")};
    document->Document().Save();
    EXPECT_EQ(ReadAll(Path("new.dfm")), Convert(Bytes(SmallForm), FormEncoding::Resource));
    EXPECT_TRUE(document->Document().FileName().isEmpty());
    EXPECT_TRUE(document->Document().Modified());
    // Without a file the caption proposes the name.
    EXPECT_EQ(messages_.SaveTypePreselections, std::vector<FormEncoding>{FormEncoding::Text});
    EXPECT_EQ(messages_.SavePathProposals, QStringList("Untitled.dfm"));
}

TEST_F(DocumentTest, RunGuardedShowsTheErrorAndReportsFailure) {
    EXPECT_TRUE(fw::RunGuarded(messages_, [] {}));
    EXPECT_FALSE(fw::RunGuarded(messages_, [] { throw fw::EParserError("Bad on line 4", 4); }));
    EXPECT_FALSE(fw::RunGuarded(messages_, [] { throw std::runtime_error("plain"); }));
    EXPECT_EQ(messages_.Errors, QStringList({"Bad on line 4", "plain"}));
}

// ---- loads that fail ----

// A file that does not convert leaves the editor empty, at its save point and with no
// undo step, whatever the conversion had put in before it failed.
TEST_F(DocumentTest, UnconvertibleFileLeavesTheEditorEmpty) {
    const QByteArray binary = Convert(Bytes(SmallForm), FormEncoding::Binary);
    DocumentWindow* document = Open("truncated.dfm", binary.left(binary.size() - 5));
    ASSERT_EQ(messages_.Errors.size(), 1);
    EXPECT_TRUE(document->Editor()->text().isEmpty());
    EXPECT_FALSE(document->Document().Modified());
    EXPECT_FALSE(document->CanUndo());
    EXPECT_EQ(document->PanelText(2), QString());
}

// ---- the close prompt ----

TEST_F(DocumentTest, ClosePromptYesWritesANamedDocumentWithoutBackup) {
    const QByteArray binary = Convert(Bytes(SmallForm), FormEncoding::Binary);
    QPointer<DocumentWindow> document = Open("Form1.dfm", binary);
    Type(document, QStringLiteral("  "), 1);
    const QByteArray edited = document->Document().TextBytes();
    messages_.ChoiceAnswers = {Answer::Yes};
    EXPECT_TRUE(document->close());
    EXPECT_EQ(messages_.Confirms, QStringList("Save changes to file " + Path("Form1.dfm") + "?"));
    EXPECT_EQ(ReadAll(Path("Form1.dfm")), Convert(edited, FormEncoding::Binary));
    EXPECT_FALSE(QFileInfo::exists(Path("Form1.~dfm")));
    DeleteClosed();
    EXPECT_TRUE(document.isNull()) << "a closed document is destroyed";
}

TEST_F(DocumentTest, ClosePromptNoDiscardsAndUnmodifiedAsksNothing) {
    DocumentWindow* edited = Open("Form1.dfm", Bytes(SmallForm));
    Type(edited, QStringLiteral("x"));
    messages_.ChoiceAnswers = {Answer::No};
    EXPECT_TRUE(edited->close());
    EXPECT_EQ(ReadAll(Path("Form1.dfm")), Bytes(SmallForm));

    messages_.Confirms.clear();
    EXPECT_TRUE(Open("Form2.dfm", Bytes(SmallForm))->close());
    EXPECT_TRUE(messages_.Confirms.isEmpty());
}

TEST_F(DocumentTest, ClosePromptForAnUnnamedDocumentNamesItAndRunsSaveAs) {
    DocumentWindow* saved = NewDocument();
    saved->setWindowTitle(QStringLiteral("TFRAMEDEMO"));
    saved->LoadFromLines(Bytes(SmallForm));
    messages_.ChoiceAnswers = {Answer::Yes};
    messages_.SaveTypes = {FormEncoding::Binary};
    messages_.SavePaths = {Path("saved.dfm")};
    EXPECT_TRUE(saved->close());
    EXPECT_EQ(messages_.Confirms, QStringList("Save changes to the unnamed document TFRAMEDEMO?"));
    EXPECT_EQ(ReadAll(Path("saved.dfm")), Convert(Bytes(SmallForm), FormEncoding::Binary));
}

// Cancel anywhere on the way to a saved file keeps the document open with its text.
TEST_F(DocumentTest, ClosePromptCancelAnywhereKeepsTheDocumentOpen) {
    const struct {
        const char* what;
        Answer answer;
        std::deque<std::optional<FormEncoding>> types;
        std::deque<QString> paths;
    } cases[] = {
        {"Cancel in the prompt", Answer::Cancel, {}, {}},
        {"Yes, then Cancel in the save-type dialog", Answer::Yes, {std::nullopt}, {}},
        {"Yes, then Cancel in the file dialog", Answer::Yes, {FormEncoding::Text}, {QString()}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QPointer<DocumentWindow> unnamed = NewDocument();
        unnamed->LoadFromLines(Bytes(SmallForm));
        const QByteArray text = unnamed->Document().TextBytes();
        messages_.ChoiceAnswers = {c.answer};
        messages_.SaveTypes = c.types;
        messages_.SavePaths = c.paths;
        EXPECT_FALSE(unnamed->close());
        DeleteClosed();
        ASSERT_FALSE(unnamed.isNull());
        EXPECT_EQ(unnamed->Document().TextBytes(), text);
        EXPECT_TRUE(unnamed->Document().Modified());
    }
    // A named document's Cancel writes nothing and stays open as well.
    QPointer<DocumentWindow> named = Open("Form1.dfm", Bytes(SmallForm));
    Type(named, QStringLiteral("x"));
    messages_.ChoiceAnswers = {Answer::Cancel};
    EXPECT_FALSE(named->close());
    DeleteClosed();
    ASSERT_FALSE(named.isNull());
    EXPECT_EQ(ReadAll(Path("Form1.dfm")), Bytes(SmallForm));
}

TEST_F(DocumentTest, ClosePromptWriteErrorKeepsTheWindowOpen) {
    const QByteArray binary = Convert(Bytes(SmallForm), FormEncoding::Binary);
    QPointer<DocumentWindow> document = Open("Form1.dfm", binary);
    document->Editor()->insertAt(QStringLiteral("= "), 2, 9);
    messages_.ChoiceAnswers = {Answer::Yes};
    EXPECT_FALSE(document->close());
    ASSERT_EQ(messages_.Errors.size(), 1);
    EXPECT_TRUE(messages_.Errors[0].contains("line 3")) << messages_.Errors[0].toStdString();
    EXPECT_EQ(ReadAll(Path("Form1.dfm")), binary);
    DeleteClosed();
    ASSERT_FALSE(document.isNull());
    EXPECT_TRUE(document->Document().Modified());

    // An unsavable character in an unnamed document's Save As is kept open as well.
    DocumentWindow* unnamed = NewDocument();
    unnamed->LoadFromLines("object A: TA\r\nend\r\n");
    Type(unnamed, QStringLiteral("Ж"));
    messages_.ChoiceAnswers = {Answer::Yes};
    messages_.SaveTypes = {FormEncoding::Text};
    messages_.SavePaths = {Path("unnamed.dfm")};
    EXPECT_FALSE(unnamed->close());
    EXPECT_FALSE(QFileInfo::exists(Path("unnamed.dfm")));
}

TEST_F(DocumentTest, ClosePromptAsksBeforeReplacingAFileThatDidNotLoad) {
    const QByteArray corrupt("TPF0\x05junk", 9);
    DocumentWindow* document = Open("Form1.dfm", corrupt);
    Type(document, QString::fromLatin1(SmallForm.data(), SmallForm.size()));
    messages_.ChoiceAnswers = {Answer::Yes};
    messages_.ConfirmAnswers = {false};
    EXPECT_FALSE(document->close());
    EXPECT_EQ(ReadAll(Path("Form1.dfm")), corrupt);
}

// ---- modified state ----

TEST_F(DocumentTest, ModifiedFollowsTheEditor) {
    DocumentWindow* document = Open("Form1.dfm", Bytes(SmallForm));
    std::vector<bool> changes;
    QObject::connect(&document->Document(), &fw::FormDocument::ModifiedChanged,
                     [&](bool modified) { changes.push_back(modified); });
    int texts = 0;
    QObject::connect(&document->Document(), &fw::FormDocument::TextChanged, [&] { ++texts; });
    Type(document, QStringLiteral("x"));
    Type(document, QStringLiteral("y"));
    EXPECT_EQ(texts, 2) << "each edit in the editor changes the document's text";
    EXPECT_TRUE(document->Document().Modified());
    EXPECT_EQ(document->PanelText(2), QStringLiteral("Modified"));
    EXPECT_TRUE(document->CanUndo());
    document->cmUndo();
    document->cmUndo();
    EXPECT_FALSE(document->Document().Modified());
    EXPECT_EQ(document->PanelText(2), QString());
    EXPECT_EQ(changes, (std::vector<bool>{true, false}));
}

TEST_F(DocumentTest, LoadFromLinesGivesAModifiedUnnamedDocument) {
    DocumentWindow* document = NewDocument();
    document->LoadFromLines(WithBreaks(SmallForm, "\n"));
    EXPECT_TRUE(document->Document().Modified());
    EXPECT_EQ(document->PanelText(2), QStringLiteral("Modified"));
    EXPECT_TRUE(document->Document().FileName().isEmpty());
    EXPECT_EQ(document->Document().Encoding(), FormEncoding::Text);
    EXPECT_EQ(document->windowTitle(), QStringLiteral("Untitled"));
    EXPECT_EQ(document->Document().TextBytes(), WithBreaks(SmallForm, "\n"));
    EXPECT_FALSE(document->CanUndo()) << "the text handed over is no undo step";
    // Text that was never saved stays modified after an edit is undone.
    Type(document, QStringLiteral("x"));
    document->cmUndo();
    EXPECT_TRUE(document->Document().Modified());

    DocumentWindow* empty = NewDocument();
    empty->LoadFromLines({});
    EXPECT_FALSE(empty->Document().Modified());
    EXPECT_TRUE(empty->Document().TextBytes().isEmpty());
}

// ---- window, menus and commands ----

TEST_F(DocumentTest, NewWindowLayout) {
    DocumentWindow* document = NewDocument();
    const QStringList initial = {"Object count: 0", "Col: 1   Ln: 1   Cnt: ?  Sel: 0   Chr: 00 (00h)",
                                 "Modified", "Overwrite", ""};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(document->PanelText(i), initial[i]) << "panel " << i;

    // Activation refreshes the modified, insert and file-name panels.
    QMdiArea area;
    area.addSubWindow(document);
    area.show();
    document->show();
    area.setActiveSubWindow(document);
    EXPECT_TRUE(document->isMaximized());
    EXPECT_EQ(document->windowTitle(), QStringLiteral("Untitled"));
    EXPECT_EQ(document->PanelText(2), QString());
    EXPECT_EQ(document->PanelText(3), QStringLiteral("Insert"));

    EXPECT_EQ(document->Tree()->objectName(), QStringLiteral("Tree"));
    EXPECT_EQ(document->Tree()->headerItem()->text(0), QStringLiteral("Object name"));
    EXPECT_EQ(document->Tree()->headerItem()->text(1), QStringLiteral("Class Name"));
    ASSERT_EQ(document->TabSet()->count(), 2);
    EXPECT_EQ(document->TabSet()->tabText(0), QStringLiteral(" Source Editor "));
    EXPECT_EQ(document->TabSet()->tabText(1), QStringLiteral(" Form Preview "));
    EXPECT_EQ(document->Notebook()->widget(0)->objectName(), QStringLiteral("Source"));
    EXPECT_TRUE(document->Notebook()->widget(0)->isAncestorOf(document->Editor()));
    EXPECT_EQ(document->Notebook()->widget(1)->objectName(), QStringLiteral("Form"));
    EXPECT_EQ(document->TabSet()->currentIndex(), 0);
    EXPECT_EQ(document->Notebook()->currentIndex(), 0);

    QsciScintilla* editor = document->Editor();
    EXPECT_EQ(editor->objectName(), QStringLiteral("DFM"));
    EXPECT_TRUE(editor->isUtf8());
    EXPECT_EQ(editor->marginType(0), QsciScintilla::NumberMargin);
    EXPECT_GT(editor->marginWidth(0), 0);
    EXPECT_EQ(editor->lexer()->defaultFont(0).pointSize(), 10);
    EXPECT_TRUE(QFontInfo(editor->lexer()->defaultFont(0)).fixedPitch());

    // The gutter widens when the line numbers get more digits.
    const int narrow = editor->marginWidth(0);
    document->LoadFromLines(QByteArray(100000, '\n'));
    EXPECT_GT(editor->marginWidth(0), narrow);
}

std::vector<std::pair<QString, QString>> MenuItems(QMenu* menu) {
    std::vector<std::pair<QString, QString>> items;
    for (QAction* action : menu->actions())
        items.emplace_back(action->isSeparator() ? QStringLiteral("-") : action->text(),
                           action->shortcut().toString(QKeySequence::PortableText));
    return items;
}

TEST_F(DocumentTest, MenusHoldTheDocumentCommands) {
    DocumentWindow* document = NewDocument();
    EXPECT_EQ(document->EditMenu()->title(), QStringLiteral("&Edit"));
    EXPECT_EQ(document->DataMenu()->title(), QStringLiteral("&Data"));
    using Items = std::vector<std::pair<QString, QString>>;
    EXPECT_EQ(MenuItems(document->EditMenu()), (Items{{"&Undo", "Alt+Backspace"},
                                                      {"-", ""},
                                                      {"Copy", ""},
                                                      {"Cut", ""},
                                                      {"Paste", ""},
                                                      {"-", ""},
                                                      {"&Find and Replace...", "Ctrl+F"},
                                                      {"Find &next", "F3"},
                                                      {"-", ""},
                                                      {"&Goto source", "Ctrl+Return"},
                                                      {"Go to &line...", "Ctrl+L"},
                                                      {"Show &decoded string", "Ctrl+Shift+D"},
                                                      {"-", ""},
                                                      {"Full e&xpand", "Ctrl+PgDown"},
                                                      {"Full &collapse", "Ctrl+PgUp"},
                                                      {"-", ""},
                                                      {"Reopen with code page...", ""},
                                                      {"Save with code page...", ""}}));
    EXPECT_EQ(MenuItems(document->DataMenu()), (Items{{"&Form Preview", "F12"},
                                                      {"&Rescan objects", "Ctrl+R"},
                                                      {"-", ""},
                                                      {"Save Form Image...", ""},
                                                      {"Load and Paste Data...", ""}}));
}

QAction* ActionWithShortcut(DocumentWindow* document, const QKeySequence& key) {
    for (QMenu* menu : {document->EditMenu(), document->DataMenu()})
        for (QAction* action : menu->actions())
            if (action->shortcuts().contains(key)) return action;
    return nullptr;
}

// With two documents open, a shortcut reaches the document whose menus the main window
// shows, and the editor keeps none of these keys for itself.
TEST_F(DocumentTest, ShortcutsReachOnlyTheActiveDocument) {
    QMainWindow main;
    main.menuBar();  // created before the window is shown, as a main window does
    auto* area = new QMdiArea;
    main.setCentralWidget(area);
    DocumentWindow* first = NewDocument();
    DocumentWindow* second = NewDocument();
    area->addSubWindow(first);
    area->addSubWindow(second);
    first->show();
    second->show();
    main.show();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));

    auto showMenusOf = [&](DocumentWindow* document) {
        main.menuBar()->clear();
        main.menuBar()->addMenu(document->EditMenu());
        main.menuBar()->addMenu(document->DataMenu());
        area->setActiveSubWindow(document);
        document->Editor()->setFocus();
    };
    const std::vector<QKeySequence> keys = {
        QKeySequence(Qt::CTRL | Qt::Key_R),        QKeySequence(Qt::Key_F12),
        QKeySequence(Qt::CTRL | Qt::Key_F),        QKeySequence(Qt::Key_F3),
        QKeySequence(Qt::CTRL | Qt::Key_Return),   QKeySequence(Qt::CTRL | Qt::Key_Enter),
        QKeySequence(Qt::CTRL | Qt::Key_PageDown), QKeySequence(Qt::CTRL | Qt::Key_PageUp),
        QKeySequence(Qt::CTRL | Qt::Key_L)};
    messages_.LineNumbers = {std::nullopt, std::nullopt};  // Go to line, cancelled
    for (DocumentWindow* active : {second, first}) {
        showMenusOf(active);
        for (const QKeySequence& key : keys) {
            SCOPED_TRACE(key.toString().toStdString());
            std::map<DocumentWindow*, int> fired;
            std::vector<QMetaObject::Connection> connections;
            for (DocumentWindow* document : {first, second}) {
                QAction* action = ActionWithShortcut(document, key);
                ASSERT_NE(action, nullptr);
                connections.push_back(
                    QObject::connect(action, &QAction::triggered, [&fired, document] { ++fired[document]; }));
            }
            QTest::keyClick(main.focusWidget() ? main.focusWidget() : &main, key[0].key(),
                            key[0].keyboardModifiers());
            EXPECT_EQ(fired[active], 1);
            EXPECT_EQ(fired[active == first ? second : first], 0);
            for (const auto& connection : connections)
                QObject::disconnect(connection);
        }
    }
    main.menuBar()->clear();
}

TEST_F(DocumentTest, ClipboardAndUndoCommands) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    DocumentWindow* document = NewDocument();
    document->LoadFromLines("object A: TA\r\nend\r\n");
    QsciScintilla* editor = document->Editor();

    EXPECT_FALSE(document->HasSelection());
    editor->setSelection(0, 7, 0, 8);  // "A"
    EXPECT_TRUE(document->HasSelection());
    document->cmCopy();
    EXPECT_EQ(clipboard->text(), QStringLiteral("A"));
    document->cmCut();
    EXPECT_EQ(document->Document().TextBytes(), QByteArray("object : TA\r\nend\r\n"));
    EXPECT_TRUE(document->CanUndo());
    document->cmUndo();
    EXPECT_EQ(document->Document().TextBytes(), QByteArray("object A: TA\r\nend\r\n"));

    clipboard->setText(QStringLiteral("Form1"));
    EXPECT_TRUE(document->CanPaste());
    editor->setSelection(0, 7, 0, 8);
    document->cmPaste();
    EXPECT_EQ(document->Document().TextBytes(), QByteArray("object Form1: TA\r\nend\r\n"));

    clipboard->clear();
    EXPECT_FALSE(document->CanPaste());
    clipboard->setText(QStringLiteral("x"));
    editor->setReadOnly(true);
    EXPECT_FALSE(document->CanPaste());
    EXPECT_FALSE(document->CanUndo());
    editor->setSelection(0, 7, 0, 12);
    document->cmCut();
    EXPECT_EQ(document->Document().TextBytes(), QByteArray("object Form1: TA\r\nend\r\n"));
}

// ---- real files ----

// Every form of the corpus opens and saves back unchanged: text files byte for byte
// through the editor, binary ones to exactly what the converters give for their text.
TEST_F(DocumentTest, CorpusFormsSaveBackUnchanged) {
    const QDir forms(QStringLiteral(FW_CORPUS_DIR "/forms"));
    if (!forms.exists()) GTEST_SKIP() << "corpus not found at " FW_CORPUS_DIR "/forms";
    int files = 0, identical = 0;
    for (const QString folder : {QStringLiteral("text"), QStringLiteral("binary"), QStringLiteral("lfm")}) {
        const QDir dir(forms.filePath(folder));
        for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
            SCOPED_TRACE((folder + "/" + name).toStdString());
            const QByteArray original = ReadAll(dir.filePath(name));
            messages_.Errors.clear();
            DocumentWindow* document = Open(QStringLiteral("form.dfm"), original);
            if (!document->Document().LoadError().isEmpty()) {
                // A damaged binary file the codec rejects as well.
                EXPECT_THROW(Convert(original, FormEncoding::Text), fw::Exception);
                delete document;
                continue;
            }
            document->Document().Save();
            const QByteArray saved = ReadAll(Path(QStringLiteral("form.dfm")));
            if (document->Document().Encoding() == FormEncoding::Text) {
                EXPECT_EQ(saved, original);
            } else {
                // Through the code page the document chose, as a form may declare its own.
                const fw::CodePage& codePage = document->Document().TextCodePage();
                EXPECT_EQ(saved, Convert(Convert(original, FormEncoding::Text, codePage),
                                         document->Document().Encoding(), codePage));
            }
            identical += saved == original;
            ++files;
            delete document;
        }
    }
    EXPECT_GT(files, 500);
    std::cout << "[ corpus   ] " << identical << " of " << files << " forms saved back byte for byte\n";
}

}  // namespace

// The decoded-string command shows the characters a string's #codes stand for and
// leaves the text as it is.
TEST_F(DocumentTest, ShowDecodedStringLeavesTheTextAlone) {
    DocumentWindow* document =
        Open("codes.dfm",
             Bytes("object Form1: TForm1\r\n  Caption = #12510#12473#12479\r\n  Left = 1\r\nend\r\n"));
    const QString before = document->Editor()->text();
    document->Editor()->setCursorPosition(1, 4);
    EXPECT_EQ(document->DecodedStringAtCaret(), QStringLiteral("'マスタ'"));
    document->cmShowDecodedString();
    EXPECT_EQ(document->Editor()->text(), before);
    EXPECT_FALSE(document->Document().Modified());
    document->Editor()->setCursorPosition(2, 4);
    EXPECT_TRUE(document->DecodedStringAtCaret().isNull());
}
