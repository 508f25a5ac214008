#include "packages/designpackages.h"

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <new>

#include "base/asciitext.h"
#include "packages/inifile.h"
#include "peimage/pefile.h"
#include "runtime/fallback.h"
#include "runtime/registry.h"

namespace fw::pkg {

DesignPackages::DesignPackages(rt::ClassRegistry& registry, std::string listFile)
    : registry_(registry), listFile_(std::move(listFile)), loader_(registry) {}

DesignPackages::~DesignPackages() = default;

void DesignPackages::ReadPackageList() {
    packageFiles_ = ReadIniSectionValues(listFile_, PackageListSection);
}

bool DesignPackages::Lists(const std::string& path) const {
    return std::any_of(packageFiles_.begin(), packageFiles_.end(),
                       [&](const std::string& file) { return EqualsIgnoringCase(file, path); });
}

void DesignPackages::SetPackageFiles(const std::vector<std::string>& files) {
    packageFiles_.clear();
    for (const std::string& file : files)
        if (!Lists(file)) packageFiles_.push_back(file);
}

std::string UserPackageListPath() {
    // The settings library's rule for the user's configuration folder.
    std::string folder;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && config[0] == '/') {
        folder = config;
    } else if (const char* home = std::getenv("HOME"); home && home[0] != '\0') {
        folder = std::string(home) + "/.config";
    } else {
        return {};
    }
    return folder + "/Zentrix/" + std::string(PackageListFileName);
}

void DesignPackages::WritePackageList() const {
    // The whole section is replaced, not only the keys of the current entries: a key
    // left from a longer list would bring a removed package back at the next start.
    WriteIniSectionList(listFile_, PackageListSection, packageFiles_);
}

void RegisterPersistentChain(rt::ClassRegistry& registry, const rt::ClassInfo& cls) {
    // Check the whole chain first, so that a failure leaves nothing half registered.
    bool persistent = false;
    int steps = 0;
    for (const rt::ClassInfo* c = &cls; c && steps < 1024; c = c->Parent, ++steps) {
        if (EqualsIgnoringCase(c->Name, "TPersistent")) {
            persistent = true;
            break;
        }
    }
    if (!persistent) throw rt::EClassError(std::string(cls.Name) + " is not a persistent class");
    for (const rt::ClassInfo* c = &cls; c; c = c->Parent) {
        if (const rt::Class* found = registry.FindClassByName(c->Name)) {
            if (&found->Info() == c) break;
            throw rt::EClassError("A class named " + std::string(c->Name) + " already exists");
        }
        if (EqualsIgnoringCase(c->Name, "TPersistent")) break;
    }
    registry.RegisterClassChain(cls);
}

int DesignPackages::LoadOnePackage(const std::string& path) {
    int count = 0;
    try {
        ModuleHandle module = loader_.FindLoaded(path);
        if (!module) module = loader_.Load(path);
        if (module && std::find(loadedModules_.begin(), loadedModules_.end(), module) == loadedModules_.end())
            loadedModules_.push_back(module);
        pe::PeFile reader;
        reader.Open(path);
        for (const pe::ClassReference& ref : reader.ClassRefs()) {
            try {
                if (registry_.FindClassByName(ref.Name)) continue;
                RegisterPersistentChain(registry_, loader_.ClassAt(module, ref.Address));
                ++count;
            } catch (const std::exception&) {
                // A class that cannot be registered is left out; the others still count.
            }
        }
    } catch (const std::exception& error) {
        packageErrors_.push_back(path + "=" + error.what());
    }
    return count;
}

void DesignPackages::LoadAllPackages() {
    packageErrors_.clear();
    for (const std::string& path : std::vector<std::string>(packageFiles_))
        LoadOnePackage(path);
    for (const rt::ClassInfo* cls : rt::FallbackClasses()) {
        try {
            registry_.RegisterIfAbsent(*cls);
        } catch (const std::exception&) {
            // An ancestor's name taken by a package class: the package's classes win.
        }
    }
}

void DesignPackages::UnloadAllPackages() {
    for (const ModuleHandle module : loadedModules_) {
        try {
            loader_.UnregisterClasses(module);
            loader_.Unload(module);
        } catch (const std::exception&) {
        }
    }
    loadedModules_.clear();
}

std::optional<int> DesignPackages::AddPackage(const std::string& path) {
    if (Lists(path)) return std::nullopt;
    packageFiles_.push_back(path);
    return LoadOnePackage(path);
}

bool DesignPackages::RemovePackage(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= packageFiles_.size()) return false;
    const std::string path = packageFiles_[static_cast<std::size_t>(index)];
    if (const ModuleHandle module = loader_.FindLoaded(path)) {
        try {
            loader_.UnregisterClasses(module);
            loader_.Unload(module);
        } catch (const std::exception&) {
        }
        loadedModules_.erase(std::remove(loadedModules_.begin(), loadedModules_.end(), module),
                             loadedModules_.end());
    }
    packageFiles_.erase(packageFiles_.begin() + index);
    LoadAllPackages();
    return true;
}

}  // namespace fw::pkg
