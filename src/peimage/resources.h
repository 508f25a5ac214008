#pragma once
// The resource directory of a PE file: its walk into a flat list of resources, one per
// (type, name, language) in a normal three-level directory, with the labels and type
// names the lists show.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/byteview.h"
#include "base/codepage.h"

namespace fw::pe {

inline constexpr std::int32_t ResourceTypeRcData = 10;

// One resource.
struct ResourceItem {
    // The type number. A type given by name has its raw 32-bit name field (high bit set,
    // so negative here), except "REGISTRY", "TYPELIB" and "AVI" (any case): 125, 126, 127.
    std::int32_t ResType = 0;
    // The standard name of ResType ("RCDATA", "BITMAP", ...), or the type's label in
    // double quotes for any other type ("\"PNG\"").
    std::string TypeName;
    std::string Name;      // the label of the name-level entry
    std::string Language;  // the label of the language-level entry, normally a number
    std::uint32_t CodePage = 0;
    // The resource's bytes inside the file view (or the module image) they were found
    // in; valid while the reader that found them holds that file.
    ByteSpan Data;
    std::uint32_t OffsetToData = 0;  // the data entry's RVA
    std::uint32_t Size = 0;
};
using TResourceData = std::vector<ResourceItem>;

// The standard name of a resource type number, or empty text when it has none.
std::string_view StandardTypeName(std::int32_t type);

// Maps a data entry's RVA and size to the resource's bytes; nothing when they are not
// all inside the file (or image) being read.
using ResourceDataResolver = std::function<std::optional<ByteSpan>(std::uint32_t rva, std::uint32_t size)>;

// The directory is too large or too deep to be a real one.
class EResourceLimit : public fw::Exception {
public:
    using fw::Exception::Exception;
};

// Nesting of sub-directories below the root that is followed; real files use two levels
// (names, then languages). Deeper sub-directories are not entered.
inline constexpr int MaxResourceDepth = 8;
// The items one walk gathers. Real files hold a few thousand resources at most; entries of
// overlapping directories could otherwise make a large file list millions.
inline constexpr std::size_t MaxResourceItems = std::size_t{1} << 18;
// The bytes of all labels one walk decodes and stores; a few entries pointing at one long
// name must not be able to make the list take gigabytes or the walk take minutes.
inline constexpr std::size_t MaxResourceLabelBytes = std::size_t{16} << 20;

// Walks the resource directory that starts at the first byte of root (root reaches to
// the end of the bytes the directory may use) and appends one item per data entry, in
// directory order, with labels converted to codePage. Every root-level entry is taken
// for a type whose sub-directory its offset names; every deeper entry that points to a
// sub-directory is walked with that entry as the owner of the items below it, and each
// data entry gives an item named after its directory's owner, with its own label as the
// language.
//
// Each directory is walked once: an entry leading back to one already walked (a loop)
// is skipped. Throws EOutsideImage when a directory, entry, name or data range lies
// outside root (or outside what resolve accepts), and EResourceLimit when the directory
// holds more entries than root has room for, more than MaxResourceItems items, or labels
// beyond MaxResourceLabelBytes; the items appended before that remain.
void WalkResources(const ByteView& root, const ResourceDataResolver& resolve, const CodePage& codePage,
                   TResourceData& items);

}  // namespace fw::pe
