#include "album/fit.h"

#include <gtest/gtest.h>

#include <cmath>

using vistrel::Box;
using vistrel::FitPicture;

TEST(FitPicture, DesignAreaExamples) {
    EXPECT_EQ(FitPicture(640, 480, 198, 147), (Box{1, 0, 195, 147}));
    EXPECT_EQ(FitPicture(100, 100, 198, 147), (Box{25, 0, 147, 147}));
    EXPECT_EQ(FitPicture(480, 640, 198, 147), (Box{44, 0, 110, 147}));
    EXPECT_EQ(FitPicture(1920, 1080, 198, 147), (Box{0, 18, 198, 111}));
}

TEST(FitPicture, EnlargesSmallPicturesAndHandlesExtremes) {
    EXPECT_EQ(FitPicture(2, 1, 198, 147), (Box{0, 24, 198, 99}));
    EXPECT_EQ(FitPicture(1, 1, 198, 147), (Box{25, 0, 147, 147}));
    EXPECT_EQ(FitPicture(65535, 1, 198, 147), (Box{0, 73, 198, 0}));
    EXPECT_EQ(FitPicture(1, 65535, 198, 147), (Box{99, 0, 0, 147}));
    EXPECT_EQ(FitPicture(0, 10, 198, 147), (Box{0, 0, 0, 0}));
    EXPECT_EQ(FitPicture(640, 480, 0, 0), (Box{0, 0, 0, 0}));
}

TEST(FitPicture, EveryFitStaysInsideTouchesOneSideKeepsAspectAndIsCentred) {
    for (int w = 1; w <= 400; w += 7)
        for (int h = 1; h <= 400; h += 11)
            for (auto [cw, ch] : {std::pair{198, 147}, std::pair{300, 226}, std::pair{50, 400}}) {
                Box b = FitPicture(w, h, cw, ch);
                ASSERT_LE(b.width, cw);
                ASSERT_LE(b.height, ch);
                ASSERT_TRUE(b.width == cw || b.height == ch) << w << "x" << h;
                // Truncation loses at most a pixel of the other side (a whole one where the
                // exact size is a whole number just missed by the ratio, as 640 by 480 shows).
                double exactW = static_cast<double>(b.height) * w / h;
                double exactH = static_cast<double>(b.width) * h / w;
                ASSERT_TRUE(std::abs(exactW - b.width) <= 1.0 || std::abs(exactH - b.height) <= 1.0)
                    << w << "x" << h << " in " << cw << "x" << ch;
                ASSERT_EQ(b.left, (cw - b.width) / 2);
                ASSERT_EQ(b.top, (ch - b.height) / 2);
            }
}
