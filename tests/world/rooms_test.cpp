// SPDX-License-Identifier: GPL-3.0-or-later
// Entering and drawing rooms: map, frame, description, things list, doors, the
// dark passages and the adjustments made on entry.
#include <array>
#include <cstring>
#include <vector>

#include "world_test.h"

namespace {

class RoomTest : public WorldTest {};

TEST_F(RoomTest, NewGameShowsTheCourtyard) {
    StartPlaying();
    EXPECT_EQ(g.currentRoom, 0);
    EXPECT_EQ(CellAt(g, 14, 14), 0x05);
    for (int x = 10; x <= 13; ++x) EXPECT_EQ(CellAt(g, x, 17), 0xCD) << x;
    EXPECT_EQ(g.exitNorth, 1);
    for (int32_t exit : {g.exitEast, g.exitSouth, g.exitWest, g.exitUp, g.exitDown}) EXPECT_EQ(exit, -1);
    EXPECT_EQ(ScreenRow(g, 19), "You are in the Castle");
    EXPECT_EQ(CellAt(g, 25, 22), '?');
    EXPECT_TRUE(MatchesGolden(g, "world_room0_new_game"));
}

TEST_F(RoomTest, FrameDescriptionAndMapComeFromTheRoomData) {
    StartPlaying();
    PlaceMan(2, 12, 9);
    for (int x = 0; x < kMapColumns; ++x) {
        for (int y = 0; y < kMapRows; ++y) {
            if (x == 12 && y == 9) continue;
            EXPECT_EQ(MapCell(g, x, y), DataCell(2, x, y));
            EXPECT_EQ(CellAt(g, x, y), DataCell(2, x, y)) << x << "," << y;
        }
        EXPECT_EQ(CellAt(g, x, 18), 0xC4);
    }
    for (int y = 0; y < kMapRows; ++y) EXPECT_EQ(CellAt(g, 24, y), 0xB3);
    EXPECT_EQ(CellAt(g, 24, 18), 0xD9);
    for (int line = 0; line < 5; ++line) {
        for (int x = 0; x < 25; ++x) {
            EXPECT_EQ(CellAt(g, x, 19 + line), kBuiltInRoomData[2 * kRoomRecordSize + kMapCells + line * 25 + x]);
        }
    }
    // "N7S2E5W4": room numbers plus one.
    EXPECT_EQ(g.exitNorth, 6);
    EXPECT_EQ(g.exitSouth, 1);
    EXPECT_EQ(g.exitEast, 4);
    EXPECT_EQ(g.exitWest, 3);
    EXPECT_EQ(g.exitUp, -1);
    EXPECT_EQ(g.exitDown, -1);
}

TEST_F(RoomTest, EnteringARoomClearsMessagesAndTheTypedLine) {
    StartPlaying();
    Type("GET");
    ShowMessage(g, "Hello", 0, 0);
    ASSERT_TRUE(LeaveBy('N'));
    EXPECT_EQ(g.currentRoom, 1);
    EXPECT_EQ(g.commandLine[0], '\0');
    EXPECT_EQ(MessageLine(g, 0), "");
    EXPECT_EQ(ScreenText(g, 25, 22), "?");
}

TEST_F(RoomTest, RoomNumbersOutsideTheCastleAreRefusedSilently) {
    StartPlaying();
    const GameState before = g;
    EXPECT_FALSE(EnterRoom(g, 83));
    EXPECT_FALSE(EnterRoom(g, -1));
    EXPECT_FALSE(EnterRoom(g, 1000000));
    EXPECT_EQ(std::memcmp(&before, &g, sizeof g), 0);
    EXPECT_TRUE(Cues().empty());
}

TEST_F(RoomTest, ThingsListShowsItemsThenTheMonster) {
    StartPlaying();
    // Room 13 holds the CROWN and a DEMON; the HELMET is laid beside the crown.
    EnterRoom(g, 13);
    const Spot spot = FindBlankPair(1, 0);
    ASSERT_TRUE(spot.found());
    g.items[18].room = 13;
    g.items[18].x = spot.x;
    g.items[18].y = spot.y;
    PlaceMan(13, spot.x + 1, spot.y);
    EXPECT_EQ(ScreenText(g, 25, 0), "\u00A2 HELMET");  // table order, not the order laid down
    EXPECT_EQ(ScreenText(g, 25, 1), "\u2302 CROWN");
    EXPECT_EQ(ScreenText(g, 25, 2), "\u263B ANGRY DEMON");
    EXPECT_EQ(ScreenText(g, 25, 3), "");
    EXPECT_EQ(CellAt(g, spot.x, spot.y), 0x9B);
    EXPECT_EQ(CellAt(g, g.monsters[2].x, g.monsters[2].y), 0x02);
    EXPECT_TRUE(MatchesGolden(g, "world_room_two_items_monster"));
}

TEST_F(RoomTest, HiddenAndCarriedItemsAreNeitherDrawnNorListed) {
    StartPlaying();
    Carry(5);  // the SWORD, taken from room 11
    PlaceMan(11, 5, 9);
    for (int line = 0; line < 10; ++line) EXPECT_EQ(ScreenText(g, 25, line), "") << line;
    EXPECT_EQ(CellAt(g, 10, 4), DataCell(11, 10, 4));
    PlaceMan(17, 5, 9);  // the LARGE GEM lies hidden in the fountain
    EXPECT_EQ(ScreenText(g, 25, 0), "");
}

TEST_F(RoomTest, AKilledMonsterStaysOnTheMapAndIsListedDead) {
    StartPlaying();
    g.monsters[0].strength = -3;
    PlaceMan(3, 5, 5);
    EXPECT_EQ(CellAt(g, 12, 8), 0x01);
    EXPECT_EQ(ScreenText(g, 25, 0), "\u263A Dead OGRE");
    EXPECT_EQ(CellAt(g, 31, 0), 0);
}

TEST_F(RoomTest, TheListHoldsTenLinesAtMost) {
    StartPlaying();
    EnterRoom(g, 2);
    std::vector<Spot> spots;
    for (int x = 1; x < kMapColumns - 1 && spots.size() < 12; ++x) {
        for (int y = 1; y < kMapRows - 1 && spots.size() < 12; ++y) {
            if (Blank(x, y)) spots.push_back({x, y});
        }
    }
    ASSERT_EQ(spots.size(), 12u);
    for (int i = 0; i < 12; ++i) {
        g.items[i].room = 2;
        g.items[i].visible = 1;
        g.items[i].x = spots[static_cast<size_t>(i)].x;
        g.items[i].y = spots[static_cast<size_t>(i)].y;
    }
    EnterRoom(g, 2);
    EXPECT_EQ(ScreenText(g, 27, 0), "LAMP");
    EXPECT_EQ(ScreenText(g, 27, 9), "WINE FLASK");
    EXPECT_EQ(ScreenText(g, 25, 10), "");
    EXPECT_EQ(ScreenText(g, 25, 11), "");
    // All twelve are drawn on the map all the same.
    for (int i = 0; i < 12; ++i) EXPECT_EQ(CellAt(g, g.items[i].x, g.items[i].y), g.items[i].glyph);

    // A figure behind exactly ten items finds the list full too.
    g.items[10].room = 36;
    g.items[11].room = 56;
    g.monsters[0].room = 2;
    g.monsters[0].x = spots[10].x;
    g.monsters[0].y = spots[10].y;
    EnterRoom(g, 2);
    EXPECT_EQ(ScreenText(g, 27, 9), "WINE FLASK");
    EXPECT_EQ(ScreenText(g, 25, 10), "");
    EXPECT_EQ(CellAt(g, spots[10].x, spots[10].y), 0x01);
}

TEST_F(RoomTest, ThingsOffTheMapAreNeitherDrawnNorListed) {
    StartPlaying();
    // As a damaged saved game might hold them.
    g.items[0] = g.items[0];
    g.items[0].room = 2;
    g.items[0].x = 24;
    g.items[0].y = 3;
    g.items[1].room = 2;
    g.items[1].x = -1;
    g.items[1].y = 20;
    g.monsters[0].room = 2;
    g.monsters[0].x = 30;
    g.monsters[0].y = 30;
    PlaceMan(2, 12, 9);
    for (int y = 0; y < kMapRows; ++y) EXPECT_EQ(CellAt(g, 24, y), 0xB3);
    for (int line = 0; line < 10; ++line) EXPECT_EQ(ScreenText(g, 25, line), "") << line;
    EXPECT_EQ(ScreenRow(g, 24), "");
    // And the chasing monster does not walk in from outside.
    const GameState before = g;
    for (int i = 0; i < 10; ++i) WorldTick(g);
    EXPECT_EQ(std::memcmp(before.screen, g.screen, sizeof g.screen), 0);
}

TEST_F(RoomTest, ExitsTextIsReadLeniently) {
    StartPlaying();
    // A copy of the castle with room 2's exits text replaced.
    static std::array<uint8_t, kRoomDataSize> data;
    std::memcpy(data.data(), kBuiltInRoomData, data.size());
    uint8_t* exits = data.data() + 2 * kRoomRecordSize + kMapCells + 125;
    const auto setExits = [&](const char* text) {
        std::memset(exits, ' ', 18);
        std::memcpy(exits, text, std::strlen(text));
    };
    g.roomData = data.data();

    setExits("N7X9S2");  // an unknown letter is skipped
    ASSERT_TRUE(EnterRoom(g, 2));
    EXPECT_EQ(g.exitNorth, 6);
    EXPECT_EQ(g.exitSouth, 1);

    setExits("N3 S4");  // the first blank ends the text
    g.currentRoom = 0;
    ASSERT_TRUE(EnterRoom(g, 2));
    EXPECT_EQ(g.exitNorth, 2);
    EXPECT_EQ(g.exitSouth, -1);

    setExits("12N3E99999999999");  // stray digits, then a number too large for any room
    g.currentRoom = 0;
    PlaceAtEdge(2, 'E');
    EXPECT_EQ(g.exitNorth, 2);
    EXPECT_GT(g.exitEast, 82);
    const int column = g.playerColumn;
    Press(VK_RIGHT);  // walking off to the east goes nowhere
    EXPECT_EQ(g.currentRoom, 2);
    EXPECT_EQ(g.playerColumn, column);
    EXPECT_EQ(CellAt(g, column, g.playerRow), 0x05);

    setExits("N1N4");  // a later pair of the same letter wins
    g.currentRoom = 0;
    ASSERT_TRUE(EnterRoom(g, 2));
    EXPECT_EQ(g.exitNorth, 3);
}

TEST_F(RoomTest, MissingRoomDataRefusesEveryRoom) {
    StartPlaying();
    g.roomData = nullptr;
    EXPECT_FALSE(EnterRoom(g, 1));
    g.roomData = kBuiltInRoomData;
    g.roomDataSize = 5 * kRoomRecordSize;
    EXPECT_TRUE(EnterRoom(g, 4));
    EXPECT_FALSE(EnterRoom(g, 5));
    EXPECT_EQ(g.currentRoom, 4);
}

TEST_F(RoomTest, DarkStairsRefuseTheManWithoutTheLamp) {
    StartPlaying();
    const uint32_t down = PlaceBeside(10, 'D');
    ASSERT_NE(down, 0u);
    Press(down);
    EXPECT_EQ(g.currentRoom, 10);
    EXPECT_EQ(MessageLine(g, 0), "It's too dark");
    EXPECT_EQ(MessageLine(g, 1), "to go that way!");
    EXPECT_EQ(LoudCues(), std::vector<int>{CUE_ATTACK});
    EXPECT_EQ(CellAt(g, g.playerColumn, g.playerRow), 0x05);
    EXPECT_EQ(g.exitDown, 67);
    EXPECT_TRUE(MatchesGolden(g, "world_dark_passage"));

    fake::ClearCues();
    Carry(0);
    Press(down);
    EXPECT_EQ(g.currentRoom, 67);
    EXPECT_TRUE(Cues().empty());
    // And back up again only with the lamp.
    g.items[0].carried = 0;
    ASSERT_FALSE(TakeStairs('U'));
    EXPECT_EQ(g.currentRoom, 67);
    EXPECT_EQ(MessageLine(g, 1), "to go that way!");
}

TEST_F(RoomTest, TheSecretRoomIsDarkOnlyOnTheWayIn) {
    StartPlaying();
    PlaceMan(76, 11, 16);
    MapCell(g, 11, 17) = ' ';
    RedrawRoom(g);
    Press(VK_DOWN);
    Press(VK_DOWN);
    EXPECT_EQ(g.currentRoom, 76);
    EXPECT_EQ(MessageLine(g, 0), "It's too dark");

    g.currentRoom = 0;
    PlaceAtEdge(82, 'N');
    Press(VK_UP);
    EXPECT_EQ(g.currentRoom, 76);
    EXPECT_EQ(MessageLine(g, 0), "");
}

TEST_F(RoomTest, Room76ShowsItsHiddenOpeningOnlyFromBelow) {
    StartPlaying();
    PlaceAtEdge(75, 'E');
    Press(VK_RIGHT);
    EXPECT_EQ(g.currentRoom, 76);
    EXPECT_EQ(g.playerColumn, 0);
    for (int x = 3; x <= 22; ++x) EXPECT_EQ(CellAt(g, x, 17), 0xB2) << x;
    EXPECT_TRUE(MatchesGolden(g, "world_room76_from75"));

    g.currentRoom = 0;
    PlaceAtEdge(82, 'N');
    Press(VK_UP);
    EXPECT_EQ(g.currentRoom, 76);
    EXPECT_EQ(g.playerRow, 17);
    EXPECT_EQ(CellAt(g, 10, 17), 0xDD);
    EXPECT_EQ(MapCell(g, 11, 17), ' ');
    EXPECT_EQ(MapCell(g, 12, 17), ' ');
    EXPECT_EQ(CellAt(g, 13, 17), 0xDE);
    EXPECT_TRUE(MatchesGolden(g, "world_room76_from82"));

    // The opening lasts until the room is entered again from another side.
    ASSERT_TRUE(LeaveBy('W'));
    ASSERT_TRUE(LeaveBy('E'));
    EXPECT_EQ(CellAt(g, 11, 17), 0xB2);
}

TEST_F(RoomTest, AFairyStepsAsideOnlyForTheManFromTheEmptyRoom) {
    StartPlaying();
    // From the totally empty room (56) east into 51: the west doorway's fairy is gone.
    PlaceAtEdge(56, 'E');
    Press(VK_RIGHT);
    ASSERT_EQ(g.currentRoom, 51);
    EXPECT_EQ(g.monsters[9].present, 0);
    EXPECT_NE(CellAt(g, 0, 9), 0xF6);
    EXPECT_EQ(ScreenText(g, 25, 0), "");

    // Any other entry brings every fairy back.
    g.currentRoom = 0;
    PlaceAtEdge(52, 'N');
    EXPECT_EQ(g.monsters[9].present, 1);
    Press(VK_UP);
    ASSERT_EQ(g.currentRoom, 51);
    EXPECT_EQ(CellAt(g, 0, 9), 0xF6);
    EXPECT_EQ(ScreenText(g, 25, 0), "\u00F7 FAIRY");

    // From 56 south into 53: the north doorway's fairy is gone.
    g.currentRoom = 0;
    PlaceAtEdge(56, 'S');
    Press(VK_DOWN);
    ASSERT_EQ(g.currentRoom, 53);
    EXPECT_EQ(g.monsters[10].present, 0);
    EXPECT_EQ(g.monsters[9].present, 1);
    EXPECT_NE(CellAt(g, 11, 0), 0xF6);
}

TEST_F(RoomTest, DoorsAreDrawnWhileLocked) {
    StartPlaying();
    PlaceMan(67, 5, 5);
    EXPECT_EQ(CellAt(g, 8, 14), 0x08);
    EXPECT_EQ(CellAt(g, 9, 14), 0x08);
    EXPECT_EQ(MapCell(g, 8, 14), ' ');
    g.doorLocked67 = 0;
    DrawDoors(g);
    EXPECT_EQ(CellAt(g, 8, 14), ' ');
    EXPECT_EQ(CellAt(g, 9, 14), ' ');

    PlaceMan(81, 5, 5);
    EXPECT_EQ(CellAt(g, 13, 8), 0x08);
    EXPECT_EQ(CellAt(g, 13, 9), 0x08);
    g.doorLocked81 = 0;
    PlaceMan(81, 5, 5);
    EXPECT_EQ(CellAt(g, 13, 8), ' ');
    EXPECT_EQ(CellAt(g, 13, 9), ' ');
}

TEST_F(RoomTest, AnOpenDoorwayStillShowsWhatLiesInIt) {
    StartPlaying();
    g.doorLocked67 = 0;
    g.items[18].room = 67;
    g.items[18].x = 8;
    g.items[18].y = 14;
    PlaceMan(67, 5, 5);
    EXPECT_EQ(CellAt(g, 8, 14), 0x9B);
    EXPECT_EQ(ScreenText(g, 27, 0), "HELMET");
}

TEST_F(RoomTest, RedrawRoomRepaintsTheMapAreaOnly) {
    StartPlaying();
    PlaceMan(13, 5, 9);
    ShowMessage(g, "Keep me", 0, 0);
    MapCell(g, 3, 3) = 0xDB;
    Cell(g, 20, 10) = 'x';
    RedrawRoom(g);
    EXPECT_EQ(CellAt(g, 3, 3), 0xDB);
    EXPECT_EQ(CellAt(g, 20, 10), MapCell(g, 20, 10));
    EXPECT_EQ(CellAt(g, 8, 4), 0x7F);   // the CROWN
    EXPECT_EQ(CellAt(g, 12, 6), 0x02);  // the DEMON
    EXPECT_EQ(CellAt(g, 5, 9), 0x05);
    EXPECT_EQ(MessageLine(g, 0), "Keep me");
    EXPECT_EQ(ScreenText(g, 27, 0), "CROWN");
}

}  // namespace
