// SPDX-License-Identifier: GPL-3.0-or-later
// Placeholder until the interpreter lands.
#include "commands/commands.h"
#include "core/core.h"

void InterpretCommand(GameState& g) {
    g.messageShown = 0;
    if (TryGameControl(g)) return;
    TryItemAndCreatureVerbs(g);
    if (!g.messageShown) {
        g.whatTicks = 2;
        PlayCue(g, CUE_WHAT, 0);
    }
}
void SplitCommand(GameState&) {}
bool VerbIs(const GameState&, const char*) { return false; }
bool NounIs(const GameState&, const char*) { return false; }
bool IsLookAt(const GameState&, const char*) { return false; }
bool IsGetTake(const GameState&, const char*) { return false; }
bool IsOpenUnlock(const GameState&, const char*) { return false; }
bool IsCloseLock(const GameState&, const char*) { return false; }
const char* AfterFirstBlank(const char* name) { return name; }
ItemRecord* FindItemByName(GameState&, const char*) { return nullptr; }
MonsterRecord* FindMonsterHereByName(GameState&, const char*) { return nullptr; }
