// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the transcripts in this folder, each case a test of its own that fails at
// the transcript's own line. The format is described in README.md beside this file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "golden.h"
#include "temp_dir.h"
#include "transcript.h"

namespace {

const std::vector<Case>& AllCases() {
    static const std::vector<Case> cases = [] {
        std::vector<std::string> files;
        for (const auto& e : std::filesystem::directory_iterator(GRIMSPIRE_TRANSCRIPT_DIR)) {
            if (e.path().extension() == ".txt") files.push_back(e.path().string());
        }
        std::sort(files.begin(), files.end());
        std::vector<Case> all;
        for (const auto& f : files) {
            for (Case& c : LoadCases(f)) all.push_back(std::move(c));
        }
        return all;
    }();
    return cases;
}

class Transcript : public ::testing::TestWithParam<size_t> {};

TEST_P(Transcript, Plays) {
    // Each case gets its own empty folder, so SAVE and LOAD touch nothing else.
    ScopedTempDir dir;
    const Case& c = AllCases()[GetParam()];
    Replay replay(c, [&](int line, const std::string& what) {
        ADD_FAILURE_AT((std::string(GRIMSPIRE_TRANSCRIPT_DIR) + "/" + c.file).c_str(), line)
            << "case \"" << c.name << "\": " << what << "\nscreen:\n" << DumpScreen(replay.Game());
    });
    replay.Run();
}

INSTANTIATE_TEST_SUITE_P(Cases, Transcript, ::testing::Range<size_t>(0, AllCases().size()),
                         [](const ::testing::TestParamInfo<size_t>& p) {
                             const Case& c = AllCases()[p.param];
                             return c.file.substr(0, c.file.find('.')) + "_L" + std::to_string(c.line);
                         });

}  // namespace
