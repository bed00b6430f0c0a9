// SPDX-License-Identifier: GPL-3.0-or-later
// The commands at the head of the chain: QUIT, ABOUT, SECOND QUEST, SAVE and LOAD
// as the player types them, and the inventory.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "game_fixture.h"
#include "golden.h"
#include "world/world.h"

namespace fs = std::filesystem;

namespace {

class ControlTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        previous = fs::current_path();
        char pattern[] = "/tmp/grimspire-control-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        fs::current_path(dir);
    }
    void TearDown() override {
        fs::current_path(previous);
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    // The command got no reply at all.
    void ExpectWhat() {
        EXPECT_EQ(g.whatTicks, 2u);
        EXPECT_EQ(fake::PlayedCues(), std::vector<int>{CUE_WHAT});
    }

    fs::path previous;
    fs::path dir;
};

TEST_F(ControlTest, QuitEndsTheGameButOnlyWithoutANoun) {
    StartPlaying();
    Command("QUIT NOW");
    EXPECT_EQ(g.mode, Play);
    ExpectWhat();

    StartPlaying();
    Command("QUIT");
    EXPECT_EQ(g.mode, Summary);
    EXPECT_EQ(g.whatTicks, 0u);
    EXPECT_EQ(ScreenRow(g, 1), "        You've ended the game!");
}

TEST_F(ControlTest, AboutShowsTheBoxWithOrWithoutANoun) {
    for (const char* line : {"ABOUT", "ABOUT GAME"}) {
        StartPlaying();
        Command(line);
        EXPECT_EQ(g.aboutShown, 1) << line;
        // Only the menu's About silences a tune; the typed command does not.
        EXPECT_EQ(fake::StopCount(), 0) << line;
        EXPECT_TRUE(fake::PlayedCues().empty()) << line;
        EXPECT_EQ(g.whatTicks, 0u);
        EXPECT_EQ(g.mode, Play);
        EXPECT_EQ(MessageLine(g, 0), "");
    }
}

TEST_F(ControlTest, SaveAndLoadNeedAName) {
    StartPlaying();
    Command("SAVE");
    ExpectWhat();
    EXPECT_TRUE(fs::is_empty(dir));

    StartPlaying();
    Command("LOAD");
    ExpectWhat();
}

TEST_F(ControlTest, LoadingAMissingFileOrADirectorySaysThereIsNone) {
    fs::create_directory("CELLAR");
    for (const char* name : {"NOTHING", "CELLAR"}) {
        StartPlaying();
        PlaceMan(4, 10, 10);
        Command(std::string("LOAD ") + name);
        EXPECT_EQ(MessageLine(g, 0), " There is no") << name;
        EXPECT_EQ(MessageLine(g, 1), " file named");
        EXPECT_EQ(MessageLine(g, 2), std::string(" ") + name);
        EXPECT_EQ(g.whatTicks, 0u);
        EXPECT_EQ(g.currentRoom, 4);  // play goes on where it was
    }
}

TEST_F(ControlTest, LoadingAFileThatIsNoSaveStartsAFreshGame) {
    std::ofstream("JUNK") << "not a saved game";
    // A name that is there but cannot be opened as a file is still no save.
    const int sock = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(sock, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, "PORT");
    ASSERT_EQ(bind(sock, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    for (const char* name : {"JUNK", "PORT"}) {
        StartPlaying();
        PlaceMan(4, 10, 10);
        Carry(0);
        Command(std::string("LOAD ") + name);
        EXPECT_EQ(g.currentRoom, 0) << name;
        EXPECT_EQ(g.playerColumn, 14);
        EXPECT_EQ(CarriedCount(g), 0);
        EXPECT_EQ(g.whatTicks, 0u);
        EXPECT_EQ(MessageLine(g, 0), "") << name;
        EXPECT_TRUE(fake::PlayedCues().empty());
    }
    close(sock);
}

TEST_F(ControlTest, TheInventoryListsCarriedThingsInTableOrder) {
    for (const char* verb : {"INVENTORY", "INV", "INVX"}) {
        StartPlaying();
        Command(verb);
        EXPECT_EQ(MessageLine(g, 0), "- Inventory -") << verb;
        EXPECT_EQ(MessageLine(g, 1), "");
        EXPECT_EQ(MessageLine(g, 2), "   Nothing.");
        EXPECT_EQ(g.whatTicks, 0u);
    }

    StartPlaying();
    Command("I");
    ExpectWhat();

    StartPlaying();
    for (int item : {21, 4, 0, 9, 7, 13}) Carry(item);
    Command("INVENTORY");
    const int order[] = {0, 4, 7, 9, 13, 21};
    for (int line = 1; line <= 6; ++line) {
        const ItemRecord& item = g.items[order[line - 1]];
        EXPECT_EQ(CellAt(g, 25, 12 + line), item.glyph) << line;
        EXPECT_EQ(CellAt(g, 26, 12 + line), ' ') << line;
        EXPECT_EQ(ScreenText(g, 27, 12 + line, 13), std::string(item.name).substr(0, 13)) << line;
    }
    EXPECT_EQ(ScreenText(g, 27, 17), "RUBYS");
    EXPECT_EQ(DumpRegion(g, 25, 12, 39, 18),
              "- Inventory -  \n\u2660 LAMP         \n\u2500 MAGIC WAND   \n\u221e EYE GLASSES  \n"
              "! WINE FLASK   \n: RUBYS        \n\u2302 CROWN        \n");
}

// The second quest over many seeds: every rule of the scattering holds.
TEST_F(ControlTest, SecondQuestScattersItemsAndMonstersOverReachablePlaces) {
    for (uint32_t seed = 1; seed <= 300; ++seed) {
        SCOPED_TRACE(seed);
        StartPlaying(seed * 7919u);
        // Things of the game before are forgotten: carried, killed, gone.
        Carry(5);
        Carry(0);
        g.monsters[2].strength = -3;
        g.monsters[9].present = 0;
        PlaceMan(30, 5, 5);
        Command("SECOND QUEST");

        ASSERT_EQ(g.mode, Play);
        EXPECT_EQ(g.whatTicks, 0u);
        EXPECT_EQ(g.currentRoom, 0);
        EXPECT_EQ(CellAt(g, 14, 14), 0x05);
        ASSERT_EQ(MessageLine(g, 0), " Item and");
        EXPECT_EQ(MessageLine(g, 1), " Monster");
        EXPECT_EQ(MessageLine(g, 2), " Locations");
        EXPECT_EQ(MessageLine(g, 3), " Randomized!");

        bool itemRoom[kRoomCount] = {};
        for (const ItemRecord& item : g.items) {
            ASSERT_GE(item.room, 1) << item.name;
            ASSERT_LT(item.room, kRoomCount) << item.name;
            EXPECT_FALSE(itemRoom[item.room]) << item.name << " shares room " << item.room;
            itemRoom[item.room] = true;
            EXPECT_EQ(item.carried, 0) << item.name;
            EXPECT_EQ(item.visible, 1) << item.name;
            EXPECT_EQ(IsReachableSpot(g, item.room, item.x, item.y), 1) << item.name;
        }
        bool monsterRoom[kRoomCount] = {};
        for (const MonsterRecord& monster : g.monsters) {
            ASSERT_GE(monster.room, 1) << monster.name;
            ASSERT_LT(monster.room, kRoomCount) << monster.name;
            EXPECT_FALSE(monsterRoom[monster.room]) << monster.name << " shares room " << monster.room;
            monsterRoom[monster.room] = true;
            EXPECT_GE(monster.strength, 0) << monster.name;
            EXPECT_EQ(monster.present, 1) << monster.name;
            if (!monster.guardian) {
                EXPECT_EQ(IsReachableSpot(g, monster.room, monster.x, monster.y), 1) << monster.name;
            }
        }
        EXPECT_EQ(g.monsters[8].room, 27);
        EXPECT_EQ(g.monsters[8].x, 23);
        EXPECT_EQ(g.monsters[8].y, 9);
        EXPECT_EQ(g.monsters[9].room, 51);
        EXPECT_EQ(g.monsters[9].x, 0);
        EXPECT_EQ(g.monsters[10].room, 53);
        EXPECT_EQ(g.monsters[10].y, 0);
        if (HasFailure()) break;
    }
}

TEST_F(ControlTest, TheSecondQuestDependsOnTheGeneratorAlone) {
    StartPlaying(42);
    Command("SECOND QUEST");
    const GameState first = g;
    StartPlaying(42);
    Command("SECOND QUEST");
    for (int i = 0; i < kItemCount; ++i) {
        EXPECT_EQ(g.items[i].room, first.items[i].room);
        EXPECT_EQ(g.items[i].x, first.items[i].x);
    }
    StartPlaying(43);
    Command("SECOND QUEST");
    int same = 0;
    for (int i = 0; i < kItemCount; ++i) same += g.items[i].room == first.items[i].room ? 1 : 0;
    EXPECT_LT(same, kItemCount);
}

// Every room a thing can be sent to has floor that can be walked to, or the
// scattering would search it in vain.
TEST_F(ControlTest, EveryRoomOfTheCastleHasAReachableCell) {
    Boot();
    for (int room = 1; room < kRoomCount; ++room) {
        int reachable = 0;
        for (int x = 0; x < kMapColumns; ++x) {
            for (int y = 0; y < kMapRows; ++y) reachable += IsReachableSpot(g, room, x, y);
        }
        EXPECT_GT(reachable, 0) << "room " << room;
    }
}

TEST_F(ControlTest, TheCellsOutsideTheWallsOfRoomsSevenAndEightAreNeverChosen) {
    Boot();
    for (int x = 8; x <= 15; ++x) {
        EXPECT_EQ(IsReachableSpot(g, 7, x, 0), 0) << x;
        EXPECT_EQ(IsReachableSpot(g, 8, x, 16), 0) << x;
        EXPECT_EQ(IsReachableSpot(g, 8, x, 17), 0) << x;
    }
    // The courtyard's doorway is itself an opening.
    for (int x = 10; x <= 13; ++x) EXPECT_EQ(IsReachableSpot(g, 0, x, 0), 1) << x;
    // Its gate and walls are not floor.
    EXPECT_EQ(IsReachableSpot(g, 0, 10, 17), 0);
    EXPECT_EQ(IsReachableSpot(g, 0, 0, 5), 0);
    EXPECT_EQ(IsReachableSpot(g, 0, 14, 14), 1);
}

// The reachability test on maps made for it.
class ReachTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        data.assign(kRoomDataSize, ' ');
        g.roomData = data.data();
        g.roomDataSize = kRoomDataSize;
    }
    void Map(int room, const std::vector<std::string>& rows) {
        ASSERT_EQ(rows.size(), static_cast<size_t>(kMapRows));
        for (int y = 0; y < kMapRows; ++y) {
            ASSERT_EQ(rows[static_cast<size_t>(y)].size(), static_cast<size_t>(kMapColumns)) << y;
            for (int x = 0; x < kMapColumns; ++x) {
                data[static_cast<size_t>(room * kRoomRecordSize + y * kMapColumns + x)] =
                    static_cast<uint8_t>(rows[static_cast<size_t>(y)][static_cast<size_t>(x)]);
            }
        }
    }
    int Reach(int x, int y) { return IsReachableSpot(g, 40, x, y); }
    std::vector<uint8_t> data;
};

TEST_F(ReachTest, ABoxWithoutADoorIsUnreachable) {
    Map(40, {"##########    ##########",
             "#                      #",
             "#   ######             #",
             "#   #    #             #",
             "#   #    #      #####  #",
             "#   ######      # U #  #",
             "#               #####  #",
             "#                      #",
             "#                       ",
             "#                       ",
             "#                      #",
             "#                      #",
             "#                      #",
             "#                      #",
             "#                      #",
             "#                      #",
             "#                      #",
             "########################"});
    EXPECT_EQ(Reach(6, 3), 0);   // inside the closed box
    EXPECT_EQ(Reach(17, 5), 1);  // a closed box with stairs in it
    EXPECT_EQ(Reach(2, 15), 1);  // the open floor reaches the top doorway
    EXPECT_EQ(Reach(11, 0), 1);  // the doorway itself
    EXPECT_EQ(Reach(23, 8), 1);  // the east doorway itself
    EXPECT_EQ(Reach(4, 2), 0);   // a wall
    EXPECT_EQ(Reach(-1, 2), 0);
    EXPECT_EQ(Reach(2, 18), 0);
}

TEST_F(ReachTest, AWallLineWithoutTwoEndsHasNoOpenings) {
    // Top row: one wall cell only; the rest of the border walled. The blank top
    // row is no doorway, so nothing is reachable.
    Map(40, {"#                       ",
             "########################",
             "#                      #",
             "#                      #",
             "#                      #",
             "#                      #",
             "#                      #",
             "#                      #",
             "#                      #",
             "#                      #",
             "#                      #",
             "#                      #",
             "#                      #",
             "#                      #",
             "#                      #",
             "#                      #",
             "#                      #",
             "########################"});
    EXPECT_EQ(Reach(5, 0), 0);
    EXPECT_EQ(Reach(5, 5), 0);
    // Two wall cells too close together leave nothing strictly between as a doorway.
    Map(40, {"##                      ",
             "# ######################",
             "#                      #",
             "#                      #",
             "#                      #",
             "#                      #",
             "#                      #",
             "#                      #",
             "#                      #",
             "#                      #",
             "#                      #",
             "#                      #",
             "#                      #",
             "#                      #",
             "#                      #",
             "#                      #",
             "#                      #",
             "########################"});
    EXPECT_EQ(Reach(1, 1), 0);
    // A gap in the left column between two wall cells is a doorway.
    Map(40, {"########################",
             "#                      #",
             "#                      #",
             "                       #",
             "#                      #",
             "#                      #",
             "#                      #",
             "#                      #",
             "#                      #",
             "#                      #",
             "#                      #",
             "#                      #",
             "#                      #",
             "#                      #",
             "#                      #",
             "#                      #",
             "#                      #",
             "########################"});
    EXPECT_EQ(Reach(12, 12), 1);
    EXPECT_EQ(Reach(0, 3), 1);
}

}  // namespace
