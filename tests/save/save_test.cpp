// SPDX-License-Identifier: GPL-3.0-or-later
// Saved games where the file system has its say: the file's layout, files that
// are refused, and saves that fail without costing the player an earlier one.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "commands/commands.h"
#include "game_fixture.h"
#include "golden.h"
#include "save/save.h"
#include "temp_dir.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ReadBytes(const std::string& name) {
    const std::string text = ReadFile(name);
    return Bytes(text.begin(), text.end());
}

void WriteFile(const std::string& name, const Bytes& bytes) {
    std::ofstream(name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

void SetIntAt(Bytes& b, size_t at, int32_t v) {
    for (size_t i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i));
}

class SaveTest : public GameTest {
protected:
    // Away from the courtyard, strength down, a sword carried, a monster dead.
    void PlayABit() {
        StartPlaying(5);
        PlaceMan(23, 5, 5);
        g.facing = 6;
        g.strength = 73;
        Carry(5);
        g.monsters[0].strength = -4;
        g.doorLocked67 = 0;
    }
    // LOAD of a file of ours brings back the sword and the dead ogre without a
    // reply; any other file leaves the game as it was and says so.
    void Load(const std::string& name, bool ours) {
        PlayABit();
        g.items[5].carried = 0;
        g.monsters[0].strength = 80;
        Command("LOAD " + name);
        EXPECT_EQ(g.items[5].carried, ours ? 1 : 0) << name;
        EXPECT_EQ(g.monsters[0].strength, ours ? -4 : 80) << name;
        EXPECT_EQ(g.whatTicks, 0u) << name;
        EXPECT_EQ(MessageLine(g, 0), ours ? "" : " There is no") << name;
    }
    ScopedTempDir dir;
};

TEST_F(SaveTest, TheFileHoldsTheGameInItsFixedOrderLittleEndian) {
    PlayABit();
    g.strength = 0x01020304;
    Type("SAVE GAME");
    const Bytes screenAtEnter(g.screen, g.screen + kScreenCells);  // the typed command stands in it
    Press(VK_RETURN);
    ASSERT_EQ(MessageLine(g, 0), " Game Saved");
    const Bytes b = ReadBytes("GAME");
    ASSERT_EQ(b.size(), 2152u);
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 1000), screenAtEnter);
    EXPECT_EQ(Bytes(b.begin() + 1000, b.begin() + 1432), Bytes(g.roomMap, g.roomMap + kMapCells));
    std::vector<int32_t> want = {23, 5, 5, 6, g.exitNorth, g.exitEast, g.exitSouth, g.exitWest, g.exitUp, g.exitDown};
    want.push_back(g.strength);
    for (const ItemRecord& i : g.items) want.insert(want.end(), {i.carried, i.room, i.visible, i.x, i.y});
    for (const MonsterRecord& m : g.monsters) want.insert(want.end(), {m.strength, m.room, m.present, m.x, m.y});
    want.insert(want.end(), {0, 1, 0, 0});
    Bytes numbers(4 * want.size());
    for (size_t i = 0; i < want.size(); ++i) SetIntAt(numbers, 4 * i, want[i]);
    EXPECT_EQ(Bytes(b.begin() + 1432, b.end()), numbers);
}

#ifndef _WIN32
// Opening a pipe would wait for a writer for ever. (The files LOAD refuses are tests/transcripts/loads.txt.)
TEST_F(SaveTest, APipeOfTheNameIsRefusedWithoutWaiting) {
    ASSERT_EQ(mkfifo("PIPE", 0600), 0);
    alarm(10);
    Load("PIPE", false);
    alarm(0);
}
#endif

TEST_F(SaveTest, ASaveThatFailsLeavesTheEarlierSaveAndNothingElse) {
    PlayABit();
    Command("SAVE GAME");
    const Bytes earlier = ReadBytes("GAME");
    ASSERT_EQ(earlier.size(), 2152u);

    // A name no file can have: nothing can be made under a plain file.
    WriteFile("plain", {1});
    EXPECT_EQ(SaveGame(g, "plain/GAME"), 0);

#ifndef _WIN32
    // The disc fills up half-way: files may grow no further than 1000 bytes.
    StartPlaying();
    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    struct rlimit small = old;
    small.rlim_cur = 1000;
    auto* previousHandler = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    Command("SAVE GAME");
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(MessageLine(g, 0), " Error Saving");
    EXPECT_EQ(ReadBytes("GAME"), earlier);
#endif

    // A folder of the typed name is no file to save over, nor one to load.
    std::filesystem::create_directory("DIR");
    Command("SAVE DIR");
    EXPECT_EQ(MessageLine(g, 0), " Error Saving");
    EXPECT_TRUE(std::filesystem::is_empty("DIR"));
    Command("LOAD DIR");
    EXPECT_EQ(MessageLine(g, 2), " DIR");
    // DIR, GAME and plain: no temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), std::filesystem::directory_iterator()), 3);
}

// A menu dialog's name is stored as a typed one is, and LOAD finds a save
// whose name differs only in case (one copied from a system that kept it so).
TEST_F(SaveTest, ANameFromADialogIsStoredUpperCaseAndLoadIgnoresCase) {
    PlayABit();
    ASSERT_EQ(RunNamedCommand(g, "SAVE", "menusave"), 1);
    EXPECT_EQ(MessageLine(g, 0), " Game Saved");
    EXPECT_EQ(std::filesystem::directory_iterator(".")->path().filename(), "MENUSAVE");
    Load("MENUSAVE", true);
    std::filesystem::rename("MENUSAVE", "MenuSave");
    Load("MENUSAVE", true);
    g.items[5].carried = 0;
    ASSERT_EQ(RunNamedCommand(g, "LOAD", "menuSAVE"), 1);
    EXPECT_EQ(g.items[5].carried, 1);
}

// A saves folder named in another script, as Saved Games is under a Cyrillic user
// name on Windows: the game's paths are UTF-8 everywhere.
TEST_F(SaveTest, ASavesFolderNamedInCyrillicTakesSavesAndGivesThemBack) {
    PlayABit();
    fake::State().saveFolder = "\xD0\xA1\xD0\xBE\xD1\x85\xD1\x80\xD0\xB0\xD0\xBD\xD1\x91\xD0\xBD\xD0\xBD\xD1\x8B\xD0\xB5/Grimspire";
    Command("SAVE GAME");
    EXPECT_EQ(MessageLine(g, 0), " Game Saved");
    EXPECT_EQ(std::filesystem::file_size(std::filesystem::path(u8"\u0421\u043e\u0445\u0440\u0430\u043d\u0451\u043d\u043d\u044b\u0435/Grimspire/GAME")), 2152u);
    g.items[5].carried = 0;
    Command("LOAD GAME");
    EXPECT_EQ(g.items[5].carried, 1);
    EXPECT_EQ(MessageLine(g, 0), "");
}

}  // namespace
