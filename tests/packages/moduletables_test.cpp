// The export and import tables as package loading reads them.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "../peimage/pewriter.h"
#include "packages/moduletables.h"
#include "peimage/fileview.h"
#include "peimage/moduleimage.h"

namespace {

using namespace fwtest;
using fw::pkg::HasExport;
using fw::pkg::ReadImportSlots;
using fw::pkg::TypeNameOfImport;

struct Loaded {
    explicit Loaded(const Bytes& bytes) : file(bytes) {
        view = fw::pe::FileView::Open(file.Path());
        image = fw::pe::ModuleImage::Load(view->Bytes(), file.Path());
    }
    MemoryFile file;
    std::unique_ptr<fw::pe::FileView> view;
    std::unique_ptr<fw::pe::ModuleImage> image;
};

TEST(ModuleTables, FindsExportsByNameOnly) {
    PeWriter pe;
    const std::uint32_t code = pe.AddSection("CODE", Bytes(0x40, 0xC3));
    pe.AddExports("pkg.bpl", {{"Initialize", code},
                              {"Finalize", code + 8},
                              {"@Unit@TThing@", code + 16},
                              {"Zero", 0},
                              {"Alpha", code + 24}});
    const Loaded loaded(pe.Build().File);
    ASSERT_TRUE(loaded.image);
    for (const char* name : {"Initialize", "Finalize", "@Unit@TThing@", "Alpha"})
        EXPECT_TRUE(HasExport(*loaded.image, name)) << name;
    // Case matters, a prefix is not the name, and an export without an address is none.
    for (const char* name : {"initialize", "Init", "InitializeX", "Zero", ""})
        EXPECT_FALSE(HasExport(*loaded.image, name)) << name;
}

TEST(ModuleTables, ModulesWithoutOrWithDamagedExportTablesExportNothing) {
    PeWriter plain;
    plain.AddSection("CODE", Bytes(0x40, 0xC3));
    const Loaded none(plain.Build().File);
    ASSERT_TRUE(none.image);
    EXPECT_FALSE(HasExport(*none.image, "Initialize"));

    // A name table that claims far more names than the image holds.
    PeWriter pe;
    const std::uint32_t code = pe.AddSection("CODE", Bytes(0x40, 0xC3));
    const std::uint32_t exports = pe.AddExports("pkg.bpl", {{"Initialize", code}});
    BuiltPe built = pe.Build();
    const std::uint32_t raw = GetU32(built.File, built.SectionTableOffset + 40 + 20);  // second section
    PutU32(built.File, raw + 24, 0x7FFFFFFF);
    PutU32(built.File, raw + 32, exports + 0xFFFFF0);
    const Loaded damaged(built.File);
    ASSERT_TRUE(damaged.image);
    EXPECT_FALSE(HasExport(*damaged.image, "Initialize"));
}

TEST(ModuleTables, ImportSlotsNameTheirSymbols) {
    for (const bool wide : {false, true}) {
        SCOPED_TRACE(wide ? "PE32+" : "PE32");
        PeWriter pe(wide);
        const std::vector<std::uint32_t> slots = pe.AddImports(
            {{"rtl.bpl", {"@Classes@TComponent@", "@$xp$7Integer"}}, {"vcl.bpl", {"@Forms@TForm@"}}});
        pe.AddSection("CODE", Bytes(0x40, 0xC3));
        const Loaded loaded(pe.Build().File);
        ASSERT_TRUE(loaded.image);
        const fw::pkg::ImportSlots read = ReadImportSlots(*loaded.image);
        ASSERT_EQ(read.size(), 3u);
        EXPECT_EQ(read.at(pe.ImageBase() + slots[0]), "@Classes@TComponent@");
        EXPECT_EQ(read.at(pe.ImageBase() + slots[1]), "@$xp$7Integer");
        EXPECT_EQ(read.at(pe.ImageBase() + slots[2]), "@Forms@TForm@");
    }
}

TEST(ModuleTables, TypeNamesOfImportedSymbols) {
    const struct {
        const char* symbol;
        std::optional<std::string> type;
    } cases[] = {
        {"@Classes@TComponent@", "TComponent"},
        {"@Vcl@Controls@TCustomControl@", "TCustomControl"},
        {"@$xp$18Classes@TComponent", "TComponent"},
        {"@$xp$7Integer", "Integer"},
        {"@$xp$22WidgetUnit@TWidgetMode", "TWidgetMode"},
        {"TPlain", "TPlain"},
        {"@Classes@TComponent@$bctr$qqrp18Classes@TComponent", std::nullopt},  // a constructor
        {"@Classes@RegisterClass$qqrp17System@TMetaClass", std::nullopt},      // a routine
        {"@Forms@Application", std::nullopt},                                  // a variable
        {"@$xp$5", std::nullopt},
        {"@", std::nullopt},
        {"", std::nullopt},
        {"@Unit@9Lives@", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TypeNameOfImport(c.symbol), c.type) << c.symbol;
}

}  // namespace
