// SPDX-License-Identifier: GPL-3.0-or-later
// The key decoder and the glyph doubling, as tables: bytes in, keys out; a code
// in, the terminal's two columns out. (The 24-row fold: tests/scenarios/golden.)
#include <gtest/gtest.h>

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

TEST(TerminalKeys, DecodesEveryFormToTheGamesKeys) {
    const struct {
        const char* bytes;
        const char* keys;
    } table[] = {
        {"gEt k;[?", "71 69 84 32 75 186 219 191"},
        {"\r\n\x7f\x08\t", "13 13 8 8 9"},
        {"0123456789!", "48 97 98 99 100 53 102 103 104 105 49"},  // the keypad's; shifted, a digit

        {"\xc3\xa9x", "88"},  // é has no key of its own on a US keyboard
        {"\x1b[A\x1b[B\x1b[C\x1b[D", "38 40 39 37"},
        {"\x1bOA\x1bOD\x1b[1;2C", "38 37 39"},
        {"\x1bOp\x1bOq\x1bOu\x1bOw\x1bOy\x1bOM\x1bOk", "96 97 101 103 105 13 107"},
        {"\x1b[H\x1b[F\x1b[1~\x1b[4~\x1b[7~\x1b[8~\x1b[5~\x1b[6~\x1b[E", "103 97 103 97 103 97 105 99 12"},
        {"\x1bOP\x1bOQ\x1b[15~\x1b[17~\x1b[18~", "112 113 116 117 118"},  // xterm
        {"\x1b[11~\x1b[12~\x1b[13~", "112 113 114"},                             // rxvt
        {"\x1b[[A\x1b[[B\x1b[[E", "112 113 116"},                             // Linux console
        {"\x11", "Quit"},
        {"\x1b", "27"},
        {"\x1bx\x1b\x1b", "27 27"},  // Alt+x reaches nothing; Esc Esc is two Escs
        {"\x1b[12;3R\x1b[?1u\x1b[?62;22c", "At12,3 Kitty DA"},
        {"\x1b[99;9z\x1b[>1;2c\x1b]11;rgb:0/0/0\a", ""},  // sequences nobody asked for vanish whole
        {"\x1b]4;214;rgb:ffff/afaf/0000\x1b\\x", "Palette 88"},
    };
    for (const auto& row : table) EXPECT_EQ(Decode(row.bytes), row.keys) << "bytes: " << row.bytes + 0;
}

TEST(TerminalKeys, KittyProtocolTellsPressesFromRepeatsAndReleases) {
    const struct {
        const char* bytes;
        const char* keys;
    } table[] = {
        {"\x1b[97u\x1b[97;1:2u\x1b[97;1:3u", "65/0 65/1"},
        {"\x1b[1;1:2C\x1b[1;1:3C\x1b[5;1:2~", "39/1 105/1"},
        {"\x1b[13u\x1b[127u\x1b[57400u\x1b[57417u\x1b[57423u\x1b[57441u", "13/0 8/0 97/0 37/0 103/0 16/0"},
        {"\x1b[113;5u\x1b[99;5u\x1b[122;5u\x1b[120;5u\x1b[97;3u", "Quit Quit Suspend"},
        {"\x1b[P\x1b[1;1:2Q", "112/0 113/1"},
        {"\x1b[55u\x1b[55;2u\x1b[57406u\x1b[57423u", "103/0 55/0 103/0 103/0"},
    };
    for (const auto& row : table) EXPECT_EQ(Decode(row.bytes, true), row.keys) << "bytes: " << row.bytes + 1;
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
