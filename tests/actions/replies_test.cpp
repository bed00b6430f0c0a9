// SPDX-License-Identifier: GPL-3.0-or-later
// Every reply of the item and creature verbs, typed as the player types them and
// compared character for character, trailing blanks and empty lines included.
#include <array>
#include <ostream>
#include <string>
#include <vector>

#include "game_fixture.h"
#include "world/world.h"

namespace {

enum Item {
    LAMP, HARP, NECKLACE, BOOK, WAND, SWORD, KEY, GLASSES, BALL, FLASK, CROSS,
    DIAMOND, BARS, RUBYS, FIGURINE, SCEPTER, HOURGLASS, GEM, HELMET, GOLDBAR, GOBLET, CROWN,
};
enum Monster { OGRE_3, OGRE_20, DEMON_13, DEMON_23, BIG_SPIDER, SMALL_SPIDER, BAT, SNAKE, VAMPIRE, FAIRY_51, FAIRY_53 };

// A message line exactly as written: the cells up to the last one written (line 0
// clears the area to code 0), so blanks a reply wrote are kept and untouched cells
// are not. A code 0 inside the text shows as '~'.
std::string RawMessageLine(const GameState& g, int line) {
    std::string out;
    int last = -1;
    for (int k = 0; k < 15; ++k) {
        if (CellAt(g, 25 + k, 12 + line) != 0) last = k;
    }
    for (int k = 0; k <= last; ++k) {
        const uint8_t c = CellAt(g, 25 + k, 12 + line);
        out += c == 0 ? '~' : static_cast<char>(c);
    }
    return out;
}

using Tweak = void (*)(GameState&);

struct ReplyCase {
    const char* name;
    const char* command;
    int room;                        // -1: stay where a new game starts
    std::vector<int> carried;
    Tweak tweak;                     // extra setup after the man is placed, or null
    std::array<const char*, 7> lines;  // null: the line stays empty
    std::vector<int> cues;
};

// Failures name the command rather than dumping the record's bytes.
void PrintTo(const ReplyCase& c, std::ostream* os) { *os << c.command; }

void PutWallNorth(GameState& g) {
    g.facing = 0;
    Cell(g, g.playerColumn, g.playerRow - 1) = 0xB2;
}
void PutFloorSouthWest(GameState& g) {
    g.facing = 5;
    Cell(g, g.playerColumn - 1, g.playerRow + 1) = ' ';
}
void StandOnTopRowFacingNorth(GameState& g) {
    Cell(g, g.playerColumn, g.playerRow) = MapCell(g, g.playerColumn, g.playerRow);
    g.playerRow = 0;
    Cell(g, g.playerColumn, 0) = 0x05;
    g.facing = 0;
}
void FillFlask(GameState& g) { g.flaskHasWater = 1; }
void FillFlaskAlreadyDrunk(GameState& g) {
    g.flaskHasWater = 1;
    g.waterDrunk = 1;
}
void KillOgre(GameState& g) { g.monsters[OGRE_3].strength = -3; }
void OpenSouthWall(GameState& g) { MapCell(g, 11, 17) = ' '; }

const std::vector<ReplyCase>& Cases() {
    static const std::vector<ReplyCase> cases = {
        // DROP and THROW
        {"DropNotCarried", "DROP LAMP", -1, {}, nullptr, {"You don't have", "a LAMP"}, {}},
        {"DropNoSuchItem", "DROP DRAGON", -1, {}, nullptr, {"You don't have", "a DRAGON"}, {}},
        {"DropFullName", "DROP LARGE GEM", -1, {GEM}, nullptr, {"You don't have", "a LARGE GEM"}, {}},
        {"DropOnFloor", "DROP LAMP", -1, {LAMP}, PutFloorSouthWest, {" Done."}, {CUE_DROP}},
        {"ThrowOnFloor", "THROW SWORD", -1, {SWORD}, PutFloorSouthWest, {" Done."}, {CUE_DROP}},
        {"DropIntoWall", "DROP LAMP", -1, {LAMP}, PutWallNorth, {" Something is", " in the way!"}, {}},
        {"ThrowOffTheMap", "THROW LAMP", -1, {LAMP}, StandOnTopRowFacingNorth, {" Something is", " in the way!"}, {}},
        // Looking at items
        {"LookNotCarried", "LOOK LAMP", -1, {}, nullptr, {"You Don't", "Have it!"}, {}},
        {"LookLamp", "LOOK LAMP", -1, {LAMP}, nullptr, {" It's lit", " Magically"}, {}},
        {"ExamineHarp", "EXAMINE HARP", -1, {HARP}, nullptr, {" It's made of", " Gold!"}, {}},
        {"SearchCross", "SEARCH CROSS", -1, {CROSS}, nullptr, {" It's made of", " Gold!"}, {}},
        {"LookHourglass", "LOOK HOURGLASS", -1, {HOURGLASS}, nullptr, {" It's made of", " Gold!"}, {}},
        {"LookGoblet", "LOOK GOBLET", -1, {GOBLET}, nullptr, {" It's made of", " Gold!"}, {}},
        {"LookCrown", "LOOK CROWN", -1, {CROWN}, nullptr, {" It's made of", " Gold!"}, {}},
        {"LookNecklace", "LOOK NECKLACE", -1, {NECKLACE}, nullptr,
         {" On the back", " it says:", nullptr, "Protection from", "Traps."}, {}},
        {"LookBook", "LOOK BOOK", -1, {BOOK}, nullptr, {" It is titled", "  `The Gate'"}, {}},
        {"LookWand", "LOOK WAND", -1, {WAND}, nullptr, {" It looks", " Magical!"}, {}},
        {"LookSword", "LOOK SWORD", -1, {SWORD}, nullptr, {" It looks", " Sharp!"}, {}},
        {"LookHelmet", "LOOK HELMET", -1, {HELMET}, nullptr, {" It looks", " Tough!"}, {}},
        {"LookKey", "LOOK KEY", -1, {KEY}, nullptr, {" It looks Old!"}, {}},
        {"LookGlasses", "LOOK GLASSES", -1, {GLASSES}, nullptr, {" They're", " Bifocals"}, {}},
        {"LookBars", "LOOK BARS", -1, {BARS}, nullptr, {" They look", " Expensive!"}, {}},
        {"LookRubys", "LOOK RUBYS", -1, {RUBYS}, nullptr, {" They look", " Expensive!"}, {}},
        {"LookDiamond", "LOOK DIAMOND", -1, {DIAMOND}, nullptr, {" It looks", " Expensive!"}, {}},
        {"LookFigurine", "LOOK FIGURINE", -1, {FIGURINE}, nullptr, {" It looks", " Expensive!"}, {}},
        {"LookScepter", "LOOK SCEPTER", -1, {SCEPTER}, nullptr, {" It looks", " Expensive!"}, {}},
        {"LookGem", "LOOK GEM", -1, {GEM}, nullptr, {" It looks", " Expensive!"}, {}},
        {"LookGoldbar", "LOOK GOLDBAR", -1, {GOLDBAR}, nullptr, {" It looks", " Expensive!"}, {}},
        {"LookFlaskFull", "LOOK FLASK", -1, {FLASK}, FillFlask, {" It's filled", " with water."}, {}},
        {"LookFlaskEmpty", "LOOK FLASK", -1, {FLASK}, nullptr, {" It's empty."}, {}},
        {"LookBall", "LOOK BALL", -1, {BALL}, nullptr,
         {"In the Cyrstal", "Ball.....", nullptr, " You see a man", "in a winding", "passage,waving", "a Wand."}, {}},
        // WEAR
        {"WearNoSuchItem", "WEAR HAT", -1, {}, nullptr, {"You don't have", "a HAT!"}, {}},
        {"WearNotCarried", "WEAR HELMET", -1, {}, nullptr, {" You don't", " have it!"}, {}},
        {"WearNecklace", "WEAR NECKLACE", -1, {NECKLACE}, nullptr, {"Ok.", "I'm wearing it."}, {}},
        {"WearHelmet", "WEAR HELMET", -1, {HELMET}, nullptr, {"Ok.", "I'm wearing it."}, {}},
        {"WearGlasses", "WEAR GLASSES", -1, {GLASSES}, nullptr, {" Ok.", " I'm wearing", " them."}, {}},
        {"WearCrown", "WEAR CROWN", -1, {CROWN}, nullptr, {" The crown is", " too Heavy!"}, {}},
        {"WearSword", "WEAR SWORD", -1, {SWORD}, nullptr, {"That could be", "Difficult!"}, {}},
        // WAVE
        {"WaveNoSuchItem", "WAVE FLAG", -1, {}, nullptr, {"You don't have", "a FLAG!"}, {}},
        {"WaveNotCarried", "WAVE WAND", -1, {}, nullptr, {"You don't have", "a WAND!"}, {}},
        {"WaveWandAtMirror", "WAVE WAND", 66, {WAND}, nullptr,
         {"As you wave the", "WAND....", nullptr, "  There is a", "*Puff* of smoke", "Revealing a", "Secret passage!"},
         {}},
        {"WaveWandInPassage", "WAVE WAND", 76, {WAND}, nullptr,
         {"As you wave the", "WAND....", nullptr, "  There is a", "*Puff* of smoke", "Revealing a", "Secret passage!"},
         {}},
        {"WaveWandPassageOpen", "WAVE WAND", 76, {WAND}, OpenSouthWall,
         {"As you wave the", "WAND....", nullptr, "  Nothing", "  Happens!"}, {}},
        {"WaveWandElsewhere", "WAVE WAND", -1, {WAND}, nullptr,
         {"As you wave the", "WAND....", nullptr, "  Nothing", "  Happens!"}, {}},
        {"WaveScepterAtGate", "WAVE SCEPTER", -1, {SCEPTER}, nullptr,
         {"As you wave the", "scepter....", nullptr, "The Gate opens", "by itself!"}, {}},
        {"WaveScepterElsewhere", "WAVE SCEPTER", 2, {SCEPTER}, nullptr,
         {"As you wave the", "SCEPTER....", nullptr, "  Nothing", "  Happens!"}, {}},
        {"WaveCrossAtVampire", "WAVE CROSS", 27, {CROSS}, nullptr,
         {"The vampire", "sees the holy", "cross and", "disappears!"}, {}},
        {"WaveCrossElsewhere", "WAVE CROSS", -1, {CROSS}, nullptr, {"You look awful", "Silly waving", "that CROSS"}, {}},
        {"WaveSwordAtVampire", "WAVE SWORD", 27, {SWORD}, nullptr, {"You look awful", "Silly waving", "that SWORD"}, {}},
        // SHOW
        {"ShowNotCarried", "SHOW CROSS", 27, {}, nullptr, {"You don't have", "a CROSS!"}, {}},
        {"ShowNobodyThere", "SHOW SWORD", -1, {SWORD}, nullptr, {"There's not", "anyone to", "show it to!"}, {}},
        {"ShowToDeadOgre", "SHOW SWORD", 3, {SWORD}, KillOgre, {"There's not", "anyone to", "show it to!"}, {}},
        {"ShowCrossToVampire", "SHOW CROSS", 27, {CROSS}, nullptr,
         {"The vampire", "sees the holy", "cross and", "disappears!"}, {}},
        {"ShowSwordToOgre", "SHOW SWORD", 3, {SWORD}, nullptr, {"The OGRE", "looks at you", "Funny!"}, {}},
        {"ShowHarpToFairy", "SHOW HARP", 51, {HARP}, nullptr, {"The FAIRY", "looks at you", "Funny!"}, {}},
        // PLAY
        {"PlayNoSuchItem", "PLAY LUTE", -1, {}, nullptr, {"You don't have", "a LUTE!"}, {}},
        {"PlayNotCarried", "PLAY HARP", -1, {}, nullptr, {" You don't", " have it!"}, {}},
        {"PlayHarp", "PLAY HARP", -1, {HARP}, nullptr, {"The Harp makes", "Beautiful", "Music!"}, {CUE_HARP}},
        {"PlayHarpToFairy", "PLAY HARP", 53, {HARP}, nullptr,
         {"The Harp makes", "Beautiful", "Music!", "The fairy", "likes the music", "and leaves!"}, {CUE_HARP}},
        {"PlayHarpToVampire", "PLAY HARP", 27, {HARP}, nullptr, {"The Harp makes", "Beautiful", "Music!"}, {CUE_HARP}},
        {"PlaySword", "PLAY SWORD", -1, {SWORD}, nullptr, {"The SWORD", "makes Horrible", "music!!"}, {}},
        // READ
        {"ReadSign", "READ SIGN", -1, {BOOK, GLASSES}, nullptr, {" You can't", " read That!"}, {}},
        {"ReadWithoutBook", "READ BOOK", -1, {GLASSES}, nullptr, {" You don't", " have a book!"}, {}},
        {"ReadWithoutGlasses", "READ BOOK", -1, {BOOK}, nullptr,
         {" You can't see", " well enough.", " It's all", " Blurry."}, {}},
        {"ReadBook", "READ BOOK", -1, {BOOK, GLASSES}, nullptr, {"The book reads:", nullptr, "  Wave Scepter"}, {}},
        // DRINK
        {"DrinkWater", "DRINK WATER", -1, {FLASK}, FillFlask, {"That was good!", "I feel much", "better now!"}, {}},
        {"DrinkWaterAgain", "DRINK WATER", -1, {FLASK}, FillFlaskAlreadyDrunk, {"That was good."}, {}},
        {"DrinkFromEmptyFlask", "DRINK WATER", -1, {FLASK}, nullptr, {"You don't have", "any WATER!"}, {}},
        {"DrinkWithoutFlask", "DRINK WATER", -1, {}, FillFlask, {"You don't have", "any WATER!"}, {}},
        {"DrinkWine", "DRINK WINE", -1, {FLASK}, FillFlask, {"You don't have", "any WINE!"}, {}},
        // POUR
        {"PourWine", "POUR WINE", -1, {FLASK}, FillFlask, {" You don't", " have any."}, {}},
        {"PourFromEmptyFlask", "POUR WATER", -1, {FLASK}, nullptr, {"You don't", "have any."}, {}},
        {"PourWithoutFlask", "POUR WATER", -1, {}, FillFlask, {"You don't", "have any."}, {}},
        {"PourWater", "POUR WATER", -1, {FLASK}, FillFlask, {"You pour the", "water & it", "spills on", "the ground."}, {}},
        {"PourWaterWithGoblet", "POUR WATER", -1, {FLASK, GOBLET}, FillFlask,
         {"You pour the", "water & it", "spills on", "the ground.", "The goblet had", "a hole in it!"}, {}},
        // RUB and CLEAN
        {"RubNotCarried", "RUB LAMP", -1, {}, nullptr, {"You don't have", "a LAMP!"}, {}},
        {"RubNoSuchItem", "CLEAN SHOES", -1, {}, nullptr, {"You don't have", "a SHOES!"}, {}},
        {"RubLamp", "RUB LAMP", -1, {LAMP}, nullptr, {" There's no", " Genii in this", " Lamp!"}, {}},
        {"CleanLamp", "CLEAN LAMP", -1, {LAMP}, nullptr, {" There's no", " Genii in this", " Lamp!"}, {}},
        {"RubSword", "RUB SWORD", -1, {SWORD}, nullptr, {"The SWORD", "is cleaner now."}, {}},
        // Looking at creatures
        {"LookFairy", "LOOK FAIRY", 51, {}, nullptr, {" The FAIRY", " looks pretty", " but unhappy."}, {}},
        {"LookDeadOgre", "LOOK OGRE", 3, {}, KillOgre, {"The OGRE", "looks Dead!"}, {}},
        {"ExamineOgre", "EXAMINE OGRE", 3, {}, nullptr, {"The OGRE", "looks Mean!"}, {}},
        {"LookVampire", "LOOK VAMPIRE", 27, {}, nullptr, {"The VAMPIRE", "looks Mean!"}, {}},
        {"LookSmallSpider", "SEARCH SPIDER", 69, {}, nullptr, {"The SPIDER", "looks Mean!"}, {}},
        // SAY, JUMP, CLIMB, EAT, KILL, PET
        {"SayHello", "SAY HELLO", -1, {}, nullptr, {"\"HELLO\""}, {}},
        {"SayTwoWords", "SAY OPEN DOOR", -1, {}, nullptr, {"\"OPEN DOOR\""}, {}},
        {"JumpDownOnBalcony", "JUMP DOWN", 32, {}, nullptr, {" I don't think", " it's safe to", " Jump here!"}, {}},
        {"LeepDownOnBalcony", "LEEP DOWN", 32, {}, nullptr, {" I don't think", " it's safe to", " Jump here!"}, {}},
        {"JumpUpOnBalcony", "JUMP UP", 32, {}, nullptr, {"I Jumped.", nullptr, "This is boring."}, {}},
        {"JumpDownElsewhere", "JUMP DOWN", -1, {}, nullptr, {"I Jumped.", nullptr, "This is boring."}, {}},
        {"Climb", "CLIMB WALL", -1, {}, nullptr, {"I don't need", "to climb."}, {}},
        {"Eat", "EAT BREAD", -1, {}, nullptr, {" I'm not", " hungry!"}, {}},
        {"KillDemon", "KILL DEMON", 13, {}, nullptr, {"Do it yourself!"}, {}},
        {"KillDragon", "KILL DRAGON", 13, {}, nullptr, {"I can't kill", "a DRAGON!"}, {}},
        {"PetBat", "PET BAT", 67, {LAMP}, nullptr, {"I don't think", "that would be", "advisable!"}, {}},
        {"PetCat", "PET CAT", -1, {}, nullptr, {"I can't pet", "a CAT!"}, {}},
    };
    return cases;
}

class ReplyTest : public GameTest, public ::testing::WithParamInterface<ReplyCase> {};

TEST_P(ReplyTest, ShowsTheReplyExactly) {
    const ReplyCase& c = GetParam();
    StartPlaying();
    if (c.room >= 0) PlaceMan(c.room, 12, 9);
    for (int item : c.carried) Carry(item);
    if (c.tweak) c.tweak(g);
    fake::ClearCues();

    Command(c.command);

    for (int line = 0; line < 7; ++line) {
        EXPECT_EQ(RawMessageLine(g, line), c.lines[line] ? c.lines[line] : "") << "message line " << line;
    }
    EXPECT_EQ(fake::PlayedCues(), c.cues);
    EXPECT_EQ(g.whatTicks, 0u);
}

INSTANTIATE_TEST_SUITE_P(Actions, ReplyTest, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<ReplyCase>& param) { return std::string(param.param.name); });

}  // namespace
