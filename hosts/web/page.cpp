// SPDX-License-Identifier: GPL-3.0-or-later
// The page's side of the game in WebAssembly: the one game and its picture, the
// keys, ticks and menu commands the page hands in, and the ports the core calls,
// answered by the browser (Web Audio, localStorage, a file system kept in
// IndexedDB). page.js does the DOM.
#include <emscripten/emscripten.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "core/core.h"
#include "commands.h"
#include "cues.h"
#include "keyplaces.h"
#include "picture.h"
#include "placement.h"
#include "ports.h"
#include "save/save.h"
#include "world/world.h"

// The browser's half of the ports, in page.js.
EM_JS(void, JsCueStart, (int id), { Module.audio.start(id); });
EM_JS(void, JsCueHalt, (int id), { Module.audio.halt(id); });
EM_JS(int, JsCuePlaying, (int id), { return Module.audio.playing(id) ? 1 : 0; });
EM_JS(int, JsStoreUsable, (), { return Module.store.usable() ? 1 : 0; });
// The value's text into out; its length, or -1 when there is none or it does not fit.
EM_JS(int, JsStoreGet, (const char* name, char* out, int size), {
    const text = Module.store.get(UTF8ToString(name));
    if (text === null || lengthBytesUTF8(text) >= size) return -1;
    stringToUTF8(text, out, size);
    return lengthBytesUTF8(text);
});
EM_JS(int, JsStoreSet, (const char* name, const char* text),
      { return Module.store.set(UTF8ToString(name), UTF8ToString(text)) ? 1 : 0; });

namespace {

enum : int { TIMER_EVENTS = 1, TIMER_BLINK = 2 };

GameState theGame;
Renderer theRenderer;
Surface thePicture;
CueDeck theDeck;

// What the picture last showed; nothing is drawn again while it still holds.
struct Shown {
    uint8_t screen[kScreenCells];
    int32_t about;
    uint32_t colour;
} theShown;
bool theShownValid = false;
uint32_t theColour = kGrayColour;

// A canvas takes bytes R, G, B, A; read as a little-endian word that is 0xAABBGGRR.
// The glyphs are kept that way, so a redraw is only the cell copies.
uint32_t CanvasColour(uint32_t rgb) {
    return 0xFF000000u | (rgb & 0xFFu) << 16 | (rgb & 0xFF00u) | (rgb >> 16 & 0xFFu);
}

void ToCanvasOrder(Surface& s) {
    for (uint32_t& p : s.memory) p = CanvasColour(p);
}

class PageVoice final : public Voice {
public:
    explicit PageVoice(int id) : id_(id) {}
    void Start() override { JsCueStart(id_); }
    void Halt() override { JsCueHalt(id_); }
    bool Playing() const override { return JsCuePlaying(id_) != 0; }

private:
    int id_;
};

// A stored value is kept as text: its registry type, a blank, its bytes in hex.
bool ReadValue(const char* name, uint32_t* type, std::string* bytes) {
    char text[4096];
    const int n = JsStoreGet(name, text, sizeof text);
    unsigned t = 0;
    int used = 0;
    if (n < 0 || std::sscanf(text, "%u %n", &t, &used) != 1) return false;
    bytes->clear();
    for (int i = used; i + 1 < n; i += 2) {
        unsigned byte = 0;
        if (std::sscanf(text + i, "%2x", &byte) != 1) return false;
        bytes->push_back(static_cast<char>(byte));
    }
    *type = t;
    return true;
}

}  // namespace

// Whether every value set since the key was opened was kept.
bool theStoreKept = true;

int I_StoreOpenKey(int, StoreKey* key) {
    *key = 1;
    theStoreKept = true;
    return JsStoreUsable();
}

int I_StoreQueryValue(StoreKey, const char* name, uint32_t* type, uint8_t* data, uint32_t* size) {
    uint32_t t = REG_NONE;
    std::string bytes;
    if (!ReadValue(name, &t, &bytes)) return 0;
    if (type != nullptr) *type = t;
    if (data != nullptr) {
        if (size == nullptr || *size < bytes.size()) {
            if (size != nullptr) *size = static_cast<uint32_t>(bytes.size());
            return 0;
        }
        std::memcpy(data, bytes.data(), bytes.size());
    }
    if (size != nullptr) *size = static_cast<uint32_t>(bytes.size());
    return 1;
}

int I_StoreSetValue(StoreKey, const char* name, uint32_t type, const uint8_t* data, uint32_t size) {
    std::string text = std::to_string(type) + " ";
    char hex[3];
    for (uint32_t i = 0; i < size; ++i) {
        std::snprintf(hex, sizeof hex, "%02x", data[i]);
        text += hex;
    }
    const int kept = JsStoreSet(name, text.c_str());
    theStoreKept = theStoreKept && kept;
    return kept;
}

int I_StoreCloseKey(StoreKey) { return theStoreKept ? 1 : 0; }

void I_PlayCue(int id) { theDeck.Play(id); }
void I_PlayCueIfQuiet(int id) { theDeck.PlayIfQuiet(id); }
void I_StopSound() { theDeck.Stop(); }
uint32_t I_TickCount() { return static_cast<uint32_t>(emscripten_get_now()); }
// Mounted on IndexedDB by page.js.
const char* I_SaveFolder() { return "/saves"; }

extern "C" {

// Starts the game on a decoded glyph sheet (canvas bytes); 0 when it is no sheet.
EMSCRIPTEN_KEEPALIVE int web_start(const uint32_t* sheet, int width, int height) {
    for (int id = kFirstCue; id < kFirstCue + kCueCount; ++id) theDeck.SetVoice(id, std::make_unique<PageVoice>(id));
    InitGameState(theGame);
    if (!InitRenderer(theRenderer, theGame, sheet, width, height)) return 0;
    ToCanvasOrder(theRenderer.screenGlyphs);
    ToCanvasOrder(theRenderer.aboutGlyphs);
    CreateSurface(thePicture, kPictureWidth, kPictureHeight);
    return 1;
}

EMSCRIPTEN_KEEPALIVE const uint32_t* web_picture() { return thePicture.pixels; }
EMSCRIPTEN_KEEPALIVE const uint8_t* web_grid() { return theGame.screen; }
EMSCRIPTEN_KEEPALIVE int web_mode() { return static_cast<int>(theGame.mode); }
// Whether SAVE could be typed now: a game is on and the man alive.
EMSCRIPTEN_KEEPALIVE int web_can_save() { return theGame.mode == Play && !theGame.awaitingKey ? 1 : 0; }

// Draws the picture when the grid, the About box or the colour changed since
// the last time; 1 when it did.
EMSCRIPTEN_KEEPALIVE int web_present() {
    if (theShownValid && theShown.about == theGame.aboutShown && theShown.colour == theColour &&
        std::memcmp(theShown.screen, theGame.screen, kScreenCells) == 0) {
        return 0;
    }
    DrawScreen(theRenderer, thePicture, 0, 0);
    std::memcpy(theShown.screen, theGame.screen, kScreenCells);
    theShown.about = theGame.aboutShown;
    theShown.colour = theColour;
    theShownValid = true;
    return 1;
}

// The next web_present draws whatever changed; for measuring a full redraw.
EMSCRIPTEN_KEEPALIVE void web_invalidate() { theShownValid = false; }

// A key by KeyboardEvent.code; 0 when it is no key of the game's.
EMSCRIPTEN_KEEPALIVE int web_key(const char* code, int numLock, int repeat) {
    const uint32_t key = KeyForDomCode(code, numLock != 0);
    if (key == 0) return 0;
    if (theGame.aboutShown) {
        theGame.aboutShown = 0;
        return 1;
    }
    // Where the desktop program would end, the page starts again from its title.
    if (HandleKey(theGame, key, repeat) == 0) SetMode(theGame, Title);
    return 1;
}

EMSCRIPTEN_KEEPALIVE void web_tick(int id) {
    if (theGame.aboutShown) return;
    if (id == TIMER_EVENTS) WorldTick(theGame);
    if (id == TIMER_BLINK) BlinkTick(theGame);
}

EMSCRIPTEN_KEEPALIVE void web_command(int id) {
    const auto scheme = [](uint32_t colour) {
        theColour = colour;
        TintSurface(theRenderer.screenGlyphs, CanvasColour(colour));
    };
    switch (id) {
        case ID_NEW_GAME: SetMode(theGame, Title); break;
        case ID_VIEW_GRAY: scheme(kGrayColour); break;
        case ID_VIEW_GREEN: scheme(kGreenColour); break;
        case ID_VIEW_AMBER: scheme(kAmberColour); break;
        case ID_PAUSE: StopSound(theGame); break;
        case ID_HELP_ABOUT:
            StopSound(theGame);
            theGame.aboutShown = theGame.aboutShown ? 0 : 1;
            break;
        default: break;
    }
}

// The game as a saved-game file at the path, as SAVE would write it and answered
// as SAVE is; 1 on success.
EMSCRIPTEN_KEEPALIVE int web_save_to(const char* path) {
    if (!web_can_save() || !SaveGame(theGame, path)) return 0;
    ShowMessage(theGame, " Game Saved", 0, 0);
    return 1;
}

// A saved-game file from the path, whatever the game was doing; 1 when it was one.
// Any other file gets LOAD's reply under its name, or on the title a line of its own.
EMSCRIPTEN_KEEPALIVE int web_load_from(const char* path, const char* name) {
    if (path[0] == '\0' || !LoadGame(theGame, path)) {
        if (theGame.mode != Play) {
            PutText(theGame, "     That file is no saved game.", 0, 23);
            return 0;
        }
        char shown[16];
        std::snprintf(shown, sizeof shown, " %.13s", name);
        ShowMessage(theGame, " There is no", 0, 0);
        ShowMessage(theGame, " saved game", 1, 0);
        ShowMessage(theGame, " named", 2, 0);
        ShowMessage(theGame, shown, 3, 1);
        return 0;
    }
    theGame.mode = Play;
    EchoCommandLine(theGame);
    return 1;
}

// Whether leaving now would lose play since the last save or load.
EMSCRIPTEN_KEEPALIVE int web_unsaved() { return theGame.mode == Play && theGame.playedSinceSave ? 1 : 0; }

// Where the picture goes in an area of device pixels: factor, left, top, right, bottom.
EMSCRIPTEN_KEEPALIVE const int* web_place(int width, int height) {
    static int placed[5];
    const Placement p = PlacePicture(width, height);
    const int values[5] = {p.factor, p.left, p.top, p.right, p.bottom};
    std::memcpy(placed, values, sizeof placed);
    return placed;
}

}  // extern "C"
