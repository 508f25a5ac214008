// Fuzzes the decoding of an image list's stored bitmap on arbitrary data: the 'IL'
// stream with its colour and mask bitmaps, a plain bitmap strip, either with its length
// written first. Nothing may crash, hang, leak or trip a sanitizer; what comes back
// keeps to the limits on count, image size and pixels, and every image can be drawn.

#include <QImage>
#include <QPainter>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "preview/imagelists.h"

namespace {

// Small enough that every input decodes quickly, large enough for real lists.
constexpr long long kBudget = 256LL * 256;

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    // The list's own cell size, taken from the last byte so that strips of odd sizes
    // are tried too.
    const int side = size > 0 ? data[size - 1] % 40 : 16;
    const std::vector<QImage> images = fw::preview::DecodeImageList(bytes, side, side, kBudget);
    Check(images.size() <= static_cast<std::size_t>(fw::preview::MaxListImages));
    long long pixels = 0;
    for (const QImage& image : images) {
        Check(!image.isNull() && image.format() == QImage::Format_ARGB32);
        Check(image.width() <= fw::preview::MaxListImageSide &&
              image.height() <= fw::preview::MaxListImageSide);
        pixels += static_cast<long long>(image.width()) * image.height();
    }
    Check(pixels <= kBudget);
    if (!images.empty()) {
        QImage canvas(64, 64, QImage::Format_ARGB32);
        QPainter painter(&canvas);
        fw::preview::DrawListImage(painter, QPoint(0, 0), images.front(), false);
    }
    return 0;
}
