// SPDX-License-Identifier: GPL-3.0-or-later
// Times the real program from outside, the way a player sees it: what counts is
// the moment the X server holds the new pixels, not when the program thinks it
// drew them. Keys go in through XTEST, as from a keyboard.
//
//   frame_timer startup RUNS PROGRAM   start-up to the first frame with the title
//   frame_timer keys SAMPLES PROGRAM   key press to the picture that shows it,
//                                      then the resident memory on the play screen
//
// Build: g++ -O2 -std=c++20 frame_timer.cpp -lX11 -lXtst -o frame_timer
// (packages libx11-dev and libxtst-dev). Needs DISPLAY; tools/measure/measure.sh
// sets everything up.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr uint32_t kGray = 0xA8A8A8;  // every lit pixel of the gray scheme

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }
void SleepMs(double ms) { std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(ms)); }

struct Picture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

std::optional<Picture> Grab(Display* display, Window window, int x, int y, int w, int h) {
    XImage* image = XGetImage(display, window, x, y, unsigned(w), unsigned(h), AllPlanes, ZPixmap);
    if (!image) return std::nullopt;
    Picture p{w, h, std::vector<uint32_t>(size_t(w) * size_t(h))};
    for (int row = 0; row < h; ++row)
        for (int col = 0; col < w; ++col)
            p.pixels[size_t(row) * size_t(w) + size_t(col)] =
                uint32_t(XGetPixel(image, col, row)) & 0xFFFFFF;
    XDestroyImage(image);
    return p;
}

std::optional<Picture> GrabWindow(Display* display, Window window) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(display, window, &a) || a.map_state != IsViewable) return std::nullopt;
    return Grab(display, window, 0, 0, a.width, a.height);
}

// The first viewable window titled Grimspire, or 0.
Window FindGameWindow(Display* display, Window parent) {
    Window root_return, parent_return, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, parent, &root_return, &parent_return, &children, &count)) return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && !found; ++i) {
        char* name = nullptr;
        if (XFetchName(display, children[i], &name) && name) {
            XWindowAttributes a;
            if (std::strcmp(name, "Grimspire") == 0 && XGetWindowAttributes(display, children[i], &a) &&
                a.map_state == IsViewable)
                found = children[i];
            XFree(name);
        }
        if (!found) found = FindGameWindow(display, children[i]);
    }
    if (children) XFree(children);
    return found;
}

bool Solid(const Picture& p, int x0, int y0, int w, int h, uint32_t colour) {
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            if (p.At(x, y) != colour) return false;
    return true;
}

struct Offset {
    int x, y;
};

// Where the 640 x 400 picture sits in the window when it shows the title castle:
// a solid battlement at cell (4,4) with a gap beside it, the solid top of the
// gate at cells 17..21 of row 17, and an empty first row.
std::optional<Offset> FindTitle(const Picture& p) {
    for (int dy = 0; dy + 400 <= p.height; ++dy)
        for (int dx = 0; dx + 640 <= p.width; ++dx) {
            if (p.At(dx + 64, dy + 64) != kGray) continue;
            if (Solid(p, dx + 64, dy + 64, 16, 16, kGray) && Solid(p, dx + 80, dy + 64, 16, 16, 0) &&
                Solid(p, dx + 272, dy + 272, 80, 16, kGray) && Solid(p, dx, dy, 640, 16, 0))
                return Offset{dx, dy};
        }
    return std::nullopt;
}

pid_t Start(const char* program) {
    const pid_t pid = fork();
    if (pid == 0) {
        execl(program, program, static_cast<char*>(nullptr));
        std::perror(program);
        _exit(127);
    }
    return pid;
}

void Stop(pid_t pid) {
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
}

bool Running(pid_t pid) {
    int status = 0;
    return waitpid(pid, &status, WNOHANG) == 0;
}

// CPU time the process has had so far, all its threads together, in ms. Unlike
// the wall-clock figures it hardly moves when other work shares the machine.
double CpuMs(pid_t pid) {
    double ns = 0;
    std::error_code ec;
    for (const auto& task : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", ec)) {
        std::ifstream in(task.path() / "schedstat");
        double onCpu = 0;
        if (in >> onCpu) ns += onCpu;
    }
    return ns / 1e6;
}

struct Stats {
    double median, p90, min, max;
};

Stats Summarise(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const auto at = [&](double q) { return v[std::min(v.size() - 1, size_t(q * double(v.size() - 1) + 0.5))]; };
    return {at(0.5), at(0.9), v.front(), v.back()};
}

void Print(const char* what, const std::vector<double>& v) {
    const Stats s = Summarise(v);
    std::printf("%s: median %.1f ms, 90th percentile %.1f ms, min %.1f ms, max %.1f ms (%zu samples)\n", what,
                s.median, s.p90, s.min, s.max, v.size());
}

// Waits for the game's window to show the title; the times are from `start`.
struct TitleSeen {
    Window window = 0;
    Offset offset{};
    double mappedMs = 0, titleMs = 0, cpuMs = 0;
};

std::optional<TitleSeen> WaitForTitle(Display* display, pid_t pid, Clock::time_point start) {
    TitleSeen seen;
    const Window root = DefaultRootWindow(display);
    while (Clock::now() - start < std::chrono::seconds(20)) {
        if (!Running(pid)) return std::nullopt;
        if (!seen.window) {
            seen.window = FindGameWindow(display, root);
            if (seen.window) seen.mappedMs = Ms(Clock::now() - start);
        }
        if (seen.window) {
            if (auto picture = GrabWindow(display, seen.window)) {
                if (auto offset = FindTitle(*picture)) {
                    seen.titleMs = Ms(Clock::now() - start);
                    seen.cpuMs = CpuMs(pid);
                    seen.offset = *offset;
                    return seen;
                }
            }
        }
        SleepMs(1);
    }
    return std::nullopt;
}

int MeasureStartup(Display* display, int runs, const char* program) {
    std::vector<double> mapped, title, cpu;
    for (int run = 0; run < runs; ++run) {
        const auto start = Clock::now();
        const pid_t pid = Start(program);
        const auto seen = WaitForTitle(display, pid, start);
        Stop(pid);
        if (!seen) {
            std::fprintf(stderr, "run %d: the title screen did not show\n", run + 1);
            return 1;
        }
        std::printf("run %2d: window mapped after %6.1f ms, title on screen after %6.1f ms, %6.1f ms of CPU\n",
                    run + 1, seen->mappedMs, seen->titleMs, seen->cpuMs);
        mapped.push_back(seen->mappedMs);
        title.push_back(seen->titleMs);
        cpu.push_back(seen->cpuMs);
        SleepMs(300);  // let the X server forget the old window
    }
    Print("start-up to the mapped window", mapped);
    Print("start-up to the first frame showing the title", title);
    Print("CPU time the program used until then", cpu);
    return 0;
}

void PressKey(Display* display, KeySym sym) {
    const KeyCode code = XKeysymToKeycode(display, sym);
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    XTestFakeKeyEvent(display, code, False, CurrentTime);
    XFlush(display);
}

std::string ProcStatus(pid_t pid, const char* field) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    const size_t n = std::strlen(field);
    while (std::getline(in, line))
        if (line.compare(0, n, field) == 0 && line.size() > n && line[n] == ':') {
            const auto first = line.find_first_not_of(" \t", n + 1);
            return first == std::string::npos ? std::string() : line.substr(first);
        }
    return "?";
}

// Polls one 16 x 16 cell until `done` holds for it; the time from `start`, or -1.
template <typename Done>
double WaitForCell(Display* display, Window window, Offset o, int column, int row, Clock::time_point start,
                   Done done) {
    while (Clock::now() - start < std::chrono::seconds(5)) {
        if (auto cell = Grab(display, window, o.x + 16 * column, o.y + 16 * row, 16, 16); cell && done(*cell))
            return Ms(Clock::now() - start);
        SleepMs(0.2);
    }
    return -1;
}

int MeasureKeys(Display* display, int samples, const char* program) {
    const pid_t pid = Start(program);
    const auto seen = WaitForTitle(display, pid, Clock::now());
    if (!seen) {
        std::fprintf(stderr, "the title screen did not show\n");
        Stop(pid);
        return 1;
    }
    const Window w = seen->window;
    const Offset o = seen->offset;
    XSetInputFocus(display, w, RevertToParent, CurrentTime);
    XSync(display, False);
    SleepMs(300);
    PressKey(display, XK_p);  // a new game: the prompt stands at column 25 of row 22
    const auto notBlack = [](const Picture& p) {
        return std::any_of(p.pixels.begin(), p.pixels.end(), [](uint32_t c) { return c != 0; });
    };
    if (WaitForCell(display, w, o, 25, 22, Clock::now(), notBlack) < 0) {
        std::fprintf(stderr, "P did not start a game\n");
        Stop(pid);
        return 1;
    }
    SleepMs(1000);

    // The letter A as it stands at the first place of the command line.
    PressKey(display, XK_a);
    SleepMs(500);
    const auto letter = Grab(display, w, o.x + 16 * 26, o.y + 16 * 22, 16, 16);
    PressKey(display, XK_BackSpace);
    SleepMs(500);
    if (!letter || !notBlack(*letter)) {
        std::fprintf(stderr, "typing A showed nothing at the prompt\n");
        Stop(pid);
        return 1;
    }
    const auto isLetter = [&](const Picture& p) { return p.pixels == letter->pixels; };
    const auto isNotLetter = [&](const Picture& p) { return p.pixels != letter->pixels; };

    // Keys come at odd moments, so the two ticks (260 and 210 ms) fall anywhere.
    std::mt19937 random(12345);
    std::uniform_real_distribution<double> pause(40.0, 160.0);
    std::vector<double> typed, erased;
    for (int i = 0; i < samples; ++i) {
        SleepMs(pause(random));
        auto start = Clock::now();
        PressKey(display, XK_a);
        const double a = WaitForCell(display, w, o, 26, 22, start, isLetter);
        SleepMs(pause(random));
        start = Clock::now();
        PressKey(display, XK_BackSpace);
        const double b = WaitForCell(display, w, o, 26, 22, start, isNotLetter);
        if (a < 0 || b < 0) {
            std::fprintf(stderr, "sample %d: the picture did not follow the key\n", i + 1);
            Stop(pid);
            return 1;
        }
        typed.push_back(a);
        erased.push_back(b);
    }
    Print("key A to the letter on screen", typed);
    Print("Backspace to the letter gone", erased);

    SleepMs(5000);  // standing on the play screen, the ticks running
    std::printf("memory on the play screen: VmRSS %s, VmHWM (peak) %s\n", ProcStatus(pid, "VmRSS").c_str(),
                ProcStatus(pid, "VmHWM").c_str());
    Stop(pid);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4 || (std::strcmp(argv[1], "startup") != 0 && std::strcmp(argv[1], "keys") != 0)) {
        std::fprintf(stderr, "usage: %s startup RUNS PROGRAM | keys SAMPLES PROGRAM\n", argv[0]);
        return 2;
    }
    const int count = std::max(1, std::atoi(argv[2]));
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "cannot open the X display; set DISPLAY\n");
        return 2;
    }
    int event, error, major, minor;
    if (!XTestQueryExtension(display, &event, &error, &major, &minor)) {
        std::fprintf(stderr, "the X server has no XTEST extension\n");
        return 2;
    }
    const int result = std::strcmp(argv[1], "startup") == 0 ? MeasureStartup(display, count, argv[3])
                                                            : MeasureKeys(display, count, argv[3]);
    XCloseDisplay(display);
    return result;
}
