// SPDX-License-Identifier: GPL-3.0-or-later
// The nine sound cues: one plays at a time, a new cue cuts off the old one, the
// obstacle bump is dropped while anything plays, and a stop silences everything.
#pragma once

#include <array>
#include <cstddef>
#include <memory>

constexpr int kFirstCue = 103;
constexpr int kCueCount = 9;

// One loaded cue, as the deck sees it.
class Voice {
public:
    virtual ~Voice() = default;
    virtual void Start() = 0;
    virtual void Halt() = 0;
    virtual bool Playing() const = 0;
};

class CueDeck {
public:
    // A missing voice (a cue that could not be loaded) is simply silent.
    void SetVoice(int id, std::unique_ptr<Voice> voice);
    void Play(int id);
    void PlayIfQuiet(int id);
    void Stop();
    bool AnyPlaying() const;

private:
    Voice* VoiceFor(int id) const;
    std::array<std::unique_ptr<Voice>, kCueCount> voices_;
};
