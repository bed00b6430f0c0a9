// SPDX-License-Identifier: GPL-3.0-or-later
// Placeholder until room drawing lands.
#include "core/core.h"
#include "world/world.h"

bool EnterRoom(GameState& g, int32_t room) {
    if (room < 0 || room >= kRoomCount) return false;
    ClearScreen(g);
    g.currentRoom = room;
    g.commandLine[0] = '\0';
    EchoCommandLine(g);
    return true;
}
void ParseExits(GameState&) {}
bool CheckDarkPassage(GameState&, int32_t, int32_t) { return true; }
void ApplyEntrySpecials(GameState&) {}
void DrawDoors(GameState&) {}
void RedrawRoom(GameState&) {}
