// SPDX-License-Identifier: GPL-3.0-or-later
// Shared pieces of the item and creature verbs (private to game/commands).
#pragma once

#include <cstdint>
#include <initializer_list>

#include "core/state.h"

namespace actions {

// Item glyphs: each item's glyph is unique, so it names the item.
enum : uint8_t {
    GLYPH_LAMP = 0x06,
    GLYPH_HARP = 0x0E,
    GLYPH_NECKLACE = 0x15,
    GLYPH_BOOK = 0x16,
    GLYPH_WAND = 0xC4,
    GLYPH_SWORD = 0xC5,
    GLYPH_KEY = 0xE7,
    GLYPH_GLASSES = 0xEC,
    GLYPH_BALL = 0xF8,
    GLYPH_FLASK = 0x21,
    GLYPH_CROSS = 0x74,
    GLYPH_DIAMOND = 0x04,
    GLYPH_BARS = 0xF0,
    GLYPH_RUBYS = 0x3A,
    GLYPH_FIGURINE = 0x9D,
    GLYPH_SCEPTER = 0xE1,
    GLYPH_HOURGLASS = 0xE8,
    GLYPH_GEM = 0xE9,
    GLYPH_HELMET = 0x9B,
    GLYPH_GOLDBAR = 0xFE,
    GLYPH_GOBLET = 0xE6,
    GLYPH_CROWN = 0x7F,
};

// Monster glyphs that tell a kind apart.
enum : uint8_t {
    GLYPH_VAMPIRE = 0x05,
    GLYPH_FAIRY = 0xF6,
};

constexpr uint8_t kWall = 0xB2;

// Writes a reply as message lines 0, 1, 2 ...; a null entry leaves its line empty.
// The typed noun replaces each '*'.
void Reply(GameState& g, std::initializer_list<const char*> lines);
// Writes lines from the given first line on, without clearing the area.
void ReplyFrom(GameState& g, int32_t firstLine, std::initializer_list<const char*> lines);

// True when the item of that glyph is in the man's hands.
bool IsCarried(GameState& g, uint8_t glyph);
// A monster gone from sight: its cell shows the room map again.
void RemoveMonster(GameState& g, MonsterRecord& monster);

// The handlers, in the order the chain tries them.
void TryDropThrow(GameState& g);
void TryLookAtItem(GameState& g);
void TryWear(GameState& g);
void TryWave(GameState& g);
void TryShow(GameState& g);
void TryPlay(GameState& g);
void TryRead(GameState& g);
void TryDrink(GameState& g);
void TryPour(GameState& g);
void TryRubClean(GameState& g);
void TryLookAtMonster(GameState& g);
void TrySay(GameState& g);
void TryJump(GameState& g);
void TryClimb(GameState& g);
void TryEat(GameState& g);
void TryKill(GameState& g);
void TryPet(GameState& g);

}  // namespace actions
