// The metadata built from a package's class records and type information: property
// kinds, types and holdings, types shared between packages, and packages whose records
// are damaged or made to harm.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "fixtures.h"
#include "packages/classbuilder.h"
#include "packages/designpackages.h"
#include "runtime/builtin.h"
#include "runtime/object.h"
#include "runtime/registry.h"

namespace {

using namespace fwtest;
using fw::pkg::DesignPackages;
using fw::rt::ClassRegistry;
using fw::rt::PropHolding;
using fw::rt::TypeKind;

class ClassBuilderTest : public ::testing::Test {
protected:
    TempDir dir;
    std::unique_ptr<ClassRegistry> registry = fw::rt::MakeBuiltinRegistry();
    DesignPackages packages{*registry, (dir.Path() / "formwright.ini").string()};

    const fw::rt::Class& Load(const TestPackage& package, const char* className) {
        packages.LoadOnePackage(dir.Write(package.ModuleName, BuildTestPackage(package)));
        const fw::rt::Class* cls = registry->FindClassByName(className);
        if (!cls) throw std::runtime_error(std::string(className) + " not registered");
        return *cls;
    }
};

TEST_F(ClassBuilderTest, PublishedPropertiesComeFromTheTypeInformation) {
    const fw::rt::Class& widget = Load(WidgetsPackage(), "TWidget");
    const struct {
        const char* name;
        TypeKind kind;
        const char* type;
        PropHolding holding;
    } cases[] = {
        {"Count", TypeKind::tkInteger, "Integer", PropHolding::Value},
        {"Mode", TypeKind::tkEnumeration, "TWidgetMode", PropHolding::Value},
        {"Styles", TypeKind::tkSet, "TWidgetStyles", PropHolding::Value},
        {"Caption", TypeKind::tkLString, "TWidgetText", PropHolding::Value},
        {"ShortName", TypeKind::tkString, "TShortName", PropHolding::Value},
        {"Ratio", TypeKind::tkFloat, "TRatio", PropHolding::Value},
        {"Options", TypeKind::tkClass, "TWidgetOptions", PropHolding::Owned},
        {"Buddy", TypeKind::tkClass, "TComponent", PropHolding::Reference},
        {"Link", TypeKind::tkClass, "TWidgetBase", PropHolding::Reference},
        {"OnPing", TypeKind::tkMethod, "TPingEvent", PropHolding::Value},
        {"Color", TypeKind::tkInteger, "TColor", PropHolding::Value},
        {"Mystery", TypeKind::tkUnknown, "TMystery", PropHolding::Value},
        // Published by the package's parent class, typed by the runtime packages' types.
        {"Align", TypeKind::tkEnumeration, "TAlign", PropHolding::Value},
        {"OnClick", TypeKind::tkMethod, "TNotifyEvent", PropHolding::Value},
        // Inherited from the built-in ancestors.
        {"Left", TypeKind::tkInteger, "Integer", PropHolding::Value},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fw::rt::Property* p = widget.FindProperty(c.name);
        ASSERT_TRUE(p);
        EXPECT_EQ(p->Kind(), c.kind);
        EXPECT_EQ(p->Type().Name, c.type);
        EXPECT_EQ(p->Info->Holding, c.holding);
    }
    EXPECT_EQ(widget.OwnPropertyCount(), 12);

    const fw::rt::TypeInfo& mode = widget.FindProperty("Mode")->Type();
    EXPECT_EQ(std::vector<std::string_view>(mode.EnumNames.begin(), mode.EnumNames.end()),
              (std::vector<std::string_view>{"wmOne", "wmTwo", "wmThree"}));
    const fw::rt::TypeInfo* element = widget.FindProperty("Styles")->Type().ElementType;
    ASSERT_TRUE(element);
    EXPECT_EQ(element->Name, "TWidgetStyle");
    EXPECT_EQ(element->EnumNames.size(), 3u);
    EXPECT_EQ(widget.FindProperty("Ratio")->Type().Float, fw::rt::FloatType::Double);
    EXPECT_EQ(widget.FindProperty("Options")->Type().ClassType,
              &registry->FindClassByName("TWidgetOptions")->Info());
    EXPECT_EQ(&widget.FindProperty("Color")->Type(), &fw::rt::ty::TColor);

    // Defaults of ordinal properties are kept; the others have none.
    EXPECT_EQ(widget.FindProperty("Count")->Info->Default.Ordinal, 3);
    EXPECT_EQ(widget.FindProperty("Mode")->Info->Default.Ordinal, 1);
    EXPECT_EQ(widget.FindProperty("Caption")->Info->Default.Which, fw::rt::DefaultValue::Kind::None);

    // A new object has its initial values and its owned sub-object.
    fw::rt::ObjectPtr object = fw::rt::CreateObject(widget, *registry);
    ASSERT_TRUE(object);
    EXPECT_EQ(object->Ordinal(*widget.FindProperty("Count")), 3);
    ASSERT_TRUE(object->SubObject("Options"));
    EXPECT_EQ(object->SubObject("Options")->ClassName(), "TWidgetOptions");
}

TEST_F(ClassBuilderTest, TypesOfAnotherLoadedPackageAreSharedByName) {
    Load(WidgetsPackage(), "TWidget");
    const fw::rt::Class& gadget = Load(GadgetsPackage(), "TGadget");
    const fw::rt::Property* mode = gadget.FindProperty("Mode");
    ASSERT_TRUE(mode);
    EXPECT_EQ(&mode->Type(), &registry->FindClassByName("TWidget")->FindProperty("Mode")->Type());
    EXPECT_EQ(mode->Type().EnumNames.size(), 3u);
}

TEST_F(ClassBuilderTest, ParentLinksAtEachRecordDistance) {
    for (const std::uint32_t distance : {64u, 76u, 88u}) {
        for (const bool direct : {false, true}) {
            SCOPED_TRACE(std::to_string(distance) + (direct ? " direct" : " through the self pointer"));
            TestPackage p;
            const std::string suffix = std::to_string(distance) + (direct ? "D" : "S");
            p.ModuleName = "chain" + suffix + ".bpl";
            p.Contains = {"Chain" + suffix};
            TestClass base{.Name = "TBase" + suffix,
                           .Distance = distance,
                           .ParentImport = VclClass("Controls", "TGraphicControl")};
            TestClass child{
                .Name = "TChild" + suffix, .Distance = distance, .ParentLocal = 0, .ParentDirect = direct};
            child.Properties = {{.Name = "Size", .Type = RtlType("System@Integer")}};
            p.Classes = {base, child};
            const fw::rt::Class& cls = Load(p, ("TChild" + suffix).c_str());
            ASSERT_TRUE(cls.Parent());
            EXPECT_EQ(cls.Parent()->Name(), "TBase" + suffix);
            EXPECT_EQ(cls.Parent()->Parent()->Name(), "TGraphicControl");
            EXPECT_TRUE(cls.FindProperty("Size"));
        }
    }
}

TEST_F(ClassBuilderTest, ParentLinksThatLeadNowhereRegisterNothing) {
    TestPackage p;
    p.ModuleName = "broken.bpl";
    p.Contains = {"Broken"};
    const TestImportRef persistent = VclClass("Classes", "TPersistent");
    p.Classes = {
        {.Name = "TLoopA", .ParentLocal = 1},
        {.Name = "TLoopB", .ParentLocal = 0},
        {.Name = "TSelfParent", .ParentLocal = 2},
        {.Name = "TUnknownParent", .ParentImport = {"other.bpl", "@Other@TNowhere@"}},
        {.Name = "TRoutineParent", .ParentImport = {"rtl.bpl", "@System@Move$qqrpxvpvi"}},
        {.Name = "TAfterLoop", .ParentLocal = 0},
        {.Name = "TFine", .ParentImport = persistent},
    };
    EXPECT_EQ(packages.LoadOnePackage(dir.Write("broken.bpl", BuildTestPackage(p))), 1);
    EXPECT_TRUE(packages.PackageErrors().empty());
    for (const char* name :
         {"TLoopA", "TLoopB", "TSelfParent", "TUnknownParent", "TRoutineParent", "TAfterLoop"})
        EXPECT_FALSE(registry->FindClassByName(name)) << name;
    EXPECT_TRUE(registry->FindClassByName("TFine"));
}

TEST_F(ClassBuilderTest, AParentFromAPackageLoadedLaterIsFoundOnTheNextLoad) {
    TestPackage p;
    p.ModuleName = "late.bpl";
    p.Contains = {"Late"};
    p.Classes = {{.Name = "TLate", .ParentImport = {"widgets.bpl", "@WidgetUnit@TWidgetOptions@"}}};
    const std::string late = dir.Write("late.bpl", BuildTestPackage(p));
    EXPECT_EQ(packages.LoadOnePackage(late), 0);
    packages.LoadOnePackage(dir.Write("widgets.bpl", BuildTestPackage(WidgetsPackage())));
    EXPECT_EQ(packages.LoadOnePackage(late), 1);
    EXPECT_EQ(registry->FindClassByName("TLate")->Parent(), registry->FindClassByName("TWidgetOptions"));
}

TEST_F(ClassBuilderTest, SubObjectsThatWouldNestWithoutEndBecomeReferences) {
    TestPackage p;
    p.ModuleName = "nest.bpl";
    p.Contains = {"Nest"};
    const TestImportRef persistent = VclClass("Classes", "TPersistent");
    // TA owns a TB that owns a TA; TSelf owns a TSelf; TOwner owns a TChildOfOwner, which
    // inherits the property that owns it; T0 .. T39 each own the next.
    p.Classes = {
        {.Name = "TA",
         .ParentImport = persistent,
         .Properties = {{.Name = "B", .Type = TestTypeRef::Class(1)}}},
        {.Name = "TB",
         .ParentImport = persistent,
         .Properties = {{.Name = "A", .Type = TestTypeRef::Class(0)}}},
        {.Name = "TSelf",
         .ParentImport = persistent,
         .Properties = {{.Name = "Me", .Type = TestTypeRef::Class(2)}}},
        {.Name = "TOwner",
         .ParentImport = persistent,
         .Properties = {{.Name = "Kid", .Type = TestTypeRef::Class(4)}}},
        {.Name = "TChildOfOwner", .ParentLocal = 3},
    };
    constexpr int Chain = 40;
    for (int i = 0; i < Chain; ++i) {
        TestClass link{.Name = "T" + std::to_string(i), .ParentImport = persistent};
        if (i + 1 < Chain) link.Properties = {{.Name = "Next", .Type = TestTypeRef::Class(5 + i + 1)}};
        p.Classes.push_back(link);
    }
    packages.LoadOnePackage(dir.Write("nest.bpl", BuildTestPackage(p)));

    for (const char* name : {"TA", "TB", "TSelf", "TOwner", "TChildOfOwner", "T0"}) {
        SCOPED_TRACE(name);
        const fw::rt::Class* cls = registry->FindClassByName(name);
        ASSERT_TRUE(cls);
        fw::rt::ObjectPtr object = fw::rt::CreateObject(*cls, *registry);
        ASSERT_TRUE(object);
    }
    EXPECT_EQ(registry->FindClassByName("TSelf")->FindProperty("Me")->Info->Holding, PropHolding::Reference);
    EXPECT_EQ(registry->FindClassByName("TOwner")->FindProperty("Kid")->Info->Holding,
              PropHolding::Reference);
    const auto holding = [&](const char* cls, const char* prop) {
        return registry->FindClassByName(cls)->FindProperty(prop)->Info->Holding;
    };
    EXPECT_NE(holding("TA", "B") == PropHolding::Owned, holding("TB", "A") == PropHolding::Owned);

    // The chain is owned as deep as allowed, then referenced.
    fw::rt::ObjectPtr head = fw::rt::CreateObject(*registry->FindClassByName("T0"), *registry);
    int depth = 0;
    for (const fw::rt::Object* o = head.get(); o; o = o->SubObject("Next"))
        ++depth;
    EXPECT_GE(depth, 2);
    EXPECT_LE(depth, fw::pkg::PackageClassBuilder::MaxOwnedNesting + 1);
}

TEST_F(ClassBuilderTest, DamagedTypeInformationGivesWhatCanBeRead) {
    TestPackage p;
    p.ModuleName = "last.bpl";
    p.Contains = {"LastUnit"};
    p.Types = {{kind::Enumeration, "TLastMode", {"lmOff", "lmOn"}, {}, 1}};
    TestClass last{.Name = "TLast", .ParentImport = VclClass("Classes", "TPersistent"), .Unit = "LastUnit"};
    last.Properties = {{.Name = "Ratio", .Type = RtlType("System@Double")},
                       {.Name = "Mode", .Type = TestTypeRef::Type(0)},
                       {.Name = "Size", .Type = RtlType("System@Integer")}};
    p.Classes = {last};
    Bytes bytes = BuildTestPackage(p);
    const auto find = [&](const std::string& text) {
        const auto at = std::search(bytes.begin(), bytes.end(), text.begin(), text.end());
        if (at == bytes.end()) throw std::runtime_error("not in the fixture: " + text);
        return static_cast<std::size_t>(at - bytes.begin());
    };
    // The record count claims 65535 records: the three real ones are followed by zeros
    // (records without names) up to the end of the image, where reading stops.
    PutU16(bytes, find(std::string("\x08LastUnit\x03\x00", 11)) + 9, 0xFFFF);
    // Ratio's type pointer leads outside the image.
    PutU32(bytes, find("\x05Ratio") - 26, 0xFFFFFFF0);

    EXPECT_EQ(packages.LoadOnePackage(dir.Write("last.bpl", bytes)), 1);
    const fw::rt::Class* cls = registry->FindClassByName("TLast");
    ASSERT_TRUE(cls);
    EXPECT_EQ(cls->OwnPropertyCount(), 3);
    EXPECT_EQ(cls->FindProperty("Ratio")->Kind(), TypeKind::tkUnknown);
    EXPECT_EQ(cls->FindProperty("Mode")->Type().EnumNames.size(), 2u);
    EXPECT_EQ(cls->FindProperty("Size")->Kind(), TypeKind::tkInteger);
}

// Packages with random bytes changed load, register and make objects without harm.
TEST_F(ClassBuilderTest, MutatedPackagesNeverHarm) {
    const Bytes original = BuildTestPackage(WidgetsPackage());
    std::mt19937 random(20240611);
    for (int round = 0; round < 1500; ++round) {
        Bytes bytes = original;
        const int changes = 1 + static_cast<int>(random() % 16);
        for (int i = 0; i < changes; ++i) {
            // Most changes go into the sections, where the records are.
            const std::size_t at = 0x200 + random() % (bytes.size() - 0x200);
            bytes[at] = static_cast<std::uint8_t>(random());
        }
        const MemoryFile file(bytes);
        const std::unique_ptr<ClassRegistry> fresh = fw::rt::MakeBuiltinRegistry();
        DesignPackages mutated(*fresh, "");
        mutated.AddPackage(file.Path());
        for (const fw::rt::Class* cls : fresh->RegisteredClasses()) {
            if (cls->Info().Module.empty()) continue;
            fw::rt::ObjectPtr object = fw::rt::CreateObject(*cls, *fresh);
            for (const fw::rt::Property& p : cls->Properties())
                (void)p.Type().Name;
        }
        mutated.UnloadAllPackages();
    }
}

}  // namespace
