// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows side of the game's ports, and the player's settings kept beside
// the best score in the registry.
#pragma once

#include <cstdint>
#include <string>

// Cues come from the program's WAVE resources; with sound off none plays.
void SetSoundOn(bool on);
bool SoundOn();

// The saves folder: Grimspire in the user's Saved Games folder. A dialog that
// picked another folder may stand in for it during one command.
std::string SavesFolder();
void SetSaveFolderOverride(const std::string& folder);

// Settings under HKEY_CURRENT_USER\Software\Grimspire, as REG_DWORD values.
bool ReadSetting(const char* name, uint32_t& value);
void WriteSetting(const char* name, uint32_t value);
