// Fuzzes the PACKAGEINFO walk on arbitrary payloads. The walk may reject a payload with
// EPackageError and nothing else; it must never read past the payload. What it visits
// must follow the format: the flags word stored before the first visit, required
// packages first, then contained units, then at most one DCP/BPI name and only when
// flag bit 30 is set; names without zero bytes, no longer than the limit; unit flags
// only on contained units; and no more entries than the payload has room for.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "peimage/packageinfo.h"

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using fw::pe::PackageEntryKind;
    const fw::ByteSpan payload(data, size);
    std::uint32_t flags = 0;
    bool flagsStored = false;
    int lastKind = -1;
    std::size_t visits = 0;
    std::size_t dcpNames = 0;
    fw::pe::PackageReportInputs inputs;
    bool rejected = false;
    try {
        fw::pe::WalkPackageInfo(
            payload, "fuzz.bpl",
            [&](std::string_view name, PackageEntryKind kind, std::uint8_t unitFlags) {
                if (!flagsStored) {
                    std::uint32_t stored = 0;
                    for (int i = 3; i >= 0 && size >= 4; --i)
                        stored = (stored << 8) | data[i];
                    if (size < 4 || flags != stored)
                        Fail("the flags word was not stored before the first visit");
                    flagsStored = true;
                }
                const int k = static_cast<int>(kind);
                if (k < lastKind) Fail("entries out of order");
                lastKind = k;
                if (name.size() > fw::pe::MaxPackageNameLength) Fail("a name longer than the limit");
                if (name.find('\0') != std::string_view::npos) Fail("a name with a zero byte");
                if (kind != PackageEntryKind::ContainedUnit && unitFlags != 0)
                    Fail("unit flags on another kind");
                if (kind == PackageEntryKind::DcpBpiName) {
                    ++dcpNames;
                    if ((flags & fw::pe::PackageHasDcpBpiName) == 0)
                        Fail("a DCP/BPI name without flag bit 30");
                }
                // Every entry takes at least two bytes (a fixed byte and the zero).
                if (++visits * 2 > size) Fail("more entries than the payload has room for");
                (kind == PackageEntryKind::RequiredPackage ? inputs.RequiredPackages : inputs.ContainedUnits)
                    .emplace_back(name);
            },
            flags);
    } catch (const fw::pe::EPackageError&) {
        rejected = true;
    }
    if (dcpNames > 1) Fail("more than one DCP/BPI name");
    if (!rejected && size < 12) Fail("a payload too short for its counts was accepted");

    inputs.Flags = flags;
    std::vector<std::string> lines;
    for (const fw::pe::ReportPage page : {fw::pe::ReportPage::Header, fw::pe::ReportPage::Flags})
        fw::pe::BuildPackageReport(page, inputs, lines);
    return 0;
}
