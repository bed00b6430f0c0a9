// Saved games: a flat file of exactly 2,152 bytes.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdio>

#include "core/state.h"

constexpr long kSaveFileSize = 2152;

// The path of a saved game of this name in the saves folder; 0 when it does not fit.
int SavePath(const char* name, char* out, size_t size);
// The file LOAD of this name reads, in out; 0 when there is none.
int FindSave(const char* name, char* out, size_t size);
// 1 when written whole under the path and flushed to disk; an earlier file
// there is replaced only then.
int SaveGame(GameState& g, const char* path);
// 1 when the file holds a game the castle could be in and the game now holds
// it; otherwise 0 and the game is untouched.
int LoadGame(GameState& g, const char* path);
// Whether the file could be loaded as a saved game.
int IsSavedGame(const GameState& g, const char* path);
// The game LOAD would make of the file, in out, without touching g; 0 when it is no saved game.
int ReadSavedGame(const GameState& g, const char* path, GameState* out);
int WriteInt32(std::FILE* file, int32_t value);
int ReadInt32(std::FILE* file, int32_t* value);
