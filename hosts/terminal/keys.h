// SPDX-License-Identifier: GPL-3.0-or-later
// Turns what a terminal sends into the Windows virtual-key codes the game takes,
// the front-end's own commands, and the terminal's answers to our questions.
// Understands the xterm, rxvt and Linux console forms, the application keypad,
// and the kitty keyboard protocol, which alone tells presses from repeats.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

enum class InputKind {
    Key,           // vk as Windows numbers it; repeat is -1 when the terminal did not say
    Quit,          // Ctrl-Q; Ctrl-C under the kitty protocol, which sends it as a key
    Suspend,       // Ctrl-Z under the kitty protocol
    CursorReport,  // ESC [ row ; column R
    KittyFlags,    // ESC [ ? flags u: the terminal speaks the kitty protocol
    Attributes,    // ESC [ ? ... c: the answer to the primary device attributes query
    Palette,       // ESC ] 4 ; ...: the terminal told one of its palette's colours
};

struct Input {
    InputKind kind = InputKind::Key;
    uint32_t vk = 0;
    int repeat = -1;
    int row = 0;  // CursorReport, 1-based
    int column = 0;
};

class KeyDecoder {
public:
    void Feed(std::string_view bytes) { pending_.append(bytes); }
    // Once the kitty protocol is on, a key without an event type is a press.
    void SetKitty(bool on) { kitty_ = on; }
    // The next complete input, if any. Unknown sequences are skipped whole.
    // With flush set, an ESC that nothing has followed is taken as the Esc key.
    std::optional<Input> Next(bool flush = false);
    // An ESC waits for the rest of its sequence.
    bool Waiting() const { return !pending_.empty(); }

private:
    std::optional<Input> Csi(std::string_view params, char final);
    std::optional<Input> Kitty(std::string_view params, char final);
    std::string pending_;
    bool kitty_ = false;
};

// Terminals send no key releases: a key that comes again within this time of the
// same key is taken as held down, as the keyboard's auto-repeat.
class RepeatGuess {
public:
    static constexpr int64_t kWindowMs = 100;
    int Repeat(uint32_t vk, int64_t nowMs);

private:
    uint32_t lastKey_ = 0;
    int64_t lastTime_ = 0;
};
