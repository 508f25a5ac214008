#pragma once
// Package information: the PACKAGEINFO resource that modules built by Delphi and
// C++Builder carry (required packages, contained units, a flags word), the DESCRIPTION
// resource of packages, and the text report the package pages show.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/codepage.h"
#include "base/errors.h"
#include "base/stream.h"
#include "peimage/resources.h"

namespace fw::pe {

class ModuleImage;

// Package information that is missing or cannot be decoded, or a package file that
// cannot be loaded.
class EPackageError : public fw::Exception {
public:
    using fw::Exception::Exception;
};

enum class PackageEntryKind { RequiredPackage, ContainedUnit, DcpBpiName };

// Names longer than this are reported cut to it; the walk still steps over the whole name.
inline constexpr std::size_t MaxPackageNameLength = 256;

// The flags word's bits.
inline constexpr std::uint32_t PackageNeverBuild = 0x00000001;
inline constexpr std::uint32_t PackageDesignOnly = 0x00000002;
inline constexpr std::uint32_t PackageRunOnly = 0x00000004;
inline constexpr std::uint32_t PackageIgnoreDupUnits = 0x00000008;
inline constexpr std::uint32_t PackageHasDcpBpiName = 0x40000000;
inline constexpr int PackageProducerShift = 26;    // 2 bits
inline constexpr int PackageModuleTypeShift = 30;  // 2 bits

// Called once per entry with its name (cut to MaxPackageNameLength), its kind and, for a
// contained unit, its unit flags byte (0 for the other kinds).
using PackageVisitor =
    std::function<void(std::string_view name, PackageEntryKind kind, std::uint8_t unitFlags)>;

// Decodes a PACKAGEINFO payload: stores the flags word in flags before the first visit,
// then visits each required package, each contained unit and, when flag bit 30 is set and
// the bytes after the contains list can hold it, the DCP/BPI name entry. That entry is
// often missing in real files even with bit 30 set (executables always set the bit, and
// older packages end the resource with padding after the contains list), so its absence
// is not an error. Throws EPackageError "Package information for package '<moduleName>'
// is damaged" when a count is negative or an entry runs past the end of the payload; the
// entries visited before stay visited.
void WalkPackageInfo(ByteSpan payload, const std::string& moduleName, const PackageVisitor& visit,
                     std::uint32_t& flags);

// Finds the module's PACKAGEINFO resource (RCDATA) and walks it as above. Throws
// EPackageError "Cannot access package information for package '<file name>'" when the
// module has none.
void WalkPackageInfo(const ModuleImage& module, const PackageVisitor& visit, std::uint32_t& flags);

// The resources of a module image, walked from its resource directory as laid out in
// the image; a damaged directory gives the resources found before the damage.
TResourceData ListModuleResources(const ModuleImage& module, const CodePage& codePage = CodePage::Default());

// The first resource of the type whose name equals name ignoring ASCII case, or nullptr.
const ResourceItem* FindTypedResource(const TResourceData& resources, std::int32_t type,
                                      std::string_view name);

// The text of a DESCRIPTION payload: UTF-16 up to its first zero code unit (or its end),
// converted to codePage.
std::string DecodeDescription(ByteSpan payload, const CodePage& codePage = CodePage::Default());

// The DESCRIPTION resource of the module, converted to codePage; empty when it has none.
std::string ReadPackageDescription(const ModuleImage& module, const CodePage& codePage = CodePage::Default());

// The same for the module file at path, loaded for the duration of the call. Throws
// EPackageError "Can't load package <path>.\r\n<reason>" when the file cannot be loaded.
std::string ReadPackageDescription(const std::string& path, const CodePage& codePage = CodePage::Default());

// The pages of the package report.
enum class ReportPage { Header, Classes, Forms, Flags };

// "Header", "Classes", "Forms", "Flags".
const char* ReportPageName(ReportPage page);
// The page of that name, ignoring ASCII case; nothing for any other name.
std::optional<ReportPage> ReportPageFromName(std::string_view name);

struct PackageReportInputs {
    std::vector<std::string> RequiredPackages;
    std::vector<std::string> ContainedUnits;
    std::vector<std::string> ClassNames;
    std::vector<std::string> FormNames;
    std::uint32_t Flags = 0;
    // Whether the module has a PACKAGEINFO resource; Flags means nothing without one.
    bool HasPackageInfo = true;
    // Whether the class scan looked at the module; it covers 32-bit modules only.
    bool ClassesScanned = true;
};

inline constexpr std::string_view NoPackageInfoText =
    "No package information: the file has no PACKAGEINFO resource";
inline constexpr std::string_view ClassesNotScannedText =
    "Not scanned: the class scan covers 32-bit modules only";

// Replaces lines with the lines of one page:
//   Header   "requires", "  " + each required package, "contains", "  " + each unit;
//   Classes  each class name; ClassesNotScannedText alone when the scan did not look;
//   Forms    each form name;
//   Flags    "Options: " + the names of the set option bits, comma-separated; the
//            module type ("Type: Executable", "Type: Package", "Type: Library"); the
//            producer ("Producer: Delphi 3 or C++ Builder 3", "Producer: C++ Builder 4 or
//            later", "Producer: Delphi 4 or later"; no line for the undefined value 1).
//            NoPackageInfoText alone for a module without package information, whose
//            flags word of 0 would read as an executable of the oldest compilers.
void BuildPackageReport(ReportPage page, const PackageReportInputs& inputs, std::vector<std::string>& lines);

}  // namespace fw::pe
