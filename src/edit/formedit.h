#pragma once
// Edits of form text as the smallest change to the text. A FormEditor reads a form's
// text once (8-bit text in its code page, as the file holds it, or UTF-8 text that
// begins with a byte-order mark) and answers each edit with the replacements that make
// it: the value of one property line replaced (a value over several lines, such as a
// string list or hex data, replaced whole), one line inserted where the writer would
// place it, one line removed when the new value is the property's default, an object's
// lines cut, inserted or moved. Every other byte of the text stays as it was: layout,
// line ends, the order of the other properties and the way their values are written.
//
// Values are given in form-text syntax ("'OK'", "10", "[akLeft, akTop]", "clRed",
// "1.5", "True") and written exactly as a conversion from the binary encoding would
// write them (strings split into runs and #codes for the code page, floats with their
// digits, identifiers as given), indented as the object's other properties are.
//
// Objects are named by a path: an object's name alone when no other object of the form
// has it, the root's name, or the names from the root joined with "." where names
// repeat (objects of several frames): "Form1.Frame1.Button1". A step "#n" stands for the
// n-th object (from 0) directly under the previous step, for an object without a name:
// "Form1.Panel1.#2". Properties may be nested ("Font.Style", "Margins.Left") and may
// name an item of a collection by its position ("Columns[1].Width").
//
// Each edit is checked by converting the edited text; an edit whose result would not
// convert is refused with the reader's message (EditError), and so is one that names
// an object or property that is not there, or a property the object's class, when the
// class registry knows it, does not have. Plain C++; no screen.

#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/codepage.h"
#include "base/errors.h"

namespace fw::rt {
class ClassRegistry;
}

namespace fw::edit {

// An edit that cannot be made; the message says why, with the line where one applies.
class EditError : public Exception {
public:
    using Exception::Exception;
};

// One replacement: the Length bytes at Offset of the text become Text.
struct TextEdit {
    std::size_t Offset = 0;
    std::size_t Length = 0;
    std::string Text;
    bool operator==(const TextEdit&) const = default;
};

// What an edit changes: the replacements, sorted by offset and not overlapping (empty
// when the text already says what was asked), and one line per change for people, as
// "Button1.Caption: 'OK' -> 'Cancel'", "Button1.Hint: added 'Save'", "Panel1.Color:
// removed (default)", "Button1 renamed to OkButton", "Label3: deleted".
// A property value an edit wrote or removed, for views that follow the text without
// reading it again (the live preview applies it to its object).
struct PropertyChange {
    std::string Object;    // the object's path, as Objects() gives it
    std::string Property;  // as written in the text: "Caption", "Font.Style", "Columns[1].Width"
    // The value as the text now writes it (form-text syntax, all its lines); nullopt
    // when the line was removed, so the property has its default again.
    std::optional<std::string> Value;
    bool operator==(const PropertyChange&) const = default;
};

// What an edit changes: the replacements, sorted by offset and not overlapping (empty
// when the text already says what was asked), and one line per change for people, as
// "Button1.Caption: 'OK' -> 'Cancel'", "Button1.Hint: added 'Save'", "Panel1.Color:
// removed (default)", "Button1 renamed to OkButton", "Label3: deleted". Properties
// lists the values written or removed; Structural says the edit changed objects
// (renamed, deleted, added or moved one), which only reading the text again follows.
struct EditResult {
    std::vector<TextEdit> Edits;
    std::vector<std::string> Changes;
    std::vector<PropertyChange> Properties;
    bool Structural = false;
    bool Empty() const { return Edits.empty(); }
};

// The text with the replacements made (sorted, not overlapping, within the text).
std::string ApplyEdits(std::string_view text, std::span<const TextEdit> edits);

// An object of the text, as FormEditor::Objects lists them.
struct ObjectEntry {
    std::string Path;       // the shortest path that names it (see above)
    std::string Name;       // "" for an unnamed object
    std::string ClassName;  // as written
    std::string Keyword;    // "object", "inherited" or "inline"
    int Line = 0;           // 1-based line of its header
    int Depth = 0;          // 0 for the root
};

// A property to store on a new object: name and value in form-text syntax.
using PropertyValue = std::pair<std::string, std::string>;

class FormEditor {
public:
    // Reads the text. Throws EditError with the reader's message when the text is no
    // form text the editor can follow. The registry, when given, supplies the classes'
    // properties, their defaults and their order; without it every property is taken
    // as written and no value is a default.
    // The registry is not const because it works out the metadata of classes it knows
    // but does not register (the form a root of an unregistered class is built as) the
    // first time they are asked for, and the check of a value reads it into an object.
    FormEditor(std::string_view text, const CodePage& codePage, rt::ClassRegistry* registry = nullptr);
    ~FormEditor();
    FormEditor(const FormEditor&) = delete;
    FormEditor& operator=(const FormEditor&) = delete;

    std::string_view Text() const;

    // Every object of the text, depth first, parents before their children.
    std::vector<ObjectEntry> Objects() const;
    // The object a path names, or nullopt; throws EditError when a name alone names
    // several objects (the message lists their paths).
    std::optional<ObjectEntry> FindObject(std::string_view path) const;

    // The value of a property as the text writes it (all its lines, as written, with
    // their own line ends; lines after the first without the indentation of the
    // property's line), or nullopt when the text stores none.
    std::optional<std::string> GetProperty(std::string_view object, std::string_view property) const;

    // Sets a property to a value in form-text syntax (see above): the stored value is
    // replaced, or a line inserted after the properties that precede it in the
    // object's class's order, or the line removed when the value is the default. A
    // control's Left, Top, Width and Height are kept even at their defaults, as the
    // writer keeps them, and so is every value of an inherited or inline object, which
    // may override its ancestor's.
    EditResult SetProperty(std::string_view object, std::string_view property, std::string_view value) const;
    // Removes the property's line(s); empty when the text stores none.
    EditResult RemoveProperty(std::string_view object, std::string_view property) const;
    // Removes, in every object, every property whose "Path.Property" matches the
    // pattern, where "*" stands for any run of characters and "?" for one, ignoring
    // case: "*.Explicit*", "Form1.PixelsPerInch", "*.Font.Height".
    EditResult RemoveProperties(std::string_view pattern) const;

    // Renames an object: its header, and every property of the form that refers to it
    // (Action, FocusControl, PopupMenu, DataSource, ... and "Old.Sub" references).
    // Throws EditError when the new name is no identifier or another object has it, and
    // for an object that comes from the ancestor form, which the reader finds by name.
    EditResult RenameObject(std::string_view object, std::string_view newName) const;
    // Removes an object with its children (not the root, nor an object that comes from
    // the ancestor form), and the properties that the registry knows to refer to them.
    EditResult DeleteObject(std::string_view object) const;
    // Adds an object of a class as the last child of parent, with the properties the
    // designer stores for a new one (position and size, its caption or text, its tab
    // order) overridden and extended by props. An empty name takes the class name
    // without its "T" and the first free number ("Button3"). With a registry, the class
    // must be one it knows.
    EditResult AddObject(std::string_view parent, std::string_view className, std::string_view name = {},
                         std::span<const PropertyValue> props = {}) const;
    // Moves an object with its children to be the last child of another parent,
    // re-indented; its properties are kept as written. An object that comes from the
    // ancestor form stays where it is.
    EditResult MoveObject(std::string_view object, std::string_view newParent) const;

private:
    struct Outline;
    std::string text_;
    const CodePage& codePage_;
    rt::ClassRegistry* registry_;
    std::unique_ptr<Outline> outline_;
};

// Splits "Object.Property=Value" or "Object.Property" as the command line gives them:
// the object is the longest leading run of dotted steps that names an object of the
// editor's form; the rest before "=" is the property, the rest after it the value.
struct PropertyAssignment {
    std::string Object;
    std::string Property;
    std::optional<std::string> Value;
};
PropertyAssignment SplitAssignment(const FormEditor& editor, std::string_view argument);

}  // namespace fw::edit
