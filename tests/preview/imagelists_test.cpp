// Image lists: the stream a list writes as its Bitmap value decoded into images, made
// from hand-built bytes and from the lists of the real forms.

#include <gtest/gtest.h>

#include <QImage>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/stream.h"
#include "preview/imagelists.h"
#include "preview/pictures.h"
#include "preview/vcllook.h"
#include "previewtestsupport.h"
#include "runtime/registry.h"

namespace {

namespace fs = std::filesystem;
using fw::preview::DecodeImageList;
using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& b, unsigned v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(Bytes& b, std::uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

// A bottom-up bitmap file as a list writes it (the file size field left at 54) with
// pixel(x, y) giving 0x00RRGGBB for 24 bits, 0xAARRGGBB for 32 and the palette index
// for 1 and 4 bits.
Bytes Bmp(int width, int height, int bits, const std::function<std::uint32_t(int, int)>& pixel,
          const std::vector<std::uint32_t>& palette = {}) {
    Bytes b{'B', 'M'};
    Put32(b, 54);
    Put32(b, 0);
    Put32(b, 54 + static_cast<std::uint32_t>(palette.size()) * 4);
    Put32(b, 40);
    Put32(b, static_cast<std::uint32_t>(width));
    Put32(b, static_cast<std::uint32_t>(height));
    Put16(b, 1);
    Put16(b, static_cast<unsigned>(bits));
    Put32(b, 0);
    for (int i = 0; i < 3; ++i)
        Put32(b, 0);
    Put32(b, static_cast<std::uint32_t>(palette.size()));
    Put32(b, 0);
    for (std::uint32_t c : palette)
        Put32(b, c);
    const int stride = (width * bits + 31) / 32 * 4;
    for (int y = height - 1; y >= 0; --y) {
        Bytes row(static_cast<std::size_t>(stride), 0);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = pixel(x, y);
            switch (bits) {
                case 1:
                    row[x / 8] |= static_cast<std::uint8_t>((p & 1) << (7 - x % 8));
                    break;
                case 4:
                    row[x / 2] |= static_cast<std::uint8_t>((p & 15) << (x % 2 ? 0 : 4));
                    break;
                case 24:
                case 32:
                    for (int k = 0; k < bits / 8; ++k)
                        row[x * (bits / 8) + k] = static_cast<std::uint8_t>(p >> (8 * k));
                    break;
            }
        }
        b.insert(b.end(), row.begin(), row.end());
    }
    return b;
}

// The 'IL' header the common controls write.
Bytes ListHeader(int count, int cx, int cy, unsigned flags) {
    Bytes b;
    Put16(b, 0x4C49);
    Put16(b, 0x0101);
    Put16(b, static_cast<unsigned>(count));
    Put16(b, static_cast<unsigned>(count + 1));
    Put16(b, 4);
    Put16(b, static_cast<unsigned>(cx));
    Put16(b, static_cast<unsigned>(cy));
    Put32(b, 0xFFFFFFFF);
    Put16(b, flags);
    for (int i = 0; i < 4; ++i)
        Put16(b, 0xFFFF);
    return b;
}

Bytes Join(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Five 3 x 2 images in a grid of four columns: image i is filled with colour 0x10 * (i + 1)
// in red; the mask marks its left column as background.
constexpr int Cx = 3, Cy = 2, Count = 5;
std::uint32_t CellColor(int x, int y) {
    const int index = (y / Cy) * 4 + x / Cx;
    return static_cast<std::uint32_t>(0x10 * (index + 1)) << 16;
}
Bytes MaskOfLeftColumns() {
    return Bmp(4 * Cx, 2 * Cy, 1, [](int x, int) { return x % Cx == 0 ? 1u : 0u; }, {0x000000, 0xFFFFFF});
}

Bytes MaskedList24() {
    return Join(Join(ListHeader(Count, Cx, Cy, 0x0019), Bmp(4 * Cx, 2 * Cy, 24, CellColor)),
                MaskOfLeftColumns());
}

TEST(ImageListDecode, MaskedColourImagesInAGrid) {
    struct Case {
        const char* Name;
        Bytes Data;
        bool AlphaFromImage;  // the 32-bit images' own alpha is used, not the mask
    };
    Bytes prefixed;
    Put32(prefixed, static_cast<std::uint32_t>(MaskedList24().size()));
    prefixed = Join(prefixed, MaskedList24());
    // 32-bit images whose alpha is 0x80 everywhere: the mask is not applied.
    const Bytes withAlpha =
        Join(Join(ListHeader(Count, Cx, Cy, 0x0021),
                  Bmp(4 * Cx, 2 * Cy, 32, [](int x, int y) { return CellColor(x, y) | 0x80000000u; })),
             MaskOfLeftColumns());
    // 32-bit images with no alpha at all: the mask says what is background.
    const Bytes noAlpha = Join(Join(ListHeader(Count, Cx, Cy, 0x0021), Bmp(4 * Cx, 2 * Cy, 32, CellColor)),
                               MaskOfLeftColumns());
    // 4-bit images through a palette of red shades.
    std::vector<std::uint32_t> reds;
    for (int i = 0; i < 16; ++i)
        reds.push_back(static_cast<std::uint32_t>(0x10 * i) << 16);
    const Bytes paletted =
        Join(Join(ListHeader(Count, Cx, Cy, 0x0005),
                  Bmp(
                      4 * Cx, 2 * Cy, 4, [](int x, int y) { return CellColor(x, y) >> 20; }, reds)),
             MaskOfLeftColumns());
    const Case cases[] = {
        {"24-bit with mask", MaskedList24(), false}, {"length written first", prefixed, false},
        {"32-bit with alpha", withAlpha, true},      {"32-bit without alpha", noAlpha, false},
        {"4-bit palette", paletted, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::vector<QImage> images = DecodeImageList(c.Data, 16, 16);
        ASSERT_EQ(images.size(), static_cast<std::size_t>(Count));
        for (int i = 0; i < Count; ++i) {
            const QImage& image = images[static_cast<std::size_t>(i)];
            ASSERT_EQ(image.size(), QSize(Cx, Cy));
            EXPECT_EQ(image.format(), QImage::Format_ARGB32);
            const int red = 0x10 * (i + 1);
            if (c.AlphaFromImage) {
                EXPECT_EQ(image.pixel(0, 0), qRgba(red, 0, 0, 0x80));
                EXPECT_EQ(image.pixel(2, 1), qRgba(red, 0, 0, 0x80));
            } else {
                EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << "left column is background";
                EXPECT_EQ(qAlpha(image.pixel(0, 1)), 0);
                EXPECT_EQ(image.pixel(1, 0), qRgb(red, 0, 0));
                EXPECT_EQ(image.pixel(2, 1), qRgb(red, 0, 0));
            }
        }
    }
}

TEST(ImageListDecode, PlainBitmapStripIsCutByTheListSize) {
    const Bytes strip =
        Bmp(3 * 4, 4, 24, [](int x, int) { return static_cast<std::uint32_t>(x / 4 * 0x40) << 8; });
    const std::vector<QImage> images = DecodeImageList(strip, 4, 4);
    ASSERT_EQ(images.size(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(images[static_cast<std::size_t>(i)].pixel(3, 3), qRgb(0, i * 0x40, 0));
    EXPECT_TRUE(DecodeImageList(strip, 0, 4).empty());
    EXPECT_TRUE(DecodeImageList(strip, 16, 16).empty()) << "no whole image in the strip";
}

// Damaged and hostile streams give no images and read nothing outside the bytes (the
// sanitizers of the test build and the fuzz target watch the reads).
TEST(ImageListDecode, BadDataGivesNoImages) {
    const Bytes good = MaskedList24();
    // Every truncation of a good stream.
    for (std::size_t n = 0; n < good.size(); ++n) {
        const std::vector<QImage> images = DecodeImageList(std::span(good.data(), n), 16, 16);
        EXPECT_TRUE(images.empty()) << "cut at " << n;
    }
    auto with = [&](std::size_t at, std::initializer_list<std::uint8_t> bytes) {
        Bytes b = good;
        for (std::uint8_t byte : bytes)
            b.at(at++) = byte;
        return b;
    };
    const struct {
        const char* Name;
        Bytes Data;
    } cases[] = {
        {"more images than the grid holds", with(4, {9, 0})},
        {"more images than allowed", with(4, {0x01, 0x10})},
        {"cell wider than allowed", with(10, {0x01, 0x01})},
        {"cell of no height", with(12, {0, 0})},
        {"colour bitmap without signature", with(28, {'X'})},
        {"colour bitmap of 7 bits", with(28 + 28, {7})},
        {"run-length colour bitmap", with(28 + 30, {1})},
        {"grid of huge width", with(28 + 18, {0xFF, 0xFF, 0xFF, 0x7F})},
        {"grid of the most negative height", with(28 + 22, {0, 0, 0, 0x80})},
        {"palette larger than the bits allow", with(28 + 46, {0xFF, 0xFF, 0, 0})},
        {"mask of 24 bits", with(28 + 54 + 12 * 3 * 4 + 28, {24})},
        {"old version", with(2, {0, 1})},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(DecodeImageList(c.Data, 16, 16).empty()) << c.Name;
    EXPECT_FALSE(DecodeImageList(good, 16, 16).empty());
    // A grid over the pixel limit is refused before it is converted.
    EXPECT_TRUE(DecodeImageList(good, 16, 16, 5 * Cx * Cy - 1).empty());
}

// One list is decoded once per build, images count against the budget, and indexes
// outside the list give nothing.
TEST(ImageListCache, DecodesOnceAndAnswersByIndex) {
    std::string hex;
    for (std::uint8_t byte : MaskedList24()) {
        static const char digits[] = "0123456789ABCDEF";
        hex += digits[byte >> 4];
        hex += digits[byte & 15];
    }
    fw::preview::test::LiveForm form(
        "object Form1: TForm1\n"
        "  object List: TImageList\n"
        "    Height = 2\n    Width = 3\n"
        "    Bitmap = {" +
        hex +
        "}\n"
        "  end\n"
        "  object Other: TPanel\n  end\n"
        "end\n");
    ASSERT_TRUE(form.Messages.empty()) << form.Messages.front();
    fw::preview::ImageListCache cache;
    fw::preview::PictureBudget budget;
    const QImage* first = cache.ImageOf(&form["List"], 1, budget);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->pixel(1, 1), qRgb(0x20, 0, 0));
    const long long left = budget.Left();
    EXPECT_EQ(left, fw::preview::MaxPreviewPicturePixels - Count * Cx * Cy);
    EXPECT_EQ(cache.ImageOf(&form["List"], 1, budget), first);
    EXPECT_EQ(budget.Left(), left) << "decoded again";
    EXPECT_EQ(cache.ImageOf(&form["List"], Count, budget), nullptr);
    EXPECT_EQ(cache.ImageOf(&form["List"], -1, budget), nullptr);
    EXPECT_EQ(cache.ImageOf(&form["Other"], 0, budget), nullptr);
    EXPECT_EQ(cache.ImageOf(nullptr, 0, budget), nullptr);

    fw::preview::ImageListCache poor;
    fw::preview::PictureBudget small(Count * Cx * Cy - 1);
    EXPECT_EQ(poor.ImageOf(&form["List"], 0, small), nullptr) << "over the budget";
}

// ---------------------------------------------------------------------------------
// Controls that show images of a list

// Images of 8 x 8 in one colour each, from a 32-bit list without alpha and a mask that
// leaves every pixel opaque.
constexpr QRgb ListColors[] = {0xFF0000, 0x00C000, 0x0000FF, 0xC000C0, 0x00C0C0};
std::string ListText(const std::string& name) {
    const int n = static_cast<int>(std::size(ListColors));
    auto colour = [](int x, int y) {
        return static_cast<std::uint32_t>(ListColors[(y / 8) * 4 + x / 8] & 0xFFFFFF);
    };
    const Bytes data = Join(Join(ListHeader(n, 8, 8, 0x0021), Bmp(32, 16, 32, colour)),
                            Bmp(32, 16, 1, [](int, int) { return 0u; }, {0x000000, 0xFFFFFF}));
    std::string hex;
    for (std::uint8_t byte : data) {
        static constexpr char digits[] = "0123456789ABCDEF";
        hex += digits[byte >> 4];
        hex += digits[byte & 15];
    }
    return "  object " + name + ": TImageList\n    Height = 8\n    Width = 8\n    Bitmap = {" + hex +
           "}\n  end\n";
}

// The images of the list whose colour shows in an image.
std::vector<int> ListImagesIn(const QImage& image) {
    std::vector<int> found;
    for (int i = 0; i < static_cast<int>(std::size(ListColors)); ++i) {
        bool seen = false;
        for (int y = 0; y < image.height() && !seen; ++y)
            for (int x = 0; x < image.width() && !seen; ++x)
                seen = (image.pixel(x, y) & 0xFFFFFF) == ListColors[i];
        if (seen) found.push_back(i);
    }
    return found;
}

TEST(ImageListControls, ToolButtonsShowTheirImageOfTheBarsList) {
    const struct {
        const char* Bar;
        const char* Button;
        std::vector<int> Shown;
    } cases[] = {
        {"Images = List\n", "ImageIndex = 2\n", {2}},
        {"Images = List\n", "ImageIndex = 4\nCaption = 'Go'\n", {4}},
        {"Images = List\nShowCaptions = True\n", "ImageIndex = 1\nCaption = 'Go'\n", {1}},
        {"Images = List\n", "", {}},                  // no ImageIndex
        {"Images = List\n", "ImageIndex = 5\n", {}},  // past the list's end
        {"", "ImageIndex = 2\n", {}},                 // the bar has no list
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Bar) + c.Button);
        fw::preview::test::RealizedForm f(
            "object Form1: TForm1\n" + ListText("List") +
            "  object Bar: TToolBar\n    Left = 0\n    Top = 0\n    Width = 200\n"
            "    Height = 40\n" +
            c.Bar +
            "    object Button: TToolButton\n    Left = 0\n    Top = 0\n"
            "      Width = 40\n      Height = 36\n" +
            c.Button + "    end\n  end\nend\n");
        EXPECT_EQ(ListImagesIn(f.Look("Button")), c.Shown);
    }
}

TEST(ImageListControls, PageControlTabsShowTheSheetsImages) {
    fw::preview::test::RealizedForm f(
        "object Form1: TForm1\n" + ListText("List") +
        "  object Pages: TPageControl\n    Left = 0\n    Top = 0\n    Width = 300\n    Height = 100\n"
        "    Images = List\n"
        "    object A: TTabSheet\n      Caption = 'A'\n      ImageIndex = 3\n    end\n"
        "    object B: TTabSheet\n      Caption = 'B'\n      ImageIndex = 1\n    end\n"
        "    object C: TTabSheet\n      Caption = 'C'\n      ImageIndex = -1\n    end\n"
        "  end\nend\n");
    EXPECT_EQ(ListImagesIn(f.Look("Pages")), (std::vector<int>{1, 3}));
    // Without a list the same sheets show no images.
    fw::preview::test::RealizedForm plain(
        "object Form1: TForm1\n" + ListText("List") +
        "  object Pages: TPageControl\n    Left = 0\n    Top = 0\n    Width = 300\n    Height = 100\n"
        "    object A: TTabSheet\n      Caption = 'A'\n      ImageIndex = 3\n    end\n"
        "  end\nend\n");
    EXPECT_TRUE(ListImagesIn(plain.Look("Pages")).empty());
}

std::string HexOf(const Bytes& data) {
    std::string hex = "{";
    for (std::uint8_t byte : data) {
        static constexpr char digits[] = "0123456789ABCDEF";
        hex += digits[byte >> 4];
        hex += digits[byte & 15];
    }
    return hex + "}";
}

void WideCaption(Bytes& b, const std::u16string& text) {
    b.push_back(static_cast<std::uint8_t>(text.size()));
    for (char16_t c : text)
        Put16(b, c);
}

// A tree view's "NodeData" (version 1) of top-level nodes with these image indexes.
Bytes TreeNodes(const std::vector<int>& images) {
    Bytes b{1};
    Put32(b, static_cast<std::uint32_t>(images.size()));
    for (int image : images) {
        Bytes record;
        for (std::int32_t v : {image, -1, -1, -1, 0, 0})
            Put32(record, static_cast<std::uint32_t>(v));
        WideCaption(record, u"Node");
        Put32(b, static_cast<std::uint32_t>(record.size()));
        b = Join(b, record);
    }
    return b;
}

// A list view's "ItemData" of items with these image indexes.
Bytes ListItems(const std::vector<int>& images) {
    Bytes b{5};
    Put32(b, 0);
    Put32(b, static_cast<std::uint32_t>(images.size()));
    for (int image : images) {
        for (std::int32_t v : {image, -1, -1, 0, -1, 0})
            Put32(b, static_cast<std::uint32_t>(v));
        WideCaption(b, u"Item");
    }
    return b;
}

TEST(ImageListControls, TreeAndListViewItemsShowTheirImages) {
    const struct {
        const char* Name;
        std::string Control;
        std::vector<int> Shown;
    } cases[] = {
        {"tree",
         "TTreeView\n    Images = List\n    Items.NodeData = " + HexOf(TreeNodes({2, 4})) + "\n",
         {2, 4}},
        {"tree without list", "TTreeView\n    Items.NodeData = " + HexOf(TreeNodes({2, 4})) + "\n", {}},
        {"list",
         "TListView\n    ViewStyle = vsList\n    SmallImages = List\n    Items.ItemData = " +
             HexOf(ListItems({1, 3})) + "\n",
         {1, 3}},
        {"icons take the large images",
         "TListView\n    SmallImages = List\n    Items.ItemData = " + HexOf(ListItems({1, 3})) + "\n",
         {}},
        {"icons",
         "TListView\n    LargeImages = List\n    Items.ItemData = " + HexOf(ListItems({0, -1})) + "\n",
         {0}},
        {"report",
         "TListView\n    ViewStyle = vsReport\n    SmallImages = List\n"
         "    Columns = <\n      item\n        Caption = 'A'\n        Width = 100\n      end>\n"
         "    Items.ItemData = " +
             HexOf(ListItems({4, 2})) + "\n",
         {2, 4}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        fw::preview::test::RealizedForm f(
            "object Form1: TForm1\n" + ListText("List") + "  object View: " + c.Control +
            "    Left = 0\n    Top = 0\n    Width = 300\n    Height = 200\n  end\nend\n");
        EXPECT_TRUE(f.Messages.empty()) << f.Messages.front();
        EXPECT_EQ(ListImagesIn(f.Look("View")), c.Shown);
    }
}

TEST(ImageListControls, ButtonsShowTheirImageOfTheirList) {
    const struct {
        const char* Control;
        std::vector<int> Shown;
    } cases[] = {
        {"TButton\n    Images = List\n    ImageIndex = 3\n", {3}},
        {"TButton\n    Images = List\n    ImageIndex = 3\n    ImageAlignment = iaTop\n", {3}},
        {"TButton\n    Images = List\n", {}},
        {"TButton\n    ImageIndex = 3\n", {}},
        {"TButton\n    Images = List\n    ImageIndex = 3\n    DisabledImageIndex = 1\n    Enabled = False\n",
         {1}},
        {"TBitBtn\n    Images = List\n    ImageIndex = 0\n", {0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Control);
        fw::preview::test::RealizedForm f(
            "object Form1: TForm1\n" + ListText("List") + "  object Button: " + c.Control +
            "    Left = 0\n    Top = 0\n    Width = 100\n    Height = 30\n  end\nend\n");
        EXPECT_TRUE(f.Messages.empty()) << f.Messages.front();
        EXPECT_EQ(ListImagesIn(f.Look("Button")), c.Shown);
    }
}

void CollectLists(const fw::rt::Object& owner, std::vector<const fw::rt::Object*>& lists) {
    for (const fw::rt::ObjectPtr& c : owner.Components()) {
        if (c->InheritsFrom("TCustomImageList")) lists.push_back(c.get());
        CollectLists(*c, lists);
    }
}

// Every image list of the real text forms decodes into as many images as its stream
// says, each of the list's Width and Height.
TEST(ImageListCorpus, EveryListDecodesToItsCountAndSize) {
    const fs::path corpus(FW_CORPUS_DIR);
    if (!fs::is_directory(corpus / "forms" / "text")) GTEST_SKIP() << "corpus not found";
    int lists = 0;
    for (const fs::directory_entry& e : fs::directory_iterator(corpus / "forms" / "text")) {
        if (!e.is_regular_file()) continue;
        const fw::Bytes bytes = fw::ReadFileBytes(e.path().string());
        const std::string text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        if (text.find("Bitmap = {") == std::string::npos) continue;
        SCOPED_TRACE(e.path().filename().string());
        fw::preview::test::LiveForm form(text);
        std::vector<const fw::rt::Object*> found;
        CollectLists(*form.Form, found);
        for (const fw::rt::Object* list : found) {
            const fw::rt::StoredBlock* bitmap = nullptr;
            for (const auto& [name, block] : list->StoredBlocks())
                if (fw::rt::EqualsIgnoringCase(name, "Bitmap")) bitmap = &block;
            if (!bitmap || bitmap->Bytes.size() < 28) continue;
            SCOPED_TRACE(list->Name());
            const int count = bitmap->Bytes[4] | (bitmap->Bytes[5] << 8);
            const int width = static_cast<int>(fw::preview::OrdinalOf(*list, "Width", 16));
            const int height = static_cast<int>(fw::preview::OrdinalOf(*list, "Height", 16));
            const std::vector<QImage> images = DecodeImageList(bitmap->Bytes, width, height);
            EXPECT_EQ(static_cast<int>(images.size()), count);
            for (const QImage& image : images)
                EXPECT_EQ(image.size(), QSize(width, height));
            ++lists;
        }
    }
    EXPECT_GT(lists, 100);
}

}  // namespace
