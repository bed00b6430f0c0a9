// Files that must survive a power cut or a second copy of the game writing the
// same name. Paths are UTF-8 on every system.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>

// The path the operating system should be given for a UTF-8 name.
std::filesystem::path NativePath(const char* utf8);

// Puts the bytes under the path as one step: on disk before the name shows
// them, and the name on disk before this returns 1. On 0 whatever the path
// held before is still there.
int WriteFileDurably(const char* path, const uint8_t* data, size_t size);

// A plain file in the folder whose name matches this one but for the case of
// its letters, written to out as folder/name; 0 when there is none.
int FindIgnoringCase(const char* folder, const char* name, char* out, size_t size);
