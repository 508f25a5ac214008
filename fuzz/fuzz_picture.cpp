// Fuzzes the preview's picture decoding on arbitrary picture data: the data is
// recognised as a graphic class writes it (a file, or a 4-byte size and a file), its
// size read from the header, and it is decoded, with and without the transparent
// colour, within a small budget of pixels. Nothing may crash, hang, leak or trip a
// sanitizer, and no image larger than the budget may come back: the size check runs
// before anything is decoded.

#include <QCoreApplication>
#include <QImage>
#include <QImageReader>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "preview/pictures.h"
#include "runtime/graphicformat.h"

namespace {

// Small enough that every input decodes quickly, large enough for real icons and glyphs.
constexpr long long kBudget = 256LL * 256;

QCoreApplication* application = nullptr;

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // The JPEG and GIF readers are plugins, found through the application.
    application = new QCoreApplication(*argc, *argv);
    // A reader that allocates by a size of its own (an icon's image) is held to what a
    // fuzzing run can afford; the preview relies on Qt's default limit there.
    QImageReader::setAllocationLimit(16);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fw::rt::GraphicData graphic;
    graphic.ClassName = "TBitmap";
    graphic.Bytes.assign(data, data + size);
    if (fw::rt::RecogniseGraphic(graphic) != fw::rt::GraphicCheck::Recognised) return 0;
    Check(graphic.ImageOffset + graphic.ImageLength <= graphic.Bytes.size());
    fw::preview::PictureSize(graphic);
    for (const bool transparent : {false, true}) {
        const QImage image = fw::preview::DecodeGraphic(graphic, transparent, kBudget);
        if (image.isNull()) continue;
        Check(static_cast<long long>(image.width()) * image.height() <= kBudget);
        // Every pixel is readable.
        long long sum = 0;
        for (int y = 0; y < image.height(); ++y)
            sum += image.constScanLine(y)[0];
        Check(sum >= 0);
    }
    fw::preview::PictureBudget budget(kBudget);
    budget.Claim(fw::preview::PictureSize(graphic));
    Check(budget.Left() >= 0);
    return 0;
}
