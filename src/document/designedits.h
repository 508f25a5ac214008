#pragma once
// The edits of the form text that the designer surface on the preview asks for: new
// places of controls as their Left, Top, Width and Height, and deletions of objects,
// each a set of engine edits made into one result, so that the source editor takes it
// as one undo step. Plain logic over the edit engine; no screen.

#include <QList>
#include <QStringList>
#include <vector>

#include "edit/formedit.h"
#include "preview/virtualdesktop.h"

namespace fw {

// Several results of edits of the same text as one: the replacements in order of
// offset (inserts at one offset in the order given), a replacement that lies inside
// another one (a child's deletion inside its parent's) left out, the changes in order.
// Replacements that overlap otherwise are kept, for ApplyEdits to refuse.
edit::EditResult MergeEditResults(std::vector<edit::EditResult> results);

// One SetProperty for each changed value of each placement, in the order Left, Top,
// Width, Height, merged. Throws the engine's EditError.
edit::EditResult PlacementEdits(const edit::FormEditor& editor,
                                const QList<preview::ObjectPlacement>& placements);

// One DeleteObject for each path, merged; a path inside another deleted object goes
// with it. Throws the engine's EditError.
edit::EditResult DeletionEdits(const edit::FormEditor& editor, const QStringList& paths);

}  // namespace fw
