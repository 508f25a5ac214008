#pragma once
// Editing values in the object inspector. What a row can be edited with, and how a
// typed or picked value is written in form-text syntax, is worked out without widgets;
// ValueEditor is the in-place editor of one row, with a drop-down for names and a
// "..." button for the dialogs (colour, font, string list, set).

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "preview/oirows.h"

class QComboBox;
class QLineEdit;
class QToolButton;

namespace fw::preview {

// How a row's value is edited.
enum class ValueKind {
    None,          // not editable here
    Integer,       // a whole number within 32 bits
    Int64,         // a whole number within 64 bits
    Float,         // a number with an optional fraction and exponent
    String,        // characters, written quoted
    Char,          // one character, written quoted
    Identifier,    // an identifier written bare: an event's method, a referenced component, the object's name
    Boolean,       // False or True
    Enumeration,   // one of the type's names
    Set,           // any of the element type's names
    NamedInteger,  // a number or one of the type's names (TModalResult, ...)
    Color,         // a colour name or number, with a colour picker
    Cursor,        // a cursor name or number
    ShortCut,      // a key text ("Ctrl+S"), stored as its number
    Strings,       // a string list, edited as lines
    Font,          // a font, edited with a font dialog as its sub-properties
};

// The editor a row takes; event rows are Identifier. A row of a stand-in's stored
// values, of the text-only view or of an object that is read through a reference is
// not editable.
ValueKind ValueKindOf(const InspectorRow& row, bool eventRow, bool topLevel);

// A string in form-text syntax: printable ASCII in quotes (a quote doubled), every
// other character as #code of its UTF-16 unit: 'Gr'#252#223'e', '' for none.
std::string FormStringLiteral(std::u16string_view value);
// A set of names: "[fsBold, fsItalic]", "[]".
std::string FormSetValue(const std::vector<std::string>& names);
// A string list as its Strings value: "( 'a' 'b' )"; empty for no lines.
std::string FormStringListValue(const std::vector<std::u16string>& lines);
// The names of a set text ("[a, b]", "[a,b]", "a, b"), trimmed, empties dropped.
std::vector<std::string> SetNames(std::string_view text);

// The names a drop-down offers: the enumeration's names, False/True, the named
// values of a type with names; empty for the others.
std::vector<std::string> ChoicesOf(const InspectorRow& row, ValueKind kind);
// The element names of a set row's type.
std::vector<std::string> SetElementsOf(const InspectorRow& row);

// The form-text value of what the user typed or picked in a row's editor; nullopt when
// it is no value of the kind (a word that is no name of the type, a number out of
// range, a key text that names no key). An empty result removes the property (an
// event without a method). Names are written as the type spells them.
std::optional<std::string> FormValueOf(const InspectorRow& row, ValueKind kind, const QString& typed);

// A font as the form stores it.
struct FontValues {
    std::string Name;
    int Height = 0;  // negative: the character height in pixels
    std::vector<std::string> Style;
    bool operator==(const FontValues&) const = default;
};
// The pixels per inch of the screen the designer writes font heights for.
inline constexpr int DesignPixelsPerInch = 96;
// The font a dialog starts from, and the values of the font a dialog gave.
QFont QFontOf(const FontValues& values);
FontValues FontValuesOf(const QFont& font);
// The sub-properties of a font property (prefix "Font.") that change from before to
// after, with their new values: Name, Height, Style, in that order.
std::vector<std::pair<std::string, std::string>> FontChanges(const std::string& prefix,
                                                             const FontValues& before,
                                                             const FontValues& after);

// The dialogs the "..." buttons open. Each gives nullopt when cancelled.
struct EditorDialogs {
    std::function<std::optional<QColor>(const QColor& initial)> AskColor;
    std::function<std::optional<QFont>(const QFont& initial)> AskFont;
    std::function<std::optional<QStringList>(const QStringList& lines)> AskLines;
    std::function<std::optional<QStringList>(const QStringList& names, const QStringList& checked)> AskSet;
    // The dialogs of the platform, and a small list editor and check list of our own.
    static EditorDialogs Standard();
};

// The in-place editor of one row: a line, a drop-down (editable where numbers are
// allowed too) and, for colours, fonts, string lists and sets, a "..." button. Enter
// commits what is typed, picking from the drop-down or closing a dialog with OK commits
// the pick, and Escape cancels. A value that is no value of the kind is not committed;
// the line turns red.
class ValueEditor : public QWidget {
    Q_OBJECT
public:
    // row: the row edited; path: its dotted property path, as the values are for;
    // font: for a font row, its values as they are.
    ValueEditor(InspectorRow row, ValueKind kind, std::string path, FontValues font,
                const EditorDialogs& dialogs, QWidget* parent = nullptr);

    ValueKind Kind() const { return kind_; }
    // The line typed in (of an editable drop-down too); nullptr for a plain drop-down.
    QLineEdit* Line() const { return line_; }
    QComboBox* Choices() const { return choices_; }
    QToolButton* DialogButton() const { return dialogButton_; }

    // Commits the typed text, as Enter does; false when it is no value of the kind.
    bool CommitTyped();
    // Opens the kind's dialog, as the "..." button does, and commits its result.
    void OpenDialog();

signals:
    // The properties at these paths take these form-text values (empty: removed).
    void Committed(const QStringList& paths, const QStringList& values);
    void Cancelled();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Commit(const QStringList& paths, const QStringList& values);

    InspectorRow row_;
    ValueKind kind_;
    std::string path_;
    FontValues font_;
    const EditorDialogs& dialogs_;
    QLineEdit* line_ = nullptr;
    QComboBox* choices_ = nullptr;
    QToolButton* dialogButton_ = nullptr;
    bool done_ = false;
};

}  // namespace fw::preview
