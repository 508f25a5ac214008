// Loading design packages into a registry: what is registered, in which precedence,
// what fails with which message, and what removing and unloading leave behind.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>

#include "fixtures.h"
#include "packages/designpackages.h"
#include "packages/inifile.h"
#include "peimage/pefile.h"
#include "runtime/builtin.h"
#include "runtime/fallback.h"
#include "runtime/object.h"
#include "runtime/registry.h"

namespace {

using namespace fwtest;
using fw::pkg::DesignPackages;
using fw::rt::ClassRegistry;

class DesignPackagesTest : public ::testing::Test {
protected:
    TempDir dir;
    std::unique_ptr<ClassRegistry> registry = fw::rt::MakeBuiltinRegistry();
    DesignPackages packages{*registry, (dir.Path() / "formwright.ini").string()};
    std::string widgets = dir.Write("widgets.bpl", BuildTestPackage(WidgetsPackage()));
    std::string gadgets = dir.Write("gadgets.bpl", BuildTestPackage(GadgetsPackage()));

    // The module tag of the registered class of that name; "" for a built-in class.
    std::string ModuleOf(const char* name) const {
        const fw::rt::Class* cls = registry->FindClassByName(name);
        return cls ? std::string(cls->Info().Module) : "(none)";
    }
    bool Registered(const char* name) const { return registry->FindClassByName(name) != nullptr; }
};

TEST_F(DesignPackagesTest, RegistersEachNewPersistentClassOfAPackage) {
    EXPECT_EQ(packages.LoadOnePackage(widgets), WidgetsNewClasses);
    EXPECT_TRUE(packages.PackageErrors().empty());
    ASSERT_EQ(packages.LoadedModules().size(), 1u);

    for (const char* name : {"TWidgetBase", "TWidget", "TWidgetOptions", "TButtonGroup", "TWidgetX"})
        EXPECT_NE(ModuleOf(name), "") << name;
    // The class named like a built-in one stays the built-in one; a class that is no
    // persistent class is not registered.
    EXPECT_EQ(ModuleOf("TButton"), "");
    EXPECT_FALSE(Registered("TWidgetList"));

    // Ancestry through the package (record distances 88 and 64, a link to the class
    // reference itself) and through the import of another package's class.
    const fw::rt::Class* x = registry->FindClassByName("TWidgetX");
    ASSERT_TRUE(x);
    std::vector<std::string> chain;
    for (const fw::rt::Class* c = x; c; c = c->Parent())
        chain.emplace_back(c->Name());
    ASSERT_GE(chain.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(chain.begin(), chain.begin() + 4),
              (std::vector<std::string>{"TWidgetX", "TWidget", "TWidgetBase", "TCustomControl"}));
    EXPECT_EQ(&registry->FindClassByName("TCustomControl")->Info(), &fw::rt::cls::TCustomControl);

    // Controls preview as controls; the options object is a plain persistent.
    EXPECT_TRUE(x->Has(fw::rt::CfControl));
    EXPECT_FALSE(registry->FindClassByName("TWidgetOptions")->Has(fw::rt::CfControl));
    EXPECT_EQ(registry->FindClassByName("TWidget")->Unit(), "WidgetUnit");
}

TEST_F(DesignPackagesTest, FirstRegistrationOfANameWins) {
    packages.AddPackage(widgets);
    packages.AddPackage(gadgets);
    packages.LoadAllPackages();
    EXPECT_TRUE(packages.PackageErrors().empty());

    // Built-in before packages, earlier packages before later ones, packages before the
    // fallback classes.
    EXPECT_EQ(ModuleOf("TButton"), "");
    const std::string widgetsTag = ModuleOf("TWidget");
    EXPECT_NE(widgetsTag.find("widgets.bpl"), std::string::npos);
    EXPECT_EQ(ModuleOf("TButtonGroup"), widgetsTag);
    EXPECT_EQ(ModuleOf("TCategoryButtons"), "");
    for (const fw::rt::ClassInfo* fallback : fw::rt::FallbackClasses())
        EXPECT_TRUE(Registered(std::string(fallback->Name).c_str())) << fallback->Name;

    // gadgets' TGadget derives from widgets' TWidget through its import.
    const fw::rt::Class* gadget = registry->FindClassByName("TGadget");
    ASSERT_TRUE(gadget);
    EXPECT_EQ(gadget->Parent(), registry->FindClassByName("TWidget"));
    EXPECT_NE(ModuleOf("TGadgetPanel").find("gadgets.bpl"), std::string::npos);
}

TEST_F(DesignPackagesTest, CountsOnlyTheClassesAPackageAddsAfterAnother) {
    EXPECT_EQ(packages.LoadOnePackage(widgets), WidgetsNewClasses);
    EXPECT_EQ(packages.LoadOnePackage(gadgets), 2);  // TGadget, TGadgetPanel: its TWidget is taken
}

// Regression: a package built by the C++ compiler registered nothing; its class records
// lie among its data, with their names before them.
TEST_F(DesignPackagesTest, RegistersTheClassesOfAPackageOfTheCppCompiler) {
    TestPackage p;
    p.ModuleName = "bcbsmp.bpl";
    p.Flags = 0x48000002;  // design only, package, C++Builder 4 or later
    p.Requires = {"vcl50"};
    p.Contains = {"bcbsmp", "SysInit", "cgrid", "cspin"};
    p.CppLayout = true;
    p.Types = {{kind::Enumeration, "TGridOrdering", {"go16x1", "go8x2", "go4x4", "go2x8", "go1x16"}, {}, 1}};
    TestClass grid{
        .Name = "TCColorGrid", .Distance = 76, .ParentImport = VclClass("Controls", "TCustomControl")};
    grid.Unit = "cgrid";
    grid.Properties = {{"GridOrdering", TestTypeRef::Type(0), 2},
                       {"ForegroundIndex", RtlType("System@Integer"), 0}};
    TestClass spin{
        .Name = "TCSpinButton", .Distance = 76, .ParentImport = VclClass("Controls", "TWinControl")};
    spin.Unit = "cspin";
    TestClass edit{.Name = "TCSpinEdit", .Distance = 76, .ParentImport = VclClass("StdCtrls", "TCustomEdit")};
    edit.Unit = "cspin";
    p.Classes = {grid, spin, edit};
    const std::string path = dir.Write("bcbsmp.bpl", BuildTestPackage(p));

    fw::pe::PeFile reader;
    reader.Open(path);
    EXPECT_EQ(reader.ClassNames(), (std::vector<std::string>{"TCColorGrid", "TCSpinButton", "TCSpinEdit"}));

    EXPECT_EQ(packages.AddPackage(path), 3);
    EXPECT_TRUE(packages.PackageErrors().empty());
    const fw::rt::Class* cls = registry->FindClassByName("TCColorGrid");
    ASSERT_TRUE(cls);
    EXPECT_EQ(cls->Parent(), registry->FindClassByName("TCustomControl"));
    EXPECT_EQ(cls->Unit(), "cgrid");
    const fw::rt::Property* ordering = cls->FindProperty("GridOrdering");
    ASSERT_TRUE(ordering);
    EXPECT_EQ(ordering->Type().Name, "TGridOrdering");
    EXPECT_NE(cls->FindProperty("ForegroundIndex"), nullptr);
}

TEST_F(DesignPackagesTest, AClassWhoseAncestorsNameIsTakenRegistersNothing) {
    TestPackage p;
    p.ModuleName = "clash.bpl";
    p.Contains = {"ClashUnit"};
    TestClass panel{.Name = "TPanel", .Distance = 76, .ParentImport = VclClass("Controls", "TCustomControl")};
    TestClass fancy{.Name = "TFancyPanel", .Distance = 76, .ParentLocal = 0};
    TestClass fancier{.Name = "TFancierPanel", .Distance = 88, .ParentLocal = 1};
    TestClass fine{.Name = "TFinePanel", .Distance = 76, .ParentImport = VclClass("ExtCtrls", "TPanel")};
    p.Classes = {panel, fancy, fancier, fine};
    EXPECT_EQ(packages.LoadOnePackage(dir.Write("clash.bpl", BuildTestPackage(p))), 1);
    EXPECT_EQ(ModuleOf("TPanel"), "");
    EXPECT_FALSE(Registered("TFancyPanel"));
    EXPECT_FALSE(Registered("TFancierPanel"));
    ASSERT_TRUE(Registered("TFinePanel"));
    EXPECT_EQ(&registry->FindClassByName("TFinePanel")->Parent()->Info(), &fw::rt::cls::TPanel);
}

TEST_F(DesignPackagesTest, FailuresAreRecordedWithTheLoadersMessage) {
    TestPackage noEntry = WidgetsPackage();
    noEntry.ExportInitialize = false;
    const std::string library = dir.Write("library.dll", BuildTestPackage(noEntry));
    const std::string text = dir.Write("notes.bpl", BytesOf("just some text\n"));
    const std::string missing = (dir.Path() / "missing.bpl").string();
    TestPackage twin = GadgetsPackage();
    twin.ModuleName = "twin.bpl";
    twin.Contains = {"Other", "widgetunit"};  // widgets contains WidgetUnit
    const std::string duplicate = dir.Write("twin.bpl", BuildTestPackage(twin));
    TestPackage noInfo = GadgetsPackage();
    noInfo.HasPackageInfo = false;
    const std::string bare = dir.Write("bare.bpl", BuildTestPackage(noInfo));

    const struct {
        std::string path;
        std::string message;
    } cases[] = {
        {library, "Invalid package file '" + library + "'"},
        {text, "Can't load package " + text + ".\r\nThe file is not a valid PE image"},
        {missing, "Can't load package " + missing + ".\r\nNo such file or directory"},
        {duplicate,
         "Cannot load package 'twin.'  It contains unit 'widgetunit,'which is also contained in package "
         "'widgets'"},
        {bare, "Cannot access package information for package 'bare.bpl'"},
    };
    ASSERT_EQ(packages.AddPackage(widgets), WidgetsNewClasses);
    std::vector<std::string> expected;
    for (const auto& c : cases) {
        EXPECT_EQ(packages.AddPackage(c.path), 0) << c.path;
        expected.push_back(c.path + "=" + c.message);
    }
    EXPECT_EQ(packages.PackageErrors(), expected);
    // The paths stay listed; nothing failed was loaded or registered.
    EXPECT_EQ(packages.PackageFiles().size(), 6u);
    EXPECT_EQ(packages.LoadedModules().size(), 1u);
    EXPECT_FALSE(Registered("TGadget"));

    // A full load starts the error list afresh.
    packages.LoadAllPackages();
    EXPECT_EQ(packages.PackageErrors(), expected);
}

// A package of one class, named after the package, as real packages are laid out: the
// package's own unit, SysInit, and its units.
TestPackage UnitsPackage(const std::string& name, std::vector<std::string> requires_,
                         std::vector<std::string> units, std::uint32_t flags = 0x4C000002) {
    TestPackage p;
    p.ModuleName = name + ".bpl";
    p.Flags = flags;
    p.Requires = std::move(requires_);
    p.Contains = {name, "SysInit"};
    p.Contains.insert(p.Contains.end(), units.begin(), units.end());
    TestClass c{
        .Name = "T" + name + "Box", .Distance = 76, .ParentImport = VclClass("Controls", "TCustomControl")};
    c.Unit = units.empty() ? name : units.front();
    p.Classes = {c};
    return p;
}

// Regression: every package after the first failed, since every package contains
// SysInit. Only a unit two packages claim on their own is a duplicate.
TEST_F(DesignPackagesTest, OnlyGenuineDuplicateUnitsKeepAPackageOut) {
    const auto load = [&](const std::vector<TestPackage>& list) {
        const std::unique_ptr<ClassRegistry> fresh = fw::rt::MakeBuiltinRegistry();
        DesignPackages set(*fresh, (dir.Path() / "list.ini").string());
        for (const TestPackage& p : list)
            set.AddPackage(dir.Write(p.ModuleName, BuildTestPackage(p)));
        std::vector<std::string> errors;
        for (const std::string& entry : set.PackageErrors())
            errors.push_back(entry.substr(entry.find('=') + 1));
        return std::make_pair(set.LoadedModules().size(), errors);
    };
    using Errors = std::vector<std::string>;

    // Two design packages of one runtime.
    EXPECT_EQ(load({UnitsPackage("dclgrids", {"rtl", "vcl"}, {"GridUnit"}),
                    UnitsPackage("dclspins", {"rtl", "vcl"}, {"SpinUnit"})}),
              std::make_pair(std::size_t{2}, Errors{}));

    // Five: a runtime package of the team with the system units, its design package and
    // three more that require it, directly or through another runtime package: one
    // names the runtime with the extension later compilers write, and two list a unit
    // of the runtime as well, which they take from the runtime rather than hold on
    // their own.
    constexpr std::uint32_t RunOnly = 0x4C000004;
    EXPECT_EQ(load({UnitsPackage("teamrt", {}, {"System", "SysConst", "TeamBase"}, RunOnly),
                    UnitsPackage("teamdcl", {"teamrt", "designide"}, {"TeamReg"}),
                    UnitsPackage("charts", {"teamrt"}, {"ChartUnit"}, RunOnly),
                    UnitsPackage("gauges", {"teamrt.bpl"}, {"GaugeUnit", "SysConst"}),
                    UnitsPackage("chartdcl", {"charts"}, {"ChartReg", "TeamBase"})}),
              std::make_pair(std::size_t{5}, Errors{}));
    // The same with the package that requires the runtime loaded before it.
    EXPECT_EQ(load({UnitsPackage("gauges", {"teamrt.bpl"}, {"GaugeUnit", "SysConst"}),
                    UnitsPackage("teamrt", {}, {"System", "SysConst", "TeamBase"}, RunOnly)}),
              std::make_pair(std::size_t{2}, Errors{}));

    // A unit two unrelated packages both contain, one a design package requires of
    // another design package, and a second runtime beside the first, are duplicates as
    // on the system they come from.
    EXPECT_EQ(load({UnitsPackage("charts", {"rtl"}, {"ChartUnit"}),
                    UnitsPackage("morecharts", {"rtl"}, {"MoreUnit", "chartunit"}),
                    UnitsPackage("chartdcl", {"charts"}, {"ChartReg", "ChartUnit"}),
                    UnitsPackage("teamrt", {}, {"System", "SysConst"}, RunOnly),
                    UnitsPackage("otherrt", {}, {"System"}, RunOnly)}),
              std::make_pair(std::size_t{2},
                             Errors{"Cannot load package 'morecharts.'  It contains unit 'chartunit,'which "
                                    "is also contained in package 'charts'",
                                    "Cannot load package 'chartdcl.'  It contains unit 'ChartUnit,'which "
                                    "is also contained in package 'charts'",
                                    "Cannot load package 'otherrt.'  It contains unit 'System,'which is "
                                    "also contained in package 'teamrt'"}));
}

TEST_F(DesignPackagesTest, SamePackageTwiceIsLoadedOnce) {
    // Added twice in another letter case: listed once.
    std::string upper = widgets;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? c - 32 : c; });
    EXPECT_EQ(packages.AddPackage(widgets), WidgetsNewClasses);
    EXPECT_EQ(packages.AddPackage(upper), std::nullopt);
    EXPECT_EQ(packages.PackageFiles(), std::vector<std::string>{widgets});

    // Written twice into the list file by hand, once through another path of the same
    // file: the second is found loaded and adds nothing.
    std::ofstream(packages.ListFile())
        << "[Packages]\n0=" << widgets << "\n1=" << dir.Path().string() << "/./widgets.bpl\n";
    const std::unique_ptr<ClassRegistry> fresh = fw::rt::MakeBuiltinRegistry();
    DesignPackages again(*fresh, packages.ListFile());
    again.ReadPackageList();
    ASSERT_EQ(again.PackageFiles().size(), 2u);
    again.LoadAllPackages();
    EXPECT_TRUE(again.PackageErrors().empty());
    EXPECT_EQ(again.LoadedModules().size(), 1u);
    EXPECT_EQ(again.LoadOnePackage(again.PackageFiles()[1]), 0);
}

TEST_F(DesignPackagesTest, RemovingAPackageUnregistersExactlyItsClasses) {
    packages.AddPackage(widgets);
    packages.AddPackage(gadgets);
    packages.LoadAllPackages();
    const std::string gadgetsTag = ModuleOf("TGadgetPanel");

    // An object made from a class of the package outlives the package.
    fw::rt::ObjectPtr widget = fw::rt::CreateObject(*registry->FindClassByName("TWidget"), *registry);
    ASSERT_TRUE(widget);

    ASSERT_TRUE(packages.RemovePackage(0));
    EXPECT_EQ(packages.PackageFiles(), std::vector<std::string>{gadgets});
    EXPECT_EQ(packages.LoadedModules().size(), 1u);
    for (const char* name : {"TWidgetBase", "TWidgetOptions", "TWidgetX"})
        EXPECT_FALSE(Registered(name)) << name;
    // The fallback takes the name back; gadgets keeps its classes, and its own TWidget
    // now has the name it lost to widgets.
    EXPECT_EQ(ModuleOf("TButtonGroup"), "");
    EXPECT_EQ(ModuleOf("TGadgetPanel"), gadgetsTag);
    EXPECT_EQ(ModuleOf("TWidget"), gadgetsTag);
    EXPECT_TRUE(Registered("TGadget"));

    EXPECT_EQ(widget->ClassName(), "TWidget");
    EXPECT_NE(widget->FindProperty("Mode"), nullptr);
    EXPECT_FALSE(packages.RemovePackage(1));
    EXPECT_FALSE(packages.RemovePackage(-1));
}

TEST_F(DesignPackagesTest, UnloadingAllLeavesTheBuiltInClasses) {
    packages.AddPackage(widgets);
    packages.AddPackage(gadgets);
    const std::size_t builtIn = fw::rt::MakeBuiltinRegistry()->RegisteredClasses().size();
    packages.UnloadAllPackages();
    EXPECT_TRUE(packages.LoadedModules().empty());
    EXPECT_TRUE(packages.Loader().Modules().empty());
    EXPECT_EQ(registry->RegisteredClasses().size(), builtIn);
    packages.UnloadAllPackages();  // nothing left to unload

    // Loading them again works from the files.
    packages.LoadAllPackages();
    EXPECT_TRUE(Registered("TGadget"));
}

TEST_F(DesignPackagesTest, PackageListRoundTripClearsTheWholeSection) {
    // Keys out of order and a stale key far above the list: the file's order counts.
    std::ofstream(packages.ListFile())
        << "; packages of the team\n"
        << "[Options]\nShow=1\n\n"
        << "[packages]\n1=" << gadgets << "\n0=" << widgets
        << "\n300=/gone/old.bpl\n  2 = \"/spaced/ name.bpl \"\nnot an entry\n\n"
        << "[Other]\nKey=Value\n";
    packages.ReadPackageList();
    EXPECT_EQ(packages.PackageFiles(),
              (std::vector<std::string>{gadgets, widgets, "/gone/old.bpl", "/spaced/ name.bpl "}));
    packages.RemovePackage(2);
    packages.WritePackageList();

    std::ifstream in(packages.ListFile());
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "; packages of the team\n[Options]\nShow=1\n\n[packages]\n0=" + gadgets +
                              "\n1=" + widgets + "\n2=\"/spaced/ name.bpl \"\n\n[Other]\nKey=Value\n");
    DesignPackages reread(*registry, packages.ListFile());
    reread.ReadPackageList();
    EXPECT_EQ(reread.PackageFiles(), packages.PackageFiles());
}

// Regression: the list file kept keys from "256" upward when the list shrank, so a
// removed package came back at the next start.
TEST_F(DesignPackagesTest, WritePackageListForgetsKeysBeyond255) {
    {
        std::ofstream out(packages.ListFile());
        out << "[Packages]\n";
        for (int i = 0; i < 258; ++i)
            out << i << "=" << dir.Path().string() << "/p" << i << ".bpl\n";
    }
    packages.ReadPackageList();
    ASSERT_EQ(packages.PackageFiles().size(), 258u);
    packages.RemovePackage(257);
    packages.RemovePackage(256);
    packages.WritePackageList();
    DesignPackages reread(*registry, packages.ListFile());
    reread.ReadPackageList();
    EXPECT_EQ(reread.PackageFiles().size(), 256u);
}

TEST_F(DesignPackagesTest, PackageFilesForAToolRunAreListedOnce) {
    packages.SetPackageFiles({widgets, gadgets, "/X/Other.bpl", "/x/other.BPL", widgets});
    EXPECT_EQ(packages.PackageFiles(), (std::vector<std::string>{widgets, gadgets, "/X/Other.bpl"}));
    EXPECT_TRUE(packages.LoadedModules().empty());
}

// The tools find the editor's package list where the editor keeps it.
TEST(UserPackageList, FollowsTheConfigurationFolderRule) {
    const auto saved = [](const char* name) -> std::optional<std::string> {
        const char* value = std::getenv(name);
        return value ? std::optional<std::string>(value) : std::nullopt;
    };
    const std::optional<std::string> config = saved("XDG_CONFIG_HOME"), home = saved("HOME");
    const auto set = [](const char* name, const std::optional<std::string>& value) {
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
    };
    const struct {
        std::optional<std::string> Config, Home;
        std::string Path;
    } cases[] = {
        {"/cfg", "/home/ann", "/cfg/Zentrix/formwright.ini"},
        {std::nullopt, "/home/ann", "/home/ann/.config/Zentrix/formwright.ini"},
        {"relative/cfg", "/home/ann", "/home/ann/.config/Zentrix/formwright.ini"},
        {std::nullopt, std::nullopt, ""},
    };
    for (const auto& c : cases) {
        set("XDG_CONFIG_HOME", c.Config);
        set("HOME", c.Home);
        EXPECT_EQ(fw::pkg::UserPackageListPath(), c.Path);
    }
    set("XDG_CONFIG_HOME", config);
    set("HOME", home);
}

TEST_F(DesignPackagesTest, AnUnwritableListFileIsReported) {
    const std::string blocked = dir.Write("blocked", BytesOf("a file, not a folder"));
    DesignPackages elsewhere(*registry, blocked + "/formwright.ini");
    elsewhere.AddPackage(widgets);
    EXPECT_THROW(elsewhere.WritePackageList(), fw::pkg::EIniFileError);
}

}  // namespace
