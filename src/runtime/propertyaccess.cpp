#include "propertyaccess.h"

#include <type_traits>
#include <variant>

#include "builtin.h"
#include "registry.h"

namespace fw::rt {

std::string EnumName(const Object& object, std::string_view property) {
    const Property* p = object.FindProperty(property);
    if (!p || p->Kind() != TypeKind::tkEnumeration) return {};
    const std::int64_t ordinal = object.Ordinal(*p);
    const auto& names = p->Type().EnumNames;
    if (ordinal < 0 || static_cast<std::uint64_t>(ordinal) >= names.size()) return {};
    return std::string(names[static_cast<std::size_t>(ordinal)]);
}

bool SetEnum(Object& object, std::string_view property, std::string_view valueName) {
    const Property* p = object.FindProperty(property);
    if (!p || p->Kind() != TypeKind::tkEnumeration) return false;
    const auto& names = p->Type().EnumNames;
    for (std::size_t i = 0; i < names.size(); ++i)
        if (EqualsIgnoringCase(names[i], valueName)) {
            object.Set(*p, Value(static_cast<std::int64_t>(i)));
            return true;
        }
    return false;
}

bool SetOrdinal(Object& object, std::string_view property, std::int64_t value) {
    const Property* p = object.FindProperty(property);
    if (!p) return false;
    switch (p->Kind()) {
        case TypeKind::tkInteger:
        case TypeKind::tkInt64:
        case TypeKind::tkChar:
        case TypeKind::tkWChar:
        case TypeKind::tkEnumeration:
            object.Set(*p, Value(value));
            return true;
        default:
            return false;
    }
}

bool SetString(Object& object, std::string_view property, std::string_view text) {
    const Property* p = object.FindProperty(property);
    return p && SetString(object, *p, text);
}

bool SetString(Object& object, const Property& p, std::string_view text) {
    switch (p.Kind()) {
        case TypeKind::tkString:
        case TypeKind::tkLString:
        case TypeKind::tkWString:
        case TypeKind::tkVariant:
            if (IsComponentName(object, p)) object.SetName(std::string(text));
            object.Set(p, std::string(text));
            return true;
        default:
            return false;
    }
}

bool SetMethod(Object& object, std::string_view property, const MethodValue& method) {
    const Property* p = object.FindProperty(property);
    return p && SetMethod(object, *p, method);
}

bool SetMethod(Object& object, const Property& p, const MethodValue& method) {
    if (p.Kind() != TypeKind::tkMethod) return false;
    object.Set(p, method);
    return true;
}

bool IsComponentName(const Object& object, const Property& p) {
    return p.DeclaredBy == &cls::TComponent && object.GetClass().Has(CfComponent) &&
           EqualsIgnoringCase(p.Name(), "Name");
}

bool ResetProperty(Object& object, std::string_view property) {
    const Property* p = object.FindProperty(property);
    if (!p) return false;
    const auto& initial = object.GetClass().Initial().Values;
    if (p->Slot < 0 || static_cast<std::size_t>(p->Slot) >= initial.size()) return false;
    // An owned sub-object has no initial value to copy; each object makes its own.
    const Value& value = initial[static_cast<std::size_t>(p->Slot)];
    if (std::holds_alternative<ObjectPtr>(value)) return false;
    object.Set(*p, std::visit(
                       [](const auto& held) -> Value {
                           if constexpr (std::is_same_v<std::decay_t<decltype(held)>, ObjectPtr>)
                               return Value();
                           else
                               return Value(held);
                       },
                       value));
    return true;
}

}  // namespace fw::rt
