// SPDX-License-Identifier: GPL-3.0-or-later
// The core's sound ports, answered by the host's cue policy; every front-end
// links these rather than deciding about cues itself.
#include "host.h"
#include "ports.h"

void I_PlayCue(int id) {
    if (Host* host = ActiveHost()) host->PlayCue(id);
}
void I_PlayCueIfQuiet(int id) {
    if (Host* host = ActiveHost()) host->PlayCueIfQuiet(id);
}
void I_StopSound() {
    if (Host* host = ActiveHost()) host->StopSound();
}
