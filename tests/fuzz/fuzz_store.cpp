// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes at all as the best-score file: the game starts with a score in range
// and a terminated name, or with no best score.
#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "invariants.h"
#include "score/score.h"
#include "typed_store.h"

namespace {
GameState g;

const std::string& StorePath() {
    static std::string path;
    if (path.empty()) {
        char pattern[] = "/tmp/grimspire-fuzz-store-XXXXXX";
        if (mkdtemp(pattern) == nullptr) std::abort();
        setenv("XDG_CONFIG_HOME", pattern, 1);
        path = typed_store::StoreFilePath();
        const std::string dir = path.substr(0, path.find_last_of('/'));
        std::string mk = "mkdir -p '" + dir + "'";
        if (std::system(mk.c_str()) != 0) std::abort();
    }
    return path;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = StorePath();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return 0;
    if (size > 0) std::fwrite(data, 1, size, f);
    std::fclose(f);

    InitGameState(g);
    fuzzing::CheckInvariants(g);
    typed_store::Values values;
    if (typed_store::ReadStoreFile(path, &values)) {
        // What reads back must write out and read back the same.
        typed_store::Values again;
        if (!typed_store::Parse(typed_store::Format(values), &again)) fuzzing::Fail("round trip");
        if (again.size() != values.size()) fuzzing::Fail("round trip size");
    }
    return 0;
}
