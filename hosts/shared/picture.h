// SPDX-License-Identifier: GPL-3.0-or-later
// Turns the 40 x 25 grid into a 640 x 400 picture of 16 x 16 cells, through a
// glyph sheet baked in the scheme colour, with the About box drawn over it.
// Plain pixels, so every front-end draws the same picture.
#pragma once

#include <cstdint>
#include <vector>

struct GameState;

// A 32-bit pixel buffer: pixels are 0x00RRGGBB, rows top to bottom, `stride`
// pixels apart.
struct Surface {
    std::vector<uint32_t> memory;
    uint32_t* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t stride = 0;
};

constexpr int kGlyphSheetWidth = 2304;
constexpr int kGlyphSheetHeight = 16;
constexpr int kGlyphCellWidth = 18;  // a sheet glyph at twice its width; 16 columns show
constexpr int kCellSize = 16;
constexpr int kPictureWidth = 640;
constexpr int kPictureHeight = 400;

// The scheme colours as the menu applies them.
constexpr uint32_t kGrayColour = 0xA8A8A8;
constexpr uint32_t kGreenColour = 0x00FF00;
constexpr uint32_t kAmberColour = 0xFFBF00;
constexpr uint32_t kAboutColour = 0xFFFF00;

struct Renderer {
    GameState* game = nullptr;
    Surface screenGlyphs;
    Surface aboutGlyphs;
};

// (Re)creates the surface, all black.
void CreateSurface(Surface& s, int32_t width, int32_t height);
// Takes a decoded glyph sheet (2304 x 16 pixels, 0x00RRGGBB, black and one gray)
// at twice its width. False, leaving the surface alone, when the size is wrong.
bool LoadGlyphSheet(Surface& s, const uint32_t* sheet, int width, int height);
void TintSurface(Surface& s, uint32_t colour);
// Both glyph surfaces from one decoded sheet; false when it is not a sheet.
bool InitRenderer(Renderer& r, GameState& g, const uint32_t* sheet, int width, int height);

void DrawGlyph(const Surface& glyphs, Surface& dest, int32_t x, int32_t y, uint8_t code);
void DrawScreen(const Renderer& r, Surface& dest, int32_t x0, int32_t y0);

// A saved screen a quarter the size each way (160 x 100), each pixel the mean of
// the 4 x 4 it stands for, byte by byte, so it suits any pixel order.
constexpr int kSmallFactor = 4;
constexpr int kSmallWidth = kPictureWidth / kSmallFactor;
constexpr int kSmallHeight = kPictureHeight / kSmallFactor;
void DrawSmallScreen(const Surface& glyphs, const uint8_t* screen, Surface& dest);

constexpr int kAboutRows = 19;
constexpr int kAboutColumns = 28;
constexpr int kAboutLeft = 96;  // pixels, on the 640 x 400 picture
constexpr int kAboutTop = 48;
uint8_t MapBoxChar(char16_t c);
// The box's rows as drawn, the build date in place; each row ends in a zero.
void BuildAboutBox(char16_t rows[kAboutRows][kAboutColumns + 1]);
// The build date as the compiler writes it, for example "May  1 2012".
const char* BuildDate();
