// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows side of the game's ports, and the player's settings kept beside
// the best score in the registry.
#pragma once

#include <cstdint>
#include <string>

#include "cues.h"

// The cues from the program's WAVE resources, for the host's cue policy.
CueOutput& ResourceCues();

// The saves folder: Grimspire in the user's Saved Games folder.
std::string SavesFolder();

// Settings under HKEY_CURRENT_USER\Software\Grimspire, as REG_DWORD values.
bool ReadSetting(const char* name, uint32_t& value);
void WriteSetting(const char* name, uint32_t value);
