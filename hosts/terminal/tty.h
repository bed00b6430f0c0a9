// SPDX-License-Identifier: GPL-3.0-or-later
// The terminal itself: raw input, the alternate screen and back, and the signals
// that stop, continue, resize or end the program, all turned into bytes on a
// pipe so that one poll() waits for keys and signals alike.
#pragma once

#include <csignal>
#include <string>
#include <string_view>

class Terminal {
public:
    // False when standard input or output is not a terminal.
    bool Open();
    // Raw input, alternate screen, hidden cursor, no wrapping, application keypad.
    void Enter();
    // Exactly the modes found at Open.
    void Leave();
    // Leave, stop as ^Z asks, and Enter again once continued.
    void Suspend();

    void Write(std::string_view bytes);
    void Size(int* columns, int* rows) const;

    int InputFd() const { return 0; }
    int SignalFd() const { return signalPipe_[0]; }
    // The signals that arrived, in order, as their numbers; empty when none did.
    std::string TakeSignals();

    // Sent on Enter and taken back on Leave (the kitty keyboard flags).
    void SetExtraModes(std::string enter, std::string leave) {
        extraEnter_ = std::move(enter);
        extraLeave_ = std::move(leave);
    }

private:
    bool entered_ = false;
    int signalPipe_[2] = {-1, -1};
    std::string extraEnter_, extraLeave_;
};
