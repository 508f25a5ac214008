// Fuzzes the edit engine on any bytes read as form text. Nothing may crash, hang or
// trip a sanitizer, and no error but the engine's own may come out. For text the
// engine reads:
//  - every object's path names that object again;
//  - setting a property, renaming an object and removing properties by pattern give
//    edits in order, within the text, and a text the engine reads again, in which the
//    property has the value set and the object answers to its new name.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "edit/formedit.h"
#include "runtime/registry.h"

namespace {

using fw::edit::EditError;
using fw::edit::EditResult;
using fw::edit::FormEditor;

// The edits are sorted, apart and inside the text; returns the edited text.
std::string Applied(std::string_view text, const EditResult& result) {
    std::size_t at = 0;
    for (const fw::edit::TextEdit& edit : result.Edits) {
        if (edit.Offset < at || edit.Offset + edit.Length > text.size()) std::abort();
        at = edit.Offset + edit.Length;
    }
    return fw::edit::ApplyEdits(text, result.Edits);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::unique_ptr<fw::rt::ClassRegistry> registry = fw::rt::MakeBuiltinRegistry();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::unique_ptr<FormEditor> editor;
    try {
        editor = std::make_unique<FormEditor>(text, fw::CodePage::Default(), registry.get());
    } catch (const EditError&) {
        return 0;
    }
    const auto objects = editor->Objects();
    for (std::size_t i = 0; i < objects.size() && i < 4; ++i) {
        const auto& entry = objects[i];
        try {
            const auto found = editor->FindObject(entry.Path);
            if (!found || found->Line != entry.Line || found->Path != entry.Path) std::abort();
        } catch (const EditError&) {
            std::abort();
        }
        try {
            const std::string edited = Applied(text, editor->SetProperty(entry.Path, "Tag", "7"));
            const FormEditor again(edited, fw::CodePage::Default(), registry.get());
            if (again.GetProperty(entry.Path, "Tag") != "7") std::abort();
        } catch (const EditError&) {
        }
        try {
            const std::string edited = Applied(text, editor->RenameObject(entry.Path, "FuzzName"));
            const FormEditor again(edited, fw::CodePage::Default(), registry.get());
            if (!again.FindObject("FuzzName")) std::abort();
        } catch (const EditError&) {
        }
    }
    try {
        const std::string edited = Applied(text, editor->RemoveProperties("*a*"));
        const FormEditor again(edited, fw::CodePage::Default(), registry.get());
    } catch (const EditError&) {
        std::abort();
    }
    return 0;
}
