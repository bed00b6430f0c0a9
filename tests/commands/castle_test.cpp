// SPDX-License-Identifier: GPL-3.0-or-later
// Taking the hidden things, unlocking and locking the two doors, and filling the
// flask, in the castle as it is drawn: the man's cells are found from the maps.
#include <string>
#include <vector>

#include "command_test.h"
#include "commands/commands.h"
#include "world/world.h"

namespace {

constexpr uint8_t kDoor = 0x08;
constexpr uint8_t kMan = 0x05;
constexpr int kKey = 6;
constexpr int kFlask = 9;
constexpr int kBook = 3;

const std::vector<std::string> kDone = {"Done."};
const std::vector<std::string> kOutOfReach = {" I can't", " reach it!"};

class Castle : public CommandTest {
protected:
    // A new game with the key in hand and the man on the cell given.
    void StandWithKey(int room, int x, int y) {
        StartPlaying();
        ASSERT_EQ(RoomMapChar(g, room, x, y), ' ') << "room " << room << " cell " << x << "," << y;
        PlaceMan(room, x, y);
        Carry(kKey);
        fake::ClearCues();
    }
    bool ManAt(int x, int y) { return g.playerColumn == x && g.playerRow == y && CellAt(g, x, y) == kMan; }
};

TEST_F(Castle, TheKeyLiesOnTheStudyDesk) {
    if (!StandNextToFurniture(55)) return;
    Command("LOOK DESK");
    EXPECT_EQ(MessageArea(g), Padded({" There is a", " Key on top"}));

    Command("GET KEY");
    EXPECT_EQ(MessageArea(g), Padded(kDone));
    EXPECT_EQ(fake::PlayedCues(), std::vector<int>{CUE_TAKE});
    EXPECT_EQ(g.items[kKey].carried, 1);
    EXPECT_EQ(g.items[kKey].visible, 1);
    EXPECT_EQ(CarriedCount(g), 1);
    EXPECT_TRUE(MatchesGolden(g, "commands_study_key_taken"));

    Command("LOOK DESK");
    EXPECT_EQ(MessageArea(g), Padded({" It's made", " of Wood."}));
    Command("TAKE KEY");
    EXPECT_EQ(MessageArea(g), Padded({" You already", " have it!"}));
}

TEST_F(Castle, HiddenThingsAreOutOfReachAwayFromTheirFurniture) {
    struct Hidden {
        int room;
        int item;
        const char* command;
    };
    const Hidden kHidden[] = {
        {55, kKey, "GET KEY"},       {9, kFlask, "GET FLASK"},    {39, 7, "TAKE GLASSES"},
        {18, 2, "GET NECKLACE"},     {17, 17, "GET GEM"},         {57, kBook, "GET BOOK"},
    };
    for (const Hidden& h : kHidden) {
        SCOPED_TRACE(h.command);
        if (!StandAwayFromFurniture(h.room)) continue;
        Command(h.command);
        EXPECT_EQ(MessageArea(g), Padded(kOutOfReach));
        EXPECT_TRUE(fake::PlayedCues().empty());
        EXPECT_EQ(g.items[h.item].carried, 0);
        EXPECT_EQ(g.items[h.item].visible, 0);
    }
}

TEST_F(Castle, DesksStatueAndFountainAreReachedFromTheSide) {
    struct Hidden {
        int room;
        int item;
        const char* command;
    };
    const Hidden kHidden[] = {
        {9, kFlask, "GET FLASK"}, {39, 7, "GET GLASSES"}, {18, 2, "TAKE NECKLACE"}, {17, 17, "GET GEM"}};
    for (const Hidden& h : kHidden) {
        SCOPED_TRACE(h.command);
        if (!StandNextToFurniture(h.room)) continue;
        Command(h.command);
        EXPECT_EQ(MessageArea(g), Padded(kDone));
        EXPECT_EQ(fake::PlayedCues(), std::vector<int>{CUE_TAKE});
        EXPECT_EQ(g.items[h.item].carried, 1);
        EXPECT_EQ(g.items[h.item].visible, 1);
    }
}

TEST_F(Castle, TheBookIsReachedFromBesideOrCornerwiseToAShelf) {
    // Only cells whose one shelf block is diagonal prove the corner counts.
    const auto cornerOnly = [this](int x, int y) {
        const auto block = [](uint8_t c) { return c == 0xDB; };
        return HasNeighbour(g, 57, x, y, true, block) && !HasNeighbour(g, 57, x, y, false, block);
    };
    if (!StandIn(57, cornerOnly)) return;
    Command("GET BOOK");
    EXPECT_EQ(MessageArea(g), Padded(kDone));
    EXPECT_EQ(g.items[kBook].carried, 1);
    Command("LOOK SHELVES");
    EXPECT_EQ(MessageArea(g), Padded({" They're made", " of wood."}));
}

TEST_F(Castle, SixInHandAndTheBookStaysOnItsShelf) {
    const auto besideShelf = [this](int x, int y) {
        return HasNeighbour(g, 57, x, y, true, [](uint8_t c) { return c == 0xDB; });
    };
    if (!StandIn(57, besideShelf)) return;
    for (int item : {0, 1, 4, 5, 8, 10}) Carry(item);
    Command("GET BOOK");
    EXPECT_EQ(MessageArea(g), Padded({" Can't carry", " any more!"}));
    EXPECT_EQ(fake::PlayedCues(), std::vector<int>{CUE_TAKE});
    EXPECT_EQ(g.items[kBook].carried, 0);
    EXPECT_EQ(g.items[kBook].visible, 0);
    Command("LOOK SHELF");
    EXPECT_EQ(MessageArea(g), Padded({"There's a book", "on one."}));

    // Five in hand: the sixth fits.
    g.items[10].carried = 0;
    Command("GET BOOK");
    EXPECT_EQ(MessageArea(g), Padded(kDone));
    EXPECT_EQ(CarriedCount(g), 6);
}

TEST_F(Castle, WineCellarDoorOpensFromBesideIt) {
    // The door fills the gap at (8..9, 14) of the cellar's bottom wall.
    StandWithKey(67, 7, 13);
    EXPECT_EQ(CellAt(g, 8, 14), kDoor);
    EXPECT_EQ(CellAt(g, 9, 14), kDoor);

    Command("OPEN DOOR");
    EXPECT_EQ(MessageArea(g), Padded(kDone));
    EXPECT_EQ(g.doorLocked67, 0);
    EXPECT_EQ(g.doorLocked81, 1);
    EXPECT_EQ(CellAt(g, 8, 14), ' ');
    EXPECT_EQ(CellAt(g, 9, 14), ' ');
    // He is drawn to the cell above the door.
    EXPECT_TRUE(ManAt(8, 13));
    EXPECT_EQ(CellAt(g, 7, 13), ' ');
    EXPECT_TRUE(MatchesGolden(g, "commands_cellar_door_open"));

    // Open now: he walks through, and opening again finds no door to reach.
    Press(VK_DOWN);
    EXPECT_TRUE(ManAt(8, 14));
    Press(VK_DOWN);
    EXPECT_TRUE(ManAt(8, 15));
    Command("UNLOCK DOOR");
    EXPECT_EQ(MessageArea(g), Padded(kOutOfReach));
}

TEST_F(Castle, WineCellarDoorFromTheOtherSideAndFromAfar) {
    // Below the door, out of line with the pull: the door opens, he stays.
    StandWithKey(67, 9, 15);
    Command("UNLOCK DOOR");
    EXPECT_EQ(MessageArea(g), Padded(kDone));
    EXPECT_EQ(g.doorLocked67, 0);
    EXPECT_TRUE(ManAt(9, 15));
    Press(VK_UP);
    EXPECT_TRUE(ManAt(9, 14));

    // Two cells above the door is too far.
    StandWithKey(67, 8, 12);
    Command("OPEN DOOR");
    EXPECT_EQ(MessageArea(g), Padded(kOutOfReach));
    EXPECT_EQ(g.doorLocked67, 1);
    EXPECT_EQ(CellAt(g, 8, 14), kDoor);
    EXPECT_TRUE(ManAt(8, 12));

    // Right above it he cannot be drawn nearer: he stays, the door opens.
    StandWithKey(67, 8, 13);
    Command("OPEN DOOR");
    EXPECT_EQ(MessageArea(g), Padded(kDone));
    EXPECT_EQ(g.doorLocked67, 0);
    EXPECT_TRUE(ManAt(8, 13));

    // Corner-wise from the right of the gap is near enough, and he is drawn in.
    StandWithKey(67, 10, 13);
    Command("OPEN DOOR");
    EXPECT_EQ(MessageArea(g), Padded(kDone));
    EXPECT_TRUE(ManAt(8, 13));
    EXPECT_EQ(CellAt(g, 10, 13), ' ');
}

TEST_F(Castle, WineCellarDoorLocksFromAnywhere) {
    StandWithKey(67, 8, 13);
    Command("OPEN DOOR");
    ASSERT_EQ(g.doorLocked67, 0);
    // Walk away to the far side of the cellar first.
    for (int i = 0; i < 8; ++i) Press(VK_UP);
    const int x = g.playerColumn;
    const int y = g.playerRow;
    ASSERT_LT(y, 12);

    Command("LOCK DOOR");
    EXPECT_EQ(MessageArea(g), Padded(kDone));
    EXPECT_EQ(g.doorLocked67, 1);
    EXPECT_EQ(CellAt(g, 8, 14), kDoor);
    EXPECT_EQ(CellAt(g, 9, 14), kDoor);
    EXPECT_TRUE(ManAt(x, y));

    // Locked again: walking into it is refused.
    PlaceMan(67, 8, 13);
    Press(VK_DOWN);
    EXPECT_TRUE(ManAt(8, 13));
    EXPECT_EQ(MessageArea(g), Padded({"The Door is", "locked."}));

    // Locking needs the key but no reach.
    g.items[kKey].carried = 0;
    Command("CLOSE DOOR");
    EXPECT_EQ(MessageArea(g), Padded({" You don't", " have a key!"}));
}

TEST_F(Castle, LockedFromTheDoorwayTheDoorStaysBehindHim) {
    StandWithKey(67, 8, 13);
    Command("OPEN DOOR");
    Press(VK_DOWN);
    ASSERT_TRUE(ManAt(8, 14));
    Command("LOCK DOOR");
    EXPECT_EQ(g.doorLocked67, 1);
    Press(VK_DOWN);
    ASSERT_TRUE(ManAt(8, 15));
    EXPECT_EQ(CellAt(g, 8, 14), kDoor) << "the door he stood in is drawn again";
    Press(VK_UP);
    EXPECT_TRUE(ManAt(8, 15)) << "and it keeps him out";
    EXPECT_EQ(MessageArea(g), Padded({"The Door is", "locked."}));
}

TEST_F(Castle, ItemsLyingInTheCellarStayDrawnWhenTheDoorMoves) {
    StartPlaying();
    g.items[0].room = 67;  // the lamp, put down in the cellar earlier
    g.items[0].x = 12;
    g.items[0].y = 12;
    PlaceMan(67, 7, 13);
    Carry(kKey);
    Command("OPEN DOOR");
    EXPECT_EQ(CellAt(g, 12, 12), g.items[0].glyph);
    Command("LOCK DOOR");
    EXPECT_EQ(CellAt(g, 12, 12), g.items[0].glyph);
    EXPECT_TRUE(ManAt(8, 13));
}

TEST_F(Castle, DungeonDoorOpensFromEitherSide) {
    // The door stands in the gap at (13, 8..9) of the hall's inner wall.
    StandWithKey(81, 14, 9);
    EXPECT_EQ(CellAt(g, 13, 8), kDoor);
    EXPECT_EQ(CellAt(g, 13, 9), kDoor);
    Command("OPEN DOOR");
    EXPECT_EQ(MessageArea(g), Padded(kDone));
    EXPECT_EQ(g.doorLocked81, 0);
    EXPECT_EQ(g.doorLocked67, 1);
    EXPECT_EQ(CellAt(g, 13, 8), ' ');
    EXPECT_EQ(CellAt(g, 13, 9), ' ');
    EXPECT_TRUE(ManAt(14, 8));
    EXPECT_EQ(CellAt(g, 14, 9), ' ');
    Press(VK_LEFT);
    EXPECT_TRUE(ManAt(13, 8));

    // From the west side he is not drawn anywhere; he walks through himself.
    StandWithKey(81, 12, 8);
    Command("UNLOCK DOOR");
    EXPECT_EQ(MessageArea(g), Padded(kDone));
    EXPECT_TRUE(ManAt(12, 8));
    Press(VK_RIGHT);
    EXPECT_TRUE(ManAt(13, 8));
    Press(VK_RIGHT);
    EXPECT_TRUE(ManAt(14, 8));
}

TEST_F(Castle, DungeonDoorOutOfReachAndLockedFromAfar) {
    StandWithKey(81, 15, 8);
    Command("OPEN DOOR");
    EXPECT_EQ(MessageArea(g), Padded(kOutOfReach));
    EXPECT_EQ(g.doorLocked81, 1);

    StandWithKey(81, 12, 10);  // corner-wise below the door's lower cell
    Command("OPEN DOOR");
    EXPECT_EQ(MessageArea(g), Padded(kDone));
    EXPECT_EQ(g.doorLocked81, 0);
    EXPECT_TRUE(ManAt(12, 10));

    PlaceMan(81, 3, 3);
    Command("LOCK DOOR");
    EXPECT_EQ(MessageArea(g), Padded(kDone));
    EXPECT_EQ(g.doorLocked81, 1);
    EXPECT_EQ(CellAt(g, 13, 8), kDoor);
    EXPECT_EQ(CellAt(g, 13, 9), kDoor);
    EXPECT_TRUE(ManAt(3, 3));
}

TEST_F(Castle, TheFlaskIsFilledBesideTheFountain) {
    if (!StandNextToFurniture(17)) return;
    Carry(kFlask);
    Command("GET WATER");
    EXPECT_EQ(MessageArea(g), Padded(kDone));
    EXPECT_EQ(g.flaskHasWater, 1);
    EXPECT_TRUE(fake::PlayedCues().empty());

    if (!StandNextToFurniture(17)) return;
    Carry(kFlask);
    Command("FILL FLASK");
    EXPECT_EQ(MessageArea(g), Padded(kDone));
    EXPECT_EQ(g.flaskHasWater, 1);

    if (!StandAwayFromFurniture(17)) return;
    Carry(kFlask);
    Command("FILL FLASK");
    EXPECT_EQ(MessageArea(g), Padded(kOutOfReach));
    EXPECT_EQ(g.flaskHasWater, 0);
}

}  // namespace
