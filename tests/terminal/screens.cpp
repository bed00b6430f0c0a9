// SPDX-License-Identifier: GPL-3.0-or-later
// What grimspire-term should show: the core's own screen after the same seed and
// keys, in the wide layout, fitted to the terminal's rows, the cursor blank.
//   terminal-screens [--narrow] SEED ROWS [KEYS]...   KEYS: Enter, Right, Left,
//   Up, Down, F1 (the About box), digits (the keypad, as the terminal takes
//   them), or letters and blanks to type.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cells.h"
#include "core/core.h"
#include "fake_ports.h"
#include "painter.h"

int main(int argc, char** argv) {
    Glyphs glyphs;
    if (argc > 1 && std::string(argv[1]) == "--narrow") {
        glyphs.layout = Layout::Narrow;
        ++argv, --argc;
    }
    if (argc < 3) return 2;
    static GameState g{};
    fake::State().tickCount = static_cast<uint32_t>(std::strtoul(argv[1], nullptr, 10));
    InitGameState(g);
    for (int i = 3; i < argc; ++i) {
        const std::string key = argv[i];
        const char* names[] = {"Left", "Up", "Right", "Down"};
        bool named = false;
        for (uint32_t k = 0; k < 4; ++k) {
            if (key == names[k]) HandleKey(g, VK_LEFT + k, 0), named = true;
        }
        if (key == "Enter") HandleKey(g, VK_RETURN, 0), named = true;
        if (key == "F1") g.aboutShown = !g.aboutShown, named = true;
        for (size_t c = 0; !named && c < key.size(); ++c) {
            const auto k = static_cast<unsigned char>(key[c]);
            HandleKey(g, std::isdigit(k) ? VK_NUMPAD0 + (k - '0') : static_cast<uint32_t>(std::toupper(k)), 0);
        }
    }
    g.cursorOn = 0;
    EchoCommandLine(g);
    const Frame f = ComposeFrame(g, std::atoi(argv[2]));
    for (int y = 0; y < f.rows; ++y) {
        std::string line;
        for (int x = 0; x < kScreenColumns; ++x) line += CellText(glyphs, f.code[y][x]);
        while (!line.empty() && line.back() == ' ') line.pop_back();
        std::printf("%s\n", line.c_str());
    }
    return 0;
}
