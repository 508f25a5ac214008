// Speed of the PE reader on large files, each beside a plain pass over the same bytes
// measured in the same run:
//
// - Open plus listing the forms, on files of about 1, 10 and 100 MB that hold the same
//   3000 resources (1000 forms) and differ only in the size of a data section nobody
//   reads. The time must not grow with that section: the file is mapped, not read, and
//   the module image copies a section only when something reads it. The baseline is one
//   pass over the whole mapped file, which does grow with it.
// - The class scan over a 20 MB code section holding 5000 class records, in MB/s, beside
//   a 32-bit word sum and a memchr count over the same bytes. Bar: at least 200 MB/s.
//
// Build and run a Release build:
//   cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DFW_BUILD_BENCHMARKS=ON -DFW_BUILD_GUI=OFF
//   cmake --build build/release --target fw_pe_bench
//   build/release/bench/fw_pe_bench
//
// The files are written to a temporary folder and removed at the end.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "peimage/classscan.h"
#include "peimage/pefile.h"
#include "pewriter.h"

namespace {

namespace fs = std::filesystem;
using fwtest::Bytes;
using fwtest::ResourceId;

constexpr int FormCount = 1000;
constexpr int ResourceCount = 3000;
constexpr std::size_t MB = 1000 * 1000;
constexpr std::size_t CodeSize = 20 * MB;
constexpr std::size_t ClassCount = 5000;
constexpr std::uint64_t ImageBase = 0x00400000;

fwtest::TempDir& Folder() {
    static fwtest::TempDir folder;
    return folder;
}

// A code section of size bytes laid out at sectionAddress: machine-code-like noise with
// count class records spread evenly through it, at the three record distances in turn.
Bytes SyntheticCode(std::size_t size, std::uint64_t sectionAddress, std::size_t count) {
    Bytes code(size);
    std::mt19937 random(7);
    for (std::size_t i = 0; i < size; i += 4) {
        const auto word = static_cast<std::uint32_t>(random());
        std::memcpy(code.data() + i, &word, std::min<std::size_t>(4, size - i));
    }
    const std::size_t stride = size / count;
    const std::uint32_t distances[] = {64, 76, 88};
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t at = k * stride;
        const std::uint32_t distance = distances[k % 3];
        fwtest::PutClassRecord(code, sectionAddress, at, distance, at + distance + 0x40,
                               "TBenchClass" + std::to_string(k));
    }
    return code;
}

// A file of about unreadMegabytes MB: a small code section, the unread data section and
// the resources. Written once per size.
const std::string& LargeFile(std::size_t unreadMegabytes) {
    static std::map<std::size_t, std::string> paths;
    auto found = paths.find(unreadMegabytes);
    if (found != paths.end()) return found->second;

    fwtest::PeWriter writer(false, ImageBase);
    writer.AddSection("CODE", SyntheticCode(256 * 1024, ImageBase + writer.NextSectionRva(), 50));
    writer.AddSection(".data", Bytes(unreadMegabytes * MB, 0x5A));
    for (int i = 0; i < ResourceCount; ++i) {
        const std::string name = "TRES" + std::to_string(i);
        if (i % 3 == 0) {
            writer.AddResource({ResourceId::Num(10), ResourceId::Str("TFORM" + std::to_string(i)), 0,
                                fwtest::SmallForm("Form" + std::to_string(i)), 0});
        } else if (i % 3 == 1) {
            writer.AddResource({ResourceId::Num(2), ResourceId::Str(name), 1033, Bytes(1024, 0x42), 0});
        } else {
            writer.AddResource({ResourceId::Num(10), ResourceId::Str(name), 0, Bytes(256, 0x11), 0});
        }
    }
    const std::string path =
        Folder().Write("large-" + std::to_string(unreadMegabytes) + "MB.exe", writer.Build().File);
    return paths.emplace(unreadMegabytes, path).first->second;
}

void OpenAndListForms(benchmark::State& state) {
    const std::string& path = LargeFile(static_cast<std::size_t>(state.range(0)));
    fw::pe::PeFile pe;
    std::size_t forms = 0;
    for (auto _ : state) {
        pe.Open(path);
        forms = pe.FormNames().size();
        benchmark::DoNotOptimize(forms);
    }
    if (forms != FormCount) state.SkipWithError("the reader did not list every form");
    state.counters["file_MB"] = static_cast<double>(fs::file_size(path)) / MB;
    state.counters["resources"] = static_cast<double>(pe.Resources().size());
}

// The baseline: one pass over the whole file, mapped afresh each time as Open maps it.
void WholeFilePass(benchmark::State& state) {
    const std::string& path = LargeFile(static_cast<std::size_t>(state.range(0)));
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const auto size = static_cast<std::size_t>(fs::file_size(path));
    for (auto _ : state) {
        void* map = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        std::uint64_t sum = 0;
        const auto* words = static_cast<const std::uint64_t*>(map);
        for (std::size_t i = 0; i < size / 8; ++i)
            sum += words[i];
        benchmark::DoNotOptimize(sum);
        ::munmap(map, size);
    }
    ::close(fd);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(size));
    state.counters["file_MB"] = static_cast<double>(size) / MB;
}

const Bytes& Code() {
    static const Bytes code = SyntheticCode(CodeSize, ImageBase + 0x1000, ClassCount);
    return code;
}

void ClassScan(benchmark::State& state) {
    const Bytes& code = Code();
    std::size_t found = 0;
    for (auto _ : state) {
        const std::vector<fw::pe::ClassReference> refs = fw::pe::ScanClassRecords(code, ImageBase + 0x1000);
        found = refs.size();
        benchmark::DoNotOptimize(refs.data());
    }
    if (found != ClassCount) state.SkipWithError("the scan did not find every class");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(CodeSize));
    state.counters["classes"] = static_cast<double>(found);
}

void WordSumBaseline(benchmark::State& state) {
    const Bytes& code = Code();
    for (auto _ : state) {
        std::uint32_t sum = 0;
        for (std::size_t i = 0; i + 4 <= code.size(); i += 4) {
            std::uint32_t word = 0;
            std::memcpy(&word, code.data() + i, 4);
            sum += word;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(CodeSize));
}

// Counts one byte value with memchr, going on after each hit, so that it reads every
// byte whatever the code holds.
void MemchrBaseline(benchmark::State& state) {
    const Bytes& code = Code();
    std::size_t hits = 0;
    for (auto _ : state) {
        hits = 0;
        const std::uint8_t* at = code.data();
        const std::uint8_t* const end = code.data() + code.size();
        while (const void* hit = std::memchr(at, 0xCC, static_cast<std::size_t>(end - at))) {
            ++hits;
            at = static_cast<const std::uint8_t*>(hit) + 1;
        }
        benchmark::DoNotOptimize(hits);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(CodeSize));
    state.counters["hits"] = static_cast<double>(hits);
}

// The whole reader on a file whose code section is 20 MB: mapping, laying the code out in
// the module image (a copy of the section) and scanning it.
void OpenWithLargeCode(benchmark::State& state) {
    static const std::string path = [] {
        fwtest::PeWriter writer(false, ImageBase);
        writer.AddSection("CODE", SyntheticCode(CodeSize, ImageBase + writer.NextSectionRva(), ClassCount));
        return Folder().Write("code-20MB.exe", writer.Build().File);
    }();
    fw::pe::PeFile pe;
    for (auto _ : state) {
        pe.Open(path);
        benchmark::DoNotOptimize(pe.ClassRefs().data());
    }
    if (pe.ClassRefs().size() != ClassCount) state.SkipWithError("the reader did not find every class");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(CodeSize));
}

// Keeps the CPU time of each run, and bytes per second where there are any, for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    using benchmark::ConsoleReporter::ConsoleReporter;

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred || run.run_type == Run::RT_Aggregate) continue;
            const std::string name = run.benchmark_name();
            Times[name] = run.GetAdjustedCPUTime();  // in the run's time unit
            Units[name] = run.time_unit;
            const auto rate = run.counters.find("bytes_per_second");
            if (rate != run.counters.end()) Rates[name] = rate->second.value;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    double Milliseconds(const std::string& name) const {
        const auto time = Times.find(name);
        if (time == Times.end()) return -1;
        return time->second * 1000.0 / benchmark::GetTimeUnitMultiplier(Units.at(name));
    }
    double MBps(const std::string& name) const {
        const auto rate = Rates.find(name);
        return rate == Rates.end() ? -1 : rate->second / MB;
    }

    std::map<std::string, double> Times;
    std::map<std::string, benchmark::TimeUnit> Units;
    std::map<std::string, double> Rates;
};

}  // namespace

int main(int argc, char** argv) {
    for (const int size : {1, 10, 100}) {
        benchmark::RegisterBenchmark("OpenAndListForms/unread_MB", OpenAndListForms)
            ->Arg(size)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("OpenAndListForms/unread_MB/whole-file-pass-baseline", WholeFilePass)
            ->Arg(size)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("ClassScan/20MB", ClassScan)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("ClassScan/20MB/word-sum-baseline", WordSumBaseline)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("ClassScan/20MB/memchr-baseline", MemchrBaseline)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Open/20MB_code", OpenWithLargeCode)->Unit(benchmark::kMillisecond);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    SummaryReporter reporter(isatty(STDOUT_FILENO) ? benchmark::ConsoleReporter::OO_Color
                                                   : benchmark::ConsoleReporter::OO_None);
    benchmark::RunSpecifiedBenchmarks(&reporter);

    std::ostream& out = std::cout;
    out << "\nSummary (CPU time; MB = 10^6 bytes)\n";
    const double small = reporter.Milliseconds("OpenAndListForms/unread_MB/1");
    const double large = reporter.Milliseconds("OpenAndListForms/unread_MB/100");
    if (small > 0 && large > 0) {
        char line[200];
        std::snprintf(line, sizeof line,
                      "  Open + forms: %.2f ms at 1 MB unread, %.2f ms at 100 MB (x%.2f); whole-file pass "
                      "%.2f ms -> %.2f ms\n",
                      small, large, large / small,
                      reporter.Milliseconds("OpenAndListForms/unread_MB/whole-file-pass-baseline/1"),
                      reporter.Milliseconds("OpenAndListForms/unread_MB/whole-file-pass-baseline/100"));
        out << line << "  bar: the Open time does not grow with the unread section ("
            << (large < 2 * small ? "met" : "NOT MET") << ")\n";
    }
    const double scan = reporter.MBps("ClassScan/20MB");
    if (scan > 0) {
        char line[200];
        std::snprintf(line, sizeof line,
                      "  class scan: %.0f MB/s; word sum %.0f MB/s, memchr %.0f MB/s; bar >= 200 MB/s (%s)\n",
                      scan, reporter.MBps("ClassScan/20MB/word-sum-baseline"),
                      reporter.MBps("ClassScan/20MB/memchr-baseline"), scan >= 200 ? "met" : "NOT MET");
        out << line;
    }
    benchmark::Shutdown();
    return 0;
}
