// SPDX-License-Identifier: GPL-3.0-or-later
// Golden screens: the 40 x 25 grid as 25 lines of UTF-8, compared with a file
// under tests/golden/. Run a test with GRIMSPIRE_UPDATE_GOLDEN=1 to (re)write its files.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/state.h"

// The grid as 25 lines of 40 characters, each ending in a newline; codes 0 and
// 0x20 both as blanks.
std::string DumpScreen(const GameState& g);
// The same for the rectangle given (inclusive), for checks of one region.
std::string DumpRegion(const GameState& g, int left, int top, int right, int bottom);
// One row of the grid, trailing blanks removed.
std::string ScreenRow(const GameState& g, int row);
// The text from (column, row) to the end of that row, trailing blanks removed.
std::string ScreenText(const GameState& g, int column, int row, int width = 40);
// The seven lines of the message area, trailing blanks removed.
std::string MessageLine(const GameState& g, int line);

// Compares the grid with tests/golden/<name>.txt; on a mismatch the failure shows
// both screens side by side with the differing rows marked.
::testing::AssertionResult MatchesGolden(const GameState& g, const std::string& name);
