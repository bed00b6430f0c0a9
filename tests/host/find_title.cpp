// SPDX-License-Identifier: GPL-3.0-or-later
// Looks for the picture a freshly started program shows (the title screen in
// gray) inside a screen capture, enlarged by a whole factor when one is given.
// Exit status 0 when it is there, pixel for pixel, 1 when not, 2 when the
// capture cannot be read.
//   grimspire-find-title [--scale N] CAPTURE.png
#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/core.h"
#include "renderer.h"

namespace {

bool FoundAt(const QImage& capture, const QImage& title, int dx, int dy) {
    for (int y = 0; y < title.height(); ++y) {
        const auto* want = reinterpret_cast<const QRgb*>(title.constScanLine(y));
        const auto* have = reinterpret_cast<const QRgb*>(capture.constScanLine(y + dy)) + dx;
        for (int x = 0; x < title.width(); ++x) {
            if ((want[x] ^ have[x]) & 0xFFFFFF) return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    int scale = 1;
    if (argc == 4 && std::strcmp(argv[1], "--scale") == 0) {
        scale = std::atoi(argv[2]);
        argv[1] = argv[3];
        argc = 2;
    }
    if (argc != 2 || scale < 1) {
        std::fprintf(stderr, "usage: %s [--scale N] CAPTURE.png\n", argv[0]);
        return 2;
    }
    QGuiApplication app(argc, argv);
    static GameState g;
    InitGameState(g);
    Renderer r;
    if (!InitRenderer(r, g)) return 2;
    Surface title;
    CreateSurface(title, kPictureWidth, kPictureHeight);
    DrawScreen(r, title, 0, 0);
    // Every picture pixel a block of scale x scale, as the full screen shows it.
    const QImage wanted = title.image.scaled(kPictureWidth * scale, kPictureHeight * scale, Qt::IgnoreAspectRatio,
                                             Qt::FastTransformation);
    const QImage capture = QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB32);
    if (capture.isNull()) return 2;
    for (int dy = 0; dy + wanted.height() <= capture.height(); ++dy) {
        for (int dx = 0; dx + wanted.width() <= capture.width(); ++dx) {
            if (FoundAt(capture, wanted, dx, dy)) {
                std::printf("title picture at %d,%d in a %dx%d capture\n", dx, dy, capture.width(), capture.height());
                return 0;
            }
        }
    }
    std::printf("no title picture in the %dx%d capture\n", capture.width(), capture.height());
    return 1;
}
