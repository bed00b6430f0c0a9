// SPDX-License-Identifier: GPL-3.0-or-later
// Placeholder until the item and creature verbs land.
#include "commands/commands.h"

void TryItemAndCreatureVerbs(GameState&) {}
