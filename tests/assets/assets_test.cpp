// SPDX-License-Identifier: GPL-3.0-or-later
// The committed glyph sheet as the renderer slices it, and every asset made again
// by its tool, byte for byte (the cues are played through the mixer in the desktop's tests).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "gif.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;
const fs::path kResources = GRIMSPIRE_RESOURCES;

TEST(Assets, GlyphSheetDrawsTheCodePageInBlackAndGray) {
    const std::string file = ReadFile(kResources / "glyphs.gif");
    IndexedImage sheet;
    std::string error;
    ASSERT_TRUE(DecodeGif({file.begin(), file.end()}, &sheet, &error)) << error;
    ASSERT_EQ(sheet.pixels.size(), 2304u * 16);
    EXPECT_EQ(sheet.palette.size(), 256u * 3) << "the renderer is handed a whole table";
    EXPECT_EQ(std::string(sheet.palette.begin(), sheet.palette.begin() + 6), std::string("\0\0\0\xA8\xA8\xA8", 6));
    EXPECT_EQ(*std::max_element(sheet.pixels.begin(), sheet.pixels.end()), 1) << "only black and gray are drawn";
    const auto at = [&](int code, int x, int y) { return sheet.pixels[static_cast<size_t>(y * 2304 + code * 9 + x)]; };
    int lit[256] = {};
    for (int code = 0; code < 256; ++code)
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 9; ++x) lit[code] += at(code, x, y);
            // Only the line-drawing codes run on into the ninth column, so walls and frames join.
            EXPECT_EQ(at(code, 8, y), code >= 0xC0 && code <= 0xDF ? at(code, 7, y) : 0) << code << " row " << y;
        }
    EXPECT_TRUE(lit[0] + lit[10] + lit[32] + lit[255] == 0 && lit[0xDB] == 9 * 16) << "blanks, and the full block";
    // Code 5 is our own little man, not the club suit: facing us, head up, feet apart.
    for (int i = 0; i < 16 * 4; ++i) EXPECT_EQ(at(5, i % 4, i / 4), at(5, 7 - i % 4, i / 4)) << "row " << i / 4;
    EXPECT_TRUE(at(5, 3, 2) && !at(5, 3, 1) && at(5, 1, 14) && !at(5, 3, 14) && !at(5, 1, 15));
}

// Each tool, run in an empty directory, makes its files again, byte for byte as committed.
void ExpectRemade(const std::string& command, const fs::path& committed, long files) {
    const ScopedTempDir dir;
    ASSERT_EQ(std::system((command + " >/dev/null").c_str()), 0) << command;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), files) << command;
    for (const auto& made : fs::directory_iterator(dir.path()))
        EXPECT_TRUE(ReadFile(made.path()) == ReadFile(committed / made.path().filename())) << made.path();
}

TEST(Assets, ToolsMakeTheCommittedFilesAgain) {
    ExpectRemade("'" GRIMSPIRE_SOUNDS_TOOL "' .", kResources / "sounds", 9);
    ExpectRemade("'" GRIMSPIRE_ICONS_TOOL "' '" GRIMSPIRE_RESOURCES "/glyphs.gif' .", kResources / "icons", 21);
    // Where every tool must be there (GRIMSPIRE_REQUIRE_ALL), a missing font fails rather than skips.
    if (!fs::exists(GRIMSPIRE_UNIFONT_HEX) && GRIMSPIRE_REQUIRE_ALL) FAIL() << "GNU Unifont is not installed";
    if (!fs::exists(GRIMSPIRE_UNIFONT_HEX)) GTEST_SKIP() << "GNU Unifont is not installed (apt-get install unifont)";
    ExpectRemade("'" GRIMSPIRE_GLYPHS_TOOL "' '" GRIMSPIRE_UNIFONT_HEX "' glyphs.gif", kResources, 1);
}

}  // namespace
