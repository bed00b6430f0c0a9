// SPDX-License-Identifier: GPL-3.0-or-later
#include "savescreen.h"

#include <cstdio>

#include "core/core.h"
#include "host.h"

namespace {

constexpr int kFirstRow = 4;
constexpr int kRowsShown = 17;
constexpr uint32_t kUp = 38, kDown = 40, kEnter = 13;

}  // namespace

void SaveScreen::Open(const GameState& g, const std::string& folder) {
    folder_ = folder;
    saves_ = ListSavedGames(g, folder);
    at_ = 0;
    shown_ = true;
}

SaveScreen::Outcome SaveScreen::Key(uint32_t vk) {
    const int count = static_cast<int>(saves_.size());
    if (vk == kUp && at_ > 0) --at_;
    if (vk == kDown && at_ + 1 < count) ++at_;
    if (vk == VK_ESCAPE || (vk == kEnter && count > 0)) {
        shown_ = false;
        return vk == VK_ESCAPE ? Outcome::Back : Outcome::Open;
    }
    return Outcome::Stay;
}

void SaveScreen::Draw(GameState& into) const {
    ClearScreen(into);
    into.aboutShown = 0;
    // Row 0 stays blank, so a terminal of 24 rows shows all of it.
    PutText(into, "  Load a saved game", 0, 1);
    PutText(into, "  Name           Score Saved", 0, 3);
    if (saves_.empty()) PutText(into, "  No saved games yet.", 0, kFirstRow);
    const int first = at_ < kRowsShown ? 0 : at_ - kRowsShown + 1;
    for (int i = first; i < static_cast<int>(saves_.size()) && i < first + kRowsShown; ++i) {
        const SavedGame& s = saves_[static_cast<size_t>(i)];
        char line[64];
        std::snprintf(line, sizeof line, "%c %-14.14s %5u %.16s", i == at_ ? '>' : ' ', s.title.c_str(), s.score,
                      SavedWhen(s).c_str());
        PutText(into, line, 0, kFirstRow + i - first);
    }
    PutText(into, "  Arrows choose, Enter loads, Esc back", 0, 23);
}
