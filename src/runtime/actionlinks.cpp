#include "actionlinks.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "registry.h"

namespace fw::rt {

namespace {

// The properties an action link carries from the action to its client.
constexpr std::array<std::string_view, 6> LinkedProperties = {"Caption", "Hint",    "ImageIndex",
                                                              "Enabled", "Checked", "Visible"};

// Deeper ownership than this is not followed; a form's components own few levels.
constexpr int MaxOwnerDepth = 64;

// The action's value of a property, of the kind the client's property holds (string,
// or ordinal for integers and booleans); none when the action has no such value.
std::optional<Value> ActionValue(const Object& action, std::string_view name, const Value& like) {
    if (const Property* p = action.FindProperty(name)) {
        const Value& value = action.Get(*p);
        if (value.index() != like.index()) return std::nullopt;
        if (const std::string* text = std::get_if<std::string>(&value)) return Value(*text);
        if (const std::int64_t* ordinal = std::get_if<std::int64_t>(&value)) return Value(*ordinal);
        return std::nullopt;
    }
    // An action of a class the runtime does not know: its values as written.
    const RawValue* raw = action.FindUnpublished(name);
    if (!raw) return std::nullopt;
    if (std::holds_alternative<std::string>(like) && raw->Type == RawValue::Kind::String)
        return Value(raw->Text);
    if (std::holds_alternative<std::int64_t>(like)) {
        if (raw->Type == RawValue::Kind::Integer) return Value(raw->Integer);
        if (raw->Type == RawValue::Kind::Identifier) {
            if (EqualsIgnoringCase(raw->Text, "True")) return Value(std::int64_t{1});
            if (EqualsIgnoringCase(raw->Text, "False")) return Value(std::int64_t{0});
        }
    }
    return std::nullopt;
}

// Whether the client keeps its own value: one that differs from the default, and for a
// control's Caption one that is not the control's name either.
bool KeepsOwnValue(const Object& client, const Property& p) {
    const Value& own = client.Get(p);
    const std::vector<Value>& initial = client.GetClass().Initial().Values;
    if (static_cast<std::size_t>(p.Slot) >= initial.size()) return true;
    const Value& fallback = initial[static_cast<std::size_t>(p.Slot)];
    if (own.index() != fallback.index()) return true;
    if (const std::string* text = std::get_if<std::string>(&own);
        text && *text == std::get<std::string>(fallback))
        return false;
    if (const std::int64_t* ordinal = std::get_if<std::int64_t>(&own);
        ordinal && *ordinal == std::get<std::int64_t>(fallback))
        return false;
    if (p.Name() == "Caption" && client.InheritsFrom("TControl")) {
        const std::string* text = std::get_if<std::string>(&own);
        if (text && *text == client.Name()) return false;
    }
    return true;
}

void LinkToAction(Object& client) {
    const Property* link = client.FindProperty("Action");
    if (!link) return;
    const Object* action = client.ObjectValue(*link);
    if (!action || action == &client) return;
    for (const std::string_view name : LinkedProperties) {
        const Property* p = client.FindProperty(name);
        if (!p || KeepsOwnValue(client, *p)) continue;
        const Value& own = client.Get(*p);
        if (!std::holds_alternative<std::string>(own) && !std::holds_alternative<std::int64_t>(own)) continue;
        if (std::optional<Value> value = ActionValue(*action, name, own)) client.Set(*p, std::move(*value));
    }
}

void LinkOwned(Object& owner, int depth) {
    if (depth >= MaxOwnerDepth) return;
    for (const ObjectPtr& component : owner.Components()) {
        LinkToAction(*component);
        LinkOwned(*component, depth + 1);
    }
}

}  // namespace

void ApplyActionLinks(Object& root) {
    LinkOwned(root, 0);
}

}  // namespace fw::rt
