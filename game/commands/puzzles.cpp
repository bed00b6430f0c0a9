// SPDX-License-Identifier: GPL-3.0-or-later
// Waving, showing and playing: the gate, the secret passages, the vampire and the fairies.
#include <cstdio>

#include "commands/actions.h"
#include "commands/commands.h"
#include "core/core.h"
#include "world/world.h"

namespace actions {
namespace {

constexpr int32_t kCourtyard = 0;
constexpr int32_t kSorcerersQuarters = 66;
constexpr int32_t kWindingPassage = 76;

bool VerbWithNoun(const GameState& g, const char* verb) { return VerbIs(g, verb) && NounIs(g, "*"); }

void SecretPassageLines(GameState& g) {
    Reply(g, {"As you wave the", "WAND....", nullptr, "  There is a"});
    ShowMessage(g, "*Puff* of smoke", 4, 1);  // the asterisks are part of the word here
    ReplyFrom(g, 5, {"Revealing a", "Secret passage!"});
}

void NothingHappens(GameState& g, const char* waved) {
    Reply(g, {"As you wave the", waved, nullptr, "  Nothing", "  Happens!"});
}

// Behind the mirror: a corridor along rows 8 and 9 to the east edge.
void OpenMirrorPassage(GameState& g) {
    for (int y = 6; y <= 11; ++y) MapCell(g, 18, y) = ' ';
    MapCell(g, 19, 8) = ' ';
    MapCell(g, 19, 9) = ' ';
    for (int x = 20; x <= 23; ++x) {
        MapCell(g, x, 7) = kWall;
        MapCell(g, x, 10) = kWall;
    }
}

void OpenSouthWall(GameState& g) {
    MapCell(g, 10, 17) = 0xDD;
    MapCell(g, 11, 17) = ' ';
    MapCell(g, 12, 17) = ' ';
    MapCell(g, 13, 17) = 0xDE;
}

void BanishVampire(GameState& g, MonsterRecord& vampire) {
    Reply(g, {"The vampire", "sees the holy", "cross and", "disappears!"});
    RemoveMonster(g, vampire);
}

bool IsVampire(const MonsterRecord* monster) { return monster && monster->glyph == GLYPH_VAMPIRE; }

}  // namespace

void TryWave(GameState& g) {
    if (!VerbWithNoun(g, "WAVE")) return;
    const ItemRecord* item = FindItemByName(g, g.noun);
    if (!item || !item->carried) {
        Reply(g, {"You don't have", "a *!"});
        return;
    }
    if (item->glyph == GLYPH_WAND) {
        if (g.currentRoom == kSorcerersQuarters) {
            SecretPassageLines(g);
            OpenMirrorPassage(g);
            RedrawRoom(g);
        } else if (g.currentRoom == kWindingPassage && MapCell(g, 11, 17) != ' ') {
            SecretPassageLines(g);
            OpenSouthWall(g);
            RedrawRoom(g);
        } else {
            NothingHappens(g, "WAND....");
        }
        return;
    }
    if (item->glyph == GLYPH_SCEPTER) {
        if (g.currentRoom == kCourtyard) {
            Reply(g, {"As you wave the", "scepter....", nullptr, "The Gate opens", "by itself!"});
            for (int x = 10; x <= 13; ++x) MapCell(g, x, 17) = ' ';
            RedrawRoom(g);
        } else {
            NothingHappens(g, "SCEPTER....");
        }
        return;
    }
    MonsterRecord* monster = MonsterInRoom(g, g.currentRoom);
    if (item->glyph == GLYPH_CROSS && IsVampire(monster)) {
        BanishVampire(g, *monster);
    } else {
        Reply(g, {"You look awful", "Silly waving", "that *"});
    }
}

void TryShow(GameState& g) {
    if (!VerbWithNoun(g, "SHOW")) return;
    const ItemRecord* item = FindItemByName(g, g.noun);
    MonsterRecord* monster = MonsterInRoom(g, g.currentRoom);
    if (!item || !item->carried) {
        Reply(g, {"You don't have", "a *!"});
    } else if (!monster) {
        Reply(g, {"There's not", "anyone to", "show it to!"});
    } else if (IsVampire(monster) && item->glyph == GLYPH_CROSS) {
        BanishVampire(g, *monster);
    } else {
        char line[32];
        std::snprintf(line, sizeof line, "The %s", ShortName(monster->name));
        ShowMessage(g, line, 0, 1);
        ReplyFrom(g, 1, {"looks at you", "Funny!"});
    }
}

void TryPlay(GameState& g) {
    if (!VerbWithNoun(g, "PLAY")) return;
    const ItemRecord* item = FindItemByName(g, g.noun);
    if (!item) {
        Reply(g, {"You don't have", "a *!"});
    } else if (!item->carried) {
        Reply(g, {" You don't", " have it!"});
    } else if (item->glyph == GLYPH_HARP) {
        Reply(g, {"The Harp makes", "Beautiful", "Music!"});
        MonsterRecord* monster = MonsterInRoom(g, g.currentRoom);
        if (monster && monster->glyph == GLYPH_FAIRY) {
            ReplyFrom(g, 3, {"The fairy", "likes the music", "and leaves!"});
            RemoveMonster(g, *monster);
        }
        PlayCue(g, CUE_HARP, 0);
    } else {
        Reply(g, {"The *", "makes Horrible", "music!!"});
    }
}

}  // namespace actions
