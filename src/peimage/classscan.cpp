#include "peimage/classscan.h"

#include <algorithm>

#include "peimage/byteview.h"
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

}  // namespace

std::vector<TClassRef> ScanClassRecords(ByteSpan code, std::uint64_t sectionAddress) {
    std::vector<TClassRef> classes;
    if (code.size() < 4) return classes;
    const std::uint8_t* const bytes = code.data();
    const std::uint64_t size = code.size();
    const std::uint64_t S = sectionAddress;
    const std::uint64_t E = S + size - 4;

    auto inRange = [](std::uint64_t value, std::uint64_t low, std::uint64_t high) {
        return value == 0 || (value >= low && value <= high);
    };
    auto field = [bytes](std::uint64_t offset, int index) {
        return std::uint64_t{ByteView::LoadU32(bytes + offset + ClassRecordField(index))};
    };

    // Positions P = S + offset while P < E; the fields read need CheckedFieldsEnd bytes.
    for (std::uint64_t offset = 0; offset + 4 < size && offset + CheckedFieldsEnd <= size; offset += 4) {
        const std::uint64_t self = ByteView::LoadU32(bytes + offset);
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
        const std::uint64_t nameOffset = namePointer - S;  // namePointer >= C > S
        if (nameOffset >= size) continue;
        const std::uint64_t length = bytes[nameOffset];
        if (length < 2 || length > size - nameOffset - 1) continue;
        const std::uint8_t* name = bytes + nameOffset + 1;
        if (!IsNameStart(name[0]) || !std::all_of(name + 1, name + length, IsNamePart)) continue;
        classes.push_back(
            {C, static_cast<std::uint32_t>(distance),
             std::string(reinterpret_cast<const char*>(name), static_cast<std::size_t>(length))});
    }
    // Records at two distances can claim the same reference only in crafted bytes; keep
    // the first and the order by address.
    std::stable_sort(classes.begin(), classes.end(),
                     [](const TClassRef& a, const TClassRef& b) { return a.Address < b.Address; });
    classes.erase(std::unique(classes.begin(), classes.end(),
                              [](const TClassRef& a, const TClassRef& b) { return a.Address == b.Address; }),
                  classes.end());
    return classes;
}

std::vector<TClassRef> ScanClasses(const ModuleImage& image) {
    const TSection* section = FindCodeSection(image.Headers().Sections);
    if (!section) return {};
    const std::uint64_t rva = section->VirtualAddress;
    if (rva >= image.Size()) return {};
    // Only the bytes that come from the file can hold a record: the rest of the section
    // is zeros, and a zero self pointer never matches. A crafted header can declare a
    // section of gigabytes in a file of a few kilobytes.
    const std::uint64_t length = std::min<std::uint64_t>(image.LoadedLength(*section), image.Size() - rva);
    const std::optional<ByteSpan> code = image.BytesAtRva(rva, length);
    if (!code) return {};
    return ScanClassRecords(*code, image.Base() + rva);
}

}  // namespace fw::pe
