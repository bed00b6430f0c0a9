// SPDX-License-Identifier: GPL-3.0-or-later
// Whether a scattered castle can still be finished with every treasure and
// every monster: the man's possible steps are flooded from the courtyard, and
// each thing reached may open more of the castle, until nothing more opens.
#include <cstring>

#include "world/world.h"

namespace {

enum : uint8_t {
    kLamp = 0x06, kHarp = 0x0E, kNecklace = 0x15, kWand = 0xC4, kSword = 0xC5, kKey = 0xE7, kCross = 0x74,
    kScepter = 0xE1,
};

struct Spot {
    int8_t x;
    int8_t y;
};

// What shuts part of the castle, and what opens it: a locked door or a guardian
// stands on cells the man cannot pass, a hidden passage is wall until the wand
// is waved in its room. Opening needs the thing and the man beside the shut
// cells (a door) or anywhere in the room.
struct Barrier {
    int32_t room;
    uint8_t opener;
    bool besideOnly;
    Spot shut[2];     // {-1, -1}: none
    Spot opened[8];   // wall that turns to floor; {-1, -1} ends the list
};

constexpr Spot kNone{-1, -1};
constexpr Barrier kBarriers[] = {
    {67, kKey, true, {{8, 14}, {9, 14}}, {kNone}},
    {81, kKey, true, {{13, 8}, {13, 9}}, {kNone}},
    {27, kCross, false, {{23, 9}, kNone}, {kNone}},
    {51, kHarp, false, {{0, 9}, kNone}, {kNone}},
    {53, kHarp, false, {{11, 0}, kNone}, {kNone}},
    {66, kWand, false, {kNone, kNone}, {{18, 6}, {18, 7}, {18, 8}, {18, 9}, {18, 10}, {18, 11}, {19, 8}, {19, 9}}},
    {76, kWand, false, {kNone, kNone}, {{11, 17}, {12, 17}, kNone}},
};
constexpr int kBarrierCount = sizeof kBarriers / sizeof kBarriers[0];

struct Flood {
    bool seen[kRoomCount][kMapColumns][kMapRows];
    int32_t exits[kRoomCount][6];
    bool open[kBarrierCount];
    bool have[kItemCount];
    struct Cell {
        uint8_t room, x, y;
    } stack[kRoomCount * kMapCells];
    int top;
    // Cells whose next step is shut for now (a barrier, a dark passage, a trap):
    // stepped from again when something more is had, so nothing is flooded twice.
    Cell waiting[kRoomCount * kMapCells];
    int waitingCount;
    bool waits[kRoomCount][kMapColumns][kMapRows];
    int32_t blockedRoom;  // -1: nothing walls a cell beyond the map's own
    Spot blocked;
};

bool OnMap(int x, int y) { return x >= 0 && x < kMapColumns && y >= 0 && y < kMapRows; }

bool Has(const GameState& g, const Flood& f, uint8_t glyph) {
    for (int i = 0; i < kItemCount; ++i) {
        if (g.items[i].glyph == glyph) return f.have[i];
    }
    return false;
}

enum Step { kNever, kOpen, kNotYet };

Step StepOn(const GameState& g, const Flood& f, int room, int x, int y) {
    if (room == f.blockedRoom && x == f.blocked.x && y == f.blocked.y) return kNever;
    for (int b = 0; b < kBarrierCount; ++b) {
        if (kBarriers[b].room != room) continue;
        for (const Spot& s : kBarriers[b].shut) {
            if (s.x < 0) break;
            if (!f.open[b] && s.x == x && s.y == y) return kNotYet;
        }
        for (const Spot& s : kBarriers[b].opened) {
            if (s.x < 0) break;
            if (s.x == x && s.y == y) return f.open[b] ? kOpen : kNotYet;
        }
    }
    return g.roomData[room * kRoomRecordSize + y * kMapColumns + x] == ' ' ? kOpen : kNever;
}

bool Walkable(const GameState& g, const Flood& f, int room, int x, int y) { return StepOn(g, f, room, x, y) == kOpen; }

// True when the cell is shut for now but may open later.
bool Visit(const GameState& g, Flood& f, int room, int x, int y, bool force = false) {
    if (room < 0 || room >= kRoomCount || !OnMap(x, y) || f.seen[room][x][y]) return false;
    if (!force) {
        const Step step = StepOn(g, f, room, x, y);
        if (step != kOpen) return step == kNotYet;
    }
    f.seen[room][x][y] = true;
    f.stack[f.top++] = {static_cast<uint8_t>(room), static_cast<uint8_t>(x), static_cast<uint8_t>(y)};
    return false;
}

// Into another room, as the man's step takes him there: the dark passages need the lamp.
bool Enter(const GameState& g, Flood& f, int from, int to, int x, int y) {
    const bool dark = (from == 10 && to == 67) || (from == 67 && to == 10) || (from == 76 && to == 82);
    if (dark && !Has(g, f, kLamp)) return true;
    if (to == 66 && x == kMapColumns - 1) return Visit(g, f, 66, 16, 9);  // the laboratory's way back is by magic
    // Coming up from the secret room opens the winding passage's south wall.
    return Visit(g, f, to, x, y, from == 82 && to == 76 && y == kMapRows - 1 && (x == 11 || x == 12));
}

void Spread(const GameState& g, Flood& f) {
    const bool necklace = Has(g, f, kNecklace);
    while (f.top > 0) {
        const Flood::Cell c = f.stack[--f.top];
        const int r = c.room, x = c.x, y = c.y;
        // Stepping off a trap's column without the necklace floods the passage.
        const bool trapped = !necklace && ((r == 75 && x == 14) || (r == 77 && x == 17));
        bool later = trapped;
        const int32_t* e = f.exits[r];
        for (int dx = -1; dx <= 1 && !trapped; ++dx) {
            for (int dy = -1; dy <= 1; ++dy) {
                const int nx = x + dx, ny = y + dy;
                if (ny < 0 && dx == 0) later |= Enter(g, f, r, e[0], x, kMapRows - 1);
                if (nx >= kMapColumns && dy == 0) later |= Enter(g, f, r, e[1], 0, y);
                if (ny >= kMapRows && dx == 0 && r != 0) later |= Enter(g, f, r, e[2], x, 0);
                if (nx < 0 && dy == 0) later |= Enter(g, f, r, e[3], kMapColumns - 1, y);
                if (!OnMap(nx, ny) || (dx == 0 && dy == 0)) continue;
                const uint8_t what = g.roomData[r * kRoomRecordSize + ny * kMapColumns + nx];
                if (what == 'U' || what == 'D') later |= Enter(g, f, r, e[what == 'U' ? 4 : 5], x, y);
                else later |= Visit(g, f, r, nx, ny);
            }
        }
        if (later && !f.waits[r][x][y]) {
            f.waits[r][x][y] = true;
            f.waiting[f.waitingCount++] = c;
        }
    }
}

// Something more is had: the cells that waited for it step again.
void Retry(Flood& f) {
    for (int i = 0; i < f.waitingCount; ++i) {
        const Flood::Cell c = f.waiting[i];
        f.waits[c.room][c.x][c.y] = false;
        f.stack[f.top++] = c;
    }
    f.waitingCount = 0;
}

// Whether the man can stand on or beside the cell.
bool Reached(const Flood& f, int room, int x, int y) {
    if (room < 0 || room >= kRoomCount) return false;
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            if (OnMap(x + dx, y + dy) && f.seen[room][x + dx][y + dy]) return true;
        }
    }
    return false;
}

bool RoomReached(const Flood& f, int room) {
    for (int x = 0; x < kMapColumns; ++x) {
        for (int y = 0; y < kMapRows; ++y) {
            if (f.seen[room][x][y]) return true;
        }
    }
    return false;
}

using Exits = int32_t[kRoomCount][6];

void ReadExits(const GameState& g, Exits& exits) {
    GameState scratch{};
    scratch.roomData = g.roomData;
    scratch.roomDataSize = g.roomDataSize;
    for (int r = 0; r < kRoomCount; ++r) {
        scratch.currentRoom = r;
        ParseExits(scratch);
        const int32_t e[6] = {scratch.exitNorth, scratch.exitEast, scratch.exitSouth,
                              scratch.exitWest, scratch.exitUp, scratch.exitDown};
        std::memcpy(exits[r], e, sizeof e);
    }
}

// The whole castle flooded with one cell walled, if blockedRoom is not -1.
bool Finishable(GameState& g, const Exits& exits, int32_t blockedRoom, Spot blocked) {
    // Big enough to keep off the stack of a small platform; the game runs one check at a time.
    static Flood f;
    std::memset(&f, 0, sizeof f);
    std::memcpy(f.exits, exits, sizeof f.exits);
    f.blockedRoom = blockedRoom;
    f.blocked = blocked;
    for (int i = 0; i < kItemCount; ++i) f.have[i] = g.items[i].carried != 0;

    Visit(g, f, 0, 14, 14);
    for (bool more = true; more;) {
        more = false;
        Spread(g, f);
        for (int i = 0; i < kItemCount; ++i) {
            const ItemRecord& it = g.items[i];
            // Under a locked door an item cannot be taken until the door opens.
            const bool shut = !it.carried && it.room >= 0 && it.room < kRoomCount && OnMap(it.x, it.y) &&
                              !Walkable(g, f, it.room, it.x, it.y) &&
                              g.roomData[it.room * kRoomRecordSize + it.y * kMapColumns + it.x] == ' ';
            if (!f.have[i] && !shut && Reached(f, it.room, it.x, it.y)) more = f.have[i] = true;
        }
        for (int b = 0; b < kBarrierCount; ++b) {
            const Barrier& bar = kBarriers[b];
            if (f.open[b] || !Has(g, f, bar.opener)) continue;
            const bool there = bar.besideOnly ? Reached(f, bar.room, bar.shut[0].x, bar.shut[0].y) ||
                                                    Reached(f, bar.room, bar.shut[1].x, bar.shut[1].y)
                                              : RoomReached(f, bar.room);
            if (there) more = f.open[b] = true;
        }
        if (more) Retry(f);
    }
    for (int i = 0; i < kItemCount; ++i) {
        if (g.items[i].treasure && !f.have[i]) return false;
    }
    for (const MonsterRecord& m : g.monsters) {
        if (!m.guardian && !Reached(f, m.room, m.x, m.y)) return false;
    }
    return Has(g, f, kSword) && Has(g, f, kScepter);
}

// Walling a cell cuts nothing off when the floor around it stays joined without
// it. That holds only away from the map's edge (doorways), from stairs either
// way, and from rooms whose ways change in play (barriers, traps, the start).
bool MayCut(const GameState& g, const Exits& exits, int room, int x, int y) {
    if (room == 0 || room == 75 || room == 77 || x == 0 || y == 0 || x == kMapColumns - 1 || y == kMapRows - 1) return true;
    for (const Barrier& b : kBarriers) {
        if (b.room == room) return true;
    }
    const auto at = [&g](int r, int cx, int cy) { return g.roomData[r * kRoomRecordSize + cy * kMapColumns + cx]; };
    for (int r = 0; r < kRoomCount; ++r) {
        for (int dx = -1; dx <= 1; ++dx) {
            for (int dy = -1; dy <= 1; ++dy) {
                const uint8_t c = at(r, x + dx, y + dy);
                // Stairs set the man down on the cell beside them, in either room.
                const bool stairs = c == 'U' || c == 'D';
                if (stairs && (r == room || exits[r][c == 'U' ? 4 : 5] == room)) return true;
            }
        }
    }
    // The floor around, joined by the man's steps without the cell itself: each
    // side touches the two sides and the two corners next to it round the cell.
    const auto open = [&](int dx, int dy) { return at(room, x + dx, y + dy) == ' '; };
    const bool side[4] = {open(0, -1), open(1, 0), open(0, 1), open(-1, 0)};
    const bool corner[4] = {open(1, -1), open(1, 1), open(-1, 1), open(-1, -1)};  // after each side
    int parts = side[0] && side[1] && side[2] && side[3] ? 1 : 0;
    for (int i = 0; i < 4; ++i) {
        parts += side[i] && !side[(i + 3) % 4];
        parts += corner[i] && !side[i] && !side[(i + 1) % 4];
    }
    return parts > 1;
}

bool RoomDataWhole(const GameState& g) {
    return g.roomData != nullptr && g.roomDataSize >= static_cast<uint32_t>(kRoomCount * kRoomRecordSize);
}

}  // namespace

bool LayoutCanBeFinished(GameState& g) {
    if (!RoomDataWhole(g)) return false;
    for (const ItemRecord& item : g.items) {
        for (const MonsterRecord& m : g.monsters) {
            if (!item.carried && item.room == m.room && item.x == m.x && item.y == m.y) return false;
        }
    }
    Exits exits;
    ReadExits(g, exits);
    return Finishable(g, exits, -1, kNone);
}

// A killed monster's body walls its cell for good. The man fights a monster
// where he meets it, and only a player who knows to lure it aside first could
// still finish a castle where one stands on the only way to something owed.
bool NoMonsterBarsTheWay(GameState& g) {
    if (!RoomDataWhole(g)) return false;
    Exits exits;
    ReadExits(g, exits);
    for (const MonsterRecord& m : g.monsters) {
        if (m.guardian || m.room < 0 || m.room >= kRoomCount || !OnMap(m.x, m.y)) continue;
        const Spot at{static_cast<int8_t>(m.x), static_cast<int8_t>(m.y)};
        if (MayCut(g, exits, m.room, m.x, m.y) && !Finishable(g, exits, m.room, at)) return false;
    }
    return true;
}
