// Building the preview: the largest corpus forms and generated forms of 500 and 1,000
// controls, in milliseconds and in memory. Beside each build: a baseline measured in the
// same run, reading the same text into live objects without realising any widget, which
// every build must at least do.
//
//   cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DFW_BUILD_GUI=ON -DFW_BUILD_BENCHMARKS=ON
//   cmake --build build/release --target fw_preview_bench
//   QT_QPA_PLATFORM=offscreen build/release/bench/fw_preview_bench [runs]
//
// The generated forms hold panels of ten controls each (labels, edits, buttons, check
// boxes, combo boxes, memos, list boxes, radio buttons, a group box with a radio button,
// a shape), so that every family's common controls take part. One more form holds
// thousands of labels on the form itself, drawn onto it rather than made widgets.

#include <malloc.h>
#include <sys/resource.h>

#include <QApplication>
#include <QImage>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "base/stream.h"
#include "codec/conversion.h"
#include "codec/formformat.h"
#include "preview/previewcontext.h"
#include "preview/virtualdesktop.h"
#include "runtime/builtin.h"
#include "runtime/formbuild.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

std::string GeneratedForm(int controls) {
    std::string text = "object Form1: TForm1\r\n  ClientWidth = 1000\r\n  ClientHeight = 800\r\n";
    const int panels = (controls + 9) / 10;
    int made = 0;
    for (int p = 0; p < panels; ++p) {
        const std::string n = std::to_string(p);
        text += "  object Panel" + n + ": TPanel\r\n    Left = " + std::to_string((p % 5) * 200) +
                "\r\n    Top = " + std::to_string((p / 5) * 60 % 800) +
                "\r\n    Width = 195\r\n    Height = 55\r\n";
        ++made;
        const char* kinds[] = {"TLabel", "TEdit",    "TButton",      "TCheckBox", "TComboBox",
                               "TMemo",  "TListBox", "TRadioButton", "TShape"};
        for (int i = 0; i < 9 && made < controls; ++i, ++made) {
            const std::string name = std::string(kinds[i] + 1) + n + "_" + std::to_string(i);
            text += "    object " + name + ": " + kinds[i] + "\r\n      Left = " + std::to_string(i * 20) +
                    "\r\n      Top = 4\r\n      Width = 18\r\n      Height = 18\r\n";
            if (i == 0 || i == 2 || i == 3 || i == 7) text += "      Caption = '" + name + "'\r\n";
            if (i == 6) text += "      Items.Strings = (\r\n        'one'\r\n        'two')\r\n";
            text += "    end\r\n";
        }
        text += "  end\r\n";
    }
    return text + "end\r\n";
}

std::string LabelsForm(int labels) {
    std::string text = "object Form1: TForm1\r\n  ClientWidth = 1000\r\n  ClientHeight = 800\r\n";
    for (int i = 0; i < labels; ++i) {
        const std::string n = std::to_string(i);
        text += "  object Label" + n + ": TLabel\r\n    Left = " + std::to_string((i % 20) * 50) +
                "\r\n    Top = " + std::to_string((i / 20) * 16 % 800) + "\r\n    Caption = 'Label" + n +
                "'\r\n  end\r\n";
    }
    return text + "end\r\n";
}

std::string CorpusText(const fs::path& path) {
    fw::Bytes bytes = fw::ReadFileBytes(path.string());
    if (fw::DetectEncoding(bytes) != fw::FormEncoding::Text)
        bytes = fw::ConvertForm(bytes, fw::FormEncoding::Text);
    return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

long HeldBytes() {
    return static_cast<long>(mallinfo2().uordblks);
}

void Measure(const char* name, const std::string& text, int runs) {
    fw::preview::PreviewContext context;
    std::vector<double> build, read, paint;
    long held = 0;
    std::size_t messages = 0;
    for (int r = 0; r < runs; ++r) {
        {
            fw::rt::ClassRegistry& registry = context.Registry();
            const auto start = Clock::now();
            fw::rt::ObjectPtr form = fw::rt::CreateObject(registry.Of(fw::rt::cls::TForm), registry);
            std::vector<std::string> m;
            fw::rt::BuildFormFromText(*form, text, registry, fw::CodePage::Default(), m);
            read.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        }
        fw::preview::VirtualDesktop desktop(context);
        desktop.resize(1280, 1024);
        const long before = HeldBytes();
        const auto start = Clock::now();
        desktop.BuildPreview(text, fw::CodePage::Default());
        QApplication::processEvents();
        build.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        held = std::max(held, HeldBytes() - before);
        const auto painted = Clock::now();
        const QImage picture = desktop.FormWindowImage();
        paint.push_back(std::chrono::duration<double, std::milli>(Clock::now() - painted).count());
        messages = desktop.PreviewMessages().size();
    }
    std::printf(
        "%-34s %9zu B  build %7.1f ms  read only %6.1f ms  ratio %5.1f  paint %6.1f ms  held %6.1f MB  "
        "messages %zu\n",
        name, text.size(), Median(build), Median(read), Median(build) / Median(read), Median(paint),
        static_cast<double>(held) / 1e6, messages);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::printf("median of %d runs\n", runs);

    Measure("generated, 500 controls", GeneratedForm(500), runs);
    Measure("generated, 1000 controls", GeneratedForm(1000), runs);
    Measure("generated, 5000 labels on the form", LabelsForm(5000), runs);

    // The largest text forms of the corpus.
    const fs::path corpus = fs::path(FW_CORPUS_DIR) / "forms" / "text";
    std::vector<std::pair<std::uintmax_t, fs::path>> files;
    if (fs::is_directory(corpus))
        for (const auto& e : fs::directory_iterator(corpus))
            if (e.is_regular_file()) files.emplace_back(e.file_size(), e.path());
    std::sort(files.rbegin(), files.rend());
    for (std::size_t i = 0; i < files.size() && i < 4; ++i) {
        const std::string label = "corpus: " + files[i].second.stem().string().substr(0, 26);
        Measure(label.c_str(), CorpusText(files[i].second), runs);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak resident size of the process: %.1f MB\n",
                static_cast<double>(usage.ru_maxrss) / 1024.0);
    return 0;
}
