// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyplaces.h"

namespace {

struct KeyPlace {
    uint16_t scanCode;
    uint8_t key;
    const char* codeName;
};

// The main block row by row, as a US keyboard labels it.
constexpr KeyPlace kPlaces[] = {
    {2, '1', "Digit1"},   {3, '2', "Digit2"},   {4, '3', "Digit3"},     {5, '4', "Digit4"},
    {6, '5', "Digit5"},   {7, '6', "Digit6"},   {8, '7', "Digit7"},     {9, '8', "Digit8"},
    {10, '9', "Digit9"},  {11, '0', "Digit0"},  {12, 189, "Minus"},     {13, 187, "Equal"},
    {16, 'Q', "KeyQ"},    {17, 'W', "KeyW"},    {18, 'E', "KeyE"},      {19, 'R', "KeyR"},
    {20, 'T', "KeyT"},    {21, 'Y', "KeyY"},    {22, 'U', "KeyU"},      {23, 'I', "KeyI"},
    {24, 'O', "KeyO"},    {25, 'P', "KeyP"},    {26, 219, "BracketLeft"}, {27, 221, "BracketRight"},
    {30, 'A', "KeyA"},    {31, 'S', "KeyS"},    {32, 'D', "KeyD"},      {33, 'F', "KeyF"},
    {34, 'G', "KeyG"},    {35, 'H', "KeyH"},    {36, 'J', "KeyJ"},      {37, 'K', "KeyK"},
    {38, 'L', "KeyL"},    {39, 186, "Semicolon"}, {40, 222, "Quote"},   {41, 192, "Backquote"},
    {43, 220, "Backslash"}, {44, 'Z', "KeyZ"},  {45, 'X', "KeyX"},      {46, 'C', "KeyC"},
    {47, 'V', "KeyV"},    {48, 'B', "KeyB"},    {49, 'N', "KeyN"},      {50, 'M', "KeyM"},
    {51, 188, "Comma"},   {52, 190, "Period"},  {53, 191, "Slash"},     {86, 226, "IntlBackslash"},
};

struct NamedKey {
    uint8_t key;
    const char* codeName;
};

// Keys outside the main block that Windows gives a code of their own.
constexpr NamedKey kOtherKeys[] = {
    {8, "Backspace"},     {9, "Tab"},          {13, "Enter"},       {13, "NumpadEnter"},  {16, "ShiftLeft"},
    {16, "ShiftRight"},   {17, "ControlLeft"}, {17, "ControlRight"}, {19, "Pause"},       {20, "CapsLock"},
    {27, "Escape"},       {32, "Space"},       {33, "PageUp"},      {34, "PageDown"},     {35, "End"},
    {36, "Home"},         {37, "ArrowLeft"},   {38, "ArrowUp"},     {39, "ArrowRight"},   {40, "ArrowDown"},
    {44, "PrintScreen"},  {45, "Insert"},      {46, "Delete"},      {91, "MetaLeft"},     {92, "MetaRight"},
    {93, "ContextMenu"},  {106, "NumpadMultiply"}, {107, "NumpadAdd"}, {109, "NumpadSubtract"},
    {111, "NumpadDivide"}, {144, "NumLock"},   {145, "ScrollLock"},
};

// The keypad without Num Lock, 0 to 9 and the decimal point.
constexpr uint8_t kKeypadOff[] = {45, 35, 40, 34, 37, 12, 39, 36, 38, 33, 46};

}  // namespace

uint32_t KeyForDomCode(std::string_view code, bool numLock) {
    if (const uint32_t key = KeyForCodeName(code)) return key;
    constexpr std::string_view numpad = "Numpad";
    if (code.size() == numpad.size() + 1 && code.starts_with(numpad)) {
        const char c = code.back();
        if (c >= '0' && c <= '9') return numLock ? 96u + static_cast<uint32_t>(c - '0') : kKeypadOff[c - '0'];
    }
    if (code == "NumpadDecimal") return numLock ? 110 : kKeypadOff[10];
    if (code.size() >= 2 && code.size() <= 3 && code[0] == 'F') {
        int n = 0;
        for (const char c : code.substr(1)) n = (c >= '0' && c <= '9') ? n * 10 + (c - '0') : -100;
        if (n >= 1 && n <= 24) return 111u + static_cast<uint32_t>(n);
    }
    for (const NamedKey& k : kOtherKeys) {
        if (code == k.codeName) return k.key;
    }
    return 0;
}

uint32_t KeyForScanCode(uint32_t scanCode) {
    for (const KeyPlace& p : kPlaces) {
        if (p.scanCode == scanCode) return p.key;
    }
    return 0;
}

uint32_t KeyForCodeName(std::string_view code) {
    for (const KeyPlace& p : kPlaces) {
        if (code == p.codeName) return p.key;
    }
    return 0;
}

uint32_t KeyForCharacter(char32_t c) {
    if (c >= 'a' && c <= 'z') return static_cast<uint32_t>(c - 'a' + 'A');
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ') return static_cast<uint32_t>(c);
    static constexpr std::string_view kShiftedDigits = ")!@#$%^&*(";
    if (const size_t i = kShiftedDigits.find(static_cast<char>(c)); c < 0x80 && i != std::string_view::npos) {
        return static_cast<uint32_t>('0' + i);
    }
    struct Punctuation {
        char plain, shifted;
        uint32_t vk;
    };
    static constexpr Punctuation kPunctuation[] = {
        {';', ':', 186}, {'=', '+', 187}, {',', '<', 188}, {'-', '_', 189}, {'.', '>', 190}, {'/', '?', 191},
        {'`', '~', 192}, {'[', '{', 219}, {'\\', '|', 220}, {']', '}', 221}, {'\'', '"', 222},
    };
    for (const Punctuation& p : kPunctuation) {
        if (c == static_cast<char32_t>(p.plain) || c == static_cast<char32_t>(p.shifted)) return p.vk;
    }
    return 0;
}
