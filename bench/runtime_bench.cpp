// Reading generated forms of 10,000, 30,000 and 100,000 components into live objects,
// once with every component named and once with none named. The unnamed form is the
// baseline, measured in the same run: its components need no name lookups, so reading
// it grows in step with its size. The named form must keep within twice its time;
// a lookup that walks all components would make it grow with the square of the count.
//
//   cmake --build --preset dev --target fw_runtime_bench
//   build/dev/bench/fw_runtime_bench [--benchmark_repetitions=3]
//
// The form has panels, each holding a label, an edit and a button or a list view with
// two columns. In the named form each label refers to its edit (FocusControl), a
// reference resolved at the end of the read; the unnamed form has nothing to refer to
// and leaves that line out. The counter heap_per_component is the heap the read form
// holds, divided by its components (glibc only).
//
// The summary needs the console output; for JSON use --benchmark_out=<file>.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <exception>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "base/stream.h"
#include "codec/conversion.h"
#include "runtime/builtin.h"
#include "runtime/reader.h"

namespace {

using namespace fw::rt;

constexpr int Sizes[] = {10000, 30000, 100000};

// The form text of about `components` components in groups of four.
std::string GenerateForm(int components, bool named) {
    std::string text =
        "object Form1: TForm1\r\n  Caption = 'Generated'\r\n  ClientHeight = 600\r\n"
        "  ClientWidth = 800\r\n";
    auto line = [&text](const std::string& s) { text += s + "\r\n"; };
    auto header = [&](const char* indent, const char* name, int i, const char* className) {
        line(std::string(indent) + "object " + (named ? name + std::to_string(i) + ": " : "") + className);
    };
    for (int i = 0; i < components / 4; ++i) {
        const std::string n = std::to_string(i);
        header("  ", "Panel", i, "TPanel");
        line("    Left = " + std::to_string(i % 700));
        line("    Top = " + std::to_string(i % 500));
        line("    Width = 185");
        line("    Height = 41");
        line("    Caption = 'Panel " + n + "'");
        line("    TabOrder = " + n);
        header("    ", "Label", i, "TLabel");
        line("      Left = 8");
        line("      Top = 12");
        line("      Caption = 'Name " + n + "'");
        if (named) line("      FocusControl = Edit" + n);
        line("    end");
        header("    ", "Edit", i, "TEdit");
        line("      Left = 56");
        line("      Top = 8");
        line("      TabOrder = 0");
        line("      Text = 'Value'");
        line("    end");
        if (i % 2 == 0) {
            header("    ", "Button", i, "TButton");
            line("      Left = 100");
            line("      Caption = 'OK'");
            line("      TabOrder = 1");
        } else {
            header("    ", "ListView", i, "TListView");
            line("      Left = 100");
            line("      Columns = <");
            line("        item");
            line("          Caption = 'Name'");
            line("        end");
            line("        item");
            line("          Caption = 'Size'");
            line("        end>");
            line("      TabOrder = 1");
            line("      ViewStyle = vsReport");
        }
        line("    end");
        line("  end");
    }
    line("end");
    return text;
}

struct Prepared {
    fw::Bytes Binary;
    std::string Error;
};

Prepared Prepare(int components, bool named) {
    Prepared form;
    try {
        const std::string text = GenerateForm(components, named);
        form.Binary = fw::ConvertForm(fw::Bytes(text.begin(), text.end()), fw::FormEncoding::Binary);
    } catch (const std::exception& error) {
        form.Error = error.what();
    }
    return form;
}

std::size_t HeapInUse() {
#if defined(__GLIBC__)
    return mallinfo2().uordblks;
#else
    return 0;
#endif
}

// Reads the form into a new plain form. The default hooks raise every complaint: a form
// that stops early would measure nothing.
ObjectPtr ReadOnce(ClassRegistry& registry, const Prepared& form, ReadSummary& summary) {
    ObjectPtr root = CreateObject(registry.Of(cls::TForm), registry);
    fw::ByteViewStream in(form.Binary);
    ReaderHooks hooks;
    summary = ReadFormInto(*root, in, hooks, registry);
    return root;
}

void ReadForm(benchmark::State& state, ClassRegistry& registry, const Prepared& form, int components) {
    if (!form.Error.empty()) {
        state.SkipWithError(form.Error.c_str());
        return;
    }
    double heap = 0;
    try {
        // One read before the timed ones: the first read into fresh heap pays for the
        // operating system's pages, and whichever form came first would pay more.
        ReadSummary summary;
        ReadOnce(registry, form, summary);
        if (summary.ObjectsCreated != components) {
            state.SkipWithError("the form did not read whole");
            return;
        }
        for (auto _ : state) {
            const std::size_t before = HeapInUse();
            ObjectPtr root = ReadOnce(registry, form, summary);
            benchmark::DoNotOptimize(root.get());
            state.PauseTiming();
            heap = static_cast<double>(HeapInUse() - before);
            root.reset();
            state.ResumeTiming();
        }
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
        return;
    }
    state.counters["components"] = components;
    state.counters["heap_per_component"] = heap / components;
}

std::string Name(bool named, int components) {
    return std::string("ReadForm/") + (named ? "named/" : "unnamed/") + std::to_string(components);
}

// The console output, plus the CPU time of every run kept for the summary. With
// repetitions the median is used.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    using benchmark::ConsoleReporter::ConsoleReporter;

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Aggregate && !median) continue;
            const std::string& name = run.run_name.function_name;
            if (median || medians_.count(name) == 0) {
                seconds_[name] = run.GetAdjustedCPUTime();
                const auto heap = run.counters.find("heap_per_component");
                heap_[name] = heap == run.counters.end() ? 0 : heap->second.value;
            }
            if (median) medians_.insert(name);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void PrintSummary() const {
        std::ostream& out = GetOutputStream();
        out << "\nNamed components beside unnamed ones (CPU time; bar: named within 2x at 100,000)\n";
        char line[256];
        std::snprintf(line, sizeof line, "%10s %12s %12s %7s %14s %14s  %s\n", "components", "named",
                      "unnamed", "ratio", "heap/named", "heap/unnamed", "bar");
        out << line;
        bool anyAbove = false;
        for (const int n : Sizes) {
            const auto named = seconds_.find(Name(true, n));
            const auto unnamed = seconds_.find(Name(false, n));
            if (named == seconds_.end() || unnamed == seconds_.end() || unnamed->second <= 0) continue;
            const double ratio = named->second / unnamed->second;
            const char* verdict = "-";
            if (n == Sizes[std::size(Sizes) - 1]) {
                verdict = ratio <= 2.0 ? "ok" : "ABOVE";
                anyAbove = anyAbove || ratio > 2.0;
            }
            std::snprintf(line, sizeof line, "%10d %9.1f ms %9.1f ms %7.2f %11.0f B %11.0f B  %s\n", n,
                          named->second, unnamed->second, ratio, heap_.at(Name(true, n)),
                          heap_.at(Name(false, n)), verdict);
            out << line;
        }
        if (anyAbove) out << "Reading the named form takes more than twice the unnamed one.\n";
        out.flush();
    }

private:
    std::map<std::string, double> seconds_;  // in the unit the benchmarks report (ms)
    std::map<std::string, double> heap_;
    std::set<std::string> medians_;  // names whose figures are medians already
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    const std::unique_ptr<ClassRegistry> registry = MakeBuiltinRegistry();
    std::map<std::string, Prepared> forms;
    for (const int n : Sizes) {
        for (const bool named : {false, true}) {
            const std::string name = Name(named, n);
            const Prepared& form = forms.emplace(name, Prepare(n, named)).first->second;
            benchmark::RegisterBenchmark(name.c_str(), [&registry, &form, n](benchmark::State& state) {
                ReadForm(state, *registry, form, n);
            })->Unit(benchmark::kMillisecond);
        }
    }
    SummaryReporter reporter(isatty(STDOUT_FILENO) ? benchmark::ConsoleReporter::OO_Color
                                                   : benchmark::ConsoleReporter::OO_None);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintSummary();
    benchmark::Shutdown();
    return 0;
}
