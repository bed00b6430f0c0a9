// SPDX-License-Identifier: GPL-3.0-or-later
// The grid's text output: cutting at the edges, the noun in messages, the prompt line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "game_fixture.h"
#include "golden.h"

namespace {

class TextTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        StartPlaying();
    }
    void SetNoun(const char* noun) {
        std::memset(g.noun, 0, sizeof g.noun);
        std::memcpy(g.noun, noun, std::min(std::strlen(noun), sizeof g.noun - 1));
    }
};

TEST_F(TextTest, PutTextStopsAtTheRightEdgeWithoutWrapping) {
    ClearScreen(g);
    PutText(g, "ABCDEFGHIJKLMNOPQRST", 30, 5);
    EXPECT_EQ(ScreenRow(g, 5), std::string(30, ' ') + "ABCDEFGHIJ");
    EXPECT_EQ(ScreenRow(g, 6), "");
    EXPECT_EQ(CellAt(g, 0, 6), 0) << "nothing wraps onto the next row";
    PutText(g, "", 0, 7);
    EXPECT_EQ(ScreenRow(g, 7), "");
}

TEST_F(TextTest, MessageLineZeroClearsTheWholeArea) {
    for (int line = 0; line < 7; ++line) ShowMessage(g, "XXXXXXXXXXXXXXX", line, 0);
    ShowMessage(g, "Yuc!!", 0, 0);
    EXPECT_EQ(MessageLine(g, 0), "Yuc!!");
    for (int x = 25; x < 40; ++x) {
        for (int y = 12; y <= 18; ++y) {
            if (y == 12 && x < 30) continue;
            EXPECT_EQ(CellAt(g, x, y), 0) << "cell " << x << "," << y;
        }
    }
    EXPECT_EQ(g.messageShown, 1);
}

TEST_F(TextTest, StarStandsForTheNounUnlessLiteral) {
    SetNoun("BOOK");
    ShowMessage(g, "a *!", 0, 0);
    EXPECT_EQ(MessageLine(g, 0), "a BOOK!");
    ShowMessage(g, "a *!", 0, 1);
    EXPECT_EQ(MessageLine(g, 0), "a *!");
    SetNoun("");
    ShowMessage(g, "a *!", 0, 0);
    EXPECT_EQ(MessageLine(g, 0), "a !");
}

TEST_F(TextTest, ALongNounIsCutAtColumn39AndTheRestDropped) {
    SetNoun("ABCDEFGHIJKLMN");
    ShowMessage(g, "see *, yes", 0, 0);
    EXPECT_EQ(MessageLine(g, 0), "see ABCDEFGHIJK");
    EXPECT_EQ(CellAt(g, 24, 12), 0xB3) << "the frame left of the area is untouched";
}

TEST_F(TextTest, LaterLinesWriteOverWithoutClearing) {
    ShowMessage(g, "first", 0, 0);
    ShowMessage(g, "a long old line", 3, 0);
    ShowMessage(g, "new", 3, 0);
    EXPECT_EQ(MessageLine(g, 0), "first");
    EXPECT_EQ(MessageLine(g, 3), "newong old line");
}

TEST_F(TextTest, PromptShowsCursorUntilTheLineIsFull) {
    Type("ABCDEFGHIJKLM");
    g.cursorOn = 1;
    EchoCommandLine(g);
    EXPECT_EQ(ScreenText(g, 25, 22), "?ABCDEFGHIJKLM_");
    Type("N");
    EXPECT_EQ(ScreenText(g, 25, 22), "?ABCDEFGHIJKLMN") << "no cursor with 14 characters";
}

TEST_F(TextTest, BlinkFlipsTheCursorEveryTick) {
    EXPECT_EQ(ScreenText(g, 25, 22, 3), "?") << "cursor off after a new game";
    BlinkTick(g);
    EXPECT_EQ(ScreenText(g, 25, 22, 3), "?_");
    BlinkTick(g);
    EXPECT_EQ(ScreenText(g, 25, 22, 3), "?");
    Type("AB");
    EXPECT_EQ(g.cursorOn, 0) << "keys redraw but keep the phase";
}

TEST_F(TextTest, ADeadManStopsTheBlinkAndTheWhatCountdown) {
    g.strength = -1;
    g.whatTicks = 2;
    const int before = g.cursorOn;
    BlinkTick(g);
    BlinkTick(g);
    EXPECT_EQ(g.cursorOn, before);
    EXPECT_EQ(g.whatTicks, 2u);
}

TEST_F(TextTest, NameLineShowsTheCursorBehindTheName) {
    SetMode(g, NameEntry);
    Type("JOHN");
    EXPECT_EQ(ScreenText(g, 20, 15, 15), "JOHN");
    BlinkTick(g);
    EXPECT_EQ(ScreenText(g, 20, 15, 15), "JOHN_");
}

}  // namespace
