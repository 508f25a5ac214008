#include "pewriter.h"

#include <stdlib.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <stdexcept>

#include "codec/conversion.h"

namespace fwtest {

namespace {

std::uint32_t AlignUp(std::uint32_t value, std::uint32_t alignment) {
    return (value + alignment - 1) / alignment * alignment;
}

void PutU64(Bytes& bytes, std::size_t at, std::uint64_t value) {
    PutU32(bytes, at, static_cast<std::uint32_t>(value));
    PutU32(bytes, at + 4, static_cast<std::uint32_t>(value >> 32));
}

// Resource directories list named entries first, in name order, then numbered ones in
// number order.
bool IdLess(const ResourceId& a, const ResourceId& b) {
    if (a.Number.has_value() != b.Number.has_value()) return !a.Number.has_value();
    if (a.Number) return *a.Number < *b.Number;
    return a.Name < b.Name;
}

struct IdOrder {
    bool operator()(const ResourceId& a, const ResourceId& b) const { return IdLess(a, b); }
};

constexpr std::uint32_t HighBit = 0x80000000u;

}  // namespace

void PutU16(Bytes& bytes, std::size_t at, std::uint16_t value) {
    if (bytes.size() < at + 2) bytes.resize(at + 2);
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void PutU32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    if (bytes.size() < at + 4) bytes.resize(at + 4);
    for (int i = 0; i < 4; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t GetU32(const Bytes& bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes.at(at) | (bytes.at(at + 1) << 8) | (bytes.at(at + 2) << 16)) |
           (static_cast<std::uint32_t>(bytes.at(at + 3)) << 24);
}

Bytes BytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

std::uint32_t PeWriter::NextSectionRva() const {
    if (sections_.empty()) return TestSectionAlignment;
    const Section& last = sections_.back();
    return AlignUp(last.Rva + std::max<std::uint32_t>(last.VirtualSize, 1), TestSectionAlignment);
}

std::uint32_t PeWriter::AddSection(const std::string& name, Bytes raw, std::uint32_t virtualSize) {
    const std::uint32_t rva = NextSectionRva();
    const auto size = static_cast<std::uint32_t>(raw.size());
    sections_.push_back({name, std::move(raw), virtualSize != 0 ? virtualSize : size, rva});
    return rva;
}

std::vector<std::uint32_t> PeWriter::AddImports(const std::vector<TestImport>& imports) {
    const std::uint32_t rva = NextSectionRva();
    const std::uint32_t slot = pe32Plus_ ? 8 : 4;
    // Descriptors (with the closing empty one), then per module its lookup table and its
    // address table (each closed by an empty slot), then hint/name entries and names.
    std::uint32_t at = 20 * static_cast<std::uint32_t>(imports.size() + 1);
    std::vector<std::uint32_t> lookupAt, addressAt;
    for (const TestImport& module : imports) {
        const auto tableSize = slot * static_cast<std::uint32_t>(module.Names.size() + 1);
        lookupAt.push_back(at);
        at += tableSize;
        addressAt.push_back(at);
        at += tableSize;
    }
    Bytes raw(at, 0);
    std::vector<std::uint32_t> slots;
    for (std::size_t m = 0; m < imports.size(); ++m) {
        const TestImport& module = imports[m];
        const auto descriptor = static_cast<std::uint32_t>(20 * m);
        PutU32(raw, descriptor, rva + lookupAt[m]);
        PutU32(raw, descriptor + 16, rva + addressAt[m]);
        for (std::size_t i = 0; i < module.Names.size(); ++i) {
            const auto hintName = static_cast<std::uint32_t>(raw.size());
            PutU16(raw, hintName, static_cast<std::uint16_t>(i));
            raw.insert(raw.end(), module.Names[i].begin(), module.Names[i].end());
            raw.push_back(0);
            if (raw.size() % 2) raw.push_back(0);
            const auto offset = static_cast<std::uint32_t>(slot * i);
            PutU32(raw, lookupAt[m] + offset, rva + hintName);
            PutU32(raw, addressAt[m] + offset, rva + hintName);
            slots.push_back(rva + addressAt[m] + offset);
        }
        PutU32(raw, descriptor + 12, rva + static_cast<std::uint32_t>(raw.size()));
        raw.insert(raw.end(), module.Module.begin(), module.Module.end());
        raw.push_back(0);
    }
    directories_.push_back({1, rva, 20 * static_cast<std::uint32_t>(imports.size() + 1)});
    AddSection(".idata", std::move(raw));
    return slots;
}

std::uint32_t PeWriter::AddExports(const std::string& moduleName, const std::vector<TestExport>& exports) {
    const std::uint32_t rva = NextSectionRva();
    const auto count = static_cast<std::uint32_t>(exports.size());
    const std::uint32_t functionsAt = 40;
    const std::uint32_t namesAt = functionsAt + 4 * count;
    const std::uint32_t ordinalsAt = namesAt + 4 * count;
    Bytes raw(ordinalsAt + 2 * count, 0);
    PutU32(raw, 16, 1);  // ordinal base
    PutU32(raw, 20, count);
    PutU32(raw, 24, count);
    PutU32(raw, 28, rva + functionsAt);
    PutU32(raw, 32, rva + namesAt);
    PutU32(raw, 36, rva + ordinalsAt);
    PutU32(raw, 12, rva + static_cast<std::uint32_t>(raw.size()));
    raw.insert(raw.end(), moduleName.begin(), moduleName.end());
    raw.push_back(0);
    std::vector<std::uint32_t> order(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        order[i] = i;
        PutU32(raw, functionsAt + 4 * i, exports[i].Rva);
    }
    std::sort(order.begin(), order.end(),
              [&](std::uint32_t a, std::uint32_t b) { return exports[a].Name < exports[b].Name; });
    for (std::uint32_t i = 0; i < count; ++i) {
        PutU32(raw, namesAt + 4 * i, rva + static_cast<std::uint32_t>(raw.size()));
        PutU16(raw, ordinalsAt + 2 * i, static_cast<std::uint16_t>(order[i]));
        raw.insert(raw.end(), exports[order[i]].Name.begin(), exports[order[i]].Name.end());
        raw.push_back(0);
    }
    directories_.push_back({0, rva, static_cast<std::uint32_t>(raw.size())});
    AddSection(".edata", std::move(raw));
    return rva;
}

Bytes PeWriter::BuildResourceSection(std::uint32_t rva) const {
    using Languages = std::map<std::uint16_t, const TestResource*>;
    using Names = std::map<ResourceId, Languages, IdOrder>;
    std::map<ResourceId, Names, IdOrder> tree;
    for (const TestResource& r : resources_)
        tree[r.Type][r.Name][r.Language] = &r;

    // Sizes first: directories, then name strings, then data entries, then data.
    std::uint32_t directories = 16 + 8 * static_cast<std::uint32_t>(tree.size());
    std::uint32_t strings = 0;
    std::size_t dataEntries = 0;
    auto stringSize = [](const ResourceId& id) {
        return id.Number ? 0u : AlignUp(2 + 2 * static_cast<std::uint32_t>(id.Name.size()), 2);
    };
    for (const auto& [type, names] : tree) {
        directories += 16 + 8 * static_cast<std::uint32_t>(names.size());
        strings += stringSize(type);
        for (const auto& [name, languages] : names) {
            directories += 16 + 8 * static_cast<std::uint32_t>(languages.size());
            strings += stringSize(name);
            dataEntries += languages.size();
        }
    }
    const std::uint32_t stringsAt = directories;
    const std::uint32_t entriesAt = AlignUp(stringsAt + strings, 4);
    std::uint32_t dataAt = AlignUp(entriesAt + 16 * static_cast<std::uint32_t>(dataEntries), 8);

    Bytes out(dataAt, 0);
    std::uint32_t nextDirectory = 0;
    std::uint32_t nextString = stringsAt;
    std::uint32_t nextEntry = entriesAt;

    auto putDirectory = [&](std::uint32_t at, std::size_t named, std::size_t numbered) {
        PutU16(out, at + 12, static_cast<std::uint16_t>(named));
        PutU16(out, at + 14, static_cast<std::uint16_t>(numbered));
    };
    auto nameField = [&](const ResourceId& id) -> std::uint32_t {
        if (id.Number) return *id.Number;
        const std::uint32_t at = nextString;
        PutU16(out, at, static_cast<std::uint16_t>(id.Name.size()));
        for (std::size_t i = 0; i < id.Name.size(); ++i)
            PutU16(out, at + 2 + 2 * i, static_cast<std::uint16_t>(id.Name[i]));
        nextString += stringSize(id);
        return at | HighBit;
    };
    auto countNamed = [](const auto& level) {
        return static_cast<std::size_t>(
            std::count_if(level.begin(), level.end(), [](const auto& e) { return !e.first.Number; }));
    };

    const std::uint32_t rootAt = nextDirectory;
    putDirectory(rootAt, countNamed(tree), tree.size() - countNamed(tree));
    nextDirectory += 16 + 8 * static_cast<std::uint32_t>(tree.size());
    std::uint32_t typeSlot = rootAt + 16;
    for (const auto& [type, names] : tree) {
        const std::uint32_t typeAt = nextDirectory;
        nextDirectory += 16 + 8 * static_cast<std::uint32_t>(names.size());
        PutU32(out, typeSlot, nameField(type));
        PutU32(out, typeSlot + 4, typeAt | HighBit);
        typeSlot += 8;
        putDirectory(typeAt, countNamed(names), names.size() - countNamed(names));
        std::uint32_t nameSlot = typeAt + 16;
        for (const auto& [name, languages] : names) {
            const std::uint32_t nameAt = nextDirectory;
            nextDirectory += 16 + 8 * static_cast<std::uint32_t>(languages.size());
            PutU32(out, nameSlot, nameField(name));
            PutU32(out, nameSlot + 4, nameAt | HighBit);
            nameSlot += 8;
            putDirectory(nameAt, 0, languages.size());
            std::uint32_t languageSlot = nameAt + 16;
            for (const auto& [language, resource] : languages) {
                PutU32(out, languageSlot, language);
                PutU32(out, languageSlot + 4, nextEntry);
                languageSlot += 8;
                PutU32(out, nextEntry, rva + dataAt);
                PutU32(out, nextEntry + 4, static_cast<std::uint32_t>(resource->Data.size()));
                PutU32(out, nextEntry + 8, resource->CodePage);
                nextEntry += 16;
                out.resize(dataAt);
                out.insert(out.end(), resource->Data.begin(), resource->Data.end());
                dataAt = AlignUp(static_cast<std::uint32_t>(out.size()), 8);
            }
        }
    }
    out.resize(AlignUp(static_cast<std::uint32_t>(out.size()), 4));
    return out;
}

BuiltPe PeWriter::Build() const {
    std::vector<Section> sections = sections_;
    BuiltPe built;
    if (!resources_.empty()) {
        const std::uint32_t rva = NextSectionRva();
        sections.push_back({".rsrc", BuildResourceSection(rva), 0, rva});
        sections.back().VirtualSize = static_cast<std::uint32_t>(sections.back().Raw.size());
        built.ResourceRva = rva;
    }

    const std::uint32_t nt = 0x80;
    const std::uint32_t optionalSize = pe32Plus_ ? 240 : 224;
    const std::uint32_t table = nt + 24 + optionalSize;
    const std::uint32_t headersEnd =
        AlignUp(table + 40 * static_cast<std::uint32_t>(sections.size()), TestFileAlignment);

    Bytes file = BytesOf("MZ");
    file.resize(headersEnd, 0);
    PutU32(file, 0x3C, nt);
    const std::string stub = "This program cannot be run in DOS mode.";
    std::copy(stub.begin(), stub.end(), file.begin() + 0x4E);

    PutU32(file, nt, 0x00004550);
    PutU16(file, nt + 4, pe32Plus_ ? 0x8664 : 0x014C);
    PutU16(file, nt + 6, static_cast<std::uint16_t>(sections.size()));
    PutU16(file, nt + 20, static_cast<std::uint16_t>(optionalSize));
    PutU16(file, nt + 22, 0x2102);
    const std::uint32_t optional = nt + 24;
    PutU16(file, optional, pe32Plus_ ? 0x20B : 0x10B);
    if (pe32Plus_) {
        PutU64(file, optional + 24, imageBase_);
    } else {
        PutU32(file, optional + 28, static_cast<std::uint32_t>(imageBase_));
    }
    PutU32(file, optional + 32, TestSectionAlignment);
    PutU32(file, optional + 36, TestFileAlignment);
    PutU16(file, optional + 40, 4);
    PutU16(file, optional + 48, 4);
    PutU32(file, optional + 60, headersEnd);
    PutU16(file, optional + 68, 2);  // GUI
    const std::uint32_t directoryCountAt = optional + (pe32Plus_ ? 108 : 92);
    PutU32(file, directoryCountAt, 16);
    const std::uint32_t directories = optional + (pe32Plus_ ? 112 : 96);

    std::uint32_t imageEnd = TestSectionAlignment;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const Section& section = sections[i];
        const std::uint32_t header = table + 40 * static_cast<std::uint32_t>(i);
        for (std::size_t c = 0; c < section.Name.size() && c < 8; ++c)
            file[header + c] = static_cast<std::uint8_t>(section.Name[c]);
        const std::uint32_t rawSize =
            AlignUp(static_cast<std::uint32_t>(section.Raw.size()), TestFileAlignment);
        const auto rawAt = static_cast<std::uint32_t>(file.size());
        PutU32(file, header + 8, section.VirtualSize);
        PutU32(file, header + 12, section.Rva);
        PutU32(file, header + 16, rawSize);
        PutU32(file, header + 20, section.Raw.empty() ? 0 : rawAt);
        PutU32(file, header + 36, section.Name == ".rsrc" ? 0x40000040u : 0x60000020u);
        if (!section.Raw.empty()) {
            file.insert(file.end(), section.Raw.begin(), section.Raw.end());
            file.resize(rawAt + rawSize, 0);
        }
        if (section.Name == ".rsrc" && built.ResourceRva == section.Rva) {
            built.ResourceFileOffset = rawAt;
            PutU32(file, directories + 8 * 2, section.Rva);
            PutU32(file, directories + 8 * 2 + 4, static_cast<std::uint32_t>(section.Raw.size()));
        }
        imageEnd = AlignUp(section.Rva + std::max(section.VirtualSize, 1u), TestSectionAlignment);
    }
    PutU32(file, optional + 56, sizeOfImage_.value_or(imageEnd));
    for (const auto& [index, rva, size] : directories_) {
        PutU32(file, directories + 8 * index, rva);
        PutU32(file, directories + 8 * index + 4, size);
    }

    built.File = std::move(file);
    built.NtHeadersOffset = nt;
    built.SectionTableOffset = table;
    return built;
}

Bytes FormStream(const std::string& text) {
    fw::ByteViewStream input(fw::ByteSpan(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    fw::MemoryStream output;
    fw::TextToBinaryForm(input, output);
    return output.Take();
}

Bytes SmallForm(const std::string& name, const std::string& caption) {
    return FormStream("object " + name + ": T" + name + "\r\n  Left = 8\r\n  Caption = '" + caption +
                      "'\r\nend\r\n");
}

Bytes PackageInfoPayload(std::uint32_t flags, const std::vector<std::string>& requiredPackages,
                         const std::vector<std::string>& containedUnits,
                         const std::optional<std::string>& dcpName, std::size_t padding) {
    Bytes out;
    PutU32(out, 0, flags);
    PutU32(out, 4, static_cast<std::uint32_t>(requiredPackages.size()));
    for (const std::string& name : requiredPackages) {
        out.push_back(0x5A);  // hash
        out.insert(out.end(), name.begin(), name.end());
        out.push_back(0);
    }
    PutU32(out, out.size(), static_cast<std::uint32_t>(containedUnits.size()));
    for (const std::string& name : containedUnits) {
        out.push_back(0x10);  // unit flags
        out.push_back(0x33);  // hash
        out.insert(out.end(), name.begin(), name.end());
        out.push_back(0);
    }
    if (dcpName) {
        out.push_back(0x01);
        out.insert(out.end(), dcpName->begin(), dcpName->end());
        out.push_back(0);
    }
    out.resize(out.size() + padding, 0);
    return out;
}

Bytes DescriptionPayload(const std::u16string& text) {
    Bytes out;
    for (const char16_t unit : text)
        PutU16(out, out.size(), static_cast<std::uint16_t>(unit));
    PutU16(out, out.size(), 0);
    return out;
}

void PutClassRecord(Bytes& code, std::uint64_t sectionAddress, std::size_t at, std::uint32_t distance,
                    std::size_t nameAt, const std::string& name) {
    const auto address = [&](std::size_t offset) {
        return static_cast<std::uint32_t>(sectionAddress + offset);
    };
    const std::size_t reference = at + distance;
    if (nameAt < reference) throw std::logic_error("the class name must follow the class reference");
    PutU32(code, at, address(reference));       // self pointer
    PutU32(code, at + 4, 0);                    // interface table
    PutU32(code, at + 8, 0);                    // automation table
    PutU32(code, at + 12, address(0));          // initialisation table: anywhere in the section
    PutU32(code, at + 16, address(nameAt));     // type information: anywhere in the section
    PutU32(code, at + 20, 0);                   // field table
    PutU32(code, at + 24, address(reference));  // method table: at or after the reference
    PutU32(code, at + 28, 0);                   // dynamic method table
    PutU32(code, at + 32, address(nameAt));     // class name
    PutU32(code, at + 36, 12);                  // instance size
    PutU32(code, at + 40, 0);                   // parent
    if (code.size() < nameAt + 1 + name.size()) code.resize(nameAt + 1 + name.size());
    code[nameAt] = static_cast<std::uint8_t>(name.size());
    std::copy(name.begin(), name.end(), code.begin() + static_cast<std::ptrdiff_t>(nameAt + 1));
}

void PutLooseClassRecord(Bytes& section, std::uint64_t sectionAddress, std::size_t at, std::uint32_t distance,
                         std::uint32_t nameAddress, std::uint32_t typeInfoAddress,
                         std::uint32_t parentAddress) {
    if (section.size() < at + distance + 4) section.resize(at + distance + 4);
    for (std::size_t field = 0; field < distance; field += 4)
        PutU32(section, at + field, 0);
    PutU32(section, at, static_cast<std::uint32_t>(sectionAddress + at + distance));  // self pointer
    PutU32(section, at + 16, typeInfoAddress);
    PutU32(section, at + 32, nameAddress);
    PutU32(section, at + 36, 12);  // instance size
    PutU32(section, at + 40, parentAddress);
}

void PutShortString(Bytes& bytes, std::size_t at, const std::string& text) {
    if (bytes.size() < at + 1 + text.size()) bytes.resize(at + 1 + text.size());
    bytes[at] = static_cast<std::uint8_t>(text.size());
    std::copy(text.begin(), text.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at + 1));
}

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "fw-pe-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::Write(const std::string& name, const Bytes& bytes) const {
    const std::filesystem::path file = path_ / name;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + file.string());
    return file.string();
}

MemoryFile::MemoryFile(const Bytes& bytes) {
    fd_ = ::memfd_create("fw-pe-test", MFD_CLOEXEC);
    if (fd_ < 0) throw std::runtime_error("cannot make a memory file");
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + written, bytes.size() - written);
        if (n <= 0) throw std::runtime_error("cannot write a memory file");
        written += static_cast<std::size_t>(n);
    }
    path_ = "/proc/self/fd/" + std::to_string(fd_);
}

MemoryFile::~MemoryFile() {
    ::close(fd_);
}

}  // namespace fwtest
