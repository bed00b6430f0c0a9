// SPDX-License-Identifier: GPL-3.0-or-later
// The commands that act on the game as a whole: QUIT, ABOUT, SECOND QUEST, SAVE,
// LOAD and the inventory. They head the command chain.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "commands/commands.h"
#include "core/core.h"
#include "save/save.h"
#include "save/storage.h"
#include "world/world.h"

namespace {

// About one deal in four is refused; a castle data fault could refuse them all.
constexpr int kMaxDeals = 200;

// Anything there under that name but a directory. Whether it can be read as
// a saved game is the loader's question.
bool IsExistingFile(const char* name) {
    std::error_code ec;
    const std::filesystem::file_status st = std::filesystem::status(NativePath(name), ec);
    return !ec && std::filesystem::exists(st) && !std::filesystem::is_directory(st);
}

void SecondQuest(GameState& g) {
    g.mode = Play;
    // Dealt again until the castle can be finished; the old castle if it never can.
    bool dealt = false;
    for (int deal = 0; deal < kMaxDeals && !dealt; ++deal) {
        NewGame(g);
        RandomizeItems(g);
        RandomizeMonsters(g);
        dealt = LayoutCanBeFinished(g) && NoMonsterBarsTheWay(g);
    }
    if (!dealt) NewGame(g);
    g.aboutShown = 0;
    g.awaitingKey = 0;
    ShowMessage(g, " Item and", 0, 0);
    ShowMessage(g, " Monster", 1, 0);
    ShowMessage(g, " Locations", 2, 0);
    ShowMessage(g, " Randomized!", 3, 0);
}

}  // namespace

int TryGameControl(GameState& g) {
    if (VerbIs(g, "QUIT") && NounIs(g, "")) {
        SetMode(g, Summary);
        return 1;
    }
    if (VerbIs(g, "ABOUT")) {
        g.aboutShown = 1;
        return 1;
    }
    if (VerbIs(g, "SECOND") && NounIs(g, "QUEST")) {
        SecondQuest(g);
        return 1;
    }
    if (VerbIs(g, "SAVE") && NounIs(g, "*")) {
        // The name is used as typed: capitals and blanks, no extension. Only a
        // saved game of ours is ever written over.
        char path[4096];
        const bool named = SavePath(g.noun, path, sizeof path) != 0;
        if (named && IsExistingFile(path) && !IsSavedGame(g, path)) {
            ShowMessage(g, " Error Saving", 0, 0);
            ShowMessage(g, " Another file", 1, 0);
            ShowMessage(g, " has that", 2, 0);
            ShowMessage(g, " name.", 3, 0);
        } else {
            ShowMessage(g, named && SaveGame(g, path) ? " Game Saved" : " Error Saving", 0, 0);
        }
    }
    if (VerbIs(g, "LOAD") && NounIs(g, "*")) {
        char path[4096];
        if (!FindSave(g.noun, path, sizeof path)) {
            ShowMessage(g, " There is no", 0, 0);
            ShowMessage(g, " file named", 1, 0);
            ShowMessage(g, " *", 2, 0);
        } else {
            // Anything that is not a saved game leaves the game as it was.
            if (!LoadGame(g, path)) {
                ShowMessage(g, " There is no", 0, 0);
                ShowMessage(g, " saved game", 1, 0);
                ShowMessage(g, " named", 2, 0);
                ShowMessage(g, " *", 3, 0);
            }
            return 1;
        }
    }
    if (std::strncmp(g.verb, "INV", 3) == 0) ShowInventory(g);
    return 0;
}

int RunNamedCommand(GameState& g, const char* verb, const char* name) {
    if (std::strlen(verb) >= sizeof g.verb || std::strlen(name) >= sizeof g.noun || name[0] == '\0') return 0;
    std::snprintf(g.verb, sizeof g.verb, "%s", verb);
    // Upper case, as a typed name always is, so that LOAD typed anywhere finds it.
    size_t i = 0;
    for (; name[i] != '\0'; ++i) g.noun[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[i])));
    g.noun[i] = '\0';
    g.messageShown = 0;
    TryGameControl(g);
    return 1;
}

void ShowInventory(GameState& g) {
    ShowMessage(g, "- Inventory -", 0, 0);
    int count = 0;
    for (const ItemRecord& item : g.items) {
        if (!item.carried) continue;
        ++count;
        char line[32];
        std::snprintf(line, sizeof line, "%c %.*s", static_cast<char>(item.glyph),
                      static_cast<int>(sizeof item.name), item.name);
        ShowMessage(g, line, count, 1);
    }
    if (count == 0) ShowMessage(g, "   Nothing.", 2, 0);
}
