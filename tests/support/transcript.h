// SPDX-License-Identifier: GPL-3.0-or-later
// The transcript language (tests/transcripts/README.md) and the one player of it:
// the transcript tests run its cases, grimspire-replay its scenarios.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/state.h"
#include "host.h"

struct Line {
    int number;
    std::string text;
};
struct Case {
    std::string file;
    int line;
    std::string name;
    std::vector<Line> steps;
};

// Splits on blanks; "quoted text" is one word without its quotes.
std::vector<std::string> Words(const std::string& text);
// The cases of one transcript file, in order.
std::vector<Case> LoadCases(const std::string& path);

class Replay {
public:
    // `report` hears every expectation not met and every line not understood.
    Replay(const Case& c, std::function<void(int line, const std::string& what)> report);
    ~Replay();
    // Steps of the caller's own (the replayer's `shot`, `savefile`): true when taken.
    std::function<bool(const std::vector<std::string>&)> extra;
    void Run();
    GameState& Game();
    Host& TheHost();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
