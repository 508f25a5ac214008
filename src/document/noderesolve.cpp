#include "document/noderesolve.h"

#include <exception>

#include "runtime/builtin.h"
#include "runtime/propertylister.h"

namespace fw {

namespace {

// The object a class-typed property of owner holds, looked up as the inspector lists it.
rt::Object* PropertyObject(rt::Object& owner, const std::string& name) {
    rt::TMObjectInspector moi;
    moi.Inspect(&owner);
    const rt::Property* p = moi.FindProp(name);
    if (!p || p->Kind() != rt::TypeKind::tkClass) return nullptr;
    return owner.ObjectValue(*p);
}

}  // namespace

ResolvedNode ResolveNode(const Hierarchy& hierarchy, int node, rt::Object* previewForm,
                         const rt::ClassRegistry& registry) {
    ResolvedNode result;
    if (node < 0 || node >= hierarchy.ObjectCount()) return result;
    const auto at = [&](int i) -> const ObjectNode& { return hierarchy.Nodes[static_cast<std::size_t>(i)]; };
    const ObjectNode& n = at(node);
    try {
        if (n.Parent < 0) {
            result.Object = previewForm;
            result.Class = previewForm ? &previewForm->GetClass() : nullptr;
        } else {
            result.Class = registry.FindClassByName(n.ClassName);
            switch (n.Kind) {
                case NodeKind::Component:
                    if (previewForm) result.Object = previewForm->FindOwnedComponent(n.Name);
                    break;
                case NodeKind::Collection:
                    if (previewForm)
                        if (rt::Object* owner = previewForm->FindOwnedComponent(at(n.Parent).Name))
                            result.Object = PropertyObject(*owner, n.Name);
                    break;
                case NodeKind::Item: {
                    const ObjectNode& collectionNode = at(n.Parent);
                    if (!previewForm || collectionNode.Parent < 0) break;
                    rt::Object* owner = previewForm->FindOwnedComponent(at(collectionNode.Parent).Name);
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
    if (!result.Class) result.Object = nullptr;
    return result;
}

}  // namespace fw
