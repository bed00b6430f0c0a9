// SPDX-License-Identifier: GPL-3.0-or-later
// Resource ids, shared by the resource script and the program; the menu commands are everyone's.
#pragma once

#define IDR_GLYPHS 102
#define IDI_GRAY 112
#define IDI_GREEN 113
#define IDI_AMBER 114
#define IDR_MENU 115
#define IDR_ACCELERATORS 116
#define IDD_SAVES 117
#define IDC_SAVELIST 1001
#define IDC_OTHER 1002

#include "commands.h"
