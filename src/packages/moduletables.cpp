#include "packages/moduletables.h"

#include <algorithm>
#include <cstring>

#include "base/byteview.h"
#include "peimage/moduleimage.h"

namespace fw::pkg {

namespace {

// The zero-terminated name at rva, when the terminator lies inside the same section
// within MaxSymbolLength bytes.
std::optional<std::string_view> NameAt(const pe::ModuleImage& image, std::uint64_t rva) {
    const std::optional<fw::ByteSpan> rest = image.SectionRemainder(rva);
    if (!rest) return std::nullopt;
    const std::size_t limit = std::min(rest->size(), MaxSymbolLength + 1);
    const auto* begin = reinterpret_cast<const char*>(rest->data());
    const void* end = std::memchr(begin, 0, limit);
    if (!end) return std::nullopt;
    return std::string_view(begin, static_cast<std::size_t>(static_cast<const char*>(end) - begin));
}

std::optional<std::uint32_t> U32AtRva(const pe::ModuleImage& image, std::uint64_t rva) {
    const std::optional<fw::ByteSpan> bytes = image.BytesAtRva(rva, 4);
    if (!bytes) return std::nullopt;
    return LoadLe32(bytes->data());
}

std::optional<std::uint64_t> U64AtRva(const pe::ModuleImage& image, std::uint64_t rva) {
    const std::optional<fw::ByteSpan> bytes = image.BytesAtRva(rva, 8);
    if (!bytes) return std::nullopt;
    return LoadLe64(bytes->data());
}

bool IsIdentifierStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool IsIdentifier(std::string_view text) {
    if (text.empty() || !IsIdentifierStart(text[0])) return false;
    return std::all_of(text.begin() + 1, text.end(),
                       [](char c) { return IsIdentifierStart(c) || (c >= '0' && c <= '9'); });
}

}  // namespace

bool HasExport(const pe::ModuleImage& image, std::string_view name) {
    const std::optional<pe::DataDirectory> directory = image.DataDirectory(ExportDirectoryIndex);
    if (!directory || directory->VirtualAddress == 0) return false;
    const std::uint64_t table = directory->VirtualAddress;
    const std::optional<std::uint32_t> functionCount = U32AtRva(image, table + 20);
    const std::optional<std::uint32_t> nameCount = U32AtRva(image, table + 24);
    const std::optional<std::uint32_t> functions = U32AtRva(image, table + 28);
    const std::optional<std::uint32_t> names = U32AtRva(image, table + 32);
    const std::optional<std::uint32_t> ordinals = U32AtRva(image, table + 36);
    if (!functionCount || !nameCount || !functions || !names || !ordinals) return false;

    std::uint64_t low = 0;
    std::uint64_t high = *nameCount;
    while (low < high) {
        const std::uint64_t middle = low + (high - low) / 2;
        const std::optional<std::uint32_t> nameRva = U32AtRva(image, *names + 4 * middle);
        if (!nameRva) return false;
        const std::optional<std::string_view> candidate = NameAt(image, *nameRva);
        if (!candidate) return false;
        const int order = candidate->compare(name);
        if (order < 0) {
            low = middle + 1;
        } else if (order > 0) {
            high = middle;
        } else {
            // A name must lead to an entry of the address table that holds something.
            const std::optional<fw::ByteSpan> ordinal = image.BytesAtRva(*ordinals + 2 * middle, 2);
            if (!ordinal) return false;
            const std::uint32_t index = std::uint32_t{LoadLe16(ordinal->data())};
            if (index >= *functionCount) return false;
            const std::optional<std::uint32_t> address =
                U32AtRva(image, *functions + 4 * std::uint64_t{index});
            return address && *address != 0;
        }
    }
    return false;
}

ImportSlots ReadImportSlots(const pe::ModuleImage& image) {
    ImportSlots slots;
    const std::optional<pe::DataDirectory> directory = image.DataDirectory(ImportDirectoryIndex);
    if (!directory || directory->VirtualAddress == 0) return slots;
    const bool wide = image.IsPe32Plus();
    const std::uint64_t entrySize = wide ? 8 : 4;
    const std::uint64_t byOrdinal = wide ? (std::uint64_t{1} << 63) : 0x80000000u;
    std::size_t read = 0;  // thunks looked at, named or not: bounds the work too
    std::size_t nameBytes = 0;

    for (std::uint64_t descriptor = directory->VirtualAddress;; descriptor += 20) {
        const std::optional<fw::ByteSpan> bytes = image.BytesAtRva(descriptor, 20);
        if (!bytes) break;
        const ByteView entry(*bytes);
        const std::uint32_t lookupRva = entry.U32(0);
        const std::uint32_t nameRva = entry.U32(12);
        const std::uint32_t addressRva = entry.U32(16);
        if (lookupRva == 0 && nameRva == 0 && addressRva == 0) break;
        if (addressRva == 0) continue;
        // The lookup table keeps the names after binding overwrote the address table.
        const std::uint64_t namesRva = lookupRva != 0 ? lookupRva : addressRva;
        for (std::uint64_t i = 0;; ++i) {
            if (read++ >= MaxImports) return slots;
            std::optional<std::uint64_t> thunk;
            if (wide)
                thunk = U64AtRva(image, namesRva + i * entrySize);
            else if (const std::optional<std::uint32_t> narrow = U32AtRva(image, namesRva + i * entrySize))
                thunk = *narrow;
            if (!thunk || *thunk == 0) break;
            if (*thunk & byOrdinal) continue;
            const std::optional<std::string_view> name =
                NameAt(image, (*thunk & 0x7FFFFFFFu) + 2);  // after the hint
            if (!name || name->empty()) continue;
            nameBytes += name->size();
            if (nameBytes > MaxImportNameBytes) return slots;
            slots.emplace(image.Base() + addressRva + i * entrySize, std::string(*name));
        }
    }
    return slots;
}

std::optional<std::string> TypeNameOfImport(std::string_view symbol) {
    while (!symbol.empty() && symbol.front() == '@')
        symbol.remove_prefix(1);
    constexpr std::string_view TypeInfoPrefix = "$xp$";
    if (symbol.substr(0, TypeInfoPrefix.size()) == TypeInfoPrefix) {
        // The type information symbol: the qualified name's length, then the name.
        symbol.remove_prefix(TypeInfoPrefix.size());
        while (!symbol.empty() && symbol.front() >= '0' && symbol.front() <= '9')
            symbol.remove_prefix(1);
    } else if (!symbol.empty() && symbol.back() == '@') {
        symbol.remove_suffix(1);  // a class symbol ends in "@"
    } else if (symbol.find('@') != std::string_view::npos) {
        return std::nullopt;  // a routine or a variable of a unit
    }
    const std::size_t at = symbol.rfind('@');
    const std::string_view last = at == std::string_view::npos ? symbol : symbol.substr(at + 1);
    if (!IsIdentifier(last)) return std::nullopt;
    return std::string(last);
}

}  // namespace fw::pkg
