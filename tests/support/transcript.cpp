// SPDX-License-Identifier: GPL-3.0-or-later
// Plays a transcript: each case a fresh game, a few set-up lines, keys and
// commands as the player gives them, and what must be seen.
#include "transcript.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iterator>
#include <sstream>
#include <utility>

#include <gtest/gtest.h>

#include "core/core.h"
#include "fake_ports.h"
#include "golden.h"
#include "placement.h"
#include "score/score.h"
#include "world/world.h"

std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string word; in >> std::quoted(word);) out.push_back(word);
    return out;
}

std::vector<Case> LoadCases(const std::string& path) {
    std::vector<Case> cases;
    std::ifstream in(path);
    std::string text;
    int number = 0;
    while (std::getline(in, text)) {
        ++number;
        const size_t start = text.find_first_not_of(' ');
        if (start == std::string::npos || text[start] == '#') continue;
        text = text.substr(start);
        // "case TITLE" starts a case whose steps follow on their own lines;
        // "- STEP | STEP ..." is a whole case on one line.
        const bool oneLine = text.rfind("- ", 0) == 0;
        if (oneLine || text.rfind("case ", 0) == 0) {
            cases.push_back({std::filesystem::path(path).filename().string(), number, oneLine ? "" : text.substr(5), {}});
            if (!oneLine) continue;
            text = text.substr(2);
        }
        if (cases.empty()) continue;
        // Steps on one line are parted by " | " outside quotes.
        bool quoted = false;
        size_t from = 0;
        for (size_t i = 0; i <= text.size(); ++i) {
            if (i < text.size() && text[i] == '\\') ++i;
            else if (i < text.size() && text[i] == '"') quoted = !quoted;
            if (i == text.size() || (!quoted && text.compare(i, 3, " | ") == 0)) {
                cases.back().steps.push_back({number, text.substr(from, i - from)});
                from = i + 3;
                i += 2;
            }
        }
    }
    return cases;
}

namespace {

struct Field {
    const char* name;
    int32_t GameState::*signedField;
    uint32_t GameState::*unsignedField;
};

const Field kFields[] = {
    {"room", &GameState::currentRoom, nullptr},       {"x", &GameState::playerColumn, nullptr},
    {"y", &GameState::playerRow, nullptr},            {"facing", &GameState::facing, nullptr},
    {"strength", &GameState::strength, nullptr},      {"cursorOn", &GameState::cursorOn, nullptr},
    {"messageShown", &GameState::messageShown, nullptr}, {"whatTicks", nullptr, &GameState::whatTicks},
    {"doorLocked67", &GameState::doorLocked67, nullptr}, {"doorLocked81", &GameState::doorLocked81, nullptr},
    {"flaskHasWater", &GameState::flaskHasWater, nullptr}, {"waterDrunk", &GameState::waterDrunk, nullptr},
    {"trapSprung", &GameState::trapSprung, nullptr},  {"keyRepeat", &GameState::keyRepeat, nullptr},
    {"holdRepeat", &GameState::holdRepeat, nullptr},  {"blowToggle", &GameState::blowToggle, nullptr},
    {"escaped", &GameState::escaped, nullptr},        {"mode", nullptr, &GameState::mode},
    {"awaitingKey", &GameState::awaitingKey, nullptr}, {"highScore", nullptr, &GameState::highScore},
    {"aboutShown", &GameState::aboutShown, nullptr},  {"exitNorth", &GameState::exitNorth, nullptr},
    {"exitEast", &GameState::exitEast, nullptr},      {"exitSouth", &GameState::exitSouth, nullptr},
    {"exitWest", &GameState::exitWest, nullptr},      {"exitUp", &GameState::exitUp, nullptr},
    {"exitDown", &GameState::exitDown, nullptr},      {"randomState", nullptr, &GameState::randomState},
};

const char* const kItemNames[kItemCount] = {
    "LAMP", "HARP", "NECKLACE", "BOOK", "WAND", "SWORD", "KEY", "GLASSES", "BALL", "FLASK", "CROSS",
    "DIAMOND", "BARS", "RUBYS", "FIGURINE", "SCEPTER", "HOURGLASS", "GEM", "HELMET", "GOLDBAR", "GOBLET", "CROWN",
};

struct Key {
    const char* name;
    uint32_t code;
};

// Besides these: KP0 to KP9, F1 to F12.
const Key kKeys[] = {
    {"UP", VK_UP},       {"DOWN", VK_DOWN},     {"LEFT", VK_LEFT},   {"RIGHT", VK_RIGHT}, {"ENTER", VK_RETURN},
    {"BACK", VK_BACK},   {"SPACE", VK_SPACE},   {"SHIFT", VK_SHIFT}, {"HOME", 36},        {"END", 35},
    {"PGUP", 33},        {"PGDN", 34},          {"INSERT", 45},      {"DELETE", 46},      {"CLEAR", 12},
    {"ESC", 27},         {"TAB", 9},            {"PAUSE", 19},       {"ALT", 18},         {"CTRL", 17},
};

const char* const kRequests[] = {"none", "ask-save", "ask-load", "exit", "full-screen", "escape", "open-saves",
                                 "zoom-in", "zoom-out", "actual-size"};

struct MenuCommand {
    const char* name;
    int id;
};
const MenuCommand kMenu[] = {
    {"NEW", ID_NEW_GAME}, {"EXIT", ID_EXIT}, {"GRAY", ID_VIEW_GRAY}, {"GREEN", ID_VIEW_GREEN},
    {"AMBER", ID_VIEW_AMBER}, {"FULL", ID_VIEW_FULL_SCREEN}, {"ABOUT", ID_HELP_ABOUT}, {"SAVE", ID_SAVE_GAME},
    {"LOAD", ID_LOAD_GAME}, {"PAUSE", ID_PAUSE}, {"SOUND", ID_VIEW_SOUND}, {"ZOOMIN", ID_ZOOM_IN},
};

// The edition's audio device as the host's cue policy drives it.
struct RecordingOutput final : CueOutput {
    void Start(int id) override {
        started.push_back(std::to_string(id));
        sounding = id;
    }
    void Stop() override { sounding = 0; }
    bool Playing() const override { return sounding != 0; }
    std::vector<std::string> started;
    int sounding = 0;
};

Host* theRunnersHost = nullptr;

void ToHost(fake::CueCall call, int id) {
    if (theRunnersHost == nullptr) return;
    if (call == fake::CueCall::Play) theRunnersHost->PlayCue(id);
    if (call == fake::CueCall::PlayIfQuiet) theRunnersHost->PlayCueIfQuiet(id);
    if (call == fake::CueCall::Stop) theRunnersHost->StopSound();
}

}  // namespace

struct Replay::Impl {
    Impl(const Case& c, std::function<void(int, const std::string&)> report) : c_(c), report_(std::move(report)) {
        host_.SetCueOutput(&output_);
        theRunnersHost = &host_;
    }
    ~Impl() { theRunnersHost = nullptr; }

    void Run() {
        fake::Reset();
        fake::State().tickCount = 1;
        fake::State().forward = ToHost;
        host_.Start();
        host_.Key('P', 0);
        fake::ClearCues();
        for (const Line& line : c_.steps) {
            line_ = line.number;
            const auto w = Words(line.text);
            if (!Step(w) && !(extra && extra(w))) Report("cannot read this line: " + line.text);
        }
    }

    void Report(const std::string& what) { report_(line_, what); }
    template <typename T>
    void Check(const T& want, const T& got, const std::string& what) {
        if (!(want == got)) {
            std::ostringstream s;
            s << what << ": expected " << ::testing::PrintToString(want) << ", got "
              << ::testing::PrintToString(got);
            Report(s.str());
        }
    }

    static long Number(const std::string& s) { return std::strtol(s.c_str(), nullptr, 0); }

    // A cell written as a character, or as 0xNN.
    static uint8_t CellCode(const std::string& s) {
        if (s.size() > 2 && s[0] == '0' && s[1] == 'x') return static_cast<uint8_t>(Number(s));
        return s.empty() ? ' ' : static_cast<uint8_t>(s[0]);
    }

    int ItemIndex(const std::string& s) {
        for (int i = 0; i < kItemCount; ++i) {
            if (s == kItemNames[i]) return i;
        }
        if (!s.empty() && std::isdigit(static_cast<unsigned char>(s[0]))) return static_cast<int>(Number(s));
        Report("no item " + s);
        return 0;
    }

    // Item and monster fields by name.
    int32_t* ThingField(const std::string& kind, const std::string& who, const std::string& field) {
        if (kind == "item") {
            ItemRecord& it = g_.items[ItemIndex(who)];
            if (field == "room") return &it.room;
            if (field == "x") return &it.x;
            if (field == "y") return &it.y;
            if (field == "visible") return &it.visible;
            if (field == "carried") return &it.carried;
        } else {
            MonsterRecord& m = g_.monsters[Number(who) % kMonsterCount];
            if (field == "room") return &m.room;
            if (field == "x") return &m.x;
            if (field == "y") return &m.y;
            if (field == "strength") return &m.strength;
            if (field == "present") return &m.present;
        }
        Report("no field " + field);
        static int32_t none;
        return &none;
    }

    // A field of the game by name: read it, or write it when a value is given.
    bool GameField(const std::string& name, long* value, bool write) {
        for (const Field& f : kFields) {
            if (name != f.name) continue;
            if (write && f.signedField) g_.*f.signedField = static_cast<int32_t>(*value);
            if (write && !f.signedField) g_.*f.unsignedField = static_cast<uint32_t>(*value);
            *value = f.signedField ? g_.*f.signedField : static_cast<long>(g_.*f.unsignedField);
            return true;
        }
        return false;
    }

    // KEY, KEY*3 (three presses), ~KEY (a held key's repeat), a letter or digit, or #code;
    // through the host, ^KEY with Ctrl held and !KEY with Alt.
    bool PressKeys(const std::vector<std::string>& w, size_t from, bool throughHost = false) {
        for (size_t i = from; i < w.size(); ++i) {
            std::string k = w[i];
            int32_t repeat = 0;
            int count = 1;
            bool ctrl = false, alt = false;
            if (throughHost && k.size() > 1 && k[0] == '^') { ctrl = true; k = k.substr(1); }
            if (throughHost && k.size() > 1 && k[0] == '!') { alt = true; k = k.substr(1); }
            if (k.size() > 1 && k[0] == '~') { repeat = 1; k = k.substr(1); }
            if (const size_t star = k.find('*'); star != std::string::npos && star > 0) {
                count = static_cast<int>(Number(k.substr(star + 1)));
                k = k.substr(0, star);
            }
            uint32_t code = 0;
            if (k.size() == 1) code = static_cast<uint8_t>(k[0]);
            else if (k[0] == '#') code = static_cast<uint32_t>(Number(k.substr(1)));
            else if (k.rfind("KP", 0) == 0) code = VK_NUMPAD0 + static_cast<uint32_t>(Number(k.substr(2)));
            else if (k[0] == 'F') code = 111 + static_cast<uint32_t>(Number(k.substr(1)));
            for (const Key& key : kKeys) {
                if (k == key.name) code = key.code;
            }
            if (code == 0) return false;
            for (int n = 0; n < count; ++n) {
                if (!throughHost) {
                    last_ = HandleKey(g_, code, repeat);
                    continue;
                }
                const KeyUse use = host_.Key(code, repeat, ctrl, alt);
                reached_ += use == KeyUse::Game ? "game " : use == KeyUse::Edition ? "host " : "none ";
            }
        }
        return true;
    }

    // Walks the man with arrow keys over blank screen cells to (x, y).
    void WalkTo(int x, int y) {
        std::array<int, kMapCells> from{};
        from.fill(-1);
        const int start = g_.playerColumn * kMapRows + g_.playerRow;
        const int goal = x * kMapRows + y;
        std::vector<int> queue{start};
        from[start] = start;
        for (size_t i = 0; i < queue.size() && from[goal] < 0; ++i) {
            const int cx = queue[i] / kMapRows, cy = queue[i] % kMapRows;
            const int dx[4] = {0, 1, 0, -1}, dy[4] = {-1, 0, 1, 0};
            for (int d = 0; d < 4; ++d) {
                const int nx = cx + dx[d], ny = cy + dy[d];
                if (nx < 0 || nx >= kMapColumns || ny < 0 || ny >= kMapRows) continue;
                const int n = nx * kMapRows + ny;
                if (from[n] >= 0 || CellAt(g_, nx, ny) != ' ') continue;
                from[n] = queue[i];
                queue.push_back(n);
            }
        }
        if (from[goal] < 0) return Report("no way over the floor to " + std::to_string(x) + "," + std::to_string(y));
        std::vector<int> path;
        for (int c = goal; c != start; c = from[c]) path.push_back(c);
        std::reverse(path.begin(), path.end());
        for (int c : path) {
            const int nx = c / kMapRows, ny = c % kMapRows;
            HandleKey(g_, nx > g_.playerColumn ? VK_RIGHT : nx < g_.playerColumn ? VK_LEFT
                          : ny > g_.playerRow ? VK_DOWN : VK_UP, 0);
        }
    }

    // The message area as written: blanks a reply wrote stay, cells nothing wrote
    // at the end are dropped, a 0 inside shows as '~'.
    std::string RawMessageLine(int line) const {
        std::string out;
        int last = -1;
        for (int k = 0; k < 15; ++k) {
            if (CellAt(g_, 25 + k, 12 + line) != 0) last = k;
        }
        for (int k = 0; k <= last; ++k) {
            const uint8_t c = CellAt(g_, 25 + k, 12 + line);
            out += c == 0 ? '~' : static_cast<char>(c);
        }
        return out;
    }

    std::vector<std::string> Cues() const {
        std::vector<std::string> out;
        for (const auto& e : fake::State().cues) {
            if (e.call != fake::CueCall::Stop) out.push_back((e.call == fake::CueCall::PlayIfQuiet ? "?" : "") + std::to_string(e.id));
        }
        return out;
    }

    bool Step(const std::vector<std::string>& w) {
        if (w.empty()) return true;
        const std::string& op = w[0];
        const auto arg = [&](size_t i) { return i < w.size() ? w[i] : std::string(); };
        if (op == "start") {
            // The program starts again over the store as it stands.
            fake::ClearCues();
            host_.Start();
        } else if (op == "seed" || op == "title") {
            // A new program start with tick count N (title: 1 unless given): the title screen,
            // and with seed also a new game.
            fake::Reset();
            fake::State().tickCount = w.size() > 1 ? static_cast<uint32_t>(Number(arg(1))) : 1;
            fake::State().forward = ToHost;
            host_.Start();
            if (op == "seed") host_.Key('P', 0);
            fake::ClearCues();
        } else if (op == "room") {
            // The man stands where he is put, or on the middle cell (12, 9).
            EnterRoom(g_, static_cast<int32_t>(Number(arg(1))));
            g_.playerColumn = w.size() > 3 ? static_cast<int32_t>(Number(arg(2))) : 12;
            g_.playerRow = w.size() > 3 ? static_cast<int32_t>(Number(arg(3))) : 9;
            Cell(g_, g_.playerColumn, g_.playerRow) = 0x05;
        } else if (op == "carry") {
            for (size_t i = 1; i < w.size(); ++i) {
                ItemRecord& it = g_.items[ItemIndex(w[i])];
                it.carried = 1;
                it.visible = 1;
            }
        } else if (op == "put") {
            // The item lies in room R at (X, Y), in sight and not carried.
            ItemRecord& it = g_.items[ItemIndex(arg(1))];
            it.room = static_cast<int32_t>(Number(arg(2)));
            it.x = static_cast<int32_t>(Number(arg(3)));
            it.y = static_cast<int32_t>(Number(arg(4)));
            it.visible = 1;
            it.carried = 0;
        } else if (op == "set" && (arg(1) == "item" || arg(1) == "monster")) {
            *ThingField(arg(1), arg(2), arg(3)) = static_cast<int32_t>(Number(arg(4)));
        } else if (op == "set") {
            long value = Number(arg(2));
            return GameField(arg(1), &value, true);
        } else if (op == "cell" || op == "map") {
            const int x = static_cast<int>(Number(arg(1))), y = static_cast<int>(Number(arg(2)));
            (op == "cell" ? Cell(g_, x, y) : MapCell(g_, x, y)) = CellCode(arg(3));
        } else if (op == "file") {
            std::ofstream(arg(1), std::ios::binary) << arg(2);
        } else if (op == "copy" || op == "poke") {
            // copy FROM TO SIZE: cut short or padded with zeros; poke FROM TO AT VALUE [BYTES]: one little-endian number changed.
            std::ifstream in(arg(1), std::ios::binary);
            std::string bytes{std::istreambuf_iterator<char>(in), {}};
            if (op == "copy") bytes.resize(static_cast<size_t>(Number(arg(3))));
            for (long i = 0; op == "poke" && i < (w.size() > 5 ? Number(arg(5)) : 4); ++i) bytes.at(static_cast<size_t>(Number(arg(3)) + i)) = static_cast<char>(Number(arg(4)) >> (8 * i));
            in.close();
            std::ofstream(arg(2), std::ios::binary) << bytes;
        } else if (op == "savedir") {
            fake::State().saveFolder = arg(1);
        } else if (op == "store") {
            if (arg(1) == "fail-open") fake::State().failOpen = true;
            else if (arg(1) == "fail-writes") fake::State().failWrites = true;
            else if (w.size() != 4) return false;
            else {
                // NAME TYPE HEX: a value put in the store by hand.
                std::vector<uint8_t> bytes;
                for (size_t i = 0; i + 1 < arg(3).size(); i += 2) bytes.push_back(static_cast<uint8_t>(std::stoul(arg(3).substr(i, 2), nullptr, 16)));
                fake::State().keyExists = true;
                fake::State().values[arg(1)] = fake::StoredValue{static_cast<uint32_t>(Number(arg(2))), bytes};
            }
        } else if (op == "type") {
            for (size_t i = 1; i < w.size(); ++i) {
                for (char ch : (i > 1 ? " " : "") + w[i]) HandleKey(g_, static_cast<uint8_t>(ch), 0);
            }
            last_ = HandleKey(g_, VK_RETURN, 0);
        } else if (op == "keys") {
            return PressKeys(w, 1);
        } else if (op == "walk") {
            WalkTo(static_cast<int>(Number(arg(1))), static_cast<int>(Number(arg(2))));
        } else if (op == "tick" || op == "blink") {
            const long n = w.size() > 1 ? Number(arg(1)) : 1;
            for (long i = 0; i < n; ++i) (op == "tick" ? WorldTick : BlinkTick)(g_);
        } else if (op == "clearcues") {
            fake::ClearCues();
        } else if (op == "host") {
            return PressKeys(w, 1, true);
        } else if (op == "menu") {
            for (const MenuCommand& m : kMenu) {
                if (arg(1) == m.name) return host_.Command(m.id), true;
            }
            return false;
        } else if (op == "advance") {
            // MS, or MS TIMES: the clocks come that many times, MS apart.
            for (long i = 0; i < (w.size() > 2 ? Number(arg(2)) : 1); ++i) host_.Advance(now_ += Number(arg(1)));
        } else if (op == "dialog") {
            if (arg(1) == "open") host_.BeginDialog();
            else host_.EndDialog();
        } else if (op == "hide" || op == "show") {
            host_.SetHidden(op == "hide");
        } else if (op == "keep") {
            host_.Keep();  // what every front-end does on every way out of the program
        } else if (op == "silence") {
            output_.sounding = 0;  // the cue ran out
        } else if (op == "menusave" || op == "menuload") {
            host_.SaveOrLoadByName(op == "menusave", arg(1), arg(2));
        } else if (op == "expect") {
            return Expect(std::vector<std::string>(w.begin() + 1, w.end()));
        } else {
            return false;
        }
        return true;
    }

    bool Expect(const std::vector<std::string>& w) {
        const auto arg = [&](size_t i) { return i < w.size() ? w[i] : std::string(); };
        const std::string what = arg(0);
        if (what == "msg") {
            // The seven lines of the message area; lines not given must be empty.
            for (int line = 0; line < 7; ++line) {
                const std::string want = static_cast<size_t>(line + 1) < w.size() ? w[line + 1] : "";
                Check(want, RawMessageLine(line), "message line " + std::to_string(line));
            }
        } else if (what == "text") {
            const std::string want = arg(3);
            const int x = static_cast<int>(Number(arg(1))), y = static_cast<int>(Number(arg(2)));
            std::string got;
            for (size_t k = 0; k < want.size(); ++k) {
                const uint8_t c = CellAt(g_, x + static_cast<int>(k), y);
                got += c == 0 ? ' ' : static_cast<char>(c);
            }
            Check(want, got, "text at " + arg(1) + "," + arg(2));
        } else if (what == "row") {
            Check(arg(2), ScreenRow(g_, static_cast<int>(Number(arg(1)))), "row " + arg(1));
        } else if (what == "cell" || what == "map") {
            const int x = static_cast<int>(Number(arg(1))), y = static_cast<int>(Number(arg(2)));
            const uint8_t got = what == "cell" ? CellAt(g_, x, y) : g_.roomMap[x * kMapRows + y];
            Check(static_cast<int>(CellCode(arg(3))), static_cast<int>(got), what + " " + arg(1) + "," + arg(2));
        } else if (what == "cues") {
            Check(std::vector<std::string>(w.begin() + 1, w.end()), Cues(), "sound calls");
            fake::ClearCues();
        } else if (what == "file") {
            // A file's text, or its size for a saved game; "(none)" when it is not there.
            std::ifstream in(arg(1), std::ios::binary);
            const bool there = static_cast<bool>(in);
            std::stringstream text;
            text << in.rdbuf();
            const std::string got = !there ? "(none)" : text.str().size() == 2152 ? "2152 bytes" : text.str();
            Check(arg(2), got, "file " + arg(1));
        } else if (what == "host") {
            // Where the keys went, and the host's state: paused, clocks held, About box,
            // leaving would lose play, save allowed, the request left to the edition.
            std::string got = reached_;
            got += std::string(host_.Paused() ? "paused " : "") + (host_.ClocksHeld() ? "held " : "") +
                   (host_.AboutShown() ? "about " : "") + (host_.WouldLosePlay() ? "lose " : "") +
                   (host_.CanSaveOrLoad() ? "cansave " : "") + kRequests[static_cast<int>(host_.Request())];
            std::string want;
            for (size_t i = 1; i < w.size(); ++i) want += (i > 1 ? " " : "") + w[i];
            Check(want, got, "host");
            reached_.clear();
        } else if (what == "placed") {
            // Where a screen of W x H puts the picture: factor, left, top, right, bottom.
            const Placement p = PlacePicture(static_cast<int>(Number(arg(1))), static_cast<int>(Number(arg(2))));
            std::string want;
            for (size_t i = 3; i < w.size(); ++i) want += (i > 3 ? " " : "") + w[i];
            Check(want, std::to_string(p.factor) + " " + std::to_string(p.left) + " " + std::to_string(p.top) + " " +
                              std::to_string(p.right) + " " + std::to_string(p.bottom), "placed at " + arg(1) + " x " + arg(2));
        } else if (what == "kept") {
            Check(Number(arg(1)), static_cast<long>(host_.HasKept()), "a game kept");
        } else if (what == "sounding") {
            // The cues the audio device was asked to start since last asked.
            Check(std::vector<std::string>(w.begin() + 1, w.end()), output_.started, "cues started");
            output_.started.clear();
        } else if (what == "stops") {
            Check(Number(arg(1)), static_cast<long>(fake::StopCount()), "sound stops");
        } else if (what == "golden") {
            if (auto r = MatchesGolden(g_, arg(1)); !r) Report(r.message());
        } else if (what == "score") {
            Check(Number(arg(1)), static_cast<long>(ComputeScore(g_)), "score");
        } else if (what == "running") {
            Check(Number(arg(1)), static_cast<long>(last_), "HandleKey's answer");
        } else if (what == "item" || what == "monster") {
            Check(Number(arg(3)), static_cast<long>(*ThingField(what, arg(1), arg(2))), what + " " + arg(1) + " " + arg(2));
        } else if (what == "best") {
            Check(arg(1) + " " + arg(2), std::to_string(g_.highScore) + " " + g_.highScoreName, "best score");
        } else if (what == "openkeys") {
            Check(Number(arg(1)), static_cast<long>(fake::State().openKeys), "keys left open");
        } else if (what == "stored") {
            const auto& values = fake::State().values;
            const auto it = values.find(arg(1));
            std::string got = it == values.end() ? "(none)" : std::string(it->second.bytes.begin(), it->second.bytes.end());
            if (it != values.end() && it->second.type == REG_DWORD && got.size() == 4) {
                uint32_t v;
                std::memcpy(&v, got.data(), 4);
                got = std::to_string(v);
            }
            while (!got.empty() && got.back() == '\0') got.pop_back();
            Check(arg(2), got, "stored " + arg(1));
        } else {
            long got = 0;
            if (!GameField(what, &got, false)) return false;
            Check(Number(arg(1)), got, what);
        }
        return true;
    }

    const Case& c_;
    std::function<void(int, const std::string&)> report_;
    std::function<bool(const std::vector<std::string>&)> extra;
    GameState g_{};
    Host host_{g_};
    RecordingOutput output_;
    std::string reached_;
    int64_t now_ = 0;
    int line_ = 0;
    int32_t last_ = 1;
};

Replay::Replay(const Case& c, std::function<void(int, const std::string&)> report)
    : impl_(std::make_unique<Impl>(c, std::move(report))) {}
Replay::~Replay() = default;
void Replay::Run() {
    impl_->extra = extra;
    impl_->Run();
}
GameState& Replay::Game() { return impl_->g_; }
Host& Replay::TheHost() { return impl_->host_; }
