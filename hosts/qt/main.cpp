// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <cstring>

#include "core/core.h"
#include "folders.h"
#include "host.h"
#include "renderer.h"
#include "sound.h"
#include "window.h"

namespace {
// The one game of the run.
GameState theGame;
Renderer theRenderer;
}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--save-dir") == 0) SetSaveFolder(argv[i + 1]);
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Grimspire"));
    // Lets Wayland desktops match the window to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.grimspire.Grimspire"));
    InitSoundCues();
    Host host(theGame);
    host.SetCueOutput(&SoundCues());
    host.SetSoundOn(SoundSetting());
    host.Start();
    if (!InitRenderer(theRenderer, theGame)) {
        const char* text = "Grimspire cannot start: its glyph sheet could not be decoded. "
                           "The program may be damaged, or Qt's GIF image plugin may be missing.";
        std::fprintf(stderr, "%s\n", text);
        const QString platform = QGuiApplication::platformName();
        if (platform != QLatin1String("offscreen") && platform != QLatin1String("minimal")) {
            QMessageBox::critical(nullptr, QStringLiteral("Grimspire"), QString::fromLatin1(text));
        }
        ShutDownSoundCues();
        return 1;
    }
    int result;
    {
        MainWindow window(host, theRenderer);
        window.ShowAsLastTime();
        result = QApplication::exec();
    }
    ShutDownSoundCues();
    return result;
}
