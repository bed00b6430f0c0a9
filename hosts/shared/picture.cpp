// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture.h"

#include <cstring>

#include "core/state.h"

void CreateSurface(Surface& s, int32_t width, int32_t height) {
    // Rows start on cache lines, so a glyph row of 64 bytes lands in one line.
    s.memory.assign(static_cast<size_t>(width) * static_cast<size_t>(height) + 16, 0);
    const auto address = reinterpret_cast<uintptr_t>(s.memory.data());
    s.pixels = s.memory.data() + (64 - address % 64) % 64 / sizeof(uint32_t);
    s.width = width;
    s.height = height;
    s.stride = width;
}

bool LoadGlyphSheet(Surface& s, const uint32_t* sheet, int width, int height) {
    if (sheet == nullptr || width != kGlyphSheetWidth || height != kGlyphSheetHeight) return false;
    CreateSurface(s, kGlyphSheetWidth * 2, kGlyphSheetHeight);
    for (int y = 0; y < kGlyphSheetHeight; ++y) {
        const uint32_t* from = sheet + y * width;
        uint32_t* to = s.pixels + y * s.stride;
        for (int x = 0; x < kGlyphSheetWidth; ++x) {
            const uint32_t rgb = from[x] & 0xFFFFFFu;
            to[2 * x] = rgb;
            to[2 * x + 1] = rgb;
        }
    }
    return true;
}

void TintSurface(Surface& s, uint32_t colour) {
    for (int32_t y = 0; y < s.height; ++y) {
        uint32_t* row = s.pixels + y * s.stride;
        for (int32_t x = 0; x < s.width; ++x) {
            if (row[x] & 0xFFFFFFu) row[x] = colour;
        }
    }
}

bool InitRenderer(Renderer& r, GameState& g, const uint32_t* sheet, int width, int height) {
    r.game = &g;
    if (!LoadGlyphSheet(r.screenGlyphs, sheet, width, height)) return false;
    LoadGlyphSheet(r.aboutGlyphs, sheet, width, height);
    TintSurface(r.aboutGlyphs, kAboutColour);
    return true;
}

void DrawGlyph(const Surface& glyphs, Surface& dest, int32_t x, int32_t y, uint8_t code) {
    const uint32_t* from = glyphs.pixels + code * kGlyphCellWidth;
    uint32_t* to = dest.pixels + y * dest.stride + x;
    for (int row = 0; row < kCellSize; ++row) {
        std::memcpy(to, from, kCellSize * sizeof(uint32_t));
        from += glyphs.stride;
        to += dest.stride;
    }
}

uint8_t MapBoxChar(char16_t c) {
    switch (c) {
        case u'═': return 0xCD;
        case u'║': return 0xBA;
        case u'╔': return 0xC9;
        case u'╗': return 0xBB;
        case u'╚': return 0xC8;
        case u'╝': return 0xBC;
        case u'╠': return 0xCC;
        case u'╣': return 0xB9;
        default: return static_cast<uint8_t>(c & 0xFF);
    }
}

const char* BuildDate() { return __DATE__; }

namespace {

constexpr char16_t kAboutTemplate[kAboutRows][kAboutColumns + 1] = {
    u"╔══════════════════════════╗",
    u"║                          ║",
    u"║        Grimspire         ║",
    u"║                          ║",
    u"╠══════════════════════════╣",
    u"║                          ║",
    u"║  Written By:             ║",
    u"║                          ║",
    u"║                          ║",
    u"║    The Grimspire Team    ║",
    u"║          2026            ║",
    u"║                          ║",
    u"║                          ║",
    u"║  Version:   1.0          ║",
    u"║                          ║",
    u"║                          ║",
    u"║  Built On:  MMM DD YYYY  ║",
    u"║                          ║",
    u"╚══════════════════════════╝",
};

constexpr bool AllRowsFull() {
    for (const auto& row : kAboutTemplate) {
        int n = 0;
        while (row[n] != 0) ++n;
        if (n != kAboutColumns) return false;
    }
    return true;
}
static_assert(AllRowsFull(), "every row of the About box is 28 characters wide");

constexpr int kDateRow = 16;
constexpr int kDateColumn = 14;
constexpr int kDateLength = 11;

}  // namespace

void BuildAboutBox(char16_t rows[kAboutRows][kAboutColumns + 1]) {
    std::memcpy(rows, kAboutTemplate, sizeof kAboutTemplate);
    const char* date = BuildDate();
    for (int i = 0; i < kDateLength && date[i] != '\0'; ++i) {
        rows[kDateRow][kDateColumn + i] = static_cast<char16_t>(static_cast<unsigned char>(date[i]));
    }
}

void DrawScreen(const Renderer& r, Surface& dest, int32_t x0, int32_t y0) {
    const GameState& g = *r.game;
    // Cells never overlap, so they are drawn in the order that suits the
    // destination's memory: along its rows.
    for (int row = 0; row < kScreenRows; ++row) {
        for (int column = 0; column < kScreenColumns; ++column) {
            DrawGlyph(r.screenGlyphs, dest, x0 + kCellSize * column, y0 + kCellSize * row,
                      CellAt(g, column, row));
        }
    }
    if (g.aboutShown == 0) return;
    char16_t box[kAboutRows][kAboutColumns + 1];
    BuildAboutBox(box);
    for (int k = 0; k < kAboutColumns; ++k) {
        for (int row = 0; row < kAboutRows; ++row) {
            DrawGlyph(r.aboutGlyphs, dest, x0 + kAboutLeft + kCellSize * k, y0 + kAboutTop + kCellSize * row,
                      MapBoxChar(box[row][k]));
        }
    }
}

void DrawSmallScreen(const Surface& glyphs, const uint8_t* screen, Surface& dest) {
    Surface full;
    CreateSurface(full, kPictureWidth, kPictureHeight);
    for (int row = 0; row < kScreenRows; ++row) {
        for (int column = 0; column < kScreenColumns; ++column) {
            DrawGlyph(glyphs, full, kCellSize * column, kCellSize * row, screen[column * kScreenRows + row]);
        }
    }
    CreateSurface(dest, kSmallWidth, kSmallHeight);
    for (int y = 0; y < kSmallHeight; ++y) {
        for (int x = 0; x < kSmallWidth; ++x) {
            uint32_t sums[4] = {};
            for (int dy = 0; dy < kSmallFactor; ++dy) {
                const uint32_t* from = full.pixels + (y * kSmallFactor + dy) * full.stride + x * kSmallFactor;
                for (int dx = 0; dx < kSmallFactor; ++dx) {
                    for (int b = 0; b < 4; ++b) sums[b] += from[dx] >> (8 * b) & 0xFFu;
                }
            }
            uint32_t pixel = 0;
            for (int b = 0; b < 4; ++b) pixel |= (sums[b] / (kSmallFactor * kSmallFactor)) << (8 * b);
            dest.pixels[y * dest.stride + x] = pixel;
        }
    }
}
