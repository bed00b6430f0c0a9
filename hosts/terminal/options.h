// SPDX-License-Identifier: GPL-3.0-or-later
// The command line and the environment: what the player asked for, and whether
// this terminal can show the game at all.
#pragma once

#include <optional>
#include <string>

#include "painter.h"

struct Options {
    bool narrow = false;
    bool bell = false;
    std::string man = "@";  // UTF-8, one column wide
    std::string saveDir;
};

// Reads the options into *o. Returns the exit status when the program should
// end at once (after --help or --version, or with a one-line reason for a bad
// option), having written what there is to say.
std::optional<int> ParseOptions(int argc, char** argv, Options* o);

// The colours TERM, COLORTERM and NO_COLOR allow, or empty with *reason set when
// the terminal cannot move a cursor or is one this program does not know.
std::optional<ColourMode> JudgeTerminal(const char* term, const char* colorterm, const char* noColor,
                                        std::string* reason);
