// SPDX-License-Identifier: GPL-3.0-or-later
// Saving killed at random moments, as a power cut or a killed program would:
// the name always holds one whole save, and what a killed save left beside it
// is cleared by the next one rather than piling up until saving fails.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "game_fixture.h"
#include "kill_saves.h"
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

    EXPECT_EQ(KillWhileSaving(400, [&](unsigned i) { SaveGame(states[i], "GAME"); }, [] { return ReadFile("GAME"); },
                              saves, Leftovers),
              "0 torn, at most 1 left over");
    ASSERT_TRUE(SaveGame(states[1], "GAME"));
    EXPECT_EQ(ReadFile("GAME"), saves[1]);
    EXPECT_EQ(Leftovers(), 0);  // a whole save clears what the killed ones left
}

}  // namespace
