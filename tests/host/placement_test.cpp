// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "placement.h"

namespace {

void ExpectPlacement(int w, int h, int factor, int left, int top, int right, int bottom) {
    const Placement p = PlacePicture(w, h);
    EXPECT_EQ(p.factor, factor) << w << " x " << h;
    EXPECT_EQ(p.left, left) << w << " x " << h;
    EXPECT_EQ(p.top, top) << w << " x " << h;
    EXPECT_EQ(p.right, right) << w << " x " << h;
    EXPECT_EQ(p.bottom, bottom) << w << " x " << h;
}

TEST(Placement, LargestWholeFactorCentred) {
    ExpectPlacement(1920, 1080, 2, 320, 140, 1600, 940);
    ExpectPlacement(640, 400, 1, 0, 0, 640, 400);
    ExpectPlacement(640, 480, 1, 0, 40, 640, 440);
    ExpectPlacement(1280, 1024, 2, 0, 112, 1280, 912);
    ExpectPlacement(800, 600, 1, 80, 100, 720, 500);
    ExpectPlacement(3840, 2160, 5, 320, 80, 3520, 2080);
    // One pixel short of the next factor keeps the smaller one.
    ExpectPlacement(1919, 1199, 2, 319, 199, 1599, 999);
}

TEST(Placement, SmallerScreenShrinksThePictureToFit) {
    ExpectPlacement(320, 200, 0, 0, 0, 320, 200);
    // Too narrow: the width decides, centred vertically.
    ExpectPlacement(600, 400, 0, 0, 12, 600, 387);
    // Too low: the height decides, centred horizontally.
    ExpectPlacement(640, 300, 0, 80, 0, 560, 300);
    for (int w : {1, 17, 320, 639}) {
        for (int h : {1, 9, 240, 399}) {
            const Placement p = PlacePicture(w, h);
            EXPECT_GE(p.left, 0);
            EXPECT_GE(p.top, 0);
            EXPECT_LE(p.right, w);
            EXPECT_LE(p.bottom, h);
            EXPECT_GT(p.right, p.left);
            EXPECT_GT(p.bottom, p.top);
        }
    }
}

}  // namespace
