// SPDX-License-Identifier: GPL-3.0-or-later
// The terminal's save browser, a screen of its own from L at the title: the saved
// games with their scores and times, the kept game first; the arrows choose,
// Enter loads, Esc goes back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/state.h"
#include "savelist.h"

class SaveScreen {
public:
    enum class Outcome { Stay, Back, Open };
    void Open(const GameState& g, const std::string& folder);
    bool Shown() const { return shown_; }
    Outcome Key(uint32_t vk);
    const SavedGame& Chosen() const { return saves_[static_cast<size_t>(at_)]; }
    const std::string& Folder() const { return folder_; }
    // The list drawn into the grid of `into`, over whatever it held.
    void Draw(GameState& into) const;

private:
    std::vector<SavedGame> saves_;
    std::string folder_;
    int at_ = 0;
    bool shown_ = false;
};
