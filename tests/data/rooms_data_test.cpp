// SPDX-License-Identifier: GPL-3.0-or-later
// The castle's compiled room data, checked byte by byte against what the game's
// rules expect of it: exits, edges, stairs, the cells the rules address, where
// things stand, and that the whole castle can be walked from the courtyard.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <deque>
#include <set>
#include <string>
#include <vector>

#include "world/world.h"

namespace {

constexpr int kTextOffset = kMapCells;
constexpr int kExitsOffset = kTextOffset + 125;

struct ExpectedRoom {
    int number;
    const char* name;
    std::vector<std::pair<char, int>> exits;
};

// The castle's plan: every room's name and where its exits lead.
const std::vector<ExpectedRoom> kPlan = {
    {0, "Castle Courtyard", {{'N', 1}}},
    {1, "Entrance room", {{'N', 2}, {'S', 0}}},
    {2, "The Welcome Hall", {{'N', 6}, {'S', 1}, {'E', 4}, {'W', 3}}},
    {3, "The West Ballroom", {{'N', 7}, {'E', 2}, {'U', 19}}},
    {4, "The East Ballroom", {{'N', 5}, {'W', 2}, {'U', 20}}},
    {5, "East Dining room", {{'N', 11}, {'S', 4}, {'E', 17}, {'W', 6}}},
    {6, "The Central Hall", {{'N', 12}, {'S', 2}, {'E', 5}, {'W', 7}, {'U', 22}}},
    {7, "West Dining room", {{'N', 8}, {'S', 3}, {'E', 6}}},
    {8, "The Kitchen", {{'N', 10}, {'S', 7}, {'E', 9}}},
    {9, "The Chef's Quarters", {{'W', 8}}},
    {10, "Storage room", {{'S', 8}, {'D', 67}}},
    {11, "The Castle Museum", {{'S', 5}, {'E', 16}}},
    {12, "Ante Room", {{'N', 13}, {'S', 6}}},
    {13, "Throne Room", {{'S', 12}, {'E', 15}, {'W', 14}}},
    {14, "Kings Dressing room", {{'E', 13}, {'U', 30}}},
    {15, "Queen's Dressing room", {{'W', 13}, {'U', 29}}},
    {16, "North end of the Castle Garden", {{'S', 17}, {'W', 11}}},
    {17, "South end of the Castle garden", {{'N', 16}, {'W', 5}}},
    {18, "center of the upper Hall", {{'N', 22}, {'E', 20}, {'W', 19}}},
    {19, "west end of the Upper hall", {{'N', 23}, {'E', 18}, {'D', 3}}},
    {20, "east end of the Upper Hall", {{'N', 21}, {'W', 18}, {'D', 4}}},
    {21, "The Guards Hall", {{'N', 24}, {'S', 20}, {'E', 32}, {'W', 22}}},
    {22, "Anex Hall", {{'N', 27}, {'S', 18}, {'E', 21}, {'W', 23}, {'D', 6}}},
    {23, "The Knights Hall", {{'N', 25}, {'S', 19}, {'E', 22}}},
    {24, "lower Battlement", {{'S', 21}, {'U', 41}}},
    {25, "Lower Battlement", {{'S', 23}, {'U', 44}}},
    {26, "Guest room", {{'E', 27}}},
    {27, "Cooridor", {{'N', 31}, {'S', 22}, {'E', 28}, {'W', 26}}},
    {28, "Guest Room", {{'W', 27}}},
    {29, "Queen's Bed room", {{'W', 31}, {'D', 15}}},
    {30, "Kings room", {{'E', 31}, {'D', 14}}},
    {31, "Cooridor", {{'S', 27}, {'E', 29}, {'W', 30}, {'U', 33}}},
    {32, "Balcony looking over the Castle Gardens", {{'W', 21}}},
    {33, "Cooridor", {{'S', 40}, {'E', 39}, {'W', 38}, {'D', 31}}},
    {34, "Cooridor", {{'N', 38}, {'S', 36}, {'E', 40}}},
    {35, "Cooridor", {{'N', 39}, {'S', 37}, {'W', 40}}},
    {36, "The Red Room", {{'N', 34}}},
    {37, "Blue room", {{'N', 35}}},
    {38, "Purple room", {{'S', 34}, {'E', 33}}},
    {39, "Yellow room", {{'S', 35}, {'W', 33}}},
    {40, "cooridor", {{'N', 33}, {'E', 35}, {'W', 34}, {'U', 52}}},
    {41, "upper Battlement", {{'S', 42}, {'W', 44}, {'U', 48}, {'D', 24}}},
    {42, "Upper Battlement", {{'N', 41}, {'S', 45}, {'D', 81}}},
    {43, "Upper Batlement", {{'N', 44}, {'S', 46}}},
    {44, "Upper Battlement", {{'S', 43}, {'E', 41}, {'U', 47}, {'D', 25}}},
    {45, "Upper Battlement", {{'N', 42}, {'W', 46}}},
    {46, "Upper Battlement", {{'N', 43}, {'E', 45}}},
    {47, "Castle wall", {{'S', 60}, {'E', 48}, {'D', 44}}},
    {48, "Castle wall", {{'S', 49}, {'W', 47}, {'D', 41}}},
    {49, "Bottom of the East Tower", {{'N', 48}, {'S', 50}, {'U', 62}}},
    {50, "Castle wall", {{'N', 49}, {'W', 59}}},
    {51, "Cooridor", {{'S', 52}, {'E', 55}, {'W', 56}}},
    {52, "Cooridor", {{'N', 51}, {'E', 54}, {'W', 53}, {'D', 40}}},
    {53, "Cooridor", {{'N', 56}, {'S', 57}, {'E', 52}}},
    {54, "Cooridor", {{'N', 55}, {'S', 58}, {'W', 52}}},
    {55, "King's Study", {{'S', 54}, {'W', 51}}},
    {56, "totally Empty room", {{'S', 53}, {'E', 51}}},
    {57, "west end of the King's Library", {{'N', 53}, {'E', 58}}},
    {58, "East end of the King's Library", {{'N', 54}, {'W', 57}}},
    {59, "Castle Wall", {{'N', 60}, {'E', 50}}},
    {60, "Below the West Tower", {{'N', 47}, {'S', 59}, {'U', 61}}},
    {61, "West Tower", {{'E', 66}, {'U', 63}, {'D', 60}}},
    {62, "The East Tower", {{'U', 64}, {'D', 49}}},
    {63, "top of the West tower", {{'D', 61}}},
    {64, "top of the East Tower", {{'D', 62}}},
    {65, "Sorcerers secret laboratory", {{'W', 66}}},
    {66, "Sorcerers Quarters", {{'W', 61}, {'E', 65}}},
    {67, "Royal Wine Cellar", {{'S', 68}, {'U', 10}}},
    {68, "long Passageway", {{'N', 67}, {'S', 69}}},
    {69, "Maze", {{'N', 68}, {'S', 71}, {'E', 70}}},
    {70, "Maze", {{'W', 69}}},
    {71, "Maze", {{'N', 69}, {'S', 73}, {'E', 72}}},
    {72, "Maze", {{'S', 74}, {'W', 71}}},
    {73, "Maze", {{'N', 71}, {'E', 74}}},
    {74, "Maze", {{'N', 72}, {'S', 75}, {'W', 73}}},
    {75, "Winding Passage", {{'N', 74}, {'E', 76}}},
    {76, "Winding Passage", {{'N', 77}, {'W', 75}, {'S', 82}}},
    {77, "Winding passage", {{'S', 76}, {'E', 80}}},
    {78, "Toture room", {{'N', 80}}},
    {79, "Dungeon", {{'S', 80}}},
    {80, "Dungeon Annex", {{'N', 79}, {'S', 78}, {'E', 81}, {'W', 77}}},
    {81, "Dungeon entrace hall", {{'W', 80}, {'U', 42}}},
    {82, "King's Secret room", {{'N', 76}}},
};

constexpr uint8_t kWall = 0xB2;
constexpr uint8_t kBlock = 0xDB;
const std::set<uint8_t> kThinBox = {0xB3, 0xBF, 0xC0, 0xC3, 0xC4, 0xD9, 0xDA};
// The six outline characters the furniture tests of the game look for.
const std::set<uint8_t> kFurnitureOutline = {0xDA, 0xC4, 0xBF, 0xC0, 0xD9, 0xB3};

enum Dir { N, E, S, W, U, D };
const char kDirLetters[] = "NESWUD";

using Map = std::array<std::array<uint8_t, kMapColumns>, kMapRows>;  // [row][column]

const uint8_t* Record(int room) { return kBuiltInRoomData + room * kRoomRecordSize; }

Map RawMap(int room) {
    Map m{};
    for (int y = 0; y < kMapRows; ++y)
        for (int x = 0; x < kMapColumns; ++x) m[y][x] = Record(room)[y * kMapColumns + x];
    return m;
}

// The map with every passage that the player is meant to open opened: the
// wand's secret passages of rooms 66 and 76. Doors and guardians stand on
// blank cells already.
Map OpenedMap(int room) {
    Map m = RawMap(room);
    if (room == 66) {
        for (int y = 6; y <= 11; ++y) m[y][18] = ' ';
        m[8][19] = m[9][19] = ' ';
        for (int x = 20; x <= 23; ++x) m[7][x] = m[10][x] = kWall;
    }
    if (room == 76) {
        m[17][10] = 0xDD;
        m[17][11] = m[17][12] = ' ';
        m[17][13] = 0xDE;
    }
    return m;
}

std::string DescriptionLine(int room, int line) {
    return std::string(reinterpret_cast<const char*>(Record(room) + kTextOffset + 25 * line), 25);
}

std::string ExitsField(int room) {
    return std::string(reinterpret_cast<const char*>(Record(room) + kExitsOffset), 18);
}

// The exit slots as the game reads them: at most 16 characters, up to the first blank.
std::array<int, 6> ParseExitSlots(int room) {
    std::array<int, 6> slots;
    slots.fill(-1);
    const std::string text = ExitsField(room).substr(0, 16);
    std::vector<std::pair<char, int>> pairs;
    for (char c : text) {
        if (c == ' ') break;
        if (c >= '0' && c <= '9') {
            if (!pairs.empty()) pairs.back().second = pairs.back().second * 10 + (c - '0');
        } else {
            pairs.push_back({c, 0});
        }
    }
    for (const auto& [letter, value] : pairs) {
        const char* p = std::strchr(kDirLetters, letter);
        if (p != nullptr && letter != '\0') slots[static_cast<size_t>(p - kDirLetters)] = value - 1;
    }
    return slots;
}

std::array<int, 6> PlannedSlots(int room) {
    std::array<int, 6> slots;
    slots.fill(-1);
    for (const auto& [letter, dest] : kPlan[static_cast<size_t>(room)].exits)
        slots[static_cast<size_t>(std::strchr(kDirLetters, letter) - kDirLetters)] = dest;
    return slots;
}

bool IsFloor(uint8_t c) { return c == ' '; }
bool IsWalkable(uint8_t c) { return c == ' ' || c == 'U' || c == 'D'; }

// Positions along an edge (columns for N and S, rows for E and W) that are floor.
std::set<int> Openings(const Map& m, int dir) {
    std::set<int> open;
    const int length = (dir == N || dir == S) ? kMapColumns : kMapRows;
    for (int i = 0; i < length; ++i) {
        const uint8_t c = dir == N ? m[0][i] : dir == S ? m[kMapRows - 1][i] : dir == W ? m[i][0] : m[i][kMapColumns - 1];
        if (IsWalkable(c)) open.insert(i);
    }
    return open;
}

// The spot test of the second quest, as the game defines it: a blank cell from
// which a flood through blank cells reaches a stair or a border opening.
bool SpotReachable(int room, int x, int y) {
    if (room == 7 && y == 0 && x >= 8 && x <= 15) return false;
    if (room == 8 && x >= 8 && x <= 15 && (y == 16 || y == 17)) return false;
    Map m = RawMap(room);
    if (m[y][x] != ' ') return false;
    bool opening[kMapRows][kMapColumns] = {};
    auto markLine = [&](int count, auto cellAt, auto mark) {
        int first = -1, last = -1;
        for (int i = 0; i < count; ++i)
            if (cellAt(i) != ' ') {
                if (first < 0) first = i;
                last = i;
            }
        for (int i = first + 1; first >= 0 && i < last; ++i)
            if (cellAt(i) == ' ') mark(i);
    };
    markLine(kMapColumns, [&](int i) { return m[0][i]; }, [&](int i) { opening[0][i] = true; });
    markLine(kMapColumns, [&](int i) { return m[17][i]; }, [&](int i) { opening[17][i] = true; });
    markLine(kMapRows, [&](int i) { return m[i][0]; }, [&](int i) { opening[i][0] = true; });
    markLine(kMapRows, [&](int i) { return m[i][23]; }, [&](int i) { opening[i][23] = true; });
    std::vector<std::pair<int, int>> stack = {{x, y}};
    while (!stack.empty()) {
        const auto [cx, cy] = stack.back();
        stack.pop_back();
        if (cx < 0 || cy < 0 || cx >= kMapColumns || cy >= kMapRows) continue;
        const uint8_t c = m[cy][cx];
        if (c == 'U' || c == 'D' || (c == ' ' && opening[cy][cx])) return true;
        if (c != ' ') continue;
        m[cy][cx] = 'X';
        stack.push_back({cx - 1, cy});
        stack.push_back({cx, cy + 1});
        stack.push_back({cx + 1, cy});
        stack.push_back({cx, cy - 1});
    }
    return false;
}

// Cells of one map reachable through floor from the seeds, with some cells barred.
using CellSet = std::set<std::pair<int, int>>;
CellSet FloodRoom(const Map& m, const CellSet& seeds, const CellSet& barred) {
    CellSet seen;
    std::deque<std::pair<int, int>> queue;
    for (const auto& s : seeds)
        if (IsWalkable(m[s.second][s.first]) && !barred.count(s) && seen.insert(s).second) queue.push_back(s);
    while (!queue.empty()) {
        const auto [x, y] = queue.front();
        queue.pop_front();
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int nx = x + dx, ny = y + dy;
                if (nx < 0 || ny < 0 || nx >= kMapColumns || ny >= kMapRows) continue;
                if (!IsWalkable(m[ny][nx]) || barred.count({nx, ny})) continue;
                if (seen.insert({nx, ny}).second) queue.push_back({nx, ny});
            }
    }
    return seen;
}

CellSet EdgeCells(const Map& m, int dir) {
    CellSet cells;
    for (int i : Openings(m, dir)) {
        if (dir == N) cells.insert({i, 0});
        if (dir == S) cells.insert({i, kMapRows - 1});
        if (dir == W) cells.insert({0, i});
        if (dir == E) cells.insert({kMapColumns - 1, i});
    }
    return cells;
}

CellSet StairNeighbours(const Map& m, uint8_t stair) {
    CellSet cells;
    for (int y = 0; y < kMapRows; ++y)
        for (int x = 0; x < kMapColumns; ++x)
            if (m[y][x] == stair)
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = x + dx, ny = y + dy;
                        if (nx >= 0 && ny >= 0 && nx < kMapColumns && ny < kMapRows && IsFloor(m[ny][nx]))
                            cells.insert({nx, ny});
                    }
    return cells;
}

bool Intersects(const CellSet& a, const CellSet& b) {
    for (const auto& c : a)
        if (b.count(c)) return true;
    return false;
}

// Walks the whole castle from the man's starting cell, moving as the game moves
// him: eight directions, over edges keeping the coordinate along the edge, by
// stairs onto the same cell, the puff of smoke into room 66. Solved, the doors
// are open, the guardians gone, the wand's passages open and the lamp lit, as
// a player would have it; unsolved, all of them stand in the way.
struct CastleWalk {
    bool seen[kRoomCount][kMapRows][kMapColumns] = {};
    std::array<Map, kRoomCount> maps;
    std::array<std::array<int, 6>, kRoomCount> exits;

    explicit CastleWalk(bool solved) {
        for (int r = 0; r < kRoomCount; ++r) {
            maps[static_cast<size_t>(r)] = solved ? OpenedMap(r) : RawMap(r);
            exits[static_cast<size_t>(r)] = ParseExitSlots(r);
        }
        if (!solved) {
            maps[67][14][8] = maps[67][14][9] = 0x08;
            maps[81][8][13] = maps[81][9][13] = 0x08;
            maps[27][9][23] = 0x05;
            maps[51][9][0] = maps[53][0][11] = 0xF6;
            for (auto [from, to] : {std::pair{10, 67}, std::pair{67, 10}, std::pair{76, 82}})
                for (int& e : exits[static_cast<size_t>(from)])
                    if (e == to) e = -1;
        }
        struct Spot {
            int room, x, y;
        };
        std::deque<Spot> queue;
        auto visit = [&](int room, int x, int y) {
            if (room < 0 || room >= kRoomCount) return;
            if (!IsFloor(maps[static_cast<size_t>(room)][y][x]) || seen[room][y][x]) return;
            seen[room][y][x] = true;
            queue.push_back({room, x, y});
        };
        visit(0, 14, 14);
        while (!queue.empty()) {
            const Spot s = queue.front();
            queue.pop_front();
            const auto& ex = exits[static_cast<size_t>(s.room)];
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int tx = s.x + dx, ty = s.y + dy;
                    if (ty < 0) {
                        visit(ex[N], s.x, kMapRows - 1);
                    } else if (tx >= kMapColumns) {
                        visit(ex[E], 0, s.y);
                    } else if (ty >= kMapRows) {
                        if (s.room != 0) visit(ex[S], s.x, 0);
                    } else if (tx < 0) {
                        if (ex[W] == 66)
                            visit(66, 16, 9);
                        else
                            visit(ex[W], kMapColumns - 1, s.y);
                    } else {
                        const uint8_t c = maps[static_cast<size_t>(s.room)][ty][tx];
                        if (c == 'U') visit(ex[U], s.x, s.y);
                        if (c == 'D') visit(ex[D], s.x, s.y);
                        if (c == ' ') visit(s.room, tx, ty);
                    }
                }
        }
    }

    bool RoomReached(int room) const {
        for (int y = 0; y < kMapRows; ++y)
            for (int x = 0; x < kMapColumns; ++x)
                if (seen[room][y][x]) return true;
        return false;
    }

    // A reached cell beside (orthogonally, or also diagonally) a cell showing one of the characters.
    bool ReachedBeside(int room, const std::set<uint8_t>& chars, bool diagonal) const {
        const Map& m = maps[static_cast<size_t>(room)];
        for (int y = 0; y < kMapRows; ++y)
            for (int x = 0; x < kMapColumns; ++x) {
                if (!seen[room][y][x]) continue;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        if ((dx == 0 && dy == 0) || (!diagonal && dx != 0 && dy != 0)) continue;
                        const int nx = x + dx, ny = y + dy;
                        if (nx >= 0 && ny >= 0 && nx < kMapColumns && ny < kMapRows && chars.count(m[ny][nx]))
                            return true;
                    }
            }
        return false;
    }
};

const CastleWalk& Walk() {
    static const CastleWalk* walk = new CastleWalk(true);
    return *walk;
}

GameState& Tables() {
    static GameState g{};
    SetUpItems(g);
    SetUpMonsters(g);
    return g;
}

std::string Collapsed(int room) {
    std::string all;
    for (int line = 0; line < 5; ++line) all += DescriptionLine(room, line) + " ";
    std::string out;
    for (char c : all)
        if (!(c == ' ' && (out.empty() || out.back() == ' '))) out += c;
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

TEST(RoomData, LayoutIs83RecordsThenZeroPadding) {
    static_assert(kRoomCount * kRoomRecordSize + 787 == kRoomDataSize);
    for (int i = kRoomCount * kRoomRecordSize; i < kRoomDataSize; ++i)
        ASSERT_EQ(kBuiltInRoomData[i], 0) << "padding byte " << i;
    for (int room = 0; room < kRoomCount; ++room)
        for (int i = 0; i < kRoomRecordSize; ++i)
            ASSERT_NE(Record(room)[i], 0) << "room " << room << " byte " << i << " is not a plain character";
}

TEST(RoomData, ExitsParseToThePlan) {
    ASSERT_EQ(kPlan.size(), static_cast<size_t>(kRoomCount));
    for (int room = 0; room < kRoomCount; ++room) {
        const std::string field = ExitsField(room);
        EXPECT_EQ(field.substr(16), "  ") << "room " << room << ": the last two characters must be blank";
        const size_t end = field.find(' ');
        ASSERT_NE(end, std::string::npos);
        EXPECT_EQ(field.find_first_not_of(' ', end), std::string::npos)
            << "room " << room << ": characters after the first blank would be ignored";
        for (size_t i = 0; i < end; ++i)
            EXPECT_TRUE(std::strchr(kDirLetters, field[i]) || (field[i] >= '0' && field[i] <= '9'))
                << "room " << room << " exits text \"" << field << "\"";
        EXPECT_TRUE(std::strchr(kDirLetters, field[0]) && field[0] != '\0') << "room " << room;
        EXPECT_EQ(ParseExitSlots(room), PlannedSlots(room)) << "room " << room << " exits text \"" << field << "\"";
    }
    EXPECT_EQ(ExitsField(0), "N2                ");
    EXPECT_EQ(ExitsField(76), "N78W76S83         ");
}

TEST(RoomData, DescriptionsNameTheirRooms) {
    for (int room = 0; room < kRoomCount; ++room) {
        for (int line = 0; line < 5; ++line)
            for (char c : DescriptionLine(room, line))
                EXPECT_TRUE(c >= 0x20 && c <= 0x7E) << "room " << room << " line " << line;
        const std::string text = Collapsed(room);
        EXPECT_EQ(text.rfind("You are ", 0), 0u) << "room " << room << ": " << text;
        const std::string name = kPlan[static_cast<size_t>(room)].name;
        const size_t at = text.find(name);
        EXPECT_NE(at, std::string::npos) << "room " << room << " does not name \"" << name << "\": " << text;
        EXPECT_LT(at, 20u) << "room " << room << " names itself too late: " << text;
    }
    const char* courtyard[] = {"You are in the Castle    ", "Courtyard. To the north  ",
                               "is a large Doorway.To the", "south is a large gate.   ",
                               "                         "};
    const char* winding[] = {"You are in a Winding     ", "Passage.                 ",
                             "                         ", "                         ",
                             "                         "};
    for (int line = 0; line < 5; ++line) {
        EXPECT_EQ(DescriptionLine(0, line), courtyard[line]);
        EXPECT_EQ(DescriptionLine(76, line), winding[line]);
    }
}

TEST(RoomData, MapsUseOnlyTheCastlesCharacters) {
    std::set<uint8_t> everywhere = {' ', 'U', 'D', kWall, kBlock, 0xB0, 0xB1};
    everywhere.insert(kThinBox.begin(), kThinBox.end());
    for (int room = 0; room < kRoomCount; ++room) {
        const Map m = RawMap(room);
        for (int y = 0; y < kMapRows; ++y)
            for (int x = 0; x < kMapColumns; ++x) {
                const uint8_t c = m[y][x];
                const bool special = (c == 0xCD && room == 0) || (c == 0xE0 && room == 18) ||
                                     (c == 0xE2 && room == 17) || (c == 0xF7 && room == 78) ||
                                     ((c == 'b' || c == 'k') && room == 73);
                EXPECT_TRUE(everywhere.count(c) || special)
                    << "room " << room << " (" << x << ", " << y << ") holds 0x" << std::hex << int(c);
            }
    }
    auto count = [](int room, uint8_t c) {
        int n = 0;
        const Map m = RawMap(room);
        for (const auto& row : m)
            for (uint8_t v : row) n += v == c;
        return n;
    };
    EXPECT_GE(count(18, 0xE0), 1) << "the statue";
    EXPECT_GE(count(17, 0xE2), 1) << "the fountain";
    EXPECT_GE(count(78, 0xF7), 1) << "the chains";
    EXPECT_GE(count(73, 'b'), 1) << "the writing on the wall";
    EXPECT_GE(count(73, 'k'), 1) << "the writing on the wall";
}

TEST(RoomData, CourtyardDoorwayAndGate) {
    const Map m = RawMap(0);
    for (int x = 0; x < kMapColumns; ++x) {
        const bool middle = x >= 10 && x <= 13;
        EXPECT_EQ(m[0][x], middle ? ' ' : kWall) << "top row, column " << x;
        EXPECT_EQ(m[17][x], middle ? 0xCD : kWall) << "bottom row, column " << x;
    }
    for (int y = 0; y < kMapRows; ++y) {
        EXPECT_EQ(m[y][0], kWall);
        EXPECT_EQ(m[y][23], kWall);
    }
    EXPECT_EQ(m[14][14], ' ') << "the man starts at (14, 14)";
}

TEST(RoomData, StripsBetweenDiningRoomAndKitchen) {
    const Map dining = RawMap(7), kitchen = RawMap(8);
    for (int x = 8; x <= 15; ++x) {
        EXPECT_EQ(dining[0][x], ' ') << "room 7 (" << x << ", 0)";
        EXPECT_EQ(kitchen[16][x], ' ') << "room 8 (" << x << ", 16)";
        EXPECT_EQ(kitchen[17][x], ' ') << "room 8 (" << x << ", 17)";
    }
    // The strips run outside the rooms' own walls: a wall with a doorway in it
    // stands between each strip and its room.
    int walls = 0, doors = 0;
    for (int x = 8; x <= 15; ++x) {
        walls += dining[1][x] == kWall;
        doors += dining[1][x] == ' ';
    }
    EXPECT_GT(walls, 0);
    EXPECT_GT(doors, 0);
    walls = doors = 0;
    for (int x = 8; x <= 15; ++x) {
        walls += kitchen[15][x] == kWall;
        doors += kitchen[15][x] == ' ';
    }
    EXPECT_GT(walls, 0);
    EXPECT_GT(doors, 0);
}

TEST(RoomData, GuardedDoorwaysAreSingleCells) {
    EXPECT_EQ(Openings(RawMap(27), E), std::set<int>({9})) << "the vampire's doorway";
    EXPECT_EQ(Openings(RawMap(51), W), std::set<int>({9})) << "the fairy's doorway of room 51";
    EXPECT_EQ(Openings(RawMap(53), N), std::set<int>({11})) << "the fairy's doorway of room 53";
}

TEST(RoomData, SorcerersMirrorAndHiddenCorridor) {
    const Map m = RawMap(66);
    EXPECT_EQ(m[6][18], 0xDA);
    for (int y = 7; y <= 10; ++y) EXPECT_EQ(m[y][18], 0xB3) << "mirror row " << y;
    EXPECT_EQ(m[11][18], 0xC0);
    for (int y = 3; y <= 14; ++y) EXPECT_EQ(m[y][19], kWall) << "east wall row " << y;
    for (int x = 20; x <= 23; ++x) {
        EXPECT_EQ(m[8][x], ' ') << "corridor (" << x << ", 8)";
        EXPECT_EQ(m[9][x], ' ') << "corridor (" << x << ", 9)";
    }
    EXPECT_EQ(m[9][16], ' ') << "the man appears at (16, 9)";
    EXPECT_EQ(m[9][17], ' ');
    // Before the wand is waved the way east is shut.
    const CellSet fromWest = FloodRoom(m, EdgeCells(m, W), {});
    EXPECT_FALSE(Intersects(fromWest, EdgeCells(m, E)));
    EXPECT_TRUE(Walk().seen[66][9][16]);
}

TEST(RoomData, WineCellarDoorClosesTheWaySouth) {
    const Map m = RawMap(67);
    EXPECT_EQ(m[14][8], ' ');
    EXPECT_EQ(m[14][9], ' ');
    EXPECT_EQ(m[14][7], kWall);
    EXPECT_EQ(m[14][10], kWall);
    EXPECT_EQ(m[13][8], ' ') << "opening the door steps the man to (8, 13)";
    const CellSet stairs = StairNeighbours(m, 'U');
    ASSERT_FALSE(stairs.empty());
    EXPECT_FALSE(Intersects(FloodRoom(m, stairs, {{8, 14}, {9, 14}}), EdgeCells(m, S)));
    EXPECT_TRUE(Intersects(FloodRoom(m, stairs, {}), EdgeCells(m, S)));
}

TEST(RoomData, DungeonDoorClosesTheWayWest) {
    const Map m = RawMap(81);
    EXPECT_EQ(m[8][13], ' ');
    EXPECT_EQ(m[9][13], ' ');
    EXPECT_EQ(m[7][13], kWall);
    EXPECT_EQ(m[10][13], kWall);
    EXPECT_EQ(m[8][14], ' ') << "opening the door steps the man to (14, 8)";
    const CellSet stairs = StairNeighbours(m, 'U');
    ASSERT_FALSE(stairs.empty());
    EXPECT_FALSE(Intersects(FloodRoom(m, stairs, {{13, 8}, {13, 9}}), EdgeCells(m, W)));
    EXPECT_TRUE(Intersects(FloodRoom(m, stairs, {}), EdgeCells(m, W)));
}

// The flood closes the corridor's ends and fills it column by column, so the
// corridor must be walled along both sides, and the trap's column must be the
// only way through.
void ExpectTrapCorridor(int room, int left, int right, int top, int trapColumn, int from, int to) {
    const Map m = RawMap(room);
    for (int x = left; x <= right; ++x) {
        EXPECT_EQ(m[top - 1][x], kWall) << "room " << room << " (" << x << ", " << top - 1 << ")";
        EXPECT_EQ(m[top][x], ' ') << "room " << room << " (" << x << ", " << top << ")";
        EXPECT_EQ(m[top + 1][x], ' ') << "room " << room << " (" << x << ", " << top + 1 << ")";
        EXPECT_EQ(m[top + 2][x], kWall) << "room " << room << " (" << x << ", " << top + 2 << ")";
    }
    for (int y = 0; y < kMapRows; ++y) {
        if (y == top || y == top + 1) continue;
        EXPECT_FALSE(IsWalkable(m[y][trapColumn]))
            << "room " << room << ": a step from (" << trapColumn << ", " << y << ") would spring the trap";
    }
    const CellSet start = EdgeCells(m, from), goal = EdgeCells(m, to);
    EXPECT_TRUE(Intersects(FloodRoom(m, start, {}), goal)) << "room " << room;
    EXPECT_FALSE(Intersects(FloodRoom(m, start, {{trapColumn, top}, {trapColumn, top + 1}}), goal))
        << "room " << room << ": the trap can be walked around";
}

TEST(RoomData, DrowningTrapCorridors) {
    ExpectTrapCorridor(75, 10, 16, 12, 14, N, E);
    ExpectTrapCorridor(77, 11, 23, 8, 17, S, E);
}

TEST(RoomData, SecretWallOfTheWindingPassage) {
    const Map m = RawMap(76);
    for (int x = 3; x <= 22; ++x) EXPECT_EQ(m[17][x], kWall) << "bottom row column " << x;
    EXPECT_TRUE(Openings(m, S).empty());
    EXPECT_EQ(Openings(OpenedMap(76), S), std::set<int>({11, 12}));
    EXPECT_EQ(m[16][11], ' ') << "the opened wall leads onto floor";
    EXPECT_EQ(m[16][12], ' ');
}

TEST(RoomData, EdgesLineUp) {
    const int opposite[] = {S, W, N, E};
    for (int room = 0; room < kRoomCount; ++room) {
        const Map m = OpenedMap(room);
        for (int corner : {0, 1}) {
            EXPECT_FALSE(IsWalkable(m[0][corner * 23])) << "room " << room << " has an open corner";
            EXPECT_FALSE(IsWalkable(m[17][corner * 23])) << "room " << room << " has an open corner";
        }
        const auto slots = ParseExitSlots(room);
        for (int dir : {N, E, S, W}) {
            const std::set<int> here = Openings(m, dir);
            if (slots[static_cast<size_t>(dir)] < 0) {
                EXPECT_TRUE(here.empty()) << "room " << room << " is open to the " << kDirLetters[dir]
                                          << " without an exit";
                continue;
            }
            const int dest = slots[static_cast<size_t>(dir)];
            EXPECT_FALSE(here.empty()) << "room " << room << " has no opening for its exit " << kDirLetters[dir];
            EXPECT_EQ(here, Openings(OpenedMap(dest), opposite[dir]))
                << "room " << room << " " << kDirLetters[dir] << " to room " << dest;
        }
    }
}

TEST(RoomData, StairsMatchTheExitsAndLandOnFloor) {
    for (int room = 0; room < kRoomCount; ++room) {
        const Map m = RawMap(room);
        const auto slots = ParseExitSlots(room);
        for (int dir : {U, D}) {
            const uint8_t stair = static_cast<uint8_t>(kDirLetters[dir]);
            const CellSet from = StairNeighbours(m, stair);
            bool any = false;
            for (const auto& row : m)
                for (uint8_t c : row) any |= c == stair;
            EXPECT_EQ(any, slots[static_cast<size_t>(dir)] >= 0) << "room " << room << " stair " << stair;
            if (!any || slots[static_cast<size_t>(dir)] < 0) continue;
            const int dest = slots[static_cast<size_t>(dir)];
            EXPECT_FALSE(from.empty()) << "room " << room << ": no floor beside the stair " << stair;
            const Map there = RawMap(dest);
            for (const auto& [x, y] : from)
                EXPECT_EQ(there[y][x], ' ') << "stair " << stair << " of room " << room << ": stepping on it from ("
                                            << x << ", " << y << ") lands inside room " << dest;
        }
    }
}

TEST(RoomData, ThingsStartOnReachableFloor) {
    GameState& g = Tables();
    const CastleWalk& walk = Walk();
    for (const ItemRecord& item : g.items) {
        if (!item.visible) continue;
        EXPECT_EQ(RawMap(item.room)[item.y][item.x], ' ') << item.name;
        EXPECT_TRUE(walk.seen[item.room][item.y][item.x]) << item.name << " cannot be reached";
        EXPECT_TRUE(SpotReachable(item.room, item.x, item.y)) << item.name;
    }
    for (const MonsterRecord& monster : g.monsters) {
        EXPECT_EQ(RawMap(monster.room)[monster.y][monster.x], ' ') << monster.name << " in room " << monster.room;
        EXPECT_TRUE(walk.seen[monster.room][monster.y][monster.x]) << monster.name << " in room " << monster.room;
    }
    // Nothing stands where the man lands from a staircase.
    for (int room = 0; room < kRoomCount; ++room) {
        const auto slots = ParseExitSlots(room);
        for (int dir : {U, D}) {
            if (slots[static_cast<size_t>(dir)] < 0) continue;
            const int dest = slots[static_cast<size_t>(dir)];
            for (const auto& [x, y] : StairNeighbours(RawMap(room), static_cast<uint8_t>(kDirLetters[dir]))) {
                for (const ItemRecord& item : g.items)
                    EXPECT_FALSE(item.visible && item.room == dest && item.x == x && item.y == y) << item.name;
                for (const MonsterRecord& monster : g.monsters)
                    EXPECT_FALSE(monster.room == dest && monster.x == x && monster.y == y) << monster.name;
            }
        }
    }
}

// A whole outline: corners joined by straight lines, as desks and plinths are drawn.
bool HasOutline(int room) {
    const Map m = RawMap(room);
    for (int y0 = 0; y0 < kMapRows; ++y0)
        for (int x0 = 0; x0 < kMapColumns; ++x0) {
            if (m[y0][x0] != 0xDA) continue;
            int x1 = x0 + 1;
            while (x1 < kMapColumns && m[y0][x1] == 0xC4) ++x1;
            int y1 = y0 + 1;
            while (y1 < kMapRows && m[y1][x0] == 0xB3) ++y1;
            if (x1 >= kMapColumns || y1 >= kMapRows || m[y0][x1] != 0xBF || m[y1][x0] != 0xC0 || m[y1][x1] != 0xD9)
                continue;
            bool whole = true;
            for (int x = x0 + 1; x < x1; ++x) whole &= m[y1][x] == 0xC4;
            for (int y = y0 + 1; y < y1; ++y) whole &= m[y][x1] == 0xB3;
            if (whole) return true;
        }
    return false;
}

TEST(RoomData, FurnitureStandsWithinReach) {
    for (int room : {9, 39, 55, 18, 17}) EXPECT_TRUE(HasOutline(room)) << "room " << room;
    const CastleWalk& walk = Walk();
    // Desks, the statue and the fountain are found by their outlines beside the man.
    for (int room : {9, 39, 55, 18, 17})
        EXPECT_TRUE(walk.ReachedBeside(room, kFurnitureOutline, false)) << "room " << room;
    // The library shelves are full blocks, reached also diagonally.
    EXPECT_TRUE(walk.ReachedBeside(57, {kBlock}, true));
    // Tables, shelves, throne, barrels: full blocks.
    for (int room : {8, 10, 13, 58, 67, 78}) EXPECT_TRUE(walk.ReachedBeside(room, {kBlock}, true)) << "room " << room;
    // Beds and the mirror: blocks or outlines.
    std::set<uint8_t> beds = kThinBox;
    beds.insert(kBlock);
    for (int room : {9, 36, 37, 38, 39, 66}) EXPECT_TRUE(walk.ReachedBeside(room, beds, true)) << "room " << room;
    EXPECT_TRUE(walk.ReachedBeside(78, {0xF7}, true)) << "the chains";
    // The statue and the fountain stand on plinths drawn round them.
    for (const auto& [room, glyph] : {std::pair{18, uint8_t{0xE0}}, std::pair{17, uint8_t{0xE2}}}) {
        const Map m = RawMap(room);
        for (int y = 0; y < kMapRows; ++y)
            for (int x = 0; x < kMapColumns; ++x) {
                if (m[y][x] != glyph) continue;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const uint8_t c = m[y + dy][x + dx];
                        EXPECT_TRUE(c == glyph || kThinBox.count(c))
                            << "room " << room << ": the plinth is open at (" << x + dx << ", " << y + dy << ")";
                    }
            }
    }
}

TEST(RoomData, WholeCastleCanBeWalkedFromTheCourtyard) {
    const CastleWalk& walk = Walk();
    for (int room = 0; room < kRoomCount; ++room) EXPECT_TRUE(walk.RoomReached(room)) << "room " << room;
}

// Before any puzzle is solved the man can reach everything he needs to solve
// them, and nothing that one of them guards.
TEST(RoomData, PuzzlesGuardTheirRoomsAndTheirToolsLieOpen) {
    const CastleWalk closed(false);
    GameState& g = Tables();
    const uint8_t tools[] = {0x06, 0x15, 0x16, 0xC4, 0xC5, 0xE7, 0xEC, 0x0E, 0x74};
    for (uint8_t tool : tools) {
        const ItemRecord* item = FindItemByGlyph(g, tool);
        ASSERT_NE(item, nullptr);
        EXPECT_TRUE(closed.RoomReached(item->room)) << item->name << " in room " << item->room;
        if (item->visible) {
            EXPECT_TRUE(closed.seen[item->room][item->y][item->x]) << item->name;
        }
    }
    // The key and the lamp open the cellar and the dungeon, the harp the empty
    // room, the cross the guest room, the wand the two secret rooms.
    for (int room : {28, 56, 65, 68, 69, 77, 80, 82}) EXPECT_FALSE(closed.RoomReached(room)) << "room " << room;
    EXPECT_FALSE(closed.RoomReached(67)) << "the cellar stairs are dark";
    EXPECT_TRUE(closed.RoomReached(81)) << "the dungeon stair from the battlements";
    EXPECT_FALSE(closed.seen[81][8][12]) << "the dungeon door";
}

TEST(RoomData, EveryRoomHasAPlaceForTheSecondQuest) {
    const CastleWalk& walk = Walk();
    for (int room = 1; room < kRoomCount; ++room) {
        int spots = 0;
        for (int y = 0; y < kMapRows; ++y)
            for (int x = 0; x < kMapColumns; ++x) {
                if (!SpotReachable(room, x, y)) continue;
                ++spots;
                // A spot the second quest may choose must really be walkable to.
                EXPECT_TRUE(walk.seen[room][y][x]) << "room " << room << " (" << x << ", " << y << ")";
            }
        EXPECT_GT(spots, 0) << "room " << room;
    }
}

}  // namespace
