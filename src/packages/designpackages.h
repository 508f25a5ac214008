#pragma once
// The design packages of the main window: the list of package files the user named,
// the packages loaded from them, the errors of those that failed, and the operations
// that load, unload, add and remove them. Each class of a loaded package is registered
// by name when no class of that name is registered yet, so the first registration of a
// name wins: built-in classes before package classes, earlier packages before later
// ones, package classes before the fallback classes.

#include <optional>
#include <string>
#include <vector>

#include "packages/packageloader.h"

namespace fw::rt {
class ClassRegistry;
}

namespace fw::pkg {

// The section of the package list file that holds the package paths.
inline constexpr std::string_view PackageListSection = "Packages";
// The package list file's name, in the user's configuration folder.
inline constexpr std::string_view PackageListFileName = "formwright.ini";

class DesignPackages {
public:
    // Packages' classes go into registry, which must outlive this object. listFile is
    // the package list file's path.
    DesignPackages(rt::ClassRegistry& registry, std::string listFile);
    ~DesignPackages();
    DesignPackages(const DesignPackages&) = delete;
    DesignPackages& operator=(const DesignPackages&) = delete;

    // The full paths of the configured packages, in configuration order.
    const std::vector<std::string>& PackageFiles() const { return packageFiles_; }
    // Each package loaded, or found loaded, by these operations, once, in load order.
    const std::vector<ModuleHandle>& LoadedModules() const { return loadedModules_; }
    // "<path>=<message>" for each package whose loading failed since the last full
    // load; the path as PackageFiles has it.
    const std::vector<std::string>& PackageErrors() const { return packageErrors_; }
    const std::string& ListFile() const { return listFile_; }
    PackageLoader& Loader() { return loader_; }

    // Fills PackageFiles with the values of the list file's "Packages" section in file
    // order (the keys are not looked at); empty when the file or section is missing.
    void ReadPackageList();
    // Replaces PackageFiles with files in their order, each path once (a later one that
    // equals an earlier one ignoring ASCII case is left out). Loads nothing.
    void SetPackageFiles(const std::vector<std::string>& files);
    // Replaces the list file's "Packages" section with PackageFiles as keys "0", "1",
    // ...; the rest of the file stays. Throws EIniFileError when it cannot be written.
    void WritePackageList() const;

    // Loads the package at path (or takes the one already loaded from that file) and
    // registers each of its classes whose name no registered class has. Returns how
    // many classes it registered. A class that cannot be registered (not a persistent
    // class, its ancestry unresolved, or an ancestor whose name another class has) is
    // skipped and not counted, and registers nothing. When the package cannot be
    // loaded, "<path>=<message>" joins PackageErrors and the result is 0.
    int LoadOnePackage(const std::string& path);
    // Empties PackageErrors, loads every package of PackageFiles in order, then
    // registers each fallback class whose name is not registered.
    void LoadAllPackages();
    // Unregisters the classes of each loaded module and then unloads it; errors are
    // ignored. LoadedModules is empty afterwards.
    void UnloadAllPackages();

    // Adds path to PackageFiles and loads it; the count of classes it registered.
    // Nothing, and no change, when PackageFiles has the path already (ignoring ASCII
    // case). The path stays listed when loading fails; the error is in PackageErrors.
    std::optional<int> AddPackage(const std::string& path);
    // Unloads the package at index of PackageFiles (its classes unregistered), removes
    // the entry and loads all remaining packages again. False, with nothing changed,
    // for an index outside the list.
    bool RemovePackage(int index);

private:
    // Whether PackageFiles has path, ignoring ASCII case.
    bool Lists(const std::string& path) const;

    rt::ClassRegistry& registry_;
    std::string listFile_;
    PackageLoader loader_;
    std::vector<std::string> packageFiles_;
    std::vector<ModuleHandle> loadedModules_;
    std::vector<std::string> packageErrors_;
};

// The package list file the editor keeps for the current user, in the folder of its
// settings file: $XDG_CONFIG_HOME/Zentrix/formwright.ini, or ~/.config/Zentrix/... when
// XDG_CONFIG_HOME is unset or not an absolute path. Empty when HOME is needed and unset.
std::string UserPackageListPath();

// Registers cls with its ancestors up to TPersistent, as ClassRegistry::
// RegisterClassChain does, but all or nothing: throws rt::EClassError, registering
// nothing, when cls does not descend from TPersistent ("<name> is not a persistent
// class") or an ancestor's name is taken by another class ("A class named <name>
// already exists").
void RegisterPersistentChain(rt::ClassRegistry& registry, const rt::ClassInfo& cls);

}  // namespace fw::pkg
