// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/core.h"
#include "ports.h"

// Only the obstacle bump is played "no-stop": it must never cut off a blow or a tune.
void PlayCue(GameState&, int id, int32_t noStop) {
    if (noStop) {
        I_PlayCueIfQuiet(id);
    } else {
        I_PlayCue(id);
    }
}

void StopSound(GameState&) { I_StopSound(); }
