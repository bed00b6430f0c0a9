// Castle world: rooms, items and monsters, movement, timed events, re-placement.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/state.h"

// The compiled room data every build carries (83 records of 575 bytes, then padding).
extern const uint8_t kBuiltInRoomData[kRoomDataSize];

// Items and monsters.
void SetUpItems(GameState& g);
void SetUpMonsters(GameState& g);
const char* ShortName(const char* name);
ItemRecord* FindItemByGlyph(GameState& g, uint8_t glyph);
ItemRecord* FindItemAt(GameState& g, int32_t x, int32_t y);
MonsterRecord* FindMonsterAt(GameState& g, int32_t x, int32_t y);
MonsterRecord* MonsterInRoom(GameState& g, int32_t room);
int CarriedCount(const GameState& g);
void SeedRandom(GameState& g, uint32_t seed);
uint32_t NextRandom(GameState& g);

// Rooms.
bool EnterRoom(GameState& g, int32_t room);
void ParseExits(GameState& g);
bool CheckDarkPassage(GameState& g, int32_t from, int32_t to);
void ApplyEntrySpecials(GameState& g);
void DrawDoors(GameState& g);
// What a map cell shows once nothing stands on it: the map, or a locked door.
uint8_t GroundAt(const GameState& g, int32_t x, int32_t y);
// What shows on a cell once whoever stood there has gone: an item lying there, or the ground.
uint8_t ShownBeneath(const GameState& g, int32_t x, int32_t y);
void RedrawRoom(GameState& g);

// Movement and encounters.
void MovePlayer(GameState& g, int32_t column, int32_t row);
void StrikeMonster(GameState& g, MonsterRecord& monster);
void EnterWestSpecial(GameState& g);
bool IsNextToGlyph(GameState& g, uint8_t glyph);
bool IsNearGlyph(GameState& g, uint8_t glyph);
bool IsNextToFurniture(GameState& g);

// Timed events (timer 1).
void WorldTick(GameState& g);
void MonsterStrikes(GameState& g, MonsterRecord& monster);
bool AdvanceFlood(GameState& g, int32_t leftWall, int32_t rightWall, int32_t top, int32_t bottom);
void ShowContinuePrompt(GameState& g);

// Random re-placement for the second quest.
void RandomizeItems(GameState& g);
void RandomizeMonsters(GameState& g);
int IsReachableSpot(GameState& g, int32_t room, int32_t x, int32_t y);
// Whether every treasure can be brought out and every monster killed, and no
// item lies under a monster.
bool LayoutCanBeFinished(GameState& g);
// A killed monster's body walls its cell for good, and a player who fights a
// monster where he meets it cannot be expected to lure it aside first: false
// when some monster starts on the only way to anything the perfect game needs.
bool NoMonsterBarsTheWay(GameState& g);
