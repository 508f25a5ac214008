#pragma once
// The export and import tables of a module image, read as the system loader would
// resolve them but without loading anything: whether a name is exported, and which
// names the import address table's slots stand for.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace fw::pe {
class ModuleImage;
}

namespace fw::pkg {

inline constexpr int ExportDirectoryIndex = 0;
inline constexpr int ImportDirectoryIndex = 1;

// Names longer than this are not taken as export or import names.
inline constexpr std::size_t MaxSymbolLength = 4096;
// At most this many imports, with names of this many bytes in all, are read; a table
// that claims more is read that far.
inline constexpr std::size_t MaxImports = std::size_t{1} << 20;
inline constexpr std::size_t MaxImportNameBytes = std::size_t{32} << 20;

// Whether the module exports something under name, compared byte for byte. The name
// table is searched as the loader searches it, by halving, so a table that is not in
// name order may hide a name. False for a module without an export table or with a
// damaged one.
bool HasExport(const pe::ModuleImage& image, std::string_view name);

// The names imported by name, keyed by the address of their slot in the import address
// table (image base + the slot's RVA). Imports by ordinal are left out. A damaged table
// gives the entries read before the damage.
using ImportSlots = std::unordered_map<std::uint64_t, std::string>;
ImportSlots ReadImportSlots(const pe::ModuleImage& image);

// The type an imported symbol stands for: "TComponent" for the class symbol
// "@Classes@TComponent@" or "@System@Classes@TComponent@", and for the type information
// symbol "@$xp$18Classes@TComponent"; a plain identifier stands for itself. Nothing for
// a routine ("@Classes@TComponent@$bctr$qqr..."), a unit's variable ("@Forms@Application")
// or anything else that names no type.
std::optional<std::string> TypeNameOfImport(std::string_view symbol);

}  // namespace fw::pkg
