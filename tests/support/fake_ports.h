// SPDX-License-Identifier: GPL-3.0-or-later
// A recording stand-in for the host: every cue, the tick count and an in-memory
// best-score store that tests can inspect and break.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "ports.h"

namespace fake {

enum class CueCall { Play, PlayIfQuiet, Stop };

struct CueEvent {
    CueCall call;
    int id;  // 0 for Stop
};

struct StoredValue {
    uint32_t type;
    std::vector<uint8_t> bytes;
};

// Everything the fake ports saw or hold. Reset() before each test.
struct Ports {
    std::vector<CueEvent> cues;
    uint32_t tickCount = 1;
    std::string saveFolder;  // "" saves in the current directory
    // The store: present means the key exists.
    bool keyExists = false;
    std::map<std::string, StoredValue> values;
    bool failOpen = false;    // opening (or creating) the key fails
    bool failWrites = false;  // every write fails silently
    int openKeys = 0;         // keys opened and not yet closed
    // Each cue call is also handed on here when set (to a host's cue policy).
    void (*forward)(CueCall call, int id) = nullptr;
};

Ports& State();
void Reset();

// Number of Stop calls.
int StopCount();
void ClearCues();

}  // namespace fake
