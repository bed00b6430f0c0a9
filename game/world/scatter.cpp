// SPDX-License-Identifier: GPL-3.0-or-later
// The second quest: items and monsters scattered over reachable places.
#include <cstring>

#include "world/world.h"

namespace {

constexpr uint8_t kBlank = 0x20;
constexpr uint8_t kVisited = 'X';
constexpr int kFirstRoom = 1;  // the courtyard is never chosen
constexpr int kRoomChoices = kRoomCount - 1;

// Draws of a cell before another room is tried, and rooms tried before a thing
// is left where it was. Both only matter if a room had no reachable floor at
// all: with sound room data the first room always succeeds long before this.
constexpr int kCellDrawLimit = 5000;
constexpr int kRoomDrawLimit = 500;

struct Scratch {
    uint8_t cell[kMapColumns][kMapRows];
    bool opening[kMapColumns][kMapRows];
};

// Blank cells of a border line that lie strictly between its first and last
// non-blank cells: the doorways in the walls.
void MarkOpenings(Scratch& s, bool row, int fixed) {
    const int length = row ? kMapColumns : kMapRows;
    auto at = [&](int i) -> uint8_t { return row ? s.cell[i][fixed] : s.cell[fixed][i]; };
    int first = -1;
    int last = -1;
    for (int i = 0; i < length; ++i) {
        if (at(i) != kBlank) {
            if (first < 0) first = i;
            last = i;
        }
    }
    if (first < 0 || last - first < 2) return;
    for (int i = first + 1; i < last; ++i) {
        if (at(i) != kBlank) continue;
        if (row) {
            s.opening[i][fixed] = true;
        } else {
            s.opening[fixed][i] = true;
        }
    }
}

// Whether a room is already another thing's: no two items, and no two monsters,
// share a room.
bool ItemRoomTaken(const GameState& g, int self, int32_t room) {
    for (int i = 0; i < kItemCount; ++i) {
        if (i != self && g.items[i].room == room) return true;
    }
    return false;
}

bool MonsterRoomTaken(const GameState& g, int self, int32_t room) {
    for (int i = 0; i < kMonsterCount; ++i) {
        if (i != self && g.monsters[i].room == room) return true;
    }
    return false;
}

// Finds a free room and a reachable cell in it. False only when the castle has
// no reachable floor to offer (broken room data): the caller then keeps the old place.
template <typename Taken>
bool DrawPlace(GameState& g, Taken taken, int32_t* room, int32_t* x, int32_t* y) {
    for (int rooms = 0; rooms < kRoomDrawLimit; ++rooms) {
        int32_t r = 0;
        do {
            r = static_cast<int32_t>(NextRandom(g) % kRoomChoices) + kFirstRoom;
        } while (taken(r));
        for (int cells = 0; cells < kCellDrawLimit; ++cells) {
            const auto cx = static_cast<int32_t>(NextRandom(g) % kMapColumns);
            const auto cy = static_cast<int32_t>(NextRandom(g) % kMapRows);
            if (IsReachableSpot(g, r, cx, cy)) {
                *room = r;
                *x = cx;
                *y = cy;
                return true;
            }
        }
    }
    return false;
}

}  // namespace

int IsReachableSpot(GameState& g, int32_t room, int32_t x, int32_t y) {
    if (g.roomData == nullptr || room < 0 || room >= kRoomCount) return 0;
    if (x < 0 || x >= kMapColumns || y < 0 || y >= kMapRows) return 0;
    if (static_cast<uint32_t>((room + 1) * kRoomRecordSize) > g.roomDataSize) return 0;
    // Outside the walls, between two doorways: blank and touching a border
    // opening, yet nowhere the man could stand.
    if (room == 7 && y == 0 && x >= 8 && x <= 15) return 0;
    if (room == 8 && x >= 8 && x <= 15 && (y == 16 || y == 17)) return 0;

    Scratch s;
    std::memset(&s, 0, sizeof s);
    const uint8_t* map = g.roomData + room * kRoomRecordSize;
    for (int cy = 0; cy < kMapRows; ++cy) {
        for (int cx = 0; cx < kMapColumns; ++cx) s.cell[cx][cy] = map[cy * kMapColumns + cx];
    }
    if (s.cell[x][y] != kBlank) return 0;
    MarkOpenings(s, true, 0);
    MarkOpenings(s, true, kMapRows - 1);
    MarkOpenings(s, false, 0);
    MarkOpenings(s, false, kMapColumns - 1);

    // Flood fill with a stack of our own; every cell is pushed at most four times.
    struct Point {
        int8_t x;
        int8_t y;
    };
    Point stack[kMapCells * 4 + 1];
    int top = 0;
    stack[top++] = {static_cast<int8_t>(x), static_cast<int8_t>(y)};
    while (top > 0) {
        const Point p = stack[--top];
        const uint8_t c = s.cell[p.x][p.y];
        if (c == 'U' || c == 'D') return 1;
        if (s.opening[p.x][p.y]) return 1;
        if (c != kBlank) continue;
        s.cell[p.x][p.y] = kVisited;
        // Pushed in reverse so they are visited up, right, down, left.
        if (p.x > 0) stack[top++] = {static_cast<int8_t>(p.x - 1), p.y};
        if (p.y < kMapRows - 1) stack[top++] = {p.x, static_cast<int8_t>(p.y + 1)};
        if (p.x < kMapColumns - 1) stack[top++] = {static_cast<int8_t>(p.x + 1), p.y};
        if (p.y > 0) stack[top++] = {p.x, static_cast<int8_t>(p.y - 1)};
    }
    return 0;
}

void RandomizeItems(GameState& g) {
    ItemRecord before[kItemCount];
    std::memcpy(before, g.items, sizeof before);
    for (ItemRecord& item : g.items) {
        if (item.carried) continue;
        item.room = -1;
        item.visible = 1;  // the hidden ones now lie in the open
    }
    for (int i = 0; i < kItemCount; ++i) {
        ItemRecord& item = g.items[i];
        if (item.carried) continue;
        auto taken = [&g, i](int32_t room) { return ItemRoomTaken(g, i, room); };
        if (!DrawPlace(g, taken, &item.room, &item.x, &item.y)) item = before[i];
    }
}

void RandomizeMonsters(GameState& g) {
    MonsterRecord before[kMonsterCount];
    std::memcpy(before, g.monsters, sizeof before);
    for (MonsterRecord& monster : g.monsters) {
        if (!monster.guardian) monster.room = -1;
    }
    // Strength and presence stay as they are: a dead monster is placed again as dead.
    for (int i = 0; i < kMonsterCount; ++i) {
        MonsterRecord& monster = g.monsters[i];
        if (monster.guardian) continue;
        auto taken = [&g, i](int32_t room) { return MonsterRoomTaken(g, i, room); };
        if (!DrawPlace(g, taken, &monster.room, &monster.x, &monster.y)) monster = before[i];
    }
}
