// SPDX-License-Identifier: GPL-3.0-or-later
// Resource and command ids, shared by the resource script and the program.
#pragma once

#define IDR_GLYPHS 102
#define IDI_GRAY 112
#define IDI_GREEN 113
#define IDI_AMBER 114
#define IDR_MENU 115
#define IDR_ACCELERATORS 116

#define ID_NEW_GAME 40001
#define ID_EXIT 40002
#define ID_VIEW_GRAY 40003
#define ID_VIEW_GREEN 40004
#define ID_VIEW_AMBER 40005
#define ID_VIEW_FULL_SCREEN 40006
#define ID_HELP_ABOUT 40007
#define ID_ESCAPE 40008
#define ID_SAVE_GAME 40009
#define ID_LOAD_GAME 40010
#define ID_OPEN_SAVES 40011
#define ID_PAUSE 40012
#define ID_VIEW_SOUND 40013
#define ID_ZOOM_IN 40014
#define ID_ZOOM_OUT 40015
#define ID_ACTUAL_SIZE 40016
