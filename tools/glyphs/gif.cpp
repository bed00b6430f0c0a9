// SPDX-License-Identifier: GPL-3.0-or-later
#include "gif.h"

#include <algorithm>

namespace {

constexpr int kMaxCodes = 4096;  // GIF's LZW codes are at most 12 bits

void PutU16(std::vector<uint8_t>& out, int v) {
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

class BitWriter {
public:
    explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}
    void Put(int code, int width) {
        acc_ |= static_cast<uint32_t>(code) << bits_;
        bits_ += width;
        while (bits_ >= 8) {
            out_.push_back(static_cast<uint8_t>(acc_ & 0xFF));
            acc_ >>= 8;
            bits_ -= 8;
        }
    }
    void Flush() {
        if (bits_ > 0) out_.push_back(static_cast<uint8_t>(acc_ & 0xFF));
        acc_ = 0;
        bits_ = 0;
    }

private:
    std::vector<uint8_t>& out_;
    uint32_t acc_ = 0;
    int bits_ = 0;
};

// Plain LZW with a full dictionary: when all 4096 codes are taken, a clear code
// starts afresh. The code width grows exactly when a GIF decoder expects it to,
// which trails the encoder's dictionary by one entry.
std::vector<uint8_t> CompressLzw(const std::vector<uint8_t>& pixels, int minCodeSize) {
    std::vector<uint8_t> out;
    BitWriter writer(out);
    const int clear = 1 << minCodeSize;
    const int eoi = clear + 1;
    const int first = clear + 2;
    // child[prefix * 256 + byte]: the code for prefix followed by byte, 0 when absent
    // (no dictionary entry is ever code 0).
    std::vector<uint16_t> child(static_cast<size_t>(kMaxCodes) * 256, 0);
    int width = minCodeSize + 1;
    int next = first;
    writer.Put(clear, width);
    if (pixels.empty()) {
        writer.Put(eoi, width);
        writer.Flush();
        return out;
    }
    int prefix = pixels[0];
    for (size_t i = 1; i < pixels.size(); ++i) {
        const int k = pixels[i];
        const size_t slot = static_cast<size_t>(prefix) * 256 + k;
        if (child[slot] != 0) {
            prefix = child[slot];
            continue;
        }
        writer.Put(prefix, width);
        if (next < kMaxCodes) {
            child[slot] = static_cast<uint16_t>(next);
            ++next;
            if (next > (1 << width) && width < 12) ++width;
        } else {
            writer.Put(clear, width);
            std::fill(child.begin(), child.end(), 0);
            width = minCodeSize + 1;
            next = first;
        }
        prefix = k;
    }
    writer.Put(prefix, width);
    // The decoder adds an entry on reading that last code, and may widen before EOI.
    if (next < kMaxCodes) {
        ++next;
        if (next > (1 << width) && width < 12) ++width;
    }
    writer.Put(eoi, width);
    writer.Flush();
    return out;
}

}  // namespace

std::vector<uint8_t> EncodeGif(const IndexedImage& image) {
    const int entries = static_cast<int>(image.palette.size() / 3);
    int bits = 2;  // LZW needs at least 2 bits
    while ((1 << bits) < entries && bits < 8) ++bits;
    const int tableSize = 1 << bits;

    std::vector<uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
    PutU16(out, image.width);
    PutU16(out, image.height);
    // Global colour table present, colour resolution and table size both 'bits'.
    out.push_back(static_cast<uint8_t>(0x80 | ((bits - 1) << 4) | (bits - 1)));
    out.push_back(0);  // background colour index
    out.push_back(0);  // no aspect ratio
    for (int i = 0; i < tableSize * 3; ++i) {
        out.push_back(i < static_cast<int>(image.palette.size()) ? image.palette[i] : 0);
    }

    out.push_back(0x2C);  // image descriptor
    PutU16(out, 0);
    PutU16(out, 0);
    PutU16(out, image.width);
    PutU16(out, image.height);
    out.push_back(0);  // no local table, not interlaced

    out.push_back(static_cast<uint8_t>(bits));
    const std::vector<uint8_t> lzw = CompressLzw(image.pixels, bits);
    for (size_t pos = 0; pos < lzw.size(); pos += 255) {
        const size_t n = std::min<size_t>(255, lzw.size() - pos);
        out.push_back(static_cast<uint8_t>(n));
        out.insert(out.end(), lzw.begin() + static_cast<long>(pos),
                   lzw.begin() + static_cast<long>(pos + n));
    }
    out.push_back(0);     // end of the image data
    out.push_back(0x3B);  // trailer
    return out;
}

namespace {

int U16(const std::vector<uint8_t>& d, size_t at) { return d[at] | (d[at + 1] << 8); }

bool Fail(std::string* error, const char* why) {
    if (error) *error = why;
    return false;
}

}  // namespace

bool DecodeGif(const std::vector<uint8_t>& d, IndexedImage* image, std::string* error) {
    if (d.size() < 13 || (std::string(d.begin(), d.begin() + 6) != "GIF89a" &&
                          std::string(d.begin(), d.begin() + 6) != "GIF87a")) {
        return Fail(error, "not a GIF file");
    }
    const int width = U16(d, 6);
    const int height = U16(d, 8);
    const int flags = d[10];
    if (!(flags & 0x80)) return Fail(error, "no global colour table");
    const size_t tableSize = size_t{1} << ((flags & 7) + 1);
    size_t pos = 13;
    if (d.size() < pos + tableSize * 3) return Fail(error, "truncated colour table");
    image->palette.assign(d.begin() + static_cast<long>(pos),
                          d.begin() + static_cast<long>(pos + tableSize * 3));
    pos += tableSize * 3;

    // Skip extensions up to the first image descriptor.
    for (;;) {
        if (pos >= d.size()) return Fail(error, "no image");
        if (d[pos] == 0x2C) break;
        if (d[pos] != 0x21 || pos + 2 >= d.size()) return Fail(error, "unexpected block");
        pos += 2;
        while (pos < d.size() && d[pos] != 0) pos += d[pos] + 1u;
        ++pos;
    }
    if (pos + 10 > d.size()) return Fail(error, "truncated image descriptor");
    if (U16(d, pos + 1) != 0 || U16(d, pos + 3) != 0 || U16(d, pos + 5) != width ||
        U16(d, pos + 7) != height) {
        return Fail(error, "frame does not cover the image");
    }
    if (d[pos + 9] & 0xC0) return Fail(error, "local colour table or interlace");
    pos += 10;
    if (pos >= d.size()) return Fail(error, "truncated image data");
    const int minCodeSize = d[pos++];
    if (minCodeSize < 2 || minCodeSize > 8) return Fail(error, "bad LZW code size");

    std::vector<uint8_t> data;
    while (pos < d.size() && d[pos] != 0) {
        const size_t n = d[pos];
        if (pos + 1 + n > d.size()) return Fail(error, "truncated sub-block");
        data.insert(data.end(), d.begin() + static_cast<long>(pos + 1),
                    d.begin() + static_cast<long>(pos + 1 + n));
        pos += 1 + n;
    }

    const int clear = 1 << minCodeSize;
    const int eoi = clear + 1;
    std::vector<int> prefix(kMaxCodes, -1);
    std::vector<uint8_t> suffix(kMaxCodes, 0);
    std::vector<uint8_t> stack;
    for (int i = 0; i < clear; ++i) suffix[i] = static_cast<uint8_t>(i);
    int codeWidth = minCodeSize + 1;
    int next = clear + 2;
    int previous = -1;
    image->width = width;
    image->height = height;
    image->pixels.clear();
    const size_t wanted = static_cast<size_t>(image->width) * height;
    size_t bitPos = 0;
    const auto firstByte = [&](int code) {
        while (prefix[code] >= 0) code = prefix[code];
        return suffix[code];
    };
    for (;;) {
        if (bitPos + codeWidth > data.size() * 8) return Fail(error, "image data ends without EOI");
        int code = 0;
        for (int b = 0; b < codeWidth; ++b, ++bitPos) {
            if (data[bitPos / 8] & (1 << (bitPos % 8))) code |= 1 << b;
        }
        if (code == clear) {
            codeWidth = minCodeSize + 1;
            next = clear + 2;
            previous = -1;
            continue;
        }
        if (code == eoi) break;
        if (code > next || (code == next && previous < 0)) {
            return Fail(error, "bad LZW code");
        }
        if (previous >= 0 && next < kMaxCodes) {
            prefix[next] = previous;
            suffix[next] = firstByte(code == next ? previous : code);
            ++next;
        }
        stack.clear();
        for (int c = code; c >= 0; c = prefix[c]) stack.push_back(suffix[c]);
        for (auto it = stack.rbegin(); it != stack.rend(); ++it) image->pixels.push_back(*it);
        if (image->pixels.size() > wanted) return Fail(error, "too many pixels");
        previous = code;
        if (next >= (1 << codeWidth) && codeWidth < 12) ++codeWidth;
    }
    if (image->pixels.size() != wanted) return Fail(error, "too few pixels");
    return true;
}
