// SPDX-License-Identifier: GPL-3.0-or-later
#include "painter.h"

#include <cstdio>
#include <vector>

#include "picture.h"

namespace {

constexpr int kAboutColumn = kAboutLeft / kCellSize;
constexpr int kAboutRow = kAboutTop / kCellSize;

bool Blank(uint8_t code) { return code == 0 || code == 0x20; }

std::string MoveTo(int row, int column) {
    char text[32];
    std::snprintf(text, sizeof text, "\x1b[%d;%dH", row + 1, column + 1);
    return text;
}

int Left(const View& v) { return (v.columns - kScreenColumns * ColumnsPerCell(v.glyphs.layout)) / 2; }
int Top(const View& v, const Frame& f) { return (v.rows - f.rows) / 2; }

bool SameView(const View& a, const View& b) {
    return a.glyphs.layout == b.glyphs.layout && a.glyphs.wideAmbiguous == b.glyphs.wideAmbiguous &&
           a.glyphs.man == b.glyphs.man && a.glyphs.charset == b.glyphs.charset && a.colours == b.colours && a.scheme == b.scheme &&
           a.columns == b.columns && a.rows == b.rows;
}

// The background is set black, not left to the terminal's default, so that a
// light-themed terminal still shows a monitor.
std::string Background(ColourMode mode) {
    switch (mode) {
        case ColourMode::TrueColour: return "\x1b[48;2;0;0;0m";
        case ColourMode::Palette256: return "\x1b[48;5;16m";
        case ColourMode::Basic16: return "\x1b[40m";
        case ColourMode::None: break;
    }
    return {};
}

}  // namespace

Frame ComposeFrame(const GameState& g, int terminalRows) {
    uint8_t grid[kScreenRows][kScreenColumns];
    bool about[kScreenRows][kScreenColumns] = {};
    for (int y = 0; y < kScreenRows; ++y) {
        for (int x = 0; x < kScreenColumns; ++x) grid[y][x] = CellAt(g, x, y);
    }
    if (g.aboutShown) {
        char16_t box[kAboutRows][kAboutColumns + 1];
        BuildAboutBox(box);
        for (int r = 0; r < kAboutRows; ++r) {
            for (int k = 0; k < kAboutColumns; ++k) {
                grid[kAboutRow + r][kAboutColumn + k] = MapBoxChar(box[r][k]);
                about[kAboutRow + r][kAboutColumn + k] = true;
            }
        }
    }
    Frame f;
    int from = 0;
    if (terminalRows < kScreenRows) {
        f.rows = kScreenRows - 1;
        bool topBlank = true;
        for (int x = 0; x < kScreenColumns; ++x) topBlank = topBlank && Blank(grid[0][x]) && !about[0][x];
        if (topBlank) {
            from = 1;
        } else {
            for (int x = 0; x < kScreenColumns; ++x) {
                if (!Blank(grid[kScreenRows - 1][x])) grid[kScreenRows - 2][x] = grid[kScreenRows - 1][x];
            }
        }
    }
    for (int y = 0; y < f.rows; ++y) {
        for (int x = 0; x < kScreenColumns; ++x) {
            f.code[y][x] = grid[from + y][x];
            f.about[y][x] = about[from + y][x];
        }
    }
    return f;
}

bool FitsGrid(const View& v) {
    return v.columns >= kScreenColumns * ColumnsPerCell(v.glyphs.layout) && v.rows >= kScreenRows - 1;
}

std::string Painter::Colour(const View& v, bool about) const {
    const uint32_t rgb = about ? kAboutColour : v.scheme;
    char text[32];
    switch (v.colours) {
        case ColourMode::TrueColour:
            std::snprintf(text, sizeof text, "\x1b[38;2;%u;%u;%um", rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF);
            return text;
        case ColourMode::Palette256:
            std::snprintf(text, sizeof text, "\x1b[38;5;%dm",
                          about ? 226 : rgb == kGreenColour ? 46 : rgb == kAmberColour ? 214 : 248);
            return text;
        case ColourMode::Basic16:
            std::snprintf(text, sizeof text, "\x1b[%dm",
                          about ? 93 : rgb == kGreenColour ? 92 : rgb == kAmberColour ? 33 : 37);
            return text;
        case ColourMode::None: return rgb == kGrayColour ? "\x1b[22m" : "\x1b[1m";
    }
    return {};
}

std::string Painter::Paint(const Frame& frame, const View& view) {
    std::string out;
    const bool whole = !valid_ || !SameView(view, shownView_) || frame.rows != shown_.rows;
    if (whole) {
        out += "\x1b[0m" + Background(view.colours) + Colour(view, false) + "\x1b[2J";
        if (view.glyphs.charset == Charset::Legacy) out += "\x1b)0";  // the line-drawing set as G1
        colour_ = 0;
    }
    const int left = Left(view);
    const int top = Top(view, frame);
    const int width = ColumnsPerCell(view.glyphs.layout);
    for (int y = 0; y < frame.rows; ++y) {
        int cursor = -1;  // the column the terminal's cursor stands at on this row, if known
        for (int x = 0; x < kScreenColumns; ++x) {
            const uint8_t code = frame.code[y][x];
            const bool about = frame.about[y][x];
            if (!whole && code == shown_.code[y][x] && about == shown_.about[y][x]) continue;
            if (cursor != x) out += MoveTo(top + y, left + x * width);
            if (colour_ != (about ? 1 : 0)) {
                out += Colour(view, about);
                colour_ = about ? 1 : 0;
            }
            out += CellText(view.glyphs, code);
            cursor = x + 1;
        }
    }
    shown_ = frame;
    shownView_ = view;
    valid_ = true;
    return out;
}

std::string Painter::PaintTooSmall(const View& view) {
    valid_ = false;
    colour_ = 0;
    const int needColumns = kScreenColumns * ColumnsPerCell(view.glyphs.layout);
    char size[96];
    std::snprintf(size, sizeof size, "Grimspire needs %d x %d; this terminal is %d x %d.", needColumns,
                  kScreenRows - 1, view.columns, view.rows);
    std::vector<std::string> sentences = {size};
    View narrow = view;
    narrow.glyphs.layout = Layout::Narrow;
    if (FitsGrid(narrow)) sentences.push_back("Started with --narrow it would fit.");
    sentences.push_back("The game waits until it is larger.");
    sentences.push_back("Ctrl-Q ends it.");
    std::string out = "\x1b[0m" + Background(view.colours) + Colour(view, false) + "\x1b[2J";
    // Each sentence on lines of its own, broken between words; a word longer
    // than the terminal is wide is cut.
    int row = 0;
    for (const std::string& sentence : sentences) {
        std::string line;
        size_t at = 0;
        while (at < sentence.size() && row < view.rows) {
            size_t end = sentence.find(' ', at);
            if (end == std::string::npos) end = sentence.size();
            const std::string word = sentence.substr(at, end - at);
            at = end + 1;
            if (!line.empty() && line.size() + 1 + word.size() > static_cast<size_t>(view.columns)) {
                out += MoveTo(row++, 0) + line;
                line.clear();
            }
            line += (line.empty() ? "" : " ") + word.substr(0, static_cast<size_t>(view.columns));
        }
        if (row < view.rows) out += MoveTo(row++, 0) + line;
    }
    return out;
}
