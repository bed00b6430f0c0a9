// SPDX-License-Identifier: GPL-3.0-or-later
// Commands that change the castle: the gate that will not open, the two doors
// the key locks and unlocks, water for the flask, and taking the items that lie
// hidden on furniture.
#include "commands/commands.h"
#include "commands/handlers.h"
#include "world/world.h"

namespace {

constexpr uint8_t kKey = 0xE7;
constexpr uint8_t kWineFlask = 0x21;
constexpr uint8_t kDoorGlyph = 0x08;
constexpr uint8_t kManGlyph = 0x05;
constexpr uint8_t kFullBlock = 0xDB;

bool Carries(GameState& g, uint8_t glyph) {
    const ItemRecord* item = FindItemByGlyph(g, glyph);
    return item != nullptr && item->carried != 0;
}

bool OnMap(int32_t x, int32_t y) { return x >= 0 && x < kMapColumns && y >= 0 && y < kMapRows; }

bool AtADoor(const GameState& g) { return g.currentRoom == 67 || g.currentRoom == 81; }

// A door drawn anew may stand over an item or the man; put them back on top.
void RedrawAroundDoor(GameState& g) {
    for (const ItemRecord& item : g.items) {
        if (item.room == g.currentRoom && item.visible && !item.carried && OnMap(item.x, item.y)) {
            Cell(g, item.x, item.y) = item.glyph;
        }
    }
    DrawDoors(g);
    if (OnMap(g.playerColumn, g.playerRow)) Cell(g, g.playerColumn, g.playerRow) = kManGlyph;
}

void GateReply(GameState& g, const char* second, const char* third) {
    if (g.currentRoom != 0) {
        Reply(g, {" I don't see", " a Gate!"});
    } else if (!Carries(g, kKey)) {
        Reply(g, {" You don't", " have a Key!"});
    } else {
        Reply(g, {" The Gate", second, third});
    }
}

bool FillsFlask(const GameState& g, const char* takenNoun) {
    return IsGetTake(g, takenNoun) || (VerbIs(g, "FILL") && NounIs(g, "FLASK"));
}

// Hidden items lie on a desk, the statue or in the fountain (reached from the
// side), or on the library shelves (reached diagonally too).
bool WithinReach(GameState& g) {
    switch (g.currentRoom) {
    case 9:
    case 39:
    case 18:
    case 55:
    case 17: return IsNextToFurniture(g);
    case 57: return IsNearGlyph(g, kFullBlock);
    default: return false;
    }
}

}  // namespace

void OpenGate(GameState& g) {
    if (IsOpenUnlock(g, "GATE")) GateReply(g, " is locked", " Magically.");
}

void CloseGate(GameState& g) {
    if (IsCloseLock(g, "GATE")) GateReply(g, " is already", " locked!");
}

void OpenDoor(GameState& g) {
    if (!IsOpenUnlock(g, "DOOR") || !AtADoor(g)) return;
    if (!Carries(g, kKey)) {
        Reply(g, {" You don't", " have a key!"});
        return;
    }
    if (!IsNearGlyph(g, kDoorGlyph)) {
        Reply(g, {" I can't", " reach it!"});
        return;
    }
    // Opening draws the man through to the inner side of the doorway when he
    // stands in line with it.
    if (g.currentRoom == 67) {
        g.doorLocked67 = 0;
        if (g.playerRow == 13 || g.playerRow == 14) MovePlayer(g, 8, 13);
    } else {
        g.doorLocked81 = 0;
        if (g.playerColumn == 13 || g.playerColumn == 14) MovePlayer(g, 14, 8);
    }
    Reply(g, {"Done."});
    RedrawAroundDoor(g);
}

void CloseDoor(GameState& g) {
    if (!IsCloseLock(g, "DOOR") || !AtADoor(g)) return;
    if (!Carries(g, kKey)) {
        Reply(g, {" You don't", " have a key!"});
        return;
    }
    if (g.currentRoom == 81) {
        g.doorLocked81 = 1;
    } else {
        g.doorLocked67 = 1;
    }
    Reply(g, {"Done."});
    RedrawAroundDoor(g);
}

void FetchWater(GameState& g) {
    if (g.currentRoom != 17 || !FillsFlask(g, "WATER")) return;
    if (!Carries(g, kWineFlask)) {
        Reply(g, {"You don't have", "a Container!"});
    } else if (!IsNextToFurniture(g)) {
        Reply(g, {" I can't", " reach it!"});
    } else {
        g.flaskHasWater = 1;
        Reply(g, {"Done."});
    }
}

void FetchWine(GameState& g) {
    if (g.currentRoom == 67 && FillsFlask(g, "WINE")) Reply(g, {" The Barrels", " are empty."});
}

void TakeItem(GameState& g) {
    if (!IsGetTake(g, "*")) return;
    ItemRecord* item = FindItemByName(g, g.noun);
    if (item == nullptr) return;
    if (item->carried) {
        Reply(g, {" You already", " have it!"});
    } else if (item->room != g.currentRoom) {
        ShowMessage(g, " I don't see", 0, 1);
        ShowMessage(g, " a *", 1, 0);
    } else if (item->visible) {
        // Lying items are picked up by walking into them.
        Reply(g, {" Get it", " Yourself!"});
    } else if (!WithinReach(g)) {
        Reply(g, {" I can't", " reach it!"});
    } else {
        if (CarriedCount(g) < kCarryLimit) {
            item->carried = 1;
            item->visible = 1;
            Reply(g, {"Done."});
        } else {
            Reply(g, {" Can't carry", " any more!"});
        }
        PlayCue(g, CUE_TAKE, 0);
    }
}
