// An edit on a large form beside a full reload of the same form, in the same run: the
// edit (the engine's SetProperty of Left on the first visual object, a new value each
// run, the source editor's one-step change, and the preview, tree and inspector brought
// up to date) in one window that shows the form on its preview page, against opening
// the file in a new window as a user reopening it would (reading, the editor's text,
// the preview, tree and inspector; the window before it closed). Forms: the largest
// text forms of the corpus.
//
//   cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DFW_BUILD_GUI=ON -DFW_BUILD_BENCHMARKS=ON
//   cmake --build build/release --target fw_edit_bench
//   build/release/bench/fw_edit_bench [runs] [forms]

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "document/documentwindow.h"
#include "edit/formedit.h"
#include "preview/previewcontext.h"
#include "printingmessages.h"
#include "runtime/registry.h"

namespace {

using Clock = std::chrono::steady_clock;

using fwbench::PrintingMessages;

double Milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The path of the first object below the root whose class is a registered control, or
// of the root when there is none.
std::string FirstVisualObject(const fw::edit::FormEditor& editor, const fw::rt::ClassRegistry& registry) {
    const std::vector<fw::edit::ObjectEntry> objects = editor.Objects();
    for (const fw::edit::ObjectEntry& object : objects) {
        const fw::rt::Class* cls = registry.FindClassByName(object.ClassName);
        if (object.Depth > 0 && cls && cls->Has(fw::rt::CfControl)) return object.Path;
    }
    return objects.empty() ? std::string() : objects.front().Path;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const int runs = args.size() >= 2 ? std::max(1, args[1].toInt()) : 7;
    const int forms = args.size() >= 3 ? std::max(1, args[2].toInt()) : 3;

    const QDir dir(QStringLiteral(FW_CORPUS_DIR "/forms/text"));
    const QFileInfoList files = dir.entryInfoList(QDir::Files, QDir::Size);
    if (files.isEmpty()) {
        std::fprintf(stderr, "no corpus text forms at %s\n", FW_CORPUS_DIR "/forms/text");
        return 2;
    }

    PrintingMessages messages;
    fw::preview::PreviewContext context;
    QMdiArea area;
    area.resize(1000, 700);
    area.show();
    std::printf("median of %d runs, ms\n", runs);
    std::printf("%-40s %9s %10s %10s %8s\n", "form", "bytes", "reload", "edit", "ratio");
    for (int index = 0; index < forms && index < files.size(); ++index) {
        const QString path = files[index].filePath();
        const auto open = [&] {
            auto* document = new fw::DocumentWindow(messages, fw::CodePage::Default(), context);
            area.addSubWindow(document);
            document->show();
            document->OpenDocumentFile(path);
            QCoreApplication::processEvents();
            return document;
        };
        std::vector<double> reload, edit;
        fw::DocumentWindow* previous = nullptr;
        for (int run = 0; run < runs; ++run) {
            delete previous;
            QCoreApplication::processEvents();
            const auto start = Clock::now();
            previous = open();
            reload.push_back(Milliseconds(Clock::now() - start));
        }
        delete previous;
        QCoreApplication::processEvents();

        fw::DocumentWindow* document = open();
        document->cmPreview();
        QCoreApplication::processEvents();
        for (int run = 0; run < runs; ++run) {
            // A different value each run, so that every run changes the text.
            const std::string left = std::to_string(17 + run);
            const auto start = Clock::now();
            const bool done = document->EditForm([&](const fw::edit::FormEditor& editor) {
                return editor.SetProperty(FirstVisualObject(editor, context.Registry()), "Left", left);
            });
            QCoreApplication::processEvents();
            edit.push_back(Milliseconds(Clock::now() - start));
            if (!done) std::fprintf(stderr, "the edit was refused\n");
        }
        const double reloadMedian = Median(reload), editMedian = Median(edit);
        std::printf("%-40.40s %9lld %10.1f %10.1f %8.3f\n", qPrintable(files[index].fileName()),
                    static_cast<long long>(files[index].size()), reloadMedian, editMedian,
                    editMedian / reloadMedian);
        delete document;
        QCoreApplication::processEvents();
    }
    return 0;
}
