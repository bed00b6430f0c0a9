// SPDX-License-Identifier: GPL-3.0-or-later
// Placeholder until movement lands.
#include "world/world.h"

void MovePlayer(GameState&, int32_t, int32_t) {}
void StrikeMonster(GameState&, MonsterRecord&) {}
void EnterWestSpecial(GameState&) {}
bool IsNextToGlyph(GameState&, uint8_t) { return false; }
bool IsNearGlyph(GameState&, uint8_t) { return false; }
bool IsNextToFurniture(GameState&) { return false; }
