// The command interpreter and the item and creature actions.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/state.h"

void InterpretCommand(GameState& g);
void SplitCommand(GameState& g);
bool VerbIs(const GameState& g, const char* word);
bool NounIs(const GameState& g, const char* word);
bool IsLookAt(const GameState& g, const char* word);
bool IsGetTake(const GameState& g, const char* word);
bool IsOpenUnlock(const GameState& g, const char* word);
bool IsCloseLock(const GameState& g, const char* word);
const char* AfterFirstBlank(const char* name);
ItemRecord* FindItemByName(GameState& g, const char* text);
MonsterRecord* FindMonsterHereByName(GameState& g, const char* text);

// The head of the chain: QUIT, ABOUT, SECOND QUEST, SAVE, LOAD, inventory.
// Returns 1 when the command ended there.
int TryGameControl(GameState& g);
void ShowInventory(GameState& g);
// SAVE or LOAD of a name chosen outside the command line (a menu's file dialog),
// handled and answered as if typed. 0 when the name does not fit a command.
int RunNamedCommand(GameState& g, const char* verb, const char* name);

// The tail of the chain: DROP and THROW through PET.
void TryItemAndCreatureVerbs(GameState& g);
