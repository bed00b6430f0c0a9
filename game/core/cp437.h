// Code page 437 and Unicode, both ways. Shared by the title screen, the tools
// and the tests' screen dumps.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

// The Unicode code point drawn for a CP437 code. Codes 0 and 0x20 both give a blank.
char32_t Cp437ToUnicode(uint8_t code);
// The CP437 code of a code point; returns 0 and sets *ok to false when it has none.
uint8_t UnicodeToCp437(char32_t cp, bool* ok);
// Appends a code point to a UTF-8 string.
void AppendUtf8(std::string& out, char32_t cp);
// Decodes UTF-8 text into code points; false on malformed input.
bool DecodeUtf8(const std::string& in, std::u32string* out);
