// The few ways the game core reaches the world outside it. The host defines
// these at link time; the tests link a recording fake instead.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// Sound: start a cue (cutting off whatever plays), start it only when nothing
// plays, stop everything. A cue that cannot be played is silent.
void I_PlayCue(int id);
void I_PlayCueIfQuiet(int id);
void I_StopSound();

// Milliseconds since some fixed moment; only used to seed the generator.
uint32_t I_TickCount();

// The folder saved games go to ("" for the current directory). The game makes
// it when it first saves there.
const char* I_SaveFolder();

// The best-score store, shaped after the registry calls it replaces.
// Types follow the registry's numbering.
enum : uint32_t {
    REG_NONE = 0,
    REG_SZ = 1,
    REG_EXPAND_SZ = 2,
    REG_BINARY = 3,
    REG_DWORD = 4,
};

using StoreKey = int32_t;  // 0 is never a valid key

// Opens the game's key; with create set, makes it when missing. 1 on success.
int I_StoreOpenKey(int create, StoreKey* key);
// Like RegQueryValueEx: with data null only type and size are reported. When the
// value is larger than *size, *size is set to the size needed and 0 is returned.
// 1 on success, 0 when the value is missing or anything failed.
int I_StoreQueryValue(StoreKey key, const char* name, uint32_t* type, uint8_t* data, uint32_t* size);
// 1 on success. What is set through one key may be kept only when it closes.
int I_StoreSetValue(StoreKey key, const char* name, uint32_t type, const uint8_t* data, uint32_t size);
// 0 when what was set through the key could not be kept; 1 otherwise.
int I_StoreCloseKey(StoreKey key);
