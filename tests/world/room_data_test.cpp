// SPDX-License-Identifier: GPL-3.0-or-later
// Room data as a damaged build might carry it: exits text read leniently, and
// rooms the data does not hold refused without a trace.
#include <array>
#include <cstring>

#include "game_fixture.h"
#include "world/world.h"

namespace {

class RoomDataTest : public GameTest {
protected:
    // Enters room 2 of a copy of the castle whose exits text for it is replaced.
    void Room2Exits(const char* text) {
        std::memcpy(data_.data(), kBuiltInRoomData, data_.size());
        uint8_t* exits = data_.data() + 2 * kRoomRecordSize + kMapCells + 125;
        std::memset(exits, ' ', 18);
        std::memcpy(exits, text, std::strlen(text));
        g.roomData = data_.data();
        ASSERT_TRUE(EnterRoom(g, 2));
    }

    std::array<uint8_t, kRoomDataSize> data_{};
};

TEST_F(RoomDataTest, ExitsTextIsReadLeniently) {
    StartPlaying();
    Room2Exits("N7X9S2");  // an unknown letter is skipped
    EXPECT_EQ(g.exitNorth, 6);
    EXPECT_EQ(g.exitSouth, 1);
    Room2Exits("N3 S4");  // the first blank ends the text
    EXPECT_EQ(g.exitNorth, 2);
    EXPECT_EQ(g.exitSouth, -1);
    Room2Exits("N1N4");  // a later pair of the same letter wins
    EXPECT_EQ(g.exitNorth, 3);

    // Stray digits, then a number too large for any room: east leads nowhere.
    Room2Exits("12N3E99999999999");
    EXPECT_EQ(g.exitNorth, 2);
    EXPECT_GT(g.exitEast, kRoomCount);
    PlaceMan(2, 23, 8);
    Press(VK_RIGHT);
    EXPECT_EQ(g.currentRoom, 2);
    EXPECT_EQ(g.playerColumn, 23);
    EXPECT_EQ(CellAt(g, 23, 8), 0x05);
}

TEST_F(RoomDataTest, RoomsTheDataDoesNotHoldAreRefusedSilently) {
    StartPlaying();
    const GameState before = g;
    EXPECT_FALSE(EnterRoom(g, kRoomCount));
    EXPECT_FALSE(EnterRoom(g, -1));
    EXPECT_FALSE(EnterRoom(g, 1000000));
    EXPECT_EQ(std::memcmp(&before, &g, sizeof g), 0);
    EXPECT_TRUE(fake::PlayedCues().empty());

    g.roomDataSize = 5 * kRoomRecordSize;
    EXPECT_TRUE(EnterRoom(g, 4));
    EXPECT_FALSE(EnterRoom(g, 5));
    g.roomData = nullptr;
    EXPECT_FALSE(EnterRoom(g, 1));
    EXPECT_EQ(g.currentRoom, 4);
}

}  // namespace
