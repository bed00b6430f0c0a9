// SPDX-License-Identifier: GPL-3.0-or-later
// The screen grid's text output: messages, the prompt line and the name line.
#include <cstring>

#include "core/core.h"

namespace {

constexpr int kMessageColumn = 25;
constexpr int kMessageRow = 12;
constexpr int kMessageWidth = 15;
constexpr int kMessageLines = 7;

}  // namespace

void PutText(GameState& g, const char* text, int32_t column, int32_t row) {
    if (row < 0 || row >= kScreenRows) return;
    for (int32_t x = column; *text != '\0' && x < kScreenColumns; ++text, ++x) {
        if (x >= 0) Cell(g, x, row) = static_cast<uint8_t>(*text);
    }
}

void ShowMessage(GameState& g, const char* text, int32_t line, int32_t literal) {
    g.messageShown = 1;
    if (line < 0 || line >= kMessageLines) return;
    if (line == 0) {
        for (int x = kMessageColumn; x < kMessageColumn + kMessageWidth; ++x) {
            for (int y = kMessageRow; y < kMessageRow + kMessageLines; ++y) Cell(g, x, y) = 0;
        }
    }
    const int row = kMessageRow + line;
    int k = 0;
    for (const char* p = text; *p != '\0' && k < kMessageWidth; ++p) {
        if (*p == '*' && !literal) {
            for (const char* n = g.noun; *n != '\0' && k < kMessageWidth; ++n, ++k) {
                Cell(g, kMessageColumn + k, row) = static_cast<uint8_t>(*n);
            }
        } else {
            Cell(g, kMessageColumn + k, row) = static_cast<uint8_t>(*p);
            ++k;
        }
    }
}

void ClearScreen(GameState& g) { std::memset(g.screen, 0, sizeof g.screen); }

void EchoCommandLine(GameState& g) {
    if (g.mode != Play) return;
    for (int x = 25; x < 40; ++x) Cell(g, x, 22) = 0;
    if (g.whatTicks > 0) {
        PutText(g, "What???", 25, 24);
        return;
    }
    PutText(g, "       ", 25, 24);
    Cell(g, 25, 22) = 0x3F;
    const int n = static_cast<int>(strnlen(g.commandLine, kCommandMax));
    for (int i = 0; i < n; ++i) Cell(g, 26 + i, 22) = static_cast<uint8_t>(g.commandLine[i]);
    if (n < kCommandMax) Cell(g, 26 + n, 22) = g.cursorOn ? 0x5F : 0x20;
}

void EchoName(GameState& g) {
    for (int x = 20; x < 35; ++x) Cell(g, x, 15) = 0;
    const int n = static_cast<int>(strnlen(g.entryName, kNameMax));
    for (int i = 0; i < n; ++i) Cell(g, 20 + i, 15) = static_cast<uint8_t>(g.entryName[i]);
    if (n < kNameMax) Cell(g, 20 + n, 15) = g.cursorOn ? 0x5F : 0x20;
}

void BlinkTick(GameState& g) {
    if (g.mode == Play) {
        if (g.strength < 0) return;
        g.cursorOn = !g.cursorOn;
        if (g.whatTicks > 0) --g.whatTicks;
        EchoCommandLine(g);
    } else if (g.mode == NameEntry) {
        g.cursorOn = !g.cursorOn;
        EchoName(g);
    }
}
