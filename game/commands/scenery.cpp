// SPDX-License-Identifier: GPL-3.0-or-later
// Looking at (and trying to carry off) the castle's fixed furniture. None of it
// is an item: it exists only as map characters and as these replies.
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "commands/commands.h"
#include "commands/handlers.h"
#include "world/world.h"

namespace {

constexpr uint8_t kWineFlask = 0x21;
constexpr uint8_t kEyeGlasses = 0xEC;
constexpr uint8_t kKey = 0xE7;
constexpr uint8_t kBook = 0x16;
constexpr uint8_t kNecklace = 0x15;
constexpr uint8_t kLargeGem = 0xE9;

bool InRoom(const GameState& g, std::initializer_list<int32_t> rooms) {
    for (int32_t room : rooms) {
        if (g.currentRoom == room) return true;
    }
    return false;
}

bool LookAtAny(const GameState& g, std::initializer_list<const char*> nouns) {
    for (const char* noun : nouns) {
        if (IsLookAt(g, noun)) return true;
    }
    return false;
}

bool TakeAny(const GameState& g, std::initializer_list<const char*> nouns) {
    for (const char* noun : nouns) {
        if (IsGetTake(g, noun)) return true;
    }
    return false;
}

// The hidden items are told of while they still lie unseen where they start.
bool StillHidden(GameState& g, uint8_t glyph) {
    const ItemRecord* item = FindItemByGlyph(g, glyph);
    return item != nullptr && item->visible == 0;
}

// Furniture too heavy to carry; where there is none, the reply says so too.
void TooHeavy(GameState& g, const char* plural, bool here) {
    if (here) {
        Reply(g, {plural, "are too heavy!"});
    } else {
        Reply(g, {plural, "are too heavy!", "and I don't", "see any!"});
    }
}

void CourtyardWall(GameState& g) {
    Reply(g, {"Writing on the", "wall says..."});
    if (g.highScore == 0) {
        ShowMessage(g, " No high score", 3, 1);
        return;
    }
    char name[sizeof g.highScoreName + 1] = {};
    std::memcpy(name, g.highScoreName, sizeof g.highScoreName);
    ShowMessage(g, name, 3, 1);
    char score[16];
    std::snprintf(score, sizeof score, " %d", static_cast<int>(g.highScore));
    ShowMessage(g, score, 4, 1);
}

void LookAtStairs(GameState& g) {
    const bool up = g.exitUp >= 0;
    const bool down = g.exitDown >= 0;
    if (up && down) {
        Reply(g, {"The Staircase", "leads both", "up & Down."});
    } else if (up) {
        Reply(g, {"The Staircase", "leads up."});
    } else if (down) {
        Reply(g, {"The Staircase", "leads down."});
    } else if (NounIs(g, "STAIRS")) {
        Reply(g, {" I don't see", " any stairs!"});
    } else {
        Reply(g, {" I don't see", " a staircase!"});
    }
}

void Fountain(GameState& g) {
    if (IsLookAt(g, "FOUNTAIN")) {
        if (InRoom(g, {17})) {
            Reply(g, {"The fountain", "is filled", "with water.But", "you can't see", "In it."});
        } else {
            Reply(g, {" I don't see", " A fountain!"});
        }
    }
    if (LookAtAny(g, {"GARDEN", "GARDENS"})) {
        if (!InRoom(g, {32})) {
            Reply(g, {" I Don't see", " A Garden!"});
        } else if (StillHidden(g, kLargeGem)) {
            Reply(g, {" There is a ", " BIG Gem in", " the Garden", " Fountain!"});
        } else {
            Reply(g, {"The Garden", "Has A Fountain", "in the middle."});
        }
    }
    if (IsLookAt(g, "BALCONY")) {
        if (InRoom(g, {32})) {
            Reply(g, {"The balcony is", "made of stone."});
        } else {
            Reply(g, {" I don't see", " A Balcony!"});
        }
    }
}

void TableAndMirror(GameState& g) {
    if (IsLookAt(g, "TABLE")) {
        if (InRoom(g, {8})) {
            Reply(g, {" It's made of", " Stone."});
        } else if (InRoom(g, {78})) {
            Reply(g, {" It's covered", " with Blood!"});
        } else {
            Reply(g, {" I don't see", " a Table."});
        }
    }
    if (IsGetTake(g, "TABLE")) TooHeavy(g, "TABLES", InRoom(g, {8, 78}));

    if (IsLookAt(g, "MIRROR")) {
        if (InRoom(g, {66})) {
            Reply(g, {" It looks", " Magical!"});
        } else {
            Reply(g, {" I don't see", " A Mirror!"});
        }
    }
    if (IsGetTake(g, "MIRROR")) TooHeavy(g, "MIRRORS", InRoom(g, {66}));
    if (VerbIs(g, "MIRROR") && NounIs(g, "MIRROR") && InRoom(g, {66})) {
        Reply(g, {" The wicked", "witch never", "lived here!!"});
    }
}

void Beds(GameState& g) {
    if (IsLookAt(g, "BED")) {
        switch (g.currentRoom) {
        case 9:
        case 66: Reply(g, {" It's Old."}); break;
        case 36: Reply(g, {" It's Red."}); break;
        case 37: Reply(g, {" It's Blue."}); break;
        case 38: Reply(g, {" It's Purple."}); break;
        case 39: Reply(g, {" It's Yellow."}); break;
        default: Reply(g, {" I don't see", " a Bed."}); break;
        }
    }
    if (IsLookAt(g, "BEDS")) {
        switch (g.currentRoom) {
        case 9: Reply(g, {" It's Old."}); break;
        case 36: Reply(g, {" They're Red."}); break;
        case 37: Reply(g, {" They're Blue."}); break;
        case 38: Reply(g, {" It's Purple."}); break;
        case 39: Reply(g, {" It's Yellow."}); break;
        case 66: Reply(g, {" They're Old."}); break;
        default: Reply(g, {" I don't see", " any Beds."}); break;
        }
    }
    if (TakeAny(g, {"BED", "BEDS"})) TooHeavy(g, "BEDS", InRoom(g, {9, 36, 37, 38, 39, 66}));
}

void DesksAndShelves(GameState& g) {
    if (IsLookAt(g, "DESK")) {
        if (InRoom(g, {9}) && StillHidden(g, kWineFlask)) {
            Reply(g, {" There is a", " Wine Flask", " on top."});
        } else if (InRoom(g, {39}) && StillHidden(g, kEyeGlasses)) {
            Reply(g, {" There is a", " Pair of Eye", " Glasses on", " top."});
        } else if (InRoom(g, {55}) && StillHidden(g, kKey)) {
            Reply(g, {" There is a", " Key on top"});
        } else if (InRoom(g, {9, 39, 55})) {
            Reply(g, {" It's made", " of Wood."});
        } else {
            Reply(g, {" I don't see", " a desk!"});
        }
    }
    if (IsGetTake(g, "DESK")) TooHeavy(g, "DESKS", InRoom(g, {9, 39, 55}));

    if (LookAtAny(g, {"SHELF", "SHELVES"})) {
        if (InRoom(g, {57}) && StillHidden(g, kBook)) {
            Reply(g, {"There's a book", "on one."});
        } else if (InRoom(g, {10, 57, 58})) {
            Reply(g, {" They're made", " of wood."});
        } else {
            Reply(g, {" I don't see"});
        }
    }
    if (IsGetTake(g, "SHELF")) TooHeavy(g, "SHELFS", InRoom(g, {10, 57, 58}));
    if (IsGetTake(g, "SHELVES")) TooHeavy(g, "SHELVES", InRoom(g, {10, 57, 58}));
}

void ChainsThroneStatue(GameState& g) {
    if (IsLookAt(g, "CHAIN")) {
        if (InRoom(g, {78})) {
            Reply(g, {" It looks", " Magical!"});
        } else {
            Reply(g, {" I don't see", " a Chain!"});
        }
    }
    if (IsLookAt(g, "CHAINS")) {
        if (InRoom(g, {78})) {
            Reply(g, {" They look", " Magical!"});
        } else {
            Reply(g, {" I don't see", " any Chains!"});
        }
    }
    if (TakeAny(g, {"CHAIN", "CHAINS"}) && InRoom(g, {78})) {
        Reply(g, {" They're", " Connected to", " the wall."});
    }

    if (IsLookAt(g, "THRONE")) {
        if (InRoom(g, {13})) {
            Reply(g, {" The throne is", " made of stone."});
        } else {
            Reply(g, {" I don't see", " A throne!"});
        }
    }
    if (IsGetTake(g, "THRONE")) TooHeavy(g, "THRONES", InRoom(g, {13}));

    if (IsLookAt(g, "STATUE")) {
        if (!InRoom(g, {18})) {
            Reply(g, {" I don't see", " A Statue!"});
        } else if (StillHidden(g, kNecklace)) {
            Reply(g, {" The statue is", " wearing a", " Necklace"});
        } else {
            Reply(g, {" The Statue", " looks like", " The King!"});
        }
    }
    if (IsGetTake(g, "STATUE")) TooHeavy(g, "STATUES", InRoom(g, {18}));
}

}  // namespace

void LookAtWallsAndStairs(GameState& g) {
    if (LookAtAny(g, {"WALL", "WALLS"})) {
        if (InRoom(g, {0})) {
            CourtyardWall(g);
        } else {
            Reply(g, {"The WALLS", "are made of", "Gray stone."});
        }
    }
    if (LookAtAny(g, {"ARCHWAY", "ARCHWAYS"})) Reply(g, {"The ARCHWAYS", "are made of", "Gray stone."});
    if (IsLookAt(g, "ROOF")) Reply(g, {"The ROOFS", "are made of", "Gray stone."});
    if (IsLookAt(g, "CEILING")) Reply(g, {"The CEILINGS", "are made of", "Gray stone."});
    if (IsLookAt(g, "FLOOR")) Reply(g, {"The FLOORS", "are made of", "Gray stone."});

    // The maze and the secret room have something better to show than stone;
    // their reply comes last and so is the one left standing.
    const bool stonework = LookAtAny(g, {"WALL", "WALLS", "ARCHWAY", "ARCHWAYS", "ROOF", "CEILING", "FLOOR"});
    if (stonework && InRoom(g, {73})) Reply(g, {"The Wall Says:", "Quillamorne", "was Here!"});
    if (stonework && InRoom(g, {82})) Reply(g, {"The walls are", "many Colors!"});

    if (LookAtAny(g, {"STAIR", "STAIRS", "STAIRCASE"})) LookAtStairs(g);
}

void LookAtGate(GameState& g) {
    if (IsLookAt(g, "GATE") && InRoom(g, {0})) Reply(g, {" It looks", " very strong."});
}

void LookAtFurniture(GameState& g) {
    Fountain(g);
    TableAndMirror(g);
    Beds(g);
    DesksAndShelves(g);
    ChainsThroneStatue(g);
}

void LookAtDoor(GameState& g) {
    if (IsLookAt(g, "DOOR") && InRoom(g, {67, 81})) Reply(g, {" It looks", " very Strong."});
}

void LookAtBarrelsAndBlood(GameState& g) {
    if (IsLookAt(g, "BARREL")) Reply(g, {" It looks", " Old!"});
    if (IsLookAt(g, "BARRELS")) Reply(g, {" They look", " Old!"});
    if (TakeAny(g, {"BARREL", "BARRELS"})) TooHeavy(g, "BARRELS", InRoom(g, {67}));
    if (IsGetTake(g, "BLOOD")) Reply(g, {"Yuc!!"});
}
