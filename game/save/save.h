// Saved games: a flat file of exactly 2,152 bytes.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>

#include "core/state.h"

constexpr long kSaveFileSize = 2152;

int SaveGame(GameState& g, const char* fileName);
int LoadGame(GameState& g, const char* fileName);
int WriteInt32(std::FILE* file, int32_t value);
int ReadInt32(std::FILE* file, int32_t* value);
