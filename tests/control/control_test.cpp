// SPDX-License-Identifier: GPL-3.0-or-later
// The test of a reachable place, on the castle and on maps made for it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "game_fixture.h"
#include "world/world.h"

namespace {

using ControlTest = GameTest;

// Where the second quest puts things, over thousands of castles: tests/playthrough/quest_test.cpp.
TEST_F(ControlTest, ReachableFloorOfTheRealCastle) {
    StartPlaying();
    EXPECT_EQ(IsReachableSpot(g, 0, 14, 16), 1);  // the courtyard's floor by the gate
    // Floor outside the walls of rooms 7 and 8 touches a doorway, yet no one could stand there.
    for (int x = 8; x <= 15; ++x) {
        EXPECT_EQ(IsReachableSpot(g, 7, x, 0) + IsReachableSpot(g, 8, x, 16) + IsReachableSpot(g, 8, x, 17), 0) << x;
    }
}

// Room 40 as drawn for the test: '#' wall, 'U' stairs.
int Reach(const std::vector<std::string>& rows, int x, int y) {
    std::vector<uint8_t> data(kRoomDataSize, ' ');
    for (size_t r = 0; r < rows.size(); ++r) {
        std::copy(rows[r].begin(), rows[r].end(), data.begin() + 40 * kRoomRecordSize + r * kMapColumns);
    }
    GameState g{};
    g.roomData = data.data();
    g.roomDataSize = kRoomDataSize;
    return IsReachableSpot(g, 40, x, y);
}

TEST(Reach, FloorIsReachableWhenItLeadsToADoorwayOrStairs) {
    std::vector<std::string> room(kMapRows, "#                      #");
    room[0] = room[kMapRows - 1] = std::string(kMapColumns, '#');
    room[2] = "#   ######             #";
    room[3] = "#   #    #             #";
    room[4] = "#   #    #      #####  #";
    room[5] = "#   ######      # U #  #";
    room[6] = "#               #####  #";
    EXPECT_EQ(Reach(room, 2, 15), 0);  // walled all round
    room[0] = "##########    ##########";
    room[8] = room[9] = "#                       ";
    EXPECT_EQ(Reach(room, 2, 15), 1);
    EXPECT_EQ(Reach(room, 11, 0), 1);  // the doorways themselves
    EXPECT_EQ(Reach(room, 23, 8), 1);
    EXPECT_EQ(Reach(room, 6, 3), 0);   // a closed box
    EXPECT_EQ(Reach(room, 17, 5), 1);  // a closed box with stairs
    EXPECT_EQ(Reach(room, 4, 2), 0);   // a wall
    EXPECT_EQ(Reach(room, -1, 2) + Reach(room, 2, kMapRows) + Reach(room, kMapColumns, 2), 0);

    // A gap is a doorway only between two wall cells of a border line with room between them.
    room[0] = std::string(kMapColumns, '#');
    room[8] = room[9] = "#                      #";
    room[3] = "                       #";
    EXPECT_EQ(Reach(room, 12, 12), 1);
    room[3] = "#                      #";
    room[1] = std::string(kMapColumns, '#');
    room[0] = "#                       ";
    EXPECT_EQ(Reach(room, 5, 0) + Reach(room, 5, 5), 0);
    room[0] = "##                      ";
    room[1] = "# ######################";
    EXPECT_EQ(Reach(room, 1, 1), 0);
}

}  // namespace
