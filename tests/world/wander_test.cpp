// SPDX-License-Identifier: GPL-3.0-or-later
// A man wandering the castle at random, with the clock running, must always
// stand on the map, be drawn where he stands and leave the frame alone.
#include <random>
#include <set>

#include "game_fixture.h"
#include "world/world.h"

namespace {

bool OnMap(int x, int y) { return x >= 0 && x < kMapColumns && y >= 0 && y < kMapRows; }

class WanderTest : public GameTest {
protected:
    void NewWanderer(uint32_t seed) {
        StartPlaying(seed);
        Carry(0);  // the lamp, so the dark stairs let him through
        Carry(5);  // the sword
    }

    void CheckInvariants(int step) {
        SCOPED_TRACE("room " + std::to_string(g.currentRoom) + " step " + std::to_string(step));
        ASSERT_TRUE(OnMap(g.playerColumn, g.playerRow));
        ASSERT_TRUE(g.currentRoom >= 0 && g.currentRoom < kRoomCount);
        for (int y = 0; y < kMapRows; ++y) ASSERT_EQ(CellAt(g, 24, y), 0xB3);
        for (int x = 0; x < kMapColumns; ++x) ASSERT_EQ(CellAt(g, x, 18), 0xC4);
        if (g.strength >= 0 && !g.trapSprung) {
            ASSERT_EQ(CellAt(g, g.playerColumn, g.playerRow), 0x05);
        }
        for (const MonsterRecord& m : g.monsters) ASSERT_TRUE(OnMap(m.x, m.y));
    }
};

TEST_F(WanderTest, RandomWalksKeepTheManOnTheMap) {
    const uint32_t keys[] = {VK_LEFT,    VK_UP,      VK_RIGHT,   VK_DOWN,    VK_NUMPAD1, VK_NUMPAD3,
                             VK_NUMPAD7, VK_NUMPAD9, VK_NUMPAD2, VK_NUMPAD4, VK_NUMPAD6, VK_NUMPAD8};
    std::mt19937 dice(20261206);
    std::set<int> visited;
    uint32_t seed = 1;
    NewWanderer(seed);
    // Runs of one direction get him across rooms; single steps jiggle him about.
    for (int step = 0; step < 40000; ++step) {
        if (g.mode != Play || g.strength < 0) {
            NewWanderer(++seed);
            continue;
        }
        if (dice() % 4 == 0) {
            WorldTick(g);
        } else {
            const uint32_t key = keys[dice() % 12];
            const int run = 1 + static_cast<int>(dice() % 12);
            for (int i = 0; i < run && g.mode == Play; ++i) HandleKey(g, key, i > 0 ? 1 : 0);
        }
        if (g.mode != Play) continue;
        visited.insert(g.currentRoom);
        CheckInvariants(step);
        if (HasFatalFailure()) return;
    }
    // He got about; the walk proves little if he never left the courtyard.
    EXPECT_GT(visited.size(), 20u);
}

}  // namespace
