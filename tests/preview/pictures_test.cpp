// Pictures within a budget: a picture's size is read from its header and checked before
// it is decoded or converted; a compressed bitmap that stops early leaves no undefined
// pixels; the image controls of one preview share a budget; a form asking for a huge
// window is cut to the largest screen.

#include <gtest/gtest.h>

#include <QImage>
#include <string>
#include <vector>

#include "picturefixtures.h"
#include "preview/formwindow.h"
#include "preview/pictures.h"
#include "preview/previewcontext.h"
#include "preview/virtualdesktop.h"
#include "previewtestsupport.h"
#include "runtime/graphicformat.h"

namespace fw::preview {
namespace {

using test::ByteVector;
using test::PutLE;

// An 8-bit run-length compressed bitmap of width x height with a two-colour palette
// (black, white) and the given compressed data.
ByteVector MakeRle8(int width, int height, const ByteVector& data) {
    ByteVector out{'B', 'M'};
    const std::uint32_t offset = 14 + 40 + 8;
    PutLE(out, offset + static_cast<std::uint32_t>(data.size()), 4);
    PutLE(out, 0, 4);
    PutLE(out, offset, 4);
    PutLE(out, 40, 4);
    PutLE(out, static_cast<std::uint32_t>(width), 4);
    PutLE(out, static_cast<std::uint32_t>(height), 4);
    PutLE(out, 1, 2);
    PutLE(out, 8, 2);
    PutLE(out, 1, 4);  // BI_RLE8
    PutLE(out, static_cast<std::uint32_t>(data.size()), 4);
    PutLE(out, 2835, 4);
    PutLE(out, 2835, 4);
    PutLE(out, 2, 4);
    PutLE(out, 0, 4);
    for (const std::uint32_t colour : {0x000000u, 0xFFFFFFu})
        PutLE(out, colour, 4);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

void PutBE(ByteVector& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

// A PNG chunk: length, type, data and the CRC-32 over type and data.
void PutChunk(ByteVector& out, const char* type, const ByteVector& data) {
    PutBE(out, static_cast<std::uint32_t>(data.size()));
    ByteVector chunk(type, type + 4);
    chunk.insert(chunk.end(), data.begin(), data.end());
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const std::uint8_t byte : chunk) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    out.insert(out.end(), chunk.begin(), chunk.end());
    PutBE(out, ~crc);
}

// A PNG file with a header and an empty image data chunk: a size, nothing to decode.
ByteVector PngHeader(std::uint32_t width, std::uint32_t height) {
    ByteVector out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    ByteVector header;
    PutBE(header, width);
    PutBE(header, height);
    header.insert(header.end(), {8, 6, 0, 0, 0});
    PutChunk(out, "IHDR", header);
    PutChunk(out, "IDAT", {});
    return out;
}

rt::GraphicData Graphic(const ByteVector& file) {
    rt::GraphicData graphic;
    graphic.ClassName = "TBitmap";
    graphic.Bytes = test::WithSize(file);
    rt::RecogniseGraphic(graphic);
    return graphic;
}

TEST(Pictures, DeclaredSizeIsCheckedBeforeDecoding) {
    struct Case {
        const char* Name;
        ByteVector File;
        bool Transparent;
        QSize Declared;
        QSize Decoded;  // invalid for none
    };
    const Case cases[] = {
        {"a small bitmap", test::MakeBmp(16, 8), false, {16, 8}, {16, 8}},
        {"a small bitmap, transparent", test::MakeBmp(16, 8), true, {16, 8}, {16, 8}},
        // 76 bytes in a form, 5790 x 5790 pixels declared: 128 MB once converted.
        {"a tiny compressed bitmap of a huge size", MakeRle8(5790, 5790, {0, 1}), false, {5790, 5790}, {}},
        {"the same, transparent", MakeRle8(5790, 5790, {0, 1}), true, {5790, 5790}, {}},
        {"a PNG header of a huge size", PngHeader(30000, 30000), false, {30000, 30000}, {}},
        {"just within the limit", MakeRle8(4096, 4096, {0, 1}), false, {4096, 4096}, {4096, 4096}},
        {"just past it", MakeRle8(4097, 4096, {0, 1}), false, {4097, 4096}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const rt::GraphicData graphic = Graphic(c.File);
        EXPECT_EQ(PictureSize(graphic), c.Declared);
        const QImage image = DecodeGraphic(graphic, c.Transparent);
        EXPECT_EQ(image.isNull() ? QSize() : image.size(), c.Decoded);
    }
    // A lower limit of the caller's.
    EXPECT_TRUE(DecodeGraphic(Graphic(test::MakeBmp(16, 8)), false, 16 * 8 - 1).isNull());
}

// A compressed bitmap whose data ends early: Qt decodes into the buffer it is given and
// stops, and the pixels it did not reach were whatever the allocator left there.
TEST(Pictures, ShortCompressedBitmapLeavesNoUndefinedPixels) {
    // Four white pixels at the start of the bottom row, then the data ends.
    const rt::GraphicData graphic = Graphic(MakeRle8(64, 64, {4, 1}));
    for (int attempt = 0; attempt < 3; ++attempt) {
        {
            // A freed buffer of the same size, full of a pattern, for the decoder's
            // allocation to pick up.
            QImage dirty(64, 64, QImage::Format_Indexed8);
            dirty.fill(0xAB);
        }
        const QImage image = DecodeGraphic(graphic);
        ASSERT_EQ(image.size(), QSize(64, 64));
        ASSERT_EQ(image.format(), QImage::Format_Indexed8);
        int white = 0, other = 0;
        for (int y = 0; y < 64; ++y) {
            const uchar* line = image.constScanLine(y);
            for (int x = 0; x < 64; ++x) {
                if (line[x] == 1)
                    ++white;
                else if (line[x] != 0)
                    ++other;
            }
        }
        EXPECT_EQ(white, 4);
        EXPECT_EQ(other, 0) << "pixels outside the palette: the buffer was not cleared";
    }
}

TEST(PictureBudget, TakesPicturesUntilItIsSpent) {
    PictureBudget budget(1000);
    struct Claim {
        QSize Size;
        bool Taken;
        long long Left;
    };
    const Claim claims[] = {
        {{20, 20}, true, 600},  {{30, 30}, false, 600}, {{0, 10}, false, 600},
        {{-5, 10}, false, 600}, {{20, 30}, true, 0},    {{1, 1}, false, 0},
    };
    for (const Claim& c : claims) {
        EXPECT_EQ(budget.Claim(c.Size), c.Taken) << c.Size.width() << " x " << c.Size.height();
        EXPECT_EQ(budget.Left(), c.Left);
    }
    // One picture alone may not pass the per-picture limit, whatever is left.
    PictureBudget large(MaxPicturePixels * 10);
    EXPECT_FALSE(large.Claim(QSize(4097, 4096)));
    EXPECT_TRUE(large.Claim(QSize(4096, 4096)));
}

std::string ImageControl(int index, const ByteVector& file) {
    const std::string name = "Image" + std::to_string(index);
    return "object " + name + ": TImage\n  Left = " + std::to_string(index * 8) +
           "\n  Top = 8\n  Width = 100\n  Height = 100\n  Transparent = True\n" +
           test::HexProperty("  ", "Picture.Data", test::PictureData("TBitmap", test::WithSize(file))) +
           "end\n";
}

// Twenty 76-byte pictures each declaring 5790 x 5790 pixels took 2.7 GB; pictures that
// pass the limit alone still share one budget per preview.
TEST(Pictures, ImageControlsShareTheirPreviewsBudget) {
    const ByteVector huge = MakeRle8(5790, 5790, {0, 1});
    const ByteVector large = MakeRle8(4096, 4096, {0, 1});
    const ByteVector small = test::MakeBmp(16, 8);
    std::string controls = ImageControl(0, huge) + ImageControl(1, small);
    for (int i = 2; i < 8; ++i)
        controls += ImageControl(i, large);
    test::RealizedForm f("object Form1: TForm1\n  ClientWidth = 640\n  ClientHeight = 480\n" + controls +
                         "end\n");
    const std::vector<std::string> expected = {
        "WARN=Preview: the picture of Image0 (5790 x 5790 pixels) is not shown: it is larger than the "
        "preview "
        "decodes",
        // Image1's small bitmap and Image2 to Image4 fit; the rest do not.
        "WARN=Preview: the picture of Image5 (4096 x 4096 pixels) is not shown: it is larger than the "
        "preview "
        "decodes",
        "WARN=Preview: the picture of Image6 (4096 x 4096 pixels) is not shown: it is larger than the "
        "preview "
        "decodes",
        "WARN=Preview: the picture of Image7 (4096 x 4096 pixels) is not shown: it is larger than the "
        "preview "
        "decodes",
    };
    EXPECT_EQ(f.Realizer->Messages(), expected);
    // The small one is still drawn (its red, bottom-left colour made transparent).
    const QImage look = f.Look("Image1");
    EXPECT_EQ(look.pixelColor(0, 0), QColor(Qt::white));
    EXPECT_EQ(look.pixelColor(12, 0), QColor(0, 255, 0));
}

TEST(FormWindow, AHugeFormIsCutToTheLargestScreen) {
    struct Case {
        const char* Size;
        QSize Window;
        const char* Message;  // "" for none
    };
    const Case cases[] = {
        {"ClientWidth = 400\nClientHeight = 300\n", {416, 339}, ""},
        {"ClientWidth = 40000\nClientHeight = 40000\n",
         {MaxWindowSide, MaxWindowSide},
         "WARN=Preview: the form is 40016 x 40039 pixels; the preview shows 16384 x 16384 of it"},
        {"ClientWidth = 20000\nClientHeight = 300\n",
         {MaxWindowSide, 339},
         "WARN=Preview: the form is 20016 x 339 pixels; the preview shows 16384 x 339 of it"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Size);
        PreviewContext context;
        VirtualDesktop desktop(context);
        desktop.BuildPreview(std::string("object Form1: TForm1\n") + c.Size + "end\n", CodePage::Default());
        ASSERT_NE(desktop.Window(), nullptr);
        EXPECT_EQ(desktop.Window()->size(), c.Window);
        const std::vector<std::string> expected =
            *c.Message ? std::vector<std::string>{c.Message} : std::vector<std::string>{};
        EXPECT_EQ(desktop.PreviewMessages(), expected);
    }
}

}  // namespace
}  // namespace fw::preview

namespace fw::preview {
namespace {

// A preview decodes a picture once for as long as its builds show it: a build of the
// same text, or the form shown again after an edit, finds it decoded; a picture whose
// bytes changed, even keeping their size, is decoded anew.
TEST(PictureCache, ThePreviewDecodesEachPictureOnce) {
    const ByteVector stripes = test::MakeBmp(16, 8);
    ByteVector changed = stripes;
    changed.back() = 255;  // the top-right pixel's red: green becomes yellow
    const auto form = [](const ByteVector& file) {
        return "object Form1: TForm1\n  ClientWidth = 200\n  ClientHeight = 150\n" + ImageControl(0, file) +
               "end\n";
    };
    PreviewContext context;
    VirtualDesktop desktop(context);
    const auto shown = [&](const std::string& text) {
        desktop.BuildPreview(text, CodePage::Default());
        return desktop.FormClientImage();
    };
    const QImage first = shown(form(stripes));
    EXPECT_EQ(desktop.DecodedPictures().Decodes(), 1);
    EXPECT_EQ(shown(form(stripes)), first);
    EXPECT_TRUE(desktop.ApplyPropertyUpdates({{"Image0", "Left", "4"}}, CodePage::Default()));
    (void)desktop.FormClientImage();
    EXPECT_EQ(desktop.DecodedPictures().Decodes(), 1);

    const QImage second = shown(form(changed));
    EXPECT_EQ(desktop.DecodedPictures().Decodes(), 2);
    EXPECT_NE(second, first);
    PreviewContext otherContext;
    VirtualDesktop fresh(otherContext);
    fresh.BuildPreview(form(changed), CodePage::Default());
    EXPECT_EQ(second, fresh.FormClientImage());

    // Pictures no build shows any more are let go.
    shown("object Form1: TForm1\nend\n");
    shown("object Form1: TForm1\nend\n");
    EXPECT_EQ(desktop.DecodedPictures().Size(), 0u);
}

}  // namespace
}  // namespace fw::preview
