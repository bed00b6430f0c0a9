// SPDX-License-Identifier: GPL-3.0-or-later
// The best score in the settings file on a real file system, through the game's own loading and
// saving: damaged values, the 1.0 file carried over, another copy saving, one killed mid-save.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/core.h"
#include "folders.h"
#include "kill_saves.h"
#include "score/score.h"
#include "settings.h"

namespace fs = std::filesystem;

namespace {

GameState game;

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        // On tmpfs where there is one, where two writes can fall in one millisecond.
        std::string dir = (fs::is_directory("/dev/shm") ? "/dev/shm" : "/tmp") + std::string("/grimspire-store-XXXXXX");
        ASSERT_NE(mkdtemp(dir.data()), nullptr);
        setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
        folder = fs::path(dir) / "grimspire";
        fs::create_directories(folder);
    }
    void TearDown() override {
        fs::remove_all(folder.parent_path());
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
    void Write(const char* name, const std::string& text) { std::ofstream(folder / name, std::ios::binary) << text; }
    std::string Text() const {
        std::ifstream in(folder / "grimspire.conf", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    fs::path folder;
};

// A value of the wrong type or form is no best score, and the name stays the name. The
// 1.0 file is carried over once, a damaged line of it left behind, and never read again.
TEST_F(StoreTest, TheBestScoreIsThereAtTheNextStartUnlessItIsDamaged) {
    EXPECT_EQ(Best(), "0 ");
    const std::pair<const char*, const char*> scores[] = {
        {"dword:1234", "1234 A"}, {"dword:4294967296", "0 A"}, {"dword:12x", "0 A"}, {"dword:hex:d204", "0 A"},
        {"sz:hex:d2040000", "0 A"}, {"quadword:1", "0 A"}, {"1234", "0 A"}, {"dword:hex:d20400", "0 A"},
        {"dword:hex:d2040000", "1234 A"},
    };
    for (const auto& [value, best] : scores) {
        Write("grimspire.conf", std::string("[BestScore]\nHighScore=") + value + "\nHighScoreName=sz:hex:4100\n");
        EXPECT_EQ(Best(), best) << value;
    }
    fs::remove(folder / "grimspire.conf");
    Write("highscore.conf", "# mine\n  HighScore   dword   1450  \nHighScoreName sz hex:5349522047414c414841440\n");
    EXPECT_EQ(Best(), "1450 ");
    Write("highscore.conf", "HighScore dword 10\n");
    EXPECT_EQ(Best(), "1450 ");
    Save(1500, "SIR GALAHAD");
    EXPECT_EQ(Best(), "1500 SIR GALAHAD");
    EXPECT_EQ(Text(), "[BestScore]\nHighScore=dword:1500\nHighScoreName=sz:hex:5349522047414c4148414400\n");
    setenv("XDG_CONFIG_HOME", "relative/dir", 1);  // not absolute: ~/.config instead
    EXPECT_EQ(SettingsPath().toStdString(), std::string(getenv("HOME")) + "/.config/grimspire/grimspire.conf");
    // Saved games go to the data folder of the same rules, whatever folder the program was started in
    // (xvfb_smoke.sh finds them under an absolute one).
    setenv("XDG_DATA_HOME", "relative", 1);
    EXPECT_EQ(DefaultSaveFolder(), std::string(getenv("HOME")) + "/.local/share/grimspire/saves");
}

// A directory where the file belongs fails the save, and says so.
TEST_F(StoreTest, AnImpossibleSaveSaysSo) {
    fs::create_directory(folder / "grimspire.conf");
    game.highScore = 258;
    EXPECT_EQ(SaveHighScore(game), 0);
    EXPECT_FALSE(UpdateSettings([](QSettings& s) { s.setValue("View/zoom", 2); }));
    EXPECT_TRUE(fs::is_directory(folder / "grimspire.conf"));
}

// Two copies recording best scores as fast as they can, a third changing a setting all the while:
// the best stands at every moment, with its own name.
TEST_F(StoreTest, TwoCopiesRecordingBestScoresNeverLowerIt) {
    Write("grimspire.conf", "[View]\nscheme=amber\n");
    const auto score = [](int copy, int i) { return static_cast<uint32_t>(i * 7919 * (copy + 1)) % 1500 + 1; };
    for (int copy = 0; copy < 3; ++copy) {
        if (fork() != 0) continue;
        for (int i = 0; i < 300; ++i) {
            if (copy == 2) UpdateSettings([i](QSettings& s) { s.setValue("View/zoom", i % 4 + 1); });
            if (copy < 2) Save(score(copy, i), ((copy ? "B" : "A") + std::to_string(score(copy, i))).c_str());
        }
        _exit(0);
    }
    uint32_t seen = 0;
    int reads = 0, lowered = 0, misnamed = 0;
    for (; waitpid(-1, nullptr, WNOHANG) >= 0; ++reads) {  // until no copy is left
        InitGameState(game);
        lowered += game.highScore < seen;
        seen = std::max(seen, game.highScore);
        misnamed += game.highScore > 0 && game.highScoreName + 1 != std::to_string(game.highScore);
    }
    EXPECT_EQ(lowered, 0) << "of " << reads << " reads";
    EXPECT_EQ(misnamed, 0);
    uint32_t best = 0;
    for (int i = 0; i < 300; ++i) best = std::max({best, score(0, i), score(1, i)});
    EXPECT_EQ(Best().substr(0, 5), std::to_string(best) + " ");
    EXPECT_NE(Text().find("zoom=4"), std::string::npos);
    EXPECT_NE(Text().find("scheme=amber"), std::string::npos);  // what no copy changed stays
    for (const auto& e : fs::directory_iterator(folder)) EXPECT_EQ(e.path().string().find("tmp"), std::string::npos);
}

// Another copy of the game killed at random moments while it saves: the file is always the one before
// or the one after, whole, and no half-written copy is left beside it.
TEST_F(StoreTest, ASaveKilledAnywhereLeavesTheOldOrTheNewFileWhole) {
    // Qt's own lock files, which a killed copy leaves and the next one knows for stale, aside.
    const auto leftovers = [this] {
        return std::count_if(fs::directory_iterator(folder), {}, [](const auto& e) { return e.path().filename().string().find("lock") == std::string::npos; }) - 1;
    };
    fs::remove_all(folder.parent_path());  // a first save makes the folders it needs
    // A perfect score is stored again even when it equals the stored one, so every save writes.
    const auto save = [](unsigned i) { Save(kPerfectScore, i ? "NEW" : "OLD"); };
    std::string saves[2];
    for (unsigned i : {0u, 1u}) save(i), saves[i] = Text();
    const std::string killed = KillWhileSaving(250, save, [this] { return Text(); }, saves, leftovers);
    // At most what one killed copy left (its file and QSaveFile's of it), cleared by the next.
    EXPECT_TRUE(killed == "0 torn, at most 0 left over" || killed == "0 torn, at most 1 left over" ||
                killed == "0 torn, at most 2 left over") << killed;
}

}  // namespace
