// SPDX-License-Identifier: GPL-3.0-or-later
// The whole castle in one game: the hidden things found where the castle hints
// at them, then every treasure to the courtyard and every monster killed by the
// player that also plays the second quest, the gate waved open -- 1550. (Each key
// is saved and loaded again on the way; the name entry is in score.txt.)
#include <gtest/gtest.h>

#include <string>

#include "golden.h"
#include "player.h"

namespace {

using PerfectGame = Player;

TEST_F(PerfectGame, EveryTreasureEveryMonsterAndOutThroughTheGate) {
    Boot(1984);
    Key('I');
    ASSERT_EQ(g.mode, Instructions);
    EXPECT_EQ(ScreenRow(g, 16), "look at the wall in the courtyard.");
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
        PlayToTheEnd();
    } catch (const Stuck& stuck) {
        FAIL() << stuck.what();
    }
    ExpectThePerfectEnd();
}

}  // namespace
