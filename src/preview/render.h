#pragma once
// Rendering a form file to a picture without a window: the preview is built as the
// editor builds it and the form, title bar included, is saved as PNG.

#include <QStringList>
#include <iosfwd>

namespace fw::preview {

// Whether the arguments (after the program name) ask for a render.
bool IsRenderCommand(const QStringList& arguments);

// Runs "--render FORM [--codepage N] [--package BPL]... [--installed-packages] -o
// IMAGE.png": loads the design packages named (and, for --installed-packages, those of
// the editor's package list after them) into the registry as the editor does, prints
// the preview's messages as "FORM: KIND=text" on out, one a line, and returns 0 without
// messages, 1 with any or when a package could not be loaded ("formwright: package
// <path>=<message>" on err), 2 when the arguments are wrong, the file cannot be read or
// converted, or the image cannot be written (with the reason on err). Needs a
// QApplication.
int RenderFormFile(const QStringList& arguments, std::ostream& out, std::ostream& err);

}  // namespace fw::preview
