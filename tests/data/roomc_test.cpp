// SPDX-License-Identifier: GPL-3.0-or-later
// The room compiler: the real source compiles to the bytes the game carries,
// and every kind of malformed source stops it with the file, the line and the
// reason, writing nothing.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "world/world.h"

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) out += l + "\n";
    return out;
}

class RoomCompiler : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("grimspire-roomc-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        lines_ = SplitLines(ReadFile(GRIMSPIRE_ROOM_SOURCE));
        ASSERT_GT(lines_.size(), 83u * 25u);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Index of the line of the source that starts a room's block.
    size_t RoomLine(int room) const { return RoomLineIn(lines_, room); }
    static size_t RoomLineIn(const std::vector<std::string>& lines, int room) {
        const std::string head = "room " + std::to_string(room);
        for (size_t i = 0; i < lines.size(); ++i)
            if (lines[i].rfind(head, 0) == 0 && (lines[i].size() == head.size() || lines[i][head.size()] == ' '))
                return i;
        ADD_FAILURE() << "no block for room " << room;
        return 0;
    }

    // Runs the compiler on the lines; returns its exit status, keeps its stderr.
    int Run(const std::vector<std::string>& lines) {
        const fs::path src = dir_ / "rooms.txt";
        WriteFile(src, JoinLines(lines));
        const std::string cmd = std::string("\"") + GRIMSPIRE_ROOMC + "\" \"" + src.string() + "\" --cpp \"" +
                                (dir_ / "out.cpp").string() + "\" --bin \"" + (dir_ / "out.bin").string() +
                                "\" 2> \"" + (dir_ / "err.txt").string() + "\"";
        const int status = std::system(cmd.c_str());
        errors_ = ReadFile(dir_ / "err.txt");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // The source fails at the given line (0-based index) with a reason that mentions `words`.
    void ExpectFault(const std::vector<std::string>& lines, size_t index, const std::string& words) {
        EXPECT_EQ(Run(lines), 1);
        const std::string where = (dir_ / "rooms.txt").string() + ":" + std::to_string(index + 1) + ": ";
        EXPECT_EQ(errors_.rfind(where, 0), 0u) << errors_;
        EXPECT_NE(errors_.find(words), std::string::npos) << errors_;
        EXPECT_FALSE(fs::exists(dir_ / "out.cpp"));
        EXPECT_FALSE(fs::exists(dir_ / "out.bin"));
    }

    fs::path dir_;
    std::vector<std::string> lines_;
    std::string errors_;
};

TEST_F(RoomCompiler, TheSourceCompilesToTheBuiltInData) {
    ASSERT_EQ(Run(lines_), 0) << errors_;
    const std::string bin = ReadFile(dir_ / "out.bin");
    ASSERT_EQ(bin.size(), static_cast<size_t>(kRoomDataSize));
    EXPECT_EQ(0, std::memcmp(bin.data(), kBuiltInRoomData, kRoomDataSize));
    const std::string cpp = ReadFile(dir_ / "out.cpp");
    EXPECT_NE(cpp.find("#include \"world/world.h\""), std::string::npos);
    EXPECT_NE(cpp.find("const uint8_t kBuiltInRoomData[kRoomDataSize] = {"), std::string::npos);
}

TEST_F(RoomCompiler, NeedsASourceAndSomewhereToWrite) {
    const fs::path err = dir_ / "err.txt";
    const std::vector<std::string> usages = {"", " \"" + std::string(GRIMSPIRE_ROOM_SOURCE) + "\"", " --bin"};
    for (const std::string& args : usages) {
        const std::string cmd = std::string("\"") + GRIMSPIRE_ROOMC + "\"" + args + " 2> \"" + err.string() + "\"";
        const int status = std::system(cmd.c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << args;
        EXPECT_NE(ReadFile(err).find("usage:"), std::string::npos) << args;
    }
    // A source that cannot be read is reported like any other fault.
    const std::string cmd = std::string("\"") + GRIMSPIRE_ROOMC + "\" \"" + (dir_ / "none.txt").string() +
                            "\" --bin \"" + (dir_ / "out.bin").string() + "\" 2> \"" + err.string() + "\"";
    const int status = std::system(cmd.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1);
    EXPECT_NE(ReadFile(err).find("none.txt:0: cannot read the file"), std::string::npos) << ReadFile(err);
    EXPECT_FALSE(fs::exists(dir_ / "out.bin"));
}

TEST_F(RoomCompiler, AcceptsWindowsLineEndsAndAByteOrderMark) {
    auto lines = lines_;
    for (auto& line : lines) line += "\r";
    lines.front() = "\xEF\xBB\xBF" + lines.front();
    ASSERT_EQ(Run(lines), 0) << errors_;
    const std::string bin = ReadFile(dir_ / "out.bin");
    ASSERT_EQ(bin.size(), static_cast<size_t>(kRoomDataSize));
    EXPECT_EQ(0, std::memcmp(bin.data(), kBuiltInRoomData, kRoomDataSize));
}

TEST_F(RoomCompiler, RejectsLinesOfTheWrongWidth) {
    auto lines = lines_;
    const size_t map = RoomLine(12) + 3;
    lines[map] = "|" + std::string(23, ' ') + "|";
    ExpectFault(lines, map, "expected 24");

    lines = lines_;
    const size_t text = RoomLine(40) + 1 + 18 + 2;
    lines[text] = lines[text].substr(0, lines[text].size() - 1) + " |";  // 26 description characters
    ExpectFault(lines, text, "expected 25");

    lines = lines_;
    const size_t open = RoomLine(5) + 1;
    lines[open] = lines[open].substr(1);  // no leading bar
    ExpectFault(lines, open, "'|'");
}

TEST_F(RoomCompiler, RejectsCharactersWithoutACodePageCode) {
    auto lines = lines_;
    const size_t map = RoomLine(30) + 5;
    lines[map] = "|\xE2\x82\xAC" + std::string(23, ' ') + "|";  // the euro sign
    ExpectFault(lines, map, "U+20AC");

    lines = lines_;
    const size_t text = RoomLine(31) + 1 + 18;
    lines[text] = "|\tou are" + lines[text].substr(8);
    ExpectFault(lines, text, "U+0009");
}

TEST_F(RoomCompiler, RejectsBadExitsTexts) {
    const size_t exits = RoomLine(2) + 1 + 18 + 5;
    ASSERT_EQ(lines_[exits].rfind("exits ", 0), 0u);
    for (const char* bad : {"N7S2X5", "N7S2E5W", "N84", "N0", "N7N8", "7N", "N07", "N1E2S3W4U5D6N7",
                            "N10S11E12W13U14D"}) {
        auto lines = lines_;
        lines[exits] = std::string("exits ") + bad;
        ExpectFault(lines, exits, "xit");
    }
    auto lines = lines_;
    lines[exits] = "exits";
    ExpectFault(lines, exits, "exits");
}

TEST_F(RoomCompiler, RejectsMissingDuplicateAndMisplacedRooms) {
    // Room 9's block taken out.
    auto lines = lines_;
    const size_t nine = RoomLine(9), ten = RoomLine(10);
    lines.erase(lines.begin() + static_cast<long>(nine), lines.begin() + static_cast<long>(ten));
    ExpectFault(lines, nine, "room 9 is missing");

    // Room 9's block given twice.
    lines = lines_;
    std::vector<std::string> block(lines_.begin() + static_cast<long>(nine), lines_.begin() + static_cast<long>(ten));
    lines.insert(lines.begin() + static_cast<long>(ten), block.begin(), block.end());
    ExpectFault(lines, ten, "room 9");

    // The last room missing.
    lines = lines_;
    const size_t last = RoomLine(82);
    lines.erase(lines.begin() + static_cast<long>(last), lines.end());
    EXPECT_EQ(Run(lines), 1);
    EXPECT_NE(errors_.find("room 82 is missing"), std::string::npos) << errors_;

    // A block cut short: the exits line is missing.
    lines = lines_;
    const size_t exits = RoomLine(20) + 1 + 18 + 5;
    lines.erase(lines.begin() + static_cast<long>(exits));
    ExpectFault(lines, RoomLineIn(lines, 21), "exits");

    // A block with a map line too few.
    lines = lines_;
    lines.erase(lines.begin() + static_cast<long>(RoomLine(60) + 1));
    ExpectFault(lines, RoomLine(60) + 18, "expected 24");
}

}  // namespace
