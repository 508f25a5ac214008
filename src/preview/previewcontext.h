#pragma once
// PreviewContext: what every preview of one program run shares. The class registry
// with the built-in classes (and the design packages' classes once loaded), the names
// of the live forms (each preview's form is listed while it lives, so a second preview
// of the same form is named "%s_1"), the look-alike rules and the index of form
// folders the previews search for ancestors and frames. Whoever makes the previews
// owns one and hands it to each by reference; it must outlive them.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "runtime/formsearch.h"
#include "runtime/lookalike.h"
#include "runtime/object.h"
#include "runtime/reader.h"
#include "runtime/registry.h"

namespace fw::preview {

class PreviewContext {
public:
    // The look-alike rules are read from lookalikeFile (empty: none) before the shipped
    // table, the first time a preview needs them.
    explicit PreviewContext(std::string lookalikeFile = UserLookalikeFile());
    ~PreviewContext();
    PreviewContext(const PreviewContext&) = delete;
    PreviewContext& operator=(const PreviewContext&) = delete;

    // The user's lookalikes.txt: in the configuration folder, beside the package list;
    // empty when there is no such folder.
    static std::string UserLookalikeFile();

    rt::ClassRegistry& Registry() { return *registry_; }
    const rt::ClassRegistry& Registry() const { return *registry_; }
    rt::FormNames& FormNames() { return formNames_; }
    rt::FormFolderIndex& FolderIndex() { return folderIndex_; }

    // The user's rules before the shipped table.
    const rt::LookalikeTable& Lookalikes() const;
    // The complaints about bad lines of the user's file, which every preview shows
    // until the file is fixed.
    const std::vector<std::string>& LookalikeMessages() const;
    // The built-in class whose look a stand-in borrows by the look-alike rules, or
    // nullptr for the framed box.
    const rt::Class* StandInLook(const rt::Object& standIn) const;

private:
    struct LoadedLookalikes {
        std::vector<std::string> Messages;
        rt::LookalikeTable Table;
    };
    const LoadedLookalikes& Loaded() const;

    std::string lookalikeFile_;
    std::unique_ptr<rt::ClassRegistry> registry_;
    rt::FormNames formNames_;
    rt::FormFolderIndex folderIndex_;
    mutable std::optional<LoadedLookalikes> lookalikes_;
};

}  // namespace fw::preview
