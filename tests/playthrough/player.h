// SPDX-License-Identifier: GPL-3.0-or-later
// A player for the whole-game tests: presses keys with the timers running in a
// steady rhythm, finds its way over the whole castle by breadth-first search,
// fights, picks things up and lays them down. Everything goes through
// HandleKey, WorldTick and BlinkTick; the way is read from the room data and
// the screen, so a changed room changes the route rather than a fixed key list.
#pragma once

#include <array>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "game_fixture.h"

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

struct Place {
    int room = 0;
    int x = 0;
    int y = 0;
    bool operator==(const Place&) const = default;
};

// Where the saves taken after every key go: on tmpfs where there is one, as they are flushed.
std::string StepSavePath();

class Player : public GameTest {
protected:
    // One fresh key press; the timers keep their rhythm: a BlinkTick every
    // second key and a WorldTick every third, about what a steady player sees.
    void Key(uint32_t key);
    // Time passes without a key.
    void Wait(int worldTicks);
    // Types the command and Enter; the game must answer it (no "What???").
    void Say(const std::string& command);

    // The seven message lines joined by '/', the empty ones at the end left out.
    std::string Msg() const;
    // Out through the gate with 1550, every key saved and loaded again on the way.
    void ExpectThePerfectEnd();
    bool Carrying(int item) const { return g.items[item].carried != 0; }
    // In hand, or only supposed so while the way is weighed.
    bool Has(int item) const { return Carrying(item) || ((assumed >> item) & 1) != 0; }
    Place Man() const { return {g.currentRoom, g.playerColumn, g.playerRow}; }
    std::string Where() const;
    // The step key for a move of one cell.
    static uint32_t KeyFor(int dx, int dy);

    // Walks anywhere in the castle until the goal holds; the way is planned
    // again whenever a step does not land where it should.
    void Go(const std::function<bool(Place)>& goal, const std::string& what);
    void GoTo(int room) { Go([room](Place p) { return p.room == room; }, "room " + std::to_string(room)); }
    // Inside the room the man stands in.
    void WalkTo(const std::function<bool(Place)>& goal, const std::string& what);

    // Things.
    void PickUp(int item);
    void GetHidden(int item, const std::string& noun);
    void Fight(int monster);
    void FightHere();
    // Fetches the wine flask, fills it at the garden fountain and drinks: the
    // water restores the man once a game. Fights call it when he is low.
    void Heal();
    // Lays the item down on a cell that `where` accepts, facing it from a
    // straight step so that DROP puts it there.
    void Drop(int item, const std::function<bool(int x, int y)>& where);
    void DropInCourtyard(int item);
    void DropAside(int item);

    // Any castle, the second quest's too: every treasure (and every other thing
    // within reach) into the courtyard, every monster killed, then out through
    // the gate with the scepter.
    void PlayToTheEnd();
    // A goal is an item by its number, or a monster by kItemCount plus its number;
    // the man is near it when he could take it or strike it.
    bool Near(int goal, Place p) const;
    Place Spot(int goal) const;
    std::function<bool(Place)> Near(int goal) const {
        return [this, goal](Place p) { return Near(goal, p); };
    }
    // Which of the tools (bits by item number) the way to the goal wants
    // besides those in hand; all bits set when even all of them open no way.
    uint32_t Needs(int goal, uint32_t tools);
    // Does one thing towards the goal: the goal itself, or a tool its way wants.
    bool Toward(int goal, uint32_t tools);
    // Lays down everything in hand in the courtyard, the sword only when nothing is left to fight.
    void Deliver();

    int keys = 0;
    // After every key where SAVE could be typed, a save is taken and loaded again (see Key).
    int stepsSaved = 0;
    const std::string stepSave = StepSavePath();
    ~Player() override;
    uint32_t assumed = 0;
    int32_t lowestStrength = 100;
    bool mustSurvive = true;
    bool fightOnTheWay = true;
    int32_t healBelow = 50;

    // The keys of the shortest way to the goal, with where each should land.
    bool Plan(const std::function<bool(Place)>& goal, std::vector<std::pair<uint32_t, Place>>* way);
    // After a Plan that found no way: by place number (room, x, y), the place each
    // was stepped to from, the man's own place for itself, -1 where never reached.
    std::vector<int> searched;

private:
    // Works the magic that opens the cell of the next step, if the man holds what opens it.
    bool Magic(Place next);
    // Whether the man stands beside (diagonals too, or only straight) a cell of the screen that fits.
    bool Beside(Place p, bool diagonal, const std::function<bool(uint8_t)>& fits) const;
};
