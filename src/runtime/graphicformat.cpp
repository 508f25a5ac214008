#include "graphicformat.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "base/byteview.h"

namespace fw::rt {

namespace {

// A bounded view over the candidate image: every read checks the length first.
struct View {
    const std::uint8_t* Data;
    std::size_t Size;

    bool Has(std::size_t offset, std::size_t n) const { return offset <= Size && n <= Size - offset; }
    std::uint32_t U16(std::size_t at) const { return LoadLe16(Data + at); }
    std::uint32_t U32(std::size_t at) const { return LoadLe32(Data + at); }
    std::int32_t I32(std::size_t at) const { return static_cast<std::int32_t>(U32(at)); }
    std::int16_t I16(std::size_t at) const { return static_cast<std::int16_t>(U16(at)); }
    std::uint32_t U16BE(std::size_t at) const { return LoadBe16(Data + at); }
    std::uint32_t U32BE(std::size_t at) const { return LoadBe32(Data + at); }
    bool Starts(const char* signature, std::size_t n) const {
        return Has(0, n) && std::memcmp(Data, signature, n) == 0;
    }
};

struct Found {
    const char* Format = nullptr;
    long long Width = 0;
    long long Height = 0;
};

// Sizes beyond this are taken for a damaged header rather than a real image.
constexpr long long MaxDimension = 1 << 20;

bool Plausible(const Found& f) {
    return f.Width > 0 && f.Height > 0 && f.Width <= MaxDimension && f.Height <= MaxDimension;
}

bool Bmp(const View& v, Found& f) {
    if (!v.Starts("BM", 2) || !v.Has(14, 4)) return false;
    const std::uint32_t headerSize = v.U32(14);
    if (headerSize == 12) {  // the old OS/2 core header: 16-bit sizes
        if (!v.Has(18, 4)) return false;
        f = {"bmp", v.U16(18), v.U16(20)};
    } else if (headerSize >= 16) {
        if (!v.Has(18, 8)) return false;
        // A negative height marks a top-down bitmap.
        f = {"bmp", v.I32(18), std::llabs(static_cast<long long>(v.I32(22)))};
    } else {
        return false;
    }
    return Plausible(f);
}

bool Ico(const View& v, Found& f) {
    if (!v.Has(0, 6) || v.U16(0) != 0) return false;
    const std::uint32_t type = v.U16(2);
    const std::uint32_t count = v.U16(4);
    if ((type != 1 && type != 2) || count == 0 || !v.Has(6, 16 * std::size_t{count})) return false;
    // The first image stands for the icon; a size byte of 0 means 256.
    f = {type == 1 ? "ico" : "cur", v.Data[6] ? v.Data[6] : 256, v.Data[7] ? v.Data[7] : 256};
    return true;
}

bool Png(const View& v, Found& f) {
    if (!v.Starts("\x89PNG\r\n\x1a\n", 8) || !v.Has(12, 12) || std::memcmp(v.Data + 12, "IHDR", 4) != 0)
        return false;
    f = {"png", v.U32BE(16), v.U32BE(20)};
    return Plausible(f);
}

bool Jpeg(const View& v, Found& f) {
    if (!v.Has(0, 3) || v.Data[0] != 0xFF || v.Data[1] != 0xD8 || v.Data[2] != 0xFF) return false;
    std::size_t at = 2;
    // Walks the marker segments up to the first frame header, which holds the size.
    while (v.Has(at, 4)) {
        if (v.Data[at] != 0xFF) return false;
        const std::uint8_t marker = v.Data[at + 1];
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        if (marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            at += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA) return false;  // end or scan before any frame
        const std::uint32_t length = v.U16BE(at + 2);
        if (length < 2) return false;
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (!v.Has(at + 5, 4)) return false;
            f = {"jpeg", v.U16BE(at + 7), v.U16BE(at + 5)};
            return Plausible(f);
        }
        at += 2 + std::size_t{length};
    }
    return false;
}

bool Gif(const View& v, Found& f) {
    if (!(v.Starts("GIF87a", 6) || v.Starts("GIF89a", 6)) || !v.Has(6, 4)) return false;
    f = {"gif", v.U16(6), v.U16(8)};
    return Plausible(f);
}

bool Emf(const View& v, Found& f) {
    if (!v.Has(0, 44) || v.U32(0) != 1 || std::memcmp(v.Data + 40, " EMF", 4) != 0) return false;
    // The bounds are inclusive device units.
    f = {"emf", static_cast<long long>(v.I32(16)) - v.I32(8) + 1,
         static_cast<long long>(v.I32(20)) - v.I32(12) + 1};
    if (!Plausible(f)) f.Width = f.Height = 0;
    return true;
}

bool Wmf(const View& v, Found& f) {
    if (!v.Has(0, 16) || v.U32(0) != 0x9AC6CDD7u) return false;
    // The bounding box is in units of which 'inch' make an inch; shown at 96 per inch.
    const long long inch = v.U16(14);
    f = {"wmf", 0, 0};
    if (inch > 0) {
        f.Width = (static_cast<long long>(v.I16(10)) - v.I16(6)) * 96 / inch;
        f.Height = (static_cast<long long>(v.I16(12)) - v.I16(8)) * 96 / inch;
    }
    if (!Plausible(f)) f.Width = f.Height = 0;
    return true;
}

bool Identify(const View& v, Found& f) {
    return Bmp(v, f) || Ico(v, f) || Png(v, f) || Jpeg(v, f) || Gif(v, f) || Emf(v, f) || Wmf(v, f);
}

}  // namespace

GraphicCheck RecogniseGraphic(GraphicData& graphic) {
    graphic.Format.clear();
    graphic.ImageOffset = graphic.ImageLength = 0;
    graphic.Width = graphic.Height = 0;
    const View all{graphic.Bytes.data(), graphic.Bytes.size()};
    if (all.Size == 0) return GraphicCheck::Empty;

    auto take = [&](std::size_t offset, std::size_t length, const Found& f) {
        graphic.Format = f.Format;
        graphic.ImageOffset = offset;
        graphic.ImageLength = length;
        graphic.Width = static_cast<int>(f.Width);
        graphic.Height = static_cast<int>(f.Height);
        return GraphicCheck::Recognised;
    };

    Found f;
    // Bitmaps, JPEG images and others write the file's size first.
    if (all.Has(0, 4)) {
        const std::uint32_t size = all.U32(0);
        if (size <= all.Size - 4) {
            if (size == 0) return GraphicCheck::Empty;
            if (Identify(View{all.Data + 4, size}, f)) return take(4, size, f);
        }
    }
    if (Identify(all, f)) return take(0, all.Size, f);
    return GraphicCheck::Unknown;
}

}  // namespace fw::rt
