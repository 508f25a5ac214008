// Writes the seed folders of the form fuzzers from folders of form files (the corpus,
// the test fixtures), so that no seed is kept in the tree twice:
//
//   <out>/text         every form as text
//   <out>/binary       every form as a bare binary stream ("TPF0" first)
//   <out>/resource     every form behind a resource header
//   <out>/settings     the stored lines of a settings section: the small forms' texts,
//                      and their binary streams as lines of hexadecimal digits
//   <out>/packageinfo  PACKAGEINFO payloads found among the files
//
// Each form is converted to the three encodings from whichever it is in; one that does
// not convert is kept in its own encoding only. Files larger than the limit are left
// out, as they slow every fuzzer down without adding much that smaller forms lack.
// Seeds are named after a hash of their bytes, so the same form found twice is written
// once. The output folders are emptied first.
//
//   make_form_seeds OUT SOURCE...

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/errors.h"
#include "base/stream.h"
#include "codec/conversion.h"
#include "codec/formformat.h"

namespace {

namespace fs = std::filesystem;

constexpr std::uintmax_t kMaxFormSize = 48 * 1024;
constexpr std::size_t kMaxSettingsForm = 4 * 1024;
constexpr std::size_t kHexLineLength = 64;

std::string HashName(const fw::Bytes& bytes) {
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (const std::uint8_t b : bytes) {
        hash ^= b;
        hash *= 1099511628211ull;
    }
    char name[17];
    std::snprintf(name, sizeof name, "%016llx", static_cast<unsigned long long>(hash));
    return name;
}

void Save(const fs::path& folder, const fw::Bytes& bytes, int& count) {
    const fs::path file = folder / HashName(bytes);
    if (fs::exists(file)) return;
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + file.string());
    ++count;
}

fw::Bytes Load(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return fw::Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool IsPackageInfo(const fs::path& file) {
    std::string name = file.filename().string();
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return name.rfind("PACKAGEINFO", 0) == 0;
}

fw::Bytes HexLines(const fw::Bytes& binary) {
    static const char digits[] = "0123456789ABCDEF";
    fw::Bytes lines;
    for (std::size_t i = 0; i < binary.size(); ++i) {
        if (i > 0 && i % (kHexLineLength / 2) == 0) lines.push_back('\n');
        lines.push_back(static_cast<std::uint8_t>(digits[binary[i] >> 4]));
        lines.push_back(static_cast<std::uint8_t>(digits[binary[i] & 15]));
    }
    return lines;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: make_form_seeds OUT SOURCE...\n");
        return 2;
    }
    const fs::path out = argv[1];
    const char* folders[] = {"text", "binary", "resource", "settings", "packageinfo"};
    int counts[5] = {};
    try {
        for (const char* folder : folders) {
            fs::remove_all(out / folder);
            fs::create_directories(out / folder);
        }
        for (int i = 2; i < argc; ++i) {
            if (!fs::is_directory(argv[i])) {
                std::fprintf(stderr, "make_form_seeds: no folder %s\n", argv[i]);
                return 1;
            }
            for (const auto& entry : fs::recursive_directory_iterator(argv[i])) {
                if (!entry.is_regular_file() || entry.file_size() > kMaxFormSize) continue;
                const fw::Bytes bytes = Load(entry.path());
                if (IsPackageInfo(entry.path())) {
                    Save(out / "packageinfo", bytes, counts[4]);
                    continue;
                }
                fw::ByteViewStream probe(bytes);
                if (fw::DetectStreamFormat(probe) == fw::StreamFormat::Unknown) continue;
                const fw::FormEncoding own = fw::DetectEncoding(bytes);
                const fw::FormEncoding encodings[] = {fw::FormEncoding::Text, fw::FormEncoding::Binary,
                                                      fw::FormEncoding::Resource};
                for (int e = 0; e < 3; ++e) {
                    fw::Bytes converted;
                    try {
                        converted = fw::ConvertForm(bytes, encodings[e]);
                    } catch (const fw::Exception&) {
                        if (encodings[e] != own) continue;
                        converted = bytes;
                    }
                    Save(out / folders[e], converted, counts[e]);
                    if (converted.size() <= kMaxSettingsForm && encodings[e] != fw::FormEncoding::Resource)
                        Save(out / "settings",
                             encodings[e] == fw::FormEncoding::Text ? converted : HexLines(converted),
                             counts[3]);
                }
            }
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "make_form_seeds: %s\n", error.what());
        return 1;
    }
    for (int i = 0; i < 5; ++i)
        std::printf("%s: %d seeds\n", folders[i], counts[i]);
    return 0;
}
