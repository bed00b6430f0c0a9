// SPDX-License-Identifier: GPL-3.0-or-later
// Looks for the picture a freshly started program shows (the title screen in
// gray) inside a screen capture. Exit status 0 when it is there, pixel for pixel,
// 1 when not, 2 when the capture cannot be read.
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

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
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CAPTURE.png\n", argv[0]);
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
    const QImage capture = QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB32);
    if (capture.isNull()) return 2;
    for (int dy = 0; dy + kPictureHeight <= capture.height(); ++dy) {
        for (int dx = 0; dx + kPictureWidth <= capture.width(); ++dx) {
            if (FoundAt(capture, title.image, dx, dy)) {
                std::printf("title picture at %d,%d in a %dx%d capture\n", dx, dy, capture.width(), capture.height());
                return 0;
            }
        }
    }
    std::printf("no title picture in the %dx%d capture\n", capture.width(), capture.height());
    return 1;
}
