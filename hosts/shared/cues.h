// SPDX-License-Identifier: GPL-3.0-or-later
// The nine sound cues as each edition's audio device sounds them. Which cue
// plays, cuts off or is dropped is the host's policy (host.h); an output only
// starts one cue at a time, stops, and tells whether anything sounds.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

constexpr int kFirstCue = 103;
constexpr int kCueCount = 9;

class CueOutput {
public:
    virtual ~CueOutput() = default;
    virtual void Start(int id) = 0;  // cuts off whatever sounds
    virtual void Stop() = 0;
    virtual bool Playing() const = 0;
};

// One loaded cue, as the deck sees it.
class Voice {
public:
    virtual ~Voice() = default;
    virtual void Start() = 0;
    virtual void Halt() = 0;
    virtual bool Playing() const = 0;
};

// An output of one voice a cue, for devices that play each cue on its own.
class CueDeck final : public CueOutput {
public:
    // A missing voice (a cue that could not be loaded) is simply silent.
    void SetVoice(int id, std::unique_ptr<Voice> voice);
    void Start(int id) override;
    void Stop() override;
    bool Playing() const override;

private:
    Voice* VoiceFor(int id) const;
    std::array<std::unique_ptr<Voice>, kCueCount> voices_;
};

// The nine cues decoded once into one format (16-bit mono) and mixed into one stream, which an audio output pulls at its own rate. Safe to
// call from the game's thread while the output pulls from another.
class CueMixer final : public CueOutput {
public:
    // Takes a RIFF WAVE file of 8- or 16-bit mono PCM; false when it is not one.
    bool Load(int id, const uint8_t* data, size_t size);
    void Start(int id) override;
    void Stop() override;
    bool Playing() const override;
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
};
