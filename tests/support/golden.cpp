// SPDX-License-Identifier: GPL-3.0-or-later
#include "golden.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "core/cp437.h"

std::string ScreenText(const GameState& g, int column, int row, int width) {
    std::string out;
    for (int x = column; x < kScreenColumns && x < column + width; ++x) {
        AppendUtf8(out, Cp437ToUnicode(CellAt(g, x, row)));
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

std::string DumpScreen(const GameState& g) {
    std::string out;
    for (int y = 0; y < kScreenRows; ++y) {
        for (int x = 0; x < kScreenColumns; ++x) AppendUtf8(out, Cp437ToUnicode(CellAt(g, x, y)));
        out += '\n';
    }
    return out;
}

std::string ScreenRow(const GameState& g, int row) { return ScreenText(g, 0, row); }

std::string MessageLine(const GameState& g, int line) { return ScreenText(g, 25, 12 + line, 15); }

::testing::AssertionResult MatchesGolden(const GameState& g, const std::string& name) {
    const char* dir = std::getenv("GRIMSPIRE_GOLDEN_DIR");
    const std::string path = std::string(dir ? dir : GRIMSPIRE_GOLDEN_DIR) + "/" + name + ".txt";
    const std::string actual = DumpScreen(g);
    if (const char* update = std::getenv("GRIMSPIRE_UPDATE_GOLDEN"); update && *update == '1') {
        std::ofstream(path, std::ios::binary) << actual;
        return ::testing::AssertionSuccess();
    }
    std::stringstream expected;
    expected << std::ifstream(path, std::ios::binary).rdbuf();
    if (expected.str() == actual) return ::testing::AssertionSuccess();
    // Row by row, the differing rows marked; GRIMSPIRE_UPDATE_GOLDEN=1 rewrites the file.
    std::istringstream want(expected.str()), got(actual);
    std::ostringstream report;
    report << "screen differs from " << path << " (expected, then actual):\n";
    for (std::string l, r; std::getline(got, r);) {
        if (!std::getline(want, l)) l.clear();
        report << (l == r ? "  |" : "! |") << l << "|\n  |" << r << "|\n";
    }
    return ::testing::AssertionFailure() << report.str();
}
