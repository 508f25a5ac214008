#include "preview/previewcontext.h"

#include <filesystem>
#include <utility>

#include "packages/designpackages.h"
#include "runtime/builtin.h"

namespace fw::preview {

PreviewContext::PreviewContext(std::string lookalikeFile)
    : lookalikeFile_(std::move(lookalikeFile)), registry_(rt::MakeBuiltinRegistry()) {
    // An object of a class nobody registered is read as a stand-in of the class whose
    // look the look-alike table gives it, so that it lays out and draws as that class
    // does.
    registry_->SetStandInLook(
        [this](std::string_view className, const std::vector<rt::RawProperty>& stored, bool holdsRecords) {
            return rt::LookalikeClass(className, stored, holdsRecords, Lookalikes(), *registry_);
        });
}

PreviewContext::~PreviewContext() = default;

std::string PreviewContext::UserLookalikeFile() {
    const std::string packageList = pkg::UserPackageListPath();
    if (packageList.empty()) return {};
    return (std::filesystem::path(packageList).parent_path() / "lookalikes.txt").string();
}

const PreviewContext::LoadedLookalikes& PreviewContext::Loaded() const {
    if (!lookalikes_) {
        LoadedLookalikes loaded;
        loaded.Table = rt::LookalikeTable::WithUserFile(lookalikeFile_, loaded.Messages);
        lookalikes_ = std::move(loaded);
    }
    return *lookalikes_;
}

const rt::LookalikeTable& PreviewContext::Lookalikes() const {
    return Loaded().Table;
}

const std::vector<std::string>& PreviewContext::LookalikeMessages() const {
    return Loaded().Messages;
}

const rt::Class* PreviewContext::StandInLook(const rt::Object& standIn) const {
    return rt::LookalikeClass(standIn, Lookalikes(), *registry_);
}

}  // namespace fw::preview
