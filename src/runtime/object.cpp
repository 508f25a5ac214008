#include "object.h"

#include <algorithm>
#include <iterator>

namespace fw::rt {

namespace {

const Value& NoValue() {
    static const Value none;
    return none;
}

// The initial value of a property as its class sets it.
Value InitialValue(const Property& p, ClassRegistry& registry, Object* owner) {
    const PropInfo& info = *p.Info;
    if (info.Holding == PropHolding::Owned && info.Type->ClassType) {
        const Class& cls = registry.Of(*info.Type->ClassType);
        ObjectPtr sub = CreateObject(cls, registry);
        (void)owner;
        return sub ? Value(std::move(sub)) : Value();
    }
    if (info.Holding == PropHolding::Reference) return Value(static_cast<Object*>(nullptr));
    switch (info.Default.Which) {
        case DefaultValue::Kind::Ordinal: return Value(info.Default.Ordinal);
        case DefaultValue::Kind::Float: return Value(static_cast<long double>(info.Default.Float));
        case DefaultValue::Kind::Text: return Value(std::string(info.Default.Text));
        case DefaultValue::Kind::None: break;
    }
    switch (info.Type->Kind) {
        case TypeKind::tkInteger:
        case TypeKind::tkChar:
        case TypeKind::tkEnumeration:
        case TypeKind::tkSet:
        case TypeKind::tkWChar:
        case TypeKind::tkInt64: return Value(std::int64_t{0});
        case TypeKind::tkFloat: return Value(0.0L);
        case TypeKind::tkString:
        case TypeKind::tkLString:
        case TypeKind::tkWString:
        case TypeKind::tkVariant: return Value(std::string());
        case TypeKind::tkMethod: return Value(MethodValue{});
        default: return Value();
    }
}

}  // namespace

Object::Object(const Class& cls, ClassRegistry& registry) : class_(&cls), registry_(&registry) {
    values_.reserve(cls.Slots().size());
    for (const Property& p : cls.Slots()) values_.push_back(InitialValue(p, registry, this));
}

Object::~Object() {
    // Children must not point back at a parent that is gone, nor a parent at children.
    if (parent_) {
        auto& siblings = parent_->controls_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    for (Object* child : controls_) child->parent_ = nullptr;
    if (parentComponent_) {
        auto& siblings = parentComponent_->childComponents_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    for (Object* child : childComponents_) child->parentComponent_ = nullptr;
}

ObjectPtr CreateObject(const Class& cls, ClassRegistry& registry) {
    if (cls.Has(CfAbstract)) return nullptr;
    return std::make_unique<Object>(cls, registry);
}

const Value& Object::Get(const Property& p) const {
    const auto slot = static_cast<std::size_t>(p.Slot);
    return slot < values_.size() ? values_[slot] : NoValue();
}

void Object::Set(const Property& p, Value value) {
    const auto slot = static_cast<std::size_t>(p.Slot);
    if (slot < values_.size()) values_[slot] = std::move(value);
}

std::int64_t Object::Ordinal(const Property& p) const {
    const Value& v = Get(p);
    if (const auto* i = std::get_if<std::int64_t>(&v)) return *i;
    return 0;
}

long double Object::Float(const Property& p) const {
    const Value& v = Get(p);
    if (const auto* f = std::get_if<long double>(&v)) return *f;
    if (const auto* i = std::get_if<std::int64_t>(&v)) return static_cast<long double>(*i);
    return 0;
}

std::string Object::String(const Property& p) const {
    const Value& v = Get(p);
    if (const auto* s = std::get_if<std::string>(&v)) return *s;
    return {};
}

Object* Object::ObjectValue(const Property& p) const {
    const Value& v = Get(p);
    if (const auto* owned = std::get_if<ObjectPtr>(&v)) return owned->get();
    if (const auto* ref = std::get_if<Object*>(&v)) return *ref;
    return nullptr;
}

const MethodValue* Object::Method(const Property& p) const { return std::get_if<MethodValue>(&Get(p)); }

Object* Object::SubObject(std::string_view propertyName) const {
    const Property* p = FindProperty(propertyName);
    return p ? ObjectValue(*p) : nullptr;
}

Object* Object::AddComponent(ObjectPtr component) {
    Object* added = component.get();
    added->owner_ = this;
    components_.push_back(std::move(component));
    IndexComponent(*added);
    return added;
}

void Object::SetName(std::string name) {
    if (owner_) owner_->UnindexComponent(*this);
    name_ = std::move(name);
    if (owner_) owner_->IndexComponent(*this);
}

void Object::IndexComponent(Object& component) {
    if (component.name_.empty()) return;
    if (!componentIndex_) componentIndex_ = std::make_unique<ComponentIndex>();
    componentIndex_->emplace(component.name_, &component);
}

void Object::UnindexComponent(const Object& component) {
    if (component.name_.empty() || !componentIndex_) return;
    const auto [first, last] = componentIndex_->equal_range(component.name_);
    const auto it = std::find_if(first, last, [&](const auto& entry) { return entry.second == &component; });
    if (it != last) componentIndex_->erase(it);
}

Object* Object::FindOwnedComponent(std::string_view name) const {
    if (name.empty() || !componentIndex_) return nullptr;
    const auto [first, last] = componentIndex_->equal_range(name);
    if (first == last) return nullptr;
    if (std::next(first) == last) return first->second;
    // Several have the name: the first one made, which the index does not know.
    for (const auto& c : components_)
        if (EqualsIgnoringCase(c->name_, name)) return c.get();
    return nullptr;
}

std::string Object::NamePath() const {
    if (!owner_) return std::string(ClassName());
    return name_;
}

void Object::SetParent(Object* parent) {
    if (parent_ == parent) return;
    if (parent_) {
        auto& siblings = parent_->controls_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    parent_ = parent;
    if (parent_) parent_->controls_.push_back(this);
}

void Object::SetChildPosition(int position) {
    if (!parent_ || position < 0) return;
    auto& siblings = parent_->controls_;
    auto it = std::find(siblings.begin(), siblings.end(), this);
    if (it == siblings.end()) return;
    siblings.erase(it);
    const auto at = std::min(static_cast<std::size_t>(position), siblings.size());
    siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(at), this);
}

void Object::SetParentComponent(Object* parent) {
    if (parentComponent_ == parent || parent == this) return;
    if (parentComponent_) {
        auto& siblings = parentComponent_->childComponents_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    parentComponent_ = parent;
    if (parentComponent_) parentComponent_->childComponents_.push_back(this);
}

void Object::ClearItems() { items_.clear(); }

Object* Object::AddItem() {
    const Class* itemClass = class_->ItemClass();
    if (!itemClass) return nullptr;
    ObjectPtr item = CreateObject(*itemClass, *registry_);
    if (!item) return nullptr;
    item->collection_ = this;
    items_.push_back(std::move(item));
    return items_.back().get();
}

std::string Object::DisplayName() const {
    for (const char* name : {"DisplayName", "Caption", "Text", "FieldName", "Name"}) {
        if (const Property* p = FindProperty(name)) {
            std::string s = String(*p);
            if (!s.empty()) return s;
        }
    }
    return std::string(ClassName());
}

}  // namespace fw::rt
