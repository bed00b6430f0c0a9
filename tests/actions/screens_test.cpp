// SPDX-License-Identifier: GPL-3.0-or-later
// Whole screens after the puzzles open their ways: map, things list and reply together.
#include "game_fixture.h"
#include "golden.h"

namespace {

enum Item { WAND = 4, SCEPTER = 15 };

class ActionScreenTest : public GameTest {};

TEST_F(ActionScreenTest, CourtyardWithTheGateOpen) {
    StartPlaying();
    Carry(SCEPTER);
    Command("WAVE SCEPTER");
    EXPECT_TRUE(MatchesGolden(g, "actions_gate_open"));
}

TEST_F(ActionScreenTest, SorcerersQuartersWithTheMirrorPassageOpen) {
    StartPlaying();
    PlaceMan(66, 16, 9);
    Carry(WAND);
    Command("WAVE WAND");
    EXPECT_TRUE(MatchesGolden(g, "actions_mirror_open"));
}

TEST_F(ActionScreenTest, WindingPassageWithTheSecretWayOpen) {
    StartPlaying();
    PlaceMan(76, 11, 16);
    Carry(WAND);
    Command("WAVE WAND");
    EXPECT_TRUE(MatchesGolden(g, "actions_secret_way_open"));
}

}  // namespace
