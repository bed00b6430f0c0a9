// SPDX-License-Identifier: GPL-3.0-or-later
#include "window.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QStyleHints>

#include "core/core.h"
#include "keymap.h"
#include "placement.h"
#include "world/world.h"

ScreenView::ScreenView(MainWindow& window) : QWidget(&window), window_(window) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(kPictureWidth, kPictureHeight);
}

void ScreenView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QImage picture = ImageOf(window_.WindowSurface());
    if (!window_.FullScreen()) {
        painter.drawImage(0, 0, picture);
        return;
    }
    // Placed in device pixels, so that every picture pixel becomes a whole block of them.
    const qreal ratio = devicePixelRatioF();
    const Placement p = PlacePicture(qRound(width() * ratio), qRound(height() * ratio));
    const QRectF target(p.left / ratio, p.top / ratio, (p.right - p.left) / ratio, (p.bottom - p.top) / ratio);
    painter.fillRect(rect(), Qt::black);
    painter.drawImage(target, picture);
}

void ScreenView::keyPressEvent(QKeyEvent* event) {
    const uint32_t key = VirtualKeyFor(event->key(), event->modifiers(), event->nativeScanCode());
    if (key == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    window_.OnKeyDown(key, event->isAutoRepeat() ? 1 : 0);
}

// Only presses count.
void ScreenView::keyReleaseEvent(QKeyEvent* event) { event->accept(); }

void ScreenView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton) return;
    // Qt delivers the second click of a double click as a press too; a double
    // click is one click here.
    const QStyleHints* hints = QGuiApplication::styleHints();
    const QPoint where = event->position().toPoint();
    const bool secondOfDouble =
        lastClickButton_ == event->button() &&
        event->timestamp() - lastClickTime_ < static_cast<quint64>(hints->mouseDoubleClickInterval()) &&
        (where - lastClickPosition_).manhattanLength() <= hints->mouseDoubleClickDistance();
    if (secondOfDouble) {
        lastClickButton_ = Qt::NoButton;
        return;
    }
    lastClickButton_ = event->button();
    lastClickTime_ = event->timestamp();
    lastClickPosition_ = where;
    if (window_.FullScreen()) window_.ToggleMenuAndCursor();
}

// Without this Qt would hand the double click to mousePressEvent once more.
void ScreenView::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

// Tab is a key of the game, not a move between widgets.
bool ScreenView::focusNextPrevChild(bool) { return false; }

MainWindow::MainWindow(GameState& game, Renderer& renderer) : game_(game), renderer_(renderer) {
    setWindowTitle(QStringLiteral("Grimspire"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    CreateSurface(windowSurface_, kPictureWidth, kPictureHeight);
    view_ = new ScreenView(*this);
    setCentralWidget(view_);
    BuildMenu();
    FitWindowToClient();
    view_->setFocus();
    SetSchemeIcon(schemeId_);
    UpdateMenuChecks();
    PresentScreen();
    eventsTimer_.setInterval(kEventsPeriodMs);
    blinkTimer_.setInterval(kBlinkPeriodMs);
    connect(&eventsTimer_, &QTimer::timeout, this, [this] { OnTimer(TIMER_EVENTS); });
    connect(&blinkTimer_, &QTimer::timeout, this, [this] { OnTimer(TIMER_BLINK); });
    eventsTimer_.start();
    blinkTimer_.start();
}

QAction* MainWindow::AddCommand(QMenu* menu, const QString& text, int id, const QList<QKeySequence>& keys) {
    auto* action = new QAction(text, this);
    action->setData(id);
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    // Held by the window as well, so the keys work while the menu bar is hidden.
    addAction(action);
    if (menu) menu->addAction(action);
    connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    actions_[static_cast<size_t>(id - ID_NEW_GAME)] = action;
    return action;
}

void MainWindow::BuildMenu() {
    QMenu* gameMenu = menuBar()->addMenu(QStringLiteral("&Game"));
    AddCommand(gameMenu, QStringLiteral("&New Game\tF2"), ID_NEW_GAME, {QKeySequence(Qt::Key_F2)});
    gameMenu->addSeparator();
    AddCommand(gameMenu, QStringLiteral("E&xit"), ID_EXIT, {});
    QMenu* viewMenu = menuBar()->addMenu(QStringLiteral("&View"));
    AddCommand(viewMenu, QStringLiteral("&Gray\tF5"), ID_VIEW_GRAY, {QKeySequence(Qt::Key_F5)});
    AddCommand(viewMenu, QStringLiteral("G&reen\tF6"), ID_VIEW_GREEN, {QKeySequence(Qt::Key_F6)});
    AddCommand(viewMenu, QStringLiteral("&Amber\tF7"), ID_VIEW_AMBER, {QKeySequence(Qt::Key_F7)});
    viewMenu->addSeparator();
    AddCommand(viewMenu, QStringLiteral("&Full Screen\tAlt + Enter"), ID_VIEW_FULL_SCREEN,
               {QKeySequence(Qt::ALT | Qt::Key_Return), QKeySequence(Qt::ALT | Qt::Key_Enter)});
    QMenu* helpMenu = menuBar()->addMenu(QStringLiteral("&Help"));
    AddCommand(helpMenu, QStringLiteral("&About\tF1"), ID_HELP_ABOUT, {QKeySequence(Qt::Key_F1)});
    AddCommand(nullptr, QStringLiteral("Escape"), ID_ESCAPE, {QKeySequence(Qt::Key_Escape)});
    for (int id : {ID_VIEW_GRAY, ID_VIEW_GREEN, ID_VIEW_AMBER, ID_VIEW_FULL_SCREEN}) Action(id)->setCheckable(true);
}

QAction* MainWindow::Action(int id) const {
    if (id < ID_NEW_GAME || id > ID_ESCAPE) return nullptr;
    return actions_[static_cast<size_t>(id - ID_NEW_GAME)];
}

void MainWindow::OnCommand(int id) {
    switch (id) {
        case ID_NEW_GAME:
            SetMode(game_, Title);
            PresentScreen();
            break;
        case ID_EXIT:
            close();
            break;
        case ID_VIEW_GRAY: SetScheme(SCHEME_GRAY, kGrayColour); break;
        case ID_VIEW_GREEN: SetScheme(SCHEME_GREEN, kGreenColour); break;
        case ID_VIEW_AMBER: SetScheme(SCHEME_AMBER, kAmberColour); break;
        case ID_VIEW_FULL_SCREEN:
            ToggleFullScreen();
            UpdateMenuChecks();
            break;
        case ID_HELP_ABOUT:
            StopSound(game_);
            game_.aboutShown = game_.aboutShown ? 0 : 1;
            PresentScreen();
            break;
        case ID_ESCAPE:
            if (fullScreen_) ToggleMenuAndCursor();
            break;
        default: break;
    }
}

void MainWindow::SetScheme(int id, uint32_t colour) {
    TintSurface(renderer_.screenGlyphs, colour);
    PresentScreen();
    SetSchemeIcon(id);
    UpdateMenuChecks();
}

void MainWindow::SetSchemeIcon(int id) {
    schemeId_ = id;
    const char* name = id == SCHEME_GREEN ? "green" : id == SCHEME_AMBER ? "amber" : "gray";
    QIcon icon;
    for (int size : {16, 32}) icon.addFile(QStringLiteral(":/icons/grimspire-%1-%2.png").arg(name).arg(size));
    if (id == SCHEME_GREEN) {
        // The larger sizes are drawn in green only; desktops that want them get them here.
        for (int size : {48, 64, 128, 256}) icon.addFile(QStringLiteral(":/icons/grimspire-%1.png").arg(size));
    }
    setWindowIcon(icon);
}

void MainWindow::UpdateMenuChecks() {
    Action(ID_VIEW_GRAY)->setChecked(schemeId_ == SCHEME_GRAY);
    Action(ID_VIEW_GREEN)->setChecked(schemeId_ == SCHEME_GREEN);
    Action(ID_VIEW_AMBER)->setChecked(schemeId_ == SCHEME_AMBER);
    Action(ID_VIEW_FULL_SCREEN)->setChecked(fullScreen_);
}

void MainWindow::OnKeyDown(uint32_t key, int32_t repeat) {
    if (game_.aboutShown) {
        game_.aboutShown = 0;
        PresentScreen();
        return;
    }
    if (keyTap_) keyTap_(key, repeat);
    if (HandleKey(game_, key, repeat) == 0) {
        close();
        return;
    }
    PresentScreen();
}

void MainWindow::OnTimer(int id) {
    if (!game_.aboutShown) {
        if (id == TIMER_EVENTS) WorldTick(game_);
        if (id == TIMER_BLINK) BlinkTick(game_);
    }
    PresentScreen();
}

void MainWindow::PresentScreen() {
    DrawScreen(renderer_, windowSurface_, 0, 0);
    view_->update();
}

void MainWindow::ToggleMenuAndCursor() {
    menuDetached_ = !menuDetached_;
    menuBar()->setVisible(!menuDetached_);
    if (menuDetached_) {
        view_->setCursor(Qt::BlankCursor);
    } else {
        view_->unsetCursor();
    }
}

void MainWindow::ToggleFullScreen() {
    if (!fullScreen_) {
        fullScreen_ = true;
        layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
        view_->setMinimumSize(0, 0);
        view_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        if (!menuDetached_) ToggleMenuAndCursor();
        const QRect area = screen() ? screen()->geometry() : QRect();
        showFullScreen();
        // Without a window manager to honour the full-screen state, take the screen ourselves.
        if (!area.isEmpty()) setGeometry(area);
    } else {
        fullScreen_ = false;
        if (menuDetached_) ToggleMenuAndCursor();
        showNormal();
        FitWindowToClient();
        CenterWindowOnMonitor();
    }
    view_->update();
}

void MainWindow::FitWindowToClient() {
    view_->setFixedSize(kPictureWidth, kPictureHeight);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
}

void MainWindow::CenterWindowOnMonitor() {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->geometry();
    const QRect frame = frameGeometry();
    move(area.left() + (area.width() - frame.width()) / 2, area.top() + (area.height() - frame.height()) / 2);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    eventsTimer_.stop();
    blinkTimer_.stop();
    event->accept();
}
