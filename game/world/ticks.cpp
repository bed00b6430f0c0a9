// SPDX-License-Identifier: GPL-3.0-or-later
// The world between key presses: floods and the chasing monster.
#include <cstdio>

#include "core/core.h"
#include "world/world.h"

namespace {

constexpr uint8_t kWall = 0xB2;
constexpr uint8_t kWater = 0xB0;
constexpr uint8_t kHelmetGlyph = 0x9B;

bool OnMap(int32_t x, int32_t y) { return x >= 0 && x < kMapColumns && y >= 0 && y < kMapRows; }

int32_t Towards(int32_t from, int32_t to) { return from < to ? from + 1 : (from > to ? from - 1 : from); }

void Drowned(GameState& g) {
    ShowMessage(g, "You have sprung", 0, 0);
    ShowMessage(g, "a Trap!! The", 1, 0);
    ShowMessage(g, "room has filled", 2, 0);
    ShowMessage(g, "with water and", 3, 0);
    ShowMessage(g, "you drowned!", 4, 0);
    ShowContinuePrompt(g);
    g.strength = -1;
    g.awaitingKey = 1;
}

}  // namespace

void WorldTick(GameState& g) {
    if (g.mode != Play || g.strength < 0) return;

    if (g.trapSprung) {
        const bool floods = g.currentRoom == 75 ? AdvanceFlood(g, 10, 16, 12, 13) : AdvanceFlood(g, 11, 23, 8, 9);
        g.trapSprung = floods ? 1 : 0;
        if (!floods) Drowned(g);
        return;
    }

    MonsterRecord* monster = MonsterInRoom(g, g.currentRoom);
    if (monster == nullptr || monster->guardian) return;
    const int32_t nextX = Towards(monster->x, g.playerColumn);
    const int32_t nextY = Towards(monster->y, g.playerRow);
    g.blowToggle = g.blowToggle ? 0 : 1;

    if (nextX == g.playerColumn && nextY == g.playerRow) {
        MonsterStrikes(g, *monster);
        return;
    }
    // Records from a saved game may put a monster anywhere; it only ever walks the map.
    if (!OnMap(nextX, nextY) || CellAt(g, nextX, nextY) != ' ') return;
    if (OnMap(monster->x, monster->y)) Cell(g, monster->x, monster->y) = ShownBeneath(g, monster->x, monster->y);
    monster->x = nextX;
    monster->y = nextY;
    Cell(g, nextX, nextY) = monster->glyph;
}

void MonsterStrikes(GameState& g, MonsterRecord& monster) {
    // Standing next to the man, a monster swings on every second tick only.
    if (g.blowToggle) return;
    if (NextRandom(g) % 100 + 1 <= 25) return;

    const int32_t damage = static_cast<int32_t>(NextRandom(g) % 25) - 5;
    g.strength -= damage;
    char name[sizeof monster.name + 1] = {};
    for (size_t i = 0; i < sizeof monster.name; ++i) name[i] = monster.name[i];
    char text[40];
    std::snprintf(text, sizeof text, "The %s", ShortName(name));

    ShowMessage(g, text, 0, 1);
    if (g.strength < 0) {
        ShowMessage(g, "has Killed you!", 1, 0);
        ShowContinuePrompt(g);
        g.awaitingKey = 1;
    } else {
        ShowMessage(g, "Struck you!", 1, 0);
        const ItemRecord* helmet = FindItemByGlyph(g, kHelmetGlyph);
        if (helmet != nullptr && helmet->carried) {
            ShowMessage(g, "The Helmet", 3, 0);
            ShowMessage(g, "helped.", 4, 0);
        }
    }
    PlayCue(g, CUE_ATTACK, 0);
}

bool AdvanceFlood(GameState& g, int32_t leftWall, int32_t rightWall, int32_t top, int32_t bottom) {
    if (!OnMap(leftWall, top) || !OnMap(rightWall, bottom)) return false;
    if (CellAt(g, leftWall, top) != kWall) {
        for (int32_t y = top; y <= bottom; ++y) {
            Cell(g, leftWall, y) = kWall;
            Cell(g, rightWall, y) = kWall;
        }
        return true;
    }
    for (int32_t x = leftWall + 1; x < rightWall; ++x) {
        if (CellAt(g, x, top) == kWater) continue;
        for (int32_t y = top; y <= bottom; ++y) Cell(g, x, y) = kWater;
        return true;
    }
    return false;
}

void ShowContinuePrompt(GameState& g) {
    for (int x = 0; x < kScreenColumns; ++x) {
        for (int y = 19; y < 24; ++y) Cell(g, x, y) = ' ';
    }
    PutText(g, "       Press any key to continue        ", 0, 24);
    // A "What???" still blinking must not hold back the key that leads on.
    g.whatTicks = 0;
}
