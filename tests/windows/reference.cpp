// SPDX-License-Identifier: GPL-3.0-or-later
// The pictures the Windows program must show in the smoke test, drawn by the
// Linux build of the same core and renderer from the same keys: each as two PPM
// files, the cursor shown and hidden, since the blink may be either way when the
// test looks. Also writes BEST, a saved game with a treasure in hand.
//   windows_reference GLYPHS.gif OUTDIR
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/core.h"
#include "fake_ports.h"
#include "glyphsheet.h"
#include "picture.h"
#include "save/save.h"

namespace {

GameState game;
Renderer renderer;

bool Write(const GameState& g, const std::string& name) {
    Renderer r = renderer;
    r.game = const_cast<GameState*>(&g);
    Surface picture;
    CreateSurface(picture, kPictureWidth, kPictureHeight);
    DrawScreen(r, picture, 0, 0);
    std::ofstream out(name, std::ios::binary);
    out << "P6\n" << picture.width << ' ' << picture.height << "\n255\n";
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const uint32_t p = picture.pixels[y * picture.stride + x];
            out.put(static_cast<char>(p >> 16)).put(static_cast<char>(p >> 8)).put(static_cast<char>(p));
        }
    }
    return static_cast<bool>(out);
}

bool Shoot(const std::string& name) {
    GameState blinked = game;
    BlinkTick(blinked);
    return Write(game, name + "-0.ppm") && Write(blinked, name + "-1.ppm");
}

void Keys(const std::string& text) {
    for (char c : text) HandleKey(game, c == '\n' ? uint32_t{VK_RETURN} : static_cast<uint8_t>(c), 0);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: windows_reference GLYPHS.gif OUTDIR\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::vector<uint8_t> gif((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::filesystem::current_path(argv[2]);
    fake::Reset();
    InitGameState(game);
    if (!InitRendererFromGif(renderer, game, gif.data(), gif.size())) return 1;

    // The first run: a new game, a reply, one name saved twice, then a best score.
    bool ok = Shoot("title");
    Keys("P");
    ok = ok && Shoot("court");
    Keys("LOOK WALL\n");
    ok = ok && Shoot("wall");
    Keys("SAVE TWICE\nSAVE TWICE\n");
    ok = ok && Shoot("saved");
    GameState rich = game;
    ItemRecord* treasure = rich.items;
    while (treasure->treasure == 0) ++treasure;  // the castle has thirteen
    treasure->carried = 1;                       // 50 points
    ok = ok && SaveGame(rich, "BEST");
    Keys("LOAD BEST\nQUIT\n");
    ok = ok && Shoot("summary");
    Keys(" WINE\n");
    ok = ok && Shoot("named");

    // The second run starts in amber, with the best score read back; its holder's
    // name, made 20 characters long by hand, is read as its first 15.
    const std::string longName = "WINEWINEWINEWINEWINE";
    fake::State().values["HighScoreName"] = {REG_SZ, std::vector<uint8_t>(longName.begin(), longName.end() + 1)};
    InitGameState(game);
    TintSurface(renderer.screenGlyphs, kAmberColour);
    ok = ok && Shoot("amber");
    Keys("PLOOK WALL\n");
    ok = ok && Shoot("best");
    return ok ? 0 : 1;
}
