// The class scan: records at each of the three self-pointer distances, the checks that
// reject near misses, the section it scans, and reads that stay inside the section.

#include <gtest/gtest.h>

#include "peimage/classscan.h"
#include "peimage/pefile.h"
#include "pewriter.h"
#include "samplemodule.h"

namespace {

using fw::pe::ClassReference;
using fw::pe::ScanClassRecords;
using namespace fwtest;

constexpr std::uint64_t Section = 0x00401000;

std::vector<std::string> Names(const std::vector<ClassReference>& refs) {
    std::vector<std::string> names;
    for (const ClassReference& ref : refs)
        names.push_back(ref.Name);
    return names;
}

TEST(ClassScan, FindsRecordsAtEachDistanceInAddressOrder) {
    Bytes code(0x400, 0);
    // Written out of address order: the 88-byte record first in the bytes, the 64-byte
    // one last, so the result's order comes from the addresses.
    PutClassRecord(code, Section, 0x000, 88, 0x100, "TNewer");
    PutClassRecord(code, Section, 0x120, 76, 0x200, "TMiddle");
    PutClassRecord(code, Section, 0x220, 64, 0x300, "TOld_1");
    const std::vector<ClassReference> refs = ScanClassRecords(code, Section);
    ASSERT_EQ(refs.size(), 3u);
    EXPECT_EQ(Names(refs), (std::vector<std::string>{"TNewer", "TMiddle", "TOld_1"}));
    EXPECT_EQ(refs[0].Address, Section + 88);
    EXPECT_EQ(refs[0].RecordDistance, 88u);
    EXPECT_EQ(refs[1].Address, Section + 0x120 + 76);
    EXPECT_EQ(refs[1].RecordDistance, 76u);
    EXPECT_EQ(refs[2].Address, Section + 0x220 + 64);
    EXPECT_EQ(refs[2].RecordDistance, 64u);
}

TEST(ClassScan, RejectsNearMisses) {
    constexpr std::size_t At = 0x40;
    constexpr std::uint32_t Distance = 76;
    constexpr std::uint64_t C = Section + At + Distance;
    const std::uint64_t E = Section + 0x400 - 4;
    const struct {
        const char* Name;
        std::size_t Offset;  // from the self pointer
        std::uint64_t Value;
    } cases[] = {
        {"self pointer at another distance", 0, Section + At + 80},
        {"self pointer behind the record", 0, Section + At - 76},
        {"interface table before the section", 4, Section - 4},
        {"automation table after the section", 8, E + 4},
        {"initialisation table after the section", 12, E + 1},
        {"type information before the section", 16, Section - 1},
        // The four pointers after it must not point before the class reference, even
        // when they point into the section.
        {"field table before the reference", 20, C - 4},
        {"method table before the reference", 24, Section},
        {"dynamic table after the section", 28, E + 4},
        {"class name before the reference", 32, C - 8},
        {"no class name", 32, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Bytes code(0x400, 0);
        PutClassRecord(code, Section, At, Distance, 0x200, "TGood");
        ASSERT_EQ(ScanClassRecords(code, Section).size(), 1u);
        PutU32(code, At + c.Offset, static_cast<std::uint32_t>(c.Value));
        EXPECT_TRUE(ScanClassRecords(code, Section).empty());
    }

    // The edges of each range are inside it.
    Bytes edges(0x400, 0);
    PutClassRecord(edges, Section, At, Distance, 0x200, "TGood");
    PutU32(edges, At + 4, static_cast<std::uint32_t>(Section));
    PutU32(edges, At + 16, static_cast<std::uint32_t>(E));
    PutU32(edges, At + 20, static_cast<std::uint32_t>(C));
    PutU32(edges, At + 28, static_cast<std::uint32_t>(E));
    EXPECT_EQ(ScanClassRecords(edges, Section).size(), 1u);
}

TEST(ClassScan, TakesOnlyIdentifierNamesOfTwoCharactersOrMore) {
    const struct {
        std::string Name;
        bool Found;
    } cases[] = {
        {"T", false},   {"TA", true},   {"_x", true},     {"T_1", true}, {"1T", false},
        {"T-1", false}, {"T 1", false}, {"T\xC4", false}, {"", false},   {std::string("Tx\0y", 4), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Bytes code(0x200, 0);
        PutClassRecord(code, Section, 0x10, 76, 0x100, c.Name);
        EXPECT_EQ(ScanClassRecords(code, Section).size(), c.Found ? 1u : 0u);
    }
}

TEST(ClassScan, ReadsNothingPastTheSection) {
    // A name whose length byte reaches past the end, and self pointers in the last words
    // that would make the checks read past it. Under the address sanitizer an over-read
    // shows; here the sizes are exact heap blocks.
    Bytes code(0x100, 0);
    PutClassRecord(code, Section, 0x10, 76, 0xF0, "TLong");
    code[0xF0] = 0x20;
    EXPECT_TRUE(ScanClassRecords(code, Section).empty());
    for (std::size_t tail = 4; tail <= 40; tail += 4) {
        Bytes end(0x100, 0);
        PutU32(end, 0x100 - tail, static_cast<std::uint32_t>(Section + 0x100 - tail + 64));
        EXPECT_TRUE(ScanClassRecords(end, Section).empty());
    }
    EXPECT_TRUE(ScanClassRecords({}, Section).empty());
    EXPECT_TRUE(ScanClassRecords(Bytes(3, 0), Section).empty());
}

// A 32-bit module with code in sections of the given names; each section holds one class
// named after it.
std::vector<std::string> ClassesOfModule(const std::vector<std::string>& sectionNames) {
    PeWriter writer;
    for (const std::string& name : sectionNames) {
        Bytes code(0x200, 0);
        const std::uint64_t address = writer.ImageBase() + writer.NextSectionRva();
        std::string className = "T";
        for (const char ch : name)
            if (std::isalnum(static_cast<unsigned char>(ch))) className += ch;
        PutClassRecord(code, address, 0x20, 76, 0x100, className);
        writer.AddSection(name, code);
    }
    const MemoryFile file(writer.Build().File);
    fw::pe::PeFile pe;
    pe.Open(file.Path());
    return pe.ClassNames();
}

TEST(ClassScan, ScansTheCodeSectionBeforeTheTextSection) {
    using V = std::vector<std::string>;
    EXPECT_EQ(ClassesOfModule({".text", "CODE"}), V{"TCODE"});
    EXPECT_EQ(ClassesOfModule({".text", "code"}), V{"Tcode"});
    EXPECT_EQ(ClassesOfModule({"DATA", ".text"}), V{"Ttext"});
    EXPECT_EQ(ClassesOfModule({"DATA", "CODEX", ".data"}), V{});
}

// The layout the C++ compilers write for their classes of the component library: the
// record among the data, its name before it or in another section, its type information
// elsewhere again, its parent through a cell. Sections: ".text" at 0x1000, ".data" at
// 0x2000, ".rdata" at 0x3000, each 0x200 bytes, so that 0x200 to 0x1000 past each start
// lies in the image but in no section.
struct LooseModule {
    static constexpr std::uint32_t Text = 0x401000, Data = 0x402000, Rdata = 0x403000;
    Bytes text = Bytes(0x200, 0xC3);
    Bytes data = Bytes(0x200, 0);
    Bytes rdata = Bytes(0x200, 0);

    LooseModule() {
        // A record in the code section whose name lies in the data section.
        PutShortString(data, 0x10, "TCGauge");
        PutLooseClassRecord(text, Text, 0x40, 76, Data + 0x10, 0, Data + 0x1F0);
        // The grid: name before its record, type information in another section.
        PutShortString(data, 0x20, "TCColorGrid");
        rdata[0x40] = 7;  // a class's type information: its kind, then its name
        PutShortString(rdata, 0x41, "TCColorGrid");
        PutLooseClassRecord(data, Data, 0x40, 76, Data + 0x20, Rdata + 0x40, Data + 0x1F0);
        // A later compiler's distance, its name in another section.
        PutShortString(rdata, 0x10, "TCSpinButton");
        PutLooseClassRecord(data, Data, 0xA0, 88, Rdata + 0x10, 0, Data + 0x1F0);
        PutU32(data, 0x1F0, 0x12345678);  // the parent's cell: an import slot, say
    }
    std::vector<std::string> Classes() const {
        PeWriter writer;
        writer.AddSection(".text", text);
        writer.AddSection(".data", data);
        writer.AddSection(".rdata", rdata);
        const MemoryFile file(writer.Build().File);
        fw::pe::PeFile pe;
        pe.Open(file.Path());
        return pe.ClassNames();
    }
};

// Regression: packages of the C++ compilers showed no classes; their records lie outside
// the code section, or point out of it.
TEST(ClassScan, FindsRecordsOfTheCppCompilersAmongTheData) {
    EXPECT_EQ(LooseModule().Classes(), (std::vector<std::string>{"TCGauge", "TCColorGrid", "TCSpinButton"}));
}

TEST(ClassScan, RejectsLooseRecordsThatAreNone) {
    constexpr std::size_t Grid = 0x40;  // the grid's record in .data
    const struct {
        const char* Name;
        std::size_t Offset;  // from the self pointer
        std::uint32_t Value;
    } cases[] = {
        {"no parent", 40, 0},
        {"parent between the sections", 40, LooseModule::Data + 0x200},
        {"parent outside the image", 40, 0x10000000},
        {"instance size 0", 36, 0},
        {"instance size below a pointer", 36, 3},
        {"instance size beyond any class", 36, fw::pe::MaxInstanceSize + 1},
        {"type information between the sections", 16, LooseModule::Rdata + 0x300},
        {"method table outside the image", 24, 0x00300000},
        {"no name", 32, 0},
        {"name between the sections", 32, LooseModule::Text + 0x400},
        {"name pointing at no identifier", 32, LooseModule::Data + 0x21},
        {"self pointer at another distance", 0, LooseModule::Data + Grid + 80},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        LooseModule module;
        PutU32(module.data, Grid + c.Offset, c.Value);
        EXPECT_EQ(module.Classes(), (std::vector<std::string>{"TCGauge", "TCSpinButton"}));
    }

    // A name that runs past the bytes its section holds.
    LooseModule longName;
    longName.rdata[0x1F0] = 0x20;
    std::fill(longName.rdata.begin() + 0x1F1, longName.rdata.end(), 'A');
    PutU32(longName.data, 0xA0 + 32, LooseModule::Rdata + 0x1F0);
    EXPECT_EQ(longName.Classes(), (std::vector<std::string>{"TCGauge", "TCColorGrid"}));
}

}  // namespace
