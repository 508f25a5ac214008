// Opening a large binary form as a document, beside the codec's own conversion of the
// same bytes in the same run, and the memory the open document takes beside the file's
// size. The form is the largest text form of the corpus, converted to binary once.
//
//   cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DFW_BUILD_GUI=ON -DFW_BUILD_BENCHMARKS=ON
//   cmake --build build/release --target fw_document_bench
//   build/release/bench/fw_document_bench [runs]
//
// Memory is measured in a fresh process (the benchmark runs itself again with
// --memory FILE SMALLFILE): the peak resident size during the open less the resident
// size before it.

#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/atomicfile.h"
#include "base/stream.h"
#include "codec/conversion.h"
#include "document/documentwindow.h"
#include "preview/previewcontext.h"
#include "printingmessages.h"

namespace {

using Clock = std::chrono::steady_clock;

using fwbench::PrintingMessages;

// A field of /proc/self/status in kilobytes ("VmRSS:" the resident size now, "VmHWM:" its
// peak), -1 when missing.
long StatusKilobytes(const char* field) {
    long value = -1;
    if (std::FILE* status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        const std::size_t length = std::strlen(field);
        while (std::fgets(line, sizeof line, status))
            if (std::strncmp(line, field, length) == 0) value = std::strtol(line + length, nullptr, 10);
        std::fclose(status);
    }
    return value;
}

// Lowers the recorded peak to the present resident size, so that the peak read later
// is the open's own and not one left behind by the application's start-up.
bool ResetPeak() {
    std::FILE* refs = std::fopen("/proc/self/clear_refs", "w");
    if (!refs) return false;
    const bool written = std::fputs("5", refs) >= 0;
    return std::fclose(refs) == 0 && written;
}

long PeakKilobytes() {
    const long peak = StatusKilobytes("VmHWM:");
    if (peak >= 0) return peak;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

double Milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

QString LargestTextForm() {
    const QDir dir(QStringLiteral(FW_CORPUS_DIR "/forms/text"));
    const QFileInfoList files = dir.entryInfoList(QDir::Files, QDir::Size);
    return files.isEmpty() ? QString() : files.first().filePath();
}

// Child mode: how far the peak resident size rises above the resident size of the
// ready window while one document opens the file. A small form is opened and shown
// first, so that what the first painting of any text costs (fonts, glyph caches, code
// pages of the libraries) is not counted against the file.
int MeasureMemory(const QString& path, const QString& warmUp) {
    PrintingMessages messages(/*exitOnError=*/true);
    fw::preview::PreviewContext context;
    QMdiArea area;
    area.resize(1000, 700);
    area.show();
    auto* small = new fw::DocumentWindow(messages, fw::CodePage::Default(), context);
    area.addSubWindow(small);
    small->show();
    small->OpenDocumentFile(warmUp);
    QCoreApplication::processEvents();
    delete small;
    QCoreApplication::processEvents();

    auto* document = new fw::DocumentWindow(messages, fw::CodePage::Default(), context);
    area.addSubWindow(document);
    document->show();
    QCoreApplication::processEvents();
    if (!ResetPeak())
        std::fprintf(stderr, "cannot reset the peak resident size; the figure may be too high\n");
    const long before = StatusKilobytes("VmRSS:");
    document->OpenDocumentFile(path);
    QCoreApplication::processEvents();
    const long after = PeakKilobytes();
    std::printf("%ld %ld\n", before, after);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 4 && args[1] == QLatin1String("--memory")) return MeasureMemory(args[2], args[3]);
    const int runs = args.size() >= 2 ? std::max(1, args[1].toInt()) : 7;

    const QString source = LargestTextForm();
    if (source.isEmpty()) {
        std::fprintf(stderr, "no corpus text forms at %s\n", FW_CORPUS_DIR "/forms/text");
        return 2;
    }
    const fw::Bytes text = fw::ReadFileBytes(QFile::encodeName(source).toStdString());
    const fw::Bytes binary = fw::ConvertForm(text, fw::FormEncoding::Binary);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("large.dfm"));
    fw::WriteFileAtomically(QFile::encodeName(path).toStdString(), binary);
    const QString warmUp = dir.filePath(QStringLiteral("small.dfm"));
    const std::string_view smallForm = "object Form1: TForm1\r\n  Caption = 'Warm-up'\r\nend\r\n";
    fw::WriteFileAtomically(QFile::encodeName(warmUp).toStdString(),
                            {reinterpret_cast<const std::uint8_t*>(smallForm.data()), smallForm.size()});

    std::printf("form: %s\n", qPrintable(QFileInfo(source).fileName()));
    std::printf("binary file: %zu bytes (text %zu bytes), %d runs\n", binary.size(), text.size(), runs);

    std::vector<double> codec, open;
    PrintingMessages messages(/*exitOnError=*/true);
    fw::preview::PreviewContext context;
    QMdiArea area;
    area.resize(1000, 700);
    area.show();
    for (int run = 0; run < runs; ++run) {
        {
            const auto start = Clock::now();
            fw::ByteViewStream input(binary);
            fw::MemoryStream output;
            fw::BinaryFormToText(input, output, fw::CodePage::Default());
            codec.push_back(Milliseconds(Clock::now() - start));
        }
        auto* document = new fw::DocumentWindow(messages, fw::CodePage::Default(), context);
        area.addSubWindow(document);
        document->show();
        QCoreApplication::processEvents();
        const auto start = Clock::now();
        document->OpenDocumentFile(path);
        QCoreApplication::processEvents();
        open.push_back(Milliseconds(Clock::now() - start));
        delete document;
        QCoreApplication::processEvents();
    }
    const auto fileSize = static_cast<double>(binary.size());
    const double codecMin = *std::min_element(codec.begin(), codec.end());
    const double openMin = *std::min_element(open.begin(), open.end());
    const double codecMedian = Median(codec), openMedian = Median(open);
    std::printf("                          median ms   best ms   MB/s (best)\n");
    std::printf("codec BinaryFormToText:  %9.2f %9.2f %9.1f\n", codecMedian, codecMin,
                fileSize / codecMin / 1000.0);
    std::printf("document open + events:  %9.2f %9.2f %9.1f\n", openMedian, openMin,
                fileSize / openMin / 1000.0);
    std::printf("time ratio open/codec:   %9.2f %9.2f   (bar: under 10)\n", openMedian / codecMedian,
                openMin / codecMin);

    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--memory"), path, warmUp});
    if (!child.waitForFinished(120000) || child.exitCode() != 0) {
        std::fprintf(stderr, "memory run failed: %s\n", child.readAllStandardError().constData());
        return 1;
    }
    long before = 0, after = 0;
    if (std::sscanf(child.readAllStandardOutput().constData(), "%ld %ld", &before, &after) != 2) return 1;
    const double grown = static_cast<double>(after - before) * 1024.0;
    std::printf("memory: %ld KB resident before the open, peak %ld KB after, grown %.1f MB\n", before, after,
                grown / 1e6);
    std::printf("memory ratio growth/file: %6.2f   (bar: under 10; text/file %.2f)\n", grown / fileSize,
                static_cast<double>(text.size()) / fileSize);
    return 0;
}
