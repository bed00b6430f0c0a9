// SPDX-License-Identifier: GPL-3.0-or-later
// Shared by the fuzz targets: what must hold after anything at all has happened.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "core/core.h"
#include "world/world.h"

namespace fuzzing {

// What must hold after anything at all has happened: null, or what broke.
inline const char* BrokenInvariant(const GameState& g) {
    if (g.mode > 4) return "mode";
    if (g.whatTicks > 2) return "whatTicks";
    if (g.highScore > kPerfectScore) return "highScore";
    if (CarriedCount(g) > kCarryLimit) return "carried";
    if (strnlen(g.commandLine, sizeof g.commandLine) > kCommandMax) return "commandLine";
    if (strnlen(g.entryName, sizeof g.entryName) > kNameMax) return "entryName";
    if (strnlen(g.highScoreName, sizeof g.highScoreName) > kNameMax) return "highScoreName";
    if (g.mode == Play) {
        if (g.currentRoom < 0 || g.currentRoom >= kRoomCount) return "room";
        if (g.playerColumn < 0 || g.playerColumn >= kMapColumns) return "column";
        if (g.playerRow < 0 || g.playerRow >= kMapRows) return "row";
    }
    return nullptr;
}

// Saves land in a folder of the run's own, made once (a failure throws, and so aborts).
inline void EnterScratchDirectory() {
    static const bool entered = [] {
        const auto dir = std::filesystem::temp_directory_path() / ("grimspire-fuzz-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir);
        std::filesystem::current_path(dir);
        return true;
    }();
    (void)entered;
}

inline void CheckInvariants(const GameState& g) {
    if (const char* what = BrokenInvariant(g)) std::fprintf(stderr, "invariant broken: %s\n", what), std::abort();
}

// A little life after the input: the clock runs and the man tries every direction.
inline void Exercise(GameState& g) {
    static const uint32_t kMoves[] = {VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN, VK_NUMPAD1, VK_NUMPAD3, VK_NUMPAD7,
                                      VK_NUMPAD9};
    for (int round = 0; round < 3; ++round) {
        for (uint32_t key : kMoves) {
            if (HandleKey(g, key, 0) == 0) return;
            CheckInvariants(g);
            WorldTick(g);
            BlinkTick(g);
            CheckInvariants(g);
        }
    }
}

}  // namespace fuzzing
