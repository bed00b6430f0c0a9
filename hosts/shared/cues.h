// SPDX-License-Identifier: GPL-3.0-or-later
// The nine sound cues: one plays at a time, a new cue cuts off the old one, the
// obstacle bump is dropped while anything plays, and a stop silences everything.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

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

// The nine cues decoded once into one format (16-bit mono) and played by the deck's
// rules into one stream, which an audio output pulls at its own rate. Safe to
// call from the game's thread while the output pulls from another.
class CueMixer {
public:
    // Takes a RIFF WAVE file of 8- or 16-bit mono PCM; false when it is not one.
    bool Load(int id, const uint8_t* data, size_t size);
    void Play(int id);
    void PlayIfQuiet(int id);
    void Stop();
    bool Playing() const;
    // Muted, nothing starts; muting also stops what plays.
    void SetMuted(bool muted);
    // The next `count` samples at `rate` Hz; silence where nothing plays.
    void Read(int16_t* out, size_t count, int rate);

private:
    struct Cue {
        std::vector<int16_t> samples;
        int rate = 0;
    };
    mutable std::mutex lock_;
    std::array<Cue, kCueCount> cues_;
    int playing_ = -1;    // index into cues_, -1 for none
    uint64_t position_ = 0;  // in output samples
    bool muted_ = false;
};
