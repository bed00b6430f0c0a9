// SPDX-License-Identifier: GPL-3.0-or-later
#include "world_test.h"

#include <deque>

uint8_t WorldTest::DataCell(int room, int x, int y) {
    return kBuiltInRoomData[room * kRoomRecordSize + y * kMapColumns + x];
}

bool WorldTest::Blank(int x, int y) const {
    return x >= 0 && x < kMapColumns && y >= 0 && y < kMapRows && CellAt(g, x, y) == ' ';
}

uint32_t WorldTest::KeyFor(int dx, int dy) {
    if (dx < 0) return VK_LEFT;
    if (dx > 0) return VK_RIGHT;
    return dy < 0 ? VK_UP : VK_DOWN;
}

bool WorldTest::WalkTo(int tx, int ty) {
    const int sx = g.playerColumn;
    const int sy = g.playerRow;
    if (sx == tx && sy == ty) return true;
    std::vector<int> from(kMapCells, -1);
    std::deque<int> queue{sx * kMapRows + sy};
    from[static_cast<size_t>(sx * kMapRows + sy)] = sx * kMapRows + sy;
    const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    while (!queue.empty()) {
        const int at = queue.front();
        queue.pop_front();
        for (const auto& s : steps) {
            const int nx = at / kMapRows + s[0];
            const int ny = at % kMapRows + s[1];
            if (!Blank(nx, ny) || from[static_cast<size_t>(nx * kMapRows + ny)] >= 0) continue;
            from[static_cast<size_t>(nx * kMapRows + ny)] = at;
            queue.push_back(nx * kMapRows + ny);
        }
    }
    if (tx < 0 || tx >= kMapColumns || ty < 0 || ty >= kMapRows) return false;
    if (from[static_cast<size_t>(tx * kMapRows + ty)] < 0) return false;
    std::vector<int> path;
    for (int at = tx * kMapRows + ty; at != sx * kMapRows + sy; at = from[static_cast<size_t>(at)]) path.push_back(at);
    for (auto it = path.rbegin(); it != path.rend(); ++it) {
        const int nx = *it / kMapRows;
        const int ny = *it % kMapRows;
        Press(KeyFor(nx - g.playerColumn, ny - g.playerRow));
        if (g.playerColumn != nx || g.playerRow != ny) return false;
    }
    return true;
}

bool WorldTest::LeaveBy(char edge) {
    const int room = g.currentRoom;
    for (int i = 0; i < (edge == 'N' || edge == 'S' ? kMapColumns : kMapRows); ++i) {
        int x = i;
        int y = i;
        if (edge == 'N') y = 0;
        if (edge == 'S') y = kMapRows - 1;
        if (edge == 'W') x = 0;
        if (edge == 'E') x = kMapColumns - 1;
        if (!Blank(x, y) && !(g.playerColumn == x && g.playerRow == y)) continue;
        if (!WalkTo(x, y)) continue;
        Press(edge == 'N' ? VK_UP : edge == 'S' ? VK_DOWN : edge == 'W' ? VK_LEFT : VK_RIGHT);
        return g.currentRoom != room;
    }
    return false;
}

bool WorldTest::TakeStairs(char stair, bool held) {
    const int room = g.currentRoom;
    for (int x = 0; x < kMapColumns; ++x) {
        for (int y = 0; y < kMapRows; ++y) {
            if (CellAt(g, x, y) != static_cast<uint8_t>(stair)) continue;
            const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
            for (const auto& s : steps) {
                const int bx = x + s[0];
                const int by = y + s[1];
                if (!Blank(bx, by) && !(g.playerColumn == bx && g.playerRow == by)) continue;
                if (!WalkTo(bx, by)) continue;
                const uint32_t key = KeyFor(-s[0], -s[1]);
                if (held) {
                    PressRepeat(key);
                } else {
                    Press(key);
                }
                return g.currentRoom != room;
            }
        }
    }
    return false;
}

Spot WorldTest::FindBlankPair(int dx, int dy, int fromColumn) const {
    for (int x = fromColumn; x < kMapColumns - 1; ++x) {
        for (int y = 1; y < kMapRows - 1; ++y) {
            if (Blank(x, y) && Blank(x + dx, y + dy)) return {x, y};
        }
    }
    return {};
}

Spot WorldTest::EdgeSpot(int room, char edge) {
    const int n = edge == 'N' || edge == 'S' ? kMapColumns : kMapRows;
    for (int i = 0; i < n; ++i) {
        const int x = edge == 'W' ? 0 : edge == 'E' ? kMapColumns - 1 : i;
        const int y = edge == 'N' ? 0 : edge == 'S' ? kMapRows - 1 : i;
        if (DataBlank(room, x, y)) return {x, y};
    }
    return {};
}

void WorldTest::PlaceAtEdge(int room, char edge) {
    const Spot spot = EdgeSpot(room, edge);
    ASSERT_TRUE(spot.found()) << "room " << room << " has no opening on edge " << edge;
    PlaceMan(room, spot.x, spot.y);
}

uint32_t WorldTest::PlaceBeside(int room, uint8_t what) {
    const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (int x = 0; x < kMapColumns; ++x) {
        for (int y = 0; y < kMapRows; ++y) {
            if (DataCell(room, x, y) != what) continue;
            for (const auto& s : steps) {
                const int bx = x + s[0];
                const int by = y + s[1];
                if (bx < 0 || bx >= kMapColumns || by < 0 || by >= kMapRows || !DataBlank(room, bx, by)) continue;
                PlaceMan(room, bx, by);
                return KeyFor(-s[0], -s[1]);
            }
        }
    }
    return 0;
}

void WorldTest::PlaceInside(int room) {
    Spot best;
    int bestDistance = 1 << 20;
    for (int x = 1; x < kMapColumns - 1; ++x) {
        for (int y = 1; y < kMapRows - 1; ++y) {
            const int d = (2 * x - kMapColumns) * (2 * x - kMapColumns) + (2 * y - kMapRows) * (2 * y - kMapRows);
            if (DataBlank(room, x, y) && d < bestDistance) {
                best = {x, y};
                bestDistance = d;
            }
        }
    }
    ASSERT_TRUE(best.found()) << "room " << room << " has no floor";
    PlaceMan(room, best.x, best.y);
}

std::vector<int> WorldTest::QuietCues() const {
    std::vector<int> ids;
    for (const fake::CueEvent& e : fake::State().cues) {
        if (e.call == fake::CueCall::PlayIfQuiet) ids.push_back(e.id);
    }
    return ids;
}

std::vector<int> WorldTest::LoudCues() const {
    std::vector<int> ids;
    for (const fake::CueEvent& e : fake::State().cues) {
        if (e.call == fake::CueCall::Play) ids.push_back(e.id);
    }
    return ids;
}

std::string WorldTest::Messages() const {
    std::string out;
    for (int line = 0; line < 7; ++line) out += MessageLine(g, line) + "|";
    return out;
}
