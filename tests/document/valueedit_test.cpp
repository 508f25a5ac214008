// An edit that only writes values does not read the whole text again: the tree and the
// message list keep their rows with the lines moved, and the preview and inspector take
// the new values. What it leaves must be what a full rescan of the edited text gives,
// in every encoding the editor holds differently from the file, as one undo step.

#include <gtest/gtest.h>

#include <Qsci/qsciscintilla.h>
#include <QApplication>
#include <QPointer>
#include <QTreeWidget>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "document/documentwindow.h"
#include "document/objectscan.h"
#include "document/objecttreeview.h"
#include "documenttestsupport.h"
#include "edit/formedit.h"
#include "preview/oipanel.h"
#include "preview/previewcontext.h"
#include "runtime/object.h"

namespace {

using fw::DocumentWindow;
using fw::preview::OIPanel;

// Form1's caption holds "\xFC" and "\xDF": as 8-bit text they are one byte each, in the
// editor two, so an offset taken from the file's bytes is wrong there. Label1's Foo is
// a property TLabel does not have: its message leads to the line after the edits.
std::string Form(const std::string& umlauts) {
    return "object Form1: TForm1\r\n"
           "  Left = 0\r\n"
           "  Caption = 'Gr" +
           umlauts +
           "e'\r\n"
           "  object Memo1: TMemo\r\n"
           "    Left = 8\r\n"
           "    Lines.Strings = (\r\n"
           "      'one'\r\n"
           "      'two')\r\n"
           "  end\r\n"
           "  object Button1: TButton\r\n"
           "    Left = 8\r\n"
           "    Top = 8\r\n"
           "    Caption = 'OK'\r\n"
           "  end\r\n"
           "  object Label1: TLabel\r\n"
           "    Left = 8\r\n"
           "    Top = 40\r\n"
           "    Foo = 1\r\n"
           "    Caption = 'Name'\r\n"
           "  end\r\n"
           "end\r\n";
}

// What the views show: the tree's names and lines, the message list's rows, the
// inspector's rows of the inspected object, and live values of the preview.
struct Views {
    std::vector<std::pair<std::string, int>> Tree;
    std::vector<QStringList> Messages;
    std::vector<QStringList> Inspector;
    std::vector<std::string> Live;
};

Views ViewsOf(const DocumentWindow& document) {
    Views views;
    for (const fw::ObjectNode& node : document.Tree()->Nodes().Nodes)
        views.Tree.emplace_back(node.Name, node.Line);
    const QTreeWidget* messages = document.MessageList();
    for (int i = 0; i < messages->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = messages->topLevelItem(i);
        views.Messages.push_back({item->text(0), item->text(1), item->text(2)});
    }
    const QTreeWidget* rows = document.Inspector()->PropertyTree();
    for (int i = 0; i < rows->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = rows->topLevelItem(i);
        views.Inspector.push_back({item->text(0), item->text(OIPanel::ValueColumn)});
    }
    const fw::rt::Object* form = document.PreviewForm();
    for (const char* name : {"Memo1", "Button1", "Label1"}) {
        const fw::rt::Object* object = form ? form->FindOwnedComponent(name) : nullptr;
        for (const char* property : {"Left", "Width"}) {
            const fw::rt::Property* p = object ? object->FindProperty(property) : nullptr;
            const auto* value = p ? std::get_if<std::int64_t>(&object->Get(*p)) : nullptr;
            views.Live.push_back(value ? std::to_string(*value) : "none");
        }
    }
    return views;
}

void ExpectSameViews(const Views& fast, const Views& full) {
    EXPECT_EQ(fast.Tree, full.Tree);
    EXPECT_EQ(fast.Messages, full.Messages);
    EXPECT_EQ(fast.Inspector, full.Inspector);
    EXPECT_EQ(fast.Live, full.Live);
}

TEST(ValueEdit, LeavesTheViewsAFullRescanWouldAndIsOneUndoStep) {
    fw::test::EnsureApplication();
    const std::string utf8Mark = "\xEF\xBB\xBF";
    const struct {
        const char* Encoding;
        std::string Text;
    } texts[] = {
        {"ASCII", Form("'#252#223'")},
        {"8-bit", Form("\xFC\xDF")},
        {"UTF-8", utf8Mark + Form("\xC3\xBC\xC3\x9F")},
    };
    const struct {
        const char* Name;
        const char* Object;
        const char* Property;
        const char* Value;  // nullptr: the property removed
        int LinesAdded;
    } edits[] = {
        {"a value replaced", "Button1", "Left", "24", 0},
        {"a line inserted", "Button1", "Width", "100", 1},
        {"a line removed", "Memo1", "Left", nullptr, -1},
        {"a list replaced by a longer one", "Memo1", "Lines.Strings", "(\r\n  'one'\r\n  'two'\r\n  'three')",
         1},
        {"a list replaced by a shorter one", "Memo1", "Lines.Strings", "(\r\n  'one')", -1},
    };
    for (const auto& text : texts) {
        for (const auto& e : edits) {
            SCOPED_TRACE(std::string(text.Encoding) + ": " + e.Name);
            fw::preview::PreviewContext preview;
            fw::test::RecordingMessages messages;
            QPointer<DocumentWindow> document =
                new DocumentWindow(messages, fw::CodePage::Default(), preview);
            document->resize(1000, 700);
            document->LoadFromLines(QByteArray::fromStdString(text.Text));
            document->show();
            const std::string before = document->Document().TextBytes().toStdString();
            ASSERT_EQ(before, text.Text);
            ASSERT_EQ(document->MessageList()->topLevelItemCount(), 1);
            const int label = document->Tree()->Nodes().FindNodeByName("Label1");
            document->Tree()->SelectNode(label);
            const int lines = document->Editor()->lines();
            // The caret on Label1's line stays on it (a rescan would put it at the top).
            const int caretLine = document->Tree()->Nodes().Nodes[static_cast<std::size_t>(label)].Line;
            document->Editor()->setCursorPosition(caretLine, 2);

            fw::edit::EditResult made;
            ASSERT_TRUE(document->EditForm([&](const fw::edit::FormEditor& editor) {
                made = e.Value ? editor.SetProperty(e.Object, e.Property, e.Value)
                               : editor.RemoveProperty(e.Object, e.Property);
                return made;
            }));
            ASSERT_FALSE(made.Structural);
            ASSERT_FALSE(made.Properties.empty());
            EXPECT_TRUE(messages.Errors.isEmpty()) << messages.Errors.join(' ').toStdString();
            EXPECT_EQ(document->Editor()->lines(), lines + e.LinesAdded);
            int line = -1, column = -1;
            document->Editor()->getCursorPosition(&line, &column);
            EXPECT_EQ(line, caretLine + e.LinesAdded);
            const std::string edited = document->Document().TextBytes().toStdString();
            EXPECT_EQ(edited, fw::edit::ApplyEdits(before, made.Edits));
            const Views fast = ViewsOf(*document);
            // The tree keeps its rows and the selected one.
            EXPECT_EQ(document->Tree()->selectedItems().size(), 1);
            EXPECT_EQ(document->Tree()->selectedItems().value(0), document->Tree()->ItemOfNode(label));

            document->cmRescan();
            document->Tree()->SelectNode(document->Tree()->Nodes().FindNodeByName("Label1"));
            EXPECT_EQ(document->Document().TextBytes().toStdString(), edited);
            ExpectSameViews(fast, ViewsOf(*document));

            document->cmUndo();
            EXPECT_EQ(document->Document().TextBytes().toStdString(), before);
            delete document.data();
        }
    }
}

}  // namespace
