// SPDX-License-Identifier: GPL-3.0-or-later
// Where the 640 x 400 picture goes on a full screen: enlarged by the largest whole
// factor that fits, centred; on a screen too small for it, shrunk to fit instead.
#pragma once

struct Placement {
    int factor;  // the whole enlargement; 0 when the picture had to be shrunk
    int left;
    int top;
    int right;   // exclusive
    int bottom;  // exclusive
};

Placement PlacePicture(int screenWidth, int screenHeight);

// What a window shows, in device pixels at `ratio` device pixels to one of the
// desktop's own: whole factors where twice the picture fits in the desktop's own
// pixels; otherwise the picture as large as fits, enlarged by `factor` and then
// smoothed down to the rectangle, so that its pixels stay square and even.
Placement PlaceSharp(int screenWidth, int screenHeight, double ratio);

// Whether the rectangle is not a whole enlargement and needs smoothing down to it.
inline bool Smoothed(const Placement& p) { return p.right - p.left != 640 * p.factor; }
