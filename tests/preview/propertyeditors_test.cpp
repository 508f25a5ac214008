// Editing in the object inspector: what each kind of value is written as in form text,
// the in-place editor's Enter, Escape, drop-down and dialogs, and the pane's one signal
// for a committed edit on a live object.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <optional>
#include <string>
#include <vector>

#include "codec/textlines.h"
#include "preview/oipanel.h"
#include "preview/propertyeditors.h"
#include "previewtestsupport.h"
#include "runtime/builtin.h"

namespace {

namespace pv = fw::preview;
namespace ty = fw::rt::ty;
using pv::ValueKind;

pv::InspectorRow RowOf(const char* name, const fw::rt::TypeInfo& type) {
    pv::InspectorRow row;
    row.Name = name;
    row.TypeName = std::string(type.Name);
    row.Kind = static_cast<int>(type.Kind);
    row.Type = &type;
    return row;
}

TEST(PropertyEditors, StringsAreQuotedWithCodesForAllButPrintableAscii) {
    const struct {
        std::u16string Value;
        std::string Expected;
    } cases[] = {
        {u"OK", "'OK'"},
        {u"", "''"},
        {u"it's", "'it''s'"},
        {u"Gr\u00fc\u00dfe", "'Gr'#252#223'e'"},
        {u"\u00e9t\u00e9", "#233't'#233"},
        {u"a\r\nb", "'a'#13#10'b'"},
        {u"\u30de", "#12510"},
        {u"tab\t", "'tab'#9"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(pv::FormStringLiteral(c.Value), c.Expected) << c.Expected;
}

TEST(PropertyEditors, TypedTextBecomesTheFormValueOfItsKind) {
    const struct {
        const char* Name;
        const fw::rt::TypeInfo& Type;
        ValueKind Kind;
        const char* Typed;
        std::optional<std::string> Expected;
    } cases[] = {
        {"Left", ty::Integer, ValueKind::Integer, " 12 ", "12"},
        {"Left", ty::Integer, ValueKind::Integer, "-3", "-3"},
        {"Left", ty::Integer, ValueKind::Integer, "+7", "7"},
        {"Left", ty::Integer, ValueKind::Integer, "1.5", std::nullopt},
        {"Left", ty::Integer, ValueKind::Integer, "abc", std::nullopt},
        {"Left", ty::Integer, ValueKind::Integer, "", std::nullopt},
        {"Left", ty::Integer, ValueKind::Integer, "99999999999", std::nullopt},
        {"Big", ty::Int64, ValueKind::Int64, "99999999999", "99999999999"},
        {"Value", ty::Double, ValueKind::Float, "1.5", "1.5"},
        {"Value", ty::Double, ValueKind::Float, "2E-3", "2E-3"},
        {"Value", ty::Double, ValueKind::Float, "1,5", std::nullopt},
        {"Caption", ty::TCaption, ValueKind::String, "Save as", "'Save as'"},
        {"Caption", ty::TCaption, ValueKind::String, "", "''"},
        {"PasswordChar", ty::Char, ValueKind::Char, "*", "'*'"},
        {"PasswordChar", ty::Char, ValueKind::Char, "**", std::nullopt},
        {"Enabled", ty::Boolean, ValueKind::Boolean, "true", "True"},
        {"Enabled", ty::Boolean, ValueKind::Boolean, "yes", std::nullopt},
        {"Align", ty::TAlign, ValueKind::Enumeration, "alclient", "alClient"},
        {"Align", ty::TAlign, ValueKind::Enumeration, "alMiddle", std::nullopt},
        // Sets keep the order of their elements and drop repeats.
        {"Anchors", ty::TAnchors, ValueKind::Set, "[akTop, akLeft]", "[akLeft, akTop]"},
        {"Anchors", ty::TAnchors, ValueKind::Set, "akbottom,akBottom", "[akBottom]"},
        {"Anchors", ty::TAnchors, ValueKind::Set, "[]", "[]"},
        {"Anchors", ty::TAnchors, ValueKind::Set, "[akLeft, akMiddle]", std::nullopt},
        {"Charset", ty::TFontCharset, ValueKind::NamedInteger, "ansi_charset", "ANSI_CHARSET"},
        {"Charset", ty::TFontCharset, ValueKind::NamedInteger, "204", "RUSSIAN_CHARSET"},
        {"Charset", ty::TFontCharset, ValueKind::NamedInteger, "3", "3"},
        {"Charset", ty::TFontCharset, ValueKind::NamedInteger, "KOI8", std::nullopt},
        {"Color", ty::TColor, ValueKind::Color, "clred", "clRed"},
        {"Color", ty::TColor, ValueKind::Color, "$00FF8000", "16744448"},
        {"Color", ty::TColor, ValueKind::Color, "255", "clRed"},
        {"Color", ty::TColor, ValueKind::Color, "reddish", std::nullopt},
        {"Cursor", ty::TCursor, ValueKind::Cursor, "crhandpoint", "crHandPoint"},
        {"Cursor", ty::TCursor, ValueKind::Cursor, "-42", "-42"},
        {"ShortCut", ty::TShortCut, ValueKind::ShortCut, "Ctrl+S", "16467"},
        {"ShortCut", ty::TShortCut, ValueKind::ShortCut, "", "0"},
        {"ShortCut", ty::TShortCut, ValueKind::ShortCut, "16467", "16467"},
        {"ShortCut", ty::TShortCut, ValueKind::ShortCut, "Ctrl+Nothing", std::nullopt},
        {"OnClick", ty::TNotifyEvent, ValueKind::Identifier, "Button1Click", "Button1Click"},
        {"OnClick", ty::TNotifyEvent, ValueKind::Identifier, "  ", ""},
        {"OnClick", ty::TNotifyEvent, ValueKind::Identifier, "1Click", std::nullopt},
        {"OnClick", ty::TNotifyEvent, ValueKind::Identifier, "Button1.Click", std::nullopt},
    };
    for (const auto& c : cases) {
        const pv::InspectorRow row = RowOf(c.Name, c.Type);
        EXPECT_EQ(pv::ValueKindOf(row, c.Kind == ValueKind::Identifier, true), c.Kind) << c.Name;
        EXPECT_EQ(pv::FormValueOf(row, c.Kind, QString::fromUtf8(c.Typed)), c.Expected)
            << c.Name << " typed " << c.Typed;
    }
}

TEST(PropertyEditors, OnlyTheRowsOfATypeCanBeEdited) {
    pv::InspectorRow textOnly;
    textOnly.Name = "Caption";
    EXPECT_EQ(pv::ValueKindOf(textOnly, false, true), ValueKind::None);
    // The inspected object's name is an identifier (its header's); a sub-object's Name
    // is a string.
    EXPECT_EQ(pv::ValueKindOf(RowOf("Name", ty::String), false, true), ValueKind::Identifier);
    EXPECT_EQ(pv::ValueKindOf(RowOf("Name", ty::String), false, false), ValueKind::String);
}

TEST(PropertyEditors, AFontDialogChangesOnlyTheSubPropertiesThatDiffer) {
    const pv::FontValues before{"Tahoma", -11, {}};
    EXPECT_TRUE(pv::FontChanges("Font.", before, before).empty());
    // Through the font a dialog would start from and give back, nothing changes either.
    EXPECT_EQ(pv::FontValuesOf(pv::QFontOf(before)), before);
    const pv::FontValues bold{"Tahoma", -11, {"fsBold"}};
    EXPECT_EQ(pv::FontChanges("Font.", before, bold),
              (std::vector<std::pair<std::string, std::string>>{{"Font.Style", "[fsBold]"}}));
    const pv::FontValues other{"Segoe UI", -16, {"fsBold", "fsItalic"}};
    EXPECT_EQ(
        pv::FontChanges("Label1.Font.", before, other),
        (std::vector<std::pair<std::string, std::string>>{{"Label1.Font.Name", "'Segoe UI'"},
                                                          {"Label1.Font.Height", "-16"},
                                                          {"Label1.Font.Style", "[fsBold, fsItalic]"}}));
    QFont twelve(QStringLiteral("Arial"));
    twelve.setPointSize(12);
    EXPECT_EQ(pv::FontValuesOf(twelve).Height, -16);
}

// ---- the pane, over a live form ----

const char* const EditForm =
    "object Form1: TForm1\r\n"
    "  Caption = 'Form1'\r\n"
    "  object Button1: TButton\r\n"
    "    Left = 8\r\n"
    "    Caption = 'it''s'\r\n"
    "    ModalResult = 1\r\n"
    "    OnClick = Button1Click\r\n"
    "  end\r\n"
    "  object ActionList1: TActionList\r\n"
    "    object Action1: TAction\r\n"
    "      ShortCut = 16467\r\n"
    "    end\r\n"
    "  end\r\n"
    "  object Memo1: TMemo\r\n"
    "    Lines.Strings = (\r\n"
    "      'one')\r\n"
    "  end\r\n"
    "end\r\n";

class InspectorEditing : public ::testing::Test {
protected:
    pv::test::LiveForm form_{EditForm};
    std::vector<std::string> text_ = fw::CopyTextLines(EditForm);
    pv::OIPanel panel_;
    QSignalSpy* spy_ = nullptr;
    // What the dialogs were asked, and what they answer.
    QStringList askedLines_, askedSet_;
    std::optional<QColor> colour_;
    std::optional<QFont> font_;
    std::optional<QStringList> lines_, set_;

    void SetUp() override {
        pv::EditorDialogs dialogs;
        dialogs.AskColor = [this](const QColor&) { return colour_; };
        dialogs.AskFont = [this](const QFont&) { return font_; };
        dialogs.AskLines = [this](const QStringList& lines) {
            askedLines_ = lines;
            return lines_;
        };
        dialogs.AskSet = [this](const QStringList&, const QStringList& checked) {
            askedSet_ = checked;
            return set_;
        };
        panel_.SetDialogs(std::move(dialogs));
        panel_.resize(400, 600);
        panel_.show();
        spy_ = new QSignalSpy(&panel_, &pv::OIPanel::PropertyEdited);
    }
    void TearDown() override { delete spy_; }

    void Inspect(const char* name) {
        fw::rt::Object& object = form_[name];
        panel_.SetEditTarget(QString::fromUtf8(name));
        panel_.FillInspector(&object, pv::CollectSourceLines(text_, name));
    }
    pv::ValueEditor* Edit(QTreeWidget* tree, const char* path) {
        QTreeWidgetItem* item = pv::OIPanel::FindItem(tree, QString::fromUtf8(path));
        if (!item) return nullptr;
        if (!panel_.BeginEdit(item)) return nullptr;
        return panel_.ActiveEditor();
    }
    // The one edit the pane signalled: object, properties and values joined.
    std::string Signalled() const {
        if (spy_->count() != 1) return "signals: " + std::to_string(spy_->count());
        const QList<QVariant> args = spy_->front();
        QString text = args[0].toString();
        const QStringList paths = args[1].toStringList();
        const QStringList values = args[2].toStringList();
        for (qsizetype i = 0; i < paths.size(); ++i)
            text += QStringLiteral(" %1=%2").arg(paths[i], values.value(i));
        return text.toStdString();
    }
};

TEST_F(InspectorEditing, EnterCommitsTheTypedValueOfEachKind) {
    const struct {
        const char* Object;
        const char* Path;
        const char* Typed;
        const char* Expected;
    } cases[] = {
        {"Button1", "Left", "24", "Button1 Left=24"},
        {"Button1", "Caption", "Gr\u00fc\u00dfe", "Button1 Caption='Gr'#252#223'e'"},
        {"Button1", "Cursor", "crHandPoint", "Button1 Cursor=crHandPoint"},
        {"Button1", "ModalResult", "2", "Button1 ModalResult=2"},
        {"Button1", "Font.Charset", "SHIFTJIS_CHARSET", "Button1 Font.Charset=SHIFTJIS_CHARSET"},
        {"Button1", "Anchors", "[akRight, akTop]", "Button1 Anchors=[akTop, akRight]"},
        {"Button1", "Font.Color", "clRed", "Button1 Font.Color=clRed"},
        {"Button1", "Hint", "a'b", "Button1 Hint='a''b'"},
        {"Button1", "Name", "OkButton", "Button1 Name=OkButton"},
    };
    for (const auto& c : cases) {
        spy_->clear();
        Inspect(c.Object);
        pv::ValueEditor* editor = Edit(panel_.PropertyTree(), c.Path);
        ASSERT_NE(editor, nullptr) << c.Path;
        ASSERT_NE(editor->Line(), nullptr) << c.Path;
        editor->Line()->setText(QString::fromUtf8(c.Typed));
        QTest::keyClick(editor->Line(), Qt::Key_Return);
        EXPECT_EQ(Signalled(), c.Expected) << c.Path;
        EXPECT_EQ(panel_.ActiveEditor(), nullptr) << c.Path;
    }
}

TEST_F(InspectorEditing, TheEditorStartsFromTheCharactersNotTheirQuotedForm) {
    Inspect("Button1");
    pv::ValueEditor* editor = Edit(panel_.PropertyTree(), "Caption");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->Line()->text(), QStringLiteral("it's"));
    // Committed unchanged, it is written as the text has it.
    QTest::keyClick(editor->Line(), Qt::Key_Return);
    EXPECT_EQ(Signalled(), "Button1 Caption='it''s'");
}

TEST_F(InspectorEditing, AShortCutTheTextStoresAsANumberIsEditedAsItsKeyText) {
    Inspect("Action1");
    pv::ValueEditor* editor = Edit(panel_.PropertyTree(), "ShortCut");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->Line()->text(), QStringLiteral("Ctrl+S"));
    editor->Line()->setText(QStringLiteral("Ctrl+Shift+S"));
    QTest::keyClick(editor->Line(), Qt::Key_Return);
    EXPECT_EQ(Signalled(), "Action1 ShortCut=24659");
}

TEST_F(InspectorEditing, EscapeAndInvalidValuesCommitNothing) {
    Inspect("Button1");
    // A line, a drop-down of names only, and one that takes numbers too.
    for (const char* path : {"Left", "Enabled", "Cursor"}) {
        pv::ValueEditor* editor = Edit(panel_.PropertyTree(), path);
        ASSERT_NE(editor, nullptr) << path;
        QWidget* typed = editor->Line() ? static_cast<QWidget*>(editor->Line()) : editor->Choices();
        if (editor->Line()) editor->Line()->setText(QStringLiteral("12"));
        QTest::keyClick(typed, Qt::Key_Escape);
        EXPECT_EQ(spy_->count(), 0) << path;
        EXPECT_EQ(panel_.ActiveEditor(), nullptr) << path;
    }

    pv::ValueEditor* editor = Edit(panel_.PropertyTree(), "Left");
    ASSERT_NE(editor, nullptr);
    editor->Line()->setText(QStringLiteral("twelve"));
    QTest::keyClick(editor->Line(), Qt::Key_Return);
    EXPECT_EQ(spy_->count(), 0);
    // The editor stays open for a correction.
    EXPECT_EQ(panel_.ActiveEditor(), editor);
    QTest::keyClick(editor->Line(), Qt::Key_Escape);

    // A read-only pane (nothing of the text to edit) opens no editor.
    panel_.SetEditTarget({});
    EXPECT_EQ(Edit(panel_.PropertyTree(), "Left"), nullptr);
}

TEST_F(InspectorEditing, AnEditorLeftOpenWhenAnotherObjectIsInspectedCommitsNothing) {
    Inspect("Button1");
    QPointer<pv::ValueEditor> editor = Edit(panel_.PropertyTree(), "Left");
    ASSERT_NE(editor, nullptr);
    editor->Line()->setText(QStringLiteral("3"));
    Inspect("Memo1");
    ASSERT_NE(editor, nullptr);
    editor->CommitTyped();
    EXPECT_EQ(spy_->count(), 0);
}

TEST_F(InspectorEditing, PickingFromTheDropDownCommits) {
    Inspect("Button1");
    pv::ValueEditor* editor = Edit(panel_.PropertyTree(), "Enabled");
    ASSERT_NE(editor, nullptr);
    ASSERT_NE(editor->Choices(), nullptr);
    EXPECT_EQ(editor->Line(), nullptr);
    const int at = editor->Choices()->findText(QStringLiteral("False"));
    ASSERT_GE(at, 0);
    emit editor->Choices()->activated(at);
    EXPECT_EQ(Signalled(), "Button1 Enabled=False");
}

TEST_F(InspectorEditing, DialogsCommitWhatTheyGiveAndNothingWhenCancelled) {
    Inspect("Button1");
    // Cancelled: nothing.
    pv::ValueEditor* editor = Edit(panel_.PropertyTree(), "Font.Color");
    ASSERT_NE(editor, nullptr);
    ASSERT_NE(editor->DialogButton(), nullptr);
    QTest::mouseClick(editor->DialogButton(), Qt::LeftButton);
    EXPECT_EQ(spy_->count(), 0);

    colour_ = QColor(0x00, 0x80, 0xFF);
    QTest::mouseClick(editor->DialogButton(), Qt::LeftButton);
    EXPECT_EQ(Signalled(), "Button1 Font.Color=16744448");

    spy_->clear();
    editor = Edit(panel_.PropertyTree(), "Anchors");
    ASSERT_NE(editor, nullptr);
    set_ = QStringList{QStringLiteral("akLeft"), QStringLiteral("akBottom")};
    editor->OpenDialog();
    EXPECT_EQ(askedSet_, (QStringList{QStringLiteral("akLeft"), QStringLiteral("akTop")}));
    EXPECT_EQ(Signalled(), "Button1 Anchors=[akLeft, akBottom]");

    spy_->clear();
    editor = Edit(panel_.PropertyTree(), "Font");
    ASSERT_NE(editor, nullptr);
    QFont font = pv::QFontOf({"Tahoma", -11, {}});
    font.setItalic(true);
    font_ = font;
    editor->OpenDialog();
    EXPECT_EQ(Signalled(), "Button1 Font.Style=[fsItalic]");

    spy_->clear();
    Inspect("Memo1");
    editor = Edit(panel_.PropertyTree(), "Lines");
    ASSERT_NE(editor, nullptr);
    lines_ = QStringList{QStringLiteral("one"), QStringLiteral("it's \u00e9")};
    QTest::keyClick(editor->Line(), Qt::Key_Return);
    EXPECT_EQ(askedLines_, QStringList{QStringLiteral("one")});
    EXPECT_EQ(Signalled(), "Memo1 Lines.Strings=( 'one' 'it''s '#233 )");
}

TEST_F(InspectorEditing, EventsAreMethodNamesAndAnEmptyOneRemovesTheHandler) {
    Inspect("Button1");
    pv::ValueEditor* editor = Edit(panel_.EventTree(), "OnClick");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->Line()->text(), QStringLiteral("Button1Click"));
    editor->Line()->clear();
    QTest::keyClick(editor->Line(), Qt::Key_Return);
    EXPECT_EQ(Signalled(), "Button1 OnClick=");
}

TEST_F(InspectorEditing, ACollectionItemsPropertiesAreNamedOnItsOwner) {
    Inspect("Button1");
    panel_.SetEditTarget(QStringLiteral("Grid1"), QStringLiteral("Columns[1]."));
    pv::ValueEditor* editor = Edit(panel_.PropertyTree(), "Left");
    ASSERT_NE(editor, nullptr);
    editor->Line()->setText(QStringLiteral("5"));
    QTest::keyClick(editor->Line(), Qt::Key_Return);
    EXPECT_EQ(Signalled(), "Grid1 Columns[1].Left=5");
}

}  // namespace
