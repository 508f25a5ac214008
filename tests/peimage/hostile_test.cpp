// The reader on damaged and hostile files: cut-off files, references outside every
// section, directories that loop, nest too deeply or fan out, absurd counts, names that
// would take gigabytes, and images that cannot be laid out. Each must give empty or
// partial results quickly, without an error from Open and without reading outside the
// file (run these under the address sanitizer as well).

#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "peimage/pefile.h"
#include "pewriter.h"
#include "samplemodule.h"

namespace {

using fw::pe::PeFile;
using namespace fwtest;

constexpr std::uint32_t HighBit = 0x80000000u;

std::vector<std::string> ResourceNames(const PeFile& pe) {
    std::vector<std::string> names;
    for (const auto& item : pe.Resources())
        names.push_back(item.TypeName + "/" + item.Name + "/" + item.Language);
    return names;
}

template <typename T>
bool IsPrefix(const std::vector<T>& part, const std::vector<T>& whole) {
    return part.size() <= whole.size() && std::equal(part.begin(), part.end(), whole.begin());
}

class Hostile : public ::testing::Test {
protected:
    // Opens the bytes as a file; Open must not throw.
    PeFile& OpenBytes(const Bytes& bytes) {
        const MemoryFile file(bytes);
        EXPECT_NO_THROW(pe_.Open(file.Path()));
        return pe_;
    }

    PeFile pe_;
};

TEST_F(Hostile, FileCutAnywhereKeepsAPrefixOfTheResources) {
    const Bytes full = SampleModule(false).Build().File;
    PeFile whole;
    const MemoryFile wholeFile(full);
    whole.Open(wholeFile.Path());
    const std::vector<std::string> allResources = ResourceNames(whole);
    ASSERT_EQ(allResources.size(), 12u);

    for (std::size_t cut = 0; cut < full.size(); cut += cut < 0x400 ? 1 : 7) {
        SCOPED_TRACE(cut);
        const PeFile& pe = OpenBytes(Bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(cut)));
        EXPECT_TRUE(IsPrefix(ResourceNames(pe), allResources));
        EXPECT_TRUE(IsPrefix(pe.FormNames(), whole.FormNames()));
        EXPECT_LE(pe.ClassRefs().size(), whole.ClassRefs().size());
        if (HasFailure()) break;
    }
}

TEST_F(Hostile, DamagedReferencesEndTheWalkKeepingWhatCameBefore) {
    const BuiltPe sample = SampleModule(false).Build();
    const std::uint32_t root = sample.ResourceFileOffset;
    const std::uint32_t directoryEntry = sample.NtHeadersOffset + 24 + 96 + 2 * 8;
    // The data entries follow the directories and strings; the first item's entry is the
    // first data entry, found through the first type's tree.
    auto firstLanguageEntry = [&](const Bytes& file) {
        const std::uint32_t typeDirectory = GetU32(file, root + 16 + 4) & ~HighBit;
        const std::uint32_t nameDirectory = GetU32(file, root + typeDirectory + 16 + 4) & ~HighBit;
        return root + nameDirectory + 16;
    };
    auto dataEntryOf = [&](const Bytes& file, std::uint32_t languageEntry) {
        return root + GetU32(file, languageEntry + 4);
    };

    const struct {
        const char* Name;
        std::function<void(Bytes&)> Damage;
        std::size_t Resources;  // how many of the sample's 12 remain
    } cases[] = {
        {"directory RVA outside every section", [&](Bytes& f) { PutU32(f, directoryEntry, 0x7FFF0000); }, 0},
        {"directory RVA before the file", [&](Bytes& f) { PutU32(f, directoryEntry, 0x10); }, 0},
        {"directory in the headers", [&](Bytes& f) { PutU32(f, directoryEntry, 0x20); }, 0},
        {"first data RVA outside every section",
         [&](Bytes& f) { PutU32(f, dataEntryOf(f, firstLanguageEntry(f)), 0x7FFFFF00); }, 0},
        {"first data size past the end",
         [&](Bytes& f) { PutU32(f, dataEntryOf(f, firstLanguageEntry(f)) + 4, 0xFFFFFFF0u); }, 0},
        {"data entry outside the directory",
         [&](Bytes& f) { PutU32(f, firstLanguageEntry(f) + 4, 0x7FFFFFF0); }, 0},
        {"type name outside the file", [&](Bytes& f) { PutU32(f, root + 16, HighBit | 0x7FFFFF00); }, 0},
        {"name-level directory loops back to the root",
         [&](Bytes& f) {
             const std::uint32_t typeDirectory = GetU32(f, root + 16 + 4) & ~HighBit;
             PutU32(f, root + typeDirectory + 16 + 4, HighBit);
         },
         11},
        {"root entry points at the root", [&](Bytes& f) { PutU32(f, root + 16 + 4, HighBit); }, 11},
        {"sub-directory offset outside the file",
         [&](Bytes& f) { PutU32(f, root + 16 + 4, HighBit | 0x7FFFFFF0); }, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Bytes file = sample.File;
        c.Damage(file);
        const PeFile& pe = OpenBytes(file);
        EXPECT_EQ(pe.Resources().size(), c.Resources);
        // The steps after the walk still run.
        EXPECT_EQ(pe.ClassRefs().size(), SampleClasses().size());
    }
}

TEST_F(Hostile, AbsurdCountsEndTheWalkAtTheEndOfTheFile) {
    const BuiltPe sample = SampleModule(false).Build();
    for (const std::uint32_t at : {sample.ResourceFileOffset, sample.NtHeadersOffset + 6}) {
        Bytes file = sample.File;
        PutU16(file, at + (at == sample.ResourceFileOffset ? 12 : 0), 0xFFFF);
        if (at == sample.ResourceFileOffset) PutU16(file, at + 14, 0xFFFF);
        const auto start = std::chrono::steady_clock::now();
        const PeFile& pe = OpenBytes(file);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
        EXPECT_LE(pe.Resources().size(), 64u);
    }
}

// Builds a file whose resource section holds the given directory bytes, with rva the
// section's RVA to place data entries.
BuiltPe WithResourceBytes(const std::function<Bytes(std::uint32_t rva)>& directory) {
    const Bytes probe = directory(0);
    PeWriter writer;
    writer.AddResource({ResourceId::Num(10), ResourceId::Str("X"), 0, Bytes(probe.size() + 64, 0), 0});
    BuiltPe built = writer.Build();
    const Bytes bytes = directory(built.ResourceRva);
    std::copy(bytes.begin(), bytes.end(), built.File.begin() + built.ResourceFileOffset);
    return built;
}

void PutDirectory(Bytes& b, std::uint32_t at, std::uint16_t named, std::uint16_t numbered) {
    PutU32(b, at, 0);
    PutU32(b, at + 4, 0);
    PutU32(b, at + 8, 0);
    PutU16(b, at + 12, named);
    PutU16(b, at + 14, numbered);
}

// A chain of depth directories, each with one entry leading to the next, the last with
// one data entry; then the data entry and 4 bytes of "TPF0".
Bytes Chain(std::uint32_t rva, int depth) {
    Bytes b;
    std::uint32_t at = 0;
    for (int level = 0; level < depth; ++level, at += 24) {
        PutDirectory(b, at, 0, 1);
        PutU32(b, at + 16, 10);  // type 10, then any numbers
        const bool last = level == depth - 1;
        PutU32(b, at + 20, last ? at + 24 : (at + 24) | HighBit);
    }
    PutU32(b, at, rva + at + 16);
    PutU32(b, at + 4, 4);
    b.resize(at + 16);
    b.insert(b.end(), {'T', 'P', 'F', '0'});
    return b;
}

TEST_F(Hostile, NestingDeeperThanTheLimitIsNotEntered) {
    const PeFile& normal = OpenBytes(WithResourceBytes([](std::uint32_t rva) { return Chain(rva, 3); }).File);
    ASSERT_EQ(normal.Resources().size(), 1u);
    EXPECT_EQ(normal.FormNames(), std::vector<std::string>{"10"});

    const PeFile& deep =
        OpenBytes(WithResourceBytes([](std::uint32_t rva) { return Chain(rva, 5000); }).File);
    EXPECT_TRUE(deep.Resources().empty());
}

TEST_F(Hostile, DirectoriesSharedByManyEntriesAreWalkedOnce) {
    // Eight levels of 1000 entries, every entry of a level leading to the same directory
    // of the next level: 1000^8 paths, 8000 entries.
    constexpr int Levels = 8;
    constexpr std::uint16_t Fan = 1000;
    const auto fan = [&](std::uint32_t rva) {
        Bytes b;
        const std::uint32_t size = 16 + 8 * Fan;
        for (std::uint32_t level = 0; level < Levels; ++level) {
            const std::uint32_t at = level * size;
            PutDirectory(b, at, 0, Fan);
            for (std::uint32_t i = 0; i < Fan; ++i) {
                PutU32(b, at + 16 + 8 * i, 10 + i);
                const std::uint32_t next = at + size;
                PutU32(b, at + 20 + 8 * i, level + 1 < Levels ? next | HighBit : next);
            }
        }
        const std::uint32_t entry = Levels * size;
        PutU32(b, entry, rva + entry + 16);
        PutU32(b, entry + 4, 4);
        b.resize(entry + 16);
        b.insert(b.end(), {'T', 'P', 'F', '0'});
        return b;
    };
    const auto start = std::chrono::steady_clock::now();
    const PeFile& pe = OpenBytes(WithResourceBytes(fan).File);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    // The last level's directory is walked once, from its first owner: 1000 items.
    EXPECT_EQ(pe.Resources().size(), Fan);
}

TEST_F(Hostile, ManyEntriesNamingOneLongStringStopAtTheLabelBudget) {
    constexpr std::uint16_t Entries = 2000;
    const auto directory = [&](std::uint32_t rva) {
        Bytes b;
        PutDirectory(b, 0, 0, 1);  // root: one type
        PutU32(b, 16, 10);
        PutU32(b, 20, 24 | HighBit);
        PutDirectory(b, 24, 0, Entries);  // type directory: 2000 data entries
        const std::uint32_t data = 40 + 8 * Entries;
        const std::uint32_t name = data + 16;
        for (std::uint32_t i = 0; i < Entries; ++i) {
            PutU32(b, 40 + 8 * i, name | HighBit);  // every language label is the long name
            PutU32(b, 44 + 8 * i, data);
        }
        PutU32(b, data, rva + data);
        PutU32(b, data + 4, 16);
        PutU16(b, name, 0xFFFF);
        b.resize(name + 2 + 2 * 0xFFFF, 'A');
        return b;
    };
    const PeFile& pe = OpenBytes(WithResourceBytes(directory).File);
    EXPECT_GT(pe.Resources().size(), 100u);
    EXPECT_LT(pe.Resources().size(), Entries);
}

TEST_F(Hostile, ImagesThatCannotBeLaidOutStillListTheirForms) {
    const struct {
        const char* Name;
        std::function<void(BuiltPe&)> Damage;
    } cases[] = {
        {"image size 0", [](BuiltPe& b) { PutU32(b.File, b.NtHeadersOffset + 24 + 56, 0); }},
        {"image size 4 GB", [](BuiltPe& b) { PutU32(b.File, b.NtHeadersOffset + 24 + 56, 0xFFFFF000u); }},
        {"section past the image end",
         [](BuiltPe& b) { PutU32(b.File, b.NtHeadersOffset + 24 + 56, 0x2000); }},
        {"sections overlapping", [](BuiltPe& b) { PutU32(b.File, b.SectionTableOffset + 40 + 12, 0x1000); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        BuiltPe built = SampleModule(false).Build();
        c.Damage(built);
        const PeFile& pe = OpenBytes(built.File);
        EXPECT_EQ(pe.Module(), nullptr);
        EXPECT_EQ(pe.FormNames().size(), 3u);
        EXPECT_TRUE(pe.ClassRefs().empty());
        EXPECT_TRUE(pe.ContainedUnits().empty());
    }
}

// A code section whose header claims a gigabyte of raw data in a file of a few
// kilobytes: the class scan covers the bytes the file holds (the rest of the section is
// zeros, which hold no record) and still finds the records among them. Found by fuzzing,
// where scanning the whole claimed gigabyte ran past the time limit.
TEST_F(Hostile, CodeSectionClaimingMoreThanTheFileIsScannedOverItsFileBytes) {
    PeWriter writer;
    const std::uint32_t codeRva = writer.NextSectionRva();
    const Bytes code = SampleCode(writer.ImageBase() + codeRva);
    constexpr std::uint32_t Claimed = 0x3FF00000;  // just under the largest image taken
    writer.AddSection("CODE", code, Claimed);
    writer.SetSizeOfImage(codeRva + Claimed);
    BuiltPe built = writer.Build();
    PutU32(built.File, built.SectionTableOffset + 16, Claimed);  // SizeOfRawData

    const PeFile& pe = OpenBytes(built.File);
    ASSERT_NE(pe.Module(), nullptr);
    EXPECT_EQ(pe.Module()->LoadedLength(pe.Module()->Headers().Sections.front()),
              built.File.size() - GetU32(built.File, built.SectionTableOffset + 20));
    std::vector<std::string> expected;
    for (const SampleClass& c : SampleClasses())
        expected.push_back(c.Name);
    std::vector<std::string> found;
    for (const auto& ref : pe.ClassRefs())
        found.push_back(ref.Name);
    EXPECT_EQ(found, expected);
}

TEST_F(Hostile, ScatteredByteDamageNeverEscapesOpen) {
    const BuiltPe sample = SampleModule(false).Build();
    std::mt19937 random(20240601);
    for (int round = 0; round < 400; ++round) {
        Bytes file = sample.File;
        const int flips = 1 + static_cast<int>(random() % 8);
        for (int i = 0; i < flips; ++i) {
            // Mostly the headers and the resource directory, where the references are.
            const bool headers = random() % 2 == 0;
            const std::size_t span = headers ? 0x200 : file.size() - sample.ResourceFileOffset;
            const std::size_t at = (headers ? 0 : sample.ResourceFileOffset) + random() % span;
            file[at] = static_cast<std::uint8_t>(random());
        }
        OpenBytes(file);
        if (HasFailure()) break;
    }
}

}  // namespace
