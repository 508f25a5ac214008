#pragma once
// Values as the form stream holds them, kept without a published property to give them
// a type: what an object of a class the runtime does not know (a stand-in) stores, so
// that nothing its text says is lost and the preview and the inspector can still use
// it. The shapes follow the stream's value kinds one to one.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fw::rt {

struct RawItem;

struct RawValue {
    enum class Kind : std::uint8_t {
        Null,        // nil
        Integer,     // any integer width; Integer
        Float,       // extended, single, currency (already divided by 10000), date; Float
        String,      // any string kind, as UTF-8; Text
        Identifier,  // an identifier, False and True included; Text as written
        Set,         // [a, b]; Names
        List,        // ( v v ... ); List
        Binary,      // { ... }; Bytes
        Collection,  // < item ... end >; Items
    };
    Kind Type = Kind::Null;
    std::int64_t Integer = 0;
    long double Float = 0;
    // Which float form the stream used, so that the value can be written back the same:
    // 'e' extended, 's' single, 'c' currency, 'd' date; 0 for the other kinds.
    char FloatForm = 0;
    std::string Text;
    std::vector<std::string> Names;
    std::vector<RawValue> List;
    std::vector<std::uint8_t> Bytes;
    std::vector<RawItem> Items;

    // Defined where RawItem is complete: the members hold vectors of items that hold
    // values in turn.
    RawValue();
    ~RawValue();
    RawValue(const RawValue&);
    RawValue(RawValue&&) noexcept;
    RawValue& operator=(const RawValue&);
    RawValue& operator=(RawValue&&) noexcept;

    bool IsNumber() const { return Type == Kind::Integer || Type == Kind::Float; }
    bool IsText() const { return Type == Kind::String || Type == Kind::Identifier; }
};

// A property entry as written: its (possibly dotted) path and its value.
using RawProperty = std::pair<std::string, RawValue>;

// One item of a collection, with the properties it stores, in stream order.
struct RawItem {
    bool HasIndex = false;  // written with an order index ("item [3]")
    std::int64_t Index = 0;
    std::vector<RawProperty> Properties;
};

// The entry of that path, ignoring ASCII case, in a list of raw properties; nullptr when
// there is none.
const RawValue* FindRaw(const std::vector<RawProperty>& properties, std::string_view path);

}  // namespace fw::rt
