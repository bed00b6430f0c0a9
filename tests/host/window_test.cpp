// SPDX-License-Identifier: GPL-3.0-or-later
// The real window driven with key and mouse events: what reaches the game, what
// the menu commands do, the About box and full screen.
#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QMouseEvent>

#include <utility>
#include <vector>

#include "host_fixture.h"
#include "placement.h"

namespace {

using Keys = std::vector<std::pair<uint32_t, int32_t>>;

class WindowTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        w->SetKeyTap([this](uint32_t key, int32_t repeat) { seen.emplace_back(key, repeat); });
    }
    void Click(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(&w->View(), key, mods); }
    // A press as the keyboard's auto-repeat makes it, or a fresh one.
    void Send(Qt::Key key, bool autoRepeat, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, key, mods, QString(), autoRepeat);
        QApplication::sendEvent(&w->View(), &press);
    }
    Keys seen;
};

TEST_F(WindowTest, KeysReachTheGameAsVirtualKeyCodes) {
    const std::vector<std::pair<std::pair<int, Qt::KeyboardModifiers>, uint32_t>> cases = {
        {{Qt::Key_A, Qt::NoModifier}, 65},          {{Qt::Key_Z, Qt::NoModifier}, 90},
        {{Qt::Key_Space, Qt::NoModifier}, 32},      {{Qt::Key_Backspace, Qt::NoModifier}, 8},
        {{Qt::Key_Return, Qt::NoModifier}, 13},     {{Qt::Key_Enter, Qt::KeypadModifier}, 13},
        {{Qt::Key_Left, Qt::NoModifier}, 37},       {{Qt::Key_Up, Qt::NoModifier}, 38},
        {{Qt::Key_Right, Qt::NoModifier}, 39},      {{Qt::Key_Down, Qt::NoModifier}, 40},
        {{Qt::Key_0, Qt::KeypadModifier}, 96},      {{Qt::Key_9, Qt::KeypadModifier}, 105},
        {{Qt::Key_Home, Qt::KeypadModifier}, 36},   {{Qt::Key_Shift, Qt::NoModifier}, 16},
        {{Qt::Key_0, Qt::NoModifier}, 48},          {{Qt::Key_9, Qt::NoModifier}, 57},
        {{Qt::Key_Tab, Qt::NoModifier}, 9},         {{Qt::Key_F3, Qt::NoModifier}, 114},
    };
    Keys expected;
    for (const auto& [key, code] : cases) {
        Click(Qt::Key(key.first), key.second);
        expected.emplace_back(code, 0);
    }
    EXPECT_EQ(seen, expected);
    // A shifted key is Shift, then the key's own code.
    seen.clear();
    Click(Qt::Key_Exclam, Qt::ShiftModifier);
    EXPECT_EQ(seen, (Keys{{16, 0}, {49, 0}}));
}

TEST_F(WindowTest, RepeatFlagFollowsAutoRepeatAndReleasesAreIgnored) {
    Click(Qt::Key_P);  // into the courtyard
    ASSERT_EQ(g.mode, Play);
    seen.clear();
    Send(Qt::Key_Left, false);
    Send(Qt::Key_Left, true);
    Send(Qt::Key_Left, true);
    EXPECT_EQ(g.keyRepeat, 1);
    QTest::keyRelease(&w->View(), Qt::Key_Left);
    Send(Qt::Key_A, false);
    EXPECT_EQ(seen, (Keys{{37, 0}, {37, 1}, {37, 1}, {65, 0}}));
    EXPECT_EQ(g.keyRepeat, 0);
    EXPECT_STREQ(g.commandLine, "A");
}

TEST_F(WindowTest, ShortcutsAreCommandsAndNeverReachTheGame) {
    Click(Qt::Key_P);
    seen.clear();
    Click(Qt::Key_F6);
    EXPECT_EQ(w->SchemeId(), SCHEME_GREEN);
    Click(Qt::Key_F7);
    EXPECT_EQ(w->SchemeId(), SCHEME_AMBER);
    Click(Qt::Key_F5);
    EXPECT_EQ(w->SchemeId(), SCHEME_GRAY);
    Click(Qt::Key_Escape);  // nothing in a window
    EXPECT_FALSE(w->MenuDetached());
    Click(Qt::Key_F1);
    EXPECT_EQ(g.aboutShown, 1);
    Click(Qt::Key_F1);
    EXPECT_EQ(g.aboutShown, 0);
    Click(Qt::Key_Return, Qt::AltModifier);
    EXPECT_TRUE(w->FullScreen());
    Click(Qt::Key_Enter, Qt::AltModifier | Qt::KeypadModifier);
    EXPECT_FALSE(w->FullScreen());
    Click(Qt::Key_G, Qt::AltModifier);  // a menu key
    QTest::keyClick(QApplication::activePopupWidget() ? QApplication::activePopupWidget() : &w->View(), Qt::Key_Escape);
    EXPECT_EQ(g.mode, Play);
    Click(Qt::Key_F2);
    EXPECT_EQ(g.mode, Title);
    EXPECT_EQ(seen, Keys{});
}

TEST_F(WindowTest, MenuTextsIdsChecksAndShortcuts) {
    const std::vector<std::pair<int, QString>> items = {
        {ID_NEW_GAME, QStringLiteral("&New Game\tF2")},  {ID_EXIT, QStringLiteral("E&xit")},
        {ID_VIEW_GRAY, QStringLiteral("&Gray\tF5")},     {ID_VIEW_GREEN, QStringLiteral("G&reen\tF6")},
        {ID_VIEW_AMBER, QStringLiteral("&Amber\tF7")},   {ID_VIEW_FULL_SCREEN, QStringLiteral("&Full Screen\tAlt + Enter")},
        {ID_HELP_ABOUT, QStringLiteral("&About\tF1")},
    };
    for (const auto& [id, text] : items) {
        ASSERT_NE(w->Action(id), nullptr) << id;
        EXPECT_EQ(w->Action(id)->text(), text);
        EXPECT_EQ(w->Action(id)->data().toInt(), id);
    }
    const QList<QAction*> menus = w->menuBar()->actions();
    ASSERT_EQ(menus.size(), 3);
    EXPECT_EQ(menus[0]->text(), QStringLiteral("&Game"));
    EXPECT_EQ(menus[1]->text(), QStringLiteral("&View"));
    EXPECT_EQ(menus[2]->text(), QStringLiteral("&Help"));
    const QList<QAction*> view = menus[1]->menu()->actions();
    ASSERT_EQ(view.size(), 5);
    EXPECT_TRUE(view[3]->isSeparator());
    EXPECT_EQ(w->Action(ID_VIEW_FULL_SCREEN)->shortcuts().size(), 2);
    EXPECT_EQ(w->Action(ID_ESCAPE)->shortcut(), QKeySequence(Qt::Key_Escape));

    EXPECT_TRUE(w->Action(ID_VIEW_GRAY)->isChecked());
    w->Action(ID_VIEW_AMBER)->trigger();
    EXPECT_FALSE(w->Action(ID_VIEW_GRAY)->isChecked());
    EXPECT_FALSE(w->Action(ID_VIEW_GREEN)->isChecked());
    EXPECT_TRUE(w->Action(ID_VIEW_AMBER)->isChecked());
    // Choosing the checked scheme again keeps it checked.
    w->Action(ID_VIEW_AMBER)->trigger();
    EXPECT_TRUE(w->Action(ID_VIEW_AMBER)->isChecked());
    // The window icon follows the scheme.
    const QImage amberIcon(QStringLiteral(":/icons/grimspire-amber-32.png"));
    ASSERT_FALSE(amberIcon.isNull());
    EXPECT_EQ(w->windowIcon().pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32),
              amberIcon.convertToFormat(QImage::Format_ARGB32));
    EXPECT_EQ(w->View().size(), QSize(640, 400));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Grimspire"));
}

TEST_F(WindowTest, AboutBoxSwallowsTheNextKey) {
    Click(Qt::Key_F1);
    ASSERT_EQ(g.aboutShown, 1);
    Click(Qt::Key_P);
    EXPECT_EQ(g.aboutShown, 0);
    EXPECT_EQ(g.mode, Title);
    EXPECT_EQ(seen, Keys{});
    Click(Qt::Key_P);
    EXPECT_EQ(g.mode, Play);
    EXPECT_EQ(seen, (Keys{{80, 0}}));
    // New Game closes the box too.
    Click(Qt::Key_F1);
    Click(Qt::Key_F2);
    EXPECT_EQ(g.aboutShown, 0);
    EXPECT_EQ(g.mode, Title);
}

TEST_F(WindowTest, AboutBoxStopsTheTicks) {
    Click(Qt::Key_P);
    ASSERT_EQ(g.mode, Play);
    const int32_t cursor = g.cursorOn;
    Click(Qt::Key_F1);
    w->OnTimer(TIMER_BLINK);
    w->OnTimer(TIMER_EVENTS);
    EXPECT_EQ(g.cursorOn, cursor);
    Click(Qt::Key_F1);
    w->OnTimer(TIMER_BLINK);
    EXPECT_NE(g.cursorOn, cursor);

    // And the real timers: while the box stands the cursor never blinks, afterwards it does.
    int flips = 0;
    int32_t last = g.cursorOn;
    auto watch = [&](int ms) {
        for (int t = 0; t < ms; t += 10) {
            QTest::qWait(10);
            if (g.cursorOn != last) ++flips;
            last = g.cursorOn;
        }
    };
    Click(Qt::Key_F1);
    watch(700);
    EXPECT_EQ(flips, 0);
    Click(Qt::Key_F1);
    watch(1000);
    EXPECT_GE(flips, 2);
}

TEST_F(WindowTest, GameEndingClosesTheWindow) {
    Click(Qt::Key_P);
    g.mode = Summary;  // the play-again question stands
    g.awaitingKey = 0;
    Click(Qt::Key_N);
    EXPECT_FALSE(w->isVisible());
}

// The tests' best-score store cannot be written (see host_main.cpp); storing a
// name fails silently and the game goes on.
TEST_F(WindowTest, UnwritableBestScoreStoreIsNoObstacle) {
    SetMode(g, NameEntry);
    for (Qt::Key key : {Qt::Key_A, Qt::Key_B, Qt::Key_Return}) Click(key);
    EXPECT_EQ(g.mode, Title);
    EXPECT_STREQ(g.highScoreName, "AB");
    EXPECT_TRUE(w->isVisible());
    Click(Qt::Key_P);
    EXPECT_EQ(g.mode, Play);
}

TEST_F(WindowTest, FullScreenMenuAndCursor) {
    w->PresentScreen();
    Click(Qt::Key_Return, Qt::AltModifier);
    ASSERT_TRUE(w->FullScreen());
    EXPECT_TRUE(w->Action(ID_VIEW_FULL_SCREEN)->isChecked());
    EXPECT_TRUE(w->MenuDetached());
    EXPECT_FALSE(w->menuBar()->isVisible());
    EXPECT_EQ(w->View().cursor().shape(), Qt::BlankCursor);
    // The shortcuts still work with the menu bar hidden.
    Click(Qt::Key_F6);
    EXPECT_EQ(w->SchemeId(), SCHEME_GREEN);

    Click(Qt::Key_Escape);
    EXPECT_FALSE(w->MenuDetached());
    EXPECT_TRUE(w->menuBar()->isVisible());
    EXPECT_NE(w->View().cursor().shape(), Qt::BlankCursor);
    Click(Qt::Key_Escape);
    EXPECT_TRUE(w->MenuDetached());

    // A click toggles; a double click counts once. The clicks go through the
    // platform layer, which makes double clicks out of quick pairs.
    QWindow* handle = w->windowHandle();
    auto at = [&] { return w->View().mapTo(w.get(), w->View().rect().center()); };
    QTest::mouseClick(handle, Qt::LeftButton, Qt::NoModifier, at());
    EXPECT_FALSE(w->MenuDetached());
    QTest::mouseClick(handle, Qt::RightButton, Qt::NoModifier, at());
    EXPECT_TRUE(w->MenuDetached());
    QTest::mouseDClick(handle, Qt::LeftButton, Qt::NoModifier, at());
    EXPECT_FALSE(w->MenuDetached());
    QTest::mouseClick(handle, Qt::MiddleButton, Qt::NoModifier, at());
    EXPECT_FALSE(w->MenuDetached());
    QTest::mouseClick(handle, Qt::LeftButton, Qt::NoModifier, at());
    EXPECT_TRUE(w->MenuDetached());
    EXPECT_EQ(seen, Keys{});

    // Leaving with the menu shown keeps it; the window is 640 x 400 again.
    Click(Qt::Key_Escape);
    Click(Qt::Key_Return, Qt::AltModifier);
    EXPECT_FALSE(w->FullScreen());
    EXPECT_FALSE(w->Action(ID_VIEW_FULL_SCREEN)->isChecked());
    EXPECT_FALSE(w->MenuDetached());
    EXPECT_TRUE(w->menuBar()->isVisible());
    QTest::qWait(50);
    EXPECT_EQ(w->View().size(), QSize(640, 400));
    // Clicks in a window do nothing.
    QTest::mouseClick(handle, Qt::LeftButton, Qt::NoModifier, at());
    EXPECT_FALSE(w->MenuDetached());
}

TEST_F(WindowTest, FullScreenPictureIsScaledWholeAndCentredOnBlack) {
    for (uint8_t& c : g.screen) c = 0xDB;
    w->PresentScreen();
    Click(Qt::Key_Return, Qt::AltModifier);
    ASSERT_TRUE(w->FullScreen());
    QTest::qWait(50);
    const QImage shot = w->View().grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QSize size = shot.size();
    ASSERT_GT(size.width(), 0);
    const Placement p = PlacePicture(size.width(), size.height());
    for (int y = 0; y < size.height(); y += 3) {
        for (int x = 0; x < size.width(); x += 3) {
            const bool inside = x >= p.left && x < p.right && y >= p.top && y < p.bottom;
            ASSERT_EQ(shot.pixel(x, y) & 0xFFFFFF, inside ? kGrayColour : 0u) << x << "," << y;
        }
    }
}

}  // namespace
