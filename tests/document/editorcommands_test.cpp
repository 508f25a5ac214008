// The source editor's commands in a document window: the status refresh and the caret
// line, the tree following the caret, find, replace and find next, goto source, the
// popup menu's enabling, the keys kept from the editor, and Load and Paste Data.

#include <Qsci/qsciscintilla.h>
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMenu>
#include <QPointer>
#include <QTabBar>
#include <QTest>
#include <optional>
#include <string>
#include <vector>

#include "document/documentwindow.h"
#include "document/findreplacedialog.h"
#include "documenttestsupport.h"
#include "preview/previewcontext.h"

namespace {

using fw::DocumentWindow;
using fw::test::RecordingMessages;

// Line 0 is blank, so the caret can stand above the first object.
constexpr const char* NestedForm =
    "\r\n"                                 // 0
    "object Form1: TForm1\r\n"             // 1
    "  Left = 8\r\n"                       // 2
    "  inherited Panel2: TPanel\r\n"       // 3
    "    Caption = 'my object: here'\r\n"  // 4
    "    object Button1: TButton\r\n"      // 5
    "      Caption = 'OK'\r\n"             // 6
    "    end\r\n"                          // 7
    "  end\r\n"                            // 8
    "end\r\n";                             // 9

class EditorCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        fw::test::EnsureApplication();
        ASSERT_TRUE(dir_.isValid());
    }
    void TearDown() override {
        for (const QPointer<DocumentWindow>& document : documents_)
            delete document.data();
    }
    DocumentWindow* NewDocument(const QByteArray& text) {
        auto* document = new DocumentWindow(messages_, fw::CodePage::Default(), preview_);
        documents_.push_back(document);
        document->LoadFromLines(text);
        return document;
    }
    static QString Panel1(DocumentWindow* document) { return document->PanelText(1); }
    static std::pair<int, int> Caret(DocumentWindow* document) {
        int line = -1, index = -1;
        document->Editor()->getCursorPosition(&line, &index);
        return {line, index};
    }
    static QString SelectedNode(DocumentWindow* document) {
        const QList<QTreeWidgetItem*> selected = document->Tree()->selectedItems();
        return selected.isEmpty() ? QString() : selected.first()->text(0);
    }

    QTemporaryDir dir_;
    // Outlives the documents, as the session does.
    fw::preview::PreviewContext preview_;
    RecordingMessages messages_;
    std::vector<QPointer<DocumentWindow>> documents_;
};

// ---- status refresh ----

TEST_F(EditorCommandsTest, CaretPanelFollowsTheCaret) {
    QByteArray text;
    for (int i = 0; i < 15; ++i)
        text += "ABCDEFGH\r\n";
    DocumentWindow* document = NewDocument(text);
    QsciScintilla* editor = document->Editor();

    editor->setCursorPosition(11, 4);  // column 5 of line 12, on the letter E
    EXPECT_TRUE(Panel1(document).startsWith(QStringLiteral("Col: 5  Ln: 12  Chr: 69(45h)")))
        << Panel1(document).toStdString();
    editor->setCursorPosition(2, 0);
    EXPECT_EQ(Panel1(document), QStringLiteral("Col: 1  Ln: 3  Chr: 65(41h)  Cnt: 16  Sel: 0"));
    editor->setCursorPosition(2, 8);
    EXPECT_EQ(Panel1(document), QStringLiteral("Col: 9  Ln: 3  Chr: 0(0h)  Cnt: 16  Sel: 0"));
    EXPECT_EQ(document->LastCaretLineIndex(), 2);
}

TEST_F(EditorCommandsTest, SelectionCountsEveryLineBreakAsTwo) {
    // Lines of 3 and 4 characters with the break between them: 3 + 2 + 4, whatever
    // break the text holds.
    for (const char* lineBreak : {"\r\n", "\n", "\r"}) {
        SCOPED_TRACE(std::string(lineBreak) == "\r\n" ? "CR LF"
                     : std::string(lineBreak) == "\n" ? "LF"
                                                      : "CR");
        const QByteArray text = QByteArray("abc") + lineBreak + "defg" + lineBreak + "xy";
        DocumentWindow* document = NewDocument(text);
        document->Editor()->setSelection(0, 0, 1, 4);
        EXPECT_TRUE(Panel1(document).endsWith(QStringLiteral("Sel: 9"))) << Panel1(document).toStdString();
    }
}

TEST_F(EditorCommandsTest, CharacterCodeIsTheCodePageByteInEightBitText) {
    struct Case {
        QByteArray Text;
        const char* Chr;
    } cases[] = {
        {QByteArray("x = '\x80'\r\n"), "Chr: 128(80h)"},  // the euro sign in Windows-1252
        {QByteArray("\xEF\xBB\xBFx = '\xE2\x82\xAC'\r\n"), "Chr: 8364(20ACh)"},  // the same in UTF-8 text
        {QByteArray("x = '\xE9'\r\n"), "Chr: 233(E9h)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Chr);
        DocumentWindow* document = NewDocument(c.Text);
        document->Editor()->setCursorPosition(0, 5);
        EXPECT_TRUE(Panel1(document).contains(QString::fromLatin1(c.Chr))) << Panel1(document).toStdString();
    }
}

TEST_F(EditorCommandsTest, ActivationRefreshesEveryPanelAndShowsTheCaretLine) {
    DocumentWindow* document = new DocumentWindow(messages_, fw::CodePage::Default(), preview_);
    documents_.push_back(document);
    QsciScintilla* editor = document->Editor();
    EXPECT_EQ(document->LastCaretLineIndex(), -1);
    EXPECT_FALSE(editor->SendScintilla(QsciScintillaBase::SCI_GETCARETLINEVISIBLE));

    QMdiArea area;
    area.addSubWindow(document);
    area.show();
    document->show();
    area.setActiveSubWindow(document);
    EXPECT_EQ(document->PanelText(1), QStringLiteral("Col: 1  Ln: 1  Chr: 0(0h)  Cnt: 1  Sel: 0"));
    EXPECT_EQ(document->PanelText(3), QStringLiteral("Insert"));
    EXPECT_EQ(document->LastCaretLineIndex(), 0);
    EXPECT_TRUE(editor->SendScintilla(QsciScintillaBase::SCI_GETCARETLINEVISIBLE));
    // Scintilla holds colours as 0xBBGGRR: red and green full, that is yellow.
    EXPECT_EQ(editor->SendScintilla(QsciScintillaBase::SCI_GETCARETLINEBACK), 0x00FFFF);

    // The Insert key toggles overwrite mode, and the panel follows.
    QTest::keyClick(editor, Qt::Key_Insert);
    EXPECT_TRUE(editor->overwriteMode());
    EXPECT_EQ(document->PanelText(3), QStringLiteral("Overwrite"));
    QTest::keyClick(editor, Qt::Key_Insert);
    EXPECT_EQ(document->PanelText(3), QStringLiteral("Insert"));

    // A typed character refreshes the modified panel and the Edit menu, once the key
    // has been handled.
    QTest::keyClick(editor, Qt::Key_X);
    QCoreApplication::processEvents();
    EXPECT_EQ(document->PanelText(2), QStringLiteral("Modified"));
    EXPECT_EQ(document->PanelText(1), QStringLiteral("Col: 2  Ln: 1  Chr: 0(0h)  Cnt: 1  Sel: 0"));
    EXPECT_TRUE(document->EditMenu()->actions().first()->isEnabled()) << "Undo";
}

// ---- the tree follows the caret ----

TEST_F(EditorCommandsTest, TreeSelectsTheObjectHoldingTheCaret) {
    DocumentWindow* document = NewDocument(NestedForm);
    QsciScintilla* editor = document->Editor();
    struct Case {
        int Line;
        const char* Node;
    } cases[] = {
        {1, "Form1 (1)"},   // the root's header line
        {2, "Form1 (1)"},   // a property line: the header above decides
        {3, "Panel2 (1)"},  // an indented "inherited" header
        {4, "Panel2 (1)"},  // "object" inside a value is no header
        {5, "Button1"},     //
        {8, "Button1"},     // "end" lines belong to the last header above
        {0, ""},            // above the first object: nothing is selected
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Line);
        editor->setCursorPosition(9, 2);
        document->Tree()->clearSelection();
        editor->setCursorPosition(c.Line, 0);
        EXPECT_EQ(SelectedNode(document), QString::fromLatin1(c.Node));
    }
}

// ---- find, replace, find next ----

TEST_F(EditorCommandsTest, FindWithAnEmptyTextReportsNothingFound) {
    DocumentWindow* document = NewDocument(NestedForm);
    document->ReplaceDialog()->SetFindText({});
    document->rdFind();
    EXPECT_EQ(messages_.Informations, QStringList{QStringLiteral("Text not found.")});
    document->cmFindnext();
    EXPECT_EQ(messages_.Informations.size(), 2);
}

TEST_F(EditorCommandsTest, FindHonoursDirectionCaseAndWholeWord) {
    DocumentWindow* document = NewDocument("ab abc AB ab\r\n");
    QsciScintilla* editor = document->Editor();
    fw::FindReplaceDialog* rd = document->ReplaceDialog();
    auto findFrom = [&](int index) {
        editor->setCursorPosition(0, index);
        document->rdFind();
        int l1, i1, l2, i2;
        editor->getSelection(&l1, &i1, &l2, &i2);
        return messages_.Informations.isEmpty() ? std::make_pair(i1, i2) : std::make_pair(-1, -1);
    };
    struct Case {
        bool Down, MatchCase, WholeWord;
        int From;
        std::pair<int, int> Match;
    } cases[] = {
        {true, false, false, 1, {3, 5}},      // "ab" inside "abc"
        {true, false, true, 1, {7, 9}},       // whole word skips "abc", case does not count
        {true, true, true, 1, {10, 12}},      // both skip "abc" and "AB"
        {false, false, false, 12, {10, 12}},  // upwards from the end
        {false, true, false, 10, {3, 5}},     // upwards, "AB" skipped by case
        {true, true, true, 11, {-1, -1}},     // nothing after the last one
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.From);
        messages_.Informations.clear();
        rd->SetFindText(QStringLiteral("ab"));
        rd->SetDown(c.Down);
        rd->SetMatchCase(c.MatchCase);
        rd->SetWholeWord(c.WholeWord);
        EXPECT_EQ(findFrom(c.From), c.Match);
    }
    // Repeated finds move on, in either direction, without finding the same match.
    rd->SetMatchCase(false);
    rd->SetWholeWord(false);
    rd->SetDown(false);
    messages_.Informations.clear();
    editor->setCursorPosition(0, 12);
    std::vector<int> starts;
    for (int i = 0; i < 4; ++i) {
        document->rdFind();
        int l1, i1, l2, i2;
        editor->getSelection(&l1, &i1, &l2, &i2);
        starts.push_back(i1);
    }
    EXPECT_EQ(starts, (std::vector<int>{10, 7, 3, 0}));
    EXPECT_TRUE(messages_.Informations.isEmpty());
}

TEST_F(EditorCommandsTest, FindNextAfterABackwardSearchGoesDown) {
    DocumentWindow* document = NewDocument("Caption\r\nCaption\r\nCaption\r\n");
    QsciScintilla* editor = document->Editor();
    fw::FindReplaceDialog* rd = document->ReplaceDialog();
    editor->setCursorPosition(1, 3);
    document->cmReplace();
    EXPECT_EQ(rd->FindText(), QStringLiteral("Caption")) << "the identifier at the caret";
    rd->SetDown(false);
    document->rdFind();
    // Upwards from inside the second word: the first one, which ends above the caret.
    EXPECT_EQ(Caret(document), std::make_pair(0, 0));

    document->cmFindnext();
    EXPECT_TRUE(rd->Down());
    EXPECT_EQ(Caret(document), std::make_pair(1, 7)) << "the match below the one found";
    document->rdFind();
    EXPECT_EQ(Caret(document), std::make_pair(2, 7)) << "the dialog keeps the direction Down";
    EXPECT_TRUE(messages_.Informations.isEmpty());
    rd->hide();

    // Off an identifier the find text is empty.
    editor->setCursorPosition(3, 0);
    document->cmReplace();
    EXPECT_EQ(rd->FindText(), QString());
    rd->hide();
}

TEST_F(EditorCommandsTest, ReplaceTakesTheSelectedMatchAndReplaceAllTheRest) {
    DocumentWindow* document = NewDocument("a1 a2 a3 a4\r\n");
    QsciScintilla* editor = document->Editor();
    fw::FindReplaceDialog* rd = document->ReplaceDialog();
    rd->SetFindText(QStringLiteral("a"));
    rd->SetReplaceText(QStringLiteral("bb"));
    editor->setCursorPosition(0, 1);
    document->rdFind();  // selects the "a" of a2
    document->rdReplace(false);
    EXPECT_EQ(document->Document().TextBytes(), QByteArray("a1 bb2 a3 a4\r\n"))
        << "the selected match is the one replaced";
    document->rdReplace(true);
    EXPECT_EQ(document->Document().TextBytes(), QByteArray("a1 bb2 bb3 bb4\r\n")) << "from the caret on";
    document->cmUndo();
    EXPECT_EQ(document->Document().TextBytes(), QByteArray("a1 bb2 a3 a4\r\n"))
        << "Replace All is one undo step";

    editor->setCursorPosition(0, 11);
    rd->SetFindText(QStringLiteral("zz"));
    document->rdReplace(true);
    EXPECT_EQ(messages_.Informations, QStringList{QStringLiteral("Text not found.")});
    EXPECT_EQ(document->Document().TextBytes(), QByteArray("a1 bb2 a3 a4\r\n"));
}

// ---- goto source ----

TEST_F(EditorCommandsTest, GotoSelectsTheDeclarationOrLeavesTheCaretAtTheStart) {
    DocumentWindow* document = NewDocument(
        "object Form1: TForm1\r\n"
        "  object Grid: TDBGrid\r\n"
        "    Columns = <\r\n"
        "      item\r\n"
        "      end>\r\n"
        "  end\r\n"
        "end\r\n");
    fw::ObjectTreeView* tree = document->Tree();
    QsciScintilla* editor = document->Editor();
    document->TabSet()->setCurrentIndex(1);

    tree->FocusNode(tree->Nodes().FindNodeByName("grid"));
    document->cmGoto();
    EXPECT_EQ(editor->selectedText(), QStringLiteral("Grid: TDBGrid"));
    EXPECT_EQ(Caret(document).first, 1);
    EXPECT_EQ(document->TabSet()->currentIndex(), 0);

    // "0 - item: TCollectionItem" is nowhere in the text.
    editor->setCursorPosition(5, 2);
    tree->FocusNode(3);
    document->cmGoto();
    EXPECT_EQ(Caret(document), std::make_pair(0, 0));
    EXPECT_FALSE(editor->hasSelectedText());
    EXPECT_TRUE(messages_.Informations.isEmpty());

    // Without a focused node nothing moves.
    editor->setCursorPosition(5, 2);
    document->Tree()->setCurrentItem(nullptr);
    document->cmGoto();
    EXPECT_EQ(Caret(document), std::make_pair(5, 2));
}

// An object without a name is found at its own line, not at the first "...: TLabel".
TEST_F(EditorCommandsTest, GotoFindsAnObjectWithoutANameAtItsLine) {
    DocumentWindow* document = NewDocument(
        "object Form1: TForm1\r\n"
        "  object Label1: TLabel\r\n"
        "  end\r\n"
        "  object TLabel\r\n"
        "  end\r\n"
        "end\r\n");
    fw::ObjectTreeView* tree = document->Tree();
    QsciScintilla* editor = document->Editor();
    const auto& nodes = tree->Nodes().Nodes;
    int unnamed = -1;
    for (std::size_t i = 0; i < nodes.size(); ++i)
        if (nodes[i].Name.empty() && nodes[i].Kind == fw::NodeKind::Component) unnamed = static_cast<int>(i);
    ASSERT_GE(unnamed, 0);
    tree->FocusNode(unnamed);
    document->cmGoto();
    EXPECT_EQ(Caret(document).first, 3);
    EXPECT_EQ(editor->selectedText(), QStringLiteral("object TLabel"));

    // Once the line no longer opens an unnamed object, no other object is taken for it.
    editor->setCursorPosition(4, 2);
    editor->setSelection(3, 0, 3, 15);
    editor->replaceSelectedText(QStringLiteral("  // gone"));
    tree->FocusNode(unnamed);
    document->cmGoto();
    EXPECT_EQ(Caret(document), std::make_pair(0, 0));
    EXPECT_FALSE(editor->hasSelectedText());
}

// Goto source and Go to line leave the line they go to in the middle of the view, not
// at its edge.
TEST_F(EditorCommandsTest, GotoSourceAndGoToLineCentreTheLine) {
    QByteArray text = "object Form1: TForm1\r\n";
    for (int i = 0; i < 200; ++i)
        text += "  Tag = " + QByteArray::number(i) + "\r\n";
    text += "  object Far: TButton\r\n  end\r\n";  // line 201
    for (int i = 0; i < 200; ++i)
        text += "  Tag = " + QByteArray::number(i) + "\r\n";
    text += "end\r\n";
    DocumentWindow* document = NewDocument(text);
    document->resize(900, 600);
    document->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(document));
    QsciScintilla* editor = document->Editor();
    const auto centre = [editor] {
        return editor->firstVisibleLine() +
               static_cast<int>(editor->SendScintilla(QsciScintillaBase::SCI_LINESONSCREEN)) / 2;
    };
    ASSERT_GT(editor->SendScintilla(QsciScintillaBase::SCI_LINESONSCREEN), 10);

    fw::ObjectTreeView* tree = document->Tree();
    tree->FocusNode(tree->Nodes().FindNodeByName("far"));
    document->cmGoto();
    EXPECT_EQ(Caret(document).first, 201);
    EXPECT_NEAR(centre(), 201, 1);

    const int lineCount = editor->lines();
    const struct {
        const char* what;
        std::optional<int> answer;
        int line;  // where the caret ends, 0-based
    } cases[] = {
        {"a line", 120, 119},
        {"past the end", 100000, lineCount - 1},
        {"cancelled", std::nullopt, lineCount - 1},
        {"the first", 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const int offered = Caret(document).first + 1;
        messages_.LineNumberQuestions.clear();
        messages_.LineNumbers = {c.answer};
        document->cmGotoLine();
        EXPECT_EQ(messages_.LineNumberQuestions, (std::vector<std::pair<int, int>>{{offered, lineCount}}));
        EXPECT_EQ(Caret(document), std::make_pair(c.line, 0));
        if (c.line > 20 && c.line < lineCount - 20) EXPECT_NEAR(centre(), c.line, 1);
    }
    EXPECT_EQ(editor->firstVisibleLine(), 0);
}

// ---- popup menu and keys ----

TEST_F(EditorCommandsTest, PopupMenuItemsAndTheirEnabling) {
    DocumentWindow* document = NewDocument("object A: TA\r\nend\r\n");
    QsciScintilla* editor = document->Editor();
    QMenu* popup = document->EditorPopupMenu();
    std::vector<std::pair<QString, QString>> items;
    for (QAction* action : popup->actions())
        items.emplace_back(action->isSeparator() ? QStringLiteral("-") : action->text(),
                           action->shortcut().toString(QKeySequence::PortableText));
    EXPECT_EQ(items, (std::vector<std::pair<QString, QString>>{{"Undo", "Alt+Backspace"},
                                                               {"-", ""},
                                                               {"Copy", "Ctrl+Ins"},
                                                               {"Cut", "Shift+Del"},
                                                               {"Paste", "Shift+Ins"},
                                                               {"-", ""},
                                                               {"Find and Replace...", "Ctrl+F"},
                                                               {"Find next", "F3"},
                                                               {"-", ""},
                                                               {"Preview Form", "Ctrl+P"},
                                                               {"-", ""},
                                                               {"Load and Paste Data...", ""}}));
    auto enabled = [&](int index) {
        document->EditMenuPopup();
        return popup->actions()[index]->isEnabled();
    };
    QGuiApplication::clipboard()->clear();
    editor->setCursorPosition(0, 1);
    EXPECT_FALSE(enabled(0));  // nothing to undo
    EXPECT_FALSE(enabled(2));  // Copy without a selection
    EXPECT_FALSE(enabled(3));
    EXPECT_FALSE(enabled(4));  // Paste with an empty clipboard
    EXPECT_TRUE(enabled(9));   // Preview Form
    editor->setSelection(0, 7, 0, 8);
    EXPECT_TRUE(enabled(2));
    EXPECT_TRUE(enabled(3));
    document->cmCopy();
    EXPECT_TRUE(enabled(4));
    document->cmPaste();
    EXPECT_TRUE(enabled(0));
}

TEST_F(EditorCommandsTest, RemovedKeysDoNotReachTheEditor) {
    DocumentWindow* document = NewDocument("object A: TA\r\nend\r\n");
    QsciScintilla* editor = document->Editor();
    const QByteArray before = document->Document().TextBytes();
    const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {
        {Qt::Key_Backspace, Qt::ShiftModifier},
        {Qt::Key_Return, Qt::ShiftModifier},
        {Qt::Key_Enter, Qt::ShiftModifier},
        {Qt::Key_Tab, Qt::NoModifier},
        {Qt::Key_Backtab, Qt::ShiftModifier},
        {Qt::Key_F1, Qt::NoModifier},
        {Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier},
        {Qt::Key_L, Qt::ControlModifier},
    };
    for (const auto& [key, modifiers] : keys) {
        SCOPED_TRACE(QKeySequence(QKeyCombination(modifiers, key)).toString().toStdString());
        editor->setCursorPosition(0, 8);
        QTest::keyClick(editor, key, modifiers);
        EXPECT_EQ(document->Document().TextBytes(), before);
        EXPECT_EQ(Caret(document), std::make_pair(0, 8));
    }
    // The same keys without the modifier still work.
    QTest::keyClick(editor, Qt::Key_Backspace);
    EXPECT_EQ(document->Document().TextBytes(), QByteArray("object : TA\r\nend\r\n"));
}

// ---- load and paste data ----

TEST_F(EditorCommandsTest, LoadAndPasteDataPastesHexLines) {
    QByteArray forty;
    for (int i = 0; i < 40; ++i)
        forty.append(static_cast<char>(i * 7));
    const QString fortyPath = dir_.filePath(QStringLiteral("forty.bin"));
    const QString emptyPath = dir_.filePath(QStringLiteral("empty.bin"));
    fw::test::WriteAll(fortyPath, forty);
    fw::test::WriteAll(emptyPath, {});
    QByteArray hex = forty.toHex().toUpper();
    const QByteArray expected = hex.left(64) + "\r\n" + hex.mid(64) + "\r\n\r\n";
    ASSERT_EQ(hex.mid(64).size(), 16);

    DocumentWindow* document = NewDocument("  Data = {\r\n  }\r\n");
    QsciScintilla* editor = document->Editor();
    editor->setSelection(1, 0, 1, 2);  // the two blanks, replaced
    messages_.OpenDataFiles = {fortyPath};
    document->cmLoadData();
    EXPECT_EQ(document->Document().TextBytes(), "  Data = {\r\n" + expected + "}\r\n");
    EXPECT_EQ(QGuiApplication::clipboard()->text().toLatin1(), expected) << "the clipboard keeps the text";

    DocumentWindow* empty = NewDocument("x\r\n");
    empty->Editor()->setCursorPosition(0, 1);
    messages_.OpenDataFiles = {emptyPath};
    empty->cmLoadData();
    EXPECT_EQ(empty->Document().TextBytes(), QByteArray("x\r\n\r\n"));
    EXPECT_TRUE(messages_.Errors.isEmpty());
}

TEST_F(EditorCommandsTest, LoadAndPasteDataOfAnUnreadableFileChangesNothing) {
    DocumentWindow* document = NewDocument("object A: TA\r\nend\r\n");
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    messages_.OpenDataFiles = {dir_.filePath(QStringLiteral("missing.bin")), QString()};
    document->cmLoadData();
    ASSERT_EQ(messages_.Errors.size(), 1);
    EXPECT_TRUE(messages_.Errors.first().startsWith(QStringLiteral("Cannot open file")))
        << messages_.Errors.first().toStdString();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
    EXPECT_EQ(document->Document().TextBytes(), QByteArray("object A: TA\r\nend\r\n"));
    // Cancelled: nothing happens, nothing is reported.
    document->cmLoadData();
    EXPECT_EQ(messages_.Errors.size(), 1);
    EXPECT_EQ(document->Document().TextBytes(), QByteArray("object A: TA\r\nend\r\n"));
}

}  // namespace
