// SPDX-License-Identifier: GPL-3.0-or-later
// Shared by the command tests: the message area read back exactly, and cells of
// the castle found from the room data rather than hard-coded.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "game_fixture.h"
#include "golden.h"

using Cell2 = std::pair<int, int>;

// Line n of the message area as written: blanks the reply wrote (0x20) stay,
// cells nothing wrote (0) at the end are dropped.
std::string RawMessageLine(const GameState& g, int line);
// All seven lines that way; lines nothing wrote are empty.
std::vector<std::string> MessageArea(const GameState& g);
// The expected reply padded to seven lines.
std::vector<std::string> Padded(std::vector<std::string> lines);

// The character of the room's own map (as stored, before anything is drawn).
uint8_t RoomMapChar(const GameState& g, int room, int x, int y);
bool IsFurnitureOutline(uint8_t c);
// The first floor cell of the room (scanning row by row from the top left) that
// no item or monster of the room starts on and that satisfies the test.
std::optional<Cell2> FindFloor(const GameState& g, int room, const std::function<bool(int, int)>& test);
// Orthogonal (four) or all eight neighbours of the cell in the room's map.
bool HasNeighbour(const GameState& g, int room, int x, int y, bool diagonals,
                  const std::function<bool(uint8_t)>& test);

class CommandTest : public GameTest {
protected:
    // A new game, then the man on a floor cell of the room that fits the test.
    // Returns false (with a failure) when the room has no such cell.
    bool StandIn(int room, const std::function<bool(int, int)>& test = nullptr);
    bool StandNextToFurniture(int room);
    bool StandAwayFromFurniture(int room);
    // Types the command and Enter, as the player does.
    void Run(const std::string& command) { Command(command); }
};
