// SPDX-License-Identifier: GPL-3.0-or-later
// grimspire-roomc: compiles the readable castle source (resources/rooms.txt)
// into the 48,512 bytes the game carries.
//
//   grimspire-roomc <rooms.txt> [--cpp <out.cpp>] [--bin <out.bin>]
//
// Source format, one block per room, rooms 0 to 82 in order:
//
//   room 12  Ante Room              words after the number are a free label
//   |<24 map characters>|           18 lines
//   |<25 description characters>|   5 lines
//   exits N14S7
//
// Lines starting with '#' and empty lines are ignored. The bars make trailing
// blanks visible; the text between them is taken as it stands. Any fault stops
// the compiler with "file:line: reason" before it writes anything.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/cp437.h"
#include "core/state.h"

namespace {

constexpr int kMapOffset = 0;
constexpr int kTextOffset = kMapCells;
constexpr int kTextLines = 5;
constexpr int kTextWidth = 25;
constexpr int kExitsOffset = kTextOffset + kTextLines * kTextWidth;
constexpr int kExitsWidth = 18;
// The game reads at most 16 characters of an exits text.
constexpr int kExitsUsable = 16;

struct Fault {
    int line = 0;
    std::string reason;
};

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

// A bar-delimited line of exactly `width` characters, converted to CP437.
bool ReadBarLine(const std::string& raw, int width, int lineNo, uint8_t* out, Fault* fault) {
    std::string line = raw;
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.pop_back();
    std::u32string cps;
    if (!DecodeUtf8(line, &cps)) {
        *fault = {lineNo, "not valid UTF-8"};
        return false;
    }
    if (cps.size() < 2 || cps.front() != U'|' || cps.back() != U'|') {
        *fault = {lineNo, "a map or description line must start and end with '|'"};
        return false;
    }
    const std::u32string body = cps.substr(1, cps.size() - 2);
    if (static_cast<int>(body.size()) != width) {
        *fault = {lineNo, "line is " + std::to_string(body.size()) + " characters wide, expected " +
                              std::to_string(width)};
        return false;
    }
    for (int i = 0; i < width; ++i) {
        bool ok = false;
        const uint8_t code = UnicodeToCp437(body[static_cast<size_t>(i)], &ok);
        // NUL and the no-break blank (0xFF) would look like floor but are not.
        if (!ok || code == 0 || code == 0xFF) {
            char buf[64];
            std::snprintf(buf, sizeof buf, "column %d: U+%04X has no usable CP437 code", i + 1,
                          static_cast<unsigned>(body[static_cast<size_t>(i)]));
            *fault = {lineNo, buf};
            return false;
        }
        out[i] = code;
    }
    return true;
}

// Pairs of a direction letter and the destination room plus one, as the game parses them.
bool ReadExits(const std::string& text, int lineNo, uint8_t* out, Fault* fault) {
    if (text.empty()) {
        *fault = {lineNo, "empty exits text"};
        return false;
    }
    if (static_cast<int>(text.size()) > kExitsUsable) {
        *fault = {lineNo, "exits text longer than 16 characters"};
        return false;
    }
    std::string seen;
    size_t i = 0;
    while (i < text.size()) {
        const char dir = text[i];
        if (std::strchr("NESWUD", dir) == nullptr || dir == '\0') {
            *fault = {lineNo, std::string("bad exit direction '") + dir + "'"};
            return false;
        }
        if (seen.find(dir) != std::string::npos) {
            *fault = {lineNo, std::string("exit ") + dir + " given twice"};
            return false;
        }
        seen += dir;
        ++i;
        const size_t digits = i;
        int value = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            value = value * 10 + (text[i] - '0');
            ++i;
            if (value > 1000) break;
        }
        if (i == digits || text[digits] == '0' || value < 1 || value > kRoomCount) {
            *fault = {lineNo, std::string("exit ") + dir + " needs a room number plus one, 1 to 83"};
            return false;
        }
    }
    std::memset(out, ' ', kExitsWidth);
    std::memcpy(out, text.data(), text.size());
    return true;
}

bool Compile(const std::string& path, std::vector<uint8_t>* data, Fault* fault) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *fault = {0, "cannot read the file"};
        return false;
    }
    data->assign(kRoomDataSize, 0);
    enum class Want { Room, Map, Text, Exits };
    Want want = Want::Room;
    int room = -1;
    int row = 0;
    int lineNo = 0;
    std::string raw;
    while (std::getline(in, raw)) {
        ++lineNo;
        // Editors on Windows may start the file with a byte order mark.
        if (lineNo == 1 && raw.rfind("\xEF\xBB\xBF", 0) == 0) raw.erase(0, 3);
        const std::string t = Trim(raw);
        if (t.empty() || t[0] == '#') continue;
        uint8_t* record = data->data() + (room < 0 ? 0 : room * kRoomRecordSize);
        switch (want) {
        case Want::Room: {
            std::istringstream words(t);
            std::string keyword;
            int number = -1;
            words >> keyword;
            if (keyword != "room" || !(words >> number)) {
                *fault = {lineNo, "expected 'room <number>'"};
                return false;
            }
            if (number != room + 1) {
                *fault = {lineNo, number <= room ? "room " + std::to_string(number) + " out of order or given twice"
                                                 : "room " + std::to_string(room + 1) + " is missing"};
                return false;
            }
            if (number >= kRoomCount) {
                *fault = {lineNo, "there are only 83 rooms (0 to 82)"};
                return false;
            }
            room = number;
            row = 0;
            want = Want::Map;
            break;
        }
        case Want::Map: {
            uint8_t line[kMapColumns];
            if (!ReadBarLine(raw, kMapColumns, lineNo, line, fault)) {
                if (t[0] != '|') fault->reason = "room " + std::to_string(room) + " needs 18 map lines, each between '|' bars";
                return false;
            }
            std::memcpy(record + kMapOffset + row * kMapColumns, line, kMapColumns);
            if (++row == kMapRows) {
                row = 0;
                want = Want::Text;
            }
            break;
        }
        case Want::Text: {
            if (!ReadBarLine(raw, kTextWidth, lineNo, record + kTextOffset + row * kTextWidth, fault)) {
                if (t[0] != '|') fault->reason = "room " + std::to_string(room) + " needs 5 description lines, each between '|' bars";
                return false;
            }
            if (++row == kTextLines) want = Want::Exits;
            break;
        }
        case Want::Exits: {
            if (t.rfind("exits", 0) != 0 || t.size() < 6 || (t[5] != ' ' && t[5] != '\t')) {
                *fault = {lineNo, "expected 'exits <text>'"};
                return false;
            }
            if (!ReadExits(Trim(t.substr(5)), lineNo, record + kExitsOffset, fault)) return false;
            want = Want::Room;
            break;
        }
        }
    }
    if (want != Want::Room) {
        *fault = {lineNo, "room " + std::to_string(room) + " is incomplete at the end of the file"};
        return false;
    }
    if (room != kRoomCount - 1) {
        *fault = {lineNo, "room " + std::to_string(room + 1) + " is missing"};
        return false;
    }
    return true;
}

std::string AsCpp(const std::vector<uint8_t>& data) {
    std::string out =
        "// Generated by grimspire-roomc from resources/rooms.txt; edit that file instead.\n"
        "#include \"world/world.h\"\n\n"
        "const uint8_t kBuiltInRoomData[kRoomDataSize] = {\n";
    char buf[8];
    for (size_t i = 0; i < data.size(); ++i) {
        std::snprintf(buf, sizeof buf, "0x%02X,", data[i]);
        out += (i % 16 == 0) ? "    " : " ";
        out += buf;
        if (i % 16 == 15) out += '\n';
    }
    out += "};\n";
    return out;
}

bool WriteFile(const std::string& path, const char* bytes, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes, static_cast<std::streamsize>(size));
    out.close();
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    std::string source, cppPath, binPath;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--cpp" || arg == "--bin") && i + 1 < argc) {
            (arg == "--cpp" ? cppPath : binPath) = argv[++i];
        } else if (source.empty() && !arg.empty() && arg[0] != '-') {
            source = arg;
        } else {
            source.clear();
            break;
        }
    }
    if (source.empty() || (cppPath.empty() && binPath.empty())) {
        std::fprintf(stderr, "usage: %s <rooms.txt> [--cpp <out.cpp>] [--bin <out.bin>]\n", argv[0]);
        return 1;
    }
    std::vector<uint8_t> data;
    Fault fault;
    if (!Compile(source, &data, &fault)) {
        std::fprintf(stderr, "%s:%d: %s\n", source.c_str(), fault.line, fault.reason.c_str());
        return 1;
    }
    if (!cppPath.empty()) {
        const std::string text = AsCpp(data);
        if (!WriteFile(cppPath, text.data(), text.size())) {
            std::fprintf(stderr, "%s: cannot write\n", cppPath.c_str());
            return 1;
        }
    }
    if (!binPath.empty() &&
        !WriteFile(binPath, reinterpret_cast<const char*>(data.data()), data.size())) {
        std::fprintf(stderr, "%s: cannot write\n", binPath.c_str());
        return 1;
    }
    return 0;
}
