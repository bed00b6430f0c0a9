// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a test inside a fresh temporary directory, since saved games go to the
// current directory, and returns to where it was afterwards.
#pragma once

#include <filesystem>
#include <string>

// A whole file's bytes; empty when it cannot be read.
std::string ReadFile(const std::filesystem::path& path);

class ScopedTempDir {
public:
    ScopedTempDir();
    ~ScopedTempDir();
    ScopedTempDir(const ScopedTempDir&) = delete;
    ScopedTempDir& operator=(const ScopedTempDir&) = delete;
    const std::filesystem::path& path() const { return dir_; }

private:
    std::filesystem::path previous_;
    std::filesystem::path dir_;
};
