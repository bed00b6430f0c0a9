// SPDX-License-Identifier: GPL-3.0-or-later
// Game > Load Game...: the saved games in the saves folder, each with its
// screen drawn small in the current colour, its name, time and score.
#pragma once

#include <QString>

#include "picture.h"

class QWidget;
struct GameState;

// The path of the save chosen by Enter or a double click, or of any file through
// "Other File..."; empty when the player changed their mind.
QString BrowseSaves(QWidget* parent, const GameState& g, const Surface& glyphs, const QString& folder);
