// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows program: one window that feeds key presses, the two ticks and the
// menu commands to the game and shows its picture, enlarged by whole factors.
// The game's headers come before <windows.h>, whose VK_ and REG_ macros would
// otherwise rewrite the game's own enumerators.
#include "commands/commands.h"
#include "core/core.h"
#include "host.h"

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <mmsystem.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "glyphsheet.h"
#include "keyplaces.h"
#include "picture.h"
#include "placement.h"
#include "platform.h"
#include "resource.h"
#include "savelist.h"

namespace {

constexpr UINT_PTR TIMER_CLOCK = 1;
constexpr DWORD kWindowStyle = WS_OVERLAPPEDWINDOW;

GameState theGame;
Host theHost(theGame);
uint64_t settingsShown = 0;
Renderer theRenderer;
Surface windowSurface;
HWND mainWindow = nullptr;
HMENU savedMenu = nullptr;  // the menu bar while full screen hides it
int schemeId = IDI_GRAY;
bool fullScreen = false;
// Alt released after Alt+Enter would otherwise open the menu, as a lone Alt does.
bool altShortcutUsed = false;
WINDOWPLACEMENT windowedPlacement{};

struct SchemeIcon {
    int id;
    int command;
};
constexpr SchemeIcon kSchemes[] = {{IDI_GRAY, ID_VIEW_GRAY}, {IDI_GREEN, ID_VIEW_GREEN}, {IDI_AMBER, ID_VIEW_AMBER}};

void PresentScreen() {
    DrawScreen(theRenderer, windowSurface, 0, 0);
    InvalidateRect(mainWindow, nullptr, FALSE);
}

HMENU Menu() { return savedMenu != nullptr ? savedMenu : GetMenu(mainWindow); }

void UpdateMenuChecks() {
    const HMENU menu = Menu();
    for (const SchemeIcon& s : kSchemes) CheckMenuItem(menu, s.command, schemeId == s.id ? MF_CHECKED : MF_UNCHECKED);
    CheckMenuItem(menu, ID_VIEW_FULL_SCREEN, fullScreen ? MF_CHECKED : MF_UNCHECKED);
    CheckMenuItem(menu, ID_VIEW_SOUND, theHost.SoundOn() ? MF_CHECKED : MF_UNCHECKED);
    CheckMenuItem(menu, ID_PAUSE, theHost.Paused() ? MF_CHECKED : MF_UNCHECKED);
}

void SetSchemeIcon(const SchemeIcon& s) {
    TintSurface(theRenderer.screenGlyphs, SchemeColour(theHost.CurrentScheme()));
    schemeId = s.id;
    const HINSTANCE module = GetModuleHandleA(nullptr);
    for (auto [size, kind] : {std::pair{32, ICON_BIG}, std::pair{16, ICON_SMALL}}) {
        const HANDLE icon = LoadImageA(module, MAKEINTRESOURCEA(s.id), IMAGE_ICON, size, size, LR_SHARED);
        SendMessageA(mainWindow, WM_SETICON, kind, reinterpret_cast<LPARAM>(icon));
    }
    WriteSetting("Scheme", static_cast<uint32_t>(s.id));
}

// The picture, the menu's checks, the title bar and the clock as the host has them now.
void Follow() {
    if (settingsShown != theHost.Settings()) {
        settingsShown = theHost.Settings();
        const SchemeIcon& s = kSchemes[static_cast<int>(theHost.CurrentScheme())];
        if (s.id != schemeId || !IsWindowVisible(mainWindow)) SetSchemeIcon(s);
        WriteSetting("Sound", theHost.SoundOn() ? 1 : 0);
        SetWindowTextA(mainWindow, theHost.WindowTitle());
        UpdateMenuChecks();
    }
    PresentScreen();
    const int64_t due = theHost.NextDue();
    if (due < 0) {
        KillTimer(mainWindow, TIMER_CLOCK);
    } else {
        const int64_t wait = due - static_cast<int64_t>(GetTickCount64());
        SetTimer(mainWindow, TIMER_CLOCK, static_cast<UINT>(std::max<int64_t>(wait, USER_TIMER_MINIMUM)), nullptr);
    }
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

int FittingFactor() {
    // As on the desktop: the picture as large as fits about four fifths of the screen,
    // so long as the whole window, frame and menu bar, still fits on it.
    const RECT area = MonitorArea(true);
    const LONG width = area.right - area.left, height = area.bottom - area.top;
    int factor = std::max<int>(1, static_cast<int>(std::min(width * 4 / 5 / kPictureWidth, height * 4 / 5 / kPictureHeight)));
    while (factor > 1 && (WindowSizeFor(factor).cx > width || WindowSizeFor(factor).cy > height)) --factor;
    return factor;
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

void Carry(HostRequest request);

void OnKeyDown(WPARAM vk, LPARAM lParam) {
    // Windows names letters as the layout prints them (by their US place on
    // layouts without Latin letters), as the Linux edition does. A key that
    // carries some other character (é, ü, punctuation) goes by its place.
    uint32_t key = static_cast<uint32_t>(vk);
    const uint32_t scanCode = (static_cast<uint32_t>(lParam) >> 16) & 0xFF;
    const bool extended = (lParam & (1 << 24)) != 0;
    if (!extended && key >= VK_OEM_1 && key <= VK_OEM_102) {
        if (const uint32_t placed = KeyForScanCode(scanCode)) key = placed;
    }
    // AltGr comes as Ctrl with Alt and types characters.
    const bool ctrl = (GetKeyState(0x11) & 0x8000) != 0 && (GetKeyState(0x12) & 0x8000) == 0;
    theHost.Key(key, (lParam & (1 << 30)) != 0 ? 1 : 0, ctrl);
    Carry(theHost.Request());
}

void OnTimer(UINT_PTR id) {
    if (id != TIMER_CLOCK) return;
    // A tick already queued when the clocks stopped runs nothing: the host knows.
    theHost.Advance(static_cast<int64_t>(GetTickCount64()));
    Follow();
}

// The castle's clocks stand while a dialog or question does.
template <typename F>
auto InDialog(F f) {
    theHost.BeginDialog();
    Follow();
    const auto result = f();
    theHost.EndDialog();
    Follow();
    return result;
}

void WarnNameTooLong() {
    InDialog([] {
        return MessageBoxA(mainWindow, "A saved game's name has at most 14 characters.", "Grimspire",
                           MB_OK | MB_ICONWARNING);
    });
}

// Load Game's list: the saves with their pictures, as the shared list has them.
struct SaveBrowser {
    std::vector<SavedGame> saves;
    int chosen = -1;
};

void FillSaveList(HWND list, const SaveBrowser& b) {
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    const char* headings[] = {"Name", "Saved", "Score"};
    const int widths[] = {kSmallWidth + 110, 120, 60};
    for (int c = 0; c < 3; ++c) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<char*>(headings[c]);
        column.cx = widths[c];
        column.iSubItem = c;
        SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&column));
    }
    // The list view owns the image list and frees it with itself.
    const HIMAGELIST images = ImageList_Create(kSmallWidth, kSmallHeight, ILC_COLOR32, static_cast<int>(b.saves.size()), 1);
    for (size_t i = 0; i < b.saves.size(); ++i) {
        Surface small;
        DrawSmallScreen(theRenderer.screenGlyphs, b.saves[i].screen, small);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = kSmallWidth;
        info.bmiHeader.biHeight = -kSmallHeight;  // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        const HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (bitmap == nullptr) continue;
        std::memcpy(bits, small.pixels, static_cast<size_t>(kSmallWidth) * kSmallHeight * 4);
        ImageList_Add(images, bitmap, nullptr);
        DeleteObject(bitmap);
    }
    SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
    for (size_t i = 0; i < b.saves.size(); ++i) {
        const SavedGame& s = b.saves[i];
        const std::string texts[] = {s.title, SavedWhen(s), std::to_string(s.score)};
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = static_cast<int>(i);
        item.iImage = static_cast<int>(i);
        item.pszText = const_cast<char*>(texts[0].c_str());
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        for (int c = 1; c < 3; ++c) {
            LVITEMA sub{};
            sub.iSubItem = c;
            sub.pszText = const_cast<char*>(texts[c].c_str());
            SendMessageA(list, LVM_SETITEMTEXTA, i, reinterpret_cast<LPARAM>(&sub));
        }
    }
    LVITEMA first{};
    first.stateMask = first.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&first));
}

INT_PTR CALLBACK SaveBrowserProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* b = reinterpret_cast<SaveBrowser*>(GetWindowLongPtrA(dialog, DWLP_USER));
    const HWND list = GetDlgItem(dialog, IDC_SAVELIST);
    switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrA(dialog, DWLP_USER, lParam);
            FillSaveList(list, *reinterpret_cast<SaveBrowser*>(lParam));
            SetFocus(list);
            return FALSE;  // the focus is set
        case WM_NOTIFY: {
            const auto* note = reinterpret_cast<const NMHDR*>(lParam);
            if (note->idFrom == IDC_SAVELIST && note->code == LVN_ITEMACTIVATE) {
                b->chosen = reinterpret_cast<const NMITEMACTIVATE*>(lParam)->iItem;
                if (b->chosen >= 0) EndDialog(dialog, IDOK);
            }
            return TRUE;
        }
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK:
                    b->chosen = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
                    if (b->chosen >= 0) EndDialog(dialog, IDOK);
                    return TRUE;
                case IDC_OTHER:
                case IDCANCEL: EndDialog(dialog, LOWORD(wParam)); return TRUE;
                default: return FALSE;
            }
        default: return FALSE;
    }
}

// The menu's Save and Load are the typed commands with a name from the dialog:
// the same checks, the same replies on the screen.
void SaveOrLoadByDialog(bool save) {
    const std::string saves = SavesFolder();
    CreateDirectoryA(saves.c_str(), nullptr);
    if (!save) {
        SaveBrowser browser;
        browser.saves = ListSavedGames(theGame, saves);
        const INT_PTR result = InDialog([&] {
            return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SAVES), mainWindow, SaveBrowserProc,
                                   reinterpret_cast<LPARAM>(&browser));
        });
        if (result == IDOK && browser.chosen >= 0) {
            if (!OpenSavedGame(theHost, saves, browser.saves[static_cast<size_t>(browser.chosen)])) WarnNameTooLong();
            return;
        }
        if (result != IDC_OTHER) return;
    }
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
    const BOOL chosen = InDialog([&] { return save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn); });
    if (!chosen) return;
    // Kept with its last separator, so that a drive's root stays the root.
    if (!theHost.SaveOrLoadByName(save, std::string(path, ofn.nFileOffset), path + ofn.nFileOffset)) WarnNameTooLong();
}

// Does what the host leaves to the window, then shows what changed.
void Carry(HostRequest request) {
    switch (request) {
        case HostRequest::Exit:
            if (theHost.Ended()) {
                DestroyWindow(mainWindow);
            } else {
                PostMessageA(mainWindow, WM_CLOSE, 0, 0);
            }
            return;
        case HostRequest::FullScreen: ToggleFullScreen(); break;
        case HostRequest::Escape:
            if (fullScreen) SetMenuAndCursorShown(savedMenu != nullptr);
            break;
        case HostRequest::AskSaveName: SaveOrLoadByDialog(true); break;
        case HostRequest::AskLoadName: SaveOrLoadByDialog(false); break;
        case HostRequest::OpenSaves: {
            const std::string saves = SavesFolder();
            CreateDirectoryA(saves.c_str(), nullptr);
            ShellExecuteA(mainWindow, "open", saves.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
            break;
        }
        case HostRequest::ZoomIn:
            // Rather than nothing at all, the player hears why the window does not grow.
            if (!fullScreen && !SetZoom(CurrentFactor() + 1)) {
                InDialog([] {
                    return MessageBoxA(mainWindow, "A larger window does not fit on this screen.", "Grimspire",
                                       MB_OK | MB_ICONINFORMATION);
                });
            }
            break;
        case HostRequest::ZoomOut: SetZoom(CurrentFactor() - 1); break;
        case HostRequest::ActualSize: SetZoom(1); break;
        case HostRequest::None: break;
    }
    Follow();
}

void OnCommand(int id) { Carry(theHost.Command(id)); }

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
            Follow();
            return 0;
        }
        case WM_CLOSE:
            // Nothing is lost by closing: the game in play is kept, and Continue brings it back.
            theHost.Keep();
            DestroyWindow(window);
            return 0;
        case WM_QUERYENDSESSION:
            theHost.Keep();  // a log-off or an update's restart may end us without WM_CLOSE
            return TRUE;
        case WM_ENDSESSION:
            if (wParam) {
                theHost.Keep();
                SaveSettings();
            }
            return 0;
        case WM_DESTROY:
            SaveSettings();
            KillTimer(window, TIMER_CLOCK);
            if (savedMenu != nullptr) DestroyMenu(savedMenu);
            PostQuitMessage(0);
            return 0;
        case WM_PAINT: OnPaint(); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_KEYDOWN: OnKeyDown(wParam, lParam); return 0;
        case WM_TIMER: OnTimer(wParam); return 0;
        case WM_COMMAND: OnCommand(LOWORD(wParam)); return 0;
        case WM_INITMENUPOPUP: {
            const UINT inPlay = theHost.CanSaveOrLoad() ? MF_ENABLED : MF_GRAYED;
            EnableMenuItem(Menu(), ID_SAVE_GAME, inPlay);
            EnableMenuItem(Menu(), ID_LOAD_GAME, theHost.CanLoad() ? MF_ENABLED : MF_GRAYED);
            EnableMenuItem(Menu(), ID_CONTINUE, theHost.CanContinue() ? MF_ENABLED : MF_GRAYED);
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
            theHost.SetHidden(wParam == SIZE_MINIMIZED);
            Follow();
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
    theHost.SetCueOutput(&ResourceCues());
    theHost.SetSoundOn(!ReadSetting("Sound", setting) || setting != 0);
    if (ReadSetting("Scheme", setting)) {
        for (int i = 0; i < 3; ++i) {
            if (kSchemes[i].id == static_cast<int>(setting)) theHost.SetScheme(static_cast<Scheme>(i));
        }
    }
    theHost.Start();
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES};  // Load Game's list
    InitCommonControlsEx(&controls);
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
