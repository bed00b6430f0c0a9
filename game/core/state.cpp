// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstring>

#include "core/core.h"
#include "ports.h"
#include "score/score.h"
#include "world/world.h"

namespace {
// Stands in for the program's module handle: the cues are found in the host's resources.
constexpr char kModule[] = "grimspire";
}  // namespace

void InitGameState(GameState& g) {
    std::memset(&g, 0, sizeof g);
    g.roomData = kBuiltInRoomData;
    g.roomDataSize = kRoomDataSize;
    StopSound(g);
    g.module = kModule;
    SetMode(g, Title);
    LoadHighScore(g);
    SeedRandom(g, I_TickCount());
}
