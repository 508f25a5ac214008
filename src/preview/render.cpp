#include "preview/render.h"

#include <QApplication>
#include <QImage>
#include <QWidget>
#include <algorithm>
#include <exception>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "base/atomicfile.h"
#include "base/codepage.h"
#include "base/stream.h"
#include "codec/conversion.h"
#include "codec/declaredcharset.h"
#include "codec/formformat.h"
#include "codec/jsontext.h"
#include "packages/designpackages.h"
#include "preview/formwindow.h"
#include "preview/previewcontext.h"
#include "preview/realizer.h"
#include "preview/vcllook.h"
#include "preview/virtualdesktop.h"
#include "runtime/formbuild.h"
#include "runtime/metadata.h"
#include "runtime/rawvalue.h"

namespace fw::preview {

namespace {

constexpr const char* Usage =
    "Usage: formwright --render FORM [--codepage N] [--package BPL]... [--installed-packages] -o IMAGE.png\n"
    "                  [--layout LAYOUT.json] [--search-path DIR]...\n";

// A coordinate or size the text stores, kept to what a window can hold.
int Pixels(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, -MaxWindowSide, MaxWindowSide));
}

// A non-visual component's designer position: the Left and Top it stores, or, for a
// stand-in, the Left and Top its text holds unpublished.
QPoint DesignerPosition(const rt::Object& component) {
    auto coordinate = [&](std::string_view name) -> int {
        std::int64_t value = StoredOrdinal(component, name);
        if (const rt::RawValue* raw = component.FindUnpublished(name);
            raw && raw->Type == rt::RawValue::Kind::Integer)
            value = raw->Integer;
        return Pixels(value);
    };
    return {coordinate("Left"), coordinate("Top")};
}

// Where a point of a widget lies in the form's client area.
QPoint InClient(const QWidget* widget, QPoint at, const QWidget* client) {
    if (widget == client || client->isAncestorOf(widget)) return widget->mapTo(client, at);
    return client->mapFromGlobal(widget->mapToGlobal(at));
}

// What the layout keeps of each control while it walks the records: whether it is
// shown and where its child controls' coordinates start.
struct ControlState {
    bool Shown = true;
    QPoint ClientOrigin;
};

// The ancestor's or frame's file an object of a form built whole came from, by its
// file name; empty for the text's own.
std::string FileOfObject(const rt::BuildOrigins& origins, const rt::Object* object) {
    if (!object) return {};
    const int file = origins.FileOf(*object);
    if (file <= 0 || static_cast<std::size_t>(file) >= origins.Files.size()) return {};
    return std::filesystem::path(origins.Files[static_cast<std::size_t>(file)]).filename().string();
}

LayoutKind KindOfLook(DrawnLook::Kind how) {
    switch (how) {
        case DrawnLook::Kind::Native:
            return LayoutKind::Native;
        case DrawnLook::Kind::Ancestor:
            return LayoutKind::Ancestor;
        case DrawnLook::Kind::Lookalike:
            return LayoutKind::Lookalike;
        case DrawnLook::Kind::Placeholder:
            break;
    }
    return LayoutKind::Placeholder;
}

}  // namespace

std::string_view LayoutKindName(LayoutKind kind) {
    switch (kind) {
        case LayoutKind::Native:
            return "native";
        case LayoutKind::Ancestor:
            return "ancestor";
        case LayoutKind::Lookalike:
            return "lookalike";
        case LayoutKind::Placeholder:
            return "placeholder";
        case LayoutKind::NonVisual:
            return "nonvisual";
        case LayoutKind::Hidden:
            return "hidden";
        case LayoutKind::Skipped:
            return "skipped";
    }
    return "placeholder";
}

std::vector<OuterObject> ObjectsFromOtherFiles(const rt::Object& root, const rt::BuildOrigins& origins,
                                               const std::vector<rt::ReadObject>& records) {
    std::vector<OuterObject> found;
    if (origins.Objects.empty()) return found;
    std::set<const rt::Object*> written;
    for (const rt::ReadObject& record : records)
        if (record.Live) written.insert(record.Live);
    // Depth first, the children of an object pushed in reverse so that they come out in
    // order; each object is visited once, whatever links the read made.
    std::set<const rt::Object*> visited{&root};
    std::vector<std::pair<const rt::Object*, const rt::Object*>> pending;  // object, container
    auto pushChildren = [&](const rt::Object& at) {
        std::vector<const rt::Object*> children;
        if (&at == &root || at.GetClass().Has(rt::CfControl))
            for (const rt::ObjectPtr& owned : at.Components())
                if (!owned->GetClass().Has(rt::CfControl) && !owned->ParentComponent())
                    children.push_back(owned.get());
        for (const rt::Object* control : at.Controls())
            children.push_back(control);
        for (const rt::Object* child : at.ChildComponents())
            children.push_back(child);
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            if (visited.insert(*it).second) pending.emplace_back(*it, &at);
    };
    pushChildren(root);
    while (!pending.empty()) {
        const auto [object, container] = pending.back();
        pending.pop_back();
        const int file = origins.FileOf(*object);
        if (file > 0 && !written.count(object)) found.push_back({object, container, file});
        pushChildren(*object);
    }
    return found;
}

std::vector<LayoutEntry> PreviewLayout(const VirtualDesktop& desktop) {
    std::vector<LayoutEntry> layout;
    const rt::Object* form = desktop.PreviewForm();
    const FormRealizer* realizer = desktop.Realizer();
    const QWidget* client = desktop.Window() ? desktop.Window()->ClientArea() : nullptr;
    if (!form || !realizer || !client) return layout;

    std::map<const rt::Object*, ControlState> states;
    states[form] = {};
    auto stateOf = [&](const rt::Object* control) {
        const auto it = control ? states.find(control) : states.end();
        return it == states.end() ? ControlState{} : it->second;
    };

    std::vector<rt::ReadObject> records = desktop.ReadObjects();
    // A read that stopped before the root's header met no record; the root is there all
    // the same.
    if (records.empty())
        records.push_back({-1, form->Name(), std::string(form->ClassName()), desktop.PreviewForm()});
    const rt::BuildOrigins& origins = desktop.Origins();
    auto addEntry = [&](const std::string& name, const std::string& className, const rt::Object* object) {
        LayoutEntry entry{name, className, {}, LayoutKind::Skipped, {}, {}};
        entry.File = FileOfObject(origins, object);
        if (object == form) {
            // The root is drawn as the preview's window for a form, frame or data module.
            entry.DrawnAs = std::string(form->ClassName());
            entry.Kind = LayoutKind::Native;
            entry.Bounds = QRect(QPoint(0, 0), client->size());
        } else if (!object) {
            // Skipped by the read: nothing was made of it.
        } else if (!object->GetClass().Has(rt::CfControl)) {
            entry.Kind = LayoutKind::NonVisual;
            entry.Bounds = QRect(DesignerPosition(*object), QSize(0, 0));
        } else {
            const DrawnLook look = realizer->LookOf(*object);
            const ControlState parent = stateOf(object->Parent());
            ControlState state;
            const Placement place = realizer->PlaceOf(*object);
            if (place.Parent) {
                entry.Bounds =
                    QRect(InClient(place.Parent, place.Bounds.topLeft(), client), place.Bounds.size());
                const Realized widgets = realizer->WidgetOf(*object);
                if (widgets.Widget) {
                    state.Shown = widgets.Widget->isVisibleTo(client);
                    const QWidget* inner = widgets.Client ? widgets.Client : widgets.Widget;
                    state.ClientOrigin = InClient(inner, QPoint(0, 0), client);
                } else {
                    state.Shown =
                        place.Visible && (place.Parent == client || place.Parent->isVisibleTo(client));
                    state.ClientOrigin = entry.Bounds.topLeft();
                }
            } else {
                // Not realised (past the preview's limits, or its maker failed): where
                // the runtime's layout put it inside its parent.
                const QPoint at(Pixels(OrdinalOf(*object, "Left")), Pixels(OrdinalOf(*object, "Top")));
                entry.Bounds = QRect(parent.ClientOrigin + at, QSize(Pixels(OrdinalOf(*object, "Width")),
                                                                     Pixels(OrdinalOf(*object, "Height"))));
                state.Shown = parent.Shown && BoolOf(*object, "Visible", true);
                state.ClientOrigin = entry.Bounds.topLeft();
            }
            states[object] = state;
            if (state.Shown) {
                entry.Kind = KindOfLook(look.How);
                if (entry.Kind != LayoutKind::Placeholder) entry.DrawnAs = look.DrawnAs;
            } else {
                entry.Kind = LayoutKind::Hidden;
                entry.DrawnAs = look.DrawnAs;
            }
        }
        layout.push_back(std::move(entry));
    };
    for (const rt::ReadObject& record : records)
        addEntry(record.Name, record.ClassName, record.Live);
    for (const OuterObject& outer : ObjectsFromOtherFiles(*form, origins, records))
        addEntry(outer.Object->Name(), std::string(outer.Object->ClassName()), outer.Object);
    return layout;
}

std::string LayoutJson(std::string_view file, const std::vector<LayoutEntry>& objects,
                       const std::vector<std::string>& messages) {
    std::ostringstream json;
    json << "{\n  \"file\": " << JsonString(file) << ",\n  \"objects\": [";
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const LayoutEntry& o = objects[i];
        json << (i ? ",\n    " : "\n    ") << "{\"name\": " << JsonString(o.Name)
             << ", \"class\": " << JsonString(o.ClassName) << ", \"drawnAs\": " << JsonString(o.DrawnAs)
             << ", \"kind\": " << JsonString(LayoutKindName(o.Kind)) << ", \"x\": " << o.Bounds.x()
             << ", \"y\": " << o.Bounds.y() << ", \"width\": " << o.Bounds.width()
             << ", \"height\": " << o.Bounds.height();
        if (!o.File.empty()) json << ", \"file\": " << JsonString(o.File);
        json << '}';
    }
    json << (objects.empty() ? "],\n" : "\n  ],\n") << "  \"messages\": [";
    for (std::size_t i = 0; i < messages.size(); ++i)
        json << (i ? ",\n    " : "\n    ") << JsonString(messages[i]);
    json << (messages.empty() ? "]\n}\n" : "\n  ]\n}\n");
    return json.str();
}

bool IsRenderCommand(const QStringList& arguments) {
    return arguments.contains(QStringLiteral("--render")) || arguments.contains(QStringLiteral("--layout"));
}

int RenderFormFile(const QStringList& arguments, std::ostream& out, std::ostream& err) {
    QString form, image, layout;
    bool renderAsked = false;
    // Without --codepage, the page the form declares, else 1252.
    std::optional<int> codePageNumber;
    std::vector<std::string> packageFiles;
    std::vector<std::string> searchFolders;
    bool installedPackages = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        auto next = [&](QString& into) {
            if (i + 1 >= arguments.size()) return false;
            into = arguments[++i];
            return true;
        };
        QString value;
        if (a == QStringLiteral("--render")) {
            renderAsked = true;
            if (!next(form)) break;
        } else if (a == QStringLiteral("--layout")) {
            if (!next(layout)) {
                err << "formwright: --layout needs a file\n" << Usage;
                return 2;
            }
        } else if (a == QStringLiteral("-o") || a == QStringLiteral("--output")) {
            if (!next(image)) break;
        } else if (a == QStringLiteral("--codepage")) {
            bool ok = false;
            if (next(value)) codePageNumber = value.toInt(&ok);
            if (!ok) {
                err << "formwright: --codepage needs a number\n" << Usage;
                return 2;
            }
        } else if (a == QStringLiteral("--package")) {
            if (!next(value)) {
                err << "formwright: --package needs a file\n" << Usage;
                return 2;
            }
            packageFiles.push_back(value.toStdString());
        } else if (a == QStringLiteral("--search-path")) {
            if (!next(value)) {
                err << "formwright: --search-path needs a folder\n" << Usage;
                return 2;
            }
            searchFolders.push_back(value.toStdString());
        } else if (a == QStringLiteral("--installed-packages")) {
            installedPackages = true;
        } else if (a.startsWith(QStringLiteral("--codepage="))) {
            bool ok = false;
            codePageNumber = a.mid(11).toInt(&ok);
            if (!ok) {
                err << "formwright: --codepage needs a number\n" << Usage;
                return 2;
            }
        } else {
            err << "formwright: unexpected argument '" << a.toStdString() << "'\n" << Usage;
            return 2;
        }
    }
    if (!renderAsked) {
        err << "formwright: --layout writes the layout of a render: it needs --render FORM -o IMAGE.png\n"
            << Usage;
        return 2;
    }
    if (form.isEmpty() || image.isEmpty()) {
        err << "formwright: --render needs a form file and -o IMAGE.png\n" << Usage;
        return 2;
    }
    if (codePageNumber && !CodePage::Find(*codePageNumber)) {
        err << "formwright: code page " << *codePageNumber << " is not supported\n";
        return 2;
    }
    const std::string path = form.toStdString();
    Bytes bytes;
    const CodePage* codePage = nullptr;
    try {
        bytes = ReadFileBytes(path);
        // Without --codepage the form's strings are in the page its fonts declare.
        codePage = CodePage::Find(codePageNumber ? *codePageNumber : DeclaredCodePageOf(bytes).CodePage);
        if (!codePage) codePage = &CodePage::Default();
        if (DetectEncoding(bytes) != FormEncoding::Text)
            bytes = ConvertForm(bytes, FormEncoding::Text, *codePage);
    } catch (const std::exception& e) {
        err << path << ": " << e.what() << '\n';
        return 2;
    }
    // The render is a run of its own: its registry, form names and look-alike rules are
    // its own, as the editor's are.
    PreviewContext context;
    // Design packages join the registry the preview builds from, as in the editor.
    std::unique_ptr<pkg::DesignPackages> packages;
    bool packageFailed = false;
    if (!packageFiles.empty() || installedPackages) {
        packages = std::make_unique<pkg::DesignPackages>(context.Registry(), pkg::UserPackageListPath());
        if (installedPackages) {
            packages->ReadPackageList();
            packageFiles.insert(packageFiles.end(), packages->PackageFiles().begin(),
                                packages->PackageFiles().end());
        }
        packages->SetPackageFiles(packageFiles);
        packages->LoadAllPackages();
        for (const std::string& entry : packages->PackageErrors()) {
            err << "formwright: package " << entry << '\n';
            packageFailed = true;
        }
    }
    VirtualDesktop desktop(context);
    desktop.resize(1280, 1024);
    // The ancestors and frames are looked for beside the form, then in the folders given.
    desktop.BuildPreview(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                         *codePage, FormSearch{path, searchFolders});
    QApplication::processEvents();
    const QImage picture = desktop.FormWindowImage();
    if (picture.isNull() || !picture.save(image, "PNG")) {
        err << image.toStdString() << ": the image could not be written\n";
        return 2;
    }
    if (!layout.isEmpty()) {
        const std::string json = LayoutJson(path, PreviewLayout(desktop), desktop.PreviewMessages());
        try {
            WriteFileAtomically(layout.toStdString(),
                                ByteSpan(reinterpret_cast<const std::uint8_t*>(json.data()), json.size()));
        } catch (const std::exception& e) {
            err << layout.toStdString() << ": the layout could not be written: " << e.what() << '\n';
            return 2;
        }
    }
    for (const std::string& message : desktop.PreviewMessages())
        out << path << ": " << message << '\n';
    return desktop.PreviewMessages().empty() && !packageFailed ? 0 : 1;
}

}  // namespace fw::preview
