// SPDX-License-Identifier: GPL-3.0-or-later
// The terminal's side of the sound and clock ports.
#pragma once

#include <cstdint>
#include <string>

#include "cues.h"

// With the bell on, "What???" and a bumped wall ring the terminal's bell; every
// other cue stays silent but still counts as playing for its length, so the
// bump is dropped while one plays, as with real sound.
// The bell's cues, for the host's cue policy (which sounds only with sound on).
CueOutput& BellCues();
// The bells rung since the last call, to go out with the next frame.
std::string TakeBells();

int64_t NowMs();
