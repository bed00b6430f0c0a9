// SPDX-License-Identifier: GPL-3.0-or-later
#include "host.h"

#include <chrono>
#include <filesystem>

#include "commands/commands.h"
#include "save/save.h"
#include "save/storage.h"
#include "picture.h"
#include "core/core.h"
#include "world/world.h"

namespace {

constexpr int64_t kPeriods[2] = {kEventsPeriodMs, kBlinkPeriodMs};
Host* theActiveHost = nullptr;

}  // namespace

int CommandForKey(uint32_t vk) {
    switch (vk) {
        case VK_F1: return ID_HELP_ABOUT;
        case VK_F2: return ID_NEW_GAME;
        case VK_F3:
        case VK_PAUSE: return ID_PAUSE;
        case VK_F5: return ID_VIEW_GRAY;
        case VK_F6: return ID_VIEW_GREEN;
        case VK_F7: return ID_VIEW_AMBER;
        case VK_F8: return ID_VIEW_SOUND;
        case VK_F9: return ID_CONTINUE;
        case VK_ESCAPE: return ID_ESCAPE;
        default: return 0;
    }
}

uint32_t SchemeColour(Scheme scheme) {
    return scheme == Scheme::Green ? kGreenColour : scheme == Scheme::Amber ? kAmberColour : kGrayColour;
}

Host* ActiveHost() { return theActiveHost; }

Host::Host(GameState& game, bool canEnd) : game_(game), canEnd_(canEnd) { theActiveHost = this; }

Host::~Host() {
    Settle();
    if (theActiveHost == this) theActiveHost = nullptr;
}

void Host::Start() {
    InitGameState(game_);
    LookForKept();
}

void Host::LookForKept() {
    std::error_code ec;
    kept_ = std::filesystem::is_regular_file(NativePath(KeptPath().c_str()), ec);
    Follow();
    Changed();
}

std::string Host::KeptPath() const {
    char path[4096];
    return SavePath(kKeptGameName, path, sizeof path) ? path : "";
}

// Waits for a keep still being written.
void Host::Settle() {
    if (keeper_.joinable()) keeper_.join();
}

void Host::KeepNow(bool wait) {
    const auto start = std::chrono::steady_clock::now();
    Settle();
    const std::string path = KeptPath();
    if (path.empty()) return;
    // A copy goes to the disk, so the game goes on while the file is flushed.
    GameState copy = game_;
    keptRoom_ = game_.currentRoom;
    kept_ = true;
    ++keptSerial_;
#if defined(__EMSCRIPTEN__) || defined(_WIN32)
    wait = true;  // no threads here
#endif
    if (wait) {
        SaveGame(copy, path.c_str());
    } else {
        keeper_ = std::thread([copy, path]() mutable { SaveGame(copy, path.c_str()); });
    }
    lastKeepMs_ = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void Host::ForgetKept() {
    Settle();
    std::error_code ec;
    std::filesystem::remove(NativePath(KeptPath().c_str()), ec);
    kept_ = false;
    keptRoom_ = -1;
    ++keptSerial_;
}

bool Host::HasKept() const { return kept_; }

bool Host::AtTitle() const {
    return (game_.mode == Title || game_.mode == Instructions) && !game_.aboutShown && dialogs_ == 0;
}

bool Host::CanContinue() const { return kept_ && AtTitle(); }

void Host::Keep() {
    if (game_.mode == Play && !game_.awaitingKey && played_) KeepNow(true);
    Settle();
}

bool Host::Continue() {
    if (!CanContinue()) return false;
    Settle();
    if (!LoadGame(game_, KeptPath().c_str())) {
        ForgetKept();  // damaged: nothing to continue
        Follow();
        Changed();
        return false;
    }
    ::StopSound(game_);
    game_.mode = Play;
    EchoCommandLine(game_);
    played_ = true;
    keptRoom_ = game_.currentRoom;
    Changed();
    return true;
}

void Host::Follow() {
    const bool dead = game_.mode == Play && game_.awaitingKey;
    if (game_.mode == Summary || game_.mode == NameEntry || dead) {
        played_ = false;
        if (kept_) ForgetKept();
    } else if (game_.mode == Play && played_ && game_.currentRoom != keptRoom_) {
        KeepNow(false);  // a crash loses at most one room
    } else if (game_.mode == Title && kept_) {
        PutText(game_, "     C - to continue your last game", 0, 2);
    }
}

KeyUse Host::Key(uint32_t vk, int32_t repeat, bool ctrl, bool alt) {
    request_ = HostRequest::None;
    // Alt, F10 and Alt combinations are the platform's menu keys; Ctrl
    // combinations are shortcuts, the edition's or the platform's.
    if (dialogs_ > 0 || waiting_ || alt || vk == VK_MENU || vk == VK_F10) return KeyUse::None;
    if (ctrl && vk != VK_CONTROL) return KeyUse::None;
    if (const int id = CommandForKey(vk)) {
        if (!repeat) request_ = Command(id);
        return KeyUse::Edition;
    }
    if (paused_) {
        SetPaused(false);  // the key that goes on does nothing else
        return KeyUse::Edition;
    }
    if (vk == 'C' && !repeat && CanContinue()) {
        Continue();
        return KeyUse::Edition;
    }
    if (game_.aboutShown) {
        game_.aboutShown = 0;  // the key only closes the box
        Changed();
        return KeyUse::Edition;
    }
    const uint32_t mode = game_.mode;
    if (mode == Play) played_ = true;
    if (HandleKey(game_, vk, repeat) == 0) {
        if (canEnd_) {
            ended_ = true;
            request_ = HostRequest::Exit;
        } else {
            SetMode(game_, Title);
        }
    }
    if (mode != Play && game_.mode == Play) {
        played_ = false;  // a new game: nothing to keep until a key is played
        keptRoom_ = game_.currentRoom;
    }
    Follow();
    Changed();
    return KeyUse::Game;
}

HostRequest Host::Command(int id) {
    request_ = HostRequest::None;
    switch (id) {
        case ID_NEW_GAME:
            Keep();  // the game left for a new one can be continued
            SetMode(game_, Title);
            break;
        case ID_CONTINUE: Continue(); break;
        case ID_EXIT: request_ = HostRequest::Exit; break;
        case ID_VIEW_GRAY: SetScheme(Scheme::Gray); break;
        case ID_VIEW_GREEN: SetScheme(Scheme::Green); break;
        case ID_VIEW_AMBER: SetScheme(Scheme::Amber); break;
        case ID_VIEW_FULL_SCREEN: request_ = HostRequest::FullScreen; break;
        case ID_HELP_ABOUT:
            ::StopSound(game_);
            game_.aboutShown = game_.aboutShown ? 0 : 1;
            break;
        case ID_ESCAPE: request_ = HostRequest::Escape; break;
        case ID_SAVE_GAME:
            if (CanSaveOrLoad()) request_ = HostRequest::AskSaveName;
            break;
        case ID_LOAD_GAME:
            if (CanLoad()) request_ = HostRequest::AskLoadName;
            break;
        case ID_OPEN_SAVES: request_ = HostRequest::OpenSaves; break;
        case ID_PAUSE: SetPaused(!paused_); break;
        case ID_VIEW_SOUND: SetSoundOn(!soundOn_); break;
        case ID_ZOOM_IN: request_ = HostRequest::ZoomIn; break;
        case ID_ZOOM_OUT: request_ = HostRequest::ZoomOut; break;
        case ID_ACTUAL_SIZE: request_ = HostRequest::ActualSize; break;
        default: break;
    }
    Follow();
    Changed();
    return request_;
}

bool Host::ClocksHeld() const { return paused_ || waiting_ || dialogs_ > 0 || game_.aboutShown; }

void Host::RestartClocks(int64_t now) {
    for (int c = 0; c < 2; ++c) due_[c] = now + kPeriods[c];
    restart_ = false;
}

void Host::Advance(int64_t now) {
    now_ = now;
    if (ClocksHeld()) {
        // Held clocks go on from when they are let go, rather than catch up in a burst.
        restart_ = true;
        return;
    }
    if (restart_) RestartClocks(now);
    for (;;) {
        const int c = due_[0] <= due_[1] ? 0 : 1;
        if (due_[c] > now) break;
        Tick(c);
        due_[c] += kPeriods[c];
        // Far behind (the machine slept): start afresh.
        if (now - due_[c] > kPeriods[c]) due_[c] = now + kPeriods[c];
        if (ClocksHeld()) break;
    }
}

int64_t Host::NextDue() const {
    if (ClocksHeld()) return -1;
    if (restart_) return now_;
    return due_[0] < due_[1] ? due_[0] : due_[1];
}

void Host::Tick(int clock) {
    if (clock == 0) {
        WorldTick(game_);
        Follow();  // a monster or a flood may have killed the man
    } else {
        BlinkTick(game_);
    }
    Changed();
}

void Host::BeginDialog() { ++dialogs_; }

void Host::EndDialog() {
    if (dialogs_ > 0) --dialogs_;
}

void Host::SetHidden(bool hidden) {
    if (hidden == hidden_) return;
    hidden_ = hidden;
    // A hidden page or minimised window may be ended without a word.
    if (hidden) Keep();
    if (hidden && !paused_) {
        SetPaused(true);
        pausedByHiding_ = true;
    } else if (!hidden && pausedByHiding_) {
        SetPaused(false);
    }
}

void Host::SetWaiting(bool waiting) { waiting_ = waiting; }

void Host::SetPaused(bool paused) {
    pausedByHiding_ = false;
    if (paused == paused_) return;
    paused_ = paused;
    if (paused_) StopSound();
    ++settings_;
}

bool Host::CanSaveOrLoad() const {
    return game_.mode == Play && !game_.awaitingKey && !game_.aboutShown && dialogs_ == 0;
}

bool Host::CanLoad() const { return CanSaveOrLoad() || AtTitle(); }

bool Host::SaveOrLoadByName(bool save, const std::string& folder, const std::string& name) {
    request_ = HostRequest::None;
    const bool fromTitle = !save && AtTitle();
    if (!CanSaveOrLoad() && !fromTitle) return true;  // the game moved on while the dialog stood
    if (fromTitle) {
        if (name.empty() || name.size() >= sizeof game_.noun) return false;  // before the title is left for it
        ::StopSound(game_);
        SetMode(game_, Play);  // LOAD is a command of the game in play
        keptRoom_ = game_.currentRoom;
    }
    folderOverride_ = folder;
    folderOverridden_ = true;
    const int ran = RunNamedCommand(game_, save ? "SAVE" : "LOAD", name.c_str());
    folderOverridden_ = false;
    played_ = true;
    Follow();
    Changed();
    return ran != 0;
}

const char* Host::SaveFolder(const char* usual) const {
    return folderOverridden_ ? folderOverride_.c_str() : usual;
}

bool Host::WouldLosePlay() const { return game_.mode == Play && game_.playedSinceSave && !game_.awaitingKey; }

void Host::PlayCue(int id) {
    if (soundOn_ && cues_ != nullptr) cues_->Start(id);
}

void Host::PlayCueIfQuiet(int id) {
    if (soundOn_ && cues_ != nullptr && !cues_->Playing()) cues_->Start(id);
}

void Host::StopSound() {
    if (cues_ != nullptr) cues_->Stop();
}

void Host::SetSoundOn(bool on) {
    soundOn_ = on;
    if (!on) StopSound();
    ++settings_;
}

void Host::SetScheme(Scheme scheme) {
    scheme_ = scheme;
    ++settings_;
    Changed();
}
