#pragma once
// Classes described at run time: the metadata of classes that come from a loaded module
// (a design package) rather than from the constant tables. They use the same structures
// as the built-in classes; a DynamicClassSet owns everything they point to.

#include <array>
#include <deque>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "metadata.h"

namespace fw::rt {

// The names, types, properties and classes built for one loaded module. Everything the
// set hands out keeps its address for the set's whole life, so worked-out classes and
// live objects may point into it. Each class carries the set's module tag in
// ClassInfo::Module, by which ClassRegistry::UnregisterModule finds the module's classes.
class DynamicClassSet {
public:
    // module is the tag of the set's classes; it should be unique among the sets alive,
    // and must not be empty (an empty tag marks the built-in classes).
    explicit DynamicClassSet(std::string module);
    DynamicClassSet(const DynamicClassSet&) = delete;
    DynamicClassSet& operator=(const DynamicClassSet&) = delete;

    std::string_view Module() const { return module_; }

    // A copy of text that lives as long as the set.
    std::string_view Keep(std::string_view text);
    // A list of names that lives as long as the set, for enumeration value names.
    std::span<const std::string_view> KeepNames(const std::vector<std::string>& names);

    // A new type, empty; the caller fills it in.
    TypeInfo& NewType();
    // A new class tagged with the module, without parent or properties.
    ClassInfo& NewClass();
    // Gives cls (a class of this set) its own published properties, replacing those it
    // had. Returns the rows as stored, which stay writable for the set's owner: a row's
    // holding may still be changed before objects of the class are made.
    std::span<PropInfo> SetProperties(ClassInfo& cls, std::vector<PropInfo> properties);

    std::size_t ClassCount() const { return classes_.size(); }
    std::size_t TypeCount() const { return types_.size(); }

private:
    std::string module_;
    std::deque<std::string> strings_;
    std::deque<std::vector<std::string_view>> nameLists_;
    std::deque<TypeInfo> types_;
    std::deque<ClassInfo> classes_;
    std::deque<std::vector<PropInfo>> properties_;
    std::deque<std::array<std::span<const PropInfo>, 1>> groups_;
};

// The type of that name, ignoring ASCII case, among the types the built-in classes'
// published properties use and the plain types (Integer, string, TColor, TAlign,
// TNotifyEvent, TFont, ...); "UnicodeString" and "AnsiString" find string. nullptr when
// there is none. A module's property whose type lives in another module is typed by
// name through this.
const TypeInfo* FindBuiltinType(std::string_view name);

}  // namespace fw::rt
