// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <string>
#include <vector>

#include "ports.h"
#include "sound.h"

namespace {

// A voice that "plays" until the test stops it, recording what was done to it.
struct Log {
    std::vector<std::string> events;
};

class FakeVoice final : public Voice {
public:
    FakeVoice(Log& log, int id) : log_(log), id_(id) {}
    void Start() override {
        playing_ = true;
        log_.events.push_back("start " + std::to_string(id_));
    }
    void Halt() override {
        playing_ = false;
        log_.events.push_back("halt " + std::to_string(id_));
    }
    bool Playing() const override { return playing_; }
    void Finish() { playing_ = false; }

private:
    Log& log_;
    int id_;
    bool playing_ = false;
};

struct Deck {
    Deck() {
        for (int id = kFirstCue; id < kFirstCue + kCueCount; ++id) {
            auto v = std::make_unique<FakeVoice>(log, id);
            voices.push_back(v.get());
            deck.SetVoice(id, std::move(v));
        }
    }
    FakeVoice& Voice(int id) { return *voices[static_cast<size_t>(id - kFirstCue)]; }
    Log log;
    CueDeck deck;
    std::vector<FakeVoice*> voices;
};

TEST(SoundCues, NewCueCutsOffThePlayingOne) {
    Deck d;
    d.deck.Play(110);
    d.deck.Play(104);
    EXPECT_EQ(d.log.events, (std::vector<std::string>{"start 110", "halt 110", "start 104"}));
    EXPECT_FALSE(d.Voice(110).Playing());
    EXPECT_TRUE(d.Voice(104).Playing());
    // The same cue again starts over.
    d.deck.Play(104);
    EXPECT_EQ(d.log.events.back(), "start 104");
    EXPECT_EQ(d.log.events[d.log.events.size() - 2], "halt 104");
}

TEST(SoundCues, ObstacleIsDroppedWhileAnotherPlaysAndHeardWhenQuiet) {
    Deck d;
    d.deck.Play(109);
    d.deck.PlayIfQuiet(108);
    EXPECT_EQ(d.log.events, (std::vector<std::string>{"start 109"}));
    d.Voice(109).Finish();
    d.deck.PlayIfQuiet(108);
    EXPECT_EQ(d.log.events.back(), "start 108");
    // A blow right after a bump cuts the bump off.
    d.deck.Play(109);
    EXPECT_FALSE(d.Voice(108).Playing());
    EXPECT_TRUE(d.Voice(109).Playing());
}

TEST(SoundCues, StopSilencesEverythingAndUnknownCuesAreSilent) {
    Deck d;
    d.deck.Play(111);
    d.deck.Stop();
    EXPECT_FALSE(d.deck.AnyPlaying());
    d.deck.Play(102);
    d.deck.Play(112);
    d.deck.PlayIfQuiet(-1);
    EXPECT_FALSE(d.deck.AnyPlaying());
    // A cue that failed to load is silent but still cuts off the one playing.
    d.deck.SetVoice(106, nullptr);
    d.deck.Play(105);
    d.deck.Play(106);
    EXPECT_FALSE(d.deck.AnyPlaying());
}

// On a machine without an audio output (as this one may be) loading the cues and
// playing them must neither block nor fail.
TEST(SoundCues, RealCuesLoadAndPlayWithoutBlocking) {
    QElapsedTimer clock;
    clock.start();
    InitSoundCues();
    for (int id = kFirstCue; id < kFirstCue + kCueCount; ++id) I_PlayCue(id);
    I_PlayCueIfQuiet(108);
    I_StopSound();
    ShutDownSoundCues();
    EXPECT_LT(clock.elapsed(), 5000);
}

}  // namespace
