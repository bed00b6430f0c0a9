// SPDX-License-Identifier: GPL-3.0-or-later
#include "savelist.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "host.h"
#include "save/save.h"
#include "save/storage.h"
#include "score/score.h"

namespace fs = std::filesystem;

namespace {

// The name a saved game's noun can hold.
constexpr size_t kLongestName = sizeof(GameState::noun) - 1;

std::string Utf8Name(const fs::path& p) {
    const auto u8 = p.filename().u8string();
    return std::string(u8.begin(), u8.end());
}

// The file clock's epoch differs from system to system; measured against now.
int64_t SecondsSince1970(fs::file_time_type when) {
    const auto sys = std::chrono::system_clock::now() + std::chrono::duration_cast<std::chrono::system_clock::duration>(
                                                          when - fs::file_time_type::clock::now());
    return std::chrono::duration_cast<std::chrono::seconds>(sys.time_since_epoch()).count();
}

}  // namespace

std::vector<SavedGame> ListSavedGames(const GameState& g, const std::string& folder) {
    struct Found {
        SavedGame game;
        fs::file_time_type written;
    };
    std::vector<Found> found;
    std::error_code ec;
    for (fs::directory_iterator it(NativePath(folder.c_str()), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = Utf8Name(it->path());
        if (name.empty() || name.size() > kLongestName || name.find(".tmp-") != std::string::npos) continue;
        std::error_code fileEc;
        const fs::file_time_type written = it->last_write_time(fileEc);
        if (fileEc || !it->is_regular_file(fileEc)) continue;
        GameState loaded;
        const std::string path = folder + "/" + name;
        if (!ReadSavedGame(g, path.c_str(), &loaded)) continue;
        Found f{{}, written};
        f.game.name = name;
        f.game.kept = name == kKeptGameName;
        f.game.title = f.game.kept ? "Continue" : name;
        f.game.savedAt = SecondsSince1970(written);
        f.game.score = ComputeScore(loaded);
        std::memcpy(f.game.screen, loaded.screen, sizeof f.game.screen);
        found.push_back(std::move(f));
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        if (a.game.kept != b.game.kept) return a.game.kept;
        if (a.written != b.written) return a.written > b.written;
        return a.game.name < b.game.name;
    });
    std::vector<SavedGame> list;
    list.reserve(found.size());
    for (Found& f : found) list.push_back(std::move(f.game));
    return list;
}

std::string SavedWhen(const SavedGame& s) {
    const auto when = static_cast<std::time_t>(s.savedAt);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &when);
#else
    localtime_r(&when, &local);
#endif
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return text;
}

bool OpenSavedGame(Host& host, const std::string& folder, const SavedGame& s) {
    if (s.kept && host.CanContinue()) {
        host.Continue();  // a damaged one is forgotten, and the title says so by losing its line
        return true;
    }
    return host.SaveOrLoadByName(false, folder, s.name);
}
