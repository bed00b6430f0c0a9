// SPDX-License-Identifier: GPL-3.0-or-later
#include "cells.h"

#include "core/cp437.h"

namespace {

// One bit per code, from the Unicode Character Database's EastAsianWidth.txt
// (Unicode 14) applied to the code page's table: 112 codes, every line and block
// among them.
constexpr uint32_t kAmbiguous[8] = {
    0xFF343AE8, 0x00000000, 0x00000000, 0x00000000,
    0x00A62526, 0xFFFE39CF, 0xBFFFFFFF, 0x7DCFFFBF,
};

std::string Utf8(char32_t cp) {
    std::string s;
    AppendUtf8(s, cp);
    return s;
}

// The right-hand column of a wide cell continues a line or block that runs
// through the cell, so that walls stay unbroken; anything else stands alone.
std::string RightHalf(uint8_t code) {
    switch (code) {
        case 0xC4: case 0xC0: case 0xDA: case 0xC1: case 0xC2: case 0xC3: case 0xC5:
            return "\u2500";  // ─
        case 0xCD: case 0xC8: case 0xC9: case 0xCA: case 0xCB: case 0xCC: case 0xCE:
            return "\u2550";  // ═
        case 0xB0: case 0xB1: case 0xB2: case 0xDB: case 0xDC: case 0xDF: case '_':
            return Utf8(Cp437ToUnicode(code));
        default:
            return " ";
    }
}

// One-column stand-ins for a terminal that draws the code page's lines two
// columns wide, where the narrow layout has no room for them.
char Plain(uint8_t code) {
    if (code >= 0xB0 && code <= 0xB2) return '#';
    if (code >= 0xDB && code <= 0xDF) return '#';
    switch (code) {
        case 0xB3: case 0xBA: return '|';
        case 0xC4: return '-';
        case 0xCD: return '=';
        default: break;
    }
    if (code >= 0xB4 && code <= 0xDA) return '+';
    return '?';
}

}  // namespace

bool AmbiguousWidth(uint8_t code) { return (kAmbiguous[code / 32] >> (code % 32)) & 1u; }

std::string CellText(const Glyphs& glyphs, uint8_t code) {
    const bool wide = glyphs.layout == Layout::Wide;
    if (code == 0x05) {
        // A man chosen from the code page's own pictures may be drawn wide too.
        std::u32string man;
        bool known = false;
        const uint8_t manCode = DecodeUtf8(glyphs.man, &man) && man.size() == 1 ? UnicodeToCp437(man[0], &known) : 0;
        if (glyphs.wideAmbiguous && known && AmbiguousWidth(manCode)) return wide ? glyphs.man : "@";
        return wide ? glyphs.man + " " : glyphs.man;
    }
    const char32_t cp = Cp437ToUnicode(code);
    if (cp == 0 || cp == 0xA0 || code == 0x20 || code == 0x0A) return wide ? "  " : " ";
    if (!glyphs.wideAmbiguous || !AmbiguousWidth(code)) {
        if (!wide) return Utf8(cp);
        // The half blocks become a full block in the half they fill.
        if (code == 0xDD) return "\u2588 ";
        if (code == 0xDE) return " \u2588";
        return Utf8(cp) + RightHalf(code);
    }
    // This terminal draws the glyph over two columns by itself.
    return wide ? Utf8(cp) : std::string(1, Plain(code));
}
