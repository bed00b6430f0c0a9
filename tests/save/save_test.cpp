// SPDX-License-Identifier: GPL-3.0-or-later
// Saved games: the file's layout byte for byte, the round trip through SAVE and
// LOAD, files that are refused, and saves that fail without costing an earlier one.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "game_fixture.h"
#include "golden.h"
#include "save/save.h"
#include "world/world.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

class SaveTest : public GameTest {
protected:
    // Saves go to the current directory: each test gets an empty one of its own.
    void SetUp() override {
        GameTest::SetUp();
        previous = fs::current_path();
        char pattern[] = "/tmp/grimspire-save-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        fs::current_path(dir);
    }
    void TearDown() override {
        fs::current_path(previous);
        std::error_code ec;
        fs::remove_all(dir, ec);
    }

    static Bytes ReadFile(const std::string& name) {
        std::ifstream in(name, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static void WriteFile(const std::string& name, const Bytes& bytes) {
        std::ofstream out(name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    static int32_t IntAt(const Bytes& b, size_t offset) {
        return static_cast<int32_t>(b[offset] | b[offset + 1] << 8 | b[offset + 2] << 16 |
                                    static_cast<uint32_t>(b[offset + 3]) << 24);
    }
    static void SetIntAt(Bytes& b, size_t offset, int32_t v) {
        for (int i = 0; i < 4; ++i) b[offset + static_cast<size_t>(i)] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i));
    }
    std::vector<std::string> DirectoryEntries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    // A game somewhere in the middle: away from the courtyard, things carried,
    // a monster hurt, a door open, water in the flask.
    void PlayABit() {
        StartPlaying(5);
        PlaceMan(23, 5, 5);
        g.facing = 6;
        g.strength = 73;
        Carry(5);
        Carry(9);
        g.items[2].visible = 1;
        g.items[15].room = 0;
        g.items[15].x = 3;
        g.items[15].y = 4;
        g.monsters[3].strength = 20;
        g.monsters[0].strength = -4;
        g.monsters[9].present = 0;
        g.doorLocked67 = 0;
        g.flaskHasWater = 1;
        g.waterDrunk = 1;
    }
    // Every saved field equal.
    static void ExpectSameGame(const GameState& a, const GameState& b) {
        EXPECT_EQ(std::memcmp(a.roomMap, b.roomMap, sizeof a.roomMap), 0);
        EXPECT_EQ(a.currentRoom, b.currentRoom);
        EXPECT_EQ(a.playerColumn, b.playerColumn);
        EXPECT_EQ(a.playerRow, b.playerRow);
        EXPECT_EQ(a.facing, b.facing);
        EXPECT_EQ(a.exitNorth, b.exitNorth);
        EXPECT_EQ(a.exitEast, b.exitEast);
        EXPECT_EQ(a.exitSouth, b.exitSouth);
        EXPECT_EQ(a.exitWest, b.exitWest);
        EXPECT_EQ(a.exitUp, b.exitUp);
        EXPECT_EQ(a.exitDown, b.exitDown);
        EXPECT_EQ(a.strength, b.strength);
        for (int i = 0; i < kItemCount; ++i) {
            EXPECT_EQ(std::memcmp(&a.items[i], &b.items[i], sizeof a.items[i]), 0) << "item " << i;
        }
        for (int i = 0; i < kMonsterCount; ++i) {
            EXPECT_EQ(std::memcmp(&a.monsters[i], &b.monsters[i], sizeof a.monsters[i]), 0) << "monster " << i;
        }
        EXPECT_EQ(a.doorLocked67, b.doorLocked67);
        EXPECT_EQ(a.doorLocked81, b.doorLocked81);
        EXPECT_EQ(a.flaskHasWater, b.flaskHasWater);
        EXPECT_EQ(a.waterDrunk, b.waterDrunk);
    }
    // What a fresh game looks like after a refused LOAD.
    void ExpectFreshGame() {
        EXPECT_EQ(g.mode, Play);
        EXPECT_EQ(g.currentRoom, 0);
        EXPECT_EQ(g.playerColumn, 14);
        EXPECT_EQ(g.playerRow, 14);
        EXPECT_EQ(g.strength, 100);
        EXPECT_EQ(CellAt(g, 14, 14), 0x05);
        EXPECT_EQ(CarriedCount(g), 0);
        EXPECT_EQ(g.doorLocked67, 1);
        EXPECT_EQ(g.flaskHasWater, 0);
        EXPECT_EQ(g.whatTicks, 0u);  // a LOAD of an existing file is never "What???"
        EXPECT_EQ(MessageLine(g, 0), "");
        GameState fresh{};
        fresh.roomData = g.roomData;
        fresh.roomDataSize = g.roomDataSize;
        NewGame(fresh);
        for (int i = 0; i < kItemCount; ++i) EXPECT_EQ(g.items[i].room, fresh.items[i].room) << i;
        for (int i = 0; i < kMonsterCount; ++i) EXPECT_EQ(g.monsters[i].strength, fresh.monsters[i].strength) << i;
    }

    fs::path previous;
    fs::path dir;
};

TEST_F(SaveTest, TheFileHoldsTheGameByteForByte) {
    PlayABit();
    Type("SAVE GAME");
    Bytes screenAtEnter(g.screen, g.screen + kScreenCells);
    Press(VK_RETURN);
    EXPECT_EQ(MessageLine(g, 0), " Game Saved");

    const Bytes b = ReadFile("GAME");
    ASSERT_EQ(b.size(), 2152u);
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 1000), screenAtEnter);
    // The typed command stands in the saved picture.
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[26 * 25 + 22]), 1), "S");
    EXPECT_EQ(Bytes(b.begin() + 1000, b.begin() + 1432), Bytes(g.roomMap, g.roomMap + kMapCells));
    const int32_t head[] = {23, 5, 5, 6, g.exitNorth, g.exitEast, g.exitSouth, g.exitWest, g.exitUp, g.exitDown, 73};
    for (size_t i = 0; i < std::size(head); ++i) EXPECT_EQ(IntAt(b, 1432 + 4 * i), head[i]) << i;
    for (int i = 0; i < kItemCount; ++i) {
        const ItemRecord& item = g.items[i];
        const size_t at = 1476 + 20 * static_cast<size_t>(i);
        EXPECT_EQ(IntAt(b, at), item.carried) << i;
        EXPECT_EQ(IntAt(b, at + 4), item.room) << i;
        EXPECT_EQ(IntAt(b, at + 8), item.visible) << i;
        EXPECT_EQ(IntAt(b, at + 12), item.x) << i;
        EXPECT_EQ(IntAt(b, at + 16), item.y) << i;
    }
    EXPECT_EQ(IntAt(b, 1476 + 20 * 15 + 4), 0);  // the SCEPTER, laid in the courtyard
    for (int i = 0; i < kMonsterCount; ++i) {
        const MonsterRecord& monster = g.monsters[i];
        const size_t at = 1916 + 20 * static_cast<size_t>(i);
        EXPECT_EQ(IntAt(b, at), monster.strength) << i;
        EXPECT_EQ(IntAt(b, at + 4), monster.room) << i;
        EXPECT_EQ(IntAt(b, at + 8), monster.present) << i;
        EXPECT_EQ(IntAt(b, at + 12), monster.x) << i;
        EXPECT_EQ(IntAt(b, at + 16), monster.y) << i;
    }
    EXPECT_EQ(IntAt(b, 1916), -4);  // little-endian negatives
    EXPECT_EQ(IntAt(b, 2136), 0);
    EXPECT_EQ(IntAt(b, 2140), 1);
    EXPECT_EQ(IntAt(b, 2144), 1);
    EXPECT_EQ(IntAt(b, 2148), 1);
    EXPECT_EQ(DirectoryEntries(), std::vector<std::string>{"GAME"});
}

TEST_F(SaveTest, SaveWalkFightLoadBringsEverythingBack) {
    PlayABit();
    Command("SAVE KEEP");
    const GameState saved = g;
    const Bytes file = ReadFile("KEEP");

    // Walk, fight, open, drink: change all that a save holds.
    PlaceMan(3, 11, 8);
    Carry(0);
    g.monsters[0].strength = 80;
    for (int i = 0; i < 20 && g.monsters[0].strength == 80; ++i) Press(VK_RIGHT);
    ASSERT_LT(g.monsters[0].strength, 80) << "the sword never struck the ogre";
    Press(VK_UP, 3);
    g.doorLocked67 = 1;
    g.doorLocked81 = 0;
    g.flaskHasWater = 0;
    g.items[2].visible = 0;
    g.monsters[9].present = 1;
    ASSERT_NE(g.currentRoom, saved.currentRoom);

    Command("LOAD KEEP");
    EXPECT_EQ(g.mode, Play);
    ExpectSameGame(g, saved);
    // The picture is the saved one; only the prompt line is drawn afresh.
    for (int x = 0; x < kScreenColumns; ++x) {
        for (int y = 0; y < kScreenRows; ++y) {
            if (y == 22 && x >= 25) continue;
            EXPECT_EQ(CellAt(g, x, y), file[static_cast<size_t>(x * kScreenRows + y)]) << x << "," << y;
        }
    }
    EXPECT_EQ(ScreenText(g, 25, 22), "?");
    EXPECT_EQ(g.whatTicks, 0u);
    // What a file does not hold comes from a fresh game.
    EXPECT_EQ(g.items[0].treasure, 0);
    EXPECT_EQ(g.items[1].treasure, 1);
    EXPECT_EQ(g.monsters[8].guardian, 1);
    EXPECT_EQ(g.escaped, 0);
    EXPECT_EQ(g.awaitingKey, 0);

    // And the game plays on from there.
    const int32_t row = g.playerRow;
    Press(VK_DOWN);
    EXPECT_TRUE(g.playerRow == row + 1 || g.playerRow == row);
}

TEST_F(SaveTest, AFileOfTheWrongSizeIsRefusedAndPlayGoesOnFromAFreshGame) {
    PlayABit();
    Command("SAVE GOOD");
    const Bytes good = ReadFile("GOOD");
    Bytes shorter(good.begin(), good.end() - 1);
    Bytes longer = good;
    longer.push_back(0);
    WriteFile("SHORT", shorter);
    WriteFile("LONG", longer);
    WriteFile("EMPTY", {});

    for (const char* name : {"SHORT", "LONG", "EMPTY"}) {
        PlayABit();
        const GameState before = g;
        EXPECT_EQ(LoadGame(g, name), 0) << name;
        EXPECT_EQ(std::memcmp(&before, &g, sizeof g), 0) << name << ": the game was touched";

        PlayABit();
        Command(std::string("LOAD ") + name);
        ExpectFreshGame();
    }

    // A pipe has no size to check; opening it would wait for a writer forever.
    ASSERT_EQ(mkfifo("PIPE", 0600), 0);
    alarm(10);
    PlayABit();
    const GameState before = g;
    EXPECT_EQ(LoadGame(g, "PIPE"), 0);
    EXPECT_EQ(std::memcmp(&before, &g, sizeof g), 0);
    Command("LOAD PIPE");
    alarm(0);
    ExpectFreshGame();
}

TEST_F(SaveTest, AFileOutsideTheGamesBoundsIsRefusedBeforeAnythingChanges) {
    PlayABit();
    Command("SAVE GOOD");
    const Bytes good = ReadFile("GOOD");
    const struct {
        size_t offset;
        int32_t value;
    } bad[] = {
        {1432, 83}, {1432, -1},                          // room
        {1436, 24}, {1436, -1}, {1440, 18}, {1440, -1},  // the man's cell
        {1444, 8}, {1444, -1},                           // facing
        {1448, 83}, {1452, -2}, {1464, 1000},            // exits
        {1476 + 0, 2},                                   // item 0 carried
        {1476 + 20 * 3 + 4, 83},                         // item 3 room
        {1476 + 20 * 21 + 4, -1},                        // item 21 room
        {1476 + 20 * 7 + 8, -1},                         // item 7 visible
        {1476 + 20 * 4 + 12, 24},                        // item 4 x
        {1476 + 20 * 4 + 16, 18},                        // item 4 y
        {1916 + 20 * 2 + 4, 100},                        // monster 2 room
        {1916 + 20 * 2 + 8, 2},                          // monster 2 present
        {1916 + 20 * 10 + 12, -5},                       // monster 10 x
        {1916 + 20 * 10 + 16, 0x7FFFFFFF},               // monster 10 y
        {2136, 2}, {2140, -1}, {2144, 7}, {2148, 2},     // flags
    };
    for (const auto& b : bad) {
        Bytes file = good;
        SetIntAt(file, b.offset, b.value);
        WriteFile("BAD", file);

        PlayABit();
        const GameState before = g;
        EXPECT_EQ(LoadGame(g, "BAD"), 0) << b.offset << " = " << b.value;
        EXPECT_EQ(std::memcmp(&before, &g, sizeof g), 0) << b.offset;

        Command("LOAD BAD");
        ExpectFreshGame();
    }

    // The edges of every range are fine, and so is a strength of any size.
    Bytes edges = good;
    SetIntAt(edges, 1432, 82);
    SetIntAt(edges, 1436, 23);
    SetIntAt(edges, 1440, 17);
    SetIntAt(edges, 1444, 7);
    SetIntAt(edges, 1448, -1);
    SetIntAt(edges, 1472, 5000);
    SetIntAt(edges, 1916 + 4, 0);
    WriteFile("EDGES", edges);
    StartPlaying();
    EXPECT_EQ(LoadGame(g, "EDGES"), 1);
    EXPECT_EQ(g.currentRoom, 82);
    EXPECT_EQ(g.playerColumn, 23);
    EXPECT_EQ(g.playerRow, 17);
    EXPECT_EQ(g.strength, 5000);
}

TEST_F(SaveTest, SaveMyGameWritesAFileWhoseNameHoldsTheBlank) {
    StartPlaying();
    Command("SAVE MY GAME");
    EXPECT_EQ(MessageLine(g, 0), " Game Saved");
    EXPECT_EQ(DirectoryEntries(), std::vector<std::string>{"MY GAME"});
    EXPECT_EQ(fs::file_size("MY GAME"), 2152u);
    Command("LOAD MY GAME");
    EXPECT_EQ(g.currentRoom, 0);
}

TEST_F(SaveTest, SavingOverAFileReplacesItWhole) {
    WriteFile("OLD", Bytes(5000, 0xAB));
    StartPlaying();
    Command("SAVE OLD");
    EXPECT_EQ(MessageLine(g, 0), " Game Saved");
    const Bytes b = ReadFile("OLD");
    ASSERT_EQ(b.size(), 2152u);
    EXPECT_EQ(IntAt(b, 1472), 100);
    EXPECT_EQ(DirectoryEntries(), std::vector<std::string>{"OLD"});
}

TEST_F(SaveTest, ASaveThatCannotBeWrittenLeavesNoFile) {
    StartPlaying();
    // A parent that is a regular file, and a name far too long for any file system.
    WriteFile("plain", Bytes{1});
    EXPECT_EQ(SaveGame(g, "plain/GAME"), 0);
    EXPECT_EQ(SaveGame(g, std::string(300, 'A').c_str()), 0);
    EXPECT_EQ(SaveGame(g, ""), 0);
    EXPECT_EQ(DirectoryEntries(), std::vector<std::string>{"plain"});

    // A directory of the typed name: the player is told, and it stays a directory.
    fs::create_directory("GAME");
    Command("SAVE GAME");
    EXPECT_EQ(MessageLine(g, 0), " Error Saving");
    EXPECT_TRUE(fs::is_directory("GAME"));
    EXPECT_TRUE(fs::is_empty("GAME"));
    EXPECT_EQ(DirectoryEntries(), (std::vector<std::string>{"GAME", "plain"}));
}

TEST_F(SaveTest, AFailedSaveKeepsTheEarlierSaveOfThatName) {
    PlayABit();
    Command("SAVE GAME");
    const Bytes earlier = ReadFile("GAME");
    ASSERT_EQ(earlier.size(), 2152u);

    // The disc fills up half-way: files may grow no further than 1000 bytes.
    StartPlaying();
    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    struct rlimit small = old;
    small.rlim_cur = 1000;
    auto* previousHandler = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    Command("SAVE GAME");
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(MessageLine(g, 0), " Error Saving");
    EXPECT_EQ(ReadFile("GAME"), earlier);
    EXPECT_EQ(DirectoryEntries(), std::vector<std::string>{"GAME"});

    // The earlier game still loads.
    Command("LOAD GAME");
    EXPECT_EQ(g.currentRoom, 23);
    EXPECT_EQ(g.strength, 73);
}

TEST_F(SaveTest, TheIntegersAreLittleEndian) {
    std::FILE* f = std::fopen("INTS", "wb");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(WriteInt32(f, 0x01020304), 1);
    EXPECT_EQ(WriteInt32(f, -2), 1);
    std::fclose(f);
    EXPECT_EQ(ReadFile("INTS"), (Bytes{4, 3, 2, 1, 0xFE, 0xFF, 0xFF, 0xFF}));
    f = std::fopen("INTS", "rb");
    ASSERT_NE(f, nullptr);
    int32_t v = 0;
    EXPECT_EQ(ReadInt32(f, &v), 1);
    EXPECT_EQ(v, 0x01020304);
    EXPECT_EQ(ReadInt32(f, &v), 1);
    EXPECT_EQ(v, -2);
    EXPECT_EQ(ReadInt32(f, &v), 0);
    std::fclose(f);
}

}  // namespace
