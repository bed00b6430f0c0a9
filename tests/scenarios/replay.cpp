// SPDX-License-Identifier: GPL-3.0-or-later
// grimspire-replay: plays a scenario (one transcript case) through the core and the
// host, as the smoke tests type it into the real program, and writes into OUTDIR what
// they compare with at each `shot NAME`:
//   NAME-0.txt, NAME-1.txt   the terminal's screen (wide, or --narrow; --rows 25 or 24)
//   NAME-0.ppm, NAME-1.ppm   with --glyphs: the picture in the host's colour
// each with the cursor off and on, since a smoke test may look in either phase of its blink.
// `savefile NAME` saves the game as it stands as NAME; games the scenario saves land there too.
//   grimspire-replay [--narrow] [--rows N] [--glyphs GLYPHS.gif] SCENARIO OUTDIR
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "cells.h"
#include "core/core.h"
#include "glyphsheet.h"
#include "painter.h"
#include "picture.h"
#include "save/save.h"
#include "transcript.h"

namespace {

bool WriteRows(GameState g, const Glyphs& glyphs, int rows, int32_t cursor, const std::string& name) {
    g.cursorOn = cursor;
    EchoCommandLine(g);
    const Frame f = ComposeFrame(g, rows);
    std::ofstream out(name);
    for (int y = 0; y < f.rows; ++y) {
        std::string line;
        for (int x = 0; x < kScreenColumns; ++x) line += CellText(glyphs, f.code[y][x]);
        out << line.erase(line.find_last_not_of(' ') + 1) << '\n';
    }
    return static_cast<bool>(out);
}

bool WritePicture(GameState g, const std::vector<uint8_t>& gif, uint32_t colour, const std::string& name) {
    Renderer r;
    if (!InitRendererFromGif(r, g, gif.data(), gif.size())) return false;
    TintSurface(r.screenGlyphs, colour);
    Surface picture;
    CreateSurface(picture, kPictureWidth, kPictureHeight);
    DrawScreen(r, picture, 0, 0);
    std::ofstream out(name, std::ios::binary);
    out << "P6\n" << picture.width << ' ' << picture.height << "\n255\n";
    for (int i = 0; i < picture.width * picture.height; ++i) {
        const uint32_t p = picture.pixels[i / picture.width * picture.stride + i % picture.width];
        out.put(static_cast<char>(p >> 16)).put(static_cast<char>(p >> 8)).put(static_cast<char>(p));
    }
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    Glyphs glyphs;
    int rows = kScreenRows;
    std::vector<uint8_t> gif;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--narrow") glyphs.layout = Layout::Narrow;
        else if (a == "--rows" && i + 1 < argc) rows = std::atoi(argv[++i]);
        else if (a == "--glyphs" && i + 1 < argc) {
            std::ifstream in(argv[++i], std::ios::binary);
            gif.assign(std::istreambuf_iterator<char>(in), {});
        } else files.push_back(a);
    }
    const auto cases = files.size() == 2 ? LoadCases(files[0]) : std::vector<Case>();
    if (cases.size() != 1) {
        std::fprintf(stderr, "usage: grimspire-replay [--narrow] [--rows N] [--glyphs GLYPHS.gif] SCENARIO OUTDIR\n"
                             "(a scenario is one transcript case)\n");
        return 2;
    }
    std::filesystem::create_directories(files[1]);
    std::filesystem::current_path(files[1]);
    int faults = 0;
    Replay replay(cases[0], [&](int line, const std::string& what) {
        std::fprintf(stderr, "%s:%d: %s\n", files[0].c_str(), line, what.c_str());
        ++faults;
    });
    replay.extra = [&](const std::vector<std::string>& w) {
        GameState& g = replay.Game();
        if (w.size() == 2 && w[0] == "savefile") return SaveGame(g, w[1].c_str()) != 0;
        if (w.size() != 2 || w[0] != "shot") return false;
        GameState blinked = g;
        BlinkTick(blinked);
        const uint32_t colour = SchemeColour(replay.TheHost().CurrentScheme());
        return WriteRows(g, glyphs, rows, 0, w[1] + "-0.txt") && WriteRows(g, glyphs, rows, 1, w[1] + "-1.txt") &&
               (gif.empty() || (WritePicture(g, gif, colour, w[1] + "-0.ppm") &&
                                WritePicture(blinked, gif, colour, w[1] + "-1.ppm")));
    };
    replay.Run();
    return faults == 0 ? 0 : 1;
}
