// SPDX-License-Identifier: GPL-3.0-or-later
// The key decoder and the glyph doubling, as tables: bytes in, keys out; a code
// in, the terminal's two columns out. (The 24-row fold: tests/scenarios/golden.)
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "cells.h"
#include "core/core.h"
#include "keys.h"

namespace {

// Every input the bytes decode to, flushed, as "vk" or "vk/repeat" or a command's name.
std::string Decode(const std::string& bytes, bool kitty = false) {
    KeyDecoder d;
    d.SetKitty(kitty);
    d.Feed(bytes);
    std::string out;
    while (auto in = d.Next(true)) {
        if (!out.empty()) out += ' ';
        // In the order of InputKind.
        static const char* const kNames[] = {"", "Quit", "Suspend", "At", "Kitty", "DA", "Palette"};
        out += kNames[static_cast<int>(in->kind)];
        if (in->kind == InputKind::Key) out += std::to_string(in->vk);
        if (in->repeat >= 0) out += "/" + std::to_string(in->repeat);
        if (in->kind == InputKind::CursorReport) out += std::to_string(in->row) + "," + std::to_string(in->column);
    }
    return out;
}

// The table of keys.txt, line by line.
TEST(TerminalKeys, DecodesEveryFormToTheGamesKeys) {
    std::ifstream in(GRIMSPIRE_TERMINAL_KEYS);
    int number = 0, rows = 0;
    for (std::string line; std::getline(in, line); ++number) {
        const size_t bar = line.find(" |");
        if (line.empty() || line[0] == '#' || bar == std::string::npos) continue;
        const bool kitty = line.rfind("kitty ", 0) == 0;
        std::string bytes;
        for (size_t i = kitty ? 6 : 0; i < bar; ++i) {
            const char c = line[i], next = i + 1 < bar ? line[i + 1] : '\\';
            if (c != '\\') bytes += c;
            else if (next == 'x') bytes += static_cast<char>(std::stoi(line.substr(i + 2, 2), nullptr, 16)), i += 3;
            else bytes += std::string("\x1b\r\n\t\a\\").at(std::string("ernta\\").find(next)), ++i;
        }
        EXPECT_EQ(Decode(bytes, kitty), line.substr(std::min(bar + 3, line.size()))) << "keys.txt:" << number + 1;
        ++rows;
    }
    EXPECT_EQ(rows, 23);
}

TEST(TerminalKeys, ASequenceSplitAcrossReadsWaitsForItsEnd) {
    KeyDecoder d;
    d.Feed("\x1b[");
    EXPECT_FALSE(d.Next());
    d.Feed("1");
    EXPECT_FALSE(d.Next());
    d.Feed("5~");
    const auto in = d.Next();
    ASSERT_TRUE(in);
    EXPECT_EQ(in->vk, 116u);
}

TEST(TerminalCells, EachCodeTakesItsColumns) {
    const Glyphs wide;
    const struct {
        uint8_t code;
        const char* text;
    } table[] = {
        {'A', "A "}, {0, "  "}, {0x20, "  "}, {0xFF, "  "}, {0x05, "@ "}, {'_', "__"},
        {0xC4, "──"}, {0xDA, "┌─"}, {0xC5, "┼─"}, {0xB3, "│ "}, {0xBF, "┐ "}, {0xD9, "┘ "},
        {0xCD, "══"}, {0xC9, "╔═"}, {0xCE, "╬═"}, {0xBA, "║ "}, {0xBB, "╗ "}, {0xBC, "╝ "},
        {0xB0, "░░"}, {0xB1, "▒▒"}, {0xB2, "▓▓"}, {0xDB, "██"}, {0xDC, "▄▄"}, {0xDF, "▀▀"},
        {0xDD, "█ "}, {0xDE, " █"}, {0x9B, "¢ "}, {0x03, "♥ "},
    };
    for (const auto& row : table) EXPECT_EQ(CellText(wide, row.code), row.text) << "code " << int{row.code};

    Glyphs narrow;
    narrow.layout = Layout::Narrow;
    narrow.man = "\u263a";
    EXPECT_EQ(CellText(narrow, 0xC9) + CellText(narrow, 0x05) + CellText(narrow, 0) + CellText(narrow, 0xDD), "╔☺ ▌");
    // A terminal that draws the lines wide gets them alone, or plain in one column.
    Glyphs cjk;
    cjk.wideAmbiguous = true;
    cjk.man = "\u2663";
    EXPECT_EQ(CellText(cjk, 0xC4) + CellText(cjk, 0xDD) + CellText(cjk, 'A') + CellText(cjk, 0x05), "─▌A ♣");
    cjk.layout = Layout::Narrow;
    EXPECT_EQ(CellText(cjk, 0xC4) + CellText(cjk, 0xBA) + CellText(cjk, 0xC9) + CellText(cjk, 0xB2), "-|+#");
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
