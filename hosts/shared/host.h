// SPDX-License-Identifier: GPL-3.0-or-later
// The rules every edition shares around the game: which keys reach it and which
// are the edition's, when the two clocks stand, the menu's commands, pause, save
// and load by a name, whether leaving would lose play, and the cue policy. A
// front-end turns its platform's events into these calls, runs its own menus,
// dialogs, audio device and window, and draws the grid whenever Frame() changes.
#pragma once

#include <cstdint>
#include <string>
#include <thread>

#include "commands.h"
#include "cues.h"
#include "core/state.h"

// Keys the platform may send besides those the game knows, numbered as Windows does.
enum : uint32_t {
    VK_CONTROL = 17,
    VK_MENU = 18,  // Alt
    VK_PAUSE = 19,
    VK_ESCAPE = 27,
    VK_F1 = 112,
    VK_F2 = 113,
    VK_F3 = 114,
    VK_F5 = 116,
    VK_F6 = 117,
    VK_F7 = 118,
    VK_F8 = 119,
    VK_F9 = 120,
    VK_F10 = 121,
};

// What a menu command or a key leaves for the front-end to do itself.
enum class HostRequest {
    None,
    AskSaveName,    // open the save dialog, then SaveOrLoadByName(true, ...)
    AskLoadName,    // open the load dialog, then SaveOrLoadByName(false, ...)
    Exit,           // leave the program (nothing is asked: see WouldLosePlay)
    FullScreen,     // toggle full screen
    Escape,         // Esc: in full screen, show or hide the menu bar
    OpenSaves,      // show the saves folder
    ZoomIn,
    ZoomOut,
    ActualSize,
};

enum class Scheme { Gray, Green, Amber };

// Where a key went: nowhere (the platform may use it), to the edition, or to the game.
enum class KeyUse { None, Edition, Game };

class Host {
public:
    // With `canEnd` false (a page cannot close itself), where the game would end
    // the program it shows the title instead.
    explicit Host(GameState& game, bool canEnd = true);
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // Builds the game (the title, and its tune through the cue policy): after the
    // output and the sound setting are in place.
    void Start();

    GameState& Game() { return game_; }
    const GameState& Game() const { return game_; }
    void SetCueOutput(CueOutput* output) { cues_ = output; }

    // A key as Windows sends it in WM_KEYDOWN, with whether Ctrl or Alt is held.
    // The edition's keys become commands.
    KeyUse Key(uint32_t vk, int32_t repeat, bool ctrl = false, bool alt = false);
    // The request left after the last Key or Command.
    HostRequest Request() const { return request_; }
    // A menu command by its shared number.
    HostRequest Command(int id);

    // The clocks run on the front-end's milliseconds: Advance runs every tick due
    // by `now`; NextDue says when to call it again (-1: the clocks stand).
    void Advance(int64_t now);
    int64_t NextDue() const;
    bool ClocksHeld() const;
    // A modal dialog or question is open; nested calls count.
    void BeginDialog();
    void EndDialog();
    // The window minimised or the page hidden: paused, and going on when shown
    // again unless the player paused first.
    void SetHidden(bool hidden);
    // The terminal too small to draw the game: no key and no tick reaches it.
    void SetWaiting(bool waiting);
    bool Waiting() const { return waiting_; }

    bool Paused() const { return paused_; }
    void SetPaused(bool paused);
    const char* WindowTitle() const { return paused_ ? "Grimspire - Paused" : "Grimspire"; }
    bool AboutShown() const { return game_.aboutShown != 0; }

    // Menu save and load are the typed commands with a name from a dialog, answered
    // on the screen as typed ones are. False when the name does not fit a command.
    // A load may also be chosen at the title: a game is begun for the LOAD.
    bool CanSaveOrLoad() const;
    bool CanLoad() const;
    bool SaveOrLoadByName(bool save, const std::string& folder, const std::string& name);
    // The folder saves go to just now: a dialog's folder while its command runs, else `usual`.
    const char* SaveFolder(const char* usual) const;

    // Closing now, or a new game, would lose play since the last save or load.
    bool WouldLosePlay() const;

    // The kept game: the game in play, written as an ordinary saved game under a
    // name no typed SAVE can make, whenever the program may end or the player
    // leaves the game, and as the man enters a room; removed when a game ends.
    // Keep() is for every way out of the program: it waits until the file is on disk.
    void Keep();
    bool HasKept() const;
    // Looks again for a kept game, for a saves folder read after the start.
    void LookForKept();
    // Whether Continue can be chosen now (at the title, with a kept game).
    bool CanContinue() const;
    // LOAD of the kept game; false (and the game as it was) when there is none.
    bool Continue();
    // Changes whenever the kept game was written or removed.
    uint64_t KeptSerial() const { return keptSerial_; }
    // Milliseconds the last keep took on the caller's thread; for measuring.
    double LastKeepMs() const { return lastKeepMs_; }
    // The game chose to end the program.
    bool Ended() const { return ended_; }

    // The cue policy: the core's ports end here.
    void PlayCue(int id);
    void PlayCueIfQuiet(int id);
    void StopSound();
    bool SoundOn() const { return soundOn_; }
    void SetSoundOn(bool on);

    Scheme CurrentScheme() const { return scheme_; }
    void SetScheme(Scheme scheme);

    // Changes whenever anything the picture shows may have changed.
    uint64_t Frame() const { return frame_; }
    // Changes whenever a menu check or the title may have changed.
    uint64_t Settings() const { return settings_; }

private:
    bool AtTitle() const;
    void Tick(int clock);
    void RestartClocks(int64_t now);
    void Changed() { ++frame_; }
    // What follows any event: a room entered is kept, a finished game forgotten,
    // the title says when there is a game to continue.
    void Follow();
    void KeepNow(bool wait);
    void ForgetKept();
    void Settle();
    std::string KeptPath() const;

    GameState& game_;
    CueOutput* cues_ = nullptr;
    bool canEnd_;
    bool ended_ = false;
    bool paused_ = false;
    bool pausedByHiding_ = false;
    bool hidden_ = false;
    bool waiting_ = false;
    int dialogs_ = 0;
    bool soundOn_ = true;
    Scheme scheme_ = Scheme::Gray;
    HostRequest request_ = HostRequest::None;
    std::string folderOverride_;
    bool folderOverridden_ = false;
    int64_t due_[2] = {-1, -1};
    int64_t now_ = 0;
    bool restart_ = true;  // the clocks start afresh at the next Advance
    uint64_t frame_ = 1;
    uint64_t settings_ = 1;
    bool played_ = false;       // a key reached this game in play: there is something to keep
    int32_t keptRoom_ = -1;     // the room the man stood in when last kept
    bool kept_ = false;         // a kept game is on the disk
    std::thread keeper_;        // the last keep, still writing
    double lastKeepMs_ = 0;
    uint64_t keptSerial_ = 0;
};

// The kept game's file name in the saves folder: no typed name has a small letter or a dash.
constexpr const char* kKeptGameName = "kept-game";

// The host the core's sound ports reach: the one made last and still alive.
Host* ActiveHost();

// The command a key of the edition's stands for (F1 About, F2 New Game, F3 and
// Pause, F5-F7 the colours, F8 sound, F9 Continue, Esc), 0 for others.
int CommandForKey(uint32_t vk);
// The scheme's colour as 0x00RRGGBB.
uint32_t SchemeColour(Scheme scheme);
