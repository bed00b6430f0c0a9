// SPDX-License-Identifier: GPL-3.0-or-later
// grimspire-term: the game in a terminal. One poll() waits for keys, signals and
// the two clocks; after each, only the cells that changed are written.
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <cwchar>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>

#include "bell.h"
#include "commands.h"
#include "core/core.h"
#include "core/cp437.h"
#include "folders.h"
#include "host.h"
#include "keys.h"
#include "painter.h"
#include "picture.h"
#include "scheme.h"
#include "tty.h"
#include "world/world.h"

namespace {

// How long an ESC waits for the rest of its sequence before it counts as the Esc key.
constexpr int kEscWaitMs = 50;
constexpr int kProbeWaitMs = 1000;

const char kUsage[] =
    "Usage: grimspire-term [OPTION]...\n"
    "Grimspire in a terminal: escape a castle of 83 rooms drawn in text-mode characters.\n"
    "\n"
    "  --narrow          one terminal column per cell (40 x 25) instead of two (80 x 25)\n"
    "  --man=CHAR        draw the little man as CHAR (default @)\n"
    "  --bell            ring the terminal's bell for \"What???\" and for bumping into things\n"
    "  --save-dir DIR    keep saved games in DIR\n"
    "  --help            show this and exit\n"
    "\n"
    "Keys: arrows and the numeric keypad walk; type commands and press Enter.\n"
    "F1 About, F2 new game, F3 pause, F5 F6 F7 gray, green, amber, F8 sound (the bell);\n"
    "Ctrl-Q ends the program.\n"
    "A terminal of 80 x 24 or more is needed (40 x 24 with --narrow).\n";

GameState theGame;
Host theHost(theGame);

Scheme SchemeOf(uint32_t colour) {
    return colour == kGreenColour ? Scheme::Green : colour == kAmberColour ? Scheme::Amber : Scheme::Gray;
}

ColourMode DetectColours() {
    const char* colorterm = std::getenv("COLORTERM");
    if (colorterm != nullptr && (std::strcmp(colorterm, "truecolor") == 0 || std::strcmp(colorterm, "24bit") == 0)) {
        return ColourMode::TrueColour;
    }
    const char* term = std::getenv("TERM");
    if (term != nullptr && std::strstr(term, "256") != nullptr) return ColourMode::Palette256;
    return ColourMode::Basic16;
}

// One character one column wide, as UTF-8, or empty when the text is not exactly one.
std::string OneCharacter(const char* text) {
    std::u32string decoded;
    if (!DecodeUtf8(text, &decoded) || decoded.size() != 1 || ::wcwidth(static_cast<wchar_t>(decoded[0])) != 1) return {};
    std::string out;
    AppendUtf8(out, decoded[0]);
    return out;
}

class Session {
public:
    Session(Terminal& term, View view) : term_(term), view_(std::move(view)) {}
    void Probe();
    int Run();

private:
    void Handle(const Input& in, int64_t now);
    void Present();
    void Resize() {
        term_.Size(&view_.columns, &view_.rows);
        painter_.Invalidate();
        noticeShown_ = false;
        // While the notice stands the game waits: no key and no tick reaches it.
        theHost.SetWaiting(!FitsGrid(view_));
    }
    // Ends the program for a signal after the terminal is put back.
    [[noreturn]] void Die(int sig);

    Terminal& term_;
    View view_;
    Painter painter_;
    KeyDecoder decoder_;
    RepeatGuess guess_;
    std::deque<Input> early_;  // keys typed while the terminal was being asked
    bool running_ = true;
    bool noticeShown_ = false;
};

// Asks the terminal three things at once: how wide it draws an ambiguous-width
// character (print ▓, ask where the cursor went), whether it speaks the kitty
// keyboard protocol, and its device attributes, which every terminal answers and
// so tells when the other answers are all in.
void Session::Probe() {
    term_.Write("\x1b[H\u2593\x1b[6n\x1b[?u\x1b[c");
    bool kitty = false;
    const int64_t until = NowMs() + kProbeWaitMs;
    for (bool done = false; !done;) {
        const int64_t left = until - NowMs();
        if (left <= 0) break;
        pollfd fd{term_.InputFd(), POLLIN, 0};
        if (::poll(&fd, 1, static_cast<int>(left)) <= 0) continue;
        char buffer[256];
        const ssize_t n = ::read(term_.InputFd(), buffer, sizeof buffer);
        if (n <= 0) break;
        decoder_.Feed(std::string_view(buffer, static_cast<size_t>(n)));
        while (auto in = decoder_.Next()) {
            if (in->kind == InputKind::CursorReport) {
                view_.glyphs.wideAmbiguous = in->column > 2;
            } else if (in->kind == InputKind::KittyFlags) {
                kitty = true;
            } else if (in->kind == InputKind::Attributes) {
                done = true;
            } else {
                early_.push_back(*in);
            }
        }
    }
    if (kitty) {
        // Disambiguated keys, press, repeat and release, every key as a sequence.
        term_.SetExtraModes("\x1b[>11u", "\x1b[<u");
        term_.Write("\x1b[>11u");
        decoder_.SetKitty(true);
    }
}

void Session::Handle(const Input& in, int64_t now) {
    if (in.kind == InputKind::Quit) {
        running_ = false;
        return;
    }
    if (in.kind == InputKind::Suspend) {
        term_.Suspend();
        return;
    }
    if (in.kind != InputKind::Key) return;  // a late answer to the start-up questions
    const int repeat = in.repeat >= 0 ? in.repeat : guess_.Repeat(in.vk, now);
    if (in.repeat >= 0) guess_.Repeat(in.vk, now);
    const Scheme scheme = theHost.CurrentScheme();
    theHost.Key(in.vk, repeat);
    if (theHost.Ended()) running_ = false;
    if (theHost.CurrentScheme() != scheme) {
        view_.scheme = SchemeColour(theHost.CurrentScheme());
        SaveScheme(view_.scheme);
    }
}

void Session::Present() {
    std::string out = TakeBells();
    if (FitsGrid(view_)) {
        noticeShown_ = false;
        out += painter_.Paint(ComposeFrame(theGame, view_.rows), view_);
    } else if (!noticeShown_) {
        noticeShown_ = true;
        out += painter_.PaintTooSmall(view_);
    }
    if (!out.empty()) term_.Write(out);
}

void Session::Die(int sig) {
    term_.Leave();
    signal(sig, SIG_DFL);
    raise(sig);
    _exit(128 + sig);
}

int Session::Run() {
    Resize();
    while (!early_.empty() && running_) {
        Handle(early_.front(), NowMs());
        early_.pop_front();
    }
    int64_t escDeadline = 0;
    while (running_) {
        Present();
        int64_t now = NowMs();
        theHost.Advance(now);
        const int64_t due = theHost.NextDue();
        int64_t wake = due < 0 ? now + 60000 : due;
        if (decoder_.Waiting()) wake = std::min(wake, escDeadline);
        pollfd fds[2] = {{term_.InputFd(), POLLIN, 0}, {term_.SignalFd(), POLLIN, 0}};
        const int ready = ::poll(fds, 2, static_cast<int>(std::max<int64_t>(0, wake - now)));
        now = NowMs();
        if (ready > 0 && fds[1].revents) {
            for (char sig : term_.TakeSignals()) {
                switch (sig) {
                    case SIGWINCH: Resize(); break;
                    case SIGTSTP: term_.Suspend(); [[fallthrough]];
                    case SIGCONT:
                        // Back from a stop: whoever had the terminal meanwhile set
                        // its own modes and picture.
                        term_.Enter();
                        Resize();
                        break;
                    default: Die(sig);
                }
            }
        }
        if (ready > 0 && fds[0].revents) {
            char buffer[4096];
            const ssize_t n = ::read(term_.InputFd(), buffer, sizeof buffer);
            if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN)) break;  // the terminal is gone
            if (n > 0) {
                decoder_.Feed(std::string_view(buffer, static_cast<size_t>(n)));
                escDeadline = now + kEscWaitMs;
            }
        }
        const bool flush = decoder_.Waiting() && now >= escDeadline;
        while (running_) {
            const auto in = decoder_.Next(flush);
            if (!in) break;
            Handle(*in, now);
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_CTYPE, "");
    View view;
    bool bell = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--narrow") {
            view.glyphs.layout = Layout::Narrow;
        } else if (arg == "--bell") {
            bell = true;
        } else if (arg.rfind("--man=", 0) == 0 && !OneCharacter(argv[i] + 6).empty()) {
            view.glyphs.man = OneCharacter(argv[i] + 6);
        } else if (arg == "--save-dir" && i + 1 < argc) {
            SetSaveFolder(argv[++i]);
        } else {
            std::fprintf(stderr, "grimspire-term: unknown option %s\n%s", argv[i], kUsage);
            return 2;
        }
    }
    Terminal term;
    if (!term.Open()) {
        std::fputs("grimspire-term: standard input and output must be a terminal\n", stderr);
        return 1;
    }
    theHost.SetCueOutput(&BellCues());
    theHost.SetSoundOn(bell);
    view.scheme = LoadScheme();
    theHost.SetScheme(SchemeOf(view.scheme));
    theHost.Start();
    view.colours = DetectColours();
    term.Enter();
    Session session(term, view);
    session.Probe();
    const int result = session.Run();
    term.Leave();
    return result;
}
