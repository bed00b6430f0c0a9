// SPDX-License-Identifier: GPL-3.0-or-later
// The glyph sheet from its GIF file, for front-ends whose platform has no GIF
// reader to hand.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct GameState;
struct Renderer;

// The sheet's pixels as 0x00RRGGBB; false for anything that is not a GIF.
bool DecodeGlyphSheet(const uint8_t* gif, size_t size, std::vector<uint32_t>& pixels, int& width, int& height);
// Decodes the sheet and sets up the renderer from it.
bool InitRendererFromGif(Renderer& r, GameState& g, const uint8_t* gif, size_t size);
