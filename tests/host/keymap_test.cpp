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

TEST(KeyMap, OtherScriptsTypeByThePlaceOfTheKey) {
    // Cyrillic ef, es and ze lie where A, C and P lie on the US layout.
    EXPECT_EQ(VirtualKeyFor(0x0444, Qt::NoModifier, 38), 65u);
    EXPECT_EQ(VirtualKeyFor(0x0441, Qt::NoModifier, 54), 67u);
    EXPECT_EQ(VirtualKeyFor(0x0437, Qt::NoModifier, 33), 80u);
    // A French key with a digit beneath gives the digit, as it does on Windows.
    EXPECT_EQ(VirtualKeyFor(Qt::Key_Eacute, Qt::NoModifier, 11), 50u);
    // Without a key code, or at a place with no letter or digit, nothing.
    EXPECT_EQ(VirtualKeyFor(0x0444, Qt::NoModifier, 0), 0u);
    EXPECT_EQ(VirtualKeyFor(Qt::Key_Udiaeresis, Qt::NoModifier, 34), 0u);
    // Latin letters keep their own code wherever their key lies (AZERTY's A is at Q's place).
    EXPECT_EQ(VirtualKeyFor(Qt::Key_A, Qt::NoModifier, 24), 65u);
}

}  // namespace
