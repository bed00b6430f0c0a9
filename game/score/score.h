// End of a game, the score and the stored best score.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/state.h"
#include "ports.h"

uint32_t ComputeScore(const GameState& g);
void ShowSummary(GameState& g);
void ShowNameEntry(GameState& g);

void LoadHighScore(GameState& g);
// 0 when the store could not keep it; the player is told.
int SaveHighScore(GameState& g);
// The stored best score; QueryHighScore also closes the key.
uint32_t ReadScore(StoreKey key);
uint32_t QueryHighScore(StoreKey key);
int QueryHighScoreName(char* out, uint32_t outSize, StoreKey key);
int StoreHighScoreValue(StoreKey key, uint32_t score);
