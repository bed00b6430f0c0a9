// SPDX-License-Identifier: GPL-3.0-or-later
// The game's headers come before <windows.h>, whose REG_ and VK_ macros would
// otherwise rewrite the game's own enumerators.
#include "host.h"
#include "ports.h"

#include <windows.h>
#include <knownfolders.h>
#include <mmsystem.h>
#include <shlobj.h>

#include <algorithm>
#include <array>
#include <memory>

#include "platform.h"

namespace {

constexpr const char* kKeyPath = "Software\\Grimspire";

// StoreKey is 32 bits and an HKEY is a pointer: the game holds a slot number.
std::array<HKEY, 8> openKeys{};

// Every copy of the game reads and writes the key under one lock, held from
// opening to closing: a best score is compared and replaced with nothing between.
class StoreLock {
public:
    StoreLock() : mutex_(CreateMutexW(nullptr, FALSE, L"Local\\Grimspire.Store")) {
        const DWORD waited = mutex_ != nullptr ? WaitForSingleObject(mutex_, 10000) : WAIT_FAILED;
        held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;  // abandoned: its holder was killed
    }
    ~StoreLock() {
        if (held_) ReleaseMutex(mutex_);
        if (mutex_ != nullptr) CloseHandle(mutex_);
    }
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;
    bool Held() const { return held_; }

private:
    HANDLE mutex_;
    bool held_ = false;
};
std::unique_ptr<StoreLock> storeLock;  // while the game has a key open

HKEY KeyOf(StoreKey key) {
    return key >= 1 && key <= static_cast<StoreKey>(openKeys.size()) ? openKeys[static_cast<size_t>(key - 1)] : nullptr;
}

// PlaySound cannot tell whether it still sounds: each cue's end is reckoned
// from its length (8-bit mono at 11,025 Hz, after a 44-byte header).
class PlaySoundCues final : public CueOutput {
public:
    void Start(int id) override {
        const HMODULE module = GetModuleHandleA(nullptr);
        const HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), "WAVE");
        const DWORD size = found != nullptr ? SizeofResource(module, found) : 0;
        until_ = GetTickCount() + (size > 44 ? (size - 44) * 1000 / 11025 : 0);
        PlaySoundA(MAKEINTRESOURCEA(id), module, SND_RESOURCE | SND_ASYNC);
    }
    void Stop() override {
        until_ = GetTickCount();
        PlaySoundA(nullptr, nullptr, 0);
    }
    bool Playing() const override { return static_cast<LONG>(until_ - GetTickCount()) > 0; }

private:
    DWORD until_ = 0;
} theCues;

}  // namespace

CueOutput& ResourceCues() { return theCues; }

uint32_t I_TickCount() { return GetTickCount(); }

std::string SavesFolder() {
    PWSTR wide = nullptr;
    std::string folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_SavedGames, KF_FLAG_CREATE, nullptr, &wide))) {
        // The game's paths are UTF-8 (the program's code page too, by its manifest):
        // a user name in any script gives a folder the game can save in.
        const int n = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
        std::string narrow(n > 0 ? static_cast<size_t>(n) : 0, '\0');
        if (n > 0 && WideCharToMultiByte(CP_UTF8, 0, wide, -1, narrow.data(), n, nullptr, nullptr) == n) {
            narrow.resize(static_cast<size_t>(n - 1));
            folder = narrow + "\\Grimspire";
        }
    }
    CoTaskMemFree(wide);
    return folder;
}

const char* I_SaveFolder() {
    static const std::string saves = SavesFolder();
    const Host* host = ActiveHost();
    return host != nullptr ? host->SaveFolder(saves.c_str()) : saves.c_str();
}

int I_StoreOpenKey(int create, StoreKey* key) {
    size_t slot = 0;
    while (slot < openKeys.size() && openKeys[slot] != nullptr) ++slot;
    if (slot == openKeys.size()) return 0;
    if (!storeLock) storeLock = std::make_unique<StoreLock>();
    if (!storeLock->Held()) {
        storeLock.reset();
        return 0;
    }
    HKEY h = nullptr;
    const LONG result = create ? RegCreateKeyExA(HKEY_CURRENT_USER, kKeyPath, 0, nullptr, 0,
                                                 KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &h, nullptr)
                               : RegOpenKeyExA(HKEY_CURRENT_USER, kKeyPath, 0, KEY_QUERY_VALUE, &h);
    if (result != ERROR_SUCCESS) {
        if (std::none_of(openKeys.begin(), openKeys.end(), [](HKEY k) { return k != nullptr; })) storeLock.reset();
        return 0;
    }
    openKeys[slot] = h;
    *key = static_cast<StoreKey>(slot + 1);
    return 1;
}

int I_StoreQueryValue(StoreKey key, const char* name, uint32_t* type, uint8_t* data, uint32_t* size) {
    HKEY h = KeyOf(key);
    if (h == nullptr) return 0;
    DWORD t = 0;
    DWORD s = size != nullptr ? *size : 0;
    const LONG result = RegQueryValueExA(h, name, nullptr, &t, data, &s);
    if (type != nullptr) *type = t;
    if (size != nullptr) *size = s;
    return result == ERROR_SUCCESS ? 1 : 0;
}

int I_StoreSetValue(StoreKey key, const char* name, uint32_t type, const uint8_t* data, uint32_t size) {
    HKEY h = KeyOf(key);
    return h != nullptr && RegSetValueExA(h, name, 0, type, data, size) == ERROR_SUCCESS ? 1 : 0;
}

int I_StoreCloseKey(StoreKey key) {
    HKEY h = KeyOf(key);
    if (h == nullptr) return 0;
    // Flushed before the lock goes: the next copy reads what this one wrote.
    const bool kept = RegFlushKey(h) == ERROR_SUCCESS;
    RegCloseKey(h);
    openKeys[static_cast<size_t>(key - 1)] = nullptr;
    if (std::none_of(openKeys.begin(), openKeys.end(), [](HKEY k) { return k != nullptr; })) storeLock.reset();
    return kept ? 1 : 0;
}

bool ReadSetting(const char* name, uint32_t& value) {
    DWORD v = 0;
    DWORD size = sizeof v;
    DWORD type = 0;
    HKEY h = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kKeyPath, 0, KEY_QUERY_VALUE, &h) != ERROR_SUCCESS) return false;
    const bool ok = RegQueryValueExA(h, name, nullptr, &type, reinterpret_cast<BYTE*>(&v), &size) == ERROR_SUCCESS &&
                    type == REG_DWORD && size == sizeof v;
    RegCloseKey(h);
    if (ok) value = v;
    return ok;
}

void WriteSetting(const char* name, uint32_t value) {
    const StoreLock lock;
    HKEY h = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kKeyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h, nullptr) !=
        ERROR_SUCCESS) {
        return;
    }
    const DWORD v = value;
    RegSetValueExA(h, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v);
    RegCloseKey(h);
}
