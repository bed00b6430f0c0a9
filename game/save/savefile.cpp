// SPDX-License-Identifier: GPL-3.0-or-later
// Saved games: the changing part of the game as a flat little-endian file of
// exactly 2,152 bytes, without header. Its size is the only format check, so
// every value is also checked against the game's own bounds before any of it
// is taken: no file can point the game outside its grid, maps or tables.
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#endif

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <system_error>

#include "core/core.h"
#include "ports.h"
#include "save/save.h"

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

bool IsRoom(int32_t v) { return v >= 0 && v < kRoomCount; }
bool IsExit(int32_t v) { return v == -1 || IsRoom(v); }
bool IsColumn(int32_t v) { return v >= 0 && v < kMapColumns; }
bool IsRow(int32_t v) { return v >= 0 && v < kMapRows; }
bool IsFlag(int32_t v) { return v == 0 || v == 1; }

bool InBounds(const SaveImage& s) {
    if (!IsRoom(s.currentRoom) || !IsColumn(s.playerColumn) || !IsRow(s.playerRow)) return false;
    if (s.facing < 0 || s.facing > 7) return false;
    for (int32_t exit : s.exits) {
        if (!IsExit(exit)) return false;
    }
    for (const auto& item : s.items) {
        if (!IsFlag(item[0]) || !IsRoom(item[1]) || !IsFlag(item[2]) || !IsColumn(item[3]) || !IsRow(item[4])) {
            return false;
        }
    }
    for (const auto& monster : s.monsters) {
        if (!IsRoom(monster[1]) || !IsFlag(monster[2]) || !IsColumn(monster[3]) || !IsRow(monster[4])) return false;
    }
    return IsFlag(s.doorLocked67) && IsFlag(s.doorLocked81) && IsFlag(s.flaskHasWater) && IsFlag(s.waterDrunk);
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

constexpr int kTemporaries = 100;

bool TemporaryName(const char* target, int number, char* temp, size_t tempSize) {
    const int n = std::snprintf(temp, tempSize, "%s.tmp%02d", target, number);
    return n >= 0 && static_cast<size_t>(n) < tempSize;
}

// A save killed half way leaves its temporary file behind; left there, enough
// of them would use up every name and no later save could start.
void RemoveLeftovers(const char* target) {
    char temp[4096];
    for (int number = 0; number < kTemporaries; ++number) {
        if (!TemporaryName(target, number, temp, sizeof temp)) return;
        std::error_code ec;
        if (std::filesystem::is_regular_file(std::filesystem::symlink_status(temp, ec))) {
            std::filesystem::remove(temp, ec);
        }
    }
}

// Opens a file that did not exist before; never one another save is writing.
std::FILE* CreateNew(const char* path) {
#ifdef _WIN32
    // Windows' C library ignores fopen's "x".
    const int fd = _open(path, _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    std::FILE* file = fd >= 0 ? _fdopen(fd, "wb") : nullptr;
    if (fd >= 0 && file == nullptr) _close(fd);
    return file;
#else
    return std::fopen(path, "wbx");
#endif
}

// Creates a fresh file beside the target to write into; its name goes to temp.
std::FILE* CreateTemporary(const char* target, char* temp, size_t tempSize) {
    for (int attempt = 0; attempt < kTemporaries; ++attempt) {
        if (!TemporaryName(target, attempt, temp, tempSize)) return nullptr;
        std::FILE* file = CreateNew(temp);
        if (file != nullptr) return file;
    }
    return nullptr;
}

// Read whole and checked before anything of it is used.
bool ReadSave(const char* path, SaveImage* s) {
    if (path == nullptr || path[0] == '\0') return false;
    // Only a plain file has a size to check; opening a pipe would wait for a writer.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return false;
    if (FileSize(file) != kSaveFileSize) {
        std::fclose(file);
        return false;
    }
    bool ok = ReadImage(file, s);
    ok = (std::fgetc(file) == EOF) && ok;  // nothing grew behind our back
    ok = (std::fclose(file) == 0) && ok;
    return ok && InBounds(*s);
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

// Written to a temporary file first and renamed over the target only when all
// of it is on disk, so a failed save never costs the player an earlier one.
int SaveGame(GameState& g, const char* fileName) {
    if (fileName == nullptr || fileName[0] == '\0') return 0;
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::path(fileName).parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder, ec);
    RemoveLeftovers(fileName);
    char temp[4096];
    std::FILE* file = CreateTemporary(fileName, temp, sizeof temp);
    if (file == nullptr) return 0;

    bool ok = std::fwrite(g.screen, 1, sizeof g.screen, file) == sizeof g.screen;
    ok = (std::fwrite(g.roomMap, 1, sizeof g.roomMap, file) == sizeof g.roomMap) && ok;
    const int32_t head[] = {g.currentRoom, g.playerColumn, g.playerRow, g.facing, g.exitNorth, g.exitEast,
                            g.exitSouth, g.exitWest, g.exitUp, g.exitDown, g.strength};
    for (int32_t v : head) ok = WriteInt32(file, v) && ok;
    for (const ItemRecord& item : g.items) {
        for (int32_t v : {item.carried, item.room, item.visible, item.x, item.y}) ok = WriteInt32(file, v) && ok;
    }
    for (const MonsterRecord& monster : g.monsters) {
        for (int32_t v : {monster.strength, monster.room, monster.present, monster.x, monster.y}) {
            ok = WriteInt32(file, v) && ok;
        }
    }
    for (int32_t v : {g.doorLocked67, g.doorLocked81, g.flaskHasWater, g.waterDrunk}) ok = WriteInt32(file, v) && ok;
    ok = (std::fflush(file) == 0) && ok;
    ok = (std::fclose(file) == 0) && ok;

    // std::rename would refuse to replace an earlier save on Windows.
    if (ok) std::filesystem::rename(temp, fileName, ec);
    if (!ok || ec) {
        std::filesystem::remove(temp, ec);
        return 0;
    }
    g.playedSinceSave = 0;
    return 1;
}

int SavePath(const char* name, char* out, size_t size) {
    const char* folder = I_SaveFolder();
    const bool here = folder == nullptr || folder[0] == '\0';
    const int n = here ? std::snprintf(out, size, "%s", name) : std::snprintf(out, size, "%s/%s", folder, name);
    return n >= 0 && static_cast<size_t>(n) < size ? 1 : 0;
}

int IsSavedGame(const char* path) {
    SaveImage s{};
    return ReadSave(path, &s) ? 1 : 0;
}

int LoadGame(GameState& g, const char* path) {
    SaveImage s{};
    if (!ReadSave(path, &s)) return 0;

    // Everything the file does not hold comes from a fresh game.
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
    return 1;
}
