// SPDX-License-Identifier: GPL-3.0-or-later
// The items and monsters of the castle, their lookups, and the game's dice.
#include <cstring>

#include "world/world.h"

namespace {

struct ItemStart {
    const char* name;
    uint8_t glyph;
    int32_t room, x, y, visible, treasure;
};

struct MonsterStart {
    const char* name;
    uint8_t glyph;
    int32_t room, x, y, strength, guardian;
};

constexpr ItemStart kItems[kItemCount] = {
    {"LAMP", 0x06, 16, 18, 13, 1, 0},
    {"HARP", 0x0E, 64, 15, 7, 1, 1},
    {"NECKLACE", 0x15, 18, 0, 0, 0, 1},
    {"BOOK", 0x16, 57, 0, 0, 0, 0},
    {"MAGIC WAND", 0xC4, 23, 3, 8, 1, 0},
    {"SWORD", 0xC5, 11, 10, 4, 1, 0},
    {"KEY", 0xE7, 55, 0, 0, 0, 0},
    {"EYE GLASSES", 0xEC, 39, 0, 0, 0, 0},
    {"CRYSTAL BALL", 0xF8, 65, 9, 12, 1, 0},
    {"WINE FLASK", 0x21, 9, 0, 0, 0, 0},
    {"HOLY CROSS", 0x74, 36, 14, 12, 1, 1},
    {"DIAMOND", 0x04, 56, 12, 9, 1, 1},
    {"SILVER BARS", 0xF0, 25, 6, 7, 1, 1},
    {"RUBYS", 0x3A, 59, 3, 15, 1, 1},
    {"JADE FIGURINE", 0x9D, 28, 12, 9, 1, 1},
    {"SCEPTER", 0xE1, 82, 11, 9, 1, 1},
    {"HOURGLASS", 0xE8, 19, 5, 13, 1, 1},
    {"LARGE GEM", 0xE9, 17, 0, 0, 0, 1},
    {"HELMET", 0x9B, 21, 11, 4, 1, 0},
    {"GOLDBAR", 0xFE, 73, 22, 13, 1, 1},
    {"FANCY GOBLET", 0xE6, 7, 5, 13, 1, 1},
    {"CROWN", 0x7F, 13, 8, 4, 1, 1},
};

constexpr MonsterStart kMonsters[kMonsterCount] = {
    {"UGLY OGRE", 0x01, 3, 12, 8, 80, 0},
    {"UGLY OGRE", 0x01, 20, 11, 11, 80, 0},
    {"ANGRY DEMON", 0x02, 13, 12, 6, 120, 0},
    {"ANGRY DEMON", 0x02, 23, 7, 9, 120, 0},
    {"BIG SPIDER", 0x0F, 72, 17, 13, 80, 0},
    {"SMALL SPIDER", 0x2A, 69, 16, 4, 40, 0},
    {"BAT", 0x28, 67, 17, 6, 10, 0},
    {"SNAKE", 0xEB, 16, 16, 13, 60, 0},
    {"VAMPIRE", 0x05, 27, 23, 9, 1, 1},
    {"FAIRY", 0xF6, 51, 0, 9, 1, 1},
    {"FAIRY", 0xF6, 53, 11, 0, 1, 1},
};

void CopyName(char (&dest)[20], const char* name) {
    std::memset(dest, 0, sizeof dest);
    std::strncpy(dest, name, sizeof dest - 1);
}

}  // namespace

void SetUpItems(GameState& g) {
    for (int i = 0; i < kItemCount; ++i) {
        ItemRecord& item = g.items[i];
        const ItemStart& s = kItems[i];
        CopyName(item.name, s.name);
        item.glyph = s.glyph;
        item.room = s.room;
        item.x = s.x;
        item.y = s.y;
        item.visible = s.visible;
        item.treasure = s.treasure;
        item.carried = 0;
    }
}

void SetUpMonsters(GameState& g) {
    for (int i = 0; i < kMonsterCount; ++i) {
        MonsterRecord& monster = g.monsters[i];
        const MonsterStart& s = kMonsters[i];
        CopyName(monster.name, s.name);
        monster.glyph = s.glyph;
        monster.room = s.room;
        monster.x = s.x;
        monster.y = s.y;
        monster.strength = s.strength;
        monster.guardian = s.guardian;
        monster.present = 1;
    }
}

const char* ShortName(const char* name) {
    const char* blank = std::strchr(name, ' ');
    return blank ? blank + 1 : name;
}

ItemRecord* FindItemByGlyph(GameState& g, uint8_t glyph) {
    for (ItemRecord& item : g.items) {
        if (item.glyph == glyph) return &item;
    }
    return nullptr;
}

static bool OnMap(int32_t x, int32_t y) { return x >= 0 && x < kMapColumns && y >= 0 && y < kMapRows; }

ItemRecord* FindItemAt(GameState& g, int32_t x, int32_t y) {
    if (!OnMap(x, y)) return nullptr;
    for (ItemRecord& item : g.items) {
        if (item.room == g.currentRoom && item.x == x && item.y == y && item.glyph == CellAt(g, x, y)) {
            return &item;
        }
    }
    return nullptr;
}

MonsterRecord* FindMonsterAt(GameState& g, int32_t x, int32_t y) {
    if (!OnMap(x, y)) return nullptr;
    for (MonsterRecord& monster : g.monsters) {
        if (monster.room == g.currentRoom && monster.x == x && monster.y == y && monster.present &&
            monster.glyph == CellAt(g, x, y)) {
            return &monster;
        }
    }
    return nullptr;
}

MonsterRecord* MonsterInRoom(GameState& g, int32_t room) {
    for (MonsterRecord& monster : g.monsters) {
        if (monster.room == room && monster.strength >= 0 && monster.present) return &monster;
    }
    return nullptr;
}

int CarriedCount(const GameState& g) {
    int n = 0;
    for (const ItemRecord& item : g.items) n += item.carried ? 1 : 0;
    return n;
}

void SeedRandom(GameState& g, uint32_t seed) { g.randomState = seed; }

uint32_t NextRandom(GameState& g) {
    g.randomState = g.randomState * 214013u + 2531011u;
    return (g.randomState >> 16) & 0x7FFFu;
}
