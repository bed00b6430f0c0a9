// SPDX-License-Identifier: GPL-3.0-or-later
// grimspire-glyphs: draws the game's glyph sheet, 256 code page 437 characters of
// 9 x 16 pixels in one row (2304 x 16), from GNU Unifont's 8 x 16 bitmaps.
//
//   grimspire-glyphs [unifont.hex] [glyphs.gif]
//
// Defaults: /usr/share/unifont/unifont.hex (Debian package "unifont") and
// resources/glyphs.gif. The output depends only on the font, so rerunning the
// tool reproduces the committed sheet byte for byte.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "core/cp437.h"
#include "gif.h"

namespace {

constexpr int kGlyphWidth = 9;
constexpr int kGlyphHeight = 16;
constexpr int kCodes = 256;

// The player and the vampire: a little man, drawn here rather than taken from
// the font (code 0x05 is the club suit in the code page). Column 8 stays blank.
constexpr const char* kLittleMan[kGlyphHeight] = {
    "........",
    "........",
    "...##...",
    "..####..",
    "..####..",
    "...##...",
    ".######.",
    "#.####.#",
    "#.####.#",
    "#.####.#",
    "..####..",
    "..#..#..",
    "..#..#..",
    "..#..#..",
    ".##..##.",
    "........",
};

// Unifont's .hex format: "XXXX:" then 32 hex digits (8 x 16) or 64 (16 x 16).
bool ReadUnifont(const std::string& path, std::map<char32_t, std::string>* glyphs) {
    std::ifstream in(path);
    if (!in) return false;
    std::string line;
    while (std::getline(in, line)) {
        const size_t colon = line.find(':');
        if (colon == std::string::npos || colon == 0) continue;
        char* end = nullptr;
        const unsigned long cp = std::strtoul(line.c_str(), &end, 16);
        if (end != line.c_str() + colon) continue;
        (*glyphs)[static_cast<char32_t>(cp)] = line.substr(colon + 1);
    }
    return !glyphs->empty();
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string hexPath = argc > 1 ? argv[1] : "/usr/share/unifont/unifont.hex";
    const std::string outPath = argc > 2 ? argv[2] : "resources/glyphs.gif";
    if (argc > 3) {
        std::fprintf(stderr, "usage: grimspire-glyphs [unifont.hex] [glyphs.gif]\n");
        return 2;
    }

    std::map<char32_t, std::string> font;
    if (!ReadUnifont(hexPath, &font)) {
        std::fprintf(stderr, "grimspire-glyphs: cannot read %s (apt-get install unifont)\n",
                     hexPath.c_str());
        return 1;
    }

    IndexedImage sheet;
    sheet.width = kCodes * kGlyphWidth;
    sheet.height = kGlyphHeight;
    // A full 256-entry table, as the renderer has always been handed; only
    // index 0 (black) and 1 (the gray of the text) are drawn.
    sheet.palette.assign(256 * 3, 0);
    sheet.palette[3] = sheet.palette[4] = sheet.palette[5] = 168;
    sheet.pixels.assign(static_cast<size_t>(sheet.width) * sheet.height, 0);
    const auto set = [&sheet](int code, int x, int y) {
        sheet.pixels[static_cast<size_t>(y) * sheet.width + code * kGlyphWidth + x] = 1;
    };

    for (int code = 0; code < kCodes; ++code) {
        // Code 10 is the inverse circle in the code page, but the game prints it
        // as a line break and expects nothing there; 0, 32 and 255 are blanks.
        if (code == 0 || code == 10 || code == 32 || code == 255) continue;
        if (code == 0x05) {
            for (int y = 0; y < kGlyphHeight; ++y) {
                for (int x = 0; x < 8; ++x) {
                    if (kLittleMan[y][x] == '#') set(code, x, y);
                }
            }
            continue;
        }
        const char32_t cp = Cp437ToUnicode(static_cast<uint8_t>(code));
        const auto it = font.find(cp);
        if (it == font.end() || it->second.size() != 32) {
            std::fprintf(stderr, "grimspire-glyphs: no 8 x 16 glyph for U+%04X (code %d)\n",
                         static_cast<unsigned>(cp), code);
            return 1;
        }
        // The line-drawing block repeats its eighth column into the ninth, so
        // frames and walls join up across cells; other glyphs keep a gap.
        const bool extend = code >= 0xC0 && code <= 0xDF;
        for (int y = 0; y < kGlyphHeight; ++y) {
            const int hi = HexDigit(it->second[2 * y]);
            const int lo = HexDigit(it->second[2 * y + 1]);
            if (hi < 0 || lo < 0) {
                std::fprintf(stderr, "grimspire-glyphs: bad hex for U+%04X\n",
                             static_cast<unsigned>(cp));
                return 1;
            }
            const int row = hi << 4 | lo;
            for (int x = 0; x < 8; ++x) {
                if (row & (0x80 >> x)) set(code, x, y);
            }
            if (extend && (row & 1)) set(code, 8, y);
        }
    }

    const std::vector<uint8_t> gif = EncodeGif(sheet);
    std::FILE* f = std::fopen(outPath.c_str(), "wb");
    if (!f || std::fwrite(gif.data(), 1, gif.size(), f) != gif.size() || std::fclose(f) != 0) {
        std::fprintf(stderr, "grimspire-glyphs: cannot write %s\n", outPath.c_str());
        return 1;
    }
    std::printf("%s: %zu bytes\n", outPath.c_str(), gif.size());
    return 0;
}
