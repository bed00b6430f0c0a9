// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QFile>
#include <QIODevice>
#include <QMediaDevices>

#include <chrono>
#include <cstdio>
#include <memory>

#include "ports.h"

namespace {

CueMixer theMixer;

// The mixer as an endless stream for the sink to pull: silence between cues, so
// the one output never runs dry and never has to be started again.
class CueStream final : public QIODevice {
public:
    explicit CueStream(int rate) : rate_(rate) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return 1 << 16; }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        const qint64 samples = maxSize / 2;
        theMixer.Read(reinterpret_cast<int16_t*>(data), static_cast<size_t>(samples), rate_);
        return samples * 2;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    int rate_;
};

class SoundOutput final : public QObject {
public:
    SoundOutput() {
        connect(&devices_, &QMediaDevices::audioOutputsChanged, this, [this] { Open(); });
        Open();
    }
    ~SoundOutput() override { Close(); }

private:
    void Open() {
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (sink_ && device.id() == deviceId_) return;
        Close();
        if (device.isNull()) {
            if (!warned_) std::fprintf(stderr, "grimspire: no audio output found; the game is silent\n");
            warned_ = true;
            return;
        }
        QAudioFormat format;
        format.setSampleRate(device.preferredFormat().sampleRate() > 0 ? device.preferredFormat().sampleRate()
                                                                         : 44100);
        format.setChannelCount(1);
        format.setSampleFormat(QAudioFormat::Int16);
        deviceId_ = device.id();
        stream_ = std::make_unique<CueStream>(format.sampleRate());
        sink_ = std::make_unique<QAudioSink>(device, format);
        // About 40 ms: short enough that a cue starts with its key, long enough not to starve.
        sink_->setBufferSize(format.bytesForDuration(40000));
        sink_->start(stream_.get());
    }
    void Close() {
        if (sink_) sink_->stop();
        sink_.reset();
        stream_.reset();
        deviceId_.clear();
    }

    QMediaDevices devices_;
    std::unique_ptr<QAudioSink> sink_;
    std::unique_ptr<CueStream> stream_;
    QByteArray deviceId_;
    bool warned_ = false;
};

std::unique_ptr<SoundOutput> theOutput;

}  // namespace

void InitSoundCues() {
    for (int id = kFirstCue; id < kFirstCue + kCueCount; ++id) {
        QFile file(QStringLiteral(":/sounds/cue%1.wav").arg(id));
        if (!file.open(QIODevice::ReadOnly)) continue;
        const QByteArray wave = file.readAll();
        theMixer.Load(id, reinterpret_cast<const uint8_t*>(wave.constData()), static_cast<size_t>(wave.size()));
    }
    theOutput = std::make_unique<SoundOutput>();
}

void ShutDownSoundCues() {
    theMixer.Stop();
    theOutput.reset();
}

void SetSoundOn(bool on) { theMixer.SetMuted(!on); }

void I_PlayCue(int id) { theMixer.Play(id); }
void I_PlayCueIfQuiet(int id) { theMixer.PlayIfQuiet(id); }
void I_StopSound() { theMixer.Stop(); }

uint32_t I_TickCount() {
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}
