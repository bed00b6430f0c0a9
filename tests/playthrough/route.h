// SPDX-License-Identifier: GPL-3.0-or-later
// A small path finder for the playthroughs: breadth-first search over the cells
// of one room for the man's steps, and over the rooms' exits for the way from
// room to room. It reads the castle from the room data and the current screen,
// so a redrawn room changes the route rather than breaking a fixed key list.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/state.h"

namespace route {

// Exit slots in the game's order.
enum Direction : int { kNorth = 0, kEast, kSouth, kWest, kUp, kDown, kDirections };

struct Spot {
    int x = 0;
    int y = 0;
    bool operator==(const Spot&) const = default;
};

// One room's map area, column by column like the game's own buffers.
struct Grid {
    std::array<uint8_t, kMapCells> cells{};
    uint8_t At(int x, int y) const { return cells[static_cast<size_t>(x * kMapRows + y)]; }
    uint8_t& At(int x, int y) { return cells[static_cast<size_t>(x * kMapRows + y)]; }
};

bool OnMap(int x, int y);
bool OnMap(Spot s);

// The room's map as the room data holds it (no items, figures or doors).
Grid RoomDataMap(const GameState& g, int room);
// The map area of the screen as it stands: items, figures and doors included.
Grid ScreenMap(const GameState& g);
// The exits text of a room, parsed into the six slots (-1 for none).
std::array<int, kDirections> ExitsOf(const GameState& g, int room);
// The first words of a room's description, for failure messages.
std::string RoomName(const GameState& g, int room);

// The movement key for a one-cell step (arrows for straight steps, the keypad
// for diagonal ones).
uint32_t KeyFor(int dx, int dy);

// Which single steps inside the room the search may take (the drowning traps).
using StepRule = std::function<bool(Spot from, Spot to)>;

// Shortest walk over blank cells from start (which may hold anything, the man
// stands there) to the nearest cell that satisfies goal; the start itself counts.
// Returns the cells after the start, in order; nullopt when none is reachable.
std::optional<std::vector<Spot>> FindWalk(const Grid& grid, Spot start, const std::function<bool(Spot)>& goal,
                                          const StepRule& allowed = {});

// Ways out of a room: the cells to stand on and the step that leaves.
struct Leave {
    Spot from;      // where the man stands
    int dx = 0;     // the step that crosses the edge or mounts the stairs
    int dy = 0;
    Spot arrival;   // where he stands in the next room
};
// Every leaving step for one exit slot of the room seen in grid (edges: any blank
// edge cell, straight and diagonal steps; stairs: every blank neighbour of a
// stair cell). The arrival follows the game's rules for edges and stairs.
std::vector<Leave> LeavesFor(const Grid& grid, int direction, int nextRoom);

// Room-level search over the exits. allowed says whether the way from a room by
// an exit slot may be taken now. Returns the rooms after `from`, ending in `to`.
using ExitRule = std::function<bool(int room, int direction, int nextRoom)>;
std::optional<std::vector<int>> FindRooms(const GameState& g, int from, int to, const ExitRule& allowed);

// The exit slots of `room` that lead to `next`, in slot order.
std::vector<int> DirectionsTo(const GameState& g, int room, int next);

}  // namespace route
