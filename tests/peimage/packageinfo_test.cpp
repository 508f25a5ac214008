// Package information: the PACKAGEINFO walk (entries, kinds, names cut at 256, the
// optional trailing name entry, damaged counts), the description, the lookup through a
// module image, and the report pages with their exact texts.

#include <gtest/gtest.h>

#include "peimage/fileview.h"
#include "peimage/moduleimage.h"
#include "peimage/packageinfo.h"
#include "pewriter.h"
#include "samplemodule.h"

namespace {

using fw::pe::BuildPackageReport;
using fw::pe::PackageEntryKind;
using fw::pe::ReportPage;
using namespace fwtest;

struct Visit {
    std::string Name;
    PackageEntryKind Kind;
    std::uint8_t UnitFlags;
    bool operator==(const Visit&) const = default;
};

struct WalkResult {
    std::vector<Visit> Visits;
    std::uint32_t Flags = 0xDEADBEEF;
    std::string Error;
};

WalkResult Walk(const Bytes& payload) {
    WalkResult result;
    try {
        fw::pe::WalkPackageInfo(
            payload, "demo.bpl",
            [&](std::string_view name, PackageEntryKind kind, std::uint8_t unitFlags) {
                result.Visits.push_back({std::string(name), kind, unitFlags});
            },
            result.Flags);
    } catch (const fw::pe::EPackageError& error) {
        result.Error = error.what();
    }
    return result;
}

constexpr auto Requires = PackageEntryKind::RequiredPackage;
constexpr auto Contains = PackageEntryKind::ContainedUnit;
constexpr auto DcpBpi = PackageEntryKind::DcpBpiName;

TEST(PackageInfo, VisitsEveryEntryInResourceOrder) {
    const WalkResult r = Walk(PackageInfoPayload(0x4C000000, {"rtl", "vcl"}, {"UnitA", "UnitB"}, "demo"));
    EXPECT_EQ(r.Error, "");
    EXPECT_EQ(r.Flags, 0x4C000000u);
    const std::vector<Visit> expected = {
        {"rtl", Requires, 0},      {"vcl", Requires, 0}, {"UnitA", Contains, 0x10},
        {"UnitB", Contains, 0x10}, {"demo", DcpBpi, 0},
    };
    EXPECT_EQ(r.Visits, expected);
}

TEST(PackageInfo, TheTrailingNameEntryIsReadOnlyWhenItFits) {
    const std::vector<Visit> body = {{"rtl", Requires, 0}, {"UnitA", Contains, 0x10}};
    const struct {
        const char* Name;
        std::uint32_t Flags;
        std::optional<std::string> DcpName;
        std::size_t Padding;
        std::optional<std::string> Visited;  // the DCP/BPI name visited, if any
    } cases[] = {
        {"bit 30 clear, nothing after", 0x8C000000, std::nullopt, 0, std::nullopt},
        {"bit 30 clear, an entry all the same", 0x8C000000, "ignored", 0, std::nullopt},
        {"bit 30 set, entry present", 0x4C000000, "demo", 0, "demo"},
        {"bit 30 set, nothing after", 0xCC000000, std::nullopt, 0, std::nullopt},
        {"bit 30 set, one byte of padding", 0xCC000000, std::nullopt, 1, std::nullopt},
        {"bit 30 set, padding that reads as an empty entry", 0xCC000000, std::nullopt, 3, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const WalkResult r = Walk(PackageInfoPayload(c.Flags, {"rtl"}, {"UnitA"}, c.DcpName, c.Padding));
        EXPECT_EQ(r.Error, "");
        std::vector<Visit> expected = body;
        if (c.Visited) expected.push_back({*c.Visited, DcpBpi, 0});
        EXPECT_EQ(r.Visits, expected);
    }
    // Bytes after the contains list with no terminating zero cannot hold the entry either.
    Bytes unterminated = PackageInfoPayload(0xCC000000, {"rtl"}, {"UnitA"});
    unterminated.insert(unterminated.end(), {1, 'a', 'b'});
    EXPECT_EQ(Walk(unterminated).Error, "");
    EXPECT_EQ(Walk(unterminated).Visits, body);
}

TEST(PackageInfo, CutsLongNamesAndReadsTheEntriesAfterThem) {
    const std::string longName(300, 'N');
    const WalkResult r = Walk(PackageInfoPayload(0, {longName, "next"}, {std::string(256, 'U'), "Last"}));
    EXPECT_EQ(r.Error, "");
    ASSERT_EQ(r.Visits.size(), 4u);
    EXPECT_EQ(r.Visits[0].Name, std::string(256, 'N'));
    EXPECT_EQ(r.Visits[1].Name, "next");
    EXPECT_EQ(r.Visits[2].Name, std::string(256, 'U'));
    EXPECT_EQ(r.Visits[3].Name, "Last");
}

TEST(PackageInfo, CountsThatRunPastTheResourceEndTheWalkWithAnError) {
    const std::string damaged = "Package information for package 'demo.bpl' is damaged";
    const Bytes good = PackageInfoPayload(0x4C000000, {"rtl"}, {"UnitA"});
    const std::size_t containsCountAt = 4 + 4 + 1 + 4;
    const struct {
        const char* Name;
        std::function<Bytes()> Payload;
        int Visits;  // how many entries were visited before the error; -1: not checked
    } cases[] = {
        {"empty", [] { return Bytes(); }, 0},
        {"flags cut",
         [] {
             return Bytes{1, 2};
         },
         0},
        {"no requires count",
         [] {
             return Bytes{0, 0, 0, 0x4C};
         },
         0},
        {"requires count past the end",
         [&] {
             Bytes b = good;
             PutU32(b, 4, 1000);
             return b;
         },
         -1},  // the bytes after the real entry read as entries until they run off the end
        {"negative requires count",
         [&] {
             Bytes b = good;
             PutU32(b, 4, 0xC2560D3Eu);
             return b;
         },
         0},
        {"contains count past the end",
         [&] {
             Bytes b = good;
             PutU32(b, containsCountAt, 2);
             return b;
         },
         2},
        {"contains count cut",
         [&] { return Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(containsCountAt + 2)); },
         1},
        {"name without its zero", [&] { return Bytes(good.begin(), good.end() - 1); }, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const WalkResult r = Walk(c.Payload());
        EXPECT_EQ(r.Error, damaged);
        if (c.Visits >= 0) {
            EXPECT_EQ(r.Visits.size(), static_cast<std::size_t>(c.Visits));
        }
    }
    // The flags word is stored before the first visit, even when the walk then fails.
    Bytes negative = good;
    PutU32(negative, 4, 0xFFFFFFFFu);
    EXPECT_EQ(Walk(negative).Flags, 0x4C000000u);
}

TEST(PackageInfo, DescriptionStopsAtTheFirstZeroUnit) {
    const fw::CodePage& western = fw::CodePage::Default();
    EXPECT_EQ(fw::pe::DecodeDescription(DescriptionPayload(u"Demo \u00e9l\u00e8ve"), western),
              "Demo \xE9l\xE8ve");
    Bytes trailing = DescriptionPayload(u"Shown");
    trailing.insert(trailing.end(), {'X', 0, 'Y'});
    EXPECT_EQ(fw::pe::DecodeDescription(trailing, western), "Shown");
    EXPECT_EQ(fw::pe::DecodeDescription(Bytes{'A', 0, 'B'}, western), "A");  // no terminator, odd size
    EXPECT_EQ(fw::pe::DecodeDescription({}, western), "");
}

TEST(PackageInfo, ModuleLookupAndDescriptionFromAPath) {
    TempDir dir;
    const std::string package = dir.Write("sample.bpl", SampleModule(false).Build().File);
    EXPECT_EQ(fw::pe::ReadPackageDescription(package), fw::CodePage::Default().Encode(SampleDescription));

    PeWriter plainWriter;
    plainWriter.AddResource({ResourceId::Num(10), ResourceId::Str("TMAIN"), 0, SmallForm("Main"), 0});
    const std::string plain = dir.Write("plain.exe", plainWriter.Build().File);
    EXPECT_EQ(fw::pe::ReadPackageDescription(plain), "");

    const std::unique_ptr<fw::pe::FileView> view = fw::pe::FileView::Open(plain);
    ASSERT_NE(view, nullptr);
    const std::unique_ptr<fw::pe::ModuleImage> module = fw::pe::ModuleImage::Load(view->Bytes(), plain);
    ASSERT_NE(module, nullptr);
    std::uint32_t flags = 0;
    try {
        fw::pe::WalkPackageInfo(
            *module, [](std::string_view, PackageEntryKind, std::uint8_t) {}, flags);
        FAIL() << "no exception";
    } catch (const fw::pe::EPackageError& error) {
        EXPECT_STREQ(error.what(), "Cannot access package information for package 'plain.exe'");
    }

    const std::string missing = (dir.Path() / "missing.bpl").string();
    for (const std::string& path : {missing, dir.Write("text.bpl", BytesOf("not a module"))}) {
        try {
            (void)fw::pe::ReadPackageDescription(path);
            FAIL() << "no exception for " << path;
        } catch (const fw::pe::EPackageError& error) {
            const std::string message = error.what();
            EXPECT_EQ(message.rfind("Can't load package " + path + ".\r\n", 0), 0u) << message;
            EXPECT_GT(message.size(), ("Can't load package " + path + ".\r\n").size()) << message;
        }
    }
}

std::vector<std::string> Report(ReportPage page, const fw::pe::PackageReportInputs& inputs) {
    std::vector<std::string> lines = {"stale"};
    BuildPackageReport(page, inputs, lines);
    return lines;
}

TEST(PackageReport, FlagsPageTexts) {
    using V = std::vector<std::string>;
    const struct {
        std::uint32_t Flags;
        V Lines;
    } cases[] = {
        {0x00000000, {"Options: ", "Type: Executable", "Producer: Delphi 3 or C++ Builder 3"}},
        {0x4C000002, {"Options: DesignOnly", "Type: Package", "Producer: Delphi 4 or later"}},
        {0x00000008, {"Options: IgnoreDupUnits", "Type: Executable", "Producer: Delphi 3 or C++ Builder 3"}},
        {0x0000000F,
         {"Options: NeverBuild,DesignOnly,RunOnly,IgnoreDupUnits", "Type: Executable",
          "Producer: Delphi 3 or C++ Builder 3"}},
        {0x88000005, {"Options: NeverBuild,RunOnly", "Type: Library", "Producer: C++ Builder 4 or later"}},
        {0xC0000000, {"Options: ", "Type: Executable", "Producer: Delphi 3 or C++ Builder 3"}},
        {0x44000000, {"Options: ", "Type: Package"}},  // producer 1: no line
        {0x3A6C3210, {"Options: ", "Type: Executable", "Producer: C++ Builder 4 or later"}},
        {0xCC100001, {"Options: NeverBuild", "Type: Executable", "Producer: Delphi 4 or later"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Flags);
        fw::pe::PackageReportInputs inputs;
        inputs.Flags = c.Flags;
        EXPECT_EQ(Report(ReportPage::Flags, inputs), c.Lines);
    }
}

TEST(PackageReport, ListPages) {
    using V = std::vector<std::string>;
    fw::pe::PackageReportInputs empty;
    EXPECT_EQ(Report(ReportPage::Header, empty), (V{"requires", "contains"}));
    EXPECT_EQ(Report(ReportPage::Classes, empty), V{});
    EXPECT_EQ(Report(ReportPage::Forms, empty), V{});

    fw::pe::PackageReportInputs inputs;
    inputs.RequiredPackages = {"rtl", "vcl"};
    inputs.ContainedUnits = {"UnitA"};
    inputs.ClassNames = {"TOne", "TTwo"};
    inputs.FormNames = {"TFORM1", "TFORM1"};
    EXPECT_EQ(Report(ReportPage::Header, inputs), (V{"requires", "  rtl", "  vcl", "contains", "  UnitA"}));
    EXPECT_EQ(Report(ReportPage::Classes, inputs), (V{"TOne", "TTwo"}));
    EXPECT_EQ(Report(ReportPage::Forms, inputs), (V{"TFORM1", "TFORM1"}));

    // A module without package information, and one the class scan did not look at,
    // say so on the page concerned; the other pages stay as they are.
    fw::pe::PackageReportInputs bare = inputs;
    bare.HasPackageInfo = false;
    bare.ClassesScanned = false;
    EXPECT_EQ(Report(ReportPage::Flags, bare), V{std::string(fw::pe::NoPackageInfoText)});
    EXPECT_EQ(Report(ReportPage::Classes, bare), V{std::string(fw::pe::ClassesNotScannedText)});
    EXPECT_EQ(Report(ReportPage::Header, bare), Report(ReportPage::Header, inputs));
    EXPECT_EQ(Report(ReportPage::Forms, bare), Report(ReportPage::Forms, inputs));

    for (ReportPage page : {ReportPage::Header, ReportPage::Classes, ReportPage::Forms, ReportPage::Flags})
        EXPECT_EQ(fw::pe::ReportPageFromName(fw::pe::ReportPageName(page)), page);
    EXPECT_EQ(fw::pe::ReportPageFromName("flags"), ReportPage::Flags);
    EXPECT_EQ(fw::pe::ReportPageFromName("Info"), std::nullopt);
}

}  // namespace
