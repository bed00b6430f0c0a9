// SPDX-License-Identifier: GPL-3.0-or-later
#include "player.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <vector>

#include "core/core.h"
#include "golden.h"
#include "save/save.h"
#include "world/world.h"

namespace {

constexpr uint8_t kDoor = 0x08;
constexpr uint32_t kNoWay = ~0u;
// What opens the castle, in the order the way to a goal is asked whether it can do without.
constexpr int kTools[] = {LAMP, NECKLACE, WAND, KEY, HARP, CROSS};
constexpr uint8_t kVampire = 0x05;
constexpr uint8_t kFairy = 0xF6;
constexpr uint8_t kShelf = 0xDB;
constexpr int kStraight[4][2] = {{0, -1}, {1, 0}, {0, 1}, {-1, 0}};
constexpr int kSteps[8][2] = {{0, -1}, {1, 0}, {0, 1}, {-1, 0}, {1, -1}, {1, 1}, {-1, 1}, {-1, -1}};

bool Furniture(uint8_t c) { return std::strchr("\xDA\xC4\xBF\xC0\xD9\xB3", c) != nullptr && c != 0; }
bool OnMap(int x, int y) { return x >= 0 && x < kMapColumns && y >= 0 && y < kMapRows; }
int Index(Place p) { return (p.room * kMapColumns + p.x) * kMapRows + p.y; }

// What opens a shut cell: the vampire, a fairy or a locked door by what stands
// there, the sorcerer's mirror and the secret room's wall by where they are.
int Opener(Place p, uint8_t c) {
    if (c == kVampire) return CROSS;
    if (c == kFairy) return HARP;
    if (c == kDoor) return KEY;
    if (p.room == 66 && (p.x == 18 || p.x == 19) && (p.y == 8 || p.y == 9)) return WAND;
    if (p.room == 76 && p.y == 17 && (p.x == 11 || p.x == 12)) return WAND;
    return -1;
}

bool LockedDoor(const GameState& g, Place p) {
    return (p.room == 67 && g.doorLocked67 && p.y == 14 && (p.x == 8 || p.x == 9)) ||
           (p.room == 81 && g.doorLocked81 && p.x == 13 && (p.y == 8 || p.y == 9));
}

std::string Noun(const GameState& g, int item) {
    char name[21] = {};
    std::memcpy(name, g.items[item].name, 20);
    return ShortName(name);
}

}  // namespace

std::string StepSavePath() {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path folder = fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
    return (folder / ("grimspire-step-" + std::to_string(std::random_device()()))).string();
}

Player::~Player() {
    std::error_code ec;
    std::filesystem::remove(stepSave, ec);
}

void Player::Key(uint32_t key) {
    HandleKey(g, key, 0);
    ++keys;
    if (keys % 2 == 0) BlinkTick(g);
    if (keys % 3 == 0) WorldTick(g);
    if (g.mode == Play && g.strength < lowestStrength) lowestStrength = g.strength;
    if (mustSurvive && g.mode == Play && g.strength < 0) throw Stuck("the man died " + Where());
    // Wherever SAVE could be typed, what it writes loads again as the same game.
    if (g.mode == Play && !g.awaitingKey) {
        GameState saved = g;
        GameState loaded = g;
        if (!SaveGame(saved, stepSave.c_str()) || !LoadGame(loaded, stepSave.c_str()) ||
            std::memcmp(loaded.items, g.items, sizeof g.items) != 0) {
            throw Stuck("a save taken here does not load " + Where());
        }
        ++stepsSaved;
    }
}

void Player::ExpectThePerfectEnd() {
    RecordProperty("keys", keys);
    RecordProperty("stepsSaved", stepsSaved);
    RecordProperty("lowestStrength", lowestStrength);
    EXPECT_GT(stepsSaved, keys / 2);
    ASSERT_EQ(g.mode, Summary);
    EXPECT_EQ(g.escaped, 1);
    EXPECT_EQ(ScreenRow(g, 19), "           Your Score: 1550");
}

void Player::Wait(int worldTicks) {
    for (int i = 0; i < worldTicks; ++i) {
        WorldTick(g);
        BlinkTick(g);
        if (mustSurvive && g.mode == Play && g.strength < 0) throw Stuck("the man died waiting " + Where());
    }
}

void Player::Say(const std::string& command) {
    // Whatever "What???" stands from before has to run out first.
    while (g.whatTicks > 0) BlinkTick(g);
    for (char c : command) Key(static_cast<uint32_t>(c));
    Key(VK_RETURN);
    if (g.whatTicks > 0) throw Stuck("no answer to " + command + " " + Where());
}

std::string Player::Msg() const {
    std::string text;
    for (int n = 0; n < 7; ++n) text += (n ? "/" : "") + MessageLine(g, n);
    while (!text.empty() && text.back() == '/') text.pop_back();
    return text;
}

std::string Player::Where() const {
    return "in room " + std::to_string(g.currentRoom) + " at (" + std::to_string(g.playerColumn) + ", " +
           std::to_string(g.playerRow) + ") after " + std::to_string(keys) + " keys, strength " +
           std::to_string(g.strength) + ", message '" + Msg() + "'";
}

uint32_t Player::KeyFor(int dx, int dy) {
    static constexpr uint32_t kKeys[3][3] = {{VK_NUMPAD7, VK_LEFT, VK_NUMPAD1},
                                             {VK_UP, VK_NUMPAD5, VK_DOWN},
                                             {VK_NUMPAD9, VK_RIGHT, VK_NUMPAD3}};
    return kKeys[dx + 1][dy + 1];
}

bool Player::Plan(const std::function<bool(Place)>& goal, std::vector<std::pair<uint32_t, Place>>* way) {
    // The rooms' exits as the game reads them, and what bars a way between rooms.
    std::array<std::array<int32_t, 6>, kRoomCount> exits;
    for (int r = 0; r < kRoomCount; ++r) {
        GameState t{};
        t.roomData = g.roomData;
        t.roomDataSize = g.roomDataSize;
        t.currentRoom = r;
        ParseExits(t);
        exits[static_cast<size_t>(r)] = {t.exitNorth, t.exitEast, t.exitSouth, t.exitWest, t.exitUp, t.exitDown};
    }
    const auto between = [](int a, int b, int r, int n) { return (r == a && n == b) || (r == b && n == a); };
    const auto allowed = [&](int r, int n) {
        if (n < 0) return false;
        if (between(10, 67, r, n) || (r == 76 && n == 82)) return Has(LAMP);
        // The fairies come back whenever a room is entered.
        if (n == 56) return Has(HARP) || (r == g.currentRoom && MonsterInRoom(g, r) == nullptr);
        return true;
    };
    // The current room as the screen shows it; the others as the data has them,
    // with the things lying there, the dead, the vampire and the locked doors in the way.
    std::vector<uint8_t> shown(kRoomCount * kMapCells);
    const auto cell = [&](int r, int x, int y) -> uint8_t& { return shown[static_cast<size_t>(Index({r, x, y}))]; };
    for (int r = 0; r < kRoomCount; ++r) {
        for (int i = 0; i < kMapCells; ++i) cell(r, i % kMapColumns, i / kMapColumns) = g.roomData[r * kRoomRecordSize + i];
    }
    for (const ItemRecord& it : g.items) {
        if (it.room >= 0 && it.visible && !it.carried) cell(it.room, it.x, it.y) = it.glyph;
    }
    for (const MonsterRecord& m : g.monsters) {
        if (m.present && (m.strength < 0 || m.glyph == kVampire)) cell(m.room, m.x, m.y) = m.glyph;
    }
    for (Place d : {Place{67, 8, 14}, Place{67, 9, 14}, Place{81, 13, 8}, Place{81, 13, 9}}) {
        if (LockedDoor(g, d)) cell(d.room, d.x, d.y) = kDoor;
    }
    for (int i = 0; i < kMapCells; ++i) cell(g.currentRoom, i % kMapColumns, i / kMapColumns) = CellAt(g, i % kMapColumns, i / kMapColumns);
    cell(g.currentRoom, g.playerColumn, g.playerRow) = ' ';
    const auto open = [&](Place q) {
        if (cell(q.room, q.x, q.y) == ' ') return true;
        const int opener = Opener(q, cell(q.room, q.x, q.y));
        return opener >= 0 && Has(opener);
    };
    std::vector<int> from(kRoomCount * kMapCells, -1);
    std::vector<uint32_t> keyTo(kRoomCount * kMapCells, 0);
    std::vector<Place> queue{Man()};
    from[static_cast<size_t>(Index(Man()))] = Index(Man());
    for (size_t i = 0; i < queue.size(); ++i) {
        const Place p = queue[i];
        if (goal(p)) {
            way->clear();
            for (Place q = p; !(q == Man());) {
                const int back = from[static_cast<size_t>(Index(q))];
                way->insert(way->begin(), {keyTo[static_cast<size_t>(Index(q))], q});
                q = {back / kMapCells, back / kMapRows % kMapColumns, back % kMapRows};
            }
            return true;
        }
        const auto& ex = exits[static_cast<size_t>(p.room)];
        for (const auto& d : kSteps) {
            const int nx = p.x + d[0], ny = p.y + d[1];
            Place n{-1, nx, ny};
            const bool straight = d[0] == 0 || d[1] == 0;
            if (ny < 0 && straight && allowed(p.room, ex[0])) n = {ex[0], nx, kMapRows - 1};
            else if (nx >= kMapColumns && straight && allowed(p.room, ex[1])) n = {ex[1], 0, ny};
            else if (ny >= kMapRows && straight && p.room != 0 && allowed(p.room, ex[2])) n = {ex[2], nx, 0};
            else if (nx < 0 && straight && allowed(p.room, ex[3])) n = ex[3] == 66 ? Place{66, 16, 9} : Place{ex[3], kMapColumns - 1, ny};
            else if (OnMap(nx, ny) && cell(p.room, nx, ny) == 'U') n = {allowed(p.room, ex[4]) ? ex[4] : -1, p.x, p.y};
            else if (OnMap(nx, ny) && cell(p.room, nx, ny) == 'D') n = {allowed(p.room, ex[5]) ? ex[5] : -1, p.x, p.y};
            else if (OnMap(nx, ny)) n = {p.room, nx, ny};
            // Coming up from the secret room opens the winding passage's south wall; the
            // puff of smoke sets the man down in front of the mirror whatever lies there.
            const bool opened = (p.room == 82 && n.room == 76 && (n.x == 11 || n.x == 12)) || (p.room == 65 && n.room == 66);
            // Without the necklace, any step out of a trap's column floods the passage: never step in.
            const bool trap = !Has(NECKLACE) && ((n.room == 75 && n.x == 14) || (n.room == 77 && n.x == 17));
            if (n.room < 0 || from[static_cast<size_t>(Index(n))] >= 0 || trap || (!open(n) && !opened)) continue;
            from[static_cast<size_t>(Index(n))] = Index(p);
            keyTo[static_cast<size_t>(Index(n))] = KeyFor(d[0], d[1]);
            queue.push_back(n);
        }
    }
    searched.swap(from);
    return false;
}

void Player::Go(const std::function<bool(Place)>& goal, const std::string& what) {
    std::vector<std::pair<uint32_t, Place>> way;
    for (int attempt = 0; attempt < 400; ++attempt) {
        if (goal(Man())) return;
        if (fightOnTheWay) FightHere();
        if (!Plan(goal, &way)) {
            // A chasing monster may stand in the only doorway; give it time.
            if (MonsterInRoom(g, g.currentRoom) != nullptr && attempt < 50) {
                Wait(1);
                continue;
            }
            throw Stuck("no way to " + what + " " + Where());
        }
        for (const auto& [key, next] : way) {
            if (Magic(next)) break;
            Key(key);
            if (!(Man() == next)) break;
        }
    }
    throw Stuck("kept being turned back on the way to " + what + " " + Where());
}

void Player::WalkTo(const std::function<bool(Place)>& goal, const std::string& what) {
    const int room = g.currentRoom;
    Go([&](Place p) { return p.room == room && goal(p); }, what);
}

bool Player::Beside(Place p, bool diagonal, const std::function<bool(uint8_t)>& fits) const {
    for (const auto& d : kSteps) {
        if (!diagonal && d[0] != 0 && d[1] != 0) continue;
        if (OnMap(p.x + d[0], p.y + d[1]) && fits(CellAt(g, p.x + d[0], p.y + d[1]))) return true;
    }
    return false;
}

void Player::PickUp(int item) {
    const ItemRecord& it = g.items[item];
    if (it.room != g.currentRoom) GoTo(it.room);
    for (int attempt = 0; attempt < 10 && !Carrying(item); ++attempt) {
        WalkTo(Near(item), "the " + Noun(g, item));
        if (!Magic({it.room, it.x, it.y})) Key(KeyFor(it.x - g.playerColumn, it.y - g.playerRow));
    }
    if (!Carrying(item)) throw Stuck("could not pick up the " + Noun(g, item) + " " + Where());
}

void Player::GetHidden(int item, const std::string& noun) {
    if (g.items[item].room != g.currentRoom) GoTo(g.items[item].room);
    // Books are reached from the shelves, anything else from the furniture's side.
    const bool library = g.currentRoom == 57;
    WalkTo([&](Place p) { return library ? Beside(p, true, [](uint8_t c) { return c == kShelf; })
                                         : Beside(p, false, Furniture); },
           "reach for the " + noun);
    Say("GET " + noun);
    if (MessageLine(g, 0) != "Done." || !Carrying(item)) throw Stuck("GET " + noun + " " + Where());
}

void Player::Fight(int monster) {
    const MonsterRecord& m = g.monsters[monster];
    if (m.room != g.currentRoom) GoTo(m.room);
    if (!Carrying(SWORD)) throw Stuck("no sword to fight with " + Where());
    if (g.strength < healBelow && !g.waterDrunk && fightOnTheWay) {
        Heal();
        GoTo(m.room);
    }
    std::vector<std::pair<uint32_t, Place>> way;
    // How many cells of this room's floor the man would reach from `from`, `through` open and `wall` shut.
    const auto reach = [&](Place from, Place through, Place wall) {
        std::vector<char> seen(kMapCells, 0);
        std::vector<Place> queue{from};
        for (size_t i = 0; i < queue.size() * 8; ++i) {
            const Place n{g.currentRoom, queue[i / 8].x + kSteps[i % 8][0], queue[i / 8].y + kSteps[i % 8][1]};
            if (OnMap(n.x, n.y) && !(n == wall) && (CellAt(g, n.x, n.y) == ' ' || n == through || n == Man()) &&
                seen[static_cast<size_t>(n.y * kMapColumns + n.x)]++ == 0) queue.push_back(n);
        }
        return queue.size();
    };
    int lures = 0;
    for (int round = 0; m.strength >= 0; ++round) {
        if (round > 3000) throw Stuck("the fight does not end " + Where());
        // Two steps off, where its step towards the man is open, it comes to him.
        const auto comes = [&](Place p) {
            const int x = m.x + (p.x > m.x) - (p.x < m.x), y = m.y + (p.y > m.y) - (p.y < m.y);
            return p.room == m.room && std::max(std::abs(p.x - m.x), std::abs(p.y - m.y)) == 2 && CellAt(g, x, y) == ' ';
        };
        // One the man came in on top of is not drawn until it moves: step off and let it come.
        const bool hidden = m.room == g.currentRoom && CellAt(g, m.x, m.y) != m.glyph;
        const auto near = [&](Place p) { return hidden ? comes(p) : Near(kItemCount + monster, p); };
        // Killed where its body would cut off part of the room for good, it is first drawn on: the man
        // waits at the nearest place where its straight chase ends on a cell that cuts nothing off.
        const Place it{m.room, m.x, m.y}, none{-1, 0, 0};
        const auto lair = [&](Place p) {
            Place body = it, n = it;
            while (p.room == it.room && (n = {it.room, body.x + (p.x > body.x) - (p.x < body.x), body.y + (p.y > body.y) - (p.y < body.y)},
                                         !(n == p) && (CellAt(g, n.x, n.y) == ' ' || n == Man()))) body = n;
            return p.room == it.room && !(body == it) && reach(p, it, none) <= reach(p, it, body) + 1;
        };
        if (!hidden && it.room == g.currentRoom && lures < 60 && reach(Man(), it, none) > reach(Man(), it, it) + 1 && Plan(lair, &way))
            ++lures, way.empty() ? Wait(1) : Key(way.front().first);
        // It strikes only on every second tick: when the next key brings that tick, be a step out of reach.
        else if (hidden && near(Man())) Wait(1);
        else if (near(Man()) && keys % 3 == 2 && g.blowToggle == 1 && Plan(comes, &way) && way.size() == 1) Key(way.front().first);
        else if (near(Man())) Key(KeyFor(m.x - g.playerColumn, m.y - g.playerRow));
        else if (Plan(near, &way) && !way.empty() && !Magic(way.front().second)) Key(way.front().first);
        else Wait(1);  // let it come
    }
}

void Player::FightHere() {
    const MonsterRecord* m = MonsterInRoom(g, g.currentRoom);
    const int monster = static_cast<int>(m - g.monsters);
    std::vector<std::pair<uint32_t, Place>> way;
    // Only with the sword, and only one the man can get at from here and now.
    if (m != nullptr && !m->guardian && Carrying(SWORD) && Plan(Near(kItemCount + monster), &way)) Fight(monster);
}

bool Player::Magic(Place next) {
    const uint8_t c = next.room == g.currentRoom ? CellAt(g, next.x, next.y) : ' ';
    const int opener = Opener(next, c);
    if (c == ' ' || opener < 0 || !Carrying(opener)) return false;
    Say(opener == CROSS ? "WAVE CROSS" : opener == HARP ? "PLAY HARP" : opener == KEY ? "OPEN DOOR" : "WAVE WAND");
    return true;
}

void Player::Heal() {
    // The way to the fountain may lead past monsters still alive: no fights now.
    const bool fighting = fightOnTheWay;
    fightOnTheWay = false;
    if (!Carrying(FLASK)) {
        if (g.items[FLASK].visible) PickUp(FLASK);
        else GetHidden(FLASK, "FLASK");
    }
    GoTo(17);
    WalkTo([&](Place p) { return Beside(p, false, Furniture); }, "the fountain");  // its stone rim
    Say("FILL FLASK");
    if (MessageLine(g, 0) != "Done." || !g.flaskHasWater) throw Stuck("FILL FLASK " + Where());
    Say("DRINK WATER");
    if (Msg() != "That was good!/I feel much/better now!" || g.strength != 100) throw Stuck("DRINK " + Where());
    Say("LOOK FLASK");
    if (Msg() != " It's empty.") throw Stuck("LOOK FLASK " + Where());
    DropAside(FLASK);  // its one use is spent; the hands are needed
    fightOnTheWay = fighting;
}

void Player::Drop(int item, const std::function<bool(int x, int y)>& where) {
    const std::string noun = Noun(g, item);
    // The man steps straight onto a blank cell and faces the blank cell t beyond it.
    const auto facing = [&](Place q, int d) {
        const int px = q.x + kStraight[d][0], py = q.y + kStraight[d][1];
        const int tx = px + kStraight[d][0], ty = py + kStraight[d][1];
        return OnMap(tx, ty) && CellAt(g, px, py) == ' ' && CellAt(g, tx, ty) == ' ' && where(tx, ty);
    };
    for (int attempt = 0; attempt < 10 && Carrying(item); ++attempt) {
        WalkTo([&](Place q) { return facing(q, 0) || facing(q, 1) || facing(q, 2) || facing(q, 3); },
               "a place for the " + noun);
        for (int d = 0; d < 4; ++d) {
            if (!facing(Man(), d)) continue;
            const Place step{g.currentRoom, g.playerColumn + kStraight[d][0], g.playerRow + kStraight[d][1]};
            Key(KeyFor(kStraight[d][0], kStraight[d][1]));
            if (Man() == step) Say("DROP " + noun);
            break;
        }
    }
    if (Carrying(item) || g.items[item].room != g.currentRoom) throw Stuck("could not lay down the " + noun + " " + Where());
}

void Player::DropInCourtyard(int item) {
    if (g.currentRoom != 0) GoTo(0);
    // Off the path from the doorway to the gate, and on every second cell so
    // that nothing laid down ever walls in something else.
    Drop(item, [](int x, int y) { return (x <= 7 || x >= 16) && (x + y) % 2 == 0 && y >= 1 && y <= 16; });
}

void Player::DropAside(int item) {
    // Only on open floor, where it cannot close a passage.
    Drop(item, [this](int x, int y) {
        int open = CellAt(g, x, y) == ' ';  // the man may stand beside it
        for (const auto& d : kSteps) open += OnMap(x + d[0], y + d[1]) && CellAt(g, x + d[0], y + d[1]) == ' ';
        return open >= 8;
    });
}

Place Player::Spot(int goal) const {
    const auto spot = [](const auto& thing) { return Place{thing.room, thing.x, thing.y}; };
    return goal < kItemCount ? spot(g.items[goal]) : spot(g.monsters[goal - kItemCount]);
}

bool Player::Near(int goal, Place p) const {
    const Place s = Spot(goal);
    // A thing a locked door is drawn over is reached by opening the door.
    if (LockedDoor(g, s) && !Has(KEY)) return false;
    // One step away: a man who came into the room on its very cell must step off first.
    return p.room == s.room && std::max(std::abs(p.x - s.x), std::abs(p.y - s.y)) == 1;
}

uint32_t Player::Needs(int goal, uint32_t tools) {
    // All the tools supposed at first, then each left out that the way can do without.
    std::vector<std::pair<uint32_t, Place>> way;
    assumed = tools & ~(goal < kItemCount ? 1u << goal : 0u);
    uint32_t need = Plan(Near(goal), &way) ? assumed : kNoWay;
    for (int t : kTools) {
        if (need == kNoWay || ((need >> t) & 1) == 0) continue;
        assumed = need & ~(1u << t);
        if (Plan(Near(goal), &way)) need = assumed;
    }
    assumed = 0;
    return need;
}

bool Player::Toward(int goal, uint32_t tools) {
    if (goal >= kItemCount && !Carrying(SWORD)) goal = SWORD;
    const uint32_t need = Needs(goal, tools);
    if (need == kNoWay) return false;
    const int next = need == 0 ? goal : std::countr_zero(need);
    if (next >= kItemCount) Fight(next - kItemCount);
    else if (CarriedCount(g) == kCarryLimit) Deliver();
    else PickUp(next);
    return true;
}

void Player::Deliver() {
    // The sword stays in hand while anything is left to fight.
    const bool fighting = std::any_of(std::begin(g.monsters), std::end(g.monsters), [](const MonsterRecord& m) { return !m.guardian && m.strength >= 0; });
    GoTo(0);
    for (int i = 0; i < kItemCount; ++i) {
        if (Carrying(i) && !(i == SWORD && fighting)) DropInCourtyard(i);
    }
}

void Player::PlayToTheEnd() {
    healBelow = 0;  // the loop below drinks the water, once the flask can be had
    std::vector<std::pair<uint32_t, Place>> way;
    for (int turn = 0;; ++turn) {
        if (turn > 400) throw Stuck("no end to the game " + Where());
        if (CarriedCount(g) == kCarryLimit) Deliver();
        // The tools lying within reach now; one further off comes nearer as a goal of its own.
        const auto within = [&] {
            uint32_t tools = 0;
            for (int t : kTools) tools |= !Carrying(t) && Plan(Near(t), &way) ? 1u << t : 0u;
            return tools;
        };
        // Low, the fountain's water comes first; the flask may want tools of its own.
        if (g.strength < 50 && !g.waterDrunk && Carrying(FLASK)) Heal();
        if (g.strength < 50 && !g.waterDrunk && Toward(FLASK, within())) continue;
        std::vector<int> goals;
        for (int i = 0; i < kItemCount; ++i) {
            if (!Carrying(i) && g.items[i].room != 0 && !(i == FLASK && g.waterDrunk)) goals.push_back(i);
        }
        for (int m = 0; m < kMonsterCount; ++m) {
            if (!g.monsters[m].guardian && g.monsters[m].strength >= 0) goals.push_back(kItemCount + m);
        }
        // Only the treasures and the monsters are owed; a tool out of reach may stay where it is.
        if (std::none_of(goals.begin(), goals.end(), [this](int goal) { return goal >= kItemCount || g.items[goal].treasure; })) break;
        // The nearest thing the man can get at as he is; else a step towards any.
        int chosen = -1;
        const auto any = [&](Place p) {
            const auto it = std::find_if(goals.begin(), goals.end(), [&](int goal) { return (goal < kItemCount || Carrying(SWORD)) && Near(goal, p); });
            return (chosen = it == goals.end() ? -1 : *it) >= 0;
        };
        if (Plan(any, &way)) chosen < kItemCount ? PickUp(chosen) : Fight(chosen - kItemCount);
        else if (const uint32_t tools = within(); std::none_of(goals.begin(), goals.end(), [&](int goal) { return Toward(goal, tools); })) throw Stuck("nothing left within reach " + Where());
    }
    Deliver();
    PickUp(SCEPTER);
    Say("WAVE SCEPTER");
    WalkTo([](Place p) { return p.y == kMapRows - 1; }, "the open gate");
    Key(VK_DOWN);
}
