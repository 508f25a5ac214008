#include "peimage/classscan.h"

#include <algorithm>
#include <iterator>
#include <optional>

#include "base/byteview.h"
#include "peimage/moduleimage.h"

namespace fw::pe {

namespace {

bool IsNameStart(std::uint8_t c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsNamePart(std::uint8_t c) {
    return IsNameStart(c) || (c >= '0' && c <= '9');
}

// Bytes past the self pointer the checks read: the fields up to the class name pointer.
constexpr std::uint64_t CheckedFieldsEnd = ClassRecordField(ClassNameField) + 4;
// The same for the loose checks, which read up to the parent.
constexpr std::uint64_t LooseFieldsEnd = ClassRecordField(ParentField) + 4;

bool IsRecordDistance(std::uint64_t distance) {
    return std::find(std::begin(ClassRecordDistances), std::end(ClassRecordDistances), distance) !=
           std::end(ClassRecordDistances);
}

// A length byte and an identifier of at least 2 characters after it, within bytes.
std::optional<std::string> NameAt(ByteSpan bytes, std::uint64_t offset) {
    if (offset >= bytes.size()) return std::nullopt;
    const std::uint64_t length = bytes[offset];
    if (length < 2 || length > bytes.size() - offset - 1) return std::nullopt;
    const std::uint8_t* name = bytes.data() + offset + 1;
    if (!IsNameStart(name[0]) || !std::all_of(name + 1, name + length, IsNamePart)) return std::nullopt;
    return std::string(reinterpret_cast<const char*>(name), static_cast<std::size_t>(length));
}

void SortByAddress(std::vector<ClassReference>& classes) {
    // Records at two distances can claim the same reference only in crafted bytes; keep
    // the first and the order by address.
    std::stable_sort(classes.begin(), classes.end(),
                     [](const ClassReference& a, const ClassReference& b) { return a.Address < b.Address; });
    classes.erase(
        std::unique(classes.begin(), classes.end(),
                    [](const ClassReference& a, const ClassReference& b) { return a.Address == b.Address; }),
        classes.end());
}

// The bytes of each section the image holds from the file, with their addresses.
struct SectionBytes {
    std::uint64_t Address = 0;
    ByteSpan Bytes;
    std::uint64_t Extent = 0;  // how far the section reaches in the image
};

std::vector<SectionBytes> LoadedSections(const ModuleImage& image) {
    std::vector<SectionBytes> sections;
    for (const PeSection& section : image.Headers().Sections) {
        const std::uint64_t rva = section.VirtualAddress;
        if (rva >= image.Size()) continue;
        const std::uint64_t extent =
            std::min<std::uint64_t>(ModuleImage::Extent(section), image.Size() - rva);
        if (extent == 0) continue;
        const std::uint64_t length = std::min<std::uint64_t>(image.LoadedLength(section), extent);
        const std::optional<ByteSpan> bytes = image.BytesAtRva(rva, length);
        if (bytes) sections.push_back({image.Base() + rva, *bytes, extent});
    }
    return sections;
}

}  // namespace

std::vector<ClassReference> ScanClassRecords(ByteSpan code, std::uint64_t sectionAddress) {
    std::vector<ClassReference> classes;
    if (code.size() < 4) return classes;
    const std::uint8_t* const bytes = code.data();
    const std::uint64_t size = code.size();
    const std::uint64_t S = sectionAddress;
    const std::uint64_t E = S + size - 4;

    auto inRange = [](std::uint64_t value, std::uint64_t low, std::uint64_t high) {
        return value == 0 || (value >= low && value <= high);
    };
    auto field = [bytes](std::uint64_t offset, int index) {
        return std::uint64_t{LoadLe32(bytes + offset + ClassRecordField(index))};
    };

    // Positions P = S + offset while P < E; the fields read need CheckedFieldsEnd bytes.
    for (std::uint64_t offset = 0; offset + 4 < size && offset + CheckedFieldsEnd <= size; offset += 4) {
        const std::uint64_t self = LoadLe32(bytes + offset);
        const std::uint64_t P = S + offset;
        if (self <= P) continue;
        const std::uint64_t distance = self - P;
        if (distance != 64 && distance != 76 && distance != 88) continue;
        const std::uint64_t C = self;
        // Field 1 to 4: interface, automation, initialisation tables, type information.
        bool accepted = true;
        for (int i = 1; i <= 4 && accepted; ++i)
            accepted = inRange(field(offset, i), S, E);
        // Field 5 to 8: field, method and dynamic method tables, class name.
        for (int i = 5; i <= 8 && accepted; ++i)
            accepted = inRange(field(offset, i), C, E);
        if (!accepted) continue;
        const std::uint64_t namePointer = field(offset, ClassNameField);
        if (namePointer == 0) continue;
        // namePointer >= C > S
        std::optional<std::string> name = NameAt(code, namePointer - S);
        if (!name) continue;
        classes.push_back({C, static_cast<std::uint32_t>(distance), std::move(*name)});
    }
    SortByAddress(classes);
    return classes;
}

std::vector<ClassReference> ScanLooseClassRecords(const ModuleImage& image) {
    std::vector<ClassReference> classes;
    if (image.IsPe32Plus()) return classes;
    const std::vector<SectionBytes> sections = LoadedSections(image);
    // The section whose extent holds address, or nullptr. The image keeps its sections
    // in ascending order without overlaps, so the last one starting at or below the
    // address is the only candidate.
    const auto sectionOf = [&](std::uint64_t address) -> const SectionBytes* {
        auto after = std::upper_bound(sections.begin(), sections.end(), address,
                                      [](std::uint64_t a, const SectionBytes& s) { return a < s.Address; });
        if (after == sections.begin()) return nullptr;
        const SectionBytes& section = *std::prev(after);
        return address - section.Address < section.Extent ? &section : nullptr;
    };
    for (const SectionBytes& section : sections) {
        const std::uint8_t* const bytes = section.Bytes.data();
        const std::uint64_t size = section.Bytes.size();
        const auto field = [bytes](std::uint64_t offset, int index) {
            return std::uint64_t{LoadLe32(bytes + offset + ClassRecordField(index))};
        };
        for (std::uint64_t offset = 0; offset + LooseFieldsEnd <= size; offset += 4) {
            const std::uint64_t P = section.Address + offset;
            const std::uint64_t C = LoadLe32(bytes + offset);
            if (C <= P || !IsRecordDistance(C - P)) continue;
            bool accepted = true;
            for (int i = 1; i < ClassNameField && accepted; ++i) {
                const std::uint64_t pointer = field(offset, i);
                accepted = pointer == 0 || sectionOf(pointer);
            }
            const std::uint64_t instanceSize = field(offset, InstanceSizeField);
            const std::uint64_t parent = field(offset, ParentField);
            if (!accepted || instanceSize < 4 || instanceSize > MaxInstanceSize || !sectionOf(parent))
                continue;
            const std::uint64_t namePointer = field(offset, ClassNameField);
            const SectionBytes* nameSection = sectionOf(namePointer);
            if (!nameSection) continue;
            std::optional<std::string> name = NameAt(nameSection->Bytes, namePointer - nameSection->Address);
            if (!name) continue;
            classes.push_back({C, static_cast<std::uint32_t>(C - P), std::move(*name)});
        }
    }
    SortByAddress(classes);
    return classes;
}

std::vector<ClassReference> ScanClasses(const ModuleImage& image) {
    if (image.IsPe32Plus()) return {};
    std::vector<ClassReference> classes;
    if (const PeSection* section = FindCodeSection(image.Headers().Sections)) {
        const std::uint64_t rva = section->VirtualAddress;
        // Only the bytes that come from the file can hold a record: the rest of the
        // section is zeros, and a zero self pointer never matches. A crafted header can
        // declare a section of gigabytes in a file of a few kilobytes.
        if (rva < image.Size()) {
            const std::uint64_t length =
                std::min<std::uint64_t>(image.LoadedLength(*section), image.Size() - rva);
            if (const std::optional<ByteSpan> code = image.BytesAtRva(rva, length))
                classes = ScanClassRecords(*code, image.Base() + rva);
        }
    }
    std::vector<ClassReference> loose = ScanLooseClassRecords(image);
    classes.insert(classes.end(), std::make_move_iterator(loose.begin()),
                   std::make_move_iterator(loose.end()));
    SortByAddress(classes);
    return classes;
}

}  // namespace fw::pe
