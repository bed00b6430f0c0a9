// SPDX-License-Identifier: GPL-3.0-or-later
// The monitor colour the player chose last, kept with the best score in the
// desktop program's settings, so both programs open in the same colour.
#pragma once

#include <cstdint>

// The scheme's colour (kGrayColour, kGreenColour or kAmberColour); gray when
// none was kept.
uint32_t LoadScheme();
void SaveScheme(uint32_t colour);
