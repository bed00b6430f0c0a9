// SPDX-License-Identifier: GPL-3.0-or-later
// grimspire-castle: prints the castle as a new player finds it, every room as
// the game draws it on entry at the start of a game, as UTF-8 text.
//
//   grimspire-castle            all 83 rooms
//   grimspire-castle 17 76      only the rooms named
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/core.h"
#include "core/cp437.h"
#include "world/world.h"

namespace {

GameState game;

void PrintRoom(int room) {
    // Every room is entered from a fresh courtyard: no dark passage refuses it,
    // and no entry from a particular side opens or moves anything.
    SetMode(game, Play);
    if (!EnterRoom(game, room)) {
        std::printf("=== Room %d: not in the castle's data ===\n\n", room);
        return;
    }
    std::printf("=== Room %d ===\n", room);
    // Row 24 only ever holds the What line; it is empty on entry.
    for (int y = 0; y < kScreenRows - 1; ++y) {
        std::string line;
        for (int x = 0; x < kScreenColumns; ++x) AppendUtf8(line, Cp437ToUnicode(CellAt(game, x, y)));
        while (!line.empty() && line.back() == ' ') line.pop_back();
        std::printf("%s\n", line.c_str());
    }
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    InitGameState(game);
    std::vector<int> rooms;
    for (int i = 1; i < argc; ++i) {
        char* end = nullptr;
        const long room = std::strtol(argv[i], &end, 10);
        if (end == argv[i] || *end != '\0' || room < 0 || room >= kRoomCount) {
            std::fprintf(stderr, "usage: %s [room 0..%d ...]\n", argv[0], kRoomCount - 1);
            return 2;
        }
        rooms.push_back(static_cast<int>(room));
    }
    if (rooms.empty()) {
        for (int room = 0; room < kRoomCount; ++room) rooms.push_back(room);
    }
    for (int room : rooms) PrintRoom(room);
    return 0;
}
