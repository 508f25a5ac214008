// The inspector's image control: where a picture is drawn, auto-size, tiling, and the
// double-click that switches between natural size and fitting the width.

#include <gtest/gtest.h>

#include <QImage>
#include <QScrollArea>

#include "preview/oipanel.h"

namespace {

using fw::preview::PictureTarget;
using fw::preview::PictureView;

QImage Filled(int width, int height, QColor colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

TEST(PictureTarget, StretchRatioAndCentring) {
    struct Case {
        QSize Picture, Control;
        bool Stretch, Ratio, Center;
        QRect Expected;
    };
    const Case cases[] = {
        {{64, 16}, {200, 100}, false, true, false, {0, 0, 64, 16}},
        {{64, 16}, {200, 100}, false, true, true, {68, 42, 64, 16}},
        // Half the free space, rounded toward zero, also when the picture is larger.
        {{64, 16}, {101, 101}, false, true, true, {18, 42, 64, 16}},
        {{300, 16}, {101, 16}, false, true, true, {-99, 0, 300, 16}},
        {{64, 16}, {200, 100}, true, false, false, {0, 0, 200, 100}},
        {{400, 100}, {200, 100}, true, true, false, {0, 0, 200, 50}},
        {{400, 100}, {200, 100}, true, true, true, {0, 25, 200, 50}},
        // A smaller picture is scaled up.
        {{10, 5}, {100, 100}, true, true, false, {0, 0, 100, 50}},
        // Sides are rounded halves to even: 2.5 to 2, 3.5 to 4.
        {{8, 5}, {4, 100}, true, true, false, {0, 0, 4, 2}},
        {{8, 7}, {4, 100}, true, true, false, {0, 0, 4, 4}},
        {{8, 7}, {0, 100}, true, true, false, {0, 0, 0, 0}},
        {{0, 0}, {50, 50}, true, true, false, {0, 0, 0, 0}},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        EXPECT_EQ(PictureTarget(c.Picture, c.Control, c.Stretch, c.Ratio, c.Center), c.Expected)
            << "case " << i;
    }
}

TEST(ImageControl, AutoSizeAndPainting) {
    PictureView image;
    EXPECT_TRUE(image.AutoSize());
    EXPECT_TRUE(image.PreserveRatio());
    EXPECT_FALSE(image.Stretch() || image.Center() || image.Tile() || image.Transparent());
    image.resize(10, 10);
    image.SetPicture(Filled(40, 10, Qt::red), QSize(40, 10), {});
    EXPECT_EQ(image.size(), QSize(40, 10));
    // An empty graphic is held, but does not size the control.
    image.SetPicture(QImage(), QSize(0, 0), {});
    EXPECT_TRUE(image.HasGraphic());
    EXPECT_EQ(image.size(), QSize(40, 10));
    image.ClearPicture();
    EXPECT_FALSE(image.HasGraphic());

    // Stretched with its ratio: the top half of the control, the rest in clBtnFace.
    image.SetAutoSize(false);
    image.resize(200, 100);
    image.SetPicture(Filled(400, 100, Qt::red), QSize(400, 100), {});
    image.SetStretch(true);
    QImage shot = image.grab().toImage();
    EXPECT_EQ(shot.pixelColor(190, 45), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(190, 55), QColor(240, 240, 240));

    // Tiled: the natural size repeated over the whole control.
    image.SetStretch(false);
    image.SetTile(true);
    image.SetPicture(Filled(30, 30, Qt::blue), QSize(30, 30), {});
    shot = image.grab().toImage();
    EXPECT_EQ(shot.pixelColor(199, 99), QColor(Qt::blue));
}

TEST(ImageControl, DoubleClickSwitchesBetweenNaturalSizeAndTheBoxWidth) {
    fw::preview::OIPanel panel;
    panel.resize(300, 500);
    PictureView* image = panel.Image();
    image->SetPicture(Filled(400, 100, Qt::red), QSize(400, 100), {});
    ASSERT_EQ(image->size(), QSize(400, 100));
    panel.ImageBox()->viewport()->resize(250, 300);

    panel.ImageDblClick();
    EXPECT_FALSE(image->AutoSize());
    EXPECT_TRUE(image->Stretch());
    EXPECT_EQ(image->size(), QSize(250, 100));

    panel.ImageDblClick();
    EXPECT_TRUE(image->AutoSize());
    EXPECT_FALSE(image->Stretch());
    EXPECT_EQ(image->size(), QSize(400, 100));
}

}  // namespace
