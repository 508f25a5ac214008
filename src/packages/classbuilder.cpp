#include "packages/classbuilder.h"
#include "base/asciitext.h"
#include "runtime/registry.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <unordered_set>

#include "base/byteview.h"
#include "peimage/moduleimage.h"

namespace fw::pkg {

namespace {

using rt::ClassInfo;
using rt::PropHolding;
using rt::PropInfo;
using rt::TypeInfo;
using rt::TypeKind;

// Offsets from a record's self pointer.
constexpr std::uint64_t TypeInfoField = pe::ClassRecordField(4);
constexpr std::uint64_t ParentField = pe::ClassRecordField(pe::ParentField);

// The kind byte of a class's type information.
constexpr std::uint8_t ClassKind = 7;
// Later compilers number their Unicode string kind after the 18 kinds the runtime knows.
constexpr std::uint8_t UnicodeStringKind = 18;
// An ordinal property's default field holds this when the property has no default.
constexpr std::int32_t NoDefault = INT32_MIN;
// Enumerations with type information have at most 256 values; more is damage.
constexpr std::int32_t MaxEnumValues = 256;

// Bounds-checked reads of the module image; a read outside it throws EOutsideImage.
class ImageReader {
public:
    explicit ImageReader(const pe::ModuleImage& image) : image_(image) {}

    std::uint8_t U8(std::uint64_t address) const { return Bytes(address, 1)[0]; }
    std::uint16_t U16(std::uint64_t address) const { return LoadLe16(Bytes(address, 2).data()); }
    std::uint32_t U32(std::uint64_t address) const { return LoadLe32(Bytes(address, 4).data()); }
    std::int32_t I32(std::uint64_t address) const { return static_cast<std::int32_t>(U32(address)); }
    // A length byte and that many characters.
    std::string ShortString(std::uint64_t address) const {
        const std::uint8_t length = U8(address);
        const fw::ByteSpan b = Bytes(address + 1, length);
        return std::string(reinterpret_cast<const char*>(b.data()), b.size());
    }

private:
    fw::ByteSpan Bytes(std::uint64_t address, std::uint64_t length) const {
        const std::optional<fw::ByteSpan> bytes = image_.Bytes(address, length);
        if (!bytes) throw EOutsideImage("Reference outside the module image");
        return *bytes;
    }

    const pe::ModuleImage& image_;
};

using rt::EqualsIgnoringCase;

// Names in type information are identifiers, in UTF-8 for the later compilers: no
// control characters, no blanks, not empty.
bool IsPlausibleName(std::string_view name) {
    return !name.empty() && std::none_of(name.begin(), name.end(), [](char c) {
        return static_cast<unsigned char>(c) <= ' ' || c == 0x7F;
    });
}

// Whether cls or an ancestor has the name. Parent chains of built classes are finite;
// the bound only guards against metadata that is not.
bool InheritsFrom(const ClassInfo* cls, std::string_view name) {
    for (int steps = 0; cls && steps < 1024; cls = cls->Parent, ++steps)
        if (EqualsIgnoringCase(cls->Name, name)) return true;
    return false;
}

bool IsOrdinal(TypeKind kind) {
    return kind == TypeKind::tkInteger || kind == TypeKind::tkChar || kind == TypeKind::tkEnumeration ||
           kind == TypeKind::tkSet || kind == TypeKind::tkWChar;
}

// Components are written by name and found after the form is read; other persistent
// objects (fonts, string lists, collections, a component's option objects) are written
// inside their owner and live with it.
PropHolding HoldingOf(const TypeInfo& type) {
    if (type.Kind != TypeKind::tkClass) return PropHolding::Value;
    if (!type.ClassType || InheritsFrom(type.ClassType, "TComponent")) return PropHolding::Reference;
    return InheritsFrom(type.ClassType, "TPersistent") ? PropHolding::Owned : PropHolding::Reference;
}

// The type of the property named name that cls or an ancestor publishes, or nullptr.
const TypeInfo* InheritedType(const ClassInfo* cls, std::string_view name) {
    for (int steps = 0; cls && steps < 1024; cls = cls->Parent, ++steps)
        for (const auto& group : cls->Published)
            for (const PropInfo& row : group)
                if (row.Type && EqualsIgnoringCase(row.Name, name)) return row.Type;
    return nullptr;
}

}  // namespace

struct PackageClassBuilder::ParentLink {
    enum class Kind { Root, InModule, Imported, Broken };
    Kind Which = Kind::Broken;
    std::uint64_t Address = 0;  // InModule: the parent's class reference
    std::string Name;           // Imported: the class name
};

PackageClassBuilder::PackageClassBuilder(const pe::ModuleImage& image,
                                         const std::vector<pe::ClassReference>& classes, ImportSlots imports,
                                         rt::DynamicClassSet& set, Lookups lookups)
    : image_(image), imports_(std::move(imports)), set_(set), lookups_(std::move(lookups)) {
    for (const pe::ClassReference& ref : classes)
        refs_.emplace(ref.Address, ref);
}

const ClassInfo* PackageClassBuilder::ClassAt(std::uint64_t address) {
    try {
        const ClassInfo* info = Ancestry(address);
        // Reading properties may build more classes (those of class-typed properties),
        // which join the end of the list.
        for (std::size_t i = 0; i < pending_.size(); ++i)
            ReadProperties(*pending_[i]);
        pending_.clear();
        GuardOwnedNesting();
        batch_.clear();
        return info;
    } catch (...) {
        // Whatever was built stays, but without sub-objects that were not checked.
        for (ClassInfo* cls : batch_) {
            auto rows = ownRows_.find(cls);
            if (rows == ownRows_.end()) continue;
            for (PropInfo& row : rows->second)
                if (row.Holding == PropHolding::Owned) row.Holding = PropHolding::Reference;
        }
        pending_.clear();
        batch_.clear();
        throw;
    }
}

const TypeInfo* PackageClassBuilder::TypeByName(std::string_view name) const {
    auto it = typesByName_.find(AsciiUpper(name));
    return it == typesByName_.end() ? nullptr : it->second;
}

const ClassInfo* PackageClassBuilder::Ancestry(std::uint64_t address) {
    // Walk up the parent links to a class already known, then build downwards.
    std::vector<const pe::ClassReference*> chain;
    const ClassInfo* parent = nullptr;
    bool resolved = true;
    bool missingImport = false;
    for (std::uint64_t current = address;;) {
        if (auto known = classes_.find(current); known != classes_.end()) {
            parent = known->second;
            resolved = parent != nullptr;
            break;
        }
        auto ref = refs_.find(current);
        const bool loops = std::any_of(chain.begin(), chain.end(),
                                       [&](const pe::ClassReference* r) { return r->Address == current; });
        if (ref == refs_.end() || loops || chain.size() >= static_cast<std::size_t>(MaxAncestry)) {
            resolved = false;
            break;
        }
        chain.push_back(&ref->second);
        const ParentLink link = ReadParentLink(ref->second);
        if (link.Which == ParentLink::Kind::InModule) {
            current = link.Address;
            continue;
        }
        if (link.Which == ParentLink::Kind::Imported) {
            parent = lookups_.ClassByName ? lookups_.ClassByName(link.Name) : nullptr;
            resolved = parent != nullptr;
            missingImport = !resolved;
        } else {
            resolved = link.Which == ParentLink::Kind::Root;
        }
        break;
    }
    if (!resolved || !Spend(chain.size())) {
        // A class of another package may be registered later: such chains are tried
        // again on the next request.
        if (!missingImport)
            for (const pe::ClassReference* ref : chain)
                classes_[ref->Address] = nullptr;
        return nullptr;
    }
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        ClassInfo& info = set_.NewClass();
        info.Name = set_.Keep((*it)->Name);
        info.Parent = parent;
        classes_[(*it)->Address] = &info;
        addressOf_[&info] = (*it)->Address;
        pending_.push_back(&info);
        batch_.push_back(&info);
        parent = &info;
    }
    return parent;
}

PackageClassBuilder::ParentLink PackageClassBuilder::ReadParentLink(const pe::ClassReference& ref) const {
    ParentLink link;
    const std::optional<std::uint32_t> target = image_.U32(ref.Address - ref.RecordDistance + ParentField);
    if (!target) return link;
    if (*target == 0) {
        link.Which = ParentLink::Kind::Root;
        return link;
    }
    if (auto import = imports_.find(*target); import != imports_.end()) {
        if (std::optional<std::string> name = TypeNameOfImport(import->second)) {
            link.Which = ParentLink::Kind::Imported;
            link.Name = std::move(*name);
        }
        return link;
    }
    // A cell holding the parent's class reference, or the class reference itself.
    if (const std::optional<std::uint32_t> cell = image_.U32(*target); cell && refs_.count(*cell)) {
        link.Which = ParentLink::Kind::InModule;
        link.Address = *cell;
    } else if (refs_.count(*target)) {
        link.Which = ParentLink::Kind::InModule;
        link.Address = *target;
    }
    return link;
}

void PackageClassBuilder::ReadProperties(ClassInfo& info) {
    const std::uint64_t address = addressOf_.at(&info);
    const pe::ClassReference& ref = refs_.at(address);
    const ImageReader read(image_);
    std::vector<PropInfo> rows;
    try {
        const std::uint32_t typeInfo = read.U32(address - ref.RecordDistance + TypeInfoField);
        if (typeInfo == 0 || read.U8(typeInfo) != ClassKind) return;
        const std::string typeName = read.ShortString(typeInfo + 1);
        const std::uint64_t data = typeInfo + 2 + typeName.size();
        // Type information that describes another class is not this class's.
        if (read.U32(data) != address) return;
        const std::string unit = read.ShortString(data + 10);
        info.Unit = set_.Keep(unit);
        std::uint64_t at = data + 11 + unit.size();
        const std::uint16_t count = read.U16(at);
        at += 2;
        for (std::uint16_t i = 0; i < count; ++i) {
            const std::uint32_t typeCell = read.U32(at);
            const std::int32_t defaultValue = read.I32(at + 20);
            const std::string name = read.ShortString(at + 26);
            at += 27 + name.size();
            if (!IsPlausibleName(name)) continue;
            if (!Spend(1)) break;
            const TypeInfo* type = PropertyType(typeCell, ref.RecordDistance, 0);
            if (!type || type->Kind == TypeKind::tkUnknown) {
                if (const TypeInfo* inherited = InheritedType(info.Parent, name)) type = inherited;
            }
            if (!type) type = &UnknownType();
            PropInfo row{set_.Keep(name), type, rt::dv::None(), HoldingOf(*type)};
            if (IsOrdinal(type->Kind) && defaultValue != NoDefault) row.Default = rt::dv::Int(defaultValue);
            rows.push_back(row);
        }
    } catch (const EOutsideImage&) {
        // The records read before the damage stay.
    }
    if (!rows.empty()) ownRows_[&info] = set_.SetProperties(info, std::move(rows));
}

const TypeInfo* PackageClassBuilder::PropertyType(std::uint64_t cell, std::uint32_t distance, int depth) {
    if (cell == 0) return nullptr;
    if (auto import = imports_.find(cell); import != imports_.end()) return ImportedType(import->second);
    if (const std::optional<std::uint32_t> target = image_.U32(cell); target && *target != 0)
        if (const TypeInfo* type = TypeAt(*target, depth)) return type;
    // The oldest compilers point at the type information itself.
    if (distance == pe::ClassRecordDistances[0]) return TypeAt(cell, depth);
    return nullptr;
}

const TypeInfo* PackageClassBuilder::TypeAt(std::uint64_t address, int depth) {
    if (depth > MaxTypeDepth) return nullptr;
    if (auto known = typesAt_.find(address); known != typesAt_.end()) return known->second;
    const ImageReader read(image_);
    TypeInfo result;
    std::vector<std::string> enumNames;
    std::string name;
    try {
        const std::uint8_t kind = read.U8(address);
        name = read.ShortString(address + 1);
        if (!IsPlausibleName(name)) {
            typesAt_[address] = nullptr;
            return nullptr;
        }
        const std::uint64_t data = address + 2 + name.size();
        switch (kind) {
            case static_cast<std::uint8_t>(TypeKind::tkEnumeration): {
                result.Kind = TypeKind::tkEnumeration;
                const std::int32_t low = read.I32(data + 1);
                const std::int32_t high = read.I32(data + 5);
                const std::uint32_t baseCell = read.U32(data + 9);
                const std::optional<std::uint32_t> base = image_.U32(baseCell);
                if ((base && *base == address) || baseCell == address) {
                    // Its own names, from the lowest value to the highest.
                    if (low < 0 || high < low || high >= MaxEnumValues) break;
                    enumNames.assign(static_cast<std::size_t>(low), std::string());
                    std::uint64_t at = data + 13;
                    for (std::int32_t v = low; v <= high; ++v) {
                        enumNames.push_back(read.ShortString(at));
                        at += 1 + enumNames.back().size();
                    }
                } else if (const TypeInfo* baseType = PropertyType(baseCell, 0, depth + 1)) {
                    // A subrange takes the values and names of its base type.
                    result.EnumNames = baseType->EnumNames;
                }
                break;
            }
            case static_cast<std::uint8_t>(TypeKind::tkSet):
                result.Kind = TypeKind::tkSet;
                result.ElementType = PropertyType(read.U32(data + 1), 0, depth + 1);
                break;
            case static_cast<std::uint8_t>(TypeKind::tkFloat): {
                result.Kind = TypeKind::tkFloat;
                const std::uint8_t floatType = read.U8(data);
                result.Float = floatType <= static_cast<std::uint8_t>(rt::FloatType::Currency)
                                   ? static_cast<rt::FloatType>(floatType)
                                   : rt::FloatType::Double;
                break;
            }
            case ClassKind: {
                result.Kind = TypeKind::tkClass;
                const std::uint32_t classRef = read.U32(data);
                if (refs_.count(classRef))
                    result.ClassType = Ancestry(classRef);
                else if (lookups_.ClassByName)
                    result.ClassType = lookups_.ClassByName(name);
                break;
            }
            case UnicodeStringKind:
                result.Kind = TypeKind::tkLString;
                break;
            default:
                result.Kind = kind < rt::TypeKindCount ? static_cast<TypeKind>(kind) : TypeKind::tkUnknown;
                break;
        }
    } catch (const EOutsideImage&) {
        typesAt_[address] = nullptr;
        return nullptr;
    }
    if (!Spend(1 + enumNames.size())) return nullptr;
    TypeInfo& type = set_.NewType();
    type = result;
    type.Name = set_.Keep(name);
    if (!enumNames.empty()) type.EnumNames = set_.KeepNames(enumNames);
    typesAt_[address] = &type;
    typesByName_.emplace(AsciiUpper(name), &type);
    return &type;
}

const TypeInfo* PackageClassBuilder::ImportedType(const std::string& symbol) {
    if (auto known = importedTypes_.find(symbol); known != importedTypes_.end()) return known->second;
    const TypeInfo* type = nullptr;
    if (const std::optional<std::string> name = TypeNameOfImport(symbol)) {
        type = rt::FindBuiltinType(*name);
        if (!type && lookups_.TypeByName) type = lookups_.TypeByName(*name);
        if (!type && Spend(1)) {
            // A class of another module, or a type only its name is known of.
            TypeInfo& made = set_.NewType();
            made.Name = set_.Keep(*name);
            if (const ClassInfo* cls = lookups_.ClassByName ? lookups_.ClassByName(*name) : nullptr) {
                made.Kind = TypeKind::tkClass;
                made.ClassType = cls;
            }
            type = &made;
        }
    }
    importedTypes_.emplace(symbol, type);
    return type;
}

const TypeInfo& PackageClassBuilder::UnknownType() {
    if (!unknownType_) unknownType_ = &set_.NewType();
    return *unknownType_;
}

bool PackageClassBuilder::Spend(std::size_t items) {
    if (items > budget_) return false;
    budget_ -= items;
    return true;
}

std::vector<PropInfo*> PackageClassBuilder::OwnedRowsOf(const ClassInfo* cls) {
    // An object of the class creates the sub-objects of its own rows and of those of
    // its ancestors; only this module's classes can lead back to it.
    std::vector<PropInfo*> rows;
    for (int steps = 0; cls && addressOf_.count(cls) && steps <= MaxAncestry; cls = cls->Parent, ++steps) {
        auto own = ownRows_.find(cls);
        if (own == ownRows_.end()) continue;
        for (PropInfo& row : own->second)
            if (row.Holding == PropHolding::Owned && row.Type->ClassType &&
                addressOf_.count(row.Type->ClassType))
                rows.push_back(&row);
    }
    return rows;
}

void PackageClassBuilder::GuardOwnedNesting() {
    struct Frame {
        const ClassInfo* Class;
        std::vector<PropInfo*> Rows;
        std::size_t Next = 0;
        int Depth = 0;
    };
    std::unordered_set<const ClassInfo*> onStack;
    std::vector<Frame> stack;
    const auto enter = [&](const ClassInfo* cls) {
        stack.push_back(Frame{cls, OwnedRowsOf(cls)});
        onStack.insert(cls);
    };
    for (const ClassInfo* start : batch_) {
        if (nesting_.count(start)) continue;
        enter(start);
        while (!stack.empty()) {
            const std::size_t top = stack.size() - 1;
            if (stack[top].Next == stack[top].Rows.size()) {
                nesting_[stack[top].Class] = stack[top].Depth;
                onStack.erase(stack[top].Class);
                stack.pop_back();
                continue;
            }
            PropInfo& row = *stack[top].Rows[stack[top].Next];
            const ClassInfo* sub = row.Type->ClassType;
            if (row.Holding != PropHolding::Owned) {
                ++stack[top].Next;
            } else if (onStack.count(sub)) {
                row.Holding = PropHolding::Reference;  // it would create itself without end
                ++stack[top].Next;
            } else if (auto done = nesting_.find(sub); done == nesting_.end()) {
                enter(sub);  // the row is looked at again once sub is done
            } else {
                if (done->second + 1 > MaxOwnedNesting)
                    row.Holding = PropHolding::Reference;
                else
                    stack[top].Depth = std::max(stack[top].Depth, done->second + 1);
                ++stack[top].Next;
            }
        }
    }
}

}  // namespace fw::pkg
