// Edits made in the inspector reach the form text as the smallest change, one undo
// step each, with the preview and the inspector following; and the views refresh on
// their own once typing pauses.

#include <gtest/gtest.h>

#include <Qsci/qsciscintilla.h>
#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <string>

#include "document/documentwindow.h"
#include "document/objectscan.h"
#include "document/objecttreeview.h"
#include "documenttestsupport.h"
#include "formfixtures.h"
#include "preview/oipanel.h"
#include "preview/previewcontext.h"
#include "preview/propertyeditors.h"
#include "runtime/object.h"
#include "runtime/registry.h"

namespace {

using fw::DocumentWindow;
using fw::preview::OIPanel;

const std::string Form =
    "object Form1: TForm1\r\n"
    "  Left = 0\r\n"
    "  Caption = 'Form1'\r\n"
    "  object Button1: TButton\r\n"
    "    Left = 8\r\n"
    "    Top = 8\r\n"
    "    Caption = 'OK'\r\n"
    "    OnClick = Button1Click\r\n"
    "  end\r\n"
    "  object Label1: TLabel\r\n"
    "    Left = 8\r\n"
    "    Top = 40\r\n"
    "    Caption = 'Name'\r\n"
    "    FocusControl = Button1\r\n"
    "  end\r\n"
    "end\r\n";

// The form with one line replaced: the 0-based line, and what it becomes (several
// lines, or none, as needed).
std::string WithLine(int line, const std::string& replacement) {
    std::string text = Form;
    std::size_t start = 0;
    for (int i = 0; i < line; ++i)
        start = text.find("\r\n", start) + 2;
    const std::size_t end = text.find("\r\n", start) + 2;
    return text.replace(start, end - start, replacement);
}

class InspectorEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        fw::test::EnsureApplication();
        document_ = new DocumentWindow(messages_, fw::CodePage::Default(), preview_);
        document_->resize(1000, 700);
        document_->LoadFromLines(QByteArray::fromStdString(Form));
        document_->show();
    }
    void TearDown() override { delete document_.data(); }

    OIPanel* Panel() const { return document_->Inspector(); }
    std::string Text() const { return document_->Document().TextBytes().toStdString(); }
    void Select(const char* name) {
        const int node = document_->Tree()->Nodes().FindNodeByName(name);
        ASSERT_GE(node, 0) << name;
        document_->Tree()->SelectNode(node);
    }
    // Opens the editor of a row of the inspected object and commits the typed text.
    void Type(QTreeWidget* tree, const char* path, const QString& typed) {
        QTreeWidgetItem* item = OIPanel::FindItem(tree, QString::fromUtf8(path));
        ASSERT_NE(item, nullptr) << path;
        ASSERT_TRUE(Panel()->BeginEdit(item)) << path;
        fw::preview::ValueEditor* editor = Panel()->ActiveEditor();
        ASSERT_NE(editor->Line(), nullptr) << path;
        editor->Line()->setText(typed);
        QTest::keyClick(editor->Line(), Qt::Key_Return);
    }
    std::string Live(const char* object, const char* property) const {
        const fw::rt::Object* form = document_->PreviewForm();
        if (!form) return "no preview";
        const fw::rt::Object* found = form->FindOwnedComponent(object);
        if (!found) return "no object";
        const fw::rt::Property* p = found->FindProperty(property);
        if (!p) return "no property";
        const auto* text = std::get_if<std::string>(&found->Get(*p));
        return text ? *text : "not a string";
    }

    fw::preview::PreviewContext preview_;
    fw::test::RecordingMessages messages_;
    QPointer<DocumentWindow> document_;
};

TEST_F(InspectorEditTest, AnEditChangesItsLineOnlyAsOneUndoStep) {
    const struct {
        const char* Object;
        bool Events;
        const char* Path;
        const char* Typed;
        std::string Expected;
    } cases[] = {
        {"Button1", false, "Caption", "Gr\u00fc\u00dfe", WithLine(6, "    Caption = 'Gr'#252#223'e'\r\n")},
        {"Button1", false, "Left", "16", WithLine(4, "    Left = 16\r\n")},
        // A quote is written as a code, as the writer writes it.
        {"Label1", false, "Caption", "it's", WithLine(12, "    Caption = 'it'#39's'\r\n")},
        {"Button1", true, "OnClick", "", WithLine(7, "")},
        {"Button1", true, "OnClick", "OkClick", WithLine(7, "    OnClick = OkClick\r\n")},
        // A new name is the header's, and the label's reference follows it.
        {"Button1", false, "Name", "OkButton",
         WithLine(13, "    FocusControl = OkButton\r\n").replace(Form.find("Button1:"), 7, "OkButton")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Object) + "." + c.Path);
        Select(c.Object);
        Panel()->PageControl()->setCurrentIndex(c.Events ? OIPanel::EventsPage : OIPanel::PropertiesPage);
        Type(c.Events ? Panel()->EventTree() : Panel()->PropertyTree(), c.Path, QString::fromUtf8(c.Typed));
        EXPECT_EQ(Text(), c.Expected);
        EXPECT_TRUE(messages_.Errors.isEmpty()) << messages_.Errors.join(' ').toStdString();
        // The object stays inspected, the row current.
        ASSERT_NE(document_->InspectedObject(), nullptr);
        EXPECT_EQ(document_->InspectedObject()->Name(), std::string(c.Path) == "Name" ? c.Typed : c.Object);
        EXPECT_EQ(Panel()->CurrentPath(), QString::fromUtf8(c.Path));
        document_->cmUndo();
        EXPECT_EQ(Text(), Form);
    }
}

// Objects without a name of their own, and items of a collection, are edited by their
// place: "Form1.#1" for the second unnamed label, "Panels[1]." on the status bar.
TEST_F(InspectorEditTest, UnnamedObjectsAndCollectionItemsAreEditedByTheirPlace) {
    const std::string form =
        "object Form1: TForm1\r\n"
        "  object TLabel\r\n"
        "    Caption = 'First'\r\n"
        "  end\r\n"
        "  object TLabel\r\n"
        "    Caption = 'Second'\r\n"
        "  end\r\n"
        "  object StatusBar1: TStatusBar\r\n"
        "    Panels = <\r\n"
        "      item\r\n"
        "        Width = 50\r\n"
        "      end\r\n"
        "      item\r\n"
        "        Width = 60\r\n"
        "      end>\r\n"
        "  end\r\n"
        "end\r\n";
    document_->LoadFromLines(QByteArray::fromStdString(form));
    const fw::Hierarchy& nodes = document_->Tree()->Nodes();
    ASSERT_GE(nodes.ObjectCount(), 6);

    document_->Tree()->SelectNode(2);
    EXPECT_EQ(Panel()->EditObjectPath(), QStringLiteral("Form1.#1"));
    Type(Panel()->PropertyTree(), "Caption", QStringLiteral("Two"));
    std::string expected = form;
    expected.replace(expected.find("'Second'"), 8, "'Two'");
    EXPECT_EQ(Text(), expected);

    int item = -1;
    for (int i = 0; i < nodes.ObjectCount(); ++i)
        if (nodes.Nodes[static_cast<std::size_t>(i)].Kind == fw::NodeKind::Item) item = i;
    ASSERT_GE(item, 0);
    document_->Tree()->SelectNode(item);
    EXPECT_EQ(Panel()->EditObjectPath(), QStringLiteral("StatusBar1"));
    Type(Panel()->PropertyTree(), "Width", QStringLiteral("70"));
    expected.replace(expected.find("Width = 60"), 10, "Width = 70");
    EXPECT_EQ(Text(), expected);
    EXPECT_TRUE(messages_.Errors.isEmpty()) << messages_.Errors.join(' ').toStdString();
}

// Saved, an edited file keeps its encoding, line breaks and code page: only the edited
// value differs from the file as it was.
TEST_F(InspectorEditTest, ASavedEditChangesOnlyTheValueInEveryEncoding) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const fw::test::OpenCase& c : fw::test::OpenCases()) {
        const std::string name = c.Name;
        const bool text = c.Encoding == fw::FormEncoding::Text;
        if (!c.Content.contains("'OK'") && text) continue;
        if (!text && name.starts_with("utf8")) continue;
        SCOPED_TRACE(name);
        const QString path = dir.filePath(QString::fromLatin1(c.Name));
        fw::test::WriteAll(path, c.Content);
        delete document_.data();
        document_ = new DocumentWindow(messages_, fw::CodePage::Default(), preview_);
        document_->OpenDocumentFile(path);
        Select("Button1");
        Type(Panel()->PropertyTree(), "Caption", QStringLiteral("Gr\u00fc\u00dfe"));
        document_->Document().Save();
        EXPECT_EQ(document_->Document().Encoding(), c.Encoding);
        const QByteArray original = text ? c.Content : fw::test::Bytes(fw::test::SmallForm);
        QByteArray expected = original;
        expected.replace("Caption = 'OK'", "Caption = 'Gr'#252#223'e'");
        EXPECT_EQ(fw::test::ReadAll(path), text ? expected : fw::test::Convert(expected, c.Encoding));
    }
    EXPECT_TRUE(messages_.Errors.isEmpty()) << messages_.Errors.join(' ').toStdString();
}

TEST_F(InspectorEditTest, ThePreviewAndTheInspectorShowTheNewValue) {
    Select("Button1");
    Type(Panel()->PropertyTree(), "Caption", QStringLiteral("Cancel"));
    EXPECT_EQ(Live("Button1", "Caption"), "Cancel");
    QTreeWidgetItem* row = OIPanel::FindItem(Panel()->PropertyTree(), QStringLiteral("Caption"));
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->text(OIPanel::ValueColumn), QStringLiteral("Cancel"));
}

TEST_F(InspectorEditTest, AFontDialogsSeveralValuesAreOneUndoStep) {
    Select("Label1");
    fw::preview::EditorDialogs dialogs;
    dialogs.AskFont = [](const QFont& initial) -> std::optional<QFont> {
        QFont font = initial;
        font.setBold(true);
        font.setPointSize(12);
        return font;
    };
    Panel()->SetDialogs(std::move(dialogs));
    QTreeWidgetItem* item = OIPanel::FindItem(Panel()->PropertyTree(), QStringLiteral("Font"));
    ASSERT_NE(item, nullptr);
    ASSERT_TRUE(Panel()->BeginEdit(item));
    Panel()->ActiveEditor()->OpenDialog();
    EXPECT_TRUE(messages_.Errors.isEmpty()) << messages_.Errors.join(' ').toStdString();
    const std::string text = Text();
    EXPECT_NE(text.find("    Font.Height = -16\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("    Font.Style = [fsBold]\r\n"), std::string::npos) << text;
    document_->cmUndo();
    EXPECT_EQ(Text(), Form);
}

TEST_F(InspectorEditTest, ARefusedEditChangesNothingAndSaysWhy) {
    Select("Button1");
    // The object is renamed by typing, and edited in the inspector before the views
    // have followed: the edit names an object the text no longer has.
    document_->Editor()->setCursorPosition(3, 16);
    document_->Editor()->insert(QStringLiteral("X"));
    QApplication::processEvents();
    const std::string typed = Text();
    ASSERT_NE(typed.find("object Button1X: TButton"), std::string::npos);
    Type(Panel()->PropertyTree(), "Left", QStringLiteral("20"));
    EXPECT_EQ(Text(), typed);
    EXPECT_EQ(messages_.Errors.size(), 1);

    // A name another object has.
    document_->cmRescan();
    Select("Label1");
    Type(Panel()->PropertyTree(), "Name", QStringLiteral("Form1"));
    EXPECT_EQ(Text(), typed);
    EXPECT_EQ(messages_.Errors.size(), 2);
}

TEST_F(InspectorEditTest, ViewsRefreshOnTheirOwnOnceTypingPauses) {
    document_->SetLiveRefreshDelay(20);
    EXPECT_FALSE(document_->LiveRefreshPending());
    // "    Caption = 'OK'" on line 6: typed into, between the quotes.
    document_->Editor()->setCursorPosition(6, 17);
    document_->Editor()->insert(QStringLiteral("!"));
    EXPECT_TRUE(document_->LiveRefreshPending());
    EXPECT_GE(document_->LiveRefreshInterval(), 20);
    EXPECT_EQ(Live("Button1", "Caption"), "OK");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !document_->LiveRefreshPending(); }, 5000));
    EXPECT_EQ(Live("Button1", "Caption"), "OK!");
    // The caret stays where the typing was, and the tree follows it.
    int line = 0, index = 0;
    document_->Editor()->getCursorPosition(&line, &index);
    EXPECT_EQ(line, 6);
    EXPECT_EQ(index, 17);
    ASSERT_NE(document_->InspectedObject(), nullptr);
    EXPECT_EQ(document_->InspectedObject()->Name(), "Button1");

    // A text that does not convert refreshes the messages and leaves the caret too.
    document_->Editor()->insertAt(QStringLiteral("  Left = \r\n"), 2, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !document_->LiveRefreshPending(); }, 5000));
    EXPECT_FALSE(document_->PreviewMessages().empty());
    document_->Editor()->getCursorPosition(&line, &index);
    EXPECT_EQ(line, 7);

    // Rescan refreshes at once: nothing is left pending.
    document_->Editor()->insert(QStringLiteral(" "));
    EXPECT_TRUE(document_->LiveRefreshPending());
    document_->cmRescan();
    EXPECT_FALSE(document_->LiveRefreshPending());
}

}  // namespace
