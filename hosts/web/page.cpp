// SPDX-License-Identifier: GPL-3.0-or-later
// The page's side of the game in WebAssembly: the one game, its host and its
// picture, the events the page hands in, and the ports the core calls, answered
// by the browser (Web Audio, localStorage, a file system kept in IndexedDB).
// page.js does the DOM.
#include <emscripten/emscripten.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/core.h"
#include "core/cp437.h"
#include "commands.h"
#include "cues.h"
#include "host.h"
#include "keyplaces.h"
#include "picture.h"
#include "placement.h"
#include "ports.h"
#include "savelist.h"
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

GameState theGame;
Host theHost(theGame, false);  // a page cannot close itself: where the game would end, the title
Renderer theRenderer;
Surface thePicture;
CueDeck theDeck;
std::vector<SavedGame> theSaves;  // as the save browser last listed them
Surface theSmall;

// What the picture last showed; nothing is drawn again while it still holds.
struct Shown {
    uint8_t screen[kScreenCells];
    int32_t about;
    uint32_t colour;
} theShown;
bool theShownValid = false;

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

uint32_t I_TickCount() { return static_cast<uint32_t>(emscripten_get_now()); }
// Mounted on IndexedDB by page.js.
const char* I_SaveFolder() { return theHost.SaveFolder("/saves"); }

extern "C" {

// Starts the game on a decoded glyph sheet (canvas bytes) with the player's
// sound setting and colour (0 gray, 1 green, 2 amber); 0 when it is no sheet.
EMSCRIPTEN_KEEPALIVE int web_start(const uint32_t* sheet, int width, int height, int soundOn, int scheme) {
    for (int id = kFirstCue; id < kFirstCue + kCueCount; ++id) theDeck.SetVoice(id, std::make_unique<PageVoice>(id));
    theHost.SetCueOutput(&theDeck);
    theHost.SetSoundOn(soundOn != 0);
    theHost.SetScheme(scheme == 1 ? Scheme::Green : scheme == 2 ? Scheme::Amber : Scheme::Gray);
    theHost.Start();
    if (!InitRenderer(theRenderer, theGame, sheet, width, height)) return 0;
    ToCanvasOrder(theRenderer.aboutGlyphs);
    CreateSurface(thePicture, kPictureWidth, kPictureHeight);
    return 1;
}

EMSCRIPTEN_KEEPALIVE const uint32_t* web_picture() { return thePicture.pixels; }
EMSCRIPTEN_KEEPALIVE const uint8_t* web_grid() { return theGame.screen; }
EMSCRIPTEN_KEEPALIVE int web_mode() { return static_cast<int>(theGame.mode); }
EMSCRIPTEN_KEEPALIVE int web_can_save() { return theHost.CanSaveOrLoad() ? 1 : 0; }
EMSCRIPTEN_KEEPALIVE void web_keep() { theHost.Keep(); }
EMSCRIPTEN_KEEPALIVE void web_look_for_kept() { theHost.LookForKept(); }
EMSCRIPTEN_KEEPALIVE double web_kept_serial() { return static_cast<double>(theHost.KeptSerial()); }
EMSCRIPTEN_KEEPALIVE int web_can_continue() { return theHost.CanContinue() ? 1 : 0; }
// What the menu shows: bit 0 paused, bit 1 sound on, bits 2-3 the colour; and a
// number that changes when any of it may have.
EMSCRIPTEN_KEEPALIVE int web_settings() {
    return (theHost.Paused() ? 1 : 0) | (theHost.SoundOn() ? 2 : 0) | static_cast<int>(theHost.CurrentScheme()) << 2;
}
EMSCRIPTEN_KEEPALIVE double web_settings_serial() { return static_cast<double>(theHost.Settings()); }

// Draws the picture when the grid, the About box or the colour changed since
// the last time; 1 when it did.
EMSCRIPTEN_KEEPALIVE int web_present() {
    const uint32_t colour = SchemeColour(theHost.CurrentScheme());
    if (theShownValid && theShown.about == theGame.aboutShown && theShown.colour == colour &&
        std::memcmp(theShown.screen, theGame.screen, kScreenCells) == 0) {
        return 0;
    }
    if (!theShownValid || theShown.colour != colour) TintSurface(theRenderer.screenGlyphs, CanvasColour(colour));
    DrawScreen(theRenderer, thePicture, 0, 0);
    std::memcpy(theShown.screen, theGame.screen, kScreenCells);
    theShown.about = theGame.aboutShown;
    theShown.colour = colour;
    theShownValid = true;
    return 1;
}

// The next web_present draws whatever changed; for measuring a full redraw.
EMSCRIPTEN_KEEPALIVE void web_invalidate() { theShownValid = false; }

// A key: letters and other printed characters by KeyboardEvent.key, as the
// layout prints them; keys without one (and the keypad) by KeyboardEvent.code.
// -1 when the key is none of the game's or the host's, else what the host
// leaves to the page (HostRequest).
EMSCRIPTEN_KEEPALIVE int web_key(const char* key, const char* code, int numLock, int repeat, int ctrl, int alt) {
    uint32_t vk = 0;
    std::u32string printed;
    if (std::strncmp(code, "Numpad", 6) != 0 && DecodeUtf8(key, &printed) && printed.size() == 1) {
        vk = KeyForCharacter(printed[0]);
    }
    if (vk == 0) vk = KeyForDomCode(code, numLock != 0);
    if (vk == 0 || theHost.Key(vk, repeat, ctrl != 0, alt != 0) == KeyUse::None) return -1;
    return static_cast<int>(theHost.Request());
}

EMSCRIPTEN_KEEPALIVE int web_command(int id) { return static_cast<int>(theHost.Command(id)); }

// The clocks on the page's milliseconds: runs what is due; when to come again (-1: they stand).
EMSCRIPTEN_KEEPALIVE double web_advance(double now) {
    theHost.Advance(static_cast<int64_t>(now));
    return static_cast<double>(theHost.NextDue());
}
EMSCRIPTEN_KEEPALIVE void web_hidden(int hidden) { theHost.SetHidden(hidden != 0); }
EMSCRIPTEN_KEEPALIVE void web_dialog(int open) {
    if (open) {
        theHost.BeginDialog();
    } else {
        theHost.EndDialog();
    }
}

// SAVE or LOAD of a file in a folder of the page's file system, answered on the
// screen as the typed command is.
EMSCRIPTEN_KEEPALIVE int web_save_or_load(int save, const char* folder, const char* name) {
    return theHost.SaveOrLoadByName(save != 0, folder, name) ? 1 : 0;
}

// The save browser: the saved games in the page's folder, listed afresh; each
// one's title, time, score and picture (160 x 100, canvas bytes, the current colour).
EMSCRIPTEN_KEEPALIVE int web_list_saves() {
    web_present();  // the glyphs in the colour now chosen
    theSaves = ListSavedGames(theGame, "/saves");
    return static_cast<int>(theSaves.size());
}
EMSCRIPTEN_KEEPALIVE const char* web_list_title(int i) { return theSaves.at(static_cast<size_t>(i)).title.c_str(); }
EMSCRIPTEN_KEEPALIVE const char* web_list_when(int i) {
    static std::string when;
    when = SavedWhen(theSaves.at(static_cast<size_t>(i)));
    return when.c_str();
}
EMSCRIPTEN_KEEPALIVE int web_list_score(int i) { return static_cast<int>(theSaves.at(static_cast<size_t>(i)).score); }
EMSCRIPTEN_KEEPALIVE const uint32_t* web_list_picture(int i) {
    DrawSmallScreen(theRenderer.screenGlyphs, theSaves.at(static_cast<size_t>(i)).screen, theSmall);
    return theSmall.pixels;
}
// Opened as a LOAD of its name (the kept game at the title continued), answered on the screen.
EMSCRIPTEN_KEEPALIVE int web_list_open(int i) {
    return OpenSavedGame(theHost, "/saves", theSaves.at(static_cast<size_t>(i))) ? 1 : 0;
}

// Whether a key of any kind is what the game waits for (a tap on the picture gives one).
EMSCRIPTEN_KEEPALIVE int web_waits_for_any_key() { return theHost.Paused() || theGame.aboutShown || theGame.awaitingKey ? 1 : 0; }
// Whether a typed letter would be dropped now (a "What???" showing), so the page holds it.
EMSCRIPTEN_KEEPALIVE int web_holds_keys() {
    return theGame.mode == Play && !theGame.awaitingKey && theGame.whatTicks > 0 ? 1 : 0;
}

// Where the picture goes in an area of device pixels at `ratio` device pixels to a
// CSS pixel: factor, left, top, right, bottom.
EMSCRIPTEN_KEEPALIVE const int* web_place(int width, int height, double ratio) {
    static int placed[5];
    const Placement p = PlaceSharp(width, height, ratio);
    const int values[5] = {p.factor, p.left, p.top, p.right, p.bottom};
    std::memcpy(placed, values, sizeof placed);
    return placed;
}

}  // extern "C"
