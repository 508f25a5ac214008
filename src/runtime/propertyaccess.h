#pragma once
// Typed reads and writes of a live object's published properties by name, for code that
// changes objects it has built (the preview's window settings, placement and hooks)
// rather than reading form text. Property names ignore ASCII case.

#include <cstdint>
#include <string>
#include <string_view>

#include "object.h"

namespace fw::rt {

// The name of an enumeration property's value ("bsDialog"); empty when the object has no
// such enumeration property or the value is outside its names.
std::string EnumName(const Object& object, std::string_view property);

// Sets an enumeration property to the value of that name (ignoring ASCII case). False,
// and nothing changed, when there is no such enumeration property or value.
bool SetEnum(Object& object, std::string_view property, std::string_view valueName);

// Sets an ordinal property (integer, Int64, character or enumeration, Boolean among
// them) to the number. False, and nothing changed, for a property of another kind or none.
bool SetOrdinal(Object& object, std::string_view property, std::int64_t value);

// Sets a property of a string kind; a component's Name property renames the component.
// False, and nothing changed, for a property of another kind or none.
bool SetString(Object& object, std::string_view property, std::string_view text);
bool SetString(Object& object, const Property& property, std::string_view text);

// Sets an event to the method value. False, and nothing changed, for a property that
// is no event or none.
bool SetMethod(Object& object, std::string_view property, const MethodValue& method);
bool SetMethod(Object& object, const Property& property, const MethodValue& method);

// Whether the property is a component's Name, which the object keeps itself; the
// published property of that name is its face in property lists.
bool IsComponentName(const Object& object, const Property& property);

// Gives the property back the initial value of the object's class (a reference becomes
// nil). False when there is no such property.
bool ResetProperty(Object& object, std::string_view property);

}  // namespace fw::rt
