// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's sound: the nine cues mixed into one stream written to one audio
// output for the life of the program, moved to the new default output when it changes.
#pragma once

#include "cues.h"

// Decodes the embedded cues and opens the default output. Without one the game
// stays silent, says so once on standard error, and starts sounding when one appears.
void InitSoundCues();
// Closes the output; called before the application object goes.
void ShutDownSoundCues();
// The output the host's cue policy plays through.
CueOutput& SoundCues();
// Whether the player left the sound on.
bool SoundSetting();
