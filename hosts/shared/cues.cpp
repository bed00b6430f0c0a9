// SPDX-License-Identifier: GPL-3.0-or-later
#include "cues.h"

void CueDeck::SetVoice(int id, std::unique_ptr<Voice> voice) {
    if (id >= kFirstCue && id < kFirstCue + kCueCount) voices_[static_cast<size_t>(id - kFirstCue)] = std::move(voice);
}

Voice* CueDeck::VoiceFor(int id) const {
    if (id < kFirstCue || id >= kFirstCue + kCueCount) return nullptr;
    return voices_[static_cast<size_t>(id - kFirstCue)].get();
}

bool CueDeck::AnyPlaying() const {
    for (const auto& v : voices_) {
        if (v && v->Playing()) return true;
    }
    return false;
}

void CueDeck::Play(int id) {
    Stop();
    if (Voice* v = VoiceFor(id)) v->Start();
}

void CueDeck::PlayIfQuiet(int id) {
    if (!AnyPlaying()) Play(id);
}

void CueDeck::Stop() {
    for (const auto& v : voices_) {
        if (v && v->Playing()) v->Halt();
    }
}
