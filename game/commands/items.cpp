// SPDX-License-Identifier: GPL-3.0-or-later
// Putting items down, looking at them, wearing, reading, drinking, pouring, rubbing.
#include "commands/actions.h"
#include "commands/commands.h"
#include "core/core.h"
#include "world/world.h"

namespace actions {
namespace {

// Neighbour offsets by facing: north, then clockwise.
constexpr int kFacingDx[8] = {0, 1, 1, 1, 0, -1, -1, -1};
constexpr int kFacingDy[8] = {-1, -1, 0, 1, 1, 1, 0, -1};

bool VerbWithNoun(const GameState& g, const char* verb) { return VerbIs(g, verb) && NounIs(g, "*"); }

void DescribeItem(GameState& g, const ItemRecord& item) {
    switch (item.glyph) {
    case GLYPH_LAMP: Reply(g, {" It's lit", " Magically"}); break;
    case GLYPH_HARP:
    case GLYPH_CROSS:
    case GLYPH_HOURGLASS:
    case GLYPH_GOBLET:
    case GLYPH_CROWN: Reply(g, {" It's made of", " Gold!"}); break;
    case GLYPH_NECKLACE: Reply(g, {" On the back", " it says:", nullptr, "Protection from", "Traps."}); break;
    case GLYPH_BOOK: Reply(g, {" It is titled", "  `The Gate'"}); break;
    case GLYPH_WAND: Reply(g, {" It looks", " Magical!"}); break;
    case GLYPH_SWORD: Reply(g, {" It looks", " Sharp!"}); break;
    case GLYPH_HELMET: Reply(g, {" It looks", " Tough!"}); break;
    case GLYPH_KEY: Reply(g, {" It looks Old!"}); break;
    case GLYPH_GLASSES: Reply(g, {" They're", " Bifocals"}); break;
    case GLYPH_BARS:
    case GLYPH_RUBYS: Reply(g, {" They look", " Expensive!"}); break;
    case GLYPH_DIAMOND:
    case GLYPH_FIGURINE:
    case GLYPH_SCEPTER:
    case GLYPH_GEM:
    case GLYPH_GOLDBAR: Reply(g, {" It looks", " Expensive!"}); break;
    case GLYPH_FLASK:
        if (g.flaskHasWater) {
            Reply(g, {" It's filled", " with water."});
        } else {
            Reply(g, {" It's empty."});
        }
        break;
    case GLYPH_BALL:
        Reply(g, {"In the Cyrstal", "Ball.....", nullptr, " You see a man", "in a winding", "passage,waving",
                  "a Wand."});
        break;
    default: break;
    }
}

}  // namespace

void TryDropThrow(GameState& g) {
    if (!VerbWithNoun(g, "DROP") && !VerbWithNoun(g, "THROW")) return;
    ItemRecord* item = FindItemByName(g, g.noun);
    if (!item || !item->carried) {
        Reply(g, {"You don't have", "a *"});
        return;
    }
    // Only the neighbour cell: a throw is no further than a drop. Off the map is
    // as much in the way as a wall.
    bool free = false;
    int x = 0;
    int y = 0;
    if (g.facing >= 0 && g.facing < 8) {
        x = g.playerColumn + kFacingDx[g.facing];
        y = g.playerRow + kFacingDy[g.facing];
        free = x >= 0 && x < kMapColumns && y >= 0 && y < kMapRows && CellAt(g, x, y) == ' ';
    }
    if (!free) {
        Reply(g, {" Something is", " in the way!"});
        return;
    }
    Cell(g, x, y) = item->glyph;
    item->room = g.currentRoom;
    item->x = x;
    item->y = y;
    item->visible = 1;
    item->carried = 0;
    Reply(g, {" Done."});
    PlayCue(g, CUE_DROP, 0);
}

void TryLookAtItem(GameState& g) {
    if (!IsLookAt(g, "*")) return;
    const ItemRecord* item = FindItemByName(g, g.noun);
    if (!item) return;
    if (!item->carried) {
        Reply(g, {"You Don't", "Have it!"});
        return;
    }
    DescribeItem(g, *item);
}

void TryWear(GameState& g) {
    if (!VerbWithNoun(g, "WEAR")) return;
    const ItemRecord* item = FindItemByName(g, g.noun);
    if (!item) {
        Reply(g, {"You don't have", "a *!"});
    } else if (!item->carried) {
        Reply(g, {" You don't", " have it!"});
    } else if (item->glyph == GLYPH_NECKLACE || item->glyph == GLYPH_HELMET) {
        Reply(g, {"Ok.", "I'm wearing it."});
    } else if (item->glyph == GLYPH_GLASSES) {
        Reply(g, {" Ok.", " I'm wearing", " them."});
    } else if (item->glyph == GLYPH_CROWN) {
        Reply(g, {" The crown is", " too Heavy!"});
    } else {
        Reply(g, {"That could be", "Difficult!"});
    }
}

void TryRead(GameState& g) {
    if (!VerbWithNoun(g, "READ")) return;
    if (!NounIs(g, "BOOK")) {
        Reply(g, {" You can't", " read That!"});
    } else if (!IsCarried(g, GLYPH_BOOK)) {
        Reply(g, {" You don't", " have a book!"});
    } else if (!IsCarried(g, GLYPH_GLASSES)) {
        Reply(g, {" You can't see", " well enough.", " It's all", " Blurry."});
    } else {
        Reply(g, {"The book reads:", nullptr, "  Wave Scepter"});
    }
}

void TryDrink(GameState& g) {
    if (!VerbWithNoun(g, "DRINK")) return;
    if (!NounIs(g, "WATER") || !IsCarried(g, GLYPH_FLASK) || !g.flaskHasWater) {
        Reply(g, {"You don't have", "any *!"});
        return;
    }
    // The fountain's water heals only once a game.
    if (!g.waterDrunk) {
        Reply(g, {"That was good!", "I feel much", "better now!"});
        g.strength = 100;
        g.waterDrunk = 1;
    } else {
        Reply(g, {"That was good."});
    }
    g.flaskHasWater = 0;
}

void TryPour(GameState& g) {
    if (!VerbWithNoun(g, "POUR")) return;
    if (!NounIs(g, "WATER")) {
        Reply(g, {" You don't", " have any."});
        return;
    }
    if (!IsCarried(g, GLYPH_FLASK) || !g.flaskHasWater) {
        Reply(g, {"You don't", "have any."});
        return;
    }
    g.flaskHasWater = 0;
    Reply(g, {"You pour the", "water & it", "spills on", "the ground."});
    if (IsCarried(g, GLYPH_GOBLET)) ReplyFrom(g, 4, {"The goblet had", "a hole in it!"});
}

void TryRubClean(GameState& g) {
    if (!VerbWithNoun(g, "RUB") && !VerbWithNoun(g, "CLEAN")) return;
    const ItemRecord* item = FindItemByName(g, g.noun);
    if (!item || !item->carried) {
        Reply(g, {"You don't have", "a *!"});
    } else if (item->glyph == GLYPH_LAMP) {
        Reply(g, {" There's no", " Genii in this", " Lamp!"});
    } else {
        Reply(g, {"The *", "is cleaner now."});
    }
}

}  // namespace actions
