#include "preview/pictures.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <functional>
#include <string_view>

namespace fw::preview {

namespace {

// The Qt image format name of a recognised picture format; empty for one Qt has no
// reader for (metafiles) or an unknown one.
QByteArray QtFormat(const std::string& format) {
    if (format == "bmp") return "BMP";
    if (format == "ico" || format == "cur") return "ICO";
    if (format == "png") return "PNG";
    if (format == "jpeg") return "JPEG";
    if (format == "gif") return "GIF";
    return {};
}

bool Fits(QSize size, long long maxPixels) {
    return size.isValid() && !size.isEmpty() &&
           static_cast<long long>(size.width()) * size.height() <= maxPixels;
}

// A reader over the picture's image file. The bytes are not copied: the reader lives
// no longer than the call that made it.
class PictureReader {
public:
    explicit PictureReader(const rt::GraphicData& graphic) {
        const QByteArray format = QtFormat(graphic.Format);
        const auto image = graphic.Image();
        if (format.isEmpty() || image.empty()) return;
        bytes_ = QByteArray::fromRawData(reinterpret_cast<const char*>(image.data()),
                                         static_cast<qsizetype>(image.size()));
        buffer_.setBuffer(&bytes_);
        buffer_.open(QIODevice::ReadOnly);
        reader_.setDevice(&buffer_);
        reader_.setFormat(format);
        valid_ = true;
    }
    bool Valid() const { return valid_; }
    QImageReader& Reader() { return reader_; }

private:
    QByteArray bytes_;
    QBuffer buffer_;
    QImageReader reader_;
    bool valid_ = false;
};

}  // namespace

QSize PictureSize(const rt::GraphicData& graphic) {
    PictureReader picture(graphic);
    return picture.Valid() ? picture.Reader().size() : QSize();
}

QImage DecodeGraphic(const rt::GraphicData& graphic, bool transparent, long long maxPixels) {
    PictureReader picture(graphic);
    if (!picture.Valid()) return {};
    QImageReader& reader = picture.Reader();
    const QSize size = reader.size();
    if (!Fits(size, maxPixels)) return {};
    // Qt fills an image handed to it in place when its size and format are those of the
    // file. Handing it a cleared one matters for run-length compressed bitmaps: their
    // data may stop early or skip pixels, and what they do not reach would otherwise be
    // whatever the allocator left in the buffer.
    QImage decoded;
    if (const QImage::Format format = reader.imageFormat(); format != QImage::Format_Invalid) {
        decoded = QImage(size, format);
        if (decoded.isNull()) return {};
        decoded.fill(0);
    }
    if (!reader.read(&decoded) || decoded.isNull()) return {};
    // The decoder's own size is checked too, should it differ from the header's (an
    // icon's image may claim another size than its directory entry; Qt's own allocation
    // limit bounds what such a reader takes meanwhile).
    if (!Fits(decoded.size(), maxPixels)) return {};
    if (!transparent || graphic.Format != "bmp") return decoded;
    decoded = decoded.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = decoded.pixel(0, decoded.height() - 1);
    for (int y = 0; y < decoded.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(decoded.scanLine(y));
        for (int x = 0; x < decoded.width(); ++x)
            if (line[x] == key) line[x] = qRgba(0, 0, 0, 0);
    }
    return decoded;
}

bool PictureBudget::Claim(QSize size) {
    if (!Fits(size, MaxPicturePixels)) return false;
    const long long pixels = static_cast<long long>(size.width()) * size.height();
    if (pixels > left_) return false;
    left_ -= pixels;
    return true;
}

QImage PictureCache::Decoded(const rt::GraphicData& graphic, bool transparent, long long maxPixels) {
    const std::string_view bytes(reinterpret_cast<const char*>(graphic.Bytes.data()), graphic.Bytes.size());
    const std::size_t hash = std::hash<std::string_view>{}(bytes);
    for (Entry& entry : entries_) {
        if (entry.Hash == hash && entry.Bytes.size() == graphic.Bytes.size() &&
            entry.Transparent == transparent && entry.MaxPixels == maxPixels &&
            entry.ClassName == graphic.ClassName && entry.Bytes == graphic.Bytes) {
            entry.Showing = showing_;
            return entry.Image;
        }
    }
    ++decodes_;
    QImage image = DecodeGraphic(graphic, transparent, maxPixels);
    entries_.push_back({hash, graphic.Bytes, graphic.ClassName, transparent, maxPixels, image, showing_});
    return image;
}

void PictureCache::NextShowing() {
    ++showing_;
    std::erase_if(entries_, [&](const Entry& entry) { return entry.Showing < showing_ - 1; });
}

}  // namespace fw::preview
