// SPDX-License-Identifier: GPL-3.0-or-later
#include "player.h"

#include <cstdlib>
#include <cstring>

#include "core/core.h"
#include "world/world.h"

using route::Spot;

namespace {

constexpr uint8_t kDoor = 0x08;
constexpr uint8_t kShelf = 0xDB;
constexpr uint8_t kFurniture[] = {0xDA, 0xC4, 0xBF, 0xC0, 0xD9, 0xB3};
constexpr int kStraight[4][2] = {{0, -1}, {1, 0}, {0, 1}, {-1, 0}};

bool Near(Spot a, Spot b) { return std::abs(a.x - b.x) <= 1 && std::abs(a.y - b.y) <= 1 && !(a == b); }

std::string Noun(const GameState& g, int item) {
    char name[21] = {};
    std::memcpy(name, g.items[item].name, 20);
    return ShortName(name);
}

// The map of a room as the man will find it on entering: the room data with
// the locked doors drawn in.
route::Grid ExpectedMap(const GameState& g, int room) {
    route::Grid grid = route::RoomDataMap(g, room);
    if (room == 67 && g.doorLocked67) grid.At(8, 14) = grid.At(9, 14) = kDoor;
    if (room == 81 && g.doorLocked81) grid.At(13, 8) = grid.At(13, 9) = kDoor;
    return grid;
}

}  // namespace

void Player::Key(uint32_t key) {
    HandleKey(g, key, 0);
    ++keys;
    if (keys % 2 == 0) BlinkTick(g);
    if (keys % 3 == 0) WorldTick(g);
    if (g.mode == Play && g.strength < lowestStrength) lowestStrength = g.strength;
    if (g.mode == Play && g.currentRoom >= 0 && g.currentRoom < kRoomCount) visited[g.currentRoom] = true;
    if (mustSurvive && g.mode == Play && g.strength < 0) throw Stuck("the man died " + Where());
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

std::string Player::Line(int n) const {
    std::string text;
    for (int x = 25; x < 40; ++x) {
        const uint8_t c = CellAt(g, x, 12 + n);
        text += c == 0 ? ' ' : static_cast<char>(c);
    }
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

std::string Player::Row(int y) const {
    std::string text;
    for (int x = 0; x < kScreenColumns; ++x) {
        const uint8_t c = CellAt(g, x, y);
        text += c == 0 ? ' ' : static_cast<char>(c);
    }
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

std::string Player::Where() const {
    return "in " + route::RoomName(g, g.currentRoom) + " at (" + std::to_string(g.playerColumn) + ", " +
           std::to_string(g.playerRow) + ") after " + std::to_string(keys) + " keys, strength " +
           std::to_string(g.strength);
}

void Player::WalkTo(const std::function<bool(Spot)>& goal, const char* what) {
    const bool necklace = Carrying(NECKLACE);
    // Stepping off the trap column of a winding passage floods it.
    const route::StepRule safe = [&](Spot from, Spot) {
        if (necklace) return true;
        return !((g.currentRoom == 75 && from.x == 14) || (g.currentRoom == 77 && from.x == 17));
    };
    for (int attempt = 0; attempt < 400; ++attempt) {
        if (goal(Man())) return;
        if (fightOnTheWay) FightHere();
        const auto walk = route::FindWalk(route::ScreenMap(g), Man(), goal, safe);
        if (!walk) {
            // A chasing monster may stand in the only doorway; give it time.
            if (MonsterInRoom(g, g.currentRoom) != nullptr && attempt < 50) {
                Wait(1);
                continue;
            }
            throw Stuck(std::string("no way to ") + what + " " + Where());
        }
        const int room = g.currentRoom;
        for (const Spot next : *walk) {
            Key(route::KeyFor(next.x - g.playerColumn, next.y - g.playerRow));
            if (g.currentRoom != room || !(Man() == next)) break;
        }
    }
    throw Stuck(std::string("kept being turned back on the way to ") + what + " " + Where());
}

route::ExitRule Player::Rules() const {
    return [this](int room, int, int next) {
        auto between = [&](int a, int b) { return (room == a && next == b) || (room == b && next == a); };
        if (between(10, 67)) return Carrying(LAMP);
        if (between(67, 68)) return g.doorLocked67 == 0;
        if (between(80, 81)) return g.doorLocked81 == 0;
        // The ways that need a puzzle solved on the spot are taken by hand.
        if (next == 82 || (room == 66 && next == 65)) return false;
        if ((room == 51 || room == 53) && next == 56) return false;
        if (room == 27 && next == 28) return g.monsters[VAMPIRE].present == 0;
        if (next == 75 || next == 77) return Carrying(NECKLACE) || braveTraps;
        return true;
    };
}

void Player::GoTo(int room) {
    if (g.currentRoom == room) return;
    const auto rooms = route::FindRooms(g, g.currentRoom, room, Rules());
    if (!rooms) throw Stuck("no way between the rooms to " + route::RoomName(g, room) + " " + Where());
    for (size_t i = 0; i < rooms->size(); ++i) Hop((*rooms)[i], i + 1 < rooms->size() ? (*rooms)[i + 1] : -1);
}

void Player::Hop(int next, int after) {
    if (fightOnTheWay) FightHere();
    const int room = g.currentRoom;
    const auto directions = route::DirectionsTo(g, room, next);
    if (directions.empty()) throw Stuck("no exit to " + route::RoomName(g, next) + " " + Where());

    // Prefer a doorway whose other side leads on to the room after.
    const route::Grid there = ExpectedMap(g, next);
    std::vector<Spot> onward;
    if (after >= 0) {
        for (int d : route::DirectionsTo(g, next, after)) {
            for (const auto& l : route::LeavesFor(there, d, after)) onward.push_back(l.from);
        }
    }
    auto leadsOn = [&](Spot arrival) {
        const auto goal = [&](Spot s) {
            if (after < 0) return there.At(s.x, s.y) == ' ';
            for (const Spot o : onward) {
                if (o == s) return true;
            }
            return false;
        };
        return route::FindWalk(there, arrival, goal).has_value();
    };

    std::vector<route::Leave> leaves;
    std::vector<route::Leave> fallback;
    route::Grid here = route::ScreenMap(g);
    if (route::OnMap(Man())) here.At(g.playerColumn, g.playerRow) = ' ';  // he may stand in the doorway
    for (int d : directions) {
        for (const auto& l : route::LeavesFor(here, d, next)) {
            (leadsOn(l.arrival) ? leaves : fallback).push_back(l);
        }
    }
    if (leaves.empty()) leaves = fallback;
    if (leaves.empty()) throw Stuck("no doorway to " + route::RoomName(g, next) + " " + Where());

    for (int attempt = 0; attempt < 20; ++attempt) {
        WalkTo(
            [&](Spot s) {
                for (const auto& l : leaves) {
                    if (l.from == s) return true;
                }
                return false;
            },
            ("the way to " + route::RoomName(g, next)).c_str());
        if (g.currentRoom != room) break;
        for (const auto& l : leaves) {
            if (l.from == Man()) {
                Key(route::KeyFor(l.dx, l.dy));
                break;
            }
        }
        if (g.currentRoom != room) break;
    }
    if (g.currentRoom == next) {
        // The path finder reads the exits as the game does.
        const auto exits = route::ExitsOf(g, next);
        const int32_t game[route::kDirections] = {g.exitNorth, g.exitEast, g.exitSouth,
                                                  g.exitWest,  g.exitUp,   g.exitDown};
        for (int d = 0; d < route::kDirections; ++d) {
            if (exits[static_cast<size_t>(d)] != game[d]) throw Stuck("exits read differently " + Where());
        }
    } else {
        throw Stuck("meant to reach " + route::RoomName(g, next) + " but stand " + Where() + ", message '" +
                    Line(0) + "/" + Line(1) + "'");
    }
}

void Player::PickUp(int item) {
    const ItemRecord& it = g.items[item];
    if (it.room != g.currentRoom) GoTo(it.room);
    const Spot target{it.x, it.y};
    for (int attempt = 0; attempt < 10 && !Carrying(item); ++attempt) {
        WalkTo([&](Spot s) { return Near(s, target); }, ("the " + Noun(g, item)).c_str());
        Key(route::KeyFor(target.x - g.playerColumn, target.y - g.playerRow));
    }
    if (!Carrying(item)) throw Stuck("could not pick up the " + Noun(g, item) + " " + Where());
}

void Player::GetHidden(int item, const std::string& noun) {
    if (g.items[item].room != g.currentRoom) GoTo(g.items[item].room);
    const route::Grid grid = route::ScreenMap(g);
    const bool library = g.currentRoom == 57;
    WalkTo(
        [&](Spot s) {
            if (library) {
                for (int dx = -1; dx <= 1; ++dx) {
                    for (int dy = -1; dy <= 1; ++dy) {
                        if (route::OnMap(s.x + dx, s.y + dy) && grid.At(s.x + dx, s.y + dy) == kShelf) return true;
                    }
                }
                return false;
            }
            for (const auto& d : kStraight) {
                if (!route::OnMap(s.x + d[0], s.y + d[1])) continue;
                for (uint8_t f : kFurniture) {
                    if (grid.At(s.x + d[0], s.y + d[1]) == f) return true;
                }
            }
            return false;
        },
        ("reach for the " + noun).c_str());
    Say("GET " + noun);
    if (Line(0) != "Done." || !Carrying(item)) {
        throw Stuck("GET " + noun + " answered '" + Line(0) + "/" + Line(1) + "' " + Where());
    }
}

void Player::Fight(int monster) {
    const MonsterRecord& m = g.monsters[monster];
    if (m.room != g.currentRoom) GoTo(m.room);
    if (!Carrying(SWORD)) throw Stuck("no sword to fight with " + Where());
    if (g.strength < healBelow && !g.waterDrunk && fightOnTheWay) {
        Heal();
        GoTo(m.room);
    }
    for (int round = 0; m.strength >= 0; ++round) {
        if (round > 3000) throw Stuck("the fight does not end " + Where());
        const Spot at{m.x, m.y};
        if (Near(Man(), at)) {
            Key(route::KeyFor(at.x - g.playerColumn, at.y - g.playerRow));
            continue;
        }
        const auto walk = route::FindWalk(route::ScreenMap(g), Man(), [&](Spot s) { return Near(s, at); });
        if (walk && !walk->empty()) {
            const Spot next = walk->front();
            Key(route::KeyFor(next.x - g.playerColumn, next.y - g.playerRow));
        } else {
            Wait(1);  // let it come
        }
    }
}

void Player::FightHere() {
    const MonsterRecord* m = MonsterInRoom(g, g.currentRoom);
    if (m == nullptr || m->guardian) return;
    Fight(static_cast<int>(m - g.monsters));
}

void Player::FillFlask() {
    if (g.currentRoom != 17) GoTo(17);
    // Filled standing beside the fountain's stone rim.
    WalkTo(
        [&](Spot s) {
            for (const auto& d : kStraight) {
                if (!route::OnMap(s.x + d[0], s.y + d[1])) continue;
                for (uint8_t f : kFurniture) {
                    if (CellAt(g, s.x + d[0], s.y + d[1]) == f) return true;
                }
            }
            return false;
        },
        "the fountain");
    Say("FILL FLASK");
    if (Line(0) != "Done." || !g.flaskHasWater) throw Stuck("FILL FLASK answered '" + Line(0) + "' " + Where());
}

void Player::OpenDoorHere() {
    WalkTo(
        [&](Spot s) {
            for (int dx = -1; dx <= 1; ++dx) {
                for (int dy = -1; dy <= 1; ++dy) {
                    if (route::OnMap(s.x + dx, s.y + dy) && CellAt(g, s.x + dx, s.y + dy) == kDoor) return true;
                }
            }
            return false;
        },
        "the door");
    Say("OPEN DOOR");
    const bool open = g.currentRoom == 67 ? g.doorLocked67 == 0 : g.doorLocked81 == 0;
    if (Line(0) != "Done." || !open) throw Stuck("OPEN DOOR answered '" + Line(0) + "' " + Where());
}

void Player::Heal() {
    // The way to the fountain may lead past monsters still alive: no fights now.
    const bool fighting = fightOnTheWay;
    fightOnTheWay = false;
    if (!Carrying(FLASK)) GetHidden(FLASK, "FLASK");
    FillFlask();
    Say("DRINK WATER");
    if (Line(0) != "That was good!" || Line(1) != "I feel much" || Line(2) != "better now!" || g.strength != 100) {
        throw Stuck("DRINK WATER answered '" + Line(0) + "' " + Where());
    }
    Say("LOOK FLASK");
    if (Line(0) != " It's empty.") throw Stuck("LOOK FLASK answered '" + Line(0) + "' " + Where());
    DropAside(FLASK);  // its one use is spent; the hands are needed
    fightOnTheWay = fighting;
}

void Player::Drop(int item, const std::function<bool(Spot)>& where) {
    const std::string noun = Noun(g, item);
    // The man steps from q to p, so he faces the cell t beyond p.
    auto placements = [&](const route::Grid& grid, Spot q) {
        std::vector<std::pair<int, Spot>> found;  // direction, p
        for (int d = 0; d < 4; ++d) {
            const Spot p{q.x + kStraight[d][0], q.y + kStraight[d][1]};
            const Spot t{p.x + kStraight[d][0], p.y + kStraight[d][1]};
            if (!route::OnMap(t) || grid.At(p.x, p.y) != ' ' || grid.At(t.x, t.y) != ' ' || !where(t)) continue;
            found.push_back({d, p});
        }
        return found;
    };
    for (int attempt = 0; attempt < 10 && Carrying(item); ++attempt) {
        const route::Grid grid = route::ScreenMap(g);
        WalkTo([&](Spot q) { return !placements(grid, q).empty(); }, ("a place for the " + noun).c_str());
        const auto found = placements(route::ScreenMap(g), Man());
        if (found.empty()) continue;
        const int d = found.front().first;
        Key(route::KeyFor(kStraight[d][0], kStraight[d][1]));
        if (!(Man() == found.front().second)) continue;
        Say("DROP " + noun);
        if (Line(0) != " Done.") throw Stuck("DROP " + noun + " answered '" + Line(0) + "' " + Where());
    }
    if (Carrying(item)) throw Stuck("could not lay down the " + noun + " " + Where());
    if (g.items[item].room != g.currentRoom) throw Stuck("the " + noun + " went elsewhere " + Where());
}

void Player::DropInCourtyard(int item) {
    if (g.currentRoom != 0) GoTo(0);
    // Off the path from the doorway to the gate, and on every second cell so
    // that nothing laid down ever walls in something else.
    Drop(item, [](Spot t) { return (t.x <= 7 || t.x >= 16) && (t.x + t.y) % 2 == 0 && t.y >= 1 && t.y <= 16; });
}

void Player::DropAside(int item) {
    // Only on open floor, where it cannot close a passage.
    Drop(item, [this](Spot t) {
        int open = 0;
        for (int dx = -1; dx <= 1; ++dx) {
            for (int dy = -1; dy <= 1; ++dy) {
                if (route::OnMap(t.x + dx, t.y + dy) && CellAt(g, t.x + dx, t.y + dy) == ' ') ++open;
            }
        }
        return open >= 8;
    });
}
