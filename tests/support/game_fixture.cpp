// SPDX-License-Identifier: GPL-3.0-or-later
#include "game_fixture.h"

#include "world/world.h"

void GameTest::SetUp() { fake::Reset(); }

void GameTest::Boot(uint32_t seed) {
    fake::State().tickCount = seed;
    InitGameState(g);
}

void GameTest::StartPlaying(uint32_t seed) {
    Boot(seed);
    HandleKey(g, 'P', 0);
    fake::ClearCues();
}

void GameTest::Press(uint32_t key, int count) {
    for (int i = 0; i < count; ++i) HandleKey(g, key, 0);
}

void GameTest::Type(const std::string& text) {
    for (char c : text) HandleKey(g, static_cast<uint32_t>(c), 0);
}

void GameTest::Command(const std::string& text) {
    Type(text);
    HandleKey(g, VK_RETURN, 0);
}

void GameTest::PlaceMan(int32_t room, int32_t x, int32_t y) {
    EnterRoom(g, room);
    g.playerColumn = x;
    g.playerRow = y;
    Cell(g, x, y) = 0x05;
}

void GameTest::Carry(int item) {
    g.items[item].carried = 1;
    g.items[item].visible = 1;
}
