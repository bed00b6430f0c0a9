// SPDX-License-Identifier: GPL-3.0-or-later
#include "typed_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>

namespace typed_store {

namespace {

constexpr char kHeader[] = "# Grimspire: the best score and its holder. The game replaces this file whole.\n";
// Nothing the game writes comes near this; anything larger is not ours.
constexpr off_t kMaxFileSize = 64 * 1024;

Fault gFault = Fault::None;

struct TypeName {
    uint32_t type;
    const char* name;
};
constexpr TypeName kTypeNames[] = {
    {REG_NONE, "none"}, {REG_SZ, "sz"}, {REG_EXPAND_SZ, "expand_sz"},
    {REG_BINARY, "binary"}, {REG_DWORD, "dword"}, {11, "qword"},
};

std::string TypeToText(uint32_t type) {
    for (const TypeName& t : kTypeNames) {
        if (t.type == type) return t.name;
    }
    return std::to_string(type);
}

bool ParseDecimal(const std::string& text, uint64_t limit, uint64_t* out) {
    if (text.empty() || text.size() > 10) return false;
    uint64_t v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + static_cast<uint64_t>(c - '0');
    }
    if (v > limit) return false;
    *out = v;
    return true;
}

bool TextToType(const std::string& text, uint32_t* type) {
    for (const TypeName& t : kTypeNames) {
        if (text == t.name) {
            *type = t.type;
            return true;
        }
    }
    uint64_t v = 0;
    if (!ParseDecimal(text, 0xFFFFFFFFu, &v)) return false;
    *type = static_cast<uint32_t>(v);
    return true;
}

bool ValidName(const std::string& name) {
    if (name.empty() || name[0] == '#') return false;
    for (char c : name) {
        if (c <= 0x20 || c >= 0x7F) return false;
    }
    return true;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool ParseData(const std::string& text, uint32_t type, std::vector<uint8_t>* bytes) {
    bytes->clear();
    if (text.rfind("hex:", 0) == 0) {
        const std::string hex = text.substr(4);
        if (hex.size() % 2 != 0) return false;
        for (size_t i = 0; i < hex.size(); i += 2) {
            const int hi = HexDigit(hex[i]);
            const int lo = HexDigit(hex[i + 1]);
            if (hi < 0 || lo < 0) return false;
            bytes->push_back(static_cast<uint8_t>(hi * 16 + lo));
        }
        return true;
    }
    if (type != REG_DWORD) return false;
    uint64_t v = 0;
    if (!ParseDecimal(text, 0xFFFFFFFFu, &v)) return false;
    for (int i = 0; i < 4; ++i) bytes->push_back(static_cast<uint8_t>((v >> (8 * i)) & 0xFF));
    return true;
}

std::vector<std::string> SplitFields(const std::string& line) {
    std::vector<std::string> fields;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i >= line.size()) break;
        size_t j = i;
        while (j < line.size() && line[j] != ' ' && line[j] != '\t') ++j;
        fields.push_back(line.substr(i, j - i));
        i = j;
    }
    return fields;
}

bool WriteAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// The rename itself is only durable once the directory entry is on disk too.
void SyncDirectory(const std::string& dir) {
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// mkstemp fills in six characters after it.
std::string TemporaryPrefix(const std::filesystem::path& target) { return "." + target.filename().string() + "."; }

}  // namespace

std::string StoreFilePath() {
    std::string base;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    // Relative values are to be ignored: they would move with the working directory.
    if (xdg != nullptr && xdg[0] == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        if (home == nullptr || home[0] != '/') return std::string();
        base = std::string(home) + "/.config";
    }
    return base + "/grimspire/highscore.conf";
}

std::string Format(const Values& values) {
    std::string text = kHeader;
    for (const auto& [name, value] : values) {
        text += name;
        text += ' ';
        text += TypeToText(value.type);
        text += ' ';
        if (value.type == REG_DWORD && value.bytes.size() == 4) {
            uint32_t v = 0;
            for (int i = 3; i >= 0; --i) v = (v << 8) | value.bytes[static_cast<size_t>(i)];
            text += std::to_string(v);
        } else {
            static constexpr char kDigits[] = "0123456789abcdef";
            text += "hex:";
            for (uint8_t b : value.bytes) {
                text += kDigits[b >> 4];
                text += kDigits[b & 0x0F];
            }
        }
        text += '\n';
    }
    return text;
}

bool Parse(const std::string& text, Values* values) {
    Values parsed;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find('\0') != std::string::npos) return false;
        const std::vector<std::string> fields = SplitFields(line);
        if (fields.empty() || fields[0][0] == '#') continue;
        if (fields.size() != 3 || !ValidName(fields[0])) return false;
        Value value;
        if (!TextToType(fields[1], &value.type)) return false;
        if (!ParseData(fields[2], value.type, &value.bytes)) return false;
        if (!parsed.emplace(fields[0], std::move(value)).second) return false;
    }
    *values = std::move(parsed);
    return true;
}

bool ReadStoreFile(const std::string& path, Values* values) {
    if (path.empty()) return false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxFileSize) {
        ::close(fd);
        return false;
    }
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            return false;
        }
        if (n == 0) break;
        text.append(buffer, static_cast<size_t>(n));
        if (text.size() > static_cast<size_t>(kMaxFileSize)) {
            ::close(fd);
            return false;
        }
    }
    ::close(fd);
    return Parse(text, values);
}

void RemoveLeftovers(const std::string& path) {
    if (path.empty()) return;
    const std::filesystem::path target(path);
    const std::string prefix = TemporaryPrefix(target);
    std::error_code ec;
    for (std::filesystem::directory_iterator it(target.parent_path(), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code statError;
        if (name.size() == prefix.size() + 6 && name.starts_with(prefix) &&
            std::filesystem::is_regular_file(it->symlink_status(statError))) {
            ::unlink(it->path().c_str());
        }
    }
}

bool WriteStoreFile(const std::string& path, const Values& values) {
    const Fault fault = gFault;
    gFault = Fault::None;
    if (path.empty()) return false;
    for (const auto& entry : values) {
        if (!ValidName(entry.first)) return false;
    }

    const std::filesystem::path target(path);
    const std::string dir = target.parent_path().string();
    std::error_code ec;
    std::filesystem::create_directories(target.parent_path(), ec);
    if (ec || !std::filesystem::is_directory(target.parent_path(), ec)) return false;

    std::string tempName = dir + "/" + TemporaryPrefix(target) + "XXXXXX";
    std::vector<char> temp(tempName.begin(), tempName.end());
    temp.push_back('\0');
    const int fd = fault == Fault::CreateTemp ? -1 : ::mkstemp(temp.data());
    if (fd < 0) return false;

    bool ok = fault != Fault::Write && WriteAll(fd, Format(values));
    ok = ok && fault != Fault::Sync && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && fault != Fault::Rename && std::rename(temp.data(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.data());
        return false;
    }
    SyncDirectory(dir);
    return true;
}

void InjectFault(Fault fault) { gFault = fault; }

}  // namespace typed_store

// The ports. The file is read afresh on every query, so two open keys never see
// different stores, and every write goes to disk at once, as the registry's do.
namespace {

std::set<StoreKey> gOpenKeys;
// A key opened for writing holds the store's lock until it is closed, so one
// copy of the game reads and writes the best score while the others wait.
std::map<StoreKey, int> gLocks;
StoreKey gNextKey = 1;

int Lock(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    const int fd = ::open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0 && ::flock(fd, LOCK_EX) != 0) {
        ::close(fd);
        return -1;
    }
    // Only the lock's holder writes, so a temporary file there now was left by
    // a copy of the game killed while saving; left there, they would pile up.
    if (fd >= 0) typed_store::RemoveLeftovers(path);
    return fd;
}

}  // namespace

int I_StoreOpenKey(int create, StoreKey* key) {
    if (key == nullptr) return 0;
    const std::string path = typed_store::StoreFilePath();
    const int lock = create ? Lock(path) : -1;
    typed_store::Values values;
    if (!typed_store::ReadStoreFile(path, &values)) {
        // A damaged file is no key; creating the key starts a clean store over it.
        if (!create || !typed_store::WriteStoreFile(path, typed_store::Values{})) {
            if (lock >= 0) ::close(lock);
            return 0;
        }
    }
    while (gNextKey <= 0 || gOpenKeys.count(gNextKey) != 0) {
        gNextKey = gNextKey <= 0 ? 1 : gNextKey + 1;
    }
    *key = gNextKey++;
    gOpenKeys.insert(*key);
    if (lock >= 0) gLocks[*key] = lock;
    return 1;
}

int I_StoreQueryValue(StoreKey key, const char* name, uint32_t* type, uint8_t* data, uint32_t* size) {
    if (name == nullptr || gOpenKeys.count(key) == 0) return 0;
    typed_store::Values values;
    if (!typed_store::ReadStoreFile(typed_store::StoreFilePath(), &values)) return 0;
    const auto it = values.find(name);
    if (it == values.end()) return 0;
    const auto needed = static_cast<uint32_t>(it->second.bytes.size());
    if (type != nullptr) *type = it->second.type;
    if (data == nullptr) {
        if (size != nullptr) *size = needed;
        return 1;
    }
    if (size == nullptr || *size < needed) {
        if (size != nullptr) *size = needed;
        return 0;
    }
    if (needed > 0) std::memcpy(data, it->second.bytes.data(), needed);
    *size = needed;
    return 1;
}

int I_StoreSetValue(StoreKey key, const char* name, uint32_t type, const uint8_t* data, uint32_t size) {
    if (name == nullptr || gOpenKeys.count(key) == 0) return 0;
    if (data == nullptr && size > 0) return 0;
    const std::string path = typed_store::StoreFilePath();
    typed_store::Values values;
    if (!typed_store::ReadStoreFile(path, &values)) values.clear();
    typed_store::Value& value = values[name];
    value.type = type;
    value.bytes.assign(data, data + size);
    return typed_store::WriteStoreFile(path, values) ? 1 : 0;
}

void I_StoreCloseKey(StoreKey key) {
    gOpenKeys.erase(key);
    if (const auto it = gLocks.find(key); it != gLocks.end()) {
        ::close(it->second);  // releases the lock
        gLocks.erase(it);
    }
}
