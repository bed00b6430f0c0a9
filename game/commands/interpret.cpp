// SPDX-License-Identifier: GPL-3.0-or-later
// The command line: splitting it into verb and noun, the word tests, and the
// chain of handlers every command runs through.
#include <cstring>

#include "commands/commands.h"
#include "commands/handlers.h"
#include "core/core.h"
#include "world/world.h"

namespace {

// The fields are NUL-terminated by construction, but a loaded game brings its
// own bytes: never read past the field.
template <size_t N>
bool FieldEquals(const char (&field)[N], const char* word) {
    if (word[0] == '*') return field[0] != '\0';
    const size_t n = strnlen(field, N);
    return std::strlen(word) == n && std::memcmp(field, word, n) == 0;
}

bool VerbIsOneOf(const GameState& g, std::initializer_list<const char*> verbs) {
    for (const char* v : verbs) {
        if (VerbIs(g, v)) return true;
    }
    return false;
}

// Replies for a command that no handler answered.
void ReplyToUnanswered(GameState& g) {
    if (g.messageShown) return;
    if (IsLookAt(g, "*")) {
        ShowMessage(g, "I can't see", 0, 0);
        ShowMessage(g, "a *,", 1, 0);
        ShowMessage(g, "and I don't", 2, 0);
        ShowMessage(g, "have a", 3, 0);
        ShowMessage(g, "*!", 4, 0);
        return;
    }
    if (IsGetTake(g, "*")) {
        ShowMessage(g, "Impossible!!", 0, 1);
        return;
    }
    g.whatTicks = 2;
    PlayCue(g, CUE_WHAT, 0);
}

}  // namespace

void InterpretCommand(GameState& g) {
    SplitCommand(g);
    g.messageShown = 0;

    // QUIT, ABOUT, SECOND QUEST and a LOAD that found its file end the command.
    if (TryGameControl(g)) return;

    LookAtWallsAndStairs(g);
    LookAtGate(g);
    OpenGate(g);
    CloseGate(g);
    LookAtFurniture(g);
    LookAtDoor(g);
    OpenDoor(g);
    CloseDoor(g);
    FetchWater(g);
    FetchWine(g);
    LookAtBarrelsAndBlood(g);
    TakeItem(g);
    TryItemAndCreatureVerbs(g);

    ReplyToUnanswered(g);
}

void SplitCommand(GameState& g) {
    std::memset(g.verb, 0, sizeof g.verb);
    std::memset(g.noun, 0, sizeof g.noun);
    const size_t length = strnlen(g.commandLine, sizeof g.commandLine);
    size_t verbLength = 0;
    size_t nounLength = 0;
    bool verbEnded = false;
    for (size_t i = 0; i < length; ++i) {
        const char c = g.commandLine[i];
        if (c == ' ') {
            if (verbLength == 0) continue;
            verbEnded = true;
            if (nounLength > 0 && nounLength < sizeof g.noun - 1) g.noun[nounLength++] = c;
        } else if (!verbEnded) {
            if (verbLength < sizeof g.verb - 1) g.verb[verbLength++] = c;
        } else if (nounLength < sizeof g.noun - 1) {
            g.noun[nounLength++] = c;
        }
    }
    while (nounLength > 0 && g.noun[nounLength - 1] == ' ') g.noun[--nounLength] = '\0';
}

bool VerbIs(const GameState& g, const char* word) { return FieldEquals(g.verb, word); }

bool NounIs(const GameState& g, const char* word) { return FieldEquals(g.noun, word); }

bool IsLookAt(const GameState& g, const char* word) {
    return VerbIsOneOf(g, {"LOOK", "EXAMINE", "SEARCH"}) && NounIs(g, word);
}

bool IsGetTake(const GameState& g, const char* word) {
    return VerbIsOneOf(g, {"GET", "TAKE"}) && NounIs(g, word);
}

bool IsOpenUnlock(const GameState& g, const char* word) {
    return VerbIsOneOf(g, {"OPEN", "UNLOCK"}) && NounIs(g, word);
}

bool IsCloseLock(const GameState& g, const char* word) {
    return VerbIsOneOf(g, {"CLOSE", "LOCK"}) && NounIs(g, word);
}

const char* AfterFirstBlank(const char* name) { return ShortName(name); }

namespace {

// Names sit in 20-byte fields; compare without trusting the terminator.
bool ShortNameEquals(const char (&name)[20], const char* text) {
    char whole[sizeof name + 1] = {};
    std::memcpy(whole, name, sizeof name);
    return std::strcmp(AfterFirstBlank(whole), text) == 0;
}

}  // namespace

ItemRecord* FindItemByName(GameState& g, const char* text) {
    for (ItemRecord& item : g.items) {
        if (ShortNameEquals(item.name, text)) return &item;
    }
    return nullptr;
}

MonsterRecord* FindMonsterHereByName(GameState& g, const char* text) {
    for (MonsterRecord& monster : g.monsters) {
        if (monster.room == g.currentRoom && monster.present != 0 && ShortNameEquals(monster.name, text)) {
            return &monster;
        }
    }
    return nullptr;
}
