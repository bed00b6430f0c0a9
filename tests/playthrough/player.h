// SPDX-License-Identifier: GPL-3.0-or-later
// A player for the whole-game tests: presses keys with the timers running in a
// steady rhythm, walks by the path finder, fights, picks things up and lays
// them down. Everything goes through HandleKey, WorldTick and BlinkTick.
#pragma once

#include <array>
#include <functional>
#include <stdexcept>
#include <string>

#include "game_fixture.h"
#include "route.h"

// Item and monster table positions the playthroughs use.
enum Item : int {
    LAMP = 0, HARP, NECKLACE, BOOK, WAND, SWORD, KEY, GLASSES, BALL, FLASK, CROSS, DIAMOND, BARS, RUBYS,
    FIGURINE, SCEPTER, HOURGLASS, GEM, HELMET, GOLDBAR, GOBLET, CROWN
};
enum Monster : int { OGRE_3 = 0, OGRE_20, DEMON_13, DEMON_23, BIG_SPIDER, SMALL_SPIDER, BAT, SNAKE, VAMPIRE };

// Thrown when the player cannot go on; the test fails with its text.
struct Stuck : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class Player : public GameTest {
protected:
    // One fresh key press; the timers keep their rhythm: a BlinkTick every
    // second key and a WorldTick every third, about what a steady player sees.
    void Key(uint32_t key);
    // Time passes without a key.
    void Wait(int worldTicks);
    // Types the command and Enter; the game must answer it (no "What???").
    void Say(const std::string& command);

    // Message line n (0..6) and a whole screen row, blanks for empty cells,
    // trailing blanks dropped.
    std::string Line(int n) const;
    std::string Row(int y) const;
    bool Carrying(int item) const { return g.items[item].carried != 0; }
    route::Spot Man() const { return {g.playerColumn, g.playerRow}; }
    std::string Where() const;

    // Walking. WalkTo replans whenever a step does not land where it should.
    void WalkTo(const std::function<bool(route::Spot)>& goal, const char* what);
    void GoTo(int room);
    // One room onwards; `after` is the room beyond, to choose a good doorway.
    void Hop(int next, int after = -1);
    route::ExitRule Rules() const;

    // Things.
    void PickUp(int item);
    void GetHidden(int item, const std::string& noun);
    void Fight(int monster);
    void FightHere();
    // Fetches the wine flask, fills it at the garden fountain and drinks: the
    // water restores the man once a game. Fights call it when he is low.
    void Heal();
    void FillFlask();
    // Walks up to the locked door of this room and opens it with the key.
    void OpenDoorHere();
    // Lays the item down on a cell that `where` accepts, facing it from a
    // straight step so that DROP puts it there.
    void Drop(int item, const std::function<bool(route::Spot)>& where);
    void DropInCourtyard(int item);
    void DropAside(int item);

    int keys = 0;
    std::array<bool, kRoomCount> visited{};
    int32_t lowestStrength = 100;
    bool mustSurvive = true;
    bool fightOnTheWay = true;
    int32_t healBelow = 50;
    // Whether the way may lead into a drowning trap's passage without the necklace.
    bool braveTraps = false;
};
