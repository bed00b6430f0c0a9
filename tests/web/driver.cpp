// SPDX-License-Identifier: GPL-3.0-or-later
// The core without a front-end, built natively and as WebAssembly for Node:
//   driver IN OUT   plays IN (3 bytes an event: kind, key, repeat) from a fixed
//                   seed and writes the grid after every event to OUT
#include <cstdio>

#include "core/core.h"
#include "ports.h"
#include "world/world.h"

void I_PlayCue(int) {}
void I_PlayCueIfQuiet(int) {}
void I_StopSound() {}
uint32_t I_TickCount() { return 0; }
const char* I_SaveFolder() { return ""; }
// No best score is kept: both builds start from none.
int I_StoreOpenKey(int, StoreKey*) { return 0; }
int I_StoreQueryValue(StoreKey, const char*, uint32_t*, uint8_t*, uint32_t*) { return 0; }
int I_StoreSetValue(StoreKey, const char*, uint32_t, const uint8_t*, uint32_t) { return 0; }
int I_StoreCloseKey(StoreKey) { return 1; }

int main(int argc, char** argv) {
    static GameState g;
    InitGameState(g);
    std::FILE* in = argc == 3 ? std::fopen(argv[1], "rb") : nullptr;
    std::FILE* out = in ? std::fopen(argv[2], "wb") : nullptr;
    if (!out) {
        std::fprintf(stderr, "usage: driver EVENTS GRIDS\n");
        return 2;
    }
    unsigned char e[3];
    while (std::fread(e, 1, 3, in) == 3) {
        if (e[0] == 1) WorldTick(g);
        else if (e[0] == 2) BlinkTick(g);
        else if (HandleKey(g, e[1], e[2]) == 0) SetMode(g, Title);  // as the page does
        std::fwrite(g.screen, 1, sizeof g.screen, out);
    }
    return std::fclose(out) == 0 ? 0 : 1;
}
