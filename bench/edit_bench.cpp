// The edit engine on the largest text form of the shared corpus, beside the conversion
// of the same text to binary, which any full reload of the form does first: reading the
// text's outline, one property edit on an outline already read, and the two together,
// which is what an edit in the editor costs the engine. A summary after the run gives
// each as a fraction of the conversion's time.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <string>

#include "base/errors.h"
#include "base/stream.h"
#include "codec/conversion.h"
#include "edit/formedit.h"
#include "runtime/registry.h"

namespace {

const char* const LargestForm =
    "forms/text/Embarcadero__RADStudio11Demos__Object "
    "Pascal__LiveBindings__bindlink__vcl__BindLinkVCLFormUnit1.dfm";

const std::string& Text() {
    static const std::string text = [] {
        try {
            const fw::Bytes bytes =
                fw::ReadFileBytes((std::filesystem::path(FW_CORPUS_DIR) / LargestForm).string());
            return std::string(bytes.begin(), bytes.end());
        } catch (const fw::Exception&) {
            return std::string();
        }
    }();
    return text;
}

const fw::rt::ClassRegistry& Registry() {
    static const std::unique_ptr<fw::rt::ClassRegistry> registry = fw::rt::MakeBuiltinRegistry();
    return *registry;
}

bool Missing(benchmark::State& state) {
    if (!Text().empty()) return false;
    state.SkipWithError("the corpus form is missing");
    return true;
}

// The first object below the root.
std::string FirstChild(const fw::edit::FormEditor& editor) {
    return editor.Objects().at(1).Path;
}

void Convert(benchmark::State& state) {
    if (Missing(state)) return;
    const std::string& text = Text();
    for (auto _ : state) {
        fw::ByteViewStream input(
            fw::ByteSpan(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
        fw::MemoryStream binary;
        fw::TextToBinaryForm(input, binary);
        benchmark::DoNotOptimize(binary.Data().data());
    }
}

void Outline(benchmark::State& state) {
    if (Missing(state)) return;
    for (auto _ : state) {
        const fw::edit::FormEditor editor(Text(), fw::CodePage::Default(), &Registry());
        benchmark::DoNotOptimize(editor.Text().data());
    }
}

void SetProperty(benchmark::State& state) {
    if (Missing(state)) return;
    const fw::edit::FormEditor editor(Text(), fw::CodePage::Default(), &Registry());
    const std::string object = FirstChild(editor);
    int left = 0;
    for (auto _ : state) {
        const fw::edit::EditResult result = editor.SetProperty(object, "Left", std::to_string(++left % 500));
        benchmark::DoNotOptimize(result.Edits.data());
    }
}

void OutlineAndSet(benchmark::State& state) {
    if (Missing(state)) return;
    int left = 0;
    for (auto _ : state) {
        const fw::edit::FormEditor editor(Text(), fw::CodePage::Default(), &Registry());
        const fw::edit::EditResult result =
            editor.SetProperty(FirstChild(editor), "Left", std::to_string(++left % 500));
        benchmark::DoNotOptimize(result.Edits.data());
    }
}

BENCHMARK(Convert)->Unit(benchmark::kMillisecond);
BENCHMARK(Outline)->Unit(benchmark::kMillisecond);
BENCHMARK(SetProperty)->Unit(benchmark::kMicrosecond);
BENCHMARK(OutlineAndSet)->Unit(benchmark::kMillisecond);

// Keeps the time of each run for the summary.
class Summary : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (!run.error_occurred)
                times_[run.benchmark_name()] = run.GetAdjustedRealTime() * Scale(run.time_unit);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto base = times_.find("Convert");
        if (base == times_.end() || base->second <= 0) return;
        for (const auto& [name, time] : times_)
            std::printf("%-16s %8.3f ms  %6.3f of the conversion\n", name.c_str(), time * 1e3,
                        time / base->second);
    }

private:
    static double Scale(benchmark::TimeUnit unit) {
        switch (unit) {
            case benchmark::kNanosecond:
                return 1e-9;
            case benchmark::kMicrosecond:
                return 1e-6;
            case benchmark::kMillisecond:
                return 1e-3;
            default:
                return 1;
        }
    }
    std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    Summary summary;
    benchmark::RunSpecifiedBenchmarks(&summary);
    benchmark::Shutdown();
    return 0;
}
