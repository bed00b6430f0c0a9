// SPDX-License-Identifier: GPL-3.0-or-later
// Every scenery reply, the gate, the doors' refusals, water and wine, barrels,
// blood and the GET refusals, each typed by the player in the room it names.
#include <cstdio>
#include <string>
#include <vector>

#include "command_test.h"

namespace {

// Item table indices of the things these cases carry or find.
enum Item {
    kLamp = 0,
    kNecklace = 2,
    kBook = 3,
    kKey = 6,
    kGlasses = 7,
    kFlask = 9,
    kGem = 17,
};

struct Case {
    int room;
    std::vector<int> carried;  // taken before the command (a taken item is visible)
    const char* command;
    std::vector<std::string> reply;  // empty: no reply at all, the What??? ending
};

std::vector<std::string> Stone(const char* head) { return {head, "are made of", "Gray stone."}; }
std::vector<std::string> CantSee(const std::string& noun) {
    return {"I can't see", "a " + noun + ",", "and I don't", "have a", noun + "!"};
}
std::vector<std::string> Heavy(const char* plural) { return {plural, "are too heavy!"}; }
std::vector<std::string> HeavyNone(const char* plural) {
    return {plural, "are too heavy!", "and I don't", "see any!"};
}
const std::vector<std::string> kMaze = {"The Wall Says:", "Quillamorne", "was Here!"};
const std::vector<std::string> kSecret = {"The walls are", "many Colors!"};

const std::vector<Case> kCases = {
    // Walls, archways, roofs, ceilings, floors.
    {5, {}, "LOOK WALL", Stone("The WALLS")},
    {12, {}, "SEARCH WALLS", Stone("The WALLS")},
    {3, {}, "LOOK ARCHWAY", Stone("The ARCHWAYS")},
    {0, {}, "LOOK ARCHWAYS", Stone("The ARCHWAYS")},
    {40, {}, "LOOK ROOF", Stone("The ROOFS")},
    {0, {}, "LOOK CEILING", Stone("The CEILINGS")},
    {1, {}, "SEARCH FLOOR", Stone("The FLOORS")},
    {0, {}, "LOOK FLOOR", Stone("The FLOORS")},
    // The maze and the secret room: their reply is the one left standing.
    {73, {}, "LOOK WALL", kMaze},
    {73, {}, "LOOK WALLS", kMaze},
    {73, {}, "LOOK ARCHWAY", kMaze},
    {73, {}, "LOOK ARCHWAYS", kMaze},
    {73, {}, "LOOK ROOF", kMaze},
    {73, {}, "SEARCH CEILING", kMaze},
    {73, {}, "EXAMINE FLOOR", kMaze},
    {82, {}, "LOOK FLOOR", kSecret},
    {82, {}, "LOOK WALL", kSecret},
    {82, {}, "LOOK ARCHWAYS", kSecret},
    {82, {}, "LOOK ROOF", kSecret},
    {82, {}, "LOOK CEILING", kSecret},
    {73, {}, "LOOK STAIRS", {" I don't see", " any stairs!"}},
    // Stairs, by the room's exits.
    {3, {}, "LOOK STAIRS", {"The Staircase", "leads up."}},
    {10, {}, "LOOK STAIR", {"The Staircase", "leads down."}},
    {41, {}, "LOOK STAIRCASE", {"The Staircase", "leads both", "up & Down."}},
    {0, {}, "LOOK STAIRS", {" I don't see", " any stairs!"}},
    {0, {}, "LOOK STAIR", {" I don't see", " a staircase!"}},
    {0, {}, "LOOK STAIRCASE", {" I don't see", " a staircase!"}},
    // The gate.
    {0, {}, "LOOK GATE", {" It looks", " very strong."}},
    {1, {}, "LOOK GATE", CantSee("GATE")},
    {0, {kKey}, "OPEN GATE", {" The Gate", " is locked", " Magically."}},
    {0, {kKey}, "UNLOCK GATE", {" The Gate", " is locked", " Magically."}},
    {0, {}, "OPEN GATE", {" You don't", " have a Key!"}},
    {5, {kKey}, "UNLOCK GATE", {" I don't see", " a Gate!"}},
    {0, {kKey}, "CLOSE GATE", {" The Gate", " is already", " locked!"}},
    {0, {kKey}, "LOCK GATE", {" The Gate", " is already", " locked!"}},
    {0, {}, "LOCK GATE", {" You don't", " have a Key!"}},
    {2, {}, "CLOSE GATE", {" I don't see", " a Gate!"}},
    // Fountain, garden, balcony.
    {17, {}, "LOOK FOUNTAIN", {"The fountain", "is filled", "with water.But", "you can't see", "In it."}},
    {16, {}, "LOOK FOUNTAIN", {" I don't see", " A fountain!"}},
    {32, {}, "LOOK GARDEN", {" There is a ", " BIG Gem in", " the Garden", " Fountain!"}},
    {32, {}, "EXAMINE GARDEN", {" There is a ", " BIG Gem in", " the Garden", " Fountain!"}},
    {32, {kGem}, "LOOK GARDENS", {"The Garden", "Has A Fountain", "in the middle."}},
    {17, {}, "LOOK GARDEN", {" I Don't see", " A Garden!"}},
    {32, {}, "LOOK BALCONY", {"The balcony is", "made of stone."}},
    {0, {}, "SEARCH BALCONY", {" I don't see", " A Balcony!"}},
    // Tables and the mirror.
    {8, {}, "LOOK TABLE", {" It's made of", " Stone."}},
    {78, {}, "LOOK TABLE", {" It's covered", " with Blood!"}},
    {9, {}, "LOOK TABLE", {" I don't see", " a Table."}},
    {8, {}, "TAKE TABLE", Heavy("TABLES")},
    {78, {}, "GET TABLE", Heavy("TABLES")},
    {0, {}, "GET TABLE", HeavyNone("TABLES")},
    {66, {}, "LOOK MIRROR", {" It looks", " Magical!"}},
    {65, {}, "LOOK MIRROR", {" I don't see", " A Mirror!"}},
    {66, {}, "TAKE MIRROR", Heavy("MIRRORS")},
    {65, {}, "GET MIRROR", HeavyNone("MIRRORS")},
    {66, {}, "MIRROR MIRROR", {" The wicked", "witch never", "lived here!!"}},
    {65, {}, "MIRROR MIRROR", {}},
    // Beds.
    {9, {}, "LOOK BED", {" It's Old."}},
    {66, {}, "LOOK BED", {" It's Old."}},
    {36, {}, "LOOK BED", {" It's Red."}},
    {37, {}, "LOOK BED", {" It's Blue."}},
    {38, {}, "LOOK BED", {" It's Purple."}},
    {39, {}, "LOOK BED", {" It's Yellow."}},
    {30, {}, "LOOK BED", {" I don't see", " a Bed."}},
    {9, {}, "LOOK BEDS", {" It's Old."}},
    {36, {}, "LOOK BEDS", {" They're Red."}},
    {37, {}, "LOOK BEDS", {" They're Blue."}},
    {38, {}, "LOOK BEDS", {" It's Purple."}},
    {39, {}, "LOOK BEDS", {" It's Yellow."}},
    {66, {}, "LOOK BEDS", {" They're Old."}},
    {29, {}, "LOOK BEDS", {" I don't see", " any Beds."}},
    {9, {}, "TAKE BED", Heavy("BEDS")},
    {36, {}, "GET BEDS", Heavy("BEDS")},
    {37, {}, "GET BED", Heavy("BEDS")},
    {38, {}, "GET BED", Heavy("BEDS")},
    {39, {}, "TAKE BEDS", Heavy("BEDS")},
    {66, {}, "GET BED", Heavy("BEDS")},
    {28, {}, "GET BED", HeavyNone("BEDS")},
    // Desks, and what lies on them while it lies unseen.
    {9, {}, "LOOK DESK", {" There is a", " Wine Flask", " on top."}},
    {39, {}, "LOOK DESK", {" There is a", " Pair of Eye", " Glasses on", " top."}},
    {55, {}, "LOOK DESK", {" There is a", " Key on top"}},
    {9, {kFlask}, "LOOK DESK", {" It's made", " of Wood."}},
    {39, {kGlasses}, "SEARCH DESK", {" It's made", " of Wood."}},
    {55, {kKey}, "EXAMINE DESK", {" It's made", " of Wood."}},
    {55, {kFlask}, "LOOK DESK", {" There is a", " Key on top"}},
    {54, {}, "LOOK DESK", {" I don't see", " a desk!"}},
    {9, {}, "TAKE DESK", Heavy("DESKS")},
    {39, {}, "GET DESK", Heavy("DESKS")},
    {55, {}, "GET DESK", Heavy("DESKS")},
    {56, {}, "GET DESK", HeavyNone("DESKS")},
    // Shelves.
    {10, {}, "LOOK SHELF", {" They're made", " of wood."}},
    {58, {}, "LOOK SHELVES", {" They're made", " of wood."}},
    {57, {}, "LOOK SHELVES", {"There's a book", "on one."}},
    {57, {}, "SEARCH SHELF", {"There's a book", "on one."}},
    {57, {kBook}, "LOOK SHELF", {" They're made", " of wood."}},
    {20, {}, "LOOK SHELVES", {" I don't see"}},
    {10, {}, "TAKE SHELF", Heavy("SHELFS")},
    {57, {}, "TAKE SHELF", Heavy("SHELFS")},
    {58, {}, "GET SHELF", Heavy("SHELFS")},
    {20, {}, "GET SHELF", HeavyNone("SHELFS")},
    {10, {}, "GET SHELVES", Heavy("SHELVES")},
    {57, {}, "TAKE SHELVES", Heavy("SHELVES")},
    {58, {}, "TAKE SHELVES", Heavy("SHELVES")},
    {11, {}, "GET SHELVES", HeavyNone("SHELVES")},
    // Chains, throne, statue.
    {78, {}, "LOOK CHAIN", {" It looks", " Magical!"}},
    {79, {}, "LOOK CHAIN", {" I don't see", " a Chain!"}},
    {78, {}, "LOOK CHAINS", {" They look", " Magical!"}},
    {79, {}, "EXAMINE CHAINS", {" I don't see", " any Chains!"}},
    {78, {}, "GET CHAIN", {" They're", " Connected to", " the wall."}},
    {78, {}, "TAKE CHAINS", {" They're", " Connected to", " the wall."}},
    {79, {}, "GET CHAIN", {"Impossible!!"}},
    {13, {}, "LOOK THRONE", {" The throne is", " made of stone."}},
    {12, {}, "LOOK THRONE", {" I don't see", " A throne!"}},
    {13, {}, "TAKE THRONE", Heavy("THRONES")},
    {12, {}, "GET THRONE", HeavyNone("THRONES")},
    {18, {}, "LOOK STATUE", {" The statue is", " wearing a", " Necklace"}},
    {18, {kNecklace}, "LOOK STATUE", {" The Statue", " looks like", " The King!"}},
    {19, {}, "LOOK STATUE", {" I don't see", " A Statue!"}},
    {18, {}, "GET STATUE", Heavy("STATUES")},
    {19, {}, "TAKE STATUE", HeavyNone("STATUES")},
    // Doors: looking, and the refusals that need no reach.
    {67, {}, "LOOK DOOR", {" It looks", " very Strong."}},
    {81, {}, "SEARCH DOOR", {" It looks", " very Strong."}},
    {80, {}, "LOOK DOOR", CantSee("DOOR")},
    {67, {}, "OPEN DOOR", {" You don't", " have a key!"}},
    {81, {}, "UNLOCK DOOR", {" You don't", " have a key!"}},
    {67, {}, "LOCK DOOR", {" You don't", " have a key!"}},
    {81, {}, "CLOSE DOOR", {" You don't", " have a key!"}},
    {80, {kKey}, "OPEN DOOR", {}},
    {0, {kKey}, "LOCK DOOR", {}},
    // Water and wine.
    {17, {}, "FILL FLASK", {"You don't have", "a Container!"}},
    {17, {}, "GET WATER", {"You don't have", "a Container!"}},
    {17, {}, "TAKE WATER", {"You don't have", "a Container!"}},
    {16, {kFlask}, "GET WATER", {"Impossible!!"}},
    {16, {kFlask}, "FILL FLASK", {}},
    {67, {}, "FILL FLASK", {" The Barrels", " are empty."}},
    {67, {kFlask}, "GET WINE", {" The Barrels", " are empty."}},
    {67, {}, "TAKE WINE", {" The Barrels", " are empty."}},
    {10, {kFlask}, "GET WINE", {"Impossible!!"}},
    // Barrels and blood.
    {0, {}, "LOOK BARREL", {" It looks", " Old!"}},
    {67, {}, "EXAMINE BARREL", {" It looks", " Old!"}},
    {5, {}, "LOOK BARRELS", {" They look", " Old!"}},
    {67, {}, "TAKE BARREL", Heavy("BARRELS")},
    {67, {}, "GET BARRELS", Heavy("BARRELS")},
    {10, {}, "GET BARREL", HeavyNone("BARRELS")},
    {78, {}, "TAKE BLOOD", {"Yuc!!"}},
    {0, {}, "GET BLOOD", {"Yuc!!"}},
    {0, {}, "LOOK BLOOD", CantSee("BLOOD")},
    // GET and TAKE of an item that is not a hidden one within reach.
    {16, {}, "GET LAMP", {" Get it", " Yourself!"}},
    {0, {}, "TAKE LAMP", {" I don't see", " a LAMP"}},
    {0, {kLamp}, "GET LAMP", {" You already", " have it!"}},
    {32, {}, "GET GEM", {" I don't see", " a GEM"}},
    {55, {kKey}, "TAKE KEY", {" You already", " have it!"}},
    {54, {}, "GET KEY", {" I don't see", " a KEY"}},
    {23, {}, "GET WAND", {" Get it", " Yourself!"}},
    {23, {}, "GET MAGIC WAND", {"Impossible!!"}},
    {0, {}, "GET GLASSES", {" I don't see", " a GLASSES"}},
    {0, {}, "GET SCEPTRE", {"Impossible!!"}},
};

class SceneryTable : public CommandTest {};

TEST_F(SceneryTable, EveryHandlerRepliesExactly) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string("room ") + std::to_string(c.room) + ": " + c.command);
        if (!StandAwayFromFurniture(c.room)) continue;
        for (int item : c.carried) Carry(item);
        const std::vector<std::string> before = MessageArea(g);

        Run(c.command);

        if (c.reply.empty()) {
            EXPECT_EQ(g.whatTicks, 2u);
            EXPECT_EQ(fake::PlayedCues(), std::vector<int>{CUE_WHAT});
            EXPECT_EQ(MessageArea(g), before);
            EXPECT_EQ(ScreenText(g, 25, 24), "What???");
        } else {
            EXPECT_EQ(MessageArea(g), Padded(c.reply));
            EXPECT_EQ(g.whatTicks, 0u);
            EXPECT_TRUE(fake::PlayedCues().empty());
            EXPECT_EQ(CellAt(g, 25, 22), 0x3F) << "the prompt stands again";
        }
    }
}

// Only a taken hidden item changes anything; none of these replies may.
TEST_F(SceneryTable, RepliesChangeNothingButTheMessages) {
    for (const Case& c : kCases) {
        if (c.reply.empty()) continue;
        SCOPED_TRACE(c.command);
        if (!StandAwayFromFurniture(c.room)) continue;
        for (int item : c.carried) Carry(item);
        const GameState before = g;
        Run(c.command);
        for (int i = 0; i < kItemCount; ++i) {
            EXPECT_EQ(g.items[i].carried, before.items[i].carried) << g.items[i].name;
            EXPECT_EQ(g.items[i].visible, before.items[i].visible) << g.items[i].name;
        }
        EXPECT_EQ(g.doorLocked67, 1);
        EXPECT_EQ(g.doorLocked81, 1);
        EXPECT_EQ(g.flaskHasWater, 0);
        EXPECT_EQ(g.currentRoom, c.room);
        EXPECT_EQ(g.playerColumn, before.playerColumn);
        EXPECT_EQ(g.playerRow, before.playerRow);
        for (int x = 0; x < 25; ++x) {
            for (int y = 0; y < 25; ++y) ASSERT_EQ(CellAt(g, x, y), CellAt(before, x, y)) << x << "," << y;
        }
    }
}

TEST_F(SceneryTable, CourtyardWallShowsTheBestScore) {
    StartPlaying();
    g.highScore = 0;
    Run("LOOK WALL");
    EXPECT_EQ(MessageArea(g), Padded({"Writing on the", "wall says...", "", " No high score"}));

    g.highScore = 1234;
    std::snprintf(g.highScoreName, sizeof g.highScoreName, "%s", "SIR ROBIN");
    Run("EXAMINE WALLS");
    EXPECT_EQ(MessageArea(g), Padded({"Writing on the", "wall says...", "", "SIR ROBIN", " 1234"}));

    // A fifteen-letter name fills the line; an empty one leaves it empty.
    std::snprintf(g.highScoreName, sizeof g.highScoreName, "%s", "ABCDEFGHIJKLMNO");
    g.highScore = 1550;
    Run("LOOK WALL");
    EXPECT_EQ(MessageArea(g), Padded({"Writing on the", "wall says...", "", "ABCDEFGHIJKLMNO", " 1550"}));
    g.highScoreName[0] = '\0';
    g.highScore = 7;
    Run("LOOK WALL");
    EXPECT_EQ(MessageArea(g), Padded({"Writing on the", "wall says...", "", "", " 7"}));
}

TEST_F(SceneryTable, AfterTheSecondQuestTheDesksAreJustWood) {
    if (!StandAwayFromFurniture(55)) return;
    // What the second quest leaves: every item lying in the open somewhere.
    for (ItemRecord& item : g.items) item.visible = 1;
    Run("LOOK DESK");
    EXPECT_EQ(MessageArea(g), Padded({" It's made", " of Wood."}));
    Run("GET KEY");
    EXPECT_TRUE(MessageArea(g) == Padded({" Get it", " Yourself!"}) ||
                MessageArea(g) == Padded({" I don't see", " a KEY"}));
    EXPECT_EQ(g.items[kKey].carried, 0);
}

}  // namespace
