#pragma once
// The class scan: finding the compiled class records in the code section of a 32-bit
// module image, without running anything.
//
// A class record is a table of 32-bit fields, four bytes apart, in this order: self
// pointer, interface table, automation table, initialisation table, type information,
// field table, method table, dynamic method table, class name, instance size, parent,
// and more entries up to the class reference, which points just past them. The self
// pointer holds the class reference. Compilers of different generations put the self
// pointer at different distances before the class reference: 64, 76 or 88 bytes.
//
// The Pascal compilers write a record into the code section, followed by its tables and
// its name. The C++ compilers of the same generations write the same record for their
// classes of the component library, but among their data: the record in a data section,
// its name, type information and tables wherever the compiler put them, before or after
// it, in that section or another. Those records are found with a scan of every section
// (ScanLooseClassRecords) that checks what the order cannot: a parent and an instance size.

#include <cstdint>
#include <string>
#include <vector>

#include "base/stream.h"

namespace fw::pe {

class ModuleImage;

// The distances between a record's self pointer and its class reference that the scan
// tries at every position.
inline constexpr std::uint32_t ClassRecordDistances[] = {64, 76, 88};

// One class found by the scan.
struct ClassReference {
    std::uint64_t Address = 0;  // the class reference, an address inside the module image
    // How far before Address the record's self pointer lies (one of ClassRecordDistances);
    // the other fields follow it in the order above.
    std::uint32_t RecordDistance = 0;
    std::string Name;  // the class name the record points to
};

// The offset of a record field from the self pointer: field 0 is the self pointer,
// 8 the class name pointer, 10 the parent.
constexpr std::uint32_t ClassRecordField(int field) {
    return 4u * static_cast<std::uint32_t>(field);
}
inline constexpr int ClassNameField = 8;
inline constexpr int InstanceSizeField = 9;
inline constexpr int ParentField = 10;

// Scans code, the bytes of a code section laid out at address sectionAddress, at every
// 4-byte-aligned position P below E = sectionAddress + code.size() - 4. P starts a record
// with class reference C = P + d, for a distance d of ClassRecordDistances, when the
// self pointer at P equals C; the name, dynamic method, method and field table pointers
// are each 0 or within [C, E]; the type information, initialisation, automation and
// interface table pointers are each 0 or within [S, E]; and the name pointer is not 0
// and points to a length byte and that many characters inside the section, at least 2
// of them, an ASCII letter or "_" followed by ASCII letters, digits or "_". Every read
// stays inside code. Returns the classes in ascending address order, each once.
std::vector<ClassReference> ScanClassRecords(ByteSpan code, std::uint64_t sectionAddress);

// Instance sizes beyond this are not taken as a record's; real classes stay far below.
inline constexpr std::uint32_t MaxInstanceSize = std::uint32_t{1} << 24;

// Scans the bytes that come from the file of every section of a 32-bit image, at every
// 4-byte-aligned position P of a section whose record fields up to the parent lie inside
// it. P starts a record with class reference C = P + d, for a distance d of
// ClassRecordDistances, when the self pointer at P equals C; the interface, automation
// and initialisation tables, the type information and the field, method and dynamic
// method tables are each 0 or inside a section; the instance size is at least 4 and at
// most MaxInstanceSize; the parent is not 0 and points inside a section (only the root
// class has none, and the Pascal compilers write it); and the name pointer points inside
// a section at a length byte and that many characters in the same section, a name as
// ScanClassRecords takes it. "Inside a section" means within the part of its extent the
// image holds. Returns the classes in ascending address order, each once.
std::vector<ClassReference> ScanLooseClassRecords(const ModuleImage& image);

// The classes of the image: ScanClassRecords over its code section (the first section
// named "CODE" in any case, else the first named ".text", over its SizeOfRawData bytes as
// far as the image reaches), together with ScanLooseClassRecords; a class reference both
// find is taken from the first. In ascending address order; empty for a 64-bit image.
std::vector<ClassReference> ScanClasses(const ModuleImage& image);

}  // namespace fw::pe
