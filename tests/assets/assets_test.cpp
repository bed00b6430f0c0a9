// SPDX-License-Identifier: GPL-3.0-or-later
// The committed assets: the glyph sheet the renderer slices, the nine cues the
// host plays, the window icons; and that their tools still make the same bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

#ifdef GRIMSPIRE_HAVE_ZLIB
#include <zlib.h>
#endif

namespace {

namespace fs = std::filesystem;

using Bytes = std::vector<uint8_t>;

const fs::path kResources = GRIMSPIRE_RESOURCES;

Bytes ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint32_t Le16(const Bytes& d, size_t at) { return d[at] | d[at + 1] << 8; }
uint32_t Le32(const Bytes& d, size_t at) { return Le16(d, at) | Le16(d, at + 2) << 16; }
uint32_t Be32(const Bytes& d, size_t at) {
    return uint32_t{d[at]} << 24 | uint32_t{d[at + 1]} << 16 | uint32_t{d[at + 2]} << 8 | d[at + 3];
}
std::string Tag(const Bytes& d, size_t at) { return std::string(d.begin() + at, d.begin() + at + 4); }

// ---------------------------------------------------------------------------
// Glyph sheet

// A deliberately plain GIF reader, separate from the tool's: one frame, global
// table, dictionary of whole strings.
struct Gif {
    int width = 0, height = 0;
    Bytes palette;
    Bytes pixels;
    std::string error;
};

Gif DecodeGif(const Bytes& d) {
    Gif g;
    if (d.size() < 13) return g.error = "short", g;
    g.width = static_cast<int>(Le16(d, 6));
    g.height = static_cast<int>(Le16(d, 8));
    size_t pos = 13;
    if (d[10] & 0x80) {
        const size_t n = size_t{3} << ((d[10] & 7) + 1);
        g.palette.assign(d.begin() + 13, d.begin() + static_cast<long>(13 + n));
        pos += n;
    }
    while (pos < d.size() && d[pos] == 0x21) {  // extensions
        pos += 2;
        while (pos < d.size() && d[pos]) pos += d[pos] + 1u;
        ++pos;
    }
    if (pos + 11 > d.size() || d[pos] != 0x2C) return g.error = "no image descriptor", g;
    if (d[pos + 9] & 0x40) return g.error = "interlaced", g;
    pos += 10;
    const int minSize = d[pos++];
    Bytes data;
    while (pos < d.size() && d[pos]) {
        data.insert(data.end(), d.begin() + static_cast<long>(pos + 1),
                    d.begin() + static_cast<long>(pos + 1 + d[pos]));
        pos += d[pos] + 1u;
    }
    if (pos + 2 != d.size() || d[pos + 1] != 0x3B) return g.error = "no trailer after the frame", g;

    const int clear = 1 << minSize;
    std::vector<Bytes> dict;
    int width = minSize + 1;
    const auto reset = [&] {
        dict.assign(static_cast<size_t>(clear + 2), {});
        for (int i = 0; i < clear; ++i) dict[static_cast<size_t>(i)] = {static_cast<uint8_t>(i)};
        width = minSize + 1;
    };
    reset();
    int previous = -1;
    for (size_t bit = 0;;) {
        if (bit + static_cast<size_t>(width) > data.size() * 8) return g.error = "no end code", g;
        int code = 0;
        for (int b = 0; b < width; ++b, ++bit) code |= ((data[bit / 8] >> (bit % 8)) & 1) << b;
        if (code == clear) {
            reset();
            previous = -1;
            continue;
        }
        if (code == clear + 1) break;
        Bytes entry;
        if (code < static_cast<int>(dict.size()) && code != clear && code != clear + 1) {
            entry = dict[static_cast<size_t>(code)];
        } else if (code == static_cast<int>(dict.size()) && previous >= 0) {
            entry = dict[static_cast<size_t>(previous)];
            entry.push_back(entry[0]);
        } else {
            return g.error = "code out of range", g;
        }
        if (previous >= 0 && dict.size() < 4096) {
            Bytes added = dict[static_cast<size_t>(previous)];
            added.push_back(entry[0]);
            dict.push_back(added);
        }
        g.pixels.insert(g.pixels.end(), entry.begin(), entry.end());
        previous = code;
        if (static_cast<int>(dict.size()) == (1 << width) && width < 12) ++width;
    }
    if (g.pixels.size() != static_cast<size_t>(g.width) * g.height) g.error = "wrong pixel count";
    return g;
}

class GlyphSheet : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        file = new Bytes(ReadFile(kResources / "glyphs.gif"));
        sheet = new Gif(DecodeGif(*file));
    }
    static void TearDownTestSuite() {
        delete sheet;
        delete file;
    }
    // Pixel (x, y) of the 9 x 16 glyph for a code; non-zero is lit.
    static int At(int code, int x, int y) {
        return sheet->pixels[static_cast<size_t>(y) * sheet->width + code * 9 + x];
    }
    static int LitIn(int code) {
        int n = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 9; ++x) n += At(code, x, y) != 0;
        return n;
    }
    static Bytes* file;
    static Gif* sheet;
};
Bytes* GlyphSheet::file = nullptr;
Gif* GlyphSheet::sheet = nullptr;

TEST_F(GlyphSheet, IsOneGif89aFrameOf2304By16WithBlackAndGray) {
    ASSERT_GE(file->size(), 13u);
    EXPECT_EQ(std::string(file->begin(), file->begin() + 6), "GIF89a");
    EXPECT_EQ(Le16(*file, 6), 2304u);
    EXPECT_EQ(Le16(*file, 8), 16u);
    ASSERT_TRUE((*file)[10] & 0x80) << "no global colour table";
    ASSERT_EQ(sheet->palette.size(), 256u * 3) << "the table has 256 entries";
    EXPECT_EQ(Bytes(sheet->palette.begin(), sheet->palette.begin() + 6), (Bytes{0, 0, 0, 168, 168, 168}));
    ASSERT_EQ(sheet->error, "");
    for (uint8_t index : sheet->pixels) ASSERT_LE(index, 1) << "only black and gray are drawn";
}

TEST_F(GlyphSheet, BlankCodesAreBlankAndEveryOtherCodeShowsSomething) {
    ASSERT_EQ(sheet->error, "");
    for (int code = 0; code < 256; ++code) {
        if (code == 0 || code == 10 || code == 32 || code == 255) {
            EXPECT_EQ(LitIn(code), 0) << "code " << code;
        } else {
            EXPECT_GT(LitIn(code), 0) << "code " << code << " came out empty";
        }
    }
}

TEST_F(GlyphSheet, NinthColumnRepeatsTheEighthOnlyForLineDrawing) {
    ASSERT_EQ(sheet->error, "");
    for (int code = 0; code < 256; ++code) {
        for (int y = 0; y < 16; ++y) {
            if (code >= 0xC0 && code <= 0xDF) {
                EXPECT_EQ(At(code, 8, y), At(code, 7, y)) << "code " << code << " row " << y;
            } else {
                EXPECT_EQ(At(code, 8, y), 0) << "code " << code << " row " << y;
            }
        }
    }
}

TEST_F(GlyphSheet, BlocksAndDoubleLinesJoinAcrossCells) {
    ASSERT_EQ(sheet->error, "");
    EXPECT_EQ(LitIn(0xDB), 9 * 16) << "the full block fills its cell";
    // The horizontal double line: two lit rows, each running through all nine columns.
    int fullRows = 0;
    for (int y = 0; y < 16; ++y) {
        int lit = 0;
        for (int x = 0; x < 9; ++x) lit += At(0xCD, x, y) != 0;
        EXPECT_TRUE(lit == 0 || lit == 9) << "row " << y;
        fullRows += lit == 9;
    }
    EXPECT_EQ(fullRows, 2);
    // The vertical double line reaches top and bottom, so walls join between rows.
    for (int y : {0, 15}) EXPECT_GT(At(0xBA, 2, y) + At(0xBA, 3, y) + At(0xBA, 4, y) + At(0xBA, 5, y), 0);
    // The half blocks split the cell.
    EXPECT_EQ(LitIn(0xDF), 9 * 8);
    EXPECT_EQ(LitIn(0xDC), 9 * 8);
}

TEST_F(GlyphSheet, CodeFiveIsOurLittleMan) {
    ASSERT_EQ(sheet->error, "");
    // A standing figure, head to feet, facing us: tall and mirror-symmetric,
    // unlike the club suit the code page has there.
    int top = 16, bottom = -1;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 8; ++x) {
            EXPECT_EQ(At(5, x, y), At(5, 7 - x, y)) << "row " << y;
            if (At(5, x, y)) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
        EXPECT_EQ(At(5, 8, y), 0);
    }
    EXPECT_LE(top, 2);
    EXPECT_GE(bottom, 13);
    // Two legs with a gap between them at the feet.
    EXPECT_TRUE(At(5, 2, bottom) && At(5, 5, bottom) && !At(5, 3, bottom) && !At(5, 4, bottom));
}

// ---------------------------------------------------------------------------
// Sound cues

struct CueSpec {
    int id;
    const char* name;
    uint32_t bytes;  // the length of the sound data the game was timed with
};

constexpr CueSpec kCues[] = {
    {103, "CUE_DROP", 598},   {104, "CUE_TAKE", 390},     {105, "CUE_LINE_FULL", 797},
    {106, "CUE_WHAT", 2794},  {107, "CUE_HARP", 8310},    {108, "CUE_OBSTACLE", 682},
    {109, "CUE_ATTACK", 1068}, {110, "CUE_TITLE", 74510}, {111, "CUE_PERFECT", 51543},
};

struct Wave {
    std::map<std::string, Bytes> chunks;
    std::string error;
};

Wave ParseWave(const Bytes& d) {
    Wave w;
    if (d.size() < 12 || Tag(d, 0) != "RIFF" || Tag(d, 8) != "WAVE") return w.error = "not RIFF WAVE", w;
    if (Le32(d, 4) != d.size() - 8) return w.error = "RIFF size does not match the file", w;
    for (size_t pos = 12; pos < d.size();) {
        if (pos + 8 > d.size()) return w.error = "truncated chunk header", w;
        const uint32_t size = Le32(d, pos + 4);
        if (pos + 8 + size > d.size()) return w.error = "chunk runs past the end", w;
        w.chunks[Tag(d, pos)] = Bytes(d.begin() + static_cast<long>(pos + 8),
                                      d.begin() + static_cast<long>(pos + 8 + size));
        pos += 8 + size + (size & 1);
    }
    return w;
}

TEST(SoundCues, AreEightBitMonoPcmAt11025HzOfTheirLengths) {
    for (const CueSpec& cue : kCues) {
        SCOPED_TRACE(cue.name);
        const Wave w = ParseWave(ReadFile(kResources / "sounds" / ("cue" + std::to_string(cue.id) + ".wav")));
        ASSERT_EQ(w.error, "");
        ASSERT_EQ(w.chunks.count("fmt "), 1u);
        const Bytes& fmt = w.chunks.at("fmt ");
        ASSERT_EQ(fmt.size(), 16u);
        EXPECT_EQ(Le16(fmt, 0), 1u) << "PCM";
        EXPECT_EQ(Le16(fmt, 2), 1u) << "mono";
        EXPECT_EQ(Le32(fmt, 4), 11025u);
        EXPECT_EQ(Le32(fmt, 8), 11025u) << "bytes per second";
        EXPECT_EQ(Le16(fmt, 12), 1u) << "block align";
        EXPECT_EQ(Le16(fmt, 14), 8u);

        ASSERT_EQ(w.chunks.count("data"), 1u);
        const Bytes& data = w.chunks.at("data");
        EXPECT_NEAR(static_cast<double>(data.size()), cue.bytes, cue.bytes * 0.02 + 2);
        // Audible: the wave swings both ways around the unsigned midpoint.
        uint8_t lo = 255, hi = 0;
        for (uint8_t s : data) lo = std::min(lo, s), hi = std::max(hi, s);
        EXPECT_LT(lo, 100);
        EXPECT_GT(hi, 156);

        ASSERT_EQ(w.chunks.count("LIST"), 1u);
        const Bytes& list = w.chunks.at("LIST");
        ASSERT_GE(list.size(), 12u);
        EXPECT_EQ(Tag(list, 0), "INFO");
        EXPECT_EQ(Tag(list, 4), "INAM");
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(list.data() + 12)), cue.name);
    }
}

// ---------------------------------------------------------------------------
// Icons

struct Png {
    uint32_t width = 0, height = 0;
    Bytes palette;
    Bytes idat;
    int bitDepth = 0, colourType = 0;
    std::string error;
};

uint32_t Crc32(const uint8_t* p, size_t n) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i) {
        crc ^= p[i];
        for (int k = 0; k < 8; ++k) crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    return ~crc;
}

Png ParsePng(const Bytes& d) {
    Png png;
    const Bytes signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (d.size() < 8 || Bytes(d.begin(), d.begin() + 8) != signature) return png.error = "no PNG signature", png;
    bool ended = false;
    for (size_t pos = 8; pos < d.size();) {
        if (pos + 12 > d.size()) return png.error = "truncated chunk", png;
        const uint32_t size = Be32(d, pos);
        if (pos + 12 + size > d.size()) return png.error = "chunk runs past the end", png;
        if (Crc32(d.data() + pos + 4, size + 4) != Be32(d, pos + 8 + size)) return png.error = "bad CRC", png;
        const std::string type = Tag(d, pos + 4);
        const Bytes body(d.begin() + static_cast<long>(pos + 8), d.begin() + static_cast<long>(pos + 8 + size));
        if (type == "IHDR") {
            png.width = Be32(body, 0);
            png.height = Be32(body, 4);
            png.bitDepth = body[8];
            png.colourType = body[9];
        } else if (type == "PLTE") {
            png.palette = body;
        } else if (type == "IDAT") {
            png.idat.insert(png.idat.end(), body.begin(), body.end());
        } else if (type == "IEND") {
            ended = true;
        }
        pos += 12 + size;
    }
    if (!ended) png.error = "no IEND";
    return png;
}

struct IconSpec {
    const char* file;
    uint32_t size;
    Bytes colour;
};

const IconSpec kIcons[] = {
    {"grimspire-gray-16.png", 16, {168, 168, 168}},  {"grimspire-gray-32.png", 32, {168, 168, 168}},
    {"grimspire-green-16.png", 16, {0, 255, 0}},     {"grimspire-green-32.png", 32, {0, 255, 0}},
    {"grimspire-amber-16.png", 16, {255, 191, 0}},   {"grimspire-amber-32.png", 32, {255, 191, 0}},
    {"grimspire-48.png", 48, {0, 255, 0}},           {"grimspire-64.png", 64, {0, 255, 0}},
    {"grimspire-128.png", 128, {0, 255, 0}},         {"grimspire-256.png", 256, {0, 255, 0}},
};

TEST(Icons, ArePngsOfTheirSizeInTheSchemeColour) {
    for (const IconSpec& icon : kIcons) {
        SCOPED_TRACE(icon.file);
        const Png png = ParsePng(ReadFile(kResources / "icons" / icon.file));
        ASSERT_EQ(png.error, "");
        EXPECT_EQ(png.width, icon.size);
        EXPECT_EQ(png.height, icon.size);
        ASSERT_EQ(png.colourType, 3) << "palette";
        ASSERT_EQ(png.palette.size(), 6u);
        EXPECT_EQ(Bytes(png.palette.begin(), png.palette.begin() + 3), (Bytes{0, 0, 0}));
        EXPECT_EQ(Bytes(png.palette.begin() + 3, png.palette.end()), icon.colour);
    }
}

TEST(Icons, SmallIconsShowTheManAsTheScreenDrawsHim) {
#ifndef GRIMSPIRE_HAVE_ZLIB
    GTEST_SKIP() << "built without zlib";
#else
    const Gif sheet = DecodeGif(ReadFile(kResources / "glyphs.gif"));
    ASSERT_EQ(sheet.error, "");
    for (const char* scheme : {"gray", "green", "amber"}) {
        for (int size : {16, 32}) {
            SCOPED_TRACE(std::string(scheme) + " " + std::to_string(size));
            const Png png = ParsePng(ReadFile(kResources / "icons" /
                                              ("grimspire-" + std::string(scheme) + "-" + std::to_string(size) + ".png")));
            ASSERT_EQ(png.error, "");
            ASSERT_EQ(png.bitDepth, 1);
            const size_t stride = 1 + (static_cast<size_t>(size) + 7) / 8;
            Bytes raw(stride * static_cast<size_t>(size));
            uLongf rawSize = raw.size();
            ASSERT_EQ(uncompress(raw.data(), &rawSize, png.idat.data(), png.idat.size()), Z_OK);
            ASSERT_EQ(rawSize, raw.size());
            const int scale = size / 16;
            for (int y = 0; y < size; ++y) {
                ASSERT_EQ(raw[static_cast<size_t>(y) * stride], 0) << "filter type";
                for (int x = 0; x < size; ++x) {
                    const int lit = raw[static_cast<size_t>(y) * stride + 1 + x / 8] >> (7 - x % 8) & 1;
                    // A screen cell shows each of the glyph's first eight columns twice as wide.
                    const int glyph = sheet.pixels[static_cast<size_t>(y / scale) * 2304 + 5 * 9 + x / scale / 2];
                    ASSERT_EQ(lit, glyph != 0) << "pixel " << x << "," << y;
                }
            }
        }
    }
#endif
}

// ---------------------------------------------------------------------------
// The tools reproduce what is committed

class Remake : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("grimspire-assets-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    static int Run(const std::string& command) { return std::system((command + " >/dev/null").c_str()); }
    static std::string Quote(const fs::path& p) { return "'" + p.string() + "'"; }
    fs::path dir_;
};

TEST_F(Remake, GlyphToolReproducesTheSheet) {
    if (!fs::exists(GRIMSPIRE_UNIFONT_HEX)) GTEST_SKIP() << "GNU Unifont is not installed (apt-get install unifont)";
    ASSERT_EQ(Run(Quote(GRIMSPIRE_GLYPHS_TOOL) + " " + Quote(GRIMSPIRE_UNIFONT_HEX) + " " + Quote(dir_ / "glyphs.gif")), 0);
    EXPECT_TRUE(ReadFile(dir_ / "glyphs.gif") == ReadFile(kResources / "glyphs.gif"));
}

TEST_F(Remake, GlyphToolRefusesAFontItCannotRead) {
    EXPECT_NE(Run(Quote(GRIMSPIRE_GLYPHS_TOOL) + " " + Quote(dir_ / "missing.hex") + " " + Quote(dir_ / "g.gif") +
                  " 2>/dev/null"),
              0);
    EXPECT_FALSE(fs::exists(dir_ / "g.gif"));
}

TEST_F(Remake, SoundToolReproducesTheCues) {
    ASSERT_EQ(Run(Quote(GRIMSPIRE_SOUNDS_TOOL) + " " + Quote(dir_)), 0);
    for (const CueSpec& cue : kCues) {
        const std::string name = "cue" + std::to_string(cue.id) + ".wav";
        EXPECT_TRUE(ReadFile(dir_ / name) == ReadFile(kResources / "sounds" / name)) << name;
    }
}

TEST_F(Remake, IconToolReproducesTheIcons) {
    ASSERT_EQ(Run(Quote(GRIMSPIRE_ICONS_TOOL) + " " + Quote(kResources / "glyphs.gif") + " " + Quote(dir_)), 0);
    for (const IconSpec& icon : kIcons) {
        EXPECT_TRUE(ReadFile(dir_ / icon.file) == ReadFile(kResources / "icons" / icon.file)) << icon.file;
    }
}

TEST_F(Remake, IconToolRefusesSomethingThatIsNotTheSheet) {
    std::ofstream(dir_ / "bad.gif", std::ios::binary) << "GIF89a not really";
    EXPECT_NE(Run(Quote(GRIMSPIRE_ICONS_TOOL) + " " + Quote(dir_ / "bad.gif") + " " + Quote(dir_) + " 2>/dev/null"), 0);
    EXPECT_FALSE(fs::exists(dir_ / "grimspire-gray-16.png"));
}

}  // namespace
