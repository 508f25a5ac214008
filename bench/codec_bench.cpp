// Throughput of the two form conversions on real forms from the shared corpus: the
// largest text forms, the largest binary forms and one typical small form, in both
// directions. Every conversion is registered right before its baseline, a plain hex
// loop over the same number of input bytes (hex encoding for binary to text, hex
// decoding for text to binary), and a summary after the run gives each conversion's
// speed as a fraction of its baseline's. On the large forms a conversion is expected to
// reach at least a third of its baseline.
//
// The summary needs the console output; for JSON use --benchmark_out=<file>.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/errors.h"
#include "base/stream.h"
#include "codec/conversion.h"
#include "hexbaseline.h"

namespace {

enum class SampleKind {
    Text,        // a text form; its binary form is made once before timing
    Resource,    // a binary form behind a resource header
    BareBinary,  // a binary form starting with the signature
};

struct Sample {
    const char* Label;
    const char* CorpusPath;  // below the corpus folder
    SampleKind Kind;
    bool Large;  // held to the speed bar
};

const Sample Samples[] = {
    {"BindLinkVCLFormUnit1",
     "forms/text/Embarcadero__RADStudio11Demos__Object Pascal__LiveBindings__bindlink__vcl__"
     "BindLinkVCLFormUnit1.dfm",
     SampleKind::Text, true},
    {"JvHiddenGems", "forms/text/project-jedi__jvcl__jvcl__examples__JVCLMegaDemo__JvHiddenGems.dfm",
     SampleKind::Text, true},
    {"DataFrm", "forms/text/Embarcadero__Dev-Cpp__Source__DataFrm.dfm", SampleKind::Text, true},
    {"glDemo(resource)",
     "forms/binary/project-jedi__jvcl__tests__archive__jvcl__Globus__Demos__"
     "Globus Lib - Visual Components Demo__glDemo.dfm",
     SampleKind::Resource, true},
    {"ExClok1u(resource)", "forms/binary/TurboPack__Orpheus__examples__CBuildr6__ExClok1u.dfm",
     SampleKind::Resource, true},
    {"SRS-TFORM1(bare)", "pe-resources/Kacperfis__SRS__Win32__Debug__Project1.exe/TFORM1.0.bin",
     SampleKind::BareBinary, true},
    {"filefrm(small)", "forms/text/Embarcadero__Dev-Cpp__Source__Tools__PackMaker__filefrm.dfm",
     SampleKind::Text, false},
};

// One sample in both encodings, loaded and converted once per process.
struct PreparedForm {
    fw::Bytes Binary;  // the input of binary to text
    bool Resource = false;
    fw::Bytes Text;     // the input of text to binary
    std::string Error;  // why the sample cannot be measured; empty when it can
};

fw::Bytes ToText(const fw::Bytes& binary, bool resource) {
    fw::ByteViewStream input(binary);
    fw::MemoryStream output;
    if (resource) {
        fw::ResourceFormToText(input, output);
    } else {
        fw::BinaryFormToText(input, output);
    }
    return output.Take();
}

fw::Bytes ToBinary(const fw::Bytes& text) {
    fw::ByteViewStream input(text);
    fw::MemoryStream output;
    fw::TextToBinaryForm(input, output);
    return output.Take();
}

PreparedForm Prepare(const Sample& sample) {
    PreparedForm form;
    const std::filesystem::path path = std::filesystem::path(FW_CORPUS_DIR) / sample.CorpusPath;
    if (!std::filesystem::is_regular_file(path)) {
        form.Error = "corpus file missing: " + path.string() + " (configure with -DFW_CORPUS_DIR=<folder>)";
        return form;
    }
    try {
        const fw::Bytes bytes = fw::ReadFileBytes(path.string());
        switch (sample.Kind) {
            case SampleKind::Text:
                form.Text = bytes;
                form.Binary = ToBinary(bytes);
                break;
            case SampleKind::Resource:
            case SampleKind::BareBinary:
                form.Binary = bytes;
                form.Resource = sample.Kind == SampleKind::Resource;
                form.Text = ToText(bytes, form.Resource);
                break;
        }
    } catch (const fw::Exception& error) {
        form.Error = std::string("cannot prepare ") + sample.Label + ": " + error.what();
    }
    return form;
}

const PreparedForm& Prepared(const Sample& sample) {
    static std::map<const Sample*, PreparedForm> cache;
    auto found = cache.find(&sample);
    if (found == cache.end()) {
        found = cache.emplace(&sample, Prepare(sample)).first;
    }
    return found->second;
}

std::int64_t Size(const fw::Bytes& bytes) {
    return static_cast<std::int64_t>(bytes.size());
}

void BinaryToText(benchmark::State& state, const Sample& sample) {
    const PreparedForm& form = Prepared(sample);
    if (!form.Error.empty()) {
        state.SkipWithError(form.Error.c_str());
        return;
    }
    for (auto _ : state) {
        fw::ByteViewStream input(form.Binary);
        fw::MemoryStream output;
        if (form.Resource) {
            fw::ResourceFormToText(input, output);
        } else {
            fw::BinaryFormToText(input, output);
        }
        benchmark::DoNotOptimize(output.Data().data());
    }
    state.SetBytesProcessed(state.iterations() * Size(form.Binary));
}

void HexEncodeBaseline(benchmark::State& state, const Sample& sample) {
    const PreparedForm& form = Prepared(sample);
    if (!form.Error.empty()) {
        state.SkipWithError(form.Error.c_str());
        return;
    }
    std::vector<char> hex(2 * form.Binary.size());
    for (auto _ : state) {
        fwbench::HexEncode(form.Binary.data(), form.Binary.size(), hex.data());
        benchmark::DoNotOptimize(hex.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * Size(form.Binary));
}

void TextToBinary(benchmark::State& state, const Sample& sample) {
    const PreparedForm& form = Prepared(sample);
    if (!form.Error.empty()) {
        state.SkipWithError(form.Error.c_str());
        return;
    }
    for (auto _ : state) {
        fw::ByteViewStream input(form.Text);
        fw::MemoryStream output;
        fw::TextToBinaryForm(input, output);
        benchmark::DoNotOptimize(output.Data().data());
    }
    state.SetBytesProcessed(state.iterations() * Size(form.Text));
}

void HexDecodeBaseline(benchmark::State& state, const Sample& sample) {
    const PreparedForm& form = Prepared(sample);
    if (!form.Error.empty()) {
        state.SkipWithError(form.Error.c_str());
        return;
    }
    // A hex text exactly as long as the form text, so both read the same number of bytes.
    const std::size_t n = form.Text.size();
    std::vector<char> hex(n + 1);
    fwbench::HexEncode(form.Text.data(), (n + 1) / 2, hex.data());
    std::vector<std::uint8_t> bytes(n / 2);
    for (auto _ : state) {
        fwbench::HexDecode(hex.data(), n, bytes.data());
        benchmark::DoNotOptimize(bytes.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(n));
}

// A conversion and its baseline, as registered.
struct Pairing {
    const char* Direction;
    std::string Conversion;
    std::string Baseline;
    const Sample* Form;
    bool FromText;  // input is the text form
};

std::vector<Pairing> RegisterAll() {
    std::vector<Pairing> pairings;
    for (const Sample& sample : Samples) {
        const benchmark::TimeUnit unit = sample.Large ? benchmark::kMillisecond : benchmark::kMicrosecond;
        const std::string conversion = std::string("BinaryToText/") + sample.Label;
        const std::string baseline = conversion + "/hex-encode-baseline";
        benchmark::RegisterBenchmark(conversion.c_str(), [&sample](benchmark::State& state) {
            BinaryToText(state, sample);
        })->Unit(unit);
        benchmark::RegisterBenchmark(baseline.c_str(), [&sample](benchmark::State& state) {
            HexEncodeBaseline(state, sample);
        })->Unit(unit);
        pairings.push_back({"binary->text", conversion, baseline, &sample, false});
    }
    for (const Sample& sample : Samples) {
        const benchmark::TimeUnit unit = sample.Large ? benchmark::kMillisecond : benchmark::kMicrosecond;
        const std::string conversion = std::string("TextToBinary/") + sample.Label;
        const std::string baseline = conversion + "/hex-decode-baseline";
        benchmark::RegisterBenchmark(conversion.c_str(), [&sample](benchmark::State& state) {
            TextToBinary(state, sample);
        })->Unit(unit);
        benchmark::RegisterBenchmark(baseline.c_str(), [&sample](benchmark::State& state) {
            HexDecodeBaseline(state, sample);
        })->Unit(unit);
        pairings.push_back({"text->binary", conversion, baseline, &sample, true});
    }
    return pairings;
}

// The console output, plus the bytes per second of every run kept for the summary.
// With repetitions the median is used.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    using benchmark::ConsoleReporter::ConsoleReporter;

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Aggregate && !median) continue;
            const auto rate = run.counters.find("bytes_per_second");
            if (rate == run.counters.end()) continue;
            const std::string& name = run.run_name.function_name;
            if (median || medians_.count(name) == 0) {
                rates_[name] = rate->second.value;
            }
            if (median) medians_.insert(name);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // Prints one line per conversion whose baseline was measured too.
    void PrintSummary(const std::vector<Pairing>& pairings) const {
        std::ostream& out = GetOutputStream();
        out << "\nConversion speed beside its hex baseline (MB = 10^6 bytes, CPU time; bar: ratio >= 1/3 on "
               "large forms)\n";
        char line[256];
        std::snprintf(line, sizeof line, "%-13s %-20s %10s %14s %14s %7s  %s\n", "direction", "form", "input",
                      "conversion", "baseline", "ratio", "bar");
        out << line;
        bool anyBelow = false;
        for (const Pairing& pairing : pairings) {
            const auto conversion = rates_.find(pairing.Conversion);
            const auto baseline = rates_.find(pairing.Baseline);
            if (conversion == rates_.end() || baseline == rates_.end() || baseline->second <= 0) continue;
            const PreparedForm& form = Prepared(*pairing.Form);
            const double inputMb =
                static_cast<double>(pairing.FromText ? form.Text.size() : form.Binary.size()) / 1e6;
            const double ratio = conversion->second / baseline->second;
            const bool below = pairing.Form->Large && ratio < 1.0 / 3.0;
            anyBelow = anyBelow || below;
            const char* verdict = "-";
            if (pairing.Form->Large) verdict = below ? "BELOW" : "ok";
            std::snprintf(line, sizeof line, "%-13s %-20s %7.3f MB %9.1f MB/s %9.1f MB/s %7.3f  %s\n",
                          pairing.Direction, pairing.Form->Label, inputMb, conversion->second / 1e6,
                          baseline->second / 1e6, ratio, verdict);
            out << line;
        }
        if (anyBelow) out << "At least one conversion is slower than a third of its baseline.\n";
        out.flush();
    }

private:
    std::map<std::string, double> rates_;
    std::set<std::string> medians_;  // names whose rate is a median already
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    const std::vector<Pairing> pairings = RegisterAll();
    SummaryReporter reporter(isatty(STDOUT_FILENO) ? benchmark::ConsoleReporter::OO_Color
                                                   : benchmark::ConsoleReporter::OO_None);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintSummary(pairings);
    benchmark::Shutdown();
    return 0;
}
