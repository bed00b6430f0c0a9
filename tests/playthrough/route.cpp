// SPDX-License-Identifier: GPL-3.0-or-later
#include "route.h"

#include <deque>

namespace route {

namespace {

constexpr int kDescriptionOffset = kMapCells;
constexpr int kExitsOffset = kDescriptionOffset + 125;

const uint8_t* Record(const GameState& g, int room) {
    if (g.roomData == nullptr || room < 0 || room >= kRoomCount) return nullptr;
    if (g.roomDataSize < static_cast<uint32_t>(room + 1) * kRoomRecordSize) return nullptr;
    return g.roomData + static_cast<size_t>(room) * kRoomRecordSize;
}

constexpr int kSteps[8][2] = {{0, -1}, {1, 0}, {0, 1}, {-1, 0}, {1, -1}, {1, 1}, {-1, 1}, {-1, -1}};

}  // namespace

bool OnMap(int x, int y) { return x >= 0 && x < kMapColumns && y >= 0 && y < kMapRows; }
bool OnMap(Spot s) { return OnMap(s.x, s.y); }

Grid RoomDataMap(const GameState& g, int room) {
    Grid grid;
    grid.cells.fill(0xB2);
    const uint8_t* record = Record(g, room);
    if (record == nullptr) return grid;
    for (int y = 0; y < kMapRows; ++y) {
        for (int x = 0; x < kMapColumns; ++x) grid.At(x, y) = record[y * kMapColumns + x];
    }
    return grid;
}

Grid ScreenMap(const GameState& g) {
    Grid grid;
    for (int x = 0; x < kMapColumns; ++x) {
        for (int y = 0; y < kMapRows; ++y) grid.At(x, y) = CellAt(g, x, y);
    }
    return grid;
}

std::array<int, kDirections> ExitsOf(const GameState& g, int room) {
    std::array<int, kDirections> exits;
    exits.fill(-1);
    const uint8_t* record = Record(g, room);
    if (record == nullptr) return exits;
    // Pairs of a letter and the destination plus one, up to the first blank
    // and never past 16 characters, as the game reads them.
    int slot = -1;
    int value = 0;
    auto finish = [&] {
        if (slot >= 0 && value >= 1 && value <= kRoomCount) exits[static_cast<size_t>(slot)] = value - 1;
    };
    for (int i = 0; i < 16; ++i) {
        const char c = static_cast<char>(record[kExitsOffset + i]);
        if (c == ' ' || c == 0) break;
        if (c >= '0' && c <= '9') {
            value = value * 10 + (c - '0');
            continue;
        }
        finish();
        value = 0;
        switch (c) {
        case 'N': slot = kNorth; break;
        case 'E': slot = kEast; break;
        case 'S': slot = kSouth; break;
        case 'W': slot = kWest; break;
        case 'U': slot = kUp; break;
        case 'D': slot = kDown; break;
        default: slot = -1; break;
        }
    }
    finish();
    return exits;
}

std::string RoomName(const GameState& g, int room) {
    const uint8_t* record = Record(g, room);
    if (record == nullptr) return "room " + std::to_string(room);
    auto line = [&](int n) {
        std::string text(reinterpret_cast<const char*>(record + kDescriptionOffset + 25 * n), 25);
        while (!text.empty() && text.back() == ' ') text.pop_back();
        return text;
    };
    return "room " + std::to_string(room) + " (" + line(0) + " " + line(1) + ")";
}

uint32_t KeyFor(int dx, int dy) {
    if (dx == 0 && dy < 0) return VK_UP;
    if (dx == 0 && dy > 0) return VK_DOWN;
    if (dx < 0 && dy == 0) return VK_LEFT;
    if (dx > 0 && dy == 0) return VK_RIGHT;
    if (dx < 0 && dy < 0) return VK_NUMPAD7;
    if (dx > 0 && dy < 0) return VK_NUMPAD9;
    if (dx < 0 && dy > 0) return VK_NUMPAD1;
    if (dx > 0 && dy > 0) return VK_NUMPAD3;
    return VK_NUMPAD5;  // no step at all
}

std::optional<std::vector<Spot>> FindWalk(const Grid& grid, Spot start, const std::function<bool(Spot)>& goal,
                                          const StepRule& allowed) {
    if (!OnMap(start)) return std::nullopt;
    std::array<int, kMapCells> from;
    from.fill(-2);
    auto index = [](Spot s) { return s.x * kMapRows + s.y; };
    std::deque<Spot> queue{start};
    from[static_cast<size_t>(index(start))] = -1;
    while (!queue.empty()) {
        const Spot here = queue.front();
        queue.pop_front();
        if (goal(here)) {
            std::vector<Spot> walk;
            for (Spot s = here; !(s == start);) {
                walk.insert(walk.begin(), s);
                const int back = from[static_cast<size_t>(index(s))];
                s = Spot{back / kMapRows, back % kMapRows};
            }
            return walk;
        }
        for (const auto& d : kSteps) {
            const Spot next{here.x + d[0], here.y + d[1]};
            if (!OnMap(next) || from[static_cast<size_t>(index(next))] != -2) continue;
            if (grid.At(next.x, next.y) != ' ') continue;
            if (allowed && !allowed(here, next)) continue;
            from[static_cast<size_t>(index(next))] = index(here);
            queue.push_back(next);
        }
    }
    return std::nullopt;
}

std::vector<Leave> LeavesFor(const Grid& grid, int direction, int nextRoom) {
    std::vector<Leave> leaves;
    auto floor = [&](int x, int y) { return OnMap(x, y) && grid.At(x, y) == ' '; };
    // Over an edge the coordinate along the edge is kept, whatever the step's slant.
    switch (direction) {
    case kNorth:
        for (int x = 0; x < kMapColumns; ++x) {
            if (!floor(x, 0)) continue;
            for (int dx = -1; dx <= 1; ++dx) leaves.push_back({{x, 0}, dx, -1, {x, kMapRows - 1}});
        }
        break;
    case kSouth:
        for (int x = 0; x < kMapColumns; ++x) {
            if (!floor(x, kMapRows - 1)) continue;
            // A slanting step off the bottom right corner leaves over the right edge.
            for (int dx = -1; dx <= 1; ++dx) {
                if (OnMap(x + dx, 0)) leaves.push_back({{x, kMapRows - 1}, dx, 1, {x, 0}});
            }
        }
        break;
    case kEast:
        for (int y = 0; y < kMapRows; ++y) {
            if (!floor(kMapColumns - 1, y)) continue;
            // A slanting step over the right edge crosses it first only when
            // it does not also leave over the top or bottom.
            for (int dy = -1; dy <= 1; ++dy) {
                if (OnMap(0, y + dy)) leaves.push_back({{kMapColumns - 1, y}, 1, dy, {0, y}});
            }
        }
        break;
    case kWest:
        for (int y = 0; y < kMapRows; ++y) {
            if (!floor(0, y)) continue;
            for (int dy = -1; dy <= 1; ++dy) {
                if (OnMap(0, y + dy)) leaves.push_back({{0, y}, -1, dy, {kMapColumns - 1, y}});
            }
        }
        // The laboratory's way back ends in front of the mirror.
        if (nextRoom == 66) {
            for (Leave& l : leaves) l.arrival = {16, 9};
        }
        break;
    case kUp:
    case kDown: {
        const uint8_t stair = direction == kUp ? 'U' : 'D';
        for (int x = 0; x < kMapColumns; ++x) {
            for (int y = 0; y < kMapRows; ++y) {
                if (grid.At(x, y) != stair) continue;
                for (const auto& d : kSteps) {
                    const int fx = x - d[0];
                    const int fy = y - d[1];
                    if (floor(fx, fy)) leaves.push_back({{fx, fy}, d[0], d[1], {fx, fy}});
                }
            }
        }
        break;
    }
    default:
        break;
    }
    return leaves;
}

std::optional<std::vector<int>> FindRooms(const GameState& g, int from, int to, const ExitRule& allowed) {
    std::array<int, kRoomCount> came;
    came.fill(-2);
    std::deque<int> queue{from};
    came[static_cast<size_t>(from)] = -1;
    while (!queue.empty()) {
        const int room = queue.front();
        queue.pop_front();
        if (room == to) {
            std::vector<int> rooms;
            for (int r = to; r != from; r = came[static_cast<size_t>(r)]) rooms.insert(rooms.begin(), r);
            return rooms;
        }
        const auto exits = ExitsOf(g, room);
        for (int d = 0; d < kDirections; ++d) {
            const int next = exits[static_cast<size_t>(d)];
            if (next < 0 || came[static_cast<size_t>(next)] != -2) continue;
            if (allowed && !allowed(room, d, next)) continue;
            came[static_cast<size_t>(next)] = room;
            queue.push_back(next);
        }
    }
    return std::nullopt;
}

std::vector<int> DirectionsTo(const GameState& g, int room, int next) {
    std::vector<int> slots;
    const auto exits = ExitsOf(g, room);
    for (int d = 0; d < kDirections; ++d) {
        if (exits[static_cast<size_t>(d)] == next) slots.push_back(d);
    }
    return slots;
}

}  // namespace route
