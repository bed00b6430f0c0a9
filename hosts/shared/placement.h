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
