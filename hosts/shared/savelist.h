// SPDX-License-Identifier: GPL-3.0-or-later
// The save browser's list, the same in every edition: the saved games in a
// folder, the kept game first as "Continue", then the newest first, each with
// its name, when it was saved, the score so far and the screen it holds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/state.h"

class Host;

struct SavedGame {
    std::string name;   // the file's name in the folder, as LOAD takes it
    std::string title;  // what the list shows: the name, or "Continue" for the kept game
    bool kept = false;
    int64_t savedAt = 0;  // seconds since 1970
    uint32_t score = 0;
    uint8_t screen[kScreenCells] = {};  // column-major, as the game holds it
};

// Only files that LOAD would take and can reach by their name; never the
// half-written temporaries of a save.
std::vector<SavedGame> ListSavedGames(const GameState& g, const std::string& folder);
// "2026-12-07 04:30", in local time.
std::string SavedWhen(const SavedGame& s);
// A LOAD of it by name, answered on the screen as a typed one is; the kept game
// at the title is continued. False when the name does not fit a command.
bool OpenSavedGame(Host& host, const std::string& folder, const SavedGame& s);
