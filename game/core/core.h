// Game core: construction, the screen grid's text output, key dispatch and modes,
// title, instructions and the start of a new game, sound cues.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/state.h"

// Builds the game as the program starts: title mode, best score loaded,
// generator seeded from the tick count.
void InitGameState(GameState& g);

// Screen grid and text output.
void PutText(GameState& g, const char* text, int32_t column, int32_t row);
void ShowMessage(GameState& g, const char* text, int32_t line, int32_t literal);
void ClearScreen(GameState& g);
void EchoCommandLine(GameState& g);
void EchoName(GameState& g);
void BlinkTick(GameState& g);

// Key dispatch: returns 0 when the player chose to end the program.
int32_t HandleKey(GameState& g, uint32_t key, int32_t repeat);
void SetMode(GameState& g, uint32_t mode);

void ShowTitle(GameState& g);
void ShowInstructions(GameState& g);
void NewGame(GameState& g);

void PlayCue(GameState& g, int id, int32_t noStop);
void StopSound(GameState& g);
