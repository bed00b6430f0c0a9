// SPDX-License-Identifier: GPL-3.0-or-later
// grimspire-sounds: writes the nine sound cues as 8-bit mono WAVE files at
// 11,025 Hz, cue103.wav to cue111.wav, in the voice of a PC speaker: a square
// wave whose pitch is set by a timer divisor, as the 8253 did it.
//
//   grimspire-sounds [output directory]      (default resources/sounds)
//
// Everything is integer arithmetic on the divisor clock, and the noise comes from
// a fixed-seed generator, so the files are the same on every run.
//
// Both tunes are our own compositions for this game: the title theme is a slow
// march in D minor, the fanfare for a perfect score answers it in D major.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 11025;
constexpr int64_t kPitClock = 1193182;  // the speaker timer's input clock in Hz
constexpr uint8_t kHigh = 128 + 56;
constexpr uint8_t kLow = 128 - 56;
constexpr uint8_t kSilence = 128;

// A square wave that keeps its phase across pitch changes, so sweeps are smooth.
class Speaker {
public:
    explicit Speaker(std::vector<uint8_t>& out) : out_(out) {}

    // One sample at the given timer divisor; the level flips every half period.
    void Sample(int64_t divisor) {
        acc_ += 2 * kPitClock;
        const int64_t half = divisor * kRate;
        while (acc_ >= half) {
            acc_ -= half;
            high_ = !high_;
        }
        out_.push_back(high_ ? kHigh : kLow);
    }
    void Tone(double hz, int samples) {
        const int64_t divisor = Divisor(hz);
        for (int i = 0; i < samples; ++i) Sample(divisor);
    }
    // Pitch glides linearly in divisor from one frequency to the other.
    void Sweep(double fromHz, double toHz, int samples) {
        const int64_t d0 = Divisor(fromHz);
        const int64_t d1 = Divisor(toHz);
        for (int i = 0; i < samples; ++i) Sample(d0 + (d1 - d0) * i / samples);
    }
    void Rest(int samples) {
        for (int i = 0; i < samples; ++i) out_.push_back(kSilence);
        acc_ = 0;
        high_ = true;
    }
    // The speaker driven by random bits: a hiss with a rough edge.
    void Noise(int samples, uint32_t seed) {
        for (int i = 0; i < samples; ++i) {
            seed = seed * 1103515245u + 12345u;
            if ((seed >> 16) % 3 == 0) high_ = !high_;
            out_.push_back(high_ ? kHigh : kLow);
        }
    }
    static int64_t Divisor(double hz) { return std::llround(static_cast<double>(kPitClock) / hz); }

private:
    std::vector<uint8_t>& out_;
    int64_t acc_ = 0;
    bool high_ = true;
};

// Equal temperament from MIDI note numbers (69 = A4 = 440 Hz).
double Note(int midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

enum : int {
    D4 = 62, E4 = 64, F4 = 65, Fs4 = 66, G4 = 67, A4 = 69, Bb4 = 70,
    C5 = 72, Cs5 = 73, D5 = 74, E5 = 76, F5 = 77, Fs5 = 78, G5 = 79, A5 = 81,
    C6 = 84, D6 = 86, F6 = 89, A6 = 93,
};

struct MelodyNote {
    int midi;  // 0 is a rest
    int sixteenths;
};

// Plays a melody so that it fills exactly 'samples': the tempo follows from the
// total length, and each note is cut short a little so repeated notes are heard.
void Melody(Speaker& speaker, const std::vector<MelodyNote>& notes, int samples) {
    int total = 0;
    for (const MelodyNote& n : notes) total += n.sixteenths;
    int done = 0;
    int elapsed = 0;
    for (size_t i = 0; i < notes.size(); ++i) {
        elapsed += notes[i].sixteenths;
        const int end = static_cast<int>(static_cast<int64_t>(samples) * elapsed / total);
        const int length = end - done;
        const bool last = i + 1 == notes.size();
        const int sounding = last ? length : length * 7 / 8;
        if (notes[i].midi == 0) {
            speaker.Rest(length);
        } else {
            speaker.Tone(Note(notes[i].midi), sounding);
            speaker.Rest(length - sounding);
        }
        done = end;
    }
}

struct Cue {
    int id;
    const char* name;
    int samples;  // one byte per sample
    void (*make)(Speaker&, int samples);
};

void MakeDrop(Speaker& s, int n) { s.Sweep(330, 196, n); }
void MakeTake(Speaker& s, int n) { s.Sweep(1760, 2349, n); }

void MakeLineFull(Speaker& s, int n) {
    // A low buzz: two close pitches traded every few milliseconds.
    for (int i = 0; i < n; i += 40) {
        const int len = i + 40 <= n ? 40 : n - i;
        s.Tone((i / 40) % 2 ? 98 : 110, len);
    }
}

void MakeWhat(Speaker& s, int n) {
    const int gap = n / 20;
    const int half = (n - gap) / 2;
    s.Tone(Note(D5), half);
    s.Rest(gap);
    s.Tone(Note(G4), n - half - gap);
}

void MakeHarp(Speaker& s, int n) {
    Melody(s, {{F4, 1}, {A4, 1}, {C5, 1}, {F5, 1}, {A5, 1}, {C6, 1}, {F6, 1}, {A6, 3}}, n);
}

void MakeObstacle(Speaker& s, int n) { s.Sweep(150, 45, n); }
void MakeAttack(Speaker& s, int n) { s.Noise(n, 0x5EED0109u); }

void MakeTitle(Speaker& s, int n) {
    Melody(s,
           {
               // The castle rises: the D minor chord climbing, a leading tone, a question.
               {D4, 4}, {F4, 2}, {A4, 2}, {D5, 4}, {Cs5, 2}, {D5, 2}, {E5, 8}, {A4, 8},
               // The answer falls back.
               {Bb4, 4}, {A4, 2}, {G4, 2}, {F4, 4}, {E4, 4}, {D4, 2}, {E4, 2}, {F4, 2}, {G4, 2}, {A4, 8},
               // And closes on the tonic.
               {D5, 2}, {C5, 2}, {Bb4, 2}, {A4, 2}, {G4, 4}, {Bb4, 4}, {A4, 2}, {G4, 2}, {F4, 2}, {E4, 2},
               {D4, 8},
           },
           n);
}

void MakePerfect(Speaker& s, int n) {
    Melody(s,
           {
               {A4, 1}, {A4, 1}, {A4, 1}, {D5, 5},
               {A4, 1}, {D5, 1}, {Fs5, 1}, {A5, 5},
               {Fs5, 2}, {A5, 2}, {D6, 8},
           },
           n);
}

// Lengths as the game has always had them (rounded up to whole words).
const Cue kCues[] = {
    {103, "CUE_DROP", 598, MakeDrop},
    {104, "CUE_TAKE", 390, MakeTake},
    {105, "CUE_LINE_FULL", 798, MakeLineFull},
    {106, "CUE_WHAT", 2794, MakeWhat},
    {107, "CUE_HARP", 8310, MakeHarp},
    {108, "CUE_OBSTACLE", 682, MakeObstacle},
    {109, "CUE_ATTACK", 1068, MakeAttack},
    {110, "CUE_TITLE", 74510, MakeTitle},
    {111, "CUE_PERFECT", 51544, MakePerfect},
};

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void PutU16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void PutTag(std::vector<uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

// RIFF WAVE: the format chunk, a LIST/INFO chunk with the cue's name, then the
// samples last, so a reader that streams to the end of the file hears nothing
// but the sound.
std::vector<uint8_t> MakeWave(const char* name, const std::vector<uint8_t>& samples) {
    std::string title = name;
    title += '\0';
    if (title.size() % 2) title += '\0';
    const uint32_t listSize = 4 + 8 + static_cast<uint32_t>(title.size());
    const uint32_t dataSize = static_cast<uint32_t>(samples.size());

    std::vector<uint8_t> out;
    PutTag(out, "RIFF");
    PutU32(out, 4 + (8 + 16) + (8 + listSize) + (8 + dataSize + dataSize % 2));
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    PutU32(out, 16);
    PutU16(out, 1);      // PCM
    PutU16(out, 1);      // mono
    PutU32(out, kRate);  // samples per second
    PutU32(out, kRate);  // bytes per second
    PutU16(out, 1);      // block align
    PutU16(out, 8);      // bits per sample
    PutTag(out, "LIST");
    PutU32(out, listSize);
    PutTag(out, "INFO");
    PutTag(out, "INAM");
    PutU32(out, static_cast<uint32_t>(title.size()));
    out.insert(out.end(), title.begin(), title.end());
    PutTag(out, "data");
    PutU32(out, dataSize);
    out.insert(out.end(), samples.begin(), samples.end());
    if (dataSize % 2) out.push_back(kSilence);
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2) {
        std::fprintf(stderr, "usage: grimspire-sounds [output directory]\n");
        return 2;
    }
    const std::string dir = argc > 1 ? argv[1] : "resources/sounds";
    for (const Cue& cue : kCues) {
        std::vector<uint8_t> samples;
        Speaker speaker(samples);
        cue.make(speaker, cue.samples);
        if (static_cast<int>(samples.size()) != cue.samples) {
            std::fprintf(stderr, "grimspire-sounds: %s came out %zu samples long, not %d\n",
                         cue.name, samples.size(), cue.samples);
            return 1;
        }
        const std::vector<uint8_t> wave = MakeWave(cue.name, samples);
        const std::string path = dir + "/cue" + std::to_string(cue.id) + ".wav";
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (!f || std::fwrite(wave.data(), 1, wave.size(), f) != wave.size() ||
            std::fclose(f) != 0) {
            std::fprintf(stderr, "grimspire-sounds: cannot write %s\n", path.c_str());
            return 1;
        }
        std::printf("%s: %s, %.3f s\n", path.c_str(), cue.name,
                    static_cast<double>(cue.samples) / kRate);
    }
    return 0;
}
