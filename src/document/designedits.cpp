#include "document/designedits.h"

#include <algorithm>
#include <string>

namespace fw {

edit::EditResult MergeEditResults(std::vector<edit::EditResult> results) {
    edit::EditResult merged;
    for (edit::EditResult& result : results) {
        for (edit::TextEdit& e : result.Edits)
            merged.Edits.push_back(std::move(e));
        for (std::string& change : result.Changes)
            merged.Changes.push_back(std::move(change));
    }
    // By offset. At one offset inserts come first, in the order they were asked in (a
    // line inserted before a line another edit replaces), then the longer replacement,
    // so that one inside it follows it.
    std::stable_sort(merged.Edits.begin(), merged.Edits.end(),
                     [](const edit::TextEdit& a, const edit::TextEdit& b) {
                         if (a.Offset != b.Offset) return a.Offset < b.Offset;
                         if ((a.Length == 0) != (b.Length == 0)) return a.Length == 0;
                         return a.Length > b.Length;
                     });
    std::vector<edit::TextEdit> kept;
    for (edit::TextEdit& e : merged.Edits) {
        if (!kept.empty()) {
            const edit::TextEdit& last = kept.back();
            const std::size_t end = last.Offset + last.Length;
            if (e.Length > 0 && e.Offset >= last.Offset && e.Offset + e.Length <= end) continue;
        }
        kept.push_back(std::move(e));
    }
    merged.Edits = std::move(kept);
    return merged;
}

edit::EditResult PlacementEdits(const edit::FormEditor& editor,
                                const QList<preview::ObjectPlacement>& placements) {
    std::vector<edit::EditResult> results;
    for (const preview::ObjectPlacement& placement : placements) {
        const std::string object = placement.Path.toStdString();
        const struct {
            unsigned Field;
            const char* Property;
            int Value;
        } values[] = {{preview::FieldLeft, "Left", placement.Bounds.Left},
                      {preview::FieldTop, "Top", placement.Bounds.Top},
                      {preview::FieldWidth, "Width", placement.Bounds.Width},
                      {preview::FieldHeight, "Height", placement.Bounds.Height}};
        for (const auto& value : values)
            if (placement.Changed & value.Field)
                results.push_back(editor.SetProperty(object, value.Property, std::to_string(value.Value)));
    }
    return MergeEditResults(std::move(results));
}

edit::EditResult DeletionEdits(const edit::FormEditor& editor, const QStringList& paths) {
    std::vector<edit::EditResult> results;
    for (const QString& path : paths)
        results.push_back(editor.DeleteObject(path.toStdString()));
    return MergeEditResults(std::move(results));
}

}  // namespace fw
