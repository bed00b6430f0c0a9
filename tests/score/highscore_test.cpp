// SPDX-License-Identifier: GPL-3.0-or-later
// The best score kept in the host's store between runs: what a start-up reads
// from values of odd types and sizes, what a new best writes, a store that
// fails, and every key closed again whatever happened.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "game_fixture.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Dword(uint32_t v) {
    return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
            static_cast<uint8_t>(v >> 24)};
}
// A string value as written, terminator and all.
Bytes Text(const std::string& s) { return Bytes(s.c_str(), s.c_str() + s.size() + 1); }

class HighScoreTest : public GameTest {
protected:
    void Store(const char* name, uint32_t type, const Bytes& bytes) {
        fake::State().keyExists = true;
        fake::State().values[name] = fake::StoredValue{type, bytes};
    }
    // The program starts: any old sound is stopped first, the store read and every key closed again.
    void Start() {
        fake::ClearCues();
        Boot();
        EXPECT_EQ(fake::State().cues.at(0).call, fake::CueCall::Stop);
        EXPECT_EQ(fake::State().openKeys, 0);
    }
    // A game escaped with nothing (100 points) and the name typed for it.
    void NewBest(const std::string& name) {
        StartPlaying();
        g.escaped = 1;
        Command("QUIT");
        Press(VK_SPACE);
        Command(name);
        EXPECT_EQ(fake::State().openKeys, 0);
    }
};

// Each value stands beside a well-formed other one.
TEST_F(HighScoreTest, OnlyAFourByteNumberUpToPerfectAndAStringOfFifteenAreRead) {
    Start();
    EXPECT_EQ(g.highScore, 0u);
    EXPECT_FALSE(fake::State().keyExists);  // reading never creates the key
    Store("HighScore", REG_DWORD, Dword(300));
    Start();
    EXPECT_STREQ(g.highScoreName, "");
    // The value replaced, its type and bytes, and the score and name read.
    const std::tuple<const char*, uint32_t, Bytes, uint32_t, const char*> cases[] = {
        {"HighScore", REG_DWORD, Dword(1550), 1550, "KAY"}, {"HighScore", REG_DWORD, Dword(1551), 0, "KAY"},
        {"HighScore", REG_DWORD, Dword(0xFFFFFFFF), 0, "KAY"}, {"HighScore", REG_SZ, Text("900"), 0, "KAY"},
        {"HighScore", 11, {0x84, 0x03, 0, 0, 0, 0, 0, 0}, 0, "KAY"}, {"HighScore", REG_BINARY, Dword(900), 0, "KAY"},
        {"HighScore", REG_DWORD, {0x84, 0x03}, 0, "KAY"}, {"HighScore", REG_DWORD, {0x84, 0x03, 0, 0, 0}, 0, "KAY"},
        {"HighScoreName", REG_SZ, Text("ABCDEFGHIJKLMNOPQRST"), 900, "ABCDEFGHIJKLMNO"},
        {"HighScoreName", REG_EXPAND_SZ, Text("%USERNAME%"), 900, "%USERNAME%"},  // taken as it stands
        {"HighScoreName", REG_SZ, {'G', 'A', 'W', 'A', 'I', 'N'}, 900, "GAWAIN"},  // no terminator stored
        {"HighScoreName", REG_BINARY, Text("BORS"), 900, ""}, {"HighScoreName", REG_DWORD, Text("BORS"), 900, ""},
        {"HighScoreName", REG_NONE, Text("BORS"), 900, ""},
    };
    for (const auto& [value, type, bytes, score, name] : cases) {
        Store("HighScore", REG_DWORD, Dword(900));
        Store("HighScoreName", REG_SZ, Text("KAY"));
        Store(value, type, bytes);
        Start();
        EXPECT_EQ(g.highScore, score) << value << " " << type << " of " << bytes.size();
        EXPECT_STREQ(g.highScoreName, name) << value << " " << type;
    }
}

TEST_F(HighScoreTest, ANewBestIsWrittenAsNumberAndStringUnlessTheStoreFails) {
    NewBest("PERCY");
    EXPECT_EQ(fake::State().values.at("HighScore").bytes, Dword(100));
    EXPECT_EQ(fake::State().values.at("HighScoreName").type, uint32_t{REG_SZ});
    EXPECT_EQ(fake::State().values.at("HighScoreName").bytes, Text("PERCY"));
    Store("HighScore", REG_DWORD, Dword(80));
    fake::State().failOpen = true;
    NewBest("NEW");
    fake::State().failOpen = false;
    fake::State().failWrites = true;
    NewBest("NEW");
    EXPECT_EQ(g.highScore, 100u);  // the run goes on with its new best, silently
    EXPECT_EQ(fake::State().values.at("HighScore").bytes, Dword(80));
    EXPECT_EQ(fake::State().values.at("HighScoreName").bytes, Text("PERCY"));
}

// Two copies of the game: B stores 500 while A plays on from the 50 it read.
TEST_F(HighScoreTest, ABetterScoreStoredMeanwhileIsNeverLowered) {
    Store("HighScore", REG_DWORD, Dword(50));
    StartPlaying();
    Store("HighScore", REG_DWORD, Dword(500));
    Store("HighScoreName", REG_SZ, Text("BEDIVERE"));
    g.escaped = 1;
    Command("QUIT");
    Press(VK_SPACE);
    ASSERT_EQ(g.mode, NameEntry);  // 100 beats the 50 this copy knew of
    Command("ANNA");
    EXPECT_EQ(fake::State().values.at("HighScore").bytes, Dword(500));
    EXPECT_EQ(fake::State().values.at("HighScoreName").bytes, Text("BEDIVERE"));
    EXPECT_EQ(g.highScore, 500u);  // and the wall shows the true best
    EXPECT_EQ(fake::State().openKeys, 0);
}

}  // namespace
