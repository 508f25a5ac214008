// Editing on the preview: a drag, a key and Delete on the designer surface become the
// smallest edits of the form text, one undo step each, with the same objects selected
// afterwards; and the merging of several edits into one.

#include <gtest/gtest.h>

#include <Qsci/qsciscintilla.h>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QTabBar>
#include <QTreeWidget>
#include <string>
#include <string_view>
#include <vector>

#include "document/designedits.h"
#include "document/documentwindow.h"
#include "documenttestsupport.h"
#include "preview/designoverlay.h"
#include "preview/previewcontext.h"
#include "preview/virtualdesktop.h"
#include "runtime/object.h"

namespace {

using fw::DocumentWindow;
using fw::edit::EditResult;
using fw::edit::TextEdit;

constexpr const char* DesignedForm =
    "object Form1: TForm1\r\n"
    "  Left = 0\r\n"
    "  Top = 0\r\n"
    "  Caption = 'Form1'\r\n"
    "  ClientHeight = 200\r\n"
    "  ClientWidth = 300\r\n"
    "  object Panel1: TPanel\r\n"
    "    Left = 100\r\n"
    "    Top = 50\r\n"
    "    Width = 150\r\n"
    "    Height = 100\r\n"
    "    TabOrder = 1\r\n"
    "    object Label1: TLabel\r\n"
    "      Left = 10\r\n"
    "      Top = 10\r\n"
    "      Width = 40\r\n"
    "      Height = 13\r\n"
    "      AutoSize = False\r\n"
    "      Caption = 'Label1'\r\n"
    "    end\r\n"
    "  end\r\n"
    "  object Button1: TButton\r\n"
    "    Left = 13\r\n"
    "    Top = 21\r\n"
    "    Width = 75\r\n"
    "    Height = 25\r\n"
    "    Caption = 'OK'\r\n"
    "    TabOrder = 0\r\n"
    "  end\r\n"
    "end\r\n";

const QPoint OnButton(50, 33), OnPanel(200, 130), OnLabel(115, 65);

std::string Replaced(std::string text, std::string_view from, std::string_view to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

class DesignerTest : public ::testing::Test {
protected:
    void SetUp() override { fw::test::EnsureApplication(); }
    void TearDown() override { delete document_.data(); }

    DocumentWindow* Open(const char* text) {
        document_ = new DocumentWindow(messages_, fw::CodePage::Default(), preview_);
        document_->resize(900, 650);
        document_->LoadFromLines(QByteArray(text));
        document_->TabSet()->setCurrentIndex(1);
        return document_;
    }
    fw::preview::DesignOverlay& Overlay() const { return *document_->Desktop()->Overlay(); }
    std::string Text() const { return document_->Document().TextBytes().toStdString(); }

    void Mouse(QEvent::Type type, QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, Overlay().mapToGlobal(at),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, modifiers);
        QApplication::sendEvent(&Overlay(), &event);
        // What the surface reports is posted, to come after the event.
        QApplication::processEvents();
    }
    void Click(QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        Mouse(QEvent::MouseButtonPress, at, modifiers);
        Mouse(QEvent::MouseButtonRelease, at, modifiers);
    }
    void Drag(QPoint from, QPoint to) {
        Mouse(QEvent::MouseButtonPress, from);
        Mouse(QEvent::MouseMove, to);
        Mouse(QEvent::MouseButtonRelease, to);
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(&Overlay(), &event);
        QApplication::processEvents();
    }
    QString TreeSelection() const {
        const QList<QTreeWidgetItem*> items = document_->Tree()->selectedItems();
        return items.isEmpty() ? QString() : items.first()->text(0);
    }

    fw::test::RecordingMessages messages_;
    fw::preview::PreviewContext preview_;
    QPointer<DocumentWindow> document_;
};

TEST_F(DesignerTest, ADragChangesOnlyTheLeftAndTopLinesAndUndoRestoresThem) {
    Open(DesignedForm);
    const std::string before = Text();
    Click(OnButton);
    EXPECT_EQ(TreeSelection(), "Button1") << "the tree follows a click on the preview";
    Drag(OnButton, OnButton + QPoint(20, 3));
    const std::string moved = Replaced(Replaced(before, "    Left = 13\r\n", "    Left = 32\r\n"),
                                       "    Top = 21\r\n", "    Top = 24\r\n");
    EXPECT_EQ(Text(), moved);
    EXPECT_TRUE(messages_.Errors.isEmpty()) << messages_.Errors.join("\n").toStdString();
    // The preview was built again from the text, with the button where the text says.
    const fw::rt::Object* button = document_->PreviewForm()->FindOwnedComponent("Button1");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(fw::preview::BoundsOf(*button), (fw::preview::DesignBounds{32, 24, 75, 25}));
    // The same object stays selected, on the preview, in the tree and the inspector.
    EXPECT_EQ(document_->Desktop()->SelectedPaths(), QStringList{"Button1"});
    EXPECT_EQ(TreeSelection(), "Button1");
    ASSERT_NE(document_->InspectedObject(), nullptr);
    EXPECT_EQ(document_->InspectedObject()->Name(), "Button1");
    QApplication::processEvents();
    EXPECT_EQ(document_->Desktop()->SelectedPaths(), QStringList{"Button1"})
        << "the caret's refresh keeps it";

    // One undo step takes the whole move back.
    document_->cmUndo();
    EXPECT_EQ(Text(), before);
    // The preview still shows the moved button: a key then writes nothing from it, but
    // has the preview rebuilt from the text.
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Text(), before);
    EXPECT_EQ(fw::preview::BoundsOf(*document_->PreviewForm()->FindOwnedComponent("Button1")),
              (fw::preview::DesignBounds{13, 21, 75, 25}));

    // A key resizes: Shift+Down puts the bottom edge (21 + 25 = 46) on the grid.
    Click(OnButton);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Text(), Replaced(before, "    Height = 25\r\n", "    Height = 27\r\n"));
}

// A control whose text stores neither Left nor Top (both 0): a move inserts both
// lines, in their order, where the class's order puts them.
TEST_F(DesignerTest, AMoveInsertsTheLinesTheTextLacks) {
    Open(
        "object Form1: TForm1\r\n"
        "  ClientHeight = 200\r\n"
        "  ClientWidth = 300\r\n"
        "  object Button1: TButton\r\n"
        "    Width = 75\r\n"
        "    Height = 25\r\n"
        "    Caption = 'OK'\r\n"
        "  end\r\n"
        "end\r\n");
    const std::string before = Text();
    Click(QPoint(30, 10));
    Drag(QPoint(30, 10), QPoint(46, 27));
    EXPECT_TRUE(messages_.Errors.isEmpty()) << messages_.Errors.join("\n").toStdString();
    EXPECT_EQ(Text(), Replaced(before, "  object Button1: TButton\r\n",
                               "  object Button1: TButton\r\n    Left = 16\r\n    Top = 16\r\n"));
    document_->cmUndo();
    EXPECT_EQ(Text(), before);
}

TEST_F(DesignerTest, SeveralControlsMoveInOneUndoStep) {
    Open(DesignedForm);
    const std::string before = Text();
    Click(OnButton);
    Click(OnPanel, Qt::ShiftModifier);
    Drag(OnPanel, OnPanel + QPoint(-10, 7));
    std::string moved = before;
    for (const auto& [from, to] : {std::pair{"    Left = 100\r\n", "    Left = 88\r\n"},
                                   {"    Top = 50\r\n", "    Top = 56\r\n"},
                                   {"    Left = 13\r\n", "    Left = 1\r\n"},
                                   {"    Top = 21\r\n", "    Top = 27\r\n"}})
        moved = Replaced(moved, from, to);
    EXPECT_EQ(Text(), moved);
    EXPECT_EQ(document_->Desktop()->SelectedPaths(), (QStringList{"Panel1", "Button1"}));
    document_->cmUndo();
    EXPECT_EQ(Text(), before);
}

TEST_F(DesignerTest, DeleteRemovesTheSelectedObjectsLines) {
    Open(DesignedForm);
    const std::string before = Text();
    Click(OnButton);
    Key(Qt::Key_Delete);
    const char* button =
        "  object Button1: TButton\r\n    Left = 13\r\n    Top = 21\r\n    Width = 75\r\n"
        "    Height = 25\r\n    Caption = 'OK'\r\n    TabOrder = 0\r\n  end\r\n";
    EXPECT_EQ(Text(), Replaced(before, button, ""));
    EXPECT_EQ(document_->PreviewForm()->FindOwnedComponent("Button1"), nullptr);
    EXPECT_EQ(document_->Desktop()->SelectedPaths(), QStringList{"Form1"});
    document_->cmUndo();
    EXPECT_EQ(Text(), before);
    document_->cmRescan();

    // A panel and the label in it go in one step, the label with its panel.
    Click(OnLabel);
    Click(OnPanel, Qt::ShiftModifier);
    Key(Qt::Key_Delete);
    EXPECT_TRUE(messages_.Errors.isEmpty()) << messages_.Errors.join("\n").toStdString();
    EXPECT_FALSE(Text().find("Panel1") != std::string::npos);
    EXPECT_FALSE(Text().find("Label1") != std::string::npos);
    EXPECT_TRUE(Text().find("Button1") != std::string::npos);
    document_->cmUndo();
    EXPECT_EQ(Text(), before);
    document_->cmRescan();

    // The form itself is never deleted.
    Click(QPoint(20, 120));
    Key(Qt::Key_Delete);
    EXPECT_EQ(Text(), before);
}

// The preview names objects for edits as the engine does, so that every object the
// designer reports is the one the engine edits.
TEST_F(DesignerTest, ThePreviewsPathsAreTheEnginesPaths) {
    Open(
        "object Form1: TForm1\r\n"
        "  object Panel1: TPanel\r\n"
        "    object TBevel\r\n"
        "    end\r\n"
        "    object Form1: TPanel\r\n"
        "      object TLabel\r\n"
        "      end\r\n"
        "    end\r\n"
        "  end\r\n"
        "  object Button1: TButton\r\n"
        "  end\r\n"
        "  object TPanel\r\n"
        "    object Button2: TButton\r\n"
        "    end\r\n"
        "  end\r\n"
        "end\r\n");
    const std::vector<fw::rt::ReadObject>& records = document_->Desktop()->ReadObjects();
    const fw::edit::FormEditor editor(Text(), fw::CodePage::Default());
    const std::vector<fw::edit::ObjectEntry> objects = editor.Objects();
    ASSERT_EQ(records.size(), objects.size());
    for (std::size_t i = 0; i < records.size(); ++i)
        EXPECT_EQ(fw::preview::EditPathOf(records, static_cast<int>(i)), objects[i].Path) << i;
}

TEST(DesignEdits, MergeOrdersReplacementsAndDropsThoseInsideOthers) {
    struct Case {
        const char* What;
        std::vector<std::vector<TextEdit>> Results;
        std::vector<TextEdit> Expected;
    };
    const Case cases[] = {
        {"sorted by offset", {{{20, 2, "b"}}, {{5, 1, "a"}}}, {{5, 1, "a"}, {20, 2, "b"}}},
        {"inserts at one offset keep their order",
         {{{10, 0, "Left"}}, {{10, 0, "Top"}}},
         {{10, 0, "Left"}, {10, 0, "Top"}}},
        {"an insert goes before a replacement at its offset",
         {{{10, 4, "Top = 2"}}, {{10, 0, "Left = 1"}}},
         {{10, 0, "Left = 1"}, {10, 4, "Top = 2"}}},
        {"a deletion inside another goes with it",
         {{{40, 10, ""}}, {{30, 50, ""}}, {{90, 5, ""}}},
         {{30, 50, ""}, {90, 5, ""}}},
        {"the same deletion twice is made once", {{{30, 50, ""}}, {{30, 50, ""}}}, {{30, 50, ""}}},
        {"an edit reaching out of another stays, for the apply to refuse",
         {{{30, 10, ""}}, {{35, 10, ""}}},
         {{30, 10, ""}, {35, 10, ""}}},
    };
    for (const Case& c : cases) {
        std::vector<EditResult> results;
        for (const std::vector<TextEdit>& edits : c.Results)
            results.push_back(EditResult{edits, {std::string(c.What)}});
        const EditResult merged = fw::MergeEditResults(results);
        EXPECT_EQ(merged.Edits, c.Expected) << c.What;
        EXPECT_EQ(merged.Changes.size(), c.Results.size()) << c.What;
    }
}

}  // namespace
