#pragma once
// The metadata of component classes: types, published properties and classes, kept as
// data. Built-in classes are described by constant tables, one .cpp file per family of
// components (standard controls, common controls, data access, ...); classes found in
// design packages are described by the same structures, built at run time.

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>

namespace fw::rt {

struct ClassInfo;

// The kinds of published property types, numbered as the inspector shows them.
enum class TypeKind : std::uint8_t {
    tkUnknown,
    tkInteger,
    tkChar,
    tkEnumeration,
    tkFloat,
    tkString,
    tkSet,
    tkClass,
    tkMethod,
    tkWChar,
    tkLString,
    tkWString,
    tkVariant,
    tkArray,
    tkRecord,
    tkInterface,
    tkInt64,
    tkDynArray,
};
inline constexpr int TypeKindCount = 18;

enum class FloatType : std::uint8_t { Single, Double, Extended, Comp, Currency };

// An integer value with a name of its own, as clBtnFace for TColor or crHandPoint for
// TCursor; form text writes such values by name.
struct IdentEntry {
    std::int64_t Value;
    std::string_view Name;
};

// A named type of published properties.
struct TypeInfo {
    std::string_view Name;  // "Integer", "TColor", "TAlign", "TFont", "TNotifyEvent"
    TypeKind Kind = TypeKind::tkUnknown;
    // tkEnumeration: the value names, ordinal = index (Boolean is False, True).
    std::span<const std::string_view> EnumNames = {};
    // tkSet: the enumeration its elements are taken from.
    const TypeInfo* ElementType = nullptr;
    // tkFloat: the float representation.
    FloatType Float = FloatType::Double;
    // tkClass: the declared class of the property's value.
    const ClassInfo* ClassType = nullptr;
    // tkInteger: named values (TColor, TCursor, TModalResult, ...).
    std::span<const IdentEntry> Idents = {};
};

// A property's initial value, the one the component's constructor sets; form files
// leave out values equal to it.
struct DefaultValue {
    enum class Kind : std::uint8_t { None, Ordinal, Float, Text };
    Kind Which = Kind::None;
    std::int64_t Ordinal = 0;  // integers, enumerations, booleans, chars, sets (bit mask)
    double Float = 0;
    std::string_view Text = {};
};
namespace dv {
constexpr DefaultValue None() {
    return {};
}
constexpr DefaultValue Int(std::int64_t v) {
    return {DefaultValue::Kind::Ordinal, v, 0, {}};
}
constexpr DefaultValue Bool(bool v) {
    return {DefaultValue::Kind::Ordinal, v ? 1 : 0, 0, {}};
}
// A set from the ordinals of its elements.
constexpr DefaultValue Set(std::initializer_list<int> ordinals) {
    std::int64_t mask = 0;
    for (int o : ordinals)
        mask |= std::int64_t{1} << o;
    return {DefaultValue::Kind::Ordinal, mask, 0, {}};
}
constexpr DefaultValue Real(double v) {
    return {DefaultValue::Kind::Float, 0, v, {}};
}
constexpr DefaultValue Str(std::string_view v) {
    return {DefaultValue::Kind::Text, 0, 0, v};
}
}  // namespace dv

// How a class-typed property holds its object.
enum class PropHolding : std::uint8_t {
    Value,      // not class-typed: the value itself
    Owned,      // a sub-object created with its owner (Font, Items, Columns, Picture)
    Reference,  // a component named in the form, found after the whole form is read
};

// A published property as a class declares it.
struct PropInfo {
    std::string_view Name;
    const TypeInfo* Type = nullptr;
    DefaultValue Default = {};
    PropHolding Holding = PropHolding::Value;
};

// What an object of a class is, for the reader and the preview. Descendants inherit
// the flags of their ancestors.
enum ClassFlags : std::uint32_t {
    CfPersistent = 1u << 0,
    CfComponent = 1u << 1,
    CfControl = 1u << 2,
    CfWinControl = 1u << 3,  // can parent other controls
    CfForm = 1u << 4,
    CfCollection = 1u << 5,
    CfCollectionItem = 1u << 6,
    CfStrings = 1u << 7,   // a string list: its lines are written as Strings
    CfGraphic = 1u << 8,   // a picture: its data is written as Data
    CfAbstract = 1u << 9,  // registered for its name and ancestry, never created
    // A stand-in for a class the runtime does not know: it keeps the written class name,
    // stores what its class does not publish as raw values, and is drawn by the look the
    // look-alike rules give its name and values.
    CfStandIn = 1u << 10,
};

// A class: its place in the hierarchy and the properties it publishes itself. Its
// parent's published properties stay published and are not repeated; a class may list
// one of them again, with the same type, to give it another initial value.
struct ClassInfo {
    std::string_view Name;
    const ClassInfo* Parent = nullptr;  // nullptr only for TObject
    std::string_view Unit;
    // The class's own published properties, in groups so that families can share
    // lists (the common control properties, the common events, ...).
    std::span<const std::span<const PropInfo>> Published = {};
    std::uint32_t Flags = 0;
    // For collections: the class of their items.
    const ClassInfo* ItemClass = nullptr;
    // The loaded module the class comes from; empty for the built-in classes.
    std::string_view Module = {};
};

}  // namespace fw::rt
