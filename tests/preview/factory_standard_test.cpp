// The standard controls as the preview realises them: which widget each class becomes,
// and what it shows (captions, texts, check states, items, glyphs, the places of the
// parts the factory lays out itself).

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <cstdint>
#include <string>
#include <vector>

#include "preview/vcllook.h"
#include "previewtestsupport.h"

namespace fw::preview {
namespace {

using test::RealizedForm;

// A form with the given controls, in the default font.
std::string Form(const std::string& controls, int width = 400, int height = 300) {
    return "object Form1: TForm1\n  ClientHeight = " + std::to_string(height) +
           "\n  ClientWidth = " + std::to_string(width) + "\n  Font.Height = -11\n  Font.Name = 'Tahoma'\n" +
           controls + "end\n";
}

// One control of a class with the given property lines.
std::string Control(const std::string& name, const std::string& cls, const std::string& properties,
                    const std::string& bounds = "Left = 8\nTop = 8\nWidth = 121\nHeight = 25\n") {
    return "object " + name + ": " + cls + "\n" + bounds + properties + "end\n";
}

// A 24-bit bitmap's data as a form writes a glyph: the 4-byte size, then the file, in
// hex. pixel(x, y) gives each pixel's colour, y counted from the top.
template <typename Pixel>
std::string GlyphData(int width, int height, Pixel pixel) {
    const int rowBytes = (width * 3 + 3) / 4 * 4;
    const int fileSize = 54 + rowBytes * height;
    std::vector<std::uint8_t> bytes;
    auto put32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    auto put16 = [&](std::uint16_t v) {
        bytes.push_back(static_cast<std::uint8_t>(v));
        bytes.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    put32(static_cast<std::uint32_t>(fileSize));
    bytes.push_back('B');
    bytes.push_back('M');
    put32(static_cast<std::uint32_t>(fileSize));
    put32(0);
    put32(54);
    put32(40);
    put32(static_cast<std::uint32_t>(width));
    put32(static_cast<std::uint32_t>(height));
    put16(1);
    put16(24);
    put32(0);
    put32(static_cast<std::uint32_t>(rowBytes * height));
    put32(0);
    put32(0);
    put32(0);
    put32(0);
    for (int y = height - 1; y >= 0; --y) {
        int written = 0;
        for (int x = 0; x < width; ++x, written += 3) {
            const QRgb c = pixel(x, y);
            bytes.push_back(static_cast<std::uint8_t>(qBlue(c)));
            bytes.push_back(static_cast<std::uint8_t>(qGreen(c)));
            bytes.push_back(static_cast<std::uint8_t>(qRed(c)));
        }
        for (; written < rowBytes; ++written)
            bytes.push_back(0);
    }
    static const char* hex = "0123456789ABCDEF";
    std::string text = "{";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i % 32 == 0) text += "\n";
        text += hex[bytes[i] >> 4];
        text += hex[bytes[i] & 15];
    }
    return text + "}\n";
}

// The classes the standard family realises.
const char* const StandardClasses[] = {
    "TLabel",         "TStaticText",      "TEdit",
    "TMaskEdit",      "TLabeledEdit",     "TMemo",
    "TButton",        "TBitBtn",          "TSpeedButton",
    "TCheckBox",      "TRadioButton",     "TListBox",
    "TCheckListBox",  "TComboBox",        "TComboBoxEx",
    "TColorBox",      "TScrollBar",       "TGroupBox",
    "TRadioGroup",    "TSpinEdit",        "TSpinButton",
    "THotKey",        "TFileListBox",     "TDirectoryListBox",
    "TDriveComboBox", "TFilterComboBox",  "TShellComboBox",
    "TDBText",        "TDBEdit",          "TDBMemo",
    "TDBListBox",     "TDBComboBox",      "TDBCheckBox",
    "TDBRadioGroup",  "TDBLookupListBox", "TDBLookupComboBox",
    "TDBLookupList",  "TDBLookupCombo",   "TDBNavigator",
};

template <typename W>
W* As(const RealizedForm& f, const char* name) {
    QWidget* widget = f.Widget(name);
    EXPECT_NE(widget, nullptr) << name << " was not realised";
    W* typed = qobject_cast<W*>(widget);
    EXPECT_NE(typed, nullptr) << name << " is a " << (widget ? widget->metaObject()->className() : "nothing");
    return typed;
}

TEST(StandardFactory, HandlesExactlyItsClasses) {
    const auto registry = rt::MakeBuiltinRegistry();
    const std::unique_ptr<ControlFactory> factory = MakeStandardFactory();
    EXPECT_EQ(factory->Family(), "standard");
    for (const char* name : StandardClasses) {
        const rt::Class* cls = registry->FindClassByName(name);
        ASSERT_NE(cls, nullptr) << name;
        EXPECT_TRUE(factory->Handles(*cls)) << name;
    }
    // The abstract bases of a family draw in its look, so that a class a design package
    // derives from one of them does (an edit with buttons descends from TCustomEdit).
    for (const char* name : {"TCustomEdit", "TCustomListBox", "TButtonedEdit"}) {
        const rt::Class* cls = registry->FindClassByName(name);
        if (cls) EXPECT_TRUE(factory->Handles(*cls)) << name;
    }
    // Other families' classes, and ancestors above the families.
    for (const char* name : {"TPanel", "TPageControl", "TListView", "TDBGrid", "TButtonControl",
                             "TWinControl", "TImage", "TForm"}) {
        const rt::Class* cls = registry->FindClassByName(name);
        if (cls) EXPECT_FALSE(factory->Handles(*cls)) << name;
    }
}

TEST(StandardFactory, EveryClassIsRealisedWithoutTakingFocus) {
    // Each class realised alone, with its defaults: the standard factory makes its
    // widget, and nothing in it takes the keyboard focus from the editor.
    for (const char* cls : StandardClasses) {
        RealizedForm f(Form(Control("C", cls, "")));
        const ControlFactory* factory = f.Realizer->FactoryOf(f["C"]);
        ASSERT_NE(factory, nullptr) << cls;
        EXPECT_EQ(factory->Family(), "standard") << cls;
        // Labels are drawn onto the form, as graphic controls are; they have no widget
        // to take the focus.
        QWidget* widget = f.Widget("C");
        if (!widget) {
            EXPECT_NE(f.Drawing("C"), nullptr) << cls;
            continue;
        }
        EXPECT_EQ(widget->parentWidget(), f.Client.get()) << cls;
        EXPECT_EQ(widget->focusPolicy(), Qt::NoFocus) << cls;
        for (QWidget* inner : widget->findChildren<QWidget*>())
            EXPECT_EQ(inner->focusPolicy(), Qt::NoFocus) << cls << " " << inner->metaObject()->className();
    }
}

TEST(StandardFactory, CaptionsShowWithoutAcceleratorMarks) {
    struct Case {
        const char* Caption;
        const char* Shown;   // as the user reads it
        const char* QtText;  // as a Qt button or group box holds it
    } cases[] = {
        {"&Save", "Save", "Save"},
        {"Save && Exit", "Save & Exit", "Save && Exit"},
        {"&&&File", "&File", "&&File"},
        {"Trailing&", "Trailing", "Trailing"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShownCaption(QString::fromUtf8(c.Caption)), QString::fromUtf8(c.Shown)) << c.Caption;
        EXPECT_EQ(QtCaption(QString::fromUtf8(c.Caption)), QString::fromUtf8(c.QtText)) << c.Caption;

        const std::string caption = std::string("Caption = '") + c.Caption + "'\n";
        RealizedForm f(Form(Control("Label1", "TLabel", caption) + Control("Button1", "TButton", caption) +
                            Control("Check1", "TCheckBox", caption) +
                            Control("Group1", "TGroupBox", caption)));
        const DrawnControl* label = f.Drawing("Label1");
        QPushButton* button = As<QPushButton>(f, "Button1");
        QCheckBox* check = As<QCheckBox>(f, "Check1");
        QGroupBox* group = As<QGroupBox>(f, "Group1");
        ASSERT_TRUE(label && button && check && group);
        EXPECT_EQ(label->Text(), QString::fromUtf8(c.Shown));
        EXPECT_EQ(button->text(), QString::fromUtf8(c.QtText));
        EXPECT_EQ(check->text(), QString::fromUtf8(c.QtText));
        EXPECT_EQ(group->title(), QString::fromUtf8(c.QtText));
        // No mnemonic: a preview's button must not take Alt+key from the editor.
        EXPECT_TRUE(QKeySequence::mnemonic(button->text()).isEmpty()) << c.Caption;
    }
    // A label that does not show accelerators shows the ampersands as written.
    RealizedForm f(Form(Control("Label1", "TLabel", "Caption = 'R&&D & more'\nShowAccelChar = False\n")));
    const DrawnControl* label = f.Drawing("Label1");
    ASSERT_TRUE(label);
    EXPECT_EQ(label->Text(), QStringLiteral("R&&D & more"));
}

TEST(StandardFactory, CheckAndRadioStates) {
    struct Case {
        const char* Class;
        const char* Properties;
        Qt::CheckState Expected;
    } cases[] = {
        {"TCheckBox", "", Qt::Unchecked},
        {"TCheckBox", "Checked = True\nState = cbChecked\n", Qt::Checked},
        {"TCheckBox", "Checked = True\n", Qt::Checked},
        {"TCheckBox", "State = cbChecked\n", Qt::Checked},
        {"TCheckBox", "State = cbGrayed\n", Qt::PartiallyChecked},
        {"TCheckBox", "AllowGrayed = True\nState = cbGrayed\n", Qt::PartiallyChecked},
        // Without data a data-aware check box is unchecked.
        {"TDBCheckBox", "State = cbChecked\n", Qt::Unchecked},
        {"TRadioButton", "", Qt::Unchecked},
        {"TRadioButton", "Checked = True\n", Qt::Checked},
    };
    for (const Case& c : cases) {
        RealizedForm f(Form(Control("C", c.Class, std::string("Caption = 'Choice'\n") + c.Properties)));
        auto* button = As<QAbstractButton>(f, "C");
        ASSERT_TRUE(button) << c.Class << " " << c.Properties;
        if (auto* check = qobject_cast<QCheckBox*>(button))
            EXPECT_EQ(check->checkState(), c.Expected) << c.Class << " " << c.Properties;
        else
            EXPECT_EQ(button->isChecked(), c.Expected == Qt::Checked) << c.Class << " " << c.Properties;
        EXPECT_EQ(button->text(), QStringLiteral("Choice"));
    }
    // Of radio buttons side by side written as checked, the last one read is checked;
    // one in another parent is not affected.
    RealizedForm f(Form(
        Control("R1", "TRadioButton", "Checked = True\n") +
        Control("R2", "TRadioButton", "Checked = True\n", "Left = 8\nTop = 40\nWidth = 100\nHeight = 17\n") +
        Control("R3", "TRadioButton", "", "Left = 8\nTop = 60\nWidth = 100\nHeight = 17\n") +
        Control("G", "TGroupBox",
                Control("R4", "TRadioButton", "Checked = True\n",
                        "Left = 8\nTop = 20\nWidth = 100\nHeight = 17\n"),
                "Left = 200\nTop = 8\nWidth = 150\nHeight = 100\n")));
    for (const auto& [name, checked] : {std::pair{"R1", false}, {"R2", true}, {"R3", false}}) {
        QRadioButton* r = As<QRadioButton>(f, name);
        ASSERT_TRUE(r);
        EXPECT_EQ(r->isChecked(), checked) << name;
    }
    QWidget* r4 = f.Realizer->WidgetOf(*f["G"].Controls().at(0)).Widget;
    ASSERT_TRUE(qobject_cast<QRadioButton*>(r4));
    EXPECT_TRUE(qobject_cast<QRadioButton*>(r4)->isChecked());
}

// The number of bands of rows holding dark (text) pixels in a control's picture, right
// of a column.
int TextLines(const QImage& look, int fromX = 0) {
    const QImage image = look.convertToFormat(QImage::Format_RGB32);
    int lines = 0;
    bool inLine = false;
    for (int y = 0; y < image.height(); ++y) {
        bool dark = false;
        for (int x = fromX; x < image.width() && !dark; ++x)
            dark = qGray(image.pixel(x, y)) < 128;
        if (dark && !inLine) ++lines;
        inLine = dark;
    }
    return lines;
}

TEST(StandardFactory, LabelsBreakLinesAtSpacesOnly) {
    const QFontMetrics metrics(FontOf(nullptr));  // the forms' font
    const int both = metrics.horizontalAdvance(QStringLiteral("one two"));
    struct Case {
        const char* Caption;
        bool WordWrap;
        int Width;
        int Lines;
    } cases[] = {
        {"one two", true, both + 2, 1},
        {"one two", true, both - 2, 2},
        {"one two", false, both - 2, 1},
        // A word wider than the label keeps its line, cut off, as Windows draws it.
        {"Dev-C++", true, metrics.horizontalAdvance(QStringLiteral("Dev-C+")), 1},
        {"one'#13#10'two", false, both + 2, 2},
    };
    for (const Case& c : cases) {
        for (const bool checkBox : {false, true}) {
            // A check box's caption starts after its 13-pixel box and a 4-pixel gap; a
            // label keeps the width it is given.
            const int captionLeft = checkBox ? 17 : 0;
            const std::string properties = std::string("Caption = '") + c.Caption +
                                           "'\nWordWrap = " + (c.WordWrap ? "True" : "False") + "\n" +
                                           (checkBox ? "" : "AutoSize = False\n");
            RealizedForm f(Form(Control(
                "L", checkBox ? "TCheckBox" : "TLabel", properties,
                "Left = 8\nTop = 8\nWidth = " + std::to_string(captionLeft + c.Width) + "\nHeight = 60\n")));
            const QImage look = f.Look("L");
            ASSERT_FALSE(look.isNull());
            EXPECT_EQ(TextLines(look, captionLeft), c.Lines) << properties << "width " << c.Width;
        }
    }
}

TEST(StandardFactory, EditsShowTheirText) {
    struct Case {
        const char* Class;
        const char* Properties;
        const char* Shown;
    } cases[] = {
        {"TEdit", "Text = 'Hello'\n", "Hello"},
        {"TEdit", "PasswordChar = '*'\nText = 'secret'\n", "******"},
        {"TEdit", "CharCase = ecUpperCase\nText = 'Mixed'\n", "MIXED"},
        {"TEdit", "CharCase = ecLowerCase\nText = 'Mixed'\n", "mixed"},
        {"TLabeledEdit", "Text = 'labelled'\n", "labelled"},
        // A masked edit shows the mask's literals and blanks for missing characters.
        {"TMaskEdit", "EditMask = '!\\(999\\)000-0000;1;_'\nText = '(555)123-4567'\n", "(555)123-4567"},
        {"TMaskEdit", "EditMask = '!\\(999\\)000-0000;0;_'\nText = '5551234567'\n", "(555)123-4567"},
        {"TMaskEdit", "EditMask = '!\\(999\\)000-0000;1;_'\n", "(___)___-____"},
        {"TMaskEdit", "EditMask = '00/00/0000;1; '\n", "  /  /    "},
        {"TMaskEdit", "EditMask = '>LL<ll;0;*'\nText = 'abCD'\n", "ABcd"},
        {"TMaskEdit", "EditMask = '000'\nText = '12'\n", "12_"},
        {"TMaskEdit", "EditMask = '\\'\nText = 'x'\n", "\\"},
        {"TMaskEdit", "Text = 'no mask'\n", "no mask"},
        // The hot-key box names the shortcut as Windows does.
        {"THotKey", "HotKey = 24659\n", "Ctrl + Shift + S"},
        {"THotKey", "HotKey = 32880\n", "Alt + F1"},
        {"THotKey", "HotKey = 0\n", "None"},
        {"THotKey", "", "Alt + A"},
        // Without data the data-aware edit is empty.
        {"TDBEdit", "", ""},
    };
    for (const Case& c : cases) {
        RealizedForm f(Form(Control("E", c.Class, c.Properties)));
        QLineEdit* edit = As<QLineEdit>(f, "E");
        ASSERT_TRUE(edit) << c.Class << " " << c.Properties;
        EXPECT_EQ(edit->text(), QString::fromUtf8(c.Shown)) << c.Class << " " << c.Properties;
        EXPECT_EQ(edit->cursorPosition(), 0) << "an edit without focus shows the start of its text";
    }
}

TEST(StandardFactory, LabeledEditShowsItsLabelBesideTheEdit) {
    struct Case {
        const char* Position;
        QPoint LabelAt;  // the edit is at (100, 50), 121 x 21; the label 40 x 13; spacing 3
    } cases[] = {
        {"lpAbove", {100, 34}},
        {"lpBelow", {100, 74}},
        {"lpLeft", {57, 54}},
        {"lpRight", {224, 54}},
    };
    for (const Case& c : cases) {
        RealizedForm f(Form(Control("E", "TLabeledEdit",
                                    std::string("EditLabel.Width = 40\nEditLabel.Height = 13\n"
                                                "EditLabel.Caption = '&Name'\nLabelPosition = ") +
                                        c.Position + "\n",
                                    "Left = 100\nTop = 50\nWidth = 121\nHeight = 21\n")));
        QWidget* edit = f.Widget("E");
        ASSERT_TRUE(edit);
        QLabel* label = nullptr;
        for (QLabel* candidate : f.Client->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            if (candidate->text() == QStringLiteral("Name")) label = candidate;
        ASSERT_NE(label, nullptr) << c.Position;
        EXPECT_EQ(label->geometry(), QRect(c.LabelAt, QSize(40, 13))) << c.Position;
        EXPECT_FALSE(label->isHidden());
        // The label follows the edit (a widget gets its move events once shown).
        f.Client->show();
        edit->move(edit->pos() + QPoint(10, 5));
        EXPECT_EQ(label->pos(), c.LabelAt + QPoint(10, 5)) << c.Position;
        edit->hide();
        EXPECT_TRUE(label->isHidden());
    }
}

TEST(StandardFactory, MemosShowTheirLines) {
    RealizedForm f(
        Form(Control("M1", "TMemo",
                     "Lines.Strings = (\n'first'\n'second')\nScrollBars = ssVertical\nWordWrap = False\n",
                     "Left = 8\nTop = 8\nWidth = 185\nHeight = 89\n") +
             Control("M2", "TDBMemo", "", "Left = 8\nTop = 100\nWidth = 185\nHeight = 89\n") +
             Control("M3", "TMemo", "Lines.Strings = (\n'x')\nBorderStyle = bsNone\n",
                     "Left = 200\nTop = 8\nWidth = 185\nHeight = 89\n")));
    QPlainTextEdit* m1 = As<QPlainTextEdit>(f, "M1");
    QPlainTextEdit* m2 = As<QPlainTextEdit>(f, "M2");
    QPlainTextEdit* m3 = As<QPlainTextEdit>(f, "M3");
    ASSERT_TRUE(m1 && m2 && m3);
    EXPECT_EQ(m1->toPlainText(), QStringLiteral("first\nsecond"));
    EXPECT_EQ(m1->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(m1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(m1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(m2->toPlainText(), QString());
    EXPECT_EQ(m3->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(m3->frameShape(), QFrame::NoFrame);
}

TEST(StandardFactory, ListsShowTheirItems) {
    std::string many = "Items.Strings = (\n";
    for (int i = 0; i < 10005; ++i)
        many += "'row" + std::to_string(i) + "'\n";
    many += "'last')\n";
    RealizedForm f(
        Form(Control("L1", "TListBox", "Items.Strings = (\n'pear'\n'Apple'\n'fig')\nSorted = True\n") +
             Control("L2", "TCheckListBox", "Items.Strings = (\n'one'\n'two')\n") +
             Control("L3", "TDBListBox", "Items.Strings = (\n'a'\n'b')\n") + Control("L4", "TListBox", many) +
             Control("L5", "TListBox", "Items.Strings = (\n'hidden')\nStyle = lbVirtual\n") +
             Control("L6", "TDBLookupListBox", "") + Control("L7", "TFileListBox", "Mask = '*.pas'\n") +
             Control("L8", "TDirectoryListBox", "Directory = 'C:\\Work\\Forms'\n")));
    QListWidget* sorted = As<QListWidget>(f, "L1");
    ASSERT_TRUE(sorted);
    ASSERT_EQ(sorted->count(), 3);
    EXPECT_EQ(sorted->item(0)->text(), QStringLiteral("Apple"));
    EXPECT_EQ(sorted->item(1)->text(), QStringLiteral("fig"));
    EXPECT_EQ(sorted->item(2)->text(), QStringLiteral("pear"));

    QListWidget* checks = As<QListWidget>(f, "L2");
    ASSERT_TRUE(checks);
    ASSERT_EQ(checks->count(), 2);
    EXPECT_TRUE(checks->item(0)->flags() & Qt::ItemIsUserCheckable);
    EXPECT_EQ(checks->item(1)->checkState(), Qt::Unchecked);

    QListWidget* data = As<QListWidget>(f, "L3");
    ASSERT_TRUE(data);
    EXPECT_EQ(data->count(), 2);
    EXPECT_EQ(data->currentRow(), -1);

    // A list holding more than the cap shows the first rows up to it.
    QListWidget* capped = As<QListWidget>(f, "L4");
    ASSERT_TRUE(capped);
    EXPECT_EQ(capped->count(), 10000);
    EXPECT_EQ(capped->item(9999)->text(), QStringLiteral("row9999"));

    QListWidget* lookup = As<QListWidget>(f, "L6");
    QListWidget* virtualList = As<QListWidget>(f, "L5");
    ASSERT_TRUE(lookup && virtualList);
    EXPECT_EQ(virtualList->count(), 0);
    EXPECT_EQ(lookup->count(), 0);

    QListWidget* files = As<QListWidget>(f, "L7");
    ASSERT_TRUE(files);
    ASSERT_GE(files->count(), 1);
    for (int i = 0; i < files->count(); ++i)
        EXPECT_TRUE(files->item(i)->text().endsWith(QStringLiteral(".pas")));

    QListWidget* dirs = As<QListWidget>(f, "L8");
    ASSERT_TRUE(dirs);
    ASSERT_EQ(dirs->count(), 3);
    EXPECT_EQ(dirs->item(0)->text(), QStringLiteral("C:\\"));
    EXPECT_EQ(dirs->item(2)->text(), QStringLiteral("Forms"));
    EXPECT_EQ(dirs->currentRow(), 2);
}

TEST(StandardFactory, CombosShowTheirText) {
    struct Case {
        const char* Class;
        const char* Properties;
        bool Editable;
        const char* Shown;
        int Index;
    } cases[] = {
        {"TComboBox", "Text = 'typed'\nItems.Strings = (\n'a'\n'b')\n", true, "typed", -1},
        {"TComboBox", "ItemIndex = 1\nText = 'b'\nItems.Strings = (\n'a'\n'b')\n", true, "b", 1},
        {"TComboBox", "Style = csDropDownList\nItemIndex = 0\nItems.Strings = (\n'a'\n'b')\n", false, "a", 0},
        // A drop-down list shows no text that is not one of its items.
        {"TComboBox", "Style = csDropDownList\nText = 'zzz'\nItems.Strings = (\n'a'\n'b')\n", false, "", -1},
        {"TComboBox", "Style = csDropDownList\nText = 'B'\nItems.Strings = (\n'a'\n'b')\n", false, "b", 1},
        {"TComboBox", "Style = csDropDownList\nItemIndex = 7\nItems.Strings = (\n'a'\n'b')\n", false, "", -1},
        {"TComboBox", "Style = csOwnerDrawFixed\nItemIndex = 1\nItems.Strings = (\n'a'\n'b')\n", false, "b",
         1},
        {"TComboBox", "Sorted = True\nItemIndex = 0\nItems.Strings = (\n'z'\n'y')\n", true, "y", 0},
        {"TDBComboBox", "Items.Strings = (\n'a'\n'b')\n", true, "", -1},
        {"TComboBoxEx",
         "ItemsEx = <\nitem\nCaption = 'first'\nend\nitem\nCaption = 'second'\nend>\nText = 'second'\n", true,
         "second", 1},
        {"TColorBox", "Selected = clRed\n", false, "clRed", -2},
        {"TColorBox", "Selected = clBtnFace\nStyle = [cbStandardColors, cbSystemColors, cbPrettyNames]\n",
         false, "Button Face", -2},
        {"TColorBox", "Selected = 12345\nStyle = [cbStandardColors, cbCustomColor]\n", false, "Custom...", 0},
        {"TColorBox", "Selected = 12345\nStyle = [cbStandardColors]\n", false, "", -1},
        {"TColorBox", "", false, "clBlack", 0},
        {"TFilterComboBox", "Filter = 'Pascal units (*.pas)|*.pas|All files|*.*'\n", false,
         "Pascal units (*.pas)", 0},
        {"TFilterComboBox", "", false, "All files (*.*)", 0},
        {"TDriveComboBox", "", false, "c:", 0},
        {"TShellComboBox", "", false, "Desktop", 0},
        {"TDBLookupComboBox", "", false, "", -1},
        {"TDBLookupCombo", "", false, "", -1},
    };
    for (const Case& c : cases) {
        RealizedForm f(Form(Control("C", c.Class, c.Properties)));
        QComboBox* combo = As<QComboBox>(f, "C");
        ASSERT_TRUE(combo) << c.Class << " " << c.Properties;
        EXPECT_EQ(combo->isEditable(), c.Editable) << c.Class << " " << c.Properties;
        EXPECT_EQ(combo->currentText(), QString::fromUtf8(c.Shown)) << c.Class << " " << c.Properties;
        if (c.Index != -2) EXPECT_EQ(combo->currentIndex(), c.Index) << c.Class << " " << c.Properties;
    }
    // A simple combo box is an edit with its list open under it.
    RealizedForm f(
        Form(Control("C", "TComboBox", "Style = csSimple\nText = 'typed'\nItems.Strings = (\n'a'\n'b')\n",
                     "Left = 8\nTop = 8\nWidth = 145\nHeight = 100\n")));
    QWidget* simple = f.Widget("C");
    ASSERT_TRUE(simple);
    auto* edit = simple->findChild<QLineEdit*>();
    auto* list = simple->findChild<QListWidget*>();
    ASSERT_TRUE(edit && list);
    EXPECT_EQ(edit->text(), QStringLiteral("typed"));
    EXPECT_EQ(list->count(), 2);
    EXPECT_LE(edit->geometry().bottom(), list->geometry().top());
    EXPECT_EQ(list->geometry().bottom(), 99);
}

TEST(StandardFactory, BitmapButtonsShowStockOrOwnGlyphs) {
    struct Case {
        const char* Properties;
        const char* Text;
        bool HasGlyph;
        int GlyphWidth;
    } cases[] = {
        {"Kind = bkOK\n", "OK", true, 18},
        {"Kind = bkCancel\n", "Cancel", true, 18},
        {"Kind = bkYes\n", "Yes", true, 18},
        {"Kind = bkClose\nCaption = 'Leave'\n", "Leave", true, 18},
        {"Caption = 'Plain'\n", "Plain", false, 0},
        // Four cells side by side: the first is the normal look.
        {"Caption = 'Own'\nNumGlyphs = 4\nGlyph.Data = GLYPH", "Own", true, 10},
        {"Caption = 'One'\nGlyph.Data = GLYPH", "One", true, 40},
        // A count beyond the strip's width shows the strip as one image.
        {"Caption = 'Odd'\nNumGlyphs = 4\nGlyph.Data = NARROW", "Odd", true, 2},
    };
    const std::string glyph =
        GlyphData(40, 10, [](int x, int) { return x < 10 ? qRgb(255, 0, 0) : qRgb(0, 0, 255); });
    const std::string narrow = GlyphData(2, 2, [](int, int) { return qRgb(255, 0, 0); });
    for (const Case& c : cases) {
        std::string properties = c.Properties;
        if (const auto at = properties.find("GLYPH"); at != std::string::npos)
            properties.replace(at, 5, glyph);
        if (const auto at = properties.find("NARROW"); at != std::string::npos)
            properties.replace(at, 6, narrow);
        RealizedForm f(Form(Control("B", "TBitBtn", properties)));
        for (const std::string& m : f.Messages)
            ADD_FAILURE() << m;
        QPushButton* button = As<QPushButton>(f, "B");
        ASSERT_TRUE(button) << c.Properties;
        EXPECT_EQ(button->text(), QString::fromUtf8(c.Text)) << c.Properties;
        EXPECT_EQ(!button->icon().isNull(), c.HasGlyph) << c.Properties;
        if (c.HasGlyph)
            EXPECT_EQ(button->icon().availableSizes().value(0).width(), c.GlyphWidth) << c.Properties;
    }
}

// The bounding box of the pixels of one colour in a widget's picture.
QRect PixelsOf(QWidget* widget, QRgb color) {
    const QImage image = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (color & 0xFFFFFF)) box |= QRect(x, y, 1, 1);
    return box;
}

TEST(StandardFactory, GlyphsSitWhereTheButtonLayoutPutsThem) {
    // A 10 x 10 red glyph whose bottom-left pixel (white) is its transparent colour, in
    // a 75 x 25 button with no caption; the button's inside starts 1 pixel in.
    const std::string glyph = GlyphData(
        10, 10, [](int x, int y) { return x == 0 && y == 9 ? qRgb(255, 255, 255) : qRgb(255, 0, 0); });
    struct Case {
        const char* Class;
        const char* Properties;
        QRect Glyph;
    } cases[] = {
        {"TBitBtn", "", QRect(33, 8, 10, 10)},
        {"TBitBtn", "Margin = 4\n", QRect(5, 8, 10, 10)},
        {"TBitBtn", "Layout = blGlyphRight\nMargin = 4\n", QRect(60, 8, 10, 10)},
        {"TBitBtn", "Layout = blGlyphTop\nMargin = 2\n", QRect(33, 3, 10, 10)},
        {"TBitBtn", "Layout = blGlyphBottom\nMargin = 2\n", QRect(33, 12, 10, 10)},
        {"TSpeedButton", "Flat = True\n", QRect(33, 8, 10, 10)},
    };
    for (const Case& c : cases) {
        RealizedForm f(Form(Control("B", c.Class, std::string(c.Properties) + "Glyph.Data = " + glyph,
                                    "Left = 8\nTop = 8\nWidth = 75\nHeight = 25\n")));
        QWidget* button = f.Widget("B");
        ASSERT_TRUE(button);
        EXPECT_EQ(PixelsOf(button, qRgb(255, 0, 0)), c.Glyph) << c.Class << " " << c.Properties;
    }
    // With a caption, the glyph on the left comes before the text and the pair is centred.
    RealizedForm f(Form(Control("B", "TBitBtn", "Caption = 'Go'\nGlyph.Data = " + glyph,
                                "Left = 8\nTop = 8\nWidth = 75\nHeight = 25\n")));
    QWidget* button = f.Widget("B");
    ASSERT_TRUE(button);
    const QRect red = PixelsOf(button, qRgb(255, 0, 0));
    EXPECT_LT(red.left(), 33);
    EXPECT_GT(red.left(), 5);
}

TEST(StandardFactory, SpeedButtonsShowDownAndFlat) {
    RealizedForm f(Form(
        Control("S1", "TSpeedButton", "Down = True\nGroupIndex = 1\nCaption = 'B'\n") +
        Control("S2", "TSpeedButton", "Flat = True\n", "Left = 40\nTop = 8\nWidth = 23\nHeight = 22\n")));
    QPushButton* down = As<QPushButton>(f, "S1");
    QPushButton* flat = As<QPushButton>(f, "S2");
    ASSERT_TRUE(down && flat);
    EXPECT_TRUE(down->isChecked());
    EXPECT_EQ(down->text(), QStringLiteral("B"));
    EXPECT_FALSE(flat->isChecked());
    EXPECT_TRUE(flat->isFlat());
}

TEST(StandardFactory, GroupBoxesHoldTheirChildren) {
    RealizedForm f(
        Form(Control("G", "TGroupBox",
                     "Caption = 'Options'\n" + Control("Inner", "TCheckBox", "Caption = 'x'\n",
                                                       "Left = 10\nTop = 20\nWidth = 80\nHeight = 17\n"),
                     "Left = 8\nTop = 8\nWidth = 185\nHeight = 105\n")));
    QGroupBox* group = As<QGroupBox>(f, "G");
    ASSERT_TRUE(group);
    EXPECT_EQ(group->title(), QStringLiteral("Options"));
    EXPECT_EQ(f.Realizer->WidgetOf(f["G"]).Client, group);
    QWidget* inner = f.Realizer->WidgetOf(*f["G"].Controls().at(0)).Widget;
    ASSERT_TRUE(inner);
    EXPECT_EQ(inner->parentWidget(), group);
    EXPECT_EQ(inner->geometry(), QRect(10, 20, 80, 17));
}

TEST(StandardFactory, RadioGroupsLayTheirItemsInColumns) {
    struct Case {
        const char* Class;
        const char* Properties;
        int Checked;
        std::vector<int> Lefts;  // of the buttons, in item order
    } cases[] = {
        {"TRadioGroup", "Columns = 2\nItemIndex = 2\n", 2, {8, 8, 95}},
        {"TRadioGroup", "ItemIndex = 0\n", 0, {8, 8, 8}},
        // Columns beyond the items still give each column its share of the width.
        {"TRadioGroup", "Columns = 5\nItemIndex = 9\n", -1, {8, 43, 78}},
        {"TDBRadioGroup", "Columns = 3\n", -1, {8, 66, 124}},
    };
    for (const Case& c : cases) {
        RealizedForm f(Form(Control(
            "R", c.Class, std::string("Caption = 'Pick'\nItems.Strings = (\n'a'\n'b'\n'c')\n") + c.Properties,
            "Left = 8\nTop = 8\nWidth = 185\nHeight = 105\n")));
        QGroupBox* group = As<QGroupBox>(f, "R");
        ASSERT_TRUE(group) << c.Properties;
        const QList<QRadioButton*> buttons = group->findChildren<QRadioButton*>();
        ASSERT_EQ(buttons.size(), 3) << c.Properties;
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(buttons[i]->text(), QString(QChar('a' + i)));
            EXPECT_EQ(buttons[i]->isChecked(), i == c.Checked) << c.Properties << " item " << i;
            EXPECT_EQ(buttons[i]->x(), c.Lefts[static_cast<std::size_t>(i)]) << c.Properties << " item " << i;
        }
        // Rows share the height under the caption; a column's rows are one below another.
        if (c.Lefts[0] == c.Lefts[1]) EXPECT_GT(buttons[1]->y(), buttons[0]->y());
    }
}

TEST(StandardFactory, ScrollBarsAndSpinEdits) {
    RealizedForm f(
        Form(Control("S1", "TScrollBar",
                     "Kind = sbVertical\nMin = 10\nMax = 110\nPosition = 50\nPageSize = 20\n") +
             Control("S2", "TScrollBar", "Min = 50\nMax = 10\nPosition = 99\n") +
             Control("E1", "TSpinEdit", "MinValue = 1\nMaxValue = 10\nValue = 5\nIncrement = 2\n") +
             Control("E2", "TSpinEdit", "MinValue = 0\nMaxValue = 0\nValue = -12345\n") +
             Control("E3", "TSpinEdit", "MinValue = 1\nMaxValue = 10\nValue = 50\n")));
    QScrollBar* s1 = As<QScrollBar>(f, "S1");
    QScrollBar* s2 = As<QScrollBar>(f, "S2");
    ASSERT_TRUE(s1 && s2);
    EXPECT_EQ(s1->orientation(), Qt::Vertical);
    EXPECT_EQ(s1->minimum(), 10);
    EXPECT_EQ(s1->maximum(), 91);  // the thumb covers a page: Max - PageSize + 1
    EXPECT_EQ(s1->value(), 50);
    EXPECT_EQ(s1->pageStep(), 20);
    EXPECT_EQ(s2->orientation(), Qt::Horizontal);
    EXPECT_LE(s2->minimum(), s2->maximum());

    QSpinBox* e1 = As<QSpinBox>(f, "E1");
    QSpinBox* e2 = As<QSpinBox>(f, "E2");
    QSpinBox* e3 = As<QSpinBox>(f, "E3");
    ASSERT_TRUE(e1 && e2 && e3);
    EXPECT_EQ(e1->value(), 5);
    EXPECT_EQ(e1->singleStep(), 2);
    EXPECT_EQ(e2->value(), -12345);  // equal bounds: no bounds
    EXPECT_EQ(e3->value(), 10);
}

TEST(StandardFactory, NavigatorShowsItsVisibleButtons) {
    RealizedForm f(Form(Control("N1", "TDBNavigator", "", "Left = 0\nTop = 0\nWidth = 240\nHeight = 25\n") +
                        Control("N2", "TDBNavigator", "VisibleButtons = [nbFirst, nbPrior, nbNext]\n",
                                "Left = 0\nTop = 30\nWidth = 100\nHeight = 25\n") +
                        Control("N3", "TDBNavigator", "VisibleButtons = []\n",
                                "Left = 0\nTop = 60\nWidth = 100\nHeight = 25\n")));
    struct Case {
        const char* Name;
        int Buttons;
        int Width;
    } cases[] = {{"N1", 10, 240}, {"N2", 3, 100}, {"N3", 0, 100}};
    for (const Case& c : cases) {
        QWidget* bar = f.Widget(c.Name);
        ASSERT_TRUE(bar) << c.Name;
        const QList<QPushButton*> buttons = bar->findChildren<QPushButton*>();
        ASSERT_EQ(buttons.size(), c.Buttons) << c.Name;
        int covered = 0;
        for (QPushButton* b : buttons) {
            covered += b->width();
            EXPECT_FALSE(b->isEnabled()) << c.Name << ": no open dataset, every button is disabled";
            EXPECT_FALSE(b->icon().isNull());
        }
        if (c.Buttons > 0) EXPECT_EQ(covered, c.Width) << c.Name;
    }
}

TEST(StandardFactory, DataAwareControlsShowNoData) {
    RealizedForm f(Form(Control("T", "TDBText", "DataField = 'Name'\n") +
                        Control("G", "TDBRadioGroup", "Items.Strings = (\n'x'\n'y')\n",
                                "Left = 8\nTop = 40\nWidth = 185\nHeight = 105\n")));
    const DrawnControl* text = f.Drawing("T");
    ASSERT_TRUE(text);
    EXPECT_EQ(text->Text(), QString());
    QGroupBox* group = As<QGroupBox>(f, "G");
    ASSERT_TRUE(group);
    const QList<QRadioButton*> buttons = group->findChildren<QRadioButton*>();
    ASSERT_EQ(buttons.size(), 2);
    for (QRadioButton* b : buttons)
        EXPECT_FALSE(b->isChecked());
}

TEST(StandardFactory, OddValuesFallBackWithoutFailing) {
    // Values out of range, empty lists, huge counts: each control is still made.
    RealizedForm f(Form(
        Control("A", "TListBox", "Columns = 100000\nItems.Strings = (\n'a')\n") +
        Control("B", "TRadioGroup", "Columns = -3\nItemIndex = 99\n") +
        Control("C", "TRadioGroup", "Columns = 1000\nItems.Strings = (\n'a'\n'b')\n",
                "Left = 0\nTop = 0\nWidth = 5\nHeight = 5\n") +
        Control("D", "TScrollBar", "Min = -2147483648\nMax = 2147483647\nPageSize = 2147483647\n") +
        Control("E", "TBitBtn", "NumGlyphs = 0\nMargin = 100000\nSpacing = -100000\nCaption = 'x'\n") +
        Control("F", "TComboBox", "ItemIndex = -7\nStyle = csDropDownList\n") +
        Control("G", "TMaskEdit", "EditMask = ';;'\nText = 'abc'\n") +
        Control("H", "TEdit", "PasswordChar = #0\nText = 'shown'\n") +
        Control("I", "TColorBox", "Selected = clNone\nStyle = []\n") +
        Control("J", "TStaticText", "BorderStyle = sbsSingle\nCaption = ''\n",
                "Left = 0\nTop = 0\nWidth = 0\nHeight = 0\n") +
        Control("K", "TLabel",
                "EllipsisPosition = epPathEllipsis\nCaption = 'C:\\a\\very\\long\\path\\name.txt'\n",
                "Left = 0\nTop = 0\nWidth = 3\nHeight = 3\n") +
        Control("L", "TLabeledEdit", "EditLabel.Width = 0\nEditLabel.Height = 0\nLabelSpacing = -50\n")));
    for (const char* name : {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L"}) {
        ASSERT_NE(f.Realizer->PlaceOf(f[name]).Parent, nullptr) << name;
        f.Look(name);  // painting must cope too
    }
    QLineEdit* plain = As<QLineEdit>(f, "H");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->text(), QStringLiteral("shown"));
    QComboBox* combo = As<QComboBox>(f, "F");
    ASSERT_TRUE(combo);
    EXPECT_EQ(combo->currentIndex(), -1);
}

}  // namespace
}  // namespace fw::preview
