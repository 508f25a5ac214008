#pragma once
// The class registry: the classes the runtime can create by name, each with its full
// list of published properties worked out from its ancestry.

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "base/asciitext.h"
#include "base/errors.h"
#include "metadata.h"
#include "rawvalue.h"

namespace fw::rt {

// Class, property and component names compare ignoring the case of ASCII letters; the
// comparison and its hash are base's, named here too for the many callers that say
// rt::EqualsIgnoringCase.
using fw::EqualsIgnoringCase;
using fw::HashIgnoringCase;

// A published property of a class, inherited or its own.
struct Property {
    const PropInfo* Info = nullptr;
    int Slot = 0;                           // index of the value in an object of the class
    const ClassInfo* DeclaredBy = nullptr;  // the class that listed it (last)

    std::string_view Name() const { return Info->Name; }
    const TypeInfo& Type() const { return *Info->Type; }
    TypeKind Kind() const { return Info->Type->Kind; }
};

struct InitialValues;   // object.h
class DynamicClassSet;  // dynamicclasses.h

// A class with its worked-out metadata. Instances live as long as the registry that
// made them; pointers to them stay valid.
class Class {
public:
    explicit Class(const ClassInfo& info, const Class* parent);
    ~Class();
    Class(const Class&) = delete;
    Class& operator=(const Class&) = delete;

    const ClassInfo& Info() const { return info_; }
    std::string_view Name() const { return info_.Name; }
    std::string_view Unit() const { return info_.Unit; }
    const Class* Parent() const { return parent_; }
    // The class's flags with those of all its ancestors.
    std::uint32_t Flags() const { return flags_; }
    bool Has(ClassFlags flag) const { return (flags_ & flag) != 0; }
    // Whether this class or one of its ancestors has the name (ignoring ASCII case).
    bool InheritsFrom(std::string_view className) const;
    // Whether one of its ancestors, not the class itself, has the name.
    bool DescendsFrom(std::string_view className) const;

    // All published properties, sorted by name ignoring case.
    const std::vector<Property>& Properties() const { return sorted_; }
    // The properties in slot order: inherited ones first.
    const std::vector<Property>& Slots() const { return slots_; }
    const Property* FindProperty(std::string_view name) const;
    // The number of properties the class itself lists.
    int OwnPropertyCount() const;
    const Class* ItemClass() const { return itemClass_; }
    void SetItemClass(const Class* itemClass) { itemClass_ = itemClass; }
    // The values a new object of the class starts with, which the registry works out
    // once when it makes the class; objects keep only the values that differ.
    const InitialValues& Initial() const { return *initial_; }
    void SetInitial(std::unique_ptr<const InitialValues> initial);

private:
    const ClassInfo& info_;
    const Class* parent_;
    const Class* itemClass_ = nullptr;
    std::unique_ptr<const InitialValues> initial_;
    std::uint32_t flags_;
    std::vector<Property> slots_;
    std::vector<Property> sorted_;
};

// The runtime's registry. Classes are known (their metadata worked out) as soon as
// anything refers to them; they are registered, and so found by name, only through the
// register calls.
class ClassRegistry {
public:
    ClassRegistry();
    ~ClassRegistry();
    ClassRegistry(const ClassRegistry&) = delete;
    ClassRegistry& operator=(const ClassRegistry&) = delete;

    // The registered class of that name, ignoring ASCII case, or nullptr.
    const Class* FindClassByName(std::string_view name) const;
    // Registers the class and its ancestors up to TPersistent, stopping at the first one
    // already registered. Throws EClassError "A class named %s already exists" when a
    // different class has the name.
    void RegisterClassChain(const ClassInfo& info);
    // Registers the class chain only when no class of that name is registered; returns
    // whether it did.
    bool RegisterIfAbsent(const ClassInfo& info);
    // Unregisters every class that came from the module.
    void UnregisterModule(std::string_view module);
    // Keeps metadata built at run time (the classes of a loaded module) alive as long
    // as the registry: worked-out classes and live objects may refer to it after its
    // module is unregistered and unloaded.
    void Retain(std::shared_ptr<const void> metadata);
    // The registered classes, sorted by name.
    std::vector<const Class*> RegisteredClasses() const;
    // The worked-out class for metadata, registered or not.
    const Class& Of(const ClassInfo& info);
    // The stand-in class for objects of a class the registry does not know: named as
    // written, flagged CfStandIn, descending from TCustomControl when visual (so that
    // controls attach to it and it takes part in layout) and from TComponent otherwise.
    // A visual stand-in given a look (a registered control class whose look it
    // borrows) descends from that class instead, so that layout, drawing and the
    // properties it publishes are the look's. Made once per name, kind and look and
    // kept alive by the registry, but never registered: FindClassByName still fails
    // for the name.
    const Class& StandInClass(std::string_view name, bool visual, const Class* look = nullptr);

    // What picks the look of a visual stand-in as it is read: from its class name, the
    // values its text stores and whether records (children) follow them. Answers a
    // registered control class, or nullptr for none. Without one, stand-ins have none.
    using StandInLookFn = std::function<const Class*(
        std::string_view className, const std::vector<RawProperty>& stored, bool holdsRecords)>;
    void SetStandInLook(StandInLookFn look) { standInLook_ = std::move(look); }
    const StandInLookFn& StandInLook() const { return standInLook_; }

private:
    static std::string Key(std::string_view name);

    std::map<const ClassInfo*, std::unique_ptr<Class>> known_;
    std::map<std::string, const Class*> registered_;  // by upper-cased name
    std::vector<std::shared_ptr<const void>> retained_;
    std::shared_ptr<DynamicClassSet> standIns_;
    std::map<std::string, const Class*> standInClasses_;  // by kind, look and upper-cased name
    StandInLookFn standInLook_;
};

// A registry with every built-in class registered, as at program start.
std::unique_ptr<ClassRegistry> MakeBuiltinRegistry();

class EClassError : public Exception {
public:
    using Exception::Exception;
};

}  // namespace fw::rt
