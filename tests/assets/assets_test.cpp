// SPDX-License-Identifier: GPL-3.0-or-later
// The committed assets: the glyph sheet the renderer slices, the nine cues the
// host plays, the window icons; and that their tools still make the same bytes.
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

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}
uint32_t Le32(const std::string& d, size_t at) {
    return uint8_t(d[at]) | uint8_t(d[at + 1]) << 8 | uint8_t(d[at + 2]) << 16 | uint32_t{uint8_t(d[at + 3])} << 24;
}

TEST(Assets, GlyphSheetDrawsTheCodePageInBlackAndGray) {
    const std::string file = Read(kResources / "glyphs.gif");
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

TEST(Assets, CuesAreNamedEightBitMonoWavesOfTheLengthsTheGameWasTimedWith) {
    const std::pair<const char*, uint32_t> cues[] = {
        {"CUE_DROP", 598},     {"CUE_TAKE", 390},     {"CUE_LINE_FULL", 797}, {"CUE_WHAT", 2794},    {"CUE_HARP", 8310},
        {"CUE_OBSTACLE", 682}, {"CUE_ATTACK", 1068}, {"CUE_TITLE", 74510},   {"CUE_PERFECT", 51543}};
    int id = 103;
    for (const auto& [name, length] : cues) {
        const std::string d = Read(kResources / "sounds" / ("cue" + std::to_string(id++) + ".wav"));
        ASSERT_GT(d.size(), 64u) << name;
        // RIFF WAVE: the format (PCM, mono, 11,025 samples and bytes a second, 8 bits), the name, the sound.
        const std::string format("fmt \x10\0\0\0\1\0\1\0\x11+\0\0\x11+\0\0\1\0\b\0", 24);
        EXPECT_EQ(d.substr(0, 4) + d.substr(8, 28), "RIFFWAVE" + format) << name;
        EXPECT_EQ(d.substr(36, 4) + d.substr(44, 8) + std::string(d.c_str() + 56), std::string("LISTINFOINAM") + name);
        const size_t data = 44 + Le32(d, 40);
        ASSERT_TRUE(data + 8 <= d.size() && d.substr(data, 4) == "data") << name;
        const uint32_t size = Le32(d, data + 4);
        EXPECT_TRUE(data + 8 + size + size % 2 == d.size() && Le32(d, 4) == d.size() - 8) << name << " chunk sizes";
        EXPECT_NEAR(size, length, length / 50 + 2) << name;
        const std::vector<uint8_t> sound(d.begin() + static_cast<long>(data + 8), d.end());
        const auto [lo, hi] = std::minmax_element(sound.begin(), sound.end());
        EXPECT_TRUE(*lo < 100 && *hi > 156) << name << " cannot be heard";
    }
}

TEST(Assets, IconsAreTheirSize) {
    std::vector<std::pair<std::string, int>> icons = {{"48", 48}, {"64", 64}, {"128", 128}, {"256", 256}};
    for (std::string scheme : {"gray", "green", "amber"})
        icons.insert(icons.end(), {{scheme + "-16", 16}, {scheme + "-32", 32}});
    for (const auto& [name, size] : icons) {
        const std::string png = Read(kResources / "icons" / ("grimspire-" + name + ".png"));
        const std::string side{0, 0, char(size >> 8), char(size)};
        EXPECT_EQ(png.substr(0, 24), std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16) + side + side) << name;
    }
}

// Each tool, run in an empty directory, makes its files again, byte for byte as committed.
void ExpectRemade(const std::string& command, const fs::path& committed, long files) {
    const ScopedTempDir dir;
    ASSERT_EQ(std::system((command + " >/dev/null").c_str()), 0) << command;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), files) << command;
    for (const auto& made : fs::directory_iterator(dir.path()))
        EXPECT_TRUE(Read(made.path()) == Read(committed / made.path().filename())) << made.path();
}

TEST(Assets, ToolsMakeTheCommittedFilesAgain) {
    ExpectRemade("'" GRIMSPIRE_SOUNDS_TOOL "' .", kResources / "sounds", 9);
    ExpectRemade("'" GRIMSPIRE_ICONS_TOOL "' '" GRIMSPIRE_RESOURCES "/glyphs.gif' .", kResources / "icons", 10);
    if (!fs::exists(GRIMSPIRE_UNIFONT_HEX)) GTEST_SKIP() << "GNU Unifont is not installed (apt-get install unifont)";
    ExpectRemade("'" GRIMSPIRE_GLYPHS_TOOL "' '" GRIMSPIRE_UNIFONT_HEX "' glyphs.gif", kResources, 1);
}

}  // namespace
