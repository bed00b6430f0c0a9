// SPDX-License-Identifier: GPL-3.0-or-later
// Key dispatch and the five game modes.
#include <cstring>

#include "commands/commands.h"
#include "core/core.h"
#include "score/score.h"
#include "world/world.h"

namespace {

bool IsTypable(uint32_t key) { return (key >= 'A' && key <= 'Z') || key == VK_SPACE; }

// The neighbour a movement key steps to; false for every other key.
bool MovementTarget(uint32_t key, int* dx, int* dy) {
    switch (key) {
        case VK_LEFT: case VK_NUMPAD4: *dx = -1; *dy = 0; return true;
        case VK_UP: case VK_NUMPAD8: *dx = 0; *dy = -1; return true;
        case VK_RIGHT: case VK_NUMPAD6: *dx = 1; *dy = 0; return true;
        case VK_DOWN: case VK_NUMPAD2: *dx = 0; *dy = 1; return true;
        case VK_NUMPAD1: *dx = -1; *dy = 1; return true;
        case VK_NUMPAD3: *dx = 1; *dy = 1; return true;
        case VK_NUMPAD7: *dx = -1; *dy = -1; return true;
        case VK_NUMPAD9: *dx = 1; *dy = -1; return true;
        default: return false;
    }
}

int32_t TitleKey(GameState& g, uint32_t key) {
    StopSound(g);
    if (key == 'I') {
        SetMode(g, Instructions);
    } else if (key == 'P') {
        SetMode(g, Play);
    }
    return 1;
}

int32_t SummaryKey(GameState& g, uint32_t key, int32_t repeat) {
    if (repeat) return 1;
    if (g.awaitingKey) {
        g.awaitingKey = 0;
        const uint32_t score = ComputeScore(g);
        if (score > g.highScore || score == kPerfectScore) {
            SetMode(g, NameEntry);
        } else {
            PutText(g, "         Play Again (Y/N)?         ", 0, 24);
        }
        return 1;
    }
    if (key == 'Y') {
        SetMode(g, Play);
        return 1;
    }
    return 0;
}

int32_t NameEntryKey(GameState& g, uint32_t key, int32_t repeat) {
    const size_t n = strnlen(g.entryName, kNameMax);
    if (IsTypable(key)) {
        if (n < kNameMax) {
            g.entryName[n] = static_cast<char>(key);
            g.entryName[n + 1] = '\0';
        } else {
            PlayCue(g, CUE_LINE_FULL, 0);
        }
        EchoName(g);
    } else if (key == VK_BACK) {
        if (n > 0) g.entryName[n - 1] = '\0';
        EchoName(g);
    } else if (key == VK_RETURN && !repeat) {
        g.highScore = ComputeScore(g);
        std::memcpy(g.highScoreName, g.entryName, sizeof g.highScoreName);
        g.highScoreName[kNameMax] = '\0';
        const int kept = SaveHighScore(g);
        SetMode(g, Title);
        // Never a silent loss: the title says so on its empty row.
        if (!kept) PutText(g, "  Your best score could not be kept!", 0, 23);
    }
    return 1;
}

int32_t PlayKey(GameState& g, uint32_t key, int32_t repeat) {
    g.playedSinceSave = 1;
    // A dead man's key leads on to the summary, whatever else is pending.
    if (g.awaitingKey) {
        if (!repeat) SetMode(g, Summary);
        return 1;
    }
    if (g.whatTicks > 0) return 1;
    if (g.trapSprung) return 1;
    int dx = 0;
    int dy = 0;
    if (MovementTarget(key, &dx, &dy)) {
        MovePlayer(g, g.playerColumn + dx, g.playerRow + dy);
        return 1;
    }
    const size_t n = strnlen(g.commandLine, kCommandMax);
    if (IsTypable(key)) {
        if (n < kCommandMax) {
            g.commandLine[n] = static_cast<char>(key);
            g.commandLine[n + 1] = '\0';
        } else {
            PlayCue(g, CUE_LINE_FULL, 0);
        }
    } else if (key == VK_BACK) {
        if (n > 0) g.commandLine[n - 1] = '\0';
    } else if (key == VK_RETURN) {
        if (n > 0) {
            InterpretCommand(g);
            // A command may have ended the game or changed the mode; the line
            // is emptied all the same, so nothing typed survives into the next screen.
            g.commandLine[0] = '\0';
        }
    }
    EchoCommandLine(g);
    return 1;
}

}  // namespace

int32_t HandleKey(GameState& g, uint32_t key, int32_t repeat) {
    g.keyRepeat = repeat;
    if (repeat && g.holdRepeat) return 1;
    g.holdRepeat = 0;
    switch (g.mode) {
        case Title:
        case Instructions:
            return TitleKey(g, key);
        case Summary:
            return SummaryKey(g, key, repeat);
        case NameEntry:
            return NameEntryKey(g, key, repeat);
        case Play:
            return PlayKey(g, key, repeat);
        default:
            return 1;
    }
}

void SetMode(GameState& g, uint32_t mode) {
    g.mode = mode;
    switch (mode) {
        case Play: NewGame(g); break;
        case Title: ShowTitle(g); break;
        case Instructions: ShowInstructions(g); break;
        case Summary: ShowSummary(g); break;
        case NameEntry:
            g.entryName[0] = '\0';
            ShowNameEntry(g);
            break;
        default: break;
    }
    g.awaitingKey = (g.mode == Summary) ? 1 : 0;
    g.aboutShown = 0;
}
