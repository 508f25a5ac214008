#include "document/noderesolve.h"

#include <algorithm>
#include <exception>
#include <unordered_map>

#include "preview/formlines.h"
#include "preview/oirows.h"
#include "preview/render.h"
#include "runtime/builtin.h"
#include "runtime/propertylister.h"

namespace fw {

namespace {

const ObjectNode& At(const Hierarchy& hierarchy, int node) {
    return hierarchy.Nodes[static_cast<std::size_t>(node)];
}

// The object a class-typed property of owner holds, looked up as the inspector lists it.
rt::Object* PropertyObject(rt::Object& owner, const std::string& name) {
    rt::PropertyLister lister;
    lister.Inspect(&owner);
    const rt::Property* p = lister.FindProp(name);
    if (!p || p->Kind() != rt::TypeKind::tkClass) return nullptr;
    return owner.ObjectValue(*p);
}

// The live component of a Root or Component node: the form for a top-level node, else
// the one its record became, else the form's component of its name.
rt::Object* ComponentOfNode(const Hierarchy& hierarchy, int node, rt::Object* previewForm,
                            const std::vector<rt::ReadObject>* records) {
    if (!previewForm || node < 0) return nullptr;
    const ObjectNode& n = At(hierarchy, node);
    if (n.Parent < 0) return previewForm;
    if (n.Kind != NodeKind::Component) return nullptr;
    if (records && !n.Outer) {
        const int record = RecordOfNode(hierarchy, node, *records);
        if (record >= 0) return (*records)[static_cast<std::size_t>(record)].Live;
    }
    // A frame owns the objects of its file: an outer object is looked for beside its
    // parent's object first.
    if (n.Outer && !n.Name.empty()) {
        if (const rt::Object* container = ComponentOfNode(hierarchy, n.Parent, previewForm, records)) {
            if (rt::Object* found = container->FindOwnedComponent(n.Name)) return found;
            if (container->Owner())
                if (rt::Object* found = container->Owner()->FindOwnedComponent(n.Name)) return found;
        }
    }
    return previewForm->FindOwnedComponent(n.Name);
}

}  // namespace

int RecordOfNode(const Hierarchy& hierarchy, int node, const std::vector<rt::ReadObject>& records) {
    if (node < 0 || node >= hierarchy.ObjectCount() || records.empty()) return -1;
    // The chain of nodes from the top level down to the node.
    std::vector<int> chain;
    for (int at = node; at >= 0; at = At(hierarchy, at).Parent) {
        // Parents come before their children, so the walk ends.
        if (!chain.empty() && at >= chain.back()) return -1;
        chain.push_back(at);
    }
    int record = 0;
    for (auto it = chain.rbegin() + 1; it != chain.rend(); ++it) {
        int position = hierarchy.ObjectPosition(*it);
        if (position < 0) return -1;
        int found = -1;
        for (std::size_t r = static_cast<std::size_t>(record) + 1; r < records.size() && found < 0; ++r)
            if (records[r].Parent == record && position-- == 0) found = static_cast<int>(r);
        if (found < 0) return -1;
        const rt::ReadObject& candidate = records[static_cast<std::size_t>(found)];
        if (!NodeMatchesObject(At(hierarchy, *it), candidate.Name, candidate.ClassName)) return -1;
        record = found;
    }
    return record;
}

ResolvedNode ResolveNode(const Hierarchy& hierarchy, int node, rt::Object* previewForm,
                         const rt::ClassRegistry& registry, const std::vector<rt::ReadObject>* records) {
    ResolvedNode result;
    if (node < 0 || node >= hierarchy.ObjectCount()) return result;
    const ObjectNode& n = At(hierarchy, node);
    try {
        if (n.Parent < 0) {
            result.Object = previewForm;
            result.Class = previewForm ? &previewForm->GetClass() : nullptr;
        } else {
            result.Class = registry.FindClassByName(n.ClassName);
            switch (n.Kind) {
                case NodeKind::Component:
                    result.Object = ComponentOfNode(hierarchy, node, previewForm, records);
                    break;
                case NodeKind::Collection:
                    if (rt::Object* owner = ComponentOfNode(hierarchy, n.Parent, previewForm, records))
                        result.Object = PropertyObject(*owner, n.Name);
                    break;
                case NodeKind::Item: {
                    const ObjectNode& collectionNode = At(hierarchy, n.Parent);
                    if (collectionNode.Parent < 0) break;
                    rt::Object* owner =
                        ComponentOfNode(hierarchy, collectionNode.Parent, previewForm, records);
                    if (!owner) break;
                    rt::Object* collection = PropertyObject(*owner, collectionNode.Name);
                    if (!collection) break;
                    const auto& siblings = collectionNode.Children;
                    int index = -1;
                    for (std::size_t i = 0; i < siblings.size(); ++i)
                        if (siblings[i] == node) index = static_cast<int>(i);
                    if (index >= 0 && static_cast<std::size_t>(index) < collection->Items().size())
                        result.Object = collection->Items()[static_cast<std::size_t>(index)].get();
                    break;
                }
                case NodeKind::Root:
                    break;
            }
        }
    } catch (const std::exception&) {
    }
    // A stand-in's class is made while reading and is not among the registered ones;
    // the object found is then the answer, as for any other.
    if (!result.Class && result.Object && result.Object->GetClass().Has(rt::CfStandIn))
        result.Class = &result.Object->GetClass();
    if (!result.Class) result.Object = nullptr;
    return result;
}

std::vector<std::string> NodeSourceLines(const Hierarchy& hierarchy, int node,
                                         const std::vector<std::string_view>& lines) {
    if (node < 0 || node >= hierarchy.ObjectCount()) return {};
    const ObjectNode& n = At(hierarchy, node);
    if (n.Kind != NodeKind::Root && n.Kind != NodeKind::Component) return {};
    // The text writes nothing of an outer object, though it may hold an object of the
    // same name elsewhere.
    if (n.Outer) return {};
    if (n.Line >= 0 && static_cast<std::size_t>(n.Line) < lines.size()) {
        const std::string_view trimmed = preview::TrimBlanks(lines[static_cast<std::size_t>(n.Line)]);
        bool objectLine = false;
        const std::string_view name = preview::ObjectLineName(trimmed, objectLine);
        if (objectLine && rt::EqualsIgnoringCase(name, n.Name) &&
            trimmed.find(n.ClassName) != std::string_view::npos) {
            // The object's own lines end at the next object line: only those are copied.
            std::vector<std::string> own{std::string(lines[static_cast<std::size_t>(n.Line)])};
            for (std::size_t i = static_cast<std::size_t>(n.Line) + 1; i < lines.size(); ++i) {
                own.emplace_back(lines[i]);
                bool next = false;
                preview::ObjectLineName(preview::TrimBlanks(lines[i]), next);
                if (next) break;
            }
            return preview::CollectObjectLines(own, 0);
        }
    }
    return preview::CollectSourceLines(std::vector<std::string>(lines.begin(), lines.end()), n.Name);
}

void AddObjectsFromOtherFiles(Hierarchy& hierarchy, const rt::Object& root, const rt::BuildOrigins& origins,
                              const std::vector<rt::ReadObject>& records) {
    if (origins.Objects.empty() || hierarchy.Nodes.empty()) return;
    auto fileName = [&](int file) {
        return file > 0 && static_cast<std::size_t>(file) < origins.Files.size()
                   ? origins.Files[static_cast<std::size_t>(file)]
                   : std::string();
    };
    std::unordered_map<const rt::Object*, int> nodeOf;
    nodeOf[&root] = 0;
    const int textNodes = hierarchy.ObjectCount();
    for (int node = 1; node < textNodes; ++node) {
        ObjectNode& n = hierarchy.Nodes[static_cast<std::size_t>(node)];
        if (n.Kind != NodeKind::Component || n.Outer) continue;
        const int record = RecordOfNode(hierarchy, node, records);
        const rt::Object* live = record >= 0 ? records[static_cast<std::size_t>(record)].Live : nullptr;
        if (!live) continue;
        nodeOf[live] = node;
        n.SourceFile = fileName(origins.FileOf(*live));
    }
    hierarchy.Nodes[0].SourceFile = fileName(origins.FileOf(root));
    // Where the next outer child of a node goes among its children.
    std::unordered_map<int, std::size_t> nextSlot;
    for (const preview::OuterObject& outer : preview::ObjectsFromOtherFiles(root, origins, records)) {
        const auto parent = nodeOf.find(outer.Container);
        if (parent == nodeOf.end()) continue;
        ObjectNode node;
        node.Name = outer.Object->Name();
        node.ClassName = std::string(outer.Object->ClassName());
        node.Kind = NodeKind::Component;
        node.ImageIndex = outer.Object->GetClass().Has(rt::CfControl) ? ImageControl : ImageComponent;
        node.Parent = parent->second;
        node.Line = -1;
        node.SourceFile = fileName(outer.File);
        node.Outer = true;
        const int index = hierarchy.ObjectCount();
        auto& siblings = hierarchy.Nodes[static_cast<std::size_t>(parent->second)].Children;
        std::size_t& slot = nextSlot[parent->second];
        siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(std::min(slot, siblings.size())),
                        index);
        ++slot;
        hierarchy.Nodes.push_back(std::move(node));
        nodeOf[outer.Object] = index;
    }
}

}  // namespace fw
