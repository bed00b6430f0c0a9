// SPDX-License-Identifier: GPL-3.0-or-later
// The tail of the command chain: verbs that use carried items or act on creatures.
#include "commands/actions.h"

#include "commands/commands.h"
#include "core/core.h"
#include "world/world.h"

namespace actions {

void Reply(GameState& g, std::initializer_list<const char*> lines) { ReplyFrom(g, 0, lines); }

void ReplyFrom(GameState& g, int32_t firstLine, std::initializer_list<const char*> lines) {
    int32_t line = firstLine;
    for (const char* text : lines) {
        if (text) ShowMessage(g, text, line, 0);
        ++line;
    }
}

bool IsCarried(GameState& g, uint8_t glyph) {
    const ItemRecord* item = FindItemByGlyph(g, glyph);
    return item && item->carried;
}

void RemoveMonster(GameState& g, MonsterRecord& monster) {
    monster.present = 0;
    // A loaded game could hold any coordinates; only cells of the map are redrawn.
    if (monster.x < 0 || monster.x >= kMapColumns || monster.y < 0 || monster.y >= kMapRows) return;
    // An item in a guarded doorway shows once the guard is gone, so the man picks
    // it up instead of walking over it unseen.
    Cell(g, monster.x, monster.y) = ShownBeneath(g, monster.x, monster.y);
}

}  // namespace actions

// Every handler is tried, as each may answer: the last reply is the one that stands.
void TryItemAndCreatureVerbs(GameState& g) {
    using namespace actions;
    TryDropThrow(g);
    TryLookAtItem(g);
    TryWear(g);
    TryWave(g);
    TryShow(g);
    TryPlay(g);
    TryRead(g);
    TryDrink(g);
    TryPour(g);
    TryRubClean(g);
    TryLookAtMonster(g);
    TrySay(g);
    TryJump(g);
    TryClimb(g);
    TryEat(g);
    TryKill(g);
    TryPet(g);
}
