#pragma once
// A small PE writer for the tests: a DOS header, NT headers for PE32 or PE32+, sections
// at their file and virtual positions, and a resource section with a standard
// three-level directory (types, names, languages). Plus the payloads the reader looks
// for: form streams, PACKAGEINFO, DESCRIPTION and compiled class records. The files are
// made from scratch here so that every field a test depends on is known.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/stream.h"

namespace fwtest {

using fw::Bytes;

// A resource type or name: a number, or a name.
struct ResourceId {
    std::optional<std::uint16_t> Number;
    std::u16string Name;

    static ResourceId Num(std::uint16_t number) { return {number, {}}; }
    static ResourceId Str(const std::string& ascii) {
        return {std::nullopt, std::u16string(ascii.begin(), ascii.end())};
    }
    static ResourceId Wide(std::u16string name) { return {std::nullopt, std::move(name)}; }
};

// One module's imports by name, for PeWriter::AddImports.
struct TestImport {
    std::string Module;
    std::vector<std::string> Names;
};

// A named export, for PeWriter::AddExports.
struct TestExport {
    std::string Name;
    std::uint32_t Rva = 0;
};

struct TestResource {
    ResourceId Type;
    ResourceId Name;
    std::uint16_t Language = 0;
    Bytes Data;
    std::uint32_t CodePage = 0;
};

// Where the pieces of a built file lie, for tests that damage them.
struct BuiltPe {
    Bytes File;
    std::uint32_t NtHeadersOffset = 0;
    std::uint32_t SectionTableOffset = 0;
    std::uint32_t ResourceRva = 0;         // 0 when the file has no resources
    std::uint32_t ResourceFileOffset = 0;  // the resource directory's first byte
};

inline constexpr std::uint32_t TestSectionAlignment = 0x1000;
inline constexpr std::uint32_t TestFileAlignment = 0x200;

class PeWriter {
public:
    explicit PeWriter(bool pe32Plus = false, std::uint64_t imageBase = 0x400000)
        : pe32Plus_(pe32Plus), imageBase_(imageBase) {}

    std::uint64_t ImageBase() const { return imageBase_; }
    // The RVA the next section will get; lets a test lay out code that refers to itself.
    std::uint32_t NextSectionRva() const;
    // Adds a section; virtualSize 0 means the size of raw. Returns its RVA.
    std::uint32_t AddSection(const std::string& name, Bytes raw, std::uint32_t virtualSize = 0);
    // Resources go into a ".rsrc" section after the other sections.
    void AddResource(TestResource resource) { resources_.push_back(std::move(resource)); }
    void SetSizeOfImage(std::uint32_t size) { sizeOfImage_ = size; }
    // Adds an ".idata" section with the imports by name: for each module its lookup
    // table, its import address table, the hint/name entries and the module's name. The
    // import directory points at it. Returns the RVA of each name's import address slot,
    // module by module, name by name.
    std::vector<std::uint32_t> AddImports(const std::vector<TestImport>& imports);
    // Adds an ".edata" section with an export directory for moduleName: one address
    // entry per export in the order given, and the name table in byte order of the
    // names, as the loader searches it. The export directory points at it. Returns the
    // section's RVA.
    std::uint32_t AddExports(const std::string& moduleName, const std::vector<TestExport>& exports);

    BuiltPe Build() const;

private:
    struct Section {
        std::string Name;
        Bytes Raw;
        std::uint32_t VirtualSize;
        std::uint32_t Rva;
    };
    Bytes BuildResourceSection(std::uint32_t rva) const;

    bool pe32Plus_;
    std::uint64_t imageBase_;
    std::vector<Section> sections_;
    std::vector<TestResource> resources_;
    std::optional<std::uint32_t> sizeOfImage_;
    // Data directory entries set by AddImports and AddExports: index, RVA, size.
    std::vector<std::array<std::uint32_t, 3>> directories_;
};

void PutU16(Bytes& bytes, std::size_t at, std::uint16_t value);
void PutU32(Bytes& bytes, std::size_t at, std::uint32_t value);
std::uint32_t GetU32(const Bytes& bytes, std::size_t at);

Bytes BytesOf(const std::string& text);

// The binary form stream of a form text, made with the codec.
Bytes FormStream(const std::string& text);
// A small form named name of class "T" + name.
Bytes SmallForm(const std::string& name, const std::string& caption = "Hello");

// A PACKAGEINFO payload. dcpName is written as the trailing name entry when given; the
// caller sets flag bit 30 to match or not. padding zero bytes follow.
Bytes PackageInfoPayload(std::uint32_t flags, const std::vector<std::string>& requiredPackages,
                         const std::vector<std::string>& containedUnits,
                         const std::optional<std::string>& dcpName = std::nullopt, std::size_t padding = 0);
// A DESCRIPTION payload: UTF-16 with a terminating zero unit.
Bytes DescriptionPayload(const std::u16string& text);

// Writes a compiled class record into code (laid out at sectionAddress): its self
// pointer at offset at, its class reference distance bytes further, and its name as a
// length-prefixed string at nameAt, which the name pointer points to. The tables it
// points to are 0 or inside the record's allowed ranges.
void PutClassRecord(Bytes& code, std::uint64_t sectionAddress, std::size_t at, std::uint32_t distance,
                    std::size_t nameAt, const std::string& name);

// The class record the C++ compiler writes for a class of the component library, at
// offset at of a section laid out at sectionAddress: its self pointer, its class
// reference distance bytes further, and the absolute addresses of its name (a
// length-prefixed string wherever the caller put it, see PutShortString), its type
// information (0 for none) and the cell that holds its parent's class reference. The
// tables it has none of are 0, its instance size 12.
void PutLooseClassRecord(Bytes& section, std::uint64_t sectionAddress, std::size_t at, std::uint32_t distance,
                         std::uint32_t nameAddress, std::uint32_t typeInfoAddress,
                         std::uint32_t parentAddress);
// A length byte and the text at offset at, growing bytes as needed.
void PutShortString(Bytes& bytes, std::size_t at, const std::string& text);

// A folder of its own for one test, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // Writes bytes to name inside the folder and returns the file's path.
    std::string Write(const std::string& name, const Bytes& bytes) const;

private:
    std::filesystem::path path_;
};

// A file that lives in memory only (memfd), reachable by a path while it exists. Tests
// that open thousands of variants use it to stay off the disk.
class MemoryFile {
public:
    explicit MemoryFile(const Bytes& bytes);
    ~MemoryFile();
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    const std::string& Path() const { return path_; }

private:
    int fd_ = -1;
    std::string path_;
};

}  // namespace fwtest
