// The link label and the web browser as the preview draws them: the link parts of a
// link label's caption in the link colour and underlined, the tags not shown; a web
// browser as a white area in a sunken edge.

#include <gtest/gtest.h>

#include <QImage>
#include <string>

#include "previewtestsupport.h"

namespace fw::preview {
namespace {

using test::RealizedForm;

std::string Form(const std::string& controls) {
    return "object Form1: TForm1\n  ClientHeight = 200\n  ClientWidth = 400\n" + controls + "end\n";
}

QImage Image(const RealizedForm& f, const char* name) {
    return f.Widget(name)->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The columns holding pixels of the link colour, and the dark columns of plain text.
struct Ink {
    int LinkFrom = -1, LinkTo = -1;
    int PlainColumns = 0;
    bool LinkUnderline = false;
};

Ink InkOf(const QImage& image) {
    Ink ink;
    const QRgb link = qRgb(0x00, 0x66, 0xCC);
    for (int x = 0; x < image.width(); ++x) {
        bool plain = false;
        for (int y = 0; y < image.height(); ++y) {
            const QRgb c = image.pixel(x, y) & 0xFFFFFF;
            if (c == (link & 0xFFFFFF)) {
                if (ink.LinkFrom < 0) ink.LinkFrom = x;
                ink.LinkTo = x;
            } else if (qGray(c) < 80) {
                plain = true;
            }
        }
        if (plain) ++ink.PlainColumns;
    }
    // An underline: a row of the link colour at least as long as most of the link.
    for (int y = 0; y < image.height() && ink.LinkFrom >= 0; ++y) {
        int run = 0;
        for (int x = ink.LinkFrom; x <= ink.LinkTo; ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (link & 0xFFFFFF)) ++run;
        if (run * 10 >= (ink.LinkTo - ink.LinkFrom + 1) * 8) ink.LinkUnderline = true;
    }
    return ink;
}

TEST(LinkLabel, DrawsLinkPartsUnderlinedInTheLinkColourWithoutTheTags) {
    struct Case {
        const char* Caption;
        bool HasLink;
        bool PlainBeforeLink;
    };
    const Case cases[] = {
        {"'See <a href=\"https://example.com\">the site</a> now'", true, true},
        {"'<A HREF=\"x\">first</A> then text'", true, false},
        {"'<a>open to the end'", true, false},
        {"'no links here, 1 < 2'", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Caption);
        RealizedForm f(Form(std::string("object L: TLinkLabel\nLeft = 8\nTop = 8\nWidth = 300\nHeight = 20\n"
                                        "Caption = ") +
                            c.Caption + "\nend\n"));
        ASSERT_TRUE(f.Messages.empty()) << f.Messages.front();
        ASSERT_NE(f.Widget("L"), nullptr);
        const Ink ink = InkOf(Image(f, "L"));
        EXPECT_EQ(ink.LinkFrom >= 0, c.HasLink);
        if (c.HasLink) {
            EXPECT_TRUE(ink.LinkUnderline);
            EXPECT_EQ(ink.LinkFrom > 0, c.PlainBeforeLink) << "the link starts at " << ink.LinkFrom;
        } else {
            EXPECT_GT(ink.PlainColumns, 0);
        }
    }
}

TEST(WebBrowser, ShowsAWhiteAreaInASunkenEdge) {
    RealizedForm f(
        Form("object Web: TWebBrowser\nLeft = 10\nTop = 10\nWidth = 120\nHeight = 80\n"
             "ControlData = {4C0000000000}\nend\n"));
    ASSERT_TRUE(f.Messages.empty()) << f.Messages.front();
    const QImage image = Image(f, "Web");
    ASSERT_EQ(image.size(), QSize(120, 80));
    EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, 0xA0A0A0u);     // shadow, top left
    EXPECT_EQ(image.pixel(119, 79) & 0xFFFFFF, 0xFFFFFFu);  // highlight, bottom right
    EXPECT_EQ(image.pixel(1, 1) & 0xFFFFFF, 0x696969u);     // dark shadow inside
    EXPECT_EQ(image.pixel(60, 40) & 0xFFFFFF, 0xFFFFFFu);   // the document area
}

}  // namespace
}  // namespace fw::preview
