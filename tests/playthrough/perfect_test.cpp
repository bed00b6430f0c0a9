// SPDX-License-Identifier: GPL-3.0-or-later
// The whole castle in one game: every treasure to the courtyard, every monster
// that can die killed, the gate waved open and the man out through it -- 1550,
// the name entry, and the best score on the courtyard wall in the next game.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/core.h"
#include "golden.h"
#include "player.h"
#include "score/score.h"
#include "temp_dir.h"
#include "world/world.h"

namespace {

constexpr int kTreasures[] = {HARP, NECKLACE, CROSS, DIAMOND, BARS, RUBYS, FIGURINE,
                              SCEPTER, HOURGLASS, GEM, GOLDBAR, GOBLET, CROWN};

class PerfectGame : public Player {
protected:
    // Treasures that would count now: in hand or lying in the courtyard.
    int TreasuresCounted() const {
        int n = 0;
        for (int t : kTreasures) n += g.items[t].carried || g.items[t].room == 0 ? 1 : 0;
        return n;
    }

    void LayDownEverything() {
        for (int i = 0; i < kItemCount; ++i) {
            if (Carrying(i)) DropInCourtyard(i);
        }
    }

    // The sword, the snake's lamp, the gem in the fountain, the demon's crown,
    // the goblet, the west ogre and the hourglass up the stairs.
    void FirstTrip() {
        PickUp(SWORD);
        Fight(SNAKE);
        PickUp(LAMP);
        GoTo(32);  // from the balcony the gem shows in the fountain
        Say("LOOK GARDEN");
        EXPECT_EQ(Msg(), " There is a/ BIG Gem in/ the Garden/ Fountain!") << Where();
        GoTo(17);
        Say("LOOK FOUNTAIN");
        EXPECT_EQ(Msg(), "The fountain/is filled/with water.But/you can't see/In it.") << Where();
        GetHidden(GEM, "GEM");
        Fight(DEMON_13);
        PickUp(CROWN);
        PickUp(GOBLET);
        Fight(OGRE_3);
        PickUp(HOURGLASS);
        GoTo(0);
        LayDownEverything();
        EXPECT_EQ(TreasuresCounted(), 4);
    }

    // The statue's necklace, the upper ogre, the demon with the wand, the silver
    // bars, the sorcerer's mirror and the rubies in the castle wall.
    void SecondTrip() {
        PickUp(SWORD);
        PickUp(LAMP);
        GoTo(18);
        Say("LOOK STATUE");
        EXPECT_EQ(Msg(), " The statue is/ wearing a/ Necklace") << Where();
        GetHidden(NECKLACE, "NECKLACE");
        Fight(OGRE_20);
        Fight(DEMON_23);
        PickUp(WAND);
        PickUp(BARS);

        GoTo(66);
        Say("WAVE WAND");
        GoTo(65);
        PickUp(BALL);
        DropAside(BALL);
        GoTo(66);  // by magic: the laboratory has no door back
        EXPECT_EQ(Man(), (Place{66, 16, 9}));
        EXPECT_EQ(Msg(), "There is a puff/of smoke & you/appear in the/Sorcerers room!") << Where();

        PickUp(RUBYS);
        GoTo(0);
        for (int i : {BARS, RUBYS, NECKLACE, SWORD, LAMP, WAND}) DropInCourtyard(i);
        EXPECT_EQ(TreasuresCounted(), 7);
    }

    // The harp from the tower, the cross from the red room, the diamond past the
    // fairy, the key from the study and the figurine past the vampire.
    void ThirdTrip() {
        PickUp(HARP);
        PickUp(CROSS);
        GoTo(51);
        Say("PLAY HARP");
        EXPECT_EQ(g.monsters[9].present, 0);
        EXPECT_EQ(fake::PlayedCues().back(), CUE_HARP);
        GoTo(56);
        PickUp(DIAMOND);
        GoTo(51);  // the fairy steps aside for a man coming out
        GoTo(55);
        Say("LOOK DESK");
        EXPECT_EQ(Msg(), " There is a/ Key on top") << Where();
        GetHidden(KEY, "KEY");

        GoTo(27);
        Say("WAVE CROSS");
        EXPECT_EQ(g.monsters[VAMPIRE].present, 0);
        PickUp(FIGURINE);
        GoTo(0);
        for (int i : {HARP, CROSS, DIAMOND, FIGURINE}) DropInCourtyard(i);
        EXPECT_EQ(TreasuresCounted(), 11);
    }

    // A careful player saves before the cellar. Whatever happens after, LOAD
    // brings back the castle as it stood: the man, the things, the doors.
    void SaveWanderAndLoad() {
        ScopedTempDir dir;
        Say("SAVE CASTLE");
        const GameState saved = g;
        PickUp(SWORD);
        GoTo(1);
        Say("LOAD CASTLE");
        ASSERT_EQ(g.mode, Play);
        EXPECT_EQ(g.currentRoom, 0);
        EXPECT_EQ(Man(), (Place{0, saved.playerColumn, saved.playerRow}));
        EXPECT_EQ(g.strength, saved.strength);
        EXPECT_EQ(std::memcmp(g.items, saved.items, sizeof g.items), 0);
        EXPECT_EQ(std::memcmp(g.monsters, saved.monsters, sizeof g.monsters), 0);
        EXPECT_EQ(g.doorLocked67, saved.doorLocked67);
        EXPECT_EQ(g.waterDrunk, saved.waterDrunk);
        for (int x = 0; x < kMapColumns; ++x) {
            EXPECT_EQ(std::memcmp(&g.screen[x * kScreenRows], &saved.screen[x * kScreenRows], kMapRows), 0) << x;
        }
        EXPECT_FALSE(Carrying(SWORD));
        EXPECT_TRUE(Carrying(KEY));
    }

    // Glasses and book tell how the gate opens; fountain water restores the man
    // if no fight has called for it yet.
    void QuietTrip() {
        GetHidden(GLASSES, "GLASSES");
        GetHidden(BOOK, "BOOK");
        Say("READ BOOK");
        DropAside(GLASSES);
        DropAside(BOOK);
        // A man who never ran low drinks now, for the taste of it.
        if (!g.waterDrunk) {
            Heal();
            EXPECT_EQ(g.strength, 100);
        }
        EXPECT_EQ(g.waterDrunk, 1);
        EXPECT_FALSE(Carrying(FLASK));
        GoTo(0);
    }

    // Down the dark stairs to the cellar, through the maze to the gold bar and
    // the scepter in the king's secret room; back by the second winding passage
    // and the dungeon, whose door the key opens from inside.
    void CellarTrip() {
        for (int i : {SWORD, LAMP, NECKLACE, WAND}) PickUp(i);
        ASSERT_TRUE(Carrying(KEY));
        GoTo(67);
        FightHere();
        EXPECT_LT(g.monsters[BAT].strength, 0);
        OpenDoorHere();
        Fight(SMALL_SPIDER);
        Fight(BIG_SPIDER);
        PickUp(GOLDBAR);

        GoTo(76);
        Say("WAVE WAND");
        DropAside(WAND);  // its work is done, and the scepter needs a hand
        GoTo(82);
        PickUp(SCEPTER);
        EXPECT_EQ(CarriedCount(g), kCarryLimit);

        GoTo(76);  // the way back up stands open
        GoTo(80);  // past the second trap, safe with the necklace
        GoTo(81);
        OpenDoorHere();
        GoTo(0);
    }
};

TEST_F(PerfectGame, EveryTreasureEveryMonsterAndOutThroughTheGate) {
    Boot(1984);
    ASSERT_EQ(g.mode, Title);
    Key('I');
    ASSERT_EQ(g.mode, Instructions);
    EXPECT_EQ(Row(16), "look at the wall in the courtyard.");
    Key('P');
    ASSERT_EQ(g.mode, Play);
    ASSERT_EQ(g.currentRoom, 0);
    Say("LOOK WALL");
    EXPECT_EQ(Msg(), "Writing on the/wall says...// No high score") << Where();

    try {
        FirstTrip();
        SecondTrip();
        ThirdTrip();
        SaveWanderAndLoad();
        QuietTrip();
        CellarTrip();
    } catch (const Stuck& stuck) {
        FAIL() << stuck.what();
    }

    // Home with the last two; everything is in the courtyard or in hand.
    for (int t : kTreasures) EXPECT_TRUE(g.items[t].carried || g.items[t].room == 0) << g.items[t].name;
    for (int m = 0; m < kMonsterCount; ++m) {
        if (!g.monsters[m].guardian) {
            EXPECT_LT(g.monsters[m].strength, 0) << g.monsters[m].name;
        }
    }
    EXPECT_GE(g.strength, 0);
    EXPECT_LE(CarriedCount(g), kCarryLimit);
    try {
        DropInCourtyard(GOLDBAR);
        Say("WAVE SCEPTER");
        EXPECT_EQ(Msg(), "As you wave the/scepter....//The Gate opens/by itself!") << Where();
        for (int x = 10; x <= 13; ++x) EXPECT_EQ(CellAt(g, x, 17), ' ');
        WalkTo([](Place p) { return p.y == kMapRows - 1; }, "the open gate");
    } catch (const Stuck& stuck) {
        FAIL() << stuck.what();
    }
    RecordProperty("keys", keys);
    RecordProperty("strength", g.strength);
    RecordProperty("lowestStrength", lowestStrength);
    fake::ClearCues();
    Key(VK_DOWN);

    ASSERT_EQ(g.mode, Summary);
    EXPECT_EQ(g.escaped, 1);
    EXPECT_EQ(ComputeScore(g), 1550u);
    EXPECT_TRUE(MatchesGolden(g, "summary_perfect"));
    EXPECT_EQ(fake::PlayedCues(), std::vector<int>{CUE_PERFECT});

    // The first key leads to the name entry.
    HandleKey(g, VK_SHIFT, 0);
    ASSERT_EQ(g.mode, NameEntry);
    EXPECT_EQ(Row(1), "     You have made the High Score!");
    EXPECT_EQ(Row(4), "                1550");
    for (char c : std::string("QUILLAMORNE")) HandleKey(g, static_cast<uint32_t>(c), 0);
    BlinkTick(g);
    EXPECT_EQ(Row(15).substr(0, 31), "  Enter Your Name - QUILLAMORNE");
    HandleKey(g, VK_RETURN, 0);
    ASSERT_EQ(g.mode, Title);
    EXPECT_EQ(g.highScore, 1550u);
    EXPECT_STREQ(g.highScoreName, "QUILLAMORNE");

    // What the store holds: the score as four bytes, the name with its end.
    const auto& values = fake::State().values;
    ASSERT_TRUE(values.count("HighScore"));
    ASSERT_TRUE(values.count("HighScoreName"));
    EXPECT_EQ(values.at("HighScore").bytes, (std::vector<uint8_t>{0x0E, 0x06, 0, 0}));
    const auto& name = values.at("HighScoreName").bytes;
    EXPECT_EQ(std::string(name.begin(), name.end()), std::string("QUILLAMORNE") + '\0');

    // The next run reads the store when it starts, and the courtyard wall shows it.
    g = GameState{};
    Boot(7);
    EXPECT_EQ(g.highScore, 1550u);
    HandleKey(g, 'P', 0);
    ASSERT_EQ(g.mode, Play);
    Say("LOOK WALL");
    EXPECT_EQ(Msg(), "Writing on the/wall says...//QUILLAMORNE/ 1550") << Where();
}

}  // namespace
