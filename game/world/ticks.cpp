// SPDX-License-Identifier: GPL-3.0-or-later
// Placeholder until timed events land.
#include "world/world.h"

void WorldTick(GameState&) {}
void MonsterStrikes(GameState&, MonsterRecord&) {}
bool AdvanceFlood(GameState&, int32_t, int32_t, int32_t, int32_t) { return false; }
void ShowContinuePrompt(GameState&) {}
