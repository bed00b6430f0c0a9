// SPDX-License-Identifier: GPL-3.0-or-later
// The best score read at start-up and written after a name entry, against the
// in-memory store: types, sizes, bounds, truncation, failures, and every key closed.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "game_fixture.h"
#include "score/score.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }
std::vector<uint8_t> Dword(uint32_t v) {
    return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
            static_cast<uint8_t>(v >> 24)};
}

class HighScoreTest : public GameTest {
protected:
    void Store(const char* name, uint32_t type, std::vector<uint8_t> bytes) {
        fake::State().keyExists = true;
        fake::State().values[name] = fake::StoredValue{type, std::move(bytes)};
    }
    void StoreBest(uint32_t score, const std::string& name) {
        Store("HighScore", REG_DWORD, Dword(score));
        Store("HighScoreName", REG_SZ, Bytes(name + std::string(1, '\0')));
    }
    // Starting the program reads the store; every key it opened is closed again.
    void Start() {
        Boot();
        EXPECT_EQ(fake::State().openKeys, 0);
    }
};

TEST_F(HighScoreTest, NoKeyMeansNoBestScore) {
    Start();
    EXPECT_EQ(g.highScore, 0u);
    EXPECT_STREQ(g.highScoreName, "");
    EXPECT_FALSE(fake::State().keyExists);  // reading never creates the key
}

TEST_F(HighScoreTest, AStoredBestIsReadAtStartUp) {
    StoreBest(1550, "LANCELOT");
    Start();
    EXPECT_EQ(g.highScore, 1550u);
    EXPECT_STREQ(g.highScoreName, "LANCELOT");
}

TEST_F(HighScoreTest, AScoreAbovePerfectReadsAsZeroButTheNameStays) {
    StoreBest(1551, "CHEAT");
    Start();
    EXPECT_EQ(g.highScore, 0u);
    EXPECT_STREQ(g.highScoreName, "CHEAT");

    StoreBest(0xFFFFFFFFu, "CHEAT");
    Start();
    EXPECT_EQ(g.highScore, 0u);
}

TEST_F(HighScoreTest, OnlyAFourByteDwordIsAScore) {
    Store("HighScoreName", REG_SZ, Bytes(std::string("KAY\0", 4)));
    const struct {
        uint32_t type;
        std::vector<uint8_t> bytes;
    } wrong[] = {
        {REG_SZ, Bytes(std::string("900\0", 4))},
        {11, {0x84, 0x03, 0, 0, 0, 0, 0, 0}},  // a QWORD of 900
        {REG_BINARY, Dword(900)},
        {REG_DWORD, {0x84, 0x03}},
        {REG_DWORD, {0x84, 0x03, 0, 0, 0}},
    };
    for (const auto& w : wrong) {
        Store("HighScore", w.type, w.bytes);
        Start();
        EXPECT_EQ(g.highScore, 0u) << w.type << " " << w.bytes.size();
        EXPECT_STREQ(g.highScoreName, "KAY");
    }
    Store("HighScore", REG_DWORD, Dword(900));
    Start();
    EXPECT_EQ(g.highScore, 900u);
}

TEST_F(HighScoreTest, ALongNameIsCutToFifteenCharacters) {
    StoreBest(600, "ABCDEFGHIJKLMNOPQRST");
    Start();
    EXPECT_STREQ(g.highScoreName, "ABCDEFGHIJKLMNO");
    EXPECT_EQ(g.highScoreName[15], '\0');
}

TEST_F(HighScoreTest, AnExpandableNameIsTakenAsItStands) {
    Store("HighScore", REG_DWORD, Dword(300));
    Store("HighScoreName", REG_EXPAND_SZ, Bytes(std::string("%USERNAME%\0", 11)));
    Start();
    EXPECT_STREQ(g.highScoreName, "%USERNAME%");
}

TEST_F(HighScoreTest, ANameWithoutItsTerminatorStillEnds) {
    Store("HighScore", REG_DWORD, Dword(300));
    Store("HighScoreName", REG_SZ, Bytes("GAWAIN"));
    Start();
    EXPECT_STREQ(g.highScoreName, "GAWAIN");
}

TEST_F(HighScoreTest, ANameOfAnotherTypeIsNoName) {
    Store("HighScore", REG_DWORD, Dword(300));
    for (uint32_t type : {uint32_t{REG_BINARY}, uint32_t{REG_DWORD}, uint32_t{REG_NONE}}) {
        Store("HighScoreName", type, Bytes(std::string("BORS\0", 5)));
        Start();
        EXPECT_STREQ(g.highScoreName, "") << type;
        EXPECT_EQ(g.highScore, 300u);
    }
}

TEST_F(HighScoreTest, AnUnopenableStoreReadsAsNothing) {
    StoreBest(800, "BEDIVERE");
    fake::State().failOpen = true;
    Start();
    EXPECT_EQ(g.highScore, 0u);
    EXPECT_STREQ(g.highScoreName, "");
}

TEST_F(HighScoreTest, SavingCreatesTheKeyAndStoresTheNameWithItsTerminator) {
    Boot();
    g.highScore = 1200;
    std::strcpy(g.highScoreName, "PERCY");
    SaveHighScore(g);
    EXPECT_TRUE(fake::State().keyExists);
    EXPECT_EQ(fake::State().values.at("HighScore").type, uint32_t{REG_DWORD});
    EXPECT_EQ(fake::State().values.at("HighScore").bytes, Dword(1200));
    EXPECT_EQ(fake::State().values.at("HighScoreName").type, uint32_t{REG_SZ});
    EXPECT_EQ(fake::State().values.at("HighScoreName").bytes, Bytes(std::string("PERCY\0", 6)));
    EXPECT_EQ(fake::State().openKeys, 0);

    // Read back by the next start.
    Start();
    EXPECT_EQ(g.highScore, 1200u);
    EXPECT_STREQ(g.highScoreName, "PERCY");
}

TEST_F(HighScoreTest, WriteFailuresAreSilentAndLeaveTheOldValues) {
    StoreBest(400, "OLD");
    Boot();
    g.highScore = 500;
    std::strcpy(g.highScoreName, "NEW");
    fake::State().failWrites = true;
    SaveHighScore(g);
    EXPECT_EQ(fake::State().openKeys, 0);
    EXPECT_EQ(fake::State().values.at("HighScore").bytes, Dword(400));
    EXPECT_EQ(g.highScore, 500u);  // the run goes on with its new best

    fake::State().failWrites = false;
    fake::State().failOpen = true;
    SaveHighScore(g);
    EXPECT_EQ(fake::State().openKeys, 0);
    EXPECT_EQ(fake::State().values.at("HighScoreName").bytes, Bytes(std::string("OLD\0", 4)));
}

TEST_F(HighScoreTest, TheQueriesCloseTheirKeyWhateverHappens) {
    StoreBest(250, "ECTOR");
    Store("HighScore", REG_SZ, Bytes("x"));
    for (int round = 0; round < 3; ++round) {
        StoreKey key = 0;
        ASSERT_EQ(I_StoreOpenKey(0, &key), 1);
        const uint32_t score = QueryHighScore(key);
        EXPECT_EQ(score, 0u);
        EXPECT_EQ(fake::State().openKeys, 0);

        ASSERT_EQ(I_StoreOpenKey(0, &key), 1);
        char name[16] = "junk";
        if (round == 0) {
            EXPECT_EQ(QueryHighScoreName(name, sizeof name, key), 1);
            EXPECT_STREQ(name, "ECTOR");
        } else {
            EXPECT_EQ(QueryHighScoreName(name, sizeof name, key), 0);
        }
        EXPECT_EQ(fake::State().openKeys, 0);
        // Round 1: the name is gone; round 2: it has the wrong type.
        fake::State().values.erase("HighScoreName");
        if (round == 1) Store("HighScoreName", REG_BINARY, Bytes("ECTOR"));
    }
}

TEST_F(HighScoreTest, StoringTheValueAloneWritesFourBytes) {
    StoreHighScoreValue(1550);
    EXPECT_EQ(fake::State().values.at("HighScore").bytes, Dword(1550));
    EXPECT_EQ(fake::State().values.count("HighScoreName"), 0u);
    EXPECT_EQ(fake::State().openKeys, 0);
}

}  // namespace
