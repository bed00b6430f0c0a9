// SPDX-License-Identifier: GPL-3.0-or-later
// How well the window's clocks keep time: plays on the real window (offscreen)
// for the given seconds and counts the cursor's blinks, which the blink timer
// drives, against the count its period promises.
//   QT_QPA_PLATFORM=offscreen clock_drift [seconds]
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

#include "core/core.h"
#include "renderer.h"
#include "window.h"

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    qputenv("XDG_CONFIG_HOME", "/proc/grimspire-nowhere");
    QApplication app(argc, argv);
    static GameState g;
    static Renderer r;
    Host host(g);
    host.Start();
    if (!InitRenderer(r, g)) return 1;
    MainWindow w(host, r);
    w.ShowAsLastTime();
    w.OnKeyDown('P', 0);
    int blinks = 0;
    int32_t last = g.cursorOn;
    QElapsedTimer clock;
    clock.start();
    QTimer poll;
    poll.setTimerType(Qt::PreciseTimer);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (g.cursorOn != last) ++blinks, last = g.cursorOn;
        if (clock.elapsed() >= seconds * 1000) QApplication::quit();
    });
    poll.start(1);
    QApplication::exec();
    const double promised = static_cast<double>(clock.elapsed()) / kBlinkPeriodMs;
    std::printf("%d blinks in %lld ms; the period promises %.1f: %+.2f%%\n", blinks,
                static_cast<long long>(clock.elapsed()), promised, 100.0 * (blinks - promised) / promised);
    return 0;
}
