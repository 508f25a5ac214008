#pragma once
// Turning the pictures a form holds (bitmaps, icons, a picture's graphic) into images,
// within a budget of pixels. A picture's header may declare any size its few bytes
// like: a 76-byte compressed bitmap can claim 5790 x 5790 pixels, 128 MB once
// converted for drawing. The size is therefore read from the header and checked before
// anything is decoded or converted, and a preview decodes each picture only when it
// first comes on screen.

#include <QImage>
#include <QSize>
#include <cstdint>
#include <vector>

#include "runtime/object.h"

namespace fw::preview {

// The most pixels one picture may have: 4096 x 4096, 64 MB as 32-bit colour.
inline constexpr long long MaxPicturePixels = 4096LL * 4096;
// The most pixels the pictures of one preview may have together, 256 MB as 32-bit
// colour.
inline constexpr long long MaxPreviewPicturePixels = 4 * MaxPicturePixels;

// The size of the image in a picture's data as its header gives it, read without
// decoding; an invalid size when it is empty, in a format Qt cannot read, or the header
// gives none.
QSize PictureSize(const rt::GraphicData& graphic);

// The picture as an image; a null image when it is empty, in a format Qt cannot read,
// or its header gives a size of more than maxPixels pixels (checked before decoding). A
// bitmap whose bottom-left pixel marks its transparent colour is returned with that
// colour made transparent when transparent is true. Pixels that a compressed bitmap's
// data does not reach are left at the first palette colour rather than undefined.
QImage DecodeGraphic(const rt::GraphicData& graphic, bool transparent = false,
                     long long maxPixels = MaxPicturePixels);

// What the pictures of one preview may still take. Not shared between previews.
class PictureBudget {
public:
    explicit PictureBudget(long long pixels = MaxPreviewPicturePixels) : left_(pixels) {}
    // Takes a picture of this size from what is left and answers true, or answers false
    // and takes nothing when the picture alone is over MaxPicturePixels or more than is
    // left.
    bool Claim(QSize size);
    long long Left() const { return left_; }

private:
    long long left_;
};

// The pictures a preview has decoded, by their bytes, so that showing the same form
// again, or a build of the same text, does not decode the same picture again. An entry
// is found by the bytes' hash and size and then compared byte for byte: a changed
// picture is decoded anew. Owned by one preview; not shared between previews.
class PictureCache {
public:
    // The picture as DecodeGraphic gives it with these arguments, decoded once.
    QImage Decoded(const rt::GraphicData& graphic, bool transparent, long long maxPixels);
    // Starts a new showing: the pictures neither it nor the one before used are dropped.
    void NextShowing();
    // How many pictures were decoded rather than found.
    int Decodes() const { return decodes_; }
    std::size_t Size() const { return entries_.size(); }

private:
    struct Entry {
        std::size_t Hash = 0;
        std::vector<std::uint8_t> Bytes;
        std::string ClassName;
        bool Transparent = false;
        long long MaxPixels = 0;
        QImage Image;
        int Showing = 0;  // the last showing that used it
    };
    std::vector<Entry> entries_;
    int showing_ = 0;
    int decodes_ = 0;
};

}  // namespace fw::preview
