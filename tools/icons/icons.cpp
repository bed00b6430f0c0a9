// SPDX-License-Identifier: GPL-3.0-or-later
// grimspire-icons: draws the window icons from the glyph sheet, so they are made
// of the same pixels as the game.
//
//   grimspire-icons [glyphs.gif] [output directory]
//
// Defaults: resources/glyphs.gif and resources/icons. Writes, for each colour
// scheme, the little man as the game draws him (grimspire-<scheme>-16.png, and
// -32.png at twice the size), and the desktop icon, the man in the castle gate
// in green, at 48, 64, 128, 192, 256 and 512 pixels (grimspire-<size>.png).
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "gif.h"

namespace {

constexpr int kGlyphWidth = 9;  // in the sheet; only the first eight columns show
constexpr int kCell = 16;       // a cell on screen: eight columns drawn twice as wide

struct Rgb {
    uint8_t r, g, b;
};

struct Scheme {
    const char* name;
    Rgb colour;
};

constexpr Scheme kSchemes[] = {
    {"gray", {168, 168, 168}},
    {"green", {0, 255, 0}},
    {"amber", {255, 191, 0}},
};

// A picture of on/off pixels.
struct Bitmap {
    int size = 0;
    std::vector<uint8_t> on;
    uint8_t At(int x, int y) const { return on[static_cast<size_t>(y) * size + x]; }
};

// Cells laid out as the screen would show them, each 16 x 16.
Bitmap DrawCells(const IndexedImage& sheet, const std::vector<std::vector<uint8_t>>& rows) {
    Bitmap out;
    out.size = static_cast<int>(rows.size()) * kCell;
    out.on.assign(static_cast<size_t>(out.size) * out.size, 0);
    for (size_t row = 0; row < rows.size(); ++row) {
        for (size_t col = 0; col < rows[row].size(); ++col) {
            const int code = rows[row][col];
            for (int y = 0; y < kCell; ++y) {
                for (int x = 0; x < kCell; ++x) {
                    const uint8_t index =
                        sheet.pixels[static_cast<size_t>(y) * sheet.width + code * kGlyphWidth + x / 2];
                    out.on[(row * kCell + y) * out.size + col * kCell + x] = index != 0;
                }
            }
        }
    }
    return out;
}

Bitmap Scale(const Bitmap& in, int factor) {
    Bitmap out;
    out.size = in.size * factor;
    out.on.resize(static_cast<size_t>(out.size) * out.size);
    for (int y = 0; y < out.size; ++y) {
        for (int x = 0; x < out.size; ++x) {
            out.on[static_cast<size_t>(y) * out.size + x] = in.At(x / factor, y / factor);
        }
    }
    return out;
}

Bitmap Pad(const Bitmap& in, int margin) {
    Bitmap out;
    out.size = in.size + 2 * margin;
    out.on.assign(static_cast<size_t>(out.size) * out.size, 0);
    for (int y = 0; y < in.size; ++y) {
        for (int x = 0; x < in.size; ++x) {
            out.on[static_cast<size_t>(y + margin) * out.size + x + margin] = in.At(x, y);
        }
    }
    return out;
}

uint32_t Crc32(const uint8_t* data, size_t n, uint32_t crc = 0) {
    crc = ~crc;
    for (size_t i = 0; i < n; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

void PutU32Be(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 3; i >= 0; --i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void PutChunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& body) {
    PutU32Be(png, static_cast<uint32_t>(body.size()));
    const size_t start = png.size();
    for (int i = 0; i < 4; ++i) png.push_back(static_cast<uint8_t>(type[i]));
    png.insert(png.end(), body.begin(), body.end());
    PutU32Be(png, Crc32(png.data() + start, png.size() - start));
}

// zlib stream of stored (uncompressed) deflate blocks: the icons are small.
std::vector<uint8_t> ZlibStored(const std::vector<uint8_t>& raw) {
    std::vector<uint8_t> z = {0x78, 0x01};
    size_t pos = 0;
    do {
        const size_t n = raw.size() - pos < 65535 ? raw.size() - pos : 65535;
        z.push_back(pos + n == raw.size() ? 1 : 0);  // final block flag, type "stored"
        z.push_back(static_cast<uint8_t>(n & 0xFF));
        z.push_back(static_cast<uint8_t>(n >> 8));
        z.push_back(static_cast<uint8_t>(~n & 0xFF));
        z.push_back(static_cast<uint8_t>((~n >> 8) & 0xFF));
        z.insert(z.end(), raw.begin() + static_cast<long>(pos), raw.begin() + static_cast<long>(pos + n));
        pos += n;
    } while (pos < raw.size());
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutU32Be(z, b << 16 | a);
    return z;
}

// A two-colour PNG: palette black and the scheme colour, one bit per pixel.
std::vector<uint8_t> EncodePng(const Bitmap& bitmap, Rgb colour) {
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutU32Be(header, static_cast<uint32_t>(bitmap.size));
    PutU32Be(header, static_cast<uint32_t>(bitmap.size));
    header.insert(header.end(), {1, 3, 0, 0, 0});  // 1 bit, palette, deflate, no filter, no interlace
    PutChunk(png, "IHDR", header);
    PutChunk(png, "PLTE", {0, 0, 0, colour.r, colour.g, colour.b});

    const int rowBytes = (bitmap.size + 7) / 8;
    std::vector<uint8_t> raw;
    for (int y = 0; y < bitmap.size; ++y) {
        raw.push_back(0);  // filter: none
        for (int i = 0; i < rowBytes; ++i) {
            uint8_t byte = 0;
            for (int bit = 0; bit < 8; ++bit) {
                const int x = i * 8 + bit;
                if (x < bitmap.size && bitmap.At(x, y)) byte |= static_cast<uint8_t>(0x80 >> bit);
            }
            raw.push_back(byte);
        }
    }
    PutChunk(png, "IDAT", ZlibStored(raw));
    PutChunk(png, "IEND", {});
    return png;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || std::fclose(f) != 0) {
        std::fprintf(stderr, "grimspire-icons: cannot write %s\n", path.c_str());
        return false;
    }
    std::printf("%s\n", path.c_str());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 3) {
        std::fprintf(stderr, "usage: grimspire-icons [glyphs.gif] [output directory]\n");
        return 2;
    }
    const std::string sheetPath = argc > 1 ? argv[1] : "resources/glyphs.gif";
    const std::string dir = argc > 2 ? argv[2] : "resources/icons";

    std::vector<uint8_t> gif;
    if (std::FILE* f = std::fopen(sheetPath.c_str(), "rb")) {
        uint8_t buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) gif.insert(gif.end(), buffer, buffer + n);
        std::fclose(f);
    }
    IndexedImage sheet;
    std::string error;
    if (!DecodeGif(gif, &sheet, &error)) {
        std::fprintf(stderr, "grimspire-icons: %s: %s\n", sheetPath.c_str(),
                     gif.empty() ? "cannot read" : error.c_str());
        return 1;
    }
    if (sheet.width != 256 * kGlyphWidth || sheet.height != kCell) {
        std::fprintf(stderr, "grimspire-icons: %s is not a 2304 x 16 glyph sheet\n", sheetPath.c_str());
        return 1;
    }

    const Bitmap man = DrawCells(sheet, {{0x05}});
    for (const Scheme& scheme : kSchemes) {
        const std::string base = dir + "/grimspire-" + scheme.name;
        if (!WriteFile(base + "-16.png", EncodePng(man, scheme.colour)) ||
            !WriteFile(base + "-32.png", EncodePng(Scale(man, 2), scheme.colour))) {
            return 1;
        }
    }

    // Two towers with battlements, the wall between them, and the man in the gate.
    const Bitmap castle = DrawCells(sheet, {{0xDC, 0x20, 0xDC}, {0xDB, 0xDF, 0xDB}, {0xDD, 0x05, 0xDE}});
    const Bitmap framed = Pad(castle, 8);
    const Rgb green = kSchemes[1].colour;
    if (!WriteFile(dir + "/grimspire-48.png", EncodePng(castle, green)) ||
        !WriteFile(dir + "/grimspire-64.png", EncodePng(framed, green)) ||
        !WriteFile(dir + "/grimspire-128.png", EncodePng(Scale(framed, 2), green)) ||
        !WriteFile(dir + "/grimspire-192.png", EncodePng(Scale(framed, 3), green)) ||
        !WriteFile(dir + "/grimspire-256.png", EncodePng(Scale(framed, 4), green)) ||
        !WriteFile(dir + "/grimspire-512.png", EncodePng(Scale(framed, 8), green))) {
        return 1;
    }
    return 0;
}
