// SPDX-License-Identifier: GPL-3.0-or-later
// Looking at creatures, and the verbs that only earn a remark.
#include "commands/actions.h"
#include "commands/commands.h"
#include "core/core.h"

namespace actions {
namespace {

constexpr int32_t kBalcony = 32;

bool VerbWithNoun(const GameState& g, const char* verb) { return VerbIs(g, verb) && NounIs(g, "*"); }

}  // namespace

void TryLookAtMonster(GameState& g) {
    if (!IsLookAt(g, "*")) return;
    const MonsterRecord* monster = FindMonsterHereByName(g, g.noun);
    if (!monster) return;
    if (monster->glyph == GLYPH_FAIRY) {
        Reply(g, {" The FAIRY", " looks pretty", " but unhappy."});
    } else if (monster->strength < 0) {
        Reply(g, {"The *", "looks Dead!"});
    } else {
        Reply(g, {"The *", "looks Mean!"});
    }
}

void TrySay(GameState& g) {
    if (VerbWithNoun(g, "SAY")) Reply(g, {"\"*\""});
}

void TryJump(GameState& g) {
    if (!VerbWithNoun(g, "JUMP") && !VerbWithNoun(g, "LEEP")) return;
    if (g.currentRoom == kBalcony && NounIs(g, "DOWN")) {
        Reply(g, {" I don't think", " it's safe to", " Jump here!"});
    } else {
        Reply(g, {"I Jumped.", nullptr, "This is boring."});
    }
}

void TryClimb(GameState& g) {
    if (VerbWithNoun(g, "CLIMB")) Reply(g, {"I don't need", "to climb."});
}

void TryEat(GameState& g) {
    if (VerbWithNoun(g, "EAT")) Reply(g, {" I'm not", " hungry!"});
}

void TryKill(GameState& g) {
    if (!VerbWithNoun(g, "KILL")) return;
    if (FindMonsterHereByName(g, g.noun)) {
        Reply(g, {"Do it yourself!"});
    } else {
        Reply(g, {"I can't kill", "a *!"});
    }
}

void TryPet(GameState& g) {
    if (!VerbWithNoun(g, "PET")) return;
    if (FindMonsterHereByName(g, g.noun)) {
        Reply(g, {"I don't think", "that would be", "advisable!"});
    } else {
        Reply(g, {"I can't pet", "a *!"});
    }
}

}  // namespace actions
