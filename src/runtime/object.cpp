#include "object.h"

#include <algorithm>
#include <utility>

namespace fw::rt {

namespace {

const Value& NoValue() {
    static const Value none;
    return none;
}

// The initial value of a property that is not an owned sub-object, as its class sets it.
Value InitialValue(const Property& p) {
    const PropInfo& info = *p.Info;
    if (info.Holding == PropHolding::Reference) return Value(static_cast<Object*>(nullptr));
    switch (info.Default.Which) {
        case DefaultValue::Kind::Ordinal:
            return Value(info.Default.Ordinal);
        case DefaultValue::Kind::Float:
            return Value(static_cast<long double>(info.Default.Float));
        case DefaultValue::Kind::Text:
            return Value(std::string(info.Default.Text));
        case DefaultValue::Kind::None:
            break;
    }
    switch (info.Type->Kind) {
        case TypeKind::tkInteger:
        case TypeKind::tkChar:
        case TypeKind::tkEnumeration:
        case TypeKind::tkSet:
        case TypeKind::tkWChar:
        case TypeKind::tkInt64:
            return Value(std::int64_t{0});
        case TypeKind::tkFloat:
            return Value(0.0L);
        case TypeKind::tkString:
        case TypeKind::tkLString:
        case TypeKind::tkWString:
        case TypeKind::tkVariant:
            return Value(std::string());
        case TypeKind::tkMethod:
            return Value(MethodValue{});
        default:
            return Value();
    }
}

}  // namespace

std::unique_ptr<const InitialValues> MakeInitialValues(const Class& cls, ClassRegistry& registry) {
    auto initial = std::make_unique<InitialValues>();
    initial->Values.reserve(cls.Slots().size());
    for (const Property& p : cls.Slots()) {
        const PropInfo& info = *p.Info;
        if (info.Holding == PropHolding::Owned && info.Type->ClassType) {
            // Until the object has made it (an abstract class makes none), there is none.
            initial->Values.emplace_back();
            initial->SubObjects.emplace_back(p.Slot, &registry.Of(*info.Type->ClassType));
        } else {
            initial->Values.push_back(InitialValue(p));
        }
    }
    return initial;
}

Object::Object(const Class& cls, ClassRegistry& registry) : class_(&cls), registry_(&registry) {
    const auto& subObjects = cls.Initial().SubObjects;
    values_.reserve(subObjects.size());
    for (const auto& [slot, subClass] : subObjects)
        if (ObjectPtr sub = CreateObject(*subClass, registry))
            values_.push_back({slot, std::make_unique<Value>(std::move(sub))});
}

Object::~Object() {
    // Children must not point back at a parent that is gone, nor a parent at children.
    if (parent_) {
        auto& siblings = parent_->controls_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    for (Object* child : controls_)
        child->parent_ = nullptr;
    if (parentComponent_) {
        auto& siblings = parentComponent_->childComponents_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    for (Object* child : childComponents_)
        child->parentComponent_ = nullptr;
}

ObjectPtr CreateObject(const Class& cls, ClassRegistry& registry) {
    if (cls.Has(CfAbstract)) return nullptr;
    return std::make_unique<Object>(cls, registry);
}

const Value& Object::Get(const Property& p) const {
    const std::vector<Value>& initial = class_->Initial().Values;
    if (p.Slot < 0 || static_cast<std::size_t>(p.Slot) >= initial.size()) return NoValue();
    const auto it = std::lower_bound(values_.begin(), values_.end(), p.Slot,
                                     [](const SlotValue& v, int slot) { return v.Slot < slot; });
    if (it != values_.end() && it->Slot == p.Slot) return *it->Held;
    return initial[static_cast<std::size_t>(p.Slot)];
}

void Object::Set(const Property& p, Value value) {
    if (p.Slot < 0 || static_cast<std::size_t>(p.Slot) >= class_->Initial().Values.size()) return;
    const auto it = std::lower_bound(values_.begin(), values_.end(), p.Slot,
                                     [](const SlotValue& v, int slot) { return v.Slot < slot; });
    if (it != values_.end() && it->Slot == p.Slot)
        *it->Held = std::move(value);
    else
        values_.insert(it, {p.Slot, std::make_unique<Value>(std::move(value))});
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

const MethodValue* Object::Method(const Property& p) const {
    return std::get_if<MethodValue>(&Get(p));
}

Object* Object::SubObject(std::string_view propertyName) const {
    const Property* p = FindProperty(propertyName);
    return p ? ObjectValue(*p) : nullptr;
}

// An open-addressing table of an owner's named components, by the hash of their names
// ignoring case. Each entry keeps the hash, so that probing compares hashes and looks
// at a component's name only when they agree.
class Object::ComponentIndex {
public:
    void Add(Object& component, std::size_t hash) {
        if ((count_ + 1) * 4 > entries_.size() * 3) Grow();
        Place({hash, &component});
        ++count_;
    }

    void Remove(const Object& component, std::size_t hash) {
        const std::size_t mask = entries_.size() - 1;
        std::size_t i = hash & mask;
        while (entries_[i].Component && entries_[i].Component != &component)
            i = (i + 1) & mask;
        if (!entries_[i].Component) return;
        // Entries further along the run move back into the gap when the gap lies
        // between their own place and where they are, so that no probe stops early.
        for (std::size_t j = (i + 1) & mask; entries_[j].Component; j = (j + 1) & mask) {
            const std::size_t home = entries_[j].Hash & mask;
            if (((j - home) & mask) >= ((j - i) & mask)) {
                entries_[i] = entries_[j];
                i = j;
            }
        }
        entries_[i] = {};
        --count_;
    }

    // The component named name, with whether another one has the name too.
    std::pair<Object*, bool> Find(std::string_view name, std::size_t hash) const {
        if (entries_.empty()) return {nullptr, false};
        const std::size_t mask = entries_.size() - 1;
        Object* found = nullptr;
        for (std::size_t i = hash & mask; entries_[i].Component; i = (i + 1) & mask) {
            const Entry& e = entries_[i];
            if (e.Hash != hash || !EqualsIgnoringCase(e.Component->name_, name)) continue;
            if (found) return {found, true};
            found = e.Component;
        }
        return {found, false};
    }

private:
    struct Entry {
        std::size_t Hash = 0;
        Object* Component = nullptr;  // none: a free entry
    };

    void Place(Entry entry) {
        const std::size_t mask = entries_.size() - 1;
        std::size_t i = entry.Hash & mask;
        while (entries_[i].Component)
            i = (i + 1) & mask;
        entries_[i] = entry;
    }

    void Grow() {
        const std::size_t size = entries_.empty() ? 8 : 2 * entries_.size();
        const std::vector<Entry> old = std::exchange(entries_, std::vector<Entry>(size));
        for (const Entry& e : old)
            if (e.Component) Place(e);
    }

    std::vector<Entry> entries_;  // a power of two of them, never more than three quarters used
    std::size_t count_ = 0;
};

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
    componentIndex_->Add(component, HashIgnoringCase(component.name_));
}

void Object::UnindexComponent(const Object& component) {
    if (component.name_.empty() || !componentIndex_) return;
    componentIndex_->Remove(component, HashIgnoringCase(component.name_));
}

Object* Object::FindOwnedComponent(std::string_view name) const {
    if (name.empty() || !componentIndex_) return nullptr;
    const auto [found, shared] = componentIndex_->Find(name, HashIgnoringCase(name));
    if (!shared) return found;
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

Object::Content& Object::OwnContent() {
    if (!content_) content_ = std::make_unique<Content>();
    return *content_;
}

const Object::Content& Object::ContentOrNone() const {
    static const Content none;
    return content_ ? *content_ : none;
}

void Object::ClearItems() {
    if (content_) content_->Items.clear();
}

Object* Object::AddItem() {
    const Class* itemClass = class_->ItemClass();
    if (!itemClass) return nullptr;
    ObjectPtr item = CreateObject(*itemClass, *registry_);
    if (!item) return nullptr;
    item->collection_ = this;
    std::vector<ObjectPtr>& items = OwnContent().Items;
    items.push_back(std::move(item));
    return items.back().get();
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
