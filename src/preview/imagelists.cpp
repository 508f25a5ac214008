#include "preview/imagelists.h"

#include <QPainter>
#include <algorithm>
#include <bit>

#include "base/byteview.h"
#include "runtime/registry.h"

namespace fw::preview {

namespace {

// The header the common controls write before an image list's bitmaps.
constexpr std::uint16_t ListMagic = 0x4C49;  // "IL"
constexpr std::size_t ListHeaderSize = 28;
constexpr std::uint16_t ListMasked = 0x0001;  // ILC_MASK: a mask bitmap follows the images

// A bitmap of the stream decoded to ARGB32, and where the next part of the stream starts.
struct Bitmap {
    QImage Image;
    bool HasAlpha = false;  // a 32-bit bitmap whose fourth byte (or alpha mask) is alpha
    int Bits = 0;
    std::uint64_t End = 0;
    // For a 1-bit bitmap, the palette index of each pixel is kept instead: 1 marks the
    // background of a mask.
    std::vector<std::uint8_t> Indices;
};

// A channel of a bit-field pixel, scaled to 0..255.
struct Channel {
    std::uint32_t Mask = 0;
    int Shift = 0;
    std::uint32_t Max = 0;
    explicit Channel(std::uint32_t mask) : Mask(mask) {
        if (mask == 0) return;
        Shift = std::countr_zero(mask);
        Max = mask >> Shift;
    }
    int Of(std::uint32_t pixel) const {
        if (Max == 0) return 0;
        return static_cast<int>((((pixel & Mask) >> Shift) * 255 + Max / 2) / Max);
    }
};

// Reads the bitmap file at offset: the file header, an information header of at least
// 40 bytes, the colour masks or palette, then the rows. The rows are taken to follow the
// palette directly, as the list's writer puts them; the file header's size field is not
// trusted (the writer leaves it at the header's size). Throws EOutsideImage for data that
// ends early; answers false for a bitmap of a kind not handled or over maxPixels.
bool ReadBitmap(const ByteView& v, std::uint64_t at, long long maxPixels, Bitmap& out) {
    if (v.U16(at) != 0x4D42) return false;  // "BM"
    const std::uint64_t info = at + 14;
    const std::uint32_t headerSize = v.U32(info);
    if (headerSize < 40 || headerSize > 1024) return false;
    const auto width = static_cast<std::int32_t>(v.U32(info + 4));
    const auto rawHeight = static_cast<std::int32_t>(v.U32(info + 8));
    const int bits = v.U16(info + 14);
    const std::uint32_t compression = v.U32(info + 16);
    const std::uint32_t colorsUsed = v.U32(info + 32);
    if (width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN) return false;
    const bool topDown = rawHeight < 0;
    const std::int64_t height = topDown ? -static_cast<std::int64_t>(rawHeight) : rawHeight;
    if (static_cast<long long>(width) * height > maxPixels) return false;

    std::uint64_t offset = info + headerSize;
    std::uint32_t masks[4] = {0, 0, 0, 0};
    if (compression == 3) {  // BI_BITFIELDS: red, green, blue (and alpha) masks
        if (bits != 16 && bits != 32) return false;
        const std::uint64_t maskAt = headerSize >= 52 ? info + 40 : offset;
        for (unsigned i = 0; i < 3; ++i)
            masks[i] = v.U32(maskAt + 4 * i);
        if (headerSize >= 56) masks[3] = v.U32(info + 52);
        if (headerSize < 52) offset += 12;
    } else if (compression != 0) {
        return false;  // run-length and embedded PNG/JPEG bitmaps are not written by lists
    } else if (bits == 16) {
        masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
    } else if (bits == 32) {
        masks[0] = 0x00FF0000, masks[1] = 0x0000FF00, masks[2] = 0x000000FF, masks[3] = 0xFF000000;
    }

    std::vector<QRgb> palette;
    if (bits == 1 || bits == 4 || bits == 8) {
        const std::uint32_t full = 1u << bits;
        const std::uint32_t entries = colorsUsed == 0 ? full : colorsUsed;
        if (entries > full) return false;
        const ByteSpan table = v.Slice(offset, std::uint64_t{entries} * 4);
        for (std::uint32_t i = 0; i < entries; ++i)
            palette.push_back(qRgb(table[i * 4 + 2], table[i * 4 + 1], table[i * 4]));
        palette.resize(full, qRgb(0, 0, 0));
        offset += std::uint64_t{entries} * 4;
    } else if (bits != 16 && bits != 24 && bits != 32) {
        return false;
    } else {
        // A colour table for displays with a palette may follow, unused here.
        offset += std::uint64_t{colorsUsed} * 4;
    }

    const std::uint64_t stride =
        ((static_cast<std::uint64_t>(width) * static_cast<unsigned>(bits) + 31) / 32) * 4;
    const ByteSpan rows = v.Slice(offset, stride * static_cast<std::uint64_t>(height));
    out.End = offset + rows.size();
    out.Bits = bits;
    out.HasAlpha = false;
    const int h = static_cast<int>(height);
    const auto w = static_cast<std::size_t>(width);
    if (bits == 1) out.Indices.assign(w * static_cast<std::size_t>(h), 0);
    out.Image = QImage(width, h, QImage::Format_ARGB32);
    if (out.Image.isNull()) return false;
    const Channel red(masks[0]), green(masks[1]), blue(masks[2]), alpha(masks[3]);
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* row = rows.data() + stride * static_cast<std::uint64_t>(topDown ? y : h - 1 - y);
        auto* line = reinterpret_cast<QRgb*>(out.Image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            switch (bits) {
                case 1: {
                    const unsigned index = (row[x / 8] >> (7 - x % 8)) & 1u;
                    out.Indices[static_cast<std::size_t>(y) * w + static_cast<std::size_t>(x)] =
                        static_cast<std::uint8_t>(index);
                    line[x] = palette[index];
                    break;
                }
                case 4:
                    line[x] = palette[(row[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F];
                    break;
                case 8:
                    line[x] = palette[row[x]];
                    break;
                case 24:
                    line[x] = qRgb(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
                    break;
                default: {
                    const std::uint32_t pixel =
                        bits == 16 ? std::uint32_t{LoadLe16(row + x * 2)} : LoadLe32(row + x * 4);
                    const int a = masks[3] ? alpha.Of(pixel) : 255;
                    if (masks[3] && a != 0) out.HasAlpha = true;
                    line[x] = qRgba(red.Of(pixel), green.Of(pixel), blue.Of(pixel), a);
                }
            }
        }
    }
    return true;
}

// Cuts count cells of cx by cy from a grid laid out row by row.
std::vector<QImage> Cut(const QImage& grid, int cx, int cy, int count) {
    const int columns = grid.width() / cx;
    std::vector<QImage> images;
    images.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        images.push_back(grid.copy((i % columns) * cx, (i / columns) * cy, cx, cy));
    return images;
}

bool GridHolds(const QImage& grid, int cx, int cy, int count) {
    const long long cells = static_cast<long long>(grid.width() / cx) * (grid.height() / cy);
    return cells >= count;
}

std::vector<QImage> ReadList(const ByteView& v, long long maxPixels) {
    if (v.U16(2) < 0x0101) return {};  // versions before the common controls 4.71 stream
    const int count = v.U16(4);
    const int cx = v.U16(10);
    const int cy = v.U16(12);
    const std::uint16_t flags = v.U16(18);
    if (count > MaxListImages || cx < 1 || cy < 1 || cx > MaxListImageSide || cy > MaxListImageSide)
        return {};
    if (count == 0) return {};
    if (static_cast<long long>(count) * cx * cy > maxPixels) return {};

    Bitmap colours;
    if (!ReadBitmap(v, ListHeaderSize, maxPixels, colours) || !GridHolds(colours.Image, cx, cy, count))
        return {};
    const QImage& grid = colours.Image;
    const bool masked = (flags & ListMasked) != 0;
    Bitmap mask;
    if (masked) {
        if (!ReadBitmap(v, colours.End, maxPixels, mask) || mask.Bits != 1 ||
            !GridHolds(mask.Image, cx, cy, count))
            return {};
    }

    std::vector<QImage> images = Cut(grid, cx, cy, count);
    const int maskColumns = masked ? mask.Image.width() / cx : 0;
    for (int i = 0; i < count; ++i) {
        QImage& image = images[static_cast<std::size_t>(i)];
        // A 32-bit image with any alpha keeps its alpha, as the list draws it; the
        // others are opaque where the mask is clear and transparent where it is set.
        bool ownAlpha = false;
        if (colours.HasAlpha) {
            for (int y = 0; y < cy && !ownAlpha; ++y) {
                const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
                for (int x = 0; x < cx; ++x)
                    if (qAlpha(line[x]) != 0) {
                        ownAlpha = true;
                        break;
                    }
            }
        }
        if (ownAlpha) continue;
        const int mx = masked ? (i % maskColumns) * cx : 0;
        const int my = masked ? (i / maskColumns) * cy : 0;
        for (int y = 0; y < cy; ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < cx; ++x) {
                const bool background =
                    masked && mask.Indices[static_cast<std::size_t>(my + y) *
                                               static_cast<std::size_t>(mask.Image.width()) +
                                           static_cast<std::size_t>(mx + x)] != 0;
                line[x] = background ? qRgba(0, 0, 0, 0) : (line[x] | 0xFF000000u);
            }
        }
    }
    return images;
}

// A plain bitmap strip: images of the list's size side by side, opaque.
std::vector<QImage> ReadStrip(const ByteView& v, int width, int height, long long maxPixels) {
    if (width < 1 || height < 1 || width > MaxListImageSide || height > MaxListImageSide) return {};
    Bitmap strip;
    if (!ReadBitmap(v, 0, maxPixels, strip)) return {};
    const long long cells =
        static_cast<long long>(strip.Image.width() / width) * (strip.Image.height() / height);
    if (cells < 1 || cells > MaxListImages) return {};
    std::vector<QImage> images = Cut(strip.Image, width, height, static_cast<int>(cells));
    for (QImage& image : images)
        if (!strip.HasAlpha)
            for (int y = 0; y < height; ++y) {
                auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
                for (int x = 0; x < width; ++x)
                    line[x] |= 0xFF000000u;
            }
    return images;
}

}  // namespace

std::vector<QImage> DecodeImageList(std::span<const std::uint8_t> bytes, int width, int height,
                                    long long maxPixels) {
    try {
        ByteView v(bytes);
        // The stream may come with its length written before it.
        if (v.Contains(0, 6) && v.U32(0) == v.Size() - 4 && (v.U16(4) == ListMagic || v.U16(4) == 0x4D42))
            v = v.From(4);
        if (!v.Contains(0, 2)) return {};
        if (v.U16(0) == ListMagic) {
            if (!v.Contains(0, ListHeaderSize)) return {};
            return ReadList(v, maxPixels);
        }
        if (v.U16(0) == 0x4D42) return ReadStrip(v, width, height, maxPixels);
    } catch (const EOutsideImage&) {
    }
    return {};
}

void DrawListImage(QPainter& painter, QPoint at, const QImage& image, bool enabled) {
    if (image.isNull()) return;
    if (enabled) {
        painter.drawImage(at, image);
        return;
    }
    QImage grey = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < grey.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            // Lightened grey at half the opacity.
            const int g = 128 + qGray(line[x]) / 2;
            line[x] = qRgba(g, g, g, qAlpha(line[x]) / 2);
        }
    }
    painter.drawImage(at, grey);
}

const std::vector<QImage>& ImageListCache::ImagesOf(const rt::Object& imageList, PictureBudget& budget) {
    const auto found = lists_.find(&imageList);
    if (found != lists_.end()) return found->second;
    std::vector<QImage> images;
    const rt::StoredBlock* bitmap = nullptr;
    for (const auto& [name, block] : imageList.StoredBlocks())
        if (rt::EqualsIgnoringCase(name, "Bitmap")) bitmap = &block;
    if (imageList.InheritsFrom("TCustomImageList") && bitmap) {
        // The cell size cuts a plain strip; lists the runtime reads publish it.
        auto side = [&](std::string_view name) {
            const rt::Property* p = imageList.FindProperty(name);
            return static_cast<int>(
                std::clamp<std::int64_t>(p ? imageList.Ordinal(*p) : 16, 0, MaxListImageSide));
        };
        const int width = side("Width"), height = side("Height");
        images = DecodeImageList(bitmap->Bytes, width, height, budget.Left());
        long long pixels = 0;
        for (const QImage& image : images)
            pixels += static_cast<long long>(image.width()) * image.height();
        // The list's images count against the build's budget as one picture of their
        // total size.
        if (!images.empty() &&
            !budget.Claim(QSize(1, static_cast<int>(std::min<long long>(pixels, INT_MAX)))))
            images.clear();
    }
    return lists_.emplace(&imageList, std::move(images)).first->second;
}

const QImage* ImageListCache::ImageOf(const rt::Object* imageList, int index, PictureBudget& budget) {
    if (!imageList || index < 0) return nullptr;
    const std::vector<QImage>& images = ImagesOf(*imageList, budget);
    if (index >= static_cast<int>(images.size())) return nullptr;
    return &images[static_cast<std::size_t>(index)];
}

}  // namespace fw::preview
