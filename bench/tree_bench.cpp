// The object tree's scan and the status refresh on forms of 10,000 and 20,000 lines,
// to show that both grow in step with the text. Beside each figure: a baseline measured
// in the same run, splitting the same text into its lines, which any pass over the
// text must at least do.
//
//   cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DFW_BUILD_GUI=ON -DFW_BUILD_BENCHMARKS=ON
//   cmake --build build/release --target fw_tree_bench
//   build/release/bench/fw_tree_bench [runs]
//
// The form is generated: panels holding a button and a list view with a column
// collection, then a long binary property of the root, so that from the last line the
// caret's object lies half the text above it.

#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "codec/textlines.h"
#include "document/documentwindow.h"
#include "document/editorlogic.h"
#include "document/objectscan.h"
#include "preview/previewcontext.h"
#include "printingmessages.h"

namespace {

using Clock = std::chrono::steady_clock;

using fwbench::PrintingMessages;

// A form of exactly `lines` lines (CR LF after each).
std::string GenerateForm(int lines) {
    std::vector<std::string> out = {"object Form1: TForm1", "  Caption = 'Generated'"};
    const int components = lines / 2;
    for (int i = 0; static_cast<int>(out.size()) + 22 < components; ++i) {
        const std::string n = std::to_string(i);
        for (const std::string& line : std::vector<std::string>{
                 "  object Panel" + n + ": TPanel", "    Left = " + n, "    Top = 16",
                 "    Caption = 'Panel " + n + "'", "    object Button" + n + ": TButton", "      Left = 4",
                 "      Caption = 'OK'", "    end", "    object ListView" + n + ": TListView",
                 "      Columns = <", "        item", "          Caption = 'Name'", "        end",
                 "        item", "          Caption = 'Size'", "        end>", "    end", "  end"})
            out.push_back(line);
    }
    out.push_back("  Icon.Data = {");
    while (static_cast<int>(out.size()) < lines - 2)
        out.push_back("    0000010001002020100000000000E80200001600000028000000200000004000");
    out.push_back("    0000}");
    out.push_back("end");
    std::string text;
    for (const std::string& line : out)
        text += line + "\r\n";
    return text;
}

double Milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// The best of `runs` timings of f, in ms.
template <typename F>
double Best(int runs, F&& f) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        f();
        best = std::min(best, Milliseconds(Clock::now() - start));
    }
    return best;
}

struct Figures {
    int Lines = 0;
    int Nodes = 0;
    double Split = 0, Scan = 0, Rescan = 0, Refresh = 0;
};

Figures Measure(int lines, int runs) {
    Figures f;
    const std::string text = GenerateForm(lines);
    f.Lines = lines;
    f.Split = Best(runs, [&] { (void)fw::TextLines(text); });
    const std::vector<std::string_view> split = fw::TextLines(text);
    fw::HierarchyLookup nothing;
    f.Scan = Best(runs, [&] { f.Nodes = fw::ScanHierarchy(split, nothing).ObjectCount(); });

    PrintingMessages messages;
    fw::preview::PreviewContext preview;
    fw::DocumentWindow document(messages, fw::CodePage::Default(), preview);
    document.resize(1000, 700);
    document.show();
    document.LoadFromLines(QByteArray(text.data(), static_cast<qsizetype>(text.size())));
    QCoreApplication::processEvents();
    f.Rescan = Best(runs, [&] { document.cmRescan(); });

    QsciScintilla* editor = document.Editor();
    editor->setCursorPosition(editor->lines() - 2, 1);
    QCoreApplication::processEvents();
    f.Refresh = Best(runs * 20, [&] { document.DFMStatusChange(); });
    if (document.Tree()->selectedItems().isEmpty())
        std::fprintf(stderr, "the refresh selected no node at %d lines\n", lines);
    return f;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc >= 2 ? std::max(1, std::atoi(argv[1])) : 9;

    const Figures small = Measure(10000, runs);
    const Figures large = Measure(20000, runs);
    std::printf("best of %d runs, ms                 %10s %10s %8s\n", runs, "10k lines", "20k lines",
                "ratio");
    auto row = [](const char* name, double a, double b) {
        std::printf("%-36s %10.3f %10.3f %8.2f\n", name, a, b, b / a);
    };
    std::printf("nodes                                %10d %10d\n", small.Nodes, large.Nodes);
    row("baseline: split into lines", small.Split, large.Split);
    row("ScanHierarchy", small.Scan, large.Scan);
    row("cmRescan (scan + tree fill + expand)", small.Rescan, large.Rescan);
    row("status refresh + SyncTreeToCaret", small.Refresh, large.Refresh);
    std::printf("scan / baseline                      %10.2f %10.2f\n", small.Scan / small.Split,
                large.Scan / large.Split);
    return 0;
}
