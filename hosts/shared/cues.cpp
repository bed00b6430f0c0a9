// SPDX-License-Identifier: GPL-3.0-or-later
#include "cues.h"

void CueDeck::SetVoice(int id, std::unique_ptr<Voice> voice) {
    if (id >= kFirstCue && id < kFirstCue + kCueCount) voices_[static_cast<size_t>(id - kFirstCue)] = std::move(voice);
}

Voice* CueDeck::VoiceFor(int id) const {
    if (id < kFirstCue || id >= kFirstCue + kCueCount) return nullptr;
    return voices_[static_cast<size_t>(id - kFirstCue)].get();
}

bool CueDeck::Playing() const {
    for (const auto& v : voices_) {
        if (v && v->Playing()) return true;
    }
    return false;
}

void CueDeck::Start(int id) {
    Stop();
    if (Voice* v = VoiceFor(id)) v->Start();
}

void CueDeck::Stop() {
    for (const auto& v : voices_) {
        if (v && v->Playing()) v->Halt();
    }
}

namespace {

uint32_t Little(const uint8_t* p, int bytes) {
    uint32_t n = 0;
    for (int i = bytes - 1; i >= 0; --i) n = n << 8 | p[i];
    return n;
}

}  // namespace

bool CueMixer::Load(int id, const uint8_t* data, size_t size) {
    if (id < kFirstCue || id >= kFirstCue + kCueCount || data == nullptr || size < 12) return false;
    if (Little(data, 4) != 0x46464952u || Little(data + 8, 4) != 0x45564157u) return false;  // "RIFF", "WAVE"
    int rate = 0;
    int bits = 0;
    for (size_t at = 12; at + 8 <= size;) {
        const uint32_t tag = Little(data + at, 4);
        const size_t length = Little(data + at + 4, 4);
        const uint8_t* body = data + at + 8;
        if (length > size - at - 8) return false;
        if (tag == 0x20746D66u && length >= 16) {  // "fmt "
            if (Little(body, 2) != 1 || Little(body + 2, 2) != 1) return false;  // PCM, mono
            rate = static_cast<int>(Little(body + 4, 4));
            bits = static_cast<int>(Little(body + 14, 2));
        } else if (tag == 0x61746164u && rate > 0 && (bits == 8 || bits == 16)) {  // "data"
            Cue cue;
            cue.rate = rate;
            for (size_t i = 0; i + bits / 8 <= length; i += static_cast<size_t>(bits / 8)) {
                cue.samples.push_back(bits == 8 ? static_cast<int16_t>((body[i] - 128) * 256)
                                                : static_cast<int16_t>(Little(body + i, 2)));
            }
            const std::lock_guard hold(lock_);
            cues_[static_cast<size_t>(id - kFirstCue)] = std::move(cue);
            return true;
        }
        at += 8 + length + (length & 1);
    }
    return false;
}

void CueMixer::Start(int id) {
    const std::lock_guard hold(lock_);
    playing_ = -1;
    if (id < kFirstCue || id >= kFirstCue + kCueCount) return;
    if (cues_[static_cast<size_t>(id - kFirstCue)].samples.empty()) return;
    playing_ = id - kFirstCue;
    position_ = 0;
}

void CueMixer::Stop() {
    const std::lock_guard hold(lock_);
    playing_ = -1;
}

bool CueMixer::Playing() const {
    const std::lock_guard hold(lock_);
    return playing_ >= 0;
}

void CueMixer::Read(int16_t* out, size_t count, int rate) {
    const std::lock_guard hold(lock_);
    for (size_t i = 0; i < count; ++i) {
        out[i] = 0;
        if (playing_ < 0 || rate <= 0) continue;
        const Cue& cue = cues_[static_cast<size_t>(playing_)];
        // Each output sample takes the cue's sample of its moment: no smoothing, as the cues were made.
        const uint64_t at = position_ * static_cast<uint64_t>(cue.rate) / static_cast<uint64_t>(rate);
        if (at >= cue.samples.size()) {
            playing_ = -1;
            continue;
        }
        out[i] = cue.samples[static_cast<size_t>(at)];
        ++position_;
    }
}
