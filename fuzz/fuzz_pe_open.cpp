// Fuzzes the PE reader: the input is written to a memory file and opened by path, as a
// user's file would be, so that the mapping, the header checks, the resource walk, the
// module image, the class scan and the package decoding all see it. Open must never
// throw, crash, hang, read outside the file or allocate from a length the bytes do not
// back; and what it publishes must hold together:
//
// - every resource's bytes lie inside the file;
// - every form name is the name of an RCDATA resource beginning "TPF0", and looking the
//   name up finds a resource of that name;
// - the classes are in strictly ascending address order, each with a name the scan's
//   rules accept, and its self pointer in the module image holds its address;
// - the report pages build for whatever the lists hold.

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/asciitext.h"
#include "base/errors.h"
#include "peimage/packageinfo.h"
#include "peimage/pefile.h"

namespace {

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "property broken: %s\n", what.c_str());
    std::abort();
}

// One memory file for the whole run, rewritten for each input.
const std::string& MemoryFilePath(const std::uint8_t* data, std::size_t size) {
    static const int fd = ::memfd_create("fuzz-pe", MFD_CLOEXEC);
    static const std::string path = "/proc/self/fd/" + std::to_string(fd);
    if (fd < 0 || ::ftruncate(fd, 0) != 0) Fail("cannot prepare the memory file");
    std::size_t written = 0;
    while (written < size) {
        const ssize_t n = ::pwrite(fd, data + written, size - written, static_cast<off_t>(written));
        if (n <= 0) Fail("cannot write the memory file");
        written += static_cast<std::size_t>(n);
    }
    return path;
}

bool Inside(fw::ByteSpan part, fw::ByteSpan whole) {
    if (part.empty()) return true;
    return part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size();
}

bool IsClassName(const std::string& name) {
    if (name.size() < 2) return false;
    auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    if (!letter(name[0])) return false;
    for (const char c : name.substr(1))
        if (!letter(c) && !(c >= '0' && c <= '9')) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fw::pe::PeFile pe;
    try {
        pe.Open(MemoryFilePath(data, size));
    } catch (const std::exception& error) {
        Fail(std::string("Open threw: ") + error.what());
    }
    if (!pe.IsPEImage() && (!pe.Resources().empty() || !pe.FormNames().empty()))
        Fail("results without a PE file");

    const fw::ByteSpan file = pe.FileBytes();
    if (file.size() != size) Fail("the file view does not hold the whole file");
    for (const fw::pe::ResourceItem& item : pe.Resources()) {
        if (!Inside(item.Data, file) || item.Data.size() != item.Size)
            Fail("a resource lies outside the file");
    }

    std::size_t converted = 0;
    for (const std::string& name : pe.FormNames()) {
        bool isForm = false;
        for (const fw::pe::ResourceItem& item : pe.Resources()) {
            isForm = isForm || (item.Name == name && item.ResType == fw::pe::ResourceTypeRcData &&
                                item.Size >= 4 && std::memcmp(item.Data.data(), "TPF0", 4) == 0);
        }
        if (!isForm) Fail("form name " + name + " is no form resource");
        fw::pe::ResourceItem found;
        try {
            found = pe.FindResourceByName(name);
        } catch (const fw::pe::EPEException&) {
            Fail("the form " + name + " cannot be found by its name");
        }
        if (!fw::EqualsIgnoringCase(found.Name, name)) Fail("the lookup found another name");
        // The codec has fuzzers of its own; a few small forms per file are enough here.
        if (converted < 4 && found.Size <= 65536) {
            ++converted;
            try {
                (void)fw::pe::ResourceToFormText(found);
            } catch (const fw::Exception&) {
                // A damaged form is refused with an error; that is all that may happen.
            }
        }
    }

    const auto& classes = pe.ClassRefs();
    for (std::size_t i = 0; i < classes.size(); ++i) {
        if (i > 0 && classes[i].Address <= classes[i - 1].Address) Fail("classes out of order");
        if (!IsClassName(classes[i].Name)) Fail("class name " + classes[i].Name + " breaks the rules");
        if (!pe.Module() ||
            pe.Module()->U32(classes[i].Address - classes[i].RecordDistance) != classes[i].Address)
            Fail("a class record without its self pointer");
    }
    for (const std::string& name : pe.RequiredPackages())
        if (name.size() > fw::pe::MaxPackageNameLength) Fail("a package name longer than the limit");

    const fw::pe::PackageReportInputs inputs = pe.ReportInputs();
    if (!inputs.HasPackageInfo && (!pe.RequiredPackages().empty() || !pe.ContainedUnits().empty()))
        Fail("package lists without package information");
    std::vector<std::string> lines;
    for (const fw::pe::ReportPage page : {fw::pe::ReportPage::Header, fw::pe::ReportPage::Classes,
                                          fw::pe::ReportPage::Forms, fw::pe::ReportPage::Flags})
        fw::pe::BuildPackageReport(page, inputs, lines);
    return 0;
}
