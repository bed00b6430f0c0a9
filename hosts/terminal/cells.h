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

// A UTF-8 terminal shows every glyph; any other shows what its locale's
// character set has, lines from the terminal's own line-drawing set, and ASCII
// stand-ins for the rest.
enum class Charset { Utf8, Legacy };

struct Glyphs {
    Layout layout = Layout::Wide;
    // The terminal draws ambiguous characters two columns wide.
    bool wideAmbiguous = false;
    // What the little man (code 0x05) is drawn as, as UTF-8; one column wide.
    std::string man = "@";
    Charset charset = Charset::Utf8;
    // Legacy: the locale's bytes for a character, empty when it has none.
    std::string (*encode)(char32_t) = nullptr;
};

// The text for the cell, exactly ColumnsPerCell columns wide on the terminal the
// Glyphs describe: UTF-8, or the locale's bytes with the line-drawing set
// shifted in (SO, the G1 set, which must hold it) and out again.
std::string CellText(const Glyphs& glyphs, uint8_t code);
