// SPDX-License-Identifier: GPL-3.0-or-later
// Key dispatch: the modes, their transitions, the input limits and auto-repeat.
#include <gtest/gtest.h>

#include <cstring>

#include "game_fixture.h"
#include "golden.h"
#include "world/world.h"

namespace {

using KeysTest = GameTest;

TEST_F(KeysTest, StartUpShowsTheTitleWithItsTune) {
    Boot(1234);
    EXPECT_EQ(g.mode, Title);
    EXPECT_TRUE(MatchesGolden(g, "title"));
    for (uint8_t cell : g.screen) ASSERT_NE(cell, 0) << "every cell of the title is drawn, blanks as 0x20";
    ASSERT_GE(fake::State().cues.size(), 2u);
    EXPECT_EQ(fake::State().cues.front().call, fake::CueCall::Stop) << "any old sound is stopped first";
    EXPECT_EQ(fake::PlayedCues(), std::vector<int>{CUE_TITLE});
    EXPECT_EQ(g.currentRoom, 0);
    EXPECT_EQ(g.playerColumn, 0);
    EXPECT_EQ(g.items[0].name[0], '\0') << "the world is not set up before a game starts";
    EXPECT_EQ(g.randomState, 1234u) << "the generator is seeded from the tick count";
}

TEST_F(KeysTest, TheGeneratorFollowsItsFormula) {
    Boot(1);
    EXPECT_EQ(NextRandom(g), 41u);
    EXPECT_EQ(NextRandom(g), 18467u);
    EXPECT_EQ(NextRandom(g), 6334u);
}

TEST_F(KeysTest, TitleAndInstructionsChooseBetweenReadingAndPlaying) {
    Boot();
    fake::ClearCues();
    Press('X');
    EXPECT_EQ(g.mode, Title);
    EXPECT_EQ(fake::StopCount(), 1) << "any key silences the tune";
    Press('I');
    EXPECT_EQ(g.mode, Instructions);
    EXPECT_TRUE(MatchesGolden(g, "instructions"));
    PressRepeat('I');
    EXPECT_EQ(g.mode, Instructions) << "a held I just draws the page again";
    EXPECT_EQ(fake::StopCount(), 3) << "held keys keep stopping the sound";
    Press('P');
    EXPECT_EQ(g.mode, Play);
    EXPECT_EQ(g.strength, 100);
    EXPECT_EQ(CellAt(g, 14, 14), 0x05) << "the man stands in the courtyard at once";
}

TEST_F(KeysTest, NewGameResetsTheGameButKeepsTheBest) {
    Boot();
    g.highScore = 700;
    std::strcpy(g.highScoreName, "ANNE");
    Press('P');
    g.strength = 3;
    g.doorLocked67 = 0;
    g.escaped = 1;
    g.flaskHasWater = 1;
    g.whatTicks = 0;
    BlinkTick(g);
    ASSERT_EQ(g.cursorOn, 1);
    SetMode(g, Title);
    EXPECT_EQ(g.mode, Title);
    EXPECT_EQ(g.strength, 3) << "New Game only returns to the title";
    Press('P');
    EXPECT_EQ(g.strength, 100);
    EXPECT_EQ(g.doorLocked67, 1);
    EXPECT_EQ(g.doorLocked81, 1);
    EXPECT_EQ(g.escaped, 0);
    EXPECT_EQ(g.flaskHasWater, 0);
    EXPECT_EQ(g.playerColumn, 14);
    EXPECT_EQ(g.playerRow, 14);
    EXPECT_EQ(g.facing, 0);
    EXPECT_EQ(g.cursorOn, 0);
    EXPECT_EQ(CellAt(g, 26, 22), 0x20) << "the new game's prompt shows the cursor off";
    EXPECT_EQ(g.highScore, 700u);
    EXPECT_STREQ(g.highScoreName, "ANNE");
    EXPECT_EQ(g.items[5].room, 11) << "the sword lies in the museum again";
    EXPECT_EQ(g.monsters[8].present, 1);

    // A new game started without a key press (a second quest, a load) clears the rest too.
    g.holdRepeat = g.keyRepeat = g.blowToggle = g.messageShown = 1;
    g.waterDrunk = g.trapSprung = g.awaitingKey = g.aboutShown = 1;
    std::strcpy(g.verb, "GET");
    std::strcpy(g.noun, "KEY");
    std::strcpy(g.commandLine, "GET KEY");
    SetMode(g, Play);
    EXPECT_EQ(g.holdRepeat, 0);
    EXPECT_EQ(g.keyRepeat, 0);
    EXPECT_EQ(g.blowToggle, 0);
    EXPECT_EQ(g.messageShown, 0);
    EXPECT_EQ(g.waterDrunk, 0);
    EXPECT_EQ(g.trapSprung, 0);
    EXPECT_EQ(g.awaitingKey, 0);
    EXPECT_EQ(g.aboutShown, 0);
    EXPECT_STREQ(g.verb, "");
    EXPECT_STREQ(g.noun, "");
    EXPECT_STREQ(g.commandLine, "");
}

TEST_F(KeysTest, TheFifteenthLetterIsRefusedWithABuzz) {
    StartPlaying();
    Type("ABCDEFGHIJKLMN");
    ASSERT_STREQ(g.commandLine, "ABCDEFGHIJKLMN");
    EXPECT_TRUE(fake::PlayedCues().empty());
    Type("O");
    EXPECT_STREQ(g.commandLine, "ABCDEFGHIJKLMN");
    EXPECT_EQ(fake::PlayedCues(), std::vector<int>{CUE_LINE_FULL});
    Press(' ');
    EXPECT_EQ(fake::PlayedCues().size(), 2u) << "a blank counts as a character too";
    Press(VK_BACK);
    EXPECT_STREQ(g.commandLine, "ABCDEFGHIJKLM");
}

TEST_F(KeysTest, KeysThatAreNotTypedChangeNothing) {
    StartPlaying();
    Type("AB");
    const std::string before = DumpScreen(g);
    for (uint32_t key : {uint32_t{'1'}, uint32_t{'9'}, uint32_t{VK_NUMPAD5}, uint32_t{VK_NUMPAD0}, uint32_t{VK_SHIFT},
                         uint32_t{36}, uint32_t{33}, uint32_t{12}, uint32_t{190}}) {
        Press(key);
    }
    EXPECT_STREQ(g.commandLine, "AB");
    EXPECT_EQ(DumpScreen(g), before);
    EXPECT_EQ(g.playerColumn, 14);
    EXPECT_EQ(g.playerRow, 14);
}

TEST_F(KeysTest, BackspaceOnAnEmptyLineAndEnterOnAnEmptyLineDoNothing) {
    StartPlaying();
    Press(VK_BACK);
    Press(VK_RETURN);
    EXPECT_EQ(g.whatTicks, 0u) << "no What??? for an empty line";
    EXPECT_TRUE(fake::PlayedCues().empty());
    EXPECT_EQ(ScreenText(g, 25, 24, 7), "");
}

TEST_F(KeysTest, WhatStandsForTwoBlinkTicksAndSwallowsKeys) {
    StartPlaying();
    Command("XYZZY");
    EXPECT_EQ(g.whatTicks, 2u);
    EXPECT_EQ(fake::PlayedCues(), std::vector<int>{CUE_WHAT});
    EXPECT_EQ(ScreenText(g, 25, 24, 7), "What???");
    EXPECT_EQ(ScreenText(g, 25, 22), "") << "the prompt hides while What??? stands";
    EXPECT_STREQ(g.commandLine, "");
    Type("AB");
    Press(VK_UP);
    EXPECT_STREQ(g.commandLine, "") << "letters typed now are lost";
    EXPECT_EQ(g.playerRow, 14) << "and the man does not move";
    BlinkTick(g);
    EXPECT_EQ(ScreenText(g, 25, 24, 7), "What???");
    BlinkTick(g);
    EXPECT_EQ(g.whatTicks, 0u);
    EXPECT_EQ(ScreenText(g, 25, 24, 7), "");
    EXPECT_EQ(ScreenText(g, 25, 22, 1), "?");
}

TEST_F(KeysTest, HeldKeysAreIgnoredUntilAFreshPressAfterAStaircase) {
    StartPlaying();
    g.holdRepeat = 1;
    PressRepeat('A', 3);
    EXPECT_STREQ(g.commandLine, "");
    EXPECT_EQ(g.holdRepeat, 1);
    EXPECT_EQ(g.keyRepeat, 1);
    Press('A');
    EXPECT_EQ(g.holdRepeat, 0);
    EXPECT_EQ(g.keyRepeat, 0);
    PressRepeat('B');
    EXPECT_STREQ(g.commandLine, "AB") << "repeats count again once released";
}

TEST_F(KeysTest, ADeadMansNextFreshKeyLeadsToTheSummary) {
    StartPlaying();
    g.strength = -1;
    g.awaitingKey = 1;
    PressRepeat(VK_UP, 5);
    EXPECT_EQ(g.mode, Play);
    Press(VK_SHIFT);
    EXPECT_EQ(g.mode, Summary);
    EXPECT_EQ(g.awaitingKey, 1) << "the summary waits for its own first key";
}

TEST_F(KeysTest, TheSummaryAsksToPlayAgainAndOnlyYPlays) {
    StartPlaying();
    g.highScore = 1000;
    SetMode(g, Summary);
    PressRepeat('Y');
    EXPECT_EQ(g.awaitingKey, 1) << "repeats do nothing on the summary";
    EXPECT_EQ(HandleKey(g, VK_SHIFT, 0), 1);
    EXPECT_EQ(g.mode, Summary);
    EXPECT_EQ(ScreenRow(g, 24), "         Play Again (Y/N)?");
    EXPECT_EQ(HandleKey(g, 'Y', 1), 1) << "not even a held Y";
    EXPECT_EQ(HandleKey(g, 'Y', 0), 1);
    EXPECT_EQ(g.mode, Play);
    EXPECT_EQ(g.strength, 100);

    SetMode(g, Summary);
    HandleKey(g, VK_SPACE, 0);
    EXPECT_EQ(HandleKey(g, 'N', 0), 0) << "every other key ends the program";
}

TEST_F(KeysTest, TheNameEntryTakesFifteenCharactersAndStoresTheBest) {
    StartPlaying();
    SetMode(g, NameEntry);
    EXPECT_EQ(g.mode, NameEntry);
    EXPECT_STREQ(g.entryName, "");
    Type("ABCDEFGHIJKLMNO");
    fake::ClearCues();
    Type("P");
    EXPECT_STREQ(g.entryName, "ABCDEFGHIJKLMNO");
    EXPECT_EQ(fake::PlayedCues(), std::vector<int>{CUE_LINE_FULL});
    Press(VK_BACK);
    Press('1');
    Press(VK_LEFT);
    EXPECT_STREQ(g.entryName, "ABCDEFGHIJKLMN");
    EXPECT_EQ(HandleKey(g, VK_RETURN, 1), 1);
    EXPECT_EQ(g.mode, NameEntry) << "a held Enter is ignored";
    Press(VK_RETURN);
    EXPECT_EQ(g.mode, Title);
    EXPECT_STREQ(g.highScoreName, "ABCDEFGHIJKLMN");
}

TEST_F(KeysTest, AnEmptyNameIsStoredEmpty) {
    StartPlaying();
    std::strcpy(g.highScoreName, "OLD");
    SetMode(g, NameEntry);
    Press(VK_RETURN);
    EXPECT_EQ(g.mode, Title);
    EXPECT_STREQ(g.highScoreName, "");
}

TEST_F(KeysTest, EveryModeChangeClearsTheAboutBox) {
    StartPlaying();
    g.aboutShown = 1;
    SetMode(g, Title);
    EXPECT_EQ(g.aboutShown, 0);
    EXPECT_EQ(g.awaitingKey, 0);
}

}  // namespace
