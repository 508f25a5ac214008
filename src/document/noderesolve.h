#pragma once
// Which live object of the preview a node of the object tree stands for, and which lines
// of the text are its own. Nodes hold no live objects: components are found by their
// place among the object records the preview read (by name when that place does not
// hold them), a collection as its owner's property value, an item by its index in the
// collection.

#include <string>
#include <string_view>
#include <vector>

#include "document/objectscan.h"
#include "runtime/object.h"
#include "runtime/reader.h"
#include "runtime/registry.h"
#include "runtime/wholeform.h"

namespace fw {

struct ResolvedNode {
    rt::Object* Object = nullptr;      // the live object, or nullptr for the text-only view
    const rt::Class* Class = nullptr;  // the registered class of the node's class name
};

// The entry of records (the object records of the preview's read, ReadSummary::Objects)
// that a Root or Component node stands for, or -1. A top-level node is the root record;
// a node below it is the record at the node's position among the object nodes of its
// parent, taken from the records inside the parent's record. The place must agree with
// the node: the same name ignoring ASCII case, and for an unnamed node the same class.
int RecordOfNode(const Hierarchy& hierarchy, int node, const std::vector<rt::ReadObject>& records);

// Resolves a node of hierarchy against the preview form (nullptr before the first
// build), with the object records of the read that built it when known:
// - a top-level node is the preview form itself, of class TForm (no class before the
//   first build);
// - else the class is the registered class of the node's ClassName, and the object, by
//   the node's kind: a component by its record (RecordOfNode), an outer node's by its
//   name among the components owned by its parent's object, that object's owner (a
//   frame) or the form; else, when it has a name, the form's component of that name; a collection as the
//   named property of its owner component, found the same way; an item by its index among its siblings; a
//   root below the top level resolves to no object.
// Without a registered class there is no object either. Never throws: a step that fails
// leaves what was reached before it.
ResolvedNode ResolveNode(const Hierarchy& hierarchy, int node, rt::Object* previewForm,
                         const rt::ClassRegistry& registry,
                         const std::vector<rt::ReadObject>* records = nullptr);

// The lines the text writes inside the object of a Root or Component node, as the
// inspector looks its values up (preview::CollectObjectLines): those of the node's own
// line while that line still opens the node's object; once the text has changed there,
// those of every object of the node's name. None for a collection or an item node, and
// for an unnamed node whose line has moved.
std::vector<std::string> NodeSourceLines(const Hierarchy& hierarchy, int node,
                                         const std::vector<std::string_view>& lines);

// For a form built whole from several files (root, with the records of its own text
// and the origins of the build): marks each object node of the text whose object an
// ancestor's or a frame's file created with that file, and adds an outer node for each
// object that only such a file writes, under the node of the object it is written in,
// before the text's own children there (the files are read before the text). Objects
// whose container has no node are left out. Nothing changes without origins.
void AddObjectsFromOtherFiles(Hierarchy& hierarchy, const rt::Object& root, const rt::BuildOrigins& origins,
                              const std::vector<rt::ReadObject>& records);

}  // namespace fw
