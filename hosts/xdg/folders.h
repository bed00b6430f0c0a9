// SPDX-License-Identifier: GPL-3.0-or-later
// Where the desktop program keeps the player's saved games.
#pragma once

#include <string>

// $XDG_DATA_HOME/grimspire/saves, or ~/.local/share/grimspire/saves; "" when
// neither is known, which keeps saves in the current directory.
std::string DefaultSaveFolder();
// The folder the game saves to from now on (--save-dir, or the default).
void SetSaveFolder(const std::string& folder);
