// SPDX-License-Identifier: GPL-3.0-or-later
#include "keys.h"

#include <algorithm>
#include <vector>

#include "core/state.h"
#include "keyplaces.h"

namespace {

constexpr char kEsc = '\x1b';

enum : uint32_t {
    VK_TAB = 9,
    VK_CLEAR = 12,
    VK_CONTROL = 17,
    VK_CAPITAL = 20,
    VK_ESCAPE = 27,
    VK_PRIOR = 33,
    VK_NEXT = 34,
    VK_END = 35,
    VK_HOME = 36,
    VK_INSERT = 45,
    VK_DELETE = 46,
    VK_MULTIPLY = 106,
    VK_ADD = 107,
    VK_SUBTRACT = 109,
    VK_DECIMAL = 110,
    VK_DIVIDE = 111,
    VK_F1 = 112,
    VK_NUMLOCK = 144,
};

Input KeyInput(uint32_t vk, int repeat = -1) {
    Input in;
    in.vk = vk;
    in.repeat = repeat;
    return in;
}

Input Command(InputKind kind) {
    Input in;
    in.kind = kind;
    return in;
}

// Numbers of a CSI sequence: fields split by ';', each with ':' sub-fields.
std::vector<std::vector<int>> Fields(std::string_view params) {
    std::vector<std::vector<int>> fields(1, std::vector<int>(1, -1));
    for (char c : params) {
        if (c == ';') {
            fields.emplace_back(1, -1);
        } else if (c == ':') {
            fields.back().push_back(-1);
        } else if (c >= '0' && c <= '9') {
            int& v = fields.back().back();
            v = (v < 0 ? 0 : v) * 10 + (c - '0');
            if (v > 1000000) v = 1000000;
        }
    }
    return fields;
}

int FieldAt(const std::vector<std::vector<int>>& f, size_t i, size_t j, int absent) {
    return i < f.size() && j < f[i].size() && f[i][j] >= 0 ? f[i][j] : absent;
}

// The kitty protocol's numbers for the keypad and modifier keys.
uint32_t KittyFunctionalKey(int code) {
    if (code >= 57399 && code <= 57408) return VK_NUMPAD0 + static_cast<uint32_t>(code - 57399);
    switch (code) {
        case 57409: return VK_DECIMAL;
        case 57410: return VK_DIVIDE;
        case 57411: return VK_MULTIPLY;
        case 57412: return VK_SUBTRACT;
        case 57413: return VK_ADD;
        case 57414: return VK_RETURN;
        case 57417: return VK_LEFT;
        case 57418: return VK_RIGHT;
        case 57419: return VK_UP;
        case 57420: return VK_DOWN;
        case 57421: return VK_PRIOR;
        case 57422: return VK_NEXT;
        case 57423: return VK_HOME;
        case 57424: return VK_END;
        case 57425: return VK_INSERT;
        case 57426: return VK_DELETE;
        case 57427: return VK_CLEAR;
        case 57358: return VK_CAPITAL;
        case 57360: return VK_NUMLOCK;
        case 57441: case 57447: return VK_SHIFT;
        case 57442: case 57448: return VK_CONTROL;
        default: return 0;
    }
}

uint32_t TildeKey(int n) {
    switch (n) {
        case 1: case 7: return VK_HOME;
        case 2: return VK_INSERT;
        case 3: return VK_DELETE;
        case 4: case 8: return VK_END;
        case 5: return VK_PRIOR;
        case 6: return VK_NEXT;
        case 11: case 12: case 13: case 14: case 15: return VK_F1 + static_cast<uint32_t>(n - 11);
        case 17: case 18: case 19: case 20: case 21: return VK_F1 + 5 + static_cast<uint32_t>(n - 17);
        case 23: case 24: return VK_F1 + 10 + static_cast<uint32_t>(n - 23);
        default: return 0;
    }
}

// Letters after CSI or SS3: the cursor keys, the keypad in application mode and
// F1 to F4.
uint32_t FinalKey(char final) {
    switch (final) {
        case 'A': return VK_UP;
        case 'B': return VK_DOWN;
        case 'C': return VK_RIGHT;
        case 'D': return VK_LEFT;
        case 'H': return VK_HOME;
        case 'F': return VK_END;
        case 'E': case 'G': return VK_CLEAR;
        case 'P': case 'Q': case 'R': case 'S': return VK_F1 + static_cast<uint32_t>(final - 'P');
        case 'M': return VK_RETURN;
        case 'j': return VK_MULTIPLY;
        case 'k': return VK_ADD;
        case 'l': case 'n': return VK_DECIMAL;
        case 'm': return VK_SUBTRACT;
        case 'o': return VK_DIVIDE;
        default: break;
    }
    if (final >= 'p' && final <= 'y') return VK_NUMPAD0 + static_cast<uint32_t>(final - 'p');
    return 0;
}

// A terminal cannot tell the keypad from the keys it shares codes with: the
// digits with Num Lock on, Home, PgUp, End and PgDn with it off. Those keys
// have no use in the game, so they walk as the keypad does.
uint32_t AsKeypad(uint32_t vk) {
    if (vk >= '1' && vk <= '9' && vk != '5') return VK_NUMPAD0 + (vk - '0');
    switch (vk) {
        case VK_HOME: return VK_NUMPAD7;
        case VK_PRIOR: return VK_NUMPAD9;
        case VK_END: return VK_NUMPAD1;
        case VK_NEXT: return VK_NUMPAD3;
        default: return vk;
    }
}

// Every key goes to the host, which tells the game's keys from the edition's.
std::optional<Input> Deliver(uint32_t vk, int repeat) {
    vk = AsKeypad(vk);
    if (vk == 0) return std::nullopt;
    return KeyInput(vk, repeat);
}

}  // namespace

std::optional<Input> KeyDecoder::Kitty(std::string_view params, char final) {
    const auto f = Fields(params);
    const int mods = FieldAt(f, 1, 0, 1) - 1;
    const int event = FieldAt(f, 1, 1, kitty_ ? 1 : 0);
    if (event == 3) return std::nullopt;  // a release
    const int repeat = event == 2 ? 1 : event == 1 ? 0 : -1;
    if (mods & 2) return std::nullopt;  // Alt makes menu keys, which reach no game
    if (final != 'u') {
        const uint32_t vk = final == '~' ? TildeKey(FieldAt(f, 0, 0, 0)) : FinalKey(final);
        return Deliver(vk, repeat);
    }
    const int code = FieldAt(f, 0, 0, 0);
    if (mods & 4) {
        // Under the protocol Ctrl-C and Ctrl-Z arrive as keys, not as signals.
        if (code == 'q' || code == 'c') return Command(InputKind::Quit);
        if (code == 'z') return Command(InputKind::Suspend);
    }
    switch (code) {
        case 13: return KeyInput(VK_RETURN, repeat);
        case 9: return KeyInput(VK_TAB, repeat);
        case 8: case 127: return KeyInput(VK_BACK, repeat);
        case 27: return KeyInput(VK_ESCAPE, repeat);
        default: break;
    }
    if (mods & 4) return std::nullopt;
    if ((mods & 1) && code >= '0' && code <= '9') return KeyInput(static_cast<uint32_t>(code), repeat);
    const uint32_t vk = code < 128 ? KeyForCharacter(static_cast<char32_t>(code)) : KittyFunctionalKey(code);
    return Deliver(vk, repeat);
}

std::optional<Input> KeyDecoder::Csi(std::string_view params, char final) {
    if (!params.empty() && params[0] == '?') {
        if (final == 'u') return Command(InputKind::KittyFlags);
        if (final == 'c') return Command(InputKind::Attributes);
        return std::nullopt;
    }
    if (!params.empty() && (params[0] < '0' || params[0] > ';')) return std::nullopt;
    const auto f = Fields(params);
    if (final == 'R' && f.size() == 2) {
        Input in = Command(InputKind::CursorReport);
        in.row = FieldAt(f, 0, 0, 1);
        in.column = FieldAt(f, 1, 0, 1);
        return in;
    }
    return Kitty(params, final);
}

std::optional<Input> KeyDecoder::Next(bool flush) {
    while (!pending_.empty()) {
        const auto c = static_cast<unsigned char>(pending_[0]);
        if (c != kEsc) {
            size_t length = 1;
            if (c >= 0xC0) length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
            if (pending_.size() < length && !flush) return std::nullopt;
            pending_.erase(0, length);
            if (c == '\r' || c == '\n') return KeyInput(VK_RETURN);
            if (c == 0x7F || c == 0x08) return KeyInput(VK_BACK);
            if (c == '\t') return KeyInput(VK_TAB);
            if (c == 0x11) return Command(InputKind::Quit);
            // Other control characters, and letters no US key makes, name no key.
            // A shifted digit stays the digit's key, which walks nowhere.
            if (c >= '1' && c <= '9') return Deliver(c, -1);
            if (const uint32_t vk = c < 0x80 ? KeyForCharacter(c) : 0) return KeyInput(vk);
            continue;
        }
        if (pending_.size() < 2) {
            if (!flush) return std::nullopt;
            pending_.clear();
            return KeyInput(VK_ESCAPE);
        }
        const char kind = pending_[1];
        if (kind == 'O') {
            // SS3: the keypad in application mode, cursor keys, F1 to F4;
            // old xterms put a modifier digit in between.
            size_t i = 2;
            while (i < pending_.size() && pending_[i] >= '0' && pending_[i] <= '9') ++i;
            if (i >= pending_.size()) {
                if (!flush) return std::nullopt;
                pending_.erase(0, 1);
                return KeyInput(VK_ESCAPE);
            }
            const char final = pending_[i];
            pending_.erase(0, i + 1);
            if (auto in = Deliver(FinalKey(final), -1)) return in;
            continue;
        }
        if (kind == ']') {
            // An operating system command, ended by BEL or ST: only the
            // answer to a palette question means anything here.
            const size_t bel = pending_.find('\a', 2);
            const size_t st = pending_.find("\x1b\\", 2);
            const size_t end = std::min(bel, st);
            if (end == std::string::npos) {
                if (!flush && pending_.size() < 256) return std::nullopt;
                pending_.erase(0, 2);
                continue;
            }
            const bool palette = pending_.compare(2, 2, "4;") == 0;
            pending_.erase(0, end + (end == bel ? 1 : 2));
            if (palette) return Command(InputKind::Palette);
            continue;
        }
        if (kind != '[') {
            // Alt with a key, or Esc followed by another key.
            if (kind == kEsc) {
                pending_.erase(0, 1);
                return KeyInput(VK_ESCAPE);
            }
            pending_.erase(0, 2);
            continue;
        }
        if (pending_.size() >= 3 && pending_[2] == '[') {
            // The Linux console's F1 to F5: ESC [ [ A ... E.
            if (pending_.size() < 4) {
                if (!flush) return std::nullopt;
                pending_.erase(0, 1);
                return KeyInput(VK_ESCAPE);
            }
            const char final = pending_[3];
            pending_.erase(0, 4);
            if (final >= 'A' && final <= 'E') {
                if (auto in = Deliver(VK_F1 + static_cast<uint32_t>(final - 'A'), -1)) return in;
            }
            continue;
        }
        size_t i = 2;
        while (i < pending_.size() && static_cast<unsigned char>(pending_[i]) >= 0x20 &&
               static_cast<unsigned char>(pending_[i]) <= 0x3F) {
            ++i;
        }
        if (i >= pending_.size()) {
            if (!flush && i < 64) return std::nullopt;
            pending_.erase(0, 1);
            return KeyInput(VK_ESCAPE);
        }
        const std::string params = pending_.substr(2, i - 2);
        const char final = pending_[i];
        pending_.erase(0, i + 1);
        if (auto in = Csi(params, final)) return in;
    }
    return std::nullopt;
}

int RepeatGuess::Repeat(uint32_t vk, int64_t nowMs) {
    const bool repeat = vk == lastKey_ && nowMs - lastTime_ <= kWindowMs;
    lastKey_ = vk;
    lastTime_ = nowMs;
    return repeat ? 1 : 0;
}
