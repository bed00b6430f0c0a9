// SPDX-License-Identifier: GPL-3.0-or-later
// Placeholder until the game-control commands land.
#include "commands/commands.h"

int TryGameControl(GameState&) { return 0; }
void ShowInventory(GameState&) {}
