// SPDX-License-Identifier: GPL-3.0-or-later
#include "options.h"

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string_view>

#include "core/cp437.h"

namespace {

const char kUsage[] =
    "Usage: grimspire-term [OPTION]...\n"
    "Grimspire in a terminal: escape a castle of 83 rooms drawn in text-mode characters.\n"
    "\n"
    "  --narrow          one terminal column per cell (40 x 24) instead of two (80 x 24)\n"
    "  --man=CHAR        draw the little man as CHAR (default @)\n"
    "  --bell            ring the terminal's bell for \"What???\" and for bumping into things\n"
    "  --save-dir DIR    keep saved games in DIR\n"
    "  -h, --help        show this and exit\n"
    "  --version         show the version and exit\n"
    "\n"
    "Keys: the arrows walk; so do the numeric keypad and the digits 1-4 and 6-9 as\n"
    "laid out on it, and Home, PgUp, End, PgDn diagonally (a terminal cannot tell\n"
    "them from the keypad's). Type commands and press Enter.\n"
    "F1 About, F2 new game, F5 F6 F7 gray, green, amber; Ctrl-Q ends the program.\n"
    "At the title C continues the game you left and L lists the saved games\n"
    "(the arrows choose, Enter loads, Esc goes back).\n"
    "Best in a UTF-8 locale; NO_COLOR=1 draws in the terminal's own colour.\n";

// One character one column wide, in the locale's encoding, as UTF-8; empty when
// the text is not exactly that.
std::string OneCharacter(const char* text) {
    std::mbstate_t state{};
    wchar_t wc = 0;
    const size_t length = std::strlen(text);
    const size_t n = std::mbrtowc(&wc, text, length, &state);
    if (length == 0 || n != length || ::wcwidth(wc) != 1) return {};
    std::string out;
    AppendUtf8(out, static_cast<char32_t>(wc));
    return out;
}

int Refuse(const std::string& message) {
    std::fprintf(stderr, "grimspire-term: %s (see grimspire-term --help)\n", message.c_str());
    return 2;
}

// Terminal families that take xterm's cursor, colour and line-drawing sequences.
constexpr const char* kKnown[] = {"xterm", "screen", "tmux", "rxvt", "linux", "vt100", "vt102", "vt220", "vt320",
                                  "vt420", "vt520", "alacritty", "foot", "kitty", "st", "konsole", "gnome", "vte",
                                  "putty", "wezterm", "contour", "iterm2", "mintty", "cygwin", "eterm", "mlterm", "ansi"};

bool Known(std::string_view term) {
    for (std::string_view family : kKnown) {
        if (term.substr(0, family.size()) != family) continue;
        if (term.size() == family.size() || term[family.size()] == '-' || term[family.size()] == '.') return true;
    }
    return false;
}

}  // namespace

std::optional<int> ParseOptions(int argc, char** argv, Options* o) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--version") {
            std::printf("grimspire-term %s\n", GRIMSPIRE_VERSION);
            return 0;
        } else if (arg == "--narrow") {
            o->narrow = true;
        } else if (arg == "--bell") {
            o->bell = true;
        } else if (arg == "--man" || arg.rfind("--man=", 0) == 0) {
            o->man = arg.size() > 6 ? OneCharacter(argv[i] + 6) : std::string();
            if (o->man.empty()) return Refuse("--man needs one character one column wide, as in --man=@");
        } else if (arg == "--save-dir" || arg.rfind("--save-dir=", 0) == 0) {
            if (arg.size() > 11) {
                o->saveDir = arg.substr(11);
            } else if (arg == "--save-dir" && i + 1 < argc && argv[i + 1][0] != '\0') {
                o->saveDir = argv[++i];
            } else {
                return Refuse("--save-dir needs a folder, as in --save-dir ~/castle");
            }
        } else {
            return Refuse("unknown option " + arg);
        }
    }
    return std::nullopt;
}

std::optional<ColourMode> JudgeTerminal(const char* term, const char* colorterm, const char* noColor,
                                        std::string* reason) {
    const std::string_view name = term != nullptr ? term : "";
    if (name.empty() || name == "dumb") {
        *reason = "this terminal (TERM=" + std::string(name) + ") cannot place characters on the screen";
        return std::nullopt;
    }
    if (!Known(name)) {
        *reason = "unknown terminal type TERM=" + std::string(name) +
                  "; if it takes xterm's sequences, start the game with TERM=xterm";
        return std::nullopt;
    }
    // The convention: any value but the empty one means no colour.
    if ((noColor != nullptr && noColor[0] != '\0') || name.substr(0, 2) == "vt") return ColourMode::None;
    const std::string_view depth = colorterm != nullptr ? colorterm : "";
    if (depth == "truecolor" || depth == "24bit") return ColourMode::TrueColour;
    if (name.find("256") != std::string_view::npos) return ColourMode::Palette256;
    return ColourMode::Basic16;
}
