#include "dynamicclasses.h"

#include <map>
#include <set>
#include <utility>

#include "base/asciitext.h"
#include "builtin.h"
#include "fallback.h"

namespace fw::rt {

DynamicClassSet::DynamicClassSet(std::string module) : module_(std::move(module)) {}

std::string_view DynamicClassSet::Keep(std::string_view text) {
    return strings_.emplace_back(text);
}

std::span<const std::string_view> DynamicClassSet::KeepNames(const std::vector<std::string>& names) {
    std::vector<std::string_view>& list = nameLists_.emplace_back();
    list.reserve(names.size());
    for (const std::string& name : names)
        list.push_back(Keep(name));
    return list;
}

TypeInfo& DynamicClassSet::NewType() {
    return types_.emplace_back();
}

ClassInfo& DynamicClassSet::NewClass() {
    ClassInfo& info = classes_.emplace_back();
    info.Module = module_;
    return info;
}

std::span<PropInfo> DynamicClassSet::SetProperties(ClassInfo& cls, std::vector<PropInfo> properties) {
    std::vector<PropInfo>& rows = properties_.emplace_back(std::move(properties));
    auto& group = groups_.emplace_back();
    group[0] = std::span<const PropInfo>(rows);
    cls.Published = std::span<const std::span<const PropInfo>>(group);
    return rows;
}

namespace {

// Every type the built-in classes' properties use, by upper-cased name; the first of
// two types of one name wins, and the plain types come first.
std::map<std::string, const TypeInfo*> BuiltinTypesByName() {
    std::map<std::string, const TypeInfo*> byName;
    const auto add = [&](const TypeInfo* type) {
        if (type && !type->Name.empty()) byName.emplace(AsciiUpper(type->Name), type);
    };
    for (const TypeInfo* type : {&ty::Boolean,  &ty::Integer,    &ty::Cardinal, &ty::Byte,   &ty::Word,
                                 &ty::SmallInt, &ty::ShortInt,   &ty::Int64,    &ty::Char,   &ty::WideChar,
                                 &ty::String,   &ty::WideString, &ty::Single,   &ty::Double, &ty::Extended,
                                 &ty::Currency, &ty::TDateTime,  &ty::TDate,    &ty::TTime,  &ty::Variant})
        add(type);
    byName.emplace("UNICODESTRING", &ty::String);
    byName.emplace("ANSISTRING", &ty::String);

    std::set<const ClassInfo*> seen;
    std::vector<const ClassInfo*> todo;
    for (auto list : {BuiltinClasses(), CompanionClasses(), FallbackClasses()})
        todo.insert(todo.end(), list.begin(), list.end());
    while (!todo.empty()) {
        const ClassInfo* c = todo.back();
        todo.pop_back();
        if (!c || !seen.insert(c).second) continue;
        todo.push_back(c->Parent);
        todo.push_back(c->ItemClass);
        for (const auto& group : c->Published) {
            for (const PropInfo& p : group) {
                if (!p.Type) continue;
                add(p.Type);
                add(p.Type->ElementType);
                if (p.Type->ClassType) todo.push_back(p.Type->ClassType);
            }
        }
    }
    return byName;
}

}  // namespace

const TypeInfo* FindBuiltinType(std::string_view name) {
    static const std::map<std::string, const TypeInfo*> types = BuiltinTypesByName();
    auto it = types.find(AsciiUpper(name));
    return it == types.end() ? nullptr : it->second;
}

}  // namespace fw::rt
