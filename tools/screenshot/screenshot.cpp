// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the title screen and a room through the real renderer and writes them as
// PNG files: grimspire-screenshot <directory>. The README shows them.
#include <QGuiApplication>
#include <QImage>
#include <QString>

#include <cstdio>

#include "core/core.h"
#include "renderer.h"
#include "world/world.h"

namespace {

GameState game;
Renderer renderer;

bool Save(const QString& path) {
    Surface picture;
    CreateSurface(picture, kPictureWidth, kPictureHeight);
    DrawScreen(renderer, picture, 0, 0);
    if (!ImageOf(picture).save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("wrote %s\n", qPrintable(path));
    return true;
}

void Type(const char* text) {
    for (const char* p = text; *p != '\0'; ++p) HandleKey(game, static_cast<uint8_t>(*p), 0);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: grimspire-screenshot <directory>\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    InitGameState(game);
    if (!InitRenderer(renderer, game)) {
        std::fprintf(stderr, "the glyph sheet cannot be decoded\n");
        return 1;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    if (!Save(dir + QStringLiteral("/title.png"))) return 1;

    // The throne room as a player first finds it, in green, after a look around.
    HandleKey(game, 'P', 0);
    EnterRoom(game, 13);
    for (int32_t y = kMapRows - 1; y >= 0; --y) {
        if (CellAt(game, 11, y) == 0x20 || CellAt(game, 11, y) == 0) {
            game.playerColumn = 11;
            game.playerRow = y;
            Cell(game, 11, y) = 0x05;
            break;
        }
    }
    Type("LOOK THRONE");
    HandleKey(game, VK_RETURN, 0);
    TintSurface(renderer.screenGlyphs, kGreenColour);
    if (!Save(dir + QStringLiteral("/room.png"))) return 1;

    TintSurface(renderer.screenGlyphs, kAmberColour);
    Type("INVENTORY");
    HandleKey(game, VK_RETURN, 0);
    return Save(dir + QStringLiteral("/amber.png")) ? 0 : 1;
}
