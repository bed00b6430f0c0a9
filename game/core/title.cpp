// SPDX-License-Identifier: GPL-3.0-or-later
// The title picture, the instruction page and the start of a new game.
#include <cstring>

#include "core/core.h"
#include "world/world.h"

namespace {

// The castle, drawn as it looks; FillScreen turns the block characters into their codes.
constexpr const char* kTitleRows[kScreenRows] = {
    "                                        ",
    "           Grimspire                    ",
    "                                        ",
    "                                        ",
    "    █ █ █ █                 █ █ █ █     ",
    "    ▓▓▓▓▓▓▓                 ▓▓▓▓▓▓▓     ",
    "     ▓▓▓▓▓                   ▓▓▓▓▓      ",
    "     ▓▓▓▓▓ ▄▄ ▄▄ ▄▄ ▄▄ ▄▄ ▄▄ ▓▓▓▓▓      ",
    "     ▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓      ",
    "     ▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓      ",
    "     ▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓      ",
    "       ▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓        ",
    "       ▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓        ",
    "       ▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓        ",
    "       ▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓        ",
    "       ▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓        ",
    "       ▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓        ",
    "       ▓▓▓▓▓▓▓▓▓▓█████▓▓▓▓▓▓▓▓▓▓        ",
    "       ▓▓▓▓▓▓▓▓▓▓█┼┼┼█▓▓▓▓▓▓▓▓▓▓        ",
    "       ▓▓▓▓▓▓▓▓▓▓█┼┼┼█▓▓▓▓▓▓▓▓▓▓        ",
    "       ▓▓▓▓▓▓▓▓▓▓█┼┼┼█▓▓▓▓▓▓▓▓▓▓        ",
    "       ▓▓▓▓▓▓▓▓▓▓█┼┼┼█▓▓▓▓▓▓▓▓▓▓        ",
    "_______________________________________ ",
    "                                        ",
    "  P - to play    I - for instructions   ",
};

constexpr const char* kInstructionRows[kScreenRows] = {
    "",
    "",
    "   You are trapped in a deserted Castle",
    "and you must escape. It is rumored that",
    "the  castle is  full of treasures.  Can",
    "you find them all?",
    "",
    " Use the cursor keypad to move your man",
    "around the rooms.  To pick up a visible",
    "item,  just run into it.  To pick up an",
    "item not displayed  on  the screen, use",
    "the command  GET.  To  attack  monsters",
    "just  run  into  them,  but only if you",
    "have a weapon.The computer accepts most",
    "two word commands. There are 83 rooms &",
    "13 treasures.  To  see the High Score ,",
    "look at the wall in the courtyard.",
    "",
    " one hint:Look at everything carefully!",
    "",
    " To save a game type   SAVE filename",
    " To load a game type   LOAD filename",
    "",
    "",
    "  P - to play    I - for instructions",
};

// Reads one UTF-8 character; the picture uses only ASCII and four block characters.
uint8_t NextCode(const char*& p) {
    const auto b = static_cast<unsigned char>(*p);
    if (b < 0x80) {
        ++p;
        return b;
    }
    char32_t cp = 0;
    int extra = 0;
    if ((b & 0xE0) == 0xC0) {
        cp = b & 0x1Fu;
        extra = 1;
    } else if ((b & 0xF0) == 0xE0) {
        cp = b & 0x0Fu;
        extra = 2;
    } else {
        cp = b & 0x07u;
        extra = 3;
    }
    ++p;
    for (int i = 0; i < extra && *p != '\0'; ++i, ++p) {
        cp = (cp << 6) | (static_cast<unsigned char>(*p) & 0x3Fu);
    }
    switch (cp) {
        case U'\u2588': return 0xDB;
        case U'\u2593': return 0xB2;
        case U'\u2584': return 0xDC;
        case U'\u253C': return 0xC5;
        default: return static_cast<uint8_t>(cp & 0xFF);
    }
}

void FillScreen(GameState& g, const char* const* rows) {
    for (int y = 0; y < kScreenRows; ++y) {
        const char* p = rows[y];
        for (int x = 0; x < kScreenColumns; ++x) {
            Cell(g, x, y) = (*p != '\0') ? NextCode(p) : 0x20;
        }
    }
}

}  // namespace

void ShowTitle(GameState& g) {
    FillScreen(g, kTitleRows);
    PlayCue(g, CUE_TITLE, 0);
}

void ShowInstructions(GameState& g) { FillScreen(g, kInstructionRows); }

void NewGame(GameState& g) {
    SetUpItems(g);
    SetUpMonsters(g);
    g.strength = 100;
    g.playedSinceSave = 0;
    g.commandLine[0] = '\0';
    g.verb[0] = '\0';
    g.noun[0] = '\0';
    g.cursorOn = 0;
    g.messageShown = 0;
    g.whatTicks = 0;
    // Room 0 is never a refused passage, whatever room the last game ended in.
    EnterRoom(g, 0);
    g.playerColumn = 14;
    g.playerRow = 14;
    g.facing = 0;
    Cell(g, 14, 14) = 0x05;
    g.flaskHasWater = 0;
    g.waterDrunk = 0;
    g.trapSprung = 0;
    g.keyRepeat = 0;
    g.holdRepeat = 0;
    g.blowToggle = 0;
    g.escaped = 0;
    g.awaitingKey = 0;
    g.aboutShown = 0;
    g.doorLocked67 = 1;
    g.doorLocked81 = 1;
}
