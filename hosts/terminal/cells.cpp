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

namespace {

// The DEC line-drawing letters for the code page's lines (double lines become
// single) and shades, from 0xB0 on.
constexpr char kLineDrawing[] = "aaaxuuukkuxkjjjkmvwtqnttmlvwtqnvvwwmmllnnjl";

char LineDrawing(uint8_t code) {
    if (code >= 0xB0 && code < 0xB0 + sizeof kLineDrawing - 1) return kLineDrawing[code - 0xB0];
    switch (code) {
        case 0x04: return '`';  // diamond
        case 0x9C: return '}';  // pound
        case 0xE3: return '{';  // pi
        case 0xF1: return 'g';  // plus-minus
        case 0xF2: return 'z';
        case 0xF3: return 'y';
        case 0xF8: return 'f';  // degree
        case 0xF9: case 0xFA: return '~';
        default: return 0;
    }
}

// ASCII stand-ins for codes 0 to 0x1F and 0x7F to 0xFF, chosen to keep the
// things apart that the castle shows side by side.
constexpr char kLow[] = " o&v*@i.#o#mfdd*><|!PS=|^v><L-^v";
constexpr char kHigh[] =
    "^CueaaaaceeeiiiAAEaAooouuyOUcLYPfaiounNao?--24!<>:%#|++++++|+++++++++-++++++++=+++++++++++++#_##~"
    "aBGpSsutI0Od8fen=+><()/~o..vn2# ";
static_assert(sizeof kLow == 33 && sizeof kHigh == 130);

char StandIn(uint8_t code) { return code < 0x20 ? kLow[code] : code >= 0x7F ? kHigh[code - 0x7F] : char(code); }

std::string Legacy(const Glyphs& glyphs, const std::string& text) {
    std::u32string decoded;
    DecodeUtf8(text, &decoded);
    enum { Plain, Lines, Reverse } mode = Plain;
    std::string out;
    const auto set = [&](decltype(mode) m) {
        if (m == mode) return;
        out += mode == Lines ? "\x0f" : mode == Reverse ? "\x1b[27m" : "";
        out += m == Lines ? "\x0e" : m == Reverse ? "\x1b[7m" : "";
        mode = m;
    };
    for (const char32_t cp : decoded) {
        std::string bytes = cp < 0x80 ? std::string(1, static_cast<char>(cp)) : glyphs.encode ? glyphs.encode(cp) : "";
        if (!bytes.empty()) {
            set(Plain);
            out += bytes;
            continue;
        }
        bool known = false;
        const uint8_t code = UnicodeToCp437(cp, &known);
        // A full block is a reversed blank on any terminal.
        if (code == 0xDB) {
            set(Reverse);
            out += ' ';
        } else if (const char c = LineDrawing(code)) {
            set(Lines);
            out += c;
        } else {
            set(Plain);
            out += known ? StandIn(code) : '?';
        }
        // It stood for a character the terminal would have drawn over two columns.
        if (glyphs.wideAmbiguous && known && AmbiguousWidth(code)) out += ' ';
    }
    set(Plain);
    return out;
}


std::string UnicodeText(const Glyphs& glyphs, uint8_t code) {
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
}  // namespace

std::string CellText(const Glyphs& glyphs, uint8_t code) {
    std::string text = UnicodeText(glyphs, code);
    return glyphs.charset == Charset::Utf8 ? text : Legacy(glyphs, text);
}
