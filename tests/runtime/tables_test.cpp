// Invariants of the class tables: every built-in class and everything it refers to.

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "runtime/builtin.h"
#include "runtime/registry.h"

namespace {

using namespace fw::rt;

std::string Upper(std::string_view s) {
    std::string u(s);
    for (char& c : u)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return u;
}

// Every class reachable from the built-in list: ancestors, item classes and the
// classes of class-typed properties.
std::set<const ClassInfo*> AllClasses() {
    std::set<const ClassInfo*> seen;
    std::vector<const ClassInfo*> todo(BuiltinClasses().begin(), BuiltinClasses().end());
    while (!todo.empty()) {
        const ClassInfo* c = todo.back();
        todo.pop_back();
        if (!c || !seen.insert(c).second) continue;
        todo.push_back(c->Parent);
        todo.push_back(c->ItemClass);
        for (const auto& group : c->Published)
            for (const PropInfo& p : group)
                if (p.Type && p.Type->ClassType) todo.push_back(p.Type->ClassType);
    }
    return seen;
}

bool IsOrdinal(TypeKind k) {
    return k == TypeKind::tkInteger || k == TypeKind::tkChar || k == TypeKind::tkEnumeration ||
           k == TypeKind::tkSet || k == TypeKind::tkWChar || k == TypeKind::tkInt64;
}

bool IsString(TypeKind k) {
    return k == TypeKind::tkString || k == TypeKind::tkLString || k == TypeKind::tkWString;
}

TEST(ClassTables, BuiltinListHas238EntriesAndRegisters) {
    EXPECT_EQ(BuiltinClasses().size(), 238u);
    auto registry = MakeBuiltinRegistry();
    for (const ClassInfo* c : BuiltinClasses())
        EXPECT_NE(registry->FindClassByName(c->Name), nullptr) << c->Name;
}

TEST(ClassTables, ClassesAreConsistent) {
    const auto classes = AllClasses();
    std::map<std::string, const ClassInfo*> byName;
    for (const ClassInfo* c : classes) {
        SCOPED_TRACE(std::string(c->Name));
        EXPECT_FALSE(c->Name.empty());
        EXPECT_FALSE(c->Unit.empty());
        auto [it, added] = byName.emplace(Upper(c->Name), c);
        EXPECT_TRUE(added) << "two classes named " << c->Name;
        // The chain ends at TObject.
        const ClassInfo* root = c;
        int depth = 0;
        while (root->Parent && depth < 64)
            root = root->Parent, ++depth;
        EXPECT_EQ(root->Name, "TObject");
        if (c->Flags & CfCollection) {
            ASSERT_NE(c->ItemClass, nullptr) << "a collection without an item class";
        }
    }
}

TEST(ClassTables, PropertiesAreConsistent) {
    ClassRegistry registry;
    for (const ClassInfo* info : AllClasses()) {
        SCOPED_TRACE(std::string(info->Name));
        std::set<std::string> own;
        for (const auto& group : info->Published) {
            for (const PropInfo& p : group) {
                SCOPED_TRACE(std::string(p.Name));
                ASSERT_NE(p.Type, nullptr);
                EXPECT_TRUE(own.insert(Upper(p.Name)).second) << "listed twice by the same class";
                const TypeKind k = p.Type->Kind;
                // A property listed again by a descendant keeps its type, except where the
                // real class hides its ancestor's property with one of another type.
                static const std::set<std::string> hiddenByAnotherType = {"TBitBtn.Style",
                                                                          "TTeeFont.Quality"};
                if (info->Parent &&
                    !hiddenByAnotherType.count(std::string(info->Name) + "." + std::string(p.Name))) {
                    if (const Property* inherited = registry.Of(*info->Parent).FindProperty(p.Name))
                        EXPECT_EQ(inherited->Info->Type, p.Type) << "inherited with another type";
                }
                if (p.Holding != PropHolding::Value) EXPECT_EQ(k, TypeKind::tkClass);
                if (k == TypeKind::tkClass) {
                    EXPECT_NE(p.Type->ClassType, nullptr);
                    EXPECT_NE(p.Holding, PropHolding::Value)
                        << "a class-typed property must be owned or a reference";
                }
                if (k == TypeKind::tkSet) {
                    ASSERT_NE(p.Type->ElementType, nullptr);
                    EXPECT_EQ(p.Type->ElementType->Kind, TypeKind::tkEnumeration);
                }
                switch (p.Default.Which) {
                    case DefaultValue::Kind::Ordinal:
                        EXPECT_TRUE(IsOrdinal(k)) << "ordinal default";
                        break;
                    case DefaultValue::Kind::Float:
                        EXPECT_EQ(k, TypeKind::tkFloat);
                        break;
                    case DefaultValue::Kind::Text:
                        EXPECT_TRUE(IsString(k));
                        break;
                    case DefaultValue::Kind::None:
                        break;
                }
                if (k == TypeKind::tkEnumeration && p.Default.Which == DefaultValue::Kind::Ordinal) {
                    EXPECT_GE(p.Default.Ordinal, 0);
                    EXPECT_LT(p.Default.Ordinal, static_cast<std::int64_t>(p.Type->EnumNames.size()));
                }
            }
        }
    }
}

TEST(ClassTables, EnumerationNamesRoundTrip) {
    std::set<const TypeInfo*> types;
    for (const ClassInfo* info : AllClasses())
        for (const auto& group : info->Published)
            for (const PropInfo& p : group) {
                if (p.Type->Kind == TypeKind::tkEnumeration) types.insert(p.Type);
                if (p.Type->Kind == TypeKind::tkSet) types.insert(p.Type->ElementType);
            }
    for (const TypeInfo* t : types) {
        SCOPED_TRACE(std::string(t->Name));
        EXPECT_FALSE(t->EnumNames.empty());
        std::set<std::string> names;
        for (auto n : t->EnumNames)
            EXPECT_TRUE(names.insert(Upper(n)).second) << "value name twice: " << n;
    }
}

}  // namespace
