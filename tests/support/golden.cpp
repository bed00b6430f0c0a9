// SPDX-License-Identifier: GPL-3.0-or-later
#include "golden.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "core/cp437.h"

namespace {

std::string GoldenDir() {
    if (const char* dir = std::getenv("GRIMSPIRE_GOLDEN_DIR")) return dir;
    return GRIMSPIRE_GOLDEN_DIR;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

// Display width of a UTF-8 line: every code point counts one column here.
size_t Width(const std::string& s) {
    size_t n = 0;
    for (unsigned char c : s) n += (c & 0xC0) != 0x80 ? 1 : 0;
    return n;
}

std::string TrimRight(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

}  // namespace

std::string DumpRegion(const GameState& g, int left, int top, int right, int bottom) {
    std::string out;
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) AppendUtf8(out, Cp437ToUnicode(CellAt(g, x, y)));
        out += '\n';
    }
    return out;
}

std::string DumpScreen(const GameState& g) { return DumpRegion(g, 0, 0, kScreenColumns - 1, kScreenRows - 1); }

std::string ScreenText(const GameState& g, int column, int row, int width) {
    std::string out;
    for (int x = column; x < kScreenColumns && x < column + width; ++x) {
        AppendUtf8(out, Cp437ToUnicode(CellAt(g, x, row)));
    }
    return TrimRight(out);
}

std::string ScreenRow(const GameState& g, int row) { return ScreenText(g, 0, row); }

std::string MessageLine(const GameState& g, int line) { return ScreenText(g, 25, 12 + line, 15); }

::testing::AssertionResult MatchesGolden(const GameState& g, const std::string& name) {
    const std::string path = GoldenDir() + "/" + name + ".txt";
    const std::string actual = DumpScreen(g);
    if (const char* update = std::getenv("GRIMSPIRE_UPDATE_GOLDEN"); update && *update == '1') {
        std::ofstream(path, std::ios::binary) << actual;
        return ::testing::AssertionSuccess();
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return ::testing::AssertionFailure() << "no golden screen " << path
                                             << " (run with GRIMSPIRE_UPDATE_GOLDEN=1 to write it)\n"
                                             << actual;
    }
    std::stringstream buffer;
    buffer << file.rdbuf();
    const std::string expected = buffer.str();
    if (expected == actual) return ::testing::AssertionSuccess();

    const auto want = SplitLines(expected);
    const auto got = SplitLines(actual);
    std::ostringstream report;
    report << "screen differs from " << path << "\n  expected" << std::string(35, ' ') << "actual\n";
    const size_t rows = std::max(want.size(), got.size());
    for (size_t i = 0; i < rows; ++i) {
        const std::string l = i < want.size() ? want[i] : "";
        const std::string r = i < got.size() ? got[i] : "";
        report << (l == r ? "  " : "! ") << '|' << l << std::string(40 - std::min<size_t>(40, Width(l)), ' ')
               << "| |" << r << "|\n";
    }
    return ::testing::AssertionFailure() << report.str();
}
