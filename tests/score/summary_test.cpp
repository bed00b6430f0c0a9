// SPDX-License-Identifier: GPL-3.0-or-later
// The end of a game: the score, the summary screen, and the way on to the name
// entry or the play-again question.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "game_fixture.h"
#include "golden.h"
#include "score/score.h"

namespace {

constexpr int kTreasures[] = {1, 2, 10, 11, 12, 13, 14, 15, 16, 17, 19, 20, 21};
constexpr int kKillable[] = {0, 1, 2, 3, 4, 5, 6, 7};

class SummaryTest : public GameTest {
protected:
    void Kill(int monster) { g.monsters[monster].strength = -1; }
    void TakeAllTreasures() {
        for (int i : kTreasures) Carry(i);
    }
    void KillAll() {
        for (int i : kKillable) Kill(i);
    }
    // The man dies and the next fresh key leads to the summary, as in play.
    void Die() {
        g.strength = -1;
        g.awaitingKey = 1;
        Press(VK_SPACE);
    }
    void Quit() { Command("QUIT"); }
    uint8_t At(int x, int y) const { return CellAt(g, x, y); }
};

TEST_F(SummaryTest, QuitAtOnceEndsWithNothing) {
    StartPlaying();
    Quit();
    ASSERT_EQ(g.mode, Summary);
    EXPECT_EQ(g.awaitingKey, 1);
    EXPECT_EQ(ComputeScore(g), 0u);
    EXPECT_EQ(ScreenRow(g, 1), "        You've ended the game!");
    EXPECT_EQ(ScreenRow(g, 4), " You have collected these Treasues...");
    EXPECT_EQ(ScreenRow(g, 6), "                 NONE");
    EXPECT_EQ(ScreenRow(g, 9), " You have killed these Monsters......");
    EXPECT_EQ(ScreenRow(g, 11), "                 NONE");
    EXPECT_EQ(ScreenRow(g, 19), "           Your Score: 0");
    EXPECT_EQ(ScreenRow(g, 20), "          (1550 is perfect)");
    EXPECT_EQ(ScreenRow(g, 24), "          - Press any key -");
    EXPECT_TRUE(MatchesGolden(g, "summary_quit_empty"));
    EXPECT_TRUE(fake::PlayedCues().empty());
}

TEST_F(SummaryTest, TheHeadlineTellsHowTheGameEnded) {
    StartPlaying();
    Die();
    EXPECT_EQ(g.mode, Summary);
    EXPECT_EQ(ScreenRow(g, 1), "     You're have failed to Escape!");

    StartPlaying();
    g.escaped = 1;
    SetMode(g, Summary);
    EXPECT_EQ(ScreenRow(g, 1), "      You've Escaped the Castle!");
    EXPECT_EQ(ScreenRow(g, 19), "           Your Score: 100");
}

TEST_F(SummaryTest, ADeadManKeepsWhatHeCarriedAndKilled) {
    StartPlaying();
    Carry(11);  // DIAMOND
    Carry(0);   // LAMP: no treasure
    Kill(4);    // BIG SPIDER
    Die();
    EXPECT_EQ(ComputeScore(g), 150u);
    EXPECT_EQ(ScreenRow(g, 19), "           Your Score: 150");
    // One glyph of each row, centred on column 19.
    EXPECT_EQ(At(19, 6), 0x04);
    EXPECT_EQ(At(19, 11), 0x0F);
    EXPECT_EQ(ScreenRow(g, 6), std::string(19, ' ') + "\u2666");
}

TEST_F(SummaryTest, TreasuresCountInHandOrInTheCourtyardOnly) {
    StartPlaying();
    g.items[12].room = 0;  // SILVER BARS laid down in the courtyard
    g.items[13].room = 1;  // RUBYS laid down in the entrance room
    g.items[0].room = 0;   // the LAMP is no treasure, wherever it lies
    EXPECT_EQ(ComputeScore(g), 50u);
    Carry(13);
    EXPECT_EQ(ComputeScore(g), 100u);
}

TEST_F(SummaryTest, GuardiansNeverCount) {
    StartPlaying();
    for (int i = 8; i <= 10; ++i) {
        g.monsters[i].present = 0;
        g.monsters[i].strength = -1;
    }
    EXPECT_EQ(ComputeScore(g), 0u);
    Kill(6);  // the BAT
    EXPECT_EQ(ComputeScore(g), 100u);
}

TEST_F(SummaryTest, ThirteenTreasuresStandOnEverySecondColumnInTableOrder) {
    StartPlaying();
    TakeAllTreasures();
    Kill(0);
    Kill(5);
    Quit();
    for (int i = 0; i < 13; ++i) {
        EXPECT_EQ(At(7 + 2 * i, 6), g.items[kTreasures[i]].glyph) << i;
        EXPECT_EQ(At(8 + 2 * i, 6), 0) << i;
    }
    EXPECT_EQ(At(6, 6), 0);
    EXPECT_EQ(At(32, 6), 0);
    // Two monsters: columns 18 and 20.
    EXPECT_EQ(At(18, 11), 0x01);
    EXPECT_EQ(At(20, 11), 0x2A);
    EXPECT_EQ(ScreenRow(g, 19), "           Your Score: 850");
}

TEST_F(SummaryTest, APerfectGameIsCelebrated) {
    StartPlaying();
    TakeAllTreasures();
    KillAll();
    g.escaped = 1;
    SetMode(g, Summary);
    EXPECT_EQ(ComputeScore(g), 1550u);
    EXPECT_EQ(ScreenRow(g, 19), "           Your Score: 1550");
    EXPECT_EQ(ScreenRow(g, 20), "               PERFECT!");
    EXPECT_EQ(fake::PlayedCues(), std::vector<int>{CUE_PERFECT});
    for (int i = 0; i < 8; ++i) EXPECT_EQ(At(12 + 2 * i, 11), g.monsters[i].glyph) << i;
    EXPECT_TRUE(MatchesGolden(g, "summary_perfect"));
}

TEST_F(SummaryTest, OneShortOfPerfectPlaysNothing) {
    StartPlaying();
    TakeAllTreasures();
    KillAll();
    SetMode(g, Summary);
    EXPECT_EQ(ComputeScore(g), 1450u);
    EXPECT_EQ(ScreenRow(g, 20), "          (1550 is perfect)");
    EXPECT_TRUE(fake::PlayedCues().empty());
}

TEST_F(SummaryTest, AutoRepeatedKeysDoNotLeaveTheSummary) {
    StartPlaying();
    Quit();
    PressRepeat(VK_SPACE, 3);
    EXPECT_EQ(g.awaitingKey, 1);
    EXPECT_EQ(ScreenRow(g, 24), "          - Press any key -");
}

TEST_F(SummaryTest, NoNewBestLeadsToThePlayAgainQuestion) {
    StartPlaying();
    g.highScore = 100;
    g.escaped = 1;  // 100: only equal to the best
    SetMode(g, Summary);
    Press(VK_SHIFT);
    EXPECT_EQ(g.mode, Summary);
    EXPECT_EQ(g.awaitingKey, 0);
    EXPECT_EQ(ScreenText(g, 0, 24), "         Play Again (Y/N)?");
    EXPECT_EQ(ScreenRow(g, 19), "           Your Score: 100");

    // Y: a new game at once.
    EXPECT_EQ(HandleKey(g, 'Y', 0), 1);
    EXPECT_EQ(g.mode, Play);
    EXPECT_EQ(g.currentRoom, 0);
    EXPECT_EQ(g.escaped, 0);
}

TEST_F(SummaryTest, AnyKeyButYEndsTheProgram) {
    for (uint32_t key : {uint32_t{'N'}, uint32_t{VK_SPACE}, uint32_t{VK_SHIFT}}) {
        StartPlaying();
        Quit();
        Press(VK_RETURN);
        EXPECT_EQ(HandleKey(g, key, 0), 0) << key;
    }
}

TEST_F(SummaryTest, ABetterScoreAsksForTheName) {
    StartPlaying();
    g.highScore = 99;
    g.escaped = 1;
    SetMode(g, Summary);
    Press('X');
    ASSERT_EQ(g.mode, NameEntry);
    EXPECT_EQ(ScreenRow(g, 1), "     You have made the High Score!");
    EXPECT_EQ(ScreenRow(g, 4), "                100");
    EXPECT_EQ(ScreenRow(g, 15), "  Enter Your Name -");
    EXPECT_STREQ(g.entryName, "");
    EXPECT_TRUE(MatchesGolden(g, "name_entry"));
}

TEST_F(SummaryTest, APerfectScoreAlwaysAsksForTheName) {
    StartPlaying();
    g.highScore = 1550;
    TakeAllTreasures();
    KillAll();
    g.escaped = 1;
    SetMode(g, Summary);
    Press(VK_SPACE);
    EXPECT_EQ(g.mode, NameEntry);
    EXPECT_EQ(ScreenRow(g, 4), "                1550");
}

TEST_F(SummaryTest, NothingAtAllNeverBeatsAnEmptyStore) {
    StartPlaying();
    ASSERT_EQ(g.highScore, 0u);
    Quit();
    Press(VK_SPACE);
    EXPECT_EQ(g.mode, Summary);
    EXPECT_EQ(ScreenText(g, 0, 24), "         Play Again (Y/N)?");
}

TEST_F(SummaryTest, TheNameIsStoredWithTheScoreAndTheTitleFollows) {
    StartPlaying();
    g.escaped = 1;
    Carry(21);  // CROWN
    SetMode(g, Summary);
    Press(VK_SPACE);
    ASSERT_EQ(g.mode, NameEntry);
    Type("SIR ROBIN");
    EXPECT_EQ(ScreenText(g, 20, 15), "SIR ROBIN");
    PressRepeat(VK_RETURN);  // an auto-repeated Enter is no Enter
    EXPECT_EQ(g.mode, NameEntry);
    Press(VK_RETURN);
    EXPECT_EQ(g.mode, Title);
    EXPECT_EQ(g.highScore, 150u);
    EXPECT_STREQ(g.highScoreName, "SIR ROBIN");
    const auto& values = fake::State().values;
    ASSERT_EQ(values.count("HighScore"), 1u);
    EXPECT_EQ(values.at("HighScore").type, uint32_t{REG_DWORD});
    EXPECT_EQ(values.at("HighScore").bytes, (std::vector<uint8_t>{150, 0, 0, 0}));
    EXPECT_EQ(values.at("HighScoreName").type, uint32_t{REG_SZ});
    const std::string stored(values.at("HighScoreName").bytes.begin(), values.at("HighScoreName").bytes.end());
    EXPECT_EQ(stored, std::string("SIR ROBIN\0", 10));
    EXPECT_EQ(fake::State().openKeys, 0);
}

TEST_F(SummaryTest, TheBestScoreIsReadBackAtTheNextStartAndShownOnTheCourtyardWall) {
    StartPlaying();
    TakeAllTreasures();
    g.escaped = 1;
    SetMode(g, Summary);
    Press(VK_SPACE);
    Type("ARTHUR");
    Press(VK_RETURN);
    ASSERT_EQ(g.highScore, 750u);

    // The next run: the same store, a fresh game record.
    g = GameState{};
    Boot(77);
    EXPECT_EQ(g.highScore, 750u);
    EXPECT_STREQ(g.highScoreName, "ARTHUR");
    Press('P');
    Command("LOOK WALL");
    EXPECT_EQ(MessageLine(g, 0), "Writing on the");
    EXPECT_EQ(MessageLine(g, 1), "wall says...");
    EXPECT_EQ(MessageLine(g, 3), "ARTHUR");
    EXPECT_EQ(MessageLine(g, 4), " 750");

    // And a worse game after it does not ask for a name.
    Quit();
    Press(VK_SPACE);
    EXPECT_EQ(g.mode, Summary);
}

TEST_F(SummaryTest, AnEmptyNameIsStoredEmpty) {
    StartPlaying();
    g.escaped = 1;
    SetMode(g, Summary);
    Press(VK_SPACE);
    Press(VK_RETURN);
    EXPECT_EQ(g.mode, Title);
    EXPECT_EQ(g.highScore, 100u);
    EXPECT_STREQ(g.highScoreName, "");
    EXPECT_EQ(fake::State().values.at("HighScoreName").bytes, std::vector<uint8_t>{0});
}

TEST_F(SummaryTest, TheNameTakesFifteenCharactersAtMost) {
    StartPlaying();
    g.escaped = 1;
    SetMode(g, Summary);
    Press(VK_SPACE);
    fake::ClearCues();
    Type("ABCDEFGHIJKLMNOP");
    EXPECT_STREQ(g.entryName, "ABCDEFGHIJKLMNO");
    EXPECT_EQ(fake::PlayedCues(), std::vector<int>{CUE_LINE_FULL});
    Press(VK_RETURN);
    EXPECT_STREQ(g.highScoreName, "ABCDEFGHIJKLMNO");
}

}  // namespace
