// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

#include <chrono>

#include "ports.h"

namespace {

class EffectVoice final : public Voice {
public:
    EffectVoice(const QAudioDevice& device, int id) : effect_(device) {
        effect_.setSource(QUrl(QStringLiteral("qrc:/sounds/cue%1.wav").arg(id)));
    }
    void Start() override { effect_.play(); }
    void Halt() override { effect_.stop(); }
    bool Playing() const override { return effect_.isPlaying(); }

private:
    QSoundEffect effect_;
};

CueDeck& TheDeck() {
    static CueDeck deck;
    return deck;
}

}  // namespace

void InitSoundCues() {
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) return;
    for (int id = kFirstCue; id < kFirstCue + kCueCount; ++id) {
        TheDeck().SetVoice(id, std::make_unique<EffectVoice>(device, id));
    }
}

void ShutDownSoundCues() {
    TheDeck().Stop();
    for (int id = kFirstCue; id < kFirstCue + kCueCount; ++id) TheDeck().SetVoice(id, nullptr);
}

void I_PlayCue(int id) { TheDeck().Play(id); }
void I_PlayCueIfQuiet(int id) { TheDeck().PlayIfQuiet(id); }
void I_StopSound() { TheDeck().Stop(); }

uint32_t I_TickCount() {
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}
