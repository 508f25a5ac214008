#pragma once
// Session: what one run of the editor shares between its windows. It owns the preview
// context (the class registry, the names of the live forms, the look-alike rules and
// the index of form folders), the design packages whose classes join that registry,
// the storage of the windows' layouts in the user's settings, and the single-instance
// link to later starts. RunFormwright makes it before the main
// window and hands it down by reference; it outlives every window.

#include <QString>
#include <memory>

namespace fw {

namespace pkg {
class DesignPackages;
}  // namespace pkg
namespace preview {
class PreviewContext;
}  // namespace preview

class SettingsWindowStateStorage;
class SingleInstance;

class Session {
public:
    // The design packages are read from packageListFile, by default the user's list
    // beside the settings file; none is loaded until LoadPackages.
    explicit Session(const QString& packageListFile = UserPackageListFile());
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // The package list file: beside the user's settings file, in the same folder.
    static QString UserPackageListFile();

    preview::PreviewContext& Preview() { return *preview_; }
    pkg::DesignPackages& Packages() { return *packages_; }
    // Reads the package list and loads every package on it, so that the packages'
    // classes join the built-in ones before any form is read.
    void LoadPackages();

    // Where the windows' stores keep their layouts.
    SettingsWindowStateStorage& WindowStates() { return *windowStates_; }

    // The link to later starts of the program, once this start has claimed it; null
    // before (and for a run that is about this very process only).
    SingleInstance* Instances() const { return instances_.get(); }
    void SetInstances(std::unique_ptr<SingleInstance> instances);

private:
    std::unique_ptr<preview::PreviewContext> preview_;
    std::unique_ptr<pkg::DesignPackages> packages_;
    std::unique_ptr<SettingsWindowStateStorage> windowStates_;
    std::unique_ptr<SingleInstance> instances_;
};

}  // namespace fw
