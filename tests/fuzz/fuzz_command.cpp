// SPDX-License-Identifier: GPL-3.0-or-later
// Any command line, typed in any room with any items carried.
// Input: room, three bytes of carried items, the man's cell, then the line.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

#include "invariants.h"

namespace {
GameState g;

// The man must stand on floor; the first blank cell from the asked-for one on.
void StandOnFloor(GameState& game, int x, int y) {
    for (int i = 0; i < kMapCells; ++i) {
        const int cell = (x * kMapRows + y + i) % kMapCells;
        const int cx = cell / kMapRows;
        const int cy = cell % kMapRows;
        if (CellAt(game, cx, cy) == 0x20 || CellAt(game, cx, cy) == 0) {
            game.playerColumn = cx;
            game.playerRow = cy;
            Cell(game, cx, cy) = 0x05;
            return;
        }
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 6) return 0;
    fuzzing::EnterScratchDirectory();
    InitGameState(g);
    HandleKey(g, 'P', 0);
    const uint32_t carried = data[1] | (data[2] << 8) | (data[3] << 16);
    int count = 0;
    for (int i = 0; i < kItemCount && count < kCarryLimit; ++i) {
        if (carried & (1u << i)) {
            g.items[i].carried = 1;
            g.items[i].visible = 1;
            ++count;
        }
    }
    EnterRoom(g, data[0] % kRoomCount);
    StandOnFloor(g, data[4] % kMapColumns, data[5] % kMapRows);
    for (size_t i = 6; i < size; ++i) {
        const uint8_t b = data[i] % 28;
        const uint32_t key = b < 26 ? 'A' + b : (b == 26 ? VK_SPACE : VK_RETURN);
        if (g.aboutShown) {
            g.aboutShown = 0;
            continue;
        }
        if (HandleKey(g, key, 0) == 0) return 0;
        fuzzing::CheckInvariants(g);
        if (g.whatTicks > 0) {
            BlinkTick(g);
            BlinkTick(g);
        }
    }
    HandleKey(g, VK_RETURN, 0);
    fuzzing::CheckInvariants(g);
    fuzzing::Exercise(g);
    return 0;
}
