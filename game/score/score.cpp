// SPDX-License-Identifier: GPL-3.0-or-later
// The end of a game: the score, the summary screen and the new-best-score screen.
#include <cstdio>

#include "core/core.h"
#include "score/score.h"

namespace {

constexpr uint32_t kTreasurePoints = 50;
constexpr uint32_t kMonsterPoints = 100;
constexpr uint32_t kEscapePoints = 100;

// A treasure laid down in the courtyard counts as much as one in the man's hands.
bool TreasureCounts(const ItemRecord& item) { return item.treasure != 0 && (item.carried != 0 || item.room == 0); }

// Guardians are only sent away, never killed for points.
bool KillCounts(const MonsterRecord& monster) { return monster.strength < 0 && monster.guardian == 0; }

// The glyphs on every second column, centred on the screen; NONE when there are none.
void PutGlyphRow(GameState& g, const uint8_t* glyphs, int count, int row) {
    if (count == 0) {
        PutText(g, "                 NONE", 0, row);
        return;
    }
    for (int i = 0; i < count; ++i) Cell(g, 20 - count + 2 * i, row) = glyphs[i];
}

}  // namespace

uint32_t ComputeScore(const GameState& g) {
    uint32_t score = 0;
    for (const ItemRecord& item : g.items) score += TreasureCounts(item) ? kTreasurePoints : 0;
    for (const MonsterRecord& monster : g.monsters) score += KillCounts(monster) ? kMonsterPoints : 0;
    if (g.escaped != 0) score += kEscapePoints;
    return score;
}

void ShowSummary(GameState& g) {
    ClearScreen(g);
    if (g.escaped != 0) {
        PutText(g, "      You've Escaped the Castle!", 0, 1);
    } else if (g.strength >= 0) {
        PutText(g, "        You've ended the game!", 0, 1);
    } else {
        PutText(g, "     You're have failed to Escape!", 0, 1);
    }

    PutText(g, " You have collected these Treasues...", 0, 4);
    uint8_t glyphs[kItemCount];
    int n = 0;
    for (const ItemRecord& item : g.items) {
        if (TreasureCounts(item)) glyphs[n++] = item.glyph;
    }
    PutGlyphRow(g, glyphs, n, 6);

    PutText(g, " You have killed these Monsters......", 0, 9);
    int m = 0;
    for (const MonsterRecord& monster : g.monsters) {
        if (KillCounts(monster)) glyphs[m++] = monster.glyph;
    }
    PutGlyphRow(g, glyphs, m, 11);

    const uint32_t score = ComputeScore(g);
    char line[48];
    std::snprintf(line, sizeof line, "           Your Score: %u", score);
    PutText(g, line, 0, 19);
    if (score == kPerfectScore) {
        PutText(g, "               PERFECT!", 0, 20);
        PlayCue(g, CUE_PERFECT, 0);
    } else {
        PutText(g, "          (1550 is perfect)", 0, 20);
    }
    PutText(g, "          - Press any key -", 0, 24);
}

void ShowNameEntry(GameState& g) {
    ClearScreen(g);
    PutText(g, "     You have made the High Score!", 0, 1);
    char line[48];
    std::snprintf(line, sizeof line, "                %u", ComputeScore(g));
    PutText(g, line, 0, 4);
    PutText(g, "  Enter Your Name - ", 0, 15);
}
