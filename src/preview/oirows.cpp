#include "preview/oirows.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <exception>
#include <optional>

#include "codec/stringconstant.h"
#include "preview/formlines.h"
#include "runtime/graphicformat.h"
#include "runtime/propertylister.h"
#include "runtime/registry.h"
#include "runtime/valuetext.h"

namespace fw::preview {

namespace {

using rt::EqualsIgnoringCase;

// The part of a line before its first "=", or "" when it has none.
std::string_view NamePart(std::string_view line) {
    const std::size_t equals = line.find('=');
    return equals == std::string_view::npos ? std::string_view() : line.substr(0, equals);
}

// The text after a line's first "=", trimmed.
std::string_view SourceValue(std::string_view line) {
    const std::size_t equals = line.find('=');
    return equals == std::string_view::npos ? std::string_view() : TrimBlanks(line.substr(equals + 1));
}

// The line of sourceLines that sets a property at a path: written "Name = ..." as the
// text writes it, or, for a nested property, with any spacing around the dotted name.
int SourceIndexOf(const std::vector<std::string>& sourceLines, const std::string& prefix,
                  std::string_view name) {
    const std::string path = prefix + std::string(name);
    const std::string written = path + " ";
    for (std::size_t i = 0; i < sourceLines.size(); ++i)
        if (EqualsIgnoringCase(NamePart(sourceLines[i]), written)) return static_cast<int>(i);
    if (!prefix.empty())
        for (std::size_t i = 0; i < sourceLines.size(); ++i)
            if (EqualsIgnoringCase(TrimBlanks(NamePart(sourceLines[i])), path)) return static_cast<int>(i);
    return -1;
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
    rt::PropertyLister lister;
    lister.Inspect(&object);
    const std::vector<std::string>& names = lister.PropNames();
    path.push_back(&object);
    for (std::size_t i = 0; i < names.size(); ++i) {
        int kind = 0;
        ReadNumber(lister.PropKinds()[i], kind);
        if (kind == static_cast<int>(rt::TypeKind::tkMethod)) continue;
        InspectorRow row;
        row.Name = names[i];
        row.TypeName = lister.PropTypes()[i];
        row.Kind = kind;
        row.SourceIndex = SourceIndexOf(sourceLines, prefix, row.Name);
        const std::string& live = lister.PropValues()[i];
        row.Value =
            row.SourceIndex >= 0
                ? SourceValueText(SourceValue(sourceLines[static_cast<std::size_t>(row.SourceIndex)]), live)
                : LiveValueText(row.TypeName, live);
        const rt::Property* property = lister.FindProp(row.Name);
        if (property) {
            row.Type = &property->Type();
            if (const auto* text = std::get_if<std::string>(&object.Get(*property))) row.EditText = *text;
        }
        if (kind == static_cast<int>(rt::TypeKind::tkClass)) {
            row.Object = property ? object.ObjectValue(*property) : nullptr;
            row.Reference = property && property->Info->Holding == rt::PropHolding::Reference;
            const bool open = std::find(path.begin(), path.end(), row.Object) != path.end();
            if (row.Object && !row.Reference && !open)
                AddProperties(*row.Object, allLines, prefix + row.Name + ".", path, row.Children);
        }
        rows.push_back(std::move(row));
    }
    path.pop_back();
}

}  // namespace

std::vector<std::string> CollectObjectLines(const std::vector<std::string>& lines, int header) {
    std::vector<std::string> collected;
    if (header < 0 || static_cast<std::size_t>(header) + 1 >= lines.size()) return collected;
    // The object's own lines are indented as the line after its header. They end at the
    // next object line, which is collected when it is a direct child's.
    const std::size_t depth = LeadingBlanks(lines[static_cast<std::size_t>(header) + 1]);
    for (std::size_t i = static_cast<std::size_t>(header) + 1; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const std::string_view trimmed = TrimBlanks(line);
        if (LeadingBlanks(line) == depth && !trimmed.empty()) collected.emplace_back(trimmed);
        bool objectLine = false;
        ObjectLineName(trimmed, objectLine);
        if (objectLine) break;
    }
    return collected;
}

std::vector<std::string> CollectSourceLines(const std::vector<std::string>& lines, std::string_view name) {
    std::vector<std::string> collected;
    if (name.empty()) return collected;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        bool objectLine = false;
        const std::string_view objectName = ObjectLineName(TrimBlanks(lines[i]), objectLine);
        if (!objectLine || !EqualsIgnoringCase(objectName, name)) continue;
        std::vector<std::string> own = CollectObjectLines(lines, static_cast<int>(i));
        collected.insert(collected.end(), std::make_move_iterator(own.begin()),
                         std::make_move_iterator(own.end()));
    }
    return collected;
}

std::string SourceValueText(std::string_view text, std::string_view live) {
    const auto liveOr = [&](const char* placeholder) {
        return std::string(live.empty() ? placeholder : live);
    };
    if (text.starts_with('<')) return liveOr("(TCollection)");
    if (text.starts_with('{')) return liveOr("(Binary data)");
    if (text.starts_with('(')) return liveOr("(TStrings)");
    // A string shows its characters, not the #codes the writer may have put for them,
    // without the enclosing quotes; only control characters stay codes. The lines are
    // the editor's UTF-8.
    if (text.starts_with('\'') || text.starts_with('#')) {
        if (const std::optional<std::u16string> value =
                StringConstantValue(text, CodePage::Default(), true)) {
            const std::string shown = ShownStringConstant(*value);
            if (shown.size() >= 2 && shown.front() == '\'' && shown.back() == '\'')
                return shown.substr(1, shown.size() - 2);
            return shown;
        }
    }
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

namespace {

// Whether the text sets the row or a row below it.
bool SetByText(const InspectorRow& row) {
    if (row.SourceIndex >= 0) return true;
    return std::any_of(row.Children.begin(), row.Children.end(), SetByText);
}

}  // namespace

std::string RawValueText(const rt::RawValue& value) {
    using K = rt::RawValue::Kind;
    switch (value.Type) {
        case K::Null:
            return "nil";
        case K::Integer:
            return std::to_string(value.Integer);
        case K::Float: {
            char buffer[40];
            const auto result =
                std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value.Float));
            return std::string(buffer, result.ptr);
        }
        case K::String:
            return ShownStringConstant(Utf16FromUtf8Text(value.Text, CodePage::Default()));
        case K::Identifier:
            return value.Text;
        case K::Set: {
            std::string text = "[";
            for (std::size_t i = 0; i < value.Names.size(); ++i)
                text += (i ? ", " : "") + value.Names[i];
            return text + "]";
        }
        case K::List:
            return "(" + std::to_string(value.List.size()) + " values)";
        case K::Binary:
            return "(" + std::to_string(value.Bytes.size()) + " bytes)";
        case K::Collection:
            return "(" + std::to_string(value.Items.size()) + " items)";
    }
    return {};
}

std::vector<InspectorRow> FillProperties(rt::Object* object, const std::vector<std::string>& sourceLines,
                                         std::string_view writtenName) {
    std::vector<InspectorRow> rows;
    if (object) {
        std::vector<const rt::Object*> path;
        AddProperties(*object, sourceLines, {}, path, rows);
        if (!writtenName.empty())
            for (InspectorRow& row : rows)
                if (row.Name == "Name" && row.SourceIndex < 0) row.Value = std::string(writtenName);
        if (object->GetClass().Has(rt::CfStandIn)) {
            // A stand-in's base properties are not its class's: only those its text
            // sets are shown, then what its class would have published, as read.
            std::erase_if(rows,
                          [](const InspectorRow& row) { return row.Name != "Name" && !SetByText(row); });
            for (const auto& [name, value] : object->Unpublished()) {
                InspectorRow row;
                row.Name = name;
                row.Value = RawValueText(value);
                // No declared type: the value is shown as the text stores it.
                row.TypeName = "(as stored)";
                row.SourceIndex = SourceIndexOf(sourceLines, {}, name);
                rows.push_back(std::move(row));
            }
        }
        return rows;
    }
    for (const std::string& line : sourceLines) {
        const std::string_view name = NamePart(line);
        if (TrimBlanks(name).empty()) continue;
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
    rt::PropertyLister lister;
    lister.Inspect(&object);
    for (std::size_t i = 0; i < lister.PropNames().size(); ++i) {
        int kind = 0;
        ReadNumber(lister.PropKinds()[i], kind);
        if (kind != static_cast<int>(rt::TypeKind::tkMethod)) continue;
        InspectorRow row;
        row.Name = lister.PropNames()[i];
        row.TypeName = lister.PropTypes()[i];
        row.Kind = kind;
        if (const rt::Property* property = lister.FindProp(row.Name)) row.Type = &property->Type();
        for (std::size_t l = 0; l < lines.size(); ++l) {
            // A line without "=" is its own name part.
            const std::size_t equals = lines[l].find('=');
            if (!EqualsIgnoringCase(TrimBlanks(std::string_view(lines[l]).substr(0, equals)), row.Name))
                continue;
            row.SourceIndex = static_cast<int>(l);
            if (equals != std::string::npos)
                row.Value = std::string(TrimBlanks(std::string_view(lines[l]).substr(equals + 1)));
            break;
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

int CountRows(const std::vector<InspectorRow>& rows) {
    int count = 0;
    for (const InspectorRow& row : rows)
        count += 1 + CountRows(row.Children);
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
