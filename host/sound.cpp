// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

#include <chrono>

#include "ports.h"

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
