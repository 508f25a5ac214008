#pragma once
// The program's toolbar and window images, drawn in code on a 16-unit grid so that
// they stay sharp at any size and need no image files.

#include <QIcon>
#include <QPixmap>

namespace fw {

enum class DrawnImage {
    New,
    Open,
    Save,
    Undo,
    Copy,
    Cut,
    Paste,
    Find,
    Goto,
    Preview,
    Rescan,
    Properties,
    Cascade,
    TileHorizontal,
    TileVertical,
    Exit,
    FormDocument,  // a form with its design grid: document tabs, splash, About box
};

// The image as an icon with pixmaps at 16, 24, 32 and 48 pixels; the disabled look
// is derived by the style.
QIcon DrawnIcon(DrawnImage image);
// The image at one size, in pixels.
QPixmap DrawnPixmap(DrawnImage image, int size);

}  // namespace fw
