// SPDX-License-Identifier: GPL-3.0-or-later
// The best-score file on a real file system: round trips, atomic replacement,
// damaged files, the directory made on first use, and the game going through it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/core.h"
#include "score/score.h"
#include "typed_store.h"

namespace fs = std::filesystem;

// The game core links against these; sound plays no part here.
void I_PlayCue(int) {}
void I_PlayCueIfQuiet(int) {}
void I_StopSound() {}
uint32_t I_TickCount() { return 1; }

namespace {

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/grimspire-store-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = pattern;
        setenv("XDG_CONFIG_HOME", root.c_str(), 1);
        file = root / "grimspire" / "highscore.conf";
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(root, ec);
    }

    void WriteFile(const std::string& text) {
        fs::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary);
        out << text;
    }
    std::string ReadFile() const {
        std::ifstream in(file, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // Everything in the store's directory but the store itself: temporary files left behind.
    int StrayFiles() const {
        int n = 0;
        for (const auto& e : fs::directory_iterator(file.parent_path())) n += e.path() != file ? 1 : 0;
        return n;
    }

    int Set(const char* name, uint32_t type, const std::string& bytes) {
        StoreKey key = 0;
        if (!I_StoreOpenKey(1, &key)) return 0;
        const int ok = I_StoreSetValue(key, name, type, reinterpret_cast<const uint8_t*>(bytes.data()),
                                       static_cast<uint32_t>(bytes.size()));
        I_StoreCloseKey(key);
        return ok;
    }
    // The value's type and bytes, or "missing".
    std::string Get(const char* name) {
        StoreKey key = 0;
        if (!I_StoreOpenKey(0, &key)) return "no key";
        uint32_t type = 0;
        uint32_t size = 0;
        std::string result = "missing";
        if (I_StoreQueryValue(key, name, &type, nullptr, &size)) {
            std::string bytes(size, '\0');
            uint32_t got = size;
            if (I_StoreQueryValue(key, name, &type, reinterpret_cast<uint8_t*>(bytes.data()), &got) && got == size) {
                result = std::to_string(type) + ":" + bytes;
            }
        }
        I_StoreCloseKey(key);
        return result;
    }

    fs::path root;
    fs::path file;
};

std::string Dword(uint32_t v) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i) s[static_cast<size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
    return s;
}

TEST_F(StoreTest, PathFollowsXdgConfigHomeThenHome) {
    EXPECT_EQ(typed_store::StoreFilePath(), file.string());
    setenv("HOME", "/home/somebody", 1);
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(typed_store::StoreFilePath(), "/home/somebody/.config/grimspire/highscore.conf");
    setenv("XDG_CONFIG_HOME", "relative/dir", 1);  // not absolute: ignored
    EXPECT_EQ(typed_store::StoreFilePath(), "/home/somebody/.config/grimspire/highscore.conf");
}

TEST_F(StoreTest, MissingKeyIsNotCreatedByReading) {
    StoreKey key = 0;
    EXPECT_EQ(I_StoreOpenKey(0, &key), 0);
    EXPECT_FALSE(fs::exists(file.parent_path()));
}

TEST_F(StoreTest, CreatingTheKeyMakesTheMissingDirectoryAndAnEmptyStore) {
    StoreKey key = 0;
    ASSERT_EQ(I_StoreOpenKey(1, &key), 1);
    EXPECT_NE(key, 0);
    I_StoreCloseKey(key);
    ASSERT_TRUE(fs::is_regular_file(file));
    typed_store::Values values;
    EXPECT_TRUE(typed_store::ReadStoreFile(file.string(), &values));
    EXPECT_TRUE(values.empty());
    EXPECT_EQ(I_StoreOpenKey(0, &key), 1);
    I_StoreCloseKey(key);
}

TEST_F(StoreTest, ValuesRoundTripWithTypeAndBytesAndReadableText) {
    ASSERT_EQ(Set("HighScore", REG_DWORD, Dword(1550)), 1);
    ASSERT_EQ(Set("HighScoreName", REG_SZ, std::string("JOHN\0", 5)), 1);
    EXPECT_EQ(Get("HighScore"), "4:" + Dword(1550));
    EXPECT_EQ(Get("HighScoreName"), std::string("1:JOHN\0", 7));
    EXPECT_EQ(Get("Other"), "missing");

    const std::string text = ReadFile();
    EXPECT_NE(text.find("\nHighScore dword 1550\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nHighScoreName sz hex:4a4f484e00\n"), std::string::npos) << text;

    // Overwriting keeps the other value.
    ASSERT_EQ(Set("HighScore", REG_DWORD, Dword(700)), 1);
    EXPECT_EQ(Get("HighScore"), "4:" + Dword(700));
    EXPECT_EQ(Get("HighScoreName"), std::string("1:JOHN\0", 7));
    EXPECT_EQ(StrayFiles(), 0);
}

TEST_F(StoreTest, OddValuesKeepTheirExactTypeAndSize) {
    ASSERT_EQ(Set("Wide", 11, std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8)), 1);
    ASSERT_EQ(Set("Short", REG_DWORD, std::string("\x10\x20\x30", 3)), 1);
    ASSERT_EQ(Set("Empty", REG_SZ, ""), 1);
    ASSERT_EQ(Set("Path", REG_EXPAND_SZ, std::string("%HOME%\0", 7)), 1);
    ASSERT_EQ(Set("Strange", 77, "x"), 1);
    EXPECT_EQ(Get("Wide"), std::string("11:\x01\x02\x03\x04\x05\x06\x07\x08", 11));
    EXPECT_EQ(Get("Short"), std::string("4:\x10\x20\x30", 5));
    EXPECT_EQ(Get("Empty"), "1:");
    EXPECT_EQ(Get("Path"), std::string("2:%HOME%\0", 9));
    EXPECT_EQ(Get("Strange"), "77:x");
}

TEST_F(StoreTest, QueryIntoATooSmallBufferReportsTheSizeNeeded) {
    ASSERT_EQ(Set("HighScoreName", REG_SZ, std::string("ABCDEF\0", 7)), 1);
    StoreKey key = 0;
    ASSERT_EQ(I_StoreOpenKey(0, &key), 1);
    uint8_t buffer[4] = {};
    uint32_t size = sizeof buffer;
    uint32_t type = 0;
    EXPECT_EQ(I_StoreQueryValue(key, "HighScoreName", &type, buffer, &size), 0);
    EXPECT_EQ(size, 7u);
    I_StoreCloseKey(key);
    // A closed key reads nothing.
    size = sizeof buffer;
    EXPECT_EQ(I_StoreQueryValue(key, "HighScoreName", &type, nullptr, &size), 0);
}

TEST_F(StoreTest, BadNamesAreRefused) {
    EXPECT_EQ(Set("Two words", REG_SZ, "x"), 0);
    EXPECT_EQ(Set("", REG_SZ, "x"), 0);
    EXPECT_EQ(Set("#comment", REG_SZ, "x"), 0);
    EXPECT_EQ(Get("Two"), "missing");
}

TEST_F(StoreTest, AFailedReplacementLeavesTheOldFileWholeAndNoTemporaryFile) {
    ASSERT_EQ(Set("HighScore", REG_DWORD, Dword(900)), 1);
    const std::string before = ReadFile();
    for (typed_store::Fault fault : {typed_store::Fault::CreateTemp, typed_store::Fault::Write,
                                     typed_store::Fault::Sync, typed_store::Fault::Rename}) {
        StoreKey key = 0;
        ASSERT_EQ(I_StoreOpenKey(1, &key), 1);
        typed_store::InjectFault(fault);
        const std::string bytes = Dword(1200);
        EXPECT_EQ(I_StoreSetValue(key, "HighScore", REG_DWORD, reinterpret_cast<const uint8_t*>(bytes.data()), 4), 0);
        I_StoreCloseKey(key);
        EXPECT_EQ(ReadFile(), before);
        EXPECT_EQ(StrayFiles(), 0);
        EXPECT_EQ(Get("HighScore"), "4:" + Dword(900));
    }
    // The fault lasts for one replacement only.
    EXPECT_EQ(Set("HighScore", REG_DWORD, Dword(1200)), 1);
    EXPECT_EQ(Get("HighScore"), "4:" + Dword(1200));
}

TEST_F(StoreTest, DamagedFilesReadAsNoKey) {
    const char* damaged[] = {
        "HighScore dword\n",                         // a field missing
        "HighScore dword 1550 extra\n",              // one too many
        "HighScore dword 4294967296\n",              // does not fit 32 bits
        "HighScore dword -5\n",
        "HighScoreName sz JOHN\n",                   // text must be hex
        "HighScoreName sz hex:4a4\n",                // odd number of digits
        "HighScoreName sz hex:zz\n",
        "HighScore dword 1\nHighScore dword 2\n",    // the same name twice
        "HighScore quadword 1\n",
        "\x89PNG\r\n\x1a\n\x01\x02\x03",
    };
    for (const char* text : damaged) {
        WriteFile(text);
        StoreKey key = 0;
        EXPECT_EQ(I_StoreOpenKey(0, &key), 0) << text;
    }
    // A NUL inside a line, which the C string above cannot carry.
    WriteFile(std::string("HighScore dword 1\0\n", 19));
    StoreKey key = 0;
    EXPECT_EQ(I_StoreOpenKey(0, &key), 0);

    // Far too big to be ours.
    WriteFile(std::string(200000, '#'));
    EXPECT_EQ(I_StoreOpenKey(0, &key), 0);
}

TEST_F(StoreTest, ADirectoryInThePlaceOfTheFileIsNoKeyAndCannotBeWritten) {
    fs::create_directories(file);
    StoreKey key = 0;
    EXPECT_EQ(I_StoreOpenKey(0, &key), 0);
    EXPECT_EQ(I_StoreOpenKey(1, &key), 0);
    EXPECT_TRUE(fs::is_directory(file));
}

TEST_F(StoreTest, CreatingOverADamagedFileStartsAFreshStore) {
    WriteFile("garbage garbage\n");
    ASSERT_EQ(Set("HighScore", REG_DWORD, Dword(300)), 1);
    EXPECT_EQ(Get("HighScore"), "4:" + Dword(300));
    EXPECT_EQ(ReadFile().find("garbage"), std::string::npos);
}

TEST_F(StoreTest, AHandEditedFileWithCommentsAndWindowsLineEndsReads) {
    WriteFile("# mine\r\n\r\n  HighScore   dword   1234  \r\nHighScoreName sz hex:41424300\r\n");
    EXPECT_EQ(Get("HighScore"), "4:" + Dword(1234));
    EXPECT_EQ(Get("HighScoreName"), std::string("1:ABC\0", 6));
}

TEST_F(StoreTest, AnUnwritableConfigDirectoryFailsQuietly) {
    // A regular file where the directory should be.
    setenv("XDG_CONFIG_HOME", (root / "plainfile").c_str(), 1);
    std::ofstream(root / "plainfile") << "x";
    StoreKey key = 0;
    EXPECT_EQ(I_StoreOpenKey(1, &key), 0);
}

// The whole way: a best score entered in one run is there at the next start.
TEST_F(StoreTest, TheGameStoresItsBestScoreAndReadsItBackAtTheNextStart) {
    static GameState first{};
    InitGameState(first);
    EXPECT_EQ(first.highScore, 0u);
    EXPECT_STREQ(first.highScoreName, "");
    first.highScore = 1450;
    std::strcpy(first.highScoreName, "SIR GALAHAD");
    SaveHighScore(first);

    static GameState second{};
    InitGameState(second);
    EXPECT_EQ(second.highScore, 1450u);
    EXPECT_STREQ(second.highScoreName, "SIR GALAHAD");
    const std::string text = ReadFile();
    EXPECT_NE(text.find("HighScore dword 1450\n"), std::string::npos) << text;
}

}  // namespace
