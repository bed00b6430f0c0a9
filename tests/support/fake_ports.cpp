// SPDX-License-Identifier: GPL-3.0-or-later
#include "fake_ports.h"

#include <cstring>

namespace fake {

Ports& State() {
    static Ports ports;
    return ports;
}

void Reset() { State() = Ports{}; }

int StopCount() {
    int n = 0;
    for (const CueEvent& e : State().cues) n += e.call == CueCall::Stop ? 1 : 0;
    return n;
}

void ClearCues() { State().cues.clear(); }

}  // namespace fake

namespace {
constexpr StoreKey kTheKey = 7;
}

namespace {
void Record(fake::CueCall call, int id) {
    fake::State().cues.push_back({call, id});
    if (fake::State().forward) fake::State().forward(call, id);
}
}  // namespace

void I_PlayCue(int id) { Record(fake::CueCall::Play, id); }
void I_PlayCueIfQuiet(int id) { Record(fake::CueCall::PlayIfQuiet, id); }
void I_StopSound() { Record(fake::CueCall::Stop, 0); }
uint32_t I_TickCount() { return fake::State().tickCount; }
const char* I_SaveFolder() { return fake::State().saveFolder.c_str(); }

int I_StoreOpenKey(int create, StoreKey* key) {
    fake::Ports& p = fake::State();
    if (p.failOpen) return 0;
    if (!p.keyExists) {
        if (!create) return 0;
        p.keyExists = true;
    }
    ++p.openKeys;
    *key = kTheKey;
    return 1;
}

int I_StoreQueryValue(StoreKey key, const char* name, uint32_t* type, uint8_t* data, uint32_t* size) {
    fake::Ports& p = fake::State();
    if (key != kTheKey || !p.keyExists) return 0;
    auto it = p.values.find(name);
    if (it == p.values.end()) return 0;
    const auto needed = static_cast<uint32_t>(it->second.bytes.size());
    if (type) *type = it->second.type;
    if (data == nullptr) {
        if (size) *size = needed;
        return 1;
    }
    if (size == nullptr || *size < needed) {
        if (size) *size = needed;
        return 0;
    }
    if (needed > 0) std::memcpy(data, it->second.bytes.data(), needed);
    *size = needed;
    return 1;
}

int I_StoreSetValue(StoreKey key, const char* name, uint32_t type, const uint8_t* data, uint32_t size) {
    fake::Ports& p = fake::State();
    if (key != kTheKey || p.failWrites) return 0;
    p.values[name] = fake::StoredValue{type, std::vector<uint8_t>(data, data + size)};
    return 1;
}

int I_StoreCloseKey(StoreKey key) {
    if (key == kTheKey) --fake::State().openKeys;
    return 1;
}
