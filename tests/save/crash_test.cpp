// SPDX-License-Identifier: GPL-3.0-or-later
// Saving killed at random moments, as a power cut or a killed program would:
// the name always holds one whole save, and what a killed save left beside it
// is cleared by the next one rather than piling up until saving fails.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "game_fixture.h"
#include "save/save.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const char* name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

int Leftovers() {
    int n = 0;
    for (const auto& entry : fs::directory_iterator(".")) n += entry.path().filename().string().starts_with("GAME.tmp");
    return n;
}

class CrashTest : public GameTest {};

TEST_F(CrashTest, ASaveKilledAnywhereLeavesTheOldOrTheNewFileWholeAndOneLeftoverAtMost) {
    ScopedTempDir dir;
    StartPlaying(3);
    GameState states[2] = {g, g};
    states[1].strength = 42;
    ASSERT_TRUE(SaveGame(states[0], "OLD") && SaveGame(states[1], "NEW") && SaveGame(states[0], "GAME"));
    const std::string saves[2] = {ReadFile("OLD"), ReadFile("NEW")};

    std::mt19937 rng(14);  // the same moments every run
    std::uniform_int_distribution<useconds_t> delay(50, 3000);
    int torn = 0;
    int mostLeft = 0;
    for (int n = 0; n < 400; ++n) {
        const pid_t saver = fork();
        if (saver == 0) {
            alarm(10);  // never outlives a parent that stopped killing
            for (unsigned i = 0;; ++i) SaveGame(states[i % 2], "GAME");
        }
        ASSERT_GT(saver, 0);
        usleep(delay(rng));
        kill(saver, SIGKILL);
        waitpid(saver, nullptr, 0);
        const std::string now = ReadFile("GAME");
        torn += now != saves[0] && now != saves[1];
        mostLeft = std::max(mostLeft, Leftovers());
    }
    ASSERT_TRUE(SaveGame(states[1], "GAME"));
    EXPECT_EQ(ReadFile("GAME"), saves[1]);
    // At most one left at once also says that the kills caught saves half done.
    EXPECT_EQ(std::to_string(torn) + " torn, at most " + std::to_string(mostLeft) + " left over, " +
                  std::to_string(Leftovers()) + " after a whole save",
              "0 torn, at most 1 left over, 0 after a whole save");
}

}  // namespace
