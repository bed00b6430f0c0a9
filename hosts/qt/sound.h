// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's sound ports: the nine cues through Qt Multimedia.
#pragma once

#include "cues.h"

// Loads the nine embedded cues into the deck the sound ports play from. Without
// an audio output the game stays silent.
void InitSoundCues();
// Releases them; called before the application object goes.
void ShutDownSoundCues();
