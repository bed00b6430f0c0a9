// SPDX-License-Identifier: GPL-3.0-or-later
// The key decoder and the glyph doubling, as tables: bytes in, keys out; codes
// in, the terminal's columns out. (The 24-row fold: tests/scenarios/golden.)
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cells.h"
#include "core/core.h"
#include "keys.h"

namespace {

// Every input the reads decode to, as "vk" or "vk/repeat" or a command's name; each
// read drained as far as it goes, the last one flushed.
std::string Decode(const std::vector<std::string>& reads, bool kitty) {
    KeyDecoder d;
    d.SetKitty(kitty);
    std::string out;
    for (size_t r = 0; r < reads.size(); ++r) {
        d.Feed(reads[r]);
        while (auto in = d.Next(r + 1 == reads.size())) {
            if (!out.empty()) out += ' ';
            // In the order of InputKind.
            static const char* const kNames[] = {"", "Quit", "Suspend", "At", "Kitty", "DA", "Palette"};
            out += kNames[static_cast<int>(in->kind)];
            if (in->kind == InputKind::Key) out += std::to_string(in->vk);
            if (in->repeat >= 0) out += "/" + std::to_string(in->repeat);
            if (in->kind == InputKind::CursorReport) out += std::to_string(in->row) + "," + std::to_string(in->column);
        }
    }
    return out;
}

// Each code's text, in brackets, under the glyphs a row of table.txt names.
std::string Cells(std::istringstream words) {
    std::string mode, hex, text;
    Glyphs g;
    words >> mode >> g.man;
    g.layout = mode.ends_with("narrow") ? Layout::Narrow : Layout::Wide;
    g.wideAmbiguous = mode.starts_with("cjk");
    while (words >> hex) text += "[" + CellText(g, static_cast<uint8_t>(std::stoi(hex, nullptr, 16))) + "]";
    return text;
}

TEST(TerminalTable, EveryRowHolds) {
    std::ifstream in(GRIMSPIRE_TERMINAL_TABLE);
    int number = 0, rows = 0;
    for (std::string line; std::getline(in, line); ++number) {
        const size_t bar = line.find(" |");
        if (line.empty() || line[0] == '#' || bar == std::string::npos) continue;
        const std::string expected = line.substr(std::min(bar + 3, line.size()));
        ++rows;
        if (line.starts_with("cells ")) {
            EXPECT_EQ(Cells(std::istringstream(line.substr(6, bar - 6))), expected) << "table.txt:" << number + 1;
            continue;
        }
        const bool kitty = line.starts_with("kitty ");
        std::vector<std::string> reads(1);
        for (size_t i = kitty ? 6 : 0; i < bar; ++i) {
            const char c = line[i], next = i + 1 < bar ? line[i + 1] : '\\';
            if (c != '\\') reads.back() += c;
            else if (next == '.') reads.emplace_back(), ++i;
            else if (next == 'x') reads.back() += static_cast<char>(std::stoi(line.substr(i + 2, 2), nullptr, 16)), i += 3;
            else reads.back() += std::string("\x1b\r\n\t\a\\").at(std::string("ernta\\").find(next)), ++i;
        }
        EXPECT_EQ(Decode(reads, kitty), expected) << "table.txt:" << number + 1;
    }
    EXPECT_EQ(rows, 31);
    int ambiguous = 0;
    for (int code = 0; code < 256; ++code) ambiguous += AmbiguousWidth(static_cast<uint8_t>(code));
    EXPECT_EQ(ambiguous, 112);
}

// A terminal that is not UTF-8: what its locale has (here Latin-1), lines from
// its line-drawing set, full blocks reversed, ASCII for the rest; every code in
// exactly its columns, with no byte the locale cannot show.
TEST(TerminalCells, ALegacyLocaleGetsItsOwnBytesLinesAndStandIns) {
    Glyphs g;
    g.charset = Charset::Legacy;
    g.encode = [](char32_t cp) { return cp < 0x100 ? std::string(1, static_cast<char>(cp)) : std::string(); };
    EXPECT_EQ(CellText(g, 0xC9) + CellText(g, 0xCD) + CellText(g, 0xB1) + CellText(g, 0x9B) + CellText(g, 0x03) +
                  CellText(g, 0xDB) + CellText(g, 0x05),
              "\x0elq\x0f\x0eqq\x0f\x0e" "aa\x0f\xa2 v \x1b[7m  \x1b[27m@ ");
    for (const bool ascii : {false, true}) {
        if (ascii) g.encode = [](char32_t) { return std::string(); };
        for (int cell = 0; cell < 512; ++cell) {
            g.layout = cell < 256 ? Layout::Wide : Layout::Narrow;
            const std::string text = CellText(g, static_cast<uint8_t>(cell));
            int columns = 0;
            for (size_t i = 0; i < text.size(); ++i) {
                const auto c = static_cast<unsigned char>(text[i]);
                if (c == 0x1b) i = text.find('m', i);  // reverse on and off
                else if (c >= 0x20 && c != 0x7f) ++columns;
                ASSERT_TRUE(c < 0x80 || (c >= 0xA0 && !ascii)) << cell;
            }
            EXPECT_EQ(columns, ColumnsPerCell(g.layout)) << "code " << cell % 256;
        }
    }
}

}  // namespace
