// SPDX-License-Identifier: GPL-3.0-or-later
#include "temp_dir.h"

#include <fstream>
#include <iterator>
#include <random>
#include <string>

ScopedTempDir::ScopedTempDir() : previous_(std::filesystem::current_path()) {
    std::random_device seed;
    std::error_code ec;
    // create_directory makes the folder only when it was not there: ours alone.
    for (int attempt = 0; attempt < 100 && dir_.empty(); ++attempt) {
        const auto candidate = std::filesystem::temp_directory_path() / ("grimspire-test-" + std::to_string(seed()));
        if (std::filesystem::create_directory(candidate, ec)) dir_ = candidate;
    }
    if (!dir_.empty()) std::filesystem::current_path(dir_);
}

ScopedTempDir::~ScopedTempDir() {
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
    if (!dir_.empty()) std::filesystem::remove_all(dir_, ec);
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}
