// SPDX-License-Identifier: GPL-3.0-or-later
// The ports for a tool that only looks: no sound, no clock, no stored best score.
#include "ports.h"

void I_PlayCue(int) {}
void I_PlayCueIfQuiet(int) {}
void I_StopSound() {}
uint32_t I_TickCount() { return 0; }
int I_StoreOpenKey(int, StoreKey*) { return 0; }
int I_StoreQueryValue(StoreKey, const char*, uint32_t*, uint8_t*, uint32_t*) { return 0; }
int I_StoreSetValue(StoreKey, const char*, uint32_t, const uint8_t*, uint32_t) { return 0; }
int I_StoreCloseKey(StoreKey) { return 1; }
const char* I_SaveFolder() { return ""; }
