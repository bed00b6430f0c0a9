// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: feeds key presses, the two ticks and the menu commands to the
// game and shows the rendered picture at a whole factor, windowed or on the whole
// screen; keeps the player's choices in the settings file.
#pragma once

#include <QMainWindow>
#include <QTimer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>

#include <QElapsedTimer>

#include "commands.h"
#include "host.h"
#include "renderer.h"

class QAction;

constexpr int kCommandCount = ID_ACTUAL_SIZE - ID_NEW_GAME + 1;

// The colour schemes, named by their icon groups.
enum : int { SCHEME_GRAY = 112, SCHEME_GREEN = 113, SCHEME_AMBER = 114 };

class MainWindow;

// The client area: the picture at a whole factor of device pixels, centred on black.
class ScreenView final : public QWidget {
public:
    explicit ScreenView(MainWindow& window);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    MainWindow& window_;
    Qt::MouseButton lastClickButton_ = Qt::NoButton;
    quint64 lastClickTime_ = 0;
    QPoint lastClickPosition_;
};

class MainWindow final : public QMainWindow {
public:
    MainWindow(Host& host, Renderer& renderer);

    void OnCommand(int id);
    void OnKeyDown(uint32_t key, int32_t repeat, bool ctrl = false);
    // Runs the ticks that are due and sets the clock for the next.
    void OnClock();
    // Draws the grid into the window's picture and asks for a repaint.
    void PresentScreen();
    // Places the window as the settings have it, or at the first start centred at the
    // largest zoom that fits most of the screen; then shows it.
    void ShowAsLastTime();

    const Surface& WindowSurface() const { return windowSurface_; }
    ScreenView& View() { return *view_; }
    QAction* Action(int id) const;
    int SchemeId() const { return schemeId_; }
    bool FullScreen() const { return fullScreen_; }
    bool MenuDetached() const { return menuDetached_; }
    bool Paused() const { return host_.Paused(); }
    // The whole factor the picture is drawn at now.
    int Zoom() const;
    // Called with every key the game got; for tests.
    void SetKeyTap(std::function<void(uint32_t, int32_t)> tap) { keyTap_ = std::move(tap); }
    // Stands in for the file dialogs, the leave question (ID_EXIT) and the warning of a
    // name too long (0); for tests.
    void SetAsker(std::function<QString(int id)> asker) { asker_ = std::move(asker); }

    void ToggleMenuAndCursor();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QAction* AddCommand(QMenu* menu, const QString& text, int id, const QList<QKeySequence>& keys);
    void BuildMenu();
    void SetScheme(int id);
    void SetSchemeIcon(int id);
    void UpdateMenuChecks();
    void ToggleFullScreen();
    void SetZoom(int factor);
    int LargestZoom() const;
    void Carry(HostRequest request);
    void Follow();
    void SaveOrLoad(bool save);
    QString Ask(int id);
    void SaveSettings() const;

    Host& host_;
    Renderer& renderer_;
    Surface windowSurface_;
    ScreenView* view_ = nullptr;
    std::array<QAction*, kCommandCount> actions_{};
    QTimer clock_;
    QElapsedTimer elapsed_;
    uint64_t shownSettings_ = 0;
    int schemeId_ = SCHEME_GRAY;
    int zoom_ = 1;
    bool fullScreen_ = false;
    bool menuDetached_ = false;
    std::function<void(uint32_t, int32_t)> keyTap_;
    std::function<QString(int)> asker_;
};
