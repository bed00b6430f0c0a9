// SPDX-License-Identifier: GPL-3.0-or-later
// Saving killed at random moments, as a power cut or a killed program would:
// the name always holds one whole save, and what a killed save left beside it
// is cleared by the next one rather than piling up until saving fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "commands/commands.h"
#include "game_fixture.h"
#include "golden.h"
#include "kill_saves.h"
#include "save/save.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;

int Leftovers() {
    int n = 0;
    for (const auto& entry : fs::directory_iterator(".")) n += entry.path().filename().string().starts_with("GAME.tmp");
    return n;
}

class CrashTest : public GameTest {};

TEST_F(CrashTest, ASaveKilledAnywhereLeavesTheOldOrTheNewFileWholeAndItsOwnLeftoverAtMost) {
    ScopedTempDir dir;
    StartPlaying(3);
    GameState states[2] = {g, g};
    states[1].strength = 42;
    ASSERT_TRUE(SaveGame(states[0], "OLD") && SaveGame(states[1], "NEW") && SaveGame(states[0], "GAME"));
    const std::string saves[2] = {ReadFile("OLD"), ReadFile("NEW")};

    const auto save = [&](unsigned i) { SaveGame(states[i], "GAME"); };
    EXPECT_EQ(KillWhileSaving(400, save, [] { return ReadFile("GAME"); }, saves, Leftovers), "0 torn, at most 1 left over");
    // Two copies killed together, as a power cut would; their saves take turns.
    EXPECT_EQ(KillWhileSaving(300, save, [] { return ReadFile("GAME"); }, saves, Leftovers, 2),
              "0 torn, at most 1 left over");
    ASSERT_TRUE(SaveGame(states[1], "GAME"));
    EXPECT_EQ(ReadFile("GAME"), saves[1]);
    EXPECT_EQ(Leftovers(), 0);  // a whole save clears what the killed ones left
}

int32_t StrengthIn(const std::string& save) {
    int32_t strength = 0;  // little-endian, as this machine
    std::memcpy(&strength, save.data() + 1472, 4);
    return strength;
}

// Two copies of the game save one name as fast as they can (1,000 saves each,
// their strengths counting up from 10,000 and 20,000) while this one reads it.
TEST_F(CrashTest, TwoCopiesSavingOneNameLeaveAWholeSaveOfOneOfThemAtEveryMoment) {
    ScopedTempDir dir;
    StartPlaying(3);
    constexpr int kSaves = 1000;
    pid_t savers[2];
    for (int copy = 0; copy < 2; ++copy) {
        savers[copy] = fork();
        if (savers[copy] == 0) {
            alarm(120);
            int refused = 0;
            for (int i = 0; i < kSaves; ++i) {
                g.strength = 10000 * (copy + 1) + i;
                RunNamedCommand(g, "SAVE", "GAME");
                refused += MessageLine(g, 0) != " Game Saved";
            }
            _exit(std::min(refused, 100));
        }
        ASSERT_GT(savers[copy], 0);
    }
    int reads = 0, torn = 0, older = 0, refused = 0;
    int32_t seen[2] = {0, 0};
    for (int running = 2; running > 0;) {
        for (pid_t& saver : savers) {
            int status = 0;
            if (saver > 0 && waitpid(saver, &status, WNOHANG) == saver) {
                refused += WIFEXITED(status) ? WEXITSTATUS(status) : 1;
                saver = 0, --running;
            }
        }
        const std::string now = ReadFile("GAME");
        if (now.empty() && reads == 0) continue;  // not saved yet
        ++reads;
        const int32_t strength = now.size() == 2152 ? StrengthIn(now) : -1;
        const int copy = strength / 10000 - 1;  // an empty or torn save is neither copy's
        if (copy < 0 || copy > 1 || strength % 10000 >= kSaves || !IsSavedGame(g, "GAME")) {
            ++torn;
        } else {
            older += strength < seen[copy];  // a save thrown away for an earlier one
            seen[copy] = std::max(seen[copy], strength);
        }
    }
    EXPECT_EQ(refused, 0);  // " Error Saving" or a saver killed
    EXPECT_EQ(torn, 0) << "of " << reads << " reads";
    EXPECT_EQ(older, 0);
    const int32_t last = StrengthIn(ReadFile("GAME"));
    EXPECT_TRUE(last == 10000 + kSaves - 1 || last == 20000 + kSaves - 1) << last;
    EXPECT_EQ(Leftovers(), 0);
}

}  // namespace
