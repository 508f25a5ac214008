#pragma once
// The headers of a PE file as plain values: where the NT headers and the section table
// lie, PE32 or PE32+, the section table, the optional header's layout fields and its
// data directories, and the translation of relative virtual addresses to file offsets.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/byteview.h"

namespace fw::pe {

// One entry of the section table.
struct PeSection {
    std::string Name;  // the 8-byte name field up to its first zero byte
    std::uint32_t VirtualSize = 0;
    std::uint32_t VirtualAddress = 0;
    std::uint32_t SizeOfRawData = 0;
    std::uint32_t PointerToRawData = 0;
};

// Entry i of the optional header's data directory.
struct DataDirectory {
    std::uint32_t VirtualAddress = 0;
    std::uint32_t Size = 0;
};

inline constexpr int ResourceDirectoryIndex = 2;

struct PeHeaders {
    std::uint32_t NtHeadersOffset = 0;  // the 32-bit value at file offset 0x3C
    bool Pe32Plus = false;              // optional header Magic 0x20B
    // NT headers + 248 (PE32) or + 264 (PE32+). The file header's optional-header size
    // is not consulted; every linker that produced these files writes the standard size.
    std::uint64_t SectionTableOffset = 0;
    std::uint16_t NumberOfSections = 0;
    // The section table entries that lie wholly inside the file, in table order; a
    // table cut off by the end of the file keeps the entries before the cut.
    std::vector<PeSection> Sections;

    // Optional-header fields the module image needs; absent when the file ends before them.
    std::optional<std::uint64_t> ImageBase;
    std::optional<std::uint32_t> SizeOfImage;
    std::optional<std::uint32_t> SizeOfHeaders;

    // The file offset of data directory entry index; it may lie outside the file.
    std::uint64_t DataDirectoryOffset(int index) const;
};

// Reads the headers. Returns nothing when the file does not begin with "MZ", when the 26
// bytes at the NT headers (signature, file header, optional-header Magic) are not all
// there, or when the signature is not "PE\0\0".
std::optional<PeHeaders> ReadPeHeaders(const ByteView& file);

// Data directory entry index, read from the file; nothing when it lies outside the file.
std::optional<DataDirectory> ReadDataDirectory(const ByteView& file, const PeHeaders& headers, int index);

// The file offset of a relative virtual address: the first section in table order whose
// [VirtualAddress, VirtualAddress + VirtualSize) holds the address gives the offset
// rva - VirtualAddress + PointerToRawData; when none does, the last section's values
// are used all the same (a loader-independent guess that keeps files with understated
// section sizes readable). Nothing when there are no sections or the result would lie
// before the start of the file. The caller still checks the result against the file.
std::optional<std::uint64_t> RvaToFileOffset(const PeHeaders& headers, std::uint32_t rva);

// "CODE" ignoring case wins over ".text"; nothing when the file has neither.
const PeSection* FindCodeSection(const std::vector<PeSection>& sections);

}  // namespace fw::pe
