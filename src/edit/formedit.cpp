#include "edit/formedit.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <unordered_map>

#include "base/asciitext.h"
#include "base/stream.h"
#include "codec/conversion.h"
#include "codec/formformat.h"
#include "codec/formreader.h"
#include "codec/formtokenizer.h"
#include "codec/textlines.h"
#include "runtime/builtin.h"
#include "runtime/formbuild.h"
#include "runtime/object.h"
#include "runtime/registry.h"
#include "runtime/storedvalues.h"
#include "runtime/wholeform.h"

namespace fw::edit {

namespace {

// The outline of a form's text: where each object, property and collection item
// lies, by byte offsets into the text. Made by one pass of the tokenizer; the text
// itself is never copied into it apart from names.
struct PropEntry;

struct ItemEntry {
    std::size_t Start = 0;     // "item"
    std::size_t EndToken = 0;  // its "end"
    std::vector<PropEntry> Props;
};

struct PropEntry {
    std::string Name;  // dotted, as written
    std::size_t NameStart = 0;
    std::size_t ValueStart = 0;
    std::size_t ValueEnd = 0;      // just after the last byte of the value's last token
    std::vector<ItemEntry> Items;  // the items of a collection value
};

struct ObjectNode {
    std::string Name;  // "" for an unnamed object
    std::string ClassName;
    std::string Keyword;          // "object", "inherited" or "inline"
    std::size_t HeaderStart = 0;  // the keyword
    std::size_t NameStart = 0;    // the name, or the class when there is none
    std::size_t EndToken = 0;     // its "end"
    int Line = 0;
    int Depth = 0;
    int Parent = -1;
    std::vector<int> Children;
    std::vector<PropEntry> Props;
};

bool IsBlank(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b >= 1 && b <= 32;
}

bool IsLineBreak(char c) {
    return c == '\r' || c == '\n';
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t';
}

// Takes " on line N" off a reader's message, for values read from a text of our own
// whose line numbers mean nothing to the user.
std::string WithoutLine(std::string message) {
    const std::size_t at = message.rfind(" on line ");
    if (at != std::string::npos && message.find_first_not_of("0123456789", at + 9) == std::string::npos)
        message.erase(at);
    return message;
}

// One pass of the tokenizer over the text, along the grammar the text-to-binary
// conversion reads.
class OutlineReader {
public:
    OutlineReader(FormTokenizer& parser, std::string_view text, std::vector<ObjectNode>& nodes)
        : parser_(parser), text_(text), nodes_(nodes) {}

    void Object(int depth, int parent) {
        CheckDepth(depth);
        const int index = static_cast<int>(nodes_.size());
        nodes_.emplace_back();
        {
            ObjectNode& node = nodes_.back();
            node.HeaderStart = Position();
            node.Line = parser_.Line();
            node.Depth = depth;
            node.Parent = parent;
            if (parser_.IsKeyword("INHERITED"))
                node.Keyword = "inherited";
            else if (parser_.IsKeyword("INLINE"))
                node.Keyword = "inline";
            else {
                parser_.ExpectKeyword("OBJECT");
                node.Keyword = "object";
            }
        }
        parser_.Advance();
        parser_.ExpectKind(TokIdent);
        const std::size_t nameStart = Position();
        std::string className = parser_.TokenText();
        std::string name;
        parser_.Advance();
        if (parser_.Kind() == ':') {
            parser_.Advance();
            parser_.ExpectKind(TokIdent);
            name = std::move(className);
            className = parser_.TokenText();
            parser_.Advance();
        }
        OrderModifier();
        std::vector<PropEntry> props;
        while (!AtObjectKeyword())
            props.push_back(Property(depth));
        {
            ObjectNode& node = nodes_[static_cast<std::size_t>(index)];
            node.Name = std::move(name);
            node.NameStart = nameStart;
            node.ClassName = std::move(className);
            node.Props = std::move(props);
        }
        if (parent >= 0) nodes_[static_cast<std::size_t>(parent)].Children.push_back(index);
        while (!parser_.IsKeyword("END"))
            Object(depth + 1, index);
        nodes_[static_cast<std::size_t>(index)].EndToken = Position();
        parser_.Advance();
    }

private:
    std::size_t Position() const { return static_cast<std::size_t>(parser_.TokenPosition()); }
    // The end of the token before the current one.
    std::size_t PreviousEnd() const {
        std::size_t at = Position();
        while (at > 0 && IsBlank(text_[at - 1]))
            --at;
        return at;
    }
    void CheckDepth(int depth) const {
        if (depth > MaxNestingDepth) parser_.Error("Objects or values nested too deeply");
    }
    bool AtObjectKeyword() const {
        return parser_.IsKeyword("END") || parser_.IsKeyword("OBJECT") || parser_.IsKeyword("INHERITED") ||
               parser_.IsKeyword("INLINE");
    }
    void OrderModifier() {
        if (parser_.Kind() != '[') return;
        parser_.Advance();
        parser_.ExpectKind(TokInteger);
        parser_.Advance();
        parser_.ExpectKind(']');
        parser_.Advance();
    }

    PropEntry Property(int depth) {
        PropEntry entry;
        entry.NameStart = Position();
        parser_.ExpectKind(TokIdent);
        entry.Name = parser_.TokenText();
        parser_.Advance();
        while (parser_.Kind() == '.') {
            parser_.Advance();
            parser_.ExpectKind(TokIdent);
            entry.Name += '.';
            entry.Name += parser_.TokenView();
            parser_.Advance();
        }
        parser_.ExpectKind('=');
        parser_.Advance();
        entry.ValueStart = Position();
        Value(depth, entry.Items);
        entry.ValueEnd = PreviousEnd();
        return entry;
    }

    void Value(int depth, std::vector<ItemEntry>& items) {
        CheckDepth(depth);
        switch (parser_.Kind()) {
            case TokIdent:
                parser_.TokenDottedIdent();
                break;
            case TokString:
            case TokWideString:
                while (parser_.Advance() == '+') {
                    parser_.Advance();
                    if (parser_.Kind() != TokString && parser_.Kind() != TokWideString)
                        parser_.Error("String expected");
                }
                return;  // the token after the expression is current
            case TokInteger:
            case TokFloat:
                break;
            case '(': {
                parser_.Advance();
                std::vector<ItemEntry> none;
                while (parser_.Kind() != ')')
                    Value(depth + 1, none);
                break;
            }
            case '<':
                parser_.Advance();
                while (parser_.Kind() != '>') {
                    parser_.ExpectKeyword("item");
                    ItemEntry item;
                    item.Start = Position();
                    parser_.Advance();
                    OrderModifier();
                    while (!parser_.IsKeyword("end"))
                        item.Props.push_back(Property(depth + 1));
                    item.EndToken = Position();
                    parser_.Advance();
                    items.push_back(std::move(item));
                }
                break;
            case '[':
                parser_.Advance();
                if (parser_.Kind() != ']') {
                    for (;;) {
                        if (parser_.Kind() != TokIdent && parser_.Kind() != TokInteger &&
                            parser_.Kind() != TokString && parser_.Kind() != TokWideString)
                            parser_.Error("Identifier expected");
                        parser_.Advance();
                        if (parser_.Kind() == ']') break;
                        parser_.ExpectKind(',');
                        parser_.Advance();
                    }
                }
                break;
            case '{':
                parser_.SkipHexBytes();  // leaves the closing brace current
                break;
            default:
                parser_.Error("Invalid property value");
        }
        parser_.Advance();
    }

    FormTokenizer& parser_;
    std::string_view text_;
    std::vector<ObjectNode>& nodes_;
};

// A value in form-text syntax as the tokenizer reads it, for comparing it with a
// property's default.
struct ValueSummary {
    int Kind = TokEnd;  // TokIdent, TokInteger, TokFloat, TokString, '[' for a set
    std::string Ident;
    std::int64_t Integer = 0;
    long double Float = 0;
    std::u16string String;
    std::vector<std::string> Elements;  // of a set
};

std::optional<ValueSummary> Summarize(std::string_view value, bool utf8, const CodePage& codePage) {
    std::string text;
    if (utf8) text = Utf8ByteOrderMark;
    text += value;
    ByteViewStream input(ByteSpan(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    try {
        FormTokenizer parser(input, codePage);
        ValueSummary summary;
        summary.Kind = parser.Kind();
        switch (parser.Kind()) {
            case TokIdent:
                summary.Ident = parser.TokenDottedIdent();
                break;
            case TokInteger:
                summary.Integer = parser.TokenAsInt64();
                break;
            case TokFloat:
                if (parser.FloatSuffix() != 0) return std::nullopt;
                summary.Float = parser.TokenAsExtended();
                break;
            case TokString:
            case TokWideString:
                summary.Kind = TokString;
                summary.String = parser.TokenWide();
                while (parser.Advance() == '+') {
                    parser.Advance();
                    summary.String += parser.TokenWide();
                }
                break;
            case '[':
                while (parser.Advance() != ']') {
                    if (parser.Kind() == ',') continue;
                    if (parser.Kind() != TokIdent) return std::nullopt;
                    summary.Elements.push_back(parser.TokenText());
                }
                break;
            default:
                return std::nullopt;
        }
        return summary;
    } catch (const Exception&) {
        return std::nullopt;
    }
}

int IndexOfName(std::span<const std::string_view> names, std::string_view name) {
    for (std::size_t i = 0; i < names.size(); ++i)
        if (EqualsIgnoringCase(names[i], name)) return static_cast<int>(i);
    return -1;
}

// Whether a value (as the writer writes it) is the property's default, which the
// writer leaves out of the text.
bool IsDefaultValue(const rt::PropInfo& info, const ValueSummary& v) {
    const rt::DefaultValue& d = info.Default;
    const rt::TypeInfo& type = *info.Type;
    using K = rt::TypeKind;
    switch (d.Which) {
        case rt::DefaultValue::Kind::Ordinal: {
            std::optional<std::int64_t> ordinal;
            if (v.Kind == TokInteger) {
                ordinal = v.Integer;
            } else if (v.Kind == TokIdent) {
                if (type.Kind == K::tkEnumeration) {
                    const int at = IndexOfName(type.EnumNames, v.Ident);
                    if (at >= 0) ordinal = at;
                } else {
                    for (const rt::IdentEntry& e : type.Idents)
                        if (EqualsIgnoringCase(e.Name, v.Ident)) ordinal = e.Value;
                }
            } else if (v.Kind == '[' && type.Kind == K::tkSet && type.ElementType) {
                std::int64_t mask = 0;
                for (const std::string& element : v.Elements) {
                    const int at = IndexOfName(type.ElementType->EnumNames, element);
                    if (at < 0 || at >= 63) return false;
                    mask |= std::int64_t{1} << at;
                }
                ordinal = mask;
            } else if (v.Kind == TokString && v.String.size() == 1 &&
                       (type.Kind == K::tkChar || type.Kind == K::tkWChar)) {
                ordinal = v.String[0];
            }
            return ordinal && *ordinal == d.Ordinal;
        }
        case rt::DefaultValue::Kind::Float:
            if (v.Kind == TokFloat) return v.Float == static_cast<long double>(d.Float);
            if (v.Kind == TokInteger)
                return static_cast<long double>(v.Integer) == static_cast<long double>(d.Float);
            return false;
        case rt::DefaultValue::Kind::Text:
            return v.Kind == TokString && Utf8FromUtf16(v.String) == d.Text;
        case rt::DefaultValue::Kind::None:
            return v.Kind == TokString && v.String.empty() &&
                   (type.Kind == K::tkString || type.Kind == K::tkLString || type.Kind == K::tkWString);
    }
    return false;
}

// What the registry says about a property of a class: published (with its metadata),
// stored by the class itself, or unknown because some class on the way is unknown.
struct PropertyFacts {
    const rt::PropInfo* Info = nullptr;
    bool Known = false;    // the registry knows every class on the way
    std::string Spelling;  // the name as the classes spell it, as far as they know it
};

// The place of a property in the order the writer writes an object's properties:
// for controls Left, Top, Width and Height first, then the published properties in
// their class's slot order (ancestors first), a nested one (Font.Style) by its parent
// property and then the sub-object's slot order, then the values the class stores
// itself, in the order of their rules. Nothing when the registry cannot tell.
using Rank = std::vector<int>;

// The bounds of a control, which the writer writes before its other properties.
constexpr std::string_view Bounds[] = {"Left", "Top", "Width", "Height"};

// The properties of a font (Font, TitleFont, ...) the writer writes whatever their values.
constexpr std::string_view FontWithoutDefault[] = {"Charset", "Color", "Height", "Name", "Style"};

// A step of a property path: a (dotted) name, and the position of an item when the
// name is a collection's.
struct Step {
    std::string Name;          // dotted, without the index
    std::optional<int> Index;  // "[n]" after it
};

// The outline of the whole text.
struct OutlineData {
    std::vector<ObjectNode> Nodes;  // depth first, parents before their children
    std::string Eol;                // the text's line break
    bool Utf8 = false;              // the text is UTF-8 after a byte-order mark
    std::unordered_map<std::string, int, IgnoringCaseHash, IgnoringCaseEqual> NameCount;
    // With a registry: the class the root is built as when its own is not registered.
    const rt::Class* RootClass = nullptr;
};

// A list of properties an edit works on: an object's, or an item's of a collection.
struct Scope {
    const std::vector<PropEntry>* Props = nullptr;
    const rt::Class* Cls = nullptr;         // its class, when the registry knows it
    bool Defaults = true;                   // values equal to the default are left out
    std::size_t Fallback = 0;               // where a line goes that nothing else places
    std::string Indent;                     // of its property lines
    std::string Label;                      // "Button1", "Grid1.Columns[1]"
    std::string Object;                     // the object's path: "Grid1"
    std::string Within;                     // of an item: its property path as written, "Columns[1]."
    const ObjectNode* Node = nullptr;       // the object (of an item: the owner)
    const PropEntry* Collection = nullptr;  // of an item: its collection property
};

// The edits, worked out on the outline of a text.
struct Engine {
    Engine(std::string_view text, const OutlineData& outline, const CodePage& codePage,
           rt::ClassRegistry* registry)
        : text_(text), o_(outline), codePage_(codePage), registry_(registry) {}

    std::string_view text_;
    const OutlineData& o_;
    const CodePage& codePage_;
    rt::ClassRegistry* registry_;

    // --- lines -------------------------------------------------------------------

    std::size_t LineStart(std::size_t at) const {
        while (at > 0 && !IsLineBreak(text_[at - 1]))
            --at;
        return at;
    }
    // Whether only blanks stand between the start of the line and at.
    bool FirstOnLine(std::size_t at) const {
        const std::size_t start = LineStart(at);
        for (std::size_t i = start; i < at; ++i)
            if (!IsSpace(text_[i])) return false;
        return true;
    }
    std::string IndentAt(std::size_t at) const {
        if (!FirstOnLine(at)) return {};
        const std::size_t start = LineStart(at);
        return std::string(text_.substr(start, at - start));
    }
    // After the spaces behind at and the line break there, or npos when the line goes on.
    std::size_t AfterLineBreak(std::size_t at) const {
        while (at < text_.size() && IsSpace(text_[at]))
            ++at;
        if (at >= text_.size()) return at;
        if (text_[at] == '\r') return at + 1 < text_.size() && text_[at + 1] == '\n' ? at + 2 : at + 1;
        if (text_[at] == '\n') return at + 1;
        return std::string::npos;
    }

    // The bytes a property takes: its whole line(s) when it stands alone on them.
    std::pair<std::size_t, std::size_t> PropertySpan(const PropEntry& p) const {
        const std::size_t after = AfterLineBreak(p.ValueEnd);
        if (FirstOnLine(p.NameStart) && after != std::string::npos) return {LineStart(p.NameStart), after};
        std::size_t end = p.ValueEnd;
        while (end < text_.size() && IsBlank(text_[end]) && !IsLineBreak(text_[end]))
            ++end;
        return {p.NameStart, end};
    }

    // --- objects -----------------------------------------------------------------

    std::string StepOf(int index) const {
        // The name, unless it is missing or a sibling has it too: then the position.
        const ObjectNode& node = o_.Nodes[static_cast<std::size_t>(index)];
        if (node.Parent < 0) return node.Name.empty() ? "#0" : node.Name;
        const auto& siblings = o_.Nodes[static_cast<std::size_t>(node.Parent)].Children;
        if (!node.Name.empty() && std::none_of(siblings.begin(), siblings.end(), [&](int other) {
                return other != index &&
                       EqualsIgnoringCase(o_.Nodes[static_cast<std::size_t>(other)].Name, node.Name);
            }))
            return node.Name;
        const auto at = std::find(siblings.begin(), siblings.end(), index) - siblings.begin();
        return "#" + std::to_string(at);
    }

    std::string PathOf(int index) const {
        const ObjectNode& node = o_.Nodes[static_cast<std::size_t>(index)];
        if (node.Parent < 0) return StepOf(index);
        if (!node.Name.empty() && !EqualsIgnoringCase(node.Name, o_.Nodes[0].Name)) {
            const auto found = o_.NameCount.find(node.Name);
            if (found != o_.NameCount.end() && found->second == 1) return node.Name;
        }
        return PathOf(node.Parent) + "." + StepOf(index);
    }

    ObjectEntry Entry(int index) const {
        const ObjectNode& node = o_.Nodes[static_cast<std::size_t>(index)];
        return {PathOf(index), node.Name, node.ClassName, node.Keyword, node.Line, node.Depth};
    }

    // The objects a name names; "#n" names no object alone.
    std::vector<int> Named(std::string_view name) const {
        std::vector<int> found;
        for (std::size_t i = 0; i < o_.Nodes.size(); ++i)
            if (!o_.Nodes[i].Name.empty() && EqualsIgnoringCase(o_.Nodes[i].Name, name))
                found.push_back(static_cast<int>(i));
        return found;
    }

    static std::vector<std::string_view> SplitDots(std::string_view path) {
        std::vector<std::string_view> steps;
        std::size_t start = 0;
        for (;;) {
            const std::size_t dot = path.find('.', start);
            steps.push_back(
                path.substr(start, dot == std::string_view::npos ? path.size() - start : dot - start));
            if (dot == std::string_view::npos) return steps;
            start = dot + 1;
        }
    }

    static std::optional<int> StepNumber(std::string_view step) {
        if (step.size() < 2 || step[0] != '#') return std::nullopt;
        int n = 0;
        const auto [end, error] = std::from_chars(step.data() + 1, step.data() + step.size(), n);
        if (error != std::errc() || end != step.data() + step.size() || n < 0) return std::nullopt;
        return n;
    }

    std::string AmbiguityMessage(std::string_view name, const std::vector<int>& found) const {
        std::string message = "The name " + std::string(name) + " is not unique in the form; name one of ";
        for (std::size_t i = 0; i < found.size(); ++i) {
            if (i) message += ", ";
            std::string full = StepOf(found[i]);
            for (int p = o_.Nodes[static_cast<std::size_t>(found[i])].Parent; p >= 0;
                 p = o_.Nodes[static_cast<std::size_t>(p)].Parent)
                full = StepOf(p) + "." + full;
            message += full;
        }
        return message;
    }

    // The object a path names, -1 when none; throws when a name alone is not unique.
    int Find(std::string_view path) const {
        if (o_.Nodes.empty() || path.empty()) return -1;
        const std::vector<std::string_view> steps = SplitDots(path);
        int at = -1;
        for (std::size_t s = 0; s < steps.size(); ++s) {
            const std::string_view step = steps[s];
            if (step.empty()) return -1;
            if (at < 0) {
                if (const auto n = StepNumber(step)) {
                    if (*n != 0) return -1;
                    at = 0;
                    continue;
                }
                // The root's name names the root, even where an object below has it too.
                if (!o_.Nodes[0].Name.empty() && EqualsIgnoringCase(o_.Nodes[0].Name, step)) {
                    at = 0;
                    continue;
                }
                const std::vector<int> found = Named(step);
                if (found.empty()) return -1;
                if (found.size() > 1) throw EditError(AmbiguityMessage(step, found));
                at = found[0];
                continue;
            }
            const ObjectNode& node = o_.Nodes[static_cast<std::size_t>(at)];
            if (const auto n = StepNumber(step)) {
                if (static_cast<std::size_t>(*n) >= node.Children.size()) return -1;
                at = node.Children[static_cast<std::size_t>(*n)];
                continue;
            }
            int next = -1;
            for (int child : node.Children)
                if (EqualsIgnoringCase(o_.Nodes[static_cast<std::size_t>(child)].Name, step)) {
                    next = child;
                    break;
                }
            if (next < 0) {
                // A name further down, when it is the only one there.
                std::vector<int> below;
                for (std::size_t i = static_cast<std::size_t>(at) + 1;
                     i < o_.Nodes.size() && o_.Nodes[i].Depth > node.Depth; ++i)
                    if (EqualsIgnoringCase(o_.Nodes[i].Name, step)) below.push_back(static_cast<int>(i));
                if (below.size() != 1) return -1;
                next = below[0];
            }
            at = next;
        }
        return at;
    }

    int Require(std::string_view path) const {
        const int at = Find(path);
        if (at < 0) throw EditError("The form has no object " + std::string(path));
        return at;
    }

    // --- classes -----------------------------------------------------------------

    const rt::Class* ClassNamed(std::string_view name) const {
        return registry_ ? registry_->FindClassByName(name) : nullptr;
    }
    // An object's class; the root's, when its own class is not registered (a form's
    // class, TForm1, never is), is the form, frame or data module it is built as.
    const rt::Class* ClassOfNode(const ObjectNode& node) const {
        const rt::Class* cls = ClassNamed(node.ClassName);
        if (!cls && &node == &o_.Nodes.front()) return o_.RootClass;
        return cls;
    }
    const rt::Class* ClassOf(const rt::PropInfo& info) const {
        if (!registry_ || !info.Type || info.Type->Kind != rt::TypeKind::tkClass || !info.Type->ClassType)
            return nullptr;
        return &registry_->Of(*info.Type->ClassType);
    }

    // What the registry knows of a (dotted) property of a class. Throws when the
    // class and every class on the way are known and none has it.
    PropertyFacts Facts(const rt::Class* cls, std::string_view dotted, std::string_view label) const {
        PropertyFacts facts;
        facts.Spelling = dotted;
        if (!cls) return facts;
        const std::vector<std::string_view> steps = SplitDots(dotted);
        std::size_t at = 0;  // of the step in Spelling
        for (std::size_t i = 0; i < steps.size(); ++i) {
            const rt::Property* p = cls->FindProperty(steps[i]);
            const rt::StoredValueRule* rule =
                p || i + 1 != steps.size() ? nullptr : rt::FindStoredValue(*cls, steps[i]);
            if (!p && !rule)
                throw EditError(std::string(label) + ": " + std::string(cls->Name()) + " has no property " +
                                std::string(dotted));
            const std::string_view spelling = p ? p->Name() : rule->Name;
            if (spelling.size() == steps[i].size()) facts.Spelling.replace(at, spelling.size(), spelling);
            at += steps[i].size() + 1;
            if (i + 1 == steps.size()) {
                facts.Info = p ? p->Info : nullptr;
                facts.Known = true;
                return facts;
            }
            cls = ClassOf(*p->Info);
            if (!cls) return facts;
        }
        return facts;
    }

    std::optional<Rank> RankOf(const rt::Class* cls, std::string_view dotted) const {
        if (!cls) return std::nullopt;
        Rank rank;
        const std::vector<std::string_view> steps = SplitDots(dotted);
        for (std::size_t i = 0; i < steps.size(); ++i) {
            if (!cls) {
                rank.push_back(0);
                return rank;
            }
            if (i == 0 && cls->Has(rt::CfControl)) {
                bool bound = false;
                for (int b = 0; b < 4; ++b)
                    if (EqualsIgnoringCase(steps[0], Bounds[b])) {
                        rank.push_back(b - 4);
                        bound = true;
                    }
                if (bound) {
                    if (steps.size() > 1) return std::nullopt;
                    return rank;
                }
            }
            const rt::Property* p = cls->FindProperty(steps[i]);
            if (!p) {
                const rt::StoredValueRule* rule = rt::FindStoredValue(*cls, steps[i]);
                if (!rule || i + 1 != steps.size()) return std::nullopt;
                rank.push_back(1 << 20);
                rank.push_back(static_cast<int>(rule - rt::StoredValueRules().data()));
                return rank;
            }
            const auto& slots = cls->Slots();
            int slot = 0;
            for (std::size_t k = 0; k < slots.size(); ++k)
                if (slots[k].Info == p->Info) slot = static_cast<int>(k);
            rank.push_back(slot);
            cls = ClassOf(*p->Info);
        }
        return rank;
    }

    // Whether a value of the property may be left out of the text when it equals the
    // default: not a control's bounds, which the writer always writes.
    static bool OmitsDefault(const rt::Class* cls, std::string_view name) {
        // A font's Charset, Color, Height, Name and Style have no stored default: the
        // writer writes them whenever it writes the font (Font.Style = []), and the
        // registry's values for them are only what a new font starts with.
        if (const std::size_t dot = name.rfind('.'); dot != std::string_view::npos) {
            const std::string_view holder = name.substr(0, dot);
            const bool font =
                holder.size() >= 4 && EqualsIgnoringCase(holder.substr(holder.size() - 4), "Font");
            for (std::string_view written : FontWithoutDefault)
                if (font && EqualsIgnoringCase(name.substr(dot + 1), written)) return false;
        }
        if (!cls || !cls->Has(rt::CfControl)) return true;
        return std::none_of(std::begin(Bounds), std::end(Bounds),
                            [&](std::string_view bound) { return EqualsIgnoringCase(bound, name); });
    }

    // --- scopes ------------------------------------------------------------------

    Scope ObjectScope(int index) const {
        const ObjectNode& node = o_.Nodes[static_cast<std::size_t>(index)];
        Scope scope;
        scope.Props = &node.Props;
        scope.Cls = ClassOfNode(node);
        scope.Defaults = node.Keyword == "object";
        scope.Label = PathOf(index);
        scope.Object = scope.Label;
        scope.Node = &node;
        const std::size_t body = node.Children.empty()
                                     ? node.EndToken
                                     : o_.Nodes[static_cast<std::size_t>(node.Children.front())].HeaderStart;
        scope.Fallback = FirstOnLine(body) ? LineStart(body) : body;
        scope.Indent = PropertyIndent(node.Props, node.HeaderStart);
        return scope;
    }

    std::string PropertyIndent(const std::vector<PropEntry>& props, std::size_t owner) const {
        for (const PropEntry& p : props)
            if (FirstOnLine(p.NameStart)) return IndentAt(p.NameStart);
        return IndentAt(owner) + "  ";
    }

    static bool ParseSteps(std::string_view property, std::vector<Step>& steps) {
        // Identifiers joined by dots; "[n]" may follow an identifier and ends a step.
        std::size_t i = 0;
        Step current;
        auto identStart = [](char c) {
            return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' ||
                   static_cast<unsigned char>(c) >= 0x80;
        };
        auto identChar = [&](char c) { return identStart(c) || (c >= '0' && c <= '9'); };
        for (;;) {
            if (i >= property.size() || !identStart(property[i])) return false;
            const std::size_t start = i;
            while (i < property.size() && identChar(property[i]))
                ++i;
            if (!current.Name.empty()) current.Name += '.';
            current.Name += property.substr(start, i - start);
            if (i < property.size() && property[i] == '[') {
                const std::size_t close = property.find(']', i);
                if (close == std::string_view::npos) return false;
                int n = 0;
                const auto [end, error] =
                    std::from_chars(property.data() + i + 1, property.data() + close, n);
                if (error != std::errc() || end != property.data() + close || n < 0) return false;
                current.Index = n;
                steps.push_back(std::move(current));
                current = {};
                i = close + 1;
            }
            if (i == property.size()) break;
            if (property[i] != '.') return false;
            ++i;
        }
        if (!current.Name.empty()) steps.push_back(std::move(current));
        return !steps.empty() && !steps.back().Index;
    }

    static const PropEntry* FindIn(const std::vector<PropEntry>& props, std::string_view name) {
        const PropEntry* found = nullptr;
        for (const PropEntry& p : props)
            if (EqualsIgnoringCase(p.Name, name)) found = &p;  // the reader keeps the last
        return found;
    }

    // The scope that holds a property's line and the property's name within it.
    std::pair<Scope, std::string> Resolve(int object, std::string_view property) const {
        std::vector<Step> steps;
        if (!ParseSteps(property, steps))
            throw EditError("'" + std::string(property) + "' is not a property name");
        Scope scope = ObjectScope(object);
        for (std::size_t s = 0; s + 1 < steps.size(); ++s) {
            const Step& step = steps[s];
            const PropEntry* collection = FindIn(*scope.Props, step.Name);
            const std::string label = scope.Label + "." + step.Name + "[" + std::to_string(*step.Index) + "]";
            if (!collection || static_cast<std::size_t>(*step.Index) >= collection->Items.size())
                throw EditError("The form has no item " + label);
            const rt::Class* itemClass = nullptr;
            if (scope.Cls) {
                const PropertyFacts facts = Facts(scope.Cls, step.Name, scope.Label);
                if (facts.Info)
                    if (const rt::Class* cls = ClassOf(*facts.Info)) itemClass = cls->ItemClass();
            }
            const ItemEntry& item = collection->Items[static_cast<std::size_t>(*step.Index)];
            Scope inner;
            inner.Props = &item.Props;
            inner.Cls = itemClass;
            inner.Defaults = scope.Defaults;
            inner.Label = label;
            inner.Object = scope.Object;
            inner.Within = scope.Within + collection->Name + "[" + std::to_string(*step.Index) + "].";
            inner.Node = scope.Node;
            inner.Collection = collection;
            inner.Fallback = FirstOnLine(item.EndToken) ? LineStart(item.EndToken) : item.EndToken;
            inner.Indent = PropertyIndent(item.Props, item.Start);
            scope = std::move(inner);
        }
        return {std::move(scope), steps.back().Name};
    }

    // --- values ------------------------------------------------------------------

    // The value as the binary-to-text writer writes it: its lines, each after the
    // first with its indentation beyond the property's. Throws the reader's message.
    std::vector<std::string> WriterLines(std::string_view name, std::string_view value,
                                         std::string_view label) const {
        std::string form;
        if (o_.Utf8) form = Utf8ByteOrderMark;
        form += "object A: TA\r\n  ";
        form += name;
        form += " = ";
        form += value;
        form += "\r\nend\r\n";
        const std::string what =
            label.empty() ? std::string(name) : std::string(label) + "." + std::string(name);
        std::string written;
        try {
            ByteViewStream input(ByteSpan(reinterpret_cast<const std::uint8_t*>(form.data()), form.size()));
            MemoryStream binary;
            TextToBinaryForm(input, binary, codePage_);
            for (auto at = static_cast<std::size_t>(input.Position()); at < form.size(); ++at)
                if (!IsBlank(form[at])) throw EditError("more than one value");
            binary.Seek(0);
            MemoryStream text;
            BinaryFormToText(binary, text, codePage_);
            written.assign(reinterpret_cast<const char*>(text.Data().data()), text.Data().size());
        } catch (const Exception& e) {
            throw EditError("Invalid value for " + what + ": " + WithoutLine(e.what()));
        }
        if (written.starts_with(Utf8ByteOrderMark)) written.erase(0, Utf8ByteOrderMark.size());
        const std::string head = "object A: TA\r\n  " + std::string(name) + " = ";
        constexpr std::string_view tail = "\r\nend\r\n";
        if (!written.starts_with(head) || !written.ends_with(tail))
            throw EditError("Invalid value for " + what + ": more than one value");
        const std::string_view body =
            std::string_view(written).substr(head.size(), written.size() - head.size() - tail.size());
        std::vector<std::string> lines;
        std::size_t start = 0;
        for (;;) {
            const std::size_t end = body.find("\r\n", start);
            std::string_view line =
                body.substr(start, end == std::string_view::npos ? body.size() - start : end - start);
            if (!lines.empty()) {
                // Lines of the value are indented beyond the property; one that is not
                // is a property or an object of its own.
                if (!line.starts_with("    "))
                    throw EditError("Invalid value for " + what + ": more than one value");
                line.remove_prefix(2);
            }
            lines.emplace_back(line);
            if (end == std::string_view::npos) break;
            start = end + 2;
        }
        return lines;
    }

    std::string Join(const std::vector<std::string>& lines, std::string_view indent) const {
        std::string text = lines.front();
        for (std::size_t i = 1; i < lines.size(); ++i) {
            text += o_.Eol;
            text += indent;
            text += lines[i];
        }
        return text;
    }

    // A value for a line of the changes: its first line, marked when more follow.
    static std::string Brief(std::string_view value) {
        const std::size_t end = value.find_first_of("\r\n");
        if (end == std::string_view::npos && value.size() <= 80) return std::string(value);
        std::string first(value.substr(0, std::min<std::size_t>(std::min(end, value.size()), 80)));
        while (!first.empty() && IsBlank(first.back()))
            first.pop_back();
        return first + " ...";
    }

    std::string GetValue(const PropEntry& p) const {
        const std::string indent = IndentAt(p.NameStart);
        const std::string_view value = text_.substr(p.ValueStart, p.ValueEnd - p.ValueStart);
        std::string out;
        out.reserve(value.size());
        for (std::size_t i = 0; i < value.size();) {
            out += value[i];
            if (IsLineBreak(value[i]) &&
                !(value[i] == '\r' && i + 1 < value.size() && value[i + 1] == '\n')) {
                ++i;
                for (std::size_t k = 0; k < indent.size() && i < value.size() && IsSpace(value[i]); ++k)
                    ++i;
                continue;
            }
            ++i;
        }
        return out;
    }

    // Whole lines (each with its break) to insert at a place: at the start of a line as
    // they are; in the middle of one, on lines of their own after what stands before.
    std::string AtLineStart(std::size_t at, std::string lines) const {
        if (at == 0 || IsLineBreak(text_[at - 1])) return lines;
        if ((at == text_.size() || IsLineBreak(text_[at])) && lines.ends_with(o_.Eol))
            lines.resize(lines.size() - o_.Eol.size());
        return o_.Eol + lines;
    }

    // --- placing a new line ------------------------------------------------------

    static int IndexIn(const std::vector<PropEntry>& props, std::string_view name) {
        for (std::size_t i = 0; i < props.size(); ++i)
            if (EqualsIgnoringCase(props[i].Name, name)) return static_cast<int>(i);
        return -1;
    }

    // Where another list of properties that holds the name puts it among the target's
    // properties: after the last of them that it writes before the name, or before
    // the first of them when it writes the name first. Nothing when the lists share
    // no other name.
    std::optional<std::size_t> PlaceAfterExample(const std::vector<PropEntry>& target,
                                                 const std::vector<PropEntry>& example,
                                                 std::string_view name) const {
        const int k = IndexIn(example, name);
        if (k < 0) return std::nullopt;
        const PropEntry* anchor = nullptr;
        const PropEntry* firstAfter = nullptr;
        for (const PropEntry& p : target) {
            const int at = IndexIn(example, p.Name);
            if (at < 0) continue;
            if (at < k)
                anchor = &p;
            else if (!firstAfter)
                firstAfter = &p;
        }
        if (anchor) return AfterProperty(*anchor);
        if (firstAfter) return PropertySpan(*firstAfter).first;
        return std::nullopt;
    }

    std::size_t AfterProperty(const PropEntry& p) const { return PropertySpan(p).second; }

    template <typename Visit>
    void ForEachItemList(const std::vector<PropEntry>& props, const Visit& visit) const {
        for (const PropEntry& p : props) {
            if (p.Items.empty()) continue;
            visit(p);
            for (const ItemEntry& item : p.Items)
                ForEachItemList(item.Props, visit);
        }
    }

    // Where a new property line goes. In this order:
    //  (a) as the file itself orders the property: after the last of the target's
    //      properties that another object of the same class (then of any class), or
    //      another item of the collection (then of any collection), writes before it;
    //  (b) as the writer orders properties (see RankOf): after the last of the
    //      target's properties that comes before it;
    //  (c) after the last property line, before the first child object or "end".
    std::size_t InsertionPoint(const Scope& scope, std::string_view name) const {
        const std::vector<PropEntry>& target = *scope.Props;
        if (!scope.Collection) {
            for (int pass = 0; pass < 2; ++pass)
                for (const ObjectNode& node : o_.Nodes) {
                    if (&node.Props == &target) continue;
                    if ((pass == 0) != EqualsIgnoringCase(node.ClassName, scope.Node->ClassName)) continue;
                    if (auto at = PlaceAfterExample(target, node.Props, name)) return *at;
                }
        } else {
            for (const ItemEntry& item : scope.Collection->Items)
                if (&item.Props != &target)
                    if (auto at = PlaceAfterExample(target, item.Props, name)) return *at;
            std::optional<std::size_t> found;
            for (const ObjectNode& node : o_.Nodes) {
                ForEachItemList(node.Props, [&](const PropEntry& list) {
                    for (const ItemEntry& item : list.Items)
                        if (!found && &item.Props != &target)
                            found = PlaceAfterExample(target, item.Props, name);
                });
                if (found) return *found;
            }
        }
        if (const auto rank = RankOf(scope.Cls, name)) {
            const PropEntry* anchor = nullptr;
            bool ranked = false;
            for (const PropEntry& p : target) {
                const auto r = RankOf(scope.Cls, p.Name);
                if (!r) continue;
                ranked = true;
                if (*r < *rank) anchor = &p;
            }
            if (anchor) return AfterProperty(*anchor);
            if (ranked) return PropertySpan(target.front()).first;
        }
        if (!target.empty()) return AfterProperty(target.back());
        return scope.Fallback;
    }

    std::string PropertyLabel(const Scope& scope, std::string_view name) const {
        return scope.Label + "." + std::string(name);
    }

    // Reads the value into a new object of the class, as the form's reader will, and
    // refuses it with the reader's complaint: a string for a number, an unknown
    // enumeration or colour name, a value out of range. References name objects a
    // lone object cannot have and are left to the reader of the whole form.
    void CheckFits(const rt::Class& cls, const PropertyFacts& facts, const std::string& written,
                   std::string_view label) const {
        if (facts.Info->Holding == rt::PropHolding::Reference || cls.Has(rt::CfStandIn) ||
            cls.Has(rt::CfAbstract))
            return;
        const rt::ObjectPtr object = rt::CreateObject(cls, *registry_);
        if (!object) return;
        const std::string text = "object A: " + std::string(cls.Name()) + o_.Eol + "  " + facts.Spelling +
                                 " = " + written + o_.Eol + "end" + o_.Eol;
        std::vector<std::string> messages;
        rt::BuildFormFromText(*object, text, *registry_, codePage_, messages);
        if (messages.empty()) return;
        std::string message = messages.front();
        if (message.starts_with("ERROR=")) message.erase(0, 6);
        // "Error reading A.Left: Invalid property value": the object read is ours, not
        // the user's; the label says whose value it is.
        if (message.starts_with("Error reading A.")) {
            if (const std::size_t colon = message.find(": "); colon != std::string::npos)
                message.erase(0, colon + 2);
        }
        throw EditError(std::string(label) + "." + facts.Spelling + ": " + WithoutLine(message));
    }

    EditResult Set(std::string_view object, std::string_view property, std::string_view value) const {
        if (EqualsIgnoringCase(property, "Name"))
            throw EditError("The name of " + std::string(object) +
                            " is its object's name: rename the object instead");
        const int index = Require(object);
        const auto [scope, name] = Resolve(index, property);
        const PropertyFacts facts = Facts(scope.Cls, name, scope.Label);
        const std::vector<std::string> lines = WriterLines(name, value, scope.Label);
        if (facts.Info && !scope.Collection) CheckFits(*scope.Cls, facts, Join(lines, "  "), scope.Label);
        const PropEntry* existing = FindIn(*scope.Props, name);
        const std::string label = PropertyLabel(scope, existing ? existing->Name : facts.Spelling);
        EditResult result;
        if (facts.Info && scope.Defaults && OmitsDefault(scope.Cls, name)) {
            const std::string written = Join(lines, "  ");
            const auto summary = Summarize(written, o_.Utf8, codePage_);
            if (summary && IsDefaultValue(*facts.Info, *summary)) {
                if (!existing) return result;
                const auto [start, end] = PropertySpan(*existing);
                result.Edits.push_back({start, end - start, {}});
                result.Changes.push_back(label + ": removed (default)");
                result.Properties.push_back({scope.Object, scope.Within + existing->Name, std::nullopt});
                return result;
            }
        }
        if (existing) {
            const std::string indent =
                FirstOnLine(existing->NameStart) ? IndentAt(existing->NameStart) : scope.Indent;
            std::string text = Join(lines, indent);
            const std::string_view old =
                text_.substr(existing->ValueStart, existing->ValueEnd - existing->ValueStart);
            if (old == text) return result;
            result.Changes.push_back(label + ": " + Brief(GetValue(*existing)) + " -> " +
                                     Brief(Join(lines, "")));
            result.Edits.push_back({existing->ValueStart, old.size(), std::move(text)});
            result.Properties.push_back({scope.Object, scope.Within + existing->Name, Join(lines, "")});
            return result;
        }
        const std::size_t at = InsertionPoint(scope, facts.Spelling);
        std::string line = scope.Indent + facts.Spelling + " = " + Join(lines, scope.Indent) + o_.Eol;
        result.Edits.push_back({at, 0, AtLineStart(at, std::move(line))});
        result.Changes.push_back(label + ": added " + Brief(Join(lines, "")));
        result.Properties.push_back({scope.Object, scope.Within + facts.Spelling, Join(lines, "")});
        return result;
    }

    EditResult Remove(std::string_view object, std::string_view property) const {
        const int index = Require(object);
        const auto [scope, name] = Resolve(index, property);
        EditResult result;
        const PropEntry* existing = FindIn(*scope.Props, name);
        if (!existing) return result;
        const auto [start, end] = PropertySpan(*existing);
        result.Edits.push_back({start, end - start, {}});
        result.Changes.push_back(PropertyLabel(scope, existing->Name) + ": removed");
        result.Properties.push_back({scope.Object, scope.Within + existing->Name, std::nullopt});
        return result;
    }

    // --- whole objects -----------------------------------------------------------

    const ObjectNode& Node(int index) const { return o_.Nodes[static_cast<std::size_t>(index)]; }

    // The bytes an object takes: its lines from the header's to the end's, with its
    // line break.
    std::pair<std::size_t, std::size_t> ObjectSpan(const ObjectNode& node) const {
        const std::size_t start =
            FirstOnLine(node.HeaderStart) ? LineStart(node.HeaderStart) : node.HeaderStart;
        std::size_t end = AfterLineBreak(node.EndToken + 3);
        if (end == std::string::npos) end = node.EndToken + 3;
        return {start, end};
    }

    // Whether index is the object at or below ancestor.
    bool Within(int index, int ancestor) const {
        for (int at = index; at >= 0; at = Node(at).Parent)
            if (at == ancestor) return true;
        return false;
    }

    // The text with the edits converts; throws the reader's message otherwise.
    void Validate(const EditResult& result) const {
        const std::string edited = ApplyEdits(text_, result.Edits);
        std::string storage;
        const std::string_view read = WithLineFeeds(edited, storage);
        try {
            ByteViewStream input(ByteSpan(reinterpret_cast<const std::uint8_t*>(read.data()), read.size()));
            MemoryStream binary;
            TextToBinaryForm(input, binary, codePage_);
        } catch (const Exception& e) {
            throw EditError(std::string("The form would not convert after the edit: ") + e.what());
        }
    }

    static bool IsIdentifier(std::string_view name) {
        if (name.empty() || (name[0] >= '0' && name[0] <= '9')) return false;
        return std::all_of(name.begin(), name.end(), [](char c) {
            return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
                   static_cast<unsigned char>(c) >= 0x80;
        });
    }

    // Throws unless name can be given to an object (other than self) of the form.
    void CheckNewName(std::string_view name, int self) const {
        if (!IsIdentifier(name)) throw EditError("'" + std::string(name) + "' is not a valid name");
        for (int other : Named(name))
            if (other != self) throw EditError("The form already has an object named " + std::string(name));
    }

    // Whether a property refers to another component of the form by name: a property
    // the registry knows as a reference, or one whose class or property it does not
    // know and that does not look like an event.
    bool IsReference(const rt::Class* cls, std::string_view dotted) const {
        std::optional<PropertyFacts> facts;
        if (cls) {
            try {
                facts = Facts(cls, dotted, {});
            } catch (const EditError&) {
            }
        }
        if (facts && facts->Known) {
            if (!facts->Info || !facts->Info->Type) return false;
            return facts->Info->Holding == rt::PropHolding::Reference ||
                   (facts->Info->Type->Kind == rt::TypeKind::tkClass &&
                    facts->Info->Holding != rt::PropHolding::Owned);
        }
        const std::string_view last = dotted.substr(dotted.rfind('.') + 1);
        return !(last.size() > 2 && (last[0] == 'O' || last[0] == 'o') &&
                 (last[1] == 'n' || last[1] == 'N') && last[2] >= 'A' && last[2] <= 'Z');
    }

    // Whether a value names the component name or a part of it ("Name.Field").
    bool NamesComponent(const PropEntry& p, std::string_view name) const {
        const std::string_view value = text_.substr(p.ValueStart, p.ValueEnd - p.ValueStart);
        if (value.empty() || !IsIdentifier(value.substr(0, std::min(value.find('.'), value.size()))))
            return false;
        return EqualsIgnoringCase(value, name) ||
               (StartsWithIgnoringCase(value, name) && value.size() > name.size() &&
                value[name.size()] == '.' && value.find_first_of(" \t\r\n") == std::string_view::npos);
    }

    // Visits every property line of the form that refers to the component name, with
    // the label of its object (or item) and its class.
    template <typename Visit>
    void ForEachReference(std::string_view name, const Visit& visit) const {
        for (std::size_t i = 0; i < o_.Nodes.size(); ++i) {
            const ObjectNode& node = o_.Nodes[i];
            References(node.Props, ClassOfNode(node), PathOf(static_cast<int>(i)), name, visit);
        }
    }

    template <typename Visit>
    void References(const std::vector<PropEntry>& props, const rt::Class* cls, const std::string& label,
                    std::string_view name, const Visit& visit) const {
        for (const PropEntry& p : props) {
            if (!p.Items.empty()) {
                const rt::Class* itemClass = nullptr;
                if (cls) {
                    try {
                        const PropertyFacts facts = Facts(cls, p.Name, {});
                        if (facts.Info)
                            if (const rt::Class* c = ClassOf(*facts.Info)) itemClass = c->ItemClass();
                    } catch (const EditError&) {
                    }
                }
                for (std::size_t k = 0; k < p.Items.size(); ++k)
                    References(p.Items[k].Props, itemClass,
                               label + "." + p.Name + "[" + std::to_string(k) + "]", name, visit);
                continue;
            }
            if (NamesComponent(p, name) && IsReference(cls, p.Name)) visit(p, cls, label);
        }
    }

    EditResult Rename(std::string_view object, std::string_view newName) const {
        const int index = Require(object);
        const ObjectNode& node = Node(index);
        CheckNewName(newName, index);
        // The reader finds an inherited object by its name among the ancestor's.
        if (node.Keyword == "inherited")
            throw EditError(PathOf(index) + " comes from the ancestor form; it cannot be renamed here");
        EditResult result;
        if (node.Name == newName) return result;
        const std::string oldLabel = node.Name.empty() ? PathOf(index) : node.Name;
        if (node.Name.empty())
            result.Edits.push_back({node.NameStart, 0, std::string(newName) + ": "});
        else
            result.Edits.push_back({node.NameStart, node.Name.size(), std::string(newName)});
        result.Changes.push_back(oldLabel + " renamed to " + std::string(newName));
        if (!node.Name.empty()) {
            ForEachReference(node.Name, [&](const PropEntry& p, const rt::Class*, const std::string& label) {
                const std::string_view old = text_.substr(p.ValueStart, p.ValueEnd - p.ValueStart);
                std::string now = std::string(newName) + std::string(old.substr(node.Name.size()));
                result.Changes.push_back(label + "." + p.Name + ": " + std::string(old) + " -> " + now);
                result.Edits.push_back({p.ValueStart, old.size(), std::move(now)});
            });
        }
        std::sort(result.Edits.begin(), result.Edits.end(),
                  [](const TextEdit& a, const TextEdit& b) { return a.Offset < b.Offset; });
        result.Structural = true;
        Validate(result);
        return result;
    }

    EditResult Delete(std::string_view object) const {
        const int index = Require(object);
        const ObjectNode& node = Node(index);
        if (node.Parent < 0) throw EditError("The root object cannot be deleted");
        if (node.Keyword == "inherited")
            throw EditError(PathOf(index) + " comes from the ancestor form; it cannot be deleted here");
        EditResult result;
        const std::pair<std::size_t, std::size_t> span = ObjectSpan(node);
        const std::size_t start = span.first, end = span.second;
        result.Edits.push_back({start, end - start, {}});
        result.Changes.push_back(PathOf(index) + ": deleted");
        // Properties elsewhere that the registry knows to refer to a deleted object go
        // too, as they do when the designer deletes a component.
        for (std::size_t i = static_cast<std::size_t>(index);
             i < o_.Nodes.size() && (i == static_cast<std::size_t>(index) || o_.Nodes[i].Depth > node.Depth);
             ++i) {
            if (o_.Nodes[i].Name.empty()) continue;
            ForEachReference(o_.Nodes[i].Name,
                             [&](const PropEntry& p, const rt::Class* cls, const std::string& label) {
                                 if (!cls || (p.NameStart >= start && p.NameStart < end)) return;
                                 try {
                                     const PropertyFacts facts = Facts(cls, p.Name, {});
                                     if (!facts.Info) return;
                                 } catch (const EditError&) {
                                     return;
                                 }
                                 const auto [from, to] = PropertySpan(p);
                                 result.Edits.push_back({from, to - from, {}});
                                 result.Changes.push_back(label + "." + p.Name + ": removed (referred to " +
                                                          o_.Nodes[i].Name + ")");
                             });
        }
        std::sort(result.Edits.begin(), result.Edits.end(),
                  [](const TextEdit& a, const TextEdit& b) { return a.Offset < b.Offset; });
        result.Structural = true;
        Validate(result);
        return result;
    }

    // The indentation of an object's children: of its first child, else its own and two.
    std::string ChildIndent(const ObjectNode& parent) const {
        if (!parent.Children.empty()) return IndentAt(Node(parent.Children.front()).HeaderStart);
        return IndentAt(parent.HeaderStart) + "  ";
    }

    // Where a new last child of parent goes: the start of the line of its "end".
    std::size_t LastChildPoint(const ObjectNode& parent) const {
        return FirstOnLine(parent.EndToken) ? LineStart(parent.EndToken) : parent.EndToken;
    }

    EditResult Add(std::string_view parentPath, std::string_view className, std::string_view name,
                   std::span<const PropertyValue> props) const {
        const int parentIndex = Require(parentPath);
        const ObjectNode& parent = Node(parentIndex);
        if (!IsIdentifier(className)) throw EditError("'" + std::string(className) + "' is not a class name");
        const rt::Class* cls = ClassNamed(className);
        if (registry_ && !cls) throw EditError("No class " + std::string(className) + " is known");
        std::string newName(name);
        if (newName.empty()) {
            std::string_view stem = cls ? cls->Name() : className;
            if (stem.size() > 1 && (stem[0] == 'T' || stem[0] == 't')) stem.remove_prefix(1);
            for (int n = 1;; ++n) {
                newName = std::string(stem) + std::to_string(n);
                if (Named(newName).empty()) break;
            }
        }
        CheckNewName(newName, -1);
        const std::string writtenClass = cls ? std::string(cls->Name()) : std::string(className);
        if (cls && cls->Has(rt::CfControl))
            if (const rt::Class* holder = ClassOfNode(parent); holder && !holder->Has(rt::CfWinControl))
                throw EditError(PathOf(parentIndex) + " cannot hold a control");

        // What the designer stores for a new object, then what the caller gives.
        std::vector<PropertyValue> values;
        auto put = [&](std::string_view prop, std::string value) {
            for (PropertyValue& v : values)
                if (EqualsIgnoringCase(v.first, prop)) {
                    v.second = std::move(value);
                    return;
                }
            values.emplace_back(std::string(prop), std::move(value));
        };
        put("Left", "8");
        put("Top", "8");
        if (cls && cls->Has(rt::CfControl)) {
            const rt::InitialValues& initial = cls->Initial();
            for (std::string_view bound : {std::string_view("Width"), std::string_view("Height")}) {
                const rt::Property* p = cls->FindProperty(bound);
                if (!p || static_cast<std::size_t>(p->Slot) >= initial.Values.size()) continue;
                const auto* v = std::get_if<std::int64_t>(&initial.Values[static_cast<std::size_t>(p->Slot)]);
                if (v && *v != 0) put(bound, std::to_string(*v));
            }
            const auto isText = [](const rt::Property* p) {
                return p && (p->Kind() == rt::TypeKind::tkString || p->Kind() == rt::TypeKind::tkLString ||
                             p->Kind() == rt::TypeKind::tkWString);
            };
            if (isText(cls->FindProperty("Caption")))
                put("Caption", "'" + newName + "'");
            else if (isText(cls->FindProperty("Text")) && !cls->FindProperty("Lines"))
                put("Text", "'" + newName + "'");
            if (cls->Has(rt::CfWinControl)) {
                int windowed = 0;
                for (int child : parent.Children)
                    if (const rt::Class* c = ClassOfNode(Node(child)); c && c->Has(rt::CfWinControl))
                        ++windowed;
                put("TabOrder", std::to_string(windowed));
            }
        }
        for (const PropertyValue& v : props)
            put(v.first, v.second);

        // Each value as the writer writes it, in the writer's order, defaults left out.
        const std::string indent = ChildIndent(parent);
        const std::string inner = indent + "  ";
        struct Line {
            std::optional<Rank> Order;
            std::string Name;
            std::string Text;
        };
        std::vector<Line> lines;
        for (const PropertyValue& v : values) {
            std::vector<Step> steps;
            if (!ParseSteps(v.first, steps) || steps.size() != 1)
                throw EditError("'" + v.first + "' is not a property name");
            const PropertyFacts facts = Facts(cls, v.first, newName);
            const std::vector<std::string> written = WriterLines(v.first, v.second, newName);
            if (facts.Info && OmitsDefault(cls, v.first)) {
                const auto summary = Summarize(Join(written, "  "), o_.Utf8, codePage_);
                if (summary && IsDefaultValue(*facts.Info, *summary)) continue;
            }
            lines.push_back({RankOf(cls, v.first), facts.Spelling,
                             inner + facts.Spelling + " = " + Join(written, inner) + o_.Eol});
        }
        std::stable_sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) {
            if (!a.Order || !b.Order) return a.Order.has_value() && !b.Order.has_value();
            return *a.Order < *b.Order;
        });
        // Where another object of the class in the file writes some of these properties
        // in another order, those lines take its order among themselves.
        for (const ObjectNode& example : o_.Nodes) {
            if (!EqualsIgnoringCase(example.ClassName, writtenClass)) continue;
            std::vector<std::size_t> places;
            for (std::size_t i = 0; i < lines.size(); ++i)
                if (IndexIn(example.Props, lines[i].Name) >= 0) places.push_back(i);
            std::vector<Line> shared;
            for (std::size_t i : places)
                shared.push_back(std::move(lines[i]));
            std::stable_sort(shared.begin(), shared.end(), [&](const Line& a, const Line& b) {
                return IndexIn(example.Props, a.Name) < IndexIn(example.Props, b.Name);
            });
            for (std::size_t k = 0; k < places.size(); ++k)
                lines[places[k]] = std::move(shared[k]);
            break;
        }
        std::string block = indent + "object " + newName + ": " + writtenClass + o_.Eol;
        for (const Line& line : lines)
            block += line.Text;
        block += indent + "end" + o_.Eol;
        const std::size_t at = LastChildPoint(parent);
        EditResult result;
        result.Edits.push_back({at, 0, AtLineStart(at, std::move(block))});
        result.Changes.push_back(newName + ": added (" + writtenClass + ") to " + PathOf(parentIndex));
        result.Structural = true;
        Validate(result);
        return result;
    }

    // The lines of text (whole lines, with their breaks) moved from one indentation
    // to another: each line loses up to from's length of leading blanks and gains to.
    std::string Reindent(std::string_view block, std::size_t from, std::string_view to) const {
        std::string out;
        out.reserve(block.size());
        bool lineStart = true;
        for (std::size_t i = 0; i < block.size();) {
            if (lineStart) {
                lineStart = false;
                for (std::size_t k = 0; k < from && i < block.size() && IsSpace(block[i]); ++k)
                    ++i;
                out += to;
                continue;
            }
            out += block[i];
            if (IsLineBreak(block[i]) && !(block[i] == '\r' && i + 1 < block.size() && block[i + 1] == '\n'))
                lineStart = i + 1 < block.size();
            ++i;
        }
        return out;
    }

    EditResult Move(std::string_view object, std::string_view newParent) const {
        const int index = Require(object);
        const int parentIndex = Require(newParent);
        const ObjectNode& node = Node(index);
        if (node.Parent < 0) throw EditError("The root object cannot be moved");
        if (Within(parentIndex, index))
            throw EditError(PathOf(index) + " cannot be moved into itself or one of its children");
        if (node.Keyword == "inherited")
            throw EditError(PathOf(index) + " comes from the ancestor form; it cannot be moved here");
        const ObjectNode& parent = Node(parentIndex);
        EditResult result;
        if (node.Parent == parentIndex && parent.Children.back() == index) return result;
        if (const rt::Class* cls = ClassOfNode(node); cls && cls->Has(rt::CfControl))
            if (const rt::Class* holder = ClassOfNode(parent); holder && !holder->Has(rt::CfWinControl))
                throw EditError(PathOf(parentIndex) + " cannot hold a control");
        const auto [start, end] = ObjectSpan(node);
        const std::size_t at = LastChildPoint(parent);
        std::string block = Reindent(text_.substr(start, end - start), IndentAt(node.HeaderStart).size(),
                                     ChildIndent(parent));
        if (!block.empty() && !IsLineBreak(block.back())) block += o_.Eol;
        const TextEdit cut{start, end - start, {}};
        TextEdit paste{at, 0, AtLineStart(at, std::move(block))};
        if (at < start) {
            result.Edits.push_back(std::move(paste));
            result.Edits.push_back(cut);
        } else {
            result.Edits.push_back(cut);
            result.Edits.push_back(std::move(paste));
        }
        result.Changes.push_back(PathOf(index) + ": moved to " + PathOf(parentIndex));
        result.Structural = true;
        Validate(result);
        return result;
    }

    // --- many properties ---------------------------------------------------------

    // Whether text matches a pattern where "*" stands for any run of characters and "?"
    // for one, ignoring the case of ASCII letters.
    static bool Matches(std::string_view pattern, std::string_view text) {
        std::size_t p = 0, t = 0, star = std::string_view::npos, resume = 0;
        while (t < text.size()) {
            if (p < pattern.size() && (pattern[p] == '?' || AsciiUpper(pattern[p]) == AsciiUpper(text[t]))) {
                ++p;
                ++t;
            } else if (p < pattern.size() && pattern[p] == '*') {
                star = p++;
                resume = t;
            } else if (star != std::string_view::npos) {
                p = star + 1;
                t = ++resume;
            } else {
                return false;
            }
        }
        while (p < pattern.size() && pattern[p] == '*')
            ++p;
        return p == pattern.size();
    }

    // labels: the names the properties' owner answers to; object and within: its
    // path and, for an item, the item's property path, for the values removed.
    void RemoveMatching(const std::vector<PropEntry>& props, const std::vector<std::string>& labels,
                        const std::string& object, const std::string& within, std::string_view pattern,
                        EditResult& result) const {
        for (const PropEntry& p : props) {
            const bool match = std::any_of(labels.begin(), labels.end(), [&](const std::string& label) {
                return Matches(pattern, label + "." + p.Name);
            });
            if (match) {
                const auto [start, end] = PropertySpan(p);
                result.Edits.push_back({start, end - start, {}});
                result.Changes.push_back(labels.front() + "." + p.Name + ": removed");
                result.Properties.push_back({object, within + p.Name, std::nullopt});
                continue;
            }
            for (std::size_t k = 0; k < p.Items.size(); ++k) {
                std::vector<std::string> inner;
                for (const std::string& label : labels)
                    inner.push_back(label + "." + p.Name + "[" + std::to_string(k) + "]");
                RemoveMatching(p.Items[k].Props, inner, object,
                               within + p.Name + "[" + std::to_string(k) + "].", pattern, result);
            }
        }
    }

    EditResult RemoveAll(std::string_view pattern) const {
        EditResult result;
        for (std::size_t i = 0; i < o_.Nodes.size(); ++i) {
            // An object answers to its shortest path and to its full path from the root.
            std::vector<std::string> labels{PathOf(static_cast<int>(i))};
            std::string full = StepOf(static_cast<int>(i));
            for (int p = o_.Nodes[i].Parent; p >= 0; p = Node(p).Parent)
                full = StepOf(p) + "." + full;
            if (full != labels.front()) labels.push_back(std::move(full));
            RemoveMatching(o_.Nodes[i].Props, labels, labels.front(), {}, pattern, result);
        }
        return result;
    }
};

// The text's first line break; CR LF when it has none.
std::string FirstLineBreak(std::string_view text) {
    const std::size_t at = text.find_first_of("\r\n");
    if (at == std::string_view::npos) return "\r\n";
    if (text[at] == '\n') return "\n";
    return at + 1 < text.size() && text[at + 1] == '\n' ? "\r\n" : "\r";
}

}  // namespace

struct FormEditor::Outline : OutlineData {};

std::string ApplyEdits(std::string_view text, std::span<const TextEdit> edits) {
    std::string result;
    result.reserve(text.size());
    std::size_t at = 0;
    for (const TextEdit& edit : edits) {
        if (edit.Offset < at || edit.Offset + edit.Length > text.size())
            throw EditError("Edits overlap or lie outside the text");
        result.append(text.substr(at, edit.Offset - at));
        result.append(edit.Text);
        at = edit.Offset + edit.Length;
    }
    result.append(text.substr(at));
    return result;
}

FormEditor::FormEditor(std::string_view text, const CodePage& codePage, rt::ClassRegistry* registry)
    : text_(text), codePage_(codePage), registry_(registry), outline_(std::make_unique<Outline>()) {
    outline_->Eol = FirstLineBreak(text_);
    outline_->Utf8 = text_.starts_with(Utf8ByteOrderMark);
    // The tokenizer counts lines by line feeds; a text whose lines end in a lone CR is
    // read from a copy with line feeds there, of the same length.
    std::string storage;
    const std::string_view read = WithLineFeeds(text_, storage);
    ByteViewStream input(ByteSpan(reinterpret_cast<const std::uint8_t*>(read.data()), read.size()));
    try {
        FormTokenizer parser(input, codePage_);
        OutlineReader(parser, read, outline_->Nodes).Object(0, -1);
    } catch (const Exception& e) {
        throw EditError(e.what());
    }
    for (const ObjectNode& node : outline_->Nodes)
        if (!node.Name.empty()) ++outline_->NameCount[node.Name];
    if (registry_ && !outline_->Nodes.empty() &&
        !registry_->FindClassByName(outline_->Nodes.front().ClassName)) {
        // What the root is shows in its own properties, which come before its first
        // child: the rest of the text, on a large form mostly picture data, tells nothing.
        const std::size_t head =
            outline_->Nodes.size() > 1 ? outline_->Nodes[1].HeaderStart : std::string_view::npos;
        const rt::RootBase base =
            rt::RootBaseOf(std::string_view(text_).substr(0, head), *registry_, nullptr);
        outline_->RootClass = &registry_->Of(base == rt::RootBase::Frame        ? rt::cls::TFrame
                                             : base == rt::RootBase::DataModule ? rt::cls::TDataModule
                                                                                : rt::cls::TForm);
    }
}

FormEditor::~FormEditor() = default;

std::string_view FormEditor::Text() const {
    return text_;
}

std::vector<ObjectEntry> FormEditor::Objects() const {
    const Engine engine(text_, *outline_, codePage_, registry_);
    std::vector<ObjectEntry> entries;
    entries.reserve(outline_->Nodes.size());
    for (std::size_t i = 0; i < outline_->Nodes.size(); ++i)
        entries.push_back(engine.Entry(static_cast<int>(i)));
    return entries;
}

std::optional<ObjectEntry> FormEditor::FindObject(std::string_view path) const {
    const Engine engine(text_, *outline_, codePage_, registry_);
    const int at = engine.Find(path);
    if (at < 0) return std::nullopt;
    return engine.Entry(at);
}

std::optional<std::string> FormEditor::GetProperty(std::string_view object, std::string_view property) const {
    const Engine engine(text_, *outline_, codePage_, registry_);
    const auto [scope, name] = engine.Resolve(engine.Require(object), property);
    const PropEntry* p = Engine::FindIn(*scope.Props, name);
    if (!p) return std::nullopt;
    return engine.GetValue(*p);
}

EditResult FormEditor::SetProperty(std::string_view object, std::string_view property,
                                   std::string_view value) const {
    return Engine(text_, *outline_, codePage_, registry_).Set(object, property, value);
}

EditResult FormEditor::RemoveProperty(std::string_view object, std::string_view property) const {
    return Engine(text_, *outline_, codePage_, registry_).Remove(object, property);
}

EditResult FormEditor::RemoveProperties(std::string_view pattern) const {
    return Engine(text_, *outline_, codePage_, registry_).RemoveAll(pattern);
}

EditResult FormEditor::RenameObject(std::string_view object, std::string_view newName) const {
    return Engine(text_, *outline_, codePage_, registry_).Rename(object, newName);
}

EditResult FormEditor::DeleteObject(std::string_view object) const {
    return Engine(text_, *outline_, codePage_, registry_).Delete(object);
}

EditResult FormEditor::AddObject(std::string_view parent, std::string_view className, std::string_view name,
                                 std::span<const PropertyValue> props) const {
    return Engine(text_, *outline_, codePage_, registry_).Add(parent, className, name, props);
}

EditResult FormEditor::MoveObject(std::string_view object, std::string_view newParent) const {
    return Engine(text_, *outline_, codePage_, registry_).Move(object, newParent);
}

PropertyAssignment SplitAssignment(const FormEditor& editor, std::string_view argument) {
    PropertyAssignment assignment;
    const std::size_t equals = argument.find('=');
    std::string_view left = argument.substr(0, equals);
    while (!left.empty() && IsBlank(left.back()))
        left.remove_suffix(1);
    while (!left.empty() && IsBlank(left.front()))
        left.remove_prefix(1);
    if (equals != std::string_view::npos) assignment.Value = std::string(argument.substr(equals + 1));
    // The longest run of leading steps that names an object; at least one step is left
    // for the property. A dot inside "[...]" separates no steps.
    std::vector<std::size_t> dots;
    int brackets = 0;
    for (std::size_t i = 0; i < left.size(); ++i) {
        if (left[i] == '[') ++brackets;
        if (left[i] == ']') --brackets;
        if (left[i] == '.' && brackets == 0) dots.push_back(i);
    }
    for (auto dot = dots.rbegin(); dot != dots.rend(); ++dot) {
        const std::string_view object = left.substr(0, *dot);
        if (editor.FindObject(object)) {
            assignment.Object = std::string(object);
            assignment.Property = std::string(left.substr(*dot + 1));
            return assignment;
        }
    }
    throw EditError("'" + std::string(left) + "' names no property of an object of the form");
}

}  // namespace fw::edit
