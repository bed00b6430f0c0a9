// SPDX-License-Identifier: GPL-3.0-or-later
// Walking the man about by key presses, finding the cells a test needs in the
// room data rather than assuming where the rooms' walls stand.
#pragma once

#include <string>
#include <vector>

#include "game_fixture.h"
#include "golden.h"
#include "world/world.h"

struct Spot {
    int x = -1;
    int y = -1;
    bool found() const { return x >= 0; }
};

class WorldTest : public GameTest {
protected:
    // The map character of a room as the data holds it.
    static uint8_t DataCell(int room, int x, int y);
    static bool DataBlank(int room, int x, int y) { return DataCell(room, x, y) == ' '; }

    bool Blank(int x, int y) const;
    // The arrow key for one orthogonal step.
    static uint32_t KeyFor(int dx, int dy);

    // Walks the man with arrow keys over blank cells of the screen to (x, y).
    // False when no such path exists.
    bool WalkTo(int x, int y);
    // Walks to a blank cell of the edge ('N', 'E', 'S', 'W') and steps over it.
    // False when no edge cell can be reached.
    bool LeaveBy(char edge);
    // Walks next to the room's U or D cell and steps onto it (with a repeated key
    // press when held is set). False when no stair can be reached.
    bool TakeStairs(char stair, bool held = false);
    // The first blank cell (column by column) that has a blank neighbour the
    // other way; used to find room for a figure and the man beside it.
    Spot FindBlankPair(int dx, int dy, int fromColumn = 1) const;

    // The first blank cell of a room's edge ('N', 'E', 'S', 'W') in the data.
    static Spot EdgeSpot(int room, char edge);
    // Enters the room and stands the man on the first blank cell of that edge.
    void PlaceAtEdge(int room, char edge);
    // Enters the room and stands the man on a blank cell beside the first cell
    // of the data that holds the character; returns the arrow key towards it (0 if none).
    uint32_t PlaceBeside(int room, uint8_t what);
    // Enters the room and stands the man on its blank cell nearest the middle.
    void PlaceInside(int room);

    std::vector<int> Cues() const { return fake::PlayedCues(); }
    // Cues played in the form that leaves a playing cue alone.
    std::vector<int> QuietCues() const;
    std::vector<int> LoudCues() const;
    std::string Messages() const;
};
