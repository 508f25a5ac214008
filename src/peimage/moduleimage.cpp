#include "peimage/moduleimage.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstring>

namespace fw::pe {

namespace {

void SetReason(std::string* why, const std::string& reason) {
    if (why) *why = reason;
}

}  // namespace

std::uint64_t ModuleImage::Extent(const PeSection& section) {
    return section.VirtualSize != 0 ? section.VirtualSize : section.SizeOfRawData;
}

std::unique_ptr<ModuleImage> ModuleImage::Load(ByteSpan file, std::string path, std::string* why) {
    const ByteView view(file);
    std::optional<PeHeaders> headers = ReadPeHeaders(view);
    if (!headers) {
        SetReason(why, "The file is not a valid PE image");
        return nullptr;
    }
    if (!headers->ImageBase || !headers->SizeOfImage || !headers->SizeOfHeaders) {
        SetReason(why, "The optional header is cut off");
        return nullptr;
    }
    const std::uint64_t size = *headers->SizeOfImage;
    const std::uint64_t base = *headers->ImageBase;
    if (size == 0 || size > MaxImageSize) {
        SetReason(why, "The image size " + std::to_string(size) + " is out of range");
        return nullptr;
    }
    if (base > UINT64_MAX - size) {
        SetReason(why, "The image base is out of range");
        return nullptr;
    }
    // The system loader refuses sections that leave the image or run into each other;
    // so does this one, which also lets each section be copied in on its own.
    std::uint64_t previousEnd = 0;
    for (const PeSection& section : headers->Sections) {
        const std::uint64_t end = std::uint64_t{section.VirtualAddress} + Extent(section);
        if (section.VirtualAddress < previousEnd || end > size) {
            SetReason(why, "The section " + section.Name + " lies outside the image");
            return nullptr;
        }
        previousEnd = end;
    }

    void* memory = ::mmap(nullptr, static_cast<std::size_t>(size), PROT_READ | PROT_WRITE,
                          MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (memory == MAP_FAILED) {
        SetReason(why, "Not enough memory for the image");
        return nullptr;
    }

    std::unique_ptr<ModuleImage> image(new ModuleImage());
    image->memory_ = static_cast<std::uint8_t*>(memory);
    image->path_ = std::move(path);
    image->file_ = file;
    image->base_ = base;
    image->size_ = size;
    image->placed_.assign(headers->Sections.size(), false);
    image->unplaced_ = headers->Sections.size();

    std::uint64_t headerBytes = std::min<std::uint64_t>({*headers->SizeOfHeaders, file.size(), size});
    if (!headers->Sections.empty())
        headerBytes = std::min<std::uint64_t>(headerBytes, headers->Sections.front().VirtualAddress);
    std::memcpy(image->memory_, file.data(), static_cast<std::size_t>(headerBytes));
    image->headerBytes_ = headerBytes;
    image->headers_ = std::move(*headers);
    return image;
}

ModuleImage::~ModuleImage() {
    if (memory_) ::munmap(memory_, static_cast<std::size_t>(size_));
}

std::string ModuleImage::FileName() const {
    const std::size_t slash = path_.find_last_of('/');
    return slash == std::string::npos ? path_ : path_.substr(slash + 1);
}

std::optional<DataDirectory> ModuleImage::DataDirectory(int index) const {
    return ReadDataDirectory(ByteView(file_), headers_, index);
}

void ModuleImage::Place(std::size_t index) const {
    if (placed_[index]) return;
    placed_[index] = true;
    --unplaced_;
    const PeSection& section = headers_.Sections[index];
    const std::uint64_t length = LoadedLength(section);
    if (length == 0) return;
    std::memcpy(memory_ + section.VirtualAddress, file_.data() + section.PointerToRawData,
                static_cast<std::size_t>(length));
}

std::uint64_t ModuleImage::LoadedLength(const PeSection& section) const {
    // Raw data beyond the section's extent is not part of the image.
    const std::uint64_t length = std::min<std::uint64_t>(section.SizeOfRawData, Extent(section));
    const std::uint64_t from = section.PointerToRawData;
    if (from >= file_.size()) return 0;  // nothing of it is in the file: zeros
    return std::min<std::uint64_t>(length, file_.size() - from);
}

std::optional<ByteSpan> ModuleImage::BytesAtRva(std::uint64_t rva, std::uint64_t length) const {
    if (rva > size_ || length > size_ - rva) return std::nullopt;
    const std::uint64_t end = rva + length;
    for (std::size_t i = 0; unplaced_ > 0 && i < headers_.Sections.size(); ++i) {
        const PeSection& section = headers_.Sections[i];
        const std::uint64_t start = section.VirtualAddress;
        if (start < end && start + Extent(section) > rva) Place(i);
    }
    return ByteSpan(memory_ + rva, static_cast<std::size_t>(length));
}

std::optional<ByteSpan> ModuleImage::Bytes(std::uint64_t address, std::uint64_t length) const {
    if (address < base_) return std::nullopt;
    return BytesAtRva(address - base_, length);
}

std::optional<std::uint32_t> ModuleImage::U32(std::uint64_t address) const {
    const std::optional<ByteSpan> bytes = Bytes(address, 4);
    if (!bytes) return std::nullopt;
    return LoadLe32(bytes->data());
}

std::optional<ByteSpan> ModuleImage::SectionRemainder(std::uint64_t rva) const {
    if (rva < headerBytes_) return BytesAtRva(rva, headerBytes_ - rva);
    for (const PeSection& section : headers_.Sections) {
        const std::uint64_t start = section.VirtualAddress;
        const std::uint64_t end = start + Extent(section);
        if (rva >= start && rva < end) return BytesAtRva(rva, end - rva);
    }
    return std::nullopt;
}

}  // namespace fw::pe
