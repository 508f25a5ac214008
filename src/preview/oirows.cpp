#include "runtime/registry.h"
#include "preview/oirows.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <exception>

#include "runtime/graphicformat.h"
#include "runtime/propertylister.h"
#include "runtime/valuetext.h"

namespace fw::preview {

namespace {

using rt::EqualsIgnoringCase;

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

// Trimmed of the characters of code 32 or less at both ends, as the text's indentation
// and line ends are.
std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::size_t Indentation(std::string_view line) {
    std::size_t count = 0;
    while (count < line.size() && IsBlank(line[count])) ++count;
    return count;
}

// The object a line opens, by its name: "object Button1: TButton" and "inherited
// Form1: TForm1" open Button1 and Form1. A line that begins with "inherited" but has
// "object" anywhere in it is no object line. found is false for other lines.
std::string_view ObjectLineName(std::string_view trimmed, bool& found) {
    found = false;
    std::size_t keyword = 0;
    const auto startsWithWord = [&](std::string_view word) {
        return trimmed.substr(0, word.size()) == word && (trimmed.size() == word.size() || IsBlank(trimmed[word.size()]));
    };
    if (startsWithWord("object"))
        keyword = 6;
    else if (startsWithWord("inherited") && trimmed.find("object") == std::string_view::npos)
        keyword = 9;
    else
        return {};
    found = true;
    // The name begins after the keyword and the blank that follows it.
    std::string_view rest = Trim(trimmed.substr(std::min(trimmed.size(), keyword + 1)));
    return rest.substr(0, rest.find(": "));
}

// The part of a line before its first "=", or "" when it has none.
std::string_view NamePart(std::string_view line) {
    const std::size_t equals = line.find('=');
    return equals == std::string_view::npos ? std::string_view() : line.substr(0, equals);
}

// The text after a line's first "=", trimmed, with one pair of enclosing single quotes
// dropped; nothing else is unquoted.
std::string_view SourceValue(std::string_view line) {
    const std::size_t equals = line.find('=');
    std::string_view value = equals == std::string_view::npos ? std::string_view() : Trim(line.substr(equals + 1));
    if (value.size() >= 2 && value.front() == '\'' && value.back() == '\'') value = value.substr(1, value.size() - 2);
    return value;
}

// The line of sourceLines that sets a property at a path: written "Name = ..." as the
// text writes it, or, for a nested property, with any spacing around the dotted name.
int SourceIndexOf(const std::vector<std::string>& sourceLines, const std::string& prefix, std::string_view name) {
    const std::string path = prefix + std::string(name);
    const std::string written = path + " ";
    for (std::size_t i = 0; i < sourceLines.size(); ++i)
        if (EqualsIgnoringCase(NamePart(sourceLines[i]), written)) return static_cast<int>(i);
    if (!prefix.empty())
        for (std::size_t i = 0; i < sourceLines.size(); ++i)
            if (EqualsIgnoringCase(Trim(NamePart(sourceLines[i])), path)) return static_cast<int>(i);
    return -1;
}

template <typename Number>
bool ReadNumber(std::string_view text, Number& value) {
    text = Trim(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

bool IsListed(const rt::Object& object) {
    return !object.GetClass().Has(rt::CfCollection) && !object.GetClass().Has(rt::CfCollectionItem);
}

// Fills rows with the properties of object; path holds the objects open above it.
void AddProperties(rt::Object& object, const std::vector<std::string>& allLines, const std::string& prefix,
                   std::vector<const rt::Object*>& path, std::vector<InspectorRow>& rows) {
    static const std::vector<std::string> None;
    const std::vector<std::string>& sourceLines = IsListed(object) ? allLines : None;
    // The lists are copied: the sub-objects are read through an inspector of their own.
    rt::TMObjectInspector moi;
    moi.Inspect(&object);
    const std::vector<std::string>& names = moi.PropNames();
    path.push_back(&object);
    for (std::size_t i = 0; i < names.size(); ++i) {
        int kind = 0;
        ReadNumber(moi.PropKinds()[i], kind);
        if (kind == static_cast<int>(rt::TypeKind::tkMethod)) continue;
        InspectorRow row;
        row.Name = names[i];
        row.TypeName = moi.PropTypes()[i];
        row.Kind = kind;
        row.SourceIndex = SourceIndexOf(sourceLines, prefix, row.Name);
        const std::string& live = moi.PropValues()[i];
        row.Value = row.SourceIndex >= 0
                        ? SourceValueText(SourceValue(sourceLines[static_cast<std::size_t>(row.SourceIndex)]), live)
                        : LiveValueText(row.TypeName, live);
        if (kind == static_cast<int>(rt::TypeKind::tkClass)) {
            const rt::Property* property = moi.FindProp(row.Name);
            row.Object = property ? object.ObjectValue(*property) : nullptr;
            const bool reference = property && property->Info->Holding == rt::PropHolding::Reference;
            const bool open = std::find(path.begin(), path.end(), row.Object) != path.end();
            if (row.Object && !reference && !open)
                AddProperties(*row.Object, allLines, prefix + row.Name + ".", path, row.Children);
        }
        rows.push_back(std::move(row));
    }
    path.pop_back();
}

}  // namespace

std::vector<std::string> CollectSourceLines(const std::vector<std::string>& lines, std::string_view name) {
    std::vector<std::string> collected;
    if (name.empty()) return collected;
    bool inside = false;
    std::size_t depth = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const std::string_view trimmed = Trim(line);
        if (inside && Indentation(line) == depth && !trimmed.empty()) collected.emplace_back(trimmed);
        bool objectLine = false;
        const std::string_view objectName = ObjectLineName(trimmed, objectLine);
        if (!objectLine) continue;
        inside = EqualsIgnoringCase(objectName, name);
        // The object's own lines are indented as the line after its header; after the
        // last line there is nothing more to collect.
        depth = i + 1 < lines.size() ? Indentation(lines[i + 1]) : 0;
    }
    return collected;
}

std::string SourceNameOf(const rt::Object* object, std::string_view nodeName) {
    if (!object) return std::string(nodeName);
    if (object->GetClass().Has(rt::CfComponent)) return object->Name();
    return {};
}

std::string SourceValueText(std::string_view text, std::string_view live) {
    const auto liveOr = [&](const char* placeholder) { return std::string(live.empty() ? placeholder : live); };
    if (text.starts_with('<')) return liveOr("(TCollection)");
    if (text.starts_with('{')) return liveOr("(Binary data)");
    if (text.starts_with('(')) return liveOr("(TStrings)");
    return std::string(text);
}

std::string LiveValueText(std::string_view typeName, const std::string& live) {
    const auto isType = [&](std::string_view name) { return EqualsIgnoringCase(typeName, name); };
    try {
        if (isType("TColor")) {
            std::int64_t v = 0;
            if (ReadNumber(live, v)) return rt::ColorToText(v);
        } else if (isType("TDate") || isType("TTime") || isType("TDateTime")) {
            double v = 0;
            if (ReadNumber(live, v)) {
                if (isType("TDate")) return rt::DateToText(v);
                if (isType("TTime")) return rt::TimeToText(v);
                return rt::DateTimeToText(v);
            }
        } else if (isType("TShortCut")) {
            std::int64_t v = 0;
            if (ReadNumber(live, v)) return rt::ShortCutToText(static_cast<std::uint16_t>(v));
        } else if (isType("TCursor")) {
            std::int64_t v = 0;
            if (ReadNumber(live, v) && v <= 0 && -v < static_cast<std::int64_t>(CursorNames.size()))
                return std::string(CursorNames[static_cast<std::size_t>(-v)]);
        }
    } catch (const std::exception&) {
        // A date out of range, say: the lister's own text stands.
    }
    return live;
}

std::vector<InspectorRow> FillProperties(rt::Object* object, const std::vector<std::string>& sourceLines) {
    std::vector<InspectorRow> rows;
    if (object) {
        std::vector<const rt::Object*> path;
        AddProperties(*object, sourceLines, {}, path, rows);
        return rows;
    }
    for (const std::string& line : sourceLines) {
        const std::string_view name = NamePart(line);
        if (Trim(name).empty()) continue;
        InspectorRow row;
        row.Name = std::string(name);
        row.Value = SourceValueText(SourceValue(line), {});
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<InspectorRow> FillEvents(rt::Object& object, const std::vector<std::string>& sourceLines) {
    std::vector<InspectorRow> rows;
    static const std::vector<std::string> None;
    const std::vector<std::string>& lines = IsListed(object) ? sourceLines : None;
    rt::TMObjectInspector moi;
    moi.Inspect(&object);
    for (std::size_t i = 0; i < moi.PropNames().size(); ++i) {
        int kind = 0;
        ReadNumber(moi.PropKinds()[i], kind);
        if (kind != static_cast<int>(rt::TypeKind::tkMethod)) continue;
        InspectorRow row;
        row.Name = moi.PropNames()[i];
        row.TypeName = moi.PropTypes()[i];
        row.Kind = kind;
        for (std::size_t l = 0; l < lines.size(); ++l) {
            // A line without "=" is its own name part.
            const std::size_t equals = lines[l].find('=');
            if (!EqualsIgnoringCase(Trim(std::string_view(lines[l]).substr(0, equals)), row.Name)) continue;
            row.SourceIndex = static_cast<int>(l);
            if (equals != std::string::npos) row.Value = std::string(Trim(std::string_view(lines[l]).substr(equals + 1)));
            break;
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

int CountRows(const std::vector<InspectorRow>& rows) {
    int count = 0;
    for (const InspectorRow& row : rows) count += 1 + CountRows(row.Children);
    return count;
}

const InspectorRow* FindRow(const std::vector<InspectorRow>& rows, std::string_view path) {
    const std::size_t dot = path.find('.');
    const std::string_view head = path.substr(0, dot);
    for (const InspectorRow& row : rows) {
        if (row.Name != head) continue;
        return dot == std::string_view::npos ? &row : FindRow(row.Children, path.substr(dot + 1));
    }
    return nullptr;
}

// ---- pictures ----

std::string PicturePreview::Title() const {
    return Kind + ": " + std::to_string(Width) + " x " + std::to_string(Height);
}

PicturePreview DescribePicture(const rt::Object* object) {
    PicturePreview preview;
    if (!object) return preview;
    const bool picture = object->InheritsFrom("TPicture");
    if (!picture && !object->InheritsFrom("TGraphic")) return preview;
    const rt::GraphicData& graphic = object->Graphic();
    // A graphic object is what its class says; a picture is the graphic it holds,
    // nothing when it holds none.
    std::string className = picture ? graphic.ClassName : std::string(object->ClassName());
    if (picture && className.empty()) return preview;
    const auto isClass = [&](std::string_view name) {
        return picture ? EqualsIgnoringCase(className, name) : object->InheritsFrom(name);
    };
    preview.Shown = true;
    preview.Graphic = &graphic;
    preview.Width = graphic.Width;
    preview.Height = graphic.Height;
    const std::string& format = graphic.Format;
    const bool readable = format == "bmp" || format == "ico" || format == "cur" || format == "png" ||
                          format == "jpeg" || format == "gif";
    preview.Drawable = readable && !graphic.Image().empty();
    if (isClass("TBitmap")) {
        preview.Kind = "Bitmap";
        preview.Filter = "Bitmaps (*.bmp)";
    } else if (isClass("TIcon")) {
        preview.Kind = "Icon";
        preview.Filter = "Icons (*.ico)";
        if (graphic.Image().empty()) {
            preview.StandardIcon = true;
            preview.Width = preview.Height = StandardIconSize;
        }
    } else if (isClass("TMetafile") || format == "wmf" || format == "emf") {
        preview.Kind = "Metafile";
        preview.Filter = format == "emf" ? "Enhanced metafiles (*.emf)" : "Metafiles (*.wmf)";
        preview.Drawable = false;
    } else if (format == "png") {
        preview.Kind = "PNG image";
        preview.Filter = "PNG images (*.png)";
    } else if (format == "jpeg") {
        preview.Kind = "JPEG image";
        preview.Filter = "JPEG images (*.jpg *.jpeg)";
    } else if (format == "gif") {
        preview.Kind = "GIF image";
        preview.Filter = "GIF images (*.gif)";
    } else if (format == "bmp") {
        preview.Kind = "Bitmap";
        preview.Filter = "Bitmaps (*.bmp)";
    } else if (format == "ico" || format == "cur") {
        preview.Kind = format == "ico" ? "Icon" : "Cursor";
        preview.Filter = format == "ico" ? "Icons (*.ico)" : "Cursors (*.cur)";
    } else {
        // A class of graphic whose data this program does not know.
        preview.Kind = className;
        preview.Filter = "All files (*)";
        preview.Drawable = false;
    }
    return preview;
}

std::vector<std::uint8_t> GraphicFileBytes(const rt::GraphicData& graphic) {
    if (!graphic.Format.empty()) {
        const auto image = graphic.Image();
        return {image.begin(), image.end()};
    }
    // Data in no known format is saved as the graphic's class stored it, unless it
    // stands for an empty graphic.
    rt::GraphicData check;
    check.Bytes = graphic.Bytes;
    if (rt::RecogniseGraphic(check) == rt::GraphicCheck::Empty) return {};
    return graphic.Bytes;
}

}  // namespace fw::preview
