#pragma once
// The rows of the object inspector, worked out without widgets: the published
// properties of a live object as a tree (values from the form text where the text sets
// them, live values otherwise), the property lines of the text alone when there is no
// live object, the events, and what a picture-valued property can show.

#include <array>
#include <charconv>
#include <string>
#include <string_view>
#include <vector>

#include "preview/formlines.h"
#include "runtime/object.h"

namespace fw::preview {

// The cursor identifiers by negated value: entry i names the cursor -i.
inline constexpr std::array<std::string_view, 22> CursorNames = {
    "crDefault",  "crNone",     "crArrow",    "crCross",     "crIBeam",     "crSize",
    "crSizeNESW", "crSizeNS",   "crSizeNWSE", "crSizeWE",    "crUpArrow",   "crHourGlass",
    "crDrag",     "crNoDrop",   "crHSplit",   "crVSplit",    "crMultiDrag", "crSQLWait",
    "crNo",       "crAppStart", "crHelp",     "crHandPoint",
};

// Reads a whole text as a number of that type, blanks around it and a leading "+"
// allowed; false, with value unspecified, for anything else.
template <typename Number>
bool ReadNumber(std::string_view text, Number& value) {
    text = TrimBlanks(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

// One row of the properties or events tree.
struct InspectorRow {
    // The property or event name; in the text-only view the part of the line before
    // its first "=", as written.
    std::string Name;
    // The declared type (TColor, TNotifyEvent); empty in the text-only view.
    std::string TypeName;
    std::string Value;
    // The index, among the object's source lines, of the line that sets this property;
    // -1 when the text does not set it, and always in the text-only view.
    int SourceIndex = -1;
    // The type kind number, 0 to 17.
    int Kind = 0;
    // The declared type; nullptr in the text-only view and for a stand-in's stored values.
    const rt::TypeInfo* Type = nullptr;
    // For a string or character property, its characters (UTF-8) as an editor starts
    // from them, where Value may show #codes and doubled quotes.
    std::string EditText;
    // A class-typed property that refers to another component rather than holding a
    // sub-object of its own.
    bool Reference = false;
    // For a class-typed property, the object it holds; nullptr otherwise. Valid only as
    // long as the live form the row was made from.
    rt::Object* Object = nullptr;
    // The properties of Object, for an expanded class-typed row.
    std::vector<InspectorRow> Children;
};

// The lines the text writes directly inside the object whose header (an object line,
// formlines.h) is the 0-based line `header`, trimmed: its property lines, up to and with
// the object line of its first direct child; not the items, list entries or data rows
// below them, which are indented further. Nothing for a line out of range.
std::vector<std::string> CollectObjectLines(const std::vector<std::string>& lines, int header);

// The lines CollectObjectLines gives for every object of that name (ignoring case), in
// order. An empty name collects nothing.
std::vector<std::string> CollectSourceLines(const std::vector<std::string>& lines, std::string_view name);

// The value shown for a property the text sets, from the text after its "=": a
// collection, a string list or binary data shows the live description when there is
// one, else "(TCollection)", "(TStrings)" or "(Binary data)"; anything else the text.
std::string SourceValueText(std::string_view text, std::string_view live);

// The live text of a property the text does not set, by its declared type (ignoring
// case): colour, date, time and date-time, shortcut and cursor texts for values of
// TColor, TDate, TTime, TDateTime, TShortCut and TCursor; the lister's text for any
// other type, and for a value that does not read as such a number.
std::string LiveValueText(std::string_view typeName, const std::string& live);

// The properties tree of a live object, or the text-only view for nullptr: one row per
// line of sourceLines that has a name before its "=", with the text's value.
//
// For a live object every listed property except events is a row, in name order; a
// class-typed row holds its object and opens into that object's properties, whose
// lines are looked up among the same sourceLines by dotted path (Font.Height). The
// expansion is bounded so that it always ends and never repeats a component's tree:
// - a property that refers to another component (one the form names, rather than a
//   sub-object the holder owns, such as Font or Items) shows that component's name and
//   is not opened;
// - an object already open on the path from the inspected object to the row is not
//   opened again.
// A collection or an item has no lines of its own, so no row below one is set by the
// text. writtenName, when given, is the name the text's header gives the object: the
// Name row shows it unless a line sets Name (the preview renames a root whose name
// another open form has already).
std::vector<InspectorRow> FillProperties(rt::Object* object, const std::vector<std::string>& sourceLines,
                                         std::string_view writtenName = {});

// A value kept raw for a stand-in, as the inspector shows it: strings quoted, sets in
// brackets, lists, collections and binary data by their size.
std::string RawValueText(const rt::RawValue& value);
// The events of a live object, in name order, each with the handler the text names
// (and bold) when the text sets it; the live value is never shown.
std::vector<InspectorRow> FillEvents(rt::Object& object, const std::vector<std::string>& sourceLines);

// The number of rows at all levels.
int CountRows(const std::vector<InspectorRow>& rows);
// The row at a dotted path of names ("Font.Height"), matched exactly; nullptr when none.
const InspectorRow* FindRow(const std::vector<InspectorRow>& rows, std::string_view path);

// What the picture preview shows for a row's object.
struct PicturePreview {
    // Whether there is a graphic to show: false for an object that is no picture or
    // graphic, and for an empty picture.
    bool Shown = false;
    // Whether the image can be drawn here; a metafile, say, is shown by its kind and
    // size alone.
    bool Drawable = false;
    // "Bitmap", "Icon", "Metafile", ...: the first word of the image title.
    std::string Kind;
    int Width = 0;
    int Height = 0;
    // The save dialog's filter for the graphic's own file format, as "Bitmaps (*.bmp)".
    std::string Filter;
    // The graphic's data; nullptr when nothing is shown.
    const rt::GraphicData* Graphic = nullptr;
    // For an icon without an image of its own: the size reported is the standard one.
    bool StandardIcon = false;

    // "Bitmap: 64 x 16".
    std::string Title() const;
};

// The standard size of an icon on a standard display.
inline constexpr int StandardIconSize = 32;

// The preview of a bitmap, icon or metafile object, or of a picture by the graphic it
// holds. A graphic of another class shows its kind and size, drawable when its format
// is one this program reads.
PicturePreview DescribePicture(const rt::Object* object);

// The bytes a save writes: the image file the graphic holds, or its stored data as they
// are when no file format was recognised in them. Empty for an empty graphic.
std::vector<std::uint8_t> GraphicFileBytes(const rt::GraphicData& graphic);

}  // namespace fw::preview
