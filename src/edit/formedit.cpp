#include "edit/formedit.h"

#include "runtime/registry.h"

namespace fw::edit {

struct FormEditor::Outline {};

std::string ApplyEdits(std::string_view text, std::span<const TextEdit> edits) {
    std::string result;
    result.reserve(text.size());
    std::size_t at = 0;
    for (const TextEdit& edit : edits) {
        if (edit.Offset < at || edit.Offset + edit.Length > text.size())
            throw EditError("Edits overlap or lie outside the text");
        result.append(text.substr(at, edit.Offset - at));
        result.append(edit.Text);
        at = edit.Offset + edit.Length;
    }
    result.append(text.substr(at));
    return result;
}

}  // namespace fw::edit
