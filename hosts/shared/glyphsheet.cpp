// SPDX-License-Identifier: GPL-3.0-or-later
#include "glyphsheet.h"

#include <string>

#include "gif.h"
#include "picture.h"

bool DecodeGlyphSheet(const uint8_t* gif, size_t size, std::vector<uint32_t>& pixels, int& width, int& height) {
    IndexedImage image;
    std::string error;
    if (gif == nullptr || !DecodeGif(std::vector<uint8_t>(gif, gif + size), &image, &error)) return false;
    pixels.resize(image.pixels.size());
    for (size_t i = 0; i < pixels.size(); ++i) {
        const size_t at = 3u * image.pixels[i];
        if (at + 2 >= image.palette.size()) return false;
        pixels[i] = static_cast<uint32_t>(image.palette[at]) << 16 | static_cast<uint32_t>(image.palette[at + 1]) << 8 |
                    image.palette[at + 2];
    }
    width = image.width;
    height = image.height;
    return true;
}

bool InitRendererFromGif(Renderer& r, GameState& g, const uint8_t* gif, size_t size) {
    std::vector<uint32_t> pixels;
    int width = 0;
    int height = 0;
    return DecodeGlyphSheet(gif, size, pixels, width, height) && InitRenderer(r, g, pixels.data(), width, height);
}
