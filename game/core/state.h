// The one record of the whole game and the plain records inside it.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

enum GameMode : uint32_t {
    Play = 0,
    Title = 1,
    Instructions = 2,
    Summary = 3,
    NameEntry = 4,
};

// Sound cues, numbered as the resources that carry them.
enum : int {
    CUE_DROP = 103,
    CUE_TAKE = 104,
    CUE_LINE_FULL = 105,
    CUE_WHAT = 106,
    CUE_HARP = 107,
    CUE_OBSTACLE = 108,
    CUE_ATTACK = 109,
    CUE_TITLE = 110,
    CUE_PERFECT = 111,
};

// Key codes as the Windows keyboard delivers them; the host translates into these.
enum : uint32_t {
    VK_BACK = 8,
    VK_RETURN = 13,
    VK_SHIFT = 16,
    VK_SPACE = 32,
    VK_LEFT = 37,
    VK_UP = 38,
    VK_RIGHT = 39,
    VK_DOWN = 40,
    VK_NUMPAD0 = 96,
    VK_NUMPAD1 = 97,
    VK_NUMPAD2 = 98,
    VK_NUMPAD3 = 99,
    VK_NUMPAD4 = 100,
    VK_NUMPAD5 = 101,
    VK_NUMPAD6 = 102,
    VK_NUMPAD7 = 103,
    VK_NUMPAD8 = 104,
    VK_NUMPAD9 = 105,
};

constexpr int kScreenColumns = 40;
constexpr int kScreenRows = 25;
constexpr int kScreenCells = kScreenColumns * kScreenRows;
constexpr int kMapColumns = 24;
constexpr int kMapRows = 18;
constexpr int kMapCells = kMapColumns * kMapRows;
constexpr int kRoomCount = 83;
constexpr int kRoomRecordSize = 575;
constexpr int kRoomDataSize = 48512;
constexpr int kItemCount = 22;
constexpr int kMonsterCount = 11;
constexpr int kCarryLimit = 6;
constexpr int kCommandMax = 14;
constexpr int kNameMax = 15;
constexpr uint32_t kPerfectScore = 1550;

struct ItemRecord {
    char name[20];
    uint8_t glyph;
    int32_t room;
    int32_t x;
    int32_t y;
    int32_t visible;
    int32_t treasure;
    int32_t carried;
};

struct MonsterRecord {
    char name[20];
    uint8_t glyph;
    int32_t room;
    int32_t x;
    int32_t y;
    int32_t strength;
    int32_t guardian;
    int32_t present;
};

struct GameState {
    const uint8_t* roomData;
    uint32_t roomDataSize;
    uint8_t screen[kScreenCells];     // column-major: cell (x, y) is 25x + y
    uint8_t roomMap[kMapCells];       // column-major: cell (x, y) is 18x + y
    int32_t currentRoom;
    int32_t playerColumn;
    int32_t playerRow;
    int32_t facing;                   // 0 north, clockwise to 7 north-west
    int32_t exitNorth;
    int32_t exitEast;
    int32_t exitSouth;
    int32_t exitWest;
    int32_t exitUp;
    int32_t exitDown;
    int32_t strength;
    ItemRecord items[kItemCount];
    MonsterRecord monsters[kMonsterCount];
    char commandLine[16];
    int32_t cursorOn;
    char verb[15];
    char noun[15];
    int32_t messageShown;
    uint32_t whatTicks;
    int32_t doorLocked67;
    int32_t doorLocked81;
    int32_t flaskHasWater;
    int32_t waterDrunk;
    int32_t trapSprung;
    int32_t keyRepeat;
    int32_t holdRepeat;
    int32_t blowToggle;
    int32_t escaped;
    uint32_t mode;
    int32_t awaitingKey;
    uint32_t highScore;
    char highScoreName[16];
    char entryName[16];
    int32_t aboutShown;
    // A key reached the game in play since the last save or load: leaving now would lose something.
    int32_t playedSinceSave;
    const void* module;
    // The random generator's state lives here rather than in a hidden global, so
    // every GameState (the host's one, each test's own) runs its own sequence.
    uint32_t randomState;
};

inline uint8_t& Cell(GameState& g, int x, int y) { return g.screen[x * kScreenRows + y]; }
inline uint8_t CellAt(const GameState& g, int x, int y) { return g.screen[x * kScreenRows + y]; }
inline uint8_t& MapCell(GameState& g, int x, int y) { return g.roomMap[x * kMapRows + y]; }
