// SPDX-License-Identifier: GPL-3.0-or-later
// The castle's rooms: the room compiler makes the very bytes the game carries
// from their source, and refuses a faulty one with its file, line and reason
// before writing anything. The compiled castle against the rules that read it:
// walked from the courtyard it opens room by room as the puzzles are solved, its
// edges and stairs meet their exits, and everything starts, or is scattered,
// where the man can go.
#ifdef GRIMSPIRE_ROOMC
#include <sys/wait.h>
#endif

#include <array>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "core/cp437.h"
#include "game_fixture.h"
#include "temp_dir.h"
#include "world/world.h"

namespace {

// The room compiler runs on the build machine; a cross-built suite has none to run.
#ifdef GRIMSPIRE_ROOMC
// Compiles the lines as rooms.txt in the current directory: the exit status, and what it said.
std::string Compile(const std::vector<std::string>& lines) {
    std::ofstream source("rooms.txt", std::ios::binary);
    for (const std::string& line : lines) source << line << '\n';
    source.close();
    const int status = std::system("'" GRIMSPIRE_ROOMC "' rooms.txt --cpp out.cpp --bin out.bin 2>err.txt");
    return std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) + " " + ReadFile("err.txt");
}

std::vector<std::string> Source() {
    std::ifstream in(GRIMSPIRE_ROOM_SOURCE, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Each room the game carries, read back as its source block: the map and description lines
// between bars, then the exits (the compiler's own reading is not asked).
TEST(RoomCompiler, TheGameCarriesEachRoomAsItsSourceReads) {
    std::vector<std::string> source;
    for (const std::string& line : Source()) if (!line.empty() && line[0] != '#' && line.rfind("room ", 0) != 0) source.push_back(line);
    std::vector<std::string> carried;
    for (int room = 0; room < kRoomCount; ++room) {
        const uint8_t* r = kBuiltInRoomData + room * kRoomRecordSize;
        for (int line = 0; line < kMapRows + 5; ++line) {
            const int width = line < kMapRows ? kMapColumns : 25, at = line < kMapRows ? line * kMapColumns : kMapCells + (line - kMapRows) * 25;
            std::string text = "|";
            for (int k = 0; k < width; ++k) AppendUtf8(text, Cp437ToUnicode(r[at + k]));
            carried.push_back(text + "|");
        }
        const std::string exits(reinterpret_cast<const char*>(r) + kMapCells + 125, 16);
        carried.push_back("exits " + exits.substr(0, exits.find_last_not_of(' ') + 1));
    }
    ASSERT_EQ(carried.size(), source.size());
    for (size_t i = 0; i < source.size(); ++i) EXPECT_EQ(carried[i], source[i]) << "room " << i / 24;
}

// A room's block is its header (line 0), 18 map lines (1..18), 5 description
// lines (19..23) and the exits line (24). Each fault, in a room, replaces a line
// of its block with the text and is blamed on that line; or, without text, cuts
// the source off there and is blamed on the line before.
constexpr std::tuple<int, int, const char*, const char*> kFaults[] = {
    {12, 3, "|                       |", "line is 23 characters wide, expected 24"},
    {5, 1, "XXXXXXXXXXXXXXXXXXXXXXXX|", "room 5 needs 18 map lines, each between '|' bars"},
    {3, 4, "|     \xC2\xA0                  |", "column 6: U+00A0 has no usable CP437 code"},
    {20, 24, "|                         |", "expected 'exits <text>'"},
    {2, 24, "exits N7S2X5", "bad exit direction 'X'"},
    {2, 24, "exits N7N8", "exit N given twice"},
    {2, 24, "exits N84", "exit N needs a room number plus one, 1 to 83"},
    {2, 24, "exits N10S11E12W13U14D1", "exits text longer than 16 characters"},
    {9, 0, "room 10  Storage room", "room 9 is missing"},
    {10, 0, "room 9  Chef's Quarters again", "room 9 out of order or given twice"},
    {82, 0, nullptr, "room 82 is missing"},
    {82, 10, nullptr, "room 82 is incomplete at the end of the file"},
};

TEST(RoomCompiler, RefusesEachFaultWithFileLineAndReasonWritingNothing) {
    for (const auto& [room, at, text, reason] : kFaults) {
        const ScopedTempDir dir;
        auto lines = Source();
        size_t start = 0;
        while (lines[start].rfind("room " + std::to_string(room) + " ", 0) != 0) ++start;
        const size_t line = start + static_cast<size_t>(at);
        if (text) lines[line] = text;
        else lines.resize(line);
        EXPECT_EQ(Compile(lines), "1 rooms.txt:" + std::to_string(line + (text ? 1 : 0)) + ": " + reason + "\n");
        EXPECT_FALSE(std::filesystem::exists("out.bin") || std::filesystem::exists("out.cpp")) << reason;
    }
}
#endif  // GRIMSPIRE_ROOMC

enum Dir { N, E, S, W, U, D };
using Cell = std::array<int, 3>;  // room, column, row
using Castle = GameTest;

// The castle walked from the man's first cell as the game moves him: eight ways,
// over an edge keeping the coordinate along it, off a stair onto the same cell
// upstairs or down, from the laboratory by the puff of smoke to (16, 9). Solved,
// the wand's passages are open and doors, guardians and darkness out of the way;
// unsolved, they all stand. Walled cells are walls either way. Every way out of a
// room that is taken is noted, and every arrival anywhere but on floor.
struct Walk {
    std::array<std::array<uint8_t, kMapCells>, kRoomCount> maps;  // row by row, as the records hold them
    std::array<std::array<int, 6>, kRoomCount> exits;             // as the game parses them on entry
    std::set<Cell> seen, landings;                                // landings: off a staircase
    bool taken[kRoomCount][6] = {};
    std::set<std::array<int, 4>> badArrivals;  // room, way out (N..D), where the man would stand

    uint8_t& At(int room, int x, int y) { return maps[room][y * kMapColumns + x]; }
    bool Reached(int room) const { return seen.lower_bound({room, 0, 0}) != seen.lower_bound({room + 1, 0, 0}); }

    Walk(GameState g, bool solved, std::vector<Cell> walls = {}) {
        const int start = g.currentRoom;
        for (int r = 0; r < kRoomCount; ++r) {
            std::copy_n(kBuiltInRoomData + r * kRoomRecordSize, kMapCells, maps[r].begin());
            g.currentRoom = r;
            ParseExits(g);
            exits[r] = {g.exitNorth, g.exitEast, g.exitSouth, g.exitWest, g.exitUp, g.exitDown};
        }
        if (solved) {
            for (int y = 6; y <= 11; ++y) At(66, 18, y) = ' ';
            At(66, 19, 8) = At(66, 19, 9) = At(76, 11, 17) = At(76, 12, 17) = ' ';
        } else {
            walls.insert(walls.end(), {{67, 8, 14}, {67, 9, 14}, {81, 13, 8}, {81, 13, 9}, {27, 23, 9}, {51, 0, 9},
                                       {53, 11, 0}});
            for (auto [from, to] : {std::pair{10, 67}, {67, 10}, {76, 82}})
                for (int& e : exits[from]) e = e == to ? -1 : e;
        }
        for (auto [room, x, y] : walls) At(room, x, y) = 0xB2;
        std::deque<Cell> queue;
        auto visit = [&](int room, int x, int y) {
            if (At(room, x, y) == ' ' && seen.insert({room, x, y}).second) queue.push_back({room, x, y});
        };
        auto leave = [&](int from, int dir, int x, int y) {
            const int to = exits[from][dir];
            taken[from][dir] = true;
            if (dir >= U) landings.insert({to, x, y});
            if (to >= 0 && At(to, x, y) == ' ') return visit(to, x, y);
            badArrivals.insert({from, dir, x, y});
        };
        for (visit(start, g.playerColumn, g.playerRow); !queue.empty(); queue.pop_front()) {
            const auto [room, x, y] = queue.front();
            for (int tx = x - 1; tx <= x + 1; ++tx)
                for (int ty = y - 1; ty <= y + 1; ++ty) {
                    const uint8_t c = tx < 0 || ty < 0 || tx >= kMapColumns || ty >= kMapRows ? 0 : At(room, tx, ty);
                    if (ty < 0) leave(room, N, x, kMapRows - 1);
                    else if (tx >= kMapColumns) leave(room, E, 0, y);
                    else if (ty >= kMapRows) leave(room, S, x, 0);
                    else if (tx < 0) exits[room][W] == 66 ? leave(room, W, 16, 9) : leave(room, W, kMapColumns - 1, y);
                    else if (c == 'U' || c == 'D') leave(room, c == 'U' ? U : D, x, y);
                    else visit(room, tx, ty);
                }
        }
    }
};

TEST_F(Castle, SolvedEveryRoomIsWalkedIntoByItsExitsAndEverythingStartsOrIsScatteredWithinReach) {
    StartPlaying();
    Walk solved(g, true);
    EXPECT_EQ(solved.badArrivals, decltype(solved.badArrivals){});
    const std::string drawn = " UD\xB2\xDB\xB0\xB1\xB3\xBF\xC0\xC3\xC4\xD9\xDA\xCD\xE0\xE2\xF7" "bk";
    for (int room = 0; room < kRoomCount; ++room) {
        EXPECT_TRUE(solved.Reached(room)) << "room " << room;
        for (int dir = N; dir <= D; ++dir)
            EXPECT_EQ(solved.taken[room][dir], solved.exits[room][dir] >= 0) << "room " << room << " " << "NESWUD"[dir];
        // Only the castle's own characters, so nothing drawn passes for a thing, a man or a door.
        for (uint8_t c : solved.maps[room])
            EXPECT_NE(drawn.find(static_cast<char>(c)), drawn.npos) << "room " << room << " draws " << int(c);
        // The second quest draws its places by the game's own test: some in every room, each walkable to.
        int spots = 0;
        for (int y = 0; y < kMapRows; ++y)
            for (int x = 0; x < kMapColumns; ++x) {
                spots += IsReachableSpot(g, room, x, y);
                EXPECT_TRUE(!IsReachableSpot(g, room, x, y) || solved.seen.count({room, x, y}))
                    << room << ':' << x << ',' << y;
            }
        EXPECT_GT(spots, 0) << "room " << room;
    }
    // Things stand on floor the man can reach, and not where he comes off a staircase.
    const auto clear = [&](const Cell& c) { return solved.seen.count(c) && !solved.landings.count(c); };
    for (const ItemRecord& i : g.items)
        EXPECT_TRUE(!i.visible || (clear({i.room, i.x, i.y}) && IsReachableSpot(g, i.room, i.x, i.y))) << i.name;
    for (const MonsterRecord& m : g.monsters) EXPECT_TRUE(clear({m.room, m.x, m.y})) << m.name;
}

TEST_F(Castle, UnsolvedEachPuzzleGuardsItsRoomsWhileTheToolsLieOpen) {
    StartPlaying();
    Walk closed(g, false);
    // Lamp, necklace, book, wand, sword, key, glasses, harp and cross.
    const std::string tools = "\x06\x15\x16\xC4\xC5\xE7\xEC\x0E\x74";
    for (const ItemRecord& i : g.items)
        EXPECT_TRUE(tools.find(static_cast<char>(i.glyph)) == std::string::npos ||
                    (i.visible ? closed.seen.count({i.room, i.x, i.y}) : closed.Reached(i.room)))
            << i.name;
    // The cross clears the vampire's door, the harp the fairies', the wand the
    // mirror and the winding wall; the lamp and the key the cellar and dungeon.
    for (int room : {28, 56, 65, 67, 68, 69, 77, 80, 82}) EXPECT_FALSE(closed.Reached(room)) << "room " << room;
    EXPECT_TRUE(closed.Reached(81) && !closed.seen.count({81, 12, 8})) << "the dungeon door, from the battlements";
    // The drowning traps spring on their columns; with those walled up no way
    // leads into the winding passage between them.
    std::vector<Cell> traps;
    for (int y = 0; y < kMapRows; ++y) traps.insert(traps.end(), {{75, 14, y}, {77, 17, y}});
    Walk trapped(g, true, traps);
    EXPECT_TRUE(!trapped.Reached(76) && trapped.Reached(75) && trapped.Reached(77));
}

}  // namespace
