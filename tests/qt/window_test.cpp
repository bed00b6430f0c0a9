// SPDX-License-Identifier: GPL-3.0-or-later
// The real window on Qt's offscreen platform, driven with key and mouse events and
// looked at through its own painting; then the host's small parts.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QTimer>
#include <QMenuBar>
#include <QMetaEnum>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/core.h"
#include "folders.h"
#include "world/world.h"
#include "placement.h"
#include "ports.h"
#include "renderer.h"
#include "window.h"

namespace {

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        host = std::make_unique<Host>(g);
        host->Start();
        ASSERT_TRUE(InitRenderer(r, g));
        w = std::make_unique<MainWindow>(*host, r);
        w->SetKeyTap([this](uint32_t key, int32_t repeat) { seen += " " + std::to_string(key) + (repeat ? "r" : ""); });
        w->ShowAsLastTime();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
        w->OnCommand(ID_ACTUAL_SIZE);
    }
    // A key as a shortcut is written ("Alt+Num+Enter"), a click of the left, right or middle mouse button,
    // or the window minimised or restored.
    void Do(const std::string& step) {
        const QPoint at = w->View().mapTo(w.get(), w->View().rect().center());
        const QKeyCombination key = QKeySequence(QString::fromStdString(step))[0];
        const auto button = step[0] == 'r' ? Qt::RightButton : step[0] == 'm' ? Qt::MiddleButton : Qt::LeftButton;
        if (step == "minimise" || step == "restore") {
            step == "minimise" ? w->showMinimized() : w->showNormal();
            EXPECT_TRUE(QTest::qWaitFor([&] { return w->isMinimized() == (step == "minimise") && w->Paused() >= w->isMinimized(); }));
        } else if (step == "double click") QTest::mouseDClick(w->windowHandle(), Qt::LeftButton, {}, at);
        else if (step.ends_with("click")) QTest::mouseClick(w->windowHandle(), button, {}, at);
        else QTest::keyClick(&w->View(), key.key(), key.keyboardModifiers());
    }
    // What the player sees: the scheme checked in the menu, window or full screen, the menu bar and mouse
    // cursor or neither (? when they disagree), the About box, paused (? when the title disagrees), the game's
    // mode or closed, and the keys that reached the game since last asked (r: repeated).
    std::string State() {
        if (!w->isVisible()) return "closed";
        std::string s;
        const char* schemes[] = {"gray", "green", "amber"};  // the View menu's first three commands
        for (int i = 0; i < 3; ++i) s += w->Action(ID_VIEW_GRAY + i)->isChecked() ? schemes[i] : "";
        const bool full = w->FullScreen(), bar = w->menuBar()->isVisible();
        s += full != w->Action(ID_VIEW_FULL_SCREEN)->isChecked() ? " full?" : full ? " full" : " window";
        if (bar == w->MenuDetached() || bar == (w->View().cursor().shape() == Qt::BlankCursor)) s += " menu?";
        s += std::string(bar ? " menu" : " bare") + (g.aboutShown ? " about" : "") + (w->Paused() ? " paused" : "");
        s += w->windowTitle() == (w->Paused() ? "Grimspire - Paused" : "Grimspire") ? "" : "?";
        s += w->Action(ID_VIEW_SOUND)->isChecked() ? "" : " mute";
        s += w->FullScreen() ? "" : " x" + std::to_string(w->Zoom());
        s += (g.mode == Title ? " title" : g.mode == Play ? " play" : " mode " + std::to_string(g.mode)) + seen;
        seen.clear();
        return s;
    }
    GameState g{};
    std::unique_ptr<Host> host;
    Renderer r;
    std::unique_ptr<MainWindow> w;
    std::string seen;
};

// The rows of a table beside this file (window.txt, keys.txt, menus.txt), with their line numbers.
std::vector<std::pair<int, std::string>> Rows(const char* name) {
    std::ifstream in(std::string(GRIMSPIRE_QT_TESTS) + "/" + name);
    std::vector<std::pair<int, std::string>> rows;
    int n = 0;
    for (std::string line; std::getline(in, line);) {
        if (++n, !line.empty() && line[0] != '#') rows.emplace_back(n, line);
    }
    EXPECT_FALSE(rows.empty()) << name;
    return rows;
}

TEST_F(WindowTest, MenuCommandsWorkByTheirKeysWithAndWithoutTheMenuBar) {
    w->SetAsker([this](int id) { return seen += id == ID_ZOOM_IN ? " no-fit" : " asked", QString(); });
    for (const auto& [line, row] : Rows("window.txt")) {
        const size_t bar = row.find(" | ");
        Do(row.substr(0, bar));
        EXPECT_EQ(State(), row.substr(bar + 3)) << "window.txt:" << line;
    }
    EXPECT_EQ(w->windowIcon().pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32),
              QImage(QStringLiteral(":/icons/grimspire-green-32.png")).convertToFormat(QImage::Format_ARGB32));
    std::string menus, want;
    for (QAction* menu : w->menuBar()->actions()) {
        for (QAction* item : menu->menu()->actions()) {
            menus += (menu->text() + " " + (item->isSeparator() ? "-" : item->text().replace('\t', " | ")) + "\n").toStdString();
        }
    }
    for (const auto& row : Rows("menus.txt")) want += row.second + "\n";
    EXPECT_EQ(menus, want);
}

TEST_F(WindowTest, KeysReachTheGameAsVirtualKeyCodes) {
    bool held = true;
    for (const auto& [line, row] : Rows("keys.txt")) {
        std::istringstream in(row);
        std::string name, mods;
        quint32 place = 0;
        int code = 0;
        in >> name >> mods >> place >> code;
        bool named = false;
        const int key = QMetaEnum::fromType<Qt::Key>().keyToValue(name.c_str(), &named);
        QKeyEvent press(QEvent::KeyPress, named ? key : std::stoi(name, nullptr, 0),
                        Qt::KeyboardModifiers(QMetaEnum::fromType<Qt::KeyboardModifier>().keysToValue(mods.c_str())),
                        place, 0, 0, QString(), held = !held);
        QApplication::sendEvent(&w->View(), &press);
        EXPECT_EQ(seen, code ? " " + std::to_string(code) + (held ? "r" : "") : "") << "keys.txt:" << line;
        seen.clear();
    }
}

// The picture at every zoom, after a resize and maximised: each of its pixels a whole square of device
// pixels, centred on black, at whatever scale the desktop has (this test runs at 1 and at 1.5); where
// twice the picture does not fit, as large as fits, smoothed from the next whole factor up.
TEST_F(WindowTest, ThePictureIsDrawnAtAWholeFactorAtAnySize) {
    Do("P");
    const auto whole = [&] {
        QCoreApplication::processEvents();  // the resize or zoom before it, painted
        const QImage shot = w->View().grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage one = ImageOf(w->WindowSurface());
        const Placement p = PlaceSharp(shot.width(), shot.height(), w->View().devicePixelRatioF());
        const double scale = double(p.right - p.left) / kPictureWidth;
        const int m = Smoothed(p) ? 1 : 0;  // smoothing blends in the neighbours
        for (int y = 0; y < shot.height(); ++y) {
            for (int x = 0; x < shot.width(); ++x) {
                // Black outside the picture; inside, between the darkest and brightest of the pixels it was drawn from.
                const bool inside = x >= p.left && x < p.right && y >= p.top && y < p.bottom;
                const int got = qGreen(shot.pixel(x, y));
                int low = inside ? 255 : 0, high = 0;
                for (int sy = int((y - p.top) / scale) - m; inside && sy <= int(std::ceil((y + 1 - p.top) / scale)) - 1 + m; ++sy) {
                    for (int sx = int((x - p.left) / scale) - m; sx <= int(std::ceil((x + 1 - p.left) / scale)) - 1 + m; ++sx) {
                        const int v = qGreen(one.pixel(std::clamp(sx, 0, kPictureWidth - 1), std::clamp(sy, 0, kPictureHeight - 1)));
                        low = std::min(low, v), high = std::max(high, v);
                    }
                }
                if (got < low || got > high) return "pixel " + std::to_string(x) + "," + std::to_string(y);
            }
        }
        return "x" + std::to_string(p.factor) + (Smoothed(p) ? " smoothed" : "") +
               (p.left == 0 && p.top == 0 ? " filled" : " centred");
    };
    EXPECT_EQ(whole(), "x1 filled");
    Do("Ctrl++");
    EXPECT_EQ(whole(), "x2 filled");
    w->resize(w->width() + 300, w->height() + 150);
    // At a scale of 1.5 the window no longer holds twice the picture in the desktop's own pixels.
    EXPECT_EQ(whole(), w->devicePixelRatioF() > 1 ? "x3 smoothed centred" : "x2 centred");
    w->showMaximized();
    EXPECT_TRUE(QTest::qWaitFor([&] { return w->isMaximized(); }));
    // 1920 x 1200 less the menu bar holds no third; scaled, Qt gives 2.25 device pixels to one of the
    // window's own, and the 1277 x 778 of its own hold no twice: smoothed from 5 times.
    EXPECT_EQ(whole(), w->devicePixelRatioF() > 1 ? "x5 smoothed centred" : "x2 centred");
    w->showNormal();
    w->resize(1000, 600);  // a laptop's window: no twice, so the picture fills it
    EXPECT_EQ(whole(), w->devicePixelRatioF() > 1 ? "x4 smoothed centred" : "x2 smoothed centred");
    Do("Ctrl+0");
    EXPECT_EQ(whole(), "x1 filled");
}

// Game > Save Game... saves by the name from the dialog, a name longer than a command holds refused with a
// warning. Game > Load Game... lists the saves, the kept game first as Continue and then the newest first,
// each with its name, time, score and its screen drawn small in the current colour; a double click or Enter
// opens one, at the title as in play. Closing in the middle of a game asks nothing (xvfb_smoke.sh sees the
// game it keeps brought back).
TEST_F(WindowTest, TheSaveBrowserShowsEverySaveWithItsPictureAndOpensOne) {
    namespace fs = std::filesystem;
    const std::string folder = I_SaveFolder();
    fs::remove_all(folder);
    fs::create_directories(folder);
    const auto where = [&] { return std::to_string(g.currentRoom) + ":" + std::to_string(g.playerColumn) + "," + std::to_string(g.playerRow); };
    std::map<std::string, std::pair<std::string, std::vector<uint8_t>>> saved;  // where, and the screen
    std::string asked, name;
    const auto ask = [&](int id) { return asked += " " + std::to_string(id ? id - ID_NEW_GAME : 0), QString::fromStdString(folder + "/" + name); };
    w->SetAsker(ask);
    Do("F6");
    Do("P");
    for (const char* step : {"ONE", "Left", "TWO", "Up", "THREE", "Up", "FIFTEEN LETTERS", "kept"}) {
        if (std::string(step) == "Left" || std::string(step) == "Up") {
            Do(step);
            std::find_if(std::begin(g.items), std::end(g.items), [](const ItemRecord& i) { return i.treasure; })->carried = 1;
            continue;
        }
        saved[step] = {where(), std::vector<uint8_t>(g.screen, g.screen + kScreenCells)};
        name = step;
        Do(std::string(step) == "kept" ? "F2" : "Ctrl+S");
    }
    EXPECT_FALSE(fs::exists(fs::path(folder) / "FIFTEEN LETTERS"));
    EXPECT_EQ(asked, " 8 8 8 8 0");  // three saves; a name longer than a command holds, and its warning
    w->SetAsker(nullptr);  // the real browser from here
    const auto now = fs::file_time_type::clock::now();
    int age = 4;
    for (const char* file : {"kept-game", "THREE", "ONE", "TWO"}) fs::last_write_time(fs::path(folder) / file, now - std::chrono::minutes(age--));
    std::ofstream(fs::path(folder) / "NOTES") << "not a saved game";
    // Each cell of a small picture as bright as the glyph the screen holds there, and in green alone.
    std::vector<int> lit(256);
    for (int code = 0; code < 256; ++code) {
        for (int i = 0; i < 256; ++i) lit[code] += (r.screenGlyphs.pixels[(i / 16) * r.screenGlyphs.stride + code * kGlyphCellWidth + i % 16] & 0xFFFFFF) != 0;
    }
    const auto matches = [&](const QImage& small, const std::vector<uint8_t>& screen) {
        if (small.size() != QSize(kSmallWidth, kSmallHeight)) return false;
        for (int cell = 0; cell < kScreenCells; ++cell) {
            int green = 0;
            for (int i = 0; i < 16; ++i) {
                const QRgb p = small.pixel(cell / kScreenRows * 4 + i % 4, cell % kScreenRows * 4 + i / 4);
                if (qRed(p) || qBlue(p)) return false;
                green += qGreen(p);
            }
            if (std::abs(green - lit[screen[static_cast<size_t>(cell)]] * 255 / 16) > 16) return false;
        }
        return true;
    };
    // Opens the browser, lists what it shows ("title score, picture right?"), then does `act` in it.
    const auto browse = [&](const std::function<void(QListWidget&)>& act) {
        w->activateWindow();  // the offscreen platform gives nothing back when a dialog goes
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        std::string shown;
        QTimer::singleShot(0, [&] {
            ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }));
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
            auto* list = dialog->findChild<QListWidget*>();
            ASSERT_NE(list, nullptr);
            for (int i = 0; i < list->count(); ++i) {
                const QStringList lines = list->item(i)->text().split(QLatin1Char('\n'));
                const std::string title = lines[0].toStdString();
                const QImage small = list->item(i)->icon().pixmap(QSize(kSmallWidth, kSmallHeight)).toImage();
                shown += title + " " + lines[2].toStdString() + (matches(small, saved[title == "Continue" ? "kept" : title].second) ? ", " : " wrong, ");
            }
            act(*list);
        });
        Do("Ctrl+O");
        return shown;
    };
    State();
    const std::string all = "Continue Score 50, TWO Score 50, ONE Score 0, THREE Score 50, ";
    EXPECT_EQ(browse([&](QListWidget& list) {
                  const QPoint at = list.visualItemRect(list.item(0)).center();
                  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);  // a double click's first half
                  QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
              }), all);
    EXPECT_EQ(State(), "green window menu x1 play 17");
    EXPECT_EQ(where(), saved["kept"].first);  // continued
    EXPECT_EQ(browse([&](QListWidget& list) {
                  QTest::keyClick(&list, Qt::Key_Down);
                  QTest::keyClick(&list, Qt::Key_Down);
                  QTest::keyClick(&list, Qt::Key_Return);
              }), all);
    EXPECT_EQ(where(), saved["ONE"].first);
    w->SetAsker(ask);
    w->close();
    EXPECT_EQ(asked + " " + State(), " 8 8 8 8 0 closed");  // nothing more asked
    fs::remove_all(folder);
}

// The castle's clocks stand while a dialog does: with the ogre beside the man, five seconds of the Load
// dialog leave the picture as it was; after it the ogre strikes.
TEST_F(WindowTest, TheClocksStandWhileTheLoadDialogIsOpen) {
    Do("P");
    EnterRoom(g, 3);
    g.playerColumn = 11;
    g.playerRow = 8;
    Cell(g, 11, 8) = 0x05;
    w->PresentScreen();
    const QImage before = w->View().grab().toImage();
    bool same = false;
    w->SetAsker([&](int) {
        QTest::qWait(5000);
        same = w->View().grab().toImage() == before;
        return QString();
    });
    const int32_t strength = g.strength;
    Do("Ctrl+O");
    EXPECT_TRUE(same);
    EXPECT_EQ(g.strength, strength);
    EXPECT_TRUE(QTest::qWaitFor([&] { return g.strength < strength; }, 20000));
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The best-score store where nothing can be written, so that no player's best score is touched.
    qputenv("XDG_CONFIG_HOME", "/proc/grimspire-nowhere");
    // Kept games and saves in a folder of the tests' own, never a player's.
    SetSaveFolder((QDir::tempPath() + QStringLiteral("/grimspire-window-test")).toStdString());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
