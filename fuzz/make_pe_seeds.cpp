// Writes the seeds of the PE fuzzers into two folders: PE files made with the PE reader
// tests' writer (PE32 and PE32+, with forms, package information and class records), and
// PACKAGEINFO payloads of each shape the walk knows.
//
//   make_pe_seeds PE_FOLDER PACKAGEINFO_FOLDER

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "pewriter.h"
#include "samplemodule.h"

namespace {

void Save(const std::filesystem::path& path, const fwtest::Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_pe_seeds PE_FOLDER PACKAGEINFO_FOLDER\n");
        return 2;
    }
    const std::filesystem::path pe = argv[1];
    const std::filesystem::path info = argv[2];
    std::filesystem::create_directories(pe);
    std::filesystem::create_directories(info);

    Save(pe / "sample32.bpl", fwtest::SampleModule(false).Build().File);
    Save(pe / "sample64.bpl", fwtest::SampleModule(true).Build().File);
    fwtest::PeWriter small;
    small.AddResource(
        {fwtest::ResourceId::Num(10), fwtest::ResourceId::Str("TFORM1"), 0, fwtest::SmallForm("Form1"), 0});
    Save(pe / "small.exe", small.Build().File);
    // A class record as the C++ compilers place it: among the data, its name before it.
    fwtest::PeWriter cpp;
    cpp.AddSection(".text", fwtest::Bytes(0x200, 0xC3));
    const std::uint32_t data = static_cast<std::uint32_t>(cpp.ImageBase() + cpp.NextSectionRva());
    fwtest::Bytes records(0x200, 0);
    fwtest::PutShortString(records, 0x10, "TCColorGrid");
    fwtest::PutLooseClassRecord(records, data, 0x40, 76, data + 0x10, 0, data + 0x1F0);
    cpp.AddSection(".data", records);
    Save(pe / "cpp32.bpl", cpp.Build().File);

    Save(info / "package.bin",
         fwtest::PackageInfoPayload(0x4C000002, {"rtl", "vcl"}, {"UnitA", "UnitB"}, "demo"));
    Save(info / "executable.bin",
         fwtest::PackageInfoPayload(0xCC100001, {}, {"Main", "Forms"}, std::nullopt, 2));
    Save(info / "old-package.bin",
         fwtest::PackageInfoPayload(0x4C000000, {"VCL40"}, {"Unit1"}, std::nullopt, 1));
    Save(info / "library.bin", fwtest::PackageInfoPayload(0x8C000000, {"rtl"}, {"Lib"}));
    return 0;
}
