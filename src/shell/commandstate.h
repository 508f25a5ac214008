#pragma once
// Which main-window commands are enabled, as a function of the open documents. The
// idle handler reads the state from the windows and only applies the result.

namespace fw {

// What the enabling depends on: whether any document is open, and the state of the
// active one (all false without an active document).
struct IdleState {
    bool docs = false;
    bool modified = false;
    bool canUndo = false;
    bool hasSelection = false;
    bool canPaste = false;
};

// The commands whose enabling changes. New, Open, Exit, Extract from EXE, Package
// Information, the Preferences menu item and About are always enabled.
struct CommandStates {
    bool save = false;  // File "Save" and the toolbar's Save
    bool saveAs = false;
    bool close = false;
    bool closeAll = false;
    bool arrange = false;     // Cascade, the two tilings and Minimize All
    bool undo = false;        // toolbar
    bool copy = false;        // toolbar
    bool cut = false;         // toolbar
    bool paste = false;       // toolbar
    bool find = false;        // toolbar "Find and Replace"
    bool gotoSource = false;  // toolbar "Goto source"
    bool preview = false;     // toolbar "Preview Form"
    bool rescan = false;      // toolbar "Rescan Hierarchy"
    bool properties = false;  // toolbar "Properties" (unlike the Preferences menu item)

    bool operator==(const CommandStates&) const = default;
};

CommandStates ComputeCommandStates(const IdleState& state);

}  // namespace fw
