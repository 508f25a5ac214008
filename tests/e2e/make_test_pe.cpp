// Writes a 32-bit Windows executable whose resources are the payloads of one folder, for
// the end-to-end session's extraction step. Each "<NAME>.<LANGUAGE>.bin" becomes an
// RCDATA resource NAME in that language (form streams as compiled programs carry them),
// and PACKAGEINFO.bin / DESCRIPTION.bin their resources of those names. Without a folder
// it writes the PE reader tests' sample package.
//
//   fw_e2e_make_pe OUT.exe [PAYLOAD_FOLDER]

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "pewriter.h"
#include "samplemodule.h"

namespace {

namespace fs = std::filesystem;

fwtest::Bytes ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return fwtest::Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// "TFORM1.0.bin" gives name "TFORM1" and language 0; "PACKAGEINFO.bin" language 0.
bool SplitPayloadName(const std::string& file, std::string& name, unsigned& language) {
    if (file.size() < 5 || file.compare(file.size() - 4, 4, ".bin") != 0) return false;
    name = file.substr(0, file.size() - 4);
    language = 0;
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos) {
        const std::string digits = name.substr(dot + 1);
        if (digits.empty() ||
            !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return false;
        language = static_cast<unsigned>(std::stoul(digits));
        name.resize(dot);
    }
    return !name.empty() && language <= 0xFFFF;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: fw_e2e_make_pe OUT.exe [PAYLOAD_FOLDER]\n");
        return 2;
    }
    fwtest::BuiltPe built;
    if (argc == 2) {
        built = fwtest::SampleModule(false).Build();
    } else {
        std::vector<fs::path> files;
        std::error_code error;
        for (const fs::directory_entry& entry : fs::directory_iterator(argv[2], error))
            if (entry.is_regular_file()) files.push_back(entry.path());
        if (error) {
            std::fprintf(stderr, "fw_e2e_make_pe: cannot list %s: %s\n", argv[2], error.message().c_str());
            return 1;
        }
        std::sort(files.begin(), files.end());
        fwtest::PeWriter writer;
        int count = 0;
        for (const fs::path& file : files) {
            std::string name;
            unsigned language = 0;
            if (!SplitPayloadName(file.filename().string(), name, language)) continue;
            writer.AddResource({fwtest::ResourceId::Num(10), fwtest::ResourceId::Str(name),
                                static_cast<std::uint16_t>(language), ReadAll(file), 0});
            ++count;
        }
        if (count == 0) {
            std::fprintf(stderr, "fw_e2e_make_pe: no payloads in %s\n", argv[2]);
            return 1;
        }
        built = writer.Build();
    }
    std::ofstream out(argv[1], std::ios::binary);
    out.write(reinterpret_cast<const char*>(built.File.data()),
              static_cast<std::streamsize>(built.File.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "fw_e2e_make_pe: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
