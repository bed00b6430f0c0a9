// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QFile>
#include <QIODevice>
#include <QMediaDevices>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include <QSettings>

#include "ports.h"
#include "settings.h"

namespace {

CueMixer theMixer;

class SoundOutput final : public QObject {
public:
    SoundOutput() {
        connect(&devices_, &QMediaDevices::audioOutputsChanged, this, [this] { Open(); });
        feed_.setTimerType(Qt::PreciseTimer);
        connect(&feed_, &QTimer::timeout, this, [this] { Feed(); });
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
        rate_ = format.sampleRate();
        deviceId_ = device.id();
        sink_ = std::make_unique<QAudioSink>(device, format);
        // A short buffer topped up every few milliseconds: a cue starts within one buffer of its key.
        // (Letting the sink pull instead keeps a far longer stretch of silence queued ahead of it.)
        sink_->setBufferSize(format.bytesForDuration(kBufferMs * 1000));
        input_ = sink_->start();
        Feed();
    }

public:
    // Tops the buffer up while a cue plays; between cues the stream runs dry rather than keep the
    // program waking a hundred times a second to write silence.
    void Feed() {
        if (!sink_ || !input_) return;
        const bool playing = theMixer.Playing();
        const qint64 samples = sink_->bytesFree() / 2;
        if (playing && sink_->state() == QAudio::SuspendedState) sink_->resume();
        if (samples > 0 && (playing || feed_.isActive())) {
            buffer_.resize(static_cast<size_t>(samples));
            theMixer.Read(buffer_.data(), buffer_.size(), rate_);
            input_->write(reinterpret_cast<const char*>(buffer_.data()), samples * 2);
        }
        // One more round after the end, so the cue's tail is followed by silence, not cut.
        if (playing) {
            if (!feed_.isActive()) feed_.start(kBufferMs / 4);
        } else if (feed_.isActive() && ++quietRounds_ > 8) {
            feed_.stop();
            sink_->suspend();  // a corked stream costs the server and us nothing
        }
        if (playing) quietRounds_ = 0;
    }

private:
    void Close() {
        feed_.stop();
        if (sink_) sink_->stop();
        sink_.reset();
        input_ = nullptr;
        deviceId_.clear();
    }

    static constexpr int kBufferMs = 40;
    QMediaDevices devices_;
    QTimer feed_;
    std::unique_ptr<QAudioSink> sink_;
    QIODevice* input_ = nullptr;  // the sink's own
    QByteArray deviceId_;
    std::vector<int16_t> buffer_;
    int rate_ = 44100;
    int quietRounds_ = 0;
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
    // The sound server is asked for its outputs once the window is up: that wait need not delay the
    // first picture, and the title's tune, already started in the mixer, is heard from its beginning.
    QTimer::singleShot(0, [] { theOutput = std::make_unique<SoundOutput>(); });
}

void ShutDownSoundCues() {
    theMixer.Stop();
    theOutput.reset();
}

namespace {

// The mixer, fed to the device as soon as a cue starts.
class FedMixer final : public CueOutput {
public:
    void Start(int id) override {
        theMixer.Start(id);
        if (theOutput) theOutput->Feed();
    }
    void Stop() override { theMixer.Stop(); }
    bool Playing() const override { return theMixer.Playing(); }
} theCues;

}  // namespace

CueOutput& SoundCues() { return theCues; }

bool SoundSetting() {
    return QSettings(SettingsPath(), QSettings::IniFormat).value(QStringLiteral("View/sound"), true).toBool();
}

uint32_t I_TickCount() {
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}
