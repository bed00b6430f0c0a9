// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "keymap.h"

namespace {

TEST(KeyMap, ShiftedCharactersAreTheirUnshiftedKeys) {
    EXPECT_EQ(VirtualKeyFor(Qt::Key_Exclam, Qt::ShiftModifier), 49u);
    EXPECT_EQ(VirtualKeyFor(Qt::Key_ParenRight, Qt::ShiftModifier), 48u);
    EXPECT_EQ(VirtualKeyFor(Qt::Key_Question, Qt::ShiftModifier), 191u);
    EXPECT_EQ(VirtualKeyFor(Qt::Key_A, Qt::ShiftModifier), 65u);
}

TEST(KeyMap, KeypadWithAndWithoutNumLock) {
    EXPECT_EQ(VirtualKeyFor(Qt::Key_7, Qt::KeypadModifier), 103u);
    EXPECT_EQ(VirtualKeyFor(Qt::Key_5, Qt::KeypadModifier), 101u);
    EXPECT_EQ(VirtualKeyFor(Qt::Key_Asterisk, Qt::KeypadModifier), 106u);
    EXPECT_EQ(VirtualKeyFor(Qt::Key_Enter, Qt::KeypadModifier), 13u);
    // Num Lock off: navigation keys, which the game does not walk with.
    EXPECT_EQ(VirtualKeyFor(Qt::Key_Home, Qt::KeypadModifier), 36u);
    EXPECT_EQ(VirtualKeyFor(Qt::Key_PageUp, Qt::KeypadModifier), 33u);
    EXPECT_EQ(VirtualKeyFor(Qt::Key_End, Qt::KeypadModifier), 35u);
    EXPECT_EQ(VirtualKeyFor(Qt::Key_PageDown, Qt::KeypadModifier), 34u);
    EXPECT_EQ(VirtualKeyFor(Qt::Key_Clear, Qt::KeypadModifier), 12u);
    // The digits row is not the keypad.
    EXPECT_EQ(VirtualKeyFor(Qt::Key_7, Qt::NoModifier), 55u);
}

TEST(KeyMap, AltAndMenuKeysNeverReachTheGame) {
    EXPECT_EQ(VirtualKeyFor(Qt::Key_Alt, Qt::AltModifier), 0u);
    EXPECT_EQ(VirtualKeyFor(Qt::Key_G, Qt::AltModifier), 0u);
    EXPECT_EQ(VirtualKeyFor(Qt::Key_F10, Qt::NoModifier), 0u);
    EXPECT_EQ(VirtualKeyFor(Qt::Key_unknown, Qt::NoModifier), 0u);
    // AltGr typing a character is Alt with Control, and still a key.
    EXPECT_EQ(VirtualKeyFor(Qt::Key_Q, Qt::AltModifier | Qt::ControlModifier), 81u);
    EXPECT_EQ(VirtualKeyFor(Qt::Key_Control, Qt::ControlModifier), 17u);
}

}  // namespace
