#include "shell/commandstate.h"

namespace fw {

CommandStates ComputeCommandStates(const IdleState& state) {
    const bool docs = state.docs;
    CommandStates c;
    c.save = docs && state.modified;
    c.saveAs = docs;
    c.close = docs;
    c.closeAll = docs;
    c.arrange = docs;
    c.undo = docs && state.canUndo;
    c.copy = docs && state.hasSelection;
    c.cut = docs && state.hasSelection;
    c.paste = docs && state.canPaste;
    c.find = docs;
    c.gotoSource = docs;
    c.preview = docs;
    c.rescan = docs;
    c.properties = docs;
    return c;
}

}  // namespace fw
