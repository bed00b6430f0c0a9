// SPDX-License-Identifier: GPL-3.0-or-later
// Golden screens: the 40 x 25 grid as 25 lines of UTF-8, compared with a file
// under tests/golden/. Run a test with GRIMSPIRE_UPDATE_GOLDEN=1 to (re)write its files.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/state.h"

// The grid as 25 lines of 40 characters, each ending in a newline.
std::string DumpScreen(const GameState& g);
// The text from (column, row) on, at most width cells, trailing blanks removed.
std::string ScreenText(const GameState& g, int column, int row, int width = 40);
std::string ScreenRow(const GameState& g, int row);
// Line n of the message area, trailing blanks removed.
std::string MessageLine(const GameState& g, int line);
::testing::AssertionResult MatchesGolden(const GameState& g, const std::string& name);
