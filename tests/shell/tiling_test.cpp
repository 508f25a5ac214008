#include <gtest/gtest.h>

#include "shell/tiling.h"

namespace fw {
namespace {

TEST(Tiling, TwoWindowsFormRowsOrColumns) {
    const QRect area(0, 0, 700, 401);
    EXPECT_EQ(TileRects(area, 2, TileMode::Horizontal),
              (std::vector<QRect>{QRect(0, 0, 700, 200), QRect(0, 200, 700, 201)}));
    EXPECT_EQ(TileRects(area, 2, TileMode::Vertical),
              (std::vector<QRect>{QRect(0, 0, 350, 401), QRect(350, 0, 350, 401)}));
    EXPECT_EQ(TileRects(area, 1, TileMode::Vertical), (std::vector<QRect>{area}));
    EXPECT_TRUE(TileRects(area, 0, TileMode::Horizontal).empty());
    EXPECT_TRUE(TileRects(QRect(), 3, TileMode::Horizontal).empty());
}

TEST(Tiling, FiveWindowsFormAGridWithTheExtraCellLast) {
    const QRect area(10, 20, 600, 300);
    // Two columns; the second takes the third window of five.
    EXPECT_EQ(TileRects(area, 5, TileMode::Horizontal),
              (std::vector<QRect>{QRect(10, 20, 300, 150), QRect(10, 170, 300, 150), QRect(310, 20, 300, 100),
                                  QRect(310, 120, 300, 100), QRect(310, 220, 300, 100)}));
    EXPECT_EQ(TileRects(area, 5, TileMode::Vertical),
              (std::vector<QRect>{QRect(10, 20, 300, 150), QRect(310, 20, 300, 150), QRect(10, 170, 200, 150),
                                  QRect(210, 170, 200, 150), QRect(410, 170, 200, 150)}));
}

TEST(Tiling, TilesCoverTheAreaWithoutGapsOrOverlaps) {
    // Odd sizes make the rounding show.
    const QRect area(3, 7, 641, 457);
    for (TileMode mode : {TileMode::Horizontal, TileMode::Vertical}) {
        for (int count = 1; count <= 12; ++count) {
            SCOPED_TRACE(testing::Message()
                         << "count " << count << (mode == TileMode::Horizontal ? " rows" : " columns"));
            const std::vector<QRect> rects = TileRects(area, count, mode);
            ASSERT_EQ(rects.size(), static_cast<std::size_t>(count));
            long long covered = 0;
            for (std::size_t i = 0; i < rects.size(); ++i) {
                EXPECT_TRUE(area.contains(rects[i])) << i;
                EXPECT_FALSE(rects[i].isEmpty()) << i;
                covered += static_cast<long long>(rects[i].width()) * rects[i].height();
                for (std::size_t j = 0; j < i; ++j)
                    EXPECT_FALSE(rects[i].intersects(rects[j])) << i << " " << j;
            }
            EXPECT_EQ(covered, static_cast<long long>(area.width()) * area.height());
        }
    }
}

TEST(Tiling, CascadeStepsDownAndStartsAgainWhenTheAreaIsFull) {
    const QRect area(0, 0, 600, 300);
    EXPECT_EQ(CascadeRects(area, 3, 20),
              (std::vector<QRect>{QRect(0, 0, 560, 260), QRect(20, 20, 560, 260), QRect(40, 40, 560, 260)}));

    // Eight windows: the height stops at two thirds, and six steps fill it.
    const std::vector<QRect> many = CascadeRects(area, 8, 20);
    ASSERT_EQ(many.size(), 8u);
    EXPECT_EQ(many[5], QRect(100, 100, 460, 200));
    EXPECT_EQ(many[6], QRect(0, 0, 460, 200));
    for (const QRect& rect : many)
        EXPECT_TRUE(area.contains(rect)) << rect.x();

    EXPECT_TRUE(CascadeRects(area, 0, 20).empty());
    EXPECT_TRUE(CascadeRects(area, 2, 0).empty());
}

TEST(Tiling, TheFirstMainWindowTakesTwoThirdsOfTheScreenCentred) {
    const struct {
        QRect available;
        QRect expected;
    } cases[] = {
        {QRect(0, 0, 1920, 1040), QRect(320, 173, 1280, 693)},
        {QRect(1920, 30, 1280, 770), QRect(2133, 158, 853, 513)},  // a second screen, a panel on top
        {QRect(0, 0, 1024, 600), QRect(153, 65, 718, 469)},        // not below the classic size
        {QRect(0, 0, 640, 480), QRect(0, 5, 640, 469)},            // but never beyond the screen
    };
    for (const auto& c : cases) {
        const QRect rect = InitialMainWindowRect(c.available);
        EXPECT_EQ(rect, c.expected) << rect.x() << "," << rect.y() << " " << rect.width() << "x"
                                    << rect.height();
        EXPECT_TRUE(c.available.contains(rect));
    }
}

}  // namespace
}  // namespace fw
