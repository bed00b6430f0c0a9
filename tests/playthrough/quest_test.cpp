// SPDX-License-Identifier: GPL-3.0-or-later
// Whatever castle SECOND QUEST deals, a player who only looks at it can bring
// out every treasure, kill every monster and leave through the gate with the
// perfect score. One game per seed; GRIMSPIRE_QUEST_GAMES says how many.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "player.h"

namespace {

uint32_t Games() {
    const char* games = std::getenv("GRIMSPIRE_QUEST_GAMES");
    return games != nullptr && std::atoi(games) > 0 ? static_cast<uint32_t>(std::atoi(games)) : 20;
}

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

INSTANTIATE_TEST_SUITE_P(Seeds, QuestGame, ::testing::Range(1u, Games() + 1),
                         [](const ::testing::TestParamInfo<uint32_t>& seed) { return "seed" + std::to_string(seed.param); });

}  // namespace
