#include "rawvalue.h"

#include "registry.h"

namespace fw::rt {

RawValue::RawValue() = default;
RawValue::~RawValue() = default;
RawValue::RawValue(const RawValue&) = default;
RawValue::RawValue(RawValue&&) noexcept = default;
RawValue& RawValue::operator=(const RawValue&) = default;
RawValue& RawValue::operator=(RawValue&&) noexcept = default;

const RawValue* FindRaw(const std::vector<RawProperty>& properties, std::string_view path) {
    for (const RawProperty& entry : properties)
        if (EqualsIgnoringCase(entry.first, path)) return &entry.second;
    return nullptr;
}

}  // namespace fw::rt
