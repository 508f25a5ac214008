#include "packages/packageloader.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "base/asciitext.h"
#include "packages/classbuilder.h"
#include "packages/moduletables.h"
#include "peimage/pefile.h"
#include "runtime/dynamicclasses.h"
#include "runtime/registry.h"

namespace fw::pkg {

struct PackageLoader::Module {
    ModuleHandle Handle = 0;
    std::string Path;
    std::string Name;  // the file name without extension, for messages
    std::uint32_t Flags = 0;
    std::vector<std::string> Units;     // the contained units that are not weak
    std::vector<std::string> Requires;  // the required packages' names, without extension
    std::unique_ptr<pe::PeFile> Image;
    std::shared_ptr<rt::DynamicClassSet> Classes;
    std::unique_ptr<PackageClassBuilder> Builder;
};

namespace {

std::string ModuleName(const std::string& path) {
    return std::filesystem::path(path).stem().string();
}

// A required package's name as the package information gives it ("vcl40", or
// "vcl140.bpl" from later compilers), without the extension, to compare with the file
// names of loaded packages.
std::string RequiredName(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return std::string(dot == std::string_view::npos ? name : name.substr(0, dot));
}

bool SameFile(const std::string& a, const std::string& b) {
    if (a == b) return true;
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

}  // namespace

PackageLoader::PackageLoader(rt::ClassRegistry& registry) : registry_(registry) {}

PackageLoader::~PackageLoader() = default;

PackageLoader::Module* PackageLoader::Find(ModuleHandle handle) const {
    for (const auto& module : modules_)
        if (module->Handle == handle) return module.get();
    return nullptr;
}

ModuleHandle PackageLoader::FindLoaded(const std::string& path) const {
    for (const auto& module : modules_)
        if (SameFile(module->Path, path)) return module->Handle;
    return 0;
}

ModuleHandle PackageLoader::Load(const std::string& path) {
    if (const ModuleHandle loaded = FindLoaded(path)) return loaded;

    auto module = std::make_unique<Module>();
    module->Path = path;
    module->Name = ModuleName(path);
    module->Image = std::make_unique<pe::PeFile>();
    pe::PeFile& reader = *module->Image;
    reader.Open(path);
    const auto cannotLoad = [&](const std::string& reason) {
        return EPackageError("Can't load package " + path + ".\r\n" + reason);
    };
    if (!reader.FileError().empty()) throw cannotLoad(reader.FileError());
    if (!reader.Module()) {
        std::string why = "The file is not a valid PE image";
        if (reader.IsPEImage()) pe::ModuleImage::Load(reader.FileBytes(), path, &why);
        throw cannotLoad(why);
    }
    const pe::ModuleImage& image = *reader.Module();
    if (!HasExport(image, PackageInitializeExport))
        throw EPackageError("Invalid package file '" + path + "'");

    pe::WalkPackageInfo(
        image,
        [&](std::string_view name, pe::PackageEntryKind kind, std::uint8_t unitFlags) {
            if (kind == pe::PackageEntryKind::ContainedUnit && (unitFlags & WeakUnitFlag) == 0)
                module->Units.emplace_back(name);
            else if (kind == pe::PackageEntryKind::RequiredPackage)
                module->Requires.push_back(RequiredName(name));
        },
        module->Flags);
    CheckForDuplicateUnits(*module);

    module->Handle = next_++;
    // The tag must differ between loads of the same file: classes of an unloaded load
    // may still be registered under a dependent package's chain.
    module->Classes =
        std::make_shared<rt::DynamicClassSet>("package " + std::to_string(module->Handle) + ": " + path);
    registry_.Retain(module->Classes);
    const Module& self = *module;
    PackageClassBuilder::Lookups lookups;
    lookups.ClassByName = [this](std::string_view name) -> const rt::ClassInfo* {
        const rt::Class* cls = registry_.FindClassByName(name);
        return cls ? &cls->Info() : nullptr;
    };
    lookups.TypeByName = [this, &self](std::string_view name) { return TypeFromOtherModules(self, name); };
    module->Builder = std::make_unique<PackageClassBuilder>(image, reader.ClassRefs(), ReadImportSlots(image),
                                                            *module->Classes, std::move(lookups));
    modules_.push_back(std::move(module));
    return modules_.back()->Handle;
}

bool PackageLoader::IsRuntimePackage(const Module& module) {
    return (module.Flags & pe::PackageDesignOnly) == 0;
}

bool PackageLoader::OnRequiresChain(const Module& from, const Module& target) const {
    // Breadth first through the requires lists of the loaded packages; each package is
    // visited once, so a loop of requires lists ends.
    std::vector<const Module*> reached{&from};
    for (std::size_t next = 0; next < reached.size(); ++next) {
        for (const std::string& name : reached[next]->Requires) {
            if (EqualsIgnoringCase(name, target.Name)) return true;
            for (const auto& loaded : modules_) {
                if (!EqualsIgnoringCase(loaded->Name, name)) continue;
                if (std::find(reached.begin(), reached.end(), loaded.get()) == reached.end())
                    reached.push_back(loaded.get());
            }
        }
    }
    return false;
}

void PackageLoader::CheckForDuplicateUnits(const Module& module) const {
    if (module.Flags & pe::PackageIgnoreDupUnits) return;
    for (const std::string& unit : module.Units) {
        // Every module links its own SysInit: it is the module's start-up unit, never
        // shared through a package.
        if (EqualsIgnoringCase(unit, SysInitUnit)) continue;
        for (const auto& other : modules_) {
            if (other->Flags & pe::PackageIgnoreDupUnits) continue;
            const bool shared =
                std::any_of(other->Units.begin(), other->Units.end(),
                            [&](const std::string& u) { return EqualsIgnoringCase(u, unit); });
            if (!shared) continue;
            // A package that requires a runtime package, directly or through the
            // packages it requires, links against that runtime's copy of the unit: one
            // runtime, not two packages claiming the same unit. Between two design
            // packages a shared unit stays a duplicate.
            if ((IsRuntimePackage(*other) && OnRequiresChain(module, *other)) ||
                (IsRuntimePackage(module) && OnRequiresChain(*other, module)))
                continue;
            throw EPackageError("Cannot load package '" + module.Name + ".'  It contains unit '" + unit +
                                ",'which is also contained in package '" + other->Name + "'");
        }
    }
}

void PackageLoader::Unload(ModuleHandle handle) {
    modules_.erase(std::remove_if(modules_.begin(), modules_.end(),
                                  [&](const std::unique_ptr<Module>& m) { return m->Handle == handle; }),
                   modules_.end());
}

void PackageLoader::UnregisterClasses(ModuleHandle handle) {
    const Module* module = Find(handle);
    if (!module) throw EPackageError("Invalid package handle");
    registry_.UnregisterModule(module->Classes->Module());
}

const rt::ClassInfo& PackageLoader::ClassAt(ModuleHandle handle, std::uint64_t address) {
    Module* module = Find(handle);
    if (!module) throw EPackageError("Invalid package handle");
    const rt::ClassInfo* info = module->Builder->ClassAt(address);
    if (!info) throw rt::EClassError("The class at " + std::to_string(address) + " cannot be read");
    return *info;
}

std::string PackageLoader::PathOf(ModuleHandle handle) const {
    const Module* module = Find(handle);
    return module ? module->Path : std::string();
}

std::vector<ModuleHandle> PackageLoader::Modules() const {
    std::vector<ModuleHandle> handles;
    for (const auto& module : modules_)
        handles.push_back(module->Handle);
    return handles;
}

const rt::TypeInfo* PackageLoader::TypeFromOtherModules(const Module& asking, std::string_view name) const {
    for (const auto& module : modules_) {
        if (module.get() == &asking) continue;
        if (const rt::TypeInfo* type = module->Builder->TypeByName(name)) return type;
    }
    return nullptr;
}

}  // namespace fw::pkg
