// SPDX-License-Identifier: GPL-3.0-or-later
// The host's best-score store: a small typed key-value file in the user's
// configuration directory, behind the I_Store* ports of the game core.
//
// The file ($XDG_CONFIG_HOME/grimspire/highscore.conf, else
// ~/.config/grimspire/highscore.conf) holds one value a line:
//     HighScore dword 1550
//     HighScoreName sz hex:4a4f484e00
// A dword of exactly four bytes is written as a decimal number, every other value
// as "hex:" and its bytes. The file exists exactly when the key exists. It is only
// ever replaced whole (temporary file, fsync, rename), and a file that cannot be
// read or parsed counts as no key at all.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "ports.h"

namespace typed_store {

struct Value {
    uint32_t type = REG_NONE;
    std::vector<uint8_t> bytes;
};

using Values = std::map<std::string, Value>;

// Where the store lives; empty when neither XDG_CONFIG_HOME nor HOME gives a place.
std::string StoreFilePath();

// The text form of a set of values, and back. Parse returns false for anything
// that is not exactly what Format writes (comments and blank lines aside).
std::string Format(const Values& values);
bool Parse(const std::string& text, Values* values);

// Reads the store file; false when it is missing, unreadable or damaged.
bool ReadStoreFile(const std::string& path, Values* values);
// Replaces the store file atomically, creating its directory when missing.
bool WriteStoreFile(const std::string& path, const Values& values);

// Removes the temporary files that replacements killed half way left beside the
// store. Only for whoever holds the store's lock: another writer's is not spared.
void RemoveLeftovers(const std::string& path);

// For tests: make the next replacement fail at the given step.
enum class Fault { None, CreateTemp, Write, Sync, Rename };
void InjectFault(Fault fault);

}  // namespace typed_store
