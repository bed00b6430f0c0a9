// SPDX-License-Identifier: GPL-3.0-or-later
// What a terminal prints for one cell of the 40 x 25 grid. A character cell of a
// terminal is about twice as tall as wide, so by default a grid cell takes two
// terminal columns, which keeps the castle's proportions; the narrow layout gives
// it one and squashes the map to half width.
#pragma once

#include <cstdint>
#include <string>

enum class Layout { Wide, Narrow };

constexpr int ColumnsPerCell(Layout layout) { return layout == Layout::Wide ? 2 : 1; }

// True for the code page 437 glyphs whose Unicode characters have East Asian
// ambiguous width: a terminal set to a CJK locale draws those two columns wide.
bool AmbiguousWidth(uint8_t code);

struct Glyphs {
    Layout layout = Layout::Wide;
    // The terminal draws ambiguous characters two columns wide.
    bool wideAmbiguous = false;
    // What the little man (code 0x05) is drawn as, as UTF-8; one column wide.
    std::string man = "@";
};

// The UTF-8 text for the cell, exactly ColumnsPerCell columns wide on the
// terminal the Glyphs describe.
std::string CellText(const Glyphs& glyphs, uint8_t code);
