// SPDX-License-Identifier: GPL-3.0-or-later
#include <chrono>
#include <cstdlib>
#include <memory>

#include "core/state.h"
#include "cues.h"
#include "bell.h"
#include "ports.h"

namespace {

CueDeck gDeck;
std::string gBells;

// Lengths of the desktop's cue recordings, in milliseconds.
constexpr int kCueMs[kCueCount] = {54, 35, 72, 253, 754, 62, 97, 6758, 4675};

class BellVoice final : public Voice {
public:
    BellVoice(int ms, bool rings) : ms_(ms), rings_(rings) {}
    void Start() override {
        if (rings_) gBells += '\a';
        until_ = NowMs() + ms_;
    }
    void Halt() override { until_ = 0; }
    bool Playing() const override { return NowMs() < until_; }

private:
    int ms_;
    bool rings_;
    int64_t until_ = 0;
};

}  // namespace

int64_t NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

CueOutput& BellCues() {
    static bool made = false;
    if (!made) {
        made = true;
        for (int i = 0; i < kCueCount; ++i) {
            const int id = kFirstCue + i;
            gDeck.SetVoice(id, std::make_unique<BellVoice>(kCueMs[i], id == CUE_WHAT || id == CUE_OBSTACLE));
        }
    }
    return gDeck;
}

std::string TakeBells() {
    std::string bells;
    bells.swap(gBells);
    return bells;
}

// GRIMSPIRE_SEED makes a run repeatable: the game seeds its generator from this.
uint32_t I_TickCount() {
    if (const char* seed = std::getenv("GRIMSPIRE_SEED"); seed != nullptr && seed[0] != '\0') {
        return static_cast<uint32_t>(std::strtoul(seed, nullptr, 10));
    }
    return static_cast<uint32_t>(NowMs());
}
