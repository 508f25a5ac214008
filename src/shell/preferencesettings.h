#pragma once
// The preferences as the settings keep them: the interface options, the code page of
// form text and the folders searched for ancestor and frame forms. They are stored as
// extra values of the main window's layout, after the window's own properties, under
// the names older versions wrote, so their settings files still load.

#include <QString>
#include <QStringList>

#include "shell/windowstatestore.h"

namespace fw {

// The interface options, held by the main window and taken by every document window
// when it is created.
struct InterfaceOptions {
    bool ShowTypeCol = false;  // the type columns of the object inspector
    bool ShowCNCol = false;    // the class-name column of the object tree
    bool ShowHTree = false;    // the inspector's class tree
    bool SmallFont = false;    // 8 points instead of 10 in the source editor
};

struct Preferences {
    InterfaceOptions Options;
    int CodePage = 1252;
    QStringList SearchFolders;
};

// The values a save writes, in their stored order: ShowTypeCol, ShowCNCol, SmallFont,
// ShowHTree, CodePage, and FormSearchPaths (the folders joined by line feeds) when there
// are folders.
StoredValues PreferenceValues(const Preferences& preferences);

// Takes one stored value into preferences when its name (ignoring case) is one of
// theirs, and answers whether it was. A code page outside 0 to 65535 is no change.
// Throws EReadError("Invalid property value") for a preference stored as another kind.
bool ReadPreferenceValue(Preferences& preferences, const QString& name, const StoredValue& value);

}  // namespace fw
