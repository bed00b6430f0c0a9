// SPDX-License-Identifier: GPL-3.0-or-later
#include "folders.h"

#include <cstdlib>

#include "host.h"
#include "ports.h"

namespace {
std::string theSaveFolder = DefaultSaveFolder();
}  // namespace

std::string DefaultSaveFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data != nullptr && data[0] == '/') return std::string(data) + "/grimspire/saves";
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') return std::string(home) + "/.local/share/grimspire/saves";
    return "";
}

void SetSaveFolder(const std::string& folder) { theSaveFolder = folder; }

const char* I_SaveFolder() {
    const Host* host = ActiveHost();
    return host != nullptr ? host->SaveFolder(theSaveFolder.c_str()) : theSaveFolder.c_str();
}
