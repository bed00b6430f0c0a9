// SPDX-License-Identifier: GPL-3.0-or-later
// Writing a file so that neither a power cut nor another copy of the game can
// leave it empty or half written. Every save goes to a temporary file of its
// own, is flushed, renamed over the name, and the folder flushed after. Saves
// into one folder take turns under a lock, and only while holding it are the
// temporaries that killed saves left behind cleared away: nobody else can be
// writing them then.
#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "save/storage.h"

namespace fs = std::filesystem;

namespace {

// A copy stuck while holding the lock must not stop every other copy saving.
constexpr auto kLockPatience = std::chrono::seconds(10);

// "NAME.tmp-<process>-<count>": no two saves, in one copy or two, share one.
constexpr const char* kTempMark = ".tmp-";

// As UTF-8 whatever the system's own encoding of names.
std::string NameOf(const fs::path& p) {
    const auto u8 = p.filename().u8string();
    return std::string(u8.begin(), u8.end());
}

bool IsTemporaryOf(const std::string& entry, const std::string& base) {
    if (entry.size() <= base.size() + std::strlen(kTempMark) || entry.compare(0, base.size(), base) != 0 ||
        entry.compare(base.size(), std::strlen(kTempMark), kTempMark) != 0) {
        return false;
    }
    int dashes = 0;
    bool digit = false;
    for (size_t i = base.size() + std::strlen(kTempMark); i < entry.size(); ++i) {
        if (entry[i] == '-' && digit && dashes == 0) {
            ++dashes;
            digit = false;
        } else if (std::isdigit(static_cast<unsigned char>(entry[i]))) {
            digit = true;
        } else {
            return false;
        }
    }
    return dashes == 1 && digit;
}

void RemoveStaleTemporaries(const fs::path& target) {
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    const std::string base = NameOf(target);
    std::error_code ec;
    std::vector<fs::path> stale;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code sec;
        if (IsTemporaryOf(NameOf(it->path()), base) && fs::is_regular_file(it->symlink_status(sec))) {
            stale.push_back(it->path());
        }
    }
    for (const fs::path& p : stale) fs::remove(p, ec);
}

unsigned long ProcessId() {
#ifdef _WIN32
    return GetCurrentProcessId();
#else
    return static_cast<unsigned long>(getpid());
#endif
}

std::string TemporaryName(const std::string& target) {
    static unsigned long count = 0;
    return target + kTempMark + std::to_string(ProcessId()) + "-" + std::to_string(++count);
}

#ifdef _WIN32

std::wstring Wide(const char* utf8, UINT codePage, DWORD flags) {
    const int n = MultiByteToWideChar(codePage, flags, utf8, -1, nullptr, 0);
    if (n <= 0) return {};
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, flags, utf8, -1, w.data(), n);
    w.resize(static_cast<size_t>(n - 1));
    return w;
}

// One lock for every copy of the game in this session.
class SaveLock {
public:
    explicit SaveLock(const fs::path&) : mutex_(CreateMutexW(nullptr, FALSE, L"Local\\Grimspire.Saving")) {
        if (mutex_ == nullptr) return;
        const DWORD waited =
            WaitForSingleObject(mutex_, static_cast<DWORD>(std::chrono::milliseconds(kLockPatience).count()));
        held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    }
    ~SaveLock() {
        if (held_) ReleaseMutex(mutex_);
        if (mutex_ != nullptr) CloseHandle(mutex_);
    }
    bool Held() const { return held_; }
    bool SyncFolder() const { return true; }  // MoveFileEx's write-through does it

private:
    HANDLE mutex_;
    bool held_ = false;
};

bool WriteTemporary(const fs::path& temp, const uint8_t* data, size_t size) {
    const HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
    ok = FlushFileBuffers(file) && ok;
    ok = CloseHandle(file) && ok;
    return ok;
}

bool Replace(const fs::path& temp, const fs::path& target) {
    return MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

#else

// flock on the folder itself: it goes with the process, so a killed copy holds nothing.
class SaveLock {
public:
    explicit SaveLock(const fs::path& folder) : fd_(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        if (fd_ < 0) return;
        const auto until = std::chrono::steady_clock::now() + kLockPatience;
        while (!(held_ = flock(fd_, LOCK_EX | LOCK_NB) == 0) && errno == EWOULDBLOCK &&
               std::chrono::steady_clock::now() < until) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    ~SaveLock() {
        if (fd_ >= 0) close(fd_);  // and with it the lock
    }
    SaveLock(const SaveLock&) = delete;
    SaveLock& operator=(const SaveLock&) = delete;
    bool Held() const { return held_; }
    // A file system that cannot flush a folder (EINVAL) gives what it gives.
    bool SyncFolder() const { return fd_ >= 0 && (fsync(fd_) == 0 || errno == EINVAL); }

private:
    int fd_;
    bool held_ = false;
};

bool WriteTemporary(const fs::path& temp, const uint8_t* data, size_t size) {
    const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = true;
    for (size_t done = 0; ok && done < size;) {
        const ssize_t n = write(fd, data + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += static_cast<size_t>(n);
    }
    ok = ok && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    return ok;
}

bool Replace(const fs::path& temp, const fs::path& target) { return std::rename(temp.c_str(), target.c_str()) == 0; }

#endif

}  // namespace

fs::path NativePath(const char* utf8) {
#ifdef _WIN32
    // A name that is not UTF-8 came from the ANSI side of Windows.
    std::wstring w = Wide(utf8, CP_UTF8, MB_ERR_INVALID_CHARS);
    if (w.empty() && utf8[0] != '\0') w = Wide(utf8, CP_ACP, 0);
    return fs::path(w);
#else
    return fs::path(utf8);
#endif
}

int WriteFileDurably(const char* path, const uint8_t* data, size_t size) {
    const fs::path target = NativePath(path);
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    SaveLock lock(folder);
    // Without the lock another copy may be half way through; its file stays.
    if (lock.Held()) RemoveStaleTemporaries(target);
    const fs::path temp = NativePath(TemporaryName(path).c_str());
    std::error_code ec;
    if (!WriteTemporary(temp, data, size) || !Replace(temp, target)) {
        fs::remove(temp, ec);
        return 0;
    }
    return lock.SyncFolder() ? 1 : 0;
}

int FindIgnoringCase(const char* folder, const char* name, char* out, size_t size) {
    const fs::path where = NativePath(folder[0] == '\0' ? "." : folder);
    const size_t length = std::strlen(name);
    std::error_code ec;
    std::vector<std::string> found;
    for (fs::directory_iterator it(where, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = NameOf(it->path());
        std::error_code sec;
        if (entry.size() != length || !fs::is_regular_file(it->status(sec))) continue;
        bool same = true;
        for (size_t i = 0; i < length && same; ++i) {
            same = std::toupper(static_cast<unsigned char>(entry[i])) == std::toupper(static_cast<unsigned char>(name[i]));
        }
        if (same) found.push_back(entry);
    }
    if (found.empty()) return 0;
    // The same file whichever order the folder lists them in.
    std::sort(found.begin(), found.end());
    const int n = folder[0] == '\0' ? std::snprintf(out, size, "%s", found[0].c_str())
                                    : std::snprintf(out, size, "%s/%s", folder, found[0].c_str());
    return n >= 0 && static_cast<size_t>(n) < size ? 1 : 0;
}
