// SPDX-License-Identifier: GPL-3.0-or-later
#include "window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStyleHints>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <string>

#include "commands/commands.h"
#include "core/core.h"
#include "folders.h"
#include "keymap.h"
#include "placement.h"
#include "ports.h"
#include "savebrowser.h"
#include "savelist.h"
#include "settings.h"
#include "sound.h"
#include "world/world.h"

namespace {

const char* const kSchemeNames[] = {"gray", "green", "amber"};

int SchemeByName(const QString& name) {
    for (int i = 0; i < 3; ++i) {
        if (name == QLatin1String(kSchemeNames[i])) return SCHEME_GRAY + i;
    }
    return SCHEME_GRAY;
}

Scheme SchemeOf(int id) { return id == SCHEME_GREEN ? Scheme::Green : id == SCHEME_AMBER ? Scheme::Amber : Scheme::Gray; }

QSettings Settings() { return QSettings(SettingsPath(), QSettings::IniFormat); }

}  // namespace

ScreenView::ScreenView(MainWindow& window) : QWidget(&window), window_(window) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(kPictureWidth / 4, kPictureHeight / 4);
}

void ScreenView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QImage picture = ImageOf(window_.WindowSurface());
    // Placed in device pixels, so that every picture pixel becomes a whole block of
    // them at any desktop scale.
    const qreal ratio = devicePixelRatioF();
    const Placement p = PlaceSharp(qRound(width() * ratio), qRound(height() * ratio), ratio);
    const QRectF target(p.left / ratio, p.top / ratio, (p.right - p.left) / ratio, (p.bottom - p.top) / ratio);
    painter.fillRect(rect(), Qt::black);
    if (!Smoothed(p)) {
        painter.drawImage(target, picture);
        return;
    }
    // Between whole factors: enlarged by one past the space, then smoothed down to it.
    const QImage large = picture.scaled(picture.size() * p.factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    QImage fitted = large.scaled(p.right - p.left, p.bottom - p.top, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    fitted.setDevicePixelRatio(ratio);
    painter.drawImage(target.topLeft(), fitted);
}

void ScreenView::keyPressEvent(QKeyEvent* event) {
    const uint32_t key = VirtualKeyFor(event->key(), event->modifiers(), event->nativeScanCode());
    if (key == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    // AltGr arrives as Ctrl with Alt and types characters.
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool ctrl = (mods & Qt::ControlModifier) && !(mods & Qt::AltModifier);
    window_.OnKeyDown(key, event->isAutoRepeat() ? 1 : 0, ctrl);
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

MainWindow::MainWindow(Host& host, Renderer& renderer) : host_(host), renderer_(renderer) {
    setWindowTitle(QStringLiteral("Grimspire"));
    CreateSurface(windowSurface_, kPictureWidth, kPictureHeight);
    view_ = new ScreenView(*this);
    setCentralWidget(view_);
    BuildMenu();
    view_->setFocus();
    const QSettings settings = Settings();
    schemeId_ = SchemeByName(settings.value(QStringLiteral("View/scheme")).toString());
    host_.SetScheme(SchemeOf(schemeId_));
    host_.SetSoundOn(settings.value(QStringLiteral("View/sound"), true).toBool());
    // Precise, so that a minute of play is a minute of ticks.
    clock_.setTimerType(Qt::PreciseTimer);
    clock_.setSingleShot(true);
    connect(&clock_, &QTimer::timeout, this, [this] { OnClock(); });
    elapsed_.start();
    Follow();
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
    AddCommand(gameMenu, QStringLiteral("&Continue\tF9"), ID_CONTINUE, {QKeySequence(Qt::Key_F9)});
    gameMenu->addSeparator();
    AddCommand(gameMenu, QStringLiteral("&Save Game...\tCtrl+S"), ID_SAVE_GAME, {QKeySequence(Qt::CTRL | Qt::Key_S)});
    AddCommand(gameMenu, QStringLiteral("&Load Game...\tCtrl+O"), ID_LOAD_GAME, {QKeySequence(Qt::CTRL | Qt::Key_O)});
    AddCommand(gameMenu, QStringLiteral("Open Saves &Folder"), ID_OPEN_SAVES, {});
    gameMenu->addSeparator();
    AddCommand(gameMenu, QStringLiteral("&Pause\tF3"), ID_PAUSE, {QKeySequence(Qt::Key_F3), QKeySequence(Qt::Key_Pause)});
    gameMenu->addSeparator();
    AddCommand(gameMenu, QStringLiteral("E&xit"), ID_EXIT, {});
    // What can be chosen depends on where the game stands.
    connect(gameMenu, &QMenu::aboutToShow, this, [this] {
        Action(ID_CONTINUE)->setEnabled(host_.CanContinue());
        Action(ID_SAVE_GAME)->setEnabled(host_.CanSaveOrLoad());
        Action(ID_LOAD_GAME)->setEnabled(host_.CanLoad());
    });
    connect(gameMenu, &QMenu::aboutToHide, this, [this] {
        for (int id : {ID_CONTINUE, ID_SAVE_GAME, ID_LOAD_GAME}) Action(id)->setEnabled(true);  // the keys always try
    });
    QMenu* viewMenu = menuBar()->addMenu(QStringLiteral("&View"));
    AddCommand(viewMenu, QStringLiteral("&Gray\tF5"), ID_VIEW_GRAY, {QKeySequence(Qt::Key_F5)});
    AddCommand(viewMenu, QStringLiteral("G&reen\tF6"), ID_VIEW_GREEN, {QKeySequence(Qt::Key_F6)});
    AddCommand(viewMenu, QStringLiteral("&Amber\tF7"), ID_VIEW_AMBER, {QKeySequence(Qt::Key_F7)});
    viewMenu->addSeparator();
    AddCommand(viewMenu, QStringLiteral("&Full Screen\tAlt + Enter"), ID_VIEW_FULL_SCREEN,
               {QKeySequence(Qt::ALT | Qt::Key_Return), QKeySequence(Qt::ALT | Qt::Key_Enter)});
    AddCommand(viewMenu, QStringLiteral("Zoom &In\tCtrl++"), ID_ZOOM_IN,
               {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    AddCommand(viewMenu, QStringLiteral("Zoom &Out\tCtrl+-"), ID_ZOOM_OUT, {QKeySequence(Qt::CTRL | Qt::Key_Minus)});
    AddCommand(viewMenu, QStringLiteral("A&ctual Size\tCtrl+0"), ID_ACTUAL_SIZE, {QKeySequence(Qt::CTRL | Qt::Key_0)});
    viewMenu->addSeparator();
    AddCommand(viewMenu, QStringLiteral("&Sound\tF8"), ID_VIEW_SOUND, {QKeySequence(Qt::Key_F8)});
    QMenu* helpMenu = menuBar()->addMenu(QStringLiteral("&Help"));
    AddCommand(helpMenu, QStringLiteral("&About\tF1"), ID_HELP_ABOUT, {QKeySequence(Qt::Key_F1)});
    AddCommand(nullptr, QStringLiteral("Escape"), ID_ESCAPE, {QKeySequence(Qt::Key_Escape)});
    for (int id : {ID_VIEW_GRAY, ID_VIEW_GREEN, ID_VIEW_AMBER, ID_VIEW_FULL_SCREEN, ID_VIEW_SOUND, ID_PAUSE}) {
        Action(id)->setCheckable(true);
    }
}

QAction* MainWindow::Action(int id) const {
    if (id < ID_NEW_GAME || id > ID_CONTINUE) return nullptr;
    return actions_[static_cast<size_t>(id - ID_NEW_GAME)];
}

void MainWindow::OnCommand(int id) {
    Carry(host_.Command(id));
}

// Does what the host leaves to the window, then shows what changed.
void MainWindow::Carry(HostRequest request) {
    switch (request) {
        case HostRequest::Exit: close(); break;
        case HostRequest::FullScreen:
            ToggleFullScreen();
            UpdateMenuChecks();
            SaveSettings();
            break;
        case HostRequest::ZoomIn:
            if (fullScreen_) break;
            // Rather than nothing at all, the player hears why the window does not grow.
            if (Zoom() + 1 > LargestZoom()) Ask(ID_ZOOM_IN);
            else SetZoom(Zoom() + 1);
            break;
        case HostRequest::ZoomOut: SetZoom(std::max(Zoom() - 1, 1)); break;
        case HostRequest::ActualSize: SetZoom(1); break;
        case HostRequest::AskSaveName:
        case HostRequest::AskLoadName: SaveOrLoad(request == HostRequest::AskSaveName); break;
        case HostRequest::OpenSaves:
            QDir().mkpath(QFile::decodeName(I_SaveFolder()));
            QDesktopServices::openUrl(QUrl::fromLocalFile(QDir(QFile::decodeName(I_SaveFolder())).absolutePath()));
            break;
        case HostRequest::Escape:
            if (fullScreen_) ToggleMenuAndCursor();
            break;
        case HostRequest::None: break;
    }
    Follow();
}

// The picture, the menu's checks, the title and the clock as the host has them now.
void MainWindow::Follow() {
    if (shownSettings_ != host_.Settings()) {
        shownSettings_ = host_.Settings();
        const int id = SCHEME_GRAY + static_cast<int>(host_.CurrentScheme());
        if (id != schemeId_ || !isVisible()) {
            TintSurface(renderer_.screenGlyphs, SchemeColour(host_.CurrentScheme()));
            SetSchemeIcon(id);
        }
        Action(ID_VIEW_SOUND)->setChecked(host_.SoundOn());
        setWindowTitle(QString::fromLatin1(host_.WindowTitle()));
        UpdateMenuChecks();
        SaveSettings();
    }
    PresentScreen();
    const int64_t due = host_.NextDue();
    if (due < 0) {
        clock_.stop();
    } else {
        clock_.start(static_cast<int>(std::max<int64_t>(0, due - elapsed_.elapsed())));
    }
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
    Action(ID_PAUSE)->setChecked(host_.Paused());
}

void MainWindow::OnKeyDown(uint32_t key, int32_t repeat, bool ctrl) {
    if (host_.Key(key, repeat, ctrl) == KeyUse::Game && keyTap_) keyTap_(key, repeat);
    Carry(host_.Request());
}

void MainWindow::OnClock() {
    host_.Advance(elapsed_.elapsed());
    Follow();
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
        zoom_ = Zoom();
        if (!menuDetached_) ToggleMenuAndCursor();
        const QRect area = screen() ? screen()->geometry() : QRect();
        showFullScreen();
        // Without a window manager to honour the full-screen state, take the screen ourselves.
        if (!area.isEmpty()) setGeometry(area);
    } else {
        fullScreen_ = false;
        if (menuDetached_) ToggleMenuAndCursor();
        showNormal();
        SetZoom(zoom_);
    }
    view_->update();
}

int MainWindow::Zoom() const {
    const qreal ratio = view_->devicePixelRatioF();
    return std::max(1, PlacePicture(qRound(view_->width() * ratio), qRound(view_->height() * ratio)).factor);
}

// The largest factor whose window fits the screen's free area.
int MainWindow::LargestZoom() const {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen) return 1;
    const qreal ratio = screen->devicePixelRatio();
    const QRect area = screen->availableGeometry();
    const QSize frame = frameGeometry().size() - size();
    const int width = qRound((area.width() - frame.width()) * ratio) / kPictureWidth;
    const int height = qRound((area.height() - frame.height() - menuBar()->sizeHint().height()) * ratio) / kPictureHeight;
    return std::max(1, std::min(width, height));
}

void MainWindow::SetZoom(int factor) {
    if (fullScreen_) return;
    if (isMaximized()) showNormal();
    // Logical sizes rounded up, so that the device pixels hold the whole factor.
    const qreal ratio = view_->devicePixelRatioF();
    const int width = static_cast<int>(std::ceil(kPictureWidth * factor / ratio - 1e-6));
    const int height = static_cast<int>(std::ceil(kPictureHeight * factor / ratio - 1e-6));
    resize(width, height + menuBar()->sizeHint().height());
    zoom_ = factor;
    SaveSettings();
}

void MainWindow::ShowAsLastTime() {
    QSettings settings = Settings();
    const QScreen* screen = QGuiApplication::primaryScreen();
    int factor = settings.value(QStringLiteral("View/zoom"), 0).toInt();
    if (factor < 1 && screen) {
        // The first start: as large as fits about 80% of the screen.
        const QRect area = screen->availableGeometry();
        const qreal ratio = screen->devicePixelRatio();
        factor = std::max(1, static_cast<int>(std::min(area.width() * 0.8 * ratio / kPictureWidth,
                                                       area.height() * 0.8 * ratio / kPictureHeight)));
    }
    SetZoom(std::min(factor, LargestZoom()));  // a zoom kept from a larger screen shrinks to fit this one
    const QPoint position = settings.value(QStringLiteral("Window/position")).toPoint();
    const bool placed = settings.contains(QStringLiteral("Window/position")) &&
                        QGuiApplication::screenAt(position + QPoint(20, 20)) != nullptr;
    if (placed) {
        move(position);
    } else if (screen) {
        const QRect area = screen->availableGeometry();
        move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
    }
    show();
    if (settings.value(QStringLiteral("View/fullScreen"), false).toBool()) OnCommand(ID_VIEW_FULL_SCREEN);
}

void MainWindow::SaveSettings() const {
    if (!isVisible()) return;  // nothing chosen yet
    const bool sound = Action(ID_VIEW_SOUND)->isChecked();
    const bool placed = !fullScreen_ && !isMaximized();
    UpdateSettings([&](QSettings& settings) {
        settings.setValue(QStringLiteral("View/scheme"), QLatin1String(kSchemeNames[schemeId_ - SCHEME_GRAY]));
        settings.setValue(QStringLiteral("View/zoom"), zoom_);
        settings.setValue(QStringLiteral("View/fullScreen"), fullScreen_);
        settings.setValue(QStringLiteral("View/sound"), sound);
        if (placed) settings.setValue(QStringLiteral("Window/position"), pos());
    });
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) return;
    host_.SetHidden(isMinimized());
    Follow();
}

QString MainWindow::Ask(int id) {
    // The castle's clocks stand while a dialog or question does.
    host_.BeginDialog();
    Follow();
    struct Done {
        MainWindow* w;
        ~Done() {
            w->host_.EndDialog();
            w->Follow();
        }
    } done{this};
    if (asker_) return asker_(id);
    const QString folder = QFile::decodeName(I_SaveFolder());
    QDir().mkpath(folder);
    switch (id) {
        case ID_SAVE_GAME: return QFileDialog::getSaveFileName(this, QStringLiteral("Save Game"), folder);
        case ID_LOAD_GAME: return BrowseSaves(this, host_.Game(), renderer_.screenGlyphs, folder);
        case 0:
            QMessageBox::warning(this, QStringLiteral("Grimspire"),
                                 QStringLiteral("A saved game's name has at most 14 characters."));
            return {};
        case ID_ZOOM_IN:
            QMessageBox::information(this, QStringLiteral("Grimspire"),
                                     QStringLiteral("A larger window does not fit on this screen."));
            return {};
        default: return {};
    }
}

// The menu's save and load are the typed commands with a name from the dialog:
// the same checks, the same replies on the screen.
void MainWindow::SaveOrLoad(bool save) {
    const QString path = Ask(save ? ID_SAVE_GAME : ID_LOAD_GAME);
    if (path.isEmpty()) return;
    const QFileInfo file(path);
    SavedGame chosen;
    chosen.name = QFile::encodeName(file.fileName()).toStdString();
    // The kept game, chosen at the title, is continued rather than loaded.
    chosen.kept = file == QFileInfo(QFile::decodeName(I_SaveFolder()) + QStringLiteral("/") + QLatin1String(kKeptGameName));
    const std::string folder = QFile::encodeName(file.absolutePath()).toStdString();
    if (!(save ? host_.SaveOrLoadByName(true, folder, chosen.name) : OpenSavedGame(host_, folder, chosen))) Ask(0);
}

// Nothing is lost by closing: the game in play is kept, and Continue brings it back.
void MainWindow::closeEvent(QCloseEvent* event) {
    host_.Keep();
    SaveSettings();
    clock_.stop();
    event->accept();
}
