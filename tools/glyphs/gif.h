// SPDX-License-Identifier: GPL-3.0-or-later
// A small GIF89a reader and writer for one-frame, palette-indexed images:
// just enough for the glyph sheet and the tools that draw from it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> palette;  // 3 bytes (r, g, b) per entry
    std::vector<uint8_t> pixels;   // one palette index per pixel, rows top to bottom
};

// Encodes the image as GIF89a with a global colour table (the palette is padded
// with black to a power of two of at least 4 entries) and one non-interlaced frame.
// The output depends only on the image.
std::vector<uint8_t> EncodeGif(const IndexedImage& image);

// Decodes the first frame of a GIF87a/89a file. Returns false with a reason in
// *error for anything malformed or unsupported (interlaced frames, a frame that
// does not cover the whole logical screen, no global colour table).
bool DecodeGif(const std::vector<uint8_t>& data, IndexedImage* image, std::string* error);
