#pragma once
// The values classes write into a form themselves, beside their published properties:
// a form's PixelsPerInch and TextHeight, a control's ExplicitLeft and DesignSize, the
// designer position of a non-visual component, the lines of a string list, a picture's
// data, an image list's bitmap, a grid's column widths, and the like. The reader looks
// a name up here when the class publishes no property of that name, and reads the
// value into the object instead of reporting an unknown property.

#include <cstdint>
#include <span>
#include <string_view>

#include "registry.h"

namespace fw::rt {

// What a stored value looks like in the stream, and where the reader puts it.
enum class StoredShape : std::uint8_t {
    Integer,      // an integer                                  -> Object::Stored()
    Boolean,      // False or True                               -> Stored(), 0 or 1
    String,       // a string                                    -> Stored(), UTF-8
    Scalar,       // any one integer, float, string, identifier  -> Stored()
    IntegerList,  // ( n n ... )                                 -> StoredBlocks().Integers
    StringList,   // ( 's' 's' ... )                             -> StoredBlocks().Strings
    Lines,        // ( 's' 's' ... ): the object is a string list -> Object::Lines()
    Binary,       // { ... }                                     -> StoredBlocks().Bytes
    Picture,      // { ... }: graphic class name, then its data  -> Object::Graphic()
    Graphic,      // { ... }: the data of the object's own graphic class -> Graphic()
    Collection,   // < ... >: items of the owned collection property Target
};

struct StoredValueRule {
    std::string_view ClassName;  // the class, or an ancestor of the classes, that writes it
    std::string_view Name;       // as the form writes it; compared ignoring ASCII case
    StoredShape Shape;
    std::string_view Target = {};  // Collection: the published property holding the items
    int Count = 0;                 // IntegerList: the exact number of integers, 0 for any
};

// The rule for a value named name on an object of class cls, or nullptr.
const StoredValueRule* FindStoredValue(const Class& cls, std::string_view name);

// Every rule, for tests and listings.
std::span<const StoredValueRule> StoredValueRules();

}  // namespace fw::rt
