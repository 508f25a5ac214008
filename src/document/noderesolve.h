#pragma once
// Which live object of the preview a node of the object tree stands for. Nodes hold no
// live objects: components are found by name among the preview form's components, a
// collection as its owner's property value, an item by its index in the collection.

#include "document/objectscan.h"
#include "runtime/object.h"
#include "runtime/registry.h"

namespace fw {

struct ResolvedNode {
    rt::Object* Object = nullptr;      // the live object, or nullptr for the text-only view
    const rt::Class* Class = nullptr;  // the registered class of the node's class name
};

// Resolves a node of hierarchy against the preview form (nullptr before the first
// build):
// - a top-level node is the preview form itself, of class TForm (no class before the
//   first build);
// - else the class is the registered class of the node's ClassName, and the object, by
//   the node's kind: a component of that name, a collection as the named property of
//   its owner component, an item by its index among its siblings; a root below the top
//   level resolves to no object.
// Without a registered class there is no object either. Never throws: a step that fails
// leaves what was reached before it.
ResolvedNode ResolveNode(const Hierarchy& hierarchy, int node, rt::Object* previewForm,
                         const rt::ClassRegistry& registry);

}  // namespace fw
