#include "rawvalue.h"

#include "registry.h"

namespace fw::rt {

const RawValue* FindRaw(const std::vector<RawProperty>& properties, std::string_view path) {
    for (const RawProperty& entry : properties)
        if (EqualsIgnoringCase(entry.first, path)) return &entry.second;
    return nullptr;
}

}  // namespace fw::rt
