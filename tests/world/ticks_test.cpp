// SPDX-License-Identifier: GPL-3.0-or-later
// The castle between key presses: the chasing monster, its blows, the floods,
// and the man's death with what may still happen afterwards.
#include <cstdlib>
#include <cstring>

#include "world_test.h"

namespace {

class TickTest : public WorldTest {
protected:
    // Room 3 with its walls kept and the floor inside swept clear, the OGRE
    // standing at (ox, oy) and the man at (mx, my).
    void Arena(int ox, int oy, int mx, int my) {
        PlaceMan(3, mx, my);
        for (int x = 1; x < kMapColumns - 1; ++x) {
            for (int y = 1; y < kMapRows - 1; ++y) MapCell(g, x, y) = ' ';
        }
        ogre().x = ox;
        ogre().y = oy;
        RedrawRoom(g);
        fake::ClearCues();
    }
    MonsterRecord& ogre() { return g.monsters[0]; }
    int Blows() const {
        int n = 0;
        for (int cue : fake::PlayedCues()) n += cue == CUE_ATTACK ? 1 : 0;
        return n;
    }
};

TEST_F(TickTest, TheMonsterStepsTowardsTheManDiagonally) {
    StartPlaying();
    Arena(12, 8, 16, 14);
    const int path[][2] = {{13, 9}, {14, 10}, {15, 11}, {16, 12}, {16, 13}};
    for (const auto& p : path) {
        const int oldX = ogre().x;
        const int oldY = ogre().y;
        WorldTick(g);
        EXPECT_EQ(ogre().x, p[0]);
        EXPECT_EQ(ogre().y, p[1]);
        EXPECT_EQ(CellAt(g, p[0], p[1]), 0x01);
        EXPECT_EQ(CellAt(g, oldX, oldY), ' ');
    }
    // Beside him it strikes instead of stepping onto him.
    for (int i = 0; i < 10; ++i) WorldTick(g);
    EXPECT_EQ(ogre().x, 16);
    EXPECT_EQ(ogre().y, 13);
    EXPECT_EQ(CellAt(g, 16, 14), 0x05);
}

TEST_F(TickTest, AMonsterChasesAroundAWallWithoutPassingIt) {
    StartPlaying();
    Arena(6, 8, 14, 8);
    for (int y = 3; y <= 12; ++y) MapCell(g, 10, y) = 0xB2;
    RedrawRoom(g);
    const auto onWall = [&] { return MapCell(g, ogre().x, ogre().y) != ' '; };
    for (int i = 0; i < 30; ++i) {
        WorldTick(g);
        ASSERT_FALSE(onWall());
    }
    EXPECT_EQ(ogre().x, 9);
    EXPECT_EQ(ogre().y, 8);
    for (int y = 3; y <= 12; ++y) EXPECT_EQ(CellAt(g, 10, y), 0xB2);

    // The man goes round the bottom of the wall; the ogre follows him round.
    Press(VK_DOWN, 8);
    Press(VK_LEFT, 5);
    ASSERT_EQ(g.playerColumn, 9);
    ASSERT_EQ(g.playerRow, 16);
    for (int i = 0; i < 10; ++i) {
        WorldTick(g);
        ASSERT_FALSE(onWall());
    }
    EXPECT_EQ(ogre().x, 9);
    EXPECT_EQ(ogre().y, 15);
    Press(VK_RIGHT, 5);
    for (int i = 0; i < 10; ++i) {
        WorldTick(g);
        ASSERT_FALSE(onWall());
    }
    EXPECT_GT(ogre().x, 10);
    EXPECT_LE(std::abs(ogre().x - g.playerColumn), 1);
    EXPECT_LE(std::abs(ogre().y - g.playerRow), 1);
}

TEST_F(TickTest, AnythingButFloorStopsTheMonster) {
    StartPlaying();
    Arena(6, 8, 14, 8);
    g.items[18].room = 3;  // the HELMET in its way
    g.items[18].x = 8;
    g.items[18].y = 8;
    RedrawRoom(g);
    for (int i = 0; i < 10; ++i) WorldTick(g);
    EXPECT_EQ(ogre().x, 7);
    EXPECT_EQ(CellAt(g, 8, 8), 0x9B);
}

TEST_F(TickTest, BlowsFallOnEverySecondTickAtMost) {
    StartPlaying(11);
    Arena(12, 8, 13, 9);
    int previousBlows = 0;
    int eligible = 0;
    int landed = 0;
    for (int tick = 1; tick <= 400; ++tick) {
        g.strength = 100;
        WorldTick(g);
        const int blows = Blows();
        const bool blow = blows > previousBlows;
        previousBlows = blows;
        EXPECT_EQ(g.blowToggle, tick % 2);
        if (tick % 2 == 1) {
            EXPECT_FALSE(blow) << tick;
        } else {
            ++eligible;
            landed += blow ? 1 : 0;
        }
        EXPECT_EQ(ogre().x, 12);
    }
    // A quarter of the swings miss without a word.
    EXPECT_GT(landed, eligible * 60 / 100);
    EXPECT_LT(landed, eligible * 90 / 100);
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

TEST_F(TickTest, ARollOf25MissesAnd26HitsAndZeroStrengthIsStillAlive) {
    StartPlaying();
    Arena(12, 8, 13, 9);
    int32_t damage = 0;
    g.blowToggle = 1;  // this tick's flip makes it a swinging tick
    g.randomState = StateRolling(25, &damage);
    WorldTick(g);
    EXPECT_EQ(g.strength, 100);
    EXPECT_EQ(Blows(), 0);
    EXPECT_EQ(MessageLine(g, 0), "");

    g.blowToggle = 1;
    g.randomState = StateRolling(26, &damage);
    g.strength = damage;
    WorldTick(g);
    EXPECT_EQ(g.strength, 0);
    EXPECT_EQ(Blows(), 1);
    EXPECT_EQ(MessageLine(g, 0), "The OGRE");
    EXPECT_EQ(MessageLine(g, 1), "Struck you!") << "a man at 0 is still alive";
    EXPECT_EQ(g.awaitingKey, 0);
    EXPECT_EQ(ScreenRow(g, 24), "") << "no press-any-key line";
}

TEST_F(TickTest, ABlowCanHealAboveAHundred) {
    StartPlaying(2);
    Arena(12, 8, 13, 9);
    bool healed = false;
    for (int tick = 0; tick < 400 && !healed; ++tick) {
        g.strength = 100;
        ShowMessage(g, "", 0, 0);
        WorldTick(g);
        healed = g.strength > 100;
    }
    ASSERT_TRUE(healed);
    EXPECT_LE(g.strength, 105);
    EXPECT_EQ(MessageLine(g, 0), "The OGRE");
    EXPECT_EQ(MessageLine(g, 1), "Struck you!");
}

TEST_F(TickTest, TheHelmetAddsItsLinesButTakesNothingOff) {
    StartPlaying(4);
    Carry(18);
    Arena(12, 8, 13, 9);
    while (Blows() == 0) WorldTick(g);
    ASSERT_GE(g.strength, 0);
    EXPECT_EQ(MessageLine(g, 0), "The OGRE");
    EXPECT_EQ(MessageLine(g, 1), "Struck you!");
    EXPECT_EQ(MessageLine(g, 2), "");
    EXPECT_EQ(MessageLine(g, 3), "The Helmet");
    EXPECT_EQ(MessageLine(g, 4), "helped.");
    const int32_t withHelmet = g.strength;

    fake::Reset();
    StartPlaying(4);
    Arena(12, 8, 13, 9);
    while (Blows() == 0) WorldTick(g);
    EXPECT_EQ(g.strength, withHelmet);
    EXPECT_EQ(MessageLine(g, 3), "");
}

TEST_F(TickTest, KilledByAMonsterAndWhatFollows) {
    StartPlaying(6);
    Arena(12, 8, 13, 9);
    int ticks = 0;
    while (g.strength >= 0 && ticks < 2000) {
        if (g.strength > 20) g.strength = 20;
        WorldTick(g);
        ++ticks;
    }
    ASSERT_LT(g.strength, 0);
    EXPECT_EQ(MessageLine(g, 0), "The OGRE");
    EXPECT_EQ(MessageLine(g, 1), "has Killed you!");
    EXPECT_EQ(g.awaitingKey, 1);
    EXPECT_EQ(fake::PlayedCues().back(), CUE_ATTACK);
    for (int y = 19; y <= 23; ++y) {
        for (int x = 0; x < kScreenColumns; ++x) EXPECT_EQ(CellAt(g, x, y), ' ') << x << "," << y;
    }
    EXPECT_EQ(ScreenText(g, 0, 24), "       Press any key to continue");
    EXPECT_EQ(CellAt(g, 39, 24), ' ');

    // Nothing but a fresh key changes anything now.
    GameState before = g;
    for (int i = 0; i < 5; ++i) {
        WorldTick(g);
        BlinkTick(g);
    }
    MovePlayer(g, 12, 9);
    PressRepeat(VK_LEFT);
    PressRepeat('A');
    before.keyRepeat = 1;
    EXPECT_EQ(std::memcmp(&before, &g, sizeof g), 0);
    Press(VK_SHIFT);
    EXPECT_EQ(g.mode, static_cast<uint32_t>(Summary));
}

TEST_F(TickTest, TheMonsterStaysWhereItWasLeft) {
    StartPlaying();
    PlaceInside(3);
    for (int i = 0; i < 3; ++i) WorldTick(g);
    const int x = ogre().x;
    const int y = ogre().y;
    PlaceInside(2);
    for (int i = 0; i < 10; ++i) WorldTick(g);
    EXPECT_EQ(ogre().x, x);
    EXPECT_EQ(ogre().y, y);
    PlaceInside(3);
    EXPECT_EQ(CellAt(g, x, y), 0x01);
}

class FloodTest : public WorldTest {
protected:
    void Drowns(int room, int column, uint32_t key, int ticks, const char* golden) {
        StartPlaying();
        PlaceMan(room, column, room == 75 ? 12 : 8);
        Press(key);
        ASSERT_EQ(g.trapSprung, 1);
        for (int t = 1; t < ticks; ++t) {
            WorldTick(g);
            ASSERT_EQ(g.trapSprung, 1) << "tick " << t;
            ASSERT_EQ(g.strength, 100);
        }
        WorldTick(g);
        EXPECT_EQ(g.trapSprung, 0);
        EXPECT_EQ(g.strength, -1);
        EXPECT_EQ(g.awaitingKey, 1);
        EXPECT_EQ(MessageLine(g, 0), "You have sprung");
        EXPECT_EQ(MessageLine(g, 1), "a Trap!! The");
        EXPECT_EQ(MessageLine(g, 2), "room has filled");
        EXPECT_EQ(MessageLine(g, 3), "with water and");
        EXPECT_EQ(MessageLine(g, 4), "you drowned!");
        EXPECT_EQ(ScreenText(g, 0, 24), "       Press any key to continue");
        EXPECT_TRUE(fake::PlayedCues().empty());
        EXPECT_TRUE(MatchesGolden(g, golden));
        // The flood is drawn on the screen only.
        EXPECT_EQ(MapCell(g, column, room == 75 ? 12 : 8), ' ');

        const GameState before = g;
        WorldTick(g);
        BlinkTick(g);
        MovePlayer(g, column - 1, 12);
        EXPECT_EQ(std::memcmp(&before, &g, sizeof g), 0);
        Press(VK_SPACE);
        EXPECT_EQ(g.mode, static_cast<uint32_t>(Summary));
    }
};

TEST_F(FloodTest, TheFirstPassageDrownsInSevenTicks) {
    Drowns(75, 14, VK_LEFT, 7, "world_drowned_75");
    // Walls at 10 and 16 close the corridor; water stands between them.
}

TEST_F(FloodTest, TheSecondPassageDrownsInThirteenTicks) { Drowns(77, 17, VK_RIGHT, 13, "world_drowned_77"); }

TEST_F(FloodTest, TheWaterRisesColumnByColumn) {
    StartPlaying();
    PlaceMan(75, 14, 12);
    Press(VK_LEFT);
    WorldTick(g);
    for (int y = 12; y <= 13; ++y) {
        EXPECT_EQ(CellAt(g, 10, y), 0xB2);
        EXPECT_EQ(CellAt(g, 16, y), 0xB2);
        EXPECT_NE(CellAt(g, 11, y), 0xB0);
    }
    for (int column = 11; column <= 15; ++column) {
        WorldTick(g);
        EXPECT_EQ(CellAt(g, column, 12), 0xB0);
        EXPECT_EQ(CellAt(g, column, 13), 0xB0);
        if (column < 15) {
            EXPECT_NE(CellAt(g, column + 1, 12), 0xB0);
        }
    }
    EXPECT_EQ(CellAt(g, 14, 12), 0xB0);  // over the man
    EXPECT_EQ(g.strength, 100);
}

TEST_F(FloodTest, NoMonsterMovesDuringAFlood) {
    StartPlaying();
    g.monsters[0].room = 75;
    g.monsters[0].x = 3;
    g.monsters[0].y = 3;
    PlaceMan(75, 14, 12);
    Press(VK_LEFT);
    for (int i = 0; i < 5; ++i) WorldTick(g);
    EXPECT_EQ(g.monsters[0].x, 3);
    EXPECT_EQ(g.monsters[0].y, 3);
}

}  // namespace
