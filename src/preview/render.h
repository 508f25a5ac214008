#pragma once
// Rendering a form file to a picture without a window: the preview is built as the
// editor builds it and the form, title bar included, is saved as PNG.

#include <QRect>
#include <QStringList>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace fw::rt {
class Object;
struct BuildOrigins;
struct ReadObject;
}  // namespace fw::rt

namespace fw::preview {

class VirtualDesktop;

// How an object of a previewed form came out: drawn by the maker of its own class, of
// an ancestor's, or of the class a stand-in borrows its look from; as the framed box of
// last resort; not drawn because it is no control; not shown (its Visible, a hidden
// parent or an inactive page); or skipped by the read, with nothing made of it.
enum class LayoutKind { Native, Ancestor, Lookalike, Placeholder, NonVisual, Hidden, Skipped };
// The kind's name in the layout file: "native", "ancestor", ... "skipped".
std::string_view LayoutKindName(LayoutKind kind);

// One object of a previewed form as the preview laid it out.
struct LayoutEntry {
    std::string Name;       // as written; empty for an unnamed object
    std::string ClassName;  // as written
    std::string DrawnAs;    // the class whose maker draws it; empty when none does
    LayoutKind Kind = LayoutKind::Placeholder;
    // In the form's client area. The root: (0, 0) and the client size. A control: where
    // the preview put it after alignment and anchors, hidden ones included. A non-visual
    // component: its designer position (the Left and Top the text stores), size 0. A
    // skipped object: empty at (0, 0).
    QRect Bounds;
    // The ancestor's or frame's file (its name) the object came from; empty for an
    // object of the form's own text.
    std::string File;
};

// An object of a form built whole that only an ancestor's or a frame's file writes.
struct OuterObject {
    const rt::Object* Object = nullptr;
    const rt::Object* Container = nullptr;  // the object it is written inside
    int File = 0;                           // its file among BuildOrigins::Files
};

// The objects under root that no record of the form's own text (records) stands for
// and that origins puts in another file, each before the ones written inside it: as a
// form stream nests them, a form's or frame's own non-visual components, then its
// controls, then the items and fields written inside an object.
std::vector<OuterObject> ObjectsFromOtherFiles(const rt::Object& root, const rt::BuildOrigins& origins,
                                               const std::vector<rt::ReadObject>& records);

// Every object record of the desktop's last build, in the order of the text (each
// object before the ones written inside it), the root first; then the objects that
// only an ancestor's or a frame's file writes (ObjectsFromOtherFiles).
std::vector<LayoutEntry> PreviewLayout(const VirtualDesktop& desktop);

// The layout as a JSON document: {"file": file, "objects": [{"name", "class",
// "drawnAs", "kind", "x", "y", "width", "height"[, "file"]}...], "messages": [...]};
// an object's "file" is there only for one from an ancestor's or a frame's file.
std::string LayoutJson(std::string_view file, const std::vector<LayoutEntry>& objects,
                       const std::vector<std::string>& messages);

// Whether the arguments (after the program name) ask for a render. --layout alone
// counts, so that the render command can say it needs --render.
bool IsRenderCommand(const QStringList& arguments);

// Runs "--render FORM [--codepage N] [--package BPL]... [--installed-packages] -o
// IMAGE.png [--layout LAYOUT.json] [--search-path DIR]...": the form is built whole,
// its ancestors and frames looked for beside it (up to the project's top) and then in
// each DIR; loads the design packages named (and, for
// --installed-packages, those of the editor's package list after them) into the
// registry as the editor does, prints the preview's messages as "FORM: KIND=text" on
// out, one a line, and with --layout writes PreviewLayout and those messages as
// LayoutJson. Returns 0 without messages, 1 with any or when a package could not be
// loaded ("formwright: package <path>=<message>" on err), 2 when the arguments are
// wrong (--layout without --render among them), the file cannot be read or converted,
// or the image or the layout cannot be written (with the reason on err). Needs a
// QApplication.
int RenderFormFile(const QStringList& arguments, std::ostream& out, std::ostream& err);

}  // namespace fw::preview
