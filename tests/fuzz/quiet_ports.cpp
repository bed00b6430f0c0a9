// SPDX-License-Identifier: GPL-3.0-or-later
// Silent sound and a fixed clock, for targets that bring the real store.
#include "ports.h"

void I_PlayCue(int) {}
void I_PlayCueIfQuiet(int) {}
void I_StopSound() {}
uint32_t I_TickCount() { return 1; }
const char* I_SaveFolder() { return ""; }
