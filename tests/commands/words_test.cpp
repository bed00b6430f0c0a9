// SPDX-License-Identifier: GPL-3.0-or-later
// How a typed line becomes a verb and a noun, how words and names are matched,
// and how the chain ends when nothing answered.
#include <cstring>
#include <string>
#include <vector>

#include "command_test.h"
#include "commands/commands.h"

namespace {

class Words : public CommandTest {
protected:
    void Split(const char* line) {
        std::memset(g.commandLine, 0, sizeof g.commandLine);
        std::memcpy(g.commandLine, line, strnlen(line, kCommandMax));
        SplitCommand(g);
    }
    void ExpectWhat() {
        EXPECT_EQ(g.whatTicks, 2u);
        EXPECT_EQ(fake::PlayedCues(), std::vector<int>{CUE_WHAT});
        EXPECT_EQ(ScreenText(g, 25, 24), "What???");
        EXPECT_EQ(ScreenText(g, 25, 22), "") << "no prompt while What??? stands";
    }
};

TEST_F(Words, SplittingKeepsInnerBlanksAndDropsTheRest) {
    StartPlaying();
    Split("  GET RED  KEY");
    EXPECT_STREQ(g.verb, "GET");
    EXPECT_STREQ(g.noun, "RED  KEY");

    Split("GET   RED KEY  ");
    EXPECT_STREQ(g.verb, "GET");
    EXPECT_STREQ(g.noun, "RED KEY");

    Split("              ");
    EXPECT_STREQ(g.verb, "");
    EXPECT_STREQ(g.noun, "");

    Split("INVENTORY");
    EXPECT_STREQ(g.verb, "INVENTORY");
    EXPECT_STREQ(g.noun, "");

    Split("ABCDEFGHIJKLMN");
    EXPECT_STREQ(g.verb, "ABCDEFGHIJKLMN");

    Split(" A BCDEFGHIJKL ");
    EXPECT_STREQ(g.verb, "A");
    EXPECT_STREQ(g.noun, "BCDEFGHIJKL");

    // The old words do not linger after a shorter line.
    Split("LOOK");
    EXPECT_STREQ(g.verb, "LOOK");
    EXPECT_STREQ(g.noun, "");
    EXPECT_EQ(std::memcmp(g.noun, std::string(15, '\0').data(), 15), 0);
}

TEST_F(Words, WordTestsAreWholeAndExact) {
    StartPlaying();
    Split("EXAMINE WALL");
    EXPECT_TRUE(VerbIs(g, "EXAMINE"));
    EXPECT_FALSE(VerbIs(g, "EXAM"));
    EXPECT_FALSE(VerbIs(g, "EXAMINED"));
    EXPECT_TRUE(VerbIs(g, "*"));
    EXPECT_TRUE(NounIs(g, "*"));
    EXPECT_FALSE(NounIs(g, ""));
    EXPECT_FALSE(NounIs(g, "WALLS"));
    EXPECT_TRUE(IsLookAt(g, "WALL"));
    EXPECT_FALSE(IsGetTake(g, "WALL"));

    Split("SEARCH");
    EXPECT_TRUE(NounIs(g, ""));
    EXPECT_FALSE(NounIs(g, "*"));
    EXPECT_FALSE(IsLookAt(g, "*"));

    Split("UNLOCK DOOR");
    EXPECT_TRUE(IsOpenUnlock(g, "DOOR"));
    EXPECT_FALSE(IsCloseLock(g, "DOOR"));
    Split("LOCK DOOR");
    EXPECT_TRUE(IsCloseLock(g, "DOOR"));
    EXPECT_FALSE(IsOpenUnlock(g, "DOOR"));
    Split("TAKE KEY");
    EXPECT_TRUE(IsGetTake(g, "*"));
    EXPECT_TRUE(IsGetTake(g, "KEY"));
}

TEST_F(Words, ItemsAndMonstersGoByTheirShortNames) {
    StartPlaying();
    EXPECT_STREQ(AfterFirstBlank("MAGIC WAND"), "WAND");
    EXPECT_STREQ(AfterFirstBlank("LAMP"), "LAMP");
    EXPECT_EQ(FindItemByName(g, "WAND"), &g.items[4]);
    EXPECT_EQ(FindItemByName(g, "GLASSES"), &g.items[7]);
    EXPECT_EQ(FindItemByName(g, "BALL"), &g.items[8]);
    EXPECT_EQ(FindItemByName(g, "KEY"), &g.items[6]);
    EXPECT_EQ(FindItemByName(g, "MAGIC WAND"), nullptr);
    EXPECT_EQ(FindItemByName(g, "WAN"), nullptr);
    EXPECT_EQ(FindItemByName(g, ""), nullptr);

    PlaceMan(69, 2, 2);
    EXPECT_EQ(FindMonsterHereByName(g, "SPIDER"), &g.monsters[5]);
    EXPECT_EQ(FindMonsterHereByName(g, "OGRE"), nullptr) << "the ogres are elsewhere";
    // With both spiders here the earlier record wins; one that left is not found.
    g.monsters[4].room = 69;
    EXPECT_EQ(FindMonsterHereByName(g, "SPIDER"), &g.monsters[4]);
    g.monsters[4].present = 0;
    EXPECT_EQ(FindMonsterHereByName(g, "SPIDER"), &g.monsters[5]);
    g.monsters[5].present = 0;
    EXPECT_EQ(FindMonsterHereByName(g, "SPIDER"), nullptr);
    // A dead monster is still there to be named.
    PlaceMan(3, 2, 2);
    g.monsters[0].strength = -4;
    EXPECT_EQ(FindMonsterHereByName(g, "OGRE"), &g.monsters[0]);
}

TEST_F(Words, QuitWithANounIsNotQuit) {
    StartPlaying();
    Command("QUIT NOW");
    EXPECT_EQ(g.mode, Play);
    ExpectWhat();
}

TEST_F(Words, ExamIsNoLookVerb) {
    StartPlaying();
    Command("EXAM WALL");
    ExpectWhat();
}

TEST_F(Words, WhatStandsForTwoBlinksAndSwallowsKeys) {
    StartPlaying();
    Command("XYZZY");
    ExpectWhat();
    Type("LOOK");
    EXPECT_STREQ(g.commandLine, "") << "keys are lost while What??? stands";
    BlinkTick(g);
    BlinkTick(g);
    EXPECT_EQ(g.whatTicks, 0u);
    EXPECT_EQ(ScreenText(g, 25, 24), "");
    EXPECT_EQ(CellAt(g, 25, 22), 0x3F);
}

TEST_F(Words, LookAtSomethingUnknownNamesItTwice) {
    StartPlaying();
    Command("LOOK AT WALL");
    EXPECT_STREQ(g.noun, "AT WALL");
    EXPECT_EQ(MessageArea(g), Padded({"I can't see", "a AT WALL,", "and I don't", "have a", "AT WALL!"}));
    EXPECT_EQ(g.whatTicks, 0u);
}

TEST_F(Words, GetWithAWholeTwoWordNameIsImpossible) {
    StartPlaying();
    Command("GET MAGIC WAND");
    EXPECT_EQ(MessageArea(g), Padded({"Impossible!!"}));
    EXPECT_EQ(g.whatTicks, 0u);
    EXPECT_TRUE(fake::PlayedCues().empty());
    Command("GET WAND");
    EXPECT_EQ(MessageArea(g), Padded({" I don't see", " a WAND"}));
}

TEST_F(Words, ALineOfBlanksGetsWhat) {
    StartPlaying();
    Command("GET LAMP");
    const auto before = MessageArea(g);
    Command("      ");
    ExpectWhat();
    EXPECT_EQ(MessageArea(g), before) << "the last reply stays";
}

TEST_F(Words, BlanksBeforeTheNounDoNotCount) {
    StartPlaying();
    Command("GET  KEY");
    EXPECT_STREQ(g.verb, "GET");
    EXPECT_STREQ(g.noun, "KEY");
    EXPECT_EQ(MessageArea(g), Padded({" I don't see", " a KEY"}));
    Command("   TAKE   KEY ");
    EXPECT_EQ(MessageArea(g), Padded({" I don't see", " a KEY"}));
}

TEST_F(Words, VerbsWithoutANounAreUnknown) {
    for (const char* line : {"LOOK", "GET", "TAKE", "OPEN", "LOCK", "FILL", "MIRROR"}) {
        SCOPED_TRACE(line);
        StartPlaying();
        Command(line);
        ExpectWhat();
    }
}

TEST_F(Words, InventoryVerbsAndTheVerbI) {
    for (const char* line : {"INVENTORY", "INV", "INVX"}) {
        SCOPED_TRACE(line);
        StartPlaying();
        Command(line);
        EXPECT_EQ(RawMessageLine(g, 0), "- Inventory -");
        EXPECT_EQ(g.whatTicks, 0u);
    }
    StartPlaying();
    Command("I");
    ExpectWhat();
}

TEST_F(Words, LaterRepliesReplaceEarlierOnes) {
    // The grey-stone reply comes first in the maze; only the writing remains,
    // and its three lines leave nothing of the first reply behind.
    StartPlaying();
    PlaceMan(73, 2, 2);
    Command("LOOK WALL");
    EXPECT_EQ(MessageArea(g), Padded({"The Wall Says:", "Quillamorne", "was Here!"}));
    PlaceMan(82, 2, 2);
    Command("LOOK WALLS");
    EXPECT_EQ(MessageArea(g), Padded({"The walls are", "many Colors!"}));
    // A too-heavy reply is an answer: no Impossible!! follows it.
    PlaceMan(57, 2, 2);
    Command("TAKE SHELF");
    EXPECT_EQ(MessageArea(g), Padded({"SHELFS", "are too heavy!"}));
}

}  // namespace
