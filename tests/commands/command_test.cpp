// SPDX-License-Identifier: GPL-3.0-or-later
#include "command_test.h"

#include <algorithm>

std::string RawMessageLine(const GameState& g, int line) {
    std::string text;
    for (int x = 25; x < 40; ++x) text += static_cast<char>(CellAt(g, x, 12 + line));
    while (!text.empty() && text.back() == '\0') text.pop_back();
    std::replace(text.begin(), text.end(), '\0', ' ');
    return text;
}

std::vector<std::string> MessageArea(const GameState& g) {
    std::vector<std::string> lines;
    for (int line = 0; line < 7; ++line) lines.push_back(RawMessageLine(g, line));
    return lines;
}

std::vector<std::string> Padded(std::vector<std::string> lines) {
    lines.resize(7);
    return lines;
}

uint8_t RoomMapChar(const GameState& g, int room, int x, int y) {
    return g.roomData[kRoomRecordSize * room + kMapColumns * y + x];
}

bool IsFurnitureOutline(uint8_t c) {
    return c == 0xDA || c == 0xC4 || c == 0xBF || c == 0xC0 || c == 0xD9 || c == 0xB3;
}

namespace {

bool ThingStartsAt(const GameState& g, int room, int x, int y) {
    for (const ItemRecord& item : g.items) {
        if (item.room == room && item.visible && item.x == x && item.y == y) return true;
    }
    for (const MonsterRecord& monster : g.monsters) {
        if (monster.room == room && monster.x == x && monster.y == y) return true;
    }
    return false;
}

}  // namespace

std::optional<Cell2> FindFloor(const GameState& g, int room, const std::function<bool(int, int)>& test) {
    for (int y = 1; y < kMapRows - 1; ++y) {
        for (int x = 1; x < kMapColumns - 1; ++x) {
            if (RoomMapChar(g, room, x, y) != ' ' || ThingStartsAt(g, room, x, y)) continue;
            if (!test || test(x, y)) return Cell2{x, y};
        }
    }
    return std::nullopt;
}

bool HasNeighbour(const GameState& g, int room, int x, int y, bool diagonals,
                  const std::function<bool(uint8_t)>& test) {
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            if ((dx == 0 && dy == 0) || (!diagonals && dx != 0 && dy != 0)) continue;
            const int nx = x + dx;
            const int ny = y + dy;
            if (nx < 0 || nx >= kMapColumns || ny < 0 || ny >= kMapRows) continue;
            if (test(RoomMapChar(g, room, nx, ny))) return true;
        }
    }
    return false;
}

bool CommandTest::StandIn(int room, const std::function<bool(int, int)>& test) {
    StartPlaying();
    const auto cell = FindFloor(g, room, test);
    if (!cell) {
        ADD_FAILURE() << "room " << room << " has no floor cell of the kind this test needs";
        return false;
    }
    PlaceMan(room, cell->first, cell->second);
    fake::ClearCues();
    return true;
}

bool CommandTest::StandNextToFurniture(int room) {
    return StandIn(room, [this, room](int x, int y) {
        return HasNeighbour(g, room, x, y, false, IsFurnitureOutline);
    });
}

bool CommandTest::StandAwayFromFurniture(int room) {
    return StandIn(room, [this, room](int x, int y) {
        return !HasNeighbour(g, room, x, y, true, [](uint8_t c) { return IsFurnitureOutline(c) || c == 0xDB; });
    });
}
