#include "peimage/peheaders.h"

#include "base/asciitext.h"

namespace fw::pe {

namespace {

constexpr std::uint32_t PeSignature = 0x00004550;  // "PE\0\0"
constexpr std::uint16_t MagicPe32Plus = 0x20B;
constexpr std::uint64_t OptionalHeader = 24;  // from the NT headers
constexpr std::uint64_t SectionHeaderSize = 40;

std::string SectionName(ByteSpan field) {
    std::size_t length = 0;
    while (length < field.size() && field[length] != 0)
        ++length;
    return std::string(reinterpret_cast<const char*>(field.data()), length);
}

}  // namespace

std::uint64_t PeHeaders::DataDirectoryOffset(int index) const {
    return std::uint64_t{NtHeadersOffset} + OptionalHeader + (Pe32Plus ? 112u : 96u) +
           8u * static_cast<std::uint64_t>(index);
}

std::optional<PeHeaders> ReadPeHeaders(const ByteView& file) {
    if (!file.Contains(0, 2) || file.U8(0) != 'M' || file.U8(1) != 'Z') return std::nullopt;
    if (!file.Contains(0x3C, 4)) return std::nullopt;
    PeHeaders headers;
    headers.NtHeadersOffset = file.U32(0x3C);
    const std::uint64_t nt = headers.NtHeadersOffset;
    if (!file.Contains(nt, 26) || file.U32(nt) != PeSignature) return std::nullopt;
    headers.Pe32Plus = file.U16(nt + OptionalHeader) == MagicPe32Plus;
    headers.NumberOfSections = file.U16(nt + 6);
    headers.SectionTableOffset = nt + (headers.Pe32Plus ? 264u : 248u);

    const std::uint64_t optional = nt + OptionalHeader;
    if (headers.Pe32Plus) {
        if (file.Contains(optional + 24, 8)) headers.ImageBase = file.U64(optional + 24);
    } else {
        if (file.Contains(optional + 28, 4)) headers.ImageBase = file.U32(optional + 28);
    }
    if (file.Contains(optional + 56, 4)) headers.SizeOfImage = file.U32(optional + 56);
    if (file.Contains(optional + 60, 4)) headers.SizeOfHeaders = file.U32(optional + 60);

    // At most 65535 entries of 40 bytes, each checked before it is read.
    for (std::uint64_t i = 0; i < headers.NumberOfSections; ++i) {
        const std::uint64_t at = headers.SectionTableOffset + i * SectionHeaderSize;
        if (!file.Contains(at, SectionHeaderSize)) break;
        PeSection section;
        section.Name = SectionName(file.Slice(at, 8));
        section.VirtualSize = file.U32(at + 8);
        section.VirtualAddress = file.U32(at + 12);
        section.SizeOfRawData = file.U32(at + 16);
        section.PointerToRawData = file.U32(at + 20);
        headers.Sections.push_back(std::move(section));
    }
    return headers;
}

std::optional<DataDirectory> ReadDataDirectory(const ByteView& file, const PeHeaders& headers, int index) {
    const std::uint64_t at = headers.DataDirectoryOffset(index);
    if (!file.Contains(at, 8)) return std::nullopt;
    return DataDirectory{file.U32(at), file.U32(at + 4)};
}

std::optional<std::uint64_t> RvaToFileOffset(const PeHeaders& headers, std::uint32_t rva) {
    if (headers.Sections.empty()) return std::nullopt;
    const PeSection* chosen = &headers.Sections.back();
    for (const PeSection& section : headers.Sections) {
        // rva - VirtualAddress < VirtualSize, unsigned: no overflow near 4 GB.
        if (rva >= section.VirtualAddress && rva - section.VirtualAddress < section.VirtualSize) {
            chosen = &section;
            break;
        }
    }
    const std::int64_t offset =
        std::int64_t{chosen->PointerToRawData} + std::int64_t{rva} - std::int64_t{chosen->VirtualAddress};
    if (offset < 0) return std::nullopt;
    return static_cast<std::uint64_t>(offset);
}

const PeSection* FindCodeSection(const std::vector<PeSection>& sections) {
    for (const PeSection& section : sections) {
        if (EqualsIgnoringCase(section.Name, "CODE")) return &section;
    }
    for (const PeSection& section : sections) {
        if (section.Name == ".text") return &section;
    }
    return nullptr;
}

}  // namespace fw::pe
