// SPDX-License-Identifier: GPL-3.0-or-later
// The best score and its holder's name, kept between runs in the host's store.
// Every key opened here is closed on every path. What cannot be read is read
// as "no best score yet"; what cannot be written the caller tells the player.
#include <cstring>

#include "score/score.h"

namespace {

// The largest name value read at all. Without a heap the value has to fit a
// buffer of our own; a name of thousands of characters is no name we wrote.
constexpr uint32_t kMaxNameValue = 4096;

}  // namespace

uint32_t QueryHighScore(StoreKey key) {
    const uint32_t score = ReadScore(key);
    I_StoreCloseKey(key);
    return score;
}

uint32_t ReadScore(StoreKey key) {
    uint32_t score = 0;
    uint32_t type = REG_NONE;
    uint32_t size = 0;
    if (I_StoreQueryValue(key, "HighScore", &type, nullptr, &size) && type == REG_DWORD && size == 4) {
        uint8_t bytes[4] = {};
        if (I_StoreQueryValue(key, "HighScore", &type, bytes, &size) && size == 4) {
            score = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                    static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
        }
    }
    return score;
}

int QueryHighScoreName(char* out, uint32_t outSize, StoreKey key) {
    int result = 0;
    uint32_t type = REG_NONE;
    uint32_t size = 0;
    // An expandable string is taken as it stands: nothing is expanded.
    if (out != nullptr && outSize > 0 && I_StoreQueryValue(key, "HighScoreName", &type, nullptr, &size) &&
        (type == REG_SZ || type == REG_EXPAND_SZ) && size <= kMaxNameValue) {
        // One byte more than the value, all zero: a stored string without its
        // terminator still ends.
        char buffer[kMaxNameValue + 1];
        std::memset(buffer, 0, size + 1);
        uint32_t got = size;
        if (I_StoreQueryValue(key, "HighScoreName", &type, reinterpret_cast<uint8_t*>(buffer), &got)) {
            const size_t n = strnlen(buffer, outSize - 1);
            std::memcpy(out, buffer, n);
            out[n] = '\0';
            result = 1;
        }
    }
    I_StoreCloseKey(key);
    return result;
}

void LoadHighScore(GameState& g) {
    // Both read through one key: another copy storing its best in between
    // would otherwise give one player's score under another's name.
    StoreKey key = 0;
    uint32_t score = 0;
    g.highScoreName[0] = '\0';
    if (I_StoreOpenKey(0, &key)) {
        score = ReadScore(key);
        // The name is loaded even when its score is thrown away.
        if (!QueryHighScoreName(g.highScoreName, sizeof g.highScoreName, key)) g.highScoreName[0] = '\0';
    }
    // No game can score more; a larger number was not written by us.
    g.highScore = score > kPerfectScore ? 0 : score;
}

int StoreHighScoreValue(StoreKey key, uint32_t score) {
    const uint8_t bytes[4] = {static_cast<uint8_t>(score), static_cast<uint8_t>(score >> 8),
                              static_cast<uint8_t>(score >> 16), static_cast<uint8_t>(score >> 24)};
    return I_StoreSetValue(key, "HighScore", REG_DWORD, bytes, sizeof bytes);
}

int SaveHighScore(GameState& g) {
    StoreKey key = 0;
    if (!I_StoreOpenKey(1, &key)) return 0;
    // Another copy of the game may have stored a better score since this one
    // read it: asked again under the store's lock, nothing is ever lowered.
    uint32_t stored = ReadScore(key);
    if (stored > kPerfectScore) stored = 0;
    if (g.highScore < stored || (g.highScore == stored && stored != kPerfectScore)) {
        I_StoreCloseKey(key);
        LoadHighScore(g);
        return 1;
    }
    int kept = StoreHighScoreValue(key, g.highScore);
    char name[kNameMax + 1];
    const size_t n = strnlen(g.highScoreName, kNameMax);
    std::memcpy(name, g.highScoreName, n);
    name[n] = '\0';
    // Stored with its terminator, as a string value should be.
    kept = I_StoreSetValue(key, "HighScoreName", REG_SZ, reinterpret_cast<const uint8_t*>(name),
                           static_cast<uint32_t>(n + 1)) && kept;
    // The store may keep the two only as it closes, together.
    return I_StoreCloseKey(key) && kept;
}
