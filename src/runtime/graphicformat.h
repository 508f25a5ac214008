#pragma once
// Recognising the image inside a picture's stored data: which file format it is, where
// the file starts and how large the image is. Only headers are read; decoding pixels
// is the preview's business.

#include "object.h"

namespace fw::rt {

enum class GraphicCheck {
    Recognised,  // Format, ImageOffset, ImageLength, Width and Height are set
    Empty,       // no data, or a size prefix of 0: an empty graphic
    Unknown,     // no format this program knows; the bytes are kept as they are
};

// Looks at graphic.Bytes, which hold a graphic's data as its class writes it: either
// the image file itself or a 4-byte little-endian size followed by the file. Fills the
// format fields and the size when a BMP, ICO/CUR, PNG, JPEG, GIF, EMF or placeable WMF
// header is found; reads nothing outside Bytes.
GraphicCheck RecogniseGraphic(GraphicData& graphic);

}  // namespace fw::rt
