// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows program: one window that feeds key presses, the two ticks and the
// menu commands to the game and shows its picture, enlarged by whole factors.
// The game's headers come before <windows.h>, whose VK_ and REG_ macros would
// otherwise rewrite the game's own enumerators.
#include "commands/commands.h"
#include "core/core.h"
#include "world/world.h"

#include <windows.h>
#include <commdlg.h>
#include <mmsystem.h>
#include <shellapi.h>

#include <algorithm>
#include <string>

#include "glyphsheet.h"
#include "keyplaces.h"
#include "picture.h"
#include "placement.h"
#include "platform.h"
#include "resource.h"

namespace {

constexpr UINT_PTR TIMER_EVENTS = 1;
constexpr UINT_PTR TIMER_BLINK = 2;
constexpr DWORD kPeriods[3] = {0, kEventsPeriodMs, kBlinkPeriodMs};
constexpr DWORD kWindowStyle = WS_OVERLAPPEDWINDOW;

GameState theGame;
Renderer theRenderer;
Surface windowSurface;
HWND mainWindow = nullptr;
HMENU savedMenu = nullptr;  // the menu bar while full screen hides it
int schemeId = IDI_GRAY;
bool fullScreen = false;
bool paused = false;
bool pausedByMinimising = false;
int modalDepth = 0;    // a dialog is open: the clocks wait
DWORD dueAt[3] = {};
// Alt released after Alt+Enter would otherwise open the menu, as a lone Alt does.
bool altShortcutUsed = false;
WINDOWPLACEMENT windowedPlacement{};

struct Scheme {
    int id;
    int command;
    uint32_t colour;
};
constexpr Scheme kSchemes[] = {
    {IDI_GRAY, ID_VIEW_GRAY, kGrayColour},
    {IDI_GREEN, ID_VIEW_GREEN, kGreenColour},
    {IDI_AMBER, ID_VIEW_AMBER, kAmberColour},
};

void PresentScreen() {
    DrawScreen(theRenderer, windowSurface, 0, 0);
    InvalidateRect(mainWindow, nullptr, FALSE);
}

HMENU Menu() { return savedMenu != nullptr ? savedMenu : GetMenu(mainWindow); }

void UpdateMenuChecks() {
    const HMENU menu = Menu();
    for (const Scheme& s : kSchemes) CheckMenuItem(menu, s.command, schemeId == s.id ? MF_CHECKED : MF_UNCHECKED);
    CheckMenuItem(menu, ID_VIEW_FULL_SCREEN, fullScreen ? MF_CHECKED : MF_UNCHECKED);
    CheckMenuItem(menu, ID_VIEW_SOUND, SoundOn() ? MF_CHECKED : MF_UNCHECKED);
    CheckMenuItem(menu, ID_PAUSE, paused ? MF_CHECKED : MF_UNCHECKED);
}

void SetScheme(const Scheme& s) {
    TintSurface(theRenderer.screenGlyphs, s.colour);
    PresentScreen();
    schemeId = s.id;
    const HINSTANCE module = GetModuleHandleA(nullptr);
    for (auto [size, kind] : {std::pair{32, ICON_BIG}, std::pair{16, ICON_SMALL}}) {
        const HANDLE icon = LoadImageA(module, MAKEINTRESOURCEA(s.id), IMAGE_ICON, size, size, LR_SHARED);
        SendMessageA(mainWindow, WM_SETICON, kind, reinterpret_cast<LPARAM>(icon));
    }
    UpdateMenuChecks();
    WriteSetting("Scheme", static_cast<uint32_t>(s.id));
}

// The clocks keep their periods on average: each tick is timed from when the
// last one was due, not from when it came.
void StartTimer(UINT_PTR id, DWORD now) {
    dueAt[id] = now + kPeriods[id];
    SetTimer(mainWindow, id, kPeriods[id], nullptr);
}

void RescheduleTimer(UINT_PTR id) {
    const DWORD now = GetTickCount();
    dueAt[id] += kPeriods[id];
    // Far behind (the machine slept): start afresh rather than catch up in a burst.
    if (static_cast<LONG>(now - dueAt[id]) > static_cast<LONG>(kPeriods[id])) dueAt[id] = now + kPeriods[id];
    const LONG wait = static_cast<LONG>(dueAt[id] - now);
    SetTimer(mainWindow, id, static_cast<UINT>(std::max<LONG>(wait, USER_TIMER_MINIMUM)), nullptr);
}

void ShowTitleBar() { SetWindowTextA(mainWindow, paused ? "Grimspire - Paused" : "Grimspire"); }

void SetPaused(bool on) {
    if (on == paused) return;
    paused = on;
    if (paused) {
        KillTimer(mainWindow, TIMER_EVENTS);
        KillTimer(mainWindow, TIMER_BLINK);
    } else {
        pausedByMinimising = false;
        const DWORD now = GetTickCount();
        StartTimer(TIMER_EVENTS, now);
        StartTimer(TIMER_BLINK, now);
    }
    ShowTitleBar();
    UpdateMenuChecks();
}

RECT MonitorArea(bool workArea) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoA(MonitorFromWindow(mainWindow, MONITOR_DEFAULTTONEAREST), &info);
    return workArea ? info.rcWork : info.rcMonitor;
}

SIZE WindowSizeFor(int factor) {
    RECT r{0, 0, kPictureWidth * factor, kPictureHeight * factor};
    AdjustWindowRectEx(&r, kWindowStyle, TRUE, 0);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

// The largest factor whose window fits in about four fifths of the screen.
int FittingFactor() {
    const RECT area = MonitorArea(true);
    int factor = 1;
    while (true) {
        const SIZE s = WindowSizeFor(factor + 1);
        if (s.cx * 5 > (area.right - area.left) * 4 || s.cy * 5 > (area.bottom - area.top) * 4) return factor;
        ++factor;
    }
}

int CurrentFactor() {
    RECT client;
    GetClientRect(mainWindow, &client);
    return std::max(1, PlacePicture(client.right, client.bottom).factor);
}

// False when the window would not fit on the screen at that factor.
bool SetZoom(int factor) {
    if (fullScreen || factor < 1) return false;
    const SIZE s = WindowSizeFor(factor);
    const RECT area = MonitorArea(true);
    if (factor > 1 && (s.cx > area.right - area.left || s.cy > area.bottom - area.top)) return false;
    if (IsZoomed(mainWindow) || IsIconic(mainWindow)) ShowWindow(mainWindow, SW_RESTORE);
    RECT r;
    GetWindowRect(mainWindow, &r);
    // Kept on the screen when it grows.
    const LONG left = std::clamp<LONG>(r.left, area.left, std::max(area.left, area.right - s.cx));
    const LONG top = std::clamp<LONG>(r.top, area.top, std::max(area.top, area.bottom - s.cy));
    SetWindowPos(mainWindow, nullptr, left, top, s.cx, s.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

void SetMenuAndCursorShown(bool shown) {
    if (shown && savedMenu != nullptr) {
        SetMenu(mainWindow, savedMenu);
        savedMenu = nullptr;
    } else if (!shown && savedMenu == nullptr) {
        savedMenu = GetMenu(mainWindow);
        SetMenu(mainWindow, nullptr);
    }
}

void ToggleFullScreen() {
    fullScreen = !fullScreen;
    if (fullScreen) {
        windowedPlacement.length = sizeof windowedPlacement;
        GetWindowPlacement(mainWindow, &windowedPlacement);
        const RECT m = MonitorArea(false);
        SetMenuAndCursorShown(false);
        SetWindowLongA(mainWindow, GWL_STYLE, WS_POPUP | WS_VISIBLE);
        SetWindowPos(mainWindow, HWND_TOPMOST, m.left, m.top, m.right - m.left, m.bottom - m.top, SWP_FRAMECHANGED);
    } else {
        SetMenuAndCursorShown(true);
        SetWindowLongA(mainWindow, GWL_STYLE, kWindowStyle | WS_VISIBLE);
        SetWindowPos(mainWindow, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_FRAMECHANGED);
        SetWindowPlacement(mainWindow, &windowedPlacement);
    }
    UpdateMenuChecks();
    InvalidateRect(mainWindow, nullptr, FALSE);
}

void SaveSettings() {
    WriteSetting("FullScreen", fullScreen ? 1 : 0);
    WINDOWPLACEMENT p{};
    p.length = sizeof p;
    if (fullScreen) {
        p = windowedPlacement;
    } else {
        GetWindowPlacement(mainWindow, &p);
    }
    const RECT& r = p.rcNormalPosition;
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, kWindowStyle, TRUE, 0);
    const int clientWidth = (r.right - r.left) - (frame.right - frame.left);
    const int clientHeight = (r.bottom - r.top) - (frame.bottom - frame.top);
    WriteSetting("Zoom", static_cast<uint32_t>(std::max(1, PlacePicture(clientWidth, clientHeight).factor)));
    WriteSetting("WindowLeft", static_cast<uint32_t>(r.left));
    WriteSetting("WindowTop", static_cast<uint32_t>(r.top));
}

void GameKey(uint32_t key, int32_t repeat) {
    if (HandleKey(theGame, key, repeat) == 0) {
        DestroyWindow(mainWindow);
        return;
    }
    PresentScreen();
}

void OnKeyDown(WPARAM vk, LPARAM lParam) {
    if (paused) {
        SetPaused(false);  // the key that resumes does nothing else
        return;
    }
    if (theGame.aboutShown) {
        theGame.aboutShown = 0;
        PresentScreen();
        return;
    }
    // Windows names letters as the layout prints them (by their US place on
    // layouts without Latin letters), as the Linux edition does. A key that
    // carries some other character (é, ü, punctuation) goes by its place.
    uint32_t key = static_cast<uint32_t>(vk);
    const uint32_t scanCode = (static_cast<uint32_t>(lParam) >> 16) & 0xFF;
    const bool extended = (lParam & (1 << 24)) != 0;
    if (!extended && key >= VK_OEM_1 && key <= VK_OEM_102) {
        if (const uint32_t placed = KeyForScanCode(scanCode)) key = placed;
    }
    GameKey(key, (lParam & (1 << 30)) != 0 ? 1 : 0);
}

void OnTimer(UINT_PTR id) {
    // A tick already queued when the clocks stopped must not start them again.
    if ((id != TIMER_EVENTS && id != TIMER_BLINK) || paused) return;
    RescheduleTimer(id);
    if (theGame.aboutShown || modalDepth > 0) return;
    if (id == TIMER_EVENTS) {
        WorldTick(theGame);
    } else {
        BlinkTick(theGame);
    }
    PresentScreen();
}

// A message box whose OK button reads Leave.
HHOOK leaveHook = nullptr;
LRESULT CALLBACK RenameOkButton(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        SetDlgItemTextA(reinterpret_cast<HWND>(wParam), IDOK, "&Leave");
        UnhookWindowsHookEx(leaveHook);
        leaveHook = nullptr;
        return 0;
    }
    return CallNextHookEx(leaveHook, code, wParam, lParam);
}

bool MayLeave() {
    if (theGame.mode != Play || !theGame.playedSinceSave || theGame.awaitingKey) return true;
    ++modalDepth;
    leaveHook = SetWindowsHookExA(WH_CBT, RenameOkButton, nullptr, GetCurrentThreadId());
    const int answer = MessageBoxA(mainWindow, "Leave the game? What happened since the last save will be lost.",
                                   "Grimspire", MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON1);
    if (leaveHook != nullptr) UnhookWindowsHookEx(leaveHook);
    leaveHook = nullptr;
    --modalDepth;
    return answer == IDOK;
}

// The menu's Save and Load are the typed commands with a name from the dialog:
// the same checks, the same replies on the screen.
void SaveOrLoadByDialog(bool save) {
    if (theGame.mode != Play || theGame.aboutShown || theGame.awaitingKey) return;
    SetPaused(false);
    const std::string saves = SavesFolder();
    CreateDirectoryA(saves.c_str(), nullptr);
    char path[MAX_PATH] = "";
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = mainWindow;
    ofn.lpstrFilter = "Saved games\0*\0";
    ofn.lpstrFile = path;
    ofn.nMaxFile = sizeof path;
    ofn.lpstrInitialDir = saves.c_str();
    ofn.lpstrTitle = save ? "Save Game" : "Load Game";
    ofn.Flags = OFN_NOCHANGEDIR | OFN_HIDEREADONLY | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    ++modalDepth;
    const BOOL chosen = save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    --modalDepth;
    if (!chosen) return;
    // Kept with its last separator, so that a drive's root stays the root.
    SetSaveFolderOverride(std::string(path, ofn.nFileOffset));
    const int ran = RunNamedCommand(theGame, save ? "SAVE" : "LOAD", path + ofn.nFileOffset);
    SetSaveFolderOverride("");
    if (!ran) {
        MessageBoxA(mainWindow, "A saved game's name has at most 14 characters.", "Grimspire",
                    MB_OK | MB_ICONWARNING);
    }
    PresentScreen();
}

void OnCommand(int id) {
    switch (id) {
        case ID_NEW_GAME:
            SetMode(theGame, Title);
            PresentScreen();
            break;
        case ID_EXIT: PostMessageA(mainWindow, WM_CLOSE, 0, 0); break;
        case ID_VIEW_GRAY: SetScheme(kSchemes[0]); break;
        case ID_VIEW_GREEN: SetScheme(kSchemes[1]); break;
        case ID_VIEW_AMBER: SetScheme(kSchemes[2]); break;
        case ID_VIEW_FULL_SCREEN: ToggleFullScreen(); break;
        case ID_HELP_ABOUT:
            StopSound(theGame);
            theGame.aboutShown = theGame.aboutShown ? 0 : 1;
            PresentScreen();
            break;
        case ID_ESCAPE:
            if (fullScreen) SetMenuAndCursorShown(savedMenu != nullptr);
            break;
        case ID_SAVE_GAME: SaveOrLoadByDialog(true); break;
        case ID_LOAD_GAME: SaveOrLoadByDialog(false); break;
        case ID_OPEN_SAVES: {
            const std::string saves = SavesFolder();
            CreateDirectoryA(saves.c_str(), nullptr);
            ShellExecuteA(mainWindow, "open", saves.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
            break;
        }
        case ID_PAUSE: SetPaused(!paused); break;
        case ID_VIEW_SOUND:
            SetSoundOn(!SoundOn());
            WriteSetting("Sound", SoundOn() ? 1 : 0);
            UpdateMenuChecks();
            break;
        case ID_ZOOM_IN: SetZoom(CurrentFactor() + 1); break;
        case ID_ZOOM_OUT: SetZoom(CurrentFactor() - 1); break;
        case ID_ACTUAL_SIZE: SetZoom(1); break;
        default: break;
    }
}

// Device pixels to one of the desktop's own on the window's screen; 1 where Windows cannot tell.
double WindowScale() {
    using DpiForWindow = UINT(WINAPI*)(HWND);
    static const auto dpiFor = reinterpret_cast<DpiForWindow>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    const UINT dpi = dpiFor != nullptr ? dpiFor(mainWindow) : 0;
    return dpi > 0 ? dpi / 96.0 : 1.0;
}

void OnPaint() {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(mainWindow, &ps);
    RECT client;
    GetClientRect(mainWindow, &client);
    const Placement p = PlaceSharp(client.right, client.bottom, WindowScale());
    // Black around the picture, never over it, so nothing flickers.
    const HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    const RECT bands[] = {{0, 0, client.right, p.top},
                          {0, p.bottom, client.right, client.bottom},
                          {0, p.top, p.left, p.bottom},
                          {p.right, p.top, client.right, p.bottom}};
    for (const RECT& band : bands) {
        if (band.right > band.left && band.bottom > band.top) FillRect(dc, &band, black);
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = windowSurface.stride;
    info.bmiHeader.biHeight = -windowSurface.height;  // rows top to bottom
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    if (!Smoothed(p)) {
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchDIBits(dc, p.left, p.top, p.right - p.left, p.bottom - p.top, 0, 0, windowSurface.width,
                      windowSurface.height, windowSurface.pixels, &info, DIB_RGB_COLORS, SRCCOPY);
        EndPaint(mainWindow, &ps);
        return;
    }
    // Between whole factors: enlarged by one past the space, then halftoned down to it.
    const int width = kPictureWidth * p.factor;
    const int height = kPictureHeight * p.factor;
    const HDC large = CreateCompatibleDC(dc);
    const HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
    const HGDIOBJ was = SelectObject(large, bitmap);
    SetStretchBltMode(large, COLORONCOLOR);
    StretchDIBits(large, 0, 0, width, height, 0, 0, windowSurface.width, windowSurface.height, windowSurface.pixels,
                  &info, DIB_RGB_COLORS, SRCCOPY);
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, p.left, p.top, p.right - p.left, p.bottom - p.top, large, 0, 0, width, height, SRCCOPY);
    SelectObject(large, was);
    DeleteObject(bitmap);
    DeleteDC(large);
    EndPaint(mainWindow, &ps);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: {
            mainWindow = window;
            CreateSurface(windowSurface, kPictureWidth, kPictureHeight);
            UpdateMenuChecks();
            PresentScreen();
            const DWORD now = GetTickCount();
            StartTimer(TIMER_EVENTS, now);
            StartTimer(TIMER_BLINK, now);
            return 0;
        }
        case WM_CLOSE:
            if (MayLeave()) DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            SaveSettings();
            KillTimer(window, TIMER_EVENTS);
            KillTimer(window, TIMER_BLINK);
            if (savedMenu != nullptr) DestroyMenu(savedMenu);
            PostQuitMessage(0);
            return 0;
        case WM_PAINT: OnPaint(); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_KEYDOWN: OnKeyDown(wParam, lParam); return 0;
        case WM_TIMER: OnTimer(wParam); return 0;
        case WM_COMMAND: OnCommand(LOWORD(wParam)); return 0;
        case WM_INITMENUPOPUP: {
            const UINT inPlay = theGame.mode == Play ? MF_ENABLED : MF_GRAYED;
            EnableMenuItem(Menu(), ID_SAVE_GAME, inPlay);
            EnableMenuItem(Menu(), ID_LOAD_GAME, inPlay);
            return 0;
        }
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            if (fullScreen) SetMenuAndCursorShown(savedMenu != nullptr);
            return 0;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_KEYMENU && lParam == 0 && altShortcutUsed) return 0;
            break;
        case WM_SYSKEYUP: {
            const LRESULT result = DefWindowProcA(window, message, wParam, lParam);
            altShortcutUsed = false;
            return result;
        }
        case WM_SETCURSOR:
            if (fullScreen && savedMenu != nullptr && LOWORD(lParam) == HTCLIENT) {
                SetCursor(nullptr);
                return TRUE;
            }
            break;
        case WM_GETMINMAXINFO: {
            const SIZE least = WindowSizeFor(1);
            auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
            if (!fullScreen) limits->ptMinTrackSize = POINT{least.cx, least.cy};
            return 0;
        }
        case WM_DPICHANGED: {
            // The size Windows suggests keeps the window's look on the new screen.
            const RECT* r = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(window, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case WM_SIZE:
            if (wParam == SIZE_MINIMIZED && !paused) {
                SetPaused(true);
                pausedByMinimising = true;
            } else if (wParam != SIZE_MINIMIZED && pausedByMinimising) {
                SetPaused(false);
            }
            InvalidateRect(window, nullptr, FALSE);
            return 0;
        default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool LoadGlyphs() {
    const HMODULE module = GetModuleHandleA(nullptr);
    const HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(IDR_GLYPHS), "GIF");
    const HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    const auto* data = loaded != nullptr ? static_cast<const uint8_t*>(LockResource(loaded)) : nullptr;
    return data != nullptr && InitRendererFromGif(theRenderer, theGame, data, SizeofResource(module, found));
}

// The window where it was last, when that is still on a screen; else centred.
void PlaceWindow() {
    uint32_t zoom = 0;
    uint32_t left = 0;
    uint32_t top = 0;
    const bool known = ReadSetting("Zoom", zoom) && ReadSetting("WindowLeft", left) && ReadSetting("WindowTop", top);
    // A zoom kept from a larger screen than this one falls back to what fits.
    if (!known || zoom < 1 || zoom > 16 || !SetZoom(static_cast<int>(zoom))) SetZoom(FittingFactor());
    RECT r;
    GetWindowRect(mainWindow, &r);
    const POINT corner{static_cast<LONG>(left), static_cast<LONG>(top)};
    if (known && MonitorFromPoint(corner, MONITOR_DEFAULTTONULL) != nullptr) {
        SetWindowPos(mainWindow, nullptr, corner.x, corner.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        return;
    }
    const RECT area = MonitorArea(true);
    SetWindowPos(mainWindow, nullptr, area.left + (area.right - area.left - (r.right - r.left)) / 2,
                 area.top + (area.bottom - area.top - (r.bottom - r.top)) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    uint32_t setting = 1;
    SetSoundOn(!ReadSetting("Sound", setting) || setting != 0);
    InitGameState(theGame);
    if (!LoadGlyphs()) {
        MessageBoxA(nullptr, "Grimspire cannot start: its glyph sheet could not be read. The program may be damaged.",
                    "Grimspire", MB_OK | MB_ICONERROR);
        return 1;
    }
    // Finer system timer steps, so the two clocks keep time.
    timeBeginPeriod(1);

    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_GRAY));
    wc.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_GRAY), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                               LR_SHARED));
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // the arrow
    wc.lpszMenuName = MAKEINTRESOURCEA(IDR_MENU);
    wc.lpszClassName = "GrimspireClass";
    if (!RegisterClassExA(&wc)) return 1;
    const HWND window = CreateWindowExA(0, wc.lpszClassName, "Grimspire", kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                        CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 1;
    PlaceWindow();
    if (ReadSetting("Scheme", setting)) {
        for (const Scheme& s : kSchemes) {
            if (s.id == static_cast<int>(setting)) SetScheme(s);
        }
    }
    ShowWindow(window, SW_SHOWNORMAL);
    if (ReadSetting("FullScreen", setting) && setting != 0) ToggleFullScreen();

    const HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (TranslateAcceleratorA(msg.hwnd, accelerators, &msg)) {
            altShortcutUsed = altShortcutUsed || msg.message == WM_SYSKEYDOWN;
        } else {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    timeEndPeriod(1);
    return 0;
}
