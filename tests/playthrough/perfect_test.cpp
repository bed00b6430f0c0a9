// SPDX-License-Identifier: GPL-3.0-or-later
// The whole castle in one game: the hidden things found where the castle hints
// at them, a save and a load midway, then every treasure to the courtyard and
// every monster killed by the player that also plays the second quest, the gate
// waved open -- 1550, the name entry, and the best score on the courtyard wall
// in the next game.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/core.h"
#include "golden.h"
#include "player.h"
#include "score/score.h"
#include "temp_dir.h"

namespace {

class PerfectGame : public Player {
protected:
    // Whatever happens after a save, LOAD brings back the castle as it stood.
    void SaveWanderAndLoad() {
        ScopedTempDir dir;
        GoTo(0);
        Say("SAVE CASTLE");
        const GameState saved = g;
        GoTo(2);
        Say("LOAD CASTLE");
        ASSERT_EQ(g.mode, Play);
        EXPECT_EQ(Man(), (Place{0, saved.playerColumn, saved.playerRow}));
        EXPECT_EQ(g.strength, saved.strength);
        EXPECT_EQ(std::memcmp(g.items, saved.items, sizeof g.items), 0);
        EXPECT_EQ(std::memcmp(g.monsters, saved.monsters, sizeof g.monsters), 0);
        EXPECT_EQ(g.doorLocked67, saved.doorLocked67);
        EXPECT_EQ(g.waterDrunk, saved.waterDrunk);
        for (int x = 0; x < kMapColumns; ++x) {
            EXPECT_EQ(std::memcmp(&g.screen[x * kScreenRows], &saved.screen[x * kScreenRows], kMapRows), 0) << x;
        }
    }
};

TEST_F(PerfectGame, EveryTreasureEveryMonsterAndOutThroughTheGate) {
    Boot(1984);
    Key('I');
    ASSERT_EQ(g.mode, Instructions);
    EXPECT_EQ(Row(16), "look at the wall in the courtyard.");
    Key('P');
    ASSERT_EQ(g.mode, Play);
    Say("LOOK WALL");
    EXPECT_EQ(Msg(), "Writing on the/wall says...// No high score");
    try {
        PickUp(SWORD);
        GoTo(32);  // from the balcony the gem shows in the fountain
        Say("LOOK GARDEN");
        EXPECT_EQ(Msg(), " There is a/ BIG Gem in/ the Garden/ Fountain!") << Where();
        GoTo(17);
        Say("LOOK FOUNTAIN");
        EXPECT_EQ(Msg(), "The fountain/is filled/with water.But/you can't see/In it.") << Where();
        GetHidden(GEM, "GEM");
        GoTo(18);
        Say("LOOK STATUE");
        EXPECT_EQ(Msg(), " The statue is/ wearing a/ Necklace") << Where();
        GetHidden(NECKLACE, "NECKLACE");
        GoTo(55);
        Say("LOOK DESK");
        EXPECT_EQ(Msg(), " There is a/ Key on top") << Where();
        GetHidden(KEY, "KEY");
        GetHidden(GLASSES, "GLASSES");
        GetHidden(BOOK, "BOOK");
        Say("READ BOOK");
        EXPECT_EQ(Msg(), "The book reads://  Wave Scepter") << Where();
        DropAside(GLASSES);
        DropAside(BOOK);
        GetHidden(FLASK, "FLASK");
        SaveWanderAndLoad();
        PlayToTheEnd();
    } catch (const Stuck& stuck) {
        FAIL() << stuck.what();
    }
    RecordProperty("keys", keys);
    RecordProperty("stepsSaved", stepsSaved);
    EXPECT_GT(stepsSaved, keys / 2);
    RecordProperty("lowestStrength", lowestStrength);
    ASSERT_EQ(g.mode, Summary);
    EXPECT_EQ(g.escaped, 1);
    EXPECT_EQ(ComputeScore(g), 1550u);
    EXPECT_TRUE(MatchesGolden(g, "summary_perfect"));
    EXPECT_EQ(fake::PlayedCues().back(), CUE_PERFECT);

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
    // What the store holds: the score as four bytes, the name with its end.
    const auto& values = fake::State().values;
    EXPECT_EQ(values.at("HighScore").bytes, (std::vector<uint8_t>{0x0E, 0x06, 0, 0}));
    const auto& name = values.at("HighScoreName").bytes;
    EXPECT_EQ(std::string(name.begin(), name.end()), std::string("QUILLAMORNE") + '\0');

    // The next run reads the store when it starts, and the courtyard wall shows it.
    g = GameState{};
    Boot(7);
    HandleKey(g, 'P', 0);
    Say("LOOK WALL");
    EXPECT_EQ(Msg(), "Writing on the/wall says...//QUILLAMORNE/ 1550");
}

}  // namespace
