// Indexing the root classes of a folder of 2,000 generated forms, beside a baseline in
// the same run: opening each of the same files and reading its first 400 bytes. The
// index reads about that much per file (more only for a header that runs longer), so it
// should stay within a small multiple of the baseline whatever the files' sizes, and
// well under a second. A second measurement asks a warm index again, which only looks
// at the files' times and sizes.
//
//   cmake --preset release -DFW_BUILD_BENCHMARKS=ON -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
//   cmake --build --preset release --target fw_formsearch_bench
//   build/release/bench/fw_formsearch_bench
//
// The forms are a mix of text, binary and resource-wrapped files of a few to some tens of
// kilobytes; one in twenty carries a picture of about 300 KB after its header. They are
// written to a temporary folder that is removed at the end.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/stream.h"
#include "codec/conversion.h"
#include "runtime/formsearch.h"

namespace {

namespace fs = std::filesystem;

constexpr int FormCount = 2000;

std::string GenerateForm(int n) {
    const std::string id = std::to_string(n);
    std::string text = (n % 7 == 0 ? "inherited Form" : "object Form") + id + ": TForm" + id + "\r\n";
    text += "  Left = 0\r\n  Top = 0\r\n  Caption = 'Generated form " + id +
            "'\r\n  ClientHeight = 400\r\n"
            "  ClientWidth = 600\r\n  Font.Name = 'Tahoma'\r\n";
    if (n % 20 == 0) {
        text += "  object Image1: TImage\r\n    Picture.Data = {\r\n      07544269746D6170";
        for (int line = 0; line < 2400; ++line)
            text += "\r\n      " + std::string(128, "0123456789ABCDEF"[line % 16]);
        text += "}\r\n  end\r\n";
    }
    const int controls = 10 + (n * 37) % 150;
    for (int i = 0; i < controls; ++i) {
        const std::string c = std::to_string(i);
        text += "  object Edit" + c + ": TEdit\r\n    Left = " + std::to_string(8 + i % 40) +
                "\r\n    Top = " + std::to_string(8 + i * 24) +
                "\r\n    Width = 121\r\n    Height = 21\r\n    TabOrder = " + c + "\r\n    Text = 'Edit" + c +
                "'\r\n  end\r\n";
    }
    return text + "end\r\n";
}

// The generated folder, made once in main for all measurements.
class FormFolder {
public:
    FormFolder() {
        std::string pattern = (fs::temp_directory_path() / "fw-formsearch-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        root_ = pattern;
        for (int n = 0; n < FormCount; ++n) {
            const std::string text = GenerateForm(n);
            fw::Bytes bytes(text.begin(), text.end());
            if (n % 3 == 1) bytes = fw::ConvertForm(bytes, fw::FormEncoding::Binary);
            if (n % 3 == 2) bytes = fw::ConvertForm(bytes, fw::FormEncoding::Resource);
            const fs::path path = root_ / ("Form" + std::to_string(n) + ".dfm");
            std::ofstream out(path, std::ios::binary);
            out.write(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<std::streamsize>(bytes.size()));
            bytes_ += bytes.size();
            paths_.push_back(path.string());
        }
    }
    ~FormFolder() {
        std::error_code error;
        fs::remove_all(root_, error);
    }
    std::string Root() const { return root_.string(); }
    const std::vector<std::string>& Paths() const { return paths_; }
    std::size_t Bytes() const { return bytes_; }

private:
    fs::path root_;
    std::vector<std::string> paths_;
    std::size_t bytes_ = 0;
};

// Baseline: open each file and read its first 400 bytes.
void BM_ReadFirst400Bytes(benchmark::State& state, const FormFolder& folder) {
    std::uint8_t buffer[400];
    for (auto _ : state) {
        std::size_t total = 0;
        for (const std::string& path : folder.Paths()) {
            fw::FileStream file(path, fw::FileStream::Mode::Read);
            total += file.Read(buffer, sizeof buffer);
        }
        benchmark::DoNotOptimize(total);
    }
    state.counters["files"] = static_cast<double>(folder.Paths().size());
    state.counters["folder_MB"] = static_cast<double>(folder.Bytes()) / 1e6;
}

// A new index lists the folder and reads every file's root.
void BM_IndexFolder(benchmark::State& state, const FormFolder& folder) {
    std::size_t found = 0;
    for (auto _ : state) {
        fw::rt::FormFolderIndex index;
        found = index.FormsOf(folder.Root()).size();
        benchmark::DoNotOptimize(found);
    }
    if (found != folder.Paths().size()) state.SkipWithError("not every generated form was indexed");
    state.counters["files"] = static_cast<double>(found);
}

// A warm index asked again: the folder's and files' times and sizes only.
void BM_IndexFolderUnchanged(benchmark::State& state, const FormFolder& folder) {
    fw::rt::FormFolderIndex index;
    index.FormsOf(folder.Root());
    for (auto _ : state)
        benchmark::DoNotOptimize(index.FormsOf(folder.Root()).size());
    if (index.FormReads() != folder.Paths().size()) state.SkipWithError("an unchanged file was read again");
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    const FormFolder folder;
    benchmark::RegisterBenchmark("ReadFirst400Bytes", BM_ReadFirst400Bytes, std::cref(folder))
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("IndexFolder", BM_IndexFolder, std::cref(folder))
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("IndexFolderUnchanged", BM_IndexFolderUnchanged, std::cref(folder))
        ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
