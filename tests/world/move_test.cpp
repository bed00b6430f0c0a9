// SPDX-License-Identifier: GPL-3.0-or-later
// The man's steps through the keys: edges, stairs, picking up, fighting, being
// stopped, the traps and the escape.
#include <cstring>
#include <set>
#include <vector>

#include "world_test.h"

namespace {

class MoveTest : public WorldTest {};

TEST_F(MoveTest, WalksThroughSeveralRoomsByEdgesAndStairs) {
    StartPlaying();
    ASSERT_TRUE(LeaveBy('N'));
    EXPECT_EQ(g.currentRoom, 1);
    EXPECT_EQ(g.playerRow, 17);
    EXPECT_EQ(CellAt(g, g.playerColumn, 17), 0x05);
    ASSERT_TRUE(LeaveBy('N'));
    EXPECT_EQ(g.currentRoom, 2);
    ASSERT_TRUE(LeaveBy('E'));
    EXPECT_EQ(g.currentRoom, 4);
    EXPECT_EQ(g.playerColumn, 0);
    ASSERT_TRUE(TakeStairs('U'));
    EXPECT_EQ(g.currentRoom, 20);
    EXPECT_EQ(g.holdRepeat, 1);
    EXPECT_EQ(CellAt(g, g.playerColumn, g.playerRow), 0x05);
    // He stands where he stepped from, not on a stair.
    EXPECT_EQ(MapCell(g, g.playerColumn, g.playerRow), ' ');
    ASSERT_TRUE(LeaveBy('W'));
    EXPECT_EQ(g.currentRoom, 18);
    EXPECT_EQ(g.playerColumn, 23);
    ASSERT_TRUE(LeaveBy('W'));
    EXPECT_EQ(g.currentRoom, 19);
    ASSERT_TRUE(TakeStairs('D'));
    EXPECT_EQ(g.currentRoom, 3);
    ASSERT_TRUE(LeaveBy('E'));
    EXPECT_EQ(g.currentRoom, 2);
    ASSERT_TRUE(LeaveBy('S'));
    EXPECT_EQ(g.currentRoom, 1);
    EXPECT_EQ(g.playerRow, 0);
    ASSERT_TRUE(LeaveBy('S'));
    EXPECT_EQ(g.currentRoom, 0);
    // Only the blocked steps at the walls made sounds on the way, if any.
    for (int cue : Cues()) EXPECT_EQ(cue, CUE_OBSTACLE);
}

TEST_F(MoveTest, WalkingOffAnEdgeWithoutAnExitStaysPut) {
    StartPlaying();
    // The chef's quarters have only a west exit; badly matched maps could still
    // leave the man standing in the east wall.
    PlaceMan(9, 23, 9);
    Press(VK_RIGHT);
    EXPECT_EQ(g.currentRoom, 9);
    EXPECT_EQ(g.playerColumn, 23);
    EXPECT_EQ(CellAt(g, 23, 9), 0x05);
    EXPECT_TRUE(LoudCues().empty());
    EXPECT_EQ(g.facing, 2);
}

TEST_F(MoveTest, ADiagonalStepOverAnEdgeKeepsTheCoordinateAlongIt) {
    StartPlaying();
    // Find a top-edge cell of room 1 whose east neighbour is open too.
    int column = -1;
    for (int x = 0; x < 23 && column < 0; ++x) {
        if (DataBlank(1, x, 0) && DataBlank(1, x + 1, 0) && DataBlank(2, x, 17)) column = x;
    }
    ASSERT_GE(column, 0);
    PlaceMan(1, column, 0);
    Press(VK_NUMPAD9);
    EXPECT_EQ(g.currentRoom, 2);
    EXPECT_EQ(g.playerColumn, column);
    EXPECT_EQ(g.playerRow, 17);
    EXPECT_EQ(g.facing, 1);
    Press(VK_NUMPAD3);  // south-east, back over the bottom edge
    EXPECT_EQ(g.currentRoom, 1);
    EXPECT_EQ(g.playerColumn, column);
    EXPECT_EQ(g.playerRow, 0);
}

TEST_F(MoveTest, EveryKeySetsTheFacingEvenWhenBlocked) {
    StartPlaying();
    const uint32_t keys[8] = {VK_UP, VK_NUMPAD9, VK_RIGHT, VK_NUMPAD3, VK_DOWN, VK_NUMPAD1, VK_LEFT, VK_NUMPAD7};
    PlaceMan(0, 1, 1);  // the corner: west and north are walls
    for (int f = 0; f < 8; ++f) {
        PlaceMan(0, 12, 9);
        Press(keys[f]);
        EXPECT_EQ(g.facing, f);
    }
    PlaceMan(0, 1, 1);
    Press(VK_NUMPAD7);
    EXPECT_EQ(g.facing, 7);
    EXPECT_EQ(g.playerColumn, 1);
    EXPECT_EQ(QuietCues(), std::vector<int>{CUE_OBSTACLE});
    // Keypad 5 and other keys are no movement keys.
    Press(VK_NUMPAD5);
    EXPECT_EQ(g.facing, 7);
    // A step onto his own cell blocks and keeps the facing.
    MovePlayer(g, 1, 1);
    EXPECT_EQ(g.facing, 7);
    EXPECT_EQ(CellAt(g, 1, 1), 0x05);
}

TEST_F(MoveTest, StepsLeaveTheMapAndLyingItemsBehind) {
    StartPlaying();
    int x = -1;
    int y = -1;
    for (int cx = 1; cx < 21 && x < 0; ++cx) {
        for (int cy = 1; cy < 17 && x < 0; ++cy) {
            if (DataBlank(2, cx, cy) && DataBlank(2, cx + 1, cy) && DataBlank(2, cx + 2, cy)) {
                x = cx;
                y = cy;
            }
        }
    }
    ASSERT_GE(x, 0);
    PlaceMan(2, x, y);
    Press(VK_RIGHT);
    EXPECT_EQ(g.playerColumn, x + 1);
    EXPECT_EQ(CellAt(g, x, y), ' ');
    EXPECT_EQ(CellAt(g, x + 1, y), 0x05);
    // An item under his old cell shows again when he steps off it.
    g.items[18].room = 2;
    g.items[18].x = x + 1;
    g.items[18].y = y;
    Press(VK_RIGHT);
    EXPECT_EQ(CellAt(g, x + 1, y), 0x9B);
    EXPECT_EQ(CellAt(g, x + 2, y), 0x05);
}

TEST_F(MoveTest, AHeldKeyStopsAfterAStaircase) {
    StartPlaying();
    const uint32_t up = PlaceBeside(3, 'U');
    ASSERT_NE(up, 0u);
    PressRepeat(up);
    ASSERT_EQ(g.currentRoom, 19);
    EXPECT_EQ(g.holdRepeat, 1);
    const int x = g.playerColumn;
    const int y = g.playerRow;
    // Walk on in room 19 in a direction with floor.
    uint32_t key = 0;
    for (uint32_t k : {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN}) {
        const int dx = k == VK_LEFT ? -1 : k == VK_RIGHT ? 1 : 0;
        const int dy = k == VK_UP ? -1 : k == VK_DOWN ? 1 : 0;
        if (Blank(x + dx, y + dy)) key = k;
    }
    ASSERT_NE(key, 0u);
    PressRepeat(key, 5);
    EXPECT_EQ(g.playerColumn, x);
    EXPECT_EQ(g.playerRow, y);
    EXPECT_EQ(g.holdRepeat, 1);
    Press(key);
    EXPECT_NE(g.playerColumn * 100 + g.playerRow, x * 100 + y);
    EXPECT_EQ(g.holdRepeat, 0);
    PressRepeat(key);
    EXPECT_EQ(g.holdRepeat, 0);

    // Stairs down hold the key the same way.
    const uint32_t down = PlaceBeside(19, 'D');
    ASSERT_NE(down, 0u);
    PressRepeat(down);
    ASSERT_EQ(g.currentRoom, 3);
    EXPECT_EQ(g.holdRepeat, 1);
}

TEST_F(MoveTest, WalkingIntoAnItemPicksItUp) {
    StartPlaying();
    PlaceMan(11, 10, 5);  // below the SWORD at (10, 4)
    Press(VK_UP);
    EXPECT_EQ(g.items[5].carried, 1);
    EXPECT_EQ(g.playerRow, 5);
    EXPECT_EQ(CellAt(g, 10, 4), MapCell(g, 10, 4));
    EXPECT_EQ(LoudCues(), std::vector<int>{CUE_TAKE});
    EXPECT_TRUE(QuietCues().empty());
    EXPECT_EQ(ScreenText(g, 27, 0), "SWORD");  // the list waits for the next entry
    Press(VK_UP);
    EXPECT_EQ(g.playerRow, 4);
}

TEST_F(MoveTest, SixCarriedItemsAreTheLimit) {
    StartPlaying();
    for (int item : {0, 1, 2, 3, 4, 6}) Carry(item);
    PlaceMan(11, 10, 5);
    Press(VK_UP);
    EXPECT_EQ(g.items[5].carried, 0);
    EXPECT_EQ(MessageLine(g, 0), " Can't carry");
    EXPECT_EQ(MessageLine(g, 1), " any more!");
    EXPECT_EQ(CellAt(g, 10, 4), 0xC5);
    EXPECT_EQ(LoudCues(), std::vector<int>{CUE_TAKE});
    EXPECT_EQ(g.playerRow, 5);

    g.items[6].carried = 0;
    fake::ClearCues();
    Press(VK_UP);
    EXPECT_EQ(g.items[5].carried, 1);
    EXPECT_EQ(CarriedCount(g), 6);
}

TEST_F(MoveTest, WithoutTheSwordAFreshBlowAlwaysAnswersNoWeapon) {
    StartPlaying();
    PlaceMan(3, 11, 8);  // beside the OGRE at (12, 8)
    for (int i = 0; i < 20; ++i) {
        ShowMessage(g, "", 0, 0);
        fake::ClearCues();
        Press(VK_RIGHT);
        EXPECT_EQ(MessageLine(g, 0), "You have no");
        EXPECT_EQ(MessageLine(g, 1), "Weapon!");
        EXPECT_EQ(QuietCues(), std::vector<int>{CUE_OBSTACLE});
    }
    EXPECT_EQ(g.monsters[0].strength, 80);
    EXPECT_EQ(g.playerColumn, 11);
}

TEST_F(MoveTest, HeldKeysLandAboutOneBlowInThree) {
    StartPlaying(7);
    PlaceMan(3, 11, 8);
    int answered = 0;
    for (int i = 0; i < 600; ++i) {
        fake::ClearCues();
        ShowMessage(g, "", 0, 0);
        PressRepeat(VK_RIGHT);
        if (!Cues().empty()) {
            ++answered;
            EXPECT_EQ(MessageLine(g, 0), "You have no");
        } else {
            EXPECT_EQ(MessageLine(g, 0), "");  // a miss says nothing at all
        }
    }
    EXPECT_GT(answered, 150);
    EXPECT_LT(answered, 250);
}

TEST_F(MoveTest, BlowsDealFromMinusFiveToNineteen) {
    StartPlaying(3);
    Carry(5);
    PlaceMan(3, 11, 8);
    std::set<int> damages;
    for (int i = 0; i < 2000; ++i) {
        g.monsters[0].strength = 1000;
        Press(VK_RIGHT);
        damages.insert(1000 - g.monsters[0].strength);
    }
    EXPECT_EQ(*damages.begin(), -5);
    EXPECT_EQ(*damages.rbegin(), 19);
    EXPECT_EQ(damages.size(), 25u);
    EXPECT_EQ(MessageLine(g, 0), "You struck");
    EXPECT_EQ(MessageLine(g, 1), "the OGRE!");
}

TEST_F(MoveTest, KillingAMonsterLeavesItsBodyInTheWay) {
    StartPlaying(5);
    Carry(5);
    PlaceMan(3, 11, 8);
    int blows = 0;
    while (g.monsters[0].strength >= 0 && blows < 200) {
        fake::ClearCues();
        Press(VK_RIGHT);
        ++blows;
        EXPECT_EQ(QuietCues(), std::vector<int>{CUE_OBSTACLE});
    }
    ASSERT_LT(g.monsters[0].strength, 0);
    EXPECT_EQ(MessageLine(g, 0), "You killed");
    EXPECT_EQ(MessageLine(g, 1), "the OGRE!");
    EXPECT_EQ(CellAt(g, 12, 8), 0x01);
    EXPECT_EQ(MonsterInRoom(g, 3), nullptr);

    // Walking into the body again: only the bump.
    ShowMessage(g, "", 0, 0);
    fake::ClearCues();
    const int strength = g.monsters[0].strength;
    Press(VK_RIGHT);
    EXPECT_EQ(QuietCues(), std::vector<int>{CUE_OBSTACLE});
    EXPECT_TRUE(LoudCues().empty());
    EXPECT_EQ(Messages(), "|||||||");
    EXPECT_EQ(g.monsters[0].strength, strength);
    EXPECT_EQ(g.playerColumn, 11);

    // It no longer moves or strikes.
    const GameState before = g;
    for (int i = 0; i < 20; ++i) WorldTick(g);
    EXPECT_EQ(std::memcmp(before.screen, g.screen, sizeof g.screen), 0);
    EXPECT_EQ(g.strength, 100);

    // And the next entry lists it dead.
    ASSERT_TRUE(LeaveBy('E'));
    ASSERT_TRUE(LeaveBy('W'));
    EXPECT_EQ(ScreenText(g, 25, 0), "\u263A Dead OGRE");
}

TEST_F(MoveTest, GuardiansBlockTheirDoorways) {
    StartPlaying();
    PlaceMan(27, 22, 9);
    Press(VK_RIGHT);
    EXPECT_EQ(MessageLine(g, 0), "The Vampire");
    EXPECT_EQ(MessageLine(g, 1), "is blocking");
    EXPECT_EQ(MessageLine(g, 2), "your way. He");
    EXPECT_EQ(MessageLine(g, 3), "can't be hurt.");
    EXPECT_EQ(QuietCues(), std::vector<int>{CUE_OBSTACLE});
    EXPECT_EQ(g.monsters[8].strength, 1);
    EXPECT_EQ(g.currentRoom, 27);

    Carry(5);  // the sword does not help
    g.currentRoom = 0;
    PlaceMan(51, 1, 9);
    fake::ClearCues();
    Press(VK_LEFT);
    EXPECT_EQ(MessageLine(g, 0), "The Fairy");
    EXPECT_EQ(MessageLine(g, 3), "can't be hurt.");
    EXPECT_EQ(QuietCues(), std::vector<int>{CUE_OBSTACLE});
    EXPECT_EQ(g.monsters[9].strength, 1);
    EXPECT_EQ(g.currentRoom, 51);

    // Guardians never chase.
    const GameState before = g;
    for (int i = 0; i < 10; ++i) WorldTick(g);
    EXPECT_EQ(std::memcmp(before.screen, g.screen, sizeof g.screen), 0);
}

TEST_F(MoveTest, TheLockedGateAndItsOpening) {
    StartPlaying();
    PlaceMan(0, 11, 16);
    Press(VK_DOWN);
    EXPECT_EQ(MessageLine(g, 0), "The Gate is");
    EXPECT_EQ(MessageLine(g, 1), "locked.");
    EXPECT_EQ(QuietCues(), std::vector<int>{CUE_OBSTACLE});
    EXPECT_EQ(g.playerRow, 16);

    // A plain wall bumps without a word.
    ShowMessage(g, "", 0, 0);
    fake::ClearCues();
    PlaceMan(0, 5, 16);
    Press(VK_DOWN);
    EXPECT_EQ(Messages(), "|||||||");
    EXPECT_EQ(QuietCues(), std::vector<int>{CUE_OBSTACLE});

    // Opened as the scepter opens it, the gate lets him out: the game is over.
    PlaceMan(0, 11, 16);
    for (int x = 10; x <= 13; ++x) MapCell(g, x, 17) = ' ';
    RedrawRoom(g);
    Press(VK_DOWN);
    EXPECT_EQ(g.playerRow, 17);
    EXPECT_EQ(g.mode, static_cast<uint32_t>(Play));
    Press(VK_DOWN);
    EXPECT_EQ(g.escaped, 1);
    EXPECT_EQ(g.mode, static_cast<uint32_t>(Summary));
}

TEST_F(MoveTest, LockedDoorsSayTheyAreLocked) {
    StartPlaying();
    PlaceMan(67, 8, 13);
    Press(VK_DOWN);
    EXPECT_EQ(MessageLine(g, 0), "The Door is");
    EXPECT_EQ(MessageLine(g, 1), "locked.");
    EXPECT_EQ(QuietCues(), std::vector<int>{CUE_OBSTACLE});
    EXPECT_EQ(g.playerRow, 13);

    PlaceMan(81, 12, 8);
    ShowMessage(g, "", 0, 0);
    Press(VK_RIGHT);
    EXPECT_EQ(MessageLine(g, 0), "The Door is");
    EXPECT_EQ(g.playerColumn, 12);

    // Unlocked, the doorway is floor.
    g.doorLocked67 = 0;
    PlaceMan(67, 8, 13);
    Press(VK_DOWN);
    EXPECT_EQ(g.playerRow, 14);
    EXPECT_EQ(CellAt(g, 8, 13), ' ');
}

TEST_F(MoveTest, TheFirstTrapSpringsOnlyFromItsColumn) {
    StartPlaying();
    PlaceMan(75, 15, 12);
    Press(VK_LEFT);  // from 15 to 14: safe
    EXPECT_EQ(g.playerColumn, 14);
    EXPECT_EQ(g.trapSprung, 0);
    Press(VK_UP);  // from 14 into the wall: safe
    EXPECT_EQ(g.trapSprung, 0);
    EXPECT_EQ(g.facing, 0);
    fake::ClearCues();
    Press(VK_LEFT);  // off column 14 onto floor: sprung, and he does not move
    EXPECT_EQ(g.trapSprung, 1);
    EXPECT_EQ(g.playerColumn, 14);
    EXPECT_TRUE(Cues().empty());
    // Keys are ignored while the water rises.
    Press(VK_RIGHT);
    Type("LOOK");
    EXPECT_EQ(g.playerColumn, 14);
    EXPECT_EQ(g.commandLine[0], '\0');
}

TEST_F(MoveTest, TheNecklaceLetsTheManPass) {
    StartPlaying();
    Carry(2);
    PlaceMan(75, 14, 12);
    Press(VK_LEFT);
    EXPECT_EQ(g.trapSprung, 0);
    EXPECT_EQ(g.playerColumn, 13);
    PlaceMan(77, 17, 8);
    Press(VK_RIGHT);
    EXPECT_EQ(g.trapSprung, 0);
    EXPECT_EQ(g.playerColumn, 18);
}

TEST_F(MoveTest, APuffOfSmokeFromTheLaboratory) {
    StartPlaying();
    PlaceAtEdge(65, 'W');
    Press(VK_LEFT);
    EXPECT_EQ(g.currentRoom, 66);
    EXPECT_EQ(g.playerColumn, 16);
    EXPECT_EQ(g.playerRow, 9);
    EXPECT_EQ(CellAt(g, 16, 9), 0x05);
    EXPECT_EQ(CellAt(g, 23, 9), MapCell(g, 23, 9));
    EXPECT_EQ(MessageLine(g, 0), "There is a puff");
    EXPECT_EQ(MessageLine(g, 1), "of smoke & you");
    EXPECT_EQ(MessageLine(g, 2), "appear in the");
    EXPECT_EQ(MessageLine(g, 3), "Sorcerers room!");

    // From the tower the man simply walks in.
    PlaceAtEdge(61, 'E');
    const int row = g.playerRow;
    Press(VK_RIGHT);
    EXPECT_EQ(g.currentRoom, 66);
    EXPECT_EQ(g.playerColumn, 0);
    EXPECT_EQ(g.playerRow, row);
    EXPECT_EQ(Messages(), "|||||||");
}

TEST_F(MoveTest, AManInsideAWallStepsOutAndTheWallStays) {
    StartPlaying();
    // Badly matched edges can put him on a wall cell; he is drawn over it.
    PlaceMan(2, 0, 0);
    EXPECT_EQ(MapCell(g, 0, 0), 0xB2);
    Press(VK_NUMPAD3);
    if (g.playerColumn == 1) {
        EXPECT_EQ(CellAt(g, 0, 0), 0xB2);
    }
    // Off the map entirely (a damaged saved game): steps never write outside it.
    PlaceMan(2, 12, 9);
    Cell(g, 12, 9) = ' ';
    g.playerColumn = 30;
    g.playerRow = -4;
    GameState before = g;
    IsNextToFurniture(g);
    IsNearGlyph(g, 0xB3);
    WorldTick(g);
    EXPECT_EQ(std::memcmp(before.screen, g.screen, sizeof g.screen), 0);
    Press(VK_DOWN);  // row -3: the north exit
    EXPECT_EQ(g.currentRoom, 6);
    EXPECT_EQ(g.playerRow, 17);
    EXPECT_EQ(g.playerColumn, 30);
    for (int y = 0; y < kMapRows; ++y) EXPECT_EQ(CellAt(g, 24, y), 0xB3);
    EXPECT_EQ(ScreenText(g, 25, 17), "");
}

TEST_F(MoveTest, NeighbourTestsLookOnlyInsideTheMap) {
    StartPlaying();
    PlaceMan(2, 23, 17);
    // Clear his neighbours on the screen; the frame stands beyond them.
    for (int x = 22; x <= 23; ++x) {
        for (int y = 16; y <= 17; ++y) {
            if (x != 23 || y != 17) Cell(g, x, y) = ' ';
        }
    }
    EXPECT_FALSE(IsNextToGlyph(g, 0xB3));
    EXPECT_FALSE(IsNextToGlyph(g, 0xC4));
    EXPECT_FALSE(IsNearGlyph(g, 0xD9));
    EXPECT_FALSE(IsNextToFurniture(g));
    Cell(g, 22, 17) = 0xC0;
    EXPECT_TRUE(IsNextToFurniture(g));
    Cell(g, 22, 17) = ' ';
    Cell(g, 22, 16) = 0xC0;
    EXPECT_FALSE(IsNextToGlyph(g, 0xC0));
    EXPECT_TRUE(IsNearGlyph(g, 0xC0));
    EXPECT_FALSE(IsNextToFurniture(g));

    PlaceMan(2, 0, 0);
    Cell(g, 1, 0) = ' ';
    Cell(g, 0, 1) = ' ';
    Cell(g, 1, 1) = ' ';
    EXPECT_FALSE(IsNearGlyph(g, 0xB2));
    EXPECT_FALSE(IsNearGlyph(g, 0));
    Cell(g, 0, 1) = 0xDA;
    EXPECT_TRUE(IsNextToFurniture(g));
    // Every outline of desks, plinths and the mirror counts, and nothing else does.
    for (int glyph : {0xDA, 0xC4, 0xBF, 0xC0, 0xD9, 0xB3}) {
        Cell(g, 0, 1) = static_cast<uint8_t>(glyph);
        EXPECT_TRUE(IsNextToFurniture(g)) << glyph;
    }
    for (int glyph : {0xB2, 0xDB, 0xC5, 0xCD}) {
        Cell(g, 0, 1) = static_cast<uint8_t>(glyph);
        EXPECT_FALSE(IsNextToFurniture(g)) << glyph;
    }
}

// A generator state whose next roll of 1 to 100 is the one wanted and whose
// damage roll after it (NextRandom mod 25, minus 5) is above 0.
uint32_t StateRolling(uint32_t roll, int32_t* damage) {
    for (uint32_t s = 0;; ++s) {
        const uint32_t a = s * 214013u + 2531011u;
        const uint32_t b = a * 214013u + 2531011u;
        const int32_t d = static_cast<int32_t>(((b >> 16) & 0x7FFFu) % 25) - 5;
        if (((a >> 16) & 0x7FFFu) % 100 + 1 == roll && d > 0) {
            *damage = d;
            return s;
        }
    }
}

TEST_F(MoveTest, AHeldBlowNeedsARollAboveSixtySevenAndZeroStrengthIsStillAlive) {
    StartPlaying();
    Carry(5);
    PlaceMan(3, 11, 8);
    int32_t damage = 0;
    g.randomState = StateRolling(67, &damage);
    fake::ClearCues();
    PressRepeat(VK_RIGHT);
    EXPECT_EQ(g.monsters[0].strength, 80) << "a roll of 67 on a held key misses";
    EXPECT_TRUE(Cues().empty());
    EXPECT_EQ(MessageLine(g, 0), "");

    g.randomState = StateRolling(68, &damage);
    g.monsters[0].strength = damage;
    PressRepeat(VK_RIGHT);
    EXPECT_EQ(g.monsters[0].strength, 0);
    EXPECT_EQ(MessageLine(g, 0), "You struck") << "an ogre left at 0 lives on";
    EXPECT_EQ(MessageLine(g, 1), "the OGRE!");
    EXPECT_EQ(QuietCues(), std::vector<int>{CUE_OBSTACLE});
}

}  // namespace
