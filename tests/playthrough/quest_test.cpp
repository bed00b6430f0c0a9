// SPDX-License-Identifier: GPL-3.0-or-later
// Whatever castle SECOND QUEST deals, a player who only looks at it can bring
// out every treasure, kill every monster and leave through the gate with the
// perfect score. One game per seed, 1 to GRIMSPIRE_QUEST_GAMES (198 unless set),
// and the two seeds below.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "player.h"
#include "world/world.h"

namespace {

uint32_t Games() {
    const char* games = std::getenv("GRIMSPIRE_QUEST_GAMES");
    return games != nullptr && std::atoi(games) > 0 ? static_cast<uint32_t>(std::atoi(games)) : 198;
}

// Their castles once had a monster on the only way to the sword and to the gold bar.
constexpr uint32_t kBarredSeeds[] = {301, 887};

class QuestGame : public Player, public ::testing::WithParamInterface<uint32_t> {};

TEST_P(QuestGame, EverythingOutAndThroughTheGate) {
    Boot(GetParam());
    Key('P');
    Say("SECOND QUEST");
    ASSERT_EQ(Msg(), " Item and/ Monster/ Locations/ Randomized!");
    try {
        PlayToTheEnd();
    } catch (const Stuck& stuck) {
        FAIL() << "seed " << GetParam() << ": " << stuck.what();
    }
    ExpectThePerfectEnd();
}

const auto kSeedName = [](const ::testing::TestParamInfo<uint32_t>& seed) { return "seed" + std::to_string(seed.param); };
INSTANTIATE_TEST_SUITE_P(Seeds, QuestGame, ::testing::Range(1u, Games() + 1), kSeedName);
INSTANTIATE_TEST_SUITE_P(Barred, QuestGame, ::testing::ValuesIn(kBarredSeeds), kSeedName);

// A killed monster's body walls its cell for good. Counted with the test player's
// own planner: the monsters that, dead where they start, put something the
// perfect game needs out of reach of the man in the courtyard.
class Dealt : public Player {
protected:
    static constexpr uint64_t kTools = 1 << LAMP | 1 << NECKLACE | 1 << WAND | 1 << KEY | 1 << HARP | 1 << CROSS;
    static int Number(int room, int x, int y) { return (room * kMapColumns + x) * kMapRows + y; }
    // Where the last search stood to take an item or strike a monster (after kItemCount); -1: nowhere.
    int Reaching(int goal) const {
        const Place s = Spot(goal);
        for (int n = 0; n < 9; ++n) {
            const Place p{s.room, s.x + n % 3 - 1, s.y + n / 3 - 1};
            const bool on = p.x >= 0 && p.x < kMapColumns && p.y >= 0 && p.y < kMapRows;
            if (on && Near(goal, p) && searched[Number(p.room, p.x, p.y)] >= 0) return Number(p.room, p.x, p.y);
        }
        return -1;
    }
    // The goals the man gets at, taking up every tool he comes to, with the monster `body` (-1: none)
    // dead where it starts. `ways` marks the search's ways to them: 2 where one led to a tool, else 1.
    uint64_t Reached(int body, uint32_t tools, std::vector<uint8_t>* ways) {
        const GameState castle = g;
        for (ItemRecord& it : g.items) it.visible = 0;  // lying things are taken in passing, never in the way
        if (body >= 0) g.monsters[body].strength = -1;
        std::vector<std::pair<uint32_t, Place>> none;
        uint64_t reached = 0;
        for (assumed = tools;; assumed |= static_cast<uint32_t>(reached & kTools)) {
            Plan([](Place) { return false; }, &none);
            for (int goal = 0; goal < kItemCount + kMonsterCount; ++goal) {
                for (int p = Reaching(goal); p >= 0 && ways && searched[p] != p; p = searched[p]) (*ways)[p] |= (kTools >> goal & 1) + 1;
                reached |= Reaching(goal) >= 0 ? 1ull << goal : 0;
            }
            if ((reached & kTools & ~assumed) == 0) break;
        }
        g = castle;
        assumed = 0;
        return reached;
    }
    int Barring() {
        uint64_t owed = 1ull << SWORD | ((1ull << VAMPIRE) - 1) << kItemCount;  // the monsters before the guardians
        for (int i = 0; i < kItemCount; ++i) owed |= g.items[i].treasure ? 1ull << i : 0;
        std::vector<uint8_t> ways(kRoomCount * kMapCells);
        const uint64_t all = Reached(-1, 0, &ways);
        int count = 0;
        for (const MonsterRecord& m : g.monsters) {
            // A body off every way the search took changes no search; one off the ways
            // to the tools leaves the man the same tools.
            const uint8_t on = ways[Number(m.room, m.x, m.y)];
            count += !m.guardian && on && (all & owed & ~Reached(int(&m - g.monsters), on & 2 ? 0 : all & kTools, nullptr)) != 0;
        }
        return count;
    }
};

TEST_F(Dealt, OnceAMonsterBarredTheWayInTheCastlesOf301And887) {
    // Dealt as before, when only the flood over the castle was asked.
    for (uint32_t seed : kBarredSeeds) {
        StartPlaying(seed);
        do {
            NewGame(g);
            RandomizeItems(g);
            RandomizeMonsters(g);
        } while (!LayoutCanBeFinished(g));
        EXPECT_EQ(Barring(), 1) << "seed " << seed;
    }
}

// Two thousand castles, in blocks that can run side by side.
class DealtCastles : public Dealt, public ::testing::WithParamInterface<uint32_t> {};

TEST_P(DealtCastles, EachThingAloneInARoomOnReachableFloorAndNoMonsterOnTheOnlyWay) {
    // Under Wine (GRIMSPIRE_QUEST_GAMES set lower) a tenth of them.
    const uint32_t count = Games() < 198 ? 50 : 500;
    for (uint32_t seed = GetParam(); seed < GetParam() + count; ++seed) {
        StartPlaying(seed);
        Command("SECOND QUEST");
        // No two items, and no two monsters, share a room; the courtyard is never one.
        std::vector<int> items(kRoomCount), monsters(kRoomCount);
        for (const ItemRecord& i : g.items) EXPECT_TRUE(IsReachableSpot(g, i.room, i.x, i.y) && i.room && !items[i.room]++) << seed;
        for (const MonsterRecord& m : g.monsters) EXPECT_TRUE(IsReachableSpot(g, m.room, m.x, m.y) && m.room && !monsters[m.room]++) << seed;
        EXPECT_EQ(Barring(), 0) << "seed " << seed;
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, DealtCastles, ::testing::Values(1u, 501u, 1001u, 1501u));

}  // namespace
