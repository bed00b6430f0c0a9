// SPDX-License-Identifier: GPL-3.0-or-later
#include "placement.h"

#include <algorithm>

#include "picture.h"

Placement PlacePicture(int screenWidth, int screenHeight) {
    const int w = std::max(screenWidth, 1);
    const int h = std::max(screenHeight, 1);
    const int factor = std::min(w / kPictureWidth, h / kPictureHeight);
    int width;
    int height;
    if (factor >= 1) {
        width = kPictureWidth * factor;
        height = kPictureHeight * factor;
    } else if (w * kPictureHeight <= h * kPictureWidth) {
        // Narrower than 16:10: the width decides.
        width = w;
        height = std::max(1, (w * kPictureHeight + kPictureWidth / 2) / kPictureWidth);
    } else {
        height = h;
        width = std::max(1, (h * kPictureWidth + kPictureHeight / 2) / kPictureHeight);
    }
    const int left = (w - width) / 2;
    const int top = (h - height) / 2;
    return Placement{std::max(factor, 0), left, top, left + width, top + height};
}
