// SPDX-License-Identifier: GPL-3.0-or-later
// Any file at all handed to LOAD: it is refused or it gives a game that stays in bounds.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>

#include "invariants.h"

namespace {
GameState g;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzing::EnterScratchDirectory();
    std::FILE* f = std::fopen("FUZZ", "wb");
    if (f == nullptr) return 0;
    if (size > 0) std::fwrite(data, 1, size, f);
    std::fclose(f);

    InitGameState(g);
    HandleKey(g, 'P', 0);
    for (const char* p = "LOAD FUZZ"; *p != '\0'; ++p) HandleKey(g, static_cast<uint8_t>(*p), 0);
    HandleKey(g, VK_RETURN, 0);
    fuzzing::CheckInvariants(g);
    fuzzing::Exercise(g);
    return 0;
}
