// SPDX-License-Identifier: GPL-3.0-or-later
// Shared by the fuzz targets: what must hold after anything at all has happened.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/core.h"
#include "world/world.h"

namespace fuzzing {

[[noreturn]] inline void Fail(const char* what) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

inline void CheckInvariants(const GameState& g) {
    if (g.mode > 4) Fail("mode");
    if (g.whatTicks > 2) Fail("whatTicks");
    if (g.highScore > kPerfectScore) Fail("highScore");
    if (CarriedCount(g) > kCarryLimit) Fail("carried");
    if (strnlen(g.commandLine, sizeof g.commandLine) > kCommandMax) Fail("commandLine");
    if (strnlen(g.entryName, sizeof g.entryName) > kNameMax) Fail("entryName");
    if (strnlen(g.highScoreName, sizeof g.highScoreName) > kNameMax) Fail("highScoreName");
    if (g.mode == Play) {
        if (g.currentRoom < 0 || g.currentRoom >= kRoomCount) Fail("room");
        if (g.playerColumn < 0 || g.playerColumn >= kMapColumns) Fail("column");
        if (g.playerRow < 0 || g.playerRow >= kMapRows) Fail("row");
    }
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
