// SPDX-License-Identifier: GPL-3.0-or-later
#include "temp_dir.h"

#include <stdlib.h>

#include <string>

ScopedTempDir::ScopedTempDir() : previous_(std::filesystem::current_path()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "grimspire-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) {
        dir_ = pattern;
        std::filesystem::current_path(dir_);
    }
}

ScopedTempDir::~ScopedTempDir() {
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
    if (!dir_.empty()) std::filesystem::remove_all(dir_, ec);
}
