// SPDX-License-Identifier: GPL-3.0-or-later
// A fresh game for every test, built the way the program builds its own, with
// the fake ports reset and the generator seeded.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "core/core.h"
#include "fake_ports.h"

class GameTest : public ::testing::Test {
protected:
    void SetUp() override;

    // Construction as at program start (title screen), with this tick count as the seed.
    void Boot(uint32_t seed = 1);
    // Boot, then P: a new game in the courtyard. Clears the recorded cues.
    void StartPlaying(uint32_t seed = 1);
    // Fresh key presses.
    void Press(uint32_t key, int count = 1);
    // Types the letters and blanks of the text, then Enter.
    void Type(const std::string& text);
    void Command(const std::string& text);
    // Enters the room as the game does and stands the man on the cell, drawn as
    // MovePlayer draws him.
    void PlaceMan(int32_t room, int32_t x, int32_t y);
    // Puts the item (by table index) in the man's hands, as picking it up would.
    void Carry(int item);

    GameState g{};
};
