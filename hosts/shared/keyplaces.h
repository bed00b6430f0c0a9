// SPDX-License-Identifier: GPL-3.0-or-later
// Keys by their place on the keyboard. Windows gives a letter, digit or
// punctuation key the virtual-key code its place has on the US layout, whatever
// the layout prints on it; every front-end does the same from what its platform
// tells of the place: a PC scan code (Linux evdev, Win32, X11 less 8) or a
// browser's KeyboardEvent.code.
#pragma once

#include <cstdint>
#include <string_view>

// The virtual-key code for a main-block key by its PC scan code, 0 for others.
uint32_t KeyForScanCode(uint32_t scanCode);
// The same by KeyboardEvent.code ("KeyA", "Digit1", "Semicolon" ...).
uint32_t KeyForCodeName(std::string_view code);
// Any key by KeyboardEvent.code: the main block as above, and the keys around it
// (arrows, Enter, F-keys, the keypad ...). The keypad's digits are VK_NUMPAD0..9
// only with Num Lock on; off, they are the arrows, Home, End ... they also carry.
uint32_t KeyForDomCode(std::string_view code, bool numLock);
// The key a printed ASCII character comes from on a US keyboard, as Windows
// numbers it (letters of either case as their capital); 0 when it has none.
// Letters typed are taken by what the layout prints, everything else by place.
uint32_t KeyForCharacter(char32_t c);
