// SPDX-License-Identifier: GPL-3.0-or-later
// Keeps a terminal showing the grid: works out where the grid stands on the
// terminal, and writes only the cells that changed since the last frame.
#pragma once

#include <cstdint>
#include <string>

#include "cells.h"
#include "core/state.h"

// None: the terminal's own colours (NO_COLOR), the brighter schemes in bold.
enum class ColourMode { TrueColour, Palette256, Basic16, None };

// Where a frame goes and how it looks.
struct View {
    Glyphs glyphs;
    ColourMode colours = ColourMode::Palette256;
    uint32_t scheme = 0xA8A8A8;  // 0x00RRGGBB, one of the three monitor colours
    int columns = 80;            // the terminal's size
    int rows = 25;
};

// The grid as the terminal shows it: 25 rows, or 24 on a terminal of 24 rows,
// which lose row 0 when it is blank (the title, instructions and end screens)
// and otherwise take row 24 into row 23, which is empty where row 24 has text
// in play ("What???", the press-any-key line after a death).
struct Frame {
    int rows = kScreenRows;
    uint8_t code[kScreenRows][kScreenColumns] = {};
    bool about[kScreenRows][kScreenColumns] = {};  // drawn in the About box's yellow
};

// The grid of the game with the About box over it when it is shown, fitted to
// the rows the terminal has.
Frame ComposeFrame(const GameState& g, int terminalRows);

// Too small for the grid: the notice stands instead and the game waits.
bool FitsGrid(const View& v);

class Painter {
public:
    // The bytes that bring the terminal from what it showed to this frame.
    std::string Paint(const Frame& frame, const View& view);
    // The notice on a terminal too small for the grid, wrapped to its width.
    std::string PaintTooSmall(const View& view);
    // Whatever the terminal shows now is unknown: the next frame is drawn whole.
    void Invalidate() { valid_ = false; }

private:
    std::string Colour(const View& v, bool about) const;
    bool valid_ = false;
    View shownView_;
    Frame shown_;
    int colour_ = -1;  // the foreground now set: 0 the scheme, 1 the About box
};
