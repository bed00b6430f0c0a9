// SPDX-License-Identifier: GPL-3.0-or-later
// grimspire-term: the game in a terminal. One poll() waits for keys, signals and
// the two clocks; after each, only the cells that changed are written.
#include <langinfo.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <climits>
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
#include "options.h"
#include "painter.h"
#include "picture.h"
#include "ports.h"
#include "savescreen.h"
#include "scheme.h"
#include "tty.h"
#include "world/world.h"

namespace {

// How long an ESC waits for the rest of its sequence before it counts as the Esc key.
constexpr int kEscWaitMs = 50;
constexpr int kProbeWaitMs = 1000;

GameState theGame;
Host theHost(theGame);

Scheme SchemeOf(uint32_t colour) {
    return colour == kGreenColour ? Scheme::Green : colour == kAmberColour ? Scheme::Amber : Scheme::Gray;
}

// The locale's bytes for a character, empty when its character set has none.
std::string LocaleBytes(char32_t cp) {
    char bytes[MB_LEN_MAX];
    std::mbstate_t state{};
    const size_t n = std::wcrtomb(bytes, static_cast<wchar_t>(cp), &state);
    return n == static_cast<size_t>(-1) ? std::string() : std::string(bytes, n);
}

class Session {
public:
    Session(Terminal& term, View view) : term_(term), view_(std::move(view)) {}
    void Probe(bool askPalette);
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
    SaveScreen saves_;
    KeyDecoder decoder_;
    RepeatGuess guess_;
    std::deque<Input> early_;  // keys typed while the terminal was being asked
    bool running_ = true;
    bool noticeShown_ = false;
    int shownMode_ = -1;
};

// Asks the terminal up to four things at once: how wide it draws an ambiguous-
// width character (print ▓, ask where the cursor went), whether it speaks the
// kitty keyboard protocol, whether a terminal named for 16 colours has a palette
// of 256 (it tells colour 214), and its device attributes, which every terminal
// answers and so tells when the other answers are all in.
void Session::Probe(bool askPalette) {
    // Where the locale has no ▓, no width needs measuring.
    const std::string block = view_.glyphs.charset == Charset::Utf8 ? "\u2593" : view_.glyphs.encode(0x2593);
    term_.Write("\x1b[H" + block + "\x1b[6n\x1b[?u" +
                (askPalette ? "\x1b]4;214;?\x1b\\" : "") + "\x1b[c");
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
            } else if (in->kind == InputKind::Palette) {
                view_.colours = ColourMode::Palette256;
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
        theHost.Keep();
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
    if (saves_.Shown()) {
        const SaveScreen::Outcome outcome = saves_.Key(in.vk);
        if (outcome != SaveScreen::Outcome::Stay) theHost.EndDialog();
        if (outcome == SaveScreen::Outcome::Open) OpenSavedGame(theHost, saves_.Folder(), saves_.Chosen());
        return;
    }
    // L at the title: the saved games, on a screen of the terminal's own.
    if (in.vk == 'L' && !repeat && theGame.mode == Title && theHost.CanLoad() && !theHost.Paused()) {
        saves_.Open(theGame, I_SaveFolder());
        theHost.BeginDialog();  // the clocks stand while the list does
        return;
    }
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
    // Some fonts leave slivers of the title's big letters behind: the first
    // screen after it is drawn on a cleared terminal.
    if (shownMode_ == Title && theGame.mode != Title) painter_.Invalidate();
    shownMode_ = theGame.mode;
    if (FitsGrid(view_)) {
        noticeShown_ = false;
        if (saves_.Shown()) {
            static GameState list;
            list = theGame;
            saves_.Draw(list);
            out += painter_.Paint(ComposeFrame(list, view_.rows), view_);
        } else {
            out += painter_.Paint(ComposeFrame(theGame, view_.rows), view_);
        }
    } else if (!noticeShown_) {
        noticeShown_ = true;
        out += painter_.PaintTooSmall(view_);
    }
    if (!out.empty()) term_.Write(out);
}

// Ctrl-C, Ctrl-\\, a kill or a hang-up (a closed pane, a dropped connection):
// the game in play is kept before the program goes.
void Session::Die(int sig) {
    theHost.Keep();
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
    Options options;
    if (const auto status = ParseOptions(argc, argv, &options)) return *status;
    std::string reason;
    const char* termName = std::getenv("TERM");
    const auto colours = JudgeTerminal(termName, std::getenv("COLORTERM"), std::getenv("NO_COLOR"), &reason);
    if (!colours) {
        std::fprintf(stderr, "grimspire-term: %s\n", reason.c_str());
        return 1;
    }
    Terminal term;
    if (!term.Open()) {
        std::fputs("grimspire-term: standard input and output must be a terminal\n", stderr);
        return 1;
    }
    View view;
    view.glyphs.layout = options.narrow ? Layout::Narrow : Layout::Wide;
    view.glyphs.man = options.man;
    const char* codeset = nl_langinfo(CODESET);
    if (std::strcmp(codeset, "UTF-8") != 0) {
        view.glyphs.charset = Charset::Legacy;
        view.glyphs.encode = LocaleBytes;
        std::fprintf(stderr,
                     "grimspire-term: the locale's characters are %s, not UTF-8, so walls are drawn with the "
                     "terminal's line set; for the full picture use a UTF-8 terminal and LANG=C.UTF-8\n",
                     codeset);
    }
    if (!options.saveDir.empty()) SetSaveFolder(options.saveDir);
    theHost.SetCueOutput(&BellCues());
    theHost.SetSoundOn(options.bell);
    view.colours = *colours;
    view.scheme = LoadScheme();
    theHost.SetScheme(SchemeOf(view.scheme));
    theHost.Start();
    term.Enter();
    Session session(term, view);
    // The Linux console would print the palette question.
    session.Probe(*colours == ColourMode::Basic16 && std::strncmp(termName, "linux", 5) != 0);
    const int result = session.Run();
    theHost.Keep();  // Ctrl-Q, or the terminal gone
    term.Leave();
    return result;
}
