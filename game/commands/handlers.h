// SPDX-License-Identifier: GPL-3.0-or-later
// The interpreter's own handlers, in the order the chain tries them.
#pragma once

#include <initializer_list>

#include "core/core.h"
#include "core/state.h"

// Writes a reply from line 0 down, taking the texts as they stand.
inline void Reply(GameState& g, std::initializer_list<const char*> lines) {
    int32_t line = 0;
    for (const char* text : lines) ShowMessage(g, text, line++, 1);
}

// Walls, archways, roofs, ceilings, floors, the maze and secret-room writing, stairs.
void LookAtWallsAndStairs(GameState& g);
// The gate: looking, then opening, then closing.
void LookAtGate(GameState& g);
void OpenGate(GameState& g);
void CloseGate(GameState& g);
// Fountain, garden, balcony, tables, mirror, beds, desks, shelves, chains, throne, statue.
void LookAtFurniture(GameState& g);
// The two lockable doors: looking, then opening, then closing.
void LookAtDoor(GameState& g);
void OpenDoor(GameState& g);
void CloseDoor(GameState& g);
// Water at the fountain, then wine at the barrels.
void FetchWater(GameState& g);
void FetchWine(GameState& g);
// Barrels and blood.
void LookAtBarrelsAndBlood(GameState& g);
// GET or TAKE of an item by its short name.
void TakeItem(GameState& g);
