// SPDX-License-Identifier: GPL-3.0-or-later
// Wraps PNG images into one Windows .ico file, the form the resource compiler
// takes: grimspire-winico OUT.ico IN.png... Windows reads PNG-coded icons as
// they are, so the images are copied unchanged.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

uint32_t Big32(const std::vector<uint8_t>& d, size_t at) {
    return static_cast<uint32_t>(d[at]) << 24 | static_cast<uint32_t>(d[at + 1]) << 16 |
           static_cast<uint32_t>(d[at + 2]) << 8 | d[at + 3];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: grimspire-winico OUT.ico IN.png...\n");
        return 2;
    }
    std::vector<std::vector<uint8_t>> images;
    for (int i = 2; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        std::vector<uint8_t> png((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        // The signature, then IHDR with the width and height.
        if (png.size() < 24 || png[1] != 'P' || png[12] != 'I' || Big32(png, 16) > 256 || Big32(png, 20) > 256) {
            std::fprintf(stderr, "%s: not a PNG of at most 256 x 256\n", argv[i]);
            return 1;
        }
        images.push_back(std::move(png));
    }
    std::vector<uint8_t> ico;
    Put16(ico, 0);
    Put16(ico, 1);  // icons, not cursors
    Put16(ico, static_cast<uint32_t>(images.size()));
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
    for (const auto& png : images) {
        ico.push_back(static_cast<uint8_t>(Big32(png, 16)));  // 256 is written as 0
        ico.push_back(static_cast<uint8_t>(Big32(png, 20)));
        ico.push_back(0);  // no palette
        ico.push_back(0);
        Put16(ico, 1);   // planes
        Put16(ico, 32);  // bits per pixel
        Put32(ico, static_cast<uint32_t>(png.size()));
        Put32(ico, offset);
        offset += static_cast<uint32_t>(png.size());
    }
    for (const auto& png : images) ico.insert(ico.end(), png.begin(), png.end());
    std::ofstream out(argv[1], std::ios::binary);
    out.write(reinterpret_cast<const char*>(ico.data()), static_cast<std::streamsize>(ico.size()));
    return out ? 0 : 1;
}
