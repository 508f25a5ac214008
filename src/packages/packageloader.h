#pragma once
// The platform's package loader. Design packages are read, never run: "loading" a
// package opens its file, lays it out as a module image and checks that it is a
// package whose units no loaded package contains already; its classes are then built
// from the image on request (PackageClassBuilder) and registered by name. Nothing of a
// package's code, initialisation or finalisation is executed.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "peimage/packageinfo.h"
#include "runtime/metadata.h"

namespace fw::rt {
class ClassRegistry;
}

namespace fw::pkg {

// A loaded package; 0 stands for none. Handles are never reused, so a handle kept after
// its package was unloaded refers to nothing.
using ModuleHandle = std::uint64_t;

// A package's file cannot be loaded. Shares the PE reader's class for the package
// information's own errors.
using EPackageError = pe::EPackageError;

// The name the compiler exports a package's initialisation under; a module without it
// is no package.
inline constexpr std::string_view PackageInitializeExport = "Initialize";

// The contained-unit flag of a unit that may be contained in several packages.
inline constexpr std::uint8_t WeakUnitFlag = 0x04;

// The unit every module, program or package, links for itself; every package lists it.
inline constexpr std::string_view SysInitUnit = "SysInit";

class PackageLoader {
public:
    // Classes are looked up and their metadata kept alive in registry, which must
    // outlive the loader.
    explicit PackageLoader(rt::ClassRegistry& registry);
    ~PackageLoader();
    PackageLoader(const PackageLoader&) = delete;
    PackageLoader& operator=(const PackageLoader&) = delete;

    // The package loaded from path, or from the same file under another path; 0 when
    // there is none.
    ModuleHandle FindLoaded(const std::string& path) const;

    // Loads the package at path, or answers the one already loaded from that file.
    // Throws EPackageError:
    //   "Can't load package <path>.\r\n<reason>"   the file cannot be read or laid out
    //                                              as a module image, with the reason
    //   "Invalid package file '<path>'"            it does not export Initialize
    //   the PE reader's message                    its package information is missing
    //                                              or damaged
    //   "Cannot load package '<name>.'  It contains unit '<unit>,'which is also
    //   contained in package '<other>'"             a unit of it is contained in a
    //                                              loaded package as well; the names are
    //                                              the file names without extension.
    // Units marked weak, and packages that allow duplicate units, are not compared. Nor
    // are the units two packages may share on the system they come from: SysInit, which
    // every module links privately, and a unit of a runtime package (one not marked
    // design only) that the other package requires, directly or through the requires
    // lists of loaded packages (the required package's name compared with the file
    // name, without extensions, ignoring case).
    ModuleHandle Load(const std::string& path);

    // Unloads the package: its file and image are released. The metadata of its
    // classes stays valid for whatever refers to it (the registry keeps it), but its
    // classes can no longer be built. Unknown handles are ignored.
    void Unload(ModuleHandle module);

    // Unregisters every registered class that was built from the module. Throws
    // EPackageError "Invalid package handle" for a handle no loaded package has.
    void UnregisterClasses(ModuleHandle module);

    // The class whose class reference lies at address in the module, built from its
    // class record and type information (the same class on every call). Throws
    // rt::EClassError when there is no class record there or its ancestry cannot be
    // resolved, and EPackageError for an unknown handle.
    const rt::ClassInfo& ClassAt(ModuleHandle module, std::uint64_t address);

    // The path the module was loaded from; empty for an unknown handle.
    std::string PathOf(ModuleHandle module) const;
    // The loaded packages, in load order.
    std::vector<ModuleHandle> Modules() const;

private:
    struct Module;
    Module* Find(ModuleHandle handle) const;
    // Whether the package may be required at run time: it is not marked design only.
    static bool IsRuntimePackage(const Module& module);
    // Whether from requires target, directly or through the requires lists of the
    // loaded packages.
    bool OnRequiresChain(const Module& from, const Module& target) const;
    // Throws the duplicate-unit error for the first unit of module that a loaded package
    // contains as well and may not share.
    void CheckForDuplicateUnits(const Module& module) const;
    const rt::TypeInfo* TypeFromOtherModules(const Module& asking, std::string_view name) const;

    rt::ClassRegistry& registry_;
    std::vector<std::unique_ptr<Module>> modules_;
    ModuleHandle next_ = 1;
};

}  // namespace fw::pkg
