// SPDX-License-Identifier: GPL-3.0-or-later
// Saved games: the changing part of the game as a flat little-endian file of
// exactly 2,152 bytes, without header. Its size is the only format check, so
// a file is taken only when it holds a game the castle could be in: anything
// else, damaged or made up, would start the man dead, blind or nowhere.

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <system_error>

#include "core/core.h"
#include "ports.h"
#include "save/save.h"
#include "save/storage.h"
#include "world/world.h"

namespace {

constexpr int kItemFields = 5;     // carried, room, visible, x, y
constexpr int kMonsterFields = 5;  // strength, room, present, x, y

// The file's contents before they reach the game.
struct SaveImage {
    uint8_t screen[kScreenCells];
    uint8_t roomMap[kMapCells];
    int32_t currentRoom;
    int32_t playerColumn;
    int32_t playerRow;
    int32_t facing;
    int32_t exits[6];  // north, east, south, west, up, down
    int32_t strength;
    int32_t items[kItemCount][kItemFields];
    int32_t monsters[kMonsterCount][kMonsterFields];
    int32_t doorLocked67;
    int32_t doorLocked81;
    int32_t flaskHasWater;
    int32_t waterDrunk;
};

constexpr uint8_t kManGlyph = 0x05;
constexpr uint8_t kWater = 0xB0;  // a rising flood covers the man before it drowns him
constexpr uint8_t kWall = 0xB2;
constexpr int kDescriptionRow = kMapRows + 1;
constexpr int kDescriptionLines = 5;
constexpr int kDescriptionWidth = 25;
// A blow takes 5 to 19 off whoever it hits, or gives back up to 5; only the
// living are hit, and no strength may come near the end of the numbers.
constexpr int32_t kMostHealed = INT32_MAX - 5;
constexpr int32_t kDeadest = -19;

bool IsRoom(int32_t v) { return v >= 0 && v < kRoomCount; }
bool IsColumn(int32_t v) { return v >= 0 && v < kMapColumns; }
bool IsRow(int32_t v) { return v >= 0 && v < kMapRows; }
bool IsFlag(int32_t v) { return v == 0 || v == 1; }

// The walls the wand and the sceptre open, in the three rooms where they do.
bool MayBeOpened(int32_t room, int x, int y, uint8_t now) {
    const bool opens = now == ' ' || now == 0xDD || now == 0xDE || now == kWall;
    if (room == 66) {
        return opens && ((x == 18 && y >= 6 && y <= 11) || (x == 19 && (y == 8 || y == 9)) ||
                         (x >= 20 && (y == 7 || y == 10)));
    }
    return opens && (room == 0 || room == 76) && y == 17 && x >= 10 && x <= 13;
}

// The drawn room: its map as the castle has it (but for what was opened), its
// frame and its description; the man on his cell.
bool ShowsItsRoom(const GameState& g) {
    const uint8_t* record = g.roomData + static_cast<size_t>(g.currentRoom) * kRoomRecordSize;
    for (int x = 0; x < kMapColumns; ++x) {
        for (int y = 0; y < kMapRows; ++y) {
            const uint8_t now = g.roomMap[x * kMapRows + y];
            if (now != record[y * kMapColumns + x] && !MayBeOpened(g.currentRoom, x, y, now)) return false;
        }
        if (CellAt(g, x, kMapRows) != 0xC4) return false;
    }
    for (int y = 0; y < kMapRows; ++y) {
        if (CellAt(g, kMapColumns, y) != 0xB3) return false;
    }
    if (CellAt(g, kMapColumns, kMapRows) != 0xD9) return false;
    for (int line = 0; line < kDescriptionLines; ++line) {
        for (int i = 0; i < kDescriptionWidth; ++i) {
            if (CellAt(g, i, kDescriptionRow + line) != record[kMapCells + line * kDescriptionWidth + i]) return false;
        }
    }
    const uint8_t man = CellAt(g, g.playerColumn, g.playerRow);
    return man == kManGlyph || man == kWater;
}

// Whether the game could have been saved like this: each rule follows what
// play can do to the field, so every save the game writes passes.
bool CouldBe(const GameState& g) {
    if (g.roomData == nullptr || g.roomDataSize < static_cast<uint32_t>(kRoomCount) * kRoomRecordSize) return false;
    if (!IsRoom(g.currentRoom) || !IsColumn(g.playerColumn) || !IsRow(g.playerRow)) return false;
    if (g.facing < 0 || g.facing > 7 || g.strength < 0 || g.strength > kMostHealed) return false;
    // The exits are never anything but the room's own.
    GameState probe = g;
    ParseExits(probe);
    if (probe.exitNorth != g.exitNorth || probe.exitEast != g.exitEast || probe.exitSouth != g.exitSouth ||
        probe.exitWest != g.exitWest || probe.exitUp != g.exitUp || probe.exitDown != g.exitDown) {
        return false;
    }
    int carried = 0;
    for (const ItemRecord& item : g.items) {
        if (!IsFlag(item.carried) || !IsRoom(item.room) || !IsFlag(item.visible) || !IsColumn(item.x) ||
            !IsRow(item.y)) {
            return false;
        }
        carried += item.carried;
    }
    if (carried > kCarryLimit) return false;
    for (const MonsterRecord& monster : g.monsters) {
        if (monster.strength < kDeadest || monster.strength > kMostHealed || !IsRoom(monster.room) ||
            !IsFlag(monster.present) || !IsColumn(monster.x) || !IsRow(monster.y)) {
            return false;
        }
    }
    if (!IsFlag(g.doorLocked67) || !IsFlag(g.doorLocked81) || !IsFlag(g.flaskHasWater) || !IsFlag(g.waterDrunk)) {
        return false;
    }
    return ShowsItsRoom(g);
}

// Every read is attempted; the result says whether all of them succeeded.
bool ReadImage(std::FILE* file, SaveImage* s) {
    bool ok = std::fread(s->screen, 1, sizeof s->screen, file) == sizeof s->screen;
    ok = (std::fread(s->roomMap, 1, sizeof s->roomMap, file) == sizeof s->roomMap) && ok;
    ok = ReadInt32(file, &s->currentRoom) && ok;
    ok = ReadInt32(file, &s->playerColumn) && ok;
    ok = ReadInt32(file, &s->playerRow) && ok;
    ok = ReadInt32(file, &s->facing) && ok;
    for (int32_t& exit : s->exits) ok = ReadInt32(file, &exit) && ok;
    ok = ReadInt32(file, &s->strength) && ok;
    for (auto& item : s->items) {
        for (int32_t& field : item) ok = ReadInt32(file, &field) && ok;
    }
    for (auto& monster : s->monsters) {
        for (int32_t& field : monster) ok = ReadInt32(file, &field) && ok;
    }
    ok = ReadInt32(file, &s->doorLocked67) && ok;
    ok = ReadInt32(file, &s->doorLocked81) && ok;
    ok = ReadInt32(file, &s->flaskHasWater) && ok;
    ok = ReadInt32(file, &s->waterDrunk) && ok;
    return ok;
}

// The file's exact size, or -1 when it cannot be told (a directory, say).
long FileSize(std::FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) return -1;
    const long size = std::ftell(file);
    if (std::fseek(file, 0, SEEK_SET) != 0) return -1;
    return size;
}

std::FILE* OpenForReading(const char* path) {
#ifdef _WIN32
    return _wfopen(NativePath(path).c_str(), L"rb");
#else
    return std::fopen(path, "rb");
#endif
}

// Read whole before anything of it is used.
bool ReadSave(const char* path, SaveImage* s) {
    if (path == nullptr || path[0] == '\0') return false;
    // Only a plain file has a size to check; opening a pipe would wait for a writer.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(NativePath(path), ec)) return false;
    std::FILE* file = OpenForReading(path);
    if (file == nullptr) return false;
    if (FileSize(file) != kSaveFileSize) {
        std::fclose(file);
        return false;
    }
    bool ok = ReadImage(file, s);
    ok = (std::fgetc(file) == EOF) && ok;  // nothing grew behind our back
    ok = (std::fclose(file) == 0) && ok;
    return ok;
}

// The game the file holds, on top of a fresh one for what the file does not hold.
void Apply(const SaveImage& s, GameState& g) {
    NewGame(g);
    std::memcpy(g.screen, s.screen, sizeof g.screen);
    std::memcpy(g.roomMap, s.roomMap, sizeof g.roomMap);
    g.currentRoom = s.currentRoom;
    g.playerColumn = s.playerColumn;
    g.playerRow = s.playerRow;
    g.facing = s.facing;
    g.exitNorth = s.exits[0];
    g.exitEast = s.exits[1];
    g.exitSouth = s.exits[2];
    g.exitWest = s.exits[3];
    g.exitUp = s.exits[4];
    g.exitDown = s.exits[5];
    g.strength = s.strength;
    for (int i = 0; i < kItemCount; ++i) {
        ItemRecord& item = g.items[i];
        item.carried = s.items[i][0];
        item.room = s.items[i][1];
        item.visible = s.items[i][2];
        item.x = s.items[i][3];
        item.y = s.items[i][4];
    }
    for (int i = 0; i < kMonsterCount; ++i) {
        MonsterRecord& monster = g.monsters[i];
        monster.strength = s.monsters[i][0];
        monster.room = s.monsters[i][1];
        monster.present = s.monsters[i][2];
        monster.x = s.monsters[i][3];
        monster.y = s.monsters[i][4];
    }
    g.doorLocked67 = s.doorLocked67;
    g.doorLocked81 = s.doorLocked81;
    g.flaskHasWater = s.flaskHasWater;
    g.waterDrunk = s.waterDrunk;
    g.playedSinceSave = 0;
}

// The game a file would give, when it is one the castle could be in.
bool ReadGame(const GameState& g, const char* path, GameState* out) {
    SaveImage s{};
    if (!ReadSave(path, &s)) return false;
    *out = g;
    Apply(s, *out);
    return CouldBe(*out);
}

void PutInt32(uint8_t*& at, int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) *at++ = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

int WriteInt32(std::FILE* file, int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    const uint8_t bytes[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
                              static_cast<uint8_t>(v >> 24)};
    return std::fwrite(bytes, 1, sizeof bytes, file) == sizeof bytes ? 1 : 0;
}

int ReadInt32(std::FILE* file, int32_t* value) {
    uint8_t bytes[4];
    if (std::fread(bytes, 1, sizeof bytes, file) != sizeof bytes) return 0;
    *value = static_cast<int32_t>(static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                                  static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24);
    return 1;
}

// Made whole in memory and handed over in one piece: a failed save never costs
// the player an earlier one.
int SaveGame(GameState& g, const char* fileName) {
    if (fileName == nullptr || fileName[0] == '\0') return 0;
    std::error_code ec;
    const std::filesystem::path folder = NativePath(fileName).parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder, ec);

    uint8_t bytes[kSaveFileSize];
    uint8_t* at = bytes;
    at = std::copy(g.screen, g.screen + kScreenCells, at);
    at = std::copy(g.roomMap, g.roomMap + kMapCells, at);
    for (int32_t v : {g.currentRoom, g.playerColumn, g.playerRow, g.facing, g.exitNorth, g.exitEast, g.exitSouth,
                      g.exitWest, g.exitUp, g.exitDown, g.strength}) {
        PutInt32(at, v);
    }
    for (const ItemRecord& item : g.items) {
        for (int32_t v : {item.carried, item.room, item.visible, item.x, item.y}) PutInt32(at, v);
    }
    for (const MonsterRecord& monster : g.monsters) {
        for (int32_t v : {monster.strength, monster.room, monster.present, monster.x, monster.y}) PutInt32(at, v);
    }
    for (int32_t v : {g.doorLocked67, g.doorLocked81, g.flaskHasWater, g.waterDrunk}) PutInt32(at, v);
    if (!WriteFileDurably(fileName, bytes, sizeof bytes)) return 0;
    g.playedSinceSave = 0;
    return 1;
}

int SavePath(const char* name, char* out, size_t size) {
    const char* folder = I_SaveFolder();
    const bool here = folder == nullptr || folder[0] == '\0';
    const int n = here ? std::snprintf(out, size, "%s", name) : std::snprintf(out, size, "%s/%s", folder, name);
    return n >= 0 && static_cast<size_t>(n) < size ? 1 : 0;
}

int FindSave(const char* name, char* out, size_t size) {
    std::error_code ec;
    const auto isFile = [&](const char* p) {
        const auto st = std::filesystem::status(NativePath(p), ec);
        return !ec && std::filesystem::exists(st) && !std::filesystem::is_directory(st);
    };
    // The saves folder first, then where saves of the first version went; the
    // exact name before one that differs in case (a name chosen in a dialog).
    const char* folder = I_SaveFolder();
    if (folder == nullptr) folder = "";
    if (SavePath(name, out, size) && isFile(out)) return 1;
    if (std::snprintf(out, size, "%s", name) < static_cast<int>(size) && isFile(out)) return 1;
    return FindIgnoringCase(folder, name, out, size) || FindIgnoringCase("", name, out, size);
}

int IsSavedGame(const GameState& g, const char* path) {
    GameState loaded;
    return ReadGame(g, path, &loaded) ? 1 : 0;
}

int ReadSavedGame(const GameState& g, const char* path, GameState* out) { return ReadGame(g, path, out) ? 1 : 0; }

int LoadGame(GameState& g, const char* path) {
    GameState loaded;
    if (!ReadGame(g, path, &loaded)) return 0;
    g = loaded;
    return 1;
}
