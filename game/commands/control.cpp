// SPDX-License-Identifier: GPL-3.0-or-later
// The commands that act on the game as a whole: QUIT, ABOUT, SECOND QUEST, SAVE,
// LOAD and the inventory. They head the command chain.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "commands/commands.h"
#include "core/core.h"
#include "save/save.h"
#include "world/world.h"

namespace {

// Anything there under that name but a directory. Whether it can be read as
// a saved game is the loader's question.
bool IsExistingFile(const char* name) {
    std::error_code ec;
    const std::filesystem::file_status st = std::filesystem::status(name, ec);
    return !ec && std::filesystem::exists(st) && !std::filesystem::is_directory(st);
}

void SecondQuest(GameState& g) {
    g.mode = Play;
    NewGame(g);
    g.aboutShown = 0;
    g.awaitingKey = 0;
    RandomizeItems(g);
    RandomizeMonsters(g);
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
        // The name is used as typed: capitals and blanks, no extension.
        ShowMessage(g, SaveGame(g, g.noun) ? " Game Saved" : " Error Saving", 0, 0);
    }
    if (VerbIs(g, "LOAD") && NounIs(g, "*")) {
        if (!IsExistingFile(g.noun)) {
            ShowMessage(g, " There is no", 0, 0);
            ShowMessage(g, " file named", 1, 0);
            ShowMessage(g, " *", 2, 0);
        } else {
            // A file that is not a saved game gives a fresh game rather than a broken one.
            if (!LoadGame(g, g.noun)) NewGame(g);
            return 1;
        }
    }
    if (std::strncmp(g.verb, "INV", 3) == 0) ShowInventory(g);
    return 0;
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
