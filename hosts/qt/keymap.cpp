// SPDX-License-Identifier: GPL-3.0-or-later
#include "keymap.h"

#include "keyplaces.h"

namespace {

// The numeric keypad with Num Lock on; with it off the same keys arrive as
// Home, End, Clear ... and fall through to the table below.
uint32_t KeypadKey(int qtKey) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return 96 + static_cast<uint32_t>(qtKey - Qt::Key_0);
    switch (qtKey) {
        case Qt::Key_Asterisk: return 106;  // VK_MULTIPLY
        case Qt::Key_Plus: return 107;      // VK_ADD
        case Qt::Key_Minus: return 109;     // VK_SUBTRACT
        case Qt::Key_Period:
        case Qt::Key_Comma: return 110;     // VK_DECIMAL
        case Qt::Key_Slash: return 111;     // VK_DIVIDE
        default: return 0;
    }
}

uint32_t MainKey(int qtKey) {
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 'A' + static_cast<uint32_t>(qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return '0' + static_cast<uint32_t>(qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return 112 + static_cast<uint32_t>(qtKey - Qt::Key_F1);
    switch (qtKey) {
        case Qt::Key_Backspace: return 8;
        case Qt::Key_Tab:
        case Qt::Key_Backtab: return 9;
        case Qt::Key_Clear: return 12;
        case Qt::Key_Return:
        case Qt::Key_Enter: return 13;
        case Qt::Key_Shift: return 16;
        case Qt::Key_Control: return 17;
        case Qt::Key_Pause: return 19;
        case Qt::Key_CapsLock: return 20;
        case Qt::Key_Escape: return 27;
        case Qt::Key_Space: return 32;
        case Qt::Key_PageUp: return 33;
        case Qt::Key_PageDown: return 34;
        case Qt::Key_End: return 35;
        case Qt::Key_Home: return 36;
        case Qt::Key_Left: return 37;
        case Qt::Key_Up: return 38;
        case Qt::Key_Right: return 39;
        case Qt::Key_Down: return 40;
        case Qt::Key_Print: return 44;
        case Qt::Key_Insert: return 45;
        case Qt::Key_Delete: return 46;
        case Qt::Key_Meta:
        case Qt::Key_Super_L: return 91;
        case Qt::Key_Super_R: return 92;
        case Qt::Key_Menu: return 93;
        case Qt::Key_NumLock: return 144;
        case Qt::Key_ScrollLock: return 145;
        // Shifted digits and punctuation are the same keys on the US layout.
        case Qt::Key_ParenRight: return '0';
        case Qt::Key_Exclam: return '1';
        case Qt::Key_At: return '2';
        case Qt::Key_NumberSign: return '3';
        case Qt::Key_Dollar: return '4';
        case Qt::Key_Percent: return '5';
        case Qt::Key_AsciiCircum: return '6';
        case Qt::Key_Ampersand: return '7';
        case Qt::Key_Asterisk: return '8';
        case Qt::Key_ParenLeft: return '9';
        case Qt::Key_Semicolon:
        case Qt::Key_Colon: return 186;
        case Qt::Key_Equal:
        case Qt::Key_Plus: return 187;
        case Qt::Key_Comma:
        case Qt::Key_Less: return 188;
        case Qt::Key_Minus:
        case Qt::Key_Underscore: return 189;
        case Qt::Key_Period:
        case Qt::Key_Greater: return 190;
        case Qt::Key_Slash:
        case Qt::Key_Question: return 191;
        case Qt::Key_QuoteLeft:
        case Qt::Key_AsciiTilde: return 192;
        case Qt::Key_BracketLeft:
        case Qt::Key_BraceLeft: return 219;
        case Qt::Key_Backslash:
        case Qt::Key_Bar: return 220;
        case Qt::Key_BracketRight:
        case Qt::Key_BraceRight: return 221;
        case Qt::Key_Apostrophe:
        case Qt::Key_QuoteDbl: return 222;
        default: return 0;
    }
}

}  // namespace

uint32_t VirtualKeyFor(int qtKey, Qt::KeyboardModifiers modifiers, quint32 nativeScanCode) {
    if (qtKey == Qt::Key_Alt || qtKey == Qt::Key_AltGr || qtKey == Qt::Key_F10) return 0;
    // AltGr arrives as Alt together with Control and types characters; plain Alt makes menu keys.
    if ((modifiers & Qt::AltModifier) && !(modifiers & Qt::ControlModifier)) return 0;
    if (modifiers & Qt::KeypadModifier) {
        if (const uint32_t key = KeypadKey(qtKey)) return key;
    }
    if (const uint32_t key = MainKey(qtKey)) return key;
    // A character key without a code of its own (é, a Cyrillic letter ...) goes by its place.
    return qtKey > 0x20 && qtKey < 0x01000000 ? (nativeScanCode > 8 ? KeyForScanCode(nativeScanCode - 8) : 0) : 0;
}
