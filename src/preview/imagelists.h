#pragma once
// The pictures of an image list, as the list writes them into a form: its Bitmap value
// holds the stream the common controls write for an image list — a 28-byte 'IL' header
// (count, cell size, flags) followed by one bitmap with the images in a grid of cells,
// and a 1-bit mask bitmap of the same grid when the list is masked. Old forms may hold a
// plain bitmap strip instead. The bytes come from the form, so every size and offset is
// checked against them and against fixed limits before anything is allocated; bad data
// gives no images, never an exception or a read outside the bytes.
//
// A preview decodes each list once, however many controls show its images: the
// realiser keeps an ImageListCache for the build and the factories ask it through
// RealizeContext::ImageOf.

#include <QImage>
#include <QPoint>
#include <cstdint>
#include <map>
#include <span>
#include <vector>

#include "preview/pictures.h"
#include "runtime/object.h"

class QPainter;

namespace fw::preview {

// The most images one list may hold and the largest side of one image.
inline constexpr int MaxListImages = 4096;
inline constexpr int MaxListImageSide = 256;

// The images of a list's Bitmap value, each as ARGB32: the mask makes the background
// transparent, 32-bit images with an alpha channel keep it. width and height are the
// list's Width and Height, used to cut a plain bitmap strip into images (the 'IL'
// stream gives its own cell size). Empty for data that is damaged, of an unknown form,
// over the limits above or whose images together have more than maxPixels pixels.
std::vector<QImage> DecodeImageList(std::span<const std::uint8_t> bytes, int width, int height,
                                    long long maxPixels = MaxPicturePixels);

// Draws an image of a list with its top-left corner at at. A disabled control's image
// is drawn as the list draws it for one: in grey and faded.
void DrawListImage(QPainter& painter, QPoint at, const QImage& image, bool enabled);

// The images of one preview build's image lists, each list decoded the first time one
// of its images is asked for. The images count against the build's picture budget; a
// list that does not fit shows no images.
class ImageListCache {
public:
    // The image at index of the list, or nullptr when the object is no image list, has
    // no image there or its images could not be decoded. The pointer stays valid for the
    // cache's life.
    const QImage* ImageOf(const rt::Object* imageList, int index, PictureBudget& budget);
    // Every image of the list (empty for none), decoded on first use.
    const std::vector<QImage>& ImagesOf(const rt::Object& imageList, PictureBudget& budget);

private:
    std::map<const rt::Object*, std::vector<QImage>> lists_;
};

}  // namespace fw::preview
