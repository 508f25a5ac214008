#include "preview/instrument.h"
#include "runtime/registry.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "runtime/propertylister.h"

namespace fw::preview {

namespace {

// Components owned by components owned by ... are bounded by the reader's nesting
// limit already; this bound keeps a hand-made cycle from recursing for ever.
constexpr int MaxDepth = 1000;

using rt::EqualsIgnoringCase;

bool Has(const rt::PropertyLister& lister, std::string_view name) {
    const auto& names = lister.PropNames();
    return std::any_of(names.begin(), names.end(),
                       [&](const std::string& n) { return EqualsIgnoringCase(n, name); });
}

std::int64_t Int(const rt::Object& o, std::string_view name) {
    const rt::Property* p = o.FindProperty(name);
    return p ? o.Ordinal(*p) : 0;
}

rt::MethodValue Hook(std::string_view name) {
    // The code and data only need to be non-zero for the value to count as assigned;
    // nothing is ever called through them.
    return rt::MethodValue{1, 1, std::string(name)};
}

void Instrument(rt::Object& owner, int depth) {
    if (depth >= MaxDepth) return;
    for (const rt::ObjectPtr& component : owner.Components()) {
        rt::Object& c = *component;
        if (!c.InheritsFrom("TControl")) continue;
        rt::PropertyLister lister;
        lister.Inspect(&c);
        if (Has(lister, "OnClick"))
            lister.SetMethodPropByName("OnClick", Hook(ObjectEnterHook));
        else if (Has(lister, "OnDblClick"))
            lister.SetMethodPropByName("OnDblClick", Hook(ObjectEnterHook));
        if (Has(lister, "OnMouseMove")) lister.SetMethodPropByName("OnMouseMove", Hook(ObjectMouseMoveHook));
        lister.SetPropFromLines("ShowHint", {"True"});
        lister.SetStrPropByName("Hint", c.Name() + ": " + std::string(c.ClassName()) +
                                            "\r\nOrigin: " + std::to_string(Int(c, "Left")) + ", " +
                                            std::to_string(Int(c, "Top")) +
                                            "\r\nSize: " + std::to_string(Int(c, "Width")) + " x " +
                                            std::to_string(Int(c, "Height")));
        lister.SetPropFromLines("Enabled", {"True"});
        if (!c.Components().empty()) Instrument(c, depth + 1);
    }
}

}  // namespace

void InstrumentControls(rt::Object& owner) {
    Instrument(owner, 0);
}

std::string FormHint(const rt::Object& form) {
    return form.Name() + ": " + std::string(form.ClassName()) +
           "\r\nOrigin: " + std::to_string(Int(form, "Left")) + ", " + std::to_string(Int(form, "Top")) +
           "; Size: " + std::to_string(Int(form, "Width")) + " x " + std::to_string(Int(form, "Height"));
}

bool HasHook(const rt::Object& control, std::string_view event, std::string_view hook) {
    const rt::Property* p = control.FindProperty(event);
    if (!p || p->Kind() != rt::TypeKind::tkMethod) return false;
    const rt::MethodValue* m = control.Method(*p);
    return m && m->Assigned() && m->Name == hook;
}

}  // namespace fw::preview
