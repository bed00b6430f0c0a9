// SPDX-License-Identifier: GPL-3.0-or-later
// The man's steps: edges and stairs, picking up, fighting, being stopped.
#include <cstdio>

#include "core/core.h"
#include "world/world.h"

namespace {

constexpr uint8_t kManGlyph = 0x05;
constexpr uint8_t kVampireGlyph = 0x05;
constexpr uint8_t kFairyGlyph = 0xF6;
constexpr uint8_t kSwordGlyph = 0xC5;
constexpr uint8_t kNecklaceGlyph = 0x15;
constexpr uint8_t kGateGlyph = 0xCD;
constexpr uint8_t kDoorGlyph = 0x08;

bool OnMap(int32_t x, int32_t y) { return x >= 0 && x < kMapColumns && y >= 0 && y < kMapRows; }

bool Carries(GameState& g, uint8_t glyph) {
    const ItemRecord* item = FindItemByGlyph(g, glyph);
    return item != nullptr && item->carried;
}

int32_t Facing(int32_t dx, int32_t dy, int32_t current) {
    if (dx == 0 && dy < 0) return 0;
    if (dx > 0 && dy < 0) return 1;
    if (dx > 0 && dy == 0) return 2;
    if (dx > 0 && dy > 0) return 3;
    if (dx == 0 && dy > 0) return 4;
    if (dx < 0 && dy > 0) return 5;
    if (dx < 0 && dy == 0) return 6;
    if (dx < 0 && dy < 0) return 7;
    return current;
}

void Bump(GameState& g) { PlayCue(g, CUE_OBSTACLE, 1); }

// The man may stand inside a wall when two maps do not line up, but never off the map.
void DrawMan(GameState& g) {
    if (OnMap(g.playerColumn, g.playerRow)) Cell(g, g.playerColumn, g.playerRow) = kManGlyph;
}

// Over an edge: returns true once the step was dealt with (entered or refused).
bool CrossEdge(GameState& g, int32_t x, int32_t y) {
    if (y < 0) {
        if (EnterRoom(g, g.exitNorth)) g.playerRow = kMapRows - 1;
    } else if (x >= kMapColumns) {
        if (EnterRoom(g, g.exitEast)) g.playerColumn = 0;
    } else if (y >= kMapRows) {
        if (g.currentRoom == 0) {
            g.escaped = 1;
            SetMode(g, Summary);
            return true;
        }
        if (EnterRoom(g, g.exitSouth)) g.playerRow = 0;
    } else if (x < 0) {
        if (EnterRoom(g, g.exitWest)) {
            g.playerColumn = kMapColumns - 1;
            EnterWestSpecial(g);
        }
    } else {
        return false;
    }
    DrawMan(g);
    return true;
}

bool InTrapColumn(const GameState& g) {
    return (g.currentRoom == 75 && g.playerColumn == 14) || (g.currentRoom == 77 && g.playerColumn == 17);
}

void StepOnto(GameState& g, int32_t x, int32_t y) {
    const int32_t oldX = g.playerColumn;
    const int32_t oldY = g.playerRow;
    if (OnMap(oldX, oldY)) Cell(g, oldX, oldY) = ShownBeneath(g, oldX, oldY);
    g.playerColumn = x;
    g.playerRow = y;
}

void PickUp(GameState& g, ItemRecord& item) {
    if (CarriedCount(g) >= kCarryLimit) {
        ShowMessage(g, " Can't carry", 0, 0);
        ShowMessage(g, " any more!", 1, 0);
    } else {
        item.carried = 1;
        Cell(g, item.x, item.y) = MapCell(g, item.x, item.y);
    }
    PlayCue(g, CUE_TAKE, 0);
}

void Blocked(GameState& g, const char* who) {
    ShowMessage(g, who, 0, 0);
    ShowMessage(g, "is blocking", 1, 0);
    ShowMessage(g, "your way. He", 2, 0);
    ShowMessage(g, "can't be hurt.", 3, 0);
    Bump(g);
}

// An item a monster died on lies under its body and is taken as anywhere else.
ItemRecord* ItemUnderTheDead(GameState& g, int32_t x, int32_t y) {
    const MonsterRecord* monster = FindMonsterAt(g, x, y);
    if (monster == nullptr || monster->strength >= 0) return nullptr;
    for (ItemRecord& item : g.items) {
        if (item.room == g.currentRoom && item.visible && !item.carried && item.x == x && item.y == y) return &item;
    }
    return nullptr;
}

void WalkInto(GameState& g, int32_t x, int32_t y, uint8_t what) {
    ItemRecord* item = FindItemAt(g, x, y);
    if (item == nullptr) item = ItemUnderTheDead(g, x, y);
    if (item != nullptr) {
        PickUp(g, *item);
        return;
    }
    if (MonsterRecord* monster = FindMonsterAt(g, x, y)) {
        if (monster->glyph == kVampireGlyph) {
            Blocked(g, "The Vampire");
        } else if (monster->glyph == kFairyGlyph) {
            Blocked(g, "The Fairy");
        } else if (monster->strength < 0) {
            Bump(g);
        } else {
            StrikeMonster(g, *monster);
        }
        return;
    }
    if (g.currentRoom == 0 && what == kGateGlyph) {
        ShowMessage(g, "The Gate is", 0, 0);
        ShowMessage(g, "locked.", 1, 0);
    } else if ((g.currentRoom == 67 || g.currentRoom == 81) && what == kDoorGlyph) {
        ShowMessage(g, "The Door is", 0, 0);
        ShowMessage(g, "locked.", 1, 0);
    }
    Bump(g);
}

}  // namespace

void MovePlayer(GameState& g, int32_t column, int32_t row) {
    if (g.mode != Play || g.trapSprung || g.strength < 0) return;
    g.facing = Facing(column - g.playerColumn, row - g.playerRow, g.facing);
    if (CrossEdge(g, column, row)) return;

    const uint8_t what = CellAt(g, column, row);
    if (what == 'U' || what == 'D') {
        if (EnterRoom(g, what == 'U' ? g.exitUp : g.exitDown)) g.holdRepeat = 1;
    } else if (what == ' ') {
        if (InTrapColumn(g) && !Carries(g, kNecklaceGlyph)) {
            g.trapSprung = 1;
        } else {
            StepOnto(g, column, row);
        }
    } else {
        WalkInto(g, column, row, what);
    }
    DrawMan(g);
}

void StrikeMonster(GameState& g, MonsterRecord& monster) {
    // A held key lands about one blow in three.
    const uint32_t chance = g.keyRepeat ? 33 : 100;
    const uint32_t roll = NextRandom(g) % 100 + 1;
    if (roll <= 100 - chance) return;

    if (!Carries(g, kSwordGlyph)) {
        ShowMessage(g, "You have no", 0, 0);
        ShowMessage(g, "Weapon!", 1, 0);
    } else {
        const int32_t damage = static_cast<int32_t>(NextRandom(g) % 25) - 5;
        monster.strength -= damage;
        char name[sizeof monster.name + 1] = {};
        for (size_t i = 0; i < sizeof monster.name; ++i) name[i] = monster.name[i];
        char text[40];
        std::snprintf(text, sizeof text, "the %s!", ShortName(name));
        ShowMessage(g, monster.strength >= 0 ? "You struck" : "You killed", 0, 0);
        ShowMessage(g, text, 1, 1);
    }
    Bump(g);
}

void EnterWestSpecial(GameState& g) {
    // Column 23 of the sorcerer's quarters lies outside its east wall: the
    // laboratory's way back is by magic.
    if (g.currentRoom != 66 || g.playerColumn != kMapColumns - 1) return;
    g.playerColumn = 16;
    g.playerRow = 9;
    ShowMessage(g, "There is a puff", 0, 0);
    ShowMessage(g, "of smoke & you", 1, 0);
    ShowMessage(g, "appear in the", 2, 0);
    ShowMessage(g, "Sorcerers room!", 3, 0);
}

namespace {

bool Shows(const GameState& g, int32_t x, int32_t y, uint8_t glyph) {
    return OnMap(x, y) && CellAt(g, x, y) == glyph;
}

}  // namespace

bool IsNextToGlyph(GameState& g, uint8_t glyph) {
    const int32_t x = g.playerColumn;
    const int32_t y = g.playerRow;
    return Shows(g, x, y - 1, glyph) || Shows(g, x + 1, y, glyph) || Shows(g, x, y + 1, glyph) ||
           Shows(g, x - 1, y, glyph);
}

bool IsNearGlyph(GameState& g, uint8_t glyph) {
    const int32_t x = g.playerColumn;
    const int32_t y = g.playerRow;
    return Shows(g, x + 1, y - 1, glyph) || Shows(g, x + 1, y + 1, glyph) || Shows(g, x - 1, y + 1, glyph) ||
           Shows(g, x - 1, y - 1, glyph) || IsNextToGlyph(g, glyph);
}

bool IsNextToFurniture(GameState& g) {
    static constexpr uint8_t kOutlines[] = {0xDA, 0xC4, 0xBF, 0xC0, 0xD9, 0xB3};
    for (uint8_t glyph : kOutlines) {
        if (IsNextToGlyph(g, glyph)) return true;
    }
    return false;
}
