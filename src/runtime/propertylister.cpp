#include "propertylister.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

#include "builtin.h"
#include "propertyaccess.h"
#include "valuetext.h"

namespace fw::rt {

namespace {

std::string_view TrimSpaces(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

[[noreturn]] void InvalidValue() {
    throw Exception("Invalid property value");
}

std::int64_t OrdinalOf(const Object& object, const Property& p) {
    const auto* value = std::get_if<std::int64_t>(&object.Get(p));
    if (!value) InvalidValue();
    return *value;
}

long double FloatOf(const Object& object, const Property& p) {
    const Value& v = object.Get(p);
    if (const auto* f = std::get_if<long double>(&v)) return *f;
    if (const auto* i = std::get_if<std::int64_t>(&v)) return static_cast<long double>(*i);
    InvalidValue();
}

// A character code of 0 to 255 as UTF-8: the first 256 code points of Unicode.
std::string ByteCharacter(std::uint8_t code) {
    if (code < 0x80) return std::string(1, static_cast<char>(code));
    return {static_cast<char>(0xC0 | (code >> 6)), static_cast<char>(0x80 | (code & 0x3F))};
}

// The code point of the first character of UTF-8 text. A byte that does not start a
// valid sequence stands for itself, as text in an 8-bit code page would.
std::optional<std::uint32_t> FirstCodePoint(std::string_view text) {
    if (text.empty()) return std::nullopt;
    const auto lead = static_cast<unsigned char>(text[0]);
    int length = lead < 0x80             ? 1
                 : (lead & 0xE0) == 0xC0 ? 2
                 : (lead & 0xF0) == 0xE0 ? 3
                 : (lead & 0xF8) == 0xF0 ? 4
                                         : 0;
    if (length <= 1 || static_cast<std::size_t>(length) > text.size()) return lead;
    std::uint32_t code = lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[static_cast<std::size_t>(i)]);
        if ((next & 0xC0) != 0x80) return lead;
        code = (code << 6) | (next & 0x3F);
    }
    return code;
}

// The name of an element of an enumeration type, or its number when the type has no
// name for it (an integer range).
std::string ElementName(const TypeInfo* element, int ordinal) {
    if (element && ordinal >= 0 && static_cast<std::size_t>(ordinal) < element->EnumNames.size())
        return std::string(element->EnumNames[static_cast<std::size_t>(ordinal)]);
    return std::to_string(ordinal);
}

// The ordinal, 0 to 31, of the set element a word names, ignoring case; a set of an
// integer range takes the number itself.
std::optional<int> ElementOrdinal(const TypeInfo* element, std::string_view word) {
    constexpr int Limit = 32;
    if (element && !element->EnumNames.empty()) {
        const int count = std::min(static_cast<int>(element->EnumNames.size()), Limit);
        for (int ordinal = 0; ordinal < count; ++ordinal)
            if (EqualsIgnoringCase(element->EnumNames[static_cast<std::size_t>(ordinal)], word))
                return ordinal;
        return std::nullopt;
    }
    int ordinal = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), ordinal);
    if (word.empty() || error != std::errc() || end != word.data() + word.size() || ordinal < 0 ||
        ordinal >= Limit)
        return std::nullopt;
    return ordinal;
}

int FloatPrecision(FloatType type) {
    switch (type) {
        case FloatType::Single:
            return 7;
        case FloatType::Double:
            return 15;
        case FloatType::Extended:
            return 18;
        case FloatType::Comp:
            return 18;
        case FloatType::Currency:
            return 19;
    }
    return 15;
}

// The value a float of the type can hold: a single or double rounds to its precision,
// a comp is a whole number and a currency a number of ten-thousandths, each a 64-bit
// integer underneath.
long double Representable(long double value, FloatType type) {
    constexpr long double Int64Limit = 9223372036854775807.0L;
    switch (type) {
        case FloatType::Single:
            return static_cast<float>(value);
        case FloatType::Double:
            return static_cast<double>(value);
        case FloatType::Extended:
            return value;
        case FloatType::Comp:
            if (!(std::fabs(value) <= Int64Limit)) throw EConvertError("Floating point overflow");
            // Rounded as the floating-point unit does: halves to even.
            return std::nearbyintl(value);
        case FloatType::Currency:
            if (!(std::fabs(value) <= Int64Limit / 10000)) throw EConvertError("Floating point overflow");
            return std::nearbyintl(value * 10000) / 10000;
    }
    return value;
}

// A whole number in decimal that fits a 32-bit integer property, signed or not.
std::optional<std::int64_t> ParseInteger(std::string_view text) {
    text = TrimSpaces(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::uint64_t magnitude = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (magnitude > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
    const auto value =
        negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    if (value < std::numeric_limits<std::int32_t>::min()) return std::nullopt;
    return value;
}

long double ParseFloat(std::string_view line, char decimalSeparator) {
    std::string text(TrimSpaces(line));
    if (decimalSeparator != '.') {
        // The user's separator is the only one; a '.' in its place is not a number.
        if (text.find('.') != std::string::npos) text.clear();
        for (char& c : text)
            if (c == decimalSeparator) c = '.';
    }
    std::string_view digits = text;
    if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
    long double value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size())
        throw EConvertError("'" + std::string(line) + "' is not a valid floating point value");
    return value;
}

}  // namespace

TTypeKinds AllTypeKinds() {
    return TTypeKinds().set();
}

TPropInfoList::TPropInfoList(const Class& cls, const TTypeKinds& kinds) {
    // The class keeps its properties sorted by name ignoring case already.
    for (const Property& p : cls.Properties())
        if (kinds.test(static_cast<std::size_t>(p.Kind()))) items_.push_back(&p);
}

const Property* TPropInfoList::Find(std::string_view name) const {
    for (const Property* p : items_)
        if (EqualsIgnoringCase(p->Name(), name)) return p;
    return nullptr;
}

PropertyLister::PropertyLister(Object* owner, Object* application)
    : about_("Object inspector: the published properties of a live object as text"),
      filter_(AllTypeKinds()),
      owner_(owner),
      application_(application) {}

void PropertyLister::Inspect(Object* object) {
    target_ = object;
    if (!object || !object->GetClass().Has(CfComponent))
        referenceBase_ = owner_;
    else if (!object->Owner() || object->Owner() == application_)
        referenceBase_ = object;
    else
        referenceBase_ = object->Owner();
    if (!object) return;

    propList_ = TPropInfoList(object->GetClass(), filter_);
    propNames_.clear();
    propTypes_.clear();
    propValues_.clear();
    propKinds_.clear();
    for (const Property* p : propList_.Items()) {
        std::vector<std::string> lines = ValueLines(*p);
        if (lines.empty()) continue;
        propValues_.push_back(lines.size() == 1 ? std::move(lines.front()) : std::string("(TStrings)"));
        propNames_.emplace_back(p->Name());
        propTypes_.emplace_back(p->Type().Name);
        propKinds_.push_back(std::to_string(static_cast<int>(p->Kind())));
    }
}

const Property* PropertyLister::FindProp(std::string_view name) const {
    return target_ ? propList_.Find(name) : nullptr;
}

std::vector<std::string> PropertyLister::ValueLines(const Property& property) const {
    try {
        return ReadLines(property);
    } catch (const std::exception&) {
        // An unreadable value leaves the property out; the others are unaffected.
        return {};
    }
}

std::vector<std::string> PropertyLister::ReadLines(const Property& p) const {
    if (!target_) return {};
    const Object& object = *target_;
    const TypeInfo& type = p.Type();
    switch (type.Kind) {
        case TypeKind::tkInteger:
            return {std::to_string(OrdinalOf(object, p))};
        case TypeKind::tkChar:
        case TypeKind::tkWChar: {
            return {ByteCharacter(static_cast<std::uint8_t>(OrdinalOf(object, p) & 0xFF))};
        }
        case TypeKind::tkEnumeration: {
            const std::int64_t ordinal = OrdinalOf(object, p);
            if (ordinal < 0 || static_cast<std::uint64_t>(ordinal) >= type.EnumNames.size()) InvalidValue();
            return {std::string(type.EnumNames[static_cast<std::size_t>(ordinal)])};
        }
        case TypeKind::tkFloat:
            return {FormatGeneral(Representable(FloatOf(object, p), type.Float), FloatPrecision(type.Float),
                                  decimalSeparator_)};
        case TypeKind::tkString:
        case TypeKind::tkLString: {
            if (IsComponentName(object, p)) return {object.Name()};
            const auto* text = std::get_if<std::string>(&object.Get(p));
            if (!text) InvalidValue();
            return {*text};
        }
        case TypeKind::tkSet: {
            // Only the first 16 elements are shown, whatever the set holds beyond them.
            const std::int64_t bits = OrdinalOf(object, p);
            std::string text = "[";
            for (int bit = 0; bit < 16; ++bit) {
                if ((bits & (std::int64_t{1} << bit)) == 0) continue;
                if (text.size() > 1) text += ',';
                text += ElementName(type.ElementType, bit);
            }
            return {text + "]"};
        }
        case TypeKind::tkClass: {
            const Object* value = object.ObjectValue(p);
            if (!value) return {};
            const Class& cls = value->GetClass();
            if (cls.Has(CfStrings)) return value->Lines();
            if (cls.Has(CfComponent)) return {ComponentText(*value)};
            if (cls.Has(CfCollection)) return {"(" + std::string(cls.Name()) + ")"};
            if (cls.Has(CfPersistent)) return {"(" + value->NamePath() + ")"};
            return {};
        }
        case TypeKind::tkMethod: {
            const MethodValue* method = object.Method(p);
            return {method && method->Assigned() ? "Assigned" : ""};
        }
        case TypeKind::tkVariant: {
            const Value& v = object.Get(p);
            if (std::holds_alternative<std::monostate>(v)) return {""};
            if (const auto* text = std::get_if<std::string>(&v)) return {*text};
            if (const auto* i = std::get_if<std::int64_t>(&v)) return {std::to_string(*i)};
            if (const auto* f = std::get_if<long double>(&v))
                return {FormatGeneral(*f, 15, decimalSeparator_)};
            InvalidValue();
        }
        case TypeKind::tkUnknown:
        case TypeKind::tkWString:
        case TypeKind::tkArray:
        case TypeKind::tkRecord:
        case TypeKind::tkInterface:
        case TypeKind::tkInt64:
        case TypeKind::tkDynArray:
            break;
    }
    return {};
}

// "Button1", or "Form2.Button1" for a component of another owner than the reference
// base. Component names are identifiers, so "another" ignores letter case.
std::string PropertyLister::ComponentText(const Object& component) const {
    const Object* owner = component.Owner();
    if (owner && referenceBase_ && !EqualsIgnoringCase(owner->Name(), referenceBase_->Name()))
        return owner->Name() + "." + component.Name();
    return component.Name();
}

bool PropertyLister::SetPropFromLines(std::string_view name, const std::vector<std::string>& lines) {
    const Property* p = FindProp(name);
    if (!p || lines.empty()) return false;
    try {
        WriteFromLines(*p, lines);
    } catch (const std::exception& error) {
        ReportError(error);
    } catch (...) {
        ReportError(Exception("Unknown error while setting " + std::string(p->Name())));
    }
    return true;
}

void PropertyLister::ReportError(const std::exception& error) {
    if (onException_) onException_(*this, error);
}

void PropertyLister::WriteFromLines(const Property& p, const std::vector<std::string>& lines) {
    Object& object = *target_;
    const TypeInfo& type = p.Type();
    const std::string& line = lines.front();
    switch (type.Kind) {
        case TypeKind::tkInteger:
            if (line.empty()) return;
            object.Set(p, ParseInteger(line).value_or(0));
            return;
        case TypeKind::tkChar:
        case TypeKind::tkWChar: {
            const auto code = FirstCodePoint(line);
            if (!code) throw EConvertError("A character is needed for " + std::string(p.Name()));
            if (type.Kind == TypeKind::tkChar && *code > 0xFF) InvalidValue();
            if (*code > 0xFFFF) InvalidValue();
            object.Set(p, static_cast<std::int64_t>(*code));
            return;
        }
        case TypeKind::tkEnumeration: {
            // Types with huge ordinal ranges are searched in their first 256 values only.
            const std::size_t count = std::min<std::size_t>(type.EnumNames.size(), 256);
            for (std::size_t ordinal = 0; ordinal < count; ++ordinal) {
                if (EqualsIgnoringCase(type.EnumNames[ordinal], line)) {
                    object.Set(p, static_cast<std::int64_t>(ordinal));
                    return;
                }
            }
            return;
        }
        case TypeKind::tkFloat:
            if (line.empty()) return;
            object.Set(p, Representable(ParseFloat(line, decimalSeparator_), type.Float));
            return;
        case TypeKind::tkString:
        case TypeKind::tkLString:
            if (IsComponentName(object, p)) object.SetName(line);
            object.Set(p, line);
            return;
        case TypeKind::tkSet: {
            std::int64_t bits = 0;
            std::size_t start = 0;
            while (start <= line.size()) {
                const std::size_t stop = line.find_first_of(" ,[]", start);
                const std::string_view word = std::string_view(line).substr(
                    start, stop == std::string::npos ? std::string::npos : stop - start);
                if (const auto ordinal = ElementOrdinal(type.ElementType, word))
                    bits |= std::int64_t{1} << *ordinal;
                if (stop == std::string::npos) break;
                start = stop + 1;
            }
            object.Set(p, bits);
            return;
        }
        case TypeKind::tkClass: {
            Object* current = object.ObjectValue(p);
            if (current && current->GetClass().Has(CfStrings)) {
                current->Lines() = lines;
                return;
            }
            WriteComponent(p, line);
            return;
        }
        case TypeKind::tkVariant:
            object.Set(p, line);
            return;
        default:
            return;
    }
}

// Line 0 names a component: "Form2.Button1" among the application's forms, a plain
// name among the reference base's components. A component of the wrong class, or none
// found, clears the reference.
void PropertyLister::WriteComponent(const Property& p, const std::string& line) {
    Object* found = nullptr;
    const std::size_t dot = line.find('.');
    if (dot != std::string::npos) {
        const std::string ownerName = line.substr(0, dot);
        Object* owner = application_ ? application_->FindOwnedComponent(ownerName) : nullptr;
        if (!owner) throw Exception("Owner " + ownerName + " of " + line + " not found");
        found = owner->FindOwnedComponent(std::string_view(line).substr(dot + 1));
    } else if (referenceBase_) {
        found = referenceBase_->FindOwnedComponent(line);
    }
    const ClassInfo* declared = p.Type().ClassType;
    if (found && declared && !found->InheritsFrom(declared->Name)) found = nullptr;

    // A sub-object that belongs to the target (Font, Picture, Columns) can only take
    // another object's content, never a component or nothing.
    if (p.Info->Holding == PropHolding::Owned) {
        const std::string what = found ? std::string(found->ClassName()) : "nil";
        const std::string into = declared ? std::string(declared->Name) : std::string(p.Type().Name);
        throw Exception("Cannot assign a " + what + " to a " + into);
    }
    target_->Set(p, found);
}

bool PropertyLister::SetStrPropByName(std::string_view name, std::string_view text) {
    const Property* p = FindProp(name);
    if (!p) return false;
    SetString(*target_, *p, text);
    return true;
}

bool PropertyLister::SetMethodPropByName(std::string_view name, const MethodValue& method) {
    const Property* p = FindProp(name);
    if (!p) return false;
    SetMethod(*target_, *p, method);
    return true;
}

}  // namespace fw::rt
