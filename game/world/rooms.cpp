// SPDX-License-Identifier: GPL-3.0-or-later
// Making a room current and drawing it: map, things, doors, description, frame
// and the list of things at the top right.
#include <cstring>

#include "core/core.h"
#include "world/world.h"

namespace {

constexpr int kDescriptionOffset = kMapCells;
constexpr int kDescriptionLines = 5;
constexpr int kDescriptionWidth = 25;
constexpr int kExitsOffset = kDescriptionOffset + kDescriptionLines * kDescriptionWidth;
constexpr int kExitsRead = 16;
constexpr int kThingsLines = 10;
constexpr int kThingsColumn = 25;
constexpr int kThingsNameColumn = 27;

constexpr uint8_t kLampGlyph = 0x06;
constexpr uint8_t kFairyGlyph = 0xF6;
constexpr uint8_t kDoorGlyph = 0x08;
constexpr uint8_t kManGlyph = 0x05;

bool OnMap(int32_t x, int32_t y) { return x >= 0 && x < kMapColumns && y >= 0 && y < kMapRows; }

// The record of a room, or null when the data the game carries does not hold it.
const uint8_t* RoomRecord(const GameState& g, int32_t room) {
    if (g.roomData == nullptr || room < 0 || room >= kRoomCount) return nullptr;
    const uint32_t end = static_cast<uint32_t>(room + 1) * kRoomRecordSize;
    if (g.roomDataSize < end) return nullptr;
    return g.roomData + static_cast<size_t>(room) * kRoomRecordSize;
}

bool ItemLiesHere(const GameState& g, const ItemRecord& item) {
    return item.room == g.currentRoom && item.visible && !item.carried && OnMap(item.x, item.y);
}

bool MonsterStandsHere(const GameState& g, const MonsterRecord& monster) {
    return monster.room == g.currentRoom && monster.present && OnMap(monster.x, monster.y);
}

void DrawItems(GameState& g) {
    for (const ItemRecord& item : g.items) {
        if (ItemLiesHere(g, item)) Cell(g, item.x, item.y) = item.glyph;
    }
}

void DrawMonsters(GameState& g) {
    for (const MonsterRecord& monster : g.monsters) {
        if (MonsterStandsHere(g, monster)) Cell(g, monster.x, monster.y) = monster.glyph;
    }
}

void CopyMapToScreen(GameState& g) {
    for (int x = 0; x < kMapColumns; ++x) {
        for (int y = 0; y < kMapRows; ++y) Cell(g, x, y) = MapCell(g, x, y);
    }
}

void DrawFrame(GameState& g) {
    for (int x = 0; x < kMapColumns; ++x) Cell(g, x, kMapRows) = 0xC4;
    for (int y = 0; y < kMapRows; ++y) Cell(g, kMapColumns, y) = 0xB3;
    Cell(g, kMapColumns, kMapRows) = 0xD9;
}

void DrawDescription(GameState& g, const uint8_t* record) {
    for (int line = 0; line < kDescriptionLines; ++line) {
        for (int i = 0; i < kDescriptionWidth; ++i) {
            Cell(g, i, kMapRows + 1 + line) = record[kDescriptionOffset + line * kDescriptionWidth + i];
        }
    }
}

// One line per lying item, then one per figure, in table order.
void DrawThingsList(GameState& g) {
    int line = 0;
    for (const ItemRecord& item : g.items) {
        if (line >= kThingsLines) return;
        if (!ItemLiesHere(g, item)) continue;
        Cell(g, kThingsColumn, line) = item.glyph;
        char name[sizeof item.name + 1] = {};
        std::memcpy(name, item.name, sizeof item.name);
        PutText(g, name, kThingsNameColumn, line);
        ++line;
    }
    for (const MonsterRecord& monster : g.monsters) {
        if (line >= kThingsLines) return;
        if (!MonsterStandsHere(g, monster)) continue;
        Cell(g, kThingsColumn, line) = monster.glyph;
        char name[sizeof monster.name + 1] = {};
        std::memcpy(name, monster.name, sizeof monster.name);
        if (monster.strength < 0) {
            PutText(g, "Dead", kThingsNameColumn, line);
            PutText(g, ShortName(name), kThingsNameColumn + 5, line);
        } else {
            PutText(g, name, kThingsNameColumn, line);
        }
        ++line;
    }
}

// An open door shows what lies in the doorway, not a bare floor over it.
void DrawDoorCell(GameState& g, int x, int y, bool locked) {
    if (locked) {
        Cell(g, x, y) = kDoorGlyph;
        return;
    }
    Cell(g, x, y) = MapCell(g, x, y);
    for (const ItemRecord& item : g.items) {
        if (ItemLiesHere(g, item) && item.x == x && item.y == y) Cell(g, x, y) = item.glyph;
    }
    for (const MonsterRecord& monster : g.monsters) {
        if (MonsterStandsHere(g, monster) && monster.x == x && monster.y == y) Cell(g, x, y) = monster.glyph;
    }
}

}  // namespace

bool EnterRoom(GameState& g, int32_t room) {
    const uint8_t* record = RoomRecord(g, room);
    if (record == nullptr) return false;
    if (!CheckDarkPassage(g, g.currentRoom, room)) return false;

    ClearScreen(g);
    g.currentRoom = room;
    ParseExits(g);
    for (int x = 0; x < kMapColumns; ++x) {
        for (int y = 0; y < kMapRows; ++y) MapCell(g, x, y) = record[y * kMapColumns + x];
    }
    ApplyEntrySpecials(g);
    CopyMapToScreen(g);
    DrawItems(g);
    DrawMonsters(g);
    DrawDoors(g);
    DrawDescription(g, record);
    DrawFrame(g);
    DrawThingsList(g);
    g.commandLine[0] = '\0';
    EchoCommandLine(g);
    return true;
}

void ParseExits(GameState& g) {
    int32_t* slots[] = {&g.exitNorth, &g.exitEast, &g.exitSouth, &g.exitWest, &g.exitUp, &g.exitDown};
    for (int32_t* slot : slots) *slot = -1;
    const uint8_t* record = RoomRecord(g, g.currentRoom);
    if (record == nullptr) return;
    const uint8_t* text = record + kExitsOffset;

    // The pairs are gathered first and applied in order, so a later pair of the
    // same letter wins, as the text reads.
    char letters[kExitsRead];
    int32_t values[kExitsRead];
    int pairs = 0;
    for (int i = 0; i < kExitsRead; ++i) {
        const uint8_t c = text[i];
        if (c == ' ' || c == 0) break;
        if (c >= '0' && c <= '9') {
            // A digit before any letter belongs to no pair; a runaway number is
            // held short of overflow and simply names no room.
            if (pairs > 0 && values[pairs - 1] < 100000) values[pairs - 1] = values[pairs - 1] * 10 + (c - '0');
        } else {
            letters[pairs] = static_cast<char>(c);
            values[pairs] = 0;
            ++pairs;
        }
    }
    for (int p = 0; p < pairs; ++p) {
        int32_t* slot = nullptr;
        switch (letters[p]) {
            case 'N': slot = &g.exitNorth; break;
            case 'E': slot = &g.exitEast; break;
            case 'S': slot = &g.exitSouth; break;
            case 'W': slot = &g.exitWest; break;
            case 'U': slot = &g.exitUp; break;
            case 'D': slot = &g.exitDown; break;
            default: break;
        }
        if (slot != nullptr) *slot = values[p] - 1;
    }
}

bool CheckDarkPassage(GameState& g, int32_t from, int32_t to) {
    const bool dark = (from == 10 && to == 67) || (from == 67 && to == 10) || (from == 76 && to == 82);
    if (!dark) return true;
    const ItemRecord* lamp = FindItemByGlyph(g, kLampGlyph);
    if (lamp != nullptr && lamp->carried) return true;
    ShowMessage(g, "It's too dark", 0, 0);
    ShowMessage(g, "to go that way!", 1, 0);
    PlayCue(g, CUE_ATTACK, 0);
    return false;
}

void ApplyEntrySpecials(GameState& g) {
    for (MonsterRecord& monster : g.monsters) {
        if (monster.glyph == kFairyGlyph) monster.present = 1;
    }
    // The man's position is still the one he had in the room he left.
    if (g.currentRoom == 51 && g.playerColumn == 23) {
        if (MonsterRecord* fairy = MonsterInRoom(g, 51)) fairy->present = 0;
    } else if (g.currentRoom == 53 && g.playerRow == 17) {
        if (MonsterRecord* fairy = MonsterInRoom(g, 53)) fairy->present = 0;
    } else if (g.currentRoom == 76 && g.playerRow == 0) {
        MapCell(g, 10, 17) = 0xDD;
        MapCell(g, 11, 17) = 0x20;
        MapCell(g, 12, 17) = 0x20;
        MapCell(g, 13, 17) = 0xDE;
    }
}

void DrawDoors(GameState& g) {
    if (g.currentRoom == 67) {
        DrawDoorCell(g, 8, 14, g.doorLocked67 != 0);
        DrawDoorCell(g, 9, 14, g.doorLocked67 != 0);
    } else if (g.currentRoom == 81) {
        DrawDoorCell(g, 13, 8, g.doorLocked81 != 0);
        DrawDoorCell(g, 13, 9, g.doorLocked81 != 0);
    }
}

uint8_t GroundAt(const GameState& g, int32_t x, int32_t y) {
    // Someone who locks the door while standing in the doorway must not leave a
    // hole in it behind him.
    const bool cellarDoor = g.currentRoom == 67 && g.doorLocked67 && y == 14 && (x == 8 || x == 9);
    const bool dungeonDoor = g.currentRoom == 81 && g.doorLocked81 && x == 13 && (y == 8 || y == 9);
    if (cellarDoor || dungeonDoor) return kDoorGlyph;
    return g.roomMap[x * kMapRows + y];
}

uint8_t ShownBeneath(const GameState& g, int32_t x, int32_t y) {
    for (const ItemRecord& item : g.items) {
        if (item.room == g.currentRoom && item.visible && !item.carried && item.x == x && item.y == y) return item.glyph;
    }
    return GroundAt(g, x, y);
}

void RedrawRoom(GameState& g) {
    CopyMapToScreen(g);
    DrawItems(g);
    DrawMonsters(g);
    if (OnMap(g.playerColumn, g.playerRow)) Cell(g, g.playerColumn, g.playerRow) = kManGlyph;
}
