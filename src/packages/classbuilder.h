#pragma once
// The metadata of a package's classes, built from its module image without running
// anything: each class's parent from the class record's parent link, its declaring unit
// and its published properties from the class's type information.
//
// Where the fields are, for a class reference C found by the class scan at record
// distance d (the self pointer lies at C - d):
// - the type information pointer at C - d + 16 and the parent link at C - d + 40, the
//   pointer just after the instance size;
// - the parent link points at a cell holding the parent's class reference (the parent
//   record's self pointer, or a slot of the import address table naming a class of
//   another module); the oldest compilers point at the parent's class reference itself;
// - the type information of a class: kind (1 byte, 7 for a class), name (a length byte
//   and the characters), then the class reference, the parent's type information, the
//   property count (2 bytes), the unit name, and the class's own published property
//   records: their count (2 bytes), then for each the property type (a pointer to a cell
//   holding the type information), getter, setter, stored, index and default (4 bytes
//   each), name index (2 bytes) and name. Later compilers append more after the records;
//   it is not read.
//
// Every read is checked against the module image. Damage ends what it touches: a class
// whose parent cannot be resolved is not built, a property record that cannot be read
// ends the class's property list, a type that cannot be read leaves its property typed
// by the inherited property of the same name, or unknown.

#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "packages/moduletables.h"
#include "peimage/classscan.h"
#include "runtime/dynamicclasses.h"
#include "runtime/metadata.h"

namespace fw::pe {
class ModuleImage;
}

namespace fw::pkg {

class PackageClassBuilder {
public:
    // What the builder asks about the world outside its module.
    struct Lookups {
        // The registered class of that name, or nullptr.
        std::function<const rt::ClassInfo*(std::string_view name)> ClassByName;
        // A type built from another loaded module, by name, or nullptr.
        std::function<const rt::TypeInfo*(std::string_view name)> TypeByName;
    };

    // Classes of one module whose parents are in the same module form chains at most
    // this long; a longer chain (or a loop of parent links) is damage.
    static constexpr int MaxAncestry = 64;
    // How deep a type may refer to other types (a set to its elements, an enumeration
    // to its base type).
    static constexpr int MaxTypeDepth = 4;
    // How deep sub-objects created with their owner may nest through this module's
    // classes; a class-typed property that would nest deeper, or that would create an
    // object of a class that is being created already, is taken as a reference.
    static constexpr int MaxOwnedNesting = 16;
    // How many classes, property rows, types and enumeration names one module may give.
    // Real packages stay far below; a crafted one that makes many classes share long
    // lists of records would otherwise claim memory without end. Past it, properties
    // are left out and types left unknown.
    static constexpr std::size_t MaxMetadataItems = std::size_t{4} << 20;

    // The image and set must outlive the builder. classes are the class scan's results
    // for the image.
    PackageClassBuilder(const pe::ModuleImage& image, const std::vector<pe::ClassReference>& classes,
                        ImportSlots imports, rt::DynamicClassSet& set, Lookups lookups);

    // The class whose class reference is at address, built with its ancestors in this
    // module and the classes its properties refer to; the same class on every call.
    // nullptr when the scan found no class there or its ancestry cannot be resolved: a
    // parent link that leads nowhere, to an imported name no registered class has, or
    // round in a loop.
    const rt::ClassInfo* ClassAt(std::uint64_t address);

    // A type built from this module's own type information, by name ignoring ASCII
    // case; nullptr when there is none.
    const rt::TypeInfo* TypeByName(std::string_view name) const;

private:
    struct ParentLink;

    const rt::ClassInfo* Ancestry(std::uint64_t address);
    ParentLink ReadParentLink(const pe::ClassReference& ref) const;
    void ReadProperties(rt::ClassInfo& info);
    const rt::TypeInfo* PropertyType(std::uint64_t cell, std::uint32_t distance, int depth);
    const rt::TypeInfo* TypeAt(std::uint64_t address, int depth);
    const rt::TypeInfo* ImportedType(const std::string& symbol);
    const rt::TypeInfo& UnknownType();
    void GuardOwnedNesting();
    std::vector<rt::PropInfo*> OwnedRowsOf(const rt::ClassInfo* cls);
    // Takes items from the budget; false, taking nothing, when it has not that many.
    bool Spend(std::size_t items);

    const pe::ModuleImage& image_;
    std::unordered_map<std::uint64_t, pe::ClassReference> refs_;
    ImportSlots imports_;
    rt::DynamicClassSet& set_;
    Lookups lookups_;

    std::unordered_map<std::uint64_t, rt::ClassInfo*> classes_;  // nullptr: cannot be built
    std::unordered_map<const rt::ClassInfo*, std::uint64_t> addressOf_;
    std::unordered_map<const rt::ClassInfo*, std::span<rt::PropInfo>> ownRows_;
    std::unordered_map<const rt::ClassInfo*, int> nesting_;
    std::vector<rt::ClassInfo*> pending_;  // built, properties not read yet
    std::vector<rt::ClassInfo*> batch_;    // built by the current ClassAt call
    std::unordered_map<std::uint64_t, const rt::TypeInfo*> typesAt_;
    std::unordered_map<std::string, const rt::TypeInfo*> importedTypes_;
    std::map<std::string, const rt::TypeInfo*> typesByName_;  // upper-cased names
    const rt::TypeInfo* unknownType_ = nullptr;
    std::size_t budget_ = MaxMetadataItems;
};

}  // namespace fw::pkg
