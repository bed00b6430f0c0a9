// SPDX-License-Identifier: GPL-3.0-or-later
// Qt key events as the Windows virtual-key codes the game's key dispatch expects.
#pragma once

#include <Qt>

#include <cstdint>

// The virtual-key code of a pressed key, or 0 for a key the game never receives:
// one that has no code, Alt with or without another key, and F10 (on the desktop
// these open the menu rather than reach the window's key handler). A character
// key with no code of its own (é, a Cyrillic letter) is taken by its place on the
// keyboard, given the X11/Wayland key code (evdev + 8), as Windows does.
uint32_t VirtualKeyFor(int qtKey, Qt::KeyboardModifiers modifiers, quint32 nativeScanCode = 0);
