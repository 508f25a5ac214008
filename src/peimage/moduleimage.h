#pragma once
// The module image: a PE file laid out in memory as the system loader would place it,
// without running or resolving anything from it. A buffer of SizeOfImage bytes stands
// at the image's preferred ImageBase; the headers and each section's raw data sit at
// their virtual addresses and everything else reads as zero, so the addresses stored
// inside the file (class records, their pointers) can be followed without relocation.
//
// Sections are copied from the file the first time a read touches them, and the buffer
// is reserved address space that costs memory only where it is written: opening a large
// file whose code nobody reads copies nothing of it. The image keeps a view of the
// file's bytes, which must outlive it. Reads are not safe from several threads at once.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "peimage/peheaders.h"

namespace fw::pe {

class ModuleImage {
public:
    // The largest SizeOfImage accepted. Larger images are refused rather than reserved:
    // no compiler of these files writes an image that big, and the class scan and the
    // package decoding need only the sections the file really holds.
    static constexpr std::uint64_t MaxImageSize = std::uint64_t{1} << 30;  // 1 GiB

    // Lays out the PE file in file. path names the module in messages. Returns nullptr
    // when the file is not a PE image, its image size is 0 or above MaxImageSize, a
    // section lies outside the image or overlaps the one before it, or the memory cannot
    // be reserved; *why then says which, when why is given.
    static std::unique_ptr<ModuleImage> Load(ByteSpan file, std::string path, std::string* why = nullptr);

    ~ModuleImage();
    ModuleImage(const ModuleImage&) = delete;
    ModuleImage& operator=(const ModuleImage&) = delete;

    const std::string& Path() const { return path_; }
    // The path's last component.
    std::string FileName() const;
    std::uint64_t Base() const { return base_; }
    std::uint64_t Size() const { return size_; }
    bool IsPe32Plus() const { return headers_.Pe32Plus; }
    const PeHeaders& Headers() const { return headers_; }
    // Data directory entry index as the headers give it; nothing when it is not in the file.
    std::optional<pe::DataDirectory> DataDirectory(int index) const;

    // The image's bytes at [address, address + length), or nothing when any of them lies
    // outside the image.
    std::optional<ByteSpan> Bytes(std::uint64_t address, std::uint64_t length) const;
    std::optional<ByteSpan> BytesAtRva(std::uint64_t rva, std::uint64_t length) const;
    std::optional<std::uint32_t> U32(std::uint64_t address) const;
    // The bytes from rva to the end of the section that holds it (or of the headers, for
    // an address among them); nothing when no section holds it.
    std::optional<ByteSpan> SectionRemainder(std::uint64_t rva) const;

    // How far section i reaches in the image: its VirtualSize, or its SizeOfRawData when
    // VirtualSize is 0 as some linkers leave it.
    static std::uint64_t Extent(const PeSection& section);
    // How many bytes at the section's start come from the file: its raw data within its
    // extent and within the file. The rest of the section is zeros in the image.
    std::uint64_t LoadedLength(const PeSection& section) const;

private:
    ModuleImage() = default;
    void Place(std::size_t section) const;

    std::string path_;
    ByteSpan file_;
    PeHeaders headers_;
    std::uint64_t base_ = 0;
    std::uint64_t size_ = 0;
    std::uint64_t headerBytes_ = 0;  // the header region at the start of the image
    std::uint8_t* memory_ = nullptr;
    mutable std::vector<bool> placed_;
    mutable std::size_t unplaced_ = 0;  // sections not copied in yet
};

}  // namespace fw::pe
