#pragma once
// Live objects of the component runtime. One generic object type serves every class:
// the class's metadata says which published properties it has, and the object keeps a
// value for each, plus what components, controls, string lists, collections and
// pictures hold beyond their published properties.

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "rawvalue.h"
#include "registry.h"

namespace fw::rt {

class Object;
using ObjectPtr = std::unique_ptr<Object>;

// An event's value: the code and data of a method, and the handler's name as the form
// wrote it.
struct MethodValue {
    std::uintptr_t Code = 0;
    std::uintptr_t Data = 0;
    std::string Name;
    bool Assigned() const { return Code != 0 && Data != 0; }
};

// The value of a published property, by the representation its kind uses:
// ordinals (integers, enumerations, sets as bit masks, chars, booleans) as int64,
// floats as long double, strings as UTF-8 text, owned sub-objects, references to
// components, and methods.
using Value =
    std::variant<std::monostate, std::int64_t, long double, std::string, ObjectPtr, Object*, MethodValue>;

// A picture's content as a form stores it: the graphic's class name and its bytes, with
// the size read from the image header.
struct GraphicData {
    std::string ClassName;  // TBitmap, TIcon, TMetafile, TJPEGImage, TPngImage, ...
    std::vector<std::uint8_t> Bytes;
    int Width = 0;
    int Height = 0;
    // The image file inside Bytes, when one was recognised: some graphic classes write
    // a 4-byte size before the file, so it need not start at offset 0.
    std::string Format;  // "bmp", "ico", "cur", "png", "jpeg", "gif", "emf", "wmf"; "" when unknown
    std::size_t ImageOffset = 0;
    std::size_t ImageLength = 0;
    std::span<const std::uint8_t> Image() const {
        if (ImageOffset > Bytes.size() || ImageLength > Bytes.size() - ImageOffset) return {};
        return std::span<const std::uint8_t>(Bytes).subspan(ImageOffset, ImageLength);
    }
};

// A value a class writes itself that is more than one scalar: a list of integers
// (DesignSize, ColWidths), a list of strings (LinkInfo) or a block of bytes (an image
// list's Bitmap, tree and list view item data). One of the three is used.
struct StoredBlock {
    std::vector<std::int64_t> Integers;
    std::vector<std::string> Strings;
    std::vector<std::uint8_t> Bytes;
};

// The values a new object of a class starts with, worked out once per class: the
// initial value of every property by slot (nothing for a sub-object, which each object
// makes for itself), and the slots that hold sub-objects with their classes.
struct InitialValues {
    std::vector<Value> Values;
    std::vector<std::pair<int, const Class*>> SubObjects;
};

// Works out the initial values of a class; the registry's classes to make sub-objects
// from come from registry.
std::unique_ptr<const InitialValues> MakeInitialValues(const Class& cls, ClassRegistry& registry);

class Object {
public:
    // A new object with every property at its initial value and its owned sub-objects
    // created. The registry works out the classes of the sub-objects.
    Object(const Class& cls, ClassRegistry& registry);
    ~Object();
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    const Class& GetClass() const { return *class_; }
    std::string_view ClassName() const { return class_->Name(); }
    bool InheritsFrom(std::string_view className) const { return class_->InheritsFrom(className); }

    // Published properties.
    const Value& Get(const Property& p) const;
    void Set(const Property& p, Value value);
    std::int64_t Ordinal(const Property& p) const;
    long double Float(const Property& p) const;
    std::string String(const Property& p) const;
    // The owned sub-object or the referenced component.
    Object* ObjectValue(const Property& p) const;
    const MethodValue* Method(const Property& p) const;
    // Shortcuts by property name; nullptr or a neutral value when there is none.
    const Property* FindProperty(std::string_view name) const { return class_->FindProperty(name); }
    Object* SubObject(std::string_view propertyName) const;

    // Components: name, owner, and the components this one owns, in creation order.
    const std::string& Name() const { return name_; }
    void SetName(std::string name);
    Object* Owner() const { return owner_; }
    const std::vector<ObjectPtr>& Components() const { return components_; }
    Object* AddComponent(ObjectPtr component);
    // The first directly owned component named name, ignoring case; none for "".
    Object* FindOwnedComponent(std::string_view name) const;
    // The component's name, or the class name for an object without an owner.
    std::string NamePath() const;

    // Controls: the parent and the child controls in z-order.
    Object* Parent() const { return parent_; }
    const std::vector<Object*>& Controls() const { return controls_; }
    void SetParent(Object* parent);
    // Moves this control to an index among its parent's children.
    void SetChildPosition(int position);

    // Components that belong to another component without being controls: menu items
    // in their menu or parent item, fields in their dataset. The form's own
    // non-visual components have no parent component.
    Object* ParentComponent() const { return parentComponent_; }
    const std::vector<Object*>& ChildComponents() const { return childComponents_; }
    void SetParentComponent(Object* parent);

    // String lists.
    std::vector<std::string>& Lines() { return OwnContent().Lines; }
    const std::vector<std::string>& Lines() const { return ContentOrNone().Lines; }

    // Collections: the items, and for an item the collection holding it.
    const std::vector<ObjectPtr>& Items() const { return ContentOrNone().Items; }
    Object* AddItem();
    // Removes every item.
    void ClearItems();
    Object* Collection() const { return collection_; }
    // An item's display name: its DisplayName, Caption, Text or Name property when it
    // has one that is set, else its class name.
    std::string DisplayName() const;

    // Pictures.
    GraphicData& Graphic() { return OwnContent().Graphic; }
    const GraphicData& Graphic() const { return ContentOrNone().Graphic; }

    // Values the class writes itself rather than as published properties
    // (PixelsPerInch, TextHeight, DesignSize, ExplicitLeft, the designer position of a
    // non-visual component, ...), by the name the form uses.
    std::map<std::string, Value, std::less<>>& Stored() { return OwnContent().Stored; }
    const std::map<std::string, Value, std::less<>>& Stored() const { return ContentOrNone().Stored; }
    // The stored values that are lists or bytes, by the name the form uses.
    std::map<std::string, StoredBlock, std::less<>>& StoredBlocks() { return OwnContent().StoredBlocks; }
    const std::map<std::string, StoredBlock, std::less<>>& StoredBlocks() const {
        return ContentOrNone().StoredBlocks;
    }

    // Values the object's text stores that its class does not publish, kept as written
    // (path and typed stream value) in stream order. Only stand-ins of classes the
    // runtime does not know (CfStandIn) have them: a known class's unknown property is
    // an error the reader reports instead.
    std::vector<RawProperty>& Unpublished() { return OwnContent().Unpublished; }
    const std::vector<RawProperty>& Unpublished() const { return ContentOrNone().Unpublished; }
    // The unpublished value of that path, ignoring ASCII case; nullptr when none.
    const RawValue* FindUnpublished(std::string_view path) const { return FindRaw(Unpublished(), path); }

    // Set after the whole form was read.
    bool Loaded() const { return loaded_; }
    void SetLoaded() { loaded_ = true; }

private:
    // The owned components by name, so that finding one does not walk all of them.
    class ComponentIndex;
    void IndexComponent(Object& component);
    void UnindexComponent(const Object& component);

    // A property's value that differs from its class's initial value, or a sub-object.
    // Each value has a place of its own, so that a reference Get gave stays valid as
    // other values are set.
    struct SlotValue {
        int Slot;
        std::unique_ptr<Value> Held;
    };

    // What only some objects have: a string list's lines, a collection's items, a
    // picture, the values a class writes itself. Most objects (fonts, margins, most
    // controls) have none of it, so it is made when first asked for.
    struct Content {
        std::vector<std::string> Lines;
        std::vector<ObjectPtr> Items;
        GraphicData Graphic;
        std::map<std::string, Value, std::less<>> Stored;
        std::map<std::string, StoredBlock, std::less<>> StoredBlocks;
        std::vector<RawProperty> Unpublished;
    };
    Content& OwnContent();
    // The content, or an empty one when there is none.
    const Content& ContentOrNone() const;

    const Class* class_;
    ClassRegistry* registry_;
    std::vector<SlotValue> values_;  // by slot; the others are at their initial values
    std::string name_;
    Object* owner_ = nullptr;
    std::vector<ObjectPtr> components_;
    std::unique_ptr<ComponentIndex> componentIndex_;  // made with the first named component
    Object* parent_ = nullptr;
    std::vector<Object*> controls_;
    Object* parentComponent_ = nullptr;
    std::vector<Object*> childComponents_;
    Object* collection_ = nullptr;
    std::unique_ptr<Content> content_;
    bool loaded_ = false;
};

// Creates an object of a class; nullptr for an abstract class.
ObjectPtr CreateObject(const Class& cls, ClassRegistry& registry);

}  // namespace fw::rt
