// SPDX-License-Identifier: GPL-3.0-or-later
#include "placement.h"

#include <algorithm>
#include <cmath>

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

Placement PlaceSharp(int screenWidth, int screenHeight, double ratio) {
    const double own = ratio > 0 ? ratio : 1.0;
    const Placement whole = PlacePicture(screenWidth, screenHeight);
    // A hair of slack: the window's size was rounded to device pixels.
    const double ownFactor = std::min(screenWidth / own / kPictureWidth, screenHeight / own / kPictureHeight);
    if (ownFactor + 1e-6 >= 2) return whole;
    const int w = std::max(screenWidth, 1);
    const int h = std::max(screenHeight, 1);
    int width = w;
    int height = std::max(1, (w * kPictureHeight + kPictureWidth / 2) / kPictureWidth);
    if (height > h) {
        height = h;
        width = std::max(1, (h * kPictureWidth + kPictureHeight / 2) / kPictureHeight);
    }
    // A window sized to a whole factor comes out a device pixel or two larger at some scales.
    if (whole.factor >= 1 && width - kPictureWidth * whole.factor <= static_cast<int>(std::ceil(own))) return whole;
    const int left = (w - width) / 2;
    const int top = (h - height) / 2;
    return Placement{(width + kPictureWidth - 1) / kPictureWidth, left, top, left + width, top + height};
}
