// SPDX-License-Identifier: GPL-3.0-or-later
// The best-score file on a real file system, through the game's own loading and
// saving: damaged, unwritable, a failed replacement, another copy of the game and one killed mid-save.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "core/core.h"
#include "folders.h"
#include "kill_saves.h"
#include "score/score.h"
#include "store/typed_store.h"

namespace fs = std::filesystem;

namespace {

GameState game;

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        char dir[] = "/tmp/grimspire-store-XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        setenv("XDG_CONFIG_HOME", dir, 1);
        file = fs::path(dir) / "grimspire" / "highscore.conf";
    }
    void TearDown() override {
        fs::remove_all(file.parent_path().parent_path());
        setenv("XDG_CONFIG_HOME", "/proc/grimspire-nowhere", 1);  // as the window tests have it
    }
    // The best score and its holder as the game finds them when it starts, and as it saves them.
    static std::string Best() {
        InitGameState(game);
        return std::to_string(game.highScore) + " " + game.highScoreName;
    }
    static void Save(uint32_t score, const char* name) {
        game.highScore = score;
        std::strcpy(game.highScoreName, name);
        SaveHighScore(game);
    }
    // The score alone, stored under the store's lock as the game stores it.
    static void StoreScore(uint32_t score) {
        StoreKey key = 0;
        ASSERT_TRUE(I_StoreOpenKey(1, &key));
        StoreHighScoreValue(key, score);
        I_StoreCloseKey(key);
    }
    fs::path file;
};

// Any damage makes the whole file no best score (a good name after it is not read either); a file
// written by hand, with comments and Windows line ends, is read; the next save writes the file afresh.
TEST_F(StoreTest, TheBestScoreIsThereAtTheNextStartUnlessTheFileIsDamaged) {
    EXPECT_EQ(Best(), "0 ");
    const std::pair<std::string, const char*> files[] = {
        {"# mine\r\n\r\n  HighScore   dword   1234  \r\n", "1234 A"}, {"HighScore dword\n", "0 "},
        {"HighScore dword 1550 extra\n", "0 "}, {"HighScore dword 4294967296\n", "0 "},
        {"HighScoreName sz JOHN\n", "0 "}, {"HighScoreName sz hex:4a4\n", "0 "}, {"HighScoreName sz hex:zz\n", "0 "},
        {"\x89PNG\r\n\x1a\n", "0 "}, {"HighScore dword 1\nHighScore dword 2\n", "0 "}, {"HighScore quadword 1\n", "0 "},
        {std::string("# a NUL \0\n", 10), "0 "}, {std::string(200000, '#') + "\n", "0 "},
    };
    for (const auto& [text, best] : files) {
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text + "HighScoreName sz hex:4100\n";
        EXPECT_EQ(Best(), best) << text.substr(0, 40);
    }
    Save(1450, "SIR GALAHAD");
    EXPECT_EQ(Best(), "1450 SIR GALAHAD");  // in a fresh file
    setenv("XDG_CONFIG_HOME", "relative/dir", 1);  // not absolute: ~/.config instead
    EXPECT_EQ(typed_store::StoreFilePath(), std::string(getenv("HOME")) + "/.config/grimspire/highscore.conf");
    // Saved games go to the data folder of the same rules, whatever folder the program was started in.
    setenv("XDG_DATA_HOME", "/srv/data", 1);
    EXPECT_EQ(DefaultSaveFolder(), "/srv/data/grimspire/saves");
    setenv("XDG_DATA_HOME", "relative", 1);
    EXPECT_EQ(DefaultSaveFolder(), std::string(getenv("HOME")) + "/.local/share/grimspire/saves");
}

// Another copy of the game saving all the while: this one never finds the file half written. A failed
// replacement leaves the old file whole, with no temporary file beside it; a directory where the file
// belongs, or a plain file where its directory belongs, loses the score quietly.
TEST_F(StoreTest, AConcurrentOrFailedSaveLeavesAWholeFile) {
    Save(100, "SIR");
    const pid_t other = fork();
    if (other == 0) {
        for (uint32_t i = 0; i < 60; ++i) Save(100 + i % 2, "SIR");
        _exit(0);
    }
    while (waitpid(other, nullptr, WNOHANG) == 0) {
        const std::string best = Best();
        ASSERT_TRUE(best == "100 SIR" || best == "101 SIR") << best;
    }
    Save(900, "OLD");
    using enum typed_store::Fault;
    for (typed_store::Fault fault : {CreateTemp, Write, Sync, Rename}) {
        typed_store::InjectFault(fault);
        StoreScore(1200);
        EXPECT_EQ(Best(), "900 OLD");
        EXPECT_EQ(std::distance(fs::directory_iterator(file.parent_path()), {}), 2);  // the file and its lock
    }
    StoreScore(1200);  // a fault lasts for one replacement only
    EXPECT_EQ(Best(), "1200 OLD");
    fs::remove(file);
    fs::create_directory(file);
    Save(500, "A");
    EXPECT_EQ(Best(), "0 ");
    setenv("XDG_CONFIG_HOME", file.c_str(), 1);
    std::ofstream(file / "grimspire") << "x";
    Save(500, "A");
    EXPECT_EQ(Best(), "0 ");
}

// Another copy of the game killed at random moments while it saves: the file is always the one before
// or the one after, whole, and what a killed save left beside it is cleared by the next save.
TEST_F(StoreTest, ASaveKilledAnywhereLeavesTheOldOrTheNewFileWholeAndOneLeftoverAtMost) {
    const auto text = [this] {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const auto leftovers = [this] {
        int n = 0;
        for (const auto& entry : fs::directory_iterator(file.parent_path())) {
            n += entry.path().filename().string().starts_with(".highscore.conf.");
        }
        return n;
    };
    // A perfect score is stored again even when it equals the stored one, so every save writes.
    const char* names[2] = {"OLD", "NEW"};
    std::string saves[2];
    for (int i : {0, 1}) {
        Save(kPerfectScore, names[i]);
        saves[i] = text();
    }
    EXPECT_EQ(KillWhileSaving(250, [&](unsigned i) { Save(kPerfectScore, names[i]); }, text, saves, leftovers),
              "0 torn, at most 1 left over");
    Save(kPerfectScore, names[0]);
    EXPECT_EQ(text(), saves[0]);
    EXPECT_EQ(leftovers(), 0);  // a whole save clears what the killed ones left
}

}  // namespace
