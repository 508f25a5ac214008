#include "registry.h"

#include <algorithm>

#include "builtin.h"
#include "dynamicclasses.h"
#include "family_core.h"
#include "object.h"

namespace fw::rt {

namespace {

// What a visual stand-in publishes: the properties nearly every control has, so that
// its stored geometry, alignment, anchors, constraints, margins, visibility and font
// are typed values that layout and drawing read as for any control. The rest of what
// its text stores stays raw.
constexpr std::span<const PropInfo> StandInControlGroups[] = {grp::ControlProps, grp::WinControlProps};

}  // namespace

Class::Class(const ClassInfo& info, const Class* parent)
    : info_(info), parent_(parent), flags_(info.Flags | (parent ? parent->flags_ : 0)) {
    if (parent) slots_ = parent->slots_;
    for (const auto& group : info.Published) {
        for (const PropInfo& p : group) {
            auto same = std::find_if(slots_.begin(), slots_.end(),
                                     [&](const Property& q) { return EqualsIgnoringCase(q.Name(), p.Name); });
            if (same != slots_.end()) {
                // Listed again: same slot, this class's initial value.
                same->Info = &p;
                same->DeclaredBy = &info;
            } else {
                slots_.push_back(Property{&p, static_cast<int>(slots_.size()), &info});
            }
        }
    }
    sorted_ = slots_;
    std::stable_sort(sorted_.begin(), sorted_.end(), [](const Property& a, const Property& b) {
        return LessIgnoringCase(a.Name(), b.Name());
    });
}

Class::~Class() = default;

void Class::SetInitial(std::unique_ptr<const InitialValues> initial) {
    initial_ = std::move(initial);
}

bool Class::InheritsFrom(std::string_view className) const {
    for (const Class* c = this; c; c = c->parent_)
        if (EqualsIgnoringCase(c->Name(), className)) return true;
    return false;
}

bool Class::DescendsFrom(std::string_view className) const {
    return parent_ && parent_->InheritsFrom(className);
}

const Property* Class::FindProperty(std::string_view name) const {
    auto it =
        std::lower_bound(sorted_.begin(), sorted_.end(), name,
                         [](const Property& p, std::string_view n) { return LessIgnoringCase(p.Name(), n); });
    if (it != sorted_.end() && EqualsIgnoringCase(it->Name(), name)) return &*it;
    return nullptr;
}

int Class::OwnPropertyCount() const {
    int n = 0;
    for (const auto& group : info_.Published)
        n += static_cast<int>(group.size());
    return n;
}

ClassRegistry::ClassRegistry() = default;
ClassRegistry::~ClassRegistry() = default;

std::string ClassRegistry::Key(std::string_view name) {
    return AsciiUpper(name);
}

const Class& ClassRegistry::Of(const ClassInfo& info) {
    auto it = known_.find(&info);
    if (it != known_.end()) return *it->second;
    const Class* parent = info.Parent ? &Of(*info.Parent) : nullptr;
    auto made = std::make_unique<Class>(info, parent);
    Class& result = *made;
    known_.emplace(&info, std::move(made));
    if (info.ItemClass) result.SetItemClass(&Of(*info.ItemClass));
    result.SetInitial(MakeInitialValues(result, *this));
    return result;
}

const Class* ClassRegistry::FindClassByName(std::string_view name) const {
    auto it = registered_.find(Key(name));
    return it == registered_.end() ? nullptr : it->second;
}

void ClassRegistry::RegisterClassChain(const ClassInfo& info) {
    for (const ClassInfo* c = &info; c; c = c->Parent) {
        const Class& cls = Of(*c);
        auto it = registered_.find(Key(c->Name));
        if (it != registered_.end()) {
            if (&it->second->Info() == c) return;  // already there: so is the rest of the chain
            throw EClassError("A class named " + std::string(c->Name) + " already exists");
        }
        registered_.emplace(Key(c->Name), &cls);
        if (EqualsIgnoringCase(c->Name, "TPersistent")) return;
    }
}

bool ClassRegistry::RegisterIfAbsent(const ClassInfo& info) {
    if (FindClassByName(info.Name)) return false;
    RegisterClassChain(info);
    return true;
}

void ClassRegistry::UnregisterModule(std::string_view module) {
    if (module.empty()) return;
    for (auto it = registered_.begin(); it != registered_.end();) {
        if (it->second->Info().Module == module)
            it = registered_.erase(it);
        else
            ++it;
    }
}

const Class& ClassRegistry::StandInClass(std::string_view name, bool visual, const Class* look) {
    // A look must be a control that is registered here; anything else is no look.
    if (!visual || (look && (!look->Has(CfControl) || look->Has(CfStandIn)))) look = nullptr;
    const std::string key =
        (visual ? "V:" : "N:") + (look ? Key(look->Name()) : std::string()) + ":" + Key(name);
    auto it = standInClasses_.find(key);
    if (it != standInClasses_.end()) return *it->second;
    if (!standIns_) {
        standIns_ = std::make_shared<DynamicClassSet>("(stand-ins)");
        Retain(standIns_);
    }
    ClassInfo& info = standIns_->NewClass();
    info.Name = standIns_->Keep(name);
    info.Parent = look ? &look->Info() : visual ? &cls::TCustomControl : &cls::TComponent;
    info.Unit = "";
    info.Flags |= CfStandIn;
    if (visual && !look) info.Published = StandInControlGroups;
    const Class& cls = Of(info);
    standInClasses_.emplace(key, &cls);
    return cls;
}

void ClassRegistry::Retain(std::shared_ptr<const void> metadata) {
    if (metadata) retained_.push_back(std::move(metadata));
}

std::vector<const Class*> ClassRegistry::RegisteredClasses() const {
    std::vector<const Class*> out;
    out.reserve(registered_.size());
    for (const auto& [key, cls] : registered_)
        out.push_back(cls);
    return out;
}

std::unique_ptr<ClassRegistry> MakeBuiltinRegistry() {
    auto registry = std::make_unique<ClassRegistry>();
    for (const ClassInfo* info : BuiltinClasses())
        registry->RegisterClassChain(*info);
    for (const ClassInfo* info : CompanionClasses())
        registry->RegisterIfAbsent(*info);
    return registry;
}

}  // namespace fw::rt
