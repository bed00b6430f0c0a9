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

}  // namespace

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
