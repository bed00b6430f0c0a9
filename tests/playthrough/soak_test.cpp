// SPDX-License-Identifier: GPL-3.0-or-later
// A long run of random events -- keys of every kind, repeats, both ticks, the
// menu's New Game, whole commands including SAVE and LOAD -- checking after every
// single one what must always hold. GRIMSPIRE_SOAK_EVENTS sets the length.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "game_fixture.h"
#include "invariants.h"
#include "temp_dir.h"
#include "world/world.h"

namespace {

const std::vector<std::string>& Commands() {
    static const std::vector<std::string> commands = {
        "QUIT", "ABOUT", "SECOND QUEST", "SAVE A", "SAVE BB", "LOAD A", "LOAD BB", "LOAD NONE", "INV",
        "LOOK WALL", "LOOK GATE", "LOOK DOOR", "LOOK FOUNTAIN", "LOOK DESK", "LOOK STATUE", "LOOK MIRROR",
        "LOOK SHELF", "LOOK BED", "LOOK TABLE", "LOOK BARREL", "LOOK FLOOR", "LOOK STAIRS", "LOOK CHAINS",
        "GET KEY", "GET BOOK", "GET NECKLACE", "GET GLASSES", "GET FLASK", "GET GEM", "GET WATER", "GET WINE",
        "TAKE LAMP", "OPEN DOOR", "UNLOCK DOOR", "CLOSE DOOR", "LOCK DOOR", "OPEN GATE", "FILL FLASK",
        "DROP SWORD", "DROP LAMP", "THROW KEY", "LOOK SWORD", "LOOK BALL", "WEAR HELMET", "WAVE SCEPTER",
        "WAVE WAND", "WAVE CROSS", "SHOW CROSS", "PLAY HARP", "READ BOOK", "DRINK WATER", "POUR WATER",
        "RUB BALL", "CLEAN GLASSES", "LOOK OGRE", "SAY HELLO", "JUMP UP", "CLIMB STAIRS", "EAT GEM",
        "KILL OGRE", "PET BAT", "EXAM WALL", "GET MAGIC WAND", "   ", "LOOK AT WALL", "I"};
    return commands;
}

constexpr uint32_t kKeys[] = {'A', 'E', 'G', 'K', 'L', 'N', 'O', 'P', 'Q', 'S', 'T', 'Y', 'I', 'Z', VK_SPACE,
                              VK_BACK, VK_RETURN, VK_SHIFT, '0', '7', VK_NUMPAD5, 12, 33, 36, 112, 190};
constexpr uint32_t kMoves[] = {VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN, VK_NUMPAD1, VK_NUMPAD2, VK_NUMPAD3,
                               VK_NUMPAD4, VK_NUMPAD6, VK_NUMPAD7, VK_NUMPAD8, VK_NUMPAD9};

class Soak : public GameTest {
protected:
    // What the host does with a key: the About box swallows it, a 0 ends the run
    // (a new run starts as the program would).
    void Key(uint32_t key, int32_t repeat) {
        if (g.aboutShown) {
            g.aboutShown = 0;
            return;
        }
        if (HandleKey(g, key, repeat) == 0) InitGameState(g);
    }

    void Check(uint64_t event, uint32_t seed) {
        const char* what = fuzzing::BrokenInvariant(g);
        // In play the frame stays whole and a living man is drawn where he stands.
        for (int y = 0; y < kMapRows && g.mode == Play && !what; ++y) what = CellAt(g, 24, y) != 0xB3 ? "frame" : nullptr;
        for (int x = 0; x < kMapColumns && g.mode == Play && !what; ++x) what = CellAt(g, x, 18) != 0xC4 ? "frame" : nullptr;
        if (!what && g.mode == Play && g.strength >= 0 && !g.trapSprung && CellAt(g, g.playerColumn, g.playerRow) != 0x05) what = "man";
        // Liveness, tried on a copy: wherever a monster is about, a word the game does
        // not know, a killing blow and a few fresh keys always lead on to the summary.
        if (!what && g.mode == Play && (g.strength < 0 || MonsterInRoom(g, g.currentRoom) != nullptr)) {
            GameState probe = g;
            if (probe.strength >= 0) {
                probe.strength = 0;
                for (char c : std::string("XYZZY\r")) HandleKey(probe, static_cast<uint32_t>(c), 0);
                for (int t = 0; t < 8 && probe.strength >= 0; ++t) WorldTick(probe);
            }
            for (int k = 0; k < 3 && probe.mode == Play; ++k) {
                HandleKey(probe, VK_SHIFT, 0);
                BlinkTick(probe);
            }
            if (probe.strength < 0 && probe.mode != Summary) what = "a dead man's game never reaching the summary";
        }
        if (what) FAIL() << what << " broken, seed " << seed << " event " << event;
    }
};

TEST_F(Soak, RandomEventsNeverBreakTheGame) {
    ScopedTempDir dir;
    uint64_t total = 200000;
    if (const char* n = std::getenv("GRIMSPIRE_SOAK_EVENTS")) total = std::strtoull(n, nullptr, 10);
    const uint32_t seeds = 20;
    const uint64_t perSeed = total / seeds + 1;
    for (uint32_t seed = 1; seed <= seeds; ++seed) {
        fake::Reset();
        Boot(seed);
        std::mt19937 dice(seed);  // NOLINT: a fixed sequence per seed is the point
        uint64_t inPlay = 0;
        for (uint64_t event = 0; event < perSeed; ++event) {
            const auto roll = static_cast<uint32_t>(dice() % 100);
            const int32_t repeat = (dice() % 4 == 0) ? 1 : 0;
            inPlay += g.mode == Play ? 1 : 0;
            if ((g.mode == Title || g.mode == Instructions) && roll < 90) {
                Key(roll < 85 ? 'P' : 'I', repeat);  // most runs get back into the castle soon
            } else if (roll < 40) {
                Key(kMoves[dice() % std::size(kMoves)], repeat);
            } else if (roll < 55) {
                Key(kKeys[dice() % std::size(kKeys)], repeat);
            } else if (roll < 62) {
                const std::string& command = Commands()[dice() % Commands().size()];
                for (char c : command) Key(static_cast<uint32_t>(c), 0);
                Key(VK_RETURN, 0);
            } else if (roll < 84) {
                if (!g.aboutShown) WorldTick(g);
            } else if (roll < 99) {
                if (!g.aboutShown) BlinkTick(g);
            } else if (dice() % 10 == 0) {
                SetMode(g, Title);  // the menu's New Game
            }
            Check(event, seed);
            if (HasFatalFailure()) return;
        }
        EXPECT_GT(inPlay, perSeed / 2) << "the run spent most of its time playing, seed " << seed;
    }
}

}  // namespace
