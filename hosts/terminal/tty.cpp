// SPDX-License-Identifier: GPL-3.0-or-later
#include "tty.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

namespace {

struct termios gSaved;
int gPipeWrite = -1;

void OnSignal(int sig) {
    const int saved = errno;
    const char c = static_cast<char>(sig);
    if (gPipeWrite >= 0) (void)!::write(gPipeWrite, &c, 1);
    errno = saved;
}

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGTSTP, SIGCONT, SIGWINCH};

void Catch(int sig) {
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(sig, &sa, nullptr);
}

}  // namespace

bool Terminal::Open() {
    if (!::isatty(0) || !::isatty(1) || ::tcgetattr(0, &gSaved) != 0) return false;
    if (::pipe(signalPipe_) != 0) return false;
    for (int fd : signalPipe_) {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    gPipeWrite = signalPipe_[1];
    for (int sig : kSignals) Catch(sig);
    // A save past the file size limit fails as a write and says so, rather
    // than ending the program with the terminal left raw.
    signal(SIGXFSZ, SIG_IGN);
    return true;
}

void Terminal::Enter() {
    struct termios raw = gSaved;
    // Keys come one by one and unechoed; ^C, ^Z and ^\ still signal, and the
    // flow control that would swallow Ctrl-Q is off.
    raw.c_iflag &= static_cast<tcflag_t>(~(ICRNL | INLCR | IGNCR | IXON | IXOFF | ISTRIP | BRKINT | INPCK));
    raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO | ECHONL | IEXTEN));
    raw.c_oflag &= static_cast<tcflag_t>(~OPOST);
    raw.c_cflag |= CS8;
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    ::tcsetattr(0, TCSANOW, &raw);
    Write("\x1b[?1049h\x1b[?25l\x1b[?7l\x1b=" + extraEnter_);
    entered_ = true;
}

void Terminal::Leave() {
    if (!entered_) return;
    entered_ = false;
    Write(extraLeave_ + "\x1b[0m\x1b[2J\x1b>\x1b[?7h\x1b[?25h\x1b[?1049l");
    ::tcsetattr(0, TCSADRAIN, &gSaved);
}

void Terminal::Suspend() {
    Leave();
    // Stop for real, then take the signal back once continued.
    signal(SIGTSTP, SIG_DFL);
    raise(SIGTSTP);
    Catch(SIGTSTP);
    Enter();
}

void Terminal::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(1, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            return;  // the terminal is gone (a hang-up); nothing more to show
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
}

void Terminal::Size(int* columns, int* rows) const {
    struct winsize ws {};
    if (::ioctl(1, TIOCGWINSZ, &ws) == 0 && ws.ws_col > 0 && ws.ws_row > 0) {
        *columns = ws.ws_col;
        *rows = ws.ws_row;
    } else {
        *columns = 80;
        *rows = 24;
    }
}

std::string Terminal::TakeSignals() {
    std::string signals;
    char buffer[64];
    for (;;) {
        const ssize_t n = ::read(signalPipe_[0], buffer, sizeof buffer);
        if (n <= 0) break;
        signals.append(buffer, static_cast<size_t>(n));
    }
    return signals;
}
