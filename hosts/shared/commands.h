/* SPDX-License-Identifier: GPL-3.0-or-later */
/* The menu's commands by number, as every front-end's menu, shortcuts and the
   Windows resource script know them, and the periods of the game's two clocks.
   Plain macros, so that the resource compiler reads this file too. */
#pragma once

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
#define ID_CONTINUE 40017

#ifndef RC_INVOKED
constexpr int kEventsPeriodMs = 260;  // monsters, floods and the world
constexpr int kBlinkPeriodMs = 210;   // the cursor, and how long a reply holds keys back
#endif
