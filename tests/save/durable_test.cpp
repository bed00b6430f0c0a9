// SPDX-License-Identifier: GPL-3.0-or-later
// A save must be on disk when " Game Saved" shows, not only in the page cache:
// a power cut otherwise leaves an empty file under the name. Killing the
// program cannot show a missing flush, so the calls themselves are watched:
// this program's own fsync and rename stand in front of the C library's.
#include <gtest/gtest.h>
#include <dlfcn.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "game_fixture.h"
#include "save/save.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;

bool recording = false;
std::vector<std::string> calls;

std::string PathOf(int fd) {
    std::error_code ec;
    return fs::read_symlink("/proc/self/fd/" + std::to_string(fd), ec).string();
}

}  // namespace

extern "C" int fsync(int fd) {
    static auto real = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fsync"));
    if (recording) calls.push_back("fsync " + PathOf(fd));
    return real(fd);
}

extern "C" int rename(const char* from, const char* to) {
    static auto real = reinterpret_cast<int (*)(const char*, const char*)>(dlsym(RTLD_NEXT, "rename"));
    if (recording) calls.push_back("rename " + fs::absolute(from).string() + " " + fs::absolute(to).string());
    return real(from, to);
}

namespace {

class DurableSave : public GameTest {};

TEST_F(DurableSave, TheFileIsFlushedBeforeItTakesTheNameAndTheFolderAfter) {
    ScopedTempDir dir;
    StartPlaying();
    const fs::path here = fs::canonical(".");
    fs::create_directory("saves");
    for (const auto& [name, folder] : {std::pair{"GAME", here}, std::pair{"saves/GAME", here / "saves"}}) {
        calls.clear();
        recording = true;
        ASSERT_EQ(SaveGame(g, name), 1);
        recording = false;
        // fsync(temporary), rename(temporary, name), fsync(folder), and nothing else.
        ASSERT_EQ(calls.size(), 3u) << ::testing::PrintToString(calls);
        const std::string temp = calls[0].substr(6);
        EXPECT_EQ(calls[1], "rename " + temp + " " + (folder / "GAME").string());
        EXPECT_EQ(calls[2], "fsync " + folder.string());
    }
    EXPECT_EQ(std::distance(fs::directory_iterator("saves"), fs::directory_iterator()), 1);  // no temporary left
}

}  // namespace
